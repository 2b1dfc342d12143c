#pragma once
// Whether a test may lower the address-space limit (RLIMIT_AS) to play a
// machine short of memory: not under AddressSanitizer, which reserves
// terabytes of address space up front.
namespace lumivar::testing {

constexpr bool address_space_can_be_limited() {
#if defined(__SANITIZE_ADDRESS__)
  return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  return false;
#endif
#endif
  return true;
}

}  // namespace lumivar::testing
