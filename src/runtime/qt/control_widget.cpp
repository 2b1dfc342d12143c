#include "runtime/qt/control_widget.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QTextOption>
#include <array>
#include <functional>
#include <string>

#include "runtime/error.h"
#include "runtime/qt/screen_rect.h"
#include "runtime/qt/tab_stops.h"

namespace lumivar::runtime::qt {
namespace {

// A text property in lower case; empty when absent or not a text.
std::string word_property(const WindowRuntime& ui, Handle h, std::string_view name) {
  const Value v = ui.get(h, name);
  return v.is_text() ? to_lower(v.text()) : std::string();
}

double number_property(const WindowRuntime& ui, Handle h, std::string_view name, double fallback) {
  const Value v = ui.get(h, name);
  return v.is_matrix() && v.matrix().numel() == 1 ? v.scalar() : fallback;
}

QString number_text(const Matrix& m) {
  QStringList parts;
  for (double x : m.values()) parts << QString::number(x, 'g', 10);
  return parts.join(QLatin1Char(' '));
}

// The lines a String holds: a text is one line, a list one line per entry,
// numbers one line in short form.
QStringList string_lines(const Value& v) {
  QStringList lines;
  if (v.is_text()) {
    lines << QString::fromStdString(v.text());
  } else if (v.is_list()) {
    for (const Value& item : v.list().items())
      lines << (item.is_text() ? QString::fromStdString(item.text())
                : item.is_matrix() ? number_text(item.matrix())
                                   : QString());
  } else if (v.is_matrix() && !v.is_empty()) {
    lines << number_text(v.matrix());
  }
  return lines;
}

QString shown_text(const Value& v) { return string_lines(v).join(QLatin1Char('\n')); }

// "&" would mark a keyboard shortcut on a button.
QString button_text(const Value& v) {
  return shown_text(v).replace(QLatin1Char('&'), QLatin1String("&&"));
}

bool is_edit(ControlKind k) { return k == ControlKind::kLineEdit || k == ControlKind::kTextEdit; }

QFont control_font(const WindowRuntime& ui, Handle h) {
  QFont font = QApplication::font();
  const Value name = ui.get(h, "FontName");
  if (name.is_text()) {
    const std::string lower = to_lower(name.text());
    if (lower == "monospace" || lower == "fixedwidth" || lower == "fixed") {
      font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    } else if (!lower.empty()) {
      font.setFamily(QString::fromStdString(name.text()));
    }
  }
  const double size = number_property(ui, h, "FontSize", 0);
  // Qt turns points into whole pixels; a size from a layout file may be any double.
  constexpr double kLargestFont = 1000;
  if (size > 0) font.setPointSizeF(std::min(size, kLargestFont));
  const std::string weight = word_property(ui, h, "FontWeight");
  if (weight == "bold" || weight == "demi") font.setBold(true);
  if (weight == "light") font.setWeight(QFont::Light);
  const std::string angle = word_property(ui, h, "FontAngle");
  font.setItalic(angle == "italic" || angle == "oblique");
  return font;
}

// [r g b] with components in [0, 1]; invalid otherwise.
QColor model_color(const Value& v) {
  if (!v.is_matrix() || v.matrix().numel() != 3) return {};
  const Matrix& m = v.matrix();
  auto unit = [](double c) { return std::min(1.0, std::max(0.0, c)); };
  return QColor::fromRgbF(static_cast<float>(unit(m(1))), static_cast<float>(unit(m(2))),
                          static_cast<float>(unit(m(3))));
}

void show_tab_stops(const WindowRuntime& ui, Handle h, QPlainTextEdit* edit) {
  QTextOption option = edit->document()->defaultTextOption();
  const double fixed = number_property(ui, h, "TabStopPixels", 0);
  if (word_property(ui, h, "TabStops") == "columns") {
    const QFontMetricsF metrics(edit->document()->defaultFont());
    const std::string text = edit->toPlainText().toStdString();
    const std::vector<double> stops = column_tab_stops(
        text,
        [&metrics](std::string_view s) {
          return metrics.horizontalAdvance(
              QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())));
        },
        2 * metrics.horizontalAdvance(QLatin1Char(' ')));  // with a cell's own blank: three
    QList<QTextOption::Tab> tabs;
    for (double at : stops) tabs.append(QTextOption::Tab(at, QTextOption::LeftTab));
    option.setTabs(tabs);
  } else {
    option.setTabs({});
    if (fixed > 0) option.setTabStopDistance(std::min(fixed, double{kMaxPixels}));
  }
  edit->document()->setDefaultTextOption(option);
}

void show_alignment(const WindowRuntime& ui, Handle h, ControlKind kind, QWidget* w) {
  const std::string a = word_property(ui, h, "HorizontalAlignment");
  const Qt::Alignment horizontal = a == "center" ? Qt::AlignHCenter
                                   : a == "right" ? Qt::AlignRight
                                                  : Qt::AlignLeft;
  if (kind == ControlKind::kLabel) {
    auto* label = static_cast<QLabel*>(w);
    const bool lines = label->text().contains(QLatin1Char('\n'));
    label->setAlignment(horizontal | (lines ? Qt::AlignTop : Qt::AlignVCenter));
  } else if (kind == ControlKind::kLineEdit) {
    static_cast<QLineEdit*>(w)->setAlignment(horizontal | Qt::AlignVCenter);
  }
}

void show_string(const WindowRuntime& ui, Handle h, ControlKind kind, QWidget* w) {
  const Value s = ui.get(h, "String");
  switch (kind) {
    case ControlKind::kPushButton:
      static_cast<QPushButton*>(w)->setText(button_text(s));
      break;
    case ControlKind::kLineEdit: {
      auto* edit = static_cast<QLineEdit*>(w);
      const QString text = shown_text(s);
      if (edit->text() != text) edit->setText(text);
      break;
    }
    case ControlKind::kTextEdit: {
      auto* edit = static_cast<QPlainTextEdit*>(w);
      const QString text = shown_text(s);
      if (edit->toPlainText() != text) edit->setPlainText(text);
      show_tab_stops(ui, h, edit);
      break;
    }
    case ControlKind::kLabel:
      static_cast<QLabel*>(w)->setText(shown_text(s));
      show_alignment(ui, h, kind, w);
      break;
    case ControlKind::kFrame:
      static_cast<QGroupBox*>(w)->setTitle(shown_text(s));
      break;
  }
}

void show_enable(const WindowRuntime& ui, Handle h, ControlKind kind, QWidget* w) {
  const std::string enable = word_property(ui, h, "Enable");
  const bool inactive = enable == "inactive";
  if (kind == ControlKind::kLineEdit) static_cast<QLineEdit*>(w)->setReadOnly(inactive);
  if (kind == ControlKind::kTextEdit) static_cast<QPlainTextEdit*>(w)->setReadOnly(inactive);
  w->setEnabled(enable != "off" && (!inactive || is_edit(kind)));
}

void show_colors(const WindowRuntime& ui, Handle h, ControlKind kind, QWidget* w) {
  QPalette palette = w->palette();
  const QColor back = model_color(ui.get(h, "BackgroundColor"));
  const QColor fore = model_color(ui.get(h, "ForegroundColor"));
  if (back.isValid()) {
    palette.setColor(is_edit(kind)                 ? QPalette::Base
                     : kind == ControlKind::kLabel ? QPalette::Window
                                                   : QPalette::Button,
                     back);
    w->setAutoFillBackground(kind == ControlKind::kLabel);
  }
  if (fore.isValid()) {
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
      palette.setColor(role, fore);
  }
  w->setPalette(palette);
}

// A push button that Return and Enter press as Space does. Qt's buttons take
// Return only as a dialog's default, and autoDefault would change their size
// under some styles, which the layout's positions do not allow for.
class KeyButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
      click();
      return;
    }
    QPushButton::keyPressEvent(event);
  }
};

// A QObject that runs a function whenever the object it watches loses focus.
class FocusOutWatcher : public QObject {
 public:
  FocusOutWatcher(QObject* watched, std::function<void()> fn)
      : QObject(watched), fn_(std::move(fn)) {
    watched->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusOut) fn_();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> fn_;
};

}  // namespace

ControlKind control_kind(const WindowRuntime& ui, Handle h) {
  const Value style = ui.get(h, "Style");
  const std::string s = style.is_text() ? to_lower(style.text()) : "pushbutton";
  if (s == "pushbutton") return ControlKind::kPushButton;
  if (s == "text") return ControlKind::kLabel;
  if (s == "frame") return ControlKind::kFrame;
  if (s == "edit") {
    const double lines = number_property(ui, h, "Max", 1) - number_property(ui, h, "Min", 0);
    return lines > 1 ? ControlKind::kTextEdit : ControlKind::kLineEdit;
  }
  raise("The control style \"" + (style.is_text() ? style.text() : std::string()) +
        "\" is not one this window can show; it shows pushbutton, edit, text and frame.");
}

QWidget* make_control_widget(WindowRuntime& ui, Handle h, ControlKind kind, QWidget* parent) {
  auto callback = [&ui, h] {
    if (ui.is_valid(h)) ui.invoke_callback(h);
  };
  auto store = [&ui, h](std::string_view name, Value v) {
    if (ui.is_valid(h)) ui.store_user_edit(h, name, std::move(v));
  };
  switch (kind) {
    case ControlKind::kPushButton: {
      auto* button = new KeyButton(parent);
      button->setAutoDefault(false);
      QObject::connect(button, &QPushButton::clicked, button, callback);
      return button;
    }
    case ControlKind::kLineEdit: {
      auto* edit = new QLineEdit(parent);
      QObject::connect(edit, &QLineEdit::textEdited, edit,
                       [store](const QString& text) { store("String", Value(text.toStdString())); });
      QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit, callback] {
        if (!edit->isModified()) return;
        edit->setModified(false);
        callback();
      });
      return edit;
    }
    case ControlKind::kTextEdit: {
      auto* edit = new QPlainTextEdit(parent);
      QObject::connect(edit, &QPlainTextEdit::textChanged, edit,
                       [edit, store] { store("String", Value(edit->toPlainText().toStdString())); });
      new FocusOutWatcher(edit, [edit, callback] {
        if (!edit->document()->isModified()) return;
        edit->document()->setModified(false);
        callback();
      });
      return edit;
    }
    case ControlKind::kLabel: {
      auto* label = new QLabel(parent);
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(true);
      return label;
    }
    case ControlKind::kFrame:
      return new QGroupBox(parent);
  }
  return nullptr;
}

void show_control_property(const WindowRuntime& ui, Handle h, ControlKind kind, QWidget* w,
                           std::string_view name) {
  const QSignalBlocker quiet(w);  // the program's changes are not the user's
  if (name == "string") {
    show_string(ui, h, kind, w);
  } else if (name == "enable") {
    show_enable(ui, h, kind, w);
  } else if (name == "tooltipstring") {
    w->setToolTip(shown_text(ui.get(h, "TooltipString")));
  } else if (name == "fontname" || name == "fontsize" || name == "fontweight" ||
             name == "fontangle") {
    w->setFont(control_font(ui, h));
    if (kind == ControlKind::kTextEdit) {
      auto* edit = static_cast<QPlainTextEdit*>(w);
      edit->document()->setDefaultFont(w->font());
      show_tab_stops(ui, h, edit);
    }
  } else if (name == "backgroundcolor" || name == "foregroundcolor") {
    show_colors(ui, h, kind, w);
  } else if (name == "horizontalalignment") {
    show_alignment(ui, h, kind, w);
  } else if (name == "visible") {
    w->setVisible(word_property(ui, h, "Visible") != "off");
  } else if (name == "tabstops" || name == "tabstoppixels") {
    if (kind == ControlKind::kTextEdit) show_tab_stops(ui, h, static_cast<QPlainTextEdit*>(w));
  } else if (name == "wrap") {
    if (kind == ControlKind::kTextEdit)
      static_cast<QPlainTextEdit*>(w)->setLineWrapMode(word_property(ui, h, "Wrap") == "off"
                                                           ? QPlainTextEdit::NoWrap
                                                           : QPlainTextEdit::WidgetWidth);
  }
}

void show_all_control_properties(const WindowRuntime& ui, Handle h, ControlKind kind, QWidget* w) {
  // Fonts before the text, so that fitted tab stops are measured in the right font.
  static constexpr std::array<std::string_view, 8> kShown = {
      "fontname", "wrap", "string", "enable", "tooltipstring", "backgroundcolor",
      "horizontalalignment", "visible"};
  for (std::string_view name : kShown) show_control_property(ui, h, kind, w, name);
}

void detach_control_widget(QWidget* w) {
  w->blockSignals(true);
  const QObjectList children = w->children();  // a copy: deleting changes the list
  for (QObject* child : children)
    if (auto* watcher = dynamic_cast<FocusOutWatcher*>(child)) delete watcher;
}

}  // namespace lumivar::runtime::qt
