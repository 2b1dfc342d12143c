#pragma once
// The table of an analysis as CSV, for spreadsheets and scripts: a header,
// one row per effect (then the error row), one column per statistic.
// Numbers are the shortest decimal text that reads back to the same double,
// with a decimal point under every locale, NaN and infinities as "NaN", "Inf"
// and "-Inf", statistics an effect does not have as empty fields. Lines end
// in "\n" and never in a blank.
#include <string>

#include "partition/partition.h"
#include "permutation/permutation_counts.h"

namespace lumivar::results {

// VarExp: effect,ss,df,ms,f,per_exp,p_analytic
std::string varexp_csv(const partition::Partition& p);

// Permute: effect,ss,df,ms,f,per_exp,p_perm_f,p_perm_ss
std::string permute_csv(const partition::Partition& p, const permutation::Effects& p_perm_f,
                        const permutation::Effects& p_perm_ss);

}  // namespace lumivar::results
