#include "results/results_csv.h"

#include <vector>

#include "results/table_text.h"

namespace lumivar::results {

namespace {

// One line: the label, then each value (an empty field for a missing one).
std::string row(const std::string& label, const std::vector<const double*>& values) {
  std::string line = label;
  for (const double* v : values) line += "," + (v ? number_text(*v) : std::string());
  return line + "\n";
}

// The rows of both tables; `extra(k)` gives effect k's columns after per_exp.
template <class Extra>
std::string table(const partition::Partition& p, const char* header, std::size_t extra_columns,
                  Extra extra) {
  std::string out = std::string("effect,ss,df,ms,f,per_exp,") + header + "\n";
  for (int k = 0; k < partition::kEffectCount; ++k) {
    const partition::Effect& e = p.effects[k];
    std::vector<const double*> v = {&e.ss, &e.df, &e.ms, &e.f, &e.per_exp};
    for (const double* x : extra(k)) v.push_back(x);
    out += row(partition::kEffectLabels[k], v);
  }
  std::vector<const double*> error = {&p.ss_error, &p.df_error, &p.ms_error, nullptr,
                                      &p.per_exp_error};
  error.resize(error.size() + extra_columns, nullptr);
  return out + row("Error", error);
}

}  // namespace

std::string varexp_csv(const partition::Partition& p) {
  return table(p, "p_analytic", 1, [&p](int k) {
    return std::vector<const double*>{&p.effects[k].p_analytic};
  });
}

std::string permute_csv(const partition::Partition& p, const permutation::Effects& p_perm_f,
                        const permutation::Effects& p_perm_ss) {
  return table(p, "p_perm_f,p_perm_ss", 2, [&](int k) {
    return std::vector<const double*>{&p_perm_f[k], &p_perm_ss[k]};
  });
}

}  // namespace lumivar::results
