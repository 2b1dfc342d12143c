#include "runtime/qt/tab_stops.h"

#include <algorithm>

namespace lumivar::runtime::qt {

std::vector<double> column_tab_stops(std::string_view text, const TextWidth& width, double gap) {
  std::vector<double> widest;  // per column, over the cells that a tab ends
  std::size_t line_start = 0;
  while (line_start <= text.size()) {
    std::size_t line_end = text.find('\n', line_start);
    if (line_end == std::string_view::npos) line_end = text.size();
    const std::string_view line = text.substr(line_start, line_end - line_start);
    std::size_t cell_start = 0, column = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string_view::npos;
         tab = line.find('\t', cell_start), ++column) {
      std::string_view cell = line.substr(cell_start, tab - cell_start);
      if (!cell.empty() && cell.back() == '\r') cell.remove_suffix(1);
      if (widest.size() <= column) widest.resize(column + 1, 0.0);
      widest[column] = std::max(widest[column], width(cell));
      cell_start = tab + 1;
    }
    line_start = line_end + 1;
  }
  std::vector<double> stops;
  double at = 0;
  for (double w : widest) {
    at += w + gap;
    stops.push_back(at);
  }
  return stops;
}

}  // namespace lumivar::runtime::qt
