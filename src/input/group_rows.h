#pragma once
// Whether a group code file fits the landmark data: one line per specimen,
// and a specimen is measured once per repeated-measures code, so there are
// (rows of landmark data) / (number of measurement codes) specimens. Checked
// when the file is loaded (a file of another study is refused before it
// replaces the codes held) and again before every analysis.
#include <cstddef>
#include <string>

namespace lumivar::input {

// A count as messages write it: whole counts as integers, a fractional one
// (required of a design that cannot be balanced) with 6 significant digits;
// the same under every locale.
std::string count_text(double v);

// What is wrong, naming the file `file_name` (may be empty), or "" when
// `group_rows` is the number of specimens.
std::string group_rows_problem(const std::string& file_name, std::size_t group_rows,
                               std::size_t data_rows, double nrep);

}  // namespace lumivar::input
