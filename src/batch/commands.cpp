#include "batch/commands.h"

#include <filesystem>
#include <ostream>

#include "batch/json_output.h"
#include "batch/plot_files.h"
#include "partition/varexp.h"
#include "runtime/error.h"

namespace lumivar::batch {

std::string json_text(const nlohmann::json& j) {
  // File names are bytes; JSON text is UTF-8.
  return j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

namespace detail {

void print_status(const BatchSession& b, const CommandLine& o, std::ostream& s) {
  s << b.box_text("FileBox") << '\n';
  if (o.inputs.reps) s << b.box_text("RepBox") << '\n';
  if (o.inputs.groups) s << b.box_text("GroupBox") << '\n';
}

int run_varexp(BatchSession& b, const CommandLine& o, const std::vector<InputFile>& inputs,
               std::ostream& out, std::ostream& err) {
  partition::VarExpOutcome v = partition::varexp(b.ui, b.app.session);
  std::string report = b.box_text("ResBox");
  if (o.format == "json") {
    nlohmann::json j = varexp_json(v.partition);
    j["provenance"] = provenance_json(inputs);
    report = json_text(j);
  }
  // Pictures before the report: a failure to write them prints no report.
  if (!o.plot_dir.empty()) write_plots_and_tell(shell::varexp_snapshot(b.app.session, std::move(v)), o, err);
  out << report << '\n';
  return 0;
}

}  // namespace detail

void write_plots_and_tell(const shell::AnalysisSnapshot& a, const CommandLine& o, std::ostream& err) {
  if (o.plot_dir.empty()) return;
  for (const std::string& path : write_plots(a, o.plot_dir)) err << "Wrote " << path << '\n';
}

int run(Command command, const CommandLine& given, std::ostream& out, std::ostream& err) {
  std::optional<BatchSession> session;
  try {
    // Every load changes the working folder: resolve the names given first.
    CommandLine o = given;
    if (!o.plot_dir.empty()) o.plot_dir = std::filesystem::absolute(o.plot_dir).lexically_normal().string();
    const std::vector<InputFile> inputs =
        command != Command::kLoad && o.format == "json" ? describe_inputs(o.inputs) : std::vector<InputFile>{};
    session.emplace(err);
    BatchSession& b = *session;
    b.load(o.inputs);
    b.tell_boxes(true);  // loading goes on whatever its checks find
    int status = 1;
    switch (command) {
      case Command::kLoad:
        detail::print_status(b, o, out);
        status = 0;
        break;
      case Command::kVarExp:
        detail::print_status(b, o, err);
        status = detail::run_varexp(b, o, inputs, out, err);
        break;
      case Command::kPermute:
        detail::print_status(b, o, err);
        status = run_permute(b, o, inputs, out, err);
        break;
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
