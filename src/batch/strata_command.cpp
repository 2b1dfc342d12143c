#include <ostream>

#include "batch/commands.h"
#include "batch/error_output.h"
#include "batch/report_output.h"
#include "batch/progress_line.h"
#include "batch/run_progress.h"
#include "batch/strata_output.h"
#include "batch/superimposition_progress.h"
#include "geometry/getconsensus.h"
#include "permutation/permute.h"
#include "results/tidy_table.h"

namespace lumivar::batch {

int run_strata(BatchSession& b, const CommandLine& o, const std::vector<InputFile>& inputs,
               const Streams& st) {
  const runtime::Session& s = b.app.session;
  // run() has checked the options (option_checks.h).
  const std::uint64_t nperm = permutation::parse_permutation_count(o.permutations).value();
  permutation::PermuteSettings settings;
  settings.seed = o.seed;
  settings.threads = o.threads;
  if (!o.quiet) settings.progress = run_progress(st.info, is_terminal_stderr(st.info));
  settings.cancel = o.cancel;
  geometry::SuperimpositionSettings superimposition;
  superimposition.threads = o.threads;
  superimposition.dimensions = s.dimensions;
  if (!o.quiet) superimposition.progress = terminal_superimposition_progress();
  const permutation::RunPlan plan = permutation::run_plan(settings, nperm);
  permutation::StrataResults r = permutation::strata_of_data(
      s.data, s.group, s.repgroup, o.ss_type == 2 ? models::SsType::kII : models::SsType::kIII,
      superimposition, &plan);
  stop_if_cancelled(o, "The tests by strata");
  // A study from a sheet names the specimens it leaves out by their ids.
  if (b.sheet_labels) r.specimen_ids = b.sheet_labels->specimen_ids;
  const std::string warning = permutation::left_out_warning(r.table, r.specimen_ids);
  if (!warning.empty()) tell_warning(st.err, warning);
  const std::vector<results::TidyRow> rows = results::tidy_strata_rows(r);
  if (o.format == "csv" || o.format == "tsv") {
    st.out << results::tidy_text(rows, o.format == "csv" ? ',' : '\t');
  } else if (o.format == "json") {
    results::Maker maker;
    maker.command_line = o.words;
    nlohmann::json j = {{"strata", strata_json(r)}, {"provenance", results::provenance_json(inputs, nullptr, maker)}};
    j["seed"] = plan.seed;
    j["seed_text"] = std::to_string(plan.seed);
    j["table"] = results::tidy_json(rows);
    st.out << json_text(j) << '\n';
  } else {
    st.out << permutation::strata_report(r) << "\n\n" << seed_line(plan.seed) << '\n';
  }
  return 0;
}

}  // namespace lumivar::batch
