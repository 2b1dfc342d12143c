#pragma once
// JSON forms of the reports: the same numbers as the tables, unrounded.
// Non-finite numbers (an effect with 0 degrees of freedom, the P values of an
// effect whose F is undefined) become null.
#include <string>

#include <nlohmann/json.hpp>

#include "partition/partition.h"
#include "permutation/permute.h"

namespace lumivar::results {

// "fast" or "reference".
const char* engine_name(permutation::Engine e);

nlohmann::json varexp_json(const partition::Partition& p);
// Per effect: the observed columns of `p`, both permutation P values and
// their Monte Carlo standard errors; plus how the run was made, the seed
// also as text ("seed_text": a reader that keeps numbers as doubles rounds
// seeds above 2^53).
nlohmann::json permute_json(const partition::Partition& p, const permutation::PermutationTest& r);

// A JSON report as text: indented by 2, bytes that are not UTF-8 replaced by
// U+FFFD (a file name may hold any bytes; JSON text is UTF-8).
std::string json_text(const nlohmann::json& j);

}  // namespace lumivar::results
