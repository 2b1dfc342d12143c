#pragma once
// The batch tool's progress line for a long superimposition, on standard
// error when it is a terminal: the pass and how far the consensus still
// moves, redrawn in place, ended with a line break after the last pass.
#include <chrono>
#include <cstdio>
#include <functional>

namespace lumivar::batch {

// Writes to `err` once `quiet` has passed since the first pass, at most a
// few times a second. A superimposition that ends sooner prints nothing.
class SuperimpositionProgress {
 public:
  explicit SuperimpositionProgress(std::FILE* err,
                                   std::chrono::milliseconds quiet = std::chrono::milliseconds(500));
  void operator()(int iteration, double change);

 private:
  std::FILE* err_;
  std::chrono::milliseconds quiet_;
  std::chrono::steady_clock::time_point start_{}, last_{};
  bool shown_ = false;
};

// A SuperimpositionProgress on standard error when it is a terminal, else none.
std::function<void(int, double)> terminal_superimposition_progress();

}  // namespace lumivar::batch
