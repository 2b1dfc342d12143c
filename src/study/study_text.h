#pragma once
// A built study as text: the three plain files the load actions read, the
// mapping from sheet values to codes, and a short summary for the user.
#include <string>

#include "runtime/matrix.h"
#include "study/build_study.h"

namespace lumivar::study {

// `m` as a plain numeric file: one line per row, values separated by one
// blank, each number in the shortest form that reads back exactly.
std::string plain_text(const runtime::Matrix& m);

// The study's landmark data as a plain file: plain_text of its data, and
// for three-dimensional landmarks an empty line and the dimension's note
// after it (input/dimension_note.h), which the landmark load reads back.
std::string landmarks_text(const Study& s);

// A tab-separated table "column value code": every specimen with its
// ordinal (the rows' trailing value), then the measurement, G1 and G2
// values with their codes.
std::string codes_text(const Study& s);

// Specimens, measurements, landmarks, and the G1 and G2 values with their
// codes and the number of specimens holding each, for example
//   18 specimens at 2 measurements (7, 150), 8 landmarks: 36 rows.
// (three-dimensional landmarks: "8 landmarks (3-D): 36 rows.")
//   G1: control = 1 (9 specimens), treated = 2 (9 specimens)
// and a line naming the specimens measured once, when there are any.
std::string summary_text(const Study& s);

}  // namespace lumivar::study
