#pragma once
// The layout the picture views share: a row of choices above the picture,
// which fills the rest of the window, and a line of text below it that says
// what the pointer rests on. The picture exports through the view's context
// menu (picture_export.h).
#include <QLabel>
#include <QLayout>
#include <QWidget>

namespace lumivar::gui {

class SceneWidget;
class PictureActions;

struct PictureArea {
  SceneWidget* canvas;
  PictureActions* pictures;
  QLabel* status;  // selectable, so the user can copy what it names
};

// Lays `choices` over a new picture and status line in `view`, which owns
// them, at the views' default size.
PictureArea lay_out_picture_view(QWidget* view, QLayout* choices);

}  // namespace lumivar::gui
