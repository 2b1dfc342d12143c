#include "results/json_output.h"

namespace lumivar::results {

namespace {

// The observed columns of effect k, shared by both reports.
nlohmann::json effect_json(const partition::Partition& p, int k) {
  const partition::Effect& e = p.effects[k];
  return {{"effect", partition::kEffectLabels[k]}, {"ss", e.ss}, {"df", e.df},
          {"ms", e.ms}, {"f", e.f}, {"per_exp", e.per_exp}};
}

nlohmann::json error_json(const partition::Partition& p) {
  return {{"ss", p.ss_error}, {"df", p.df_error}, {"ms", p.ms_error}, {"per_exp", p.per_exp_error}};
}

}  // namespace

const char* engine_name(permutation::Engine e) {
  return e == permutation::Engine::kFast ? "fast" : "reference";
}

nlohmann::json varexp_json(const partition::Partition& p) {
  nlohmann::json effects = nlohmann::json::array();
  for (int k = 0; k < partition::kEffectCount; ++k) {
    nlohmann::json e = effect_json(p, k);
    e["p_analytic"] = p.effects[k].p_analytic;
    effects.push_back(e);
  }
  return {{"analysis", "varexp"},   {"specimens_rows", p.m},         {"sstotal", p.sstotal},
          {"effects", effects},     {"error", error_json(p)}};
}

nlohmann::json permute_json(const partition::Partition& p, const permutation::PermutationTest& r) {
  const std::uint64_t nperm = r.plan.nperm;
  nlohmann::json effects = nlohmann::json::array();
  for (int k = 0; k < partition::kEffectCount; ++k) {
    nlohmann::json e = effect_json(p, k);
    e["p_perm_f"] = r.p_perm_f[k];
    e["p_perm_f_se"] = permutation::monte_carlo_se(r.p_perm_f[k], nperm);
    e["p_perm_ss"] = r.p_perm_ss[k];
    e["p_perm_ss_se"] = permutation::monte_carlo_se(r.p_perm_ss[k], nperm);
    effects.push_back(e);
  }
  return {{"analysis", "permute"},
          {"seed", r.plan.seed},
          {"seed_text", std::to_string(r.plan.seed)},
          {"permutations", nperm},
          {"engine", engine_name(r.engine)},
          {"threads", r.plan.threads},
          {"specimens_rows", p.m},
          {"sstotal", p.sstotal},
          {"effects", effects},
          {"error", error_json(p)}};
}

std::string json_text(const nlohmann::json& j) {
  return j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace lumivar::results
