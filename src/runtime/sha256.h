#pragma once
// SHA-256 (FIPS 180-4), for naming the exact bytes an input was read from
// (the reader feeds it while it reads; see file_lines.h).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumivar::runtime {

class Sha256 {
 public:
  Sha256();
  // Adds bytes; any number of calls, any lengths.
  void update(std::string_view bytes);
  // The digest as 64 lower-case hex digits. Call once, after the last update.
  std::string hex_digest();

 private:
  void compress(const std::uint8_t* block);

  std::array<std::uint32_t, 8> h_;
  std::array<std::uint8_t, 64> buffer_{};
  std::size_t buffered_ = 0;
  std::uint64_t length_ = 0;  // bytes so far
};

std::string sha256_hex(std::string_view bytes);

}  // namespace lumivar::runtime
