#include "results/strata_forms.h"

#include <array>

namespace lumivar::results {

namespace {

// JSON names of the effects, in the partition's order.
constexpr partition::PerEffect<const char*> kStrataNames = {
    "G1", "G2", "T", "G1xG2", "G1xt", "G2xt", "G1xG2xt"};

nlohmann::json denominator_json(const partition::StrataRow& d) {
  return {{"ss", d.ss}, {"df", d.df}, {"ms", d.ms}};
}

}  // namespace

nlohmann::json strata_json(const permutation::StrataResults& r) {
  nlohmann::json between = nlohmann::json::object(), within = nlohmann::json::object();
  for (int k = 0; k < partition::kEffectCount; ++k) {
    const partition::StrataRow& e = r.table.effects[k];
    nlohmann::json row = {{"ss", e.ss}, {"df", e.df}, {"ms", e.ms}, {"f", e.f},
                          {"p", nullptr}, {"z", nullptr}};
    if (r.test) {
      row["p"] = r.test->p[k];
      row["z"] = r.test->z[k];
    }
    (partition::between_specimens(k) ? between : within)[kStrataNames[k]] = row;
  }
  between["specimens"] = denominator_json(r.table.specimens);
  within["residual"] = denominator_json(r.table.residual);
  return {{"between", between}, {"within", within}, {"repeatability", r.table.repeatability}};
}

std::string with_strata_text(const std::string& report, const permutation::StrataResults& r) {
  return report + "\n\n" + permutation::strata_report(r);
}

}  // namespace lumivar::results
