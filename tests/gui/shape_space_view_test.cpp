// The shape-space view, opened from the main window's View menu on the
// example study: its three pictures, its choices, and export.
#include "gui/shape_space_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <sstream>
#include <vector>

#include "gui/analysis_views.h"
#include "gui/picture_export.h"
#include "gui/scene_widget.h"
#include "plots/draw_scene.h"
#include "plots/palette.h"
#include "support/views_window.h"
#include "support/temp_files.h"

namespace lumivar {
namespace {

using gui::ShapeSpaceView;
using testing::example;

class ShapeSpaceViews : public ::testing::Test, protected testing::ViewsWindow {
 protected:
  void analyse() {
    load_study();
    press("VarExp");
  }
  // The View menu's entry whose text starts with `text` (without its & marks).
  QAction* entry(const QString& text) const {
    for (QAction* a : views->menu_bar()->actions().front()->menu()->actions())
      if (a->text().remove(QLatin1Char('&')).startsWith(text)) return a;
    return nullptr;
  }
  ShapeSpaceView* opened(const QString& text) {
    QAction* a = entry(text);
    EXPECT_NE(a, nullptr) << text.toStdString();
    if (a == nullptr) return nullptr;
    a->trigger();
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* v = dynamic_cast<ShapeSpaceView*>(w); v != nullptr && v->isVisible()) return v;
    return nullptr;
  }
};

TEST_F(ShapeSpaceViews, TheMenuOpensEachPictureOnTheLastAnalysis) {
  ASSERT_NE(views, nullptr);
  for (const char* text : {"Principal components", "Shape change", "Mean shapes"}) {
    ASSERT_NE(entry(QString::fromLatin1(text)), nullptr) << text;
    EXPECT_FALSE(entry(QString::fromLatin1(text))->isEnabled()) << text;
  }
  analyse();
  EXPECT_TRUE(entry(QStringLiteral("Mean shapes"))->isEnabled());

  ShapeSpaceView* v = opened(QStringLiteral("Principal components"));
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->picture(), ShapeSpaceView::kComponents);
  const plots::Scene* s = v->canvas()->scene();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->points.size(), 80u);
  EXPECT_EQ(s->lines.size(), 40u);  // each specimen's two measurements joined
  EXPECT_EQ(plots::point_text(s->points[40]), "specimen 1, row 41");
  EXPECT_TRUE(QString::fromStdString(s->x_axis.title).startsWith("PC1 ("));
  v->y_component_box()->setValue(3);
  EXPECT_TRUE(QString::fromStdString(v->canvas()->scene()->y_axis.title).startsWith("PC3 ("));
  // The spin boxes offer the study's components: 2 x 12 - 4.
  EXPECT_EQ(v->x_component_box()->maximum(), 20);

  // The same window, on another picture.
  EXPECT_EQ(opened(QStringLiteral("Shape change")), v);
  EXPECT_EQ(v->picture(), ShapeSpaceView::kChange);
  // G1, G2 and T have two levels each, then the ends of the first five components.
  ASSERT_EQ(v->pair_box()->count(), 8);
  EXPECT_EQ(v->pair_box()->itemText(2), QStringLiteral("T = 1 \u2192 T = 2"));
  v->pair_box()->setCurrentIndex(2);
  v->magnification_box()->setValue(4);
  s = v->canvas()->scene();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->title, "Shape change from T = 1 to T = 2");
  EXPECT_NE(s->subtitle.find("magnified 4 times"), std::string::npos) << s->subtitle;

  EXPECT_EQ(opened(QStringLiteral("Mean shapes")), v);
  v->grouping_box()->setCurrentIndex(1);  // G2
  s = v->canvas()->scene();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->title, "Mean shapes of G2");
  ASSERT_EQ(s->lines.size(), 2u);
  EXPECT_EQ(s->lines[1].colour, plots::group_colour(1));
  EXPECT_EQ(s->lines[0].points.size(), 12u);

  // Exported as the other views' pictures are.
  testing::TempFolder t;
  const QString path = QString::fromStdString(t.path() + "/means.svg");
  EXPECT_EQ(gui::save_picture(*s, path, QSize(640, 480)), QString());
  EXPECT_NE(testing::read_file(path.toStdString()).find("Mean shapes of G2"), std::string::npos);
}

TEST_F(ShapeSpaceViews, AnOpenViewFollowsEachNewAnalysis) {
  analyse();
  ShapeSpaceView* v = opened(QStringLiteral("Mean shapes"));
  ASSERT_NE(v, nullptr);
  ASSERT_NE(v->canvas()->scene(), nullptr);
  EXPECT_EQ(v->canvas()->scene()->lines.front().points.size(), 12u);
  // The example study cut to its first six landmarks, analysed again.
  testing::TempFolder t;
  std::istringstream rows(testing::read_file(example("landmarks.txt")));
  std::string cut;
  for (std::string line; std::getline(rows, line);) {
    std::istringstream values(line);
    std::vector<std::string> v12;
    for (std::string x; values >> x;) v12.push_back(x);
    for (std::size_t c = 0; c < 12; ++c) cut += v12[c] + " ";
    cut += v12.back() + "\n";
  }
  files = {t.write("six.txt", cut)};
  press("Load");
  press("VarExp");
  ASSERT_NE(v->canvas()->scene(), nullptr);
  EXPECT_EQ(v->canvas()->scene()->lines.front().points.size(), 6u);
  EXPECT_EQ(v->x_component_box()->maximum(), 8);  // 2 x 6 - 4
}

TEST_F(ShapeSpaceViews, AStudyInThreeDimensionsIsDrawnInProjections) {
  // The 3-D example's landmark file says its dimension in its note.
  files = {example("3d/landmarks.txt"), example("3d/reps.txt"), example("3d/groups.txt")};
  press("Load");
  press("LoadRepGroup");
  press("LoadGroup");
  press("VarExp");
  ShapeSpaceView* v = opened(QStringLiteral("Mean shapes"));
  ASSERT_NE(v, nullptr);
  const plots::Scene* s = v->canvas()->scene();
  ASSERT_NE(s, nullptr);
  // Two levels of G1 in the front, side and top views, 10 landmarks each.
  ASSERT_EQ(s->lines.size(), 6u);
  EXPECT_EQ(s->lines[0].points.size(), 10u);
  // Components of 10 landmarks in space: 3 x 10 - 7 (translation, size, rotation).
  EXPECT_EQ(v->x_component_box()->maximum(), 23);

  v->set_picture(ShapeSpaceView::kChange);
  s = v->canvas()->scene();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->title, "Shape change from G1 = 1 to G1 = 2");
  EXPECT_NE(s->subtitle.find("no thin-plate-spline grid"), std::string::npos) << s->subtitle;
}

TEST_F(ShapeSpaceViews, AnImportedStudysNamesLabelItsAnalysesOnly) {
  load_study();
  // As an import leaves them: names for the inputs loaded.
  shape_space::StudyLabels names;
  for (int i = 0; i < 80; ++i) names.specimens.push_back("rat" + std::to_string(i % 40 + 1));
  names.g1 = {{1, "male"}, {2, "female"}};
  app.imported_labels = {std::make_shared<const shape_space::StudyLabels>(names), app.session.sources};
  press("VarExp");
  ShapeSpaceView* v = opened(QStringLiteral("Principal components"));
  ASSERT_NE(v, nullptr);
  const plots::Scene* s = v->canvas()->scene();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->legend[1].text, "G1 = female");
  EXPECT_EQ(plots::point_text(s->points[41]), "specimen rat2, row 42");

  // Another group file loaded since: the names no longer apply.
  testing::TempFolder t;
  files = {t.write("groups.txt", testing::read_file(example("groups.txt")) + "\n")};
  press("LoadGroup");
  press("VarExp");
  s = v->canvas()->scene();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->legend[1].text, "G1 = 2");
}

}  // namespace
}  // namespace lumivar
