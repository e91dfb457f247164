#include "support/core/Sha256.h"

#include <gtest/gtest.h>

namespace {

// The digests are kept in files and compared by later runs: they must be SHA-256 itself.
TEST(Sha256, GivesTheStandardDigests)
{
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256(std::string("a\0b", 3)).size(), 32u);
    EXPECT_NE(Sha256(std::string("a\0b", 3)), Sha256("a"));
}

}  // namespace
