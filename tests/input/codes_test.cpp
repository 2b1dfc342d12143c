#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "input/getcodecount.h"
#include "input/mergegroups.h"
#include "runtime/error.h"
#include "runtime/headless/headless_runtime.h"

namespace lumivar::input {
namespace {

using runtime::Matrix;
using runtime::headless::HeadlessRuntime;

std::vector<std::string> boxes(const HeadlessRuntime& ui) {
  std::vector<std::string> out;
  for (const auto& b : ui.message_boxes) out.push_back(b.title + ": " + b.text);
  return out;
}

TEST(Getcodecount, ComparesEveryCodeWithTheFirstCodeMet) {
  HeadlessRuntime ui;
  EXPECT_EQ(getcodecount(ui, Matrix::column({1, 1, 2, 2, 2})), 2);
  EXPECT_EQ(boxes(ui), (std::vector<std::string>{"Error in a group code: Mismatch in counts between groups 1 and 2"}));

  HeadlessRuntime ui2;
  EXPECT_EQ(getcodecount(ui2, Matrix::column({5, 7, 7, 9, 9})), 3);
  EXPECT_EQ(boxes(ui2), (std::vector<std::string>{
                            "Error in a group code: Mismatch in counts between groups 5 and 7",
                            "Error in a group code: Mismatch in counts between groups 5 and 9"}));

  HeadlessRuntime ui3;
  EXPECT_EQ(getcodecount(ui3, Matrix::column({2, 1, 2, 1})), 2);
  EXPECT_EQ(getcodecount(ui3, Matrix::scalar(4)), 1);
  EXPECT_TRUE(ui3.message_boxes.empty());
}

TEST(Getcodecount, NamesCodesInOrderOfFirstAppearance) {
  const CodeCounts c = count_codes(Matrix::column({3, 1, 3, 2, 1, 3}));
  EXPECT_EQ(c.codes, (std::vector<double>{3, 1, 2}));
  EXPECT_EQ(c.counts, (std::vector<double>{3, 2, 1}));
  // 1 and 1.0001 are two codes.
  EXPECT_EQ(count_codes(Matrix::column({1, 1.0001})).codes.size(), 2u);
}

// Counting as first written: every element compared with every code found
// so far, by ==. Quadratic, and the reference for the sorted counting.
CodeCounts counted_pairwise(const std::vector<double>& v) {
  CodeCounts c;
  for (double x : v) {
    bool found = false;
    for (std::size_t j = 0; j < c.codes.size(); ++j) {
      if (c.codes[j] == x) {
        c.counts[j] += 1;
        found = true;
      }
    }
    if (!found) {
      c.codes.push_back(x);
      c.counts.push_back(1);
    }
  }
  return c;
}

TEST(Getcodecount, CountsAsComparingEveryCodeWithEveryCodeFoundWould) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double pool[] = {0.0, -0.0, 1, 2, 2.5, -3, nan, HUGE_VAL, -HUGE_VAL, 1e15, 1e15 + 1};
  std::mt19937 rng(11);
  for (int trial = 0; trial < 200; ++trial) {
    std::vector<double> v(1 + rng() % 60);
    for (double& x : v) x = pool[rng() % std::size(pool)];
    const CodeCounts expected = counted_pairwise(v);
    const CodeCounts got = count_codes(Matrix::column(v));
    ASSERT_EQ(got.codes.size(), expected.codes.size()) << trial;
    EXPECT_EQ(got.counts, expected.counts) << trial;
    // Bit for bit: the code shown is the first appearance (0 or -0; each NaN).
    EXPECT_EQ(std::memcmp(got.codes.data(), expected.codes.data(), got.codes.size() * sizeof(double)), 0)
        << trial;
  }
}

TEST(Mergegroups, CodesTheCrossedFactor) {
  EXPECT_EQ(mergegroups(Matrix::column({1, 1, 2, 2}), Matrix::column({0, 1, 0, 1})),
            Matrix::column({2, 3, 4, 5}));
  EXPECT_EQ(mergegroups(Matrix::column({4, 5, 6}), Matrix::column({0, 0, 0})), Matrix::column({4, 5, 6}));
  // Two rows share a combined code exactly when they share both codes.
  const Matrix a = Matrix::column({1, 2, 1, 2, 1, 3});
  const Matrix b = Matrix::column({7, 7, 9, 9, 7, 0});
  const Matrix c = mergegroups(a, b);
  for (std::size_t i = 1; i <= 6; ++i)
    for (std::size_t j = 1; j <= 6; ++j)
      EXPECT_EQ(c(i) == c(j), a(i) == a(j) && b(i) == b(j)) << i << "," << j;
  EXPECT_THROW(mergegroups(Matrix::column({1, 2}), Matrix::column({1})), runtime::Error);
}

}  // namespace
}  // namespace lumivar::input
