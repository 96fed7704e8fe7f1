#include "guesser/opening.hpp"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <sstream>
#include <string>

#include "core/random.hpp"
#include "core/signs.hpp"

namespace {

// The printed patterns for n = 2..9 as runs of c: without repetition, with repetition.
const std::array<std::array<std::string, 2>, 8> kPrinted = {{
    {"2–36: ab", "2: aa or ab at random, equal chances; 3–36: ab"},
    {"2–4: aab; 5–36: abc", "2–3: aab; 4–36: abc"},
    {"2–3: aaab; 4–5: aabb; 6: abcd; 7: aabc; 8–18: abcd; 19: aabc; 20–36: abcd",
     "2–3: aaab; 4–5: aabc; 6: aabb; 7–11: abcd; 12: aabc; 13: abcd; 14: aabc; 15: abcd; 16: "
     "aabc; 17–36: abcd"},
    {"2: aaaab; 3–4: aaabc; 5: abcde; 6: aaabc; 7: aaabb; 8: aabcd; 9: aabbc; 10: abcde; 11–12: "
     "aabcd; 13–20: abcde; 21–29: aabcd; 30–36: abcde",
     "2: aaaab; 3–4: aaabc; 5: aabbc; 6: aabcd; 7: aabbc; 8–10: aabcd; 11–20: abcde; 21–26: "
     "aabcd; 27–36: abcde"},
    {"2: aaaaab; 3: aaaabc; 4: aaabbc; 5: aabbcc; 6: abcdef; 7: aabbcc; 8: aaabbb; 9: aaabcd; 10: "
     "abcdef; 11–12: aabcde; 13: abcdef; 14: aabcde; 15: abcdef; 16–18: aabcde; 19–30: abcdef; "
     "31–34: aabcde; 35–36: abcdef",
     "2: aaaaab; 3: aaaabc; 4: aaabbc; 5: aabbcc; 6: aaabbc; 7–9: aabbcc; 10–12: aabbcd; 13–15: "
     "aabcde; 16–27: abcdef; 28–31: aabcde; 32–36: abcdef"},
    {"2: aaaaaab; 3: aaaabbc; 4–5: aaabbcc; 6: aabbccd; 7: abcdefg; 8: aaabbcd; 9: aabcdef; 10: "
     "aaabcde; 11: aaaabcd; 12: aaaabbc; 13: aaabcde; 14: abcdefg; 15–16: aabcdef; 17–21: "
     "abcdefg; 22–24: aabcdef; 25–36: abcdefg",
     "2: aaaaaab; 3: aaaabbc; 4–5: aaabbcc; 6: aabbccd; 7: aaabbbc; 8: aaabbcc; 9: aabbccd; 10: "
     "aabbcde; 11–13: aabbccd; 14–15: abcdefg; 16–17: aabbcde; 18–21: aabcdef; 22–33: abcdefg; "
     "34–35: aabbcde; 36: abcdefg"},
    {"2: aaaaaabb; 3: aaaaabbc; 4: aaaabbcd; 5: aaaabbbb; 6: aaabbbcc; 7: aaabbbcd; 8: abcdefgh; "
     "9: aabbccdd; 10: aaaabbbc; 11: aaabbcde; 12: aaaabbcd; 13: aaabcdef; 14: abcdefgh; 15–16: "
     "aabcdefg; 17–19: abcdefgh; 20–21: aabcdefg; 22–26: abcdefgh; 27: aaabcdef; 28: abcdefgh; "
     "29–32: aabcdefg; 33–36: abcdefgh",
     "2: aaaaaabb; 3: aaaaabbc; 4: aaaabbcd; 5: aaaabbbb; 6: aaabbbcc; 7: aaabbbcd; 8–11: "
     "aabbccdd; 12: aabbccde; 13–15: aabbccdd; 16–17: aabcdefg; 18: aabbccde; 19–21: abcdefgh; "
     "22–24: aabbcdef; 25–28: aabcdefg; 29–36: abcdefgh"},
    {"2: aaaaaaabb; 3: aaaaaabbc; 4: aaaaabbcd; 5: aaaabbbbc; 6–7: aaabbbccc; 8: aaabbccde; 9: "
     "abcdefghi; 10: aaaabbcde; 11: aaabcdefg; 12: aaaabbcde; 13: aaaaabcde; 14: aaabcdefg; 15: "
     "aaaabcdef; 16: aaaaabcde; 17: aaabcdefg; 18: abcdefghi; 19–20: aabcdefgh; 21–22: "
     "abcdefghi; 23: aaabcdefg; 24: abcdefghi; 25–27: aabcdefgh; 28–34: abcdefghi; 35: "
     "aaabcdefg; 36: abcdefghi",
     "2: aaaaaaabb; 3: aaaaaabbc; 4: aaaaabbcd; 5: aaaabbbbc; 6–7: aaabbbccc; 8: aaabbccde; 9: "
     "aaabbbccd; 10–12: aaabbccdd; 13–15: aabbccdde; 16–17: aabbccdef; 18: abcdefghi; 19–20: "
     "aabbcdefg; 21–23: aabcdefgh; 24–28: abcdefghi; 29–31: aabbcdefg; 32–36: aabcdefgh"},
}};

const std::string kDrawn = "aa or ab at random, equal chances";

// Pattern per sign count c = 2..36.
std::map<int, std::string> expand(const std::string& cell) {
    std::map<int, std::string> patterns;
    std::istringstream in(cell);
    std::string run;
    while (std::getline(in, run, ';')) {
        if (run.front() == ' ') run.erase(0, 1);
        const std::size_t colon = run.find(':');
        const std::string range = run.substr(0, colon);
        const std::size_t dash = range.find("–");
        const int first = std::stoi(range);
        const int last = dash == std::string::npos ? first : std::stoi(range.substr(dash + 3));
        for (int c = first; c <= last; ++c) patterns[c] = run.substr(colon + 2);
    }
    EXPECT_EQ(patterns.size(), 35u) << cell;
    return patterns;
}

TEST(OpeningPattern, EveryLengthSignCountAndRepetitionAsPrinted) {
    Random random(7);
    for (int n = 2; n <= 9; ++n) {
        for (const bool repetition : {false, true}) {
            for (const auto& [c, printed] : expand(kPrinted[n - 2][repetition ? 1 : 0])) {
                if (printed == kDrawn) continue;  // checked below
                ASSERT_EQ(static_cast<int>(printed.size()), n) << printed;
                EXPECT_EQ(opening_pattern(n, c, repetition, false, random), printed)
                    << "n " << n << " c " << c << " repetition " << repetition;
            }
        }
    }
}

TEST(OpeningPattern, VacantFlagPutsABlankLastOverTwoSigns) {
    Random random(7);
    const std::array<std::string, 6> printed = {"aaa*",    "aaab*",    "aaaab*",
                                                "aaaaab*", "aaaaaab*", "aaaaaaab*"};
    for (int n = 4; n <= 9; ++n)
        for (const bool repetition : {false, true})
            EXPECT_EQ(opening_pattern(n, 2, repetition, true, random), printed[n - 4]) << n;
    EXPECT_EQ(opening_pattern(2, 2, false, true, random), "ab");
    EXPECT_EQ(opening_pattern(3, 2, false, true, random), "aab");
    EXPECT_EQ(opening_pattern(3, 2, true, true, random), "aab");
}

TEST(OpeningPattern, VacantFlagChangesNothingFromThreeSigns) {
    Random random(7);
    for (int n = 2; n <= 9; ++n)
        for (int c = 3; c <= 36; ++c)
            for (const bool repetition : {false, true})
                EXPECT_EQ(opening_pattern(n, c, repetition, true, random),
                          opening_pattern(n, c, repetition, false, random))
                    << n << " " << c;
}

TEST(OpeningPattern, TwoSignsOfLengthTwoWithRepetitionAreDrawn) {
    Random random(99);
    Random same_seed(99);
    int aa = 0;
    int ab = 0;
    for (int draw = 0; draw < 2000; ++draw) {
        const bool zero_drawn = same_seed.uniform(2) == 0;
        const std::string pattern = opening_pattern(2, 2, true, draw % 2 == 0, random);
        EXPECT_EQ(pattern, zero_drawn ? "aa" : "ab");
        (pattern == "aa" ? aa : ab) += 1;
    }
    EXPECT_GT(aa, 850);
    EXPECT_GT(ab, 850);
}

TEST(OpeningPattern, FixedPatternsDrawNothing) {
    Random random(5);
    Random untouched(5);
    opening_pattern(2, 2, false, false, random);
    opening_pattern(2, 3, true, false, random);
    opening_pattern(6, 10, true, false, random);
    opening_pattern(5, 2, true, true, random);
    EXPECT_EQ(random.next(), untouched.next());
}

TEST(OpeningPattern, OutsideTheTableIsEmpty) {
    Random random(5);
    EXPECT_EQ(opening_pattern(1, 5, false, false, random), "");
    EXPECT_EQ(opening_pattern(10, 5, false, false, random), "");
    EXPECT_EQ(opening_pattern(4, 1, false, false, random), "");
    EXPECT_EQ(opening_pattern(4, 37, false, false, random), "");
}

TEST(OpeningDisplay, WrittenWithTheFirstSignsOfTheSet) {
    EXPECT_EQ(opening_display(5, SignRing('0', '9'), false, false), "    (01234) ");
    EXPECT_EQ(opening_display(4, SignRing('y', 'b'), false, false), "     (yz01) ");  // 14: abcd
    EXPECT_EQ(opening_display(9, SignRing('a', 'c'), true, false), "(aaaaaabbc) ");
    EXPECT_EQ(opening_display(4, SignRing('8', '9'), false, true), "     (888*) ");
    EXPECT_EQ(opening_display(2, SignRing('a', 'f'), false, false), "       (ab) ");
}

TEST(OpeningDisplay, BlankWhenTheOpeningIsDrawn) {
    EXPECT_EQ(opening_display(2, SignRing('0', '1'), true, false), "            ");
    EXPECT_EQ(opening_display(2, SignRing('0', '1'), true, true), "            ");
    EXPECT_EQ(opening_display(2, SignRing('0', '1'), false, false), "       (01) ");
}

TEST(OpeningDisplay, AlwaysTwelveCharacters) {
    for (int n = 2; n <= 9; ++n)
        for (int s = 2; s <= 36; ++s)
            for (const bool repetition : {false, true})
                for (const bool vacant : {false, true}) {
                    SignRing ring('a', 'b');
                    ring.set_last_sign(sign_at_place(s - 1));
                    ASSERT_EQ(ring.set_size(), s);
                    EXPECT_EQ(opening_display(n, ring, repetition, vacant).size(), 12u)
                        << n << " " << s;
                }
}

}  // namespace
