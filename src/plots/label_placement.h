#pragma once
// Where a scene's labels are drawn so that no two cover each other: landmark
// numbers of a dense outline and the names of ringed rows crowd at one
// place. Each label keeps the place its scene gave it (its point moved by
// its offset) unless its box meets a label placed before it; then it moves
// away from its point in steps of about its height, first further along its
// own offset, then turning to the sides, and takes the first free place.
// Deterministic: the same scene and frame give the same places.
#include <vector>

#include "plots/plot_frame.h"
#include "plots/scene.h"

namespace lumivar::plots {

struct PlacedLabel {
  Point2 at;      // the text's anchor on its baseline, in canvas pixels
  PixelRect box;  // the room the text takes there (label_box)
};

// The room `label`'s text takes when anchored at `at`: from the ascent of
// capitals above the baseline to the descenders below, as wide as its
// characters at a generous average width (no font is measured, so that the
// SVG writer and the painter place alike).
PixelRect label_box(Point2 at, const Label& label);

// One place per label, in the scene's order. O(labels^2) for a few hundred
// labels at most.
std::vector<PlacedLabel> place_labels(const std::vector<Label>& labels, const PlotFrame& frame);

}  // namespace lumivar::plots
