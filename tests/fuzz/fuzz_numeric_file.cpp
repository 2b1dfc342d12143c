// The numeric reader: any bytes as a file's text, read into a matrix. A
// malformed file must raise the program's Error (a message for the user),
// nothing else.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "input/dload.h"
#include "runtime/error.h"

namespace {

// One file per process, rewritten for every input.
const std::string& scratch_file() {
  static const std::string path = [] {
    std::string p = (std::filesystem::temp_directory_path() / "lumivar-fuzz-XXXXXX").string();
    const int fd = mkstemp(p.data());
    if (fd < 0) std::abort();
    close(fd);
    std::atexit([] { std::remove(scratch_file().c_str()); });
    return p;
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = scratch_file();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
  try {
    const lumivar::input::FileRead r = lumivar::input::read_numeric_file(path);
    if (r.status == lumivar::input::FileRead::Status::kOk && r.y.numel() != r.y.rows() * r.y.cols())
      std::abort();
  } catch (const lumivar::runtime::Error&) {
    // A clear refusal is a correct answer to a malformed file.
  }
  return 0;
}
