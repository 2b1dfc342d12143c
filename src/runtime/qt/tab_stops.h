#pragma once
// Tab stops that line up the columns of a tab-separated table, whatever the
// widths of its cells: the reports of the results box are lines of cells
// separated by tabs, and a fixed tab distance would break a column as soon as
// one cell outgrows it.
#include <functional>
#include <string_view>
#include <vector>

namespace lumivar::runtime::qt {

// Measures a piece of text, in pixels.
using TextWidth = std::function<double(std::string_view)>;

// Positions of the tab stops, in pixels from the start of a line: stop k
// lies `gap` beyond the widest cell, trailing blanks included, that column
// k - 1 holds in any line where a tab follows the cell. A tab reached at or
// past its stop jumps to the next one, so `gap` must be more than zero.
// Lines without tabs (titles, notes) do not count. Cost: one pass over the
// text.
std::vector<double> column_tab_stops(std::string_view text, const TextWidth& width, double gap);

}  // namespace lumivar::runtime::qt
