#pragma once
// The two strata of a two-measurement study, fitted once from the
// superimposed rows:
//   between specimens: the specimen means (each specimen's two rows
//     averaged), model 1 + G1 + G2 + G1:G2, tested G1, G2, G1:G2, residual
//     the specimens within the G1 x G2 cells; sums reported at twice the
//     sums of the means, so that on balanced designs they add up with the
//     within stratum to the factorial partition's sums;
//   within specimens: the differences d = lower code's row - higher code's
//     row, model 1 + G1 + G2 + G1:G2 where the intercept is T and the other
//     terms are G1xt, G2xt, G1xG2xt, residual "Residual"; sums reported at
//     half the sums of d.
// Coordinates are the columns of the superimposed rows but the trailing one,
// whatever the landmarks' dimension.
#include <optional>

#include "models/strata_design.h"
#include "models/stratum.h"
#include "partition/partition.h"
#include "runtime/matrix.h"

namespace lumivar::models {

// Whether effect k is tested between specimens (G1, G2, G1xG2).
inline bool between_specimens(int k) {
  return k == partition::kG1 || k == partition::kG2 || k == partition::kG1xG2;
}

// The stratum's term index of effect k.
std::size_t term_index(int k);

struct StrataFit {
  // Memory: two rows of p values per specimen in the tests.
  StrataFit(const runtime::Matrix& xpt, StrataDesign design, SsType type);

  StrataDesign design;
  SsType type;
  Stratum between, within;

  const Stratum& stratum(int k) const { return between_specimens(k) ? between : within; }
  // The factor from the stratum's own sums to the reported ones (2 or 1/2).
  static double scale_of(int k) { return between_specimens(k) ? 2.0 : 0.5; }
};

}  // namespace lumivar::models
