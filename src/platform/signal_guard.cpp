#include "platform/signal_guard.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// What the handlers need, in plain data they can read without locks. Written only while none
// of our handlers is installed.
struct RestoreData {
    int output_fd = -1;
    char sequence[SignalGuard::kMaxRestoreSequence] = {};
    std::size_t length = 0;
    int tty_fd = -1;
    bool has_termios = false;
    termios saved{};
    int resize_write_fd = -1;
};

RestoreData g_restore;
volatile std::sig_atomic_t g_armed = 0;
// Set while a guard holds the signals; never touched by a handler.
bool g_signals_taken = false;

extern "C" void restore_and_end(int signal_number) {
    int saved_errno = errno;
    if (g_armed) {
        g_armed = 0;
        ssize_t written = write(g_restore.output_fd, g_restore.sequence, g_restore.length);
        static_cast<void>(written);
        if (g_restore.has_termios) tcsetattr(g_restore.tty_fd, TCSANOW, &g_restore.saved);
    }
    errno = saved_errno;
    // SA_RESETHAND has put the default action back: the signal ends the process once the
    // handler returns, and the exit status shows it.
    raise(signal_number);
}

extern "C" void note_resize(int) {
    int saved_errno = errno;
    char byte = 'w';
    ssize_t written = write(g_restore.resize_write_fd, &byte, 1);
    static_cast<void>(written);
    errno = saved_errno;
}

bool make_resize_pipe(int fds[2]) {
    if (pipe(fds) != 0) return false;
    for (int i = 0; i < 2; ++i) {
        fcntl(fds[i], F_SETFD, FD_CLOEXEC);
        fcntl(fds[i], F_SETFL, fcntl(fds[i], F_GETFL) | O_NONBLOCK);
    }
    return true;
}

}  // namespace

SignalGuard::SignalGuard(int output_fd, std::string_view restore, int tty_fd,
                         const std::optional<termios>& saved) {
    if (g_signals_taken) return;
    g_signals_taken = true;
    active_ = true;

    g_restore.output_fd = output_fd;
    g_restore.length = std::min(restore.size(), kMaxRestoreSequence);
    std::memcpy(g_restore.sequence, restore.data(), g_restore.length);
    g_restore.tty_fd = tty_fd;
    g_restore.has_termios = saved.has_value();
    if (saved) g_restore.saved = *saved;
    int fds[2];
    if (make_resize_pipe(fds)) {
        resize_read_fd_ = fds[0];
        g_restore.resize_write_fd = fds[1];
    }
    g_armed = 1;

    struct sigaction ending = {};
    ending.sa_handler = restore_and_end;
    ending.sa_flags = SA_RESETHAND;
    sigemptyset(&ending.sa_mask);
    for (int signal_number : kEndingSignals) sigaddset(&ending.sa_mask, signal_number);
    for (std::size_t i = 0; i < kEndingCount; ++i) {
        sigaction(kEndingSignals[i], nullptr, &previous_ending_[i]);
        // A signal the parent chose to ignore (nohup, a background job) stays ignored.
        if (previous_ending_[i].sa_handler == SIG_IGN) continue;
        sigaction(kEndingSignals[i], &ending, nullptr);
    }

    if (resize_read_fd_ >= 0) {
        struct sigaction resize = {};
        resize.sa_handler = note_resize;
        resize.sa_flags = SA_RESTART;
        sigemptyset(&resize.sa_mask);
        sigaction(SIGWINCH, &resize, &previous_resize_);
    }
}

SignalGuard::~SignalGuard() {
    if (!active_) return;
    restore_handlers();
    g_armed = 0;
    if (resize_read_fd_ >= 0) {
        close(resize_read_fd_);
        close(g_restore.resize_write_fd);
        g_restore.resize_write_fd = -1;
    }
    g_signals_taken = false;
}

bool SignalGuard::take_resize() {
    if (resize_read_fd_ < 0) return false;
    bool resized = false;
    char buffer[64];
    for (;;) {
        ssize_t count = read(resize_read_fd_, buffer, sizeof buffer);
        if (count > 0) {
            resized = true;
        } else if (count < 0 && errno == EINTR) {
            continue;
        } else {
            return resized;
        }
    }
}

void SignalGuard::restore_handlers() {
    for (std::size_t i = 0; i < kEndingCount; ++i) {
        sigaction(kEndingSignals[i], &previous_ending_[i], nullptr);
    }
    if (resize_read_fd_ >= 0) sigaction(SIGWINCH, &previous_resize_, nullptr);
}
