#pragma once
// The reserved words, which no identifier (and so no registry tag) may be.
#include "runtime/value.h"

namespace lumivar::window {

// The 17 reserved words in their fixed order, as a 17x1 list of texts.
runtime::List iskeyword();
// Logical: true when `s` is a text equal, as a whole and case-sensitively, to
// one of the reserved words. A value of any other kind is false.
runtime::Value iskeyword(const runtime::Value& s);

}  // namespace lumivar::window
