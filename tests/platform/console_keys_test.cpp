#include "platform/console_keys.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/named_keys.hpp"

namespace {

using namespace console_key;

Key plain(int code) { return Key{static_cast<std::uint8_t>(code), false}; }
Key ext(int code) { return Key{static_cast<std::uint8_t>(code), true}; }

ConsoleKeyEvent pressed(std::uint16_t virtual_key, std::uint16_t scan_code, char16_t character,
                        std::uint32_t control_state = 0) {
    return ConsoleKeyEvent{true, virtual_key, scan_code, character, control_state};
}

struct Row {
    std::string what;
    ConsoleKeyEvent event;
    std::optional<Key> key;
};

// What the console reports for a key, as read off Windows and Wine, and the game's key.
TEST(ConsoleKeyEvents, EachEventGivesTheKeyATerminalWouldSend) {
    const std::vector<Row> table{
        {"F4", pressed(0x73, 62, 0), ext(scan::kF4)},
        {"Shift-F4", pressed(0x73, 62, 0, kShift), ext(scan::kShiftF4)},
        {"Ctrl-F4", pressed(0x73, 62, 0, kLeftCtrl), ext(scan::kCtrlF4)},
        {"Alt-F4", pressed(0x73, 62, 0, kLeftAlt), ext(scan::kAltF4)},
        {"F1", pressed(0x70, 59, 0), ext(scan::kF1)},
        {"F11", pressed(0x7A, 87, 0), ext(scan::kF11)},
        {"Ctrl-F12", pressed(0x7B, 88, 0, kRightCtrl), ext(scan::kCtrlF12)},
        {"Up", pressed(0x26, 72, 0, 0x100), ext(scan::kUp)},
        {"Shift-Up", pressed(0x26, 72, 0, 0x100 | kShift), ext(scan::kUp)},
        {"Ctrl-Up", pressed(0x26, 72, 0, 0x100 | kRightCtrl), ext(scan::kCtrlUp)},
        {"Alt-Up", pressed(0x26, 72, 0, 0x100 | kLeftAlt), ext(scan::kAltUp)},
        {"Left", pressed(0x25, 75, 0), ext(scan::kLeft)},
        {"Right", pressed(0x27, 77, 0), ext(scan::kRight)},
        {"Down", pressed(0x28, 80, 0), ext(scan::kDown)},
        {"Home on the keypad, Num off", pressed(0x24, 71, 0), ext(scan::kHome)},
        {"End", pressed(0x23, 79, 0), ext(scan::kEnd)},
        {"PgUp", pressed(0x21, 73, 0), ext(scan::kPgUp)},
        {"PgDn", pressed(0x22, 81, 0), ext(scan::kPgDn)},
        {"Insert", pressed(0x2D, 82, 0), ext(scan::kInsert)},
        {"Del", pressed(0x2E, 83, 0), ext(scan::kDel)},
        {"Shift-Del", pressed(0x2E, 83, 0, kShift), ext(scan::kShiftDel)},
        {"Ctrl-Del", pressed(0x2E, 83, 0, kLeftCtrl), ext(scan::kCtrlDel)},
        {"Shift-Tab", pressed(kTab, 15, u'\t', kShift), ext(scan::kBackTab)},
        {"Tab", pressed(kTab, 15, u'\t'), plain(9)},
        {"a", pressed(0x41, 30, u'a'), plain('a')},
        {"Shift-a", pressed(0x41, 30, u'A', kShift), plain('A')},
        {"7 on the keypad, Num on", pressed(0x67, 71, u'7'), plain('7')},
        {"space", pressed(0x20, 57, u' '), plain(' ')},
        {"Ctrl-C", pressed(0x43, 46, 3, kLeftCtrl), plain(keys::kCtrlC)},
        {"Ctrl-H", pressed(0x48, 35, 8, kLeftCtrl), plain(keys::kBackspace)},
        {"Esc", pressed(kEscape, 1, 27), plain(keys::kEsc)},
        {"Enter", pressed(kReturn, 28, u'\r'), plain(keys::kEnter)},
        {"Ctrl-Enter", pressed(kReturn, 28, u'\n', kLeftCtrl), plain(keys::kEnter)},
        {"Backspace", pressed(kBack, 14, 8), plain(keys::kBackspace)},
        {"Ctrl-Backspace", pressed(kBack, 14, 0x7F, kLeftCtrl), plain(keys::kCtrlBackspace)},
        {"AltGr-q on a German keyboard", pressed(0x51, 16, u'@', kRightAlt | kLeftCtrl), plain('@')},
        {"Alt-a", pressed(0x41, 30, u'a', kLeftAlt), std::nullopt},
        {"a umlaut", pressed(0xDE, 40, u'\u00e4'), std::nullopt},
        {"Shift alone", pressed(0x10, 42, 0, kShift), std::nullopt},
        {"Ctrl-2, a NUL", pressed(0x32, 3, 0, kLeftCtrl), std::nullopt},
        {"F4 let go", ConsoleKeyEvent{false, 0x73, 62, 0, 0}, std::nullopt},
        {"F4 by its scan code alone", pressed(0, 62, 0), ext(scan::kF4)},
        {"F12 by its scan code alone", pressed(0, 88, 0, kShift), ext(scan::kShiftF12)},
        {"Up by its scan code alone", pressed(0, 72, 0, kLeftCtrl), ext(scan::kCtrlUp)},
    };
    for (const Row& row : table) EXPECT_EQ(key_of(row.event), row.key) << row.what;
}

// The console and the terminal speak one set of extended keys.
TEST(ConsoleKeyEvents, EveryExtendedKeyIsOneTheTerminalCanSendToo) {
    const auto decodable = decodable_scan_codes();
    std::vector<std::uint16_t> named{kPrior, kNext, kEnd, kHome, kLeft, kUp, kRight, kDown, kInsert, kDelete};
    for (std::uint16_t key = kF1; key <= kF12; ++key) named.push_back(key);
    const std::uint32_t modifiers[] = {0, kShift, kLeftCtrl, kRightCtrl, kLeftAlt, kRightAlt, kShift | kLeftCtrl,
                                       kRightAlt | kLeftCtrl};
    std::vector<std::uint8_t> seen;
    for (const std::uint16_t key : named) {
        for (const std::uint32_t state : modifiers) {
            const std::optional<Key> translated = key_of(pressed(key, 0, 0, state));
            ASSERT_TRUE(translated && translated->extended) << "virtual key " << key << " state " << state;
            EXPECT_TRUE(std::binary_search(decodable.begin(), decodable.end(), translated->code))
                << "virtual key " << key << " state " << state << " gave " << int{translated->code};
            seen.push_back(translated->code);
        }
    }
    std::sort(seen.begin(), seen.end());
    seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
    // Only Shift-Tab comes another way.
    EXPECT_EQ(seen.size() + 1, decodable.size());
}

}  // namespace
