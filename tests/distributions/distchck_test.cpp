// The shared size check: scalar expansion to the first non-scalar's size, the
// mismatch, and the number of arguments examined.
#include "distributions/distchck.h"

#include <gtest/gtest.h>

namespace lumivar::distributions {
namespace {

using runtime::Matrix;
using Matrices = std::vector<Matrix>;

TEST(Distchck, ExpansionMismatchAndArgumentsExamined) {
  const Matrix s = Matrix::scalar(4);
  const Matrix m23(2, 3, 1);
  const Matrix m32(3, 2, 1);
  EXPECT_EQ(distchck(3, {s, s}).args, (Matrices{s, s}));
  const DistchckResult r = distchck(3, {s, m23, Matrix::scalar(7)});
  EXPECT_EQ(r.errorcode, 0);
  EXPECT_EQ(r.args, (Matrices{Matrix(2, 3, 4), m23, Matrix(2, 3, 7)}));
  // An empty matrix is not a scalar: it sets the size, and scalars become empty.
  EXPECT_EQ(distchck(3, {Matrix(), s}).args, (Matrices{Matrix(), Matrix()}));

  // A mismatch stops the check: the scalar after it is never expanded.
  const DistchckResult bad = distchck(3, {m23, m32, s});
  EXPECT_EQ(bad.errorcode, 1);
  EXPECT_EQ(bad.args[2], s);
  // Asking for fewer arguments examines fewer, and nparms 1 examines none.
  EXPECT_EQ(distchck(3, {m23, m32}, 1).errorcode, 0);
  EXPECT_EQ(distchck(3, {m23, m32}, 1).args, Matrices{m23});
  EXPECT_EQ(distchck(1, {m23, m32}, 2).errorcode, 0);
  EXPECT_EQ(distchck(1, {m23, m32}, 2).args, Matrices{m23});
}

}  // namespace
}  // namespace lumivar::distributions
