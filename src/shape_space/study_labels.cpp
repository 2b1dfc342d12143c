#include "shape_space/study_labels.h"

#include <algorithm>

#include "partition/analysis_inputs.h"

namespace lumivar::shape_space {

std::string level_name(const std::map<double, std::string>& names, double code) {
  const auto it = names.find(code);
  return it != names.end() ? it->second : partition::detail::code_text(code);
}

StudyLabels labels_from_rows(const runtime::Matrix& data) {
  StudyLabels labels;
  labels.specimens.reserve(data.rows());
  for (std::size_t i = 1; i <= data.rows(); ++i)
    labels.specimens.push_back(data.cols() > 0 ? partition::detail::code_text(data(i, data.cols())) : "");
  return labels;
}

namespace {

// Each code's word in a sheet column.
std::map<double, std::string> level_words(const study::ValueCoding& coding) {
  std::map<double, std::string> names;
  for (std::size_t i = 0; i < coding.values.size() && i < coding.codes.size(); ++i)
    names.emplace(coding.codes[i], coding.values[i]);
  return names;
}

bool same(const runtime::InputSource& a, const runtime::InputSource& b) {
  return a.path == b.path && a.sha256 == b.sha256;
}

}  // namespace

StudyLabels labels_of(const study::Study& st) {
  StudyLabels l;
  // Rows 0 .. n-1 and n .. 2n-1 (0-based) are the specimens measured at
  // every measurement; specimen n + j, measured once, is row 2n + j.
  const std::size_t rows = st.data.rows();
  const std::size_t n = st.specimens.size() - std::min(st.measured_once.size(), st.specimens.size());
  for (std::size_t i = 0; i < rows; ++i) {
    const std::size_t specimen = i < n ? i : i - n;
    l.specimens.push_back(specimen < st.specimens.size() ? st.specimens[specimen] : std::string());
  }
  l.specimen_ids = st.specimens;
  l.g1 = level_words(st.g1);
  l.g2 = level_words(st.g2);
  l.t = level_words(st.measurement);
  return l;
}

std::shared_ptr<const StudyLabels> labels_for(const ImportedLabels& imported,
                                              const runtime::InputSources& analysed, std::size_t rows) {
  const runtime::InputSources& s = imported.sources;
  if (!imported.labels || imported.labels->specimens.size() != rows || s.data.path.empty() ||
      !same(s.data, analysed.data) || !same(s.reps, analysed.reps) || !same(s.groups, analysed.groups))
    return nullptr;
  return imported.labels;
}

}  // namespace lumivar::shape_space
