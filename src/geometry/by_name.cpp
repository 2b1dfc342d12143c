#include "geometry/by_name.h"

#include "geometry/allpairwiseprocrustes.h"
#include "geometry/centpos.h"
#include "geometry/centsize.h"
#include "geometry/getconsensus.h"
#include "runtime/function_table.h"

namespace lumivar::geometry {

runtime::FunctionEntry centpos_entry() {
  return {"centpos", 1, 1, [](const runtime::Args& args, int) -> runtime::Results {
            return {centpos(runtime::input(args, 0).matrix())};
          }};
}

runtime::FunctionEntry centsize_entry() {
  return {"centsize", 1, 1, [](const runtime::Args& args, int) -> runtime::Results {
            return {centsize(runtime::input(args, 0).matrix())};
          }};
}

runtime::FunctionEntry getconsensus_entry() {
  return {"getconsensus", 1, 2, [](const runtime::Args& args, int) -> runtime::Results {
            Consensus c = getconsensus(runtime::input(args, 0).matrix());
            return {std::move(c.y), std::move(c.xpt)};
          }};
}

runtime::FunctionEntry allpairwiseprocrustes_entry() {
  return {"allpairwiseprocrustes", 1, 1, [](const runtime::Args& args, int) -> runtime::Results {
            return {allpairwiseprocrustes(
                runtime::input(args, 0).matrix())};
          }};
}

}  // namespace lumivar::geometry
