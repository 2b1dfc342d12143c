// lumivar-batch as R and Python scripts run it: the tidy table as CSV, TSV
// and JSON, a quiet standard error, one-line errors (also as JSON), seeds
// that survive every reader, and options checked before any file is read.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "batch/error_output.h"
#include "batch/run_tool.h"
#include "support/temp_files.h"
#include "support/text_lines.h"

namespace lumivar::batch {
namespace {

using lumivar::testing::example_words;
using lumivar::testing::run_tool;
using lumivar::testing::ToolRun;

const std::string kExamples = LUMIVAR_EXAMPLES;
const std::string kErrorPrefix = "lumivar-batch: error: ";

std::string words_text(const std::vector<std::string>& words) {
  std::string s;
  for (const std::string& w : words) s += w + " ";
  return s;
}

TEST(Scripting, TheTableAsCsvTsvAndJsonHoldsTheSameRows) {
  const std::vector<std::string> run = example_words("permute", {"--permutations", "49", "--seed", "5", "--strata"});
  auto with_format = [&run](const char* format) {
    std::vector<std::string> w = run;
    w.insert(w.end(), {"--format", format, "--quiet"});
    return run_tool(w);
  };
  const ToolRun csv = with_format("csv"), tsv = with_format("tsv"), json = with_format("json");
  ASSERT_EQ(csv.status, 0) << csv.err;
  const auto table = lumivar::testing::table_fields(csv.out, ',');
  EXPECT_EQ(lumivar::testing::table_fields(tsv.out, '\t'), table);
  const nlohmann::json j = nlohmann::json::parse(json.out);
  ASSERT_EQ(table.size(), j["table"].size() + 1);  // the header
  ASSERT_EQ(table.size(), 18u);                     // 8 + 4 + 5 rows
  for (std::size_t i = 1; i < table.size(); ++i) {
    const nlohmann::json& row = j["table"][i - 1];
    for (std::size_t c = 0; c < table[0].size(); ++c) {
      const nlohmann::json& v = row[table[0][c]];
      if (v.is_string()) {
        EXPECT_EQ(v.get<std::string>(), table[i][c]);
      } else if (v.is_null()) {
        EXPECT_TRUE(table[i][c].empty() || table[i][c] == "NaN") << table[i][c];
      } else {
        EXPECT_EQ(std::stod(table[i][c]), v.get<double>()) << table[0][c] << " of row " << i;
      }
    }
  }
  // The rows carry what the other fields of the report say.
  for (std::size_t k = 0; k < 7; ++k) {
    EXPECT_EQ(j["table"][k]["p_perm_f"], j["effects"][k]["p_perm_f"]);
    EXPECT_EQ(j["table"][k]["p"], j["effects"][k]["p_perm_f"]);
    EXPECT_EQ(j["table"][k]["ss"], j["effects"][k]["ss"]);
  }
  EXPECT_EQ(j["table"][8]["term"], "G1");
  EXPECT_EQ(j["table"][8]["p"], j["strata"]["between"]["G1"]["p"]);
  EXPECT_EQ(j["table"][12]["term"], "T");
  EXPECT_EQ(j["table"][12]["z"], j["strata"]["within"]["T"]["z"]);
  EXPECT_EQ(j["table"][16]["ss"], j["strata"]["within"]["residual"]["ss"]);

  // VarExp has a table too, with its analytic P and no P to read.
  const ToolRun varexp = run_tool(example_words("varexp", {"--format", "csv", "--quiet"}));
  ASSERT_EQ(varexp.status, 0) << varexp.err;
  const auto v = lumivar::testing::table_fields(varexp.out, ',');
  ASSERT_EQ(v.size(), 9u);
  EXPECT_EQ(v[1][8].empty(), false);  // p_analytic
  EXPECT_EQ(v[1][11], "");            // p
}

TEST(Scripting, QuietRunsLeaveStandardErrorEmpty) {
  const lumivar::testing::TempFolder t;
  const std::vector<std::vector<std::string>> runs = {
      example_words("load"),
      example_words("varexp", {"--strata", "--plot", t.path() + "/v"}),
      example_words("permute", {"--permutations", "19", "--strata", "--format", "json", "--plot", t.path() + "/p"}),
      example_words("strata", {"--permutations", "9"}),
      example_words("shapes", {"--plot", t.path() + "/s"}),
  };
  for (const auto& words : runs) {
    const ToolRun loud = run_tool(words);
    ASSERT_EQ(loud.status, 0) << loud.err;
    if (words[0] != "load") {
      EXPECT_NE(loud.err, "") << words_text(words);  // status texts, files written
    }
    std::vector<std::string> quiet = words;
    quiet.push_back("--quiet");
    const ToolRun r = run_tool(quiet);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "") << words_text(quiet);
    EXPECT_NE(r.out, "");
  }
  EXPECT_TRUE(std::ifstream(t.path() + "/p/f_G1.svg").good());
  // Before the command too.
  std::vector<std::string> first = example_words("varexp");
  first.insert(first.begin(), "--quiet");
  const ToolRun before = run_tool(first);
  EXPECT_EQ(before.status, 0);
  EXPECT_EQ(before.err, "");

  // A warning is still told, as one line with its prefix.
  std::string reps;
  for (int i = 0; i < 80; ++i) reps += i < 41 ? "1\n" : "2\n";
  const ToolRun warned = run_tool({"load", "--data", kExamples + "/landmarks.txt", "--reps",
                                   t.write("reps.txt", reps), "--quiet"});
  ASSERT_EQ(warned.status, 0);
  EXPECT_EQ(warned.err.rfind("lumivar-batch: warning: In your repeated measure group code 1", 0), 0u)
      << warned.err;
}

TEST(Scripting, EveryErrorIsOneLineAndWithJsonAlsoAnObjectOnStandardOutput) {
  const lumivar::testing::TempFolder t;
  const std::string empty = t.write("empty.txt", "");
  const std::vector<std::vector<std::string>> mistakes = {
      {"varexp", "--format", "json"},                                 // no input
      {"varexp", "--data", kExamples + "/nothing-here.txt", "--format", "json"},
      example_words("permute", {"--permutations", "9", "--threads", "x", "--format", "json"}),
      {"load", "--data", empty, "--format=json"},                     // load has no --format: still JSON
      {"varexp", "--data", empty, "--reps", kExamples + "/reps.txt", "--groups",
       kExamples + "/groups.txt", "--format", "json"},                // the reader's refusal
      example_words("varexp", {"--strata", "--format", "json", "--reps", empty}),
  };
  for (const auto& words : mistakes) {
    const ToolRun r = run_tool(words);
    EXPECT_EQ(r.status, 1) << words_text(words);
    ASSERT_EQ(r.err.rfind(kErrorPrefix, 0), 0u) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;  // one line
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["error"].get<std::string>() + "\n", r.err.substr(kErrorPrefix.size()));
  }
  // A file that gives nothing is said once, not as a box and again as an error.
  const ToolRun nothing = run_tool({"load", "--data", empty});
  EXPECT_EQ(nothing.err, kErrorPrefix + "The file " + empty + " holds no numbers. Nothing was loaded.\n");
}

TEST(Scripting, MessagesOfSeveralLinesAreFoldedIntoOne) {
  // A list after its head, then a closing sentence; blank lines and the
  // lines' indentation go, the words stay.
  EXPECT_EQ(one_line("The study cannot be built (2 problems):\n  id \"a\" twice.\n\n  id \"b\" missing.\nNothing "
                     "was loaded.\n"),
            "The study cannot be built (2 problems): id \"a\" twice. id \"b\" missing. Nothing was loaded.");
  EXPECT_EQ(one_line("Cells and their counts\n  1: 3\n  2: 4"), "Cells and their counts; 1: 3; 2: 4");
  EXPECT_EQ(one_line("one line  with  blanks"), "one line  with  blanks");
  EXPECT_EQ(one_line("\r\n\n"), "");
  EXPECT_EQ(nlohmann::json::parse(error_json_text("a\nb"))["error"], "a; b");
}

TEST(Scripting, OptionsAreCheckedBeforeAnyFileIsRead) {
  // A landmark file that the reader refuses: when an option is wrong, the
  // message is the option's, so nothing was read before it was checked.
  const lumivar::testing::TempFolder t;
  const std::string broken = t.write("broken.txt", "1 2 3\n4 5\n");
  const std::vector<std::string> study = {"permute", "--data", broken, "--reps", kExamples + "/reps.txt",
                                          "--groups", kExamples + "/groups.txt"};
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--permutations", "abc"}, "--permutations: must be one whole number of at least 0 (given: \"abc\")"},
      {{"--permutations", "-1"}, "--permutations: must be one whole number of at least 0 (given: \"-1\")"},
      {{"--permutations", "10x"}, "--permutations: must be one whole number of at least 0 (given: \"10x\")"},
      {{"--permutations", "9", "--threads", "-1"}, "--threads: must be a whole number from 0 (all cores) to 4096"},
      {{"--permutations", "9", "--engine", "reference", "--sums", "coordinates"},
       "--engine reference cannot go with --sums coordinates"},
  };
  for (const auto& [options, message] : cases) {
    std::vector<std::string> words = study;
    words.insert(words.end(), options.begin(), options.end());
    const ToolRun r = run_tool(words);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind(kErrorPrefix + message, 0), 0u) << r.err;
    EXPECT_EQ(r.err.find("box"), std::string::npos) << r.err;  // options, not a window's box
    EXPECT_LT(r.err.size(), 200u) << r.err;                      // no 309-digit bound
  }
  const ToolRun unknown = run_tool({"analyse", "--data", broken});
  EXPECT_EQ(unknown.err, kErrorPrefix + "unknown command \"analyse\": the commands are load, varexp, "
                                        "permute, strata, import or shapes\n");
}

TEST(Scripting, TheSeedOfARunWithoutOneRepeatsIt) {
  // Text: the last line names the seed drawn, in the form --seed takes.
  const ToolRun drawn = run_tool(example_words("permute", {"--permutations", "29", "--quiet"}));
  ASSERT_EQ(drawn.status, 0) << drawn.err;
  std::smatch m;
  ASSERT_TRUE(std::regex_search(drawn.out, m, std::regex("\n\nSeed: ([0-9]+) \\(--seed ([0-9]+) repeats this run\\)\n$")))
      << drawn.out;
  EXPECT_EQ(m[1], m[2]);
  EXPECT_EQ(run_tool(example_words("permute", {"--permutations", "29", "--quiet", "--seed", m[1]})).out, drawn.out);

  // JSON: the seed also as text, which a reader that keeps numbers as
  // doubles cannot round; the run made again from it is the same run.
  const std::vector<std::string> json_run = example_words("permute", {"--permutations", "29", "--quiet", "--format", "json"});
  const nlohmann::json first = nlohmann::json::parse(run_tool(json_run).out);
  const std::string seed = first["seed_text"];
  EXPECT_EQ(std::to_string(first["seed"].get<std::uint64_t>()), seed);
  EXPECT_EQ(first["provenance"]["seed_text"], seed);
  std::vector<std::string> again = json_run;
  again.insert(again.end(), {"--seed", seed});
  const nlohmann::json second = nlohmann::json::parse(run_tool(again).out);
  EXPECT_EQ(second["table"], first["table"]);

  // Provenance: the way to the sums and the command line as given.
  EXPECT_EQ(second["provenance"]["sums"], "matrix");
  std::vector<std::string> words = {LUMIVAR_BATCH};
  words.insert(words.end(), again.begin(), again.end());
  EXPECT_EQ(second["provenance"]["command_line"], words);
  const ToolRun coordinates = run_tool(example_words("varexp", {"--sums", "coordinates", "--format", "json"}));
  EXPECT_EQ(nlohmann::json::parse(coordinates.out)["provenance"]["sums"], "coordinates");
}

// Every field name in `j`, nested ones included.
void collect_fields(const nlohmann::json& j, std::set<std::string>& names) {
  if (j.is_object()) {
    for (const auto& [key, value] : j.items()) {
      names.insert(key);
      collect_fields(value, names);
    }
  } else if (j.is_array()) {
    for (const auto& v : j) collect_fields(v, names);
  }
}

TEST(Scripting, EveryJsonFieldIsDocumented) {
  std::ifstream in(kExamples + "/../docs/json.md");
  ASSERT_TRUE(in.good());
  std::stringstream doc;
  doc << in.rdbuf();
  std::set<std::string> names;
  for (const auto& words :
       {example_words("varexp", {"--strata", "--format", "json"}),
        example_words("permute", {"--permutations", "9", "--strata", "--format", "json"}),
        example_words("permute", {"--permutations", "x", "--format", "json"}),
        example_words("strata", {"--permutations", "9", "--format", "json"}),
        example_words("shapes", {"--components", "2", "--format", "json"})}) {
    const ToolRun r = run_tool(words);
    collect_fields(nlohmann::json::parse(r.out), names);
  }
  EXPECT_GT(names.size(), 50u);
  for (const std::string& name : names)
    EXPECT_NE(doc.str().find("`" + name + "`"), std::string::npos) << name << " is not in docs/json.md";
}

}  // namespace
}  // namespace lumivar::batch
