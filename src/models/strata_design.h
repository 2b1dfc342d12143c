#pragma once
// The specimens of a two-measurement study as the tests by strata see them:
// the G1 x G2 cell of each specimen measured twice and which of its two rows
// carries the lower measurement code. Specimens measured once are left out
// of these tests (they stay in the superimposition) and listed. Made once
// from the code columns; refuses designs on which the between- and
// within-specimen tests are not defined.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/matrix.h"

namespace lumivar::models {

struct StrataDesign {
  std::size_t n1 = 0, n2 = 0;       // distinct G1 and G2 codes
  std::vector<double> codes1, codes2;  // those codes, increasing
  // Per specimen in the tests (in the order of the group rows): its 0-based
  // row of group codes, its cell (level1 * n2 + level2) and its rows of
  // landmark data under the lower and the higher measurement code.
  std::vector<std::size_t> specimen;
  std::vector<std::uint32_t> cell;
  std::vector<std::size_t> lower_row, upper_row;
  std::vector<double> counts;          // specimens in the tests per cell
  std::vector<std::size_t> left_out;   // 0-based group rows of specimens measured once

  std::size_t specimens() const { return cell.size(); }
  std::size_t cells() const { return n1 * n2; }
  bool balanced() const;
  // Degrees of freedom of both stratum denominators: specimens - cells.
  double df_denominator() const {
    return static_cast<double>(specimens()) - static_cast<double>(cells());
  }
  // "G1 = a with G2 = b" for messages.
  std::string cell_name(std::size_t c) const;
};

// `group`: one row per specimen (G1 code, G2 code); `repgroup`: one
// measurement code per row of landmark data; `m`: rows of landmark data.
// `row_specimen`: the 0-based group row of every data row; empty for the
// plain-file layout, where rows j and j + mg are specimen j and m must be 2 mg.
// Raises an Error naming the problem: a code that is not a number, other than
// two distinct measurement codes, a specimen with two rows under one code or
// more than two rows, a G1 x G2 cell without a specimen measured twice, or no
// degrees of freedom left for the denominators. Cost O(m log m).
StrataDesign strata_design(const runtime::Matrix& group, const runtime::Matrix& repgroup,
                           std::size_t m, const std::vector<std::size_t>& row_specimen = {});

}  // namespace lumivar::models
