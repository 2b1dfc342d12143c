// Steps beside the window's thread: what the step reports reaches the real
// monitors on the caller's thread, in order; a cancel there is answered at
// the report it was made at; the monitors hear that a busy step still runs;
// failures come back to the caller.
#include "runtime/progress_relay.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "runtime/error.h"
#include "runtime/progress_on_demand.h"

namespace lumivar::runtime {
namespace {

// What the real monitors heard, with the thread each call came on.
struct Log {
  std::vector<std::string> events;
  std::vector<std::thread::id> threads;
  void add(std::string e) {
    events.push_back(std::move(e));
    threads.push_back(std::this_thread::get_id());
  }
};

class RecordingMonitor : public ProgressMonitor {
 public:
  RecordingMonitor(Log& log, std::string title, int cancel_at, std::atomic<int>* heartbeats)
      : log_(log), title_(std::move(title)), cancel_at_(cancel_at), heartbeats_(heartbeats) {
    log_.add("open " + title_);
  }
  ~RecordingMonitor() override { log_.add("close " + title_); }
  bool update(std::size_t done, std::size_t total) override {
    log_.add(title_ + " " + std::to_string(done) + "/" + std::to_string(total));
    return static_cast<int>(done) != cancel_at_;
  }
  bool still_running() override {
    if (heartbeats_ != nullptr) ++*heartbeats_;
    return true;
  }

 private:
  Log& log_;
  std::string title_;
  int cancel_at_;
  std::atomic<int>* heartbeats_;
};

ProgressOpener recording(Log& log, int cancel_at = -1, std::atomic<int>* heartbeats = nullptr) {
  return [&log, cancel_at, heartbeats](const std::string& title) {
    return std::make_unique<RecordingMonitor>(log, title, cancel_at, heartbeats);
  };
}

TEST(ProgressRelay, ReportsReachTheCallersMonitorsInOrderWhileTheStepRunsElsewhere) {
  Log log;
  ProgressRelay relay(recording(log));
  const ProgressOpener open = relay.opener();
  std::thread::id step_thread;
  std::vector<bool> answers;
  relay.run([&] {
    step_thread = std::this_thread::get_id();
    auto first = open("Superimposition");
    answers.push_back(first->update(1, 3));
    answers.push_back(first->update(3, 3));
    first.reset();
    auto second = open("Distance matrix");
    answers.push_back(second->update(10, 10));
  });
  EXPECT_NE(step_thread, std::this_thread::get_id());
  EXPECT_EQ(log.events, (std::vector<std::string>{"open Superimposition", "Superimposition 1/3",
                                                  "Superimposition 3/3", "close Superimposition",
                                                  "open Distance matrix", "Distance matrix 10/10",
                                                  "close Distance matrix"}));
  for (const std::thread::id id : log.threads) EXPECT_EQ(id, std::this_thread::get_id());
  EXPECT_EQ(answers, (std::vector<bool>{true, true, true}));
}

TEST(ProgressRelay, ACancelIsAnsweredAtItsReportAndTheStepsCancelComesBack) {
  Log log;
  ProgressRelay relay(recording(log, /*cancel_at=*/2));
  const ProgressOpener open = relay.opener();
  int reports = 0;
  EXPECT_THROW(relay.run([&] {
                 auto monitor = open("Permutation test");
                 for (std::size_t done = 1; done <= 5; ++done) {
                   ++reports;
                   if (!monitor->update(done, 5)) raise_cancelled("cancelled after " + std::to_string(done));
                 }
               }),
               Cancelled);
  EXPECT_EQ(reports, 2);  // stopped at the report that was cancelled
  EXPECT_EQ(log.events.back(), "close Permutation test");
}

TEST(ProgressRelay, MonitorsHearThatABusyStepStillRuns) {
  Log log;
  std::atomic<int> heartbeats{0};
  ProgressRelay relay(recording(log, -1, &heartbeats));
  const ProgressOpener open = relay.opener();
  relay.run([&] {
    auto monitor = open("Distance matrix");
    monitor->update(0, 4);
    // One long batch: the caller's thread keeps the monitor alive meanwhile.
    while (heartbeats.load() < 3) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    monitor->update(4, 4);
  });
  EXPECT_GE(heartbeats.load(), 3);
  EXPECT_EQ(log.events.size(), 4u);  // heartbeats add no reports
}

TEST(ProgressRelay, FailuresComeBackToTheCaller) {
  Log log;
  ProgressRelay relay(recording(log));
  EXPECT_THROW(relay.run([] { throw std::runtime_error("the step failed"); }), std::runtime_error);

  // A monitor that fails: the step hears a cancel, and the monitor's failure
  // is what the caller gets.
  ProgressRelay failing([](const std::string&) -> std::unique_ptr<ProgressMonitor> {
    throw std::invalid_argument("no display");
  });
  const ProgressOpener open = failing.opener();
  bool went_on = true;
  EXPECT_THROW(failing.run([&] {
                 auto monitor = open("Superimposition");
                 went_on = monitor->update(1, 2);
               }),
               std::invalid_argument);
  EXPECT_TRUE(went_on);  // nothing opened, so nothing to cancel: the step ran to its end

  // Outside run() nothing shows and the stand-ins answer themselves.
  const ProgressOpener idle = relay.opener();
  EXPECT_TRUE(idle("Superimposition")->update(1, 2));
  EXPECT_EQ(log.events.size(), 0u);
}

TEST(ProgressOnDemand, OpensAtTheFirstReportClosesWhenDoneAndPassesACancelOn) {
  Log log;
  const auto report = progress_on_demand(recording(log, /*cancel_at=*/5), "Distance matrix");
  EXPECT_TRUE(log.events.empty());  // nothing shows before the first report
  EXPECT_TRUE(report(1, 2));
  EXPECT_TRUE(report(2, 2));
  EXPECT_FALSE(report(5, 9));  // a second run opens afresh; its cancel comes back
  EXPECT_EQ(log.events, (std::vector<std::string>{"open Distance matrix", "Distance matrix 1/2",
                                                  "Distance matrix 2/2", "close Distance matrix",
                                                  "open Distance matrix", "Distance matrix 5/9"}));
  // Without an opener nothing shows and nothing is cancelled.
  EXPECT_TRUE(progress_on_demand({}, "Distance matrix")(1, 2));
}

}  // namespace
}  // namespace lumivar::runtime
