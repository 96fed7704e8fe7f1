#pragma once

#include <termios.h>

#include <csignal>
#include <iterator>
#include <optional>
#include <string_view>

// While it lives: a signal that ends the process (SIGTERM, SIGHUP, SIGINT from outside, and
// the crash signals) first gives the terminal back its modes and writes the restoring escape
// sequence, then ends the process by that signal as it would have anyway; SIGWINCH turns into
// a byte on a pipe that poll() can watch. Only one guard can hold the signals; a second one
// stays inert (it restores nothing and never reports a resize).
// Destroying the guard puts the handlers back as they were found.
class SignalGuard {
public:
    static constexpr std::size_t kMaxRestoreSequence = 64;

    // `restore` goes to `output_fd`; `saved` is the mode to put back on `tty_fd` (nothing when
    // the input is no tty). A restore sequence longer than kMaxRestoreSequence is cut.
    SignalGuard(int output_fd, std::string_view restore, int tty_fd,
                const std::optional<termios>& saved);
    ~SignalGuard();
    SignalGuard(const SignalGuard&) = delete;
    SignalGuard& operator=(const SignalGuard&) = delete;

    bool active() const { return active_; }
    // Readable after a SIGWINCH; -1 when inert.
    int resize_fd() const { return resize_read_fd_; }
    // Empties the pipe; true when a resize came since the last call.
    bool take_resize();

private:
    static constexpr int kEndingSignals[] = {SIGTERM, SIGHUP,  SIGINT, SIGQUIT, SIGSEGV,
                                             SIGBUS,  SIGFPE,  SIGILL, SIGABRT};
    static constexpr std::size_t kEndingCount = std::size(kEndingSignals);

    void restore_handlers();

    bool active_ = false;
    int resize_read_fd_ = -1;
    struct sigaction previous_ending_[kEndingCount] = {};
    struct sigaction previous_resize_ = {};
};
