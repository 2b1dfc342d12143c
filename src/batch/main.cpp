// lumivar-batch: the window program's analyses from the command line.
//
//   lumivar-batch load    --data D [--reps R] [--groups G]
//   lumivar-batch varexp  --data D --reps R --groups G [--format text|json]
//                         [--plot DIR] [--strata] [--sums auto|matrix|coordinates]
//   lumivar-batch permute --data D --reps R --groups G --permutations N
//                         [--seed S] [--threads T] [--engine fast|reference]
//                         [--format text|json] [--plot DIR] [--strata]
//                         [--sums auto|matrix|coordinates]
//   lumivar-batch strata  --data D --reps R --groups G [--permutations N]
//                         [--seed S] [--threads T] [--ss-type 2|3] [--format text|json]
//   lumivar-batch import  --landmarks L --sheet S [--columns MAP] --out DIR
//
// In place of --data/--reps/--groups, every command takes a study as a
// landmark file and a specimen sheet: --landmarks L --sheet S (study_inputs.h).
//
// Reports go to standard output, exactly as the window's results box would
// show them; status texts and message boxes go to standard error. Any error
// gives a one-line message on standard error and exit status 1, errors on the
// command line too (--help and --version exit 0); a load or a permutation
// test stopped with Ctrl-C says so and exits 130. JSON reports
// carry a "provenance" block (version, run settings, input files and their
// SHA-256). --plot writes the pictures as SVG files (see plot_files.h) and
// names them on standard error.
#include <CLI/CLI.hpp>
#include <iostream>

#include "batch/commands.h"
#include "batch/interrupt.h"
#include "batch/seed.h"

int main(int argc, char** argv) {
  using namespace lumivar::batch;
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
    sub->add_flag("--strata", opts.strata, "also the tests by strata (balanced designs; any design: the strata command)");
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
  const auto add_seed = [&seed](CLI::App* sub) {
    sub->add_option("--seed", seed, "seed of the random relabellings (default: from the system)")
        ->check(CLI::Validator(
            [](std::string& text) { return parse_seed(text) ? std::string() : std::string(kSeedRule); },
            "0..18446744073709551615"));
  };
  add_seed(permute);
  permute->add_option("--threads", opts.threads, "worker threads (default: all cores)")
      ->check(CLI::NonNegativeNumber);
  permute->add_option("--engine", opts.engine, "relabelling engine")
      ->check(CLI::IsMember({"fast", "reference"}))
      ->default_val("fast");

  CLI::App* strata = cli.add_subcommand("strata", "the tests by strata alone, on equal or unequal cells");
  add_inputs(strata, true);
  strata->add_option("--format", opts.format, "output format")
      ->check(CLI::IsMember({"text", "json"}))
      ->default_val("text");
  strata->add_option("--permutations", opts.permutations, "number of relabellings (a whole number >= 0)")
      ->default_val("999");
  add_seed(strata);
  strata->add_option("--threads", opts.threads, "worker threads (default: all cores)")
      ->check(CLI::NonNegativeNumber);
  strata->add_option("--ss-type", opts.ss_type, "sums of squares on unequal cells: 3 (each effect "
                     "adjusted for all others) or 2 (for the effects that do not contain it)")
      ->check(CLI::IsMember({2, 3}))
      ->default_val(3);

  CLI::App* import = cli.add_subcommand("import", "write a study's landmark file and sheet as the three plain files");
  add_import_options(import, opts.study);

  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // CLI11 gives each kind of mistake its own status; to a script they are
    // all one thing, a command that did not run.
    return cli.exit(e) == 0 ? 0 : 1;
  }
  if (!seed.empty()) opts.seed = parse_seed(seed);
  if (!opts.reps.empty()) opts.inputs.reps = opts.reps;
  if (!opts.groups.empty()) opts.inputs.groups = opts.groups;

  Command command = Command::kLoad;
  if (varexp->parsed()) command = Command::kVarExp;
  if (permute->parsed()) command = Command::kPermute;
  if (import->parsed()) command = Command::kImport;
  if (strata->parsed()) command = Command::kStrata;
  const InterruptFlag interrupt;
  opts.cancel = interrupt.flag();
  return run(command, opts, std::cout, std::cerr);
}
