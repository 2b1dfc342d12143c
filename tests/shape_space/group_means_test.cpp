#include "shape_space/group_means.h"

#include <gtest/gtest.h>

#include "geometry/getconsensus.h"
#include "geometry/landmark_fixtures.h"
#include "runtime/error.h"
#include "shape_space/shape_space.h"

namespace lumivar::shape_space {
namespace {

TEST(GroupMeans, AreTheAveragesOfTheirRowsInCodeOrder) {
  const runtime::Matrix rows = runtime::Matrix::rows_of(
      {{1, 2, 0}, {3, 4, 0}, {10, 20, 0}, {5, 6, 0}, {30, 40, 0}});
  const runtime::Matrix a = runtime::Matrix::column({2, 2, 1, 2, 1});
  const runtime::Matrix b = runtime::Matrix::column({7, 8, 7, 7, 7});
  const std::vector<GroupMean> levels = group_means(coordinate_rows(rows, 1), {&a});
  ASSERT_EQ(levels.size(), 2u);
  EXPECT_EQ(levels[0].codes, std::vector<double>{1});
  EXPECT_EQ(levels[0].rows, 2u);
  EXPECT_EQ(levels[0].shape, (Eigen::RowVectorXd(2) << 20, 30).finished());
  EXPECT_EQ(levels[1].shape, (Eigen::RowVectorXd(2) << 3, 4).finished());

  const std::vector<GroupMean> cells = group_means(coordinate_rows(rows, 1), {&a, &b});
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[1].codes, (std::vector<double>{2, 7}));
  EXPECT_EQ(cells[1].shape, (Eigen::RowVectorXd(2) << 3, 4).finished());
  EXPECT_EQ(cells[2].codes, (std::vector<double>{2, 8}));
  EXPECT_EQ(cells[2].rows, 1u);

  const runtime::Matrix short_codes = runtime::Matrix::column({1, 2});
  EXPECT_THROW(group_means(coordinate_rows(rows, 1), {&short_codes}), runtime::Error);
}

TEST(ShapeSpace, GathersMeansComponentsAndSizesOfOneSuperimposition) {
  const runtime::Matrix data = testing::random_landmarks(8, 4, 21);
  const geometry::Consensus c = geometry::getconsensus(data);
  const runtime::Matrix g1 = runtime::Matrix::column({1, 1, 2, 2, 1, 1, 2, 2});
  const runtime::Matrix g2 = runtime::Matrix::column({1, 2, 1, 2, 1, 2, 1, 2});
  const runtime::Matrix t = runtime::Matrix::column({1, 1, 1, 1, 2, 2, 2, 2});
  const ShapeSpace s = shape_space({&data, &c.xpt, &c.y, &g1, &g2, &t, 2, 3});
  EXPECT_EQ(s.landmarks, 4u);
  EXPECT_EQ(s.components.loadings.cols(), 3);
  EXPECT_EQ(s.g1.size(), 2u);
  EXPECT_EQ(s.cells.size(), 4u);
  // Mean of rows 4 and 8 (cell G1 2, G2 2), taken by hand.
  for (Eigen::Index j = 0; j < 8; ++j) {
    const double by_hand = (c.xpt(4, j + 1) + c.xpt(8, j + 1)) / 2;
    EXPECT_DOUBLE_EQ(s.cells[3].shape(j), by_hand);
  }
  // The mean of all rows, normalised, is the consensus (to the tolerance of the iteration).
  const Eigen::RowVectorXd mean = s.components.mean;
  EXPECT_LT((mean / mean.norm() - s.consensus).cwiseAbs().maxCoeff(), 1e-4);
  EXPECT_EQ(s.centroid_sizes.size(), 8u);
  // Unlimited, the components stop at the shape space's 8 - 4 dimensions.
  EXPECT_EQ(shape_space({&data, &c.xpt, &c.y, &g1, &g2, &t, 2}).components.loadings.cols(), 4);

  const runtime::Matrix short_consensus(1, 5);
  EXPECT_THROW(shape_space({&data, &c.xpt, &short_consensus, &g1, &g2, &t, 2}), runtime::Error);
}

}  // namespace
}  // namespace lumivar::shape_space
