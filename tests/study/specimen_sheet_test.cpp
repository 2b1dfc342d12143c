#include "study/specimen_sheet.h"

#include <gtest/gtest.h>

#include <utility>

#include "study/value_coding.h"
#include "support/error_message.h"

namespace lumivar::study {
namespace {

TEST(SpecimenSheet, FindsItsColumnsIgnoringCaseOrAsMapped) {
  const SpecimenSheet s = parse_specimen_sheet(
      "Notes\tSpecimen\tID\tMeasurement\tg1\tG2\n"
      "ok\tA\ta1.jpg\t7\tmale\t1\n",
      "sheet.tsv", sheet_columns(""));
  ASSERT_EQ(s.rows.size(), 1u);
  EXPECT_EQ(s.rows[0].line, 2u);
  EXPECT_EQ(s.rows[0].cells, (std::array<std::string, kRoleCount>{"a1.jpg", "A", "7", "male", "1"}));

  const SheetColumns mapped = sheet_columns(" id=Image, SPECIMEN=Ind,measurement=Age ,g1=Sex,G2=Diet");
  const SpecimenSheet m =
      parse_specimen_sheet("Image,Ind,Age,Sex,Diet,id\nx.jpg,7,14,f,lean,ignored\n", "sheet.csv", mapped);
  EXPECT_EQ(m.rows[0].cells, (std::array<std::string, kRoleCount>{"x.jpg", "7", "14", "f", "lean"}));
}

TEST(SpecimenSheet, RefusesMissingColumnsAndBadMappingsWithOneMessage) {
  EXPECT_ERROR_MSG(parse_specimen_sheet("ID,Ind,Age,G1\n", "sheet.csv", sheet_columns("specimen=Ind,G2=Diet")),
                   "The sheet sheet.csv has no column \"measurement\", \"Diet\" (G2); its columns are ID, "
                   "Ind, Age, G1. Name the columns id, specimen, measurement, G1 and G2, or map them "
                   "(id=Image,specimen=Ind,...).");
  EXPECT_ERROR_MSG(parse_specimen_sheet("id,ID\n", "sheet.csv", sheet_columns("")),
                   "File sheet.csv: two columns are named \"id\".");
  // A NUL byte in a column name is shown, not the end of the message.
  EXPECT_ERROR_MSG(parse_specimen_sheet(std::string("id,Ind\0x,Age\n", 13), "sheet.csv", sheet_columns("")),
                   "The sheet sheet.csv has no column \"specimen\", \"measurement\", \"G1\", \"G2\"; its "
                   "columns are id, Ind\\x00x, Age. Name the columns id, specimen, measurement, G1 and G2, "
                   "or map them (id=Image,specimen=Ind,...).");
  // Mappings as a user types them into the import dialog.
  const std::pair<const char*, const char*> mappings[] = {
      {"sex=G1", "The column mapping names the role \"sex\"; the roles are id, specimen, measurement, G1 and G2."},
      {"g1=Sex,G1=Diet", "The column mapping names the role G1 twice."},
      {"g1", "The column mapping \"g1\" should read role=column, for example specimen=Ind."},
  };
  for (const auto& [mapping, message] : mappings) EXPECT_ERROR_MSG(sheet_columns(mapping), message) << mapping;
}

TEST(ValueCoding, KeepsSmallWholeNumbersAndCodesAnythingElseByFirstAppearance) {
  const ValueCoding ages = code_values("measurement", {"150", "7", "150.0", "7"});
  EXPECT_TRUE(ages.as_written);
  EXPECT_EQ(ages.values, (std::vector<std::string>{"150", "7"}));
  EXPECT_EQ(ages.codes, (std::vector<double>{150, 7}));
  EXPECT_EQ(ages.code_of("150.0"), 150);

  const ValueCoding sex = code_values("G1", {"male", "female", "male", "Male"});
  EXPECT_FALSE(sex.as_written);
  EXPECT_EQ(sex.values, (std::vector<std::string>{"male", "female", "Male"}));
  EXPECT_EQ(sex.codes, (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(sex.index_of("MALE"), std::string::npos);

  // Codes that crossing two factors could not keep apart are recoded.
  for (const std::vector<std::string>& cells :
       {std::vector<std::string>{"0.5", "1.5"}, {"-1.5", "-1"}, {"10000", "20000"}}) {
    const ValueCoding c = code_values("G2", cells);
    EXPECT_FALSE(c.as_written) << cells[0];
    EXPECT_EQ(c.codes, (std::vector<double>{1, 2})) << cells[0];
  }
  EXPECT_TRUE(code_values("G2", {"0", "9999"}).as_written);
  // A whole number beside a word keeps its own code; the word takes the
  // first code no number holds.
  EXPECT_EQ(code_values("G2", {"2", "two"}).codes, (std::vector<double>{2, 1}));
  EXPECT_EQ(code_values("G2", {"-1", "1"}).codes, (std::vector<double>{2, 1}));
}

}  // namespace
}  // namespace lumivar::study
