#pragma once
// The data of the last analysis, kept for the views that show it (the shape
// view, the permutation distributions): what was analysed, its
// superimposition and, after "Permute", every relabelling's F ratios. A
// snapshot never changes; a new analysis replaces it as a whole.
#include <cstdint>
#include <memory>
#include <vector>

#include "input/session.h"
#include "partition/partition.h"
#include "partition/varexp.h"
#include "permutation/permute.h"
#include "runtime/matrix.h"
#include "shape_space/study_labels.h"

namespace lumivar::shell {

enum class AnalysisKind { kVarExp, kPermute };

struct AnalysisSnapshot {
  AnalysisKind kind = AnalysisKind::kVarExp;

  // The session values the analysis read.
  runtime::Matrix data;      // m x n landmark data (n = d k + 1)
  int dimensions = 2;        // d: coordinates per landmark, 2 or 3
  runtime::Matrix group;     // G1 and G2 code of each specimen
  runtime::Matrix repgroup;  // measurement code of each row
  runtime::InputSources sources;  // the files they were read from
  // The sheet's names of the rows and levels when the inputs came from an
  // imported study (every picture and view of the analysis shows them);
  // null for plain files, whose rows and codes name themselves.
  std::shared_ptr<const shape_space::StudyLabels> sheet_labels;
  partition::DesignSizes sizes;
  // The grouping codes of each row (m x 1 each): the group columns stacked
  // twice and the measurement codes, cut to m rows, as the analysis uses them.
  runtime::Matrix g1, g2, t;

  // The superimposition the distances came from.
  runtime::Matrix xpt;        // m x n superimposed configurations
  runtime::Matrix consensus;  // 1 x n mean shape

  partition::Partition partition;  // the observed partition, as reported

  // After "Permute" only: how the run was made, its counts, P values and (when
  // kept) every relabelling's F ratios. f_values is empty when the run kept
  // none: more than permutation::kMaxKeptFValues relabellings, or F values
  // not asked for.
  permutation::PermutationTest permutation;

  // The observed F of effect k (0-based, report order) and its relabelled
  // values, for one histogram.
  double observed_f(int k) const { return partition.effects[k].f; }
  std::vector<double> f_values_of(int k) const;
};

// Snapshot of a completed "VarExp" over session `s`; moves the outcome's
// superimposed coordinates in.
AnalysisSnapshot varexp_snapshot(const runtime::Session& s, partition::VarExpOutcome&& o);

// Snapshot of a completed "Permute"; moves the outcome's run in.
AnalysisSnapshot permute_snapshot(const runtime::Session& s, permutation::PermuteOutcome&& o);

}  // namespace lumivar::shell
