// SHA-256 against the published test vectors of the secure hash standard.
#include "runtime/sha256.h"

#include <gtest/gtest.h>

namespace lumivar::runtime {
namespace {

TEST(Sha256, PublishedVectors) {
  EXPECT_EQ(sha256_hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(sha256_hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  // 448 bits: the padding no longer fits in the message's block.
  EXPECT_EQ(sha256_hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  // One million 'a', fed in uneven pieces.
  Sha256 s;
  const std::string piece(997, 'a');
  std::size_t fed = 0;
  for (; fed + piece.size() <= 1000000; fed += piece.size()) s.update(piece);
  s.update(std::string(1000000 - fed, 'a'));
  EXPECT_EQ(s.hex_digest(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  // In one piece (whole blocks straight from the input), and after a
  // partial block.
  EXPECT_EQ(sha256_hex(std::string(1000000, 'a')),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  Sha256 split;
  split.update("a");
  split.update(std::string(999999, 'a'));
  EXPECT_EQ(split.hex_digest(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

}  // namespace
}  // namespace lumivar::runtime
