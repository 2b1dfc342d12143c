#pragma once
// How a "Permute" run is carried out; none of it changes the counts for a
// given seed.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "partition/sums_method.h"

namespace lumivar::permutation {

enum class Engine {
  kFast,       // within sums from the centred superimposed coordinates, O(m p) per relabelling
  kReference,  // every within sum by getssgroup over the distance matrix, O(m^2)
};

struct PermuteSettings {
  std::optional<std::uint64_t> seed;  // none: a fresh seed from the system's entropy
  int threads = 0;                    // 0: all cores
  Engine engine = Engine::kFast;
  // Called now and then with the number of relabellings done and the total,
  // from the thread that started the run.
  std::function<void(std::size_t done, std::size_t total)> progress;
  // When set and raised, the run stops early and raises an Error; nothing is written.
  const std::atomic<bool>* cancel = nullptr;
  // Keep every relabelling's seven F ratios (for the distribution plots).
  bool keep_f_values = false;
  // The way to the observed sums. The fast engine never reads the distance
  // matrix; the reference engine needs it, so "auto" builds it for that
  // engine whenever it fits, and the coordinates are refused with it.
  partition::SumsMethod sums = partition::SumsMethod::kAuto;
  // Called after every pass of the superimposition (see getconsensus).
  std::function<void(int iteration, double change)> superimposition_progress;
};

}  // namespace lumivar::permutation
