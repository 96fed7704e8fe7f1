// Starts the built game in a real pseudo-terminal, types as a terminal would and reads what
// the game draws.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <string>

#include "support/game_in_pty.hpp"
#include "support/match_rig.hpp"

namespace {

const char* const kTitle = kTitlePageTitle;

// From the title page through the English menu and conditions screen to a match's board.
bool begin_english_match(GameInPty& game) {
    return open_english_menu(game) &&
           (game.send("5"), game.wait_for("Timelimit (only for computer)")) &&
           (game.send("1"), game.wait_for(" Game start:"));
}

// "n" to the new-game question, then item 9 of the menu.
void expect_no_new_game_then_a_clean_end(GameInPty& game) {
    game.send("n");
    ASSERT_TRUE(game.wait_for(" 9 - End of the game."));
    expect_item_nine_ends_cleanly(game);
}

TEST(GameInPty, EscOnTheTitlePageEndsWithTheClosingText) {
    GameInPty game;
    ASSERT_TRUE(game.wait_for(kTitle));
    EXPECT_TRUE(game.screen().on_alternate_screen());
    EXPECT_EQ(game.screen().row(1), std::string(kTitle) + " ");
    EXPECT_EQ(game.screen().row(19).substr(0, 9), " Deutsch:");

    game.send("\x1b");
    const int status = game.wait_for_exit();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(game.screen().contains("Bye-bye!"));
    EXPECT_TRUE(game.screen().contains("version without graphics characters."));
    EXPECT_TRUE(game.screen().contains("/mirelvanthoque"));
    expect_modes_restored(game);
}

TEST(GameInPty, EnglishMenuThenItemNine) {
    GameInPty game;
    ASSERT_TRUE(game.wait_for(kTitle));
    game.send("e");
    ASSERT_TRUE(game.wait_for("Please choose now:"));
    EXPECT_TRUE(game.screen().contains(" 9 - End of the game."));
    game.send("9");
    const int status = game.wait_for_exit();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(game.screen().contains("Bye-bye!"));
    expect_modes_restored(game);
}

TEST(GameInPty, GermanMenuSurvivesCtrlCAndStrayBytesThenEnds) {
    GameInPty game;
    ASSERT_TRUE(game.wait_for(kTitle));
    game.send("D");
    ASSERT_TRUE(game.wait_for("Bitte waehlen Sie:"));
    // Unknown and cut sequences, arrows and pasted text: all ignored by the menu.
    game.send("\x1b[99;99~\x1b[1;5A\x1bOQ\x1b[\x1b[200~xyz\x1b[201~\x7f");
    game.send("\x03");  // Ctrl-C is a key here: item 9
    const int status = game.wait_for_exit();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    expect_modes_restored(game);
}

TEST(GameInPty, ATerminationSignalRestoresTheTerminal) {
    for (int signal_number : {SIGTERM, SIGHUP, SIGINT}) {
        GameInPty game;
        ASSERT_TRUE(game.wait_for(kTitle));
        kill(game.pid(), signal_number);
        const int status = game.wait_for_exit();
        ASSERT_TRUE(WIFSIGNALED(status)) << signal_number;
        EXPECT_EQ(WTERMSIG(status), signal_number);
        expect_modes_restored(game);
    }
}

TEST(GameInPty, ACrashRestoresTheTerminal) {
    GameInPty game;
    ASSERT_TRUE(game.wait_for(kTitle));
    kill(game.pid(), SIGSEGV);
    const int status = game.wait_for_exit();
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGSEGV);
    expect_modes_restored(game);
}

TEST(GameInPty, OneShortMatchAgainstTheComputersFixedCodeSurvivesAResize) {
    // Two signs, two places: one of aa, ab, ba, bb is the code.
    ConditionsRecord conditions;
    conditions.first_sign = 'a';
    conditions.last_sign = 'b';
    conditions.code_length = 2;
    conditions.repetition = 1;
    GameInPty game(conditions);
    ASSERT_TRUE(begin_english_match(game));
    EXPECT_EQ(game.screen().row(9).substr(38, 20), "|*|  1|   ..    | | ");

    // A resize draws the whole match again: board, panel and status line. The first drawing
    // must be read to its end before, or its last bytes pass for the new one.
    ASSERT_TRUE(game.wait_for("New Game? Yes."));
    game.forget_screen();
    kill(game.pid(), SIGWINCH);
    ASSERT_TRUE(game.wait_for("New Game? Yes."));
    EXPECT_EQ(game.screen().row(1), "___  ***  Mirelvanthoque  **  Windows - 64-Bit - Version  2025-06-21.  ***  ___ ");
    EXPECT_EQ(game.screen().row(9).substr(38, 20), "|*|  1|   ..    | | ");
    EXPECT_TRUE(game.screen().contains(" Game start:"));

    const char* const tries[] = {"aa", "ab", "ba", "bb"};
    int made = 0;
    for (const char* attempt : tries) {
        ++made;
        game.send(attempt);
        const int row = 8 + made;
        ASSERT_TRUE(game.wait_until([&](const VtScreen& screen) { return screen.row(row)[55] != ' '; }))
            << attempt;
        if (game.screen().row(row)[55] == '2') break;
    }
    ASSERT_TRUE(game.wait_for("Game end"));
    const std::string status = game.screen().row(25);
    EXPECT_EQ(status.substr(0, 11), std::string("Answer:  ") + tries[made - 1]);
    EXPECT_EQ(status.substr(44, 1), std::to_string(made));

    expect_no_new_game_then_a_clean_end(game);
}

TEST(GameInPty, TheComputerCracksAPersonsCode) {
    // Three places over four signs; the person answers every try against "dab".
    ConditionsRecord conditions;
    conditions.first_sign = 'a';
    conditions.last_sign = 'd';
    conditions.code_length = 3;
    conditions.repetition = 1;
    conditions.computer_sets_riddle = 0;
    conditions.computer_guesses = 1;
    const std::string secret = "dab";
    GameInPty game(conditions);
    ASSERT_TRUE(begin_english_match(game));

    // Answer whatever cell the cursor waits on until the match ends.
    for (int answers = 0; answers < 40; ++answers) {
        ASSERT_TRUE(game.wait_until([](const VtScreen& screen) {
            const int column = screen.cursor_column();
            return screen.contains("Game end") || column == 56 || column == 58 || column == 76 ||
                   column == 78;
        }));
        if (game.screen().contains("Game end")) break;
        const int column = game.screen().cursor_column();
        const std::string row = game.screen().row(game.screen().cursor_row());
        const std::string shown = row.substr(column <= 58 ? 48 : 68, 3);
        const auto [p, z] = plain_score(shown, secret);
        const bool p_cell = column == 56 || column == 76;
        game.send(std::to_string(p_cell ? p : z));
        // Wait until the cursor has left this cell (the next one may be in the same column).
        const int cell_row = game.screen().cursor_row();
        ASSERT_TRUE(game.wait_until([&](const VtScreen& screen) {
            return screen.cursor_column() != column || screen.cursor_row() != cell_row ||
                   screen.contains("Game end");
        }));
    }
    ASSERT_TRUE(game.wait_for("Game end"));
    const std::string status = game.screen().row(25);
    EXPECT_EQ(status.substr(0, 12), "Answer:  " + secret);
    expect_no_new_game_then_a_clean_end(game);
}

}  // namespace
