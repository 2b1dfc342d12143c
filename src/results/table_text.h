#pragma once
// The fields of the tables the results are saved as (CSV, TSV): numbers and
// names written the same way by every table, under every locale.
#include <string>

namespace lumivar::results {

// The shortest text that reads back to the same double ("0.448", not
// "0.44800000000000001"), as the JSON writes it; "NaN", "Inf" and "-Inf"
// for the others. std::to_chars never looks at the locale: the window
// program runs under the user's, where printf would write decimal commas
// into a comma-separated file.
std::string number_text(double x);

// `text` as one field of a table whose fields are separated by `separator`:
// as it is, or quoted with its quotes doubled when it holds the separator, a
// quote or a line break.
std::string table_field(const std::string& text, char separator);

}  // namespace lumivar::results
