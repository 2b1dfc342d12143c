// lumivar-batch run as a user runs it from a shell or a script: the exit
// status, standard output and standard error of its own process.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "batch/run_tool.h"
#include "support/temp_files.h"

namespace lumivar::batch {
namespace {

using lumivar::testing::run_tool;
using lumivar::testing::ToolRun;

const std::string kExamples = LUMIVAR_EXAMPLES;

std::vector<std::string> example(const std::string& command) {
  return {command, "--data", kExamples + "/landmarks.txt", "--reps", kExamples + "/reps.txt",
          "--groups", kExamples + "/groups.txt"};
}

std::vector<std::string> with(std::vector<std::string> words, const std::vector<std::string>& more) {
  words.insert(words.end(), more.begin(), more.end());
  return words;
}

TEST(CommandLine, EveryMistakeExitsWith1AndHelpAndVersionWith0) {
  const std::vector<std::vector<std::string>> mistakes = {
      {},                                           // no command
      {"analyse"},                                  // no such command
      {"varexp", "--data"},                         // an option without its value
      {"load"},                                     // --data missing
      {"load", "--data", kExamples + "/nothing-here.txt"},
      with(example("varexp"), {"--format", "xml"}),
      with(example("varexp"), {"--bogus"}),
      with(example("permute"), {"--permutations", "9", "--threads", "-2"}),
      with(example("permute"), {"--permutations", "9", "--engine", "slow"}),
      example("permute"),                           // --permutations missing
  };
  for (const auto& words : mistakes) {
    const ToolRun r = run_tool(words);
    std::string line;
    for (const std::string& w : words) line += w + " ";
    EXPECT_EQ(r.status, 1) << line << "\n" << r.err;
    EXPECT_EQ(r.out, "") << line;
    EXPECT_NE(r.err, "") << line;
  }
  const ToolRun help = run_tool({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("permute"), std::string::npos) << help.out;
  const ToolRun permute_help = run_tool({"permute", "--help"});
  EXPECT_EQ(permute_help.status, 0);
  EXPECT_NE(permute_help.out.find("--seed"), std::string::npos) << permute_help.out;
  const ToolRun version = run_tool({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "lumivar-batch " + std::string(LUMIVAR_VERSION) + "\n");
}

TEST(CommandLine, SeedsBeyond64BitsOrNotWholeAreRefused) {
  for (const std::string seed : {"-1", "1e23", "18446744073709551616", "42abc", "4.5", " 7", ""}) {
    const ToolRun r = run_tool(with(example("permute"), {"--permutations", "9", "--seed", seed}));
    EXPECT_EQ(r.status, 1) << "seed \"" << seed << "\"";
    EXPECT_EQ(r.out, "") << "seed \"" << seed << "\"";
    EXPECT_NE(r.err.find("--seed: must be a whole number from 0 to 18446744073709551615"),
              std::string::npos)
        << r.err;
  }
  // The largest seed there is, and the smallest, are seeds like any other.
  for (const std::string seed : {"18446744073709551615", "0"}) {
    const ToolRun r = run_tool(
        with(example("permute"), {"--permutations", "9", "--seed", seed, "--format", "json"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["provenance"]["seed"].dump(), seed);
  }
}

TEST(CommandLine, JsonNamesFilesWhoseNamesAreNotUtf8) {
  // A name written on a system set to Latin-1: "ÿ" as the single byte 0xFF.
  const lumivar::testing::TempFolder t;
  const std::string data = t.path() + "/landmarks-\xff.txt";
  std::filesystem::copy_file(kExamples + "/landmarks.txt", data);
  const ToolRun r = run_tool({"varexp", "--data", data, "--reps", kExamples + "/reps.txt", "--groups",
                              kExamples + "/groups.txt", "--format", "json"});
  ASSERT_EQ(r.status, 0) << r.err;
  const nlohmann::json j = nlohmann::json::parse(r.out);
  // The byte that is not UTF-8 becomes U+FFFD, the rest of the name stays.
  EXPECT_EQ(j["provenance"]["inputs"][0]["path"], t.path() + "/landmarks-\xEF\xBF\xBD.txt");
  EXPECT_EQ(j["provenance"]["inputs"][0]["sha256"].get<std::string>().size(), 64u);
}

TEST(CommandLine, WarningsOfARunThatGoesOnAreNotTitledErrors) {
  const lumivar::testing::TempFolder t;
  // 80 rows of landmarks; 41 rows measured first and 39 second, and G2 codes
  // whose counts differ: loading warns about both and goes on.
  std::string reps, groups;
  for (int i = 0; i < 80; ++i) reps += i < 41 ? "1\n" : "2\n";
  for (int i = 0; i < 40; ++i) groups += std::to_string(i % 2 + 1) + (i < 25 ? " 1\n" : " 2\n");
  const ToolRun r = run_tool({"load", "--data", kExamples + "/landmarks.txt", "--reps",
                              t.write("reps.txt", reps), "--groups", t.write("groups.txt", groups)});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("Warning: In your repeated measure group code 1"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Warning: Mismatch in counts between groups"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("Error"), std::string::npos) << r.err;

  // A refusal ends the run and keeps its title.
  const ToolRun refused = run_tool(with(example("permute"), {"--permutations", "ten"}));
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("\nPermutation test: The box for the number of permutations"), std::string::npos)
      << refused.err;

  // 0 relabellings: the usual report on standard output, and on
  // standard error why every P is 1.
  const ToolRun none = run_tool(with(example("permute"), {"--permutations", "0", "--seed", "1"}));
  EXPECT_EQ(none.status, 0) << none.err;
  EXPECT_NE(none.out.find("using 0 permuations"), std::string::npos) << none.out;
  EXPECT_NE(none.err.find("Permutation test: No relabellings were made (0 permutations), so every P value "
                          "is 1"),
            std::string::npos)
      << none.err;
  EXPECT_EQ(none.out.find("No relabellings"), std::string::npos);
}

TEST(CommandLine, ARunBeyondAMinuteSaysSoAndCtrlCReportsACancel) {
  // Standard error is a file here, not a terminal.
  lumivar::testing::ToolOptions ctrl_c;
  ctrl_c.interrupt_when = "relabellings will take about";
  const ToolRun r = run_tool(with(example("permute"), {"--permutations", "1e12", "--seed", "1"}), ctrl_c);
  EXPECT_EQ(r.status, 130) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("This run of 1000000000000 relabellings will take about "), std::string::npos)
      << r.err;
  const std::string cancel = "Cancelled: The permutation test was cancelled after ";
  const std::size_t at = r.err.find(cancel);
  ASSERT_NE(at, std::string::npos) << r.err;
  EXPECT_EQ(r.err.substr(r.err.size() - 53),
            " of 1000000000000 relabellings; nothing was written.\n") << r.err;
  EXPECT_EQ(r.err.find("Error"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace lumivar::batch
