#include "runtime/qt/qt_window_runtime.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/error.h"
#include "runtime/layout.h"
#include "runtime/qt/screen_rect.h"
#include "support/error_message.h"
#include "support/fixed_pitch.h"
#include "support/temp_files.h"
#include "window/openfig.h"

namespace lumivar::runtime::qt {
namespace {

using lumivar::testing::fixed_pitch;

// A window runtime whose callbacks land in `calls`: every control of these
// layouts calls "record" with one word.
class QtRuntime : public ::testing::Test {
 protected:
  void SetUp() override {
    table.add({"record", kAnyNumber, 0, [this](const Args& a, int) {
                 calls.push_back(a.empty() || !a[0].is_text() ? "?" : a[0].text());
                 return Results{};
               }});
    ui.set_function_table(&table);
  }
  Handle build(const std::string& json) { return build_layout(ui, json, "test layout"); }
  Handle tagged(const std::string& tag) {
    const std::vector<Handle> found = ui.find_by_tag(tag);
    EXPECT_EQ(found.size(), 1u) << tag;
    return found.empty() ? -1 : found.front();
  }
  template <class W>
  W* widget_of(const std::string& tag) {
    W* w = dynamic_cast<W*>(ui.widget(tagged(tag)));
    EXPECT_NE(w, nullptr) << tag << " is not shown by the expected kind of widget";
    return w;
  }
  Matrix position(Handle h) { return ui.get(h, "Position").matrix(); }

  FunctionTable table;
  std::vector<std::string> calls;
  QtWindowRuntime ui;
};

TEST_F(QtRuntime, PositionsConvertBetweenLowerLeftAndTopLeft) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(ui.get(kRoot, "ScreenSize").matrix(),
            Matrix::row({1, 1, static_cast<double>(screen.width()), static_cast<double>(screen.height())}));
  const Handle fig = build(R"({"Figure": {"Name": "Places", "Position": [100, 200, 400, 300]},
      "Controls": [{"Style": "text", "Tag": "Note", "String": "x", "Position": [10, 20, 100, 30]}]})");
  QWidget* window = ui.widget(fig);
  // 200 up from the screen's bottom edge plus 300 high: the top edge 500 below the screen's top.
  EXPECT_EQ(window->geometry(), QRect(screen.x() + 100, screen.y() + screen.height() - 500, 400, 300));
  EXPECT_EQ(window->windowTitle(), QString("Places"));
  // A control 20 up from the window's bottom edge, 30 high, in a 300 high window.
  QWidget* note = ui.widget(tagged("Note"));
  EXPECT_EQ(note->geometry(), QRect(10, 250, 100, 30));

  // The window is moved and resized on the screen: the model follows, and the
  // control keeps its distance to the window's bottom edge.
  ui.flush();
  ASSERT_TRUE(window->isVisible());
  window->setGeometry(QRect(screen.x() + 50, screen.y() + 60, 500, 350));
  QCoreApplication::processEvents();
  EXPECT_EQ(position(fig), Matrix::row({50, static_cast<double>(screen.height() - 60 - 350), 500, 350}));
  EXPECT_EQ(position(tagged("Note")), Matrix::row({10, 20, 100, 30}));
  EXPECT_EQ(note->geometry(), QRect(10, 300, 100, 30));

  // Fractional positions (movegui's halves) are kept in the model as set.
  ui.set(fig, "OuterPosition", Value(Matrix::row({312.5, 234.5, 400, 300})));
  QCoreApplication::processEvents();
  EXPECT_EQ(ui.get(fig, "OuterPosition").matrix(), Matrix::row({312.5, 234.5, 400, 300}));
  EXPECT_EQ(window->frameGeometry().size(), QSize(400, 300));
}

TEST_F(QtRuntime, AnchoredControlsFollowTheWindowAndComeBack) {
  const Handle fig = build(R"({"Figure": {"Position": [100, 100, 400, 300], "MinimumSize": [300, 200]},
      "Controls": [
        {"Style": "pushbutton", "Tag": "Bar", "Anchor": "top-left-right", "Position": [10, 250, 380, 30]},
        {"Style": "edit", "Tag": "Body", "Max": 2, "Anchor": "all", "Position": [10, 10, 380, 230]},
        {"Style": "text", "Tag": "Corner", "Position": [10, 10, 50, 20]},
        {"Style": "text", "Tag": "Right", "Anchor": "top-right", "Position": [340, 250, 50, 20]}]})");
  ui.set(fig, "Position", Value(Matrix::row({100, 100, 600, 500})));
  EXPECT_EQ(position(tagged("Bar")), Matrix::row({10, 450, 580, 30}));
  EXPECT_EQ(position(tagged("Body")), Matrix::row({10, 10, 580, 430}));
  EXPECT_EQ(position(tagged("Corner")), Matrix::row({10, 10, 50, 20}));
  EXPECT_EQ(position(tagged("Right")), Matrix::row({540, 450, 50, 20}));
  EXPECT_EQ(ui.widget(tagged("Bar"))->geometry(), QRect(10, 20, 580, 30));
  EXPECT_EQ(ui.widget(tagged("Body"))->geometry(), QRect(10, 60, 580, 430));
  EXPECT_EQ(ui.widget(tagged("Corner"))->geometry(), QRect(10, 470, 50, 20));

  // Below the minimum size the window stops; back at the old size every
  // control is back where the layout put it.
  ui.set(fig, "Position", Value(Matrix::row({100, 100, 100, 100})));
  EXPECT_EQ(ui.widget(fig)->size(), QSize(300, 200));
  EXPECT_EQ(position(fig)(3), 300.0);
  EXPECT_EQ(position(fig)(4), 200.0);
  ui.set(fig, "Position", Value(Matrix::row({100, 100, 400, 300})));
  EXPECT_EQ(position(tagged("Bar")), Matrix::row({10, 250, 380, 30}));
  EXPECT_EQ(position(tagged("Body")), Matrix::row({10, 10, 380, 230}));
  EXPECT_EQ(position(tagged("Right")), Matrix::row({340, 250, 50, 20}));

  // A control the program moves is anchored from its new place.
  ui.set(tagged("Bar"), "Position", Value(Matrix::row({20, 200, 100, 30})));
  ui.set(fig, "Position", Value(Matrix::row({100, 100, 500, 400})));
  EXPECT_EQ(position(tagged("Bar")), Matrix::row({20, 300, 200, 30}));
}

// A layout made for a larger screen than this one (a laptop at a scale
// factor of 2 has 960 x 540 pixels): the window is made as large as the
// screen, and the controls follow their anchors to it instead of keeping
// their places for the larger window, which put the top ones above its top
// edge and the right ones past its right edge.
TEST_F(QtRuntime, ALayoutLargerThanTheScreenIsLaidOutForTheWindowItGets) {
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  const int w = screen.width() + 400, h = screen.height() + 300;
  const std::string layout = R"({"Figure": {"Position": [0, 0, )" + std::to_string(w) + ", " +
                             std::to_string(h) + R"(], "MinimumSize": [200, 150]},
      "Controls": [
        {"Style": "pushbutton", "Tag": "Top", "Anchor": "top-left-right", "Position": [10, )" +
                             std::to_string(h - 40) + ", " + std::to_string(w - 20) + R"(, 30]},
        {"Style": "edit", "Tag": "Body", "Max": 2, "Anchor": "all", "Position": [10, 10, )" +
                             std::to_string(w - 20) + ", " + std::to_string(h - 60) + R"(]},
        {"Style": "text", "Tag": "Right", "Anchor": "top-right", "Position": [)" +
                             std::to_string(w - 60) + ", " + std::to_string(h - 40) + R"(, 50, 20]}]})";
  const Handle fig = build(layout);
  QWidget* window = ui.widget(fig);
  ASSERT_EQ(window->size(), screen);
  const QRect inside(QPoint(0, 0), screen);
  for (const char* tag : {"Top", "Body", "Right"})
    EXPECT_TRUE(inside.contains(ui.widget(tagged(tag))->geometry())) << tag;
  // Each keeps its distances to the edges it follows: 10 px to the top, 10 px
  // to the sides and the bottom.
  EXPECT_EQ(ui.widget(tagged("Top"))->geometry(), QRect(10, 10, screen.width() - 20, 30));
  EXPECT_EQ(ui.widget(tagged("Body"))->geometry(), QRect(10, 50, screen.width() - 20, screen.height() - 60));
  EXPECT_EQ(ui.widget(tagged("Right"))->geometry(), QRect(screen.width() - 60, 20, 50, 20));

  // A window asked to be as large as the screen places its controls as given.
  const Handle fits = build(R"({"Figure": {"Position": [0, 0, 300, 200]},
      "Controls": [{"Style": "text", "Tag": "Given", "Anchor": "all", "Position": [10, 10, 100, 30]}]})");
  EXPECT_EQ(ui.widget(tagged("Given"))->geometry(), QRect(10, 160, 100, 30));
  ui.destroy(fits);
}

TEST_F(QtRuntime, TypedTextIsTheModelsStringAndClicksRunCallbacks) {
  build(R"({"Figure": {"Position": [100, 100, 400, 300]},
      "Controls": [
        {"Style": "edit", "Tag": "Count", "String": "999", "Position": [10, 250, 100, 30],
         "Callback": ["record", "edited"]},
        {"Style": "pushbutton", "Tag": "Go", "String": "Run & see", "Position": [120, 250, 100, 30],
         "Callback": ["record", "clicked"]},
        {"Style": "edit", "Tag": "Status", "String": "line 1\nline 2", "Max": 2, "Min": 0,
         "Enable": "inactive", "Position": [10, 10, 380, 200], "Callback": ["record", "status"]}]})");
  ui.flush();
  auto* count = widget_of<QLineEdit>("Count");
  auto* go = widget_of<QPushButton>("Go");
  auto* status = widget_of<QPlainTextEdit>("Status");
  ASSERT_TRUE(count && go && status);

  EXPECT_EQ(count->text(), QString("999"));
  count->selectAll();
  QTest::keyClicks(count, "20");
  EXPECT_EQ(ui.get(tagged("Count"), "String"), Value("20"));
  EXPECT_TRUE(calls.empty());  // typing is not finishing
  QTest::keyClick(count, Qt::Key_Return);
  EXPECT_EQ(calls, std::vector<std::string>{"edited"});
  // The program's text is shown and is not taken for the user's.
  ui.set(tagged("Count"), "String", Value("5"));
  EXPECT_EQ(count->text(), QString("5"));
  QTest::keyClick(count, Qt::Key_Return);
  EXPECT_EQ(calls.size(), 1u);

  EXPECT_EQ(go->text(), QString("Run && see"));  // shown as "Run & see", no shortcut
  QTest::mouseClick(go, Qt::LeftButton);
  EXPECT_EQ(calls.back(), "clicked");

  // "inactive": readable, selectable, not editable.
  EXPECT_TRUE(status->isReadOnly());
  EXPECT_TRUE(status->isEnabled());
  EXPECT_EQ(status->toPlainText(), QString("line 1\nline 2"));
  QTest::keyClicks(status->viewport(), "xyz");
  EXPECT_EQ(ui.get(tagged("Status"), "String"), Value("line 1\nline 2"));
}

TEST_F(QtRuntime, FocusedButtonsShowItAndTakeReturnAndSpace) {
  build(R"({"Figure": {"Position": [100, 100, 400, 300]},
      "Controls": [
        {"Style": "edit", "Tag": "Count", "String": "9", "Position": [10, 250, 100, 30]},
        {"Style": "pushbutton", "Tag": "Go", "String": "Go", "Position": [120, 250, 100, 30],
         "Callback": ["record", "go"]},
        {"Style": "text", "Tag": "Note", "String": "note", "Position": [10, 10, 100, 30]}]})");
  ui.flush();
  auto* count = widget_of<QLineEdit>("Count");
  auto* go = widget_of<QPushButton>("Go");
  ASSERT_TRUE(count && go);
  QWidget* window = go->window();
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));

  // The keyboard reaches every control that takes input, and a label is skipped.
  for (QWidget* w : {static_cast<QWidget*>(count), static_cast<QWidget*>(go)})
    EXPECT_TRUE(w->focusPolicy() & Qt::TabFocus) << w->metaObject()->className();
  EXPECT_EQ(widget_of<QLabel>("Note")->focusPolicy(), Qt::NoFocus);

  const QImage plain = go->grab().toImage();
  count->setFocus(Qt::OtherFocusReason);
  QTest::keyClick(window, Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), go);
  EXPECT_NE(go->grab().toImage(), plain);  // the focused button is drawn otherwise

  QTest::keyClick(go, Qt::Key_Return);
  QTest::keyClick(go, Qt::Key_Enter);
  QTest::keyClick(go, Qt::Key_Space);
  EXPECT_EQ(calls, (std::vector<std::string>{"go", "go", "go"}));
  QTest::keyClick(go, Qt::Key_Return, Qt::ControlModifier);  // not a press
  EXPECT_EQ(calls.size(), 3u);
}

// The x of the first character of every cell, line by line.
std::vector<std::vector<int>> cell_starts(QPlainTextEdit* edit) {
  std::vector<std::vector<int>> lines;
  for (QTextBlock b = edit->document()->begin(); b.isValid(); b = b.next()) {
    const QString text = b.text();
    if (!text.contains('\t')) continue;
    std::vector<int> xs;
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (text[i] != '\t') continue;
      QTextCursor c(b);
      c.setPosition(b.position() + static_cast<int>(i) + 1);
      xs.push_back(edit->cursorRect(c).x());
    }
    lines.push_back(xs);
  }
  return lines;
}

TEST_F(QtRuntime, ResultsBoxLinesUpTheColumnsInAFixedPitchFont) {
  build(R"({"Figure": {"Position": [50, 50, 760, 300]},
      "Controls": [{"Style": "edit", "Tag": "Results", "Max": 2, "Enable": "inactive",
         "FontName": "monospace", "FontSize": 10, "TabStops": "columns", "Wrap": "off",
         "Position": [0, 0, 760, 300]}]})");
  ui.flush();
  auto* results = widget_of<QPlainTextEdit>("Results");
  ASSERT_NE(results, nullptr);
  EXPECT_TRUE(fixed_pitch(results->font()));
  EXPECT_EQ(results->lineWrapMode(), QPlainTextEdit::NoWrap);
  // Cells of very different widths: a fixed tab distance would break columns.
  ui.set(tagged("Results"), "String",
         Value("For the entire data set, SS=0.123456\n\n"
               "Grouping \tSS \tdf \tMS \tF \tAnalytic P \tPer Exp\n\n"
               "G1 \t12345.6789 \t1 \t12345.6789 \t123456.78 \t0.0000 \t99.9000\n"
               "G1xG2xt \t0.0001 \t1234 \t0.0000 \t0.01 \t1.0000 \t0.0001\n\n"
               "Error  \t0.1234 \t36  \t0.0034 \t - \t \t55.5000\n"
               // Blanks make this df the widest cell of its column.
               "Error  \t0.1234 \t72    \t0.0034 \t - \t \t55.5000"));
  QCoreApplication::processEvents();
  const auto lines = cell_starts(results);
  ASSERT_EQ(lines.size(), 5u);
  for (std::size_t k = 0; k < lines[0].size(); ++k) {
    for (const auto& line : lines) EXPECT_EQ(line[k], lines[0][k]) << "column " << k + 1;
    if (k > 0) {
      EXPECT_GT(lines[0][k], lines[0][k - 1]);
    }
  }
  // A new text gets stops fitted to it.
  ui.set(tagged("Results"), "String", Value("a\tb\nlonger cell\tc"));
  QCoreApplication::processEvents();
  const auto again = cell_starts(results);
  ASSERT_EQ(again.size(), 2u);
  EXPECT_EQ(again[0][0], again[1][0]);
}

TEST_F(QtRuntime, MessageBoxesDoNotBlock) {
  ui.message_box("The file has 12 columns.", "Dang:Error");  // returns at once
  QMessageBox* box = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* b = dynamic_cast<QMessageBox*>(w); b && b->windowTitle() == "Dang:Error") box = b;
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isVisible());
  EXPECT_FALSE(box->isModal());
  EXPECT_EQ(box->text(), QString("The file has 12 columns."));
  QPointer<QMessageBox> gone = box;
  box->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(gone.isNull());  // a closed box frees itself
}

TEST_F(QtRuntime, FileDialogStartsInTheWorkingFolderAndSplitsTheChoice) {
  namespace fs = std::filesystem;
  const lumivar::testing::KeepWorkingFolder keep;
  const lumivar::testing::TempFolder folder;
  const fs::path dir = folder.path();
  folder.write("codes", "1");  // no extension: "*.*" must still offer it
  fs::current_path(dir);
  QString started_in, title;
  QStringList filters;
  auto answer = [&](bool accept) {
    QTimer::singleShot(0, [&, accept] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = dynamic_cast<QFileDialog*>(w);
        if (dialog == nullptr || !dialog->isVisible()) continue;
        started_in = dialog->directory().absolutePath();
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        if (accept) {
          dialog->selectFile(QString::fromStdString((dir / "codes").string()));
          static_cast<QDialog*>(dialog)->accept();  // as the Open button does
        } else {
          dialog->reject();
        }
      }
    });
  };
  answer(true);
  const FileChoice chosen = ui.open_file_dialog("*.*", "Enter file to Load?");
  EXPECT_EQ(started_in.toStdString(), dir.string());
  EXPECT_EQ(title, QString("Enter file to Load?"));
  EXPECT_EQ(filters, QStringList{"All files (*)"});
  EXPECT_FALSE(chosen.cancelled);
  EXPECT_EQ(chosen.name, "codes");
  EXPECT_EQ(chosen.folder, dir.string() + "/");
  answer(false);
  EXPECT_TRUE(ui.open_file_dialog("*.*", "Enter file to Load?").cancelled);

  // Scripted answers replace the dialog.
  ui.set_file_dialog([](const std::string& filter, const std::string& t) {
    return FileChoice{false, t, filter};
  });
  const FileChoice scripted = ui.open_file_dialog("*.*", "x");
  EXPECT_EQ(scripted.name, "x");
  EXPECT_EQ(scripted.folder, "*.*");

  // The dialog remembers its last folder in Qt's settings: those of this run,
  // in a temporary folder, never the user's own.
  const QString settings = QSettings(QSettings::UserScope, "QtProject").fileName();
  EXPECT_FALSE(settings.startsWith(QDir::homePath() + "/")) << settings.toStdString();
}

TEST_F(QtRuntime, TheMainLoopEndsWhenTheLastWindowCloses) {
  Handle first = -1, second = -1;
  bool first_closed_loop_still_running = false;
  const int status = ui.main_loop([&] {
    first = build(R"({"Figure": {"Position": [10, 10, 200, 100]}})");
    second = build(R"({"Figure": {"Position": [300, 10, 200, 100]}})");
    QTimer::singleShot(0, [&] {
      ui.widget(first)->close();  // as the user does with the title bar's button
      QTimer::singleShot(0, [&] {
        first_closed_loop_still_running = ui.is_valid(second) && !ui.is_valid(first);
        ui.widget(second)->close();
      });
    });
  });
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(first_closed_loop_still_running);
  EXPECT_TRUE(ui.figures().empty());
  // Nothing opened: nothing to wait for.
  EXPECT_EQ(ui.main_loop([] {}), 0);
}

TEST_F(QtRuntime, InvisibleWindowsStayHiddenAndColoursAreShown) {
  const Handle fig = build(R"({"Figure": {"Visible": "off", "Color": [1, 0, 0], "Position": [10, 10, 200, 100]}})");
  ui.flush();
  EXPECT_FALSE(ui.widget(fig)->isVisible());
  EXPECT_EQ(ui.widget(fig)->palette().color(QPalette::Window), QColor(255, 0, 0));
  ui.set(fig, "Visible", Value("on"));
  ui.flush();
  EXPECT_TRUE(ui.widget(fig)->isVisible());
  const QColor button = QApplication::palette().color(QPalette::Button);
  EXPECT_EQ(ui.get(kRoot, "defaultUicontrolBackgroundColor").matrix(),
            Matrix::row({button.redF(), button.greenF(), button.blueF()}));
}

TEST_F(QtRuntime, AStyleNoWidgetShowsIsRefusedAndTheHalfBuiltWindowGoes) {
  // A hand-written layout may name any style; only the program's own four are shown.
  for (const char* style : {"slider", "checkbox", "listbox", "popupmenu", "togglebutton", "radiobutton"}) {
    EXPECT_ERROR_MSG(build(std::string(R"({"Figure": {}, "Controls": [{"Style": "edit"}, {"Style": ")") +
                           style + "\"}]}"),
                     std::string("The layout file test layout, control 2 of \"Controls\", \"Style\": The "
                                 "control style \"") +
                         style + "\" is not one this window can show; it shows pushbutton, edit, text and frame.");
    EXPECT_TRUE(ui.figures().empty()) << style;
  }
}

TEST_F(QtRuntime, PositionsFarBeyondTheScreenAreClampedAndBroughtBack) {
  // A hand-edited layout with absurd numbers, opened as the program opens
  // its own: the window no larger than the screen and on it, the control as
  // wide as a widget can be.
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const lumivar::testing::TempFolder folder;
  const std::string path = folder.write("Far.fig", R"({
      "Figure": {"Name": "Far", "Position": [1e300, 1e300, 1e300, 300], "MinimumSize": [1e300, 1e300]},
      "Controls": [
        {"Style": "text", "Tag": "Far", "String": "x", "Position": [-1e300, 1e300, 1e300, 20]}]})");
  const Handle fig = window::openfig(ui, path, "new");
  ui.flush();
  QWidget* window = ui.widget(fig);
  EXPECT_EQ(window->geometry().size(), screen.size());
  EXPECT_TRUE(screen.intersects(window->geometry()));
  const QRect far = ui.widget(tagged("Far"))->geometry();
  EXPECT_EQ(far.x(), -kMaxPixels);
  EXPECT_EQ(far.width(), kMaxPixels);
}

}  // namespace
}  // namespace lumivar::runtime::qt
