#include "core/signs.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kRing = "abcdefghijklmnopqrstuvwxyz0123456789";

int place_in_ring(char c) { return static_cast<int>(kRing.find(c)); }

TEST(SignRingPlaces, LettersThenDigitsAndNothingElse) {
    EXPECT_EQ(ring_place('a'), 0);
    EXPECT_EQ(ring_place('z'), 25);
    EXPECT_EQ(ring_place('0'), 26);
    EXPECT_EQ(ring_place('9'), 35);
    EXPECT_EQ(ring_place('A'), -1);
    EXPECT_EQ(ring_place('*'), -1);
    EXPECT_EQ(ring_place(':'), -1);
    for (int place = 0; place < kRingSize; ++place) {
        EXPECT_EQ(sign_at_place(place), kRing[place]);
        EXPECT_EQ(ring_place(kRing[place]), place);
    }
    EXPECT_EQ(sign_at_place(kRingSize), 'a');  // 9 is followed by a again
}

TEST(SignRingPlaces, OnlyDigitsAndSmallLettersAreSigns) {
    const SignRing whole_ring('5', '4');
    int signs = 0;
    for (int code = 0; code < 256; ++code) {
        const char c = static_cast<char>(code);
        const bool expected = kRing.find(c) != std::string::npos;
        EXPECT_EQ(is_ring_sign(c), expected) << code;
        EXPECT_EQ(whole_ring.in_set(c), expected) << code;
        signs += is_ring_sign(c);
    }
    EXPECT_EQ(signs, 36);
}

TEST(SignRingStretch, WrapsFromDigitsToLetters) {
    const SignRing ring('y', 'b');
    EXPECT_EQ(ring.set_size(), 14);
    EXPECT_EQ(ring.set_signs(), "yz0123456789ab");
    EXPECT_EQ(ring.index_of_sign('y'), 1);
    EXPECT_EQ(ring.index_of_sign('z'), 2);
    EXPECT_EQ(ring.index_of_sign('0'), 3);
    EXPECT_EQ(ring.index_of_sign('9'), 12);
    EXPECT_EQ(ring.index_of_sign('a'), 13);
    EXPECT_EQ(ring.index_of_sign('b'), 14);
    EXPECT_EQ(ring.index_of_sign('x'), 36);
    EXPECT_TRUE(ring.in_set('b'));
    EXPECT_FALSE(ring.in_set('c'));
    EXPECT_FALSE(ring.in_set('x'));
    EXPECT_EQ(ring.last_sign(), 'b');
}

TEST(SignRingStretch, WholeRingFromAnyStart) {
    const SignRing five_to_four('5', '4');
    EXPECT_EQ(five_to_four.set_size(), 36);
    EXPECT_EQ(five_to_four.index_of_sign('9'), 5);
    EXPECT_EQ(five_to_four.index_of_sign('a'), 6);
    EXPECT_EQ(five_to_four.index_of_sign('0'), 32);
    EXPECT_EQ(SignRing('a', '9').set_size(), 36);
    EXPECT_EQ(SignRing('0', 'z').set_size(), 36);
    for (const char c : kRing) EXPECT_TRUE(five_to_four.in_set(c)) << c;
}

TEST(SignRingStretch, DefaultIsTheTenDigits) {
    const SignRing ring;
    EXPECT_EQ(ring.first_sign(), '0');
    EXPECT_EQ(ring.last_sign(), '9');
    EXPECT_EQ(ring.set_signs(), "0123456789");
}

TEST(SignRingStretch, MovingTheFirstSignKeepsTheSize) {
    SignRing ring('0', '5');
    ring.move_first_sign('x');
    EXPECT_EQ(ring.first_sign(), 'x');
    EXPECT_EQ(ring.last_sign(), '2');
    EXPECT_EQ(ring.set_size(), 6);
    EXPECT_EQ(ring.set_signs(), "xyz012");
    EXPECT_FALSE(ring.in_set('3'));
    EXPECT_FALSE(ring.in_set('5'));
}

TEST(SignRingStretch, ChangingTheLastSignGrowsOrShrinksTheSet) {
    SignRing ring('0', '5');
    ring.set_last_sign('c');
    EXPECT_EQ(ring.set_size(), 13);
    EXPECT_EQ(ring.set_signs(), "0123456789abc");
    ring.set_last_sign('1');
    EXPECT_EQ(ring.set_size(), 2);
    EXPECT_EQ(ring.set_signs(), "01");
    EXPECT_EQ(ring.first_sign(), '0');
    ring.set_stretch('q', 'p');
    EXPECT_EQ(ring.set_size(), 36);
    EXPECT_EQ(ring.index_of_sign('q'), 1);
}

TEST(SignRingIndex, FollowsTheRingFromEveryFirstSign) {
    for (const char first : kRing) {
        const SignRing ring(first, first == 'a' ? 'b' : 'a');
        for (const char c : kRing) {
            const int expected = (place_in_ring(c) - place_in_ring(first) + 36) % 36 + 1;
            EXPECT_EQ(ring.index_of_sign(c), expected) << first << c;
            EXPECT_EQ(ring.sign_of_index(static_cast<SignIndex>(expected)), c);
        }
    }
}

TEST(SignRingIndex, VacantSignAndNonSigns) {
    const SignRing ring('a', 'z');
    EXPECT_EQ(ring.sign_of_index(0), '*');
    EXPECT_FALSE(ring.in_set('*'));
    EXPECT_EQ(ring.index_of_sign('*'), kNotASign);
    EXPECT_FALSE(ring.in_set('A'));
    EXPECT_FALSE(ring.in_set('Z'));
    EXPECT_FALSE(ring.in_set(' '));
    for (char c = ':'; c <= '`'; ++c) {
        EXPECT_EQ(ring.index_of_sign(c), kNotASign) << c;
        EXPECT_FALSE(ring.in_set(c)) << c;
    }
}

TEST(SignRingIndex, SignStringHoldsTheVacantSignThenTheWholeRing) {
    const SignRing ring('y', 'b');
    const std::string_view text = ring.sign_string();
    ASSERT_EQ(text.size(), 37u);
    EXPECT_EQ(text, "*yz0123456789abcdefghijklmnopqrstuvwx");
}

TEST(SignCodeForms, ReadsSignsAndVacantPositions) {
    const SignRing ring('a', 'z');
    const auto code = code_from_text("a*dc     ", 4, ring);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(code->length, 4);
    EXPECT_EQ((std::vector<int>(code->signs.begin(), code->signs.begin() + 4)),
              (std::vector<int>{1, 0, 4, 3}));
    EXPECT_EQ(text_of_code(*code, ring), "a*dc     ");
}

TEST(SignCodeForms, RefusesWhatIsNotASignOfTheSet) {
    const SignRing ring('0', '5');
    EXPECT_FALSE(code_from_text("0127", 4, ring).has_value());  // 7 is outside the set
    EXPECT_FALSE(code_from_text("01A2", 4, ring).has_value());
    EXPECT_FALSE(code_from_text("01 2", 4, ring).has_value());
    EXPECT_FALSE(code_from_text("012", 4, ring).has_value());
    EXPECT_TRUE(code_from_text("0125xyz", 4, ring).has_value());  // only n positions are read
}

TEST(SignCodeForms, NineCharacterFormFollowsTheStretch) {
    const SignRing ring('y', 'b');
    const auto code = code_from_text("b0yzab12z", 9, ring);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(code->signs[0], 14);
    EXPECT_EQ(code->signs[2], 1);
    EXPECT_EQ(text_of_code(*code, ring), "b0yzab12z");
    const auto shorter = code_from_text("yz", 2, ring);
    ASSERT_TRUE(shorter.has_value());
    EXPECT_EQ(text_of_code(*shorter, ring), "yz       ");
}

TEST(SignFirstFree, LowestIndexNotGiven) {
    const std::vector<SignIndex> none;
    EXPECT_EQ(first_free_sign(none), 1);
    EXPECT_EQ(first_free_sign(std::vector<SignIndex>{2, 3, 4}), 1);
    EXPECT_EQ(first_free_sign(std::vector<SignIndex>{1, 2, 3}), 4);
    EXPECT_EQ(first_free_sign(std::vector<SignIndex>{5, 4, 3, 2, 1}), 6);
    EXPECT_EQ(first_free_sign(std::vector<SignIndex>{3, 1, 4}), 2);
    // Each move of the candidate looks through all given signs again.
    EXPECT_EQ(first_free_sign(std::vector<SignIndex>{2, 1}), 3);
    EXPECT_EQ(first_free_sign(std::vector<SignIndex>{8, 7, 6, 5, 4, 3, 2, 1}), 9);
}

TEST(SignFirstFree, CompletesAPermutationOfTheSet) {
    EXPECT_EQ(first_free_sign(SignRing('a', 'd'), "cad"), 'b');
    EXPECT_EQ(first_free_sign(SignRing('y', 'b'), "z0y"), '1');
    EXPECT_EQ(first_free_sign(SignRing('0', '5'), "54321"), '0');
}

}  // namespace
