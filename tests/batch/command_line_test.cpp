// lumivar-batch run as a user runs it from a shell or a script: the exit
// status, standard output and standard error of its own process.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "batch/commands.h"
#include "batch/run_tool.h"
#include "support/temp_files.h"

namespace lumivar::batch {
namespace {

using lumivar::testing::example_words;
using lumivar::testing::run_tool;
using lumivar::testing::ToolRun;

const std::string kExamples = LUMIVAR_EXAMPLES;

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
      example_words("varexp", {"--format", "xml"}),
      example_words("varexp", {"--bogus"}),
      example_words("permute", {"--permutations", "9", "--threads", "-2"}),
      example_words("permute", {"--permutations", "9", "--engine", "slow"}),
      example_words("permute"),                           // --permutations missing
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
    const ToolRun r = run_tool(example_words("permute", {"--permutations", "9", "--seed", seed}));
    EXPECT_EQ(r.status, 1) << "seed \"" << seed << "\"";
    EXPECT_EQ(r.out, "") << "seed \"" << seed << "\"";
    EXPECT_NE(r.err.find("--seed: must be a whole number from 0 to 18446744073709551615"),
              std::string::npos)
        << r.err;
  }
  // The largest seed there is, and the smallest, are seeds like any other.
  for (const std::string seed : {"18446744073709551615", "0"}) {
    const ToolRun r = run_tool(
        example_words("permute", {"--permutations", "9", "--seed", seed, "--format", "json"}));
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
  EXPECT_NE(r.err.find("lumivar-batch: warning: In your repeated measure group code 1"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("lumivar-batch: warning: Mismatch in counts between groups"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("Error"), std::string::npos) << r.err;

  // A refusal ends the run: one error line.
  const ToolRun refused = run_tool(example_words("permute", {"--permutations", "ten"}));
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err.rfind("lumivar-batch: error: --permutations: must be one whole number of at least 0", 0),
            0u)
      << refused.err;

  // 0 relabellings: the usual report on standard output, and on
  // standard error why every P is 1.
  const ToolRun none = run_tool(example_words("permute", {"--permutations", "0", "--seed", "1"}));
  EXPECT_EQ(none.status, 0) << none.err;
  EXPECT_NE(none.out.find("using 0 permuations"), std::string::npos) << none.out;
  EXPECT_NE(none.err.find("lumivar-batch: warning: No relabellings were made (0 permutations), so every P value "
                          "is 1"),
            std::string::npos)
      << none.err;
  EXPECT_EQ(none.out.find("No relabellings"), std::string::npos);
}

TEST(CommandLine, ARunBeyondAMinuteSaysSoAndCtrlCReportsACancel) {
  // Standard error is a file here, not a terminal.
  lumivar::testing::ToolOptions ctrl_c;
  ctrl_c.interrupt_when = "relabellings will take about";
  const ToolRun r = run_tool(example_words("permute", {"--permutations", "1e12", "--seed", "1"}), ctrl_c);
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

// A study large enough that VarExp through the distance matrix takes a few
// seconds: 2000 specimens at two measurements, 12 landmarks at pseudo-random
// places (a fixed linear congruential sequence).
std::vector<std::string> large_study(const testing::TempFolder& t) {
  const int specimens = 2000, landmarks = 12;
  std::uint32_t state = 12345;
  const auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return std::to_string(state % 10000);
  };
  std::string data, reps, groups;
  for (int m = 1; m <= 2; ++m)
    for (int s = 1; s <= specimens; ++s) {
      for (int j = 0; j < 2 * landmarks; ++j) data += next() + " ";
      data += std::to_string(s) + "\n";
      reps += std::to_string(m) + "\n";
      if (m == 1) groups += std::to_string(1 + s % 2) + " " + std::to_string(1 + s / 2 % 2) + "\n";
    }
  return {"varexp", "--sums", "matrix", "--data", t.write("l.txt", data), "--reps", t.write("r.txt", reps),
          "--groups", t.write("g.txt", groups)};
}

TEST(CommandLine, CtrlCOrSigtermStopsVarExpWithNothingWritten) {
  const testing::TempFolder t;
  const std::vector<std::string> words = large_study(t);
  for (const int signal : {SIGINT, SIGTERM}) {
    lumivar::testing::ToolOptions options;
    options.interrupt_when = "distinct codes";  // the last status text, printed as the analysis starts
    options.signal = signal;
    const ToolRun r = run_tool(with(words, {"--plot", t.path() + "/pictures"}), options);
    // Ctrl-C ends with the status of a cancel; SIGTERM, once the run has
    // stopped, ends the program as that signal does.
    EXPECT_EQ(r.status, signal == SIGINT ? kCancelledStatus : 128 + SIGTERM) << r.err;
    EXPECT_EQ(r.out, "");
    const std::size_t at = r.err.find("\nCancelled: The analysis was cancelled ");
    ASSERT_NE(at, std::string::npos) << r.err;
    const std::string end = "; nothing was written.\n";
    EXPECT_EQ(r.err.substr(r.err.size() - end.size()), end) << r.err;
    EXPECT_FALSE(std::filesystem::exists(t.path() + "/pictures"));
  }
}

}  // namespace
}  // namespace lumivar::batch
