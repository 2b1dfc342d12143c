#include "distributions/by_name.h"

#include "distributions/chi2cdf.h"
#include "distributions/distchck.h"
#include "distributions/fcdf.h"
#include "distributions/gamcdf.h"
#include "runtime/error.h"

namespace lumivar::distributions {

using runtime::Args;
using runtime::Matrix;
using runtime::Results;

namespace {

// `nparms` counts only through the test nparms == 1, which for a matrix holds
// when it is non-empty and every element is 1.
double nparms_of(const Matrix& m) {
  if (m.empty()) return 0;
  for (double v : m.values())
    if (v != 1) return 0;
  return 1;
}

}  // namespace

runtime::FunctionEntry fcdf_entry() {
  return {"fcdf", 3, 1, [](const Args& args, int) -> Results {
            if (args.size() < 3) runtime::raise("Requires three input arguments.");
            return {fcdf(args[0].matrix(), args[1].matrix(), args[2].matrix())};
          }};
}

runtime::FunctionEntry chi2cdf_entry() {
  return {"chi2cdf", 2, 1, [](const Args& args, int) -> Results {
            if (args.size() < 2) runtime::raise("Requires two input arguments.");
            return {chi2cdf(args[0].matrix(), args[1].matrix())};
          }};
}

runtime::FunctionEntry gamcdf_entry() {
  return {"gamcdf", 3, 1, [](const Args& args, int) -> Results {
            if (args.size() < 2) runtime::raise("Requires at least two input arguments.");
            const Matrix b = args.size() < 3 ? Matrix::scalar(1) : args[2].matrix();
            return {gamcdf(args[0].matrix(), args[1].matrix(), b)};
          }};
}

runtime::FunctionEntry distchck_entry() {
  return {"distchck", runtime::kOneThenAny, runtime::kOneThenAny,
          [](const Args& args, int nargout) -> Results {
            runtime::require_inputs(args, 1);
            std::vector<Matrix> rest;
            for (std::size_t i = 1; i < args.size(); ++i) rest.push_back(args[i].matrix());
            // The number of arguments examined follows the results asked for.
            const std::size_t n = nargout > 1 ? static_cast<std::size_t>(nargout - 1) : 0;
            const DistchckResult r = distchck(nparms_of(args[0].matrix()), rest, n);
            Results out{Matrix::scalar(r.errorcode)};
            for (const Matrix& m : r.args) out.emplace_back(m);
            return out;
          }};
}

}  // namespace lumivar::distributions
