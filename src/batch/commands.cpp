#include "batch/commands.h"

#include <filesystem>
#include <ostream>

#include "batch/provenance.h"
#include "batch/plot_files.h"
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
               std::ostream& out, std::ostream& err) {
  partition::VarExpOutcome v = partition::varexp(b.ui, b.app.session, sums_settings(o.sums, 0));
  std::string report = v.report;
  std::optional<permutation::StrataResults> strata;
  if (o.strata) strata = strata_after_varexp(b.app.session, v);
  if (o.format == "json") {
    nlohmann::json j = varexp_json(v.partition);
    j["provenance"] = provenance_json(inputs);
    if (strata) j["strata"] = strata_json(*strata);
    report = json_text(j);
  } else if (strata) {
    report = with_strata_text(report, *strata);
  }
  // Pictures before the report: a failure to write them prints no report.
  if (!o.plot_dir.empty()) write_plots_and_tell(shell::varexp_snapshot(b.app.session, std::move(v)), o, err);
  out << report << '\n';
  return 0;
}

}  // namespace

void write_plots_and_tell(const shell::AnalysisSnapshot& a, const CommandLine& o, std::ostream& err) {
  if (o.plot_dir.empty()) return;
  for (const std::string& path : write_plots(a, o.plot_dir)) err << "Wrote " << path << '\n';
}

int run(Command command, const CommandLine& given, std::ostream& out, std::ostream& err) {
  std::optional<BatchSession> session;
  try {
    if (command == Command::kImport) return run_import(given.study, out, err, given.cancel);
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
    b.ui.on_progress = progress_lines(err, is_terminal_stderr(err), o.cancel);
    if (o.study.given()) {
      load_study_files(b, o.study);
    } else {
      b.load(o.inputs);
      if (describe) inputs = describe_inputs(o.inputs, b.app.session.sources);
    }
    b.tell_boxes(true);  // loading goes on whatever its checks find
    int status = 1;
    switch (command) {
      case Command::kLoad:
        print_status(b, o, out);
        status = 0;
        break;
      case Command::kVarExp:
        print_status(b, o, err);
        status = run_varexp(b, o, inputs, out, err);
        break;
      case Command::kPermute:
        print_status(b, o, err);
        status = run_permute(b, o, inputs, out, err);
        break;
      case Command::kStrata:
        print_status(b, o, err);
        status = run_strata(b, o, inputs, out, err);
        break;
      case Command::kImport:
        break;  // handled above: it needs no session
    }
    b.tell_boxes(status == 0);
    return status;
  } catch (const runtime::Cancelled& e) {
    if (session) session->tell_boxes(false);
    err << "Cancelled: " << e.what() << '\n';
    return kCancelledStatus;
  } catch (const std::exception& e) {
    if (session) session->tell_boxes(false);
    err << "lumivar-batch: " << runtime::error_text(e) << '\n';
  }
  return 1;
}

}  // namespace lumivar::batch
