#pragma once
// The tests by strata after the specified report, in the saved forms both
// programs write. Text gets a blank line and the "Tests by strata" table;
// JSON a top-level "strata" object:
//   {"between": {"G1": {ss, df, ms, f, p, z, partial_r2}, "G2", "G1xG2",
//                "specimens": {ss, df, ms}},
//    "within": {"T", "G1xt", "G2xt", "G1xG2xt", "residual": {ss, df, ms}},
//    "repeatability": R, "agreement": R_A, "ss_type": 2 or 3,
//    "balanced": true or false, "specimens": specimens in the tests,
//    "left_out": [specimens measured once, numbered from 1],
//    "permutations": N, "seed": S (after a permutation run)}
// with p and z null when no permutation ran, and any number that cannot be
// computed null.
#include <string>

#include <nlohmann/json.hpp>

#include "permutation/strata_report.h"

namespace lumivar::results {

nlohmann::json strata_json(const permutation::StrataResults& r);

// The text report followed by a blank line and the table.
std::string with_strata_text(const std::string& report, const permutation::StrataResults& r);

}  // namespace lumivar::results
