#pragma once
// The message of the error a call raises, or "no error".
#include <exception>
#include <string>

namespace lumivar::window::testing {

template <class F>
std::string error_text(F&& call) {
  try {
    call();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "no error";
}

}  // namespace lumivar::window::testing
