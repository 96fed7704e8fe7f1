#include "support/scripted_terminal.hpp"

namespace {
// Enough for any screen to wind down to the end of the run; a loop that needs more is a hang.
constexpr int kMaxEscapesWhenExhausted = 200;
}  // namespace

ScriptedTerminal& ScriptedTerminal::type(std::string_view text) {
    for (char ch : text) push(Key{static_cast<std::uint8_t>(ch), false});
    return *this;
}

ScriptedTerminal& ScriptedTerminal::key(std::uint8_t code) {
    push(Key{code, false});
    return *this;
}

ScriptedTerminal& ScriptedTerminal::extended(std::uint8_t scan_code) {
    push(Key{scan_code, true});
    return *this;
}

ScriptedTerminal& ScriptedTerminal::after_ms(std::uint64_t milliseconds) {
    pending_delay_ = milliseconds;
    return *this;
}

ScriptedTerminal& ScriptedTerminal::at_tick_ms(std::uint64_t tick) {
    pending_due_ = tick;
    return *this;
}

void ScriptedTerminal::push(Key key) {
    script_.push_back(Entry{key, pending_delay_, pending_due_});
    pending_delay_.reset();
    pending_due_.reset();
}

void ScriptedTerminal::fix_due_time() {
    Entry& next = script_.front();
    if (!next.due_tick) next.due_tick = clock_.tick_ms() + next.delay_ms.value_or(0);
}

void ScriptedTerminal::present(const Screen&) { ++presents_; }

bool ScriptedTerminal::empty() {
    if (script_.empty() && refill_) refill_();
    return script_.empty();
}

bool ScriptedTerminal::wait_for_key(int timeout_ms) {
    if (empty()) {
        if (when_exhausted_ != WhenExhausted::Fail) return true;
        // A poll sees that nothing is pressed; only a wait for a key fails.
        if (timeout_ms == 0) return false;
        throw ScriptExhausted();
    }
    fix_due_time();
    const std::uint64_t now = clock_.tick_ms();
    const std::uint64_t due = *script_.front().due_tick;
    if (due <= now) return true;
    // A poll finds nothing before its time; a wait lets the time run on to the next key.
    if (timeout_ms == 0) return false;
    if (timeout_ms < 0 || now + static_cast<std::uint64_t>(timeout_ms) >= due) {
        clock_.advance_ms(due - now);
        return true;
    }
    clock_.advance_ms(static_cast<std::uint64_t>(timeout_ms));
    return false;
}

Key ScriptedTerminal::take_key() {
    if (empty()) return exhausted_key();
    fix_due_time();
    const std::uint64_t now = clock_.tick_ms();
    if (*script_.front().due_tick > now) clock_.advance_ms(*script_.front().due_tick - now);
    if (hook_) hook_(keys_taken_);
    ++keys_taken_;
    const Key key = script_.front().key;
    script_.pop_front();
    return key;
}

Key ScriptedTerminal::exhausted_key() {
    if (when_exhausted_ == WhenExhausted::Fail || ++escapes_given_ > kMaxEscapesWhenExhausted)
        throw ScriptExhausted();
    return Key{27, false};
}

std::optional<TerminalLost> ScriptedTerminal::lost() const {
    if (when_exhausted_ != WhenExhausted::Lose || !script_.empty()) return std::nullopt;
    return TerminalLost{};
}

void ScriptedTerminal::shut_down(const std::vector<std::string>& closing_lines) {
    shut_down_ = true;
    closing_lines_ = closing_lines;
}
