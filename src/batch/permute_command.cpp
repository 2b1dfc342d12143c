#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ostream>

#include "batch/commands.h"
#include "batch/provenance.h"
#include "batch/strata_output.h"
#include "batch/sums_option.h"
#include "permutation/permute.h"
#include "runtime/error.h"

namespace lumivar::batch {

namespace detail {

// A progress line on standard error, redrawn at most a few times a second,
// only when standard error is a terminal.
std::function<void(std::size_t, std::size_t)> terminal_progress() {
  if (isatty(fileno(stderr)) == 0) return {};
  auto last = std::make_shared<std::chrono::steady_clock::time_point>();
  return [last](std::size_t done, std::size_t total) {
    const auto now = std::chrono::steady_clock::now();
    if (done < total && now - *last < std::chrono::milliseconds(200)) return;
    *last = now;
    std::fprintf(stderr, "\rPermutations: %zu of %zu", done, total);
    if (done >= total) std::fprintf(stderr, "\n");
    std::fflush(stderr);
  };
}

}  // namespace detail

int run_permute(BatchSession& b, const CommandLine& o, const std::vector<InputFile>& inputs,
                std::ostream& out, std::ostream& err) {
  permutation::PermuteSettings settings;
  settings.seed = o.seed;
  settings.threads = o.threads;
  settings.engine = o.engine == "reference" ? permutation::Engine::kReference : permutation::Engine::kFast;
  settings.progress = detail::terminal_progress();
  settings.keep_f_values = !o.plot_dir.empty();
  if (o.strata) check_strata_design(b.app.session);
  const partition::SumsSettings sums = sums_settings(o.sums, o.threads);
  settings.sums = sums.sums;
  settings.superimposition_progress = sums.superimposition_progress;
  permutation::PermuteOutcome r =
      permutation::permute_count(b.ui, b.app.session, o.permutations, settings);
  if (!r.done()) return 1;  // the refusal's message box is on standard error already
  std::string report = b.box_text("ResBox");
  std::optional<permutation::StrataResults> strata;
  if (o.strata) strata = strata_after_permute(b.app.session, r);
  if (o.format == "json") {
    nlohmann::json j = permute_json(r);
    j["provenance"] = provenance_json(inputs, &r);
    if (strata) j["strata"] = strata_json(*strata);
    report = j.dump(2);
  } else if (strata) {
    report = with_strata_text(report, *strata);
  }
  // Pictures before the report: a failure to write them prints no report.
  if (!o.plot_dir.empty()) {
    if (r.nperm > permutation::kMaxKeptFValues)
      err << "No F distributions drawn: runs of more than " << permutation::kMaxKeptFValues
          << " relabellings keep no F values.\n";
    write_plots_and_tell(shell::permute_snapshot(b.app.session, std::move(r)), o, err);
  }
  out << report << '\n';
  return 0;
}

}  // namespace lumivar::batch
