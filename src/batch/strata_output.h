#pragma once
// --strata: the tests by strata after the specified report, in the forms of
// results/strata_forms.h.
#include <string>

#include <nlohmann/json.hpp>

#include "input/session.h"
#include "partition/varexp.h"
#include "permutation/permute.h"
#include "permutation/strata_report.h"
#include "results/strata_forms.h"

namespace lumivar::batch {

// Raises when the loaded design has no tests by strata, so that a long run
// is refused before it starts.
void check_strata_design(const runtime::Session& s);

permutation::StrataResults strata_after_varexp(const runtime::Session& s,
                                               const partition::VarExpOutcome& v);
// The permutation tests with the run's own seed, count and threads.
permutation::StrataResults strata_after_permute(const runtime::Session& s,
                                                const permutation::PermuteOutcome& r);

using results::strata_json;
using results::with_strata_text;

}  // namespace lumivar::batch
