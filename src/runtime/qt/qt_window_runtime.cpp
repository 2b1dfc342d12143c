#include "runtime/qt/qt_window_runtime.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPalette>
#include <QLayout>
#include <QScrollBar>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "runtime/qt/figure_widget.h"
#include "runtime/qt/progress_dialog.h"
#include "runtime/qt/screen_rect.h"

namespace lumivar::runtime::qt {
namespace {

bool is_rect(const Value& v) { return v.is_matrix() && v.matrix().numel() == 4; }

bool is_off(const Value& v) { return v.is_text() && to_lower(v.text()) == "off"; }

// Where a window opens when its layout does not say: centred, 560 x 420.
Matrix default_figure_rect(const Matrix& screensize) {
  const double w = 560, h = 420;
  return Matrix::row({std::max(0.0, (screensize.at(3) - w) / 2),
                      std::max(0.0, (screensize.at(4) - h) / 2), w, h});
}

// The filter of QFileDialog for a pattern such as "*.txt". "*.*" asks for
// every file, also those whose names have no dot.
QString dialog_filter(const std::string& pattern) {
  if (pattern.empty() || pattern == "*.*" || pattern == "*") return QStringLiteral("All files (*)");
  const QString p = QString::fromStdString(pattern);
  return p + QStringLiteral(" (") + p + QStringLiteral(");;All files (*)");
}

}  // namespace

QtWindowRuntime::QtWindowRuntime() {
  read_screen();
  const QColor button = QApplication::palette().color(QPalette::Button);
  set(kRoot, "defaultUicontrolBackgroundColor",
      Value(Matrix::row({button.redF(), button.greenF(), button.blueF()})));
}

QtWindowRuntime::~QtWindowRuntime() {
  // Widgets go before the model they report to.
  for (auto& [h, v] : views_)
    if (!v.figure && v.widget) detach_control_widget(v.widget);
  for (auto& [h, v] : views_)
    if (v.figure && v.widget) delete v.widget.data();
}

QWidget* QtWindowRuntime::widget(Handle h) const {
  auto it = views_.find(h);
  return it == views_.end() ? nullptr : it->second.widget.data();
}

QRect QtWindowRuntime::screen_area() const {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->geometry();
  const Matrix size = get(kRoot, "ScreenSize").matrix();
  return QRect(0, 0, pixel_size(size.at(3)), pixel_size(size.at(4)));
}

void QtWindowRuntime::read_screen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const Value size(Matrix::row(
      {1, 1, static_cast<double>(screen->geometry().width()), static_cast<double>(screen->geometry().height())}));
  if (!(get(kRoot, "ScreenSize") == size)) set(kRoot, "ScreenSize", size);
}

Matrix QtWindowRuntime::model_rect(Handle h, const char* name) const {
  const Value v = get(h, name);
  return is_rect(v) ? v.matrix() : Matrix();
}

// --- objects appear, change and go ---------------------------------------

void QtWindowRuntime::on_created(Handle h) {
  const std::string type = type_of(h);
  if (type == "figure") {
    FigureEvents events;
    events.closed = [this, h] {
      if (is_valid(h)) close_figure(h);
    };
    events.geometry_changed = [this, h] { figure_geometry_changed(h); };
    events.activated = [this, h] {
      if (is_valid(h)) set_current_figure(h);
    };
    // A form that scrolls scrolls under the wheel anywhere in the window, not
    // only over its scroll bar.
    events.wheel = [this, h](QWheelEvent* event) {
      auto it = views_.find(h);
      QScrollBar* bar = it == views_.end() ? nullptr : it->second.scroll_bar.data();
      if (bar == nullptr || bar->isHidden()) return false;
      QCoreApplication::sendEvent(bar, event);
      return event->isAccepted();
    };
    View& v = views_[h];
    v.figure = true;
    v.widget = new FigureWidget(std::move(events));
    set(h, "Position", Value(default_figure_rect(get(kRoot, "ScreenSize").matrix())));
    if (!is_off(get(h, "Visible"))) request_show(h);
    return;
  }
  if (type != "uicontrol") return;  // nothing else has a widget
  const std::optional<Handle> parent = parent_of(h);
  if (!parent || widget(*parent) == nullptr) return;
  View& v = views_[h];
  make_control(h, v);
  set(h, "Position", Value(Matrix::row({20, 20, 60, 20})));
}

void QtWindowRuntime::make_control(Handle h, View& v) {
  const Handle parent = parent_of(h).value_or(kRoot);
  if (v.widget) {
    detach_control_widget(v.widget);
    v.widget->hide();
    v.widget->deleteLater();
  }
  v.kind = control_kind(*this, h);
  QWidget* w = make_control_widget(*this, h, v.kind, widget(parent));
  v.widget = w;
  show_all_control_properties(*this, h, v.kind, w);
  if (v.kind == ControlKind::kFrame) w->lower();  // a frame lies behind what it surrounds
  place_control(h, v);
}

void QtWindowRuntime::on_property_set(Handle h, const std::string& name) {
  auto it = views_.find(h);
  if (it == views_.end() || !it->second.widget) return;
  View& v = it->second;
  if (v.figure) {
    show_figure_property(h, v, name);
    return;
  }
  if (name == "style" || name == "max" || name == "min") {
    if (control_kind(*this, h) != v.kind) {
      make_control(h, v);
      return;
    }
  }
  if (name == "position") {
    reset_anchor_reference(h, v);
    place_control(h, v);
    follow_anchors(h, v);
  } else if (name == "anchor") {
    v.anchors = parse_anchors(get(h, "Anchor"));
    reset_anchor_reference(h, v);
    follow_anchors(h, v);
  } else {
    show_control_property(*this, h, v.kind, v.widget, name);
  }
}

void QtWindowRuntime::on_destroyed(Handle h) {
  auto it = views_.find(h);
  if (it == views_.end()) return;
  const View v = it->second;
  views_.erase(it);
  pending_show_.erase(std::remove(pending_show_.begin(), pending_show_.end(), h), pending_show_.end());
  if (v.widget) {
    if (!v.figure) detach_control_widget(v.widget);
    v.widget->hide();
    v.widget->deleteLater();  // it may be the one whose event is running
  }
  if (v.figure && loop_running_) {
    const std::vector<Handle> open = figures();
    if (std::all_of(open.begin(), open.end(), [h](Handle f) { return f == h; }))
      QCoreApplication::exit(0);
  }
}

FrameInsets QtWindowRuntime::frame_insets(Handle h) const {
  const QWidget* w = widget(h);
  if (w == nullptr || !w->isVisible()) return last_insets_;
  const QRect frame = w->frameGeometry(), inner = w->geometry();
  FrameInsets f;
  f.left = inner.left() - frame.left();
  f.top = inner.top() - frame.top();
  f.right = (frame.x() + frame.width()) - (inner.x() + inner.width());
  f.bottom = (frame.y() + frame.height()) - (inner.y() + inner.height());
  if (f.left + f.top + f.right + f.bottom > 0) last_insets_ = f;
  return f;
}

// --- windows -------------------------------------------------------------

void QtWindowRuntime::show_figure_property(Handle h, View& v, const std::string& name) {
  QWidget* w = v.widget;
  if (name == "position" || name == "outerposition" || name == "minimumsize" || name == "resize") {
    if (name == "position") {
      // Larger than the screen: the window will be smaller than asked.
      const Matrix asked = model_rect(h, "Position");
      const QSize screen = screen_area().size();
      const bool bounded = asked.numel() == 4 && (asked(3) > screen.width() || asked(4) > screen.height());
      v.asked_width = bounded ? asked(3) : 0;
      v.asked_height = bounded ? asked(4) : 0;
    }
    place_figure(h, v);
  } else if (name == "name") {
    const Value title = get(h, "Name");
    w->setWindowTitle(title.is_text() ? QString::fromStdString(title.text()) : QString());
  } else if (name == "color") {
    const Value c = get(h, "Color");
    if (c.is_matrix() && c.matrix().numel() == 3) {
      QPalette palette = w->palette();
      const Matrix& m = c.matrix();
      palette.setColor(QPalette::Window, QColor::fromRgbF(static_cast<float>(m(1)), static_cast<float>(m(2)),
                                                          static_cast<float>(m(3))));
      w->setPalette(palette);
      w->setAutoFillBackground(true);
    }
  } else if (name == "visible") {
    if (is_off(get(h, "Visible"))) {
      pending_show_.erase(std::remove(pending_show_.begin(), pending_show_.end(), h), pending_show_.end());
      w->hide();
    } else if (v.shown_once) {
      w->show();
    } else {
      request_show(h);
    }
  }
}

void QtWindowRuntime::place_figure(Handle h, View& v) {
  QWidget* w = v.widget;
  const Matrix rect = model_rect(h, "Position");
  const Value min = get(h, "MinimumSize");
  // No window is made larger than the screen, whatever its layout says (its
  // backing store would take width x height x 4 bytes).
  const QRect screen = screen_area();
  QRect placed;
  if (rect.numel() == 4) {
    placed = to_top_left(rect, screen);
    placed.setSize(placed.size().boundedTo(screen.size()));
  }
  if (is_off(get(h, "Resize")) && rect.numel() == 4) {
    w->setFixedSize(placed.size());
  } else {
    w->setMinimumSize(min.is_matrix() && min.matrix().numel() == 2
                          ? QSize(pixel_size(min.matrix()(1)), pixel_size(min.matrix()(2)))
                                .boundedTo(screen.size())
                          : QSize(0, 0));
    w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
  if (rect.numel() == 4) w->setGeometry(placed);
  // The widget may not take the rectangle as asked (a minimum size): the
  // model follows what it did take. Then the controls follow the size.
  figure_geometry_changed(h);
  layout_controls(h);
}

void QtWindowRuntime::figure_geometry_changed(Handle h) {
  QWidget* w = widget(h);
  if (w == nullptr || !is_valid(h)) return;
  const QRect screen = screen_area();
  const Matrix inner = model_rect(h, "Position");
  bool resized = false;
  if (inner.numel() != 4 || to_top_left(inner, screen) != w->geometry()) {
    const Matrix now = to_lower_left(w->geometry(), screen);
    resized = inner.numel() != 4 || now(3) != inner(3) || now(4) != inner(4);
    store_user_edit(h, "Position", Value(now));
  }
  if (w->isVisible()) {
    const Matrix outer = model_rect(h, "OuterPosition");
    if (outer.numel() != 4 || to_top_left(outer, screen) != w->frameGeometry())
      store_user_edit(h, "OuterPosition", Value(to_lower_left(w->frameGeometry(), screen)));
  }
  if (resized) layout_controls(h);
}

void QtWindowRuntime::layout_controls(Handle fig) {
  const Matrix size = model_rect(fig, "Position");
  if (size.numel() != 4) return;
  const double height = layout_height(fig);
  if (auto f = views_.find(fig); f != views_.end() && f->second.figure) update_scroll_bar(fig, f->second);
  for (Handle c : children(fig)) {
    auto it = views_.find(c);
    if (it == views_.end() || it->second.figure || !it->second.widget) continue;
    View& v = it->second;
    if (v.anchor_rect.numel() == 4) {
      const Matrix rect = anchored_rect(v.anchor_rect, v.anchor_width, v.anchor_height, layout_width(fig),
                                        height, v.anchors);
      if (!(model_rect(c, "Position") == rect)) store_user_edit(c, "Position", Value(rect));
    }
    place_control(c, v);  // its top edge moves with the window's height in any case
  }
}

void QtWindowRuntime::set_form_height(Handle fig, double height) {
  auto it = views_.find(fig);
  if (it == views_.end() || !it->second.figure) return;
  it->second.form_height = height;
  layout_controls(fig);
}

double QtWindowRuntime::layout_width(Handle fig) const {
  const Matrix size = model_rect(fig, "Position");
  const double width = size.numel() == 4 ? size(3) : 0;
  const auto it = views_.find(fig);
  const bool scrolling = it != views_.end() && it->second.figure && it->second.scroll_bar &&
                         !it->second.scroll_bar->isHidden();
  return scrolling ? width - it->second.scroll_bar->width() : width;
}

double QtWindowRuntime::layout_height(Handle fig) const {
  const Matrix size = model_rect(fig, "Position");
  const double height = size.numel() == 4 ? size(4) : 0;
  const auto it = views_.find(fig);
  return it != views_.end() && it->second.figure ? std::max(height, it->second.form_height) : height;
}

void QtWindowRuntime::update_scroll_bar(Handle fig, View& v) {
  QWidget* w = v.widget;
  const int excess = static_cast<int>(std::ceil(layout_height(fig) - w->height()));
  if (excess <= 0) {
    if (v.scroll_bar) v.scroll_bar->hide();
    v.scrolled = 0;
    return;
  }
  if (!v.scroll_bar) {
    v.scroll_bar = new QScrollBar(Qt::Vertical, w);
    QObject::connect(v.scroll_bar, &QScrollBar::valueChanged, &timer_context_, [this, fig](int value) {
      auto it = views_.find(fig);
      if (it == views_.end() || !is_valid(fig)) return;
      it->second.scrolled = value;
      for (Handle c : children(fig))
        if (auto cv = views_.find(c); cv != views_.end() && !cv->second.figure && cv->second.widget)
          place_control(c, cv->second);
    });
  }
  // Between the bars the window's own layout keeps along its top and bottom
  // edges (a menu bar, a status bar), which stay above the scrolled controls.
  int top = 0, bottom = w->height();
  if (QLayout* layout = w->layout()) {
    if (QWidget* bar = layout->menuBar()) top = bar->geometry().bottom() + 1;
    for (int i = 0; i < layout->count(); ++i)
      if (QWidget* item = layout->itemAt(i)->widget(); item != nullptr && item->geometry().top() > w->height() / 2)
        bottom = std::min(bottom, item->geometry().top());
    if (layout->menuBar() != nullptr) layout->menuBar()->raise();
    for (int i = 0; i < layout->count(); ++i)
      if (QWidget* item = layout->itemAt(i)->widget()) item->raise();
  }
  const int width = v.scroll_bar->sizeHint().width();
  v.scroll_bar->setGeometry(w->width() - width, top, width, std::max(bottom - top, 1));
  v.scroll_bar->setRange(0, excess);
  v.scroll_bar->setPageStep(std::max(bottom - top, 1));
  // A step of a line of text: a notch of the wheel moves the form by a few
  // lines, as in any scrolled view, not by a few pixels.
  v.scroll_bar->setSingleStep(w->fontMetrics().lineSpacing());
  v.scrolled = v.scroll_bar->value();
  v.scroll_bar->show();
  v.scroll_bar->raise();
}

void QtWindowRuntime::request_show(Handle fig) {
  if (std::find(pending_show_.begin(), pending_show_.end(), fig) == pending_show_.end())
    pending_show_.push_back(fig);
  // Shown once the event loop runs, unless flush or raise shows it earlier:
  // a window appears where its layout puts it, not first somewhere else.
  QTimer::singleShot(0, &timer_context_, [this] { show_pending(); });
}

void QtWindowRuntime::show_pending() {
  const std::vector<Handle> pending = std::move(pending_show_);
  pending_show_.clear();
  for (Handle fig : pending) {
    auto it = views_.find(fig);
    if (it == views_.end() || !it->second.widget) continue;
    it->second.widget->show();
    it->second.shown_once = true;
  }
}

// --- controls ------------------------------------------------------------

void QtWindowRuntime::reset_anchor_reference(Handle h, View& v) {
  const Handle parent = parent_of(h).value_or(kRoot);
  const Matrix size = model_rect(parent, "Position");
  v.anchor_rect = model_rect(h, "Position");
  v.anchor_width = size.numel() == 4 ? layout_width(parent) : 0;
  v.anchor_height = size.numel() == 4 ? layout_height(parent) : 0;
  // While a layout is being loaded into a window not yet shown, its controls'
  // places are for the window size the layout asked for, even when the
  // window was made smaller to fit the screen (a laptop at a scale factor of
  // 2 has 960 x 540 of them).
  const auto it = views_.find(parent);
  if (it != views_.end() && it->second.figure && !it->second.shown_once &&
      it->second.asked_width > 0 && it->second.asked_height > 0) {
    v.anchor_width = it->second.asked_width;
    v.anchor_height = it->second.asked_height;
  }
}

void QtWindowRuntime::follow_anchors(Handle h, View& v) {
  const Handle parent = parent_of(h).value_or(kRoot);
  const Matrix size = model_rect(parent, "Position");
  if (v.anchor_rect.numel() != 4 || size.numel() != 4) return;
  const double width = layout_width(parent), height = layout_height(parent);
  if (width == v.anchor_width && height == v.anchor_height) return;
  const Matrix rect =
      anchored_rect(v.anchor_rect, v.anchor_width, v.anchor_height, width, height, v.anchors);
  store_user_edit(h, "Position", Value(rect));
  place_control(h, v);
}

void QtWindowRuntime::place_control(Handle h, View& v) {
  const Handle parent = parent_of(h).value_or(kRoot);
  const Matrix rect = model_rect(h, "Position");
  const Matrix area = model_rect(parent, "Position");
  if (rect.numel() != 4 || area.numel() != 4) return;
  const QRect inside(0, 0, pixel_size(area(3)), pixel_size(layout_height(parent)));
  const auto p = views_.find(parent);
  const int scrolled = p != views_.end() && p->second.figure ? p->second.scrolled : 0;
  v.widget->setGeometry(to_top_left(rect, inside).translated(0, -scrolled));
}

// --- services ------------------------------------------------------------

void QtWindowRuntime::message_box(const std::string& text, const std::string& title) {
  const Value current = current_figure();
  QWidget* parent = current.is_empty() ? nullptr : widget(current.scalar());
  // A cancel the user asked for is news, not a fault.
  const QMessageBox::Icon icon = title == "Error"       ? QMessageBox::Warning
                                 : title == "Cancelled" ? QMessageBox::Information
                                                        : QMessageBox::NoIcon;
  auto* box = new QMessageBox(icon, QString::fromStdString(title), QString::fromStdString(text),
                              QMessageBox::Ok, parent);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setModal(false);  // the program goes on at once
  box->show();
}

FileChoice QtWindowRuntime::open_file_dialog(const std::string& filter, const std::string& title) {
  if (file_dialog_) return file_dialog_(filter, title);
  const Value current = current_figure();
  QWidget* parent = current.is_empty() ? nullptr : widget(current.scalar());
  const QString path = QFileDialog::getOpenFileName(parent, QString::fromStdString(title),
                                                    QDir::currentPath(), dialog_filter(filter));
  FileChoice choice;
  if (path.isEmpty()) return choice;
  const QFileInfo info(path);
  QString folder = QDir::toNativeSeparators(info.absolutePath());
  if (!folder.endsWith(QDir::separator())) folder += QDir::separator();
  choice.cancelled = false;
  choice.name = info.fileName().toStdString();
  choice.folder = folder.toStdString();
  return choice;
}

std::unique_ptr<ProgressMonitor> QtWindowRuntime::begin_progress(const std::string& title) {
  const Value current = current_figure();
  return std::make_unique<ProgressDialog>(title, current.is_empty() ? nullptr : widget(current.scalar()));
}

void QtWindowRuntime::flush() {
  read_screen();
  show_pending();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  // A frame the window system added meanwhile need not come with an event.
  std::vector<Handle> windows;
  for (const auto& [h, v] : views_)
    if (v.figure) windows.push_back(h);
  for (Handle h : windows) figure_geometry_changed(h);
}

void QtWindowRuntime::raise_figure(Handle fig) {
  WindowRuntime::raise_figure(fig);
  auto it = views_.find(fig);
  if (it == views_.end() || !it->second.widget) return;
  pending_show_.erase(std::remove(pending_show_.begin(), pending_show_.end(), fig), pending_show_.end());
  QWidget* w = it->second.widget;
  w->show();
  it->second.shown_once = true;
  w->raise();
  w->activateWindow();
}

int QtWindowRuntime::main_loop(const std::function<void()>& start) {
  start();
  show_pending();
  if (figures().empty()) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    const bool boxes = std::any_of(windows.begin(), windows.end(), [](QWidget* w) { return w->isVisible(); });
    if (!boxes) return 0;
    QApplication::setQuitOnLastWindowClosed(true);  // end when the last box is closed
    return QApplication::exec();
  }
  QApplication::setQuitOnLastWindowClosed(false);  // windows decide, not boxes
  loop_running_ = true;
  const int status = QApplication::exec();
  loop_running_ = false;
  return status;
}

}  // namespace lumivar::runtime::qt
