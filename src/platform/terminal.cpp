#include "platform/terminal.hpp"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "platform/size_notice.hpp"

namespace {

// Alternate screen, autowrap off (the bottom right cell must not scroll), a clean slate.
constexpr std::string_view kTakeOver = "\x1b[?1049h\x1b[?7l\x1b[0m\x1b[2J";
// Colours reset, autowrap and cursor back, normal screen.
constexpr std::string_view kGiveBack = "\x1b[0m\x1b[?7h\x1b[?25h\x1b[?1049l";
constexpr std::string_view kClear = "\x1b[0m\x1b[2J";

termios raw_modes(termios modes) {
    modes.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                            ICRNL | IXON);
    modes.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    modes.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
    modes.c_cflag |= CS8;
    modes.c_cc[VMIN] = 1;
    modes.c_cc[VTIME] = 0;
    return modes;
}

int milliseconds_until(std::chrono::steady_clock::time_point when,
                       std::chrono::steady_clock::time_point now) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(when - now).count();
    return static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
}

}  // namespace

PosixTerminal::PosixTerminal(int input_fd, int output_fd)
    : input_fd_(input_fd), output_fd_(output_fd), output_is_tty_(isatty(output_fd) == 1) {
    termios modes;
    std::optional<termios> raw;
    if (isatty(input_fd_) == 1 && tcgetattr(input_fd_, &modes) == 0) {
        saved_modes_ = modes;
        raw = raw_modes(modes);
    }
    // The guard comes first, so that no moment exists in which a signal finds raw mode set
    // and nobody to undo it.
    guard_.emplace(output_fd_, SignalGuard::Sequences{kTakeOver, kGiveBack}, input_fd_, saved_modes_,
                   raw);
    if (raw) tcsetattr(input_fd_, TCSANOW, &*raw);
    taken_over_ = true;
    write_out(kTakeOver);
    query_size();
}

PosixTerminal::~PosixTerminal() { restore(); }

void PosixTerminal::present(const Screen& screen) {
    if (!taken_over_) return;
    handle_events();
    if (frame_generation_ == screen.generation()) return;
    frame_ = Frame::of(screen);
    frame_generation_ = screen.generation();
    draw();
}

bool PosixTerminal::wait_for_key(int timeout_ms) {
    const auto start = SteadyClock::now();
    const auto deadline = start + std::chrono::milliseconds(std::max(timeout_ms, 0));
    bool polled = false;
    for (;;) {
        // Keys while the notice stands instead of the screen would act unseen.
        if (!large_enough()) {
            while (decoder_.next()) {
            }
        }
        if (decoder_.has_key() || lost_) return true;
        const auto now = SteadyClock::now();
        const auto gap_end = last_byte_ + kSequenceGap;
        if (decoder_.pending_incomplete() && now >= gap_end) {
            // Bytes already queued belong to the sequence, however late we look at them.
            if (!read_queued_input()) decoder_.timeout();
            continue;
        }
        if (polled && timeout_ms >= 0 && now >= deadline) return false;
        int wait = timeout_ms < 0 ? -1 : milliseconds_until(deadline, now);
        if (decoder_.pending_incomplete()) {
            int gap_left = milliseconds_until(gap_end, now);
            wait = wait < 0 ? gap_left : std::min(wait, gap_left);
        }
        poll_once(wait);
        polled = true;
    }
}

Key PosixTerminal::take_key() {
    while (!wait_for_key(-1)) {
    }
    if (std::optional<Key> key = decoder_.next()) return *key;
    return Key{27, false};  // the terminal is gone; the console stops the game before this
}

// A terminal knows one bell.
void PosixTerminal::bell(int, int) { write_out("\a"); }

void PosixTerminal::shut_down(const std::vector<std::string>& closing_lines) {
    restore();
    const std::string_view end = line_end();
    std::string text;
    for (const std::string& line : closing_lines) {
        text += line;
        text += end;
    }
    write_out(text);
}

std::string_view PosixTerminal::line_end() const {
    // A tty that turns "\n" into "\r\n" by itself would make "\r\n" into "\r\r\n".
    termios modes;
    if (!output_is_tty_ || tcgetattr(output_fd_, &modes) != 0) return "\n";
    bool adds_return = (modes.c_oflag & OPOST) != 0 && (modes.c_oflag & ONLCR) != 0;
    return adds_return ? "\n" : "\r\n";
}

void PosixTerminal::poll_once(int timeout_ms) {
    pollfd fds[2] = {{input_fd_, POLLIN, 0}, {-1, POLLIN, 0}};
    nfds_t count = 1;
    if (guard_ && guard_->wake_fd() >= 0) {
        fds[1].fd = guard_->wake_fd();
        count = 2;
    }
    if (poll(fds, count, timeout_ms) < 0) {
        // Interrupted by a signal: the caller looks again. Anything else would fail for ever.
        if (errno != EINTR) lose(0);
        return;
    }
    if (count == 2 && fds[1].revents != 0) handle_events();
    if (fds[0].revents != 0) read_input();
}

bool PosixTerminal::read_queued_input() {
    pollfd queued{input_fd_, POLLIN, 0};
    if (poll(&queued, 1, 0) <= 0 || queued.revents == 0) return false;
    read_input();
    return true;
}

void PosixTerminal::read_input() {
    std::uint8_t buffer[256];
    ssize_t count = read(input_fd_, buffer, sizeof buffer);
    if (count > 0) {
        for (ssize_t i = 0; i < count; ++i) decoder_.feed(buffer[i]);
        last_byte_ = SteadyClock::now();
    } else if (count == 0 || (errno != EINTR && errno != EAGAIN)) {
        lose(0);
    }
}

void PosixTerminal::lose(int signal_number) {
    if (!lost_) lost_ = TerminalLost{signal_number};
}

void PosixTerminal::handle_events() {
    if (!guard_) return;
    const SignalGuard::Events events = guard_->take_events();
    if (events.ending_signal != 0) lose(events.ending_signal);
    if (events.redraw && taken_over_ && !lost_) redraw_all();
}

void PosixTerminal::redraw_all() {
    query_size();
    write_out(kClear);
    renderer_.invalidate();
    notice_shown_ = false;
    draw();
}

void PosixTerminal::query_size() {
    winsize size{};
    if (ioctl(output_fd_, TIOCGWINSZ, &size) != 0 && ioctl(input_fd_, TIOCGWINSZ, &size) != 0) {
        size = winsize{};
    }
    columns_ = size.ws_col;
    rows_ = size.ws_row;
}

bool PosixTerminal::large_enough() const {
    // A pty nobody sized reports 0 x 0; so does a pipe. Both get the full screen.
    if (columns_ == 0 || rows_ == 0) return true;
    return columns_ >= Screen::kColumns && rows_ >= Screen::kRows;
}

void PosixTerminal::draw() {
    if (!frame_) return;
    if (!large_enough()) {
        if (notice_shown_) return;
        std::string notice(kClear);
        const std::vector<std::string> lines = size_notice(columns_, rows_);
        for (std::size_t i = 0; i < lines.size(); ++i)
            notice += "\x1b[" + std::to_string(i + 1) + ";1H" + lines[i];
        write_out(notice);
        renderer_.invalidate();
        notice_shown_ = true;
        return;
    }
    notice_shown_ = false;
    write_out(renderer_.update(*frame_));
}

void PosixTerminal::restore() {
    if (!taken_over_) return;
    taken_over_ = false;
    write_out(kGiveBack);
    // Keys typed but not read belong to the game, not to the shell after it.
    if (saved_modes_) tcsetattr(input_fd_, TCSAFLUSH, &*saved_modes_);
    guard_.reset();
}

void PosixTerminal::write_out(std::string_view bytes) {
    while (!bytes.empty() && !output_failed_) {
        ssize_t count = write(output_fd_, bytes.data(), bytes.size());
        if (count > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(count));
        } else if (count < 0 && errno == EINTR) {
            continue;
        } else if (count < 0 && errno == EAGAIN) {
            pollfd writable{output_fd_, POLLOUT, 0};
            if (poll(&writable, 1, 1000) <= 0) output_failed_ = true;
        } else {
            output_failed_ = true;
            lose(0);
        }
    }
}
