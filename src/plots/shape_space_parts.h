#pragma once
// Pieces the pictures of shapes and scores share: colours by code, the
// region their marks span, landmark numbers placed clear of an outline, and
// the legend of the groups.
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include <Eigen/Dense>

#include "plots/scene.h"
#include "runtime/matrix.h"

namespace lumivar::plots::parts {

// The colour index of each distinct code among the first `m` of `codes`,
// in ascending code order (finite codes only: the callers' codes are checked).
std::map<double, std::size_t> code_ranks(const runtime::Matrix& codes, std::size_t m);

// The smallest box holding every point added, padded on every side.
class Extent2 {
 public:
  void add(Point2 p);
  // `fraction` of the longer side on every side; a unit box around the
  // origin when nothing was added.
  Box padded(double fraction) const;

 private:
  Box box_;
  bool empty_ = true;
};

// Raises unless the landmarks have two or three coordinates (projections.h)
// and `size` coordinates are whole landmarks of them.
void require_landmarks(std::size_t dimension, Eigen::Index size, const std::string& picture);

// `text` in ink `gap` pixels from `at` along the direction away from
// `centre` (superimposed shapes are centred on the origin), or towards it
// when `gap` is negative, aligned so that the text grows in that direction.
Label radial_label(Point2 at, std::string text, double gap, Point2 centre = {0, 0});

// Landmark j's number in bold, set off outwards from `centre`, so it stays
// outside the outline.
Label landmark_number(Point2 at, std::size_t j, Point2 centre = {0, 0});

// One legend point per group in colour order (`texts`: what each group is
// called), the groups past twelve summed up in one line.
void add_group_legend(Scene& s, const std::vector<std::string>& texts);

}  // namespace lumivar::plots::parts
