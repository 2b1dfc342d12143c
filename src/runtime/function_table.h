#pragma once
// The table of functions callable by name: {name, declared inputs, declared
// outputs, function}. Callbacks of the window, the switchyard of the window
// function and the command line all call through it. A declared count of -1
// means any number, -2 one fixed argument and then any number. A call with
// more inputs or outputs than declared is refused with the program's fixed
// run-time error text.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/value.h"

namespace lumivar::runtime {

using Args = std::vector<Value>;
using Results = std::vector<Value>;
// `nargout` is the number of results the caller asks for (0 or more); a
// function may return more values than asked, the table trims them.
using NamedFunction = std::function<Results(const Args& args, int nargout)>;

struct FunctionEntry {
  std::string name;
  int inputs;
  int outputs;
  NamedFunction fn;
};

constexpr int kAnyNumber = -1;
constexpr int kOneThenAny = -2;

// "Run-time Error: File: <file> Line: <line> Column: 1 The function "<name>"
// was called with more than the declared number of inputs (<n>)." (or outputs).
std::string too_many_arguments_text(std::string_view file, int line, std::string_view name,
                                    bool outputs, int declared);
// Raises the text above when `given` exceeds `declared` (a negative declared
// count accepts any number).
void check_argument_count(std::string_view name, int declared, std::size_t given, bool outputs,
                          std::string_view file = {}, int line = 1);

// The table refuses too many arguments; a function given too few refuses
// them through these, with one text: "Not enough input arguments.".
void require_inputs(const Args& args, std::size_t least);
// Argument `index` (0-based), refusing a call that has fewer.
const Value& input(const Args& args, std::size_t index);

class FunctionTable {
 public:
  void add(FunctionEntry entry);
  const FunctionEntry* find(std::string_view name) const;
  bool contains(std::string_view name) const { return find(name) != nullptr; }
  // Checks both counts, calls, and returns at most max(nargout, 1) results.
  // An unknown name raises "Undefined function '<name>'.".
  Results call(std::string_view name, const Args& args, int nargout) const;
  const std::vector<FunctionEntry>& entries() const { return entries_; }

 private:
  std::vector<FunctionEntry> entries_;
};

}  // namespace lumivar::runtime
