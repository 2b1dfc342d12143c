#include "study/specimen_sheet.h"

#include "runtime/error.h"
#include "runtime/printable.h"
#include "study/delimited_table.h"
#include "study/line_source.h"

namespace lumivar::study {

SheetColumns sheet_columns(std::string_view spec) {
  SheetColumns names;
  for (std::size_t r = 0; r < kRoleCount; ++r) names[r] = kRoleNames[r];
  std::array<bool, kRoleCount> mapped{};
  std::size_t pos = 0;
  while (pos <= spec.size() && !trimmed(spec).empty()) {
    std::size_t end = spec.find(',', pos);
    if (end == std::string_view::npos) end = spec.size();
    const std::string_view pair = trimmed(spec.substr(pos, end - pos));
    pos = end + 1;
    if (pair.empty()) continue;
    const std::size_t eq = pair.find('=');
    if (eq == std::string_view::npos || trimmed(pair.substr(eq + 1)).empty())
      runtime::raise("The column mapping \"" + std::string(pair) +
                     "\" should read role=column, for example specimen=Ind.");
    const std::string role = lower_case(trimmed(pair.substr(0, eq)));
    std::size_t r = 0;
    while (r < kRoleCount && lower_case(kRoleNames[r]) != role) ++r;
    if (r == kRoleCount)
      runtime::raise("The column mapping names the role \"" + std::string(trimmed(pair.substr(0, eq))) +
                     "\"; the roles are id, specimen, measurement, G1 and G2.");
    if (mapped[r]) runtime::raise("The column mapping names the role " + std::string(kRoleNames[r]) + " twice.");
    mapped[r] = true;
    names[r] = std::string(trimmed(pair.substr(eq + 1)));
    if (end == spec.size()) break;
  }
  return names;
}

namespace {

SpecimenSheet sheet_of(const DelimitedTable& t, const std::string& file, const SheetColumns& columns) {
  std::array<std::size_t, kRoleCount> at{};
  std::string missing;
  for (std::size_t r = 0; r < kRoleCount; ++r) {
    at[r] = t.column(columns[r], file);
    if (at[r] == std::string::npos)
      missing += (missing.empty() ? "\"" : ", \"") + columns[r] + "\"" +
                 (columns[r] == kRoleNames[r] ? "" : " (" + std::string(kRoleNames[r]) + ")");
  }
  if (!missing.empty()) {
    std::string found;
    for (const std::string& h : t.header) found += (found.empty() ? "" : ", ") + runtime::printable(h);
    runtime::raise("The sheet " + file + " has no column " + missing + "; its columns are " + found +
                   ". Name the columns id, specimen, measurement, G1 and G2, or map them "
                   "(id=Image,specimen=Ind,...).");
  }
  SpecimenSheet sheet{file, {}};
  for (const DelimitedTable::Row& row : t.rows) {
    SheetRow s;
    s.line = row.line;
    for (std::size_t r = 0; r < kRoleCount; ++r) s.cells[r] = row.cells[at[r]];
    sheet.rows.push_back(std::move(s));
  }
  return sheet;
}

}  // namespace

SpecimenSheet parse_specimen_sheet(std::string_view text, const std::string& file, const SheetColumns& columns) {
  return sheet_of(parse_delimited_table(text, file), file, columns);
}

SpecimenSheet read_specimen_sheet(const std::string& path, const SheetColumns& columns) {
  runtime::FileLines file(path);
  check_open(file, path);
  LineSource in(file);
  return sheet_of(read_delimited_table(in, path), path, columns);
}

}  // namespace lumivar::study
