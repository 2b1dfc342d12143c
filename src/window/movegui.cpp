#include "window/movegui.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "runtime/error.h"
#include "window/figure_of.h"

namespace lumivar::window {
namespace {

using runtime::Handle;
using runtime::Matrix;
using runtime::Value;

// A named corner as fractions of the free room (screen less window) along x and y.
struct NamedPlace {
  std::string_view name;
  double fx, fy;
};
constexpr std::array<NamedPlace, 9> kPlaces = {{{"north", 0.5, 1},
                                                {"south", 0.5, 0},
                                                {"east", 1, 0.5},
                                                {"west", 0, 0.5},
                                                {"northeast", 1, 1},
                                                {"southeast", 1, 0},
                                                {"northwest", 0, 1},
                                                {"southwest", 0, 0},
                                                {"center", 0.5, 0.5}}};
constexpr std::string_view kOnscreen = "onscreen";

const NamedPlace* find_place(const std::string& name) {
  for (const NamedPlace& p : kPlaces)
    if (p.name == name) return &p;
  return nullptr;
}

// The new outer rectangle [x y width height] of a window whose rectangles are
// `inpos` (inner) and `oldpos` (outer) on a screen of `screensize`.
Matrix placement(const Value& position, const Matrix& inpos, const Matrix& oldpos,
                 const Matrix& screensize) {
  const double swidth = screensize.at(3), sheight = screensize.at(4);
  double fwidth = std::min(oldpos.at(3), swidth);
  double fheight = std::min(oldpos.at(4), sheight);
  const double room_x = swidth - fwidth, room_y = sheight - fheight;
  double x = 0, y = 0;
  if (position.is_matrix()) {
    x = position.matrix()(1);
    y = position.matrix()(2);
    if (x < 0) x = room_x + x;
    if (y < 0) y = room_y + y;
  } else if (const NamedPlace* p = find_place(position.text())) {
    x = room_x * p->fx;  // halves may be fractional and stay so
    y = room_y * p->fy;
  } else {  // "onscreen": the old corner pulled onto the screen
    x = std::min(std::max(oldpos.at(1), 0.0), room_x);
    y = std::min(std::max(oldpos.at(2), 0.0), room_y);
  }
  // Some window systems report an inner size larger than the outer one; the
  // frame is then added back here, after the corner has been fixed.
  if (inpos.at(3) > oldpos.at(3) && inpos.at(4) > oldpos.at(4)) {
    fwidth += 6;
    fheight += 24;
  }
  return Matrix::row({x, y, fwidth, fheight});
}

}  // namespace

void movegui(runtime::WindowRuntime& ui, const runtime::Args& args) {
  using runtime::Value;
  runtime::check_argument_count("movegui", 3, args.size(), false);
  Value position;  // empty, a position name or an [x y] pair
  Value fig;
  for (std::size_t i = 1; i <= args.size(); ++i) {
    const Value& a = args[i - 1];
    const bool numeric = a.is_matrix();
    if (numeric && a.matrix().numel() == 1 && ui.is_valid(a.scalar())) {
      const std::optional<runtime::Handle> window = figure_of(ui, a);
      if (!window) runtime::raise("handle of figure or descendant required");
      fig = Value(*window);
    } else if (a.is_text()) {
      if (a.text() != kOnscreen && find_place(a.text()) == nullptr)
        runtime::raise("unrecognized position");
      position = a;
    } else if (numeric && a.matrix().numel() == 2) {
      position = a;
    } else if (!ui.callback_object().is_empty() && i == 2) {
      // A callback passes its event data second; it carries no placement.
    } else {
      runtime::raise("unrecognized input argument");
    }
  }
  if (fig.is_empty()) fig = ui.callback_figure();
  if (fig.is_empty()) fig = ui.current_figure();
  // Nothing to move: an error rather than a silent no-op.
  if (fig.is_empty()) runtime::raise("handle of figure or descendant required");
  if (position.is_empty()) position = Value(std::string(kOnscreen));

  const runtime::Handle f = fig.scalar();
  ui.flush();  // sizes must be current before they are measured
  const Value oldposmode = ui.get(f, "ActivePositionProperty");
  const Value oldfunits = ui.get(f, "Units");
  ui.set(f, "Units", Value("pixels"));
  auto restore = [&] {
    ui.set(f, "Units", oldfunits);
    ui.set(f, "ActivePositionProperty", oldposmode);
  };
  try {
    const runtime::Matrix inpos = ui.get(f, "Position").matrix();
    const runtime::Matrix oldpos = ui.get(f, "OuterPosition").matrix();
    const Value old0units = ui.get(runtime::kRoot, "Units");
    ui.set(runtime::kRoot, "Units", Value("pixels"));
    const Value screensize = ui.get(runtime::kRoot, "ScreenSize");
    ui.set(runtime::kRoot, "Units", old0units);
    ui.set(f, "OuterPosition",
           Value(placement(position, inpos, oldpos, screensize.matrix())));
  } catch (...) {
    restore();  // a window without a rectangle keeps its units all the same
    throw;
  }
  restore();
}

}  // namespace lumivar::window
