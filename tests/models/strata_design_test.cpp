// Which designs the tests by strata take, which specimens they leave out,
// and the exact refusals.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "models/strata_design.h"
#include "partition/analysis_inputs.h"
#include "support/error_message.h"

namespace lumivar::models {
namespace {

using runtime::Matrix;

Matrix groups(const std::vector<std::vector<double>>& rows) {
  Matrix g(rows.size(), 2);
  for (std::size_t j = 0; j < rows.size(); ++j) {
    g(j + 1, 1) = rows[j][0];
    g(j + 1, 2) = rows[j][1];
  }
  return g;
}

// Five specimens in 2 x 2 cells, one cell holding two.
const Matrix kGroups = groups({{1, 1}, {1, 2}, {2, 1}, {2, 2}, {2, 2}});

TEST(StrataDesign, UnequalCellsInThePlainLayout) {
  // Specimen 2 (0-based 1) has its codes the other way round.
  const Matrix reps = Matrix::column({1, 2, 1, 1, 1, 2, 1, 2, 2, 2});
  const StrataDesign d = strata_design(kGroups, reps, 10);
  EXPECT_EQ(d.specimens(), 5u);
  EXPECT_EQ(d.counts, (std::vector<double>{1, 1, 1, 2}));
  EXPECT_FALSE(d.balanced());
  EXPECT_EQ(d.df_denominator(), 1);
  EXPECT_EQ(d.lower_row[1], 6u);
  EXPECT_EQ(d.upper_row[1], 1u);
  EXPECT_EQ(d.cell, (std::vector<std::uint32_t>{0, 1, 2, 3, 3}));
  EXPECT_TRUE(d.left_out.empty());
}

TEST(StrataDesign, SpecimensMeasuredOnceAreLeftOutAndListed) {
  // Rows: specimens 0..5 once each, then the second rows of 0, 2, 3, 4.
  const Matrix g = groups({{1, 1}, {1, 2}, {2, 1}, {2, 2}, {2, 2}, {1, 2}});
  const std::vector<std::size_t> specimen = {0, 1, 2, 3, 4, 5, 0, 5, 2, 3, 4};
  const Matrix reps = Matrix::column({1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2});
  const StrataDesign d = strata_design(g, reps, 11, specimen);
  EXPECT_EQ(d.specimen, (std::vector<std::size_t>{0, 2, 3, 4, 5}));
  EXPECT_EQ(d.left_out, (std::vector<std::size_t>{1}));
  EXPECT_EQ(d.lower_row[4], 5u);
  EXPECT_EQ(d.upper_row[4], 7u);
  EXPECT_EQ(d.counts, (std::vector<double>{1, 1, 1, 2}));
}

TEST(StrataDesign, RefusalsNameTheCellOrTheCodes) {
  const Matrix two = Matrix::column({1, 1, 1, 1, 1, 2, 2, 2, 2, 2});
  EXPECT_ERROR_MSG(strata_design(kGroups, two, 8),
                   "Tests by strata need two measurements of every specimen: twice as many rows of "
                   "landmark data as rows of group codes. Loaded: 8 rows of landmark data and 5 rows "
                   "of group codes.");
  Matrix missing = kGroups;
  missing(5, 2) = std::numeric_limits<double>::quiet_NaN();
  EXPECT_ERROR_MSG(strata_design(missing, two, 10),
                   "Tests by strata need a number for every group code; specimen 5 has a G2 code "
                   "that is not a number.");
  EXPECT_ERROR_MSG(strata_design(kGroups, Matrix::column({1, 1, 1, 1, 1, 2, 2, 3, 4, 5, 6, 7}), 10),
                   "Tests by strata need exactly two repeated-measures codes (one per measurement); "
                   "the codes loaded hold 5 distinct values: 1, 2, 3, 4, 5.");
  EXPECT_ERROR_MSG(strata_design(groups({{1, 1}, {1, 2}, {2, 1}, {1, 1}, {1, 2}}), two, 10),
                   "Tests by strata need at least one specimen measured twice in every combination "
                   "of a G1 and a G2 code; G1 = 2 with G2 = 2 has none.");
  EXPECT_ERROR_MSG(strata_design(groups({{1, 1}, {1, 2}, {2, 1}, {2, 2}}),
                                 Matrix::column({1, 1, 1, 1, 2, 2, 2, 2}), 8),
                   "Tests by strata need more specimens measured twice than combinations of a G1 "
                   "and a G2 code: 4 specimens in 4 combinations leave the specimens-within-cells "
                   "and residual terms 0 degrees of freedom, and no F ratio exists.");
  EXPECT_ERROR_MSG(strata_design(kGroups, Matrix::column({1, 1, 1, 1, 1, 2, 2, 1, 2, 2}), 10),
                   "Tests by strata need one row under each repeated-measures code for every "
                   "specimen; specimen 3 (rows 3 and 8) has code 1 twice.");
  // A cell whose only specimen was measured once is as empty as no specimen.
  const std::vector<std::size_t> specimen = {0, 1, 2, 3, 4, 1, 2, 0};
  EXPECT_ERROR_MSG(strata_design(kGroups, Matrix::column({1, 1, 1, 1, 1, 2, 2, 2}), 8, specimen),
                   "Tests by strata need at least one specimen measured twice in every combination "
                   "of a G1 and a G2 code; G1 = 2 with G2 = 2 has none.");
}

TEST(StrataDesign, RowSpecimensComeFromTheTrailingOrdinalsOnlyOutsideThePlainLayout) {
  Matrix data(5, 3);
  const std::vector<double> ordinals = {1, 2, 3, 1, 3};
  for (std::size_t r = 1; r <= 5; ++r) data(r, 3) = ordinals[r - 1];
  EXPECT_EQ(partition::row_specimens(data, 3), (std::vector<std::size_t>{0, 1, 2, 0, 2}));
  EXPECT_TRUE(partition::row_specimens(data, 2).empty());  // 3 is no ordinal of 2 specimens
  // Twice as many rows as specimens: the plain layout, whatever the values.
  Matrix plain(6, 3);
  EXPECT_TRUE(partition::row_specimens(plain, 3).empty());
  // A value that is no ordinal of a specimen: no layout can be read.
  data(2, 3) = 2.5;
  EXPECT_TRUE(partition::row_specimens(data, 3).empty());
  data(2, 3) = 4;
  EXPECT_TRUE(partition::row_specimens(data, 3).empty());
}

}  // namespace
}  // namespace lumivar::models
