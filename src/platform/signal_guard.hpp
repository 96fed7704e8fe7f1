#pragma once

#include <termios.h>

#include <csignal>
#include <optional>
#include <string_view>

// While it lives, the guard stands between the signals and the terminal:
// - A signal that asks the process to end (SIGTERM, SIGHUP, SIGINT and every other whose
//   default action ends it without a core) is noted and wakes the game, which winds down by
//   itself: saves, gives the terminal back, then ends by that signal. If it has not ended
//   within kWindDownMs, or a second such signal comes, the handler gives the terminal back and
//   ends the process at once.
// - A crash signal (and SIGQUIT) gives the terminal back at once and ends the process by it.
// - SIGTSTP gives the terminal back before the process stops; SIGCONT takes it again and asks
//   for a redraw. SIGWINCH asks for a redraw at the new size.
// Every one of these wakes poll() through wake_fd(). A signal the parent chose to ignore
// (nohup, a background job) stays ignored. Only one guard can hold the signals; a second one
// stays inert. Destroying the guard puts the handlers back as they were found.
class SignalGuard {
public:
    static constexpr std::size_t kMaxSequence = 64;
    static constexpr int kWindDownMs = 800;

    struct Sequences {
        std::string_view take_over;  // written when the terminal is taken again
        std::string_view give_back;  // written before the terminal is left to others
    };
    struct Events {
        bool redraw = false;  // a new size, or the terminal taken again after a stop
        int ending_signal = 0;   // 0 while nobody asked the game to end
    };

    // The sequences go to `output_fd` (cut at kMaxSequence bytes); `saved` and `raw` are the
    // modes to put on `tty_fd` when giving the terminal back and taking it again (nothing
    // when the input is no tty).
    SignalGuard(int output_fd, Sequences sequences, int tty_fd, const std::optional<termios>& saved,
                const std::optional<termios>& raw);
    ~SignalGuard();
    SignalGuard(const SignalGuard&) = delete;
    SignalGuard& operator=(const SignalGuard&) = delete;

    // Readable when events are waiting; -1 when inert.
    int wake_fd() const { return wake_read_fd_; }
    // Empties the wake pipe and reports what came since the last call. The ending signal
    // stays reported once it came.
    Events take_events();

private:
    void restore_handlers();

    bool active_ = false;
    int wake_read_fd_ = -1;
};
