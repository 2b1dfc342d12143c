#pragma once
// The specimen sheet: a table with a header line (CSV or TSV, see
// delimited_table.h) that says, for every entry of the landmark file, which
// specimen it shows, at which measurement (session, age) and in which groups.
// Its columns are found by name, ignoring case: id, specimen, measurement,
// G1 and G2; other columns are ignored. A column mapping names other
// columns for these roles: "id=Image,specimen=Ind,measurement=Age".
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumivar::study {

enum SheetRole : std::size_t { kId, kSpecimen, kMeasurement, kG1, kG2, kRoleCount };

// The name of each role as the sheet's default column name and in messages.
inline constexpr std::array<const char*, kRoleCount> kRoleNames = {"id", "specimen", "measurement",
                                                                   "G1", "G2"};

// The column names looked for, by role.
using SheetColumns = std::array<std::string, kRoleCount>;

// The default names with the mapping `spec` applied: comma-separated
// role=column pairs, roles ignoring case. Raises on an unknown role, a role
// named twice or a pair without '='.
SheetColumns sheet_columns(std::string_view spec);

struct SheetRow {
  std::size_t line = 0;  // 1-based line in the sheet
  std::array<std::string, kRoleCount> cells;
};

struct SpecimenSheet {
  std::string name;  // the file as named in messages
  std::vector<SheetRow> rows;
};

// Reads a sheet's text; `file` names it in messages. Raises, listing them
// all, when columns are missing.
SpecimenSheet parse_specimen_sheet(std::string_view text, const std::string& file, const SheetColumns& columns);
SpecimenSheet read_specimen_sheet(const std::string& path, const SheetColumns& columns);

}  // namespace lumivar::study
