#include "batch/report_output.h"

#include "results/strata_forms.h"
#include "results/tidy_table.h"

namespace lumivar::batch {

std::string seed_line(std::uint64_t seed) {
  const std::string s = std::to_string(seed);
  return "Seed: " + s + " (--seed " + s + " repeats this run)";
}

std::string report_output(const CommandLine& o, const AnalysisResults& r,
                          const std::vector<InputFile>& inputs) {
  const std::vector<results::TidyRow> rows = results::tidy_rows(r.partition, r.test, r.strata);
  if (o.format == "csv" || o.format == "tsv") {
    std::string table = results::tidy_text(rows, o.format == "csv" ? ',' : '\t');
    table.pop_back();  // the caller ends the report
    return table;
  }
  if (o.format == "json") {
    nlohmann::json j = r.test ? results::permute_json(r.partition, *r.test) : results::varexp_json(r.partition);
    results::Maker maker;
    maker.sums = partition::sums_method_name(r.sums);
    maker.command_line = o.words;
    j["provenance"] = results::provenance_json(inputs, r.test, maker);
    if (r.strata) j["strata"] = results::strata_json(*r.strata);
    j["table"] = results::tidy_json(rows);
    return results::json_text(j);
  }
  std::string text = r.strata ? results::with_strata_text(r.text, *r.strata) : r.text;
  if (r.test) text += "\n\n" + seed_line(r.test->plan.seed);
  return text;
}

}  // namespace lumivar::batch
