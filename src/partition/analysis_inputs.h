#pragma once
// What both analyses check before they start, so that a missing or short
// input is named in the user's terms instead of surfacing as an index error
// halfway through, and degenerate specimens are refused by row number.
#include <string>
#include <vector>

#include "input/session.h"
#include "partition/partition.h"

namespace lumivar::partition {

// The design sizes of the loaded session. Raises, naming the file and what
// is wrong, when the landmark data, the repeated-measures codes or the group
// codes are missing; when the codes do not match the data (one measurement
// code per row of landmark data, one line of group codes per specimen:
// rows / repeated-measures codes); when a code is NaN or infinite; when the
// design is unbalanced (a measurement code, G1 x G2 cell or G1 x G2 x T cell
// with another number of rows than the others: the partition's divisors
// assume equal ones); or when a specimen's landmarks all coincide (centroid
// size 0).
DesignSizes check_analysis_inputs(const runtime::Session& s);

// The same checks but the balance, for what takes any number of rows per
// cell (principal components and mean shapes of the study).
DesignSizes check_inputs_of_any_design(const runtime::Session& s);

// What the permutation test needs beyond that, for a session that passed it
// with two measurements per specimen: rows j and j + mg carry the two
// different measurement codes of specimen j (the relabelling exchanges
// them), and the design leaves error degrees of freedom (each relabelling's
// F ratios divide by its error mean square). Raises otherwise.
void check_permutation_design(const runtime::Session& s, const DesignSizes& sizes);

namespace detail {
// A code as messages write it: the shortest text that reads back as the same
// number, whatever the user's locale; NaN and infinities as the reports
// write them.
std::string code_text(double v);
}  // namespace detail

// The specimen of every row of `data` for the tests by strata: empty (the plain
// layout) for 2 mg rows; otherwise the rows' trailing values, the specimen
// ordinals 1 .. mg that a study from a specimen sheet writes, when every one
// is such an ordinal (else empty, and strata_design refuses the layout).
std::vector<std::size_t> row_specimens(const runtime::Matrix& data, std::size_t mg);

}  // namespace lumivar::partition
