#include "input/dload.h"

#include <deque>

#include "runtime/error.h"
#include "runtime/file_lines.h"
#include "runtime/numbers.h"
#include "runtime/printable.h"

namespace lumivar::input {

namespace {

// A token as a message shows it: at most 40 bytes, control bytes escaped.
std::string shown(std::string_view text) { return runtime::printable_excerpt(text); }

// Checks one parsed line; raises with the file and line named.
void check_row(const runtime::NumberRow& row, const std::string& path, std::size_t line_no,
               std::size_t cols) {
  const auto where = [&] { return "File " + path + ", line " + std::to_string(line_no) + ": "; };
  if (row.decimal_comma) {
    runtime::raise(where() + "the values are separated by blanks or tabs, and \"" + shown(row.bad_token) +
                   "\" has a comma between two digits: the file seems to use decimal commas. "
                   "Write the numbers with decimal points.");
  }
  if (!row.ok()) runtime::raise(where() + "\"" + shown(row.bad_token) + "\" is not a number.");
  if (row.values.empty()) runtime::raise(where() + "the line holds no numbers.");
  if (line_no > 1 && row.values.size() != cols) {
    runtime::raise(where() + "the line holds " + std::to_string(row.values.size()) +
                   " numbers, but the first line holds " + std::to_string(cols) + ".");
  }
}

}  // namespace

FileRead read_numeric_file(const std::string& path, const runtime::ReadProgress& progress) {
  FileRead r;
  runtime::FileLines in(path);
  in.on_progress(progress);
  switch (in.status()) {
    case runtime::FileLines::Status::kCannotOpen:
      r.status = FileRead::Status::kCannotOpen;
      r.reason = in.reason();
      return r;
    case runtime::FileLines::Status::kNotRegular:
      r.status = FileRead::Status::kNotRegular;
      r.reason = in.reason();
      return r;
    case runtime::FileLines::Status::kOpen:
      break;
  }

  // Row-major while reading. A deque grows block by block, never copying
  // what it holds, so the values take their own size and no more.
  std::deque<double> values;
  std::size_t cols = 0;
  std::size_t rows = 0;
  std::size_t line_no = 0;
  std::string line;
  while (in.next(line)) {
    ++line_no;
    if (line_no > 1 && line.empty()) {  // an empty line ends the data
      while (r.after_data.empty() && in.next(line))
        if (line.find_first_not_of(" \t") != std::string::npos) r.after_data = line;
      break;
    }
    const runtime::NumberRow row = runtime::parse_number_row(line);
    check_row(row, path, line_no, cols);
    if (line_no == 1) cols = row.values.size();
    values.insert(values.end(), row.values.begin(), row.values.end());
    ++rows;
  }
  r.sha256 = in.finish_sha256();
  if (line_no == 0) {
    r.status = FileRead::Status::kEmpty;
    return r;
  }

  r.y = runtime::Matrix(rows, cols);
  for (std::size_t i = 0; i < rows; ++i)
    for (std::size_t j = 0; j < cols; ++j) r.y(i + 1, j + 1) = values[i * cols + j];
  return r;
}

runtime::Matrix dload(const std::string& fname) {
  FileRead r = read_numeric_file(fname);
  if (r.status == FileRead::Status::kCannotOpen || r.status == FileRead::Status::kNotRegular)
    return runtime::Matrix::scalar(-1);
  if (r.status == FileRead::Status::kEmpty) runtime::raise("The file " + fname + " holds no numbers.");
  return std::move(r.y);
}

}  // namespace lumivar::input
