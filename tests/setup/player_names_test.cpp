#include <gtest/gtest.h>

#include <string>

#include "setup/player_names.hpp"

namespace {

PlayerName name_of(const std::string& text) {
    PlayerName name;
    for (std::size_t i = 0; i < text.size() && i < 32; ++i) name.text[i] = text[i];
    return name;
}

std::string positions_1_to_31(const PlayerName& name) {
    std::string text(name.text.begin(), name.text.begin() + 31);
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

std::string normalised(const std::string& text) {
    PlayerName name = name_of(text);
    normalise_name(name);
    EXPECT_EQ(name.length, 32);
    EXPECT_EQ(name.at(32), ' ');
    return positions_1_to_31(name);
}

TEST(NameNormalisation, CapitalsAtWordStartsAndLowerCaseElsewhere) {
    EXPECT_EQ(normalised("abc-def"), "Abc-Def");
    EXPECT_EQ(normalised("ABC"), "Abc");
    EXPECT_EQ(normalised("mARIE cURIE"), "Marie Curie");
    EXPECT_EQ(normalised("j. test"), "J. Test");
}

TEST(NameNormalisation, CharactersOutsideTheAlphabetBecomeBlanksOrSeparators) {
    EXPECT_EQ(normalised("ab1cd"), "Ab Cd");  // the digit splits the word
    EXPECT_EQ(normalised("ab_cd"), "Ab-Cd");  // "_" is a hyphen
    EXPECT_EQ(normalised("ab:"), "Ab.");      // ":" is a dot
    // After an initial the separator becomes its dot, and the place after a dot a blank;
    // the blank after that is a second separator, so the name ends with the initial.
    EXPECT_EQ(normalised("x_y"), "X.");
    EXPECT_EQ(normalised("a:b"), "A.");
    EXPECT_EQ(normalised("r2d2"), "R.");
}

TEST(NameNormalisation, AnInitialGetsItsDotAndWhatFollowsTheDotIsABlank) {
    EXPECT_EQ(normalised("j test"), "J. Est");
    EXPECT_EQ(normalised("j-k"), "J.");
    EXPECT_EQ(normalised("a. b. cde"), "A. B. Cde");
}

TEST(NameNormalisation, TwoSeparatorsInARowEndTheName) {
    EXPECT_EQ(normalised("ab  cd"), "Ab");
    EXPECT_EQ(normalised("ab -cd"), "Ab");
    EXPECT_EQ(normalised("ab-.cd"), "Ab");
    EXPECT_EQ(normalised("ab--cd"), "Ab");
    // A leading separator counts as the second of two: the name is empty.
    EXPECT_EQ(normalised(" abc"), "");
    EXPECT_EQ(normalised("-abc"), "");
    EXPECT_EQ(normalised("123"), "");
    EXPECT_TRUE([] { PlayerName n = name_of("   "); normalise_name(n); return n.empty(); }());
}

TEST(NameNormalisation, TheEndOfTheFieldIsKeptClear) {
    // A hyphen in position 31 goes.
    EXPECT_EQ(normalised(std::string(30, 'a') + "-"), "A" + std::string(29, 'a'));
    // A separator in position 30 clears positions 30 and 31.
    EXPECT_EQ(normalised(std::string(29, 'a') + " b"), "A" + std::string(28, 'a'));
    EXPECT_EQ(normalised(std::string(29, 'a') + "-b"), "A" + std::string(28, 'a'));
    // Position 32 is always blank and the length byte always 32.
    PlayerName full = name_of(std::string(32, 'z'));
    full.length = 7;
    normalise_name(full);
    EXPECT_EQ(full.length, 32);
    EXPECT_EQ(full.at(32), ' ');
    EXPECT_EQ(positions_1_to_31(full), "Z" + std::string(30, 'z'));
}

TEST(NameNormalisation, IsIdempotent) {
    for (const char* text : {"abc-def", "j. test", "a:b", "x_y", "mARIE cURIE", "q"}) {
        PlayerName once = name_of(text);
        normalise_name(once);
        PlayerName twice = once;
        normalise_name(twice);
        EXPECT_EQ(once, twice) << text;
    }
}

TEST(NameSwap, ExchangesThePositionsAndKeepsTheLastBlank) {
    PlayerName first = name_of("anna");
    PlayerName second = name_of(std::string(32, 'b'));
    normalise_names(first, second, true);
    EXPECT_EQ(positions_1_to_31(first), "B" + std::string(30, 'b'));
    EXPECT_EQ(positions_1_to_31(second), "Anna");
    EXPECT_EQ(first.at(32), ' ');
    EXPECT_EQ(second.at(32), ' ');
}

TEST(NameSwap, WithoutSwapBothAreOnlyNormalised) {
    PlayerName first = name_of("anna");
    PlayerName second = name_of("bob 7");
    normalise_names(first, second, false);
    EXPECT_EQ(positions_1_to_31(first), "Anna");
    EXPECT_EQ(positions_1_to_31(second), "Bob");
}

}  // namespace
