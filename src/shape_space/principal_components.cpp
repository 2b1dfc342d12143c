#include "shape_space/principal_components.h"

#include <cmath>
#include <string>

#include <Eigen/Eigenvalues>

#include "partition/rounding_zero.h"
#include "runtime/error.h"

namespace lumivar::shape_space {

std::size_t shape_space_dimension(std::size_t landmarks, std::size_t dimension) {
  const std::size_t taken = dimension + 1 + dimension * (dimension - 1) / 2;
  const std::size_t p = landmarks * dimension;
  return p > taken ? p - taken : 0;
}

void fix_sign(Eigen::MatrixXd& loadings, Eigen::MatrixXd& scores, Eigen::Index j) {
  Eigen::Index largest = 0;
  for (Eigen::Index i = 1; i < loadings.rows(); ++i)
    if (std::abs(loadings(i, j)) > std::abs(loadings(largest, j))) largest = i;
  if (loadings(largest, j) >= 0) return;
  loadings.col(j) *= -1;
  if (scores.cols() > j) scores.col(j) *= -1;
}

PrincipalComponents principal_components(const CoordinateRows& rows, std::size_t components,
                                         std::size_t space) {
  const Eigen::Index m = rows.rows(), p = rows.cols();
  if (m < 2)
    runtime::raise("Principal components need at least two rows of coordinates; there are " +
                   std::to_string(m) + ".");
  if (!rows.allFinite())
    runtime::raise("A superimposed coordinate is not a finite number, so there are no principal "
                   "components.");
  PrincipalComponents pc;
  pc.mean = rows.colwise().mean();
  // Centred first: the covariance of unit-size shapes is small next to
  // their squared coordinates, and would lose digits to the cancellation.
  const Eigen::MatrixXd centred = rows.rowwise() - pc.mean;
  Eigen::MatrixXd scatter = Eigen::MatrixXd::Zero(p, p);
  scatter.selfadjointView<Eigen::Lower>().rankUpdate(centred.transpose());
  scatter = scatter.selfadjointView<Eigen::Lower>();
  const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver(scatter);
  if (solver.info() != Eigen::Success) runtime::raise("The principal components did not converge.");

  // Eigen gives ascending eigenvalues: walk them from the top. A component
  // counts while its sum of squares stands above the rounding of the total.
  const double sstotal = scatter.trace();
  const double level = partition::rounding_level(static_cast<double>(m), sstotal);
  const double dfree = static_cast<double>(m - 1);
  const auto limit = [p](std::size_t n) { return static_cast<Eigen::Index>(std::min<std::size_t>(n, static_cast<std::size_t>(p))); };
  Eigen::Index in_space = 0;
  for (Eigen::Index i = p; i-- > 0;)
    if (partition::clean_sum(solver.eigenvalues()(i), level) > 0) ++in_space;
  in_space = std::min<Eigen::Index>({in_space, m - 1, limit(space)});
  const Eigen::Index kept = std::min(in_space, limit(components));
  const double space_ss = solver.eigenvalues().tail(in_space).sum();

  pc.total_variance = sstotal / dfree;
  pc.eigenvalues.resize(kept);
  pc.percent.resize(kept);
  pc.loadings.resize(p, kept);
  for (Eigen::Index c = 0; c < kept; ++c) {
    const Eigen::Index from = p - 1 - c;
    pc.eigenvalues(c) = solver.eigenvalues()(from) / dfree;
    pc.percent(c) = partition::ratio_or_nan(100.0 * solver.eigenvalues()(from), space_ss);
    pc.loadings.col(c) = solver.eigenvectors().col(from);
  }
  Eigen::MatrixXd none;
  for (Eigen::Index c = 0; c < kept; ++c) fix_sign(pc.loadings, none, c);
  pc.scores = centred * pc.loadings;
  return pc;
}

}  // namespace lumivar::shape_space
