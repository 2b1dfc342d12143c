#include "shape_space/shape_space.h"

#include <string>

#include "runtime/error.h"
#include "shape_space/centroid_sizes.h"

namespace lumivar::shape_space {

ShapeSpace shape_space(const ShapeSpaceInputs& in) {
  const runtime::Matrix& xpt = *in.xpt;
  if (in.data->rows() != xpt.rows() || in.data->cols() != xpt.cols() ||
      in.consensus->numel() != xpt.cols())
    runtime::raise("The superimposed configurations (" + std::to_string(xpt.rows()) + " x " +
                   std::to_string(xpt.cols()) + ") do not match the landmark data (" +
                   std::to_string(in.data->rows()) + " x " + std::to_string(in.data->cols()) +
                   ") or their consensus.");
  ShapeSpace s;
  s.dimension = in.dimension;
  s.landmarks = landmark_count(xpt.cols(), in.dimension);
  const CoordinateRows rows = coordinate_rows(xpt, in.dimension);
  s.consensus = Eigen::Map<const Eigen::RowVectorXd>(in.consensus->data(), rows.cols());
  s.components = principal_components(rows, in.components, shape_space_dimension(s.landmarks, in.dimension));
  s.centroid_sizes = centroid_sizes(*in.data, in.dimension);
  s.g1 = group_means(rows, {in.g1});
  s.g2 = group_means(rows, {in.g2});
  s.t = group_means(rows, {in.t});
  s.cells = group_means(rows, {in.g1, in.g2});
  return s;
}

std::pair<Eigen::RowVectorXd, Eigen::RowVectorXd> component_ends(const PrincipalComponents& pc,
                                                                 Eigen::Index j) {
  if (j < 0 || j >= pc.loadings.cols())
    runtime::raise("There is no principal component " + std::to_string(j + 1) + "; there are " +
                   std::to_string(pc.loadings.cols()) + ".");
  const Eigen::RowVectorXd direction = pc.loadings.col(j).transpose();
  return {pc.mean + pc.scores.col(j).minCoeff() * direction, pc.mean + pc.scores.col(j).maxCoeff() * direction};
}

}  // namespace lumivar::shape_space
