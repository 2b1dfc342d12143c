#include "runtime/progress_relay.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace lumivar::runtime {

namespace {
// How often the real monitors hear that the step still runs while it
// reports nothing.
constexpr std::chrono::milliseconds kHeartbeat{100};
}  // namespace

// One request of a stand-in at a time, answered by the thread in run(): the
// step waits for the answer, so the real monitors hear every report in
// order and a cancel is answered at the report it was made at, as when the
// step ran on the window's thread.
struct ProgressRelay::Shared {
  struct Request {
    enum class Kind { kOpen, kUpdate, kClose } kind = Kind::kOpen;
    std::string title;      // kOpen
    std::size_t slot = 0;   // kUpdate, kClose
    std::size_t done = 0;   // kUpdate
    std::size_t total = 0;  // kUpdate
  };

  // Posts `request` and waits for its answer: the slot opened, or update()'s
  // answer. Without a thread in run() to answer, a stand-in answers itself
  // (nothing shows).
  std::size_t ask(Request request) {
    const std::lock_guard one_at_a_time(asking);
    std::unique_lock lock(mutex);
    if (!relaying) return request.kind == Request::Kind::kOpen ? kNoSlot : 1;
    pending = std::move(request);
    answered = false;
    changed.notify_all();
    changed.wait(lock, [&] { return answered; });
    return answer;
  }

  static constexpr std::size_t kNoSlot = static_cast<std::size_t>(-1);
  std::mutex asking;
  std::mutex mutex;
  std::condition_variable changed;
  std::optional<Request> pending;
  bool answered = false;
  std::size_t answer = 0;
  bool relaying = false;  // a thread is in run()
  bool finished = false;  // the step has ended
};

namespace {

using Shared = ProgressRelay::Shared;
using Request = Shared::Request;

class StandIn : public ProgressMonitor {
 public:
  StandIn(std::shared_ptr<Shared> shared, std::size_t slot) : shared_(std::move(shared)), slot_(slot) {}
  ~StandIn() override {
    if (slot_ != Shared::kNoSlot) shared_->ask({Request::Kind::kClose, {}, slot_});
  }
  bool update(std::size_t done, std::size_t total) override {
    if (slot_ == Shared::kNoSlot) return true;
    return shared_->ask({Request::Kind::kUpdate, {}, slot_, done, total}) != 0;
  }

 private:
  std::shared_ptr<Shared> shared_;
  std::size_t slot_;
};

}  // namespace

ProgressRelay::ProgressRelay(ProgressOpener open_here)
    : shared_(std::make_shared<Shared>()), open_here_(std::move(open_here)) {}

ProgressRelay::~ProgressRelay() = default;

ProgressOpener ProgressRelay::opener() {
  return [shared = shared_](const std::string& title) -> std::unique_ptr<ProgressMonitor> {
    return std::make_unique<StandIn>(shared, shared->ask({Request::Kind::kOpen, title}));
  };
}

StepRunner ProgressRelay::runner() {
  return [this](const std::function<void()>& step) { run(step); };
}

void ProgressRelay::run(const std::function<void()>& step) {
  Shared& shared = *shared_;
  {
    const std::lock_guard lock(shared.mutex);
    shared.relaying = true;
    shared.finished = false;
  }
  std::exception_ptr failure;
  std::thread helper([&] {
    try {
      step();
    } catch (...) {
      failure = std::current_exception();
    }
    const std::lock_guard lock(shared.mutex);
    shared.finished = true;
    shared.changed.notify_all();
  });

  // The real monitors by slot (null: closed, or the opener shows nothing),
  // and whether each was cancelled.
  std::vector<std::unique_ptr<ProgressMonitor>> real;
  std::vector<bool> cancelled;
  std::exception_ptr monitor_failure;
  const auto answer = [&](const Request& r) -> std::size_t {
    switch (r.kind) {
      case Request::Kind::kOpen:
        real.push_back(open_here_ ? open_here_(r.title) : nullptr);
        cancelled.push_back(false);
        return real.size() - 1;
      case Request::Kind::kUpdate:
        if (real[r.slot] && !real[r.slot]->update(r.done, r.total)) cancelled[r.slot] = true;
        return cancelled[r.slot] ? 0 : 1;
      case Request::Kind::kClose:
        real[r.slot].reset();
        return 0;
    }
    return 0;
  };

  std::unique_lock lock(shared.mutex);
  for (;;) {
    shared.changed.wait_for(lock, kHeartbeat, [&] { return shared.pending || shared.finished; });
    if (shared.pending) {
      const Request request = std::move(*shared.pending);
      shared.pending.reset();
      lock.unlock();
      std::size_t a = 0;
      if (monitor_failure) {
        // A real monitor failed: every report is answered with a cancel.
        a = request.kind == Request::Kind::kOpen ? Shared::kNoSlot : 0;
      } else {
        try {
          a = answer(request);
        } catch (...) {
          monitor_failure = std::current_exception();
          a = request.kind == Request::Kind::kOpen ? Shared::kNoSlot : 0;
        }
      }
      lock.lock();
      shared.answer = a;
      shared.answered = true;
      shared.changed.notify_all();
    } else if (shared.finished) {
      break;
    } else if (!monitor_failure) {
      // The step is busy between reports: the real monitors hear that it
      // still runs (and may show themselves, or hear a cancel).
      lock.unlock();
      try {
        for (std::size_t i = 0; i < real.size(); ++i)
          if (real[i] && !real[i]->still_running()) cancelled[i] = true;
      } catch (...) {
        monitor_failure = std::current_exception();
      }
      lock.lock();
    }
  }
  shared.relaying = false;
  lock.unlock();
  helper.join();
  real.clear();
  if (monitor_failure) std::rethrow_exception(monitor_failure);
  if (failure) std::rethrow_exception(failure);
}

}  // namespace lumivar::runtime
