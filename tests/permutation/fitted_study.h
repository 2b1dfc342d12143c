#pragma once
// A study superimposed once, as the permutation engines take it, and a plan
// of relabellings for it.
#include <cstdint>
#include <utility>

#include "geometry/allpairwiseprocrustes.h"
#include "permutation/design_fixtures.h"
#include "permutation/permutation_engine.h"
#include "permutation/permute_settings.h"

namespace lumivar::testing {

struct FittedStudy {
  explicit FittedStudy(StudyDesign d)
      : design(std::move(d)), fit(geometry::procrustes_distances(design.session.data, 1)) {}
  permutation::DesignData data() const {
    return {fit.xpt, fit.d, design.session.group, design.session.repgroup, design.sizes};
  }
  StudyDesign design;
  geometry::ProcrustesDistances fit;
};

// Relabellings 0 .. nperm - 1 of `seed` on `threads` threads.
inline permutation::RunPlan run_plan(std::uint64_t nperm, std::uint64_t seed = 1, int threads = 1) {
  permutation::RunPlan p;
  p.nperm = nperm;
  p.seed = seed;
  p.threads = threads;
  return p;
}

}  // namespace lumivar::testing
