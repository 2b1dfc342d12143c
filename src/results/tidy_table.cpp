#include "results/tidy_table.h"

#include <cmath>
#include <cstdint>
#include <utility>

#include "partition/rounding_zero.h"
#include "results/table_text.h"

namespace lumivar::results {

const partition::PerEffect<const char*> kTermIds = {"G1",   "G2",   "T",      "G1:G2",
                                                    "G1:T", "G2:T", "G1:G2:T"};

namespace {

TidyRow named_row(std::string stratum, std::string term, std::string label) {
  TidyRow r;
  r.stratum = std::move(stratum);
  r.term = std::move(term);
  r.label = std::move(label);
  return r;
}

// SS / (SS + the denominator's SS): the share of the variation left after
// the other terms that this one explains. NaN when both are zero.
double partial_r2(double ss, double denominator_ss) {
  return partition::ratio_or_nan(ss, ss + denominator_ss);
}

TidyRow partition_row(const partition::Partition& p, int k, const permutation::PermutationTest* test) {
  const partition::Effect& e = p.effects[k];
  TidyRow r = named_row("all", kTermIds[k], partition::kEffectLabels[k]);
  r.ss = e.ss;
  r.df = e.df;
  r.ms = e.ms;
  r.f = e.f;
  r.per_exp = e.per_exp;
  r.partial_r2 = partial_r2(e.ss, p.ss_error);
  if (test != nullptr) {
    r.p_perm_f = test->p_perm_f[k];
    r.p_perm_ss = test->p_perm_ss[k];
    r.p = test->p_perm_f[k];
  } else {
    r.p_analytic = e.p_analytic;
  }
  return r;
}

TidyRow denominator_row(const char* stratum, const char* term, const char* label,
                        const models::StrataRow& d) {
  TidyRow r = named_row(stratum, term, label);
  r.ss = d.ss;
  r.df = d.df;
  r.ms = d.ms;
  return r;
}

// One stratum's effects, then its denominator.
void add_stratum(std::vector<TidyRow>& rows, const permutation::StrataResults& s, bool between) {
  const char* stratum = between ? "between" : "within";
  const models::StrataRow& denominator = between ? s.table.specimens : s.table.residual;
  for (int k = 0; k < partition::kEffectCount; ++k) {
    if (models::between_specimens(k) != between) continue;
    const models::StrataRow& e = s.table.effects[k];
    TidyRow r = named_row(stratum, kTermIds[k], partition::kEffectLabels[k]);
    r.ss = e.ss;
    r.df = e.df;
    r.ms = e.ms;
    r.f = e.f;
    r.partial_r2 = partial_r2(e.ss, denominator.ss);
    if (s.test) {
      r.p = s.test->p[k];
      r.z = s.test->z[k];
    }
    rows.push_back(r);
  }
  rows.push_back(between ? denominator_row(stratum, "Specimens", "Specimens within G1xG2", denominator)
                         : denominator_row(stratum, "Residual", "Residual", denominator));
}

// The row's fields in column order, numbers as they are.
struct Fields {
  std::array<const std::string*, 3> texts;
  std::array<const std::optional<double>*, 11> numbers;  // ss, df, ms, ... partial_r2
};

Fields fields(const TidyRow& r) {
  return {{&r.stratum, &r.term, &r.label},
          {&r.ss, &r.df, &r.ms, &r.f, &r.per_exp, &r.p_analytic, &r.p_perm_f, &r.p_perm_ss, &r.p,
           &r.z, &r.partial_r2}};
}

constexpr std::size_t kDfField = 1;  // in Fields::numbers

// Degrees of freedom as whole numbers, the rest as number_text writes them.
std::string field_number(double x, bool whole) {
  if (!whole || !std::isfinite(x)) return number_text(x);
  return std::to_string(std::llround(x));
}

}  // namespace

std::vector<TidyRow> tidy_rows(const partition::Partition& p, const permutation::PermutationTest* test,
                               const permutation::StrataResults* strata) {
  std::vector<TidyRow> rows;
  for (int k = 0; k < partition::kEffectCount; ++k) rows.push_back(partition_row(p, k, test));
  TidyRow error = named_row("all", "Error", "Error");
  error.ss = p.ss_error;
  error.df = p.df_error;
  error.ms = p.ms_error;
  error.per_exp = p.per_exp_error;
  rows.push_back(error);
  if (strata != nullptr) {
    add_stratum(rows, *strata, true);
    add_stratum(rows, *strata, false);
  }
  return rows;
}

std::vector<TidyRow> tidy_strata_rows(const permutation::StrataResults& strata) {
  std::vector<TidyRow> rows;
  add_stratum(rows, strata, true);
  add_stratum(rows, strata, false);
  return rows;
}

std::string tidy_text(const std::vector<TidyRow>& rows, char separator) {
  std::string out;
  for (std::size_t c = 0; c < kTidyColumns.size(); ++c) {
    if (c > 0) out += separator;
    out += kTidyColumns[c];
  }
  out += '\n';
  for (const TidyRow& r : rows) {
    const Fields f = fields(r);
    std::string line;
    for (std::size_t c = 0; c < f.texts.size(); ++c)
      line += (c > 0 ? std::string(1, separator) : std::string()) + table_field(*f.texts[c], separator);
    for (std::size_t i = 0; i < f.numbers.size(); ++i) {
      line += separator;
      if (*f.numbers[i]) line += field_number(**f.numbers[i], i == kDfField);
    }
    out += line + '\n';
  }
  return out;
}

nlohmann::json tidy_json(const std::vector<TidyRow>& rows) {
  nlohmann::json table = nlohmann::json::array();
  for (const TidyRow& r : rows) {
    const Fields f = fields(r);
    nlohmann::json row = nlohmann::json::object();
    for (std::size_t c = 0; c < f.texts.size(); ++c) row[std::string(kTidyColumns[c])] = *f.texts[c];
    for (std::size_t i = 0; i < f.numbers.size(); ++i) {
      const std::optional<double>& v = *f.numbers[i];
      const std::string name(kTidyColumns[f.texts.size() + i]);
      if (!v || !std::isfinite(*v))
        row[name] = nullptr;
      else if (i == kDfField)
        row[name] = static_cast<std::int64_t>(std::llround(*v));
      else
        row[name] = *v;
    }
    table.push_back(row);
  }
  return table;
}

}  // namespace lumivar::results
