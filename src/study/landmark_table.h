#pragma once
// Landmark tables with a header line (CSV or TSV, see delimited_table.h): one
// row per specimen and measurement.
//   - The id column is the one named id or specimen (any case), else the
//     first column holding a value that is not a number.
//   - The coordinate columns are named after their axis and landmark number:
//     x1, Y1, X_2, lm3x, 4Y and the like; landmarks are taken in ascending
//     number, each x before its y. Without numbered names, columns named just
//     x and y are taken in file order as pairs.
//   - A table with columns named for z (z1, Z_2, ...; or bare x, y, z
//     triples) holds three-dimensional landmarks, and every landmark needs
//     its x, y and z.
//   - Other columns (age, side, notes) are ignored.
#include <string>
#include <string_view>

#include "study/landmark_file.h"

namespace lumivar::study {

// Reads the table's text; `file` names it in messages. Raises when there is
// no id column, no coordinate columns, an x without its y, or a coordinate
// that is not a number (naming the line and the column).
LandmarkFile parse_landmark_table(std::string_view text, const std::string& file);
// The same, line by line from `in`: memory holds the coordinates and the
// cells that are no coordinates, not the file's text.
class LineSource;
LandmarkFile read_landmark_table(LineSource& in, const std::string& file);

}  // namespace lumivar::study
