#include "batch/commands.h"
#include "batch/error_output.h"
#include "batch/provenance.h"
#include "batch/report_output.h"
#include "batch/strata_output.h"
#include "batch/sums_option.h"
#include "batch/progress_line.h"
#include "batch/run_progress.h"
#include "permutation/permute.h"
#include "runtime/error.h"

namespace lumivar::batch {

int run_permute(BatchSession& b, const CommandLine& o, const std::vector<InputFile>& inputs,
                const Streams& s) {
  permutation::PermuteSettings settings;
  settings.seed = o.seed;
  settings.threads = o.threads;
  settings.engine = o.engine == "reference" ? permutation::Engine::kReference : permutation::Engine::kFast;
  settings.progress = run_progress(s.info, is_terminal_stderr(s.info));
  settings.cancel = o.cancel;
  settings.keep_f_values = !o.plot_dir.empty();
  if (o.strata) check_strata_design(b.app.session);
  const partition::SumsSettings sums = sums_settings(o.sums, o.threads, !o.quiet, o.cancel);
  settings.sums = sums.sums;
  settings.superimposition_progress = sums.superimposition_progress;
  permutation::PermuteOutcome r =
      permutation::permute_count(b.ui, b.app.session, o.permutations, settings);
  // A refusal's message box says why: it is the error.
  if (!r.done()) runtime::raise(b.take_last_box());
  std::optional<permutation::StrataResults> strata;
  if (o.strata) strata = strata_after_permute(b.app.session, r);
  const std::string report =
      report_output(o, {r.report, r.partition, &r.test, strata ? &*strata : nullptr, r.sums}, inputs);
  stop_if_cancelled(o, "The permutation test");
  // Pictures before the report: a failure to write them prints no report.
  if (!o.plot_dir.empty()) {
    if (r.test.plan.nperm > permutation::kMaxKeptFValues)
      tell_warning(s.err, "No F distributions drawn: runs of more than " +
                              std::to_string(permutation::kMaxKeptFValues) +
                              " relabellings keep no F values.");
    write_plots_and_tell(shell::permute_snapshot(b.app.session, std::move(r)), b, o, s.info);
  }
  s.out << report << '\n';
  return 0;
}

}  // namespace lumivar::batch
