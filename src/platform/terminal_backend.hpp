#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/keys.hpp"

class Screen;

// The terminal went away under the game: its input ended or failed, or a signal asked the
// game to end. Thrown through the screens by the console; only the program loop catches it.
struct TerminalLost {
    int signal_number = 0;  // 0: the input ended or failed
};

// What the console needs of a terminal. The real one drives a POSIX tty; tests script one.
class TerminalBackend {
public:
    virtual ~TerminalBackend() = default;

    // Brings the visible screen up to date with the model.
    virtual void present(const Screen& screen) = 0;
    // Waits until a key can be taken or timeout_ms has passed (-1 waits for ever, 0 only
    // looks). Returns whether a key is waiting; consumes nothing.
    virtual bool wait_for_key(int timeout_ms) = 0;
    // The waiting key; only called after wait_for_key said there is one.
    virtual Key take_key() = 0;
    // A tone of the frequency for the duration where the system can make one, else the
    // terminal's bell; returns at once.
    virtual void bell(int frequency_hz, int duration_ms) = 0;
    // Set for good once the terminal is gone; every wait then returns at once.
    virtual std::optional<TerminalLost> lost() const = 0;
    // Ends the session: the terminal goes back to the state found at start, then the
    // closing lines are written on it as plain text.
    virtual void shut_down(const std::vector<std::string>& closing_lines) = 0;
};
