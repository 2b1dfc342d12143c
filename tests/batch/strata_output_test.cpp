// --strata: the tests by strata after the specified report, in text and JSON.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "batch/commands.h"
#include "support/temp_files.h"
#include "support/text_lines.h"

namespace lumivar::batch {
namespace {

const std::string kExamples = LUMIVAR_EXAMPLES;

struct Outcome {
  int status;
  std::string out, err;
};

Outcome run_batch(Command c, const CommandLine& o) {
  testing::KeepWorkingFolder keep;
  std::ostringstream out, err;
  const int status = run(c, o, out, err);
  return {status, out.str(), err.str()};
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
  const Outcome plain = run_batch(Command::kVarExp, example(false));
  const Outcome strata = run_batch(Command::kVarExp, example(true));
  ASSERT_EQ(strata.status, 0) << strata.err;
  const std::string report = plain.out.substr(0, plain.out.size() - 1);  // without its newline
  ASSERT_EQ(strata.out.rfind(report + "\n\nTests by strata\n\n", 0), 0u) << strata.out;

  const std::vector<std::string> table = testing::text_lines(strata.out.substr(report.size() + 2));
  ASSERT_EQ(table.size(), 16u) << strata.out;
  EXPECT_EQ(table[2], "Between specimens \tSS \tdf \tMS \tF");
  EXPECT_EQ(table[3].rfind("G1 \t", 0), 0u);
  EXPECT_EQ(table[6].rfind("Specimens within G1xG2 \t", 0), 0u);
  EXPECT_NE(table[6].find(" \t36 \t"), std::string::npos) << table[6];  // 40 - 2 x 2
  EXPECT_EQ(table[8], "Within specimens \tSS \tdf \tMS \tF");
  EXPECT_EQ(table[9].rfind("T(rep) \t", 0), 0u);
  EXPECT_EQ(table[13].rfind("Residual \t", 0), 0u);
  EXPECT_EQ(table[15].rfind("Repeatability of specimens R = 0.", 0), 0u) << table[15];
}

TEST(BatchStrata, PermuteAddsPAndZFromTheRunsSeed) {
  CommandLine o = example(true);
  o.permutations = "99";
  o.seed = 5;
  const Outcome r = run_batch(Command::kPermute, o);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::size_t at = r.out.find("\n\nTests by strata\n\n");
  ASSERT_NE(at, std::string::npos);
  const std::vector<std::string> table = testing::text_lines(r.out.substr(at + 2));
  EXPECT_EQ(table[2], "Between specimens \tSS \tdf \tMS \tF \tP \tZ");
  // The run's seed line follows the table.
  ASSERT_GE(table.size(), 3u);
  EXPECT_EQ(table.back(), "Seed: 5 (--seed 5 repeats this run)");
  EXPECT_EQ(table[table.size() - 3],
            "P: 99 relabellings of residuals under models without the effect (seed 5); "
            "Z = (F - mean relabelled F) / their SD");
  o.threads = 1;
  EXPECT_EQ(run_batch(Command::kPermute, o).out, r.out);
}

TEST(BatchStrata, JsonHasTheStrataObject) {
  CommandLine o = example(true);
  o.format = "json";
  const Outcome v = run_batch(Command::kVarExp, o);
  ASSERT_EQ(v.status, 0) << v.err;
  const nlohmann::json after_varexp = nlohmann::json::parse(v.out).at("strata");
  EXPECT_TRUE(after_varexp.at("between").at("G1").at("p").is_null());
  EXPECT_TRUE(after_varexp.at("within").at("T").at("z").is_null());

  o.permutations = "49";
  o.seed = 3;
  const Outcome p = run_batch(Command::kPermute, o);
  ASSERT_EQ(p.status, 0) << p.err;
  const nlohmann::json s = nlohmann::json::parse(p.out).at("strata");
  for (const char* effect : {"G1", "G2", "G1xG2"})
    for (const char* key : {"ss", "df", "ms", "f", "p", "z"})
      EXPECT_TRUE(s.at("between").at(effect).at(key).is_number()) << effect << " " << key;
  for (const char* effect : {"T", "G1xt", "G2xt", "G1xG2xt"})
    EXPECT_GE(s.at("within").at(effect).at("p").get<double>(), 1.0 / 50) << effect;
  EXPECT_EQ(s.at("between").at("specimens").size(), 3u);
  EXPECT_EQ(s.at("within").at("residual").at("df").get<double>(), 36);
  const double ss_s = s["between"]["specimens"]["ss"], ss_r = s["within"]["residual"]["ss"];
  const double ms_s = ss_s / 36, ms_r = ss_r / 36;
  EXPECT_NEAR(s.at("repeatability").get<double>(), (ms_s - ms_r) / (ms_s + ms_r), 1e-12);
  // The numbers of the table do not depend on the analysis that made them.
  EXPECT_EQ(s["between"]["G1"]["f"], after_varexp["between"]["G1"]["f"]);
}

TEST(BatchStrata, UnbalancedDesignIsRefusedBeforeTheRun) {
  testing::TempFolder t;
  std::ifstream in(kExamples + "/groups.txt");
  std::string groups, line;
  for (int i = 0; std::getline(in, line); ++i) groups += (i == 0 ? "2 2" : line) + "\n";
  CommandLine o = example(true);
  o.inputs.groups = t.write("groups.txt", groups);
  o.permutations = "99";
  const Outcome r = run_batch(Command::kPermute, o);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("lumivar-batch: error: Tests by strata need a balanced design: "), std::string::npos)
      << r.err;
  // The specified test refuses an unbalanced design as well, with its own message.
  o.strata = false;
  const Outcome plain = run_batch(Command::kPermute, o);
  EXPECT_EQ(plain.status, 1);
  EXPECT_EQ(plain.err.find("Tests by strata"), std::string::npos) << plain.err;
}

}  // namespace
}  // namespace lumivar::batch
