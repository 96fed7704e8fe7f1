#include "platform/signal_guard.hpp"

#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/temporary_file.hpp"

namespace {

// Signals whose default action ends the process: the game is asked to wind down.
constexpr int kWindingDownSignals[] = {
    SIGTERM, SIGHUP,  SIGINT,    SIGUSR1, SIGUSR2, SIGALRM, SIGPIPE, SIGXCPU,
    SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
};
// The program cannot go on after these, or the sender wants a core at once.
constexpr int kCrashSignals[] = {SIGQUIT, SIGILL, SIGTRAP, SIGABRT, SIGBUS, SIGFPE, SIGSEGV, SIGSYS};
constexpr int kJobSignals[] = {SIGTSTP, SIGCONT, SIGWINCH};

// What the handlers need, in plain data they read without locks. Written only while none of
// our handlers is installed.
struct HandlerData {
    int output_fd = -1;
    char take_over[SignalGuard::kMaxSequence] = {};
    std::size_t take_over_length = 0;
    char give_back[SignalGuard::kMaxSequence] = {};
    std::size_t give_back_length = 0;
    int tty_fd = -1;
    bool has_modes = false;
    termios saved{};
    termios raw{};
    int wake_write_fd = -1;
};

HandlerData g_data;
volatile std::sig_atomic_t g_armed = 0;
// Whether the terminal is ours right now (not given back for a stop or the end).
volatile std::sig_atomic_t g_taken = 0;
// The whole screen is wanted again: a new size, or the terminal taken back after a stop.
volatile std::sig_atomic_t g_redraw = 0;
volatile std::sig_atomic_t g_ending_signal = 0;
// Set while a guard holds the signals; never touched by a handler.
bool g_signals_taken = false;

struct Installed {
    int signal_number;
    struct sigaction previous;
};
std::vector<Installed> g_installed;

void write_all(const char* data, std::size_t length) {
    while (length > 0) {
        const ssize_t written = write(g_data.output_fd, data, length);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        data += written;
        length -= static_cast<std::size_t>(written);
    }
}

void wake() {
    const char byte = 'w';
    ssize_t written = write(g_data.wake_write_fd, &byte, 1);
    static_cast<void>(written);
}

void give_terminal_back() {
    if (!g_armed || !g_taken) return;
    g_taken = 0;
    write_all(g_data.give_back, g_data.give_back_length);
    if (g_data.has_modes) tcsetattr(g_data.tty_fd, TCSANOW, &g_data.saved);
}

void take_terminal_again() {
    if (!g_armed) return;
    if (g_data.has_modes) tcsetattr(g_data.tty_fd, TCSANOW, &g_data.raw);
    write_all(g_data.take_over, g_data.take_over_length);
    g_taken = 1;
    g_redraw = 1;
    wake();
}

// Raises the signal with its default action, unblocked, from inside a handler.
void raise_by_default(int signal_number) {
    struct sigaction default_action = {};
    default_action.sa_handler = SIG_DFL;
    sigemptyset(&default_action.sa_mask);
    sigaction(signal_number, &default_action, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal_number);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal_number);
    sigprocmask(SIG_BLOCK, &only, nullptr);
}

// Ends the process by the signal's default action, as it would have ended without us.
[[noreturn]] void end_by(int signal_number) {
    raise_by_default(signal_number);
    _exit(128 + signal_number);
}

extern "C" void wind_down(int signal_number) {
    const int saved_errno = errno;
    if (g_ending_signal == 0) {
        g_ending_signal = signal_number;
        wake();
        // Whatever the game is doing, it will not keep the terminal for long.
        itimerval watchdog = {};
        watchdog.it_value.tv_sec = SignalGuard::kWindDownMs / 1000;
        watchdog.it_value.tv_usec = (SignalGuard::kWindDownMs % 1000) * 1000;
        setitimer(ITIMER_REAL, &watchdog, nullptr);
    } else {
        give_terminal_back();
        remove_tracked_temporary_file();
        end_by(g_ending_signal);
    }
    errno = saved_errno;
}

extern "C" void crash(int signal_number) {
    give_terminal_back();
    remove_tracked_temporary_file();
    // SA_RESETHAND has put the default action back: the signal ends the process once the
    // handler returns (a fault by running into it again), and the exit status shows it.
    raise(signal_number);
}

extern "C" void stop(int) {
    const int saved_errno = errno;
    give_terminal_back();
    struct sigaction self = {};
    sigaction(SIGTSTP, nullptr, &self);
    // Stops here. In an orphaned process group the kernel drops the stop instead: nobody
    // could continue the game, so it goes on at once.
    raise_by_default(SIGTSTP);
    sigaction(SIGTSTP, &self, nullptr);
    // A continue waiting behind this handler takes the terminal itself.
    sigset_t pending;
    sigpending(&pending);
    if (!g_taken && sigismember(&pending, SIGCONT) != 1) take_terminal_again();
    errno = saved_errno;
}

extern "C" void resume(int) {
    const int saved_errno = errno;
    // Whoever had the terminal meanwhile may have changed its modes and screen.
    take_terminal_again();
    errno = saved_errno;
}

extern "C" void note_resize(int) {
    const int saved_errno = errno;
    g_redraw = 1;
    wake();
    errno = saved_errno;
}

bool make_wake_pipe(int fds[2]) {
    if (pipe(fds) != 0) return false;
    for (int i = 0; i < 2; ++i) {
        fcntl(fds[i], F_SETFD, FD_CLOEXEC);
        fcntl(fds[i], F_SETFL, fcntl(fds[i], F_GETFL) | O_NONBLOCK);
    }
    return true;
}

std::size_t copy_sequence(char* into, std::string_view sequence) {
    const std::size_t length = std::min(sequence.size(), SignalGuard::kMaxSequence);
    std::memcpy(into, sequence.data(), length);
    return length;
}

void install(int signal_number, void (*handler)(int), int flags, const sigset_t& mask,
             bool keep_ignored) {
    struct sigaction previous = {};
    sigaction(signal_number, nullptr, &previous);
    if (keep_ignored && previous.sa_handler == SIG_IGN) return;
    struct sigaction action = {};
    action.sa_handler = handler;
    action.sa_flags = flags;
    action.sa_mask = mask;
    sigaction(signal_number, &action, nullptr);
    g_installed.push_back({signal_number, previous});
}

}  // namespace

SignalGuard::SignalGuard(int output_fd, Sequences sequences, int tty_fd,
                         const std::optional<termios>& saved, const std::optional<termios>& raw) {
    if (g_signals_taken) return;
    int fds[2];
    if (!make_wake_pipe(fds)) return;
    g_signals_taken = true;
    active_ = true;
    wake_read_fd_ = fds[0];

    g_data.output_fd = output_fd;
    g_data.take_over_length = copy_sequence(g_data.take_over, sequences.take_over);
    g_data.give_back_length = copy_sequence(g_data.give_back, sequences.give_back);
    g_data.tty_fd = tty_fd;
    g_data.has_modes = saved.has_value() && raw.has_value();
    if (g_data.has_modes) {
        g_data.saved = *saved;
        g_data.raw = *raw;
    }
    g_data.wake_write_fd = fds[1];
    g_redraw = 0;
    g_ending_signal = 0;
    g_taken = 1;
    g_armed = 1;

    // No handler runs inside another: each sees the terminal as the last one left it.
    sigset_t all;
    sigemptyset(&all);
    for (int s : kWindingDownSignals) sigaddset(&all, s);
    for (int s : kCrashSignals) sigaddset(&all, s);
    for (int s : kJobSignals) sigaddset(&all, s);
    for (int s = SIGRTMIN; s <= SIGRTMAX; ++s) sigaddset(&all, s);

    g_installed.clear();
    for (int s : kWindingDownSignals) install(s, wind_down, SA_RESTART, all, s != SIGALRM);
    for (int s = SIGRTMIN; s <= SIGRTMAX; ++s) install(s, wind_down, SA_RESTART, all, true);
    for (int s : kCrashSignals) install(s, crash, SA_RESETHAND, all, true);
    install(SIGTSTP, stop, SA_RESTART, all, true);
    install(SIGCONT, resume, SA_RESTART, all, false);
    install(SIGWINCH, note_resize, SA_RESTART, all, false);
}

SignalGuard::~SignalGuard() {
    if (!active_) return;
    restore_handlers();
    g_armed = 0;
    close(wake_read_fd_);
    close(g_data.wake_write_fd);
    g_data.wake_write_fd = -1;
    g_signals_taken = false;
}

SignalGuard::Events SignalGuard::take_events() {
    Events events;
    if (!active_) return events;
    char buffer[64];
    for (;;) {
        const ssize_t count = read(wake_read_fd_, buffer, sizeof buffer);
        if (count > 0 || (count < 0 && errno == EINTR)) continue;
        break;
    }
    if (g_redraw) {
        g_redraw = 0;
        events.redraw = true;
    }
    events.ending_signal = g_ending_signal;
    return events;
}

void SignalGuard::restore_handlers() {
    // The watchdog belongs to the guard; once the terminal is given back it has no work.
    itimerval off = {};
    setitimer(ITIMER_REAL, &off, nullptr);
    for (auto it = g_installed.rbegin(); it != g_installed.rend(); ++it)
        sigaction(it->signal_number, &it->previous, nullptr);
    g_installed.clear();
}
