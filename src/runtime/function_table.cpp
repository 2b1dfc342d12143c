#include "runtime/function_table.h"

#include "runtime/error.h"

namespace lumivar::runtime {

std::string too_many_arguments_text(std::string_view file, int line, std::string_view name,
                                    bool outputs, int declared) {
  std::string f(file.empty() ? name : file);
  return "Run-time Error: File: " + f + " Line: " + std::to_string(line) +
         " Column: 1 The function \"" + std::string(name.empty() ? file : name) +
         "\" was called with more than the declared number of " +
         (outputs ? "outputs" : "inputs") + " (" + std::to_string(declared) + ").";
}

void check_argument_count(std::string_view name, int declared, std::size_t given, bool outputs,
                          std::string_view file, int line) {
  if (declared < 0) return;
  if (given > static_cast<std::size_t>(declared))
    raise(too_many_arguments_text(file.empty() ? name : file, line, name, outputs, declared));
}

void require_inputs(const Args& args, std::size_t least) {
  if (args.size() < least) raise("Not enough input arguments.");
}

const Value& input(const Args& args, std::size_t index) {
  require_inputs(args, index + 1);
  return args[index];
}

void FunctionTable::add(FunctionEntry entry) {
  for (auto& e : entries_) {
    if (e.name == entry.name) {
      e = std::move(entry);
      return;
    }
  }
  entries_.push_back(std::move(entry));
}

const FunctionEntry* FunctionTable::find(std::string_view name) const {
  for (const auto& e : entries_)
    if (e.name == name) return &e;
  return nullptr;
}

Results FunctionTable::call(std::string_view name, const Args& args, int nargout) const {
  const FunctionEntry* e = find(name);
  if (e == nullptr) raise("Undefined function '" + std::string(name) + "'.");
  check_argument_count(e->name, e->inputs, args.size(), false);
  check_argument_count(e->name, e->outputs, static_cast<std::size_t>(nargout < 0 ? 0 : nargout),
                       true);
  Results r = e->fn(args, nargout);
  const std::size_t keep = static_cast<std::size_t>(nargout < 1 ? 1 : nargout);
  if (r.size() > keep) r.resize(keep);
  return r;
}

}  // namespace lumivar::runtime
