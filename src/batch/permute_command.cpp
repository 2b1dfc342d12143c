#include <iostream>

#include "batch/commands.h"
#include "batch/provenance.h"
#include "batch/strata_output.h"
#include "batch/sums_option.h"
#include "batch/run_progress.h"
#include "permutation/permute.h"
#include "runtime/error.h"
#include "runtime/terminal.h"

namespace lumivar::batch {

int run_permute(BatchSession& b, const CommandLine& o, const std::vector<InputFile>& inputs,
                std::ostream& out, std::ostream& err) {
  permutation::PermuteSettings settings;
  settings.seed = o.seed;
  settings.threads = o.threads;
  settings.engine = o.engine == "reference" ? permutation::Engine::kReference : permutation::Engine::kFast;
  // Standard error is a terminal only when it is the process's own.
  const bool terminal = &err == &std::cerr && runtime::is_terminal(stderr);
  settings.progress = run_progress(err, terminal);
  settings.cancel = o.cancel;
  settings.keep_f_values = !o.plot_dir.empty();
  if (o.strata) check_strata_design(b.app.session);
  const partition::SumsSettings sums = sums_settings(o.sums, o.threads, o.cancel);
  settings.sums = sums.sums;
  settings.superimposition_progress = sums.superimposition_progress;
  permutation::PermuteOutcome r =
      permutation::permute_count(b.ui, b.app.session, o.permutations, settings);
  if (!r.done()) return 1;  // run() prints the refusal's message box
  std::string report = r.report;
  std::optional<permutation::StrataResults> strata;
  if (o.strata) strata = strata_after_permute(b.app.session, r);
  if (o.format == "json") {
    nlohmann::json j = permute_json(r.partition, r.test);
    j["provenance"] = provenance_json(inputs, &r.test);
    if (strata) j["strata"] = strata_json(*strata);
    report = json_text(j);
  } else if (strata) {
    report = with_strata_text(report, *strata);
  }
  stop_if_cancelled(o, "The permutation test");
  // Pictures before the report: a failure to write them prints no report.
  if (!o.plot_dir.empty()) {
    if (r.test.plan.nperm > permutation::kMaxKeptFValues)
      err << "No F distributions drawn: runs of more than " << permutation::kMaxKeptFValues
          << " relabellings keep no F values.\n";
    write_plots_and_tell(shell::permute_snapshot(b.app.session, std::move(r)), o, err);
  }
  out << report << '\n';
  return 0;
}

}  // namespace lumivar::batch
