#pragma once
// The within-group sums of the seven codings of the design under one
// relabelling. Two engines implement it and give the same counts:
//
// - reference: the relabelled code columns are built literally and every
//   within sum is getssgroup over the distance matrix, O(m^2) per relabelling;
// - fast: the within sums come from the superimposed coordinates, one pass
//   over the rows feeding all seven codings, O(m p) per relabelling.
//
// Each engine computes the observed comparators itself (the identity
// relabelling). The two routes round differently, so a relabelled sum and
// the observed one are compared by the tie rule of ties.h, which makes the
// counts of the two engines identical.
#include <atomic>
#include <memory>

#include "partition/partition.h"
#include "permutation/permute_settings.h"
#include "permutation/relabelling.h"
#include "runtime/matrix.h"

namespace lumivar::permutation {

using partition::WithinSums;

// What the engines read; the matrices must outlive the engine. Needs exactly
// two measurements per specimen: rows(dmatrix) = rows(xpt) = 2 rows(group).
struct DesignData {
  const runtime::Matrix& xpt;       // superimposed configurations (trailing column ignored)
  const runtime::Matrix& dmatrix;   // squared Procrustes distances between their rows (symmetric)
  const runtime::Matrix& group;     // G1 and G2 code of each specimen
  const runtime::Matrix& repgroup;  // measurement code of each row
  partition::DesignSizes sizes;
};

class PermutationEngine {
 public:
  virtual ~PermutationEngine() = default;

  // Scratch space of one thread. Distinct workers may run at the same time.
  class Worker {
   public:
    virtual ~Worker() = default;
    virtual WithinSums within_sums(const Relabelling& r) = 0;
  };

  // The total sum of squares that this engine's effect sums start from.
  virtual double sstotal() const = 0;
  // Number of specimens (rows of `group`), the size of a relabelling.
  virtual std::size_t specimens() const = 0;
  virtual std::unique_ptr<Worker> make_worker() const = 0;
  // A worker that stops within a small part of one relabelling once `cancel`
  // is set, raising Cancelled from within_sums. Engines whose relabellings
  // take microseconds leave it to the caller, who checks between them.
  virtual std::unique_ptr<Worker> make_cancellable_worker(const std::atomic<bool>* cancel) const {
    (void)cancel;
    return make_worker();
  }
};

std::unique_ptr<PermutationEngine> make_engine(Engine kind, const DesignData& design);

}  // namespace lumivar::permutation
