#include <gtest/gtest.h>

#include <random>
#include <string>

#include "setup/game_setup.hpp"
#include "setup/memory_budget.hpp"

namespace {

GameSetup validated(const ConditionsRecord& record) {
    GameSetup setup;
    setup.record = record;
    validate_conditions(setup);
    return setup;
}

TEST(ConditionsValidation, TheDefaultsStayAsTheyAre) {
    const GameSetup setup = validated(ConditionsRecord{});
    EXPECT_EQ(setup.record, ConditionsRecord{});
    EXPECT_EQ(setup.signs.set_size(), 10);
    EXPECT_EQ(setup.memory_choice, 5);
    EXPECT_EQ(setup.byte_budget, 172359680u);
    EXPECT_EQ(setup.saved_vacant, 0);
    EXPECT_TRUE(setup.verdict.computer_can_guess);
    EXPECT_TRUE(setup.verdict.variable_answer_possible);
}

TEST(ConditionsValidation, OutOfRangeNumbersAreReplaced) {
    ConditionsRecord record;
    record.code_length = 12;
    record.time_limit = 15;
    record.reserved = 0;
    record.memory_choice = 0;
    GameSetup setup = validated(record);
    EXPECT_EQ(setup.record.code_length, 4);
    EXPECT_EQ(setup.record.time_limit, 6);
    EXPECT_EQ(setup.record.reserved, 4);
    EXPECT_EQ(setup.memory_choice, 5);
    EXPECT_EQ(setup.byte_budget, 172359680u);

    record.code_length = 1;
    record.reserved = 9;
    record.memory_choice = 16;
    record.time_limit = 9;
    setup = validated(record);
    EXPECT_EQ(setup.record.code_length, 4);
    EXPECT_EQ(setup.record.reserved, 4);
    EXPECT_EQ(setup.memory_choice, 5);
    EXPECT_EQ(setup.record.time_limit, 9);
}

TEST(ConditionsValidation, SignsAreFoldedAndRepaired) {
    ConditionsRecord record;
    record.first_sign = 'A';
    record.last_sign = 'Z';
    GameSetup setup = validated(record);
    EXPECT_EQ(setup.record.first_sign, 'a');
    EXPECT_EQ(setup.record.last_sign, 'z');
    EXPECT_EQ(setup.signs.set_size(), 26);

    record.first_sign = '#';
    record.last_sign = 'c';
    setup = validated(record);
    EXPECT_EQ(setup.record.first_sign, 'a');
    EXPECT_EQ(setup.signs.set_size(), 3);

    // A last sign that is no sign becomes the first, and equal signs give six.
    record.first_sign = 'q';
    record.last_sign = 0;
    setup = validated(record);
    EXPECT_EQ(setup.record.first_sign, 'a');
    EXPECT_EQ(setup.record.last_sign, 'f');
}

TEST(ConditionsValidation, EqualFirstAndLastSignsGiveSixSigns) {
    ConditionsRecord record;
    record.first_sign = '7';
    record.last_sign = '7';
    GameSetup setup = validated(record);
    EXPECT_EQ(std::string(setup.signs.set_signs()), "012345");
    record.first_sign = 'k';
    record.last_sign = 'K';
    setup = validated(record);
    EXPECT_EQ(std::string(setup.signs.set_signs()), "abcdef");
}

TEST(ConditionsValidation, ACodeLongerThanTheSetForcesRepetition) {
    ConditionsRecord record;
    record.first_sign = '0';
    record.last_sign = '5';
    record.code_length = 7;
    EXPECT_EQ(validated(record).record.repetition, 1);
    record.code_length = 6;
    EXPECT_EQ(validated(record).record.repetition, 0);
}

TEST(ConditionsValidation, VacantChoiceIsSavedAndYesNoBytesAreZeroOrOne) {
    ConditionsRecord record;
    record.vacant_signs = 1;
    record.sound = 7;
    record.computer_sets_riddle = 0;
    record.answer_fixed = 200;
    const GameSetup setup = validated(record);
    EXPECT_EQ(setup.saved_vacant, 1);
    EXPECT_EQ(setup.record.sound, 1);
    EXPECT_EQ(setup.record.computer_sets_riddle, 0);
    EXPECT_EQ(setup.record.answer_fixed, 1);
}

TEST(ConditionsValidation, NamesWithDigitsAreCleaned) {
    ConditionsRecord record;
    const std::string name = "r2d2 and c3po";
    std::copy(name.begin(), name.end(), record.player1.text.begin());
    record.player2.length = 0;
    const GameSetup setup = validated(record);
    EXPECT_EQ(std::string(setup.record.player1.text.data(), 32), "R." + std::string(30, ' '));
    EXPECT_EQ(setup.record.player2.length, 32);
}

TEST(CapabilityCheck, LengthNineWithRepetitionOverElevenSignsAllowsNeither) {
    for (int choice = 1; choice <= 15; ++choice) {
        const CapabilityVerdict verdict = assess_capability(11, 9, true, false, byte_budget(choice));
        EXPECT_FALSE(verdict.variable_answer_possible) << choice;
        EXPECT_FALSE(verdict.computer_can_guess) << choice;
    }
    GameSetup setup;
    setup.record.answer_fixed = 0;
    setup.record.computer_guesses = 1;
    setup.byte_budget = byte_budget(15);
    const CapabilityChanges changes = check_capability(setup, 11, 9, true, false);
    EXPECT_TRUE(changes.answer_fixed_forced);
    EXPECT_TRUE(changes.computer_guessing_stopped);
    EXPECT_EQ(setup.record.answer_fixed, 1);
    EXPECT_EQ(setup.record.computer_guesses, 0);
}

TEST(CapabilityCheck, LengthSixOverTheWholeRingNeedsOneHundredAndTwentyEightGiB) {
    // The guesser never can (36 signs > 35); a variable answer needs 44,877,127,680 bytes.
    EXPECT_EQ(code_count(36, 6, false) * 32, 44877127680ULL);
    EXPECT_EQ(assess_capability(36, 6, false, false, byte_budget(13)), (CapabilityVerdict{false, false}));
    EXPECT_EQ(assess_capability(36, 6, false, false, byte_budget(14)), (CapabilityVerdict{false, true}));
    EXPECT_EQ(assess_capability(36, 6, false, false, byte_budget(15)), (CapabilityVerdict{false, true}));
    EXPECT_EQ(assess_capability(36, 6, false, false, 44877127680ULL), (CapabilityVerdict{false, true}));
    EXPECT_EQ(assess_capability(36, 6, false, false, 44877127679ULL), (CapabilityVerdict{false, false}));
    // With repetition a variable answer over 36 signs is ruled out at length 6.
    EXPECT_EQ(assess_capability(36, 6, true, false, byte_budget(15)), (CapabilityVerdict{false, false}));
}

TEST(CapabilityCheck, TwoSignsWithVacantSignsCountTheVacantSignForTheGuesser) {
    // E = 3 and G = 3^5 - 1 = 242 records of 32 bytes: 7744 bytes.
    EXPECT_TRUE(assess_capability(2, 5, false, true, 7744).computer_can_guess);
    EXPECT_FALSE(assess_capability(2, 5, false, true, 7743).computer_can_guess);
    // Without the vacant sign 2^5 = 32 records suffice.
    EXPECT_TRUE(assess_capability(2, 5, true, false, 1024).computer_can_guess);
    EXPECT_FALSE(assess_capability(2, 5, true, false, 1023).computer_can_guess);
}

TEST(CapabilityCheck, LimitsByLengthAtTheLargestBudget) {
    const std::uint64_t all = byte_budget(15);
    EXPECT_TRUE(assess_capability(21, 7, false, false, all).computer_can_guess);
    EXPECT_FALSE(assess_capability(22, 7, false, false, all).computer_can_guess);
    EXPECT_TRUE(assess_capability(24, 7, false, false, all).variable_answer_possible);
    EXPECT_FALSE(assess_capability(25, 7, false, false, all).variable_answer_possible);
    EXPECT_TRUE(assess_capability(14, 8, true, false, all).variable_answer_possible);
    EXPECT_FALSE(assess_capability(15, 8, true, false, all).variable_answer_possible);
    EXPECT_TRUE(assess_capability(18, 8, false, false, all).variable_answer_possible);
    EXPECT_FALSE(assess_capability(19, 8, false, false, all).variable_answer_possible);
    EXPECT_TRUE(assess_capability(15, 9, false, false, all).variable_answer_possible);
    EXPECT_FALSE(assess_capability(16, 9, false, false, all).variable_answer_possible);
    EXPECT_TRUE(assess_capability(10, 9, true, false, all).computer_can_guess);
}

TEST(CapabilityCheck, TheGuesserFitsExactlyWhereTheTableSaysSoWithoutLimits) {
    // For lengths 2..5 nothing but the budget limits the guesser, so the table's largest
    // set size must be exactly where assess_capability stops allowing it.
    for (int choice = 1; choice <= 15; ++choice) {
        CapabilityTable table;
        table.refresh(byte_budget(choice));
        const std::uint64_t budget = byte_budget(choice) / 32 * 32;
        for (int length = 2; length <= 5; ++length) {
            const int largest = table.entry(length);
            EXPECT_TRUE(assess_capability(largest, length, true, false, budget).computer_can_guess)
                << choice << " " << length;
            if (largest < 36) {
                EXPECT_FALSE(assess_capability(largest + 1, length, true, false, budget).computer_can_guess)
                    << choice << " " << length;
            }
        }
    }
}

TEST(CapabilityCheck, AllowedSettingsAreLeftAlone) {
    GameSetup setup;
    setup.record.answer_fixed = 0;
    setup.record.computer_guesses = 1;
    setup.byte_budget = byte_budget(5);
    const CapabilityChanges changes = check_capability(setup, 10, 4, false, false);
    EXPECT_TRUE(changes.table_changed);
    EXPECT_FALSE(changes.answer_fixed_forced);
    EXPECT_FALSE(changes.computer_guessing_stopped);
    EXPECT_EQ(setup.record.answer_fixed, 0);
    EXPECT_EQ(setup.record.computer_guesses, 1);
    EXPECT_FALSE(check_capability(setup, 10, 4, false, false).table_changed);
}

bool is_name_character(char ch) {
    return ch == ' ' || ch == '-' || ch == '.' || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

void expect_invariants(const GameSetup& setup) {
    const ConditionsRecord& r = setup.record;
    ASSERT_GE(r.code_length, 2);
    ASSERT_LE(r.code_length, 9);
    ASSERT_GE(r.reserved, 1);
    ASSERT_LE(r.reserved, 8);
    ASSERT_GE(setup.memory_choice, 1);
    ASSERT_LE(setup.memory_choice, 15);
    ASSERT_LE(r.time_limit, 9);
    ASSERT_TRUE(is_ring_sign(static_cast<char>(r.first_sign)));
    ASSERT_TRUE(is_ring_sign(static_cast<char>(r.last_sign)));
    ASSERT_NE(r.first_sign, r.last_sign);
    ASSERT_EQ(setup.signs.first_sign(), static_cast<char>(r.first_sign));
    ASSERT_EQ(setup.signs.last_sign(), static_cast<char>(r.last_sign));
    ASSERT_GE(setup.signs.set_size(), 2);
    ASSERT_LE(setup.signs.set_size(), 36);
    if (r.code_length > setup.signs.set_size()) { ASSERT_EQ(r.repetition, 1); }
    for (std::uint8_t flag : {r.sound, r.repetition, r.vacant_signs, r.computer_sets_riddle,
                              r.computer_guesses, r.answer_fixed})
        ASSERT_LE(flag, 1);
    if (!setup.verdict.variable_answer_possible) { ASSERT_EQ(r.answer_fixed, 1); }
    if (!setup.verdict.computer_can_guess) { ASSERT_EQ(r.computer_guesses, 0); }
    ASSERT_EQ(setup.byte_budget, byte_budget(setup.memory_choice));
    for (const PlayerName* name : {&r.player1, &r.player2}) {
        ASSERT_EQ(name->length, 32);
        ASSERT_EQ(name->at(32), ' ');
        for (int k = 1; k <= 31; ++k) ASSERT_TRUE(is_name_character(name->at(k)));
    }
}

TEST(ConditionsRobustness, RandomRecordsValidateIntoAPlayableState) {
    std::mt19937 generator(20261208);
    for (int round = 0; round < 20000; ++round) {
        ConditionsBytes bytes;
        for (auto& byte : bytes) byte = static_cast<std::uint8_t>(generator());
        expect_invariants(validated(from_bytes(bytes)));
        if (HasFatalFailure()) FAIL() << "round " << round;
    }
}

TEST(ConditionsRobustness, EveryValueOfEveryByteOnItsOwn) {
    const ConditionsBytes defaults = to_bytes(ConditionsRecord{});
    for (std::size_t position = 0; position < defaults.size(); ++position) {
        for (int value = 0; value < 256; ++value) {
            ConditionsBytes bytes = defaults;
            bytes[position] = static_cast<std::uint8_t>(value);
            expect_invariants(validated(from_bytes(bytes)));
            if (HasFatalFailure()) FAIL() << "byte " << position << " value " << value;
        }
    }
}

TEST(ConditionsSaving, TheFileGetsTheUserChoicesAndTheWorkingValues) {
    GameSetup setup = validated(ConditionsRecord{});
    setup.saved_vacant = 1;
    setup.record.vacant_signs = 0;  // switched off for one match
    setup.memory_choice = 12;
    const std::string name = "eva";
    std::copy(name.begin(), name.end(), setup.record.player2.text.begin());
    const ConditionsRecord saved = record_to_save(setup, 0x2F, 0x2E);
    EXPECT_EQ(saved.vacant_signs, 1);
    EXPECT_EQ(setup.record.vacant_signs, 0);
    EXPECT_EQ(saved.memory_choice, 12);
    EXPECT_EQ(saved.standard_attribute, 0x2F);
    EXPECT_EQ(saved.emphasized_attribute, 0x2E);
    EXPECT_EQ(std::string(saved.player2.text.data(), 3), "Eva");
    EXPECT_EQ(std::string(setup.record.player2.text.data(), 3), "Eva");
}

}  // namespace
