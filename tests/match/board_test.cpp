#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "match/board.hpp"
#include "support/screen_rows.hpp"
#include "support/test_rig.hpp"

namespace {

std::string pad(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

const std::string kBoard = "|*|   |         | | |*|   |         | | |";

struct BoardRig : TestRig {
    explicit BoardRig(Language language) {
        validate_conditions(app.setup);
        app.game_language = language;
    }
};

TEST(MatchScreen, GermanHeaderWithTheComputersFixedRiddle) {
    BoardRig rig(Language::German);
    const std::string name = "Eva Lind";
    std::copy(name.begin(), name.end(), rig.app.setup.record.player2.text.begin());
    draw_match_screen(rig.app, MatchHeader{7, "   (0123)   ", false});
    const std::vector<std::string> rows = {
        "___  ***  Mirelvanthoque  **  Windows - 64-Bit - Version  2025-06-21.  ***  ___",
        "|                                                                             |",
        "|_____________________________________________________________________________|",
        pad("| 0123456789", 43) + "|   Der Code kann mit maximal 7    |",
        "| 4 Zeichen ohne Wiederholung     (0123)   |   Versuchen geknackt werden.     |",
        "|__________________________________________|__________________________________|",
        "| Das Leerzeichen \" \"/\"*\" darf zum    |*|Nr.|  Code   |P|Z|*|Nr.|  Code   |P|Z|",
        "| Raten nicht zuhilfegenommen werden. |*|___|_________|_|_|*|___|_________|_|_|",
        "| Der zu ratende Code ist fest.       |*|  1|         | | |*|   |         | | |",
        "|                                     " + kBoard,
        "|_____________________________________" + kBoard,
        "| Das Raetsel stammt vom Computer.    " + kBoard,
        "|                                     " + kBoard,
        "| Die Loesung stammt von              " + kBoard,
        "| Eva Lind.                           " + kBoard,
        "|_____________________________________" + kBoard,
    };
    for (int row = 1; row <= 16; ++row) EXPECT_EQ(rig.row(row), full_row(rows[row - 1])) << row;
    for (int row = 17; row <= 23; ++row)
        EXPECT_EQ(rig.row(row), full_row("|                                     " + kBoard)) << row;
    EXPECT_EQ(rig.row(24), full_row("|_____________________________________|_|___|_________|_|_|_|___|_________|_|_|"));
}

TEST(MatchScreen, EnglishHeaderForAVariableCodeWithVacantSignsChosen) {
    BoardRig rig(Language::English);
    ConditionsRecord& record = rig.app.setup.record;
    record.answer_fixed = 0;
    record.repetition = 1;
    record.computer_sets_riddle = 0;
    record.computer_guesses = 1;
    draw_match_screen(rig.app, MatchHeader{12, "            ", true});
    EXPECT_EQ(rig.row(4), full_row(pad("| 0123456789", 43) + "| It is possible to crack the code |"));
    EXPECT_EQ(rig.row(5), full_row(pad("| 4 signs with repetition", 43) + "| with 12  trials.                 |"));
    EXPECT_EQ(rig.row(7), full_row("| The vacant sign ' '/'*' may be used |*|No.|  Code   |P|S|*|No.|  Code   |P|S|"));
    EXPECT_EQ(rig.row(8), full_row("| for guessing.                       |*|___|_________|_|_|*|___|_________|_|_|"));
    EXPECT_EQ(rig.row(9), full_row("| The answercode is not fixed.        |*|  1|         | | |*|   |         | | |"));
    // A person without a name, and the computer in two rows.
    EXPECT_EQ(rig.row(12), full_row("| The riddle comes from               " + kBoard));
    EXPECT_EQ(rig.row(13), full_row("| .                                   " + kBoard));
    EXPECT_EQ(rig.row(14), full_row("| The solution comes from             " + kBoard));
    EXPECT_EQ(rig.row(15), full_row("| the computer.                       " + kBoard));
}

TEST(MatchScreen, WorstCaseTextsInAllTheirForms) {
    BoardRig german(Language::German);
    german.app.setup.record.answer_fixed = 0;
    draw_match_screen(german.app, MatchHeader{123, std::string(12, ' '), false});
    EXPECT_EQ(german.row(4).substr(43, 36), "|   Der Code kann mit genau 123    |");
    EXPECT_EQ(german.row(5).substr(43, 36), "|   Versuchen geknackt werden.     |");
    BoardRig none(Language::English);
    draw_match_screen(none.app, MatchHeader{0, std::string(12, ' '), false});
    EXPECT_EQ(none.row(4).substr(43, 36), "|" + std::string(34, ' ') + "|");
    EXPECT_EQ(none.row(5).substr(43, 36), "|" + std::string(34, ' ') + "|");
    BoardRig fixed(Language::English);
    draw_match_screen(fixed.app, MatchHeader{5, std::string(12, ' '), false});
    EXPECT_EQ(fixed.row(5).substr(43, 36), "| with 5   trials or less.         |");
    EXPECT_EQ(fixed.row(7), full_row("| The vacant sign ' '/'*' cannot be   |*|No.|  Code   |P|S|*|No.|  Code   |P|S|"));
    EXPECT_EQ(fixed.row(8), full_row("| used for guessing.                  |*|___|_________|_|_|*|___|_________|_|_|"));
}

TEST(BoardGeometry, SlotsColumnsAndCentredCodes) {
    EXPECT_EQ(BoardPlace::of_slot(1).screen_row(), 9);
    EXPECT_EQ(BoardPlace::of_slot(15).screen_row(), 23);
    EXPECT_EQ(BoardPlace::of_slot(16).column, 2);
    EXPECT_EQ(BoardPlace::of_slot(16).screen_row(), 9);
    EXPECT_EQ(BoardPlace::of_slot(1).code_column(4), 48);
    EXPECT_EQ(BoardPlace::of_slot(1).code_column(9), 46);
    EXPECT_EQ(BoardPlace::of_slot(30).code_column(9), 66);
    EXPECT_EQ(BoardPlace::of_slot(30).code_column(2), 69);
}

TEST(BoardNumbers, ThreePlacesWithBlanksOrZeros) {
    BoardRig rig(Language::German);
    draw_match_screen(rig.app, MatchHeader{});
    write_try_number(rig.console, BoardPlace{1, 7}, 7, false);
    write_try_number(rig.console, BoardPlace{2, 1}, 17, false);
    write_try_number(rig.console, BoardPlace{2, 2}, 1005, true);
    EXPECT_EQ(rig.row(15).substr(38, 8), "|*|  7| ");
    EXPECT_EQ(rig.row(9).substr(58, 7), "|*| 17|");
    EXPECT_EQ(rig.row(10).substr(60, 6), "|005| ");
}

TEST(BoardRing, TryThirtyOneTakesSlotOneAndTryOneIsGone) {
    BoardRig rig(Language::German);
    draw_match_screen(rig.app, MatchHeader{});
    std::array<TryRecord, 30> slots;
    for (int slot = 1; slot <= 30; ++slot) {
        TryRecord& record = slots[slot - 1];
        record.number = static_cast<std::uint16_t>(slot);
        const std::string code = std::to_string(1000 + slot);
        std::copy(code.begin(), code.end(), record.code.begin());
        record.p = static_cast<std::uint8_t>(slot % 4);
        record.z = static_cast<std::uint8_t>(slot % 3);
    }
    slots[0].number = 31;
    redraw_board_ring(rig.console, slots, 1, 4, false, true);
    // Try 2 at the top of column 1, try 16 at the bottom, try 17 at the top of column 2.
    EXPECT_EQ(rig.row(9).substr(38, 41), "|*|  2|  1002   |2|2|*| 17|  1017   |1|2|");
    EXPECT_EQ(rig.row(23).substr(38, 21), "|*| 16|  1016   |0|1|");
    EXPECT_EQ(rig.row(22).substr(58, 21), "|*| 30|  1030   |2|0|");
    // The newest row waits for try 31.
    EXPECT_EQ(rig.row(23).substr(58, 21), "|*| 31|  ....   | | |");
    for (int row = 9; row <= 23; ++row) EXPECT_EQ(rig.row(row).find("1001"), std::string::npos);
}

TEST(BoardRing, TheComputerGuessingLeavesTheNewRowBlank) {
    BoardRig rig(Language::English);
    draw_match_screen(rig.app, MatchHeader{});
    std::array<TryRecord, 30> slots;
    for (int slot = 1; slot <= 30; ++slot) slots[slot - 1].number = static_cast<std::uint16_t>(1000 + slot);
    redraw_board_ring(rig.console, slots, 5, 4, true, false);
    EXPECT_EQ(rig.row(23).substr(58, 21), "|*|005|         | | |");
    EXPECT_EQ(rig.row(9).substr(38, 6), "|*|006");
}

}  // namespace
