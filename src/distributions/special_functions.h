#pragma once
// The regularized incomplete beta and lower incomplete gamma functions. Every
// special-function call of the program goes through this header, so that one
// error policy holds everywhere: no call throws; an argument outside the
// function's domain, a NaN argument, or any failure inside the evaluation
// (pole, overflow, series that does not converge, rounding, indeterminate
// result) gives NaN. Underflow gives 0 (a probability too small for a double).
// Cost: one series or continued fraction per call. Thread-safe: the only state
// is a per-thread failure flag that each call resets.
#include <cmath>
#include <limits>

#include <boost/math/policies/error_handling.hpp>
#include <boost/math/policies/policy.hpp>

namespace lumivar::distributions::detail {
// Set by the error handlers below, read by the wrappers of this header. Boost
// ignores the value a handler returns in some places (a series that runs out
// of iterations carries on with its partial sum), so the flag, not the
// returned NaN, is what makes every failure a NaN result.
inline thread_local bool special_function_failed = false;
template <class T>
T special_function_error() {
  special_function_failed = true;
  return std::numeric_limits<T>::quiet_NaN();
}
}  // namespace lumivar::distributions::detail

namespace boost::math::policies {
// Boost.Math calls these for every error whose action is `user_error`; the
// program's policy below routes all real failures here. Nothing else in the
// program uses `user_error`.
template <class T>
T user_domain_error(const char*, const char*, const T&) {
  return lumivar::distributions::detail::special_function_error<T>();
}
template <class T>
T user_pole_error(const char*, const char*, const T&) {
  return lumivar::distributions::detail::special_function_error<T>();
}
template <class T>
T user_overflow_error(const char*, const char*, const T&) {
  return lumivar::distributions::detail::special_function_error<T>();
}
template <class T>
T user_evaluation_error(const char*, const char*, const T&) {
  return lumivar::distributions::detail::special_function_error<T>();
}
template <class T, class TargetType>
T user_rounding_error(const char*, const char*, const T&, const TargetType&) {
  return lumivar::distributions::detail::special_function_error<T>();
}
template <class T>
T user_indeterminate_result_error(const char*, const char*, const T&) {
  return lumivar::distributions::detail::special_function_error<T>();
}
}  // namespace boost::math::policies

#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/gamma.hpp>

namespace lumivar::distributions {

namespace detail {
namespace bp = boost::math::policies;
using NanPolicy =
    bp::policy<bp::domain_error<bp::user_error>, bp::pole_error<bp::user_error>,
               bp::overflow_error<bp::user_error>, bp::evaluation_error<bp::user_error>,
               bp::rounding_error<bp::user_error>, bp::indeterminate_result_error<bp::user_error>,
               bp::underflow_error<bp::ignore_error>, bp::denorm_error<bp::ignore_error>>;
}  // namespace detail

// I_z(a, b) = B(z; a, b) / B(a, b), the regularized incomplete beta function,
// with the integration limit first. Defined for 0 <= z <= 1 and finite a > 0,
// b > 0; anything else (a NaN included) gives NaN.
inline double betainc(double z, double a, double b) {
  if (!(z >= 0.0 && z <= 1.0) || !(a > 0.0 && b > 0.0) || !std::isfinite(a) ||
      !std::isfinite(b))
    return std::numeric_limits<double>::quiet_NaN();
  detail::special_function_failed = false;
  const double r = boost::math::ibeta(a, b, z, detail::NanPolicy());
  return detail::special_function_failed ? std::numeric_limits<double>::quiet_NaN() : r;
}

// P(a, z) = gamma(a, z) / Gamma(a), the regularized lower incomplete gamma
// function, with the integration limit first. Defined for z >= 0 (P(a, +Inf)
// = 1) and finite a > 0; anything else (a NaN included) gives NaN.
inline double gammainc(double z, double a) {
  if (!(z >= 0.0) || !(a > 0.0) || !std::isfinite(a))
    return std::numeric_limits<double>::quiet_NaN();
  if (std::isinf(z)) return 1.0;
  detail::special_function_failed = false;
  const double r = boost::math::gamma_p(a, z, detail::NanPolicy());
  return detail::special_function_failed ? std::numeric_limits<double>::quiet_NaN() : r;
}

}  // namespace lumivar::distributions
