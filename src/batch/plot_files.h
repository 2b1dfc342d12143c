#pragma once
// The batch tool's pictures of an analysis, as SVG files in one folder:
// shapes_G1.svg, shapes_G2.svg and shapes_T.svg (the superimposed
// configurations coloured by each grouping) and, after a permutation run
// that kept its F values, f_<effect>.svg for each of the seven effects
// (f_G1, f_G2, f_T, f_G1xG2, f_G1xT, f_G2xT, f_G1xG2xT).
#include <filesystem>
#include <string>
#include <vector>

#include "plots/scene.h"

#include "shell/analysis_snapshot.h"

namespace lumivar::batch {

// Canvas size of every picture, in pixels.
inline constexpr double kPlotWidth = 800, kPlotHeight = 600;

// Creates `folder` (and its parents) when missing and writes the pictures;
// returns the paths written, in the order above. Each file is replaced
// whole (checked_output.h). Raises an Error naming the file that cannot be
// written and why; the files written before it stay.
std::vector<std::string> write_plots(const shell::AnalysisSnapshot& a, const std::string& folder);

// Creates `folder` (and its parents) when missing; raises naming it when it cannot.
void make_picture_folder(const std::string& folder);

// Writes `scene` as `folder`/`name` at the canvas size above; returns the
// path. Raises an Error naming the file that cannot be written.
std::string write_svg(const std::filesystem::path& folder, const std::string& name, const plots::Scene& scene);

}  // namespace lumivar::batch
