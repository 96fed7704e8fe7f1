#pragma once

#include <cstdint>

#include "platform/terminal_backend.hpp"

// Ordinary key codes the screens react to.
namespace keys {
constexpr std::uint8_t kCtrlC = 3;
constexpr std::uint8_t kBackspace = 8;
constexpr std::uint8_t kEnter = 13;
constexpr std::uint8_t kEsc = 27;
constexpr std::uint8_t kCtrlBackspace = 127;

// Esc or Ctrl-C as an ordinary key: the person breaks off what is going on.
inline bool abandons(const Key& key) { return !key.extended && (key.code == kEsc || key.code == kCtrlC); }
}  // namespace keys

// Scan codes of extended keys (delivered as 0 followed by the code).
namespace scan {
constexpr std::uint8_t kCtrlDel = 6;
constexpr std::uint8_t kShiftDel = 7;
constexpr std::uint8_t kF1 = 59, kShiftF1 = 84, kCtrlF1 = 94, kAltF1 = 104;
constexpr std::uint8_t kF4 = 62, kShiftF4 = 87, kCtrlF4 = 97, kAltF4 = 107;
constexpr std::uint8_t kF6 = 64, kShiftF6 = 89, kCtrlF6 = 99, kAltF6 = 109;
constexpr std::uint8_t kHome = 71, kEnd = 79, kInsert = 82;
constexpr std::uint8_t kUp = 72, kCtrlUp = 141, kAltUp = 152;
constexpr std::uint8_t kDown = 80, kCtrlDown = 145, kAltDown = 160;
constexpr std::uint8_t kLeft = 75, kCtrlLeft = 115, kAltLeft = 155;
constexpr std::uint8_t kRight = 77, kCtrlRight = 116, kAltRight = 157;
constexpr std::uint8_t kPgUp = 73, kCtrlPgUp = 132, kAltPgUp = 153;
constexpr std::uint8_t kPgDn = 81, kCtrlPgDn = 118, kAltPgDn = 161;
constexpr std::uint8_t kDel = 83, kAltDel = 163;
}  // namespace scan
