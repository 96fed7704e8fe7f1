#pragma once

#include <cstdint>
#include <optional>

#include "core/keys.hpp"

// A key event as the Windows console reports it (KEY_EVENT_RECORD), in plain fields so that
// the translation can be tested on any system.
struct ConsoleKeyEvent {
    bool key_down = true;
    std::uint16_t virtual_key = 0;  // VK_...
    std::uint16_t scan_code = 0;    // the keyboard's, which the console passes on
    char16_t character = 0;         // with Shift and Ctrl already applied
    std::uint32_t control_state = 0;
};

// The console's values, the same on every system.
namespace console_key {
constexpr std::uint32_t kRightAlt = 0x0001, kLeftAlt = 0x0002, kRightCtrl = 0x0004, kLeftCtrl = 0x0008,
                        kShift = 0x0010;
constexpr std::uint16_t kBack = 0x08, kTab = 0x09, kReturn = 0x0D, kEscape = 0x1B, kPrior = 0x21, kNext = 0x22,
                        kEnd = 0x23, kHome = 0x24, kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28,
                        kInsert = 0x2D, kDelete = 0x2E, kF1 = 0x70, kF12 = 0x7B;
}  // namespace console_key

// The game's key for a key being pressed, as a terminal would send it: an extended key's scan
// code carries Shift, Ctrl or Alt; Alt with a character gives nothing (AltGr, which the
// console reports as right Alt with left Ctrl, gives its character); characters beyond ASCII,
// releases and lone modifier keys give nothing.
std::optional<Key> key_of(const ConsoleKeyEvent& event);
