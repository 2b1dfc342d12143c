#pragma once
// The window runtime realised with Qt Widgets. The object model of
// WindowRuntime stays the truth: a window ("figure") is shown by a top-level
// FigureWidget and a control ("uicontrol") by the widget its Style names (see
// control_widget.h). Model changes reach the widgets through the on_* hooks;
// what the user does (typed text, choices, clicks, moving, resizing or
// closing a window) goes back into the model.
//
// Positions in the model are pixels with the origin at the lower-left corner
// of the primary screen (windows) or of the window's inner area (controls);
// "OuterPosition" of a window includes the frame the window system draws.
// When a window is resized, its controls follow the edges their "Anchor"
// names (anchors.h) and their model positions change with them. A window's
// "MinimumSize" [width height] bounds the user's resizing; "Resize" "off"
// forbids it.
//
// Needs a QApplication that outlives it. Not thread-safe: everything runs on
// the thread of the QApplication.
#include <QObject>
#include <QPointer>
#include <QRect>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "runtime/qt/anchors.h"
#include "runtime/qt/control_widget.h"
#include "runtime/window_runtime.h"

class QScrollBar;
class QWidget;

namespace lumivar::runtime::qt {

class QtWindowRuntime : public WindowRuntime {
 public:
  // Reads the primary screen's size into the root's "ScreenSize" and the
  // palette's button colour into its "defaultUicontrolBackgroundColor".
  QtWindowRuntime();
  ~QtWindowRuntime() override;

  // A non-modal QMessageBox over the current window, deleted when closed.
  void message_box(const std::string& text, const std::string& title) override;
  // QFileDialog starting in the working folder; the filter "*.*" means every
  // file, as it does on every system. Returns the file name and its folder
  // ending in a separator.
  FileChoice open_file_dialog(const std::string& filter, const std::string& title) override;
  // Shows windows waiting to be shown and processes pending drawing and
  // geometry changes (user input stays queued: an action runs to its end).
  void flush() override;
  void raise_figure(Handle fig) override;
  // Runs `start`, then Qt's event loop until the last window closes. When
  // `start` opened no window, returns 0 at once, unless message boxes are
  // open: then it waits until they are closed.
  int main_loop(const std::function<void()>& start) override;
  // A modal progress dialog with a Cancel button (progress_dialog.h).
  std::unique_ptr<ProgressMonitor> begin_progress(const std::string& title) override;

  using FileDialog = std::function<FileChoice(const std::string& filter, const std::string& title)>;
  // Answers open-file dialogs in place of the user (tests, scripted runs);
  // an empty function brings the real dialog back.
  void set_file_dialog(FileDialog dialog) { file_dialog_ = std::move(dialog); }

  // The widget showing `h`: a window's top-level widget or a control's
  // widget; nullptr for anything else.
  QWidget* widget(Handle h) const;

  // The least height (in pixels) the controls of window `fig` are laid out
  // for: in a shorter window they keep the places of that height and a
  // scroll bar at the window's right edge (or the wheel anywhere in the
  // window) scrolls them, so that a window cut short by a small screen (a
  // laptop at a scale factor of 2) does not squeeze its largest control to a
  // line. 0: always the window's height.
  void set_form_height(Handle fig, double height);

 protected:
  void on_created(Handle h) override;
  void on_property_set(Handle h, const std::string& name) override;
  void on_destroyed(Handle h) override;
  FrameInsets frame_insets(Handle h) const override;

 private:
  struct View {
    bool figure = false;
    ControlKind kind = ControlKind::kPushButton;
    QPointer<QWidget> widget;
    bool shown_once = false;  // windows: shown at least once
    // Controls: the edges followed, and the rectangle and window size from
    // which anchored positions are computed (reset whenever the program
    // places the control).
    Anchors anchors;
    Matrix anchor_rect;
    double anchor_width = 0, anchor_height = 0;
    // Windows: the inner size the program asked for when it was larger than
    // the screen (0 otherwise); the layout's controls are placed for it.
    double asked_width = 0, asked_height = 0;
    // Windows: set_form_height's height, how far the controls are scrolled
    // up, and the scroll bar (only while the window is shorter).
    double form_height = 0;
    int scrolled = 0;
    QPointer<QScrollBar> scroll_bar;
  };
  // The size window `fig`'s controls are laid out for: its own, less the
  // scroll bar while it shows, and at least set_form_height's height.
  double layout_width(Handle fig) const;
  double layout_height(Handle fig) const;
  // Shows the scroll bar while the window is shorter than its form, hides it otherwise.
  void update_scroll_bar(Handle fig, View& v);

  void show_figure_property(Handle h, View& v, const std::string& name);
  void place_figure(Handle h, View& v);
  void place_control(Handle h, View& v);
  void reset_anchor_reference(Handle h, View& v);
  // Places a control that was just given a place for another window size.
  void follow_anchors(Handle h, View& v);
  void make_control(Handle h, View& v);
  // The window's widget moved or changed size: the model follows it.
  void figure_geometry_changed(Handle h);
  // Controls follow their anchors to the window's current inner size.
  void layout_controls(Handle fig);
  void request_show(Handle fig);
  void show_pending();
  void read_screen();
  QRect screen_area() const;
  Matrix model_rect(Handle h, const char* name) const;

  std::map<Handle, View> views_;
  std::vector<Handle> pending_show_;
  FileDialog file_dialog_;
  bool loop_running_ = false;
  mutable FrameInsets last_insets_;  // of the last window seen with a frame
  QObject timer_context_;            // ends pending single-shot timers with the runtime
};

}  // namespace lumivar::runtime::qt
