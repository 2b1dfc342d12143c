// File > Import study… driven as a user drives it: the example study kept as
// a table with a header and a specimen sheet, reviewed, loaded, analysed and
// saved back as plain files. Settings live in a temporary file (and Qt's test
// mode is on); every file is written into a temporary folder.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "gui/analysis_views.h"
#include "gui/desktop_shell.h"
#include "gui/import_study_dialog.h"
#include "gui/scene_widget.h"
#include "gui/shape_view.h"
#include "gui/strata_view.h"
#include "plots/scene.h"
#include "runtime/error.h"
#include "support/desktop_window.h"
#include "support/example_study_files.h"
#include "support/temp_files.h"
#include "support/headless_texts.h"
#include "support/progress_dialogs.h"

namespace lumivar::gui {
namespace {

namespace fs = std::filesystem;

using testing::example;

using testing::read_file;

std::vector<std::vector<double>> numbers(const std::string& path);

std::vector<std::vector<std::string>> words(const std::string& path) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(read_file(path));
  for (std::string line; std::getline(in, line);) {
    std::istringstream ws(line);
    std::vector<std::string> row;
    for (std::string w; ws >> w;) row.push_back(w);
    if (!row.empty()) lines.push_back(row);
  }
  return lines;
}

std::vector<std::vector<double>> numbers(const std::string& path) {
  std::vector<std::vector<double>> out;
  for (const auto& row : words(path)) {
    out.emplace_back();
    for (const std::string& w : row) out.back().push_back(std::stod(w));
  }
  return out;
}

// The example study as a researcher keeps it: landmarks in a CSV with a
// header (one image per line, in an order of their own), and a sheet naming
// each image's specimen, session and groups, as words.
struct ExampleAsTable {
  std::string landmarks, sheet;
};

ExampleAsTable write_example_as_table(testing::TempFolder& folder, bool drop_last_image) {
  const auto rows = words(example("landmarks.txt"));
  const auto reps = words(example("reps.txt"));
  const auto groups = words(example("groups.txt"));
  const std::size_t n = rows.size() / 2;
  const std::size_t k = (rows.front().size() - 1) / 2;
  std::string csv = "id";
  for (std::size_t j = 1; j <= k; ++j) csv += ",x" + std::to_string(j) + ",y" + std::to_string(j);
  csv += "\n";
  std::string sheet = "id,specimen,measurement,G1,G2\n";
  // The images in an order of their own (second sessions first, each half
  // backwards); the sheet in specimen order, each specimen's later session
  // first. The importer puts them in the order the analyses rely on.
  for (std::size_t r = rows.size(); r-- > 0;) {
    if (drop_last_image && r == 0) continue;
    csv += "img" + std::to_string(r + 1);
    for (std::size_t j = 0; j + 1 < rows[r].size(); ++j) csv += "," + rows[r][j];
    csv += "\n";
  }
  for (std::size_t specimen = 0; specimen < n; ++specimen) {
    for (const std::size_t r : {specimen + n, specimen})
      sheet += "img" + std::to_string(r + 1) + ",rat" + std::to_string(specimen + 1) + "," + reps[r][0] + "," +
               groups[specimen][0] + "," + groups[specimen][1] + "\n";
  }
  return {folder.write("study.csv", csv), folder.write("sheet.csv", sheet)};
}

struct Window : testing::DesktopWindow {
  explicit Window(const QString& settings_file) : DesktopWindow(settings_file) {
    StudyImporter* importer = shell->importer();
    importer->set_open_chooser([this](const QString&, const QString&, const QString& start) {
      asked_in.push_back(start.toStdString());
      if (files.empty()) return QString();
      const QString f = QString::fromStdString(files.front());
      files.pop_front();
      return f;
    });
    importer->set_review([this](ImportStudyDialog& d) {
      review = d.text().toStdString();
      load_enabled = d.load_button()->isEnabled();
      return load_answer;
    });
    importer->set_question([this](const QString&, const QString& text) {
      questions.push_back(text.toStdString());
      const bool yes = answers.empty() ? false : answers.front();
      if (!answers.empty()) answers.pop_front();
      return yes;
    });
    importer->set_folder_chooser([this](const QString&) { return QString::fromStdString(save_into); });
    importer->set_notice([this](const QString& t) { notices.push_back(t.toStdString()); });
    ui.flush();
  }

  std::deque<std::string> files;
  std::vector<std::string> asked_in;  // the folder each file dialog starts in
  std::string review;
  bool load_enabled = false;
  bool load_answer = true;
  std::deque<bool> answers;
  std::vector<std::string> questions, notices;
  std::string save_into;
};

class ImportStudy : public testing::DesktopTest {
 protected:
  // What the boxes say after loading the example's three plain files, under
  // the names the import gives them (the landmark file; the sheet twice).
  std::map<std::string, std::string> plain_reference(const std::vector<std::string>& words_sent) {
    const std::string ref = folder.path() + "/ref";
    fs::create_directories(ref + "/reps");
    fs::create_directories(ref + "/groups");
    fs::copy_file(example("landmarks.txt"), ref + "/study.csv");
    fs::copy_file(example("reps.txt"), ref + "/reps/sheet.csv");
    fs::copy_file(example("groups.txt"), ref + "/groups/sheet.csv");
    // The same names as the import's files, as the status boxes show them.
    return testing::headless_texts({ref + "/study.csv", ref + "/reps/sheet.csv", ref + "/groups/sheet.csv"},
                                   words_sent);
  }
};

TEST_F(ImportStudy, ATableAndASheetLoadAsTheirPlainFilesAndSaveBackToThem) {
  const ExampleAsTable files = write_example_as_table(folder, false);
  Window w(settings_file());
  w.files = {files.landmarks, files.sheet};
  w.answers = {true};  // save the plain files
  w.save_into = folder.path() + "/plain";
  fs::create_directories(w.save_into);
  w.trigger(DesktopShell::kImportStudy);

  EXPECT_TRUE(w.load_enabled);
  EXPECT_NE(w.review.find("40 specimens at 2 measurements (1, 2), 12 landmarks: 80 rows."), std::string::npos)
      << w.review;
  EXPECT_NE(w.review.find("G1: 1 (20 specimens), 2 (20 specimens)"), std::string::npos) << w.review;
  EXPECT_NE(w.review.find("Sheet: " + files.sheet), std::string::npos) << w.review;

  w.trigger(DesktopShell::kVarExp);
  const auto expected = plain_reference({"Load", "LoadRepGroup", "LoadGroup", "VarExp"});
  for (const std::string tag : {"FileBox", "RepBox", "GroupBox", "ResBox"})
    EXPECT_EQ(w.box(tag), expected.at(tag)) << tag;
  EXPECT_EQ(w.shell->study_label()->text().toStdString(),
            "study.csv: 40 specimens x 2, 12 landmarks; sheet.csv; sheet.csv: 2 x 2");

  // The saved files are the example's own numbers, and load back to the same report.
  ASSERT_EQ(w.notices.size(), 1u);
  for (const char* name : {"landmarks.txt", "reps.txt", "groups.txt"})
    EXPECT_EQ(numbers(w.save_into + "/" + name), numbers(example(name))) << name;
  EXPECT_NE(read_file(w.save_into + "/codes.txt").find("rat40"), std::string::npos);
  const auto saved = testing::headless_texts(
      {w.save_into + "/landmarks.txt", w.save_into + "/reps.txt", w.save_into + "/groups.txt"},
      {"Load", "LoadRepGroup", "LoadGroup", "VarExp"});
  EXPECT_EQ(saved.at("ResBox"), expected.at("ResBox"));

  // A second save into the same folder asks first; no keeps the files.
  const std::string marker = "kept\n";
  { std::ofstream(w.save_into + "/reps.txt", std::ios::binary) << marker; }
  w.files = {files.landmarks, files.sheet};
  w.answers = {true, false};  // save: yes; replace: no
  w.questions.clear();
  w.trigger(DesktopShell::kImportStudy);
  ASSERT_EQ(w.questions.size(), 2u);
  EXPECT_NE(w.questions[1].find("landmarks.txt, reps.txt, groups.txt, codes.txt"), std::string::npos)
      << w.questions[1];
  EXPECT_EQ(read_file(w.save_into + "/reps.txt"), marker);
  EXPECT_EQ(w.notices.size(), 1u);
}

TEST_F(ImportStudy, ARefusedImportShowsWhyAndLoadsNothing) {
  const ExampleAsTable files = write_example_as_table(folder, true);  // img1 is in the sheet only
  Window w(settings_file());
  const std::string before = w.box("FileBox");
  w.files = {files.landmarks, files.sheet};
  w.trigger(DesktopShell::kImportStudy);
  EXPECT_FALSE(w.load_enabled);
  EXPECT_NE(w.review.find("Refused, nothing will be loaded:"), std::string::npos) << w.review;
  EXPECT_NE(w.review.find("img1"), std::string::npos) << w.review;
  EXPECT_EQ(w.box("FileBox"), before);
  EXPECT_TRUE(w.app.session.sources.data.path.empty());
  EXPECT_TRUE(w.questions.empty());  // nothing built, nothing to save

  // Cancelling the sheet's dialog asks nothing more.
  w.review.clear();
  w.files = {files.landmarks};
  w.trigger(DesktopShell::kImportStudy);
  EXPECT_TRUE(w.review.empty());
}

TEST_F(ImportStudy, TheColumnMappingRebuildsTheSummary) {
  const ExampleAsTable files = write_example_as_table(folder, false);
  std::string sheet = read_file(files.sheet);
  sheet.replace(0, sheet.find('\n'), "Image,Ind,Session,G1,G2");
  const std::string renamed = folder.write("renamed.csv", sheet);
  study::StudySources sources{files.landmarks, renamed, "", false};
  ImportStudyDialog d(sources, nullptr);
  EXPECT_FALSE(d.load_button()->isEnabled());
  d.columns_edit()->setText("id=Image,specimen=Ind,measurement=Session");
  d.rebuild();
  EXPECT_TRUE(d.load_button()->isEnabled()) << d.text().toStdString();
  EXPECT_NE(d.text().indexOf("40 specimens at 2 measurements"), -1);
}

TEST_F(ImportStudy, ACancelledRebuildDisablesLoadUntilTheMappingIsConfirmedAgain) {
  const ExampleAsTable files = write_example_as_table(folder, false);
  int builds = 0;
  ImportStudyDialog d({files.landmarks, files.sheet, "", false}, nullptr, [&](const study::StudySources& s) {
    if (++builds == 2) runtime::raise_cancelled("Loading study.csv was cancelled.");
    return try_import(s);
  });
  ASSERT_TRUE(d.load_button()->isEnabled());
  d.columns_edit()->setText("G2=G2");
  Q_EMIT d.columns_edit()->editingFinished();
  EXPECT_FALSE(d.load_button()->isEnabled());
  EXPECT_NE(d.text().indexOf("Loading study.csv was cancelled."), -1) << d.text().toStdString();
  Q_EMIT d.columns_edit()->editingFinished();  // the same mapping, confirmed again
  EXPECT_EQ(builds, 3);
  EXPECT_TRUE(d.load_button()->isEnabled()) << d.text().toStdString();
}

TEST_F(ImportStudy, CancelWhileTheLandmarkFileIsReadLeavesTheLoadedStudy) {
  const ExampleAsTable files = write_example_as_table(folder, false);
  Window w(settings_file());
  w.files = {files.landmarks, files.sheet};
  w.trigger(DesktopShell::kImportStudy);
  const runtime::Session before = w.app.session;
  const std::string file_box = w.box("FileBox");
  ASSERT_EQ(before.data.rows(), 80u);

  // A digitiser's TPS of about 3 MB; every file shows its progress here,
  // and Cancel is clicked as soon as the dialog exists.
  std::string tps;
  for (int i = 0; tps.size() < (std::size_t{3} << 20); ++i)
    tps += "LM=2\n1.5 2\n3 4.25\nID=s" + std::to_string(i) + "\n";
  w.app.load_progress_bytes = 1;
  testing::CancelAtOnce cancel;
  w.review.clear();
  w.files = {folder.write("big.tps", tps), files.sheet};
  w.trigger(DesktopShell::kImportStudy);
  ASSERT_TRUE(cancel.stop());

  QMessageBox* told = testing::cancelled_box();
  ASSERT_NE(told, nullptr);
  EXPECT_EQ(told->text().toStdString().rfind("Loading big.tps was cancelled after ", 0), 0u)
      << told->text().toStdString();
  told->close();
  EXPECT_TRUE(w.review.empty());  // no summary: nothing was built
  EXPECT_EQ(w.app.session.data, before.data);
  EXPECT_EQ(w.app.session.sources.data.path, before.sources.data.path);
  EXPECT_EQ(w.box("FileBox"), file_box);
}

// An imported study reopened from File > Open recent in a later session is
// imported again, with its sheet and column mapping: the same boxes as the
// import gave, no refusal, and the entry names the folder it lives in.
TEST_F(ImportStudy, OpenRecentImportsTheStudyAgainWithItsMapping) {
  const ExampleAsTable files = write_example_as_table(folder, false);
  std::string sheet = read_file(files.sheet);
  sheet.replace(0, sheet.find('\n'), "Image,Ind,Session,G1,G2");
  const std::string renamed = folder.write("renamed.csv", sheet);
  const std::string mapping = "id=Image,specimen=Ind,measurement=Session";
  std::map<std::string, std::string> imported;
  {
    Window w(settings_file());
    w.files = {files.landmarks, renamed};
    w.shell->importer()->set_review([&](ImportStudyDialog& d) {
      d.columns_edit()->setText(QString::fromStdString(mapping));
      d.rebuild();
      return d.outcome().study.has_value();
    });
    w.trigger(DesktopShell::kImportStudy);
    // The sheet's dialog opens where the landmark file is.
    ASSERT_EQ(w.asked_in.size(), 2u);
    EXPECT_EQ(fs::path(w.asked_in[1]), fs::path(folder.path()));
    w.trigger(DesktopShell::kVarExp);
    for (const std::string tag : {"FileBox", "RepBox", "GroupBox", "ResBox"}) imported[tag] = w.box(tag);
  }
  Window w(settings_file());
  ASSERT_EQ(w.shell->recent_menu()->actions().size(), 1);
  QAction* entry = w.shell->recent_menu()->actions().front();
  EXPECT_EQ(entry->text(), QStringLiteral("study.csv with renamed.csv (import) \u2014 ") +
                               QDir::toNativeSeparators(QString::fromStdString(folder.path())));
  // The next import offers the mapping used last.
  w.files = {files.landmarks, renamed};
  w.load_answer = false;
  w.trigger(DesktopShell::kImportStudy);
  EXPECT_TRUE(w.load_enabled) << w.review;

  const std::size_t widgets_before = QApplication::topLevelWidgets().size();
  entry->trigger();
  QCoreApplication::processEvents();
  EXPECT_EQ(QApplication::topLevelWidgets().size(), widgets_before);  // no box
  EXPECT_EQ(w.app.session.sources.data.path, files.landmarks);
  EXPECT_EQ(w.app.session.sources.reps.path, renamed);
  EXPECT_EQ(w.app.session.sources.groups.path, renamed);
  for (const std::string tag : {"FileBox", "RepBox", "GroupBox"}) EXPECT_EQ(w.box(tag), imported.at(tag)) << tag;
  w.trigger(DesktopShell::kVarExp);
  EXPECT_EQ(w.box("ResBox"), imported.at("ResBox"));
}

// Return after typing a new mapping shows the summary it gives; only the
// next Return loads.
TEST_F(ImportStudy, ReturnAfterANewMappingShowsItsSummaryFirst) {
  const ExampleAsTable files = write_example_as_table(folder, false);
  std::string sheet = read_file(files.sheet);
  sheet.replace(0, sheet.find('\n'), "Image,Ind,Session,G1,G2");
  const std::string renamed = folder.write("renamed.csv", sheet);
  ImportStudyDialog d({files.landmarks, renamed, "", false}, nullptr);
  d.show();
  d.columns_edit()->setFocus();
  QTest::keyClicks(d.columns_edit(), "id=Image,specimen=Ind,measurement=Session");
  QTest::keyClick(d.columns_edit(), Qt::Key_Return);
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(d.result(), QDialog::Rejected);
  EXPECT_NE(d.text().indexOf("40 specimens at 2 measurements"), -1) << d.text().toStdString();
  QCoreApplication::processEvents();
  QTest::keyClick(d.columns_edit(), Qt::Key_Return);
  EXPECT_EQ(d.result(), QDialog::Accepted);
}

// After an import, the shape picture's legend names the sheet's own words
// for the codes, and each row knows its specimen's id.
TEST_F(ImportStudy, ThePicturesSpeakTheSheetsWords) {
  const ExampleAsTable files = write_example_as_table(folder, false);
  std::string sheet = read_file(files.sheet);
  // G1 written as words: 1 is "female", 2 is "male" (in order of first appearance).
  std::string worded;
  std::istringstream in(sheet);
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> cells;
    std::stringstream ls(line);
    for (std::string c; std::getline(ls, c, ',');) cells.push_back(c);
    if (cells.size() == 5 && cells[3] != "G1") cells[3] = cells[3] == "1" ? "female" : "male";
    for (std::size_t i = 0; i < cells.size(); ++i) worded += (i ? "," : "") + cells[i];
    worded += "\n";
  }
  const std::string words_sheet = folder.write("words.csv", worded);
  Window w(settings_file());
  w.files = {files.landmarks, words_sheet};
  w.trigger(DesktopShell::kImportStudy);
  ASSERT_TRUE(w.load_enabled) << w.review;
  w.trigger(DesktopShell::kVarExp);
  ShapeView* view = w.views->open_shapes();
  view->set_grouping(ShapeView::kG1);
  const plots::Scene* scene = view->canvas()->scene();
  ASSERT_NE(scene, nullptr);
  std::vector<std::string> legend;
  for (const plots::LegendEntry& e : scene->legend) legend.push_back(e.text);
  EXPECT_NE(std::find(legend.begin(), legend.end(), "G1 = female"), legend.end());
  EXPECT_NE(std::find(legend.begin(), legend.end(), "G1 = male"), legend.end());
  // Row 41 is specimen 1 at its second measurement.
  const std::shared_ptr<const shape_space::StudyLabels>& names = view->analysis()->sheet_labels;
  ASSERT_TRUE(names);
  EXPECT_EQ(names->specimens[40], "rat1");
  EXPECT_EQ(names->specimens[0], "rat1");
}

TEST_F(ImportStudy, TheTestsByStrataNameTheSpecimensMeasuredOnceByTheirSheetIds) {
  const ExampleAsTable files = write_example_as_table(folder, true);  // img1 is not in the table
  std::string sheet = read_file(files.sheet);
  const std::size_t img1 = sheet.find("\nimg1,");
  ASSERT_NE(img1, std::string::npos);
  sheet.erase(img1 + 1, sheet.find('\n', img1 + 1) - img1);  // nor in the sheet: rat1 is measured once
  const std::string once = folder.write("once.csv", sheet);
  Window w(settings_file());
  w.files = {files.landmarks, once};
  w.trigger(DesktopShell::kImportStudy);
  ASSERT_TRUE(w.load_enabled) << w.review;
  w.ui.set(w.ui.find_by_tag("PermBox").at(0), "String", runtime::Value("0"));
  w.trigger(DesktopShell::kStrata);
  ASSERT_NE(w.shell->strata_view(), nullptr);
  const std::string shown = w.shell->strata_view()->text()->toPlainText().toStdString();
  EXPECT_NE(shown.find("1 specimen measured once left out of the tests by strata (specimen rat1)"),
            std::string::npos)
      << shown;
}

}  // namespace
}  // namespace lumivar::gui
