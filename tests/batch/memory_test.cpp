// Studies larger than the memory the tool may take, run with a lowered
// address-space limit (RLIMIT_AS) as a shared machine or a job scheduler
// would impose: a clear refusal that states both sizes, never
// "std::bad_alloc".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "address_space.h"
#include "batch/run_tool.h"
#include "input/study_files.h"
#include "support/temp_files.h"

namespace lumivar::batch {
namespace {

using lumivar::testing::run_tool;
using lumivar::testing::ToolRun;

constexpr rlim_t kLimit = rlim_t{1} << 30;  // 1 GiB of address space

TEST(Memory, ADistanceMatrixBeyondTheLimitIsRefusedWithBothSizes) {
  if (!lumivar::testing::address_space_can_be_limited()) GTEST_SKIP() << "built with AddressSanitizer";
  const lumivar::testing::TempFolder t;
  // 16,000 rows: the distance matrix alone takes 8 x 16000^2 bytes = 2.0 GB.
  const lumivar::testing::StudyFiles s = lumivar::testing::write_study(t, 8000);
  const std::vector<std::vector<std::string>> commands = {{"varexp"}, {"permute", "--permutations", "9"}};
  for (std::vector<std::string> words : commands) {
    // The matrix asked for: "auto" would take the coordinates at this size.
    words.insert(words.end(), {"--data", s.data, "--reps", s.reps, "--groups", s.groups, "--sums", "matrix"});
    lumivar::testing::ToolOptions limited;
    limited.address_space = kLimit;
    const ToolRun r = run_tool(words, limited);
    EXPECT_EQ(r.status, 1) << words[0] << ": " << r.err;
    EXPECT_EQ(r.out, "") << words[0];
    EXPECT_NE(r.err.find("lumivar-batch: error: The distance matrix of 16000 rows of landmark data needs "
                         "2.0 GB of memory, but this program can take only "),
              std::string::npos)
        << words[0] << ": " << r.err;
    EXPECT_NE(r.err.find(" GB more. Close other programs or analyse a smaller study.\n"),
              std::string::npos)
        << r.err;
  }
}

TEST(Memory, RunningOutOfMemoryAnywhereElseIsSaidInWords) {
  if (!lumivar::testing::address_space_can_be_limited()) GTEST_SKIP() << "built with AddressSanitizer";
  // Pictures of 2,000,000 relabellings keep 7 F values each (112 MB), more
  // than 100 MB of address space holds beside the program itself.
  const lumivar::testing::TempFolder t;
  const std::string examples = LUMIVAR_EXAMPLES;
  lumivar::testing::ToolOptions limited;
  limited.address_space = rlim_t{100} << 20;
  const ToolRun r = run_tool({"permute", "--data", examples + "/landmarks.txt", "--reps",
                              examples + "/reps.txt", "--groups", examples + "/groups.txt",
                              "--permutations", "2000000", "--threads", "1", "--plot", t.path()},
                             limited);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("lumivar-batch: error: Out of memory: the system could not give this step the "
                       "memory it needs, so the step was stopped."),
            std::string::npos)
      << r.err;
  EXPECT_EQ(r.err.find("bad_alloc"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace lumivar::batch
