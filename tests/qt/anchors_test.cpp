#include "runtime/qt/anchors.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/error.h"

namespace lumivar::runtime::qt {
namespace {

bool same(const Anchors& a, const Anchors& b) {
  return a.left == b.left && a.right == b.right && a.bottom == b.bottom && a.top == b.top;
}

TEST(Anchors, WordsNameTheEdgesAndUnknownWordsAreRefused) {
  EXPECT_TRUE(same(parse_anchors("top-left"), Anchors{true, false, false, true}));
  EXPECT_TRUE(same(parse_anchors("Top-Left-RIGHT"), Anchors{true, true, false, true}));
  EXPECT_TRUE(same(parse_anchors("all"), Anchors{true, true, true, true}));
  EXPECT_TRUE(same(parse_anchors("bottom-right"), Anchors{false, true, true, false}));
  EXPECT_TRUE(same(parse_anchors(""), Anchors{}));  // the pixel position's own corner
  try {
    parse_anchors("top-middle");
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Anchor \"top-middle\": each word must be top, bottom, left or right (or the whole "
              "is \"all\"), not \"middle\".");
  }
}

// A 400 x 300 window grows to 600 x 500: 200 more in each direction.
TEST(Anchors, ControlsKeepTheirDistanceToTheEdgesTheyFollow) {
  const Matrix bar = Matrix::row({10, 250, 100, 30});  // 20 below the top edge
  EXPECT_EQ(anchored_rect(bar, 400, 300, 600, 500, parse_anchors("top-left")),
            Matrix::row({10, 450, 100, 30}));
  EXPECT_EQ(anchored_rect(bar, 400, 300, 600, 500, parse_anchors("top-left-right")),
            Matrix::row({10, 450, 300, 30}));
  EXPECT_EQ(anchored_rect(bar, 400, 300, 600, 500, parse_anchors("top-right")),
            Matrix::row({210, 450, 100, 30}));
  EXPECT_EQ(anchored_rect(bar, 400, 300, 600, 500, Anchors{}), bar);
  const Matrix body = Matrix::row({10, 10, 380, 200});
  EXPECT_EQ(anchored_rect(body, 400, 300, 600, 500, parse_anchors("all")),
            Matrix::row({10, 10, 580, 400}));
  // Shrunk below the control's margins: the stretched side stops at zero.
  EXPECT_EQ(anchored_rect(body, 400, 300, 50, 50, parse_anchors("all")),
            Matrix::row({10, 10, 30, 0}));
}

}  // namespace
}  // namespace lumivar::runtime::qt
