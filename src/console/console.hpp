#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/screen.hpp"
#include "platform/clock.hpp"
#include "platform/terminal_backend.hpp"

// The console every screen writes through: the screen model, the keyboard and the waits.
// Every wait and poll throws TerminalLost once the terminal has gone away, so that whatever
// screen or work is under way ends at once.
class Console {
public:
    Console(TerminalBackend& terminal, Clock& clock) : terminal_(terminal), clock_(clock) {}

    Screen& screen() { return screen_; }
    const Screen& screen() const { return screen_; }

    void goto_xy(int column, int row) { screen_.goto_xy(column, row); }
    int where_x() const { return screen_.where_x(); }
    int where_y() const { return screen_.where_y(); }
    void clear_screen() { screen_.clear(); }
    std::uint8_t attribute() const { return screen_.attribute(); }
    void set_attribute(std::uint8_t attr) { screen_.set_attribute(attr); }

    void write_text(std::string_view text) { screen_.write(text); }
    void write_char(char ch) { screen_.write(ch); }
    void write_number(long long value) { screen_.write(std::to_string(value)); }
    void write_line_end() { screen_.write("\r\n"); }

    // Waits for a key.
    Key next_key();
    // True when a key is waiting. Cheap enough to call for every step of a long computation:
    // it asks the terminal at most once per millisecond.
    bool key_pressed();
    // Waits until a key is waiting or timeout_ms has passed; for screens with a running clock.
    bool wait_for_key(int timeout_ms);
    void delay_ms(int milliseconds);
    // Waits for a key while a clock is on screen: refresh runs at once and again each time a
    // new second is due; in between the wait sleeps until a key or that second arrives.
    Key next_key_with_clock(const std::function<void()>& refresh);

    // The terminal's bell, then the half second the beep lasts.
    void beep();

    // Ends the terminal session and leaves the closing lines on the restored terminal.
    void shut_down(const std::vector<std::string>& closing_lines);
    // Gives back what can be restored of a terminal that went away; nothing more is drawn.
    void abandon_terminal() { terminal_.shut_down({}); }

private:
    // A delay looks at the terminal at least this often, so a lost one ends it soon.
    static constexpr int kDelaySliceMs = 50;

    void present();
    void throw_if_lost() const;

    TerminalBackend& terminal_;
    Clock& clock_;
    Screen screen_;
    std::optional<std::uint64_t> last_empty_poll_ms_;
};
