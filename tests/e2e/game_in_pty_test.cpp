// Starts the built game in a real pseudo-terminal, types as a terminal would and reads what
// the game draws.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "setup/conditions_file.hpp"
#include "support/match_rig.hpp"
#include "support/vt_screen.hpp"

namespace {

const char* const kTitle =
    " *******  Mirelvanthoque  ***  Windows - 64-Bit - Version  2025-06-21.  *******";

class GameInPty {
public:
    // With conditions, the game finds them in its file as a user left them.
    explicit GameInPty(const std::optional<ConditionsRecord>& conditions = std::nullopt) {
        // The game writes its conditions file beside itself; run a copy in a folder of its own.
        folder_ = std::filesystem::temp_directory_path() /
                  ("mirelvanthoque-e2e-" + std::to_string(getpid()) + "-" + std::to_string(++runs_));
        std::filesystem::create_directories(folder_);
        const auto game = folder_ / "mirelvanthoque";
        std::filesystem::copy_file(MIRELVANTHOQUE_GAME_PATH, game,
                                   std::filesystem::copy_options::overwrite_existing);
        if (conditions && !save_conditions((folder_ / kConditionsFileName).string(), *conditions))
            std::abort();

        winsize size{};
        size.ws_col = 80;
        size.ws_row = 25;
        if (openpty(&master_, &slave_, nullptr, nullptr, &size) != 0) std::abort();
        tcgetattr(slave_, &modes_before_);
        pid_ = fork();
        if (pid_ == 0) {
            close(master_);
            setsid();
            ioctl(slave_, TIOCSCTTY, 0);
            dup2(slave_, 0);
            dup2(slave_, 1);
            dup2(slave_, 2);
            if (slave_ > 2) close(slave_);
            setenv("TERM", "xterm-256color", 1);
            execl(game.c_str(), game.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }

    ~GameInPty() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(master_);
        close(slave_);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    void send(std::string_view bytes) { (void)!write(master_, bytes.data(), bytes.size()); }

    // Reads what the game draws until the screen shows the text or the time is up.
    bool wait_for(std::string_view text, int timeout_ms = 5000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        while (!screen_.contains(text)) {
            if (!read_some(deadline)) return false;
        }
        return true;
    }

    bool wait_until(const std::function<bool(const VtScreen&)>& shown, int timeout_ms = 5000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        while (!shown(screen_)) {
            if (!read_some(deadline)) return false;
        }
        return true;
    }

    // Wipes our copy of the screen, so that only what the game draws from now on shows.
    void forget_screen() { screen_.feed("\x1b[2J"); }

    // Waits for the game to end and returns its wait status, or -1 after the timeout.
    int wait_for_exit(int timeout_ms = 5000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        for (;;) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                drain();
                return status;
            }
            if (std::chrono::steady_clock::now() > deadline) return -1;
            read_some(std::chrono::steady_clock::now() + std::chrono::milliseconds(20));
        }
    }

    pid_t pid() const { return pid_; }
    const VtScreen& screen() const { return screen_; }
    termios modes_now() const {
        termios now{};
        tcgetattr(slave_, &now);
        return now;
    }
    const termios& modes_before() const { return modes_before_; }

private:
    bool read_some(std::chrono::steady_clock::time_point deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd fd{master_, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) return false;
        char buffer[4096];
        const ssize_t got = read(master_, buffer, sizeof buffer);
        if (got <= 0) return false;
        screen_.feed(std::string_view(buffer, static_cast<std::size_t>(got)));
        return true;
    }

    void drain() {
        while (read_some(std::chrono::steady_clock::now() + std::chrono::milliseconds(50))) {
        }
    }

    static inline int runs_ = 0;
    std::filesystem::path folder_;
    int master_ = -1, slave_ = -1;
    pid_t pid_ = -1;
    bool exited_ = false;
    termios modes_before_{};
    VtScreen screen_{80, 25};
};

void expect_modes_restored(const GameInPty& game) {
    const termios before = game.modes_before();
    const termios after = game.modes_now();
    EXPECT_EQ(after.c_lflag & (ECHO | ICANON | ISIG | IEXTEN), before.c_lflag & (ECHO | ICANON | ISIG | IEXTEN));
    EXPECT_EQ(after.c_iflag & (IXON | ICRNL), before.c_iflag & (IXON | ICRNL));
    EXPECT_EQ(after.c_oflag & OPOST, before.c_oflag & OPOST);
    EXPECT_FALSE(game.screen().on_alternate_screen());
    EXPECT_TRUE(game.screen().cursor_visible());
}

// From the title page through the English menu and conditions screen to a match's board.
bool begin_english_match(GameInPty& game) {
    return game.wait_for(kTitle) && (game.send("e"), game.wait_for("Please choose now:")) &&
           (game.send("5"), game.wait_for("Timelimit (only for computer)")) &&
           (game.send("1"), game.wait_for(" Game start:"));
}

// "n" to the new-game question, then item 9 of the menu.
void expect_no_new_game_then_a_clean_end(GameInPty& game) {
    game.send("n");
    ASSERT_TRUE(game.wait_for(" 9 - End of the game."));
    game.send("9");
    const int status = game.wait_for_exit();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    expect_modes_restored(game);
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

    // A resize draws the whole match again: board, panel and status line.
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
