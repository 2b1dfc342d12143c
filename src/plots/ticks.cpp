#include "plots/ticks.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "runtime/format.h"

namespace lumivar::plots {

namespace {

double nice_step(double span, int target) {
  const double raw = span / std::max(1, target);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  const double fraction = raw / power;
  const double nice = fraction < 1.5 ? 1 : fraction < 3.5 ? 2 : fraction < 7.5 ? 5 : 10;
  return nice * power;
}

// `v` in the conversion `conversion` ('f' or 'g') with `digits` after the
// point (f) or significant (g), written the same under every locale.
std::string label(char conversion, int digits, double v) {
  const std::string spec = "%." + std::to_string(digits) + conversion;
  return runtime::format(spec, {v == 0 ? 0.0 : v});  // no "-0"
}

}  // namespace

std::vector<Tick> nice_ticks(double lo, double hi, int target) {
  if (!std::isfinite(lo) || !std::isfinite(hi) || lo > hi) return {};
  if (lo == hi) return {{lo, label('g', 6, lo)}};
  double step = nice_step(hi - lo, target);
  // Two ticks at least: a step as wide as the range may leave one multiple inside it.
  if (std::floor(hi / step) - std::ceil(lo / step) < 1) step = nice_step(hi - lo, 2 * target);
  const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
  std::vector<Tick> ticks;
  const double first = std::ceil(lo / step - 1e-9);
  const double last = std::floor(hi / step + 1e-9);
  for (double n = first; n <= last; ++n) {
    const double v = std::clamp(n * step, lo, hi);  // 0.30000000000000004 stays inside
    ticks.push_back({v, label('f', decimals, v)});
  }
  return ticks;
}

}  // namespace lumivar::plots
