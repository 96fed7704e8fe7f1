#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>

#include "platform/named_keys.hpp"
#include "platform/terminal_backend.hpp"

// Turns the bytes a terminal sends into the game's keys. Understands the escape sequences of
// xterm and its kin (CSI and SS3, with modifier parameters, modifyOtherKeys and CSI-u), the
// Linux console, rxvt/urxvt and tmux/screen. Pure: no clock, no I/O; the caller reports a
// pause in the input through timeout(), which is what tells a lone Esc from a sequence.
//
// Choices where terminals leave room:
// - Alt+printable (ESC x) and every unknown but well-formed sequence are consumed whole and
//   produce nothing, so no screen ever sees a stray key.
// - ESC followed by a control byte is Esc followed by that key (a fast Esc, Enter), except
//   ESC DEL / ESC BS (Alt-Backspace), which produce nothing.
// - ESC ESC not followed by "[" or "O" is two Esc keys.
// - NUL is dropped (0 announces an extended key in the game), and so is every byte >= 128.
// - rxvt and the Linux console send Shift-F1/F2 exactly like F11/F12; those count as F11/F12.
// - A sequence longer than kMaxSequence bytes is dropped; the bytes after it count afresh.
// Every byte yields at most one key.
class KeyDecoder {
public:
    static constexpr std::size_t kMaxSequence = 32;

    void feed(std::uint8_t byte);
    // The oldest decoded key not yet taken.
    std::optional<Key> next();
    bool has_key() const { return !keys_.empty(); }
    // True while the bytes so far may still grow into a sequence.
    bool pending_incomplete() const { return state_ != State::Ground; }
    // No byte came for a while: a lone Esc (or two) becomes a key, a cut sequence is dropped.
    void timeout();

private:
    enum class State { Ground, Escape, EscapeEscape, Csi, LinuxFunction, Ss3 };

    void ground(std::uint8_t byte);
    void escape(std::uint8_t byte);
    void escape_escape(std::uint8_t byte);
    void sequence_byte(std::uint8_t byte);
    void linux_function(std::uint8_t byte);
    void start_sequence(State state, bool alt);
    void finish_sequence(std::uint8_t final_byte);
    void abandon_sequence() { state_ = State::Ground; }
    void emit(Key key) { keys_.push_back(key); }

    State state_ = State::Ground;
    bool alt_prefix_ = false;
    std::string sequence_;  // parameter and intermediate bytes of the sequence being read
    std::deque<Key> keys_;
};
