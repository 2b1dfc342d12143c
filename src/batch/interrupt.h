#pragma once
// Ctrl-C during a batch run: the first one asks the run to stop at the next
// relabelling (it then reports a cancel), a second one ends the program at
// once as usual.
#include <atomic>

namespace lumivar::batch {

class InterruptFlag {
 public:
  InterruptFlag();   // installs the SIGINT handler
  ~InterruptFlag();  // restores the handler before it
  InterruptFlag(const InterruptFlag&) = delete;
  InterruptFlag& operator=(const InterruptFlag&) = delete;
  // Raised by the first SIGINT while this object lives.
  const std::atomic<bool>* flag() const;
};

}  // namespace lumivar::batch
