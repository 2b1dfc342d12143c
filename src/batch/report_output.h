#pragma once
// The report of "varexp" or "permute" in the format asked for (--format):
//   text  the results box's text, then the tests by strata (--strata) and,
//         after a permutation run, a last line naming the seed as --seed
//         takes it back;
//   json  the numbers unrounded (results/json_output.h), "provenance",
//         "strata" and the tidy "table";
//   csv, tsv  the tidy table alone (results/tidy_table.h).
#include <string>
#include <vector>

#include "batch/commands.h"
#include "partition/partition.h"
#include "partition/sums_method.h"
#include "permutation/permutation_test.h"
#include "permutation/strata_report.h"

namespace lumivar::batch {

struct AnalysisResults {
  const std::string& text;                    // as the results box shows it
  const partition::Partition& partition;
  const permutation::PermutationTest* test;   // permute only
  const permutation::StrataResults* strata;   // --strata only
  partition::SumsMethod sums;                 // the way taken (matrix or coordinates)
};

// The last line of a permutation run's text: "Seed: S (--seed S repeats this run)".
std::string seed_line(std::uint64_t seed);

// The report to print, without its final line break. `inputs`: the input
// files for the JSON provenance.
std::string report_output(const CommandLine& opts, const AnalysisResults& r,
                          const std::vector<InputFile>& inputs);

}  // namespace lumivar::batch
