#pragma once
// What the pictures, views and shape-space tables call rows and levels: a
// specimen name per row and, when the study came from a sheet, the sheet's
// words for the codes of G1, G2 and the measurement; without a sheet the
// codes name themselves. This is the one way a sheet's names reach the
// window's views and the batch tool's files.
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "input/session.h"
#include "runtime/matrix.h"
#include "study/build_study.h"

namespace lumivar::shape_space {

struct StudyLabels {
  std::vector<std::string> specimens;  // one per row of landmark data
  // One per specimen, in the order of the group codes (the names of the
  // specimens the tests by strata leave out); empty: plain files.
  std::vector<std::string> specimen_ids;
  std::map<double, std::string> g1, g2, t;  // code -> name; empty: none given
};

// The name of `code` in `names`, or the code itself as the shortest text that
// reads back as the same number.
std::string level_name(const std::map<double, std::string>& names, double code);

// Labels of rows read from plain files: each row's specimen is its trailing
// value (the specimen number the landmark file carries); no level names.
StudyLabels labels_from_rows(const runtime::Matrix& data);

// Labels of a study built from a landmark file and a sheet, row by row in
// the study's layout (rows i and i + n are specimen i; a specimen measured
// once has one row after row 2n); levels carry the sheet's words.
StudyLabels labels_of(const study::Study& study);

// The labels of the last study imported, with the inputs they name: a
// landmark or code file loaded since replaces one of those inputs, and the
// names no longer apply.
struct ImportedLabels {
  std::shared_ptr<const StudyLabels> labels;  // null: nothing imported
  runtime::InputSources sources;
};

// `imported`'s labels when `analysed` are the inputs they were made for (same
// paths and digests) and they name `rows` rows, else null.
std::shared_ptr<const StudyLabels> labels_for(const ImportedLabels& imported,
                                              const runtime::InputSources& analysed, std::size_t rows);

}  // namespace lumivar::shape_space
