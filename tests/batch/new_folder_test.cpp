// The study's folder made by "import": all at once or not at all, never
// where something already is, never through a link, and nothing left behind
// by a failure, a cancel or a rival import.
#include "batch/new_folder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "batch/commands.h"
#include "batch/run_tool.h"
#include "batch_run.h"
#include "runtime/error.h"
#include "support/error_message.h"
#include "support/temp_files.h"

namespace lumivar::batch {
namespace {

namespace fs = std::filesystem;
using namespace lumivar::testing;  // run_tool, ToolRun, ToolOptions, names_in

const FolderFiles kFiles = {{"a.txt", "1 2\n"}, {"b.txt", "3\n"}};

std::string refusal(const std::string& path) {
  return "The folder " + path + " already exists; nothing was written. Give a folder that does not exist yet: "
         "the import makes it.";
}

TEST(NewFolder, MakesTheFolderWithItsParentsAndRefusesAnythingAlreadyThere) {
  const testing::TempFolder t;
  const std::string made = t.path() + "/x/y/study";
  make_new_folder(made, kFiles, nullptr);
  EXPECT_EQ(names_in(made), (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(testing::read_file(made + "/a.txt"), "1 2\n");
  // Readable by others as any folder the user makes, not only by its owner.
  EXPECT_NE(fs::status(made).permissions() & fs::perms::others_exec, fs::perms::none);

  // An empty folder, a file, a link to a folder, a link to nowhere.
  fs::create_directories(t.path() + "/empty");
  t.write("file", "");
  fs::create_directories(t.path() + "/elsewhere");
  fs::create_directory_symlink(t.path() + "/elsewhere", t.path() + "/to_folder");
  fs::create_symlink(t.path() + "/nowhere", t.path() + "/dangling");
  for (const char* name : {"empty", "file", "to_folder", "dangling", "x/y/study"}) {
    const std::string path = t.path() + "/" + name;
    EXPECT_EQ(testing::error_message([&] { make_new_folder(path, kFiles, nullptr); }), refusal(path)) << name;
  }
  EXPECT_TRUE(names_in(t.path() + "/elsewhere").empty());
  EXPECT_FALSE(fs::exists(t.path() + "/nowhere"));
  EXPECT_EQ(names_in(t.path()),
            (std::vector<std::string>{"dangling", "elsewhere", "empty", "file", "to_folder", "x"}));
}

TEST(NewFolder, AFailureACancelOrARivalLeavesNothingBehind) {
  const testing::TempFolder t;
  const std::string path = t.path() + "/new/study";
  // Ctrl-C before the writes end: the parents made for it go too.
  const std::atomic<bool> pressed{true};
  EXPECT_THROW(make_new_folder(path, kFiles, &pressed), runtime::Cancelled);
  EXPECT_TRUE(names_in(t.path()).empty());

  // Whatever fails once the files are written (printing the summary).
  EXPECT_EQ(testing::error_message([&] { make_new_folder(path, kFiles, nullptr, [] { runtime::raise("no summary"); }); }),
            "no summary");
  EXPECT_TRUE(names_in(t.path()).empty());

  // Another process makes the folder while this one writes: refused, and
  // what the other made is left as it is.
  fs::create_directories(t.path() + "/new");
  EXPECT_EQ(testing::error_message([&] {
              make_new_folder(path, kFiles, nullptr, [&] { fs::create_directories(path + "/theirs"); });
            }),
            refusal(path));
  EXPECT_EQ(names_in(t.path() + "/new"), (std::vector<std::string>{"study"}));
  EXPECT_EQ(names_in(path), (std::vector<std::string>{"theirs"}));
  // An empty folder made meanwhile is not replaced either.
  const std::string late = t.path() + "/new/late";
  EXPECT_EQ(testing::error_message([&] {
              make_new_folder(late, kFiles, nullptr, [&] { fs::create_directory(late); });
            }),
            refusal(late));
  EXPECT_TRUE(names_in(late).empty());
  EXPECT_EQ(names_in(t.path() + "/new"), (std::vector<std::string>{"late", "study"}));
}

TEST(NewFolder, AFolderThatCannotBeMadeOrSearchedGivesTheSystemsReason) {
  const testing::TempFolder t;
  const std::string file = t.write("file.txt", "");
  EXPECT_EQ(testing::error_message([&] { make_new_folder(file + "/study", kFiles, nullptr); }),
            "Cannot make the folder " + file + "/study: " + file + " is not a folder.");
  EXPECT_EQ(testing::error_message([&] { make_new_folder(file + "/sub/study", kFiles, nullptr); }),
            "Cannot look into the folder " + file + "/sub: Not a directory.");
  EXPECT_EQ(testing::error_message([&] { make_new_folder(t.path() + "/..", kFiles, nullptr); }),
            "Cannot make the folder " + t.path() + "/..: give the name of a new folder.");
  // A folder the user may read but not write in, and one it may not search
  // (only for a user the system holds to permissions).
  if (geteuid() != 0) {
    const std::string locked = t.path() + "/locked";
    fs::create_directories(locked + "/inner");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(testing::error_message([&] { make_new_folder(locked + "/study", kFiles, nullptr); }),
              "Cannot make the folder " + locked + "/study: Permission denied.");
    fs::permissions(locked, fs::perms::owner_write);
    EXPECT_EQ(testing::error_message([&] { make_new_folder(locked + "/inner/study", kFiles, nullptr); }),
              "Cannot look into the folder " + locked + "/inner: Permission denied.");
    fs::permissions(locked, fs::perms::owner_all);
    EXPECT_EQ(names_in(locked), (std::vector<std::string>{"inner"}));
    EXPECT_TRUE(names_in(locked + "/inner").empty());
    fs::remove_all(locked);
  }
  EXPECT_EQ(names_in(t.path()), (std::vector<std::string>{"file.txt"}));
}

// Two small studies of different sizes, as a TPS file and a sheet each.
struct Study {
  std::string tps, sheet;
};

Study small_study(const testing::TempFolder& t, const std::string& name, int specimens) {
  std::string tps, sheet = "id,specimen,measurement,G1,G2\n";
  for (int s = 0; s < specimens; ++s)
    for (int m = 1; m <= 2; ++m) {
      const std::string id = "s" + std::to_string(s) + "m" + std::to_string(m);
      tps += "LM=3\n0 0\n" + std::to_string(1 + s % 3) + " 0\n0 " + std::to_string(m + s % 2) + "\nID=" + id + "\n";
      sheet += id + ",s" + std::to_string(s) + "," + std::to_string(m) + "," + std::to_string(1 + s % 2) + ",1\n";
    }
  return {t.write(name + ".tps", tps), t.write(name + ".csv", sheet)};
}

std::vector<std::string> import_words(const Study& s, const std::string& out) {
  return {"import", "--landmarks", s.tps, "--sheet", s.sheet, "--out", out};
}

TEST(StudyImport, ConcurrentImportsIntoOneNewFolderNeverMix) {
  const testing::TempFolder t;
  const Study a = small_study(t, "a", 6), b = small_study(t, "b", 9);
  // What each import makes alone.
  ASSERT_EQ(run_tool(import_words(a, t.path() + "/alone_a")).status, 0);
  ASSERT_EQ(run_tool(import_words(b, t.path() + "/alone_b")).status, 0);
  const std::string landmarks_a = testing::read_file(t.path() + "/alone_a/landmarks.txt");
  const std::string landmarks_b = testing::read_file(t.path() + "/alone_b/landmarks.txt");
  const std::string groups_a = testing::read_file(t.path() + "/alone_a/groups.txt");
  const std::string groups_b = testing::read_file(t.path() + "/alone_b/groups.txt");
  for (int round = 0; round < 6; ++round) {
    const std::string place = t.path() + "/race" + std::to_string(round);
    fs::create_directories(place);
    const std::string out = place + "/study";
    ToolRun ra, rb;
    std::thread first([&] { ra = run_tool(import_words(a, out)); });
    std::thread second([&] { rb = run_tool(import_words(b, out)); });
    first.join();
    second.join();
    ASSERT_EQ((ra.status == 0) + (rb.status == 0), 1) << round << "\n" << ra.err << rb.err;
    // The loser may have printed its summary (it does before the rename);
    // it then says that it made nothing.
    const ToolRun& lost = ra.status == 0 ? rb : ra;
    EXPECT_EQ(lost.status, 1);
    EXPECT_EQ(lost.err, "lumivar-batch: error: " + refusal(out) + "\n");
    const bool a_won = ra.status == 0;
    EXPECT_EQ(testing::read_file(out + "/landmarks.txt"), a_won ? landmarks_a : landmarks_b) << round;
    EXPECT_EQ(testing::read_file(out + "/groups.txt"), a_won ? groups_a : groups_b) << round;
    EXPECT_EQ(names_in(place), (std::vector<std::string>{"study"})) << round;
  }
}

TEST(StudyImport, AFullDiskOrCtrlCDuringTheWritesLeavesNothing) {
  const testing::TempFolder t;
  const Study s = small_study(t, "s", 40);
  ToolOptions full;
  full.file_size = 1024;  // landmarks.txt of 80 rows is larger
  const ToolRun r = run_tool(import_words(s, t.path() + "/out/study"), full);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "lumivar-batch: error: Cannot write " + t.path() + "/out/study/landmarks.txt: File too large.\n");
  EXPECT_FALSE(fs::exists(t.path() + "/out"));

  // Ctrl-C after the files were read: a cancel, status 130, no folder.
  CommandLine o;
  o.study.sources.landmarks = s.tps;
  o.study.sources.sheet = s.sheet;
  o.study.out_dir = t.path() + "/out/study";
  const std::atomic<bool> pressed{true};
  o.cancel = &pressed;
  const BatchRun cancelled = run_batch(Command::kImport, o);
  EXPECT_EQ(cancelled.status, kCancelledStatus);
  EXPECT_EQ(cancelled.out, "");
  EXPECT_EQ(cancelled.err,
            "Cancelled: The import into " + o.study.out_dir + " was cancelled; nothing was written.\n");
  EXPECT_EQ(names_in(t.path()), (std::vector<std::string>{"s.csv", "s.tps"}));
}

}  // namespace
}  // namespace lumivar::batch
