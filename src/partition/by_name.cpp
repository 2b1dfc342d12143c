#include "partition/by_name.h"

#include "partition/getssgroup.h"
#include "partition/getsstotal.h"
#include "runtime/function_table.h"

namespace lumivar::partition {

runtime::FunctionEntry getsstotal_entry() {
  return {"getsstotal", 2, 1, [](const runtime::Args& args, int) -> runtime::Results {
            const auto& d = runtime::input(args, 0).matrix();
            return {getsstotal(d, runtime::input(args, 1).scalar())};
          }};
}

runtime::FunctionEntry getssgroup_entry() {
  return {"getssgroup", 3, 1, [](const runtime::Args& args, int) -> runtime::Results {
            const auto& d = runtime::input(args, 0).matrix();
            const auto& group = runtime::input(args, 1).matrix();
            return {getssgroup(d, group, runtime::input(args, 2).scalar())};
          }};
}

}  // namespace lumivar::partition
