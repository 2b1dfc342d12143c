#pragma once
// A permutation engine for tests of long runs: it wraps a real engine, and
// its cancellable workers hold every sum (the observed one too) for `cap`
// unless their cancel flag rises first, which they count in `heard`. A run
// that heard a cancel only between relabellings would take the whole cap.
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "permutation/permutation_engine.h"
#include "runtime/error.h"

namespace lumivar::testing {

class StuckEngine : public permutation::PermutationEngine {
 public:
  StuckEngine(const permutation::PermutationEngine& inner, std::chrono::seconds cap)
      : inner_(inner), cap_(cap) {}
  double sstotal() const override { return inner_.sstotal(); }
  std::size_t specimens() const override { return inner_.specimens(); }
  std::unique_ptr<Worker> make_worker() const override { return inner_.make_worker(); }
  std::unique_ptr<Worker> make_cancellable_worker(const std::atomic<bool>* cancel) const override {
    return std::make_unique<StuckWorker>(*this, cancel);
  }
  mutable std::atomic<int> heard{0};

 private:
  class StuckWorker : public Worker {
   public:
    StuckWorker(const StuckEngine& e, const std::atomic<bool>* cancel)
        : e_(e), cancel_(cancel), inner_(e.inner_.make_worker()) {}
    permutation::WithinSums within_sums(const permutation::Relabelling& r) override {
      const auto until = std::chrono::steady_clock::now() + e_.cap_;
      while (std::chrono::steady_clock::now() < until) {
        if (cancel_ != nullptr && cancel_->load()) {
          ++e_.heard;
          runtime::raise_cancelled("stopped inside a relabelling");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      return inner_->within_sums(r);
    }

   private:
    const StuckEngine& e_;
    const std::atomic<bool>* cancel_;
    std::unique_ptr<Worker> inner_;
  };
  const permutation::PermutationEngine& inner_;
  std::chrono::seconds cap_;
};

}  // namespace lumivar::testing
