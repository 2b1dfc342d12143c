#include "partition/by_name.h"

#include "geometry/by_name.h"
#include "partition/getssgroup.h"
#include "partition/getsstotal.h"

namespace lumivar::partition {

using geometry::detail::matrix_input;

namespace {

double scalar_input(const runtime::Args& args, std::size_t index, std::string_view function,
                    std::size_t needed) {
  matrix_input(args, index, function, needed);
  return args[index].scalar();
}

}  // namespace

runtime::FunctionEntry getsstotal_entry() {
  return {"getsstotal", 2, 1, [](const runtime::Args& args, int) -> runtime::Results {
            const auto& d = matrix_input(args, 0, "getsstotal", 2);
            return {getsstotal(d, scalar_input(args, 1, "getsstotal", 2))};
          }};
}

runtime::FunctionEntry getssgroup_entry() {
  return {"getssgroup", 3, 1, [](const runtime::Args& args, int) -> runtime::Results {
            const auto& d = matrix_input(args, 0, "getssgroup", 3);
            const auto& group = matrix_input(args, 1, "getssgroup", 3);
            return {getssgroup(d, group, scalar_input(args, 2, "getssgroup", 3))};
          }};
}

}  // namespace lumivar::partition
