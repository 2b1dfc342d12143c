#pragma once
// The note with which a plain landmark file says that its landmarks have
// three coordinates. The numbers' reader stops at the first empty line, so
// the note goes after one, below the data:
//
//   1 2 0 3 4 0 ... 7
//   ...
//
//   dimensions: 3
//
// Any program that reads the numbers alone still reads the same matrix.
#include <string>
#include <string_view>

namespace lumivar::input {

// The note's line for landmarks of `d` coordinates.
std::string dimension_note(int d);

// The dimension a note line gives (2 or 3), or 0 when `line` is no such note
// (blanks around it and the case of "dimensions" do not matter; ':' or '='
// may follow the word).
int dimension_of_note(std::string_view line);

// The coordinates per landmark of a landmark file whose line after its data
// is `after_data`: `requested` (2 or 3) when the user chose one, else the
// file's note, else 2. Raises, naming `file`, when the user's choice and the
// note disagree.
int landmark_dimensions(int requested, std::string_view after_data, const std::string& file);

}  // namespace lumivar::input
