#pragma once
// What a refused call says: the text of the runtime::Error it raises.
#include <gtest/gtest.h>

#include <string>

#include "runtime/error.h"

namespace lumivar::testing {

// The message of the Error that `call()` raises, or "no error" when it returns.
template <class F>
std::string error_message(F&& call) {
  try {
    call();
  } catch (const runtime::Error& e) {
    return e.what();
  }
  return "no error";
}

}  // namespace lumivar::testing

// Expects `statement` to raise a runtime::Error whose message is exactly `text`.
#define EXPECT_ERROR_MSG(statement, text) \
  EXPECT_EQ(::lumivar::testing::error_message([&] { statement; }), (text))
