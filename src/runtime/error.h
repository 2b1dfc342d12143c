#pragma once
// The one error type of the program. An action lets it propagate; whoever
// invoked the callback (the switchyard, the window runtime, the batch tool)
// catches it and shows its message.
#include <stdexcept>
#include <string>

namespace lumivar::runtime {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// Raises an Error carrying `message`. Every error of the program goes through here.
[[noreturn]] void raise(const std::string& message);

}  // namespace lumivar::runtime
