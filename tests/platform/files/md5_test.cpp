#include "platform/files/md5.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

// The test suite of RFC 1321, and lengths around the end of a block (digests by Python's hashlib).
TEST(Md5, DigestsOfTheReferenceSuite) {
  EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(Md5Hex("a"), "0cc175b9c0f1b6a831c399e269772661");
  EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(Md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_EQ(Md5Hex("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
  EXPECT_EQ(Md5Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
            "d174ab98d277d9f5a5611c2c9f419d9f");
  EXPECT_EQ(Md5Hex("1234567890123456789012345678901234567890123456789012345678901234567890"
                   "1234567890"),
            "57edf4a22be3c955ac49da2e2107b67a");
  EXPECT_EQ(Md5Hex(std::string(55, 'x')), "04364420e25c512fd958a70738aa8f72");
  EXPECT_EQ(Md5Hex(std::string(56, 'x')), "668a72d5ba17f08e62dabcafad6db14b");
  EXPECT_EQ(Md5Hex(std::string(64, 'x')), "c1bb4f81d892b2d57947682aeb252456");
}

}  // namespace
}  // namespace brindle
