// Every way out of the real game leaves the terminal usable and the process gone: the terminal
// closed under it, signals from outside, a stop and a continue, a terminal too small.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <termios.h>

#include <chrono>
#include <string>

#include "program/conditions_file.hpp"
#include "support/game_in_pty.hpp"
#include "support/match_rig.hpp"

namespace {

using SteadyClock = std::chrono::steady_clock;

// The game under test is built like the tests. With the sanitizers and without optimisation the
// search's longest stretch between two looks at the terminal grows several times (0.84 s seen).
#if defined(__SANITIZE_ADDRESS__)
constexpr double kSearchReactionSeconds = 3.0;
#else
constexpr double kSearchReactionSeconds = 1.0;
#endif

double seconds_since(SteadyClock::time_point start) {
    return std::chrono::duration<double>(SteadyClock::now() - start).count();
}

// The computer plays against itself on five places over a..s: a search of seconds per try.
ConditionsRecord long_search() {
    ConditionsRecord record = conditions('a', 's', 5, true);
    record.computer_guesses = 1;
    record.time_limit = 0;
    return record;
}

struct Screenful {
    const char* name;
    const char* keys;   // from the title page
    const char* shows;  // once there
    bool search = false;
};

class TerminalClosedOn : public ::testing::TestWithParam<Screenful> {};

// As under nohup: no hang-up signal comes, only the end of the input.
TEST_P(TerminalClosedOn, TheGameEndsWithinASecondWithoutSpinning) {
    const Screenful& where = GetParam();
    GameInPty::Options options;
    if (where.search) options.conditions = long_search();
    options.in_child = [] { signal(SIGHUP, SIG_IGN); };
    GameInPty game(options);
    ASSERT_TRUE(game.wait_for(kTitlePageTitle));
    for (const char* key = where.keys; *key != '\0'; ++key) {
        game.send(std::string(1, *key));
        usleep(100 * 1000);
    }
    ASSERT_TRUE(game.wait_for(where.shows)) << where.name;
    if (where.search) usleep(1000 * 1000);  // well into the tables or the first search

    const auto closed = SteadyClock::now();
    game.close_terminal();
    const int status = game.wait_for_exit(5000);
    const double took = seconds_since(closed);
    ASSERT_NE(status, -1) << "still running";
    EXPECT_LT(took, where.search ? kSearchReactionSeconds : 1.0);
    ASSERT_TRUE(WIFEXITED(status)) << status << " signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    if (!where.search) {
        EXPECT_LT(game.cpu_seconds(), 0.5);
    }
    EXPECT_EQ(std::filesystem::file_size(game.folder() / kConditionsFileName), 80u);
}

INSTANTIATE_TEST_SUITE_P(
    SeveralScreens, TerminalClosedOn,
    ::testing::Values(Screenful{"MainMenu", "e", "Please choose now:"},
                      Screenful{"ConditionsForm", "e53", "Timelimit (only for computer)"},
                      Screenful{"PersonsTry", "e51a", " Game start:"},
                      Screenful{"ClockScreen", "e2", "Please set the right date and time"},
                      Screenful{"Calendar", "e3", "virtual date"},
                      Screenful{"RulesPage", "e7 ", "Differences to the original game:"},
                      Screenful{"ComputersSearch", "e51", " Game start:", true}),
    [](const ::testing::TestParamInfo<Screenful>& info) { return std::string(info.param.name); });

TEST(SignalsFromOutside, EndTheGameByTheSignalWithTheTerminalGivenBack) {
    for (int signal_number : {SIGUSR1, SIGUSR2, SIGALRM, SIGPIPE, SIGXCPU, SIGXFSZ, SIGVTALRM,
                              SIGPROF, SIGTERM, SIGHUP, SIGINT}) {
        GameInPty game;
        ASSERT_TRUE(open_english_menu(game));
        kill(game.pid(), signal_number);
        const int status = game.wait_for_exit(2000);
        ASSERT_TRUE(WIFSIGNALED(status)) << strsignal(signal_number) << " " << status;
        EXPECT_EQ(WTERMSIG(status), signal_number);
        expect_modes_restored(game);
        EXPECT_FALSE(game.screen().contains("Bye-bye!")) << "no closing text after a signal";
        EXPECT_EQ(std::filesystem::file_size(game.folder() / kConditionsFileName), 80u);
    }
}

TEST(SignalsFromOutside, ATerminationDuringASearchEndsItWithinASecond) {
    GameInPty::Options options;
    options.conditions = long_search();
    GameInPty game(options);
    ASSERT_TRUE(open_english_menu(game));
    game.send("5");
    ASSERT_TRUE(game.wait_for("Timelimit (only for computer)"));
    game.send("1");
    ASSERT_TRUE(game.wait_for(" Game start:"));
    usleep(1500 * 1000);

    const auto sent = SteadyClock::now();
    kill(game.pid(), SIGTERM);
    const int status = game.wait_for_exit(3000);
    EXPECT_LT(seconds_since(sent), 1.0) << "the guard's watchdog ends it at the latest";
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
    expect_modes_restored(game);
    const ConditionsRecord saved = load_conditions((game.folder() / kConditionsFileName).string());
    EXPECT_EQ(saved.last_sign, 's');
    EXPECT_EQ(saved.computer_guesses, 1);
}

TEST(StopAndContinue, TheTerminalIsGivenBackWhileStoppedAndRedrawnAfter) {
    GameInPty::Options options;
    options.own_session = false;
    GameInPty game(options);
    ASSERT_TRUE(open_english_menu(game));
    const termios raw = game.modes_now();
    EXPECT_EQ(raw.c_lflag & (ECHO | ICANON), 0u);

    kill(game.pid(), SIGTSTP);
    ASSERT_TRUE(game.wait_for_stop());
    expect_modes_restored(game);

    game.forget_screen();
    kill(game.pid(), SIGCONT);
    ASSERT_TRUE(game.wait_for(" 9 - End of the game."));
    EXPECT_TRUE(game.screen().on_alternate_screen());
    EXPECT_TRUE(game.screen().contains("Please choose now:"));
    EXPECT_EQ(game.modes_now().c_lflag & (ECHO | ICANON), 0u);

    // Ctrl-Z typed is a key, not a stop: the menu ignores it and goes on.
    game.send("\x1a");
    expect_item_nine_ends_cleanly(game);
}

// A session leader's group is orphaned: nobody could continue it, so the stop is dropped and
// the game must take its terminal straight back.
TEST(StopAndContinue, AStopThatCannotHappenLeavesTheGamePlaying) {
    GameInPty game;
    ASSERT_TRUE(open_english_menu(game));
    game.forget_screen();
    kill(game.pid(), SIGTSTP);
    ASSERT_TRUE(game.wait_for(" 9 - End of the game."));
    EXPECT_TRUE(game.screen().on_alternate_screen());
    EXPECT_EQ(game.modes_now().c_lflag & (ECHO | ICANON), 0u);
    expect_item_nine_ends_cleanly(game);
}

TEST(TooSmallTerminal, TheNoticeFitsAndKeysTypedMeanwhileAreDropped) {
    GameInPty game;
    ASSERT_TRUE(open_english_menu(game));

    game.resize(40, 20);
    ASSERT_TRUE(game.wait_for("(now/jetzt 40 x 20)"));
    EXPECT_EQ(game.screen().row(1).substr(0, 40), "Mirelvanthoque needs 80 x 25 /          ");
    EXPECT_EQ(game.screen().row(2).substr(0, 40), "braucht 80 x 25 (now/jetzt 40 x 20)     ");
    // Unseen, "9" would end the game; it must not act.
    game.send("9");
    usleep(300 * 1000);

    game.forget_screen();
    game.resize(80, 25);
    ASSERT_TRUE(game.wait_for(" 9 - End of the game."));
    EXPECT_EQ(game.wait_for_exit(300), -1) << "a key typed while the notice stood acted";
    expect_item_nine_ends_cleanly(game);
}

}  // namespace
