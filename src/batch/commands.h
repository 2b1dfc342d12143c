#pragma once
// The batch tool's three commands over a BatchSession.
#include <atomic>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "batch/batch_session.h"
#include "batch/provenance.h"
#include "batch/study_inputs.h"
#include "results/json_output.h"
#include "shell/analysis_snapshot.h"

namespace lumivar::batch {

enum class Command { kLoad, kVarExp, kPermute, kImport, kStrata };

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
  // --ss-type of the "strata" command: 3 (each effect adjusted for all
  // others) or 2 (for the effects that do not contain it).
  int ss_type = 3;
  // Raised when the user asks a load or a permutation run to stop (Ctrl-C); none: never.
  const std::atomic<bool>* cancel = nullptr;
};

// Exit status of a run the user stopped: 128 + SIGINT, as the shell reports
// a program that Ctrl-C ended, so that scripts tell it from a failure (1).
inline constexpr int kCancelledStatus = 130;

// "permute": the permutation test with the settings of the command line;
// `inputs` are the input files for the JSON provenance (empty for text).
int run_permute(BatchSession& b, const CommandLine& opts, const std::vector<InputFile>& inputs,
                std::ostream& out, std::ostream& err);

// "strata": the tests by strata alone, on any design they take.
int run_strata(BatchSession& b, const CommandLine& opts, const std::vector<InputFile>& inputs,
               std::ostream& out, std::ostream& err);

using results::json_text;

// Writes the pictures of `a` into opts.plot_dir (when given) and names each
// file written on `err`.
void write_plots_and_tell(const shell::AnalysisSnapshot& a, const CommandLine& opts, std::ostream& err);

// Runs one command; returns the exit status (0 success, 1 any error,
// kCancelledStatus when opts.cancel stopped it). JSON reports escape file
// names that are not UTF-8: each byte that is not part of a valid UTF-8
// sequence becomes U+FFFD.
int run(Command command, const CommandLine& opts, std::ostream& out, std::ostream& err);

}  // namespace lumivar::batch
