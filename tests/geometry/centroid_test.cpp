// Centroid and centroid size of single configurations.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/centpos.h"
#include "geometry/centsize.h"

namespace lumivar::geometry {
namespace {

using runtime::Matrix;
constexpr double kEps = std::numeric_limits<double>::epsilon();

TEST(Centroid, TwoLandmarksWithTrailingValue) {
  // Landmarks (1, 2) and (3, 4); 99 is the trailing value.
  const Matrix row = Matrix::row({1, 2, 3, 4, 99});
  EXPECT_EQ(centpos(row), Matrix::row({2, 3}));
  EXPECT_EQ(centsize(row), Matrix::scalar(2));  // sqrt(1 + 1 + 1 + 1)

  // Without the trailing value, or given as a column: the same results.
  EXPECT_EQ(centpos(Matrix::row({1, 2, 3, 4})), Matrix::row({2, 3}));
  EXPECT_EQ(centsize(Matrix::row({1, 2, 3, 4})), Matrix::scalar(2));
  EXPECT_EQ(centpos(Matrix::column({1, 2, 3, 4, 99})), Matrix::row({2, 3}));
}

TEST(Centroid, OneSizePerRowInRowOrder) {
  // Squares of side 1, 2 and 3: centroid size is side * sqrt(2).
  const Matrix x = Matrix::rows_of({{0, 0, 1, 0, 1, 1, 0, 1, -5},
                                    {0, 0, 2, 0, 2, 2, 0, 2, 7},
                                    {5, 5, 8, 5, 8, 8, 5, 8, 0}});
  const Matrix s = centsize(x);
  ASSERT_EQ(s.rows(), 3u);
  ASSERT_EQ(s.cols(), 1u);
  for (std::size_t i = 1; i <= 3; ++i)
    EXPECT_NEAR(s(i), static_cast<double>(i) * std::sqrt(2.0), 4 * kEps * s(i)) << "row " << i;
}

TEST(Centroid, FollowsTranslationAndScale) {
  const Matrix x = Matrix::row({0.3, -1.2, 2.5, 0.7, -0.4, 1.9, 42});
  const Matrix c = centpos(x);
  const double size = centsize(x)(1);
  const double dx = 12.5;
  const double dy = -3.25;
  const double s = 3.0;
  Matrix moved = x;
  Matrix scaled = x;
  for (std::size_t j = 1; j <= 6; j += 2) {
    moved(j) += dx;
    moved(j + 1) += dy;
    scaled(j) *= s;
    scaled(j + 1) *= s;
  }
  const Matrix cm = centpos(moved);
  EXPECT_NEAR(cm(1), c(1) + dx, 16 * kEps * dx);  // coordinates of magnitude ~dx
  EXPECT_NEAR(cm(2), c(2) + dy, 16 * kEps * -dy);
  EXPECT_NEAR(centsize(moved)(1), size, 64 * kEps * dx);
  const Matrix cs = centpos(scaled);
  EXPECT_NEAR(cs(1), s * c(1), 4 * kEps * s);
  EXPECT_NEAR(cs(2), s * c(2), 4 * kEps * s);
  EXPECT_NEAR(centsize(scaled)(1), s * size, 8 * kEps * s * size);
}

TEST(Centroid, DegenerateConfigurations) {
  // A single landmark is its own centroid and has size 0.
  EXPECT_EQ(centpos(Matrix::row({4, -2, 9})), Matrix::row({4, -2}));
  EXPECT_EQ(centsize(Matrix::row({4, -2})), Matrix::scalar(0));
  EXPECT_EQ(centsize(Matrix::row({4, -2, 9})), Matrix::scalar(0));
  // No landmark at all: the centroid is 0/0, the size an empty sum.
  const Matrix none = centpos(Matrix::row({7}));
  EXPECT_TRUE(std::isnan(none(1)) && std::isnan(none(2)));
  EXPECT_EQ(centsize(Matrix::row({7})), Matrix::scalar(0));
  // All landmarks at one point.
  EXPECT_EQ(centsize(Matrix::row({1, 1, 1, 1, 1, 1, 5})), Matrix::scalar(0));
}

}  // namespace
}  // namespace lumivar::geometry
