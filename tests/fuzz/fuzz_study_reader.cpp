// Fuzzes the study importer: the landmark readers (TPS, tables with a
// header, the plain format, recognised by content), the specimen sheet and
// the building of the study. An input that holds a line "%%" is a landmark
// file and a sheet, in that order; any other input is tried as both. Bad
// input may raise the program's Error; anything else (a crash, another
// exception, a study whose matrices disagree) is a fault.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "runtime/error.h"
#include "study/build_study.h"
#include "study/landmark_file.h"
#include "study/specimen_sheet.h"

namespace {

// The plain format is read from a file by the program's numeric reader.
const std::string& scratch_path() {
  static const std::string path = "/tmp/lumivar-fuzz-study-" + std::to_string(getpid()) + ".txt";
  return path;
}

lumivar::study::LandmarkFile read_landmarks(std::string_view text, bool semilandmarks) {
  {
    std::ofstream out(scratch_path(), std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  lumivar::study::LandmarkReadOptions options;
  options.semilandmarks_as_landmarks = semilandmarks;
  return lumivar::study::read_landmark_file(scratch_path(), options);
}

// Specimens measured once (only with two measurement values) have one row
// each after the others' rows.
void check(const lumivar::study::Study& s) {
  const std::size_t n = s.specimens.size(), once = s.measured_once.size();
  if (once > n || (once > 0 && s.measurements.size() != 2)) std::abort();
  if (s.group.rows() != n || s.data.rows() != (n - once) * s.measurements.size() + once ||
      s.repgroup.rows() != s.data.rows() || s.data.cols() != 2 * s.landmarks + 1)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find("\n%%\n");
  const std::string_view landmarks = split == std::string_view::npos ? input : input.substr(0, split + 1);
  const std::string_view sheet = split == std::string_view::npos ? input : input.substr(split + 4);
  const bool semilandmarks = size % 2 == 1;
  try {
    const lumivar::study::LandmarkFile f = read_landmarks(landmarks, semilandmarks);
    const lumivar::study::SpecimenSheet s =
        lumivar::study::parse_specimen_sheet(sheet, "sheet", lumivar::study::sheet_columns("id=ID"));
    check(lumivar::study::build_study(f, s));
  } catch (const lumivar::runtime::Error&) {
  }
  try {
    lumivar::study::sheet_columns(sheet);
  } catch (const lumivar::runtime::Error&) {
  }
  return 0;
}
