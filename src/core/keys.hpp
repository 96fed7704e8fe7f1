#pragma once

#include <cstdint>

// One key as the game knows it: an ordinary code, or an extended key's scan code.
struct Key {
    std::uint8_t code = 0;
    bool extended = false;
    bool operator==(const Key&) const = default;
};

// Ordinary key codes the screens react to.
namespace keys {
constexpr std::uint8_t kCtrlC = 3;
constexpr std::uint8_t kBackspace = 8;
constexpr std::uint8_t kEnter = 13;
constexpr std::uint8_t kEsc = 27;
constexpr std::uint8_t kCtrlBackspace = 127;

// Esc or Ctrl-C as an ordinary key: the person breaks off what is going on.
inline bool abandons(const Key& key) {
    return !key.extended && (key.code == kEsc || key.code == kCtrlC);
}
}  // namespace keys

// Scan codes of extended keys (delivered as 0 followed by the code), the PC keyboard's.
// Shift leaves the cursor keys as they are; Shift-Tab has one code whatever else is held.
namespace scan {
constexpr std::uint8_t kBackTab = 15;
constexpr std::uint8_t kF1 = 59, kShiftF1 = 84, kCtrlF1 = 94, kAltF1 = 104;
constexpr std::uint8_t kF2 = 60, kShiftF2 = 85, kCtrlF2 = 95, kAltF2 = 105;
constexpr std::uint8_t kF3 = 61, kShiftF3 = 86, kCtrlF3 = 96, kAltF3 = 106;
constexpr std::uint8_t kF4 = 62, kShiftF4 = 87, kCtrlF4 = 97, kAltF4 = 107;
constexpr std::uint8_t kF5 = 63, kShiftF5 = 88, kCtrlF5 = 98, kAltF5 = 108;
constexpr std::uint8_t kF6 = 64, kShiftF6 = 89, kCtrlF6 = 99, kAltF6 = 109;
constexpr std::uint8_t kF7 = 65, kShiftF7 = 90, kCtrlF7 = 100, kAltF7 = 110;
constexpr std::uint8_t kF8 = 66, kShiftF8 = 91, kCtrlF8 = 101, kAltF8 = 111;
constexpr std::uint8_t kF9 = 67, kShiftF9 = 92, kCtrlF9 = 102, kAltF9 = 112;
constexpr std::uint8_t kF10 = 68, kShiftF10 = 93, kCtrlF10 = 103, kAltF10 = 113;
constexpr std::uint8_t kF11 = 133, kShiftF11 = 135, kCtrlF11 = 137, kAltF11 = 139;
constexpr std::uint8_t kF12 = 134, kShiftF12 = 136, kCtrlF12 = 138, kAltF12 = 140;
constexpr std::uint8_t kHome = 71, kCtrlHome = 119, kAltHome = 151;
constexpr std::uint8_t kEnd = 79, kCtrlEnd = 117, kAltEnd = 159;
constexpr std::uint8_t kInsert = 82, kCtrlInsert = 146, kAltInsert = 162;
constexpr std::uint8_t kUp = 72, kCtrlUp = 141, kAltUp = 152;
constexpr std::uint8_t kDown = 80, kCtrlDown = 145, kAltDown = 160;
constexpr std::uint8_t kLeft = 75, kCtrlLeft = 115, kAltLeft = 155;
constexpr std::uint8_t kRight = 77, kCtrlRight = 116, kAltRight = 157;
constexpr std::uint8_t kPgUp = 73, kCtrlPgUp = 132, kAltPgUp = 153;
constexpr std::uint8_t kPgDn = 81, kCtrlPgDn = 118, kAltPgDn = 161;
// Ctrl-Del and Shift-Del are the two codes the game reads as "clear the position".
constexpr std::uint8_t kDel = 83, kShiftDel = 7, kCtrlDel = 6, kAltDel = 163;
}  // namespace scan
