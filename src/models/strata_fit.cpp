#include "models/strata_fit.h"

namespace lumivar::models {

namespace {

// Specimen means centred on their mean (every between-specimen model has
// the intercept, so no sum depends on the centre, and large coordinates
// keep their differences exact), or differences as they are (T tests
// their mean).
Rows stratum_rows(const runtime::Matrix& xpt, const StrataDesign& d, bool means) {
  const std::size_t p = xpt.cols() > 0 ? xpt.cols() - 1 : 0;
  Rows rows(static_cast<Eigen::Index>(d.specimens()), static_cast<Eigen::Index>(p));
  for (std::size_t j = 0; j < d.specimens(); ++j)
    for (std::size_t c = 0; c < p; ++c) {
      const double lo = xpt(d.lower_row[j] + 1, c + 1), hi = xpt(d.upper_row[j] + 1, c + 1);
      rows(static_cast<Eigen::Index>(j), static_cast<Eigen::Index>(c)) =
          means ? (lo + hi) / 2 : lo - hi;
    }
  if (means) rows.rowwise() -= rows.colwise().mean();
  return rows;
}

}  // namespace

std::size_t term_index(int k) {
  switch (k) {
    case partition::kG1: case partition::kT: return 0;
    case partition::kG2: case partition::kG1xT: return 1;
    case partition::kG1xG2: case partition::kG2xT: return 2;
    default: return 3;
  }
}

StrataFit::StrataFit(const runtime::Matrix& xpt, StrataDesign d, SsType t)
    : design(std::move(d)),
      type(t),
      between(stratum_rows(xpt, design, true), design, {kFactor1, kFactor2, kFactors12}, type),
      within(stratum_rows(xpt, design, false), design, kFullModel, type) {}

}  // namespace lumivar::models
