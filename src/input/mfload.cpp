#include "input/mfload.h"

#include <filesystem>
#include <system_error>

namespace lumivar::input {

ChosenFile mfload(runtime::WindowRuntime& ui, std::uint64_t progress_bytes) {
  ChosenFile out;
  const runtime::FileChoice choice = ui.open_file_dialog("*.*", "Enter file to Load?");
  if (choice.cancelled) return out;
  out.fn = choice.name;
  out.path = choice.folder + choice.name;
  LoadProgress watch(ui, out.fn, progress_bytes);
  FileRead read = read_numeric_file(out.path, watch.hook());
  switch (read.status) {
    case FileRead::Status::kOk:
      out.status = ChosenFile::Status::kOk;
      out.y = std::move(read.y);
      out.sha256 = std::move(read.sha256);
      out.after_data = std::move(read.after_data);
      break;
    case FileRead::Status::kCannotOpen:
      out.status = ChosenFile::Status::kCannotOpen;
      out.reason = read.reason;
      break;
    case FileRead::Status::kNotRegular:
      out.status = ChosenFile::Status::kNotRegular;
      out.reason = read.reason;
      break;
    case FileRead::Status::kEmpty:
      out.status = ChosenFile::Status::kEmpty;
      break;
  }
  std::error_code ignored;  // a folder that vanished meanwhile is no reason to fail the load
  std::filesystem::current_path(choice.folder, ignored);
  return out;
}

std::string nothing_loaded_text(const ChosenFile& f) {
  switch (f.status) {
    case ChosenFile::Status::kCannotOpen:
      return "Cannot open the file " + f.path + " (" + f.reason + "). Nothing was loaded.";
    case ChosenFile::Status::kNotRegular:
      return "Cannot load " + f.path + ": it is " + f.reason +
             ", not a regular file. Only regular files are read. Nothing was loaded.";
    case ChosenFile::Status::kEmpty:
      return "The file " + f.path + " holds no numbers. Nothing was loaded.";
    default:
      return "";
  }
}

}  // namespace lumivar::input
