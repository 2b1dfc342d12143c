#include "plots/shape_space_parts.h"

#include <algorithm>
#include <cmath>

#include "plots/palette.h"
#include "runtime/error.h"

namespace lumivar::plots::parts {

std::map<double, std::size_t> code_ranks(const runtime::Matrix& codes, std::size_t m) {
  std::map<double, std::size_t> ranks;
  for (std::size_t i = 1; i <= m && i <= codes.numel(); ++i) ranks.emplace(codes(i), 0);
  std::size_t next = 0;
  for (auto& [code, index] : ranks) index = next++;
  return ranks;
}

void Extent2::add(Point2 p) {
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
  if (empty_) {
    box_ = {p.x, p.x, p.y, p.y};
    empty_ = false;
    return;
  }
  box_.x_min = std::min(box_.x_min, p.x);
  box_.x_max = std::max(box_.x_max, p.x);
  box_.y_min = std::min(box_.y_min, p.y);
  box_.y_max = std::max(box_.y_max, p.y);
}

Box Extent2::padded(double fraction) const {
  if (empty_) return {-1, 1, -1, 1};
  const double pad = fraction * std::max({box_.width(), box_.height(), 1e-9});
  return {box_.x_min - pad, box_.x_max + pad, box_.y_min - pad, box_.y_max + pad};
}

void require_landmarks(std::size_t dimension, Eigen::Index size, const std::string& picture) {
  if (dimension != 2 && dimension != 3)
    runtime::raise("The " + picture + " is drawn for landmarks of two or three coordinates; these have " +
                   std::to_string(dimension) + ".");
  if (size % static_cast<Eigen::Index>(dimension) != 0)
    runtime::raise("The " + picture + " was given " + std::to_string(size) + " coordinates, not landmarks of " +
                   std::to_string(dimension) + ".");
}

Label radial_label(Point2 at, std::string text, double gap, Point2 centre) {
  const double rx = at.x - centre.x, ry = at.y - centre.y;
  const double len = std::hypot(rx, ry);
  const double ux = len > 0 ? rx / len : 0, uy = len > 0 ? ry / len : 1;
  const double sx = gap < 0 ? -ux : ux;
  Label l;
  l.at = at;
  l.text = std::move(text);
  l.colour = kInk;
  l.align = sx > 0.35 ? Align::kStart : sx < -0.35 ? Align::kEnd : Align::kMiddle;
  l.dx_px = gap * ux;
  l.dy_px = -gap * uy + 4;  // pixels grow downwards; +4 centres the digits on the point
  return l;
}

Label landmark_number(Point2 at, std::size_t j, Point2 centre) {
  Label l = radial_label(at, std::to_string(j), 11, centre);
  l.bold = true;
  return l;
}

void add_group_legend(Scene& s, const std::vector<std::string>& texts) {
  constexpr std::size_t kShown = 12;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i == kShown) {
      s.legend.push_back({LegendEntry::Kind::kPoint, kGridGrey, "and " + std::to_string(texts.size() - i) + " more groups"});
      return;
    }
    s.legend.push_back({LegendEntry::Kind::kPoint, group_colour(i), texts[i]});
  }
}

}  // namespace lumivar::plots::parts
