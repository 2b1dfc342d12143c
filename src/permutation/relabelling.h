#pragma once
// One random relabelling of a two-measurement design: whole specimens move
// between the groups (their G1 and G2 codes travel together) and, on their
// own, the two measurement codes of each specimen are exchanged with
// probability one half.
//
// Relabelling i of a run draws from its own pcg stream derived from the
// run's seed and i, so the relabellings do not depend on which thread draws
// them or in which order.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumivar::permutation {

struct Relabelling {
  // Slot j (0-based) receives the group codes of specimen order[j]: 0-based
  // row of `group`, a uniformly random ordering of 0 .. mg - 1.
  std::vector<std::uint32_t> order;
  // 1 when the measurement codes of rows j and j + mg (0-based) are exchanged.
  std::vector<std::uint8_t> swap;

  std::size_t specimens() const { return order.size(); }
};

// The observed labelling: every specimen keeps its codes, nothing is exchanged.
Relabelling identity_relabelling(std::size_t mg);

// Fills `r` (any previous size) with relabelling `index` of the run seeded
// with `seed`, for `mg` specimens: a Fisher-Yates ordering with unbiased
// bounded integers, then one uniform draw in [0, 1) (53 random bits) per
// specimen in slot order, exchanging when the draw is at least 0.5. Cost O(mg),
// no allocation when `r` already has the size.
void draw_relabelling(std::uint64_t seed, std::uint64_t index, std::size_t mg, Relabelling& r);

}  // namespace lumivar::permutation
