#pragma once
// How a control follows its window's edges when the window is resized. Each
// of the control's four edges moves by a fraction of the window's growth in
// its direction: 0 keeps the distance to the window's left (or bottom) edge,
// 1 the distance to its right (or top) edge, and a fraction in between
// shares the growth, so that three columns with the fractions 0..1/3,
// 1/3..2/3 and 2/3..1 stay equally wide.
//
// The layout's "Anchor" property is either edge words joined by "-"
// ("top-left", "top-left-right", "bottom-right") or "all", or four numbers
// [left right bottom top] giving the fractions. A control anchored to two
// opposite edges stretches between them; anchored to one, it keeps its
// distance to that edge; anchored to neither, it stays put on the left (or
// bottom). Without an "Anchor" a control keeps its place measured from the
// lower-left corner, as its pixel position says.

#include "runtime/matrix.h"
#include "runtime/value.h"

namespace lumivar::runtime::qt {

struct Anchors {
  double left = 0, right = 0, bottom = 0, top = 0;  // share of the growth each edge moves by
};

// Words: case does not matter, an empty text means the default (left and
// bottom). Numbers: four fractions in [0, 1], left <= right and bottom <=
// top. Raises an Error naming what is wrong.
Anchors parse_anchors(const Value& anchor);

// The rectangle [left bottom width height] of a control that had `rect` when
// its window's inner size was `old_width` x `old_height`, now that it is
// `width` x `height`. A side never goes below zero.
Matrix anchored_rect(const Matrix& rect, double old_width, double old_height, double width,
                     double height, const Anchors& anchors);

}  // namespace lumivar::runtime::qt
