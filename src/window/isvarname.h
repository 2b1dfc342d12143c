#pragma once
// Identifiers: what a control's tag must be to enter the handles table.
#include "runtime/value.h"

namespace lumivar::window {

// Longest accepted identifier, in characters.
inline constexpr std::size_t kMaxIdentifierLength = 31;

// Logical: true when `s` is a one-row text of 1 to 31 characters that starts
// with a letter, holds only letters, digits and underscores, and is not a
// reserved word. Any other value (an empty text, a list of texts, a number)
// is false; it never fails.
runtime::Value isvarname(const runtime::Value& s);

}  // namespace lumivar::window
