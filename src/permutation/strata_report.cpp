#include "permutation/strata_report.h"

#include <vector>

#include "runtime/format.h"

namespace lumivar::permutation {

StrataResults strata_analysis(const runtime::Matrix& group, const runtime::Matrix& repgroup,
                              const runtime::Matrix& xpt, const partition::Partition& p,
                              const RunPlan* plan) {
  const partition::StrataDesign design =
      partition::strata_design(group, repgroup, static_cast<std::size_t>(p.m));
  StrataResults r;
  r.table = partition::strata_table(p, design, partition::within_specimen_ss(xpt, design));
  if (plan != nullptr) r.test = strata_test(xpt, design, *plan);
  return r;
}

std::string strata_report(const StrataResults& r) {
  using partition::kEffectCount;
  using runtime::format;
  using runtime::Value;
  const bool tested = r.test.has_value();
  const char* header = tested ? " \\tSS \\tdf \\tMS \\tF \\tP \\tZ" : " \\tSS \\tdf \\tMS \\tF";
  const char* row = tested ? " \\t%2.4f \\t%i \\t%2.4f \\t%4.2f \\t%2.4f \\t%4.2f"
                           : " \\t%2.4f \\t%i \\t%2.4f \\t%4.2f";
  const char* denominator = " \\t%2.4f \\t%i \\t%2.4f";

  std::vector<std::string> pieces;
  pieces.push_back("Tests by strata");
  const auto block = [&](bool between) {
    pieces.push_back(format(std::string("\\n\\n") +
                            (between ? "Between specimens" : "Within specimens") + header));
    for (int k = 0; k < kEffectCount; ++k) {
      if (partition::between_specimens(k) != between) continue;
      const partition::StrataRow& e = r.table.effects[k];
      std::vector<Value> values = {e.ss, e.df, e.ms, e.f};
      if (tested) {
        values.emplace_back(r.test->p[k]);
        values.emplace_back(r.test->z[k]);
      }
      pieces.push_back(format(std::string("\\n") + partition::kEffectLabels[k] + row, values));
    }
    const partition::StrataRow& d = between ? r.table.specimens : r.table.residual;
    pieces.push_back(format(std::string("\\n") +
                                (between ? "Specimens within G1xG2" : "Residual") + denominator,
                            {d.ss, d.df, d.ms}));
  };
  block(true);
  block(false);
  pieces.push_back(format(
      "\\n\\nRepeatability of specimens R = %2.4f (when the two measurements are two "
      "digitisings of each specimen)",
      {r.table.repeatability}));
  if (tested)
    pieces.push_back(format(
        "\\nP: %i relabellings of residuals under models without the effect (seed %s); "
        "Z = (F - mean relabelled F) / their SD",
        {static_cast<double>(r.test->nperm), Value(std::to_string(r.test->seed))}));
  return runtime::join(pieces);
}

}  // namespace lumivar::permutation
