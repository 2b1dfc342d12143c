#include "study/build_study.h"

#include <gtest/gtest.h>

#include "support/error_message.h"
#include "study/landmark_table.h"
#include "study/study_text.h"
#include "study/tps_reader.h"

namespace lumivar::study {
namespace {

using runtime::Matrix;

Study build(const std::string& landmarks, const std::string& sheet) {
  const LandmarkFile f = landmarks.rfind("LM", 0) == 0 ? parse_tps(landmarks, "marks.tps", {})
                                                       : parse_landmark_table(landmarks, "marks.csv");
  return build_study(f, parse_specimen_sheet(sheet, "sheet.csv", sheet_columns("")));
}

std::vector<double> column(const Matrix& m, std::size_t j) {
  std::vector<double> v;
  for (std::size_t i = 1; i <= m.rows(); ++i) v.push_back(m(i, j));
  return v;
}

const std::string kFourEntries =
    "id,x1,y1,x2,y2\n"
    "b_late,10,11,12,13\n"
    "a_early,1,2,3,4\n"
    "b_early,5,6,7,8\n"
    "a_late,14,15,16,17\n";

TEST(BuildStudy, OrdersSpecimensByTheSheetAndMeasurementsBySortedValue) {
  const Study s = build(kFourEntries,
                        "id,specimen,measurement,G1,G2\n"
                        "b_late,B,late,female,1\n"
                        "a_early,A,early,male,2\n"
                        "a_late,A,late,male,2\n"
                        "b_early,B,early,female,1\n");
  EXPECT_EQ(s.specimens, (std::vector<std::string>{"B", "A"}));
  EXPECT_EQ(s.measurements, (std::vector<std::string>{"early", "late"}));  // alphabetical
  EXPECT_EQ(s.landmarks, 2u);
  ASSERT_EQ(s.data.rows(), 4u);
  ASSERT_EQ(s.data.cols(), 5u);
  EXPECT_EQ(column(s.data, 1), (std::vector<double>{5, 1, 10, 14}));
  EXPECT_EQ(column(s.data, 4), (std::vector<double>{8, 4, 13, 17}));
  EXPECT_EQ(column(s.data, 5), (std::vector<double>{1, 2, 1, 2}));  // the specimen's ordinal
  EXPECT_EQ(column(s.repgroup, 1), (std::vector<double>{2, 2, 1, 1}));  // late first seen: code 1
  EXPECT_EQ(column(s.group, 1), (std::vector<double>{1, 2}));          // female first seen: code 1
  EXPECT_EQ(column(s.group, 2), (std::vector<double>{1, 2}));
  EXPECT_EQ(summary_text(s),
            "2 specimens at 2 measurements (early = 2, late = 1), 2 landmarks: 4 rows.\n"
            "G1: female = 1 (1 specimen), male = 2 (1 specimen)\n"
            "G2: 1 (1 specimen), 2 (1 specimen)\n");
  EXPECT_EQ(codes_text(s),
            "column\tvalue\tcode\nspecimen\tB\t1\nspecimen\tA\t2\nmeasurement\tlate\t1\nmeasurement\tearly\t2\n"
            "G1\tfemale\t1\nG1\tmale\t2\nG2\t1\t1\nG2\t2\t2\n");
  EXPECT_EQ(plain_text(s.group), "1 1\n2 2\n");

  // Ages sort as numbers (7 before 150), which as words they would not.
  const Study ages = build(kFourEntries,
                           "id,specimen,measurement,G1,G2\n"
                           "a_late,A,150,1,1\nb_late,B,150,2,1\na_early,A,7,1,1\nb_early,B,7,2,1\n");
  EXPECT_EQ(ages.measurements, (std::vector<std::string>{"7", "150"}));
  EXPECT_EQ(column(ages.repgroup, 1), (std::vector<double>{7, 7, 150, 150}));
  EXPECT_EQ(column(ages.data, 1), (std::vector<double>{1, 5, 14, 10}));
}

TEST(ValueCoding, WholeNumbersAreTheirOwnCodesAlsoBesideWords) {
  // A G2 column that mixes a number with words: "2" keeps code 2 (as the
  // files written from the sheet show it), the words take 1, 3, ... in the
  // order they first appear, skipping the codes the numbers hold.
  const ValueCoding mixed = code_values("G2", {"lean", "2", "rich", "2.0", "lean", "1.5"});
  EXPECT_FALSE(mixed.as_written);
  EXPECT_EQ(mixed.values, (std::vector<std::string>{"lean", "2", "rich", "1.5"}));
  EXPECT_EQ(mixed.codes, (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(mixed.code_of("2.0"), 2);  // the number, not its text
  EXPECT_EQ(mixed.code_of("1.5"), 4);
  EXPECT_EQ(mixed.index_of("3"), std::string::npos);  // the code of "rich" is no value of the column

  const ValueCoding numbers = code_values("G1", {"7", "0", "7"});
  EXPECT_TRUE(numbers.as_written);
  EXPECT_EQ(numbers.codes, (std::vector<double>{7, 0}));
  const ValueCoding words = code_values("G1", {"b", "a", "b"});
  EXPECT_EQ(words.codes, (std::vector<double>{1, 2}));
}

TEST(BuildStudy, AcceptsOneMeasurementPerSpecimen) {
  const Study s = build("id,x1,y1\nu,1,2\nv,3,4\nw,5,6\n",
                        "id,specimen,measurement,G1,G2\nw,W,1,1,1\nu,U,1,1,2\nv,V,1,2,1\n");
  EXPECT_EQ(s.measurements, (std::vector<std::string>{"1"}));
  EXPECT_EQ(column(s.data, 1), (std::vector<double>{5, 1, 3}));
  EXPECT_EQ(column(s.repgroup, 1), (std::vector<double>{1, 1, 1}));
  EXPECT_EQ(s.group.rows(), 3u);
}

TEST(BuildStudy, SpecimensMeasuredOnceComeLastWithOneRowEach) {
  // B has only its late line, D only its early one; A and C have both.
  const Study s = build("id,x1,y1\na1,1,1\na2,2,2\nb2,3,3\nc1,4,4\nc2,5,5\nd1,6,6\n",
                        "id,specimen,measurement,G1,G2\n"
                        "a1,A,1,1,1\nb2,B,2,2,1\na2,A,2,1,1\nd1,D,1,2,2\nc1,C,1,2,1\nc2,C,2,2,1\n");
  EXPECT_EQ(s.specimens, (std::vector<std::string>{"A", "C", "B", "D"}));
  EXPECT_EQ(s.measured_once, (std::vector<std::string>{"B", "D"}));
  EXPECT_EQ(column(s.data, 1), (std::vector<double>{1, 4, 2, 5, 3, 6}));
  EXPECT_EQ(column(s.data, 3), (std::vector<double>{1, 2, 1, 2, 3, 4}));  // ordinals
  EXPECT_EQ(column(s.repgroup, 1), (std::vector<double>{1, 1, 2, 2, 2, 1}));
  EXPECT_EQ(column(s.group, 1), (std::vector<double>{1, 2, 2, 2}));
  EXPECT_EQ(column(s.group, 2), (std::vector<double>{1, 1, 1, 2}));
  const std::string summary = summary_text(s);
  EXPECT_NE(summary.find("\nMeasured once (2): B, D; only the tests by strata take such a study, "
                         "leaving them out.\n"),
            std::string::npos)
      << summary;
}

TEST(BuildStudy, ListsEveryProblemInOneRefusal) {
  const std::string tps =
      "LM=2\n0 0\n1 1\nID=a1\n"
      "LM=2\n0 0\n1 1\nID=a2\n"
      "LM=2\n0 0\n1 1\nID=b1\n"
      "LM=2\n0 0\n1 1\nID=b1\n"
      "LM=1\n0 0\nID=c1\n"
      "LM=2\n0 0\n1 1\nIMAGE=x9.jpg\n"
      "LM=2\n0 0\n1 1\n";
  const std::string sheet =
      "id,specimen,measurement,G1,G2\n"
      "a1,A,1,1,1\n"
      "a2,A,2,2,1\n"
      "b1,B,1,1,1\n"
      "c1,C,1,1,1\n"
      "zz,D,1,1,1\n"
      "zz,D,2,1,1\n"
      "e1,E,,1,1\n";
  EXPECT_ERROR_MSG(build(tps, sheet),
            "The study cannot be built from marks.tps and sheet.csv (10 problems):\n"
            "  marks.tps, line 24: the specimen has no id.\n"
            "  id \"b1\" is given more than once in marks.tps (lines 9 and 13).\n"
            "  sheet.csv, line 8: no measurement.\n"
            "  id \"zz\" is given more than once in sheet.csv (lines 6 and 7).\n"
            "  id \"x9\" (marks.tps, line 20) is not in the sheet sheet.csv.\n"
            "  id \"zz\" (sheet.csv, line 6) is not in the landmark file marks.tps.\n"
            "  id \"zz\" (sheet.csv, line 7) is not in the landmark file marks.tps.\n"
            "  id \"e1\" (sheet.csv, line 8) is not in the landmark file marks.tps.\n"
            "  specimen \"A\" has G1 \"1\" at line 2 but \"2\" at line 3.\n"

            "  id \"c1\" (marks.tps, line 17) has 1 landmark; the first specimen (\"a1\", line 1) has 2.");
}

TEST(BuildStudy, RefusesMoreThanTwoMeasurementsAndRepeatedLines) {
  EXPECT_ERROR_MSG(build("id,x1,y1\nu,1,2\nv,3,4\nw,5,6\n",
                         "id,specimen,measurement,G1,G2\nu,U,day7,1,1\nv,U,day14,1,1\nw,U,day30,1,1\n"),
            "The study cannot be built from marks.csv and sheet.csv (1 problem):\n"
            "  The sheet has 3 measurement values (day14, day30, day7); a study holds one or two measurements of "
            "each specimen.");
  EXPECT_ERROR_MSG(build("id,x1,y1\nu,1,2\nv,3,4\nw,5,6\n",
                         "id,specimen,measurement,G1,G2\nu,U,1,1,1\nv,U,1,1,1\nw,U,2,1,1\n"),
            "The study cannot be built from marks.csv and sheet.csv (1 problem):\n"
            "  specimen \"U\" has 2 lines at measurement 1 (sheet.csv, lines 2 and 3).");
}

TEST(BuildStudy, ListsTheFirstTwentyProblemsAndCountsTheRest) {
  std::string sheet = "id,specimen,measurement,G1,G2\n";
  for (int i = 1; i <= 25; ++i) sheet += "m" + std::to_string(i) + ",S" + std::to_string(i) + ",1,1,1\n";
  const std::string msg = testing::error_message([&] { build("id,x1,y1\nm1,0,0\n", sheet); });
  EXPECT_EQ(msg.rfind("The study cannot be built from marks.csv and sheet.csv (24 problems):\n"
                      "  id \"m2\" (sheet.csv, line 3) is not in the landmark file marks.csv.\n",
                      0),
            0u);
  EXPECT_NE(msg.find("\n  id \"m21\" (sheet.csv, line 22) is not in the landmark file marks.csv.\n"
                     "  ... and 4 more."),
            std::string::npos);
  EXPECT_EQ(msg.find("m22"), std::string::npos);
}

}  // namespace
}  // namespace lumivar::study
