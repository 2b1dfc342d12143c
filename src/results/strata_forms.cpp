#include "results/strata_forms.h"

#include <array>
#include <cmath>

namespace lumivar::results {

namespace {

// JSON names of the effects, in the partition's order.
constexpr partition::PerEffect<const char*> kStrataNames = {
    "G1", "G2", "T", "G1xG2", "G1xt", "G2xt", "G1xG2xt"};

// A number, or null when it cannot be computed.
nlohmann::json number(double v) { return std::isfinite(v) ? nlohmann::json(v) : nlohmann::json(); }

nlohmann::json denominator_json(const models::StrataRow& d) {
  return {{"ss", number(d.ss)}, {"df", d.df}, {"ms", number(d.ms)}};
}

}  // namespace

nlohmann::json strata_json(const permutation::StrataResults& r) {
  const models::StrataTable& t = r.table;
  nlohmann::json between = nlohmann::json::object(), within = nlohmann::json::object();
  for (int k = 0; k < partition::kEffectCount; ++k) {
    const models::StrataRow& e = t.effects[k];
    nlohmann::json row = {{"ss", number(e.ss)}, {"df", e.df}, {"ms", number(e.ms)},
                          {"f", number(e.f)}, {"p", nullptr}, {"z", nullptr},
                          {"partial_r2", number(e.partial_r2)}};
    if (r.test) {
      row["p"] = number(e.p);
      row["z"] = number(e.z);
    }
    (models::between_specimens(k) ? between : within)[kStrataNames[k]] = row;
  }
  between["specimens"] = denominator_json(t.specimens);
  within["residual"] = denominator_json(t.residual);
  nlohmann::json left_out = nlohmann::json::array();
  for (std::size_t j : t.left_out) left_out.push_back(j + 1);
  nlohmann::json out = {{"between", between},
          {"within", within},
          {"repeatability", number(t.repeatability)},
          {"agreement", number(t.agreement)},
          {"ss_type", static_cast<int>(t.ss_type)},
          {"balanced", t.balanced},
          {"specimens", t.specimens_tested},
          {"left_out", left_out}};
  if (r.test) {
    out["permutations"] = r.test->nperm;
    out["seed"] = r.test->seed;
  }
  return out;
}

std::string with_strata_text(const std::string& report, const permutation::StrataResults& r) {
  return report + "\n\n" + permutation::strata_report(r);
}

}  // namespace lumivar::results
