// Output that cannot be written: a full disk (/dev/full, a file-size limit),
// a standard output the shell closed, a picture that cannot take its place.
// The tool must say what was lost and why, exit 1, and leave no part of a file.
#include "batch/checked_output.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "batch/run_tool.h"
#include "support/error_message.h"
#include "support/temp_files.h"

namespace lumivar::batch {
namespace {

namespace fs = std::filesystem;
using lumivar::testing::example_words;
using lumivar::testing::names_in;
using lumivar::testing::run_tool;
using lumivar::testing::ToolOptions;
using lumivar::testing::ToolRun;

// The last line of `text` (which ends in a line break).
std::string last_line(const std::string& text) {
  const std::size_t end = text.empty() ? 0 : text.size() - 1;
  const std::size_t start = text.rfind('\n', end == 0 ? 0 : end - 1);
  return text.substr(start == std::string::npos ? 0 : start + 1);
}

TEST(CheckedOutput, EveryCommandSaysWhatStandardOutputLostAndWhy) {
  const testing::TempFolder t;
  const std::string tps = t.write("s.tps", "LM=3\n0 0\n1 0\n0 1\nID=a1\nLM=3\n0 0\n1 0\n0 2\nID=a2\n"
                                           "LM=3\n0 0\n2 0\n0 1\nID=b1\nLM=3\n0 0\n2 1\n0 1\nID=b2\n");
  const std::string sheet =
      t.write("s.csv", "id,specimen,measurement,G1,G2\na1,a,1,1,1\na2,a,2,1,1\nb1,b,1,2,1\nb2,b,2,2,1\n");
  struct Case {
    std::vector<std::string> words;
    std::string what;
  };
  const std::vector<Case> cases = {
      {example_words("varexp"), "the report"},
      {example_words("permute", {"--permutations", "99", "--seed", "1", "--format", "json"}), "the report"},
      {example_words("load"), "the status texts"},
      {{"import", "--landmarks", tps, "--sheet", sheet, "--out", t.path() + "/imported"},
       "the summary of the import"},
      {{"--version"}, "the version"},
      {{"varexp", "--help"}, "the help"},
  };
  const std::vector<std::pair<std::string, std::string>> sinks = {{"/dev/full", "No space left on device"},
                                                                  {"-", "Bad file descriptor"}};
  for (const Case& c : cases) {
    for (const auto& [sink, reason] : sinks) {
      ToolOptions options;
      options.stdout_to = sink;
      const ToolRun r = run_tool(c.words, options);
      EXPECT_EQ(r.status, 1) << c.words[0] << " > " << sink << "\n" << r.err;
      EXPECT_EQ(last_line(r.err), "lumivar-batch: error: Cannot write " + c.what + " to standard output: " + reason + ".\n")
          << c.words[0] << " > " << sink;
    }
  }
  // An import that cannot print its summary makes no folder.
  EXPECT_FALSE(fs::exists(t.path() + "/imported"));
  EXPECT_EQ(names_in(t.path()), (std::vector<std::string>{"s.csv", "s.tps"}));
}

TEST(CheckedOutput, APictureIsWrittenWholeOrNotAtAll) {
  const testing::TempFolder t;
  // A full disk while the first picture is written: no part of it is left,
  // and no temporary file either.
  ToolOptions full;
  full.file_size = 16 * 1024;  // the pictures of the example are larger
  const std::string full_folder = t.path() + "/full";
  const ToolRun r = run_tool(example_words("varexp", {"--plot", full_folder}), full);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(last_line(r.err), "lumivar-batch: error: Cannot write " + full_folder + "/shapes_G1.svg: File too large.\n");
  EXPECT_TRUE(names_in(full_folder).empty());

  // A picture whose place holds a folder: the pictures before it stay.
  const std::string taken = t.path() + "/taken";
  fs::create_directories(taken + "/shapes_G2.svg");
  const ToolRun blocked = run_tool(example_words("varexp", {"--plot", taken}));
  EXPECT_EQ(blocked.status, 1);
  EXPECT_EQ(blocked.out, "");
  EXPECT_EQ(last_line(blocked.err), "lumivar-batch: error: Cannot write " + taken + "/shapes_G2.svg: Is a directory.\n");
  EXPECT_EQ(names_in(taken), (std::vector<std::string>{"shapes_G1.svg", "shapes_G2.svg"}));
  EXPECT_EQ(testing::read_file(taken + "/shapes_G1.svg").substr(0, 5), "<?xml");

  // A folder the tool may not write in (only for a user the system holds to it).
  if (geteuid() != 0) {
    const std::string locked = t.path() + "/locked";
    fs::create_directories(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    const ToolRun refused = run_tool(example_words("varexp", {"--plot", locked}));
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(last_line(refused.err),
              "lumivar-batch: error: Cannot write " + locked + "/shapes_G1.svg: Permission denied.\n");
    fs::permissions(locked, fs::perms::owner_all);
    EXPECT_TRUE(names_in(locked).empty());
  }
}

TEST(CheckedOutput, AWholeFileReplacesALinkAndNeverWritesThroughIt) {
  const testing::TempFolder t;
  const std::string other = t.write("other.txt", "keep me");
  const std::string link = t.path() + "/picture.svg";
  fs::create_symlink(other, link);
  write_file_whole(link, "<svg/>");
  EXPECT_FALSE(fs::is_symlink(link));
  EXPECT_EQ(testing::read_file(link), "<svg/>");
  EXPECT_EQ(testing::read_file(other), "keep me");
  // Replacing an existing file keeps nothing of the old bytes.
  write_file_whole(other, "new");
  EXPECT_EQ(testing::read_file(other), "new");
  EXPECT_EQ(names_in(t.path()), (std::vector<std::string>{"other.txt", "picture.svg"}));
  // A folder that does not exist: the system's reason, and nothing made.
  EXPECT_ERROR_MSG(write_file_whole(t.path() + "/missing/a.svg", "x"),
                   "Cannot write " + t.path() + "/missing/a.svg: No such file or directory.");
}

}  // namespace
}  // namespace lumivar::batch
