// Three-dimensional landmarks in the study files: each format shows its
// dimension itself (a TPS file by its points, a table by its z columns, a
// plain file by its note), a study never mixes dimensions, and the plain
// files written for a 3-D study say so in a note that reads back.
#include <gtest/gtest.h>

#include "input/dimension_note.h"
#include "study/build_study.h"
#include "study/landmark_file.h"
#include "study/landmark_table.h"
#include "study/study_text.h"
#include "study/tps_reader.h"
#include "support/error_message.h"
#include "support/temp_files.h"

namespace lumivar::study {
namespace {

using Xyz = std::vector<double>;

LandmarkFile tps(const std::string& text) { return parse_tps(text, "skulls.tps", {}); }

TEST(Landmarks3d, TpsPointsOfThreeNumbersMakeAThreeDimensionalFile) {
  // LM= with three numbers per point, or LM3=; scale applies to z as well.
  const LandmarkFile f = tps("LM=2\n1 2 3\n4 5 6\nID=a\nSCALE=2\nLM3=2\n7 8 9\n10 11 12\nID=b\n");
  EXPECT_EQ(f.dimensions, 3);
  ASSERT_EQ(f.entries.size(), 2u);
  EXPECT_EQ(f.entries[0].xy, (Xyz{2, 4, 6, 8, 10, 12}));
  EXPECT_EQ(f.entries[1].landmarks(3), 2u);
  EXPECT_EQ(tps("LM=1\n1 2\nID=a\n").dimensions, 2);

  const struct {
    const char* text;
    const char* message;
  } mixed[] = {
      {"LM=2\n1 2 3\n4 5\n",
       "File skulls.tps, line 3: expected the x, y and z of point 2 of 2 announced at line 1, found \"4 5\" "
       "(the points from line 2 on have three coordinates; a study never mixes dimensions)."},
      {"LM=1\n1 2\nID=a\nLM=1\n1 2 3\nID=b\n",
       "File skulls.tps, line 5: expected the x and y of point 1 of 1 announced at line 4, found \"1 2 3\" "
       "(the points from line 2 on have two coordinates; a study never mixes dimensions)."},
      {"LM=1\n1 2\nID=a\nLM3=1\n1 2 3\n",
       "File skulls.tps, line 4: LM3= announces three-dimensional landmarks, but the points from line 2 on "
       "have two coordinates; a study never mixes dimensions."},
      {"LM=1\n1 2 3\nID=a\nLM2=1\n1 2\n",
       "File skulls.tps, line 4: LM2= announces two-dimensional landmarks, but the points from line 2 on "
       "have three coordinates; a study never mixes dimensions."},
      {"LM3=1\n1 2\n", "File skulls.tps, line 2: expected the x, y and z of point 1 of 1 announced at line 1, "
                       "found \"1 2\" (the points from line 1 on have three coordinates; a study never "
                       "mixes dimensions)."},
  };
  for (const auto& c : mixed) EXPECT_ERROR_MSG(tps(c.text), c.message) << c.text;
}

TEST(Landmarks3d, TableWithZColumnsIsThreeDimensional) {
  const LandmarkFile f = parse_landmark_table("id,z2,x1,y1,z1,x2,y2\na,6,1,2,3,4,5\n", "skulls.csv");
  EXPECT_EQ(f.dimensions, 3);
  EXPECT_EQ(f.entries[0].xy, (Xyz{1, 2, 3, 4, 5, 6}));
  const LandmarkFile bare = parse_landmark_table("id\tx\ty\tz\tx\ty\tz\nb\t1\t2\t3\t4\t5\t6\n", "s.tsv");
  EXPECT_EQ(bare.dimensions, 3);
  EXPECT_EQ(bare.entries[0].xy, (Xyz{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(parse_landmark_table("id,x1,y1\na,1,2\n", "flat.csv").dimensions, 2);

  EXPECT_ERROR_MSG(parse_landmark_table("id,x1,y1,z1,x2,y2\na,1,2,3,4,5\n", "skulls.csv"),
                   "The file skulls.csv has an x column for landmark 2 (\"x2\") but no z column (the table "
                   "names z columns, so every landmark needs one).");
  EXPECT_ERROR_MSG(parse_landmark_table("id,z1\na,1\n", "skulls.csv"),
                   "The file skulls.csv has a z column for landmark 1 (\"z1\") but no x column.");
  EXPECT_ERROR_MSG(parse_landmark_table("id,x,y,z,x,y\na,1,2,3,4,5\n", "skulls.csv"),
                   "The file skulls.csv has columns named x, y and z that do not come in x, y, z triples.");
}

TEST(Landmarks3d, PlainFileTakesItsDimensionFromItsNoteOrTheUser) {
  testing::TempFolder t;
  const std::string noted = t.write("noted.txt", "1 2 3 4 5 6 7\n8 9 10 11 12 13 2\n\n dimensions: 3 \n");
  const LandmarkFile f = read_landmark_file(noted);
  EXPECT_EQ(f.dimensions, 3);
  EXPECT_EQ(f.entries[1].xy, (Xyz{8, 9, 10, 11, 12, 13}));
  EXPECT_EQ(f.entries[1].id, "2");

  // Seven columns read as 2-D would be three landmarks and a stray value; the
  // user's choice makes them two landmarks in 3-D.
  const std::string bare = t.write("bare.txt", "1 2 3 4 5 6 7\n");
  EXPECT_EQ(read_landmark_file(bare).dimensions, 2);
  LandmarkReadOptions three;
  three.dimensions = 3;
  EXPECT_EQ(read_landmark_file(bare, three).dimensions, 3);

  LandmarkReadOptions two;
  two.dimensions = 2;
  EXPECT_ERROR_MSG(read_landmark_file(noted, two),
                   "The file " + noted + " says its landmarks have 3 coordinates, but they were to be read "
                   "with 2. Nothing was loaded.");
  const std::string wide = t.write("wide.txt", "1 2 3 4 5 6 7 8\n");
  EXPECT_ERROR_MSG(read_landmark_file(wide, three),
                   "The file " + wide + " has 8 numbers on each line. Each line should hold the x, y and z "
                   "of every landmark followed by one trailing value that names the row (3k + 1 numbers).");
  const std::string flat_tps = t.write("flat.tps", "LM=1\n1 2\n");
  EXPECT_ERROR_MSG(read_landmark_file(flat_tps, three),
                   "The file " + flat_tps + " holds landmarks of 2 coordinates, but 3 were asked for; a "
                   "study never mixes dimensions.");
}

TEST(Landmarks3d, DimensionNoteReadsBackWhatItWrites) {
  EXPECT_EQ(input::dimension_of_note(input::dimension_note(3)), 3);
  EXPECT_EQ(input::dimension_of_note(input::dimension_note(2)), 2);
  EXPECT_EQ(input::dimension_of_note("Dimensions = 3\r"), 3);
  EXPECT_EQ(input::dimension_of_note("dimensions 3"), 3);
  for (const char* other : {"", "3", "dimensions: 4", "dimensions: 3 and more", "dimension: 3", "ignored"})
    EXPECT_EQ(input::dimension_of_note(other), 0) << other;
}

TEST(Landmarks3d, StudyKeepsItsDimensionIntoThePlainFiles) {
  const LandmarkFile f = tps(
      "LM=2\n0 0 0\n1 0 0\nID=a1\nLM=2\n0 0 0\n0 1 0\nID=a2\n"
      "LM=2\n0 0 0\n0 0 1\nID=b1\nLM=2\n1 1 1\n2 2 3\nID=b2\n");
  const Study s = build_study(f, parse_specimen_sheet("id,specimen,measurement,G1,G2\n"
                                                      "a1,A,1,x,p\na2,A,2,x,p\nb1,B,1,y,q\nb2,B,2,y,q\n",
                                                      "sheet.csv", sheet_columns("")));
  EXPECT_EQ(s.dimensions, 3);
  EXPECT_EQ(s.landmarks, 2u);
  ASSERT_EQ(s.data.cols(), 7u);
  EXPECT_EQ(s.data(4, 6), 3.0);  // z of landmark 2 of b2 (rows: A1, B1, A2, B2)
  EXPECT_EQ(s.data(4, 7), 2.0);  // its trailing value: specimen B's ordinal
  EXPECT_EQ(landmarks_text(s),
            "0 0 0 1 0 0 1\n0 0 0 0 0 1 2\n0 0 0 0 1 0 1\n1 1 1 2 2 3 2\n\ndimensions: 3\n");
  EXPECT_NE(summary_text(s).find(", 2 landmarks (3-D): 4 rows."), std::string::npos) << summary_text(s);

  // A 2-D study's file stays exactly the plain matrix.
  const Study flat = build_study(tps("LM=2\n0 0\n1 0\nID=a1\nLM=2\n0 0\n0 1\nID=a2\n"),
                                 parse_specimen_sheet("id,specimen,measurement,G1,G2\na1,A,1,x,p\na2,A,2,x,p\n",
                                                      "sheet.csv", sheet_columns("")));
  EXPECT_EQ(landmarks_text(flat), plain_text(flat.data));
}

}  // namespace
}  // namespace lumivar::study
