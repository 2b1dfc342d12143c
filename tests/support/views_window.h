#pragma once
// The main window with its View menu (gui/analysis_views.h), driven through
// its buttons as a user drives it, for the tests of the views.
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <string>

#include "gui/analysis_views.h"
#include "support/command_button.h"
#include "support/scripted_window.h"

namespace lumivar::testing {

struct ViewsWindow : ScriptedWindow {
  ViewsWindow() {
    fig = open();
    views = gui::add_analysis_views(app, ui);
    ui.flush();
  }
  // Clicks the button that sends `word`.
  void press(const std::string& word) {
    QPushButton* button = command_button(ui, fig, word);
    ASSERT_NE(button, nullptr) << word;
    QTest::mouseClick(button, Qt::LeftButton);
  }
  // Loads `landmarks` and the example study's two code files.
  void load_study(const std::string& landmarks = example("landmarks.txt")) {
    files = {landmarks, example("reps.txt"), example("groups.txt")};
    press("Load");
    press("LoadRepGroup");
    press("LoadGroup");
  }

  runtime::Handle fig = 0;
  gui::AnalysisViews* views = nullptr;
};

}  // namespace lumivar::testing
