#pragma once
// The results of one analysis as a tidy table, for scripts in R and Python:
// one row per term, one column per statistic, the same rows whatever the
// output (CSV, TSV, or the "table" array of every JSON report).
//
// Rows: the seven effects and Error of the factorial partition (stratum
// "all"); with the tests by strata also their effects and their two
// denominators (strata "between" and "within"). Terms have stable ids that
// every output shares (kTermIds, "Error", "Specimens", "Residual"); `label`
// is the report's own name of the row ("T(rep)", "Specimens within G1xG2").
//
// A statistic the row does not have is absent (an empty CSV field, JSON
// null); one the row has but that cannot be computed is NaN (the text "NaN",
// JSON null).
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "partition/partition.h"
#include "permutation/permutation_test.h"
#include "permutation/strata_report.h"

namespace lumivar::results {

// Stable ids of the seven effects, in the partition's order.
extern const partition::PerEffect<const char*> kTermIds;  // "G1", ..., "G1:G2:T"

// The columns, in their order.
inline constexpr std::array<std::string_view, 14> kTidyColumns = {
    "stratum", "term", "label", "ss", "df", "ms", "f", "per_exp", "p_analytic",
    "p_perm_f", "p_perm_ss", "p", "z", "partial_r2"};

struct TidyRow {
  std::string stratum;  // "all", "between" or "within"
  std::string term;     // a stable id
  std::string label;    // the report's name of the row
  std::optional<double> ss, df, ms, f, per_exp;
  std::optional<double> p_analytic;           // VarExp's flagged analytic P
  std::optional<double> p_perm_f, p_perm_ss;  // Permute's Perm F P and Perm Ex P
  // The P value to read for the row's own test: Perm F P in stratum "all"
  // (Perm Ex P of an interaction tests its whole crossed grouping), the
  // permutation P of the tests by strata in "between" and "within". Absent
  // when no permutation ran: the analytic P is not meant for inference.
  std::optional<double> p;
  std::optional<double> z;           // tests by strata after a permutation run
  std::optional<double> partial_r2;  // SS / (SS + the SS of the row's denominator)
};

// The rows of one analysis. `test`: the permutation run, when there was one;
// `strata`: the tests by strata, when asked for.
std::vector<TidyRow> tidy_rows(const partition::Partition& p, const permutation::PermutationTest* test,
                               const permutation::StrataResults* strata);

// The rows of the tests by strata alone (the strata command, on designs the
// factorial partition may not take).
std::vector<TidyRow> tidy_strata_rows(const permutation::StrataResults& strata);

// The table as text: a header line, then one line per row, fields separated
// by `separator` (',' or '\t'), lines ending in "\n". Numbers are
// locale-free, in the shortest text that reads back to the same double;
// degrees of freedom as whole numbers.
std::string tidy_text(const std::vector<TidyRow>& rows, char separator);

// The table as a JSON array of objects, one per row, with every column as
// a field (null where the text has an empty field or NaN).
nlohmann::json tidy_json(const std::vector<TidyRow>& rows);

}  // namespace lumivar::results
