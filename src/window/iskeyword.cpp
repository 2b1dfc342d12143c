#include "window/iskeyword.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace lumivar::window {
namespace detail {

constexpr std::array<std::string_view, 17> kReservedWords = {
    "break",  "case", "catch",     "continue",   "else",   "elseif", "end", "for",  "function",
    "global", "if",   "otherwise", "persistent", "return", "switch", "try", "while"};

}  // namespace detail

runtime::List iskeyword() {
  std::vector<runtime::Value> words;
  for (std::string_view w : detail::kReservedWords) words.emplace_back(std::string(w));
  return runtime::List(std::move(words));
}

runtime::Value iskeyword(const runtime::Value& s) {
  const bool reserved =
      s.is_text() && std::find(detail::kReservedWords.begin(), detail::kReservedWords.end(),
                               s.text()) != detail::kReservedWords.end();
  return runtime::Value::logical(reserved);
}

}  // namespace lumivar::window
