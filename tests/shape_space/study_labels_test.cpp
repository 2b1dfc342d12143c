#include "shape_space/study_labels.h"

#include <gtest/gtest.h>

namespace lumivar::shape_space {
namespace {

TEST(StudyLabels, AStudyNamesItsRowsAndLevelsInTheSheetsWords) {
  study::Study st;
  st.data = runtime::Matrix(4, 5);
  st.specimens = {"rat1", "rat2"};
  st.g1 = {"Sex", false, {"male", "female"}, {1, 2}};
  st.measurement = {"Age", true, {"7", "150"}, {7, 150}};
  const StudyLabels l = labels_of(st);
  EXPECT_EQ(l.specimens, (std::vector<std::string>{"rat1", "rat2", "rat1", "rat2"}));
  EXPECT_EQ(level_name(l.g1, 2), "female");
  EXPECT_EQ(level_name(l.t, 150), "150");
  EXPECT_EQ(level_name(l.g2, 3), "3");  // no words: the code
  EXPECT_EQ(level_name(l.g1, 0.5), "0.5");

  // A specimen measured once has one row after the 2n rows of the others.
  st.data = runtime::Matrix(5, 5);
  st.specimens = {"rat1", "rat2", "rat3"};
  st.measured_once = {"rat3"};
  EXPECT_EQ(labels_of(st).specimens, (std::vector<std::string>{"rat1", "rat2", "rat1", "rat2", "rat3"}));

  const runtime::Matrix plain = runtime::Matrix::rows_of({{0, 0, 1, 1, 17}, {0, 0, 2, 2, 2.5}});
  EXPECT_EQ(labels_from_rows(plain).specimens, (std::vector<std::string>{"17", "2.5"}));
}

TEST(StudyLabels, ApplyOnlyToTheInputsTheyWereMadeFor) {
  ImportedLabels imported;
  EXPECT_EQ(labels_for(imported, {}, 1), nullptr);  // nothing imported yet
  imported.labels = std::make_shared<const StudyLabels>(StudyLabels{{"a"}, {}, {}, {}, {}});
  imported.sources = {{"/s/rats.tps", "aa"}, {"/s/sheet.csv", "bb"}, {"/s/sheet.csv", "bb"}};
  runtime::InputSources analysed = imported.sources;
  EXPECT_EQ(labels_for(imported, analysed, 1), imported.labels);
  EXPECT_EQ(labels_for(imported, analysed, 2), nullptr);  // not the rows they name
  analysed.groups = {"/s/groups.txt", "cc"};  // a group file loaded since
  EXPECT_EQ(labels_for(imported, analysed, 1), nullptr);
  analysed = imported.sources;
  analysed.data.sha256 = "changed";  // the landmark file read again, changed
  EXPECT_EQ(labels_for(imported, analysed, 1), nullptr);
}

}  // namespace
}  // namespace lumivar::shape_space
