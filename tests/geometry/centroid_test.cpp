// Centroid and centroid size of single configurations.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/centpos.h"
#include "geometry/centsize.h"

namespace lumivar::geometry {
namespace {

using runtime::Matrix;

TEST(Centroid, HandCases) {
  // Landmarks (1, 2) and (3, 4); 99 is the trailing value and changes nothing.
  EXPECT_EQ(centpos(Matrix::row({1, 2, 3, 4, 99})), Matrix::row({2, 3}));
  EXPECT_EQ(centpos(Matrix::row({1, 2, 3, 4})), Matrix::row({2, 3}));
  EXPECT_EQ(centpos(Matrix::column({1, 2, 3, 4, 99})), Matrix::row({2, 3}));
  // One size per row, in row order: sqrt(1 + 1 + 1 + 1), then sqrt(9 + 16 + 9 + 16).
  EXPECT_EQ(centsize(Matrix::rows_of({{1, 2, 3, 4, 99}, {0, 0, 6, 8, -1}})),
            Matrix::column({2, std::sqrt(50.0)}));
}

TEST(Centroid, DegenerateConfigurations) {
  // A single landmark is its own centroid and has size 0.
  EXPECT_EQ(centpos(Matrix::row({4, -2, 9})), Matrix::row({4, -2}));
  EXPECT_EQ(centsize(Matrix::row({4, -2, 9})), Matrix::scalar(0));
  // No landmark at all: the centroid is 0/0, the size an empty sum.
  const Matrix none = centpos(Matrix::row({7}));
  EXPECT_TRUE(std::isnan(none(1)) && std::isnan(none(2)));
  EXPECT_EQ(centsize(Matrix::row({7})), Matrix::scalar(0));
}

}  // namespace
}  // namespace lumivar::geometry
