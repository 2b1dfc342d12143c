#pragma once
// The balance warnings of one column of codes, capped: a column with
// thousands of odd codes would otherwise open thousands of windows.
#include <cstddef>
#include <functional>
#include <string>

#include "runtime/window_runtime.h"

namespace lumivar::input {

inline constexpr std::size_t kMaxMismatchBoxes = 20;

// Shows box(k) for k = 0 .. min(count, kMaxMismatchBoxes) - 1, titled
// `title`; when count is larger, one more box with more(count -
// kMaxMismatchBoxes), the number of codes not shown.
void show_mismatch_boxes(runtime::WindowRuntime& ui, const std::string& title, std::size_t count,
                         const std::function<std::string(std::size_t)>& box,
                         const std::function<std::string(std::size_t)>& more);

}  // namespace lumivar::input
