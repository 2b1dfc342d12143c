#include "window/isvarname.h"

#include <algorithm>
#include <cctype>

#include "window/iskeyword.h"

namespace lumivar::window {

runtime::Value isvarname(const runtime::Value& s) {
  // A text value is always one row; the empty text has none.
  if (!s.is_text() || s.text().empty() || s.text().size() > kMaxIdentifierLength)
    return runtime::Value::logical(false);
  const std::string& t = s.text();
  // Letters by the C locale's letter test; digits by character code.
  auto is_letter = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; };
  const bool shaped = is_letter(t.front()) && std::all_of(t.begin(), t.end(), [&](char c) {
                        return is_letter(c) || c == '_' || (c >= '0' && c <= '9');
                      });
  return runtime::Value::logical(shaped && iskeyword(s).scalar() == 0.0);
}

}  // namespace lumivar::window
