// --strata: the tests by strata after the specified report, in text and JSON.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "batch/batch_run.h"
#include "support/temp_files.h"
#include "support/text_lines.h"

namespace lumivar::batch {
namespace {

const std::string kExamples = LUMIVAR_EXAMPLES;

// A refusal: exit 1, no report, and `message` on standard error.
void expect_refused(const BatchRun& r, const std::string& message) {
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
}

CommandLine example(bool strata) {
  CommandLine o;
  o.inputs.data = kExamples + "/landmarks.txt";
  o.inputs.reps = kExamples + "/reps.txt";
  o.inputs.groups = kExamples + "/groups.txt";
  o.strata = strata;
  return o;
}

TEST(BatchStrata, TextFollowsTheUnchangedReportAfterABlankLine) {
  const BatchRun plain = run_batch(Command::kVarExp, example(false));
  const BatchRun strata = run_batch(Command::kVarExp, example(true));
  ASSERT_EQ(strata.status, 0) << strata.err;
  const std::string report = plain.out.substr(0, plain.out.size() - 1);  // without its newline
  ASSERT_EQ(strata.out.rfind(report + "\n\nTests by strata\n\n", 0), 0u) << strata.out;

  const std::vector<std::string> table = testing::text_lines(strata.out.substr(report.size() + 2));
  ASSERT_EQ(table.size(), 17u) << strata.out;
  EXPECT_EQ(table[2], "Between specimens \tSS \tdf \tMS \tF \tpartial R2");
  EXPECT_EQ(table[3].rfind("G1 \t", 0), 0u);
  EXPECT_EQ(table[6].rfind("Specimens within G1xG2 \t", 0), 0u);
  EXPECT_NE(table[6].find(" \t36 \t"), std::string::npos) << table[6];  // 40 - 2 x 2
  EXPECT_EQ(table[8], "Within specimens \tSS \tdf \tMS \tF \tpartial R2");
  EXPECT_EQ(table[9].rfind("T(rep) \t", 0), 0u);
  EXPECT_EQ(table[13].rfind("Residual \t", 0), 0u);
  EXPECT_EQ(table[15].rfind("Repeatability of specimens R = 0.", 0), 0u) << table[15];
  EXPECT_EQ(table[16].rfind("Agreement of the two measurements R_A = 0.", 0), 0u) << table[16];
}

TEST(BatchStrata, PermuteAddsPAndZFromTheRunsSeed) {
  CommandLine o = example(true);
  o.permutations = "99";
  o.seed = 5;
  const BatchRun r = run_batch(Command::kPermute, o);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::size_t at = r.out.find("\n\nTests by strata\n\n");
  ASSERT_NE(at, std::string::npos);
  const std::vector<std::string> table = testing::text_lines(r.out.substr(at + 2));
  EXPECT_EQ(table[2], "Between specimens \tSS \tdf \tMS \tF \tP \tZ \tpartial R2");
  // The run's seed line follows the table.
  ASSERT_GE(table.size(), 3u);
  EXPECT_EQ(table.back(), "Seed: 5 (--seed 5 repeats this run)");
  EXPECT_EQ(table[table.size() - 3],
            "P: 99 relabellings of residuals under models without the effect (seed 5); "
            "Z = (log F - mean relabelled log F) / their SD");
  o.threads = 1;
  EXPECT_EQ(run_batch(Command::kPermute, o).out, r.out);
}

TEST(BatchStrata, JsonHasTheStrataObject) {
  CommandLine o = example(true);
  o.format = "json";
  const BatchRun v = run_batch(Command::kVarExp, o);
  ASSERT_EQ(v.status, 0) << v.err;
  const nlohmann::json after_varexp = nlohmann::json::parse(v.out).at("strata");
  EXPECT_TRUE(after_varexp.at("between").at("G1").at("p").is_null());
  EXPECT_TRUE(after_varexp.at("within").at("T").at("z").is_null());

  o.permutations = "49";
  o.seed = 3;
  const BatchRun p = run_batch(Command::kPermute, o);
  ASSERT_EQ(p.status, 0) << p.err;
  const nlohmann::json s = nlohmann::json::parse(p.out).at("strata");
  for (const char* effect : {"G1", "G2", "G1xG2"})
    for (const char* key : {"ss", "df", "ms", "f", "p", "z", "partial_r2"})
      EXPECT_TRUE(s.at("between").at(effect).at(key).is_number()) << effect << " " << key;
  for (const char* effect : {"T", "G1xt", "G2xt", "G1xG2xt"})
    EXPECT_GE(s.at("within").at(effect).at("p").get<double>(), 1.0 / 50) << effect;
  EXPECT_EQ(s.at("between").at("specimens").size(), 3u);
  EXPECT_EQ(s.at("within").at("residual").at("df").get<double>(), 36);
  const double ss_s = s["between"]["specimens"]["ss"], ss_r = s["within"]["residual"]["ss"];
  const double ms_s = ss_s / 36, ms_r = ss_r / 36;
  EXPECT_NEAR(s.at("repeatability").get<double>(), (ms_s - ms_r) / (ms_s + ms_r), 1e-12);
  // Agreement from the same table: the within effects pooled as systematic error.
  double ss_sys = 0;
  for (const char* effect : {"T", "G1xt", "G2xt", "G1xG2xt"}) ss_sys += s["within"][effect]["ss"].get<double>();
  const double ms_sys = ss_sys / 4;
  EXPECT_NEAR(s.at("agreement").get<double>(),
              (ms_s - ms_r) / (ms_s + ms_r + 2 * (ms_sys - ms_r) / 40), 1e-12);
  EXPECT_EQ(s.at("ss_type"), 3);
  EXPECT_EQ(s.at("balanced"), true);
  EXPECT_EQ(s.at("left_out"), nlohmann::json::array());
  EXPECT_EQ(s.at("seed"), 3);
  // The numbers of the table do not depend on the analysis that made them.
  EXPECT_EQ(s["between"]["G1"]["f"], after_varexp["between"]["G1"]["f"]);
}

// The example's groups with specimen 1 moved from cell (1, 1) to (2, 2).
std::string unequal_groups(testing::TempFolder& t) {
  std::ifstream in(kExamples + "/groups.txt");
  std::string groups, line;
  for (int i = 0; std::getline(in, line); ++i) groups += (i == 0 ? "2 2" : line) + "\n";
  return t.write("groups.txt", groups);
}

TEST(BatchStrata, UnequalCellsAreRefusedByTheSpecifiedTestsWhichNameTheStrataCommand) {
  testing::TempFolder t;
  CommandLine o = example(true);
  o.inputs.groups = unequal_groups(t);
  o.permutations = "99";
  expect_refused(run_batch(Command::kPermute, o),
                 "The tests by strata take unequal cells: run lumivar-batch strata with the same "
                 "files");
}

TEST(BatchStrata, StrataCommandTakesUnequalCellsAndNamesTheType) {
  testing::TempFolder t;
  CommandLine o = example(false);
  o.inputs.groups = unequal_groups(t);
  o.permutations = "99";
  o.seed = 4;
  const BatchRun r = run_batch(Command::kStrata, o);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> table = testing::text_lines(r.out);
  ASSERT_EQ(table.size(), 21u) << r.out;  // the table, then the seed line
  EXPECT_EQ(table[0], "Tests by strata");
  EXPECT_NE(table[6].find(" \t36 \t"), std::string::npos) << table[6];
  EXPECT_EQ(table.back(), "Seed: 4 (--seed 4 repeats this run)");
  EXPECT_EQ(table[table.size() - 3],
            "Unequal cells: sums of squares of type III (each effect adjusted for all others)");
  o.ss_type = 2;
  o.format = "json";
  const BatchRun two = run_batch(Command::kStrata, o);
  ASSERT_EQ(two.status, 0) << two.err;
  const nlohmann::json s = nlohmann::json::parse(two.out).at("strata");
  EXPECT_EQ(s.at("ss_type"), 2);
  EXPECT_EQ(s.at("balanced"), false);
  EXPECT_EQ(s.at("specimens"), 40);
  // On the balanced example the command prints the table --strata prints.
  CommandLine balanced = example(false);
  balanced.permutations = "49";
  balanced.seed = 2;
  const BatchRun alone = run_batch(Command::kStrata, balanced);
  balanced.strata = true;
  const BatchRun after = run_batch(Command::kPermute, balanced);
  ASSERT_EQ(alone.status, 0) << alone.err;
  EXPECT_NE(after.out.find("\n\n" + alone.out), std::string::npos) << alone.out << after.out;
}

TEST(BatchStrata, StrataCommandRefusesAnEmptyCellWithOneMessage) {
  testing::TempFolder t;
  std::string groups;
  for (int i = 0; i < 40; ++i) groups += i % 2 ? "1 2\n" : "1 1\n";
  groups.replace(0, 3, "2 1");
  CommandLine o = example(false);
  o.inputs.groups = t.write("groups.txt", groups);
  o.permutations = "9";
  expect_refused(run_batch(Command::kStrata, o),
                 "lumivar-batch: error: Tests by strata need at least one specimen measured twice in "
                 "every combination of a G1 and a G2 code; G1 = 2 with G2 = 2 has none.\n");
}

// The example study as a landmark table and a sheet, specimen 1 moved to
// cell (2, 2) and specimen 5's second measurement missing.
StudyOptions example_sheet_study(testing::TempFolder& t) {
  std::ifstream data(kExamples + "/landmarks.txt"), reps(kExamples + "/reps.txt"),
      groups(kExamples + "/groups.txt");
  std::vector<std::string> group_lines;
  for (std::string line; std::getline(groups, line);) group_lines.push_back(line);
  group_lines[0] = "2 2";
  std::string table = "id", sheet = "id,specimen,measurement,G1,G2\n";
  for (int c = 1; c <= 12; ++c) table += ",x" + std::to_string(c) + ",y" + std::to_string(c);
  table += "\n";
  std::string line, code;
  for (std::size_t r = 0; std::getline(data, line) && std::getline(reps, code); ++r) {
    const std::size_t specimen = r % 40;
    if (specimen == 4 && r >= 40) continue;
    std::istringstream values(line);
    const std::string id = "s" + std::to_string(specimen + 1) + "_" + code;
    table += id;
    double v = 0;
    for (int c = 0; c < 24 && values >> v; ++c) {
      std::ostringstream f;
      f.precision(17);
      f << v;
      table += "," + f.str();
    }
    table += "\n";
    std::istringstream g(group_lines[specimen]);
    std::string g1, g2;
    g >> g1 >> g2;
    sheet += id + ",s" + std::to_string(specimen + 1) + "," + code + "," + g1 + "," + g2 + "\n";
  }
  StudyOptions study;
  study.sources.landmarks = t.write("marks.csv", table);
  study.sources.sheet = t.write("sheet.csv", sheet);
  return study;
}

TEST(BatchStrata, StrataCommandLeavesOutSpecimensMeasuredOnceWithOneWarning) {
  testing::TempFolder t;
  CommandLine o;
  o.study = example_sheet_study(t);
  o.permutations = "19";
  o.seed = 1;
  const BatchRun r = run_batch(Command::kStrata, o);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string warning =
      "lumivar-batch: warning: 1 specimen measured once left out of the tests by strata (specimen s5)\n";
  EXPECT_NE(r.err.find(warning), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find(warning), r.err.rfind(warning));
  const std::vector<std::string> table = testing::text_lines(r.out);
  EXPECT_NE(table[6].find(" \t35 \t"), std::string::npos) << table[6];  // 39 - 2 x 2
  EXPECT_EQ(table[table.size() - 3], "1 specimen measured once left out of the tests by strata (specimen s5)");
  o.format = "json";
  const nlohmann::json s = nlohmann::json::parse(run_batch(Command::kStrata, o).out).at("strata");
  EXPECT_EQ(s.at("left_out"), nlohmann::json::array({40}));
  EXPECT_EQ(s.at("specimens"), 39);
  // The specified analysis refuses the study and says what takes it.
  o.format = "text";
  expect_refused(run_batch(Command::kVarExp, o),
                 "lumivar-batch: error: The study has specimens measured once (79 rows of landmark data "
                 "for 40 specimens); VarExp and Permute need two measurements of every specimen. "
                 "The tests by strata take such a study, leaving those specimens out: run "
                 "lumivar-batch strata with the same files, or Analysis > Tests by strata in the "
                 "window.\n");
}

}  // namespace
}  // namespace lumivar::batch
