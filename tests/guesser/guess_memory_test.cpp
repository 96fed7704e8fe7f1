#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "core/keys.hpp"
#include "guesser/guess_tables.hpp"
#include "setup/game_setup.hpp"
#include "support/address_space_cap.hpp"
#include "support/match_rig.hpp"
#include "support/screen_rows.hpp"

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

// Nine places over ten signs: a billion tries, which the 256 GiB budget allows.
ConditionsRecord very_large_tables() {
    ConditionsRecord record = conditions('0', '9', 9, true);
    record.computer_guesses = 1;
    record.memory_choice = 15;
    return record;
}
const GuessShape kVeryLargeShape{9, 10, true, true, false};

// Row 25 when a match in which the computer guesses ends before its first try.
std::string untried_summary(Language language, const std::string& code) {
    return full_row(language == Language::German
                        ? "Loesung: " + code + "     Benoetigte Versuche:             Neues Spiel? Ja."
                        : "Answer:  " + code + "             Trials made:                New game? Yes.");
}

TEST(GuesserMemory, TablesLargerThanThisMachineAreSaidUntilAKeyAndAbandonTheMatch) {
    for (const MemoryNotice& notice : kMemoryNotices) {
        MatchRig rig(notice.language, very_large_tables());
        ASSERT_EQ(rig.app.setup.record.computer_guesses, 1) << "the budget must allow the computer to guess";
        rig.memory.set_available(TryTable::bytes_needed(kVeryLargeShape) - 1);
        const std::string code = rig.coming_fixed_code();
        rig.terminal.after_ms(1000).key(keys::kEsc).after_ms(1000).type("n");
        expect_notice_until_a_key(rig, notice, untried_summary(notice.language, code));
    }
}

TEST(GuesserMemory, TablesTheAllocationRefusesEndTheMatchWithoutANotice) {
    if (kAllocationFailureEndsTheProcess) GTEST_SKIP() << "the sanitizer ends the process instead";
    if (!kAddressSpaceCanBeCapped) GTEST_SKIP() << "no cap on the address space here";
    for (const Language language : {Language::German, Language::English}) {
        MatchRig rig(language, very_large_tables());
        ASSERT_EQ(rig.app.setup.record.computer_guesses, 1) << "the budget must allow the computer to guess";
        rig.memory.set_available(TryTable::bytes_needed(kVeryLargeShape));
        const std::string code = rig.coming_fixed_code();
        std::vector<std::string> status_lines;
        rig.terminal.before_each_key([&](std::size_t) { status_lines.push_back(rig.row(25)); });
        rig.terminal.after_ms(1000).type("n");
        {
            const AddressSpaceCap cap(std::uint64_t{256} << 20);
            ASSERT_TRUE(cap.applied());
            EXPECT_FALSE(rig.play());
        }
        EXPECT_EQ(status_lines, std::vector{untried_summary(language, code)});
    }
}

}  // namespace
