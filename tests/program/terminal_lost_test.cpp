// The terminal goes away under the game, whatever screen or work is under way: the run ends at
// once with the conditions saved, the terminal given back and no closing text.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "program/conditions_file.hpp"
#include "program/program.hpp"
#include "support/match_rig.hpp"
#include "support/temp_folder.hpp"
#include "support/test_rig.hpp"

namespace {

struct LostCase {
    const char* where;
    const char* keys;  // typed before the terminal goes away
    int row;           // a row that shows where the run was, and what it shows there
    const char* shows;
    bool computer_guesses = false;
    bool computer_sets_riddle = true;
    char last_sign = 'h';
    std::uint8_t code_length = 4;
};

// Conditions a user left, so that what the run saves can be told from the defaults.
ConditionsRecord left_conditions(const LostCase& where) {
    ConditionsRecord record = conditions('a', where.last_sign, where.code_length, true);
    record.time_limit = 3;
    record.computer_guesses = where.computer_guesses;
    record.computer_sets_riddle = where.computer_sets_riddle;
    return record;
}

class TerminalLostOn : public ::testing::TestWithParam<LostCase> {};

TEST_P(TerminalLostOn, EndsTheRunSavedAndQuiet) {
    const LostCase& where = GetParam();
    TempFolder folder("mirelvanthoque-lost");
    const std::string file = folder.file(kConditionsFileName);
    ASSERT_TRUE(save_conditions(file, left_conditions(where)));
    TestRig rig(ScriptedTerminal::WhenExhausted::Lose, folder.file("mirelvanthoque"));
    rig.terminal.type(where.keys);

    EXPECT_EQ(run_program(rig.app), kExitTerminalLost);
    EXPECT_EQ(rig.terminal.keys_left(), 0u);
    EXPECT_TRUE(rig.terminal.is_shut_down());
    EXPECT_TRUE(rig.terminal.closing_lines().empty());
    // Saved as at the end of a run: the user's own conditions, not the defaults.
    const ConditionsRecord saved = load_conditions(file);
    EXPECT_EQ(saved.last_sign, left_conditions(where).last_sign);
    EXPECT_EQ(saved.time_limit, 3);
    EXPECT_EQ(TempFolder::read_bytes(file).size(), 80u);
    EXPECT_NE(rig.row(where.row).find(where.shows), std::string::npos) << rig.row(where.row);
}

INSTANTIATE_TEST_SUITE_P(
    EveryScreen, TerminalLostOn,
    ::testing::Values(
        LostCase{"TitlePage", "", 19, " Deutsch:"},
        LostCase{"MainMenu", "d", 19, "Bitte waehlen Sie:"},
        LostCase{"ClockScreen", "d2", 18, "Jahr (1980 - ?\?\?\?): 2026"},
        LostCase{"ClockScreenEditing", "e21", 18, "Year (1980 - ?\?\?\?): 1026"},
        LostCase{"Calendar", "d3", 1, "virtuelles Spieldatum"},
        LostCase{"ColourScreen", "e4", 4, "Please set the combination of colours"},
        LostCase{"ShortRules", "d6", 1, "Spielregeln"},
        LostCase{"DetailedRules", "e7 ", 9, "Differences to the original game:"},
        LostCase{"Configuration", "d8", 1, "Konfiguration"},
        LostCase{"ConditionsChoice", "e5", 20, "Please choose now (1, 2, 3 or 4):  1."},
        LostCase{"ConditionsForm", "d53", 10, "Gewuenschte Spielbedingungen:"},
        LostCase{"NameField", "e53\r\r\r\r\r\r\r\r\r", 24, "2nd player,who cracks the code"},
        LostCase{"PersonsTry", "d51ab", 9, "ab.."},
        LostCase{"ComputersTables", "e51", 4, "abcdefghijklmnopqrs", true, true, 's', 5},
        LostCase{"PersonsAnswer", "d51", 9, "  1|", true, false, 'f', 4},
        LostCase{"NewGameQuestion", "e51\x1b", 25, "New Game? Yes."}),
    [](const ::testing::TestParamInfo<LostCase>& info) { return std::string(info.param.where); });

}  // namespace
