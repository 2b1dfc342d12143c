#include "permutation/permutation_engine.h"

#include "permutation/fast_engine.h"
#include "permutation/reference_engine.h"

namespace lumivar::permutation {

std::unique_ptr<PermutationEngine> make_engine(Engine kind, const DesignData& design) {
  if (kind == Engine::kReference) return std::make_unique<ReferenceEngine>(design);
  return std::make_unique<FastEngine>(design);
}

}  // namespace lumivar::permutation
