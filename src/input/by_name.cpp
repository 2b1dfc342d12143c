#include "input/by_name.h"

#include "input/dload.h"
#include "input/getcodecount.h"
#include "input/mergegroups.h"
#include "input/mfload.h"
#include "runtime/error.h"

namespace lumivar::input {

using runtime::Args;
using runtime::Results;
using runtime::Value;

runtime::FunctionEntry mfload_entry(runtime::WindowRuntime& ui) {
  return {"mfload", 1, 2, [&ui](const Args&, int) -> Results {
            ChosenFile f = mfload(ui);
            switch (f.status) {
              case ChosenFile::Status::kCancelled: return {Value(), Value(0.0)};
              case ChosenFile::Status::kCannotOpen:
              case ChosenFile::Status::kNotRegular: return {Value(-1.0), Value(f.fn)};
              case ChosenFile::Status::kEmpty: runtime::raise(nothing_loaded_text(f));
              case ChosenFile::Status::kOk: break;
            }
            return {Value(std::move(f.y)), Value(f.fn)};
          }};
}

runtime::FunctionEntry dload_entry() {
  return {"dload", 1, 1, [](const Args& args, int) -> Results {
            return {Value(dload(runtime::input(args, 0).text()))};
          }};
}

runtime::FunctionEntry getcodecount_entry(runtime::WindowRuntime& ui) {
  return {"getcodecount", 1, 1, [&ui](const Args& args, int) -> Results {
            return {Value(getcodecount(ui, runtime::input(args, 0).matrix()))};
          }};
}

runtime::FunctionEntry mergegroups_entry() {
  return {"mergegroups", 2, 1, [](const Args& args, int) -> Results {
            return {Value(mergegroups(runtime::input(args, 0).matrix(),
                                      runtime::input(args, 1).matrix()))};
          }};
}

}  // namespace lumivar::input
