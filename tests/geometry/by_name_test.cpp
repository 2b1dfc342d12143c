// The geometry operations called by name through the function table.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "geometry/by_name.h"
#include "geometry/getconsensus.h"
#include "geometry/landmark_fixtures.h"
#include "runtime/error.h"

namespace lumivar::geometry {
namespace {

using runtime::Matrix;

std::string message_of(const runtime::FunctionTable& t, const char* name, runtime::Args args,
                       int nargout) {
  try {
    t.call(name, args, nargout);
  } catch (const runtime::Error& e) {
    return e.what();
  }
  return "no error";
}

TEST(GeometryByName, DeclaredCountsAndResults) {
  runtime::FunctionTable t;
  for (auto e : {centpos_entry(), centsize_entry(), getconsensus_entry(),
                 allpairwiseprocrustes_entry()})
    t.add(std::move(e));
  const std::vector<std::tuple<const char*, int, int>> declared = {
      {"centpos", 1, 1}, {"centsize", 1, 1}, {"getconsensus", 1, 2},
      {"allpairwiseprocrustes", 1, 1}};
  for (const auto& [name, inputs, outputs] : declared) {
    ASSERT_NE(t.find(name), nullptr) << name;
    EXPECT_EQ(t.find(name)->inputs, inputs) << name;
    EXPECT_EQ(t.find(name)->outputs, outputs) << name;
  }

  const Matrix x = testing::random_landmarks(6, 5, 1);
  EXPECT_EQ(t.call("centpos", {Matrix::row({1, 2, 3, 4, 99})}, 1).at(0).matrix(),
            Matrix::row({2, 3}));
  const auto both = t.call("getconsensus", {x}, 2);
  ASSERT_EQ(both.size(), 2u);
  const Consensus direct = getconsensus(x);
  EXPECT_EQ(both[0].matrix(), direct.y);
  EXPECT_EQ(both[1].matrix(), direct.xpt);

  EXPECT_EQ(message_of(t, "getconsensus", {x, x}, 1),
            "Run-time Error: File: getconsensus Line: 1 Column: 1 The function "
            "\"getconsensus\" was called with more than the declared number of inputs (1).");
  EXPECT_EQ(message_of(t, "getconsensus", {x}, 3),
            "Run-time Error: File: getconsensus Line: 1 Column: 1 The function "
            "\"getconsensus\" was called with more than the declared number of outputs (2).");
  EXPECT_EQ(message_of(t, "allpairwiseprocrustes", {}, 1),
            "The function \"allpairwiseprocrustes\" needs 1 input but was called with 0.");
}

}  // namespace
}  // namespace lumivar::geometry
