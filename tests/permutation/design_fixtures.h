#pragma once
// Two-measurement study designs for the permutation tests: mg specimens, each
// measured twice (rows j and j + mg), with seeded landmark data.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "geometry/landmark_fixtures.h"
#include "input/session.h"
#include "partition/partition.h"

namespace lumivar::testing {

struct StudyDesign {
  runtime::Session session;
  partition::DesignSizes sizes;
};

// G1 codes `g1`, G2 codes `g2` per specimen and measurement codes `t` per
// row (2 mg entries); n1g, n2g and nrep are given as the loaders would have
// counted them. Landmarks: k per row, seeded.
inline StudyDesign study(const std::vector<double>& g1, const std::vector<double>& g2,
                         const std::vector<double>& t, double n1g, double n2g,
                         std::size_t k = 5, std::uint64_t seed = 1) {
  StudyDesign d;
  const std::size_t mg = g1.size();
  runtime::Session& s = d.session;
  s.data = random_landmarks(2 * mg, k, seed);
  s.group = runtime::Matrix(mg, 2);
  for (std::size_t j = 1; j <= mg; ++j) {
    s.group(j, 1) = g1[j - 1];
    s.group(j, 2) = g2[j - 1];
  }
  s.repgroup = runtime::Matrix::column(t);
  s.nrep = runtime::Matrix::scalar(2);
  s.n1g = runtime::Matrix::scalar(n1g);
  s.n2g = runtime::Matrix::scalar(n2g);
  d.sizes = {static_cast<double>(2 * mg), n1g, n2g, 2};
  return d;
}

// A balanced design: `per_cell` specimens in each of the n1g x n2g cells,
// codes 1 .. n1g and 1 .. n2g, measurement codes 1 for rows 1 .. mg and 2
// for the rest.
inline StudyDesign balanced_study(int n1g, int n2g, int per_cell, std::size_t k = 5,
                                  std::uint64_t seed = 1) {
  std::vector<double> g1, g2, t;
  for (int c = 0; c < per_cell; ++c)
    for (int a = 1; a <= n1g; ++a)
      for (int b = 1; b <= n2g; ++b) {
        g1.push_back(a);
        g2.push_back(b);
      }
  for (std::size_t j = 0; j < 2 * g1.size(); ++j) t.push_back(j < g1.size() ? 1 : 2);
  return study(g1, g2, t, n1g, n2g, k, seed);
}

}  // namespace lumivar::testing
