#include "permutation/permute.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <random>

#include <tbb/info.h>

#include "geometry/allpairwiseprocrustes.h"
#include "geometry/distance_memory.h"
#include "partition/analysis_inputs.h"
#include "permutation/permute_report.h"
#include "runtime/error.h"
#include "runtime/format.h"
#include "runtime/numbers.h"

namespace lumivar::permutation {

namespace detail {

// Above this a count of relabellings is no longer exact in a double.
constexpr double kMaxPermutations = 9007199254740992.0;  // 2^53

std::string trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string count_refusal(std::string_view text) {
  const std::string t = trimmed(text);
  return "The box for the number of permutations must hold one whole number of at least 0 "
         "(for example 999). " +
         (t.empty() ? std::string("It is empty.") : "It holds \"" + t + "\".");
}

// The text of the control's String, whatever form it was stored in.
std::string box_text(const runtime::Value& v) {
  if (v.is_text()) return v.text();
  if (v.is_matrix()) return runtime::format("%s ", {v});
  if (v.is_list()) {
    std::string out;
    for (const runtime::Value& item : v.list().items()) out += box_text(item) + "\n";
    return out;
  }
  return {};
}

// What the relabelling needs: rows j and j + mg of the data are the two
// measurements of specimen j, and the measurement code has two values.
std::optional<std::string> layout_refusal(const runtime::Session& s) {
  if (s.data.empty() || s.group.empty() || s.nrep.empty()) return std::nullopt;
  const double m = static_cast<double>(s.data.rows());
  const double mg = static_cast<double>(s.group.rows());
  const double nrep = s.nrep(1);
  if (m == 2 * mg && nrep == 2) return std::nullopt;
  return runtime::format(
      "The permutation test needs two measurements of every specimen: twice as many rows of "
      "landmark data as rows of group codes, and repeated-measures codes with two values. "
      "Loaded: %i rows of landmark data, %i rows of group codes and %i repeated-measures "
      "code values.",
      {m, mg, nrep});
}

PermuteOutcome refused(runtime::WindowRuntime& ui, std::string text) {
  ui.message_box(text, std::string(kRefusalTitle));
  PermuteOutcome o;
  o.status = PermuteOutcome::Status::kRefused;
  o.refusal = std::move(text);
  return o;
}

std::uint64_t system_seed() {
  std::random_device rd;
  return (static_cast<std::uint64_t>(rd()) << 32) ^ rd();
}

}  // namespace detail

std::optional<std::uint64_t> parse_permutation_count(std::string_view text) {
  const std::string t = detail::trimmed(text);
  const std::optional<double> v = runtime::parse_number(t);  // one token only: no blanks inside
  if (!v || !std::isfinite(*v) || *v < 0 || *v != std::floor(*v) || *v > detail::kMaxPermutations)
    return std::nullopt;
  return static_cast<std::uint64_t>(*v);
}

double monte_carlo_se(double p, std::uint64_t nperm) {
  return std::sqrt(p * (1 - p) / (static_cast<double>(nperm) + 1));
}

PermuteOutcome permute(runtime::WindowRuntime& ui, runtime::Session& s,
                       const PermuteSettings& settings) {
  const std::vector<runtime::Handle> boxes = ui.find_by_tag("PermBox");
  if (boxes.empty())
    runtime::raise("The window has no control tagged \"PermBox\" for the number of permutations.");
  return permute_count(ui, s, detail::box_text(ui.get(boxes.front(), "String")), settings);
}

PermuteOutcome permute_count(runtime::WindowRuntime& ui, runtime::Session& s,
                             std::string_view nperm_text, const PermuteSettings& settings) {
  const std::optional<std::uint64_t> nperm = parse_permutation_count(nperm_text);
  if (!nperm) return detail::refused(ui, detail::count_refusal(nperm_text));
  if (auto why = detail::layout_refusal(s)) return detail::refused(ui, std::move(*why));
  const partition::DesignSizes sizes = partition::check_analysis_inputs(s);
  geometry::check_distance_matrix_memory(s.data.rows(), geometry::distance_matrix_bytes(s.dmatrix.rows()));

  PermuteOutcome o;
  o.nperm = *nperm;
  o.seed = settings.seed ? *settings.seed : detail::system_seed();
  o.engine = settings.engine;
  // More threads than the process may run would only wait on each other (and
  // oneTBB warns about them); the counts are the same for any number.
  const int available = tbb::info::default_concurrency();
  o.threads = settings.threads > 0 ? std::min(settings.threads, available) : available;

  // The rebuilt distance matrix is stored once the run can no longer be
  // cancelled, so that a cancel leaves the session as it was.
  geometry::ProcrustesDistances fit = geometry::procrustes_distances(s.data, o.threads);
  o.partition = partition::compute_partition(fit.d, s.group, s.repgroup, sizes);

  const std::unique_ptr<PermutationEngine> engine =
      make_engine(settings.engine, DesignData{fit.xpt, fit.d, s.group, s.repgroup, sizes});
  RunPlan plan;
  plan.nperm = o.nperm;
  plan.seed = o.seed;
  plan.threads = o.threads;
  plan.sizes = sizes;
  plan.progress = settings.progress;
  plan.cancel = settings.cancel;
  plan.keep_f_values = settings.keep_f_values && o.nperm <= kMaxKeptFValues;

  // Without a progress hook of its own the run reports to the window, and a
  // cancel there raises the action's own flag (the caller's flag, if any, is
  // still honoured at the next report).
  std::atomic<bool> cancelled_here{false};
  std::unique_ptr<runtime::ProgressMonitor> monitor;
  if (!settings.progress) monitor = ui.begin_progress("Permutation test");
  if (monitor) {
    plan.cancel = &cancelled_here;
    plan.progress = [&](std::size_t done, std::size_t total) {
      const bool go_on = monitor->update(done, total);
      if (!go_on || (settings.cancel != nullptr && settings.cancel->load())) cancelled_here = true;
    };
  }
  Counts counts;
  try {
    counts = permutation_counts(*engine, plan);
  } catch (...) {
    // Any other failure ends the action with the rebuilt matrix stored, as
    // in "VarExp"; a cancel changes nothing.
    const bool cancelled =
        cancelled_here || (settings.cancel != nullptr && settings.cancel->load());
    if (!cancelled) s.dmatrix = std::move(fit.d);
    throw;
  }
  monitor.reset();
  s.dmatrix = std::move(fit.d);
  o.sizes = sizes;
  o.xpt = std::move(fit.xpt);
  o.consensus = std::move(fit.consensus);

  const double labellings = static_cast<double>(o.nperm) + 1;
  for (int k = 0; k < kEffectCount; ++k) {
    o.p_perm_f[k] = static_cast<double>(counts.exceedances[k]) / labellings;
    o.p_perm_ss[k] = static_cast<double>(counts.ev_exceedances[k]) / labellings;
  }
  o.exceedances = counts.exceedances;
  o.ev_exceedances = counts.ev_exceedances;
  o.f_values = std::move(counts.f_values);
  o.report = permute_report(o.partition, static_cast<double>(o.nperm), o.p_perm_f, o.p_perm_ss);
  ui.set_string_by_tag("ResBox", o.report);
  o.status = PermuteOutcome::Status::kDone;
  return o;
}

}  // namespace lumivar::permutation
