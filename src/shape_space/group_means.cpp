#include "shape_space/group_means.h"

#include <map>
#include <string>

#include "runtime/error.h"

namespace lumivar::shape_space {

std::vector<GroupMean> group_means(const CoordinateRows& rows,
                                   const std::vector<const runtime::Matrix*>& factors) {
  const auto m = static_cast<std::size_t>(rows.rows());
  for (const runtime::Matrix* f : factors)
    if (f->numel() < m)
      runtime::raise("There are " + std::to_string(f->numel()) + " codes for " + std::to_string(m) +
                     " rows of coordinates.");
  std::map<std::vector<double>, GroupMean> groups;
  std::vector<double> key(factors.size());
  for (std::size_t i = 0; i < m; ++i) {
    for (std::size_t f = 0; f < factors.size(); ++f) key[f] = (*factors[f])(i + 1);
    GroupMean& g = groups[key];
    if (g.rows == 0) {
      g.codes = key;
      g.shape = Eigen::RowVectorXd::Zero(rows.cols());
    }
    g.shape += rows.row(static_cast<Eigen::Index>(i));
    ++g.rows;
  }
  std::vector<GroupMean> out;
  out.reserve(groups.size());
  for (auto& [codes, g] : groups) {
    g.shape /= static_cast<double>(g.rows);
    out.push_back(std::move(g));
  }
  return out;
}

}  // namespace lumivar::shape_space
