#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/terminal_backend.hpp"
#include "platform/vt_renderer.hpp"

// The game on the Windows console. Construction takes the console over: a screen buffer of
// its own (the one found comes back at the end, as it was), input without line editing,
// echo or Ctrl-C processing (so Ctrl-C arrives as a key), and a handler for the close, log-off
// and shut-down events, which end the game as a hang-up does on POSIX: the conditions saved,
// the console restored, the process gone. Where the output is no console, it writes the
// terminal's escape sequences; where the input is none, it delivers Esc for ever.
class WindowsConsole final : public TerminalBackend {
   public:
    WindowsConsole();
    ~WindowsConsole() override;
    WindowsConsole(const WindowsConsole&) = delete;
    WindowsConsole& operator=(const WindowsConsole&) = delete;

    void present(const Screen& screen) override;
    bool wait_for_key(int timeout_ms) override;
    Key take_key() override;
    void bell(int frequency_hz, int duration_ms) override;
    std::optional<TerminalLost> lost() const override { return lost_; }
    void shut_down(const std::vector<std::string>& closing_lines) override;

    // The handler of the console's control events, which Windows calls on a thread of its
    // own; public so that tests can play Windows.
    static BOOL WINAPI on_control(DWORD event);

   private:
    void read_events();
    void take_size();
    bool large_enough() const;
    void draw();
    void restore();
    void write_out(const std::string& bytes);

    HANDLE input_;
    HANDLE output_;            // the buffer found at the start
    HANDLE screen_;            // the one drawn on: the game's own, or the one found
    bool own_screen_ = false;
    bool input_is_console_ = false;
    bool output_is_console_ = false;
    DWORD saved_input_mode_ = 0;
    CONSOLE_CURSOR_INFO saved_cursor_{};
    WORD saved_attributes_ = 7;
    bool taken_over_ = false;

    std::deque<Key> keys_;
    std::optional<TerminalLost> lost_;
    std::vector<CHAR_INFO> cells_;
    std::optional<std::uint64_t> shown_generation_;
    std::optional<Frame> frame_;
    VtRenderer renderer_;  // for output that is no console
    int columns_ = 0;      // the window's size; 0 while unknown
    int rows_ = 0;
    bool notice_shown_ = false;
    std::thread tone_;  // Beep holds its caller for the whole tone
};
