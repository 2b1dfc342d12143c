// The linear-model engine against an independent computation: the cell-means
// model and general linear hypotheses L mu = 0 (restricted least squares),
// written here without the engine's design columns or QR. A term's sum is
// the rise of the residual sum when its hypothesis is imposed (type III) or
// when it is imposed on top of the hypotheses of the terms containing it
// (type II), and the reduced model's fit is the restricted fit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

#include <Eigen/Dense>

#include "models/stratum.h"

namespace lumivar::models {
namespace {

constexpr double kEps = std::numeric_limits<double>::epsilon();
using Eigen::MatrixXd;

struct Design {
  std::size_t n1, n2;
  std::vector<std::size_t> per_cell;  // specimens per cell, cell a * n2 + b
};

StrataDesign strata_design_of(const Design& d) {
  StrataDesign s;
  s.n1 = d.n1;
  s.n2 = d.n2;
  for (std::size_t c = 0; c < d.per_cell.size(); ++c) {
    s.counts.push_back(static_cast<double>(d.per_cell[c]));
    for (std::size_t i = 0; i < d.per_cell[c]; ++i) s.cell.push_back(static_cast<std::uint32_t>(c));
  }
  return s;
}

// Rows with cell effects of every kind and noise, p columns.
Rows random_rows(const StrataDesign& s, Eigen::Index p, std::uint64_t seed) {
  std::mt19937_64 rng(seed);
  std::normal_distribution<double> z(0, 1);
  MatrixXd cell_effect(static_cast<Eigen::Index>(s.cells()), p);
  for (Eigen::Index i = 0; i < cell_effect.size(); ++i) cell_effect(i) = 0.7 * z(rng);
  Rows y(static_cast<Eigen::Index>(s.specimens()), p);
  for (Eigen::Index j = 0; j < y.rows(); ++j)
    for (Eigen::Index c = 0; c < p; ++c) y(j, c) = 0.4 + cell_effect(s.cell[j], c) + z(rng);
  return y;
}

// Hypothesis rows over the cells for term t: for each factor in t the
// differences of each level from the last, for each factor not in t the
// average over its levels; Kronecker products for the cells a * n2 + b.
MatrixXd hypothesis(Term t, std::size_t n1, std::size_t n2) {
  const auto factor = [](bool in, std::size_t levels) {
    const Eigen::Index l = static_cast<Eigen::Index>(levels);
    if (!in) return MatrixXd(MatrixXd::Constant(1, l, 1.0 / static_cast<double>(levels)));
    MatrixXd d = MatrixXd::Zero(l - 1, l);
    for (Eigen::Index i = 0; i + 1 < l; ++i) {
      d(i, i) = 1;
      d(i, l - 1) = -1;
    }
    return d;
  };
  const MatrixXd a = factor(t & kFactor1, n1), b = factor(t & kFactor2, n2);
  MatrixXd l(a.rows() * b.rows(), a.cols() * b.cols());
  for (Eigen::Index i = 0; i < a.rows(); ++i)
    for (Eigen::Index k = 0; k < b.rows(); ++k)
      for (Eigen::Index c1 = 0; c1 < a.cols(); ++c1)
        for (Eigen::Index c2 = 0; c2 < b.cols(); ++c2)
          l(i * b.rows() + k, c1 * b.cols() + c2) = a(i, c1) * b(k, c2);
  return l;
}

MatrixXd stacked(const std::vector<Term>& terms, std::size_t n1, std::size_t n2) {
  MatrixXd l(0, static_cast<Eigen::Index>(n1 * n2));
  for (Term t : terms) {
    const MatrixXd h = hypothesis(t, n1, n2);
    MatrixXd grown(l.rows() + h.rows(), l.cols());
    grown << l, h;
    l = grown;
  }
  return l;
}

// The cell-means fit and restricted fits of rows y.
struct CellMeans {
  CellMeans(const Rows& y, const StrataDesign& s) : d(s) {
    mu = MatrixXd::Zero(static_cast<Eigen::Index>(s.cells()), y.cols());
    for (Eigen::Index j = 0; j < y.rows(); ++j) mu.row(s.cell[j]) += y.row(j);
    for (std::size_t c = 0; c < s.cells(); ++c) mu.row(static_cast<Eigen::Index>(c)) /= s.counts[c];
    for (Eigen::Index j = 0; j < y.rows(); ++j) residual += (y.row(j) - mu.row(s.cell[j])).squaredNorm();
  }
  MatrixXd inverse_counts() const {
    Eigen::VectorXd v(static_cast<Eigen::Index>(d.cells()));
    for (std::size_t c = 0; c < d.cells(); ++c) v(static_cast<Eigen::Index>(c)) = 1 / d.counts[c];
    return v.asDiagonal();
  }
  // The rise of the residual sum under L mu = 0, summed over the columns.
  double extra(const MatrixXd& l) const {
    if (l.rows() == 0) return 0;
    const MatrixXd lm = l * mu;
    const MatrixXd middle = l * inverse_counts() * l.transpose();
    return (lm.transpose() * middle.ldlt().solve(lm)).trace();
  }
  // The cell values fitted under L mu = 0.
  MatrixXd restricted(const MatrixXd& l) const {
    if (l.rows() == 0) return mu;
    const MatrixXd dinv = inverse_counts();
    const MatrixXd middle = l * dinv * l.transpose();
    return mu - dinv * l.transpose() * middle.ldlt().solve(l * mu);
  }
  const StrataDesign& d;
  MatrixXd mu;
  double residual = 0;
};

// Terms of the full model that contain `t` (t itself excluded).
std::vector<Term> containing(Term t) {
  std::vector<Term> out;
  for (Term u : kFullModel)
    if (u != t && contains(u, t)) out.push_back(u);
  return out;
}

struct Reference {
  double term, residual;
};

// Term t's sums on rows y by restricted least squares.
Reference reference_sums(const Rows& y, const StrataDesign& s, Term t, SsType type) {
  const CellMeans m(y, s);
  if (type == SsType::kIII) return {m.extra(hypothesis(t, s.n1, s.n2)), m.residual};
  std::vector<Term> with = containing(t);
  const double above = m.extra(stacked(with, s.n1, s.n2));
  with.push_back(t);
  return {m.extra(stacked(with, s.n1, s.n2)) - above, m.residual};
}

// The reduced model's cell values of term t.
MatrixXd reference_reduced_fit(const Rows& y, const StrataDesign& s, Term t, SsType type) {
  std::vector<Term> imposed = {t};
  if (type == SsType::kII)
    for (Term u : containing(t)) imposed.push_back(u);
  return CellMeans(y, s).restricted(stacked(imposed, s.n1, s.n2));
}

const std::vector<Design> kDesigns = {
    {2, 2, {3, 5, 2, 4}},        // unequal cells
    {2, 3, {1, 2, 4, 3, 1, 2}},  // cells of one specimen
    {3, 2, {2, 2, 2, 2, 2, 2}},  // balanced
    {1, 3, {2, 3, 4}},           // one G1 code: G1 and G1:G2 have no columns
};

// Calls check(design, rows, stratum, type) for every design and both types,
// the rows of design i seeded with seed + i.
template <typename Check>
void for_each_fit(Eigen::Index p, std::uint64_t seed, Check check) {
  for (std::size_t i = 0; i < kDesigns.size(); ++i)
    for (SsType type : {SsType::kII, SsType::kIII}) {
      SCOPED_TRACE("design " + std::to_string(i) + " type " + std::to_string(int(type)));
      const StrataDesign s = strata_design_of(kDesigns[i]);
      const Rows y = random_rows(s, p, seed + i);
      check(s, y, Stratum(y, s, kFullModel, type), type);
    }
}

TEST(Stratum, ObservedSumsAreThoseOfTheLinearHypotheses) {
  for_each_fit(3, 10, [](const StrataDesign& s, const Rows& y, const Stratum& stratum, SsType type) {
      for (std::size_t k = 0; k < kFullModel.size(); ++k) {
        const Term t = kFullModel[k];
        const Reference ref = reference_sums(y, s, t, type);
        double expected_df = 1;
        if (t & kFactor1) expected_df *= static_cast<double>(s.n1 - 1);
        if (t & kFactor2) expected_df *= static_cast<double>(s.n2 - 1);
        EXPECT_EQ(stratum.df(k), expected_df) << "term " << t;
        const double expected = stratum.df(k) > 0 ? ref.term : 0.0;
        // Both routes are a few dozen operations on sums of order 100.
        EXPECT_NEAR(stratum.observed(k).term, expected, 1e4 * kEps * (1 + ref.residual)) << "term " << t;
        EXPECT_NEAR(stratum.observed(k).residual, ref.residual, 1e4 * kEps * ref.residual);
      }
      EXPECT_EQ(stratum.df_residual(), static_cast<double>(s.specimens() - s.cells()));
  });
}

TEST(Stratum, TypesAgreeOnBalancedDesignsAndDifferOnUnequalCells) {
  for (std::size_t i : {0u, 2u}) {
    const StrataDesign s = strata_design_of(kDesigns[i]);
    const Rows y = random_rows(s, 2, 30 + i);
    const Stratum two(y, s, kFullModel, SsType::kII), three(y, s, kFullModel, SsType::kIII);
    const double g1_two = two.observed(1).term, g1_three = three.observed(1).term;
    if (s.balanced()) {
      EXPECT_NEAR(g1_two, g1_three, 1e3 * kEps * g1_three);
    } else {
      EXPECT_GT(std::abs(g1_two - g1_three), 1e-6 * g1_three);
    }
  }
}

// Relabelled data built row by row: the restricted fit of each slot's cell
// plus the relabelled residual; its sums by the hypotheses again.
TEST(Stratum, RelabelledSumsAreThoseOfTheRelabelledRows) {
  std::mt19937_64 rng(77);
  for_each_fit(2, 50, [&rng](const StrataDesign& s, const Rows& y, const Stratum& stratum, SsType type) {
      std::vector<std::uint32_t> order(s.specimens());
      std::iota(order.begin(), order.end(), 0u);
      std::shuffle(order.begin(), order.end(), rng);
      std::vector<std::uint8_t> swap(s.specimens());
      for (auto& v : swap) v = static_cast<std::uint8_t>(rng() & 1);
      CellMoves permuted(stratum), flipped(stratum);
      stratum.permuted(order, permuted);
      stratum.flipped(swap, flipped);
      for (std::size_t k = 0; k < kFullModel.size(); ++k) {
        const Term t = kFullModel[k];
        if (stratum.df(k) == 0) continue;
        const MatrixXd fit = reference_reduced_fit(y, s, t, type);
        Rows by_order(y.rows(), y.cols()), by_sign(y.rows(), y.cols());
        for (Eigen::Index j = 0; j < y.rows(); ++j) {
          const Eigen::Index from = order[j];
          by_order.row(j) = fit.row(s.cell[j]) + (y.row(from) - fit.row(s.cell[from]));
          by_sign.row(j) = fit.row(s.cell[j]) + (swap[j] ? -1.0 : 1.0) * (y.row(j) - fit.row(s.cell[j]));
        }
        for (const auto& [moves, rows] : {std::pair{&permuted, &by_order}, std::pair{&flipped, &by_sign}}) {
          const StratumSums got = stratum.relabelled(k, moves->moved, moves->weights);
          const Reference ref = reference_sums(*rows, s, t, type);
          const double scale = 1e4 * kEps * (1 + stratum.scale(k));
          EXPECT_NEAR(got.term, ref.term, scale) << "term " << t;
          EXPECT_NEAR(got.residual, ref.residual, scale) << "term " << t;
        }
      }
  });
}

}  // namespace
}  // namespace lumivar::models
