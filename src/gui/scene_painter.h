#pragma once
// Draws a plots::Scene with a QPainter: a canvas for the one scene layout
// (plots/draw_scene.h) that the SVG writer uses too, so that the window
// shows what the batch tool writes and plots::point_at finds the marker
// drawn under the mouse.
#include <cstddef>

#include "plots/plot_frame.h"
#include "plots/scene.h"

class QPainter;

namespace lumivar::gui {

// Paints `scene` on the frame's canvas (0, 0, frame.width(), frame.height())
// of `painter`'s device, background included. `highlight_row` (1-based; 0:
// none) draws that row's points once more on top, opaque and larger, joined
// in landmark order, so that one configuration stands out from the cloud.
// O(number of points, lines and labels).
void paint_scene(QPainter& painter, const plots::Scene& scene, const plots::PlotFrame& frame,
                 std::size_t highlight_row = 0);

}  // namespace lumivar::gui
