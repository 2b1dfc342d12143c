#include "permutation/reference_engine.h"

#include <utility>

#include "partition/within_sums.h"
#include "partition/getsstotal.h"

namespace lumivar::permutation {

class ReferenceEngine::ReferenceWorker : public PermutationEngine::Worker {
 public:
  ReferenceWorker(const ReferenceEngine& e, const std::atomic<bool>* cancel)
      : e_(e), cancel_(cancel), pgroup_(e.group_.rows(), 2) {}

  WithinSums within_sums(const Relabelling& r) override {
    const std::size_t mg = r.specimens();
    for (std::size_t j = 1; j <= mg; ++j) {
      pgroup_(j, 1) = e_.group_(r.order[j - 1] + 1, 1);
      pgroup_(j, 2) = e_.group_(r.order[j - 1] + 1, 2);
    }
    // Every relabelling starts again from the observed measurement codes.
    prepgroup_ = e_.repgroup_;
    for (std::size_t j = 1; j <= mg; ++j)
      if (r.swap[j - 1]) std::swap(prepgroup_(j), prepgroup_(j + mg));

    const partition::Codings c = partition::make_codings(pgroup_, prepgroup_, e_.m_);
    return partition::within_sums_of_distances(e_.dmatrix_, c, e_.divisors_, cancel_);
  }

 private:
  const ReferenceEngine& e_;
  const std::atomic<bool>* cancel_;
  runtime::Matrix pgroup_;
  runtime::Matrix prepgroup_;
};

ReferenceEngine::ReferenceEngine(const DesignData& design)
    : dmatrix_(design.dmatrix),
      group_(design.group),
      repgroup_(design.repgroup),
      m_(design.dmatrix.rows()),
      divisors_(partition::make_divisors(design.sizes)),
      sstotal_(partition::getsstotal(design.dmatrix, design.sizes.m, nullptr, partition::Reading::kSymmetric)) {}

std::unique_ptr<PermutationEngine::Worker> ReferenceEngine::make_worker() const {
  return std::make_unique<ReferenceWorker>(*this, nullptr);
}

std::unique_ptr<PermutationEngine::Worker> ReferenceEngine::make_cancellable_worker(
    const std::atomic<bool>* cancel) const {
  return std::make_unique<ReferenceWorker>(*this, cancel);
}

}  // namespace lumivar::permutation
