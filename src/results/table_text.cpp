#include "results/table_text.h"

#include <charconv>
#include <cmath>

namespace lumivar::results {

std::string number_text(double x) {
  if (std::isnan(x)) return "NaN";
  if (std::isinf(x)) return x > 0 ? "Inf" : "-Inf";
  char buf[40];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, x).ptr);
}

std::string table_field(const std::string& text, char separator) {
  if (text.find_first_of(std::string{separator, '"', '\n', '\r'}) == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace lumivar::results
