#pragma once
// What the shape-space tables and pictures call rows and levels: a specimen
// name per row and, when the study came from a sheet, the sheet's words for
// the codes of G1, G2 and the measurement; without a sheet the codes name
// themselves.
#include <map>
#include <string>
#include <vector>

#include "runtime/matrix.h"

namespace lumivar::shape_space {

struct StudyLabels {
  std::vector<std::string> specimens;  // one per row of landmark data
  std::map<double, std::string> g1, g2, t;  // code -> name; empty: none given
};

// The name of `code` in `names`, or the code itself as the shortest text that
// reads back as the same number.
std::string level_name(const std::map<double, std::string>& names, double code);

// Labels of rows read from plain files: each row's specimen is its trailing
// value (the specimen number the landmark file carries); no level names.
StudyLabels labels_from_rows(const runtime::Matrix& data);

}  // namespace lumivar::shape_space
