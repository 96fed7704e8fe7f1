#include "match/match.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "core/candidate_list.hpp"
#include "core/keys.hpp"
#include "match/encoder.hpp"
#include "setup/game_setup.hpp"
#include "support/address_space_cap.hpp"
#include "support/match_rig.hpp"
#include "support/screen_rows.hpp"
#include "support/test_rig.hpp"

namespace {

const std::string kEmptyBoard = "|*|   |         | | |*|   |         | | |";

std::string pad(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

// A board row of the first column: number, code centred in the nine places, P and Z.
std::string first_column_row(std::string_view panel, int number, std::string_view code, int p,
                             int z) {
    std::string row = pad(std::string(panel), 38) + kEmptyBoard;
    const std::string shown = std::to_string(number);
    std::copy(shown.begin(), shown.end(), row.begin() + static_cast<long>(44 - shown.size()));
    std::copy(code.begin(), code.end(), row.begin() + static_cast<long>((101 - code.size()) / 2 - 1));
    row[55] = static_cast<char>('0' + p);
    row[57] = static_cast<char>('0' + z);
    return full_row(row);
}

// ---------------------------------------------------------------- a person against the computer

TEST(WholeMatch, GermanPersonCracksTheComputersFixedCode) {
    MatchRig rig(Language::German, conditions('0', '9', 4, false));
    const std::string code = rig.coming_fixed_code();
    const auto [p, z] = plain_score("0000", code);
    rig.type_slowly("0000", 4000);
    rig.type_slowly(code, 3000);
    rig.terminal.after_ms(2000).type("n");
    EXPECT_FALSE(rig.play());

    const std::vector<std::string> rows = {
        "___  ***  Mirelvanthoque  **  Windows - 64-Bit - Version  2025-06-21.  ***  ___",
        "|" + std::string(77, ' ') + "|",
        "|" + std::string(77, '_') + "|",
        pad("| 0123456789", 43) + "|   Der Code kann mit maximal 7    |",
        pad("| 4 Zeichen ohne Wiederholung", 43) + "|   Versuchen geknackt werden.     |",
        "|__________________________________________|__________________________________|",
        "| Das Leerzeichen \" \"/\"*\" darf zum    |*|Nr.|  Code   |P|Z|*|Nr.|  Code   |P|Z|",
        "| Raten nicht zuhilfegenommen werden. |*|___|_________|_|_|*|___|_________|_|_|",
    };
    for (int row = 1; row <= 8; ++row) EXPECT_EQ(rig.row(row), full_row(rows[row - 1])) << row;
    EXPECT_EQ(rig.row(9), first_column_row("| Der zu ratende Code ist fest.", 1, "0000", p, z));
    EXPECT_EQ(rig.row(10), first_column_row("|", 2, code, 4, 0));
    EXPECT_EQ(rig.row(11), full_row("|_____________________________________" + kEmptyBoard));
    EXPECT_EQ(rig.row(12), full_row("| Das Raetsel stammt vom Computer.    " + kEmptyBoard));
    EXPECT_EQ(rig.row(13), full_row("|                                     " + kEmptyBoard));
    EXPECT_EQ(rig.row(14), full_row("| Die Loesung stammt von              " + kEmptyBoard));
    EXPECT_EQ(rig.row(15), full_row("| .                                   " + kEmptyBoard));
    EXPECT_EQ(rig.row(16), full_row("|_____________________________________" + kEmptyBoard));
    // 13 seconds of play, all of them spent typing tries.
    const std::vector<std::string> panel = {
        " Spielbeginn: Sonntag, 5.1.2025,",
        "              09.07 Uhr, 03 Sekunden.",
        " Spielende  : Sonntag, 5.1.2025,",
        "              09.07 Uhr, 16 Sekunden.",
        " Spieldauer : 00 Std. 00 Min. 13 Sek.",
        " Ratezeit   : 00 Std. 00 Min. 13 Sek.",
        " Antwortzeit: 00 Std. 00 Min. 00 Sek.",
    };
    for (int row = 17; row <= 23; ++row)
        EXPECT_EQ(rig.row(row), full_row(pad("|" + panel[row - 17], 38) + kEmptyBoard)) << row;
    EXPECT_EQ(rig.row(24), full_row("|_____________________________________|_|___|_________|_|_|_|___|_________|_|_|"));
    EXPECT_EQ(rig.row(25),
              full_row("Loesung: " + code + "          Benoetigte Versuche: 2           Neues Spiel? Ja."));
    EXPECT_EQ(rig.terminal.bells(), 0);
}

TEST(WholeMatch, EnglishMatchLeftAtTheFirstTryShowsTheComputersCodeButNoCount) {
    ConditionsRecord record = conditions('a', 'f', 5, true);
    record.sound = 1;
    MatchRig rig(Language::English, record);
    const std::string code = rig.coming_fixed_code();
    rig.terminal.after_ms(61'000).key(keys::kEsc).type("n");
    EXPECT_FALSE(rig.play());

    EXPECT_EQ(rig.row(4), full_row(pad("| abcdef", 43) + "| It is possible to crack the code |"));
    EXPECT_EQ(rig.row(5).substr(0, 31), "| 5 signs with repetition      ");
    EXPECT_EQ(rig.row(5).substr(43, 36), "| with 6   trials or less.         |");
    EXPECT_EQ(rig.row(7), full_row("| The vacant sign ' '/'*' cannot be   |*|No.|  Code   |P|S|*|No.|  Code   |P|S|"));
    EXPECT_EQ(rig.row(9), full_row("| The answercode is fixed.            |*|  1|  .....  | | |*|   |         | | |"));
    EXPECT_EQ(rig.row(12), full_row("| The riddle comes from               " + kEmptyBoard));
    EXPECT_EQ(rig.row(13), full_row("| the computer.                       " + kEmptyBoard));
    EXPECT_EQ(rig.row(19).substr(0, 12), "| Game end  ");
    EXPECT_EQ(rig.row(21).substr(0, 38), "| Time total: 00 hours 01 min. 01 sec.");
    EXPECT_EQ(rig.row(25), full_row("Answer:  " + code + "                Trials made:                 New Game? Yes."));
    EXPECT_EQ(rig.terminal.bells(), 1);  // the start of a person's guessing
    EXPECT_EQ(rig.terminal.last_tone(), std::make_pair(440, 500));
}

// ---------------------------------------------------------------- the computer's variable code

TEST(WholeMatch, TheWorkedExampleWithTheSignsAAndBAnswerByAnswer) {
    ConditionsRecord record = conditions('a', 'b', 2, true);
    record.answer_fixed = 0;
    MatchRig rig(Language::German, record);
    std::vector<std::string> seen;
    rig.terminal.before_each_key([&](std::size_t taken) {
        if (taken == 2 || taken == 4 || taken == 6) seen.push_back(rig.row(8 + taken / 2));
    });
    // Keys that arrive while the computer works are swallowed; these come a second apart.
    rig.type_slowly("babbaa");
    rig.terminal.type("j");
    EXPECT_TRUE(rig.play());

    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], first_column_row("| Der zu ratende Code ist nicht fest.", 1, "ba", 1, 0));
    EXPECT_EQ(seen[1], first_column_row("|", 2, "bb", 0, 0));
    EXPECT_EQ(seen[2], first_column_row("|_____________________________________", 3, "aa", 2, 0));
    EXPECT_EQ(rig.answer_code(), "aa");
    EXPECT_EQ(rig.row(25),
              full_row("Loesung: aa             Benoetigte Versuche:3           Neues Spiel? Ja."));
}

TEST(WholeMatch, EscDuringTheBuildOfTheListEndsWithoutAnAnswer) {
    ConditionsRecord record = conditions('0', '9', 6, true);
    record.answer_fixed = 0;
    MatchRig rig(Language::English, record);
    rig.terminal.key(keys::kCtrlC).type("N");
    EXPECT_FALSE(rig.play());
    EXPECT_EQ(rig.row(19).substr(0, 12), "| Game end  ");
    EXPECT_EQ(rig.row(25).substr(0, 30), pad("Answer:", 30));
    EXPECT_EQ(rig.row(25).substr(30, 20), pad("Trials made:", 20));
}

// 6 over 35 signs with the computer's variable code: 1.8 billion codes, over 40 GB of list,
// which the 256 GiB budget allows.
ConditionsRecord very_large_variable_code() {
    ConditionsRecord record = conditions('a', '8', 6, true);
    record.answer_fixed = 0;
    record.memory_choice = 15;
    return record;
}
const CodeSet kVeryLargeSet{35, 6, true};

// Row 25 when a match ends before the list was built.
std::string unbuilt_summary(Language language) {
    return full_row(language == Language::German
                        ? "Loesung:                Benoetigte Versuche:            Neues Spiel? Ja."
                        : "Answer:                       Trials made:                 New Game? Yes.");
}

TEST(WholeMatch, AListTooLargeForThisMachineIsSaidUntilAKeyAndAbandonsTheMatch) {
    for (const MemoryNotice& notice : kMemoryNotices) {
        MatchRig rig(notice.language, very_large_variable_code());
        ASSERT_EQ(rig.app.setup.record.answer_fixed, 0) << "the budget must allow the variable code";
        rig.memory.set_available(CandidateList::bytes_needed(kVeryLargeSet) - 1);
        rig.terminal.type("x").type("n");
        expect_notice_until_a_key(rig, notice, unbuilt_summary(notice.language));
    }
}

TEST(WholeMatch, AListTheAllocationRefusesEndsTheMatchWithoutANotice) {
    if (kAllocationFailureEndsTheProcess) GTEST_SKIP() << "the sanitizer ends the process instead";
    if (!kAddressSpaceCanBeCapped) GTEST_SKIP() << "no cap on the address space here";
    for (const Language language : {Language::German, Language::English}) {
        MatchRig rig(language, very_large_variable_code());
        ASSERT_EQ(rig.app.setup.record.answer_fixed, 0) << "the budget must allow the variable code";
        rig.memory.set_available(CandidateList::bytes_needed(kVeryLargeSet));
        std::vector<std::string> status_lines;
        rig.terminal.before_each_key([&](std::size_t) { status_lines.push_back(rig.row(25)); });
        rig.terminal.type("n");
        {
            const AddressSpaceCap cap(std::uint64_t{256} << 20);
            ASSERT_TRUE(cap.applied());
            EXPECT_FALSE(rig.play());
        }
        EXPECT_EQ(status_lines, std::vector{unbuilt_summary(language)});
    }
}

// ---------------------------------------------------------------- a person as encoder

TEST(WholeMatch, EnglishTwoPersonsWithACodeTypedOnTheConditionsScreen) {
    ConditionsRecord record = conditions('1', '6', 4, true);
    record.computer_sets_riddle = 0;
    const std::string anna = "Anna Berg";
    std::copy(anna.begin(), anna.end(), record.player1.text.begin());
    MatchRig rig(Language::English, record);
    const std::string code = "6115";
    std::copy(code.begin(), code.end(), rig.app.setup.answer_code.begin());
    rig.terminal.type("1234").type("1156").type(code).type("y");
    EXPECT_TRUE(rig.play());

    EXPECT_EQ(rig.row(9), first_column_row("| The answercode is fixed.", 1, "1234", 0, 1));
    EXPECT_EQ(rig.row(10), first_column_row("|", 2, "1156", 1, 3));
    EXPECT_EQ(rig.row(11), first_column_row("|_____________________________________", 3, code, 4, 0));
    EXPECT_EQ(rig.row(12), full_row("| The riddle comes from               " + kEmptyBoard));
    EXPECT_EQ(rig.row(13), full_row("| Anna Berg.                          " + kEmptyBoard));
    EXPECT_EQ(rig.row(15), full_row("| .                                   " + kEmptyBoard));
    EXPECT_EQ(rig.row(25), full_row("Answer:  6115                 Trials made:  3              New Game? Yes."));
    EXPECT_EQ(rig.answer_code(), code);
}

TEST(WholeMatch, APersonsVariableCodeTakesOnlyAnswersSomeCodeCouldGive) {
    ConditionsRecord record = conditions('a', 'c', 3, true);
    record.computer_sets_riddle = 0;
    record.answer_fixed = 0;
    MatchRig rig(Language::German, record);
    // "aab": P = 4 is beyond the length; after P = 0 no code gives Z = 3, Z = 2 leaves
    // bba, bca and cba.
    rig.type_slowly("aab");
    rig.terminal.type("4032");
    // "bca": no code gives P = 0; P = 1 comes only with Z = 2 (cba), which is filled in.
    rig.type_slowly("bca");
    rig.terminal.type("01");
    // "cba" is the only code left: its answer comes without a key.
    rig.type_slowly("cba");
    rig.terminal.type("n");
    EXPECT_FALSE(rig.play());

    EXPECT_EQ(rig.row(9), first_column_row("| Der zu ratende Code ist nicht fest.", 1, "aab", 0, 2));
    EXPECT_EQ(rig.row(10), first_column_row("|", 2, "bca", 1, 2));
    EXPECT_EQ(rig.row(11), first_column_row("|_____________________________________", 3, "cba", 3, 0));
    EXPECT_EQ(rig.row(12), full_row("| Das Raetsel stammt von              " + kEmptyBoard));
    EXPECT_EQ(rig.row(13), full_row("| .                                   " + kEmptyBoard));
    EXPECT_EQ(rig.answer_code(), "cba");
    EXPECT_EQ(rig.row(25).substr(0, 50), "Loesung: cba            Benoetigte Versuche:3     ");
}

TEST(WholeMatch, EscInAPersonsAnswerAbandonsTheMatch) {
    ConditionsRecord record = conditions('0', '5', 3, false);
    record.computer_sets_riddle = 0;
    record.answer_fixed = 0;
    MatchRig rig(Language::German, record);
    rig.terminal.after_ms(1000).type("012").type("1").key(keys::kEsc).type("n");
    EXPECT_FALSE(rig.play());
    EXPECT_EQ(rig.row(9).substr(55, 3), "1| ");
    EXPECT_EQ(rig.row(25).substr(0, 50), pad("Loesung:", 24) + pad("Benoetigte Versuche:", 26));
}

// ---------------------------------------------------------------- the board beyond 30 tries

// The computer's code has no repeated sign, so "1111" never wins.
struct LongMatch : MatchRig {
    explicit LongMatch(int tries_before) : MatchRig(Language::German, conditions('0', '9', 4, false)) {
        for (int i = 0; i < tries_before; ++i) terminal.type("1111");
    }
};

TEST(BoardRing, TryThirtyOneTakesSlotOneAndTryOneHasGone) {
    LongMatch rig(30);
    rig.terminal.type("2222").key(keys::kEsc).type("n");
    const std::string code = rig.coming_fixed_code();
    // The board as try 31 is begun: tries 2..30 above its fresh row.
    std::vector<std::string> rows;
    rig.terminal.before_each_key([&](std::size_t taken) {
        if (taken == 120)
            for (int row = 9; row <= 23; ++row) rows.push_back(rig.row(row));
    });
    rig.play();
    const auto [p1, z1] = plain_score("1111", code);
    const auto [p2, z2] = plain_score("2222", code);
    auto cell = [](int number, std::string_view try_code, char p, char z) {
        std::string shown = std::to_string(number);
        return std::string(3 - shown.size(), ' ') + shown + "|  " + std::string(try_code) + "   |" +
               p + "|" + z + "|";
    };
    auto digit = [](int value) { return static_cast<char>('0' + value); };
    ASSERT_EQ(rows.size(), 15u);
    for (int row = 1; row <= 15; ++row)
        EXPECT_EQ(rows[row - 1].substr(41, 18), cell(row + 1, "1111", digit(p1), digit(z1))) << row;
    for (int row = 1; row <= 14; ++row)
        EXPECT_EQ(rows[row - 1].substr(61, 18), cell(row + 16, "1111", digit(p1), digit(z1))) << row;
    EXPECT_EQ(rows[14].substr(61, 18), cell(31, "....", ' ', ' '));
    // Try 31 then moves up for try 32, and try 2 goes.
    EXPECT_EQ(rig.row(9).substr(41, 18), cell(3, "1111", digit(p1), digit(z1)));
    EXPECT_EQ(rig.row(22).substr(61, 18), cell(31, "2222", digit(p2), digit(z2)));
}

TEST(BoardRing, Try1005IsNumberedWithLeadingZerosOnAFreshRow) {
    LongMatch rig(1004);
    rig.terminal.type("1").key(keys::kEsc).type("n");
    const std::string code = rig.coming_fixed_code();
    rig.play();
    EXPECT_EQ(rig.row(23).substr(61, 18), "005|  1...   | | |");
    EXPECT_EQ(rig.row(22).substr(61, 7), "004|  1");
    EXPECT_EQ(rig.row(9).substr(41, 7), "976|  1");
    EXPECT_EQ(rig.row(25).substr(0, 23), pad("Loesung: " + code, 23));
}

TEST(TryCounter, RunsOnAndJumpsBackAThousandInsteadOfOverflowing) {
    EXPECT_EQ(next_try_count(0), 1);
    EXPECT_EQ(next_try_count(999), 1000);
    EXPECT_EQ(next_try_count(2147483646), 2147483647);
    EXPECT_EQ(next_try_count(2147483647), 2147482648);
    EXPECT_EQ(next_try_count(2147483647) % 1000, 648);
}

// ---------------------------------------------------------------- what the match leaves behind

struct NewGameKey {
    std::uint8_t key;
    bool again;
};

class NewGameQuestion : public testing::TestWithParam<NewGameKey> {};

TEST_P(NewGameQuestion, TakesItsKeysAndIgnoresTheRest) {
    MatchRig rig(Language::German, conditions('0', '9', 4, false));
    rig.terminal.key(keys::kEsc).type("x5 ").extended(scan::kF1).key(GetParam().key);
    EXPECT_EQ(rig.play(), GetParam().again);
}

INSTANTIATE_TEST_SUITE_P(Keys, NewGameQuestion,
                         testing::Values(NewGameKey{'\r', true}, NewGameKey{'j', true},
                                         NewGameKey{'J', true}, NewGameKey{'y', true},
                                         NewGameKey{'Y', true}, NewGameKey{'z', true},
                                         NewGameKey{'Z', true}, NewGameKey{keys::kEsc, false},
                                         NewGameKey{keys::kCtrlC, false}, NewGameKey{'n', false},
                                         NewGameKey{'N', false}),
                         [](const testing::TestParamInfo<NewGameKey>& info) {
                             return "key" + std::to_string(info.param.key);
                         });

}  // namespace
