#pragma once
// The first half of both analyses: superimpose the landmark data, then the
// observed partition by the chosen way to the sums (the distance matrix or
// the coordinates).
#include <atomic>
#include <functional>

#include "partition/partition.h"
#include "partition/sums_method.h"
#include "runtime/matrix.h"
#include "runtime/progress_monitor.h"

namespace lumivar::partition {

struct SumsSettings {
  SumsMethod sums = SumsMethod::kAuto;
  int threads = 0;  // for the superimposition and the matrix; 0 (or less): all cores
  // Called after every pass of the superimposition (see getconsensus).
  std::function<void(int iteration, double change)> superimposition_progress;
  // Raised when the user asks the analysis to stop (Ctrl-C); heard after
  // every pass of the superimposition and every few rows of the distance
  // matrix, then runtime::Cancelled is raised. None: never.
  const std::atomic<bool>* cancel = nullptr;
  // Hears the distance matrix being filled (see squared_distances); false cancels.
  std::function<bool(std::size_t done, std::size_t total)> matrix_progress;
  // Runs the superimposition and the sums; none: on the calling thread. The
  // window runs them beside its thread (runtime::ProgressRelay) so that it
  // keeps showing their progress.
  runtime::StepRunner beside;
};

struct AnalysisFit {
  runtime::Matrix xpt;        // the superimposed configurations
  runtime::Matrix consensus;  // the shape they were rotated onto
  runtime::Matrix dmatrix;    // squared distances; empty (0 x 0) when the sums took the coordinates
  Partition partition;
  SumsMethod sums = SumsMethod::kMatrix;  // the way taken: kMatrix or kCoordinates
};

// The way `settings` asks for, resolved for the rows of `data` against the
// memory the process may still take (see resolve_sums_method).
SumsMethod sums_method_for(const SumsSettings& settings, std::size_t rows, bool matrix_needed = false);

// Superimposes `data` (landmarks of `dimensions` = 2 or 3 coordinates) and
// partitions it the way `sums` (kMatrix or kCoordinates) says. Raises as
// getconsensus and compute_partition do.
AnalysisFit fit_and_partition(const runtime::Matrix& data, const runtime::Matrix& group,
                              const runtime::Matrix& repgroup, const DesignSizes& sizes,
                              SumsMethod sums, const SumsSettings& settings,
                              int dimensions = 2);

}  // namespace lumivar::partition
