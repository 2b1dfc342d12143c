#pragma once
// A balanced synthetic study of any size, written as a user's three files:
// G1 2 x G2 2 with the specimens spread evenly over the cells, every
// specimen measured twice (rows 1..n, then the same specimens n+1..2n), two
// landmarks per row and a trailing row number.
#include <cstdint>
#include <cstdio>
#include <string>

#include "support/temp_files.h"

namespace lumivar::testing {

struct StudyFiles {
  std::string data, reps, groups;
};

inline StudyFiles write_study(const TempFolder& folder, int specimens) {
  std::string data, reps, groups;
  std::uint64_t state = 12345;
  const auto next = [&state] {  // a linear congruential generator: any spread will do
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<double>(state >> 11) / 9007199254740992.0;
  };
  for (int row = 0; row < 2 * specimens; ++row) {
    char line[128];
    std::snprintf(line, sizeof line, "%.4f %.4f %.4f %.4f %d\n", next(), next(), 1 + next(),
                  1 + next(), row + 1);
    data += line;
    reps += row < specimens ? "1\n" : "2\n";
  }
  for (int s = 0; s < specimens; ++s)
    groups += std::to_string(s % 2 + 1) + " " + std::to_string(s / 2 % 2 + 1) + "\n";
  return {folder.write("landmarks.txt", data), folder.write("reps.txt", reps),
          folder.write("groups.txt", groups)};
}

}  // namespace lumivar::testing
