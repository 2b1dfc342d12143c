#pragma once
// JSON forms of the reports: the same numbers as the tables, unrounded.
// Non-finite numbers (an effect with 0 degrees of freedom, the P values of an
// effect whose F is undefined) become null.
#include <nlohmann/json.hpp>

#include "partition/partition.h"
#include "permutation/permute.h"

namespace lumivar::results {

// "fast" or "reference".
const char* engine_name(permutation::Engine e);

nlohmann::json varexp_json(const partition::Partition& p);
// Per effect: the observed columns, both permutation P values and their
// Monte Carlo standard errors; plus how the run was made.
nlohmann::json permute_json(const permutation::PermuteOutcome& r);

}  // namespace lumivar::results
