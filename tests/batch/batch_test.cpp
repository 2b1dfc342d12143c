#include "batch/commands.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "runtime/sha256.h"
#include "batch_run.h"
#include "support/temp_files.h"

namespace lumivar::batch {
namespace {

const std::string kExamples = LUMIVAR_EXAMPLES;

CommandLine example(const std::string& groups = kExamples + "/groups.txt") {
  CommandLine o;
  o.inputs.data = kExamples + "/landmarks.txt";
  o.inputs.reps = kExamples + "/reps.txt";
  o.inputs.groups = groups;
  return o;
}

using testing::read_file;

TEST(Batch, LoadPrintsTheStatusTextsOfTheFilesGiven) {
  testing::TempFolder t;
  std::string wing, wing_crlf;
  for (int i = 0; i < 30; ++i) {
    std::string line;
    for (int j = 0; j < 31; ++j) line += std::to_string(i + j) + (j < 30 ? " " : "");
    wing += line + "\n";
    wing_crlf += line + "\r\n";
  }
  CommandLine o;
  o.inputs.data = t.write("wing.txt", wing);
  const BatchRun r = run_batch(Command::kLoad, o);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "File: wing.txt \n  30 Specimens \n  15 Landmarks\n");
  testing::TempFolder crlf;
  o.inputs.data = crlf.write("wing.txt", wing_crlf);
  EXPECT_EQ(run_batch(Command::kLoad, o).out, r.out);
}

TEST(Batch, VarexpOnTheExampleIsReproducibleAndIndependentOfCodeLabels) {
  const BatchRun first = run_batch(Command::kVarExp, example());
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out.rfind("For the entire data set, SS=", 0), 0u);
  EXPECT_EQ(first.out.back(), '\n');
  EXPECT_EQ(run_batch(Command::kVarExp, example()).out, first.out);

  // G1 codes 1 and 2 written as 7 and 9.
  testing::TempFolder t;
  std::istringstream groups(read_file(kExamples + "/groups.txt"));
  std::string relabelled;
  double g1, g2;
  while (groups >> g1 >> g2) relabelled += std::to_string(g1 == 1 ? 7 : 9) + " " + std::to_string(g2) + "\n";
  EXPECT_EQ(run_batch(Command::kVarExp, example(t.write("groups7.txt", relabelled))).out, first.out);

  CommandLine json = example();
  json.format = "json";
  const nlohmann::json j = nlohmann::json::parse(run_batch(Command::kVarExp, json).out);
  double per_exp = j["error"]["per_exp"].get<double>();
  for (const auto& e : j["effects"]) per_exp += e["per_exp"].get<double>();
  EXPECT_NEAR(per_exp, 100, 1e-10);
  EXPECT_EQ(j["effects"].size(), 7u);
  EXPECT_EQ(j["effects"][2]["effect"], "T(rep)");
}

TEST(Batch, PermuteGivesTheSameTextForAnyNumberOfThreads) {
  CommandLine o = example();
  o.permutations = "199";
  o.seed = 42;
  o.threads = 1;
  const BatchRun one = run_batch(Command::kPermute, o);
  ASSERT_EQ(one.status, 0) << one.err;
  EXPECT_NE(one.out.find("using 199 permuations"), std::string::npos);
  for (int threads : {2, 7}) {
    o.threads = threads;
    EXPECT_EQ(run_batch(Command::kPermute, o).out, one.out) << threads << " threads";
  }
  o.engine = "reference";
  EXPECT_EQ(run_batch(Command::kPermute, o).out, one.out);

  o.format = "json";
  const nlohmann::json j = nlohmann::json::parse(run_batch(Command::kPermute, o).out);
  EXPECT_EQ(j["seed"], 42);
  EXPECT_EQ(j["permutations"], 199);
  EXPECT_EQ(j["engine"], "reference");
  const auto& g1 = j["effects"][0];
  const double p = g1["p_perm_f"];
  EXPECT_DOUBLE_EQ(g1["p_perm_f_se"].get<double>(), std::sqrt(p * (1 - p) / 200));
}

TEST(Batch, FailuresExitNonZeroWithOneLineAndNoReport) {
  CommandLine o = example();
  o.permutations = "ten";
  const BatchRun bad_count = run_batch(Command::kPermute, o);
  EXPECT_EQ(bad_count.status, 1);
  EXPECT_TRUE(bad_count.out.empty());
  EXPECT_NE(bad_count.err.find("one whole number of at least 0"), std::string::npos);

  CommandLine missing = example();
  missing.inputs.reps = kExamples + "/no-such-file.txt";
  const BatchRun r = run_batch(Command::kVarExp, missing);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find("no-such-file.txt"), std::string::npos);

}

TEST(Batch, PicturesGoIntoTheFolderGivenAndAreNamedOnStandardError) {
  testing::TempFolder t;
  CommandLine o = example();
  o.permutations = "99";
  o.seed = 3;
  o.format = "json";
  const BatchRun plain = run_batch(Command::kPermute, o);
  o.plot_dir = t.path() + "/new/pictures";  // made, parents and all
  const BatchRun r = run_batch(Command::kPermute, o);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, plain.out);  // the report does not change
  for (const char* name : {"shapes_G1", "shapes_G2", "shapes_T", "f_G1", "f_G2", "f_T", "f_G1xG2",
                           "f_G1xT", "f_G2xT", "f_G1xG2xT"}) {
    const std::string path = o.plot_dir + "/" + name + ".svg";
    const std::string svg = read_file(path);
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u) << name;
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n") << name;
    EXPECT_NE(r.err.find("Wrote " + path + "\n"), std::string::npos) << name;
  }
  // Each histogram names the P value of the report.
  const nlohmann::json j = nlohmann::json::parse(r.out);
  char p[32];
  std::snprintf(p, sizeof p, "P = %.4f from 99 relabellings", j["effects"][3]["p_perm_f"].get<double>());
  EXPECT_NE(read_file(o.plot_dir + "/f_G1xG2.svg").find(p), std::string::npos) << p;

  // A relative folder is taken from where the tool started, though loads
  // change the working folder; "varexp" draws the shapes only.
  testing::KeepWorkingFolder keep;
  std::filesystem::current_path(t.path());
  CommandLine v = example();
  v.plot_dir = "rel";
  ASSERT_EQ(run_batch(Command::kVarExp, v).status, 0);
  EXPECT_TRUE(std::filesystem::exists(t.path() + "/rel/shapes_T.svg"));
  EXPECT_FALSE(std::filesystem::exists(t.path() + "/rel/f_G1.svg"));

  // A folder that cannot be made: an error and no report.
  v.plot_dir = t.write("file.txt", "") + "/sub";
  const BatchRun bad = run_batch(Command::kVarExp, v);
  EXPECT_EQ(bad.status, 1);
  EXPECT_TRUE(bad.out.empty());
  EXPECT_NE(bad.err.find("lumivar-batch: error: Cannot make the folder " + v.plot_dir), std::string::npos) << bad.err;
}

TEST(Batch, JsonReportsCarryTheProvenanceOfTheRun) {
  testing::TempFolder t;
  testing::KeepWorkingFolder keep;
  const std::string landmarks = read_file(kExamples + "/landmarks.txt");
  t.write("landmarks.txt", landmarks);
  std::filesystem::current_path(t.path());
  CommandLine o = example();
  o.inputs.data = "landmarks.txt";  // relative to the starting folder
  o.format = "json";
  o.permutations = "20";
  o.seed = 42;
  o.threads = 2;
  o.engine = "reference";
  const BatchRun r = run_batch(Command::kPermute, o);
  ASSERT_EQ(r.status, 0) << r.err;
  const nlohmann::json p = nlohmann::json::parse(r.out)["provenance"];
  EXPECT_EQ(p["program"], "lumivar-batch");
  EXPECT_TRUE(std::regex_match(p["version"].get<std::string>(), std::regex(R"(\d+\.\d+\.\d+)")));
  EXPECT_EQ(p["seed"], 42);
  EXPECT_EQ(p["permutations"], 20);
  EXPECT_EQ(p["engine"], "reference");
  EXPECT_EQ(p["threads"], 2);
  ASSERT_EQ(p["inputs"].size(), 3u);
  const nlohmann::json& data = p["inputs"][0];
  EXPECT_EQ(data["role"], "data");
  EXPECT_EQ(data["path"], "landmarks.txt");
  EXPECT_EQ(data["absolute_path"], (std::filesystem::path(t.path()) / "landmarks.txt").string());
  EXPECT_EQ(data["sha256"], runtime::sha256_hex(landmarks));
  EXPECT_EQ(p["inputs"][2]["role"], "groups");
  EXPECT_EQ(p["inputs"][2]["sha256"], runtime::sha256_hex(read_file(kExamples + "/groups.txt")));

  const nlohmann::json v = nlohmann::json::parse(run_batch(Command::kVarExp, o).out)["provenance"];
  EXPECT_EQ(v["inputs"], p["inputs"]);
  EXPECT_FALSE(v.contains("seed"));
  EXPECT_EQ(v["version"], p["version"]);
}

TEST(Batch, InputsThatAreNoRegularFilesAreRefusedAtOnce) {
  testing::TempFolder t;
  const std::string fifo = t.path() + "/landmarks.fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& data : {fifo, std::string("/dev/zero"), t.path()}) {
    CommandLine o = example();
    o.inputs.data = data;
    o.format = "json";  // the digest used to read the input a second time
    const BatchRun r = run_batch(Command::kVarExp, o);
    EXPECT_EQ(r.status, 1) << data;
    // No report; the error as JSON, for the script that parses standard output.
    EXPECT_EQ(nlohmann::json::parse(r.out)["error"].get<std::string>() + "\n",
              r.err.substr(std::string("lumivar-batch: error: ").size()))
        << data;
    EXPECT_NE(r.err.find("Cannot load " + data + ": it is a"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << r.err;
  }
}

TEST(Batch, FilesWithCarriageReturnLineEndsGiveTheSameReport) {
  testing::TempFolder t;
  CommandLine cr = example();
  for (auto* path : {&cr.inputs.data, &*cr.inputs.reps, &*cr.inputs.groups}) {
    std::string text = read_file(*path);
    std::replace(text.begin(), text.end(), '\n', '\r');
    *path = t.write(std::filesystem::path(*path).filename().string(), text);
  }
  const BatchRun lf = run_batch(Command::kVarExp, example());
  const BatchRun r = run_batch(Command::kVarExp, cr);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, lf.out);
}

TEST(Batch, BrokenLandmarkFilesAreRefusedWithTheirLineAndNoReport) {
  testing::TempFolder t;
  const std::pair<const char*, const char*> files[] = {
      {"1 2 3\n4 5\n", ", line 2: the line holds 2 numbers, but the first line holds 3.\n"},
      // Written by a spreadsheet under a locale with decimal commas.
      {"12,5 3,25 4,0 5,5 1\n",
       ", line 1: the values are separated by blanks or tabs, and \"12,5\" has a comma between two digits: "
       "the file seems to use decimal commas. Write the numbers with decimal points.\n"},
  };
  CommandLine o = example();
  for (const auto& [text, problem] : files) {
    o.inputs.data = t.write("landmarks.txt", text);
    const BatchRun r = run_batch(Command::kVarExp, o);
    EXPECT_EQ(r.status, 1) << text;
    EXPECT_TRUE(r.out.empty()) << text;
    EXPECT_EQ(r.err, "lumivar-batch: error: File " + o.inputs.data + problem) << text;
  }

  // Control bytes in a value are shown escaped, never sent to the terminal.
  o.inputs.data = t.write("esc.txt", "1 2 3 4 5\n1 2 3 \x1b]0;owned\x07 5\n");
  const BatchRun esc = run_batch(Command::kVarExp, o);
  EXPECT_EQ(esc.status, 1);
  EXPECT_NE(esc.err.find("\"\\x1B]0;owned\\x07\" is not a number."), std::string::npos) << esc.err;
  EXPECT_EQ(esc.err.find('\x1b'), std::string::npos);
  EXPECT_EQ(esc.err.find('\x07'), std::string::npos);
}

TEST(Batch, TheProvenanceDigestIsOfTheBytesTheLoadRead) {
  // Notes after the blank line that ends the data: read and hashed with it,
  // so the digest is that of the whole file, as sha256sum gives it.
  testing::TempFolder t;
  const std::string landmarks = read_file(kExamples + "/landmarks.txt") + "\nmeasured by A. on day 2\n";
  CommandLine o = example();
  o.inputs.data = t.write("landmarks.txt", landmarks);
  o.format = "json";
  const BatchRun r = run_batch(Command::kVarExp, o);
  ASSERT_EQ(r.status, 0) << r.err;
  const nlohmann::json inputs = nlohmann::json::parse(r.out)["provenance"]["inputs"];
  EXPECT_EQ(inputs[0]["sha256"], runtime::sha256_hex(landmarks));
  EXPECT_EQ(inputs[1]["sha256"], runtime::sha256_hex(read_file(kExamples + "/reps.txt")));
}

TEST(Batch, ReportsAreTheSameUnderALocaleWithDecimalCommas) {
  // As in the window program, which runs under the user's locale.
  const BatchRun c = run_batch(Command::kVarExp, example());
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
    GTEST_SKIP() << "The locale de_DE.UTF-8 is not installed (scripts/install-deps generates it).";
  const BatchRun german = run_batch(Command::kVarExp, example());
  std::setlocale(LC_ALL, saved.c_str());
  ASSERT_EQ(german.status, 0) << german.err;
  EXPECT_EQ(german.out, c.out);
  EXPECT_EQ(german.err, c.err);  // the status texts too
}

}  // namespace
}  // namespace lumivar::batch
