#include "shape_space/study_labels.h"

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

}  // namespace lumivar::shape_space
