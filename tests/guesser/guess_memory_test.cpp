#include <gtest/gtest.h>

#include <limits>

#include "guesser/guess_tables.hpp"
#include "platform/physical_memory.hpp"
#include "setup/game_setup.hpp"
#include "shell/keys.hpp"
#include "support/match_rig.hpp"

namespace {

// The capability check allows the computer to guess when the tries fit the budget in records
// of the record size; the tables must never take more than that.
TEST(GuesserMemory, TheTablesNeverTakeMoreThanTheRecordsTheBudgetWasCheckedFor) {
    for (int length = 2; length <= 9; ++length) {
        for (int signs = 2; signs <= 36; ++signs) {
            for (bool repetition : {false, true}) {
                for (bool vacant : {false, true}) {
                    if (!repetition && signs < length) continue;
                    if (vacant && (signs != 2 || length < 4)) continue;
                    const GuessShape shape{length, signs, repetition, repetition, vacant};
                    const std::int32_t tries = TryTable::try_count(shape);
                    if (tries == std::numeric_limits<std::int32_t>::max()) continue;
                    const std::uint64_t allowed =
                        static_cast<std::uint64_t>(tries) *
                        candidate_record_size(length, effective_sign_count(signs, length, vacant));
                    // Small sets pay for the vector padding of the candidate columns.
                    EXPECT_LE(TryTable::bytes_needed(shape), allowed + 8192)
                        << length << " over " << signs << (repetition ? " with" : " without")
                        << (vacant ? " vacant" : "");
                }
            }
        }
    }
}

TEST(GuesserMemory, TablesLargerThanThisMachineAbandonTheMatch) {
    // Nine places over ten signs: a billion tries, which the 256 GiB budget allows.
    ConditionsRecord record = conditions('0', '9', 9, true);
    record.computer_guesses = 1;
    record.memory_choice = 15;
    MatchRig rig(Language::German, record);
    ASSERT_EQ(rig.app.setup.record.computer_guesses, 1) << "the budget must allow the computer to guess";
    const GuessShape shape{9, 10, true, true, false};
    if (available_memory_bytes() >= TryTable::bytes_needed(shape))
        GTEST_SKIP() << "this machine could hold the tables";
    rig.terminal.after_ms(1000).type("n");
    EXPECT_FALSE(rig.play());
    EXPECT_EQ(rig.row(19).substr(0, 13), "| Spielende  ");
    EXPECT_EQ(rig.row(25).substr(44, 10), std::string(10, ' '));
}

}  // namespace
