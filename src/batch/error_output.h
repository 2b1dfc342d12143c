#pragma once
// How the batch tool tells what went wrong, so that a script can read it:
// every error is one line "lumivar-batch: error: TEXT" on standard error
// (a text of several lines folded into one), every warning one line
// "lumivar-batch: warning: TEXT"; a run asked for JSON also writes
// {"error": "TEXT"} on standard output, so that what a script parses there is
// JSON whatever happened.
#include <iosfwd>
#include <string>
#include <string_view>

namespace lumivar::batch {

// `text` on one line: each line break, with the blanks around it, becomes
// "; ", or a blank after a line that ends a sentence or heads a list (a
// full stop or a colon).
std::string one_line(std::string_view text);

// {"error": TEXT} as JSON text, TEXT folded by one_line.
std::string error_json_text(std::string_view text);

void tell_warning(std::ostream& err, std::string_view text);
// The error line on `err` and, when `json_out` is given, the JSON object on it.
void tell_error(std::ostream& err, std::ostream* json_out, std::string_view text);

}  // namespace lumivar::batch
