#include "runtime/error.h"

#include <new>

namespace lumivar::runtime {

void raise(const std::string& message) { throw Error(message); }

void raise_cancelled(const std::string& message) { throw Cancelled(message); }

std::string error_title(const std::exception& e) {
  return dynamic_cast<const Cancelled*>(&e) != nullptr ? "Cancelled" : "Error";
}

std::string error_text(const std::exception& e) {
  if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr)
    return "Out of memory: the system could not give this step the memory it needs, so the "
           "step was stopped. Close other programs or analyse a smaller study.";
  return e.what();
}

}  // namespace lumivar::runtime
