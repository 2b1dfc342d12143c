#pragma once
// The "Permute" action: the observed partition as "VarExp" computes it, then
// the number of relabellings typed into "PermBox", the permutation counts and
// P values, and the table written into "ResBox" at the end.
//
// Refusals (a message box, nothing runs, nothing changes, the outcome says
// kRefused): "PermBox" text that is not one whole number of at least 0,
// loaded data that is not two measurements per specimen, and the reference
// engine when the sums are to come from the coordinates. Missing inputs,
// codes that do not match the data, unbalanced designs and degenerate
// specimens raise an Error as in "VarExp"; so do measurement codes not laid
// out as two per specimen in rows j and j + mg, a design without error
// degrees of freedom, and a cancel (runtime::Cancelled), after which "ResBox"
// and the whole session are as they were (the rebuilt distance matrix is
// stored unless the run was cancelled).
//
// Progress: with no settings.progress the run reports to
// ui.begin_progress("Permutation test"), and a cancel there stops it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input/session.h"
#include "partition/partition.h"
#include "permutation/permutation_test.h"
#include "permutation/permute_settings.h"
#include "runtime/window_runtime.h"

namespace lumivar::permutation {

// The title of the boxes that refuse a run or warn about its outcome.
inline constexpr std::string_view kRefusalTitle = "Permutation test";

// Shown after a run of 0 relabellings: the report stands as it is (with no
// relabelling, P = 1 / 1 for every effect), but the user learns why.
inline constexpr std::string_view kNoRelabellingsWarning =
    "No relabellings were made (0 permutations), so every P value is 1 and says nothing about "
    "the effects: P counts the relabellings that reach the observed value. Ask for 999 "
    "permutations or more.";

struct PermuteOutcome {
  enum class Status { kDone, kRefused };
  Status status = Status::kRefused;
  std::string refusal;  // the message box text when refused

  // The rest is filled when done.
  partition::Partition partition;  // observed, from the distance matrix (as printed)
  partition::DesignSizes sizes;
  runtime::Matrix xpt;        // the superimposed configurations the distances came from
  runtime::Matrix consensus;  // the shape they were rotated onto
  partition::SumsMethod sums = partition::SumsMethod::kMatrix;  // the way the sums were taken
  PermutationTest test;  // the run: engine, plan, counts and P values
  std::string report;    // the text written into "ResBox"

  bool done() const { return status == Status::kDone; }
};

// The window's action: reads the number of relabellings from "PermBox".
PermuteOutcome permute(runtime::WindowRuntime& ui, runtime::Session& s,
                       const PermuteSettings& settings);

// The same with the number of relabellings given as text (the batch tool's
// --permutations), refused with the same message box as the window's.
PermuteOutcome permute_count(runtime::WindowRuntime& ui, runtime::Session& s,
                             std::string_view nperm_text, const PermuteSettings& settings);

// The refusal of the reference engine when the sums come from the
// coordinates (asked for, or "auto" with a matrix of `rows` rows too large
// for the memory left): it reads the distance matrix, which is then not built.
std::string reference_engine_refusal(partition::SumsMethod requested, std::size_t rows);

// One whole number of at least 0 (blanks around it allowed; "1e3" and "7.0"
// are whole), or nothing.
std::optional<std::uint64_t> parse_permutation_count(std::string_view text);

// Monte Carlo standard error of a permutation P value from nperm relabellings:
// sqrt(p (1 - p) / (nperm + 1)).
double monte_carlo_se(double p, std::uint64_t nperm);

}  // namespace lumivar::permutation
