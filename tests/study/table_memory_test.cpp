// How much memory the landmark table reader holds for a large spreadsheet
// export: about what the TPS reader holds for the same rows (the landmarks
// themselves), not the table's cells as text. Measured as a machine short of
// memory would: the read runs in a child process whose address space is
// limited to what it had plus a budget.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "address_space.h"
#include "study/landmark_file.h"
#include "support/temp_files.h"

namespace lumivar::study {
namespace {

// The address space the process takes now, in bytes.
rlim_t address_space_now() {
  std::ifstream statm("/proc/self/statm");
  unsigned long long pages = 0;
  statm >> pages;
  return static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

// Whether reading `path` succeeds in a child process allowed `budget` bytes
// of address space more than it starts with.
bool reads_within(const std::string& path, rlim_t budget, std::size_t rows) {
  const pid_t child = fork();
  if (child == 0) {
    const rlim_t allowed = address_space_now() + budget;
    const rlimit limit{allowed, allowed};
    setrlimit(RLIMIT_AS, &limit);
    int status = 1;
    try {
      status = read_landmark_file(path).entries.size() == rows ? 0 : 2;
    } catch (...) {
      status = 1;  // std::bad_alloc: the budget was not enough
    }
    _exit(status);
  }
  int status = -1;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(LandmarkTableMemory, HoldsTheLandmarksNotTheCellsOfTheTable) {
  if (!lumivar::testing::address_space_can_be_limited()) GTEST_SKIP() << "built with AddressSanitizer";
  // 40,000 rows of 20 landmarks with an id and two columns the study does
  // not use: the landmarks take 40,000 x 40 x 8 bytes = 12.8 MB (about 17 MB
  // with their entries), the table's cells as text more than 60 MB.
  constexpr std::size_t kRows = 40000, kLandmarks = 20;
  const lumivar::testing::TempFolder t;
  const std::string path = t.path() + "/big.csv";
  {
    std::ofstream out(path);
    out << "id,side,notes";
    for (std::size_t j = 1; j <= kLandmarks; ++j) out << ",x" << j << ",y" << j;
    out << '\n';
    char value[32];
    for (std::size_t i = 0; i < kRows; ++i) {
      out << "specimen" << i << ",left,fine";
      for (std::size_t j = 0; j < 2 * kLandmarks; ++j) {
        std::snprintf(value, sizeof value, ",%.4f", 100.0 + static_cast<double>((i * 7 + j * 13) % 1000) / 7);
        out << value;
      }
      out << '\n';
    }
  }
  EXPECT_TRUE(reads_within(path, rlim_t{48} << 20, kRows));
}

}  // namespace
}  // namespace lumivar::study
