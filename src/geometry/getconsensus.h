#pragma once
// Generalized superimposition of all configurations of a landmark data matrix:
// every configuration is centred on its centroid, scaled to unit centroid size
// and then rotated, in turns, onto a consensus that is recomputed as the
// normalised mean of the rotated configurations until it stops changing. The
// fit only rotates after the scaling: no further scaling, no reflection.
#include <functional>

#include "runtime/matrix.h"

namespace lumivar::geometry {

// The loop ends once the squared change of the consensus coordinates between
// two iterations is no longer strictly greater than this (0.8 * 2^-30, about
// 2.7e-5 in coordinates of unit size).
inline constexpr double kConsensusTolerance = 7.450580596923829e-10;
// A guard against a loop that never settles; real data converge in tens.
inline constexpr int kMaxConsensusIterations = 10000;

struct Consensus {
  // 1 x m: the consensus; its coordinates have unit norm and centroid at the origin.
  runtime::Matrix y;
  // n x m: each row centred, of unit centroid size and rotated onto y; column m
  // holds the input's trailing values unchanged.
  runtime::Matrix xpt;
  // Number of passes over all rows (at least one).
  int iterations = 0;
};

// `x`: n x m landmark data, n >= 2 specimens, m = 2k + 1 columns (k landmarks
// interleaved x1, y1, ..., then one trailing value that enters no centroid,
// size or rotation). The first specimen is the first reference.
// Raises an Error for fewer than two rows, an even number of columns, a single
// column (no landmark), or when the loop has not converged after
// `max_iterations` passes. A specimen whose
// landmarks all coincide gives non-finite coordinates; that is not raised here.
// Cost: O(n m) per iteration, one n x m working copy.
Consensus getconsensus(const runtime::Matrix& x, int max_iterations = kMaxConsensusIterations);

struct SuperimpositionSettings {
  int max_iterations = kMaxConsensusIterations;
  // Coordinates per landmark: 2 (x, y) or 3 (x, y, z). The data then has
  // d k + 1 columns. Only the rotation differs: in 2-D the angle of the
  // closed form, in 3-D the best proper rotation that a 3 x 3 singular value
  // decomposition gives (rotation_3d.h); neither ever reflects.
  int dimensions = 2;
  // Worker threads for the rotations of each pass, 0 (or less) for all
  // cores. The result is bit-identical for any number.
  int threads = 0;
  // Called after every pass with its number (from 1) and the squared change
  // of the consensus it made, on the calling thread.
  std::function<void(int iteration, double change)> progress;
};

// The same with the passes spread over threads and reported as they end, for
// landmarks of settings.dimensions coordinates (the layout check then asks
// for d k + 1 columns).
// Memory: one n x m working copy besides the result, O(n m) in all.
Consensus getconsensus(const runtime::Matrix& x, const SuperimpositionSettings& settings);

}  // namespace lumivar::geometry
