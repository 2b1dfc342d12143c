// The line that names the specimens the tests by strata leave out: by the
// sheet's ids when the study has them, by number otherwise.
#include "permutation/strata_report.h"

#include <gtest/gtest.h>

namespace lumivar::permutation {
namespace {

TEST(StrataReport, SpecimensLeftOutAreNamedByTheirIdsOrNumbers) {
  models::StrataTable t;
  EXPECT_EQ(left_out_warning(t, {"a"}), "");
  t.left_out = {3, 0};  // group rows, 0-based
  EXPECT_EQ(left_out_warning(t), "2 specimens measured once left out of the tests by strata (specimen 4, 1)");
  EXPECT_EQ(left_out_warning(t, {"rat1", "rat2", "rat3", "rat4"}),
            "2 specimens measured once left out of the tests by strata (specimen rat4, rat1)");
  // An id missing (or empty) falls back to the number.
  EXPECT_EQ(left_out_warning(t, {"", "rat2"}),
            "2 specimens measured once left out of the tests by strata (specimen 4, 1)");
  // The report's footer names them as the results carry the ids.
  StrataResults r{t, std::nullopt, {"rat1", "rat2", "rat3", "rat4"}};
  const std::string report = strata_report(r);
  EXPECT_EQ(report.substr(report.rfind('\n') + 1),
            "2 specimens measured once left out of the tests by strata (specimen rat4, rat1)");
  t.left_out = {0, 1, 2, 3, 4, 5};
  EXPECT_EQ(left_out_warning(t, {"a", "b", "c", "d", "e", "f"}),
            "6 specimens measured once left out of the tests by strata (specimen a, b, c, d, e, ...)");
}

}  // namespace
}  // namespace lumivar::permutation
