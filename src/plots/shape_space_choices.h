#pragma once
// What the shape-space pictures can be asked to show, resolved against one
// study's shape space: the mean shapes of a grouping's levels, and the pairs
// of shapes whose change can be drawn (two levels of G1, of G2, the two
// measurements, or the two ends of a principal component), each named in the
// sheet's words where there is a sheet.
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "plots/mean_shapes_scene.h"
#include "shape_space/shape_space.h"
#include "shape_space/study_labels.h"

namespace lumivar::plots {

enum class Grouping { kG1, kG2, kT };

// "G1", "G2" or "T".
const char* grouping_name(Grouping g);

// The levels of `g`, ascending codes, and their names.
const std::vector<shape_space::GroupMean>& levels_of(const shape_space::ShapeSpace& s, Grouping g);
const std::map<double, std::string>& names_of(const shape_space::StudyLabels& labels, Grouping g);

// The mean shape of every level of `g`, named "G1 = male" (or by code).
std::vector<NamedShape> level_means(const shape_space::ShapeSpace& s, Grouping g,
                                    const shape_space::StudyLabels& labels);

struct ShapePair {
  NamedShape from, to;
};

// Levels `a` and `b` (0-based, in code order) of `g`. Raises when there is
// no such level.
ShapePair level_pair(const shape_space::ShapeSpace& s, Grouping g, std::size_t a, std::size_t b,
                     const shape_space::StudyLabels& labels);

// The shapes at the lowest and highest score of component `c` (1-based).
ShapePair component_pair(const shape_space::ShapeSpace& s, std::size_t c);

}  // namespace lumivar::plots
