#include "batch/error_output.h"

#include <ostream>

#include <nlohmann/json.hpp>

#include "results/json_output.h"

namespace lumivar::batch {

std::string one_line(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::size_t b = at, e = end;
    while (b < e && blank(text[b])) ++b;
    while (e > b && blank(text[e - 1])) --e;
    if (e > b) {
      // A sentence or the head of a list ends the line before: a blank
      // follows it; anything else a semicolon.
      if (!out.empty()) out += out.back() == ':' || out.back() == '.' ? " " : "; ";
      out.append(text.substr(b, e - b));
    }
    at = end + 1;
  }
  return out;
}

std::string error_json_text(std::string_view text) {
  return results::json_text(nlohmann::json{{"error", one_line(text)}});
}

void tell_warning(std::ostream& err, std::string_view text) {
  err << "lumivar-batch: warning: " << one_line(text) << '\n';
}

void tell_error(std::ostream& err, std::ostream* json_out, std::string_view text) {
  err << "lumivar-batch: error: " << one_line(text) << '\n';
  if (json_out != nullptr) *json_out << error_json_text(text) << '\n';
}

}  // namespace lumivar::batch
