#include "runtime/qt/anchors.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/error.h"
#include "support/error_message.h"

namespace lumivar::runtime::qt {
namespace {

bool same(const Anchors& a, const Anchors& b) {
  return a.left == b.left && a.right == b.right && a.bottom == b.bottom && a.top == b.top;
}

TEST(Anchors, WordsAndFractionsSayHowEachEdgeMoves) {
  EXPECT_TRUE(same(parse_anchors(Value("top-left")), Anchors{0, 0, 1, 1}));
  EXPECT_TRUE(same(parse_anchors(Value("Top-Left-RIGHT")), Anchors{0, 1, 1, 1}));
  EXPECT_TRUE(same(parse_anchors(Value("all")), Anchors{0, 1, 0, 1}));
  EXPECT_TRUE(same(parse_anchors(Value("bottom-right")), Anchors{1, 1, 0, 0}));
  EXPECT_TRUE(same(parse_anchors(Value("")), Anchors{}));  // the pixel position's own corner
  EXPECT_TRUE(same(parse_anchors(Value()), Anchors{}));
  EXPECT_TRUE(same(parse_anchors(Value(Matrix::row({0.5, 1, 1, 1}))), Anchors{0.5, 1, 1, 1}));
  EXPECT_ERROR_MSG(parse_anchors(Value("top-middle")),
            "Anchor \"top-middle\": each word must be top, bottom, left or right (or the whole is "
            "\"all\"), not \"middle\".");
  const std::string fractions =
      "Anchor as numbers must be four fractions [left right bottom top] between 0 and 1, with "
      "left <= right and bottom <= top.";
  EXPECT_ERROR_MSG(parse_anchors(Value(Matrix::row({0.6, 0.3, 1, 1}))), fractions);
  EXPECT_ERROR_MSG(parse_anchors(Value(Matrix::row({0, 1.5, 1, 1}))), fractions);
  EXPECT_ERROR_MSG(parse_anchors(Value(Matrix::row({0, 1, 1}))), fractions);
}

// A 400 x 300 window grows to 700 x 500: 300 more across, 200 more up.
TEST(Anchors, ControlsKeepTheirDistanceToTheEdgesTheyFollow) {
  const Matrix bar = Matrix::row({10, 250, 100, 30});  // 20 below the top edge
  auto grown = [&](const Matrix& rect, const char* anchor) {
    return anchored_rect(rect, 400, 300, 700, 500, parse_anchors(Value(anchor)));
  };
  EXPECT_EQ(grown(bar, "top-left"), Matrix::row({10, 450, 100, 30}));
  EXPECT_EQ(grown(bar, "top-left-right"), Matrix::row({10, 450, 400, 30}));
  EXPECT_EQ(grown(bar, "top-right"), Matrix::row({310, 450, 100, 30}));
  EXPECT_EQ(grown(bar, ""), bar);
  const Matrix body = Matrix::row({10, 10, 380, 200});
  EXPECT_EQ(grown(body, "all"), Matrix::row({10, 10, 680, 400}));
  // Three columns sharing the growth stay equally wide and keep their gaps.
  const Anchors first{0, 1.0 / 3, 1, 1}, second{1.0 / 3, 2.0 / 3, 1, 1}, third{2.0 / 3, 1, 1, 1};
  EXPECT_EQ(anchored_rect(Matrix::row({10, 250, 120, 30}), 400, 300, 700, 500, first),
            Matrix::row({10, 450, 220, 30}));
  EXPECT_EQ(anchored_rect(Matrix::row({140, 250, 120, 30}), 400, 300, 700, 500, second),
            Matrix::row({240, 450, 220, 30}));
  EXPECT_EQ(anchored_rect(Matrix::row({270, 250, 120, 30}), 400, 300, 700, 500, third),
            Matrix::row({470, 450, 220, 30}));
  // Shrunk below the control's margins: the stretched side stops at zero.
  EXPECT_EQ(anchored_rect(body, 400, 300, 50, 50, parse_anchors(Value("all"))),
            Matrix::row({10, 10, 30, 0}));
}

}  // namespace
}  // namespace lumivar::runtime::qt
