#include "shape_space/principal_components.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <Eigen/SVD>

#include "geometry/centsize.h"
#include "geometry/getconsensus.h"
#include "geometry/landmark_fixtures.h"
#include "shape_space/centroid_sizes.h"
#include "runtime/error.h"
#include "shape_space/shape_space.h"

namespace lumivar::shape_space {
namespace {

constexpr double kEps = std::numeric_limits<double>::epsilon();

// Superimposed rows of a seeded study, as the analyses make them.
runtime::Matrix superimposed(std::size_t m, std::size_t k, std::uint64_t seed) {
  return geometry::getconsensus(testing::random_landmarks(m, k, seed)).xpt;
}

// The reference: a singular value decomposition of the centred rows, with
// the stated sign rule applied to its right singular vectors.
struct SvdReference {
  Eigen::VectorXd variances;
  Eigen::MatrixXd loadings, scores;
};
SvdReference svd_reference(const CoordinateRows& rows) {
  const Eigen::MatrixXd centred = rows.rowwise() - rows.colwise().mean();
  const Eigen::JacobiSVD<Eigen::MatrixXd> svd(centred, Eigen::ComputeThinU | Eigen::ComputeThinV);
  SvdReference r;
  r.variances = svd.singularValues().array().square() / static_cast<double>(rows.rows() - 1);
  r.loadings = svd.matrixV();
  r.scores = svd.matrixU() * svd.singularValues().asDiagonal();
  for (Eigen::Index j = 0; j < r.loadings.cols(); ++j) fix_sign(r.loadings, r.scores, j);
  return r;
}

TEST(PrincipalComponents, AgreeWithAnSvdOfTheCentredRows) {
  const runtime::Matrix xpt = superimposed(60, 7, 11);
  const CoordinateRows rows = coordinate_rows(xpt, 2);
  // 2-D superimposition removes translation (2), scale and rotation: 14 - 4.
  const PrincipalComponents pc = principal_components(rows, kAllComponents, shape_space_dimension(7, 2));
  const SvdReference ref = svd_reference(rows);
  ASSERT_EQ(pc.eigenvalues.size(), 10);
  const double top = ref.variances(0);
  for (Eigen::Index c = 0; c < pc.eigenvalues.size(); ++c) {
    // The eigenproblem of the covariance squares the condition: a few
    // hundred ulps of the largest variance.
    EXPECT_NEAR(pc.eigenvalues(c), ref.variances(c), 1e3 * kEps * top) << "component " << c + 1;
    // Directions of well-separated eigenvalues: agree to 1e-8 after the sign rule.
    EXPECT_LT((pc.loadings.col(c) - ref.loadings.col(c)).cwiseAbs().maxCoeff(), 1e-8) << c + 1;
    EXPECT_LT((pc.scores.col(c) - ref.scores.col(c)).cwiseAbs().maxCoeff(), 1e-8) << c + 1;
  }
  // Outside the space: the curvature of the unit-size sphere and the
  // rotation within the fit's tolerance, a little; translation and scale, nothing.
  EXPECT_LT(ref.variances(10), 0.01 * top);
  EXPECT_LT(ref.variances(12), 1e3 * kEps * top);
  // Percents of the space's variance: they sum to 100.
  EXPECT_NEAR(pc.percent.sum(), 100.0, 1e3 * kEps * 100);
  EXPECT_NEAR(pc.percent(0), 100 * ref.variances(0) / ref.variances.head(10).sum(), 1e3 * kEps * 100);
  EXPECT_NEAR(pc.total_variance, ref.variances.sum(), 1e3 * kEps * top);
}

TEST(PrincipalComponents, SignRuleAndLimitAreReproducible) {
  const runtime::Matrix xpt = superimposed(40, 5, 3);
  CoordinateRows rows = coordinate_rows(xpt, 2);
  const PrincipalComponents all = principal_components(rows, kAllComponents, 6);
  const PrincipalComponents two = principal_components(rows, 2, 6);
  ASSERT_EQ(two.loadings.cols(), 2);
  EXPECT_EQ(two.loadings, all.loadings.leftCols(2));
  EXPECT_EQ(two.scores, all.scores.leftCols(2));
  EXPECT_EQ(two.percent, all.percent.head(2));
  for (Eigen::Index c = 0; c < all.loadings.cols(); ++c) {
    Eigen::Index largest = 0;
    all.loadings.col(c).cwiseAbs().maxCoeff(&largest);
    EXPECT_GT(all.loadings(largest, c), 0) << "component " << c + 1;
  }
  // Reversing the row order changes no component (sums differ only in rounding).
  const CoordinateRows reversed = rows.colwise().reverse();
  const PrincipalComponents back = principal_components(reversed, kAllComponents, 6);
  EXPECT_LT((back.loadings - all.loadings).cwiseAbs().maxCoeff(), 1e-8);
}

TEST(PrincipalComponents, DimensionIsAParameter) {
  // Three coordinates per landmark: 4 landmarks, 12 columns, 12 components at most.
  runtime::Matrix rows(9, 13);
  for (std::size_t i = 1; i <= 9; ++i)  // scattered values of no low rank
    for (std::size_t j = 1; j <= 12; ++j) {
      const double v = std::sin(12.9898 * static_cast<double>(i) + 78.233 * static_cast<double>(j)) * 43758.5453;
      rows(i, j) = v - std::floor(v);
    }
  const PrincipalComponents pc = principal_components(coordinate_rows(rows, 3));
  EXPECT_EQ(pc.loadings.rows(), 12);
  EXPECT_EQ(pc.eigenvalues.size(), 8);  // 9 rows leave 8 degrees of freedom
  EXPECT_THROW(coordinate_rows(rows, 5), runtime::Error);
  // Shape space: k d less d translations, one scale and d (d - 1) / 2 rotations.
  EXPECT_EQ(shape_space_dimension(4, 3), 12u - 3 - 1 - 3);
  EXPECT_EQ(shape_space_dimension(2, 2), 0u);
}

TEST(PrincipalComponents, RefusesTooFewRowsAndNonFiniteCoordinates) {
  runtime::Matrix one(1, 7, 1.0);
  EXPECT_THROW(principal_components(coordinate_rows(one, 2)), runtime::Error);
  runtime::Matrix xpt = superimposed(5, 3, 1);
  xpt(2, 3) = std::nan("");
  EXPECT_THROW(principal_components(coordinate_rows(xpt, 2)), runtime::Error);
}

TEST(CentroidSizes, AreThoseOfTheRowsAsLoadedInAnyDimension) {
  const runtime::Matrix data = testing::random_landmarks(6, 5, 8);
  const std::vector<double> sizes = centroid_sizes(data, 2);
  const runtime::Matrix reference = geometry::centsize(data);
  for (std::size_t i = 1; i <= 6; ++i) EXPECT_NEAR(sizes[i - 1], reference(i), 8 * kEps * reference(i));
  // 3-D: two landmarks at (0,0,0) and (2,0,0) plus (1,3,0): centroid (1,1,0);
  // squared distances 2 + 2 + 4.
  const runtime::Matrix tri = runtime::Matrix::rows_of({{0, 0, 0, 2, 0, 0, 1, 3, 0, 42}});
  EXPECT_NEAR(centroid_sizes(tri, 3)[0], std::sqrt(8.0), 4 * kEps);
}

TEST(ComponentEnds, LieOnTheComponentAtTheExtremeScores) {
  const runtime::Matrix xpt = superimposed(30, 6, 5);
  const PrincipalComponents pc = principal_components(coordinate_rows(xpt, 2));
  const auto [low, high] = component_ends(pc, 0);
  const double lo_score = (low - pc.mean).dot(pc.loadings.col(0).transpose());
  const double hi_score = (high - pc.mean).dot(pc.loadings.col(0).transpose());
  EXPECT_NEAR(lo_score, pc.scores.col(0).minCoeff(), 1e-12);
  EXPECT_NEAR(hi_score, pc.scores.col(0).maxCoeff(), 1e-12);
  EXPECT_THROW(component_ends(pc, pc.loadings.cols()), runtime::Error);
}

}  // namespace
}  // namespace lumivar::shape_space
