#include "batch/option_checks.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "batch/commands.h"
#include "permutation/permute.h"

namespace lumivar::batch {

namespace {

std::string shown(const std::string& text) { return " (given: \"" + text + "\")"; }

}  // namespace

std::string permutations_problem(const std::string& text) {
  if (permutation::parse_permutation_count(text)) return "";
  return std::string(kPermutationsRule) + shown(text);
}

std::string threads_problem(const std::string& text) {
  int value = -1;
  const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
  if (digits) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc() && end == text.data() + text.size() && value <= kMaxThreads) return "";
  }
  return std::string(kThreadsRule) + shown(text);
}

std::string magnification_problem(const std::string& text) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end != text.c_str() && *end == '\0' && v > 0 && std::isfinite(v)) return "";
  return std::string(kMagnificationRule) + shown(text);
}

std::optional<std::string> permute_options_problem(const CommandLine& o) {
  if (std::string p = permutations_problem(o.permutations); !p.empty()) return "--permutations: " + p;
  if (o.threads < 0 || o.threads > kMaxThreads) return "--threads: " + std::string(kThreadsRule);
  if (o.engine == "reference" && o.sums == "coordinates")
    return "--engine reference cannot go with --sums coordinates: the reference engine reads the "
           "distance matrix, which is not built when the sums come from the coordinates.";
  return std::nullopt;
}

}  // namespace lumivar::batch
