#pragma once
// Which edges of a window a control follows when the window is resized. The
// layout names them in a control's "Anchor" property as edge words joined by
// "-" ("top-left", "top-left-right", "bottom-right") or "all". A control
// anchored to two opposite edges stretches between them; anchored to one, it
// keeps its distance to that edge; anchored to neither, it keeps its distance
// to the left (or bottom) edge. Without an "Anchor" a control keeps its place
// measured from the lower-left corner, as its pixel position says.
#include <string_view>

#include "runtime/matrix.h"

namespace lumivar::runtime::qt {

struct Anchors {
  bool left = true, right = false, bottom = true, top = false;
};

// Case does not matter; an empty text means the default (left and bottom).
// Raises an Error naming the word that is not an edge.
Anchors parse_anchors(std::string_view words);

// The rectangle [left bottom width height] of a control that had `rect` when
// its window's inner size was `old_width` x `old_height`, now that it is
// `width` x `height`. A stretched side never goes below zero.
Matrix anchored_rect(const Matrix& rect, double old_width, double old_height, double width,
                     double height, const Anchors& anchors);

}  // namespace lumivar::runtime::qt
