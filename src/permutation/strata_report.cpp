#include "permutation/strata_report.h"

#include <vector>

#include "partition/analysis_inputs.h"
#include "runtime/error.h"
#include "runtime/format.h"

namespace lumivar::permutation {

StrataResults strata_analysis(const StrataInputs& in, const RunPlan* plan) {
  models::StrataFit fit(in.xpt,
                        models::strata_design(in.group, in.repgroup, in.xpt.rows(), in.row_specimen),
                        in.ss_type);
  StrataResults r;
  r.table = models::strata_table(fit);
  if (plan != nullptr) {
    r.test = strata_test(fit, r.table, *plan);
    for (int k = 0; k < partition::kEffectCount; ++k) {
      r.table.effects[k].p = r.test->p[k];
      r.table.effects[k].z = r.test->z[k];
    }
  }
  return r;
}

StrataResults strata_of_data(const runtime::Matrix& data, const runtime::Matrix& group,
                             const runtime::Matrix& repgroup, models::SsType type,
                             const geometry::SuperimpositionSettings& superimposition,
                             const RunPlan* plan) {
  if (data.empty()) runtime::raise("No landmark data is loaded: load the landmark file first.");
  std::vector<std::size_t> rows = partition::row_specimens(data, group.rows());
  models::strata_design(group, repgroup, data.rows(), rows);
  const runtime::Matrix xpt = geometry::getconsensus(data, superimposition).xpt;
  return strata_analysis({group, repgroup, xpt, std::move(rows), type}, plan);
}

std::string left_out_warning(const models::StrataTable& t, const std::vector<std::string>& specimen_ids) {
  constexpr std::size_t kNamed = 5;
  const std::vector<std::size_t>& out = t.left_out;
  if (out.empty()) return "";
  const auto name = [&](std::size_t j) {
    return j < specimen_ids.size() && !specimen_ids[j].empty() ? specimen_ids[j] : std::to_string(j + 1);
  };
  std::string names;
  for (std::size_t i = 0; i < out.size() && i < kNamed; ++i) names += (i ? ", " : "") + name(out[i]);
  if (out.size() > kNamed) names += ", ...";
  return std::to_string(out.size()) + (out.size() == 1 ? " specimen" : " specimens") +
         " measured once left out of the tests by strata (specimen " + names + ")";
}

std::string strata_report(const StrataResults& r) {
  using partition::kEffectCount;
  using runtime::format;
  using runtime::Value;
  const models::StrataTable& t = r.table;
  const bool tested = r.test.has_value();
  const char* header = tested ? " \\tSS \\tdf \\tMS \\tF \\tP \\tZ \\tpartial R2"
                              : " \\tSS \\tdf \\tMS \\tF \\tpartial R2";
  const char* row = tested ? " \\t%2.4f \\t%i \\t%2.4f \\t%4.2f \\t%2.4f \\t%4.2f \\t%2.4f"
                           : " \\t%2.4f \\t%i \\t%2.4f \\t%4.2f \\t%2.4f";
  const char* denominator = " \\t%2.4f \\t%i \\t%2.4f";

  std::vector<std::string> pieces;
  pieces.push_back("Tests by strata");
  const auto block = [&](bool between) {
    pieces.push_back(format(std::string("\\n\\n") +
                            (between ? "Between specimens" : "Within specimens") + header));
    for (int k = 0; k < kEffectCount; ++k) {
      if (models::between_specimens(k) != between) continue;
      const models::StrataRow& e = t.effects[k];
      std::vector<Value> values = {e.ss, e.df, e.ms, e.f};
      if (tested) {
        values.emplace_back(e.p);
        values.emplace_back(e.z);
      }
      values.emplace_back(e.partial_r2);
      pieces.push_back(format(std::string("\\n") + partition::kEffectLabels[k] + row, values));
    }
    const models::StrataRow& d = between ? t.specimens : t.residual;
    pieces.push_back(format(std::string("\\n") +
                                (between ? "Specimens within G1xG2" : "Residual") + denominator,
                            {d.ss, d.df, d.ms}));
  };
  block(true);
  block(false);
  pieces.push_back(format(
      "\\n\\nRepeatability of specimens R = %2.4f (when the two measurements are two "
      "digitisings of each specimen)",
      {t.repeatability}));
  pieces.push_back(format(
      "\\nAgreement of the two measurements R_A = %2.4f (their systematic differences count as "
      "error)",
      {t.agreement}));
  if (tested)
    pieces.push_back(format(
        "\\nP: %i relabellings of residuals under models without the effect (seed %s); "
        "Z = (log F - mean relabelled log F) / their SD",
        {static_cast<double>(r.test->nperm), Value(std::to_string(r.test->seed))}));
  if (!t.balanced)
    pieces.push_back(t.ss_type == models::SsType::kIII
                         ? "\nUnequal cells: sums of squares of type III (each effect adjusted "
                           "for all others)"
                         : "\nUnequal cells: sums of squares of type II (each effect adjusted "
                           "for the effects that do not contain it)");
  if (!t.left_out.empty()) pieces.push_back("\n" + left_out_warning(t, r.specimen_ids));
  return runtime::join(pieces);
}

}  // namespace lumivar::permutation
