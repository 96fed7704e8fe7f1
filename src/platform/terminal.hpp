#pragma once

#include <termios.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/key_decoder.hpp"
#include "platform/signal_guard.hpp"
#include "platform/terminal_backend.hpp"
#include "platform/vt_renderer.hpp"

// The game on a POSIX terminal. Construction takes the terminal over: raw mode (when the input
// is a tty, so Ctrl-C and Ctrl-S arrive as keys), the alternate screen, autowrap off, and
// signal handlers that give it back if the process is ended from outside or crashes. On plain
// pipes it reads and writes the same bytes without touching any mode. When the input ends or
// fails, it delivers Esc for ever, so the game winds down by itself.
class PosixTerminal final : public TerminalBackend {
public:
    // How long after a byte the next one may come and still belong to the same sequence.
    static constexpr std::chrono::milliseconds kSequenceGap{40};

    explicit PosixTerminal(int input_fd = 0, int output_fd = 1);
    ~PosixTerminal() override;
    PosixTerminal(const PosixTerminal&) = delete;
    PosixTerminal& operator=(const PosixTerminal&) = delete;

    void present(const Screen& screen) override;
    bool wait_for_key(int timeout_ms) override;
    Key take_key() override;
    void bell(int frequency_hz, int duration_ms) override;
    std::optional<TerminalLost> lost() const override { return lost_; }
    void shut_down(const std::vector<std::string>& closing_lines) override;

private:
    using SteadyClock = std::chrono::steady_clock;

    void poll_once(int timeout_ms);
    bool read_queued_input();
    void read_input();
    void lose(int signal_number);
    void handle_events();
    void redraw_all();
    void query_size();
    bool large_enough() const;
    void draw();
    void restore();
    std::string_view line_end() const;
    void write_out(std::string_view bytes);

    int input_fd_;
    int output_fd_;
    bool output_is_tty_;
    std::optional<termios> saved_modes_;
    std::optional<SignalGuard> guard_;
    bool taken_over_ = false;
    std::optional<TerminalLost> lost_;
    bool output_failed_ = false;

    KeyDecoder decoder_;
    SteadyClock::time_point last_byte_{};

    VtRenderer renderer_;
    std::optional<Frame> frame_;
    std::optional<std::uint64_t> frame_generation_;
    int columns_ = 0;  // 0 while the size is unknown (no tty)
    int rows_ = 0;
    bool notice_shown_ = false;
};
