#include "gui/study_names.h"

namespace lumivar::gui {

namespace {

std::map<double, std::string> words_of(const study::ValueCoding& coding) {
  std::map<double, std::string> words;
  if (coding.as_written) return words;
  for (std::size_t i = 0; i < coding.values.size() && i < coding.codes.size(); ++i)
    words[coding.codes[i]] = coding.values[i];
  return words;
}

}  // namespace

std::string StudyNames::code_name(int g, double code) const {
  if (g < 0 || g >= static_cast<int>(codes.size())) return {};
  const auto it = codes[static_cast<std::size_t>(g)].find(code);
  return it == codes[static_cast<std::size_t>(g)].end() ? std::string() : it->second;
}

std::string StudyNames::specimen_of(std::size_t row) const {
  if (row == 0 || specimens.empty()) return {};
  return specimens[(row - 1) % specimens.size()];
}

StudyNames study_names(const study::Study& s, const std::string& landmarks_path) {
  return {landmarks_path, {words_of(s.g1), words_of(s.g2), words_of(s.measurement)}, s.specimens};
}

}  // namespace lumivar::gui
