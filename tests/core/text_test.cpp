#include <gtest/gtest.h>

#include "core/text.hpp"

namespace {

TEST(Text, TrailingBlanksGoInnerBlanksStay) {
    EXPECT_EQ(without_trailing_blanks("Anna Maria   "), "Anna Maria");
    EXPECT_EQ(without_trailing_blanks("  a"), "  a");
    EXPECT_EQ(without_trailing_blanks("     "), "");
    EXPECT_EQ(without_trailing_blanks(""), "");
}

TEST(Text, PaddedCutsOrFillsToTheWidth) {
    EXPECT_EQ(padded("abc", 5), "abc  ");
    EXPECT_EQ(padded("abcdef", 4), "abcd");
    EXPECT_EQ(join({"|", padded("", 2), "|"}), "|  |");
}

}  // namespace
