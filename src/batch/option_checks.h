#pragma once
// The rules for the values of the batch tool's options, checked before any
// file is read: the command line refuses a value that breaks them at once,
// and run() checks again for callers that fill a CommandLine themselves.
// Each problem is one text that names the option.
#include <optional>
#include <string>
#include <string_view>

namespace lumivar::batch {

struct CommandLine;

inline constexpr std::string_view kPermutationsRule = "must be one whole number of at least 0";
// More threads than cores are capped at the cores; this only keeps the
// number one that an int holds and a person means.
inline constexpr int kMaxThreads = 4096;
inline constexpr std::string_view kThreadsRule = "must be a whole number from 0 (all cores) to 4096";

// "" when `text` is a number of relabellings (as the window's box takes
// it: blanks around it, "1e3" and "7.0" are whole), else the rule.
std::string permutations_problem(const std::string& text);
// "" when `text` is digits only and at most kMaxThreads, else the rule.
std::string threads_problem(const std::string& text);

inline constexpr std::string_view kMagnificationRule = "must be a number above 0";
// "" when `text` is a finite number above 0, else the rule.
std::string magnification_problem(const std::string& text);

// The first problem of the options of `opts` for a permutation run ("permute"
// or "strata") that reading no file can find, with the option's name first;
// none when there is none.
std::optional<std::string> permute_options_problem(const CommandLine& opts);

}  // namespace lumivar::batch
