#include "input/dimension_note.h"

#include <cctype>

#include "runtime/error.h"

namespace lumivar::input {

namespace {
constexpr std::string_view kWord = "dimensions";
}

std::string dimension_note(int d) { return std::string(kWord) + ": " + std::to_string(d); }

int dimension_of_note(std::string_view line) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!line.empty() && blank(line.front())) line.remove_prefix(1);
  while (!line.empty() && blank(line.back())) line.remove_suffix(1);
  if (line.size() < kWord.size()) return 0;
  for (std::size_t i = 0; i < kWord.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(line[i])) != kWord[i]) return 0;
  line.remove_prefix(kWord.size());
  while (!line.empty() && blank(line.front())) line.remove_prefix(1);
  if (!line.empty() && (line.front() == ':' || line.front() == '=')) line.remove_prefix(1);
  while (!line.empty() && blank(line.front())) line.remove_prefix(1);
  if (line == "2") return 2;
  if (line == "3") return 3;
  return 0;
}

int landmark_dimensions(int requested, std::string_view after_data, const std::string& file) {
  const int noted = dimension_of_note(after_data);
  if (requested != 0 && noted != 0 && requested != noted)
    runtime::raise("The file " + file + " says its landmarks have " + std::to_string(noted) +
                   " coordinates, but they were to be read with " + std::to_string(requested) +
                   ". Nothing was loaded.");
  if (requested != 0) return requested;
  return noted != 0 ? noted : 2;
}

}  // namespace lumivar::input
