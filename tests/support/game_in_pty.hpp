#pragma once

#include <sys/resource.h>
#include <sys/types.h>
#include <termios.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "setup/conditions_record.hpp"
#include "support/vt_screen.hpp"

inline const char* const kTitlePageTitle =
    " *******  Mirelvanthoque  ***  Windows - 64-Bit - Version  2025-06-21.  *******";

// The built game started in a real pseudo-terminal of 80 x 25, as a session leader with the
// terminal as its controlling one. Types as a terminal would and reads what the game draws.
class GameInPty {
public:
    struct Options {
        // With conditions, the game finds them in its file as a user left them.
        std::optional<ConditionsRecord> conditions;
        // Runs in the child before the game starts (after the terminal is set up), e.g. to
        // ignore a signal or drop privileges.
        std::function<void()> in_child;
        // Prepares the game's folder (holding the copy of the game) before the start.
        std::function<void(const std::filesystem::path& folder)> prepare_folder;
        // A session of its own with the terminal as its controlling one, as a login shell
        // would have it; otherwise a process group of its own in ours, where a stop stops it.
        bool own_session = true;
    };

    GameInPty() : GameInPty(Options{}) {}
    explicit GameInPty(const std::optional<ConditionsRecord>& conditions)
        : GameInPty(Options{conditions, {}, {}}) {}
    explicit GameInPty(const Options& options);
    ~GameInPty();
    GameInPty(const GameInPty&) = delete;
    GameInPty& operator=(const GameInPty&) = delete;

    void send(std::string_view bytes);

    // Reads what the game draws until the screen shows the text or the time is up.
    bool wait_for(std::string_view text, int timeout_ms = 5000);
    bool wait_until(const std::function<bool(const VtScreen&)>& shown, int timeout_ms = 5000);
    // Wipes our copy of the screen, so that only what the game draws from now on shows.
    void forget_screen();

    // Waits for the game to end and returns its wait status, or -1 after the timeout.
    int wait_for_exit(int timeout_ms = 5000);
    // The processor time the game used, known once it has ended.
    double cpu_seconds() const;

    // Closes our side of the terminal: the game's reads end and its hang-up comes.
    void close_terminal();
    // Waits until the game has stopped (a job-control stop), reading what it draws meanwhile.
    bool wait_for_stop(int timeout_ms = 5000);
    // The terminal takes a new size and the game hears of it.
    void resize(int columns, int rows);

    pid_t pid() const { return pid_; }
    const std::filesystem::path& folder() const { return folder_; }
    const VtScreen& screen() const { return screen_; }
    termios modes_now() const;
    const termios& modes_before() const { return modes_before_; }

private:
    bool read_some(std::chrono::steady_clock::time_point deadline);
    void drain();

    static inline int runs_ = 0;
    std::filesystem::path folder_;
    int master_ = -1, slave_ = -1;
    pid_t pid_ = -1;
    bool exited_ = false;
    rusage usage_{};
    termios modes_before_{};
    VtScreen screen_{80, 25};
};

// From the title page to the English main menu.
bool open_english_menu(GameInPty& game);

// Item 9 of the menu on screen: the game ends with status 0 and the terminal as it was.
void expect_item_nine_ends_cleanly(GameInPty& game);

// The terminal has its modes from before the game, the main screen and a visible cursor.
void expect_modes_restored(const GameInPty& game);
