#include <gtest/gtest.h>

#include "study/landmark_file.h"
#include "study/landmark_table.h"
#include "study/tps_reader.h"
#include "support/error_message.h"
#include "support/temp_files.h"

namespace lumivar::study {
namespace {

using Xy = std::vector<double>;

// A file as a user might hand it in, and what its refusal says.
struct Refusal {
  std::string text;
  std::string message;
};

LandmarkFile tps(const std::string& text, bool semilandmarks = false) {
  LandmarkReadOptions o;
  o.semilandmarks_as_landmarks = semilandmarks;
  return parse_tps(text, "wings.tps", o);
}

// As a digitiser writes it: CR LF line ends, a blank line between blocks, a
// scale, a picture in a folder, no line break after the last line.
TEST(TpsReader, ReadsBlocksAppliesScaleAndTakesIdsFromIdOrImage) {
  const LandmarkFile f = tps(
      "LM=3\r\n1 2\r\n3 4\r\n5.5 -6\r\nIMAGE=C:\\wings\\w01.left.jpg\r\nID=w01\r\nSCALE=0.5\r\n\r\n"
      "lm = 3\r\n10 20\r\n30 40\r\n50 60\r\nimage=pics/w02.tif\r\nCOMMENT=torn; x=3\r\nSCALE=2");
  ASSERT_EQ(f.entries.size(), 2u);
  EXPECT_EQ(f.entries[0].id, "w01");
  EXPECT_EQ(f.entries[0].xy, (Xy{0.5, 1, 1.5, 2, 2.75, -3}));
  EXPECT_EQ(f.entries[0].line, 1u);
  EXPECT_EQ(f.entries[1].id, "w02");  // folder and extension of IMAGE= removed
  EXPECT_EQ(f.entries[1].xy, (Xy{20, 40, 60, 80, 100, 120}));
  EXPECT_EQ(f.entries[1].line, 9u);
}

TEST(TpsReader, RefusesSemilandmarksWithTheirCountUnlessAskedToUseThem) {
  const std::string text =
      "LM=2\n0 0\n1 0\nCURVES=2\nPOINTS=2\n0.2 0.1\n0.4 0.1\nPOINTS=1\n0.5 0.5\nID=a\n"
      "LM=2\n0 0\n1 1\nCURVES=1\nPOINTS=3\n1 1\n2 2\n3 3\nID=b\n";
  EXPECT_ERROR_MSG(tps(text),
            "The TPS file wings.tps holds 6 semilandmarks on 3 curves in 2 specimens. Semilandmarks "
            "slide along their curves and are not analysed as landmarks unless you ask for it; "
            "otherwise remove the CURVES= blocks.");
  const LandmarkFile f = tps(text, true);
  ASSERT_EQ(f.entries.size(), 2u);
  EXPECT_EQ(f.entries[0].xy, (Xy{0, 0, 1, 0, 0.2, 0.1, 0.4, 0.1, 0.5, 0.5}));
  EXPECT_EQ(f.entries[1].landmarks(), 5u);
}

TEST(TpsReader, NamesTheLineOfEveryMalformedBlock) {
  const Refusal cases[] = {
      {"LM=3\n1 2\n3 4\nID=a\n",
       "File wings.tps, line 4: expected the x and y of point 3 of 3 announced at line 1, found \"ID=a\"."},
      {"LM=2\n1 2\n3 4\n5 6\nID=a\n",
       "File wings.tps, line 4: expected LM=, CURVES=, IMAGE=, ID=, SCALE= or COMMENT=; found \"5 6\" "
       "(more points than LM= announced?)."},
      {"LM=3\n1 2\n\n3 4\n",
       "File wings.tps, line 1: \"LM=3\" announces more points than there are lines after it (2)."},
      {"LM=2.5\n1 2\n3 4\n", "File wings.tps, line 1: \"LM=2.5\" should give a whole number."},
      {"LM=99999999999\n1 2\n",
       "File wings.tps, line 1: \"LM=99999999999\" announces more points than there are lines after it (1)."},
      {"LM=1\n1 2 3 4\nID=a\n",
       "File wings.tps, line 2: expected the x and y of point 1 of 1 announced at line 1, found \"1 2 3 4\"."},
      {"LM=1\n1 2\nOUTLINES=1\n",
       "File wings.tps, line 3: \"OUTLINES=1\" is not an entry Lumivar reads (LM=, CURVES=, POINTS=, IMAGE=, "
       "ID=, SCALE=, COMMENT=)."},
      {"LM=1\n1 2\nSCALE=-1\n", "File wings.tps, line 3: SCALE= should give a positive number."},
      {"LM=1\n1 2\nID=a\nID=b\n", "File wings.tps, line 4: the specimen of line 1 has a second ID=."},
  };
  for (const Refusal& c : cases) EXPECT_ERROR_MSG(tps(c.text), c.message) << c.text;
  EXPECT_ERROR_MSG(tps("LM=1\n1 2\nCURVES=1\n1 2\n", true),
                   "File wings.tps, line 4: curve 1 of the CURVES= at line 3 should start with POINTS=.");
}

TEST(TpsReader, RefusesCoordinatesThatAreNotFiniteAndScalesThatBreakThem) {
  using namespace std::string_literals;
  const std::string every = "; every coordinate must be a finite number.";
  const Refusal cases[] = {
      {"LM=2\n1 2\nnan 4\nID=a\n",
       "File wings.tps, line 3: \"nan 4\" holds a coordinate that is not a number (NaN)" + every},
      {"LM=1\n-Inf 2\n",
       "File wings.tps, line 2: \"-Inf 2\" holds a coordinate that is infinite or beyond the largest "
       "number a double holds" + every},
      {"LM=1\n3 1e400\n",  // beyond the largest double: it reads as Inf
       "File wings.tps, line 2: \"3 1e400\" holds a coordinate that is infinite or beyond the largest "
       "number a double holds" + every},
      {"LM=1\n1e308 2\n",  // finite, but its square is not
       "File wings.tps, line 2: \"1e308 2\" holds a coordinate that is too large for a coordinate "
       "(beyond 1e150 in magnitude, whose squares the analyses could not add up)" + every},
      {"LM=1\n1 2\nSCALE=0\n", "File wings.tps, line 3: SCALE= should give a positive number."},
      {"LM=1\n1 2\nSCALE=nan\n", "File wings.tps, line 3: SCALE= should give a positive number."},
      {"LM=1\n1 2\nSCALE=1e400\n", "File wings.tps, line 3: SCALE= should give a positive number."},
      {"LM=1\n3.5e-30 2\nID=a\nSCALE=1e-300\n",
       "File wings.tps, line 4: \"SCALE=1e-300\" turns the coordinate 3.5e-30 into 0 in the specimen of "
       "line 1 (\"a\")."},
      {"LM=1\n1 2\nSCALE=1e-330\n",  // below the smallest double: it reads as 0
       "File wings.tps, line 3: SCALE= should give a positive number."},
      {"LM=1\n0 2e-300\nSCALE=1e-10\n",
       "File wings.tps, line 3: \"SCALE=1e-10\" turns the coordinate 2e-300 into a number too small to "
       "keep its digits (2e-310) in the specimen of line 1."},
      {"LM=1\n1e100 2\nSCALE=1e100\n",
       "File wings.tps, line 3: \"SCALE=1e100\" turns the coordinate 1e+100 into 1e+200, which is too "
       "large for a coordinate (beyond 1e150 in magnitude, whose squares the analyses could not add "
       "up) in the specimen of line 1."},
      {"LM=1\n1 2\nSCALE=2\nID=a\nSCALE=2\n",
       "File wings.tps, line 5: the specimen of line 1 has a second SCALE= (the first at line 3)."},
      // A NUL byte in the line is shown, not the end of the message.
      {"LM=1\n1 2\nID=a\nfoo\0bar\n"s,
       "File wings.tps, line 4: expected LM=, CURVES=, IMAGE=, ID=, SCALE= or COMMENT=; found "
       "\"foo\\x00bar\" (more points than LM= announced?)."},
  };
  for (const Refusal& c : cases) EXPECT_ERROR_MSG(tps(c.text), c.message) << c.text;
  // A scale of zero coordinates is no loss; SCALE= with no value leaves them.
  EXPECT_EQ(tps("LM=2\n0 0\n1 2\nSCALE=1e-300\n").entries[0].xy, (Xy{0, 0, 1e-300, 2e-300}));
  EXPECT_EQ(tps("LM=1\n1 2\nSCALE=\n").entries[0].xy, (Xy{1, 2}));
}

TEST(LandmarkTable, FindsIdAndCoordinateColumnsByName) {
  // A spreadsheet export: quoted names, landmarks out of order, y before x,
  // columns the study does not need, a trailing empty line.
  const LandmarkFile f = parse_landmark_table(
      "\xEF\xBB\xBFnotes,LM2_Y,\"ID\",lm2_x,X1,Y1,age\n"
      "\"bent, left\",4,r1,3,1,2,7\n"
      ",8.5,r2,-7,5,6,150\n,,,,,,\n",
      "rats.csv");
  ASSERT_EQ(f.entries.size(), 2u);
  EXPECT_EQ(f.entries[0].id, "r1");
  EXPECT_EQ(f.entries[0].xy, (Xy{1, 2, 3, 4}));
  EXPECT_EQ(f.entries[1].xy, (Xy{5, 6, -7, 8.5}));
  EXPECT_EQ(f.entries[1].line, 3u);

  // Tabs, the first column of words as ids, bare x and y pairs in file order.
  const LandmarkFile t = parse_landmark_table("Image\tx\ty\tx\ty\nw7.jpg\t1\t2\t3\t4\n", "w.tsv");
  EXPECT_EQ(t.entries[0].id, "w7.jpg");
  EXPECT_EQ(t.entries[0].xy, (Xy{1, 2, 3, 4}));
  const LandmarkFile s = parse_landmark_table("specimen;x1;y1\nA;1.5;2\n", "s.csv");
  EXPECT_EQ(s.entries[0].xy, (Xy{1.5, 2}));
}

TEST(LandmarkTable, TakesTheFirstColumnOfWordsWhereverItsFirstWordComes) {
  // Column b shows a word first, column a only on the last row: a, the
  // first column holding a word, is the id column, numbers and all.
  const LandmarkFile f = parse_landmark_table("a,b,x1,y1,c\n1,w,0,0,q\n2,v,1,1,r\nz,u,2,2,s\n", "t.csv");
  ASSERT_EQ(f.entries.size(), 3u);
  EXPECT_EQ(f.entries[0].id, "1");
  EXPECT_EQ(f.entries[1].id, "2");
  EXPECT_EQ(f.entries[2].id, "z");
  EXPECT_EQ(f.entries[2].xy, (Xy{2, 2}));
  // Only c holds words: it is the id column however late it stands.
  const LandmarkFile c = parse_landmark_table("a,x1,y1,c\n1,0,0,q\n2,1,1,r\n", "t.csv");
  EXPECT_EQ(c.entries[1].id, "r");
}

TEST(LandmarkTable, RefusesTablesItCannotReadWithTheirProblem) {
  using namespace std::string_literals;
  const Refusal cases[] = {
      {"rat,age,x1,y1\n1,7,0,0\n",
       "The file rats.csv has no id column: name one column id or specimen, or give the ids as words."},
      {"id,x1,y1,x2\na,0,0,1\n", "The file rats.csv has an x column for landmark 2 (\"x2\") but no y column."},
      {"id,x1,y1\na,0,0\nb,0,O.5\n", "File rats.csv, line 3, column \"y1\": \"O.5\" is not a number."},
      {"id,x1,y1\na,0\n", "File rats.csv, line 2: the line has 2 cells, but the header has 3."},
      {"id,x1,y1\n\"a,0,0\n", "File rats.csv, line 2: a quoted cell is not closed on its line."},
      {"id,age,weight\na,1,2\n",
       "The file rats.csv has no coordinate columns: name them x1, y1, x2, y2 ... after the landmark they hold."},
      {"id,x1,X1,y1\na,1,2,3\n", "The file rats.csv has two columns for x of landmark 1: \"x1\" and \"X1\"."},
      {"id,x1,y1\na,0,0\nb,NaN,1\n",
       "File rats.csv, line 3, column \"x1\": \"NaN\" is not a number (NaN); every coordinate must be a "
       "finite number."},
      {"id,x1,y1\na,1e400,0\n",
       "File rats.csv, line 2, column \"x1\": \"1e400\" is infinite or beyond the largest number a "
       "double holds; every coordinate must be a finite number."},
      {"id,x1,y1\na,0,-1e308\n",
       "File rats.csv, line 2, column \"y1\": \"-1e308\" is too large for a coordinate (beyond 1e150 "
       "in magnitude, whose squares the analyses could not add up); every coordinate must be a finite "
       "number."},
      {"id,x1,y1\na,0,1\0\n"s,
       "File rats.csv, line 2, column \"y1\": \"1\\x00\" is not a number."},
      {"id,ID,x1,y1\na,b,0,0\n", "File rats.csv: two columns are named \"id\"."},
  };
  for (const Refusal& c : cases) EXPECT_ERROR_MSG(parse_landmark_table(c.text, "rats.csv"), c.message) << c.text;
}

TEST(LandmarkFile, RecognisesTheFormatByContent) {
  EXPECT_EQ(landmark_format("\n  LM=8\n1 2\n"), LandmarkFormat::kTps);
  EXPECT_EQ(landmark_format("lm2=8\n"), LandmarkFormat::kTps);
  EXPECT_EQ(landmark_format("1 2 3\n4 5 6\n"), LandmarkFormat::kPlain);
  EXPECT_EQ(landmark_format("1,2,3\n"), LandmarkFormat::kPlain);
  EXPECT_EQ(landmark_format("id,x1,y1\n"), LandmarkFormat::kTable);
  EXPECT_EQ(landmark_format("lmk,x1,y1\n"), LandmarkFormat::kTable);

  // The plain format through the program's reader: the trailing value is the id.
  testing::TempFolder t;
  const LandmarkFile p = read_landmark_file(t.write("plain.txt", "1 2 3 4 7\n5 6 7 8 12.5\n\nignored\n"));
  ASSERT_EQ(p.entries.size(), 2u);
  EXPECT_EQ(p.entries[1].id, "12.5");
  EXPECT_EQ(p.entries[1].xy, (Xy{5, 6, 7, 8}));
  const std::string even = t.write("even.txt", "1 2 3 4\n");
  EXPECT_ERROR_MSG(read_landmark_file(even),
                   "The file " + even +
                              " has 4 numbers on each line. Each line should hold the x and y of every landmark "
                       "followed by one trailing value that names the row.");
  const std::string blank = t.write("blank.txt", " \r\n\n");
  EXPECT_ERROR_MSG(read_landmark_file(blank), "The file " + blank + " holds no data.");
  EXPECT_EQ(read_landmark_file(t.write("w.tps", "LM=1\n3 4\nID=x\n")).entries[0].xy, (Xy{3, 4}));

  // A table saved as UTF-16 is told as such, not as lines of odd cells.
  const std::string utf16 = t.write("u.csv", std::string("i\0d\0,\0x\0\n\0a\0,\0\x31\0\n\0", 18));
  EXPECT_ERROR_MSG(read_landmark_file(utf16),
                   "The file " + utf16 +
                       " is written in UTF-16, little-endian; Lumivar reads text written in UTF-8 "
                       "(plain ASCII is UTF-8 too). Save the file as UTF-8 text and load it again.");
  // Plain files: a coordinate that is no finite number is refused by its line.
  const std::string inf = t.write("inf.txt", "1 2 3 4 7\n5 Inf 7 8 12\n");
  EXPECT_ERROR_MSG(read_landmark_file(inf), "File " + inf + ", line 2: value 2 (Inf) is infinite or beyond the largest "
                                            "number a double holds; every coordinate must be a finite number.");
}

TEST(NumberText, WritesTheShortestTextThatReadsBack) {
  EXPECT_EQ(number_text(7), "7");
  EXPECT_EQ(number_text(0.1), "0.1");
  EXPECT_EQ(number_text(-450), "-450");
  EXPECT_EQ(number_text(1e300), "1e+300");
  EXPECT_EQ(number_text(0.1 + 0.2), "0.30000000000000004");
}

}  // namespace
}  // namespace lumivar::study
