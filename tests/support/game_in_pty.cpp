#include "support/game_in_pty.hpp"

#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "program/conditions_file.hpp"

GameInPty::GameInPty(const Options& options) {
    // The game writes its conditions file beside itself; run a copy in a folder of its own.
    folder_ = std::filesystem::temp_directory_path() /
              ("mirelvanthoque-e2e-" + std::to_string(getpid()) + "-" + std::to_string(++runs_));
    std::filesystem::create_directories(folder_);
    const auto game = folder_ / "mirelvanthoque";
    std::filesystem::copy_file(MIRELVANTHOQUE_GAME_PATH, game,
                               std::filesystem::copy_options::overwrite_existing);
    if (options.conditions &&
        !save_conditions((folder_ / kConditionsFileName).string(), *options.conditions))
        std::abort();
    if (options.prepare_folder) options.prepare_folder(folder_);

    winsize size{};
    size.ws_col = 80;
    size.ws_row = 25;
    if (openpty(&master_, &slave_, nullptr, nullptr, &size) != 0) std::abort();
    tcgetattr(slave_, &modes_before_);
    pid_ = fork();
    if (pid_ == 0) {
        close(master_);
        if (options.own_session) {
            setsid();
            ioctl(slave_, TIOCSCTTY, 0);
        } else {
            setpgid(0, 0);
        }
        dup2(slave_, 0);
        dup2(slave_, 1);
        dup2(slave_, 2);
        if (slave_ > 2) close(slave_);
        setenv("TERM", "xterm-256color", 1);
        if (options.in_child) options.in_child();
        execl(game.c_str(), game.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

GameInPty::~GameInPty() {
    if (pid_ > 0 && !exited_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) close(master_);
    close(slave_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void GameInPty::send(std::string_view bytes) {
    if (master_ >= 0) (void)!write(master_, bytes.data(), bytes.size());
}

bool GameInPty::wait_for(std::string_view text, int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!screen_.contains(text)) {
        if (!read_some(deadline)) return false;
    }
    return true;
}

bool GameInPty::wait_until(const std::function<bool(const VtScreen&)>& shown, int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!shown(screen_)) {
        if (!read_some(deadline)) return false;
    }
    return true;
}

void GameInPty::forget_screen() { screen_.feed("\x1b[2J"); }

int GameInPty::wait_for_exit(int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        int status = 0;
        if (wait4(pid_, &status, WNOHANG, &usage_) == pid_) {
            exited_ = true;
            drain();
            return status;
        }
        if (std::chrono::steady_clock::now() > deadline) return -1;
        if (master_ < 0 || !read_some(std::chrono::steady_clock::now() + std::chrono::milliseconds(20)))
            usleep(5000);
    }
}

double GameInPty::cpu_seconds() const {
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage_.ru_utime) + seconds(usage_.ru_stime);
}

bool GameInPty::wait_for_stop(int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG | WUNTRACED) == pid_ && WIFSTOPPED(status)) {
            drain();
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline) return false;
        if (!read_some(std::chrono::steady_clock::now() + std::chrono::milliseconds(20))) usleep(5000);
    }
}

void GameInPty::resize(int columns, int rows) {
    winsize size{};
    size.ws_col = static_cast<unsigned short>(columns);
    size.ws_row = static_cast<unsigned short>(rows);
    ioctl(master_, TIOCSWINSZ, &size);
    kill(pid_, SIGWINCH);
}

void GameInPty::close_terminal() {
    if (master_ < 0) return;
    close(master_);
    master_ = -1;
}

termios GameInPty::modes_now() const {
    termios now{};
    tcgetattr(slave_, &now);
    return now;
}

bool GameInPty::read_some(std::chrono::steady_clock::time_point deadline) {
    if (master_ < 0) return false;
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

void GameInPty::drain() {
    while (read_some(std::chrono::steady_clock::now() + std::chrono::milliseconds(50))) {
    }
}

bool open_english_menu(GameInPty& game) {
    if (!game.wait_for(kTitlePageTitle)) return false;
    game.send("e");
    return game.wait_for("Please choose now:");
}

void expect_item_nine_ends_cleanly(GameInPty& game) {
    game.send("9");
    const int status = game.wait_for_exit();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    expect_modes_restored(game);
}

void expect_modes_restored(const GameInPty& game) {
    const termios before = game.modes_before();
    const termios after = game.modes_now();
    EXPECT_EQ(after.c_lflag & (ECHO | ICANON | ISIG | IEXTEN), before.c_lflag & (ECHO | ICANON | ISIG | IEXTEN));
    EXPECT_EQ(after.c_iflag & (IXON | ICRNL), before.c_iflag & (IXON | ICRNL));
    EXPECT_EQ(after.c_oflag & OPOST, before.c_oflag & OPOST);
    EXPECT_FALSE(game.screen().on_alternate_screen());
    EXPECT_TRUE(game.screen().cursor_visible());
}
