#include "batch/interrupt.h"

#include <csignal>

namespace lumivar::batch {

namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");
struct sigaction previous {};

extern "C" void on_interrupt(int) { interrupted.store(true); }

}  // namespace

InterruptFlag::InterruptFlag() {
  interrupted = false;
  struct sigaction action {};
  action.sa_handler = on_interrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;  // the second Ctrl-C is the system's again
  sigaction(SIGINT, &action, &previous);
}

InterruptFlag::~InterruptFlag() { sigaction(SIGINT, &previous, nullptr); }

const std::atomic<bool>* InterruptFlag::flag() const { return &interrupted; }

}  // namespace lumivar::batch
