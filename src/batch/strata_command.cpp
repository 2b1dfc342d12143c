#include <ostream>

#include "batch/commands.h"
#include "batch/run_progress.h"
#include "batch/strata_output.h"
#include "batch/sums_option.h"
#include "geometry/getconsensus.h"
#include "permutation/permute.h"
#include "runtime/error.h"
#include "runtime/terminal.h"

namespace lumivar::batch {

int run_strata(BatchSession& b, const CommandLine& o, const std::vector<InputFile>& inputs,
               std::ostream& out, std::ostream& err) {
  const runtime::Session& s = b.app.session;
  const std::optional<std::uint64_t> nperm = permutation::parse_permutation_count(o.permutations);
  if (!nperm)
    runtime::raise("--permutations must be one whole number of at least 0, not \"" +
                   o.permutations + "\".");
  permutation::PermuteSettings settings;
  settings.seed = o.seed;
  settings.threads = o.threads;
  const bool terminal = &err == &std::cerr && runtime::is_terminal(stderr);
  settings.progress = run_progress(err, terminal);
  settings.cancel = o.cancel;
  geometry::SuperimpositionSettings superimposition;
  superimposition.threads = o.threads;
  superimposition.progress = sums_settings("auto", o.threads).superimposition_progress;
  const permutation::RunPlan plan = permutation::run_plan(settings, *nperm);
  const permutation::StrataResults r = permutation::strata_of_data(
      s.data, s.group, s.repgroup, o.ss_type == 2 ? models::SsType::kII : models::SsType::kIII,
      superimposition, &plan);
  const std::string warning = permutation::left_out_warning(r.table);
  if (!warning.empty()) err << "Warning: " << warning << '\n';
  if (o.format == "json") {
    nlohmann::json j = {{"strata", strata_json(r)}, {"provenance", provenance_json(inputs)}};
    out << json_text(j) << '\n';
  } else {
    out << permutation::strata_report(r) << '\n';
  }
  return 0;
}

}  // namespace lumivar::batch
