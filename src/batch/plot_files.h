#pragma once
// The batch tool's pictures of an analysis, as SVG files in one folder:
// shapes_G1.svg, shapes_G2.svg and shapes_T.svg (the superimposed
// configurations coloured by each grouping) and, after a permutation run
// that kept its F values, f_<effect>.svg for each of the seven effects
// (f_G1, f_G2, f_T, f_G1xG2, f_G1xT, f_G2xT, f_G1xG2xT).
#include <string>
#include <vector>

#include "shell/analysis_snapshot.h"

namespace lumivar::batch {

// Canvas size of every picture, in pixels.
inline constexpr double kPlotWidth = 800, kPlotHeight = 600;

// Creates `folder` (and its parents) when missing and writes the pictures;
// returns the paths written, in the order above. Each file is replaced
// whole (checked_output.h). Raises an Error naming the file that cannot be
// written and why; the files written before it stay.
std::vector<std::string> write_plots(const shell::AnalysisSnapshot& a, const std::string& folder);

}  // namespace lumivar::batch
