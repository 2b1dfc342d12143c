#pragma once
// The batch tool run in this process, as its main runs it: the exit status
// and what it printed on each stream. The working folder is restored after
// (every load changes it).
#include <sstream>
#include <string>

#include "batch/commands.h"
#include "support/temp_files.h"

namespace lumivar::batch {

struct BatchRun {
  int status;
  std::string out;
  std::string err;
};

inline BatchRun run_batch(Command c, const CommandLine& o) {
  testing::KeepWorkingFolder keep;
  std::ostringstream out, err;
  const int status = run(c, o, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace lumivar::batch
