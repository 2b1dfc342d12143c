#include "study/line_source.h"

#include "runtime/error.h"
#include "study/delimited_table.h"

namespace lumivar::study {

LineSource::LineSource(std::string_view text) : text_(text) {}

LineSource::LineSource(runtime::FileLines& file) : file_(&file) {}

bool LineSource::next(std::string& line) {
  if (file_ != nullptr) {
    if (!file_->next(line)) return false;
  } else {
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    std::string_view l = text_.substr(pos_, end - pos_);
    if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    line.assign(l);
    pos_ = end + 1;
  }
  if (++number_ == 1) line.erase(0, line.size() - without_bom(line).size());
  return true;
}

void check_open(const runtime::FileLines& file, const std::string& path) {
  switch (file.status()) {
    case runtime::FileLines::Status::kOpen:
      return;
    case runtime::FileLines::Status::kCannotOpen:
      runtime::raise("Cannot open the file " + path + " (" + file.reason() + ").");
    case runtime::FileLines::Status::kNotRegular:
      runtime::raise("Cannot read " + path + ": it is " + file.reason() + ", not a regular file.");
  }
}

}  // namespace lumivar::study
