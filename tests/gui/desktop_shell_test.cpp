// The main window as a desktop program, driven as a user drives it: menu
// entries and their keys, the status bar, saving results, the permutation
// settings and what a fresh window remembers. Settings live in a temporary
// file (and Qt's test mode is on), never in the user's configuration.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBrowser>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "gui/analysis_views.h"
#include "gui/desktop_shell.h"
#include "gui/help_pages.h"
#include "gui/picture_export.h"
#include "gui/scene_widget.h"
#include "gui/strata_view.h"
#include "gui/window_placement.h"
#include "runtime/sha256.h"
#include "support/desktop_window.h"
#include "support/example_study_files.h"
#include "support/headless_texts.h"
#include "support/progress_dialogs.h"
#include "support/temp_files.h"

namespace lumivar::gui {
namespace {

namespace fs = std::filesystem;
using runtime::Value;

using testing::example;

using testing::read_file;

// One run of the window program's main window with its shell, over settings
// kept in `settings_file`.
struct Window : testing::DesktopWindow {
  explicit Window(const QString& settings_file) : DesktopWindow(settings_file) {
    shell->set_file_chooser([this](const std::string&, const std::string&) {
      asked_in.push_back(QDir::currentPath().toStdString());
      return testing::next_file_choice(files);
    });
    ui.flush();
  }
  QWidget* main() { return ui.widget(ui.find_by_tag("LumivarWindow").at(0)); }
  void load_example() {
    files = {example("landmarks.txt"), example("reps.txt"), example("groups.txt")};
    trigger(DesktopShell::kLoadLandmarks);
    trigger(DesktopShell::kLoadCodes);
    trigger(DesktopShell::kLoadGroups);
  }
  void permute(const char* count) {
    ui.set(ui.find_by_tag("PermBox").at(0), "String", Value(count));
    trigger(DesktopShell::kPermute);
  }

  std::deque<std::string> files;
  std::vector<std::string> asked_in;  // the working folder at each file dialog
};

class Desktop : public testing::DesktopTest {};

TEST_F(Desktop, MenuEntriesTakeTheStandardKeys) {
  Window w(settings_file());
  EXPECT_EQ(w.shell->action(DesktopShell::kSaveResults)->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
  EXPECT_EQ(w.shell->action(DesktopShell::kQuit)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
  EXPECT_EQ(w.shell->action(DesktopShell::kCopyResults)->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
  EXPECT_EQ(w.shell->action(DesktopShell::kColumnsHelp)->shortcut(), QKeySequence(Qt::Key_F1));
  // Nothing to save before an analysis.
  EXPECT_FALSE(w.shell->action(DesktopShell::kSaveResults)->isEnabled());
}

TEST_F(Desktop, MenuEntriesGiveTheButtonsTexts) {
  Window w(settings_file());
  w.load_example();
  w.trigger(DesktopShell::kVarExp);
  // The same study through the buttons' dispatcher calls on the headless runtime.
  const auto expected = testing::headless_texts(
      {example("landmarks.txt"), example("reps.txt"), example("groups.txt")},
      {"Load", "LoadRepGroup", "LoadGroup", "VarExp"});
  for (const std::string tag : {"FileBox", "RepBox", "GroupBox", "ResBox"})
    EXPECT_EQ(w.box(tag), expected.at(tag)) << tag;

  // Copy results takes the whole table; Select all selects it for the
  // box's own copy.
  w.trigger(DesktopShell::kCopyResults);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), w.box("ResBox"));
  w.trigger(DesktopShell::kSelectAll);
  auto* results = dynamic_cast<QPlainTextEdit*>(w.ui.widget(w.ui.find_by_tag("ResBox").at(0)));
  ASSERT_NE(results, nullptr);
  EXPECT_EQ(results->textCursor().selectedText().size(), results->toPlainText().size());

  // Return in the permutations box runs the test with the number typed.
  auto* perm = dynamic_cast<QLineEdit*>(w.ui.widget(w.ui.find_by_tag("PermBox").at(0)));
  ASSERT_NE(perm, nullptr);
  perm->selectAll();
  QTest::keyClicks(perm, "25");
  QTest::keyClick(perm, Qt::Key_Return);
  EXPECT_TRUE(QString::fromStdString(w.box("ResBox")).contains("using 25 permuations")) << w.box("ResBox");
}

TEST_F(Desktop, StatusBarNamesTheStudyAndSaysWhenResultsAreStale) {
  Window w(settings_file());
  w.load_example();
  EXPECT_EQ(w.shell->study_label()->text().toStdString(),
            "landmarks.txt: 40 specimens x 2, 12 landmarks; reps.txt; groups.txt: 2 x 2");
  EXPECT_TRUE(QString::fromStdString(w.ui.get(w.ui.find_by_tag("LumivarWindow").at(0), "Name").text())
                  .startsWith("landmarks.txt \u2014 Lumivar"));
  EXPECT_TRUE(w.main()->windowTitle().startsWith("landmarks.txt"));
  w.trigger(DesktopShell::kVarExp);
  EXPECT_TRUE(w.shell->stale_label()->text().isEmpty());
  EXPECT_TRUE(w.views->open_shapes()->windowTitle().endsWith("landmarks.txt, reps.txt, groups.txt"));

  // Other landmarks (the same numbers under another name) after the analysis.
  const std::string other = folder.write("second.txt", read_file(example("landmarks.txt")));
  w.files = {other};
  w.trigger(DesktopShell::kLoadLandmarks);
  EXPECT_EQ(w.shell->study_label()->text().toStdString(),
            "second.txt: 40 specimens x 2, 12 landmarks; reps.txt; groups.txt: 2 x 2");
  EXPECT_EQ(w.shell->stale_label()->text().toStdString(),
            "Results and views are from the earlier files (landmarks.txt, reps.txt, groups.txt); "
            "run an analysis for the files now loaded.");
  EXPECT_TRUE(w.views->shape_view()->windowTitle().endsWith("landmarks.txt, reps.txt, groups.txt"));
  w.trigger(DesktopShell::kVarExp);
  EXPECT_TRUE(w.shell->stale_label()->text().isEmpty());
  EXPECT_TRUE(w.views->shape_view()->windowTitle().endsWith("second.txt, reps.txt, groups.txt"));
}

TEST_F(Desktop, TheBatchToolRepeatsTheWindowsRunFromTheSeedShown) {
  Window w(settings_file());
  w.load_example();
  w.permute("60");
  ASSERT_NE(w.app.last_analysis, nullptr);
  const std::uint64_t seed = w.app.last_analysis->permutation.plan.seed;
  EXPECT_EQ(w.shell->seed_label()->text(), QStringLiteral("Seed %1").arg(seed));
  // Its last digit keeps clear of the window's edge.
  QLabel* label = w.shell->seed_label();
  EXPECT_LE(label->mapTo(w.main(), label->contentsRect().topRight()).x(), w.main()->width() - 5);

  QProcess batch;
  batch.start(QStringLiteral(LUMIVAR_BATCH),
              {"permute", "--data", QString::fromStdString(example("landmarks.txt")), "--reps",
               QString::fromStdString(example("reps.txt")), "--groups",
               QString::fromStdString(example("groups.txt")), "--permutations", "60", "--seed",
               QString::number(seed)});
  ASSERT_TRUE(batch.waitForFinished(60000));
  ASSERT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().toStdString();
  // The window's text, and the line that names the seed.
  const std::string s = std::to_string(seed);
  EXPECT_EQ(batch.readAllStandardOutput().toStdString(),
            w.box("ResBox") + "\n\nSeed: " + s + " (--seed " + s + " repeats this run)\n");
}

TEST_F(Desktop, AFixedSeedRepeatsRunsAndIsRememberedWithTheOtherSettings) {
  {
    Window w(settings_file());
    w.load_example();
    w.trigger(DesktopShell::kPermuteSettings);
    PermutationSettingsDialog* d = w.shell->settings_dialog();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->fresh_seed()->isChecked());  // the default
    EXPECT_EQ(d->auto_note()->text(), "For the 80 rows loaded, \"auto\" takes the distance matrix.");
    QPushButton* ok = d->buttons()->button(QDialogButtonBox::Ok);
    d->seed_edit()->setText("18446744073709551616");  // one past 64 bits
    EXPECT_TRUE(d->fixed_seed()->isChecked());
    EXPECT_FALSE(ok->isEnabled());
    d->seed_edit()->setText("12345");
    d->engine_box()->setCurrentIndex(1);
    d->sums_box()->setCurrentIndex(d->sums_box()->findText("matrix"));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(w.app.permute_settings.seed, std::optional<std::uint64_t>(12345));
    EXPECT_EQ(w.app.permute_settings.engine, permutation::Engine::kReference);

    w.permute("30");
    const std::string first = w.box("ResBox");
    w.permute("30");
    EXPECT_EQ(w.box("ResBox"), first);
    EXPECT_EQ(w.shell->seed_label()->text(), QStringLiteral("Seed 12345"));
  }
  Window fresh(settings_file());
  EXPECT_EQ(fresh.app.permute_settings.seed, std::optional<std::uint64_t>(12345));
  EXPECT_EQ(fresh.app.permute_settings.engine, permutation::Engine::kReference);
  EXPECT_EQ(fresh.app.permute_settings.sums, partition::SumsMethod::kMatrix);
  EXPECT_TRUE(fresh.app.permute_settings.keep_f_values);  // not a setting: left alone
}

TEST_F(Desktop, SaveResultsWritesTextCsvAndJsonWithProvenance) {
  Window w(settings_file());
  w.load_example();
  w.permute("40");
  ASSERT_TRUE(w.shell->action(DesktopShell::kSaveResults)->isEnabled());
  QString answer;
  w.shell->set_save_dialog([&answer](const QString&, QString* filter) {
    *filter = QString();
    return answer;
  });
  const auto save = [&](const std::string& name) {
    answer = QString::fromStdString(folder.path() + "/" + name);
    w.trigger(DesktopShell::kSaveResults);
    return read_file(folder.path() + "/" + name);
  };
  EXPECT_EQ(save("results.txt"), w.box("ResBox") + "\n");

  std::istringstream csv(save("results.csv"));
  std::string line;
  std::vector<std::string> lines;
  while (std::getline(csv, line)) lines.push_back(line);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "effect,ss,df,ms,f,per_exp,p_perm_f,p_perm_ss");
  EXPECT_EQ(lines[1].substr(0, 3), "G1,");
  const shell::AnalysisSnapshot& a = *w.app.last_analysis;
  const std::string g1_p = lines[1].substr(lines[1].rfind(',', lines[1].rfind(',') - 1) + 1);
  EXPECT_EQ(std::stod(g1_p.substr(0, g1_p.find(','))), a.permutation.p_perm_f[0]);

  const nlohmann::json j = nlohmann::json::parse(save("results.json"));
  EXPECT_EQ(j["analysis"], "permute");
  const nlohmann::json& p = j["provenance"];
  EXPECT_EQ(p["program"], "lumivar");
  EXPECT_EQ(p["seed"].get<std::uint64_t>(), a.permutation.plan.seed);
  EXPECT_EQ(p["permutations"], 40);
  EXPECT_TRUE(p.contains("date"));
  ASSERT_EQ(p["inputs"].size(), 3u);
  const char* files[] = {"landmarks.txt", "reps.txt", "groups.txt"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(p["inputs"][i]["sha256"], runtime::sha256_hex(read_file(example(files[i])))) << files[i];
    EXPECT_TRUE(p["inputs"][i]["path"].get<std::string>().ends_with(files[i]));
  }
  EXPECT_EQ(j["effects"][0]["p_perm_f"].get<double>(), a.permutation.p_perm_f[0]);

  // A name without an extension takes the filter's.
  w.shell->set_save_dialog([&](const QString&, QString* filter) {
    *filter = QStringLiteral("CSV, one row per effect (*.csv)");
    return QString::fromStdString(folder.path() + "/plain");
  });
  w.trigger(DesktopShell::kSaveResults);
  EXPECT_EQ(read_file(folder.path() + "/plain.csv").substr(0, 7), "effect,");
}

TEST_F(Desktop, AFreshWindowRemembersPlaceFoldersAndRecentStudies) {
  const std::string codes_folder = folder.path() + "/codes";
  fs::create_directories(codes_folder);
  const std::string codes = codes_folder + "/reps.txt";
  fs::copy_file(example("reps.txt"), codes);
  QRect placed;
  {
    Window w(settings_file());
    w.files = {example("landmarks.txt"), codes, example("groups.txt")};
    w.trigger(DesktopShell::kLoadLandmarks);
    w.trigger(DesktopShell::kLoadCodes);
    w.trigger(DesktopShell::kLoadGroups);
    w.trigger(DesktopShell::kVarExp);
    w.main()->setGeometry(10, 20, 700, 560);  // inside the offscreen screen
    placed = w.main()->geometry();
    w.main()->close();
  }
  Window w(settings_file());
  EXPECT_EQ(w.main()->geometry(), placed);
  // Each kind of file is asked for in its own last folder.
  fs::current_path(folder.path());
  w.trigger(DesktopShell::kLoadCodes);  // cancelled: the working folder stays
  EXPECT_EQ(fs::current_path(), fs::path(folder.path()));
  w.files = {example("groups.txt")};
  w.trigger(DesktopShell::kLoadGroups);
  ASSERT_EQ(w.asked_in.size(), 2u);
  EXPECT_EQ(fs::path(w.asked_in[0]), fs::path(codes_folder));
  EXPECT_EQ(fs::path(w.asked_in[1]), fs::path(LUMIVAR_EXAMPLES));

  // Open recent loads the three files of the study again.
  ASSERT_EQ(w.shell->recent_menu()->actions().size(), 1);
  QAction* study = w.shell->recent_menu()->actions().front();
  EXPECT_EQ(study->text(), QStringLiteral("landmarks.txt; reps.txt; groups.txt \u2014 ") +
                              QDir::toNativeSeparators(QStringLiteral(LUMIVAR_EXAMPLES)));
  study->trigger();
  QCoreApplication::processEvents();
  EXPECT_EQ(w.shell->study_label()->text().toStdString(),
            "landmarks.txt: 40 specimens x 2, 12 landmarks; reps.txt; groups.txt: 2 x 2");
  EXPECT_EQ(w.app.session.sources.reps.path, codes);
}

// Drops `path` on the status box tagged `tag`, as a file manager does.
bool drop_file(Window& w, const std::string& tag, const std::string& path) {
  auto* box = dynamic_cast<QPlainTextEdit*>(w.ui.widget(w.ui.find_by_tag(tag).at(0)));
  if (box == nullptr) return false;
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
  const QPoint at = box->viewport()->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(box->viewport(), &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(box->viewport(), &drop);
  QCoreApplication::processEvents();
  return drop.isAccepted();
}

TEST_F(Desktop, AFileDroppedOnAStatusBoxLoadsAsThatKind) {
  Window w(settings_file());
  ASSERT_TRUE(drop_file(w, "RepBox", example("reps.txt")));
  ASSERT_TRUE(drop_file(w, "FileBox", example("landmarks.txt")));
  EXPECT_EQ(w.app.session.sources.reps.path, example("reps.txt"));
  EXPECT_EQ(w.app.session.sources.data.path, example("landmarks.txt"));
  EXPECT_TRUE(w.app.session.sources.groups.path.empty());
  EXPECT_TRUE(w.asked_in.empty());  // no dialog was shown

  // The same texts as the button's: the headless runtime loading the same file.
  EXPECT_EQ(w.box("FileBox"), testing::headless_texts({example("landmarks.txt")}, {"Load"}).at("FileBox"));

  // A folder is not taken, and loads nothing.
  EXPECT_FALSE(drop_file(w, "GroupBox", folder.path()));
  EXPECT_TRUE(w.app.session.sources.groups.path.empty());
}

// Drops `paths` on the main window itself, as a file manager does.
bool drop_on_window(Window& w, const std::vector<std::string>& paths) {
  QMimeData mime;
  QList<QUrl> urls;
  for (const std::string& p : paths) urls << QUrl::fromLocalFile(QString::fromStdString(p));
  mime.setUrls(urls);
  const QPoint at(5, 5);
  QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w.main(), &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w.main(), &drop);
  QCoreApplication::processEvents();
  return drop.isAccepted();
}

TEST_F(Desktop, AStudyDroppedOnTheWindowLoadsByItsContentsWithoutAsking) {
  Window w(settings_file());
  int asked = 0;
  w.shell->set_drop_chooser([&](const std::vector<DroppedFile>&) {
    ++asked;
    return std::nullopt;
  });
  // Dropped in any order, loaded landmarks first (the codes are checked against them).
  ASSERT_TRUE(drop_on_window(w, {example("groups.txt"), example("reps.txt"), example("landmarks.txt")}));
  EXPECT_EQ(asked, 0);
  EXPECT_TRUE(w.asked_in.empty());  // no file dialog either
  EXPECT_EQ(w.shell->study_label()->text().toStdString(),
            "landmarks.txt: 40 specimens x 2, 12 landmarks; reps.txt; groups.txt: 2 x 2");
  const auto by_buttons =
      testing::headless_texts({example("landmarks.txt"), example("reps.txt"), example("groups.txt")},
                              {"Load", "LoadRepGroup", "LoadGroup"});
  for (const char* box : {"FileBox", "RepBox", "GroupBox"}) EXPECT_EQ(w.box(box), by_buttons.at(box)) << box;
}

TEST_F(Desktop, DroppedFilesOfUnclearKindAreAskedAbout) {
  Window w(settings_file());
  const std::string copy = folder.write("reps copy.txt", read_file(example("reps.txt")));
  std::vector<DroppedFile> offered;
  bool cancel = true;
  w.shell->set_drop_chooser([&](const std::vector<DroppedFile>& files) -> std::optional<std::vector<DroppedFile>> {
    offered = files;
    if (cancel) return std::nullopt;
    std::vector<DroppedFile> chosen = files;
    chosen[2].kind.reset();  // the copy is left out
    return chosen;
  });
  // Two files of measurement codes: which one is meant?
  ASSERT_TRUE(drop_on_window(w, {example("landmarks.txt"), example("reps.txt"), copy}));
  ASSERT_EQ(offered.size(), 3u);
  EXPECT_EQ(offered[0].kind, FileKind::kLandmarks);
  EXPECT_EQ(offered[1].kind, FileKind::kMeasurementCodes);
  EXPECT_EQ(offered[2].kind, FileKind::kMeasurementCodes);
  EXPECT_TRUE(w.app.session.sources.data.path.empty());  // cancelled: nothing loaded

  cancel = false;
  ASSERT_TRUE(drop_on_window(w, {example("landmarks.txt"), example("reps.txt"), copy}));
  EXPECT_EQ(w.app.session.sources.data.path, example("landmarks.txt"));
  EXPECT_EQ(w.app.session.sources.reps.path, example("reps.txt"));

  // Several files dropped on one status box are a study, not that box's file.
  offered.clear();
  ASSERT_TRUE(drop_file(w, "GroupBox", example("groups.txt")));
  EXPECT_TRUE(offered.empty());
  EXPECT_FALSE(drop_on_window(w, {example("groups.txt"), folder.path()}));  // a folder is no study file
}

TEST(DroppedFiles, KindsComeFromTheFirstLineOfNumbers) {
  testing::TempFolder folder;
  auto kind = [&](const std::string& text) {
    return kind_from_contents(QString::fromStdString(folder.write("f.txt", text)));
  };
  EXPECT_EQ(kind("\nid x1 y1 x2 y2\n1 0.5 1e2 3 -4\n"), FileKind::kLandmarks);  // past a header
  EXPECT_EQ(kind("1,2,3,4,5,6,7\n"), FileKind::kLandmarks);
  EXPECT_EQ(kind("2 1\n"), FileKind::kGroupCodes);
  EXPECT_EQ(kind("  1\n2\n"), FileKind::kMeasurementCodes);
  EXPECT_EQ(kind("1 2 3 4 5 6\n"), std::nullopt);  // even: no label column
  EXPECT_EQ(kind("1 2 3\n"), std::nullopt);
  EXPECT_EQ(kind("1 2,5 3,5\n"), std::nullopt);  // decimal commas are not guessed at
  EXPECT_EQ(kind(""), std::nullopt);
  EXPECT_EQ(kind_from_contents(QString::fromStdString(folder.path() + "/missing.txt")), std::nullopt);
}

TEST(DroppedFiles, TheDialogTakesEachKindOnce) {
  DroppedFilesDialog dialog({{"/a/lm.txt", FileKind::kLandmarks}, {"/a/x.txt", std::nullopt},
                             {"/a/g.txt", FileKind::kGroupCodes}});
  EXPECT_EQ(dialog.chooser(1)->currentText().toStdString(), "Do not load");
  EXPECT_TRUE(dialog.ok_button()->isEnabled());
  dialog.chooser(1)->setCurrentIndex(dialog.chooser(1)->findText("Group codes"));
  EXPECT_FALSE(dialog.ok_button()->isEnabled());  // group codes twice
  dialog.chooser(2)->setCurrentIndex(dialog.chooser(2)->findText("Measurement codes"));
  EXPECT_TRUE(dialog.ok_button()->isEnabled());
  const std::vector<DroppedFile> order = in_load_order(dialog.files());
  ASSERT_EQ(order.size(), 3u);
  EXPECT_EQ(order[1].path.toStdString(), "/a/g.txt");
  EXPECT_EQ(order[2].path.toStdString(), "/a/x.txt");
}

TEST_F(Desktop, ViewsExportPicturesAtTheAskedSizeAndCopyThem) {
  Window w(settings_file());
  w.load_example();
  w.permute("20");
  ShapeView* shapes = w.views->open_shapes();
  HistogramView* histograms = w.views->open_distributions();
  std::optional<PictureActions::Choice> answer;
  for (PictureActions* p : {shapes->pictures(), histograms->pictures()})
    p->set_export_dialog([&answer](const QSize&) { return answer; });

  answer = PictureActions::Choice{QString::fromStdString(folder.path() + "/shapes.png"), QSize(640, 480)};
  shapes->pictures()->export_action()->trigger();
  EXPECT_EQ(QImage(answer->path).size(), QSize(640, 480));

  answer = PictureActions::Choice{QString::fromStdString(folder.path() + "/f.svg"), QSize(500, 300)};
  histograms->pictures()->export_action()->trigger();
  const std::string svg = read_file(folder.path() + "/f.svg");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("width=\"500.00\" height=\"300.00\""), std::string::npos) << svg.substr(0, 300);
  // Asked for in millimetres, the SVG is that size on paper.
  const PrintSize paper{120, 90, LengthUnit::kMillimetres, 300};
  answer = PictureActions::Choice{QString::fromStdString(folder.path() + "/f-print.svg"), print_pixels(paper),
                                  print_scale(paper), paper.dpi, paper};
  histograms->pictures()->export_action()->trigger();
  EXPECT_NE(read_file(folder.path() + "/f-print.svg").find("width=\"120.00mm\" height=\"90.00mm\""),
            std::string::npos);

  answer.reset();  // cancelled: nothing written
  shapes->pictures()->export_action()->trigger();

  QApplication::clipboard()->clear();
  histograms->pictures()->copy_action()->trigger();
  const QImage copied = QApplication::clipboard()->image();
  EXPECT_FALSE(copied.isNull());
  EXPECT_EQ(copied.size(), histograms->canvas()->size() * histograms->canvas()->devicePixelRatio());
}

TEST_F(Desktop, TestsByStrataRepeatTheBatchToolsFromTheRunsSeed) {
  Window w(settings_file());
  EXPECT_FALSE(w.shell->action(DesktopShell::kStrata)->isEnabled());
  w.load_example();
  // Before any analysis the tests run on the loaded study alone, with the
  // count in the permutations box.
  ASSERT_TRUE(w.shell->action(DesktopShell::kStrata)->isEnabled());
  w.ui.set(w.ui.find_by_tag("PermBox").at(0), "String", Value("20"));
  w.trigger(DesktopShell::kStrata);
  ASSERT_NE(w.shell->strata_view(), nullptr);
  const std::string alone = w.shell->strata_view()->text()->toPlainText().toStdString();
  EXPECT_TRUE(alone.starts_with("Tests by strata")) << alone;
  EXPECT_NE(alone.find("\nP: 20 relabellings"), std::string::npos) << alone;

  w.permute("30");
  w.trigger(DesktopShell::kStrata);
  ASSERT_NE(w.shell->strata_view(), nullptr);
  const std::string shown = w.shell->strata_view()->text()->toPlainText().toStdString();
  EXPECT_TRUE(shown.starts_with("Tests by strata")) << shown;

  QProcess batch;
  batch.start(QStringLiteral(LUMIVAR_BATCH),
              {"permute", "--strata", "--data", QString::fromStdString(example("landmarks.txt")),
               "--reps", QString::fromStdString(example("reps.txt")), "--groups",
               QString::fromStdString(example("groups.txt")), "--permutations", "30", "--seed",
               QString::number(w.app.last_analysis->permutation.plan.seed)});
  ASSERT_TRUE(batch.waitForFinished(60000));
  ASSERT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().toStdString();
  const std::string printed = batch.readAllStandardOutput().toStdString();
  const std::string seed = std::to_string(w.app.last_analysis->permutation.plan.seed);
  EXPECT_EQ(printed, w.box("ResBox") + "\n\n" + shown + "\n\nSeed: " + seed + " (--seed " + seed +
                         " repeats this run)\n");

  // Saved results carry the tests shown, as the batch tool's --strata does.
  QString answer = QString::fromStdString(folder.path() + "/with-strata.txt");
  w.shell->set_save_dialog([&answer](const QString&, QString*) { return answer; });
  w.trigger(DesktopShell::kSaveResults);
  // (The batch tool's last line, the seed to give it, is its own.)
  EXPECT_EQ(read_file(folder.path() + "/with-strata.txt"), printed.substr(0, printed.rfind("\n\nSeed: ")) + "\n");
  answer = QString::fromStdString(folder.path() + "/with-strata.json");
  w.trigger(DesktopShell::kSaveResults);
  const nlohmann::json j = nlohmann::json::parse(read_file(folder.path() + "/with-strata.json"));
  EXPECT_TRUE(j["strata"]["between"]["G1"]["p"].is_number());
  // The tidy table of the batch tool's JSON: the partition's 8 rows, then 4 and 5 by strata.
  ASSERT_EQ(j["table"].size(), 17u);
  EXPECT_EQ(j["table"][8]["p"], j["strata"]["between"]["G1"]["p"]);
  EXPECT_EQ(j["table"][0]["p_perm_f"], j["effects"][0]["p_perm_f"]);

  // A new analysis replaces the table: VarExp has no P values.
  w.trigger(DesktopShell::kVarExp);
  EXPECT_NE(w.shell->strata_view()->text()->toPlainText().toStdString(), shown);
}

TEST_F(Desktop, TestsByStrataOfAThreeDimensionalStudyAreTheBatchTools) {
  Window w(settings_file());
  w.app.landmark_dimensions = 3;
  w.app.permute_settings.seed = 5;
  w.files = {example("3d/landmarks.txt"), example("3d/reps.txt"), example("3d/groups.txt")};
  w.trigger(DesktopShell::kLoadLandmarks);
  w.trigger(DesktopShell::kLoadCodes);
  w.trigger(DesktopShell::kLoadGroups);
  w.ui.set(w.ui.find_by_tag("PermBox").at(0), "String", Value("0"));
  w.trigger(DesktopShell::kStrata);
  ASSERT_NE(w.shell->strata_view(), nullptr);
  const std::string shown = w.shell->strata_view()->text()->toPlainText().toStdString();
  ASSERT_TRUE(shown.starts_with("Tests by strata")) << shown;

  QProcess batch;
  batch.start(QStringLiteral(LUMIVAR_BATCH),
              {"strata", "--dimensions", "3", "--data", QString::fromStdString(example("3d/landmarks.txt")),
               "--reps", QString::fromStdString(example("3d/reps.txt")), "--groups",
               QString::fromStdString(example("3d/groups.txt")), "--permutations", "0", "--seed", "5", "--quiet"});
  ASSERT_TRUE(batch.waitForFinished(60000));
  ASSERT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().toStdString();
  const std::string printed = batch.readAllStandardOutput().toStdString();
  // The same superimposition in three dimensions, so the same table.
  EXPECT_EQ(shown, printed.substr(0, printed.find("\n\nSeed: "))) << printed;
}

// The example study without its first specimen: cells of 9, 10, 10 and 10.
std::vector<std::string> unequal_example(const testing::TempFolder& folder) {
  const auto lines = [](const std::string& path) {
    std::vector<std::string> out;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
      if (!line.empty()) out.push_back(line);
    return out;
  };
  const auto without = [](std::vector<std::string> rows, std::vector<std::size_t> drop) {
    std::string text;
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (std::find(drop.begin(), drop.end(), i) == drop.end()) text += rows[i] + "\n";
    return text;
  };
  return {folder.write("landmarks.txt", without(lines(example("landmarks.txt")), {0, 40})),
          folder.write("reps.txt", without(lines(example("reps.txt")), {0, 40})),
          folder.write("groups.txt", without(lines(example("groups.txt")), {0}))};
}

TEST_F(Desktop, TestsByStrataOnUnequalCellsTakeTheTypeChosenInTheirView) {
  const std::vector<std::string> files = unequal_example(folder);
  Window w(settings_file());
  w.app.permute_settings.seed = 5;
  w.files = {files[0], files[1], files[2]};
  w.trigger(DesktopShell::kLoadLandmarks);
  w.trigger(DesktopShell::kLoadCodes);
  w.trigger(DesktopShell::kLoadGroups);
  w.ui.set(w.ui.find_by_tag("PermBox").at(0), "String", Value("0"));
  w.trigger(DesktopShell::kStrata);
  StrataView* view = w.shell->strata_view();
  ASSERT_NE(view, nullptr);
  const auto batch_table = [&](const char* type) {
    QProcess batch;
    batch.start(QStringLiteral(LUMIVAR_BATCH),
                {"strata", "--data", QString::fromStdString(files[0]), "--reps", QString::fromStdString(files[1]),
                 "--groups", QString::fromStdString(files[2]), "--permutations", "0", "--seed", "5",
                 "--ss-type", type, "--quiet"});
    EXPECT_TRUE(batch.waitForFinished(60000));
    const std::string printed = batch.readAllStandardOutput().toStdString();
    return printed.substr(0, printed.find("\n\nSeed: "));
  };
  const std::string type3 = view->text()->toPlainText().toStdString();
  EXPECT_EQ(type3, batch_table("3"));
  // Picking type II runs the tests again with it.
  view->set_ss_type(models::SsType::kII);
  const std::string type2 = view->text()->toPlainText().toStdString();
  EXPECT_EQ(type2, batch_table("2"));
  EXPECT_NE(type2, type3);
  ASSERT_TRUE(view->results().has_value());
  EXPECT_EQ(view->results()->table.ss_type, models::SsType::kII);
}

TEST_F(Desktop, TestsByStrataShowTheirProgressAndACancelSaysSo) {
  Window w(settings_file());
  w.load_example();
  // More relabellings than the test waits for: only the cancel ends them.
  w.ui.set(w.ui.find_by_tag("PermBox").at(0), "String", Value("100000000"));
  testing::CancelAtOnce cancel;
  w.trigger(DesktopShell::kStrata);
  EXPECT_TRUE(cancel.stop());
  ASSERT_NE(w.shell->strata_view(), nullptr);
  const std::string shown = w.shell->strata_view()->text()->toPlainText().toStdString();
  EXPECT_TRUE(shown.starts_with("The tests by strata were cancelled after ")) << shown;
  EXPECT_FALSE(w.shell->strata_view()->results().has_value());
}

TEST(WindowPlacement, TheWholeFrameFitsALaptopScreen) {
  // A 1366 x 768 screen with a panel: the layout's first place, 782 pixels
  // tall inside a 30-pixel title bar, would put the title bar off the top.
  const QRect available(0, 0, 1366, 740);
  const QMargins frame(1, 30, 1, 1);
  const QRect fitted = fit_on_screen(QRect(120, -10, 1000, 782), frame, available);
  EXPECT_TRUE(available.contains(fitted.marginsAdded(frame))) << fitted.y() << " " << fitted.height();
  EXPECT_EQ(fitted.width(), 1000);
  EXPECT_EQ(fitted.y(), 30);
  // A place remembered from a larger screen, off to the right.
  const QRect moved = fit_on_screen(QRect(1800, 100, 900, 600), frame, available);
  EXPECT_EQ(moved.right() + frame.right(), available.right());
  EXPECT_EQ(moved.size(), QSize(900, 600));
}

TEST_F(Desktop, TheMainWindowTilesHalfALaptopScreen) {
  Window w(settings_file());
  EXPECT_LE(w.main()->minimumWidth(), 1366 / 2);
}

TEST_F(Desktop, HelpShowsTheColumnsPageBesideTheProgram) {
  QFile page(QString::fromStdString(folder.path() + "/columns.md"));
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.write("# What the columns mean\n\n**SS**: the sum of squared distances.\n");
  page.close();
  QDialog* shown = show_page(QString::fromStdString(folder.path()), "columns.md", "What the columns mean", nullptr);
  auto* browser = shown->findChild<QTextBrowser*>();
  ASSERT_NE(browser, nullptr);
  EXPECT_TRUE(browser->toPlainText().contains("the sum of squared distances"));
  delete shown;
  EXPECT_TRUE(read_first({QString::fromStdString(folder.path() + "/none.md")}).isEmpty());
  // The manual is compiled in: found with no copy beside the program.
  EXPECT_TRUE(read_first(page_candidates(QString::fromStdString(folder.path()), "manual.md"))
                  .contains("lumivar-batch"));
  EXPECT_TRUE(about_text().contains(QString::fromLatin1(qVersion())));
}

}  // namespace
}  // namespace lumivar::gui
