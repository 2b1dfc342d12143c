#include "runtime/memory_limit.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <clocale>

#include "address_space.h"

namespace lumivar::runtime {
namespace {

TEST(MemoryLimit, AddressSpaceLimitCapsTheAvailableMemory) {
  if (!testing::address_space_can_be_limited()) GTEST_SKIP() << "built with AddressSanitizer";
  const auto unlimited = available_memory_bytes();
  ASSERT_TRUE(unlimited.has_value()) << "this system reports its memory in /proc";
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_AS, &saved), 0);
  // A limit a little above what the process already maps leaves little room.
  rlimit tight = saved;
  tight.rlim_cur = 64ull << 30;
  if (saved.rlim_max != RLIM_INFINITY && saved.rlim_max < tight.rlim_cur) GTEST_SKIP();
  ASSERT_EQ(setrlimit(RLIMIT_AS, &tight), 0);
  const auto limited = available_memory_bytes();
  setrlimit(RLIMIT_AS, &saved);
  ASSERT_TRUE(limited.has_value());
  EXPECT_LT(*limited, 64ull << 30);
  EXPECT_LE(*limited, *unlimited);
}

TEST(MemoryLimit, GigabytesAreWrittenWithAPointInAnyLocale) {
  EXPECT_EQ(gigabytes(12.34e9), "12.3 GB");
  EXPECT_EQ(gigabytes(0), "0.0 GB");
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
    EXPECT_EQ(gigabytes(2.5e9), "2.5 GB");
    std::setlocale(LC_NUMERIC, "C");
  }
}

}  // namespace
}  // namespace lumivar::runtime
