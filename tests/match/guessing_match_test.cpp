#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/keys.hpp"
#include "match/worst_case.hpp"
#include "support/match_rig.hpp"
#include "support/screen_rows.hpp"

namespace {

struct BoardTry {
    std::string code;
    int p;
    int z;
};

// The tries of the first column as the board shows them, up to the first empty row.
std::vector<BoardTry> board_tries(const MatchRig& rig) {
    const int length = rig.app.setup.record.code_length;
    std::vector<BoardTry> tries;
    for (int row = 9; row <= 23; ++row) {
        const std::string text = rig.row(row);
        const std::string code = text.substr(static_cast<std::size_t>((101 - length) / 2 - 1),
                                             static_cast<std::size_t>(length));
        if (code[0] == ' ') break;
        tries.push_back({code, text[55] - '0', text[57] - '0'});
    }
    return tries;
}

std::string pad_to(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

ConditionsRecord computer_guesses(ConditionsRecord record) {
    record.computer_guesses = 1;
    return record;
}

// A person who keeps a code in mind and answers each of the computer's tries as the board
// shows it, each time first with a digit beyond the code length, which must be refused.
void answer_as_person(MatchRig& rig, const std::string& secret) {
    rig.terminal.when_empty([&rig, secret] {
        const int column = rig.console.where_x();
        const int row = rig.console.where_y();
        const int length = static_cast<int>(secret.size());
        if (row == 25) {
            rig.terminal.after_ms(500).type("n");
            return;
        }
        const bool p_cell = column == 56 || column == 76;
        const bool z_cell = column == 58 || column == 78;
        if (!p_cell && !z_cell) return;
        const int code_column = column <= 58 ? (101 - length) / 2 : (141 - length) / 2;
        const std::string shown = rig.row(row).substr(static_cast<std::size_t>(code_column - 1),
                                                      static_cast<std::size_t>(length));
        const auto [p, z] = plain_score(shown, secret);
        rig.terminal.after_ms(700).type(std::to_string(length + 1));
        rig.terminal.after_ms(300).type(std::to_string(p_cell ? p : z));
    });
}

TEST(ComputerGuessing, CracksItsOwnFixedCodeWithinTheWorstCase) {
    MatchRig rig(Language::German, computer_guesses(conditions('1', '6', 4, true)));
    const std::string code = rig.coming_fixed_code();
    rig.terminal.after_ms(1000).type("n");
    EXPECT_FALSE(rig.play());

    const std::vector<BoardTry> tries = board_tries(rig);
    ASSERT_FALSE(tries.empty());
    for (const BoardTry& made : tries) {
        const auto [p, z] = plain_score(made.code, code);
        EXPECT_EQ(made.p, p) << made.code;
        EXPECT_EQ(made.z, z) << made.code;
    }
    EXPECT_EQ(tries.back().code, code);
    EXPECT_LE(static_cast<int>(tries.size()), worst_case_tries(4, 6, true, false));
    EXPECT_EQ(rig.row(25).substr(0, 45),
              "Loesung: " + code + "          Benoetigte Versuche: " + std::to_string(tries.size()));
    EXPECT_EQ(rig.row(14), full_row("| Die Loesung stammt vom Computer.    |*|   |         | | |*|   |         | | |"));
}

TEST(ComputerGuessing, AgainstItsOwnVariableCodeEveryAnswerFitsTheCodeItEndsWith) {
    ConditionsRecord record = computer_guesses(conditions('a', 'e', 4, true));
    record.answer_fixed = 0;
    MatchRig rig(Language::English, record);
    rig.terminal.after_ms(1000).type("y");
    EXPECT_TRUE(rig.play());

    const std::vector<BoardTry> tries = board_tries(rig);
    ASSERT_FALSE(tries.empty());
    const std::string code = rig.answer_code();
    EXPECT_EQ(tries.back().code, code);
    EXPECT_EQ(tries.back().p, 4);
    for (const BoardTry& made : tries) {
        const auto [p, z] = plain_score(made.code, code);
        EXPECT_EQ(made.p, p) << made.code;
        EXPECT_EQ(made.z, z) << made.code;
    }
    // The variable code holds out for exactly the number of tries the header states.
    EXPECT_EQ(static_cast<int>(tries.size()), worst_case_tries(4, 5, true, false));
    EXPECT_EQ(rig.row(25).substr(0, 9), "Answer:  ");
}

TEST(ComputerGuessing, APersonAnswersAndImpossibleDigitsAreRefused) {
    ConditionsRecord record = computer_guesses(conditions('0', '7', 4, false));
    record.computer_sets_riddle = 0;
    MatchRig rig(Language::German, record);
    const std::string secret = "5270";
    answer_as_person(rig, secret);
    EXPECT_FALSE(rig.play());

    const std::vector<BoardTry> tries = board_tries(rig);
    ASSERT_FALSE(tries.empty());
    for (const BoardTry& made : tries) {
        const auto [p, z] = plain_score(made.code, secret);
        EXPECT_EQ(made.p, p) << made.code;
        EXPECT_EQ(made.z, z) << made.code;
    }
    EXPECT_EQ(tries.back().code, secret);
    EXPECT_EQ(rig.answer_code(), secret);
    EXPECT_LE(static_cast<int>(tries.size()), worst_case_tries(4, 8, false, false));
    EXPECT_EQ(rig.row(12).substr(0, 38), "| Das Raetsel stammt von              ");
}

TEST(ComputerGuessing, EscInThePersonsAnswerEndsTheMatch) {
    ConditionsRecord record = computer_guesses(conditions('0', '7', 4, false));
    record.computer_sets_riddle = 0;
    MatchRig rig(Language::English, record);
    rig.terminal.when_empty([&rig] {
        if (rig.console.where_y() == 25) rig.terminal.after_ms(500).type("n");
        else if (rig.console.where_x() == 56) rig.terminal.after_ms(500).key(keys::kCtrlC);
    });
    EXPECT_FALSE(rig.play());
    // The first try stands on the board, unanswered.
    EXPECT_EQ(board_tries(rig).size(), 1u);
    EXPECT_EQ(rig.row(9).substr(55, 3), " | ");
    EXPECT_EQ(rig.row(19).substr(0, 12), "| Game end  ");
    EXPECT_EQ(rig.row(25).substr(0, 30), pad_to("Answer:", 30));
}

TEST(ComputerGuessing, OverThreeSignsPlaysWithoutVacantSignsButShowsTheChoice) {
    ConditionsRecord record = computer_guesses(conditions('a', 'c', 4, true));
    record.vacant_signs = 1;
    MatchRig rig(Language::German, record);
    rig.terminal.after_ms(1000).type("n");
    rig.play();
    EXPECT_EQ(rig.row(7).substr(0, 38), "| Das Leerzeichen \" \"/\"*\" darf zum    ");
    EXPECT_EQ(rig.row(8).substr(0, 38), "| Raten zuhilfegenommen werden.       ");
    for (const BoardTry& made : board_tries(rig))
        EXPECT_EQ(made.code.find('*'), std::string::npos) << made.code;
    EXPECT_EQ(rig.app.setup.record.vacant_signs, 1);
}

TEST(ComputerGuessing, OverTwoSignsTheVacantSignStaysInUse) {
    ConditionsRecord record = computer_guesses(conditions('a', 'b', 5, true));
    record.vacant_signs = 1;
    MatchRig rig(Language::English, record);
    const std::string code = rig.coming_fixed_code();
    rig.terminal.after_ms(1000).type("n");
    rig.play();
    const std::vector<BoardTry> tries = board_tries(rig);
    ASSERT_FALSE(tries.empty());
    EXPECT_EQ(tries.back().code, code);
    // The opening of five places over two signs with the vacant sign ends in it.
    EXPECT_NE(tries.front().code.find('*'), std::string::npos) << tries.front().code;
    EXPECT_LE(static_cast<int>(tries.size()), worst_case_tries(5, 2, true, true));
}

TEST(ComputerGuessing, EscWhileTheTablesAreBuiltEndsTheMatch) {
    MatchRig rig(Language::German, computer_guesses(conditions('a', 'h', 5, true)));
    const std::string code = rig.coming_fixed_code();
    rig.terminal.key(keys::kEsc).after_ms(1000).type("n");
    EXPECT_FALSE(rig.play());
    EXPECT_TRUE(board_tries(rig).empty());
    EXPECT_EQ(rig.row(19).substr(0, 13), "| Spielende  ");
    EXPECT_EQ(rig.row(25).substr(0, 50),
              "Loesung: " + code + "         Benoetigte Versuche:       ");
}

}  // namespace
