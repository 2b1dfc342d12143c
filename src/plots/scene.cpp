#include "plots/scene.h"

#include <cstdio>

namespace lumivar::plots {

std::string Colour::hex() const {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", r, g, b);
  return text;
}

}  // namespace lumivar::plots
