#pragma once
// Ctrl-C or SIGTERM during a batch run: the first one asks the run to stop at
// the next check (it then cleans up and reports a cancel), a second one ends
// the program at once as usual.
#include <atomic>

namespace lumivar::batch {

class InterruptFlag {
 public:
  InterruptFlag();   // installs the SIGINT and SIGTERM handlers
  ~InterruptFlag();  // restores the handlers before them
  InterruptFlag(const InterruptFlag&) = delete;
  InterruptFlag& operator=(const InterruptFlag&) = delete;
  // Raised by the first SIGINT or SIGTERM while this object lives.
  const std::atomic<bool>* flag() const;
  // The signal that raised the flag; 0 while none has.
  int signal() const;
};

}  // namespace lumivar::batch
