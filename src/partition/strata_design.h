#pragma once
// The specimens of a two-measurement study as the tests by strata see them:
// which G1 x G2 cell each specimen is in and which of its two rows carries
// which measurement code. Made once from the code columns; refuses designs
// on which the between- and within-specimen tests are not defined.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/matrix.h"

namespace lumivar::partition {

struct StrataDesign {
  std::size_t mg = 0;        // specimens (rows of the group codes)
  std::size_t n1 = 0;        // distinct G1 codes
  std::size_t n2 = 0;        // distinct G2 codes
  std::size_t per_cell = 0;  // specimens in every G1 x G2 cell
  // Per specimen: its G1 and G2 level (0-based, codes in increasing order)
  // and its cell, level1 * n2 + level2.
  std::vector<std::uint32_t> level1, level2, cell;
  // Per specimen: the 0-based row measured under the lower measurement code
  // and the row measured under the higher one.
  std::vector<std::size_t> lower_row, upper_row;

  std::size_t cells() const { return n1 * n2; }
  // Degrees of freedom of both stratum denominators: mg - n1 n2.
  double df_denominator() const {
    return static_cast<double>(mg) - static_cast<double>(cells());
  }
};

// `group`: one row per specimen (G1 code, G2 code); `repgroup`: one
// measurement code per row of landmark data; `m`: rows of landmark data.
// Raises an Error naming the problem when the data is not two measurements
// of every specimen (one under each of exactly two codes), when a code is not
// a number, when the G1 x G2 cells hold different numbers of specimens, or
// when a cell holds a single specimen (no degrees of freedom left for the
// denominators). Cost O(mg log mg).
StrataDesign strata_design(const runtime::Matrix& group, const runtime::Matrix& repgroup,
                           std::size_t m);

}  // namespace lumivar::partition
