#pragma once
// A scene as a standalone SVG document (SVG 1.1, UTF-8), drawn by the scene
// layout (draw_scene.h) on a canvas of the given size in pixels. Each data point
// carries a <title> naming its row and landmark, which viewers show on
// hover.
#include <string>

#include "plots/scene.h"

namespace lumivar::plots {

std::string to_svg(const Scene& scene, double width_px = 800, double height_px = 600);

// A length on paper: a width and a height in `unit` ("mm" or "in").
struct PaperSize {
  double width = 0, height = 0;
  std::string unit;
};

// The same document shown at `paper`'s size: the layout keeps its
// `width_px` x `height_px` (the viewBox) and a viewer scales it, text and
// lines included, to the width and height on paper.
std::string to_svg(const Scene& scene, double width_px, double height_px, const PaperSize& paper);

// `text` with &, <, >, " and ' written as character entities.
std::string xml_escaped(const std::string& text);

}  // namespace lumivar::plots
