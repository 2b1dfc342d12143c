#pragma once
// Axis ticks at round values.
#include <vector>

#include "plots/scene.h"

namespace lumivar::plots {

// Ticks at the multiples of a step of 1, 2 or 5 times a power of ten that
// lie in [lo, hi], about `target` of them (at least two when lo < hi), each
// labelled with as many decimals as the step needs. lo == hi gives one tick;
// a reversed or non-finite range gives none.
std::vector<Tick> nice_ticks(double lo, double hi, int target = 5);

}  // namespace lumivar::plots
