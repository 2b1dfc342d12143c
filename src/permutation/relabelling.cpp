#include "permutation/relabelling.h"

#include <numeric>
#include <utility>

#include <pcg_random.hpp>

namespace lumivar::permutation {

namespace {

// pcg's own 128-bit type: the compiler's where it has one, a portable class
// elsewhere.
using Uint128 = pcg_extras::pcg128_t;

// splitmix64's finaliser: spreads every bit of the input over the output, so
// that neighbouring seeds and indices give unrelated generator states.
std::uint64_t mix64(std::uint64_t z) {
  z += 0x9e3779b97f4a7c15ULL;
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

// The generator of relabelling `index`: its state mixes the seed and the
// index, and the index also selects the pcg stream, so two relabellings
// never share a sequence.
pcg64 stream_for(std::uint64_t seed, std::uint64_t index) {
  const std::uint64_t hi = mix64(seed);
  const std::uint64_t lo = mix64(hi ^ mix64(index));
  const Uint128 state = (static_cast<Uint128>(hi) << 64) | lo;
  return pcg64(state, static_cast<Uint128>(index));
}

// Uniform in 0 .. bound - 1 without bias (Lemire's multiply-and-reject).
std::uint64_t bounded(pcg64& rng, std::uint64_t bound) {
  Uint128 product = static_cast<Uint128>(rng()) * bound;
  auto low = static_cast<std::uint64_t>(product);
  if (low < bound) {
    const std::uint64_t threshold = (0 - bound) % bound;
    while (low < threshold) {
      product = static_cast<Uint128>(rng()) * bound;
      low = static_cast<std::uint64_t>(product);
    }
  }
  return static_cast<std::uint64_t>(product >> 64);
}

// Uniform in [0, 1) from the top 53 bits of one output.
double uniform01(pcg64& rng) { return static_cast<double>(rng() >> 11) * 0x1.0p-53; }

}  // namespace

Relabelling identity_relabelling(std::size_t mg) {
  Relabelling r;
  r.order.resize(mg);
  std::iota(r.order.begin(), r.order.end(), std::uint32_t{0});
  r.swap.assign(mg, 0);
  return r;
}

void draw_relabelling(std::uint64_t seed, std::uint64_t index, std::size_t mg, Relabelling& r) {
  pcg64 rng = stream_for(seed, index);
  r.order.resize(mg);
  r.swap.resize(mg);
  std::iota(r.order.begin(), r.order.end(), std::uint32_t{0});
  for (std::size_t i = mg; i > 1; --i) {
    const std::size_t j = bounded(rng, i);
    std::swap(r.order[i - 1], r.order[j]);
  }
  for (std::size_t j = 0; j < mg; ++j) r.swap[j] = uniform01(rng) >= 0.5 ? 1 : 0;
}

}  // namespace lumivar::permutation
