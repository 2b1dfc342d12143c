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

class LineSource;

// Reads a table row by row, so that a large file need not be held whole.
// `file` names it in messages. Raises on a quote that is not closed and on
// a row with another number of cells than the header.
class DelimitedReader {
 public:
  // Reads up to the header line; raises when there is none.
  DelimitedReader(LineSource& in, const std::string& file);
  const std::vector<std::string>& header() const { return header_; }
  // The next row whose cells are not all empty; false at the end.
  bool next(DelimitedTable::Row& row);

 private:
  LineSource& in_;
  const std::string& file_;
  std::vector<std::string> header_;
  char separator_ = ' ';
  std::string line_;
};

// Every row of the table (DelimitedReader).
DelimitedTable read_delimited_table(LineSource& in, const std::string& file);
// The same for `text`, the whole file.
DelimitedTable parse_delimited_table(std::string_view text, const std::string& file);

// Lower-case ASCII copy of `s`.
std::string lower_case(std::string_view s);
// `s` without leading and trailing blanks, tabs and carriage returns.
std::string_view trimmed(std::string_view s);
// `s` without a leading UTF-8 byte order mark.
std::string_view without_bom(std::string_view s);

}  // namespace lumivar::study
