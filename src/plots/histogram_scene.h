#pragma once
// The permutation distribution of one effect's F ratio: a histogram of the
// relabelled F values with the observed F marked, and its P value in the
// subtitle.
#include <optional>
#include <string>
#include <vector>

#include "plots/scene.h"

namespace lumivar::plots {

// `f_values`: the effect's F under each relabelling; `observed_f`: the data's
// own F; `p_value`: the reported permutation P value (Perm F P); without
// one it is counted here as (1 + relabellings with F above the observed) /
// (relabellings + 1). Bars: one rect per bin of make_histogram, from 0 up to
// its count. The observed F is a vertical line from 0 to the top of the
// view, with a label, when it is finite. Cost O(n).
Scene histogram_scene(const std::vector<double>& f_values, double observed_f,
                      const std::string& effect_label, std::optional<double> p_value = {});

}  // namespace lumivar::plots
