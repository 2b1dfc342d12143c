#pragma once
// The one layout of a scene on a canvas: title and subtitle, the plot
// area's border, the axes with their ticks and titles, the data cut to the
// plot area, the labels and the legend, in that order, at the places
// PlotFrame gives; labels that would cover each other are moved apart
// (label_placement.h). The SVG writer and the window's painter both draw
// through it.
#include <cstddef>
#include <string>

#include "plots/canvas.h"
#include "plots/plot_frame.h"
#include "plots/scene.h"

namespace lumivar::plots {

// Draws `scene` on `canvas`, which is frame.width() x frame.height() pixels,
// background included. `highlight_row` (1-based; 0: none) draws that row's
// points once more on top of the data, opaque and larger, joined in
// landmark order, so that one configuration stands out from the cloud.
// O(number of points, lines and ticks, plus labels squared).
void draw_scene(const Scene& scene, const PlotFrame& frame, Canvas& canvas, std::size_t highlight_row = 0);

// What hovering over a point of the data shows: "row N, landmark J", or
// "row N" when it is no landmark, after "specimen S, " when the point names
// its specimen; empty for a point of no row.
std::string point_text(const ScenePoint& point);

}  // namespace lumivar::plots
