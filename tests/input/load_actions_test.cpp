#include "input/load_actions.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "input/load_test_support.h"
#include "runtime/error.h"
#include "runtime/sha256.h"
#include "support/error_message.h"
#include "support/temp_files.h"

namespace lumivar::input {
namespace {

using runtime::Matrix;
using runtime::Session;
using runtime::headless::HeadlessRuntime;
using namespace lumivar::testing;

class LoadActions : public LoadFixture {};

TEST_F(LoadActions, LoadReportsNameSpecimensAndLandmarks) {
  EXPECT_EQ(load_file("wing.txt", number_lines(30, 31)), LoadOutcome::kLoaded);
  EXPECT_EQ(box(ui, "FileBox"), "File: wing.txt \n  30 Specimens \n  15 Landmarks");
  EXPECT_EQ(s.data.rows(), 30u);
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(t.path()));

  load_file("small.txt", number_lines(12, 21));
  EXPECT_EQ(box(ui, "FileBox"), "File: small.txt \n  12 Specimens \n  10 Landmarks");
  load_file("big.txt", number_lines(1000, 5));
  EXPECT_EQ(box(ui, "FileBox"), "File: big.txt \n 1000 Specimens \n   2 Landmarks");
  EXPECT_TRUE(ui.message_boxes.empty());
}

TEST_F(LoadActions, LoadThatGetsNoDataChangesNothing) {
  load_file("good.txt", number_lines(4, 5));
  const Matrix before = s.data;

  ui.queue_cancel();
  EXPECT_EQ(load(ui, s), LoadOutcome::kCancelled);
  EXPECT_TRUE(ui.message_boxes.empty());

  const std::string missing = t.path() + "/missing.txt";
  ui.queue_file(missing);
  EXPECT_EQ(load(ui, s), LoadOutcome::kNothingLoaded);
  ASSERT_EQ(ui.message_boxes.size(), 1u);
  EXPECT_NE(ui.message_boxes[0].text.find(missing), std::string::npos);

  EXPECT_EQ(load_file("empty.txt", ""), LoadOutcome::kNothingLoaded);
  EXPECT_NE(ui.message_boxes.back().text.find("holds no numbers"), std::string::npos);

  std::filesystem::current_path("/");
  EXPECT_THROW(load_file("bad.txt", "1 2 3\n1 2\n"), runtime::Error);
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path("/"));  // not changed on a read error

  EXPECT_EQ(s.data, before);
  EXPECT_EQ(box(ui, "FileBox"), "File: good.txt \n   4 Specimens \n   2 Landmarks");
}

TEST_F(LoadActions, FilesThatCannotBeLandmarkDataAreRefusedAndTheDataLoadedBeforeStays) {
  const std::string good = number_lines(40, 5);
  load_file("good.txt", good);
  const Matrix before = s.data;
  const std::string status = box(ui, "FileBox");
  const auto refusal = [&](const char* name, const std::string& text) {
    return testing::error_message([&] { load_file(name, text); });
  };
  // The group file chosen by mistake: two codes per line.
  EXPECT_EQ(refusal("groups.txt", "1 1\n1 2\n2 1\n2 2\n"),
            "The file groups.txt has 2 columns, so it cannot be landmark data: each row should hold "
            "the x and y of every landmark (at least two) followed by one trailing value, an odd "
            "number of at least 5 columns. Nothing was loaded.");
  EXPECT_EQ(refusal("reps.txt", "1\n2\n").substr(0, 34), "The file reps.txt has 1 column, so");
  EXPECT_NE(refusal("even.txt", number_lines(3, 6)).find("has 6 columns"), std::string::npos);
  EXPECT_NE(refusal("one.txt", number_lines(3, 3)).find("has 3 columns"), std::string::npos);
  EXPECT_EQ(s.data, before);
  EXPECT_EQ(box(ui, "FileBox"), status);
  EXPECT_EQ(s.sources.data.path, t.path() + "/good.txt");
  EXPECT_EQ(s.sources.data.sha256, runtime::sha256_hex(good));
  EXPECT_TRUE(ui.message_boxes.empty());
}

TEST_F(LoadActions, FilesSavedWithCarriageReturnsOnlyReadLineByLine) {
  // Codes exported by an old spreadsheet program: one code per line, each
  // line ended by a carriage return alone.
  load_file("wing.txt", number_lines(4, 5));
  load_codes("reps.txt", "1\r1\r2\r2\r");
  EXPECT_EQ(s.repgroup, Matrix::column({1, 1, 2, 2}));
  EXPECT_EQ(s.nrep, Matrix::scalar(2));
  EXPECT_TRUE(ui.message_boxes.empty());

  std::string cr = number_lines(4, 7);
  std::replace(cr.begin(), cr.end(), '\n', '\r');
  load_file("lf.txt", number_lines(4, 7));
  const Matrix from_lf = s.data;
  load_file("cr.txt", cr);
  EXPECT_EQ(s.data, from_lf);
  load_groups("groups.txt", "1 1\r\r\n2 2\r\r\n");  // CR CR LF: one line end
  EXPECT_EQ(s.group, Matrix::rows_of({{1, 1}, {2, 2}}));
}

TEST_F(LoadActions, DecimalCommasAreRefusedNamingTheFileAndTheLine) {
  load_file("good.txt", number_lines(4, 5));
  const Matrix before = s.data;
  // Written under a German locale: 12,5 means twelve and a half.
  const std::string path = t.write("comma.txt", "10.5 3.25 4 5 1\n12,5 3,25 4,0 5,5 1\n");
  ui.queue_file(path);
  EXPECT_ERROR_MSG(load(ui, s),
                   "File " + path + ", line 2: the values are separated by blanks or tabs, and "
                   "\"12,5\" has a comma between two digits: the file seems to use decimal "
                   "commas. Write the numbers with decimal points.");
  EXPECT_EQ(s.data, before);
  // Commas as the only separators stay a plain comma-separated file.
  load_file("csv.txt", "1,2,3,4,5\n6, 7, 8, 9, 10\n");
  EXPECT_EQ(s.data.rows(), 2u);
}

TEST_F(LoadActions, OnlyRegularFilesAreLoadedAndNothingWaitsForThem) {
  load_file("good.txt", number_lines(4, 5));
  const Matrix before = s.data;
  const std::string fifo = t.path() + "/pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string folder = t.path() + "/sub";
  std::filesystem::create_directory(folder);
  for (const std::string& path : {fifo, std::string("/dev/zero"), folder}) {
    ui.queue_file(path);
    EXPECT_EQ(load(ui, s), LoadOutcome::kNothingLoaded) << path;
  }
  ASSERT_EQ(ui.message_boxes.size(), 3u);
  EXPECT_EQ(ui.message_boxes[0].title, "Nothing loaded");
  EXPECT_EQ(ui.message_boxes[0].text, "Cannot load " + fifo +
                                          ": it is a named pipe (FIFO), not a regular file. Only "
                                          "regular files are read. Nothing was loaded.");
  EXPECT_NE(ui.message_boxes[1].text.find("/dev/zero: it is a device"), std::string::npos);
  EXPECT_NE(ui.message_boxes[2].text.find("it is a folder"), std::string::npos);
  EXPECT_EQ(s.data, before);
  EXPECT_EQ(box(ui, "FileBox"), "File: good.txt \n   4 Specimens \n   2 Landmarks");
}

TEST_F(LoadActions, EachLoadRecordsThePathAndDigestOfTheBytesItRead) {
  const std::string landmarks = number_lines(4, 5) + "\nnotes below the data are read too\n";
  const std::string reps = "1\n1\n2\n2\n";
  const std::string groups = "1 1\n2 2\n";
  load_file("wing.txt", landmarks);
  load_codes("reps.txt", reps);
  load_groups("groups.txt", groups);
  EXPECT_EQ(s.sources.data.path, t.path() + "/wing.txt");
  EXPECT_EQ(s.sources.data.sha256, runtime::sha256_hex(landmarks));
  EXPECT_EQ(s.sources.reps.path, t.path() + "/reps.txt");
  EXPECT_EQ(s.sources.reps.sha256, runtime::sha256_hex(reps));
  EXPECT_EQ(s.sources.groups.sha256, runtime::sha256_hex(groups));

  // A file that fails to read records nothing.
  EXPECT_THROW(load_file("bad.txt", "1 2 3 4 5\n1 2\n"), runtime::Error);
  EXPECT_EQ(s.sources.data.sha256, runtime::sha256_hex(landmarks));
}

TEST_F(LoadActions, EchoedFileTextCarriesNoControlBytes) {
  // A terminal escape sequence that found its way into a data file.
  const std::string text =
      testing::error_message([&] { load_file("esc.txt", "1 2 3 4 5\n1 2 \x1b[2J\x07 4 5\n"); });
  EXPECT_NE(text.find(", line 2: \"\\x1B[2J\\x07\" is not a number."), std::string::npos) << text;
  EXPECT_EQ(text.find('\x1b'), std::string::npos);
}

TEST_F(LoadActions, RepeatedMeasureCodesAreCountedAndCheckedForBalance) {
  load_file("wing.txt", number_lines(30, 5));
  std::string codes;
  for (int i = 0; i < 30; ++i) codes += std::to_string(3 - i % 3) + "\n";
  load_codes("reps.txt", codes);
  EXPECT_EQ(box(ui, "RepBox"),
            "File: reps.txt \n of the repeated measures group codes loaded\nThere are 3 group codes \n "
            "which means 10.000000 specimens per group");
  EXPECT_TRUE(ui.message_boxes.empty());
  EXPECT_EQ(s.repgroupcode, Matrix::row({1, 2, 3}));
  EXPECT_EQ(s.nrep, Matrix::scalar(3));

  // Code 2 nine times, code 3 eleven times: one box for each, in code order.
  codes.clear();
  for (int i = 0; i < 10; ++i) codes += "1\n";
  for (int i = 0; i < 9; ++i) codes += "2\n";
  for (int i = 0; i < 11; ++i) codes += "3\n";
  load_codes("unbalanced.txt", codes);
  ASSERT_EQ(ui.message_boxes.size(), 2u);
  EXPECT_EQ(ui.message_boxes[0].title, "Dang:Error");
  EXPECT_EQ(ui.message_boxes[0].text, "In your repeated measure group code 2.000000, there are 9 specimens, there should be 10");
  EXPECT_EQ(ui.message_boxes[1].text, "In your repeated measure group code 3.000000, there are 11 specimens, there should be 10");

  // Fewer distinct codes than before: the counts shrink with them.
  load_codes("one.txt", "1\n1\n");
  EXPECT_EQ(s.nfound, Matrix::scalar(1));
  EXPECT_EQ(s.nrep, Matrix::scalar(1));
  EXPECT_EQ(ui.message_boxes.back().text,
            "In your repeated measure group code 1.000000, there are 2 specimens, there should be 30");
}

TEST_F(LoadActions, CodesBeforeAnyLandmarksAreAllReportedAndStillStored) {
  load_codes("reps.txt", "1\n2\n1\n2\n");
  ASSERT_EQ(ui.message_boxes.size(), 2u);
  EXPECT_EQ(ui.message_boxes[0].text, "In your repeated measure group code 1.000000, there are 2 specimens, there should be 0");
  EXPECT_EQ(s.repgroup.rows(), 4u);
  EXPECT_EQ(box(ui, "RepBox"),
            "File: reps.txt \n of the repeated measures group codes loaded\nThere are 2 group codes \n "
            "which means 0.000000 specimens per group");
}

TEST_F(LoadActions, GroupCodesReportFiveLinesAndResetTheDistances) {
  load_file("wing.txt", number_lines(8, 5));
  s.dmatrix = Matrix(8, 8, 1.0);
  // Before any repeated-measures codes, the second piece stops before its %f.
  load_groups("groups.txt", "1 5\n1 6\n2 5\n2 6\n");
  EXPECT_EQ(box(ui, "GroupBox"),
            "File: groups.txt \n of the group codes loaded\nThere are 4 group codes \n which should "
            "match the specimens per time\nColumn 1 had 2 distinct codes, column 2 had 2 distinct codes");
  EXPECT_EQ(s.dmatrix, Matrix::scalar(0));

  load_codes("reps.txt", "1\n1\n1\n1\n2\n2\n2\n2\n");
  load_groups("groups.txt", "1 5\n1 6\n2 5\n2 6\n");
  EXPECT_EQ(box(ui, "GroupBox"),
            "File: groups.txt \n of the group codes loaded\nThere are 4 group codes \n which should "
            "match the specimens per time 4.000000\nColumn 1 had 2 distinct codes, column 2 had 2 "
            "distinct codes");
  EXPECT_TRUE(ui.message_boxes.empty());
  // Loading new landmarks keeps every code value.
  load_file("wing2.txt", number_lines(8, 7));
  EXPECT_EQ(s.n1g, Matrix::scalar(2));
  EXPECT_EQ(s.nrep, Matrix::scalar(2));
  EXPECT_EQ(s.group.rows(), 4u);
}

TEST_F(LoadActions, ManyCodesAreCountedQuicklyAndWarnedAboutInAFewBoxes) {
  // 300,000 distinct codes in each column: an afternoon when every code is
  // compared with every other, a moment when sorted.
  std::string many;
  for (int i = 0; i < 300000; ++i) many += std::to_string(i) + " " + std::to_string(-i) + "\n";
  load_groups("many.txt", many);
  EXPECT_EQ(s.n1g, Matrix::scalar(300000));
  EXPECT_EQ(s.n2g, Matrix::scalar(300000));
  EXPECT_TRUE(ui.message_boxes.empty());

  // 5,000 codes, the first twice and the others once: 4,999 mismatches in
  // each column, shown as 20 boxes and one that counts the rest.
  std::string odd = "7 7\n";
  for (int i = 1; i <= 5000; ++i) odd += std::to_string(6 + i) + " " + std::to_string(6 + i) + "\n";
  load_groups("odd.txt", odd);
  ASSERT_EQ(ui.message_boxes.size(), 42u);
  EXPECT_EQ(ui.message_boxes[0].text, "Mismatch in counts between groups 7 and 8");
  EXPECT_EQ(ui.message_boxes[19].text, "Mismatch in counts between groups 7 and 27");
  EXPECT_EQ(ui.message_boxes[20].text, "4979 more codes mismatch the count of group 7");
  EXPECT_EQ(ui.message_boxes[20].title, "Error in a group code");
  EXPECT_EQ(ui.message_boxes[21].text, "Mismatch in counts between groups 7 and 8");  // column 2
  EXPECT_EQ(ui.message_boxes[41].text, "4979 more codes mismatch the count of group 7");
  EXPECT_EQ(s.n1g, Matrix::scalar(5000));

  // The balance boxes of the repeated-measures codes likewise: 25 codes on
  // 30 rows, none of them on the 1.2 rows a balanced design would give.
  ui.message_boxes.clear();
  load_file("wing.txt", number_lines(30, 5));
  std::string reps;
  for (int i = 1; i <= 30; ++i) reps += std::to_string(i <= 25 ? i : 1) + "\n";
  load_codes("reps.txt", reps);
  ASSERT_EQ(ui.message_boxes.size(), 21u);
  EXPECT_EQ(ui.message_boxes[19].text,
            "In your repeated measure group code 20.000000, there are 1 specimens, there should be 1.200000");
  EXPECT_EQ(ui.message_boxes[20].text, "5 more repeated measure group codes have a count other than 1.200000");
  EXPECT_EQ(ui.message_boxes[20].title, "Dang:Error");
  EXPECT_EQ(s.nrep, Matrix::scalar(25));
}

// A one-column group file is refused before anything is stored: the codes
// loaded before, their counts, their file and the box naming it stay as they
// were, so the box never names a file other than the one whose codes are held.
TEST_F(LoadActions, AOneColumnGroupFileChangesNothing) {
  load_groups("groups.txt", "1 1\n1 2\n2 1\n2 2\n");
  const Matrix group = s.group, n1g = s.n1g, n2g = s.n2g;
  const std::string status = box(ui, "GroupBox");
  const runtime::InputSource source = s.sources.groups;
  ui.message_boxes.clear();
  EXPECT_ERROR_MSG(load_groups("g1only.txt", "1\n1\n2\n"),
                   "The group code file g1only.txt has one column; each line should hold two "
                   "codes: the G1 code and the G2 code of the specimen.");
  EXPECT_EQ(s.group, group);
  EXPECT_EQ(s.n1g, n1g);
  EXPECT_EQ(s.n2g, n2g);
  EXPECT_EQ(s.sources.groups.path, source.path);
  EXPECT_EQ(box(ui, "GroupBox"), status);
  EXPECT_TRUE(ui.message_boxes.empty());  // no count warnings for a refused file
}

// A group file of another study (30 lines for 40 specimens): its count
// boxes are shown as for any file, then the refusal says the real cause, and
// the good codes loaded before stay with the box that names their file.
TEST_F(LoadActions, AGroupFileWithTheWrongNumberOfLinesIsRefusedNamingTheCause) {
  load_file("wing.txt", number_lines(80, 5));
  std::string reps, good, bad;
  for (int i = 0; i < 80; ++i) reps += (i < 40 ? "1\n" : "2\n");
  for (int i = 0; i < 40; ++i) good += std::to_string(1 + i % 2) + " " + std::to_string(1 + i / 20) + "\n";
  for (int i = 0; i < 30; ++i) bad += std::to_string(1 + i % 2) + " " + std::to_string(i < 20 ? 1 : 2) + "\n";
  load_codes("reps.txt", reps);
  load_groups("groups.txt", good);
  const Matrix group = s.group, n1g = s.n1g, n2g = s.n2g;
  const std::string status = box(ui, "GroupBox");
  ui.message_boxes.clear();
  EXPECT_ERROR_MSG(load_groups("other.txt", bad),
                   "The group code file other.txt has 30 rows, but it needs one per specimen: 80 "
                   "rows of landmark data / 2 repeated-measures codes = 40 specimens. The group "
                   "codes loaded before are kept.");
  // Column 2 holds 20 ones and 10 twos: its count box still comes first.
  ASSERT_EQ(ui.message_boxes.size(), 1u);
  EXPECT_EQ(ui.message_boxes[0].title, "Error in a group code");
  EXPECT_EQ(ui.message_boxes[0].text, "Mismatch in counts between groups 1 and 2");
  EXPECT_EQ(s.group, group);
  EXPECT_EQ(s.n1g, n1g);
  EXPECT_EQ(s.n2g, n2g);
  EXPECT_EQ(box(ui, "GroupBox"), status);
  EXPECT_TRUE(s.sources.groups.path.ends_with("groups.txt"));

  // Before the measurement codes the number of specimens is not known: the
  // file is stored as read, and the analysis names the mismatch.
  Session fresh;
  ui.queue_file(t.write("early.txt", bad));
  loadgroup(ui, fresh);
  EXPECT_EQ(fresh.group.rows(), 30u);
  // Nor is it when the measurement codes do not fit the landmarks (81 codes
  // for 80 rows): the analyses name that file, not this one.
  load_codes("reps81.txt", reps + "3\n");
  load_groups("other.txt", bad);
  EXPECT_EQ(s.group.rows(), 30u);
}

}  // namespace
}  // namespace lumivar::input
