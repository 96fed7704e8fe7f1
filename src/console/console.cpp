#include "console/console.hpp"

#include <algorithm>

Key Console::next_key() {
    present();
    while (!terminal_.wait_for_key(-1)) {
    }
    throw_if_lost();
    last_empty_poll_ms_.reset();
    return terminal_.take_key();
}

bool Console::key_pressed() {
    std::uint64_t now = clock_.tick_ms();
    if (last_empty_poll_ms_ == now) return false;
    present();
    const bool waiting = terminal_.wait_for_key(0);
    throw_if_lost();
    if (waiting) {
        last_empty_poll_ms_.reset();
        return true;
    }
    last_empty_poll_ms_ = now;
    return false;
}

bool Console::wait_for_key(int timeout_ms) {
    present();
    last_empty_poll_ms_.reset();
    const bool waiting = terminal_.wait_for_key(timeout_ms);
    throw_if_lost();
    return waiting;
}

Key Console::next_key_with_clock(const std::function<void()>& refresh) {
    for (;;) {
        refresh();
        const int until_next_second = (100 - clock_.now().hundredths) * 10;
        if (wait_for_key(until_next_second)) return next_key();
    }
}

void Console::delay_ms(int milliseconds) {
    present();
    throw_if_lost();
    for (int left = milliseconds; left > 0; left -= kDelaySliceMs) {
        clock_.sleep_ms(std::min(left, kDelaySliceMs));
        terminal_.wait_for_key(0);  // only to hear of a lost terminal; keys stay queued
        throw_if_lost();
    }
}

void Console::beep() {
    constexpr int kFrequencyHz = 440;
    constexpr int kDurationMs = 500;
    terminal_.bell(kFrequencyHz, kDurationMs);
    delay_ms(kDurationMs);
}

void Console::present() {
    terminal_.present(screen_);
    throw_if_lost();
}

void Console::throw_if_lost() const {
    if (const std::optional<TerminalLost> lost = terminal_.lost()) throw *lost;
}

void Console::shut_down(const std::vector<std::string>& closing_lines) {
    present();
    terminal_.shut_down(closing_lines);
}
