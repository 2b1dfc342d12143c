#pragma once
// The batch tool's three commands over a BatchSession.
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

#include "batch/batch_session.h"

namespace lumivar::batch {

enum class Command { kLoad, kVarExp, kPermute };

struct CommandLine {
  Inputs inputs;
  std::string reps;    // as typed; empty when not given
  std::string groups;  // as typed; empty when not given
  std::string format = "text";
  std::string permutations;  // checked by the permutation action itself, as the window's box is
  std::optional<std::uint64_t> seed;
  int threads = 0;
  std::string engine = "fast";
};

// "permute": the permutation test with the settings of the command line.
int run_permute(BatchSession& b, const CommandLine& opts, std::ostream& out, std::ostream& err);

// Runs one command; returns the exit status (0 success, 1 any error).
int run(Command command, const CommandLine& opts, std::ostream& out, std::ostream& err);

}  // namespace lumivar::batch
