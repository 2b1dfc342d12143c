#include "batch/commands.h"

#include <filesystem>
#include <ostream>

#include "batch/checked_output.h"
#include "batch/error_output.h"
#include "batch/option_checks.h"
#include "batch/provenance.h"
#include "batch/plot_files.h"
#include "batch/report_output.h"
#include "batch/progress_line.h"
#include "batch/strata_output.h"
#include "batch/sums_option.h"
#include "partition/varexp.h"
#include "runtime/error.h"

namespace lumivar::batch {

namespace {

void print_status(const BatchSession& b, const CommandLine& o, std::ostream& s) {
  s << b.box_text("FileBox") << '\n';
  if (o.inputs.reps || o.study.given()) s << b.box_text("RepBox") << '\n';
  if (o.inputs.groups || o.study.given()) s << b.box_text("GroupBox") << '\n';
}

int run_varexp(BatchSession& b, const CommandLine& o, const std::vector<InputFile>& inputs,
               const Streams& s) {
  partition::VarExpOutcome v =
      partition::varexp(b.ui, b.app.session, sums_settings(o.sums, 0, !o.quiet, o.cancel));
  std::optional<permutation::StrataResults> strata;
  if (o.strata) strata = strata_after_varexp(b.app.session, v);
  const std::string report =
      report_output(o, {v.report, v.partition, nullptr, strata ? &*strata : nullptr, v.sums}, inputs);
  stop_if_cancelled(o, "The analysis");
  // Pictures before the report: a failure to write them prints no report.
  if (!o.plot_dir.empty()) write_plots_and_tell(shell::varexp_snapshot(b.app.session, std::move(v)), b, o, s.info);
  s.out << report << '\n';
  return 0;
}

}  // namespace

void stop_if_cancelled(const CommandLine& o, const std::string& what) {
  if (o.cancel != nullptr && o.cancel->load())
    runtime::raise_cancelled(what + " was cancelled after its computations; nothing was written.");
}

void write_plots_and_tell(shell::AnalysisSnapshot a, const BatchSession& b, const CommandLine& o,
                          std::ostream& info) {
  if (o.plot_dir.empty()) return;
  a.sheet_labels = b.sheet_labels;
  for (const std::string& path : write_plots(a, o.plot_dir)) info << "Wrote " << path << '\n';
}

int run(Command command, const CommandLine& given, std::ostream& out, std::ostream& err) {
  std::ostream nowhere(nullptr);  // what --quiet keeps from standard error
  const Streams s{out, given.quiet ? nowhere : err, err};
  std::ostream* json_out = given.format == "json" ? &out : nullptr;
  std::optional<BatchSession> session;
  try {
    if (command == Command::kPermute || command == Command::kStrata)
      if (const std::optional<std::string> problem = permute_options_problem(given)) runtime::raise(*problem);
    if (command == Command::kImport) return run_import(given.study, out, s.info, given.cancel);
    // Every load changes the working folder: resolve the names given first.
    CommandLine o = given;
    if (!o.plot_dir.empty()) o.plot_dir = std::filesystem::absolute(o.plot_dir).lexically_normal().string();
    // A study's two files are described before loading (loads change the
    // working folder); the three plain files after, from the digests their
    // loads took while reading.
    const bool describe = command != Command::kLoad && o.format == "json";
    std::vector<InputFile> inputs =
        describe && o.study.given() ? describe_study_inputs(o.study) : std::vector<InputFile>{};
    session.emplace(err);
    BatchSession& b = *session;
    // A long load shows its progress on standard error, and Ctrl-C stops it.
    b.ui.on_progress = progress_lines(s.info, is_terminal_stderr(s.info), o.cancel);
    if (o.study.given()) {
      load_study_files(b, o.study);
    } else {
      b.load(o.inputs);
      if (describe) inputs = describe_inputs(o.inputs, b.app.session.sources);
    }
    b.tell_boxes();  // loading goes on whatever its checks find
    int status = 1;
    switch (command) {
      case Command::kLoad:
        print_status(b, o, out);
        status = 0;
        break;
      case Command::kVarExp:
        print_status(b, o, s.info);
        status = run_varexp(b, o, inputs, s);
        break;
      case Command::kPermute:
        print_status(b, o, s.info);
        status = run_permute(b, o, inputs, s);
        break;
      case Command::kShapes:
        print_status(b, o, s.info);
        status = run_shapes(b, o, inputs, out, s.info);
        break;
      case Command::kStrata:
        print_status(b, o, s.info);
        status = run_strata(b, o, inputs, s);
        break;
      case Command::kImport:
        break;  // handled above: it needs no session
    }
    // Output lost on the way (a full disk, a closed standard output) is a
    // failure, however well the analysis went.
    if (status == 0) finish_output(out, command == Command::kLoad ? "the status texts" : "the report");
    b.tell_boxes();
    return status;
  } catch (const runtime::Cancelled& e) {
    if (session) session->tell_boxes();
    const std::string text = std::string("Cancelled: ") + e.what();
    err << text << '\n';
    if (json_out != nullptr) out << error_json_text(text) << '\n';
    return kCancelledStatus;
  } catch (const std::exception& e) {
    if (session) session->tell_boxes();
    tell_error(err, json_out, runtime::error_text(e));
  }
  return 1;
}

int finish_printed(std::ostream& out, const std::string& what, std::ostream& err) {
  try {
    finish_output(out, what);
    return 0;
  } catch (const std::exception& e) {
    tell_error(err, nullptr, runtime::error_text(e));
  }
  return 1;
}

}  // namespace lumivar::batch
