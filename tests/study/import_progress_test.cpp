// A large landmark file is parsed as it streams in: the progress hook hears
// the bytes parsed, never going back, up to the file's size; what the hook
// raises (a cancel) ends the reading. Counts checked only once the reading
// went wrong are still told as the count's own problem.
#include <gtest/gtest.h>

#include <filesystem>

#include "runtime/error.h"
#include "study/landmark_file.h"
#include "study/tps_reader.h"
#include "support/error_message.h"
#include "support/temp_files.h"

namespace lumivar::study {
namespace {

using Reports = std::vector<std::pair<std::uint64_t, std::uint64_t>>;

// A digitiser's TPS and a spreadsheet's CSV of `n` specimens of 12 landmarks.
std::string tps_of(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) {
    s += "LM=12\r\n";
    for (int k = 0; k < 12; ++k) s += std::to_string(100 + k) + ".25 " + std::to_string(i % 500) + ".5\r\n";
    s += "IMAGE=scans/s" + std::to_string(i) + ".jpg\r\nSCALE=0.01\r\n";
  }
  return s;
}

std::string csv_of(int n) {
  std::string s = "specimen,side";
  for (int k = 1; k <= 12; ++k) s += ",x" + std::to_string(k) + ",y" + std::to_string(k);
  s += "\n";
  for (int i = 0; i < n; ++i) {
    s += "s" + std::to_string(i) + ",left";
    for (int k = 0; k < 12; ++k) s += "," + std::to_string(k) + ".125,-" + std::to_string(i % 700);
    s += "\n";
  }
  return s;
}

TEST(ImportProgress, RisesToTheFileSizeForTpsAndCsv) {
  testing::TempFolder t;
  for (const auto& [name, text] : {std::pair{"big.tps", tps_of(1500)}, std::pair{"big.csv", csv_of(1500)}}) {
    const std::string path = t.write(name, text);
    Reports heard;
    const LandmarkFile f =
        read_landmark_file(path, {}, [&](std::uint64_t done, std::uint64_t total) { heard.emplace_back(done, total); });
    ASSERT_EQ(f.entries.size(), 1500u) << name;
    EXPECT_EQ(f.entries[1499].landmarks(), 12u);
    // Several blocks of 64 KiB, each heard as the parse reaches it.
    ASSERT_GT(text.size(), 3u << 16) << name;
    ASSERT_GE(heard.size(), 4u) << name;
    for (std::size_t i = 0; i < heard.size(); ++i) {
      EXPECT_EQ(heard[i].second, text.size()) << name;
      if (i > 0) {
        EXPECT_GE(heard[i].first, heard[i - 1].first) << name;
      }
    }
    EXPECT_EQ(heard.back().first, text.size()) << name;
  }
}

TEST(ImportProgress, ACancelFromTheHookEndsTheReading) {
  testing::TempFolder t;
  const std::string path = t.write("big.tps", tps_of(1500));
  int reports = 0;
  EXPECT_THROW(read_landmark_file(path, {},
                                  [&](std::uint64_t, std::uint64_t) {
                                    if (++reports == 2) runtime::raise_cancelled("stopped");
                                  }),
               runtime::Cancelled);
  EXPECT_EQ(reports, 2);
}

TEST(ImportProgress, CountsLargerThanTheLinesLeftAreToldAsSuch) {
  LandmarkReadOptions semis;
  semis.semilandmarks_as_landmarks = true;
  const std::pair<std::string, std::string> cases[] = {
      {"LM=1\n1 2\nCURVES=1\nPOINTS=3\n1 2\n",
       "File wings.tps, line 4: \"POINTS=3\" announces more points than there are lines after it (1)."},
      {"LM=1\n1 2\nCURVES=3\nPOINTS=1\n1 2\n",
       "File wings.tps, line 3: \"CURVES=3\" announces more points than there are lines after it (2)."},
      {"LM=2\nID=a\n1 2\n",
       "File wings.tps, line 2: expected the x and y of point 1 of 2 announced at line 1, found \"ID=a\"."},
      {"LM=1e300\n1 2\n",
       "File wings.tps, line 1: \"LM=1e300\" announces more points than there are lines after it (1)."},
  };
  for (const auto& [text, message] : cases) EXPECT_ERROR_MSG(parse_tps(text, "wings.tps", semis), message) << text;

  testing::TempFolder t;
  EXPECT_ERROR_MSG(read_landmark_file(t.path()), "Cannot read " + t.path() + ": it is a folder, not a regular file.");
}

}  // namespace
}  // namespace lumivar::study
