#include "window/iskeyword.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace lumivar::window {
namespace {

constexpr std::array<std::string_view, 17> kReservedWords = {
    "break",  "case", "catch",     "continue",   "else",   "elseif", "end", "for",  "function",
    "global", "if",   "otherwise", "persistent", "return", "switch", "try", "while"};

}  // namespace

runtime::List iskeyword() {
  std::vector<runtime::Value> words;
  for (std::string_view w : kReservedWords) words.emplace_back(std::string(w));
  return runtime::List(std::move(words));
}

runtime::Value iskeyword(const runtime::Value& s) {
  const bool reserved =
      s.is_text() && std::find(kReservedWords.begin(), kReservedWords.end(),
                               s.text()) != kReservedWords.end();
  return runtime::Value::logical(reserved);
}

}  // namespace lumivar::window
