// The hash every replay verdict rests on: 64-bit FNV-1a, checked against the
// published values, whole or added in pieces.

#include <gtest/gtest.h>

#include <cstring>

#include "checksum.h"

namespace {

std::uint64_t hashOf(const char* text)
{
    Checksum sum;
    sum.add(text, std::strlen(text));
    return sum.value();
}

}  // namespace

TEST(Checksum, GivesThePublishedFnv1aValues)
{
    EXPECT_EQ(hashOf(""), 0xcbf29ce484222325ull);
    EXPECT_EQ(hashOf("a"), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(hashOf("foobar"), 0x85944171f73967e8ull);

    Checksum pieces;
    pieces.add("foo", 3);
    pieces.add("", 0);
    pieces.addValue('b');
    pieces.add("ar", 2);
    EXPECT_EQ(pieces.value(), hashOf("foobar"));
}
