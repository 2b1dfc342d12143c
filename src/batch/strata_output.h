#pragma once
// --strata: the tests by strata after the specified report. Text gets a blank
// line and the "Tests by strata" table; JSON a top-level "strata" object:
//   {"between": {"G1": {ss, df, ms, f, p, z}, "G2", "G1xG2",
//                "specimens": {ss, df, ms}},
//    "within": {"T", "G1xt", "G2xt", "G1xG2xt", "residual": {ss, df, ms}},
//    "repeatability": R}
// with p and z null when no permutation ran.
#include <string>

#include <nlohmann/json.hpp>

#include "partition/varexp.h"
#include "permutation/permute.h"
#include "permutation/strata_report.h"
#include "runtime/session.h"

namespace lumivar::batch {

// Raises when the loaded design has no tests by strata, so that a long run
// is refused before it starts.
void check_strata_design(const runtime::Session& s);

permutation::StrataResults strata_after_varexp(const runtime::Session& s,
                                               const partition::VarExpOutcome& v);
// The permutation tests with the run's own seed, count and threads.
permutation::StrataResults strata_after_permute(const runtime::Session& s,
                                                const permutation::PermuteOutcome& r);

nlohmann::json strata_json(const permutation::StrataResults& r);

// The text report followed by a blank line and the table.
std::string with_strata_text(const std::string& report, const permutation::StrataResults& r);

}  // namespace lumivar::batch
