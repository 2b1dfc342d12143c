#pragma once
// Places a window so that all of it, frame and title bar included, lies on
// the screen's available area (inside panels and docks): a remembered place
// from a larger screen, or a first placement taller than a laptop's screen,
// would otherwise leave the title bar out of reach.
#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace lumivar::gui {

// The inner rectangle nearest to `inner` whose frame (`frame` around it)
// fits in `available`: shrunk where it is too large, then moved in.
QRect fit_on_screen(const QRect& inner, const QMargins& frame, const QRect& available);

// The frame the window system draws around `window` (none before it was shown
// or on a platform without frames).
QMargins frame_of(const QWidget* window);

// The largest inner size whose frame fits in `available`.
QSize room_on_screen(const QMargins& frame, const QRect& available);

// The frame `window` has, or will have: before the window system has drawn
// one, a typical title bar and border (none on the offscreen and minimal
// platforms). At a fractional scale factor a drawn frame is a pixel larger
// on each side, for the rounding of its edges.
QMargins expected_frame(const QWidget* window);

// Gives `window` the inner rectangle `inner`, fitted with its expected frame
// to the available area of the screen it falls on (the primary screen when
// it falls on none); its minimum size is lowered to that area when larger.
// A window not framed yet is fitted again, with fit_frame_on_screen, once
// the window system has framed it.
void place_on_screen(QWidget* window, const QRect& inner);

// Fits `window` with the frame `frame` (the one the window system drew) to
// the available area of its screen when that frame sticks out of it;
// otherwise leaves it where it is.
void fit_frame_on_screen(QWidget* window, const QMargins& frame);

}  // namespace lumivar::gui
