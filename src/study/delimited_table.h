#pragma once
// A table of text with a header line, as spreadsheets export it: CSV (commas
// or semicolons) or TSV (tabs), or columns separated by blanks. The header's
// separator decides for the whole file: a tab if it has one, else a comma,
// else a semicolon, else runs of blanks. A cell may be quoted ("a, b"; a
// doubled quote inside stands for one). Cells are trimmed of blanks; a line
// whose cells are all empty is skipped. A UTF-8 byte order mark is ignored.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumivar::study {

struct DelimitedTable {
  struct Row {
    std::size_t line = 0;  // 1-based line in the file
    std::vector<std::string> cells;
  };
  std::vector<std::string> header;
  std::vector<Row> rows;

  // The index of the column whose header equals `name` ignoring case, or
  // npos. Raises when two columns carry that name. `file` names the file in
  // the message.
  std::size_t column(std::string_view name, const std::string& file) const;
};

// Reads `text` (the whole file); `file` names it in messages. Raises on a
// quote that is not closed and on a row with another number of cells than
// the header.
DelimitedTable parse_delimited_table(std::string_view text, const std::string& file);

// The whole file as bytes; raises when it cannot be opened.
std::string read_whole_file(const std::string& path);

// Lower-case ASCII copy of `s`.
std::string lower_case(std::string_view s);
// `s` without leading and trailing blanks, tabs and carriage returns.
std::string_view trimmed(std::string_view s);
// `s` without a leading UTF-8 byte order mark.
std::string_view without_bom(std::string_view s);

}  // namespace lumivar::study
