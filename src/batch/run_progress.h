#pragma once
// What a long "permute" run of the batch tool tells on standard error, so
// that a run far beyond what can finish is seen as such at once:
// - once the first second has shown the pace, the estimated time of the whole
//   run when it is more than a minute;
// - on a terminal, a progress line redrawn a few times a second;
// - otherwise (a log file, a pipe), for a run estimated at more than a
//   minute, a progress line about every ten seconds.
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>

namespace lumivar::batch {

// "45 s", "12 min", "3 h 20 min", "41 days", "1300 years": rounded, for messages.
std::string duration_text(double seconds);

// A progress hook for PermuteSettings::progress writing to `err`. `now`
// gives seconds on a steady clock (tests pass their own).
std::function<void(std::size_t done, std::size_t total)> run_progress(
    std::ostream& err, bool terminal, std::function<double()> now = {});

}  // namespace lumivar::batch
