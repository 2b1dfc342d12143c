#include "study/study_text.h"

#include "input/dimension_note.h"
#include "study/landmark_file.h"

namespace lumivar::study {

namespace {

std::string value_list(const ValueCoding& c, const runtime::Matrix& codes, std::size_t column) {
  std::string s;
  for (std::size_t v = 0; v < c.values.size(); ++v) {
    std::size_t count = 0;
    for (std::size_t i = 1; i <= codes.rows(); ++i) count += codes(i, column) == c.codes[v] ? 1 : 0;
    s += (v == 0 ? "" : ", ");
    s += c.as_written ? c.values[v] : c.values[v] + " = " + number_text(c.codes[v]);
    s += " (" + std::to_string(count) + (count == 1 ? " specimen)" : " specimens)");
  }
  return s;
}

}  // namespace

std::string plain_text(const runtime::Matrix& m) {
  std::string s;
  for (std::size_t i = 1; i <= m.rows(); ++i) {
    for (std::size_t j = 1; j <= m.cols(); ++j) s += number_text(m(i, j)) + (j < m.cols() ? " " : "\n");
  }
  return s;
}

std::string landmarks_text(const Study& s) {
  std::string text = plain_text(s.data);
  if (s.dimensions != 2) text += "\n" + input::dimension_note(s.dimensions) + "\n";
  return text;
}

std::string codes_text(const Study& s) {
  std::string t = "column\tvalue\tcode\n";
  for (std::size_t i = 0; i < s.specimens.size(); ++i)
    t += "specimen\t" + s.specimens[i] + "\t" + std::to_string(i + 1) + "\n";
  for (const ValueCoding* c : {&s.measurement, &s.g1, &s.g2})
    for (std::size_t v = 0; v < c->values.size(); ++v)
      t += c->column + "\t" + c->values[v] + "\t" + number_text(c->codes[v]) + "\n";
  return t;
}

std::string summary_text(const Study& s) {
  const std::size_t n = s.specimens.size();
  std::string t = std::to_string(n) + (n == 1 ? " specimen" : " specimens") + " at " +
                  std::to_string(s.measurements.size()) +
                  (s.measurements.size() == 1 ? " measurement (" : " measurements (");
  for (std::size_t m = 0; m < s.measurements.size(); ++m) {
    t += (m == 0 ? "" : ", ") + s.measurements[m];
    if (!s.measurement.as_written) t += " = " + number_text(s.measurement.code_of(s.measurements[m]));
  }
  t += "), " + std::to_string(s.landmarks) + (s.landmarks == 1 ? " landmark" : " landmarks") +
       (s.dimensions == 3 ? " (3-D): " : ": ") + std::to_string(s.data.rows()) + " rows.\n";
  t += "G1: " + value_list(s.g1, s.group, 1) + "\n";
  t += "G2: " + value_list(s.g2, s.group, 2) + "\n";
  if (!s.measured_once.empty()) {
    constexpr std::size_t kNamed = 10;
    const std::size_t once = s.measured_once.size();
    t += "Measured once (" + std::to_string(once) + "): ";
    for (std::size_t i = 0; i < once && i < kNamed; ++i)
      t += (i == 0 ? "" : ", ") + s.measured_once[i];
    if (once > kNamed) t += " and " + std::to_string(once - kNamed) + " more";
    t += "; only the tests by strata take such a study, leaving them out.\n";
  }
  return t;
}

}  // namespace lumivar::study
