#include "geometry/by_name.h"

#include <string>

#include "geometry/allpairwiseprocrustes.h"
#include "geometry/centpos.h"
#include "geometry/centsize.h"
#include "geometry/getconsensus.h"
#include "runtime/error.h"

namespace lumivar::geometry {

namespace detail {

const runtime::Matrix& matrix_input(const runtime::Args& args, std::size_t index,
                                    std::string_view function, std::size_t needed) {
  if (index >= args.size()) {
    runtime::raise("The function \"" + std::string(function) + "\" needs " +
                   std::to_string(needed) + " input" + (needed == 1 ? "" : "s") +
                   " but was called with " + std::to_string(args.size()) + ".");
  }
  return args[index].matrix();
}

}  // namespace detail

runtime::FunctionEntry centpos_entry() {
  return {"centpos", 1, 1, [](const runtime::Args& args, int) -> runtime::Results {
            return {centpos(detail::matrix_input(args, 0, "centpos", 1))};
          }};
}

runtime::FunctionEntry centsize_entry() {
  return {"centsize", 1, 1, [](const runtime::Args& args, int) -> runtime::Results {
            return {centsize(detail::matrix_input(args, 0, "centsize", 1))};
          }};
}

runtime::FunctionEntry getconsensus_entry() {
  return {"getconsensus", 1, 2, [](const runtime::Args& args, int) -> runtime::Results {
            Consensus c = getconsensus(detail::matrix_input(args, 0, "getconsensus", 1));
            return {std::move(c.y), std::move(c.xpt)};
          }};
}

runtime::FunctionEntry allpairwiseprocrustes_entry() {
  return {"allpairwiseprocrustes", 1, 1, [](const runtime::Args& args, int) -> runtime::Results {
            return {allpairwiseprocrustes(
                detail::matrix_input(args, 0, "allpairwiseprocrustes", 1))};
          }};
}

}  // namespace lumivar::geometry
