#include "permutation/permute.h"

#include <atomic>
#include <cmath>
#include <memory>

#include "geometry/distance_memory.h"
#include "partition/analysis_fit.h"
#include "partition/analysis_inputs.h"
#include "partition/shapes_do_not_vary.h"
#include "permutation/permute_report.h"
#include "runtime/error.h"
#include "runtime/format.h"
#include "runtime/memory_limit.h"
#include "runtime/numbers.h"
#include "runtime/printable.h"

namespace lumivar::permutation {

namespace {

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
         (t.empty() ? std::string("It is empty.") : "It holds \"" + runtime::printable(t) + "\".");
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

}  // namespace

std::optional<std::uint64_t> parse_permutation_count(std::string_view text) {
  const std::string t = trimmed(text);
  const std::optional<double> v = runtime::parse_number(t);  // one token only: no blanks inside
  if (!v || !std::isfinite(*v) || *v < 0 || *v != std::floor(*v) || *v > kMaxPermutations)
    return std::nullopt;
  return static_cast<std::uint64_t>(*v);
}

std::string reference_engine_refusal(partition::SumsMethod requested, std::size_t rows) {
  if (requested == partition::SumsMethod::kCoordinates)
    return "The reference engine reads the distance matrix, which is not built when the sums "
           "come from the coordinates. Take the sums through the matrix, or use the fast engine.";
  const std::optional<std::uint64_t> available = runtime::available_memory_bytes();
  return "The reference engine needs the distance matrix of " + std::to_string(rows) +
         " rows (" + runtime::gigabytes(geometry::distance_matrix_bytes(rows)) +
         "), more than half of the memory this process may still take (" +
         runtime::gigabytes(available ? static_cast<double>(*available) : 0.0) +
         "). The fast engine does without it.";
}

double monte_carlo_se(double p, std::uint64_t nperm) {
  return std::sqrt(p * (1 - p) / (static_cast<double>(nperm) + 1));
}

PermuteOutcome permute(runtime::WindowRuntime& ui, runtime::Session& s,
                       const PermuteSettings& settings) {
  const std::vector<runtime::Handle> boxes = ui.find_by_tag("PermBox");
  if (boxes.empty())
    runtime::raise("The window has no control tagged \"PermBox\" for the number of permutations.");
  return permute_count(ui, s, box_text(ui.get(boxes.front(), "String")), settings);
}

PermuteOutcome permute_count(runtime::WindowRuntime& ui, runtime::Session& s,
                             std::string_view nperm_text, const PermuteSettings& settings) {
  const std::optional<std::uint64_t> nperm = parse_permutation_count(nperm_text);
  if (!nperm) return refused(ui, count_refusal(nperm_text));
  // Inputs that no analysis can use are refused as "VarExp" refuses them,
  // before the layouts that only the relabelling cannot use.
  const partition::DesignSizes sizes = partition::check_analysis_inputs(s);
  if (auto why = layout_refusal(s)) return refused(ui, std::move(*why));
  partition::check_permutation_design(s, sizes);

  const partition::SumsSettings sums{settings.sums,           settings.threads,
                                     settings.superimposition_progress, settings.cancel,
                                     settings.matrix_progress, settings.beside};
  const partition::SumsMethod way = partition::sums_method_for(
      sums, s.data.rows(), settings.engine == Engine::kReference);
  if (way == partition::SumsMethod::kCoordinates && settings.engine == Engine::kReference)
    return refused(ui, reference_engine_refusal(settings.sums, s.data.rows()));
  if (way == partition::SumsMethod::kMatrix)
    geometry::check_distance_matrix_memory(s.data.rows(),
                                           geometry::distance_matrix_bytes(s.dmatrix.rows()));

  partition::AnalysisFit fit =
      partition::fit_and_partition(s.data, s.group, s.repgroup, sizes, way, sums, s.dimensions);

  // Without a progress hook of its own the run reports to the window, and a
  // cancel there raises the action's own flag (the caller's flag, if any, is
  // still honoured at the next report).
  PermuteSettings run = settings;
  std::atomic<bool> cancelled_here{false};
  std::unique_ptr<runtime::ProgressMonitor> monitor;
  if (!settings.progress) monitor = ui.begin_progress("Permutation test");
  if (monitor) {
    run.cancel = &cancelled_here;
    run.progress = [&](std::size_t done, std::size_t total) {
      const bool go_on = monitor->update(done, total);
      if (!go_on || (settings.cancel != nullptr && settings.cancel->load())) cancelled_here = true;
    };
  }
  PermuteOutcome o;
  try {
    o.test = run_permutation_test(
        DesignData{fit.xpt, fit.dmatrix, s.group, s.repgroup, sizes}, fit.partition, *nperm, run);
  } catch (const runtime::Cancelled&) {
    throw;  // a cancel changes nothing
  } catch (...) {
    // Any other failure ends the action with the rebuilt matrix stored, as
    // in "VarExp".
    s.dmatrix = std::move(fit.dmatrix);
    throw;
  }
  monitor.reset();
  s.dmatrix = std::move(fit.dmatrix);
  o.partition = fit.partition;
  o.sizes = sizes;
  o.xpt = std::move(fit.xpt);
  o.consensus = std::move(fit.consensus);
  o.sums = fit.sums;
  o.report = permute_report(o.partition, static_cast<double>(*nperm), o.test.p_perm_f,
                            o.test.p_perm_ss);
  ui.set_string_by_tag("ResBox", o.report);
  partition::warn_if_shapes_do_not_vary(ui, o.partition);
  if (*nperm == 0) ui.message_box(std::string(kNoRelabellingsWarning), std::string(kRefusalTitle));
  o.status = PermuteOutcome::Status::kDone;
  return o;
}

}  // namespace lumivar::permutation
