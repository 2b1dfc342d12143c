#include "input/dload.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "runtime/error.h"
#include "runtime/numbers.h"

namespace lumivar::input {

namespace detail {

// The line without its line feed and a carriage return before it.
std::string_view strip_line_break(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::string shown(std::string_view text) {
  constexpr std::size_t kMax = 40;
  if (text.size() <= kMax) return std::string(text);
  return std::string(text.substr(0, kMax)) + "...";
}

}  // namespace detail

FileRead read_numeric_file(const std::string& path) {
  FileRead r;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    r.status = FileRead::Status::kCannotOpen;
    r.reason = std::strerror(errno);
    return r;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  const std::string text = buffer.str();
  if (text.empty()) {
    r.status = FileRead::Status::kEmpty;
    return r;
  }

  std::vector<double> values;  // row-major while reading
  std::size_t cols = 0;
  std::size_t rows = 0;
  std::size_t pos = 0;
  std::size_t line_no = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    end = end == std::string::npos ? text.size() : end + 1;
    const std::string_view line = detail::strip_line_break(std::string_view(text).substr(pos, end - pos));
    pos = end;
    ++line_no;
    if (line_no > 1 && line.empty()) break;  // an empty line ends the data

    const runtime::NumberRow row = runtime::parse_number_row(line);
    const std::string where = "File " + path + ", line " + std::to_string(line_no) + ": ";
    if (!row.ok()) runtime::raise(where + "\"" + detail::shown(row.bad_token) + "\" is not a number.");
    if (row.values.empty()) runtime::raise(where + "the line holds no numbers.");
    if (line_no == 1) {
      cols = row.values.size();
    } else if (row.values.size() != cols) {
      runtime::raise(where + "the line holds " + std::to_string(row.values.size()) +
                     " numbers, but the first line holds " + std::to_string(cols) + ".");
    }
    values.insert(values.end(), row.values.begin(), row.values.end());
    ++rows;
  }

  r.y = runtime::Matrix(rows, cols);
  for (std::size_t i = 0; i < rows; ++i)
    for (std::size_t j = 0; j < cols; ++j) r.y(i + 1, j + 1) = values[i * cols + j];
  return r;
}

runtime::Matrix dload(const std::string& fname) {
  FileRead r = read_numeric_file(fname);
  if (r.status == FileRead::Status::kCannotOpen) return runtime::Matrix::scalar(-1);
  if (r.status == FileRead::Status::kEmpty) runtime::raise("The file " + fname + " holds no numbers.");
  return std::move(r.y);
}

}  // namespace lumivar::input
