#pragma once
// The widget that shows one control ("uicontrol") of the object model, chosen
// by its Style: pushbutton -> QPushButton, edit -> QLineEdit or, when
// Max - Min > 1, a multi-line QPlainTextEdit, text -> QLabel, frame -> QGroupBox.
// These are the styles the program's layouts use; any other is refused.
//
// Properties shown: String, Enable ("on", "off", or "inactive": an edit box
// that can be read, selected and copied but not changed), TooltipString,
// FontName ("monospace" or "FixedWidth" for the system's fixed-pitch font),
// FontSize (points), FontWeight, FontAngle, BackgroundColor, ForegroundColor,
// HorizontalAlignment, Visible, and for multi-line edits
// TabStops ("columns": stops fitted to the tab-separated columns of the text)
// or TabStopPixels (a fixed distance), and Wrap ("off": long lines scroll).
// Position belongs to the window runtime, which knows the window's size.
#include <string_view>

#include "runtime/window_runtime.h"

class QWidget;

namespace lumivar::runtime::qt {

enum class ControlKind {
  kPushButton,
  kLineEdit,
  kTextEdit,
  kLabel,
  kFrame,
};

// From Style (none means "pushbutton"; compared without case) and, for an
// edit, Max and Min. Raises an Error for a style no widget shows.
ControlKind control_kind(const WindowRuntime& ui, Handle h);

// A new widget for control `h` inside `parent`, wired so that what the user
// does reaches the model: typed text through store_user_edit, and
// the control's Callback through invoke_callback (a button on click, an edit
// box when the user finishes a changed text).
QWidget* make_control_widget(WindowRuntime& ui, Handle h, ControlKind kind, QWidget* parent);

// Shows the model's property `name` (lower case) on the widget; names the
// widget does not show are ignored. Changes made here do not count as the
// user's.
void show_control_property(const WindowRuntime& ui, Handle h, ControlKind kind, QWidget* w,
                           std::string_view name);
// Every property show_control_property shows, for a widget that was just made.
void show_all_control_properties(const WindowRuntime& ui, Handle h, ControlKind kind, QWidget* w);

// Cuts the widget off from the model before it goes: nothing it does while
// being hidden or deleted (losing focus, say) runs a callback any more.
void detach_control_widget(QWidget* w);

}  // namespace lumivar::runtime::qt
