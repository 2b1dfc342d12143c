#include "study/landmark_file.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "input/dimension_note.h"
#include "input/dload.h"
#include "runtime/error.h"
#include "runtime/numbers.h"
#include "study/coordinate_values.h"
#include "study/delimited_table.h"
#include "study/landmark_table.h"
#include "study/line_source.h"
#include "study/tps_reader.h"

namespace lumivar::study {

namespace {

std::string_view first_filled_line(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = trimmed(text.substr(pos, end - pos));
    if (!line.empty()) return line;
    pos = end + 1;
  }
  return {};
}

LandmarkFile read_plain(const std::string& path, const LandmarkReadOptions& options,
                        const runtime::ReadProgress& progress) {
  input::FileRead r = input::read_numeric_file(path, progress);
  if (r.status == input::FileRead::Status::kCannotOpen)
    runtime::raise("Cannot open the file " + path + " (" + r.reason + ").");
  if (r.status == input::FileRead::Status::kEmpty) runtime::raise("The file " + path + " holds no data.");
  const std::size_t cols = r.y.cols();
  const int d = input::landmark_dimensions(options.dimensions, r.after_data, path);
  if (d == 2 && cols % 2 == 0)
    runtime::raise("The file " + path + " has " + std::to_string(cols) +
                   " numbers on each line. Each line should hold the x and y of every landmark "
                   "followed by one trailing value that names the row.");
  if (d == 3 && cols % 3 != 1)
    runtime::raise("The file " + path + " has " + std::to_string(cols) +
                   " numbers on each line. Each line should hold the x, y and z of every landmark "
                   "followed by one trailing value that names the row (3k + 1 numbers).");
  LandmarkFile f{path, {}};
  f.dimensions = d;
  for (std::size_t i = 1; i <= r.y.rows(); ++i) {
    LandmarkEntry e;
    e.line = i;
    e.id = number_text(r.y(i, cols));
    for (std::size_t j = 1; j < cols; ++j) {
      // The reader stops at the first empty line, so row i is line i.
      if (const std::optional<std::string> problem = coordinate_problem(r.y(i, j)))
        runtime::raise("File " + path + ", line " + std::to_string(i) + ": value " + std::to_string(j) +
                       " (" + number_text(r.y(i, j)) + ") is " + *problem +
                       "; every coordinate must be a finite number.");
      e.xy.push_back(r.y(i, j));
    }
    f.entries.push_back(std::move(e));
  }
  return f;
}

}  // namespace

std::string number_text(double v) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v < 0 ? "-Inf" : "Inf";
  char buffer[32];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, r.ptr);
}

LandmarkFormat landmark_format(std::string_view text) {
  const std::string_view line = first_filled_line(without_bom(text));
  const std::string head = lower_case(line.substr(0, 3));
  if (head.size() >= 2 && head.substr(0, 2) == "lm" &&
      (head.size() == 2 || head[2] == '=' || head[2] == ' ' || (head[2] >= '0' && head[2] <= '9')))
    return LandmarkFormat::kTps;
  const runtime::NumberRow row = runtime::parse_number_row(line);
  return row.ok() && !row.values.empty() ? LandmarkFormat::kPlain : LandmarkFormat::kTable;
}

LandmarkFile read_landmark_file(const std::string& path, const LandmarkReadOptions& options,
                               const runtime::ReadProgress& progress) {
  // The format from the first line that is not blank; the parse then reads
  // the file again from its start, streaming, with the progress watched.
  std::optional<LandmarkFormat> format;
  {
    runtime::FileLines file(path);
    check_open(file, path);
    std::string line;
    while (!format && file.next(line))
      if (line.find_first_not_of(" \t\r\n") != std::string::npos) format = landmark_format(line);
  }
  if (!format) runtime::raise("The file " + path + " holds no data.");
  if (*format == LandmarkFormat::kPlain) return read_plain(path, options, progress);
  runtime::FileLines file(path);
  check_open(file, path);
  file.on_progress(progress);
  LineSource in(file);
  LandmarkFile f = *format == LandmarkFormat::kTps ? read_tps(in, path, options) : read_landmark_table(in, path);
  if (options.dimensions != 0 && f.dimensions != options.dimensions)
    runtime::raise("The file " + path + " holds landmarks of " + std::to_string(f.dimensions) +
                   " coordinates, but " + std::to_string(options.dimensions) +
                   " were asked for; a study never mixes dimensions.");
  return f;
}

}  // namespace lumivar::study
