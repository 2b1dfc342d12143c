#pragma once
// The matrix of squared Procrustes distances between all specimens of a
// landmark data matrix: every specimen is superimposed onto one consensus
// (getconsensus), then each pair is compared through its fitted coordinates.
#include <atomic>
#include <cstddef>
#include <functional>

#include "runtime/matrix.h"

namespace lumivar::geometry {

struct ProcrustesDistances {
  // m x n superimposed configurations (getconsensus's xpt).
  runtime::Matrix xpt;
  // 1 x n consensus they were rotated onto (getconsensus's y).
  runtime::Matrix consensus;
  // m x m squared distances, symmetric with an exact zero diagonal.
  runtime::Matrix d;
  // Iterations the superimposition took.
  int iterations = 0;
};

// `data`: m x n landmark data (n = 2k + 1, see getconsensus, whose errors it
// passes on). `threads`: worker threads for the pair loop, 0 (or less) for
// all cores (the superimposition's too). The result is bit-identical for any
// number of threads.
// Cost: the superimposition plus O(m^2 k) for the pairs; the matrix takes
// 8 m^2 bytes (512 MB at m = 8000).
ProcrustesDistances procrustes_distances(const runtime::Matrix& data, int threads = 0);

// The distance matrix alone: procrustes_distances(data, threads).d, refused
// up front when it does not fit in memory (check_distance_matrix_memory).
runtime::Matrix allpairwiseprocrustes(const runtime::Matrix& data, int threads = 0);

// Squared Euclidean distances between the rows of `xpt` over its columns
// 1 .. n - 1 (the trailing column n never enters). Entry (i, j) adds the
// squared differences in column order, exactly as a plain loop over the pairs
// i < j would, whatever the number of threads. A raised `cancel` (Ctrl-C)
// stops the loop within a few rows and raises runtime::Cancelled.
// `progress`, when set, hears (columns done, m) now and then from the calling
// thread (at least every m / 256 columns); when it answers false the work
// stops there and runtime::Cancelled is raised.
using DistanceProgress = std::function<bool(std::size_t done, std::size_t total)>;
runtime::Matrix squared_distances(const runtime::Matrix& xpt, int threads = 0,
                                  const std::atomic<bool>* cancel = nullptr,
                                  const DistanceProgress& progress = {});

}  // namespace lumivar::geometry
