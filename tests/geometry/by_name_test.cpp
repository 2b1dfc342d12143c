// The geometry operations called by name through the function table.
#include <gtest/gtest.h>

#include <string>

#include "geometry/by_name.h"
#include "geometry/getconsensus.h"
#include "geometry/landmark_fixtures.h"
#include "runtime/error.h"
#include "support/error_message.h"

namespace lumivar::geometry {
namespace {

using runtime::Matrix;

TEST(GeometryByName, CountsResultsAndRefusals) {
  runtime::FunctionTable t;
  for (auto e : {centpos_entry(), centsize_entry(), getconsensus_entry(),
                 allpairwiseprocrustes_entry()})
    t.add(std::move(e));
  const Matrix x = testing::random_landmarks(6, 5, 1);
  const auto both = t.call("getconsensus", {x}, 2);
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[0].matrix(), getconsensus(x).y);
  EXPECT_EQ(both[1].matrix(), getconsensus(x).xpt);
  EXPECT_ERROR_MSG(t.call("getconsensus", {x, x}, 1),
                   "Run-time Error: File: getconsensus Line: 1 Column: 1 The function "
                   "\"getconsensus\" was called with more than the declared number of inputs (1).");
  EXPECT_ERROR_MSG(t.call("getconsensus", {x}, 3),
            "Run-time Error: File: getconsensus Line: 1 Column: 1 The function "
            "\"getconsensus\" was called with more than the declared number of outputs (2).");
  EXPECT_ERROR_MSG(t.call("centsize", {x}, 2),
                   "Run-time Error: File: centsize Line: 1 Column: 1 The function "
                   "\"centsize\" was called with more than the declared number of outputs (1).");
  EXPECT_ERROR_MSG(t.call("allpairwiseprocrustes", {x, x}, 1),
            "Run-time Error: File: allpairwiseprocrustes Line: 1 Column: 1 The function "
            "\"allpairwiseprocrustes\" was called with more than the declared number of inputs "
            "(1).");
  EXPECT_ERROR_MSG(t.call("centpos", {}, 1),
                   "Not enough input arguments.");
}

}  // namespace
}  // namespace lumivar::geometry
