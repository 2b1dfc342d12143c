#pragma once
// The shape space of a study as saved results: JSON (consensus, mean shapes,
// components and one record per row) and CSV (one line per row: id,
// specimen, measurement, G1, G2, centroid_size, PC1..PCn) for spreadsheets
// and R. Levels are written as the sheet's words when the study came from a
// sheet, as their codes otherwise. Both are written as a stream, row by row,
// so that 200,000 rows take no document in memory.
#include <iosfwd>

#include <nlohmann/json.hpp>

#include "runtime/matrix.h"
#include "shape_space/shape_space.h"
#include "shape_space/study_labels.h"

namespace lumivar::results {

// The codes of every row and what to call them.
struct ShapeRows {
  const runtime::Matrix* g1 = nullptr;  // m codes each
  const runtime::Matrix* g2 = nullptr;
  const runtime::Matrix* t = nullptr;
  const shape_space::StudyLabels* labels = nullptr;
};

// The JSON document, indented by 2, with `provenance` (when not null) last.
// Non-finite numbers are written as null; bytes of names that are not
// UTF-8 as U+FFFD. O(m c) time, O(p c + levels) memory beyond the output.
void write_shapes_json(std::ostream& out, const shape_space::ShapeSpace& s, const ShapeRows& rows,
                       const nlohmann::json& provenance = nullptr);

// The CSV table. A name holding a comma, a quote or a line break is quoted,
// its quotes doubled. Numbers in full precision (they read back to the same
// double), NaN as "NaN".
void write_shapes_csv(std::ostream& out, const shape_space::ShapeSpace& s, const ShapeRows& rows);

}  // namespace lumivar::results
