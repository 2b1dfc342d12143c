#pragma once
// The batch tool's three commands over a BatchSession.
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "batch/batch_session.h"
#include "batch/provenance.h"
#include "batch/study_inputs.h"
#include "shell/analysis_snapshot.h"

namespace lumivar::batch {

enum class Command { kLoad, kVarExp, kPermute, kImport };

struct CommandLine {
  Inputs inputs;
  StudyOptions study;  // a landmark file and sheet in place of the three files
  std::string reps;    // as typed; empty when not given
  std::string groups;  // as typed; empty when not given
  std::string format = "text";
  std::string permutations;  // checked by the permutation action itself, as the window's box is
  std::optional<std::uint64_t> seed;
  int threads = 0;
  std::string engine = "fast";
  std::string sums = "auto";  // --sums: auto, matrix or coordinates
  // Folder for the pictures (SVG); empty: none. Made absolute by run()
  // before any load changes the working folder.
  std::string plot_dir;
  // --strata: the tests by strata after the report.
  bool strata = false;
};

// "permute": the permutation test with the settings of the command line;
// `inputs` are the input files for the JSON provenance (empty for text).
int run_permute(BatchSession& b, const CommandLine& opts, const std::vector<InputFile>& inputs,
                std::ostream& out, std::ostream& err);

// Writes the pictures of `a` into opts.plot_dir (when given) and names each
// file written on `err`.
void write_plots_and_tell(const shell::AnalysisSnapshot& a, const CommandLine& opts, std::ostream& err);

// Runs one command; returns the exit status (0 success, 1 any error).
int run(Command command, const CommandLine& opts, std::ostream& out, std::ostream& err);

}  // namespace lumivar::batch
