#pragma once
// The message of the Error that `statement` raises, or "(no error)".
#include <string>

#include "runtime/error.h"

#define LUMIVAR_ERROR_TEXT(statement)         \
  [&]() -> std::string {                      \
    try {                                     \
      statement;                              \
    } catch (const ::lumivar::runtime::Error& e) { \
      return e.what();                        \
    }                                         \
    return "(no error)";                      \
  }()
