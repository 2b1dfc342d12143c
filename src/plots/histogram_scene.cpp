#include "plots/histogram_scene.h"

#include <algorithm>
#include <cmath>

#include "plots/histogram.h"
#include "plots/palette.h"
#include "plots/ticks.h"
#include "runtime/format.h"

namespace lumivar::plots {

namespace {

double counted_p(const std::vector<double>& f_values, double observed_f) {
  const auto above = std::count_if(f_values.begin(), f_values.end(),
                                   [&](double f) { return f > observed_f; });
  return (1.0 + static_cast<double>(above)) / (static_cast<double>(f_values.size()) + 1.0);
}

}  // namespace

Scene histogram_scene(const std::vector<double>& f_values, double observed_f,
                      const std::string& effect_label, std::optional<double> p_value) {
  const double p = p_value ? *p_value : counted_p(f_values, observed_f);
  const Histogram h = make_histogram(f_values, observed_f);

  Scene s;
  s.title = "Permutation distribution of F for " + effect_label;
  // Locale-free, and a P or F that could not be computed reads NaN as in the reports.
  s.subtitle = runtime::format("observed F = %.4g, P = %.4f from %i relabellings",
                               {observed_f, p, static_cast<double>(f_values.size())});
  if (h.non_finite > 0)
    s.subtitle += "; " + std::to_string(h.non_finite) + " gave no finite F";

  std::size_t tallest = 0;
  for (std::size_t i = 0; i < h.counts.size(); ++i) {
    tallest = std::max(tallest, h.counts[i]);
    const double x0 = h.lo + h.width * static_cast<double>(i);
    s.rects.push_back({{x0, x0 + h.width, 0, static_cast<double>(h.counts[i])}, kBarFill, kBarStroke});
  }
  const double top = std::max(1.0, 1.08 * static_cast<double>(tallest));
  const double pad = h.counts.empty() ? 0.5 : 0.02 * (h.hi() - h.lo);
  s.bounds = {h.counts.empty() ? -pad : h.lo - pad, h.counts.empty() ? pad : h.hi() + pad, 0, top};
  if (std::isfinite(observed_f) && h.counts.empty()) {  // nothing to bin: centre on the observed F
    s.bounds.x_min += observed_f;
    s.bounds.x_max += observed_f;
  }
  s.x_axis = {"F under relabelling", nice_ticks(s.bounds.x_min, s.bounds.x_max, 6)};
  s.y_axis = {"relabellings", nice_ticks(0, top, 5)};
  s.legend.push_back({LegendEntry::Kind::kBar, kBarFill, "relabelled F"});

  if (std::isfinite(observed_f)) {
    Polyline marker;
    marker.points = {{observed_f, 0}, {observed_f, top}};
    marker.colour = kObservedMarker;
    marker.width_px = 2;
    s.lines.push_back(marker);
    const bool right_half = observed_f > (s.bounds.x_min + s.bounds.x_max) / 2;
    s.labels.push_back({{observed_f, top}, "observed F", kObservedMarker,
                        right_half ? Align::kEnd : Align::kStart, right_half ? -5.0 : 5.0, 14, 11,
                        true});
    s.legend.push_back({LegendEntry::Kind::kLine, kObservedMarker, "observed F"});
  }
  return s;
}

}  // namespace lumivar::plots
