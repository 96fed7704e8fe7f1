#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/terminal_backend.hpp"
#include "support/fake_clock.hpp"

// Thrown when a test's key script runs out and the test asked for a failure.
struct ScriptExhausted : std::runtime_error {
    ScriptExhausted() : std::runtime_error("the key script ran out") {}
};

// A terminal fed from a test's script of keys. A key may carry a time on the fake clock; a
// wait with no key due moves the clock on to the next key's time (or by the timeout).
class ScriptedTerminal : public TerminalBackend {
public:
    enum class WhenExhausted {
        Escape,  // keep answering Esc (a bounded number of times), so screens wind down
        Fail,    // throw ScriptExhausted
        Lose,    // the terminal goes away, as when its input ends
    };

    explicit ScriptedTerminal(FakeClock& clock, WhenExhausted when = WhenExhausted::Fail)
        : clock_(clock), when_exhausted_(when) {}

    // Ordinary keys, one per character.
    ScriptedTerminal& type(std::string_view text);
    ScriptedTerminal& key(std::uint8_t code);
    ScriptedTerminal& extended(std::uint8_t scan_code);
    // The next key queued arrives this many milliseconds after the one before it (or after
    // the clock's time when it is the first key still to come).
    ScriptedTerminal& after_ms(std::uint64_t milliseconds);
    // The next key queued arrives when the clock's tick reaches this value.
    ScriptedTerminal& at_tick_ms(std::uint64_t tick);

    // Called as each scripted key is taken, with the number of keys taken before it; lets a
    // test look at the run between two keys.
    void before_each_key(std::function<void(std::size_t)> hook) { hook_ = std::move(hook); }
    // Called when the script has run out and a key is wanted; it may queue more, as a
    // person would who answers what the screen shows.
    void when_empty(std::function<void()> refill) { refill_ = std::move(refill); }

    void present(const Screen& screen) override;
    bool wait_for_key(int timeout_ms) override;
    Key take_key() override;
    void bell(int frequency_hz, int duration_ms) override {
        ++bells_;
        last_tone_ = {frequency_hz, duration_ms};
    }
    std::optional<TerminalLost> lost() const override;
    void shut_down(const std::vector<std::string>& closing_lines) override;

    std::size_t keys_left() const { return script_.size(); }
    int bells() const { return bells_; }
    // Frequency and duration of the last bell.
    std::pair<int, int> last_tone() const { return last_tone_; }
    int presents() const { return presents_; }
    bool is_shut_down() const { return shut_down_; }
    const std::vector<std::string>& closing_lines() const { return closing_lines_; }

private:
    struct Entry {
        Key key;
        std::optional<std::uint64_t> delay_ms;  // relative to the previous key taken
        std::optional<std::uint64_t> due_tick;  // fixed once the key is next in line
    };

    void push(Key key);
    void fix_due_time();
    bool empty();
    Key exhausted_key();

    FakeClock& clock_;
    WhenExhausted when_exhausted_;
    std::deque<Entry> script_;
    std::optional<std::uint64_t> pending_delay_;
    std::optional<std::uint64_t> pending_due_;
    std::function<void(std::size_t)> hook_;
    std::function<void()> refill_;
    std::size_t keys_taken_ = 0;
    int escapes_given_ = 0;
    int bells_ = 0;
    std::pair<int, int> last_tone_{};
    int presents_ = 0;
    bool shut_down_ = false;
    std::vector<std::string> closing_lines_;
};
