#include "batch/interrupt.h"

#include <csignal>

namespace lumivar::batch {

namespace {

std::atomic<bool> interrupted{false};
std::atomic<int> first_signal{0};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");
struct sigaction previous_int {}, previous_term {};

extern "C" void on_interrupt(int signal) {
  int none = 0;
  first_signal.compare_exchange_strong(none, signal);
  interrupted.store(true);
}

void install(int signal, struct sigaction& previous) {
  struct sigaction action {};
  action.sa_handler = on_interrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;  // the second one is the system's again
  sigaction(signal, &action, &previous);
}

}  // namespace

InterruptFlag::InterruptFlag() {
  interrupted = false;
  first_signal = 0;
  install(SIGINT, previous_int);
  install(SIGTERM, previous_term);
}

InterruptFlag::~InterruptFlag() {
  sigaction(SIGINT, &previous_int, nullptr);
  sigaction(SIGTERM, &previous_term, nullptr);
}

const std::atomic<bool>* InterruptFlag::flag() const { return &interrupted; }

int InterruptFlag::signal() const { return first_signal.load(); }

}  // namespace lumivar::batch
