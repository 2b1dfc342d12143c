#include "plots/shape_space_choices.h"

#include "runtime/error.h"

namespace lumivar::plots {

const char* grouping_name(Grouping g) {
  switch (g) {
    case Grouping::kG2: return "G2";
    case Grouping::kT: return "T";
    case Grouping::kG1: break;
  }
  return "G1";
}

const std::vector<shape_space::GroupMean>& levels_of(const shape_space::ShapeSpace& s, Grouping g) {
  switch (g) {
    case Grouping::kG2: return s.g2;
    case Grouping::kT: return s.t;
    case Grouping::kG1: break;
  }
  return s.g1;
}

const std::map<double, std::string>& names_of(const shape_space::StudyLabels& labels, Grouping g) {
  switch (g) {
    case Grouping::kG2: return labels.g2;
    case Grouping::kT: return labels.t;
    case Grouping::kG1: break;
  }
  return labels.g1;
}

namespace {

NamedShape level_shape(const shape_space::GroupMean& m, Grouping g, const shape_space::StudyLabels& labels) {
  return {std::string(grouping_name(g)) + " = " + shape_space::level_name(names_of(labels, g), m.codes[0]),
          m.shape};
}

}  // namespace

std::vector<NamedShape> level_means(const shape_space::ShapeSpace& s, Grouping g,
                                    const shape_space::StudyLabels& labels) {
  std::vector<NamedShape> out;
  for (const shape_space::GroupMean& m : levels_of(s, g)) out.push_back(level_shape(m, g, labels));
  return out;
}

ShapePair level_pair(const shape_space::ShapeSpace& s, Grouping g, std::size_t a, std::size_t b,
                     const shape_space::StudyLabels& labels) {
  const std::vector<shape_space::GroupMean>& levels = levels_of(s, g);
  if (a >= levels.size() || b >= levels.size())
    runtime::raise(std::string(grouping_name(g)) + " has " + std::to_string(levels.size()) +
                   " level" + (levels.size() == 1 ? "" : "s") + "; a change needs two.");
  return {level_shape(levels[a], g, labels), level_shape(levels[b], g, labels)};
}

ShapePair component_pair(const shape_space::ShapeSpace& s, std::size_t c) {
  const auto [low, high] = shape_space::component_ends(s.components, static_cast<Eigen::Index>(c) - 1);
  const std::string name = "PC" + std::to_string(c);
  return {{"the low end of " + name, low}, {"the high end of " + name, high}};
}

}  // namespace lumivar::plots
