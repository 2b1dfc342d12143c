#pragma once
// The relabelling steps exactly as the analysis defines them: relabelled
// group and measurement code columns, their crossings (cross_codes), and
// every within sum over the distance matrix as getssgroup takes it (the
// seven in one pass, within_sums_of_distances, to the same bits). It is the
// baseline the fast engine is checked and measured against. O(m^2) per
// relabelling; a worker holds three code columns.
#include "permutation/permutation_engine.h"

namespace lumivar::permutation {

class ReferenceEngine : public PermutationEngine {
 public:
  explicit ReferenceEngine(const DesignData& design);
  double sstotal() const override { return sstotal_; }
  std::size_t specimens() const override { return group_.rows(); }
  std::unique_ptr<Worker> make_worker() const override;
  // A relabelling reads the whole matrix (seconds at 20,000 rows), so the
  // worker checks the flag at every row of every sum.
  std::unique_ptr<Worker> make_cancellable_worker(const std::atomic<bool>* cancel) const override;

 private:
  class ReferenceWorker;
  const runtime::Matrix& dmatrix_;
  const runtime::Matrix& group_;
  const runtime::Matrix& repgroup_;
  std::size_t m_;
  partition::Divisors divisors_;
  double sstotal_;
};

}  // namespace lumivar::permutation
