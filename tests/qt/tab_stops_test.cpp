#include "runtime/qt/tab_stops.h"

#include <gtest/gtest.h>

#include <string>

namespace lumivar::runtime::qt {
namespace {

// Ten pixels per character: widths are easy to count.
double ten_per_char(std::string_view s) { return 10.0 * static_cast<double>(s.size()); }

TEST(TabStops, EachStopClearsTheWidestCellOfItsColumn) {
  // The shape of both reports: a title line without tabs, a header, rows whose
  // cells end in blanks before the tab, and a note line without tabs.
  const std::string text =
      "For the entire data set, SS=1.000000\n\n"
      "Grouping \tSS \tdf \tAnalytic P \tPer Exp\n\n"
      "G1 \t12345.6789 \t1 \t0.5000 \t9.9\n"
      "Error  \t0.1 \t36  \t - \t \t55.5\n\n"
      " DO NOT USE ANALYTIC P_VALUES!";
  const std::vector<double> stops = column_tab_stops(text, ten_per_char, 10);
  // Widest cells with their blanks: "Grouping " 9, "12345.6789 " 11, "36  " 4
  // (wider than "df "), "Analytic P " 11, and " " in the error row's fifth column.
  ASSERT_EQ(stops.size(), 5u);
  EXPECT_EQ(stops[0], 90.0 + 10);
  EXPECT_EQ(stops[1], 100.0 + 110 + 10);
  EXPECT_EQ(stops[2], 220.0 + 40 + 10);
  EXPECT_EQ(stops[3], 270.0 + 110 + 10);
  EXPECT_EQ(stops[4], 390.0 + 10 + 10);
}

TEST(TabStops, TextWithoutTabsHasNone) {
  EXPECT_TRUE(column_tab_stops("", ten_per_char, 5).empty());
  EXPECT_TRUE(column_tab_stops("Results appear here.\nSecond line", ten_per_char, 5).empty());
  // CRLF line ends do not widen the last cell before a tab.
  EXPECT_EQ(column_tab_stops("ab\t\r\nabc\r\t", ten_per_char, 5), std::vector<double>{35.0});
}

}  // namespace
}  // namespace lumivar::runtime::qt
