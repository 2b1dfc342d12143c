// The distribution functions called by name: declared counts, the messages
// for missing arguments, the omitted gamma scale and distchck's results.
#include "distributions/by_name.h"

#include <gtest/gtest.h>

#include "checks.h"

namespace lumivar::distributions {
namespace {

using namespace testing;

TEST(DistributionsByName, CountsMessagesAndResults) {
  runtime::FunctionTable t;
  for (auto e : {fcdf_entry(), chi2cdf_entry(), gamcdf_entry(), distchck_entry()})
    t.add(std::move(e));
  EXPECT_ERROR_MSG(t.call("fcdf", {1, 2, 3, 4}, 1),
                   "Run-time Error: File: fcdf Line: 1 Column: 1 The function \"fcdf\" was called "
                   "with more than the declared number of inputs (3).");
  EXPECT_ERROR_MSG(t.call("fcdf", {1, 2, 3}, 2),
                   "Run-time Error: File: fcdf Line: 1 Column: 1 The function \"fcdf\" was called "
                   "with more than the declared number of outputs (1).");
  EXPECT_ERROR_MSG(t.call("chi2cdf", {1, 2, 3}, 1),
                   "Run-time Error: File: chi2cdf Line: 1 Column: 1 The function \"chi2cdf\" was "
                   "called with more than the declared number of inputs (2).");
  EXPECT_ERROR_MSG(t.call("fcdf", {1, 2}, 1), "Requires three input arguments.");
  EXPECT_ERROR_MSG(t.call("chi2cdf", {1}, 1), "Requires two input arguments.");
  EXPECT_ERROR_MSG(t.call("gamcdf", {1}, 1), "Requires at least two input arguments.");
  EXPECT_EQ(t.call("fcdf", {2, 3, 10}, 1), runtime::Results{f(2, 3, 10)});
  EXPECT_EQ(t.call("gamcdf", {2.5, 3}, 1), t.call("gamcdf", {2.5, 3, 1}, 1));

  // distchck examines one argument fewer than the results asked for.
  const Matrix m(2, 3, 1);
  const runtime::Args args{3, 5, m, Matrix(3, 2, 1)};
  EXPECT_EQ(t.call("distchck", args, 0), runtime::Results{0.0});
  EXPECT_EQ(t.call("distchck", args, 2), (runtime::Results{0.0, 5.0}));
  EXPECT_EQ(t.call("distchck", args, 3), (runtime::Results{0.0, Matrix(2, 3, 5), m}));
  EXPECT_EQ(t.call("distchck", args, 4)[0], runtime::Value(1.0));
  EXPECT_EQ(t.call("distchck", {1, m, 7}, 3), (runtime::Results{0.0, m}));
}

}  // namespace
}  // namespace lumivar::distributions
