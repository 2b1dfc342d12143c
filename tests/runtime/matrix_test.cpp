#include "runtime/matrix.h"

#include <gtest/gtest.h>

#include "runtime/error.h"
#include "support/error_message.h"

namespace lumivar::runtime {
namespace {

TEST(Matrix, IsColumnMajorAndOneBased) {
  const Matrix m = Matrix::rows_of({{1, 2, 3}, {4, 5, 6}});
  EXPECT_EQ(m.rows(), 2u);
  EXPECT_EQ(m.cols(), 3u);
  EXPECT_EQ(m(2, 1), 4);
  EXPECT_EQ(m(3), 2);  // third element in column order
  EXPECT_EQ(m.column_of(3), Matrix::column({3, 6}));
  EXPECT_EQ(m.row_range(2, 2), Matrix::row({4, 5, 6}));
  EXPECT_EQ(m.column_of(1).stacked(m.column_of(1)), Matrix::column({1, 4, 1, 4}));
}

TEST(Matrix, StoringPastTheEndGrowsAVector) {
  Matrix v;
  v.set_grow(3, 7);
  EXPECT_EQ(v, Matrix::row({0, 0, 7}));
  Matrix c = Matrix::column({1, 2});
  c.set_grow(4, 9);
  EXPECT_EQ(c, Matrix::column({1, 2, 0, 9}));
  Matrix two(2, 2);
  EXPECT_THROW(two.set_grow(5, 1), Error);
}

TEST(Matrix, CheckedAccessNamesTheIndex) {
  const Matrix m(2, 2);
  EXPECT_THROW(m.at(3, 1), Error);
  EXPECT_ERROR_MSG(m.column_of(3), "Column 3 does not exist in a matrix of 2 columns.");
}

}  // namespace
}  // namespace lumivar::runtime
