#pragma once
// The one error type of the program. An action lets it propagate; whoever
// invoked the callback (the switchyard, the window runtime, the batch tool)
// catches it and shows its message.
#include <exception>
#include <stdexcept>
#include <string>

namespace lumivar::runtime {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// The user stopped a long action (Cancel in the window, Ctrl-C in the batch
// tool). It ends the action as an Error does, but whoever shows it reports a
// cancel, not a failure.
class Cancelled : public Error {
 public:
  using Error::Error;
};

// Raises an Error carrying `message`. Every error of the program goes through here.
[[noreturn]] void raise(const std::string& message);
// Raises a Cancelled carrying `message` (what was done before the stop).
[[noreturn]] void raise_cancelled(const std::string& message);

// The title under which a caught exception is shown: "Cancelled" for a
// cancel, "Error" for anything else.
std::string error_title(const std::exception& e);
// The text shown for a caught exception: its message, except that running
// out of memory (std::bad_alloc, whose own text means nothing to a user) is
// said in words.
std::string error_text(const std::exception& e);

}  // namespace lumivar::runtime
