#include "gui/study_status.h"

#include <cmath>
#include <filesystem>
#include <vector>

namespace lumivar::gui {

namespace {

std::string count(double x) { return std::to_string(static_cast<long long>(x)); }

bool known(const runtime::Matrix& m) { return m.numel() == 1 && std::isfinite(m(1)) && m(1) > 0; }

bool same(const runtime::InputSource& a, const runtime::InputSource& b) {
  return a.path == b.path && a.sha256 == b.sha256;
}

}  // namespace

std::string file_name(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

std::string study_summary(const runtime::Session& s) {
  std::vector<std::string> parts;
  if (!s.sources.data.path.empty()) {
    const double rows = static_cast<double>(s.data.rows());
    std::string part = file_name(s.sources.data.path) + ": ";
    if (known(s.nfound) && std::fmod(rows, s.nfound(1)) == 0) {
      part += count(rows / s.nfound(1)) + " specimens x " + count(s.nfound(1));
    } else {
      part += count(rows) + " rows";
    }
    const double columns = static_cast<double>(s.data.cols());
    const double d = s.dimensions == 3 ? 3 : 2;
    part += ", " + count(std::floor((columns - 1) / d)) + " landmarks" + (s.dimensions == 3 ? " (3-D)" : "");
    parts.push_back(part);
  }
  if (!s.sources.reps.path.empty()) parts.push_back(file_name(s.sources.reps.path));
  if (!s.sources.groups.path.empty()) {
    std::string part = file_name(s.sources.groups.path);
    if (known(s.n1g) && known(s.n2g))
      part += ": " + count(s.n1g(1)) + " x " + count(s.n2g(1));
    parts.push_back(part);
  }
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : "; ") + p;
  return out;
}

std::string loaded_names(const runtime::InputSources& sources) {
  std::string out;
  for (const runtime::InputSource* s : {&sources.data, &sources.reps, &sources.groups})
    if (!s->path.empty()) out += (out.empty() ? "" : ", ") + file_name(s->path);
  return out;
}

std::string with_files(const std::string& title, const runtime::InputSources& sources) {
  const std::string names = loaded_names(sources);
  return names.empty() ? title : title + " \u2014 " + names;
}

std::string stale_note(const runtime::InputSources& analysed, const runtime::InputSources& loaded) {
  if (same(analysed.data, loaded.data) && same(analysed.reps, loaded.reps) &&
      same(analysed.groups, loaded.groups))
    return {};
  return "Results and views are from the earlier files (" + loaded_names(analysed) +
         "); run an analysis for the files now loaded.";
}

}  // namespace lumivar::gui
