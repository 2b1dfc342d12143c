// lumivar-batch: the window program's analyses from the command line.
//
//   lumivar-batch load    --data D [--reps R] [--groups G]
//   lumivar-batch varexp  --data D --reps R --groups G [--format text|json]
//                         [--plot DIR] [--strata] [--sums auto|matrix|coordinates]
//   lumivar-batch permute --data D --reps R --groups G --permutations N
//                         [--seed S] [--threads T] [--engine fast|reference]
//                         [--format text|json] [--plot DIR] [--strata]
//                         [--sums auto|matrix|coordinates]
//   lumivar-batch import  --landmarks L --sheet S [--columns MAP] --out DIR
//
// In place of --data/--reps/--groups, every command takes a study as a
// landmark file and a specimen sheet: --landmarks L --sheet S (study_inputs.h).
//
// Reports go to standard output, exactly as the window's results box would
// show them; status texts and message boxes go to standard error. Any error
// gives a one-line message on standard error and exit status 1, errors on the
// command line too (--help and --version exit 0); a load, an analysis, a
// permutation test or an import stopped with Ctrl-C says so and exits 130 (SIGTERM stops it the same way,
// then ends the program by that signal). Output that cannot be written (a
// full disk, a closed standard output) is an error too. JSON reports
// carry a "provenance" block (version, run settings, input files and their
// SHA-256). --plot writes the pictures as SVG files (see plot_files.h) and
// names them on standard error.
#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>

#include "batch/checked_output.h"
#include "batch/commands.h"
#include "batch/interrupt.h"
#include "batch/seed.h"

int main(int argc, char** argv) {
  using namespace lumivar::batch;
  // First, before any file is opened: it keeps descriptors 0 to 2 taken.
  StandardOutput out;
  CLI::App cli{"Shape variation in repeated-measures landmark studies, from the command line."};
  cli.require_subcommand(1);
  cli.set_version_flag("--version", "lumivar-batch " + std::string(LUMIVAR_VERSION));
  CommandLine opts;
  std::string seed;

  auto add_inputs = [&opts](CLI::App* sub, bool codes_required) {
    auto* data = sub->add_option("--data", opts.inputs.data, "landmark file")->check(CLI::ExistingFile);
    auto* reps = sub->add_option("--reps", opts.reps, "repeated-measures code file")->check(CLI::ExistingFile);
    auto* groups = sub->add_option("--groups", opts.groups, "group code file")->check(CLI::ExistingFile);
    add_study_options(sub, opts.study, {data, reps, groups}, codes_required);
  };
  auto add_outputs = [&opts](CLI::App* sub) {
    sub->add_option("--format", opts.format, "output format")
        ->check(CLI::IsMember({"text", "json"}))
        ->default_val("text");
    sub->add_option("--plot", opts.plot_dir,
                    "write the pictures as SVG files into this folder (made when missing)");
    sub->add_flag("--strata", opts.strata, "also the tests by strata (balanced designs)");
    sub->add_option("--sums", opts.sums, "way to the sums of squares: through the distance matrix, "
                    "from the coordinates (linear memory), or auto (the matrix up to 10,000 rows)")
        ->check(CLI::IsMember({"auto", "matrix", "coordinates"}))
        ->default_val("auto");
  };

  CLI::App* load = cli.add_subcommand("load", "load the files and print their status texts");
  add_inputs(load, false);
  CLI::App* varexp = cli.add_subcommand("varexp", "the analytic partition of shape variation");
  add_inputs(varexp, true);
  add_outputs(varexp);
  CLI::App* permute = cli.add_subcommand("permute", "the permutation test of every effect");
  add_inputs(permute, true);
  add_outputs(permute);
  permute->add_option("--permutations", opts.permutations, "number of relabellings (a whole number >= 0)")
      ->required();
  permute->add_option("--seed", seed, "seed of the random relabellings (default: from the system)")
      ->check(CLI::Validator(
          [](std::string& text) { return parse_seed(text) ? std::string() : std::string(kSeedRule); },
          "0..18446744073709551615"));
  permute->add_option("--threads", opts.threads, "worker threads (default: all cores)")
      ->check(CLI::NonNegativeNumber);
  permute->add_option("--engine", opts.engine, "relabelling engine")
      ->check(CLI::IsMember({"fast", "reference"}))
      ->default_val("fast");

  CLI::App* import = cli.add_subcommand("import", "write a study's landmark file and sheet as the three plain files");
  add_import_options(import, opts.study);

  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // CLI11 gives each kind of mistake its own status; to a script they are
    // all one thing, a command that did not run.
    if (cli.exit(e, out, std::cerr) != 0) return 1;
    return finish_printed(out, dynamic_cast<const CLI::CallForVersion*>(&e) ? "the version" : "the help", std::cerr);
  }
  if (!seed.empty()) opts.seed = parse_seed(seed);
  if (!opts.reps.empty()) opts.inputs.reps = opts.reps;
  if (!opts.groups.empty()) opts.inputs.groups = opts.groups;

  Command command = Command::kLoad;
  if (varexp->parsed()) command = Command::kVarExp;
  if (permute->parsed()) command = Command::kPermute;
  if (import->parsed()) command = Command::kImport;
  const InterruptFlag interrupt;
  opts.cancel = interrupt.flag();
  const int status = run(command, opts, out, std::cerr);
  // A run stopped by SIGTERM has cleaned up; it now ends as that signal ends
  // a program, so that whoever sent it sees it obeyed.
  if (interrupt.signal() == SIGTERM) {
    std::signal(SIGTERM, SIG_DFL);
    std::raise(SIGTERM);
  }
  return status;
}
