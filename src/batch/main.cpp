// lumivar-batch: the window program's analyses from the command line.
//
//   lumivar-batch load    --data D [--reps R] [--groups G]
//   lumivar-batch varexp  --data D --reps R --groups G [--format text|json|csv|tsv]
//                         [--plot DIR] [--strata] [--sums auto|matrix|coordinates]
//   lumivar-batch permute --data D --reps R --groups G --permutations N
//                         [--seed S] [--threads T] [--engine fast|reference]
//                         [--format text|json|csv|tsv] [--plot DIR] [--strata]
//                         [--sums auto|matrix|coordinates]
//   lumivar-batch strata  --data D --reps R --groups G [--permutations N]
//                         [--seed S] [--threads T] [--ss-type 2|3] [--format text|json|csv|tsv]
//   lumivar-batch import  --landmarks L --sheet S [--columns MAP] --out DIR
//   lumivar-batch shapes  --data D --reps R --groups G [--format json|csv]
//                         [--components N] [--plot DIR] [--magnification F] [--threads T]
//
// Every command takes --dimensions 2|3, the coordinates per landmark; by
// default a plain landmark file is 2-D unless its note says 3, and a TPS
// file or a table shows its dimension itself.
//
// In place of --data/--reps/--groups, every command takes a study as a
// landmark file and a specimen sheet: --landmarks L --sheet S (study_inputs.h).
//
// Every command takes --quiet: nothing on standard error but warnings and
// errors.
//
// Reports go to standard output, exactly as the window's results box would
// show them; status texts go to standard error, message boxes as warnings.
// Every option is checked before any file is read. Any error gives one line
// "lumivar-batch: error: ..." on standard error (error_output.h) and exit
// status 1, errors on the command line too (--help and --version exit 0); a
// load, an analysis, a permutation test or an import stopped with Ctrl-C
// says so and exits 130 (SIGTERM stops it the same way, then ends the
// program by that signal). Output that cannot be written (a full disk, a
// closed standard output) is an error too. JSON reports
// carry a "provenance" block (version, run settings, input files and their
// SHA-256). --plot writes the pictures as SVG files (see plot_files.h) and
// names them on standard error.
#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>

#include "batch/checked_output.h"
#include "batch/commands.h"
#include "batch/error_output.h"
#include "batch/interrupt.h"
#include "batch/option_checks.h"
#include "batch/seed.h"

namespace {

constexpr const char* kCommands = "load, varexp, permute, strata, import or shapes";

// Whether the words ask for JSON, read before the command line is parsed so
// that a mistake on it is told in JSON too.
bool asks_for_json(const std::vector<std::string>& words) {
  for (std::size_t i = 1; i < words.size(); ++i)
    if (words[i] == "--format=json" || (words[i] == "--format" && i + 1 < words.size() && words[i + 1] == "json"))
      return true;
  return false;
}

// What is wrong with the command word, if anything: the first word must be
// a command (or --help, --version).
std::string command_word_problem(const std::vector<std::string>& words) {
  if (words.size() < 2) return std::string("no command given: give one of ") + kCommands;
  const std::string& first = words[1];
  for (const char* command : {"load", "varexp", "permute", "strata", "import", "shapes"})
    if (first == command) return "";
  if (first.rfind("-", 0) == 0) return "";
  return "unknown command \"" + first + "\": the commands are " + kCommands;
}

// A CLI11 validator from one of the rules of option_checks.h.
CLI::Validator rule(std::string (*problem)(const std::string&), const char* description) {
  return CLI::Validator([problem](std::string& text) { return problem(text); }, description);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace lumivar::batch;
  // First, before any file is opened: it keeps descriptors 0 to 2 taken.
  StandardOutput out;
  CLI::App cli{"Shape variation in repeated-measures landmark studies, from the command line."};
  cli.require_subcommand(1);
  cli.set_version_flag("--version", "lumivar-batch " + std::string(LUMIVAR_VERSION));
  CommandLine opts;
  std::string seed;

  auto add_dimensions_option = [](CLI::App* sub, CommandLine& o) {
    sub->add_option("--dimensions", o.inputs.dimensions,
                    "coordinates per landmark, 2 or 3 (default: as the landmark file says, else 2)")
        ->check(CLI::IsMember({2, 3}));
  };
  auto add_inputs = [&opts, &add_dimensions_option](CLI::App* sub, bool codes_required) {
    auto* data = sub->add_option("--data", opts.inputs.data, "landmark file")->check(CLI::ExistingFile);
    auto* reps = sub->add_option("--reps", opts.reps, "repeated-measures code file")->check(CLI::ExistingFile);
    auto* groups = sub->add_option("--groups", opts.groups, "group code file")->check(CLI::ExistingFile);
    add_study_options(sub, opts.study, {data, reps, groups}, codes_required);
    add_dimensions_option(sub, opts);
  };
  auto add_format = [&opts](CLI::App* sub) {
    sub->add_option("--format", opts.format,
                    "output format: the report as text, JSON, or its table as CSV or TSV")
        ->check(CLI::IsMember({"text", "json", "csv", "tsv"}))
        ->default_val("text");
  };
  auto add_plot = [&opts](CLI::App* sub) {
    sub->add_option("--plot", opts.plot_dir,
                    "write the pictures as SVG files into this folder (made when missing)");
  };
  auto add_outputs = [&opts, &add_format, &add_plot](CLI::App* sub) {
    add_format(sub);
    add_plot(sub);
    sub->add_flag("--strata", opts.strata, "also the tests by strata (balanced designs; any design: the strata command)");
    sub->add_option("--sums", opts.sums, "way to the sums of squares: through the distance matrix, "
                    "from the coordinates (linear memory), or auto (the matrix up to 10,000 rows)")
        ->check(CLI::IsMember({"auto", "matrix", "coordinates"}))
        ->default_val("auto");
  };

  auto add_quiet = [&opts](CLI::App* sub) {
    sub->add_flag("--quiet", opts.quiet, "nothing on standard error but warnings and errors");
  };

  CLI::App* load = cli.add_subcommand("load", "load the files and print their status texts");
  add_inputs(load, false);
  CLI::App* varexp = cli.add_subcommand("varexp", "the analytic partition of shape variation");
  add_inputs(varexp, true);
  add_outputs(varexp);
  CLI::App* permute = cli.add_subcommand("permute", "the permutation test of every effect");
  add_inputs(permute, true);
  add_outputs(permute);
  const auto add_permutations = [&opts](CLI::App* sub) {
    return sub->add_option("--permutations", opts.permutations, "number of relabellings (a whole number >= 0)")
        ->check(rule(&permutations_problem, "N >= 0"));
  };
  add_permutations(permute)->required();
  const auto add_seed = [&seed](CLI::App* sub) {
    sub->add_option("--seed", seed, "seed of the random relabellings (default: from the system)")
        ->check(CLI::Validator(
            [](std::string& text) { return parse_seed(text) ? std::string() : std::string(kSeedRule); },
            "0..18446744073709551615"));
  };
  add_seed(permute);
  const auto add_threads = [&opts](CLI::App* sub) {
    sub->add_option("--threads", opts.threads, "worker threads (default: all cores)")
        ->check(rule(&threads_problem, "0..4096"));
  };
  add_threads(permute);
  permute->add_option("--engine", opts.engine, "relabelling engine")
      ->check(CLI::IsMember({"fast", "reference"}))
      ->default_val("fast");

  CLI::App* strata = cli.add_subcommand("strata", "the tests by strata alone, on equal or unequal cells");
  add_inputs(strata, true);
  add_format(strata);
  add_permutations(strata)->default_val("999");
  add_seed(strata);
  add_threads(strata);
  strata->add_option("--ss-type", opts.ss_type, "sums of squares on unequal cells: 3 (each effect "
                     "adjusted for all others) or 2 (for the effects that do not contain it)")
      ->check(CLI::IsMember({2, 3}))
      ->default_val(3);

  CLI::App* import = cli.add_subcommand("import", "write a study's landmark file and sheet as the three plain files");
  add_import_options(import, opts.study);
  add_dimensions_option(import, opts);

  CLI::App* shapes = cli.add_subcommand(
      "shapes", "principal components, mean shapes and centroid sizes of the superimposed study");
  add_inputs(shapes, true);
  std::string shapes_format;
  shapes->add_option("--format", shapes_format, "output format: the whole shape space, or one line per row")
      ->check(CLI::IsMember({"json", "csv"}))
      ->default_val("json");
  shapes->add_option("--components", opts.components, "at most this many principal components (default: all)")
      ->check(CLI::PositiveNumber);
  add_plot(shapes);
  shapes->add_option("--magnification", opts.magnification,
                     "how many times the pictures of shape change magnify it (default 1)")
      ->check(rule(&magnification_problem, "NUMBER > 0"));
  add_threads(shapes);
  // Before the command as well as after it.
  for (CLI::App* app : {&cli, load, varexp, permute, import, shapes, strata}) add_quiet(app);

  opts.words.assign(argv, argv + argc);
  std::ostream* json_out = asks_for_json(opts.words) ? &out : nullptr;
  if (const std::string problem = command_word_problem(opts.words); !problem.empty()) {
    tell_error(std::cerr, json_out, problem);
    return 1;
  }
  try {
    cli.parse(argc, argv);
  } catch (const CLI::Success& e) {  // --help, --version
    cli.exit(e, out, std::cerr);
    return finish_printed(out, dynamic_cast<const CLI::CallForVersion*>(&e) ? "the version" : "the help", std::cerr);
  } catch (const CLI::ParseError& e) {
    // CLI11 gives each kind of mistake its own status; to a script they are
    // all one thing, a command that did not run.
    tell_error(std::cerr, json_out, std::string(e.what()) + "; --help lists the options");
    return 1;
  }
  if (!seed.empty()) opts.seed = parse_seed(seed);
  if (!opts.reps.empty()) opts.inputs.reps = opts.reps;
  if (!opts.groups.empty()) opts.inputs.groups = opts.groups;
  opts.study.sources.dimensions = opts.inputs.dimensions;

  Command command = Command::kLoad;
  if (varexp->parsed()) command = Command::kVarExp;
  if (permute->parsed()) command = Command::kPermute;
  if (import->parsed()) command = Command::kImport;
  if (shapes->parsed()) {
    command = Command::kShapes;
    opts.format = shapes_format;
  }
  if (strata->parsed()) command = Command::kStrata;
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
