#pragma once
// The colours of the plots. Group colours come from a palette of eight that
// stay distinct under the common colour-vision deficiencies and in grey
// print; ink, bars and the observed-value marker are chosen to stand apart
// from all of them.
#include <array>
#include <cstddef>

#include "plots/scene.h"

namespace lumivar::plots {

inline constexpr std::array<Colour, 8> kGroupColours{{
    {0x00, 0x72, 0xb2},  // blue
    {0xd5, 0x5e, 0x00},  // vermillion
    {0x00, 0x9e, 0x73},  // bluish green
    {0xcc, 0x79, 0xa7},  // reddish purple
    {0xe6, 0x9f, 0x00},  // orange
    {0x56, 0xb4, 0xe9},  // sky blue
    {0xf0, 0xe4, 0x42},  // yellow
    {0x66, 0x66, 0x66},  // grey
}};

inline constexpr Colour kInk{0x00, 0x00, 0x00};
inline constexpr Colour kGridGrey{0x99, 0x99, 0x99};
inline constexpr Colour kBackground{0xff, 0xff, 0xff};
inline constexpr Colour kBarFill{0x56, 0xb4, 0xe9};
inline constexpr Colour kBarStroke{0x00, 0x72, 0xb2};
inline constexpr Colour kObservedMarker{0xd5, 0x5e, 0x00};

// Colour of the group at `index` (0-based, in ascending code order); more
// than eight groups reuse the colours in turn.
inline Colour group_colour(std::size_t index) { return kGroupColours[index % kGroupColours.size()]; }

}  // namespace lumivar::plots
