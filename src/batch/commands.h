#pragma once
// The batch tool's commands over a BatchSession.
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

enum class Command { kLoad, kVarExp, kPermute, kImport, kShapes, kStrata };

struct CommandLine {
  Inputs inputs;
  StudyOptions study;  // a landmark file and sheet in place of the three files
  std::string reps;    // as typed; empty when not given
  std::string groups;  // as typed; empty when not given
  std::string format = "text";  // text, json, csv or tsv
  std::string permutations;    // as typed; see option_checks.h
  std::optional<std::uint64_t> seed;
  int threads = 0;
  std::string engine = "fast";
  std::string sums = "auto";  // --sums: auto, matrix or coordinates
  // Folder for the pictures (SVG); empty: none. Made absolute by run()
  // before any load changes the working folder.
  std::string plot_dir;
  // --strata: the tests by strata after the report.
  bool strata = false;
  // --quiet: nothing on standard error but warnings and errors.
  bool quiet = false;
  // The command line as given, program name first, for the JSON provenance.
  std::vector<std::string> words;
  // "shapes": at most this many principal components (0: all), and how many
  // times the pictures of shape change magnify it.
  std::size_t components = 0;
  double magnification = 1;
  // --ss-type of the "strata" command: 3 (each effect adjusted for all
  // others) or 2 (for the effects that do not contain it).
  int ss_type = 3;
  // Raised when the user asks a load or a permutation run to stop (Ctrl-C); none: never.
  const std::atomic<bool>* cancel = nullptr;
};

// Where a command writes: its report, what it tells while it runs (status
// texts, progress, files written; nothing with --quiet), and its warnings.
struct Streams {
  std::ostream& out;
  std::ostream& info;
  std::ostream& err;
};

// Exit status of a run the user stopped: 128 + SIGINT, as the shell reports
// a program that Ctrl-C ended, so that scripts tell it from a failure (1).
inline constexpr int kCancelledStatus = 130;

// "permute": the permutation test with the settings of the command line;
// `inputs` are the input files for the JSON provenance (empty for text).
int run_permute(BatchSession& b, const CommandLine& opts, const std::vector<InputFile>& inputs,
                const Streams& s);

// "shapes": the shape space of the loaded study as JSON or CSV (opts.format);
// a study from a landmark file and a sheet names its rows and levels in the
// sheet's words (b.sheet_labels).
int run_shapes(BatchSession& b, const CommandLine& opts, const std::vector<InputFile>& inputs,
               std::ostream& out, std::ostream& err);

// "strata": the tests by strata alone, on any design they take.
int run_strata(BatchSession& b, const CommandLine& opts, const std::vector<InputFile>& inputs,
               const Streams& s);

using results::json_text;

// A Ctrl-C heard after the last check of a computation still stops the run
// before anything is written: raises runtime::Cancelled ("WHAT was cancelled
// ...") when opts.cancel is raised.
void stop_if_cancelled(const CommandLine& opts, const std::string& what);

// Writes the pictures of `a`, named in the words of `b`'s sheet when there
// is one, into opts.plot_dir (when given) and names each file written on `info`.
void write_plots_and_tell(shell::AnalysisSnapshot a, const BatchSession& b, const CommandLine& opts,
                          std::ostream& info);

// Runs one command; returns the exit status (0 success, 1 any error,
// kCancelledStatus when opts.cancel stopped it). The options are checked
// before any file is read. An error is one line on `err` (error_output.h),
// and with JSON asked for also an {"error": ...} object on `out`. JSON
// reports escape file names that are not UTF-8: each byte that is not part
// of a valid UTF-8 sequence becomes U+FFFD.
int run(Command command, const CommandLine& opts, std::ostream& out, std::ostream& err);

// For what the tool prints outside run() (--help, --version): checks that
// `what` reached `out` (checked_output.h); returns 0, or 1 after saying why not.
int finish_printed(std::ostream& out, const std::string& what, std::ostream& err);

}  // namespace lumivar::batch
