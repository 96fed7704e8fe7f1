#pragma once

#include <cstdint>
#include <span>

#include "core/keys.hpp"

// The extended keys a terminal or a console can send, by name, and their scan codes with the
// modifiers held: the one table every way of reading keys goes through.
enum class NamedKey : std::uint8_t {
    Up, Down, Left, Right, Home, End, Insert, Delete, PageUp, PageDown, BackTab,
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
};

struct Modifiers {
    bool shift = false;
    bool alt = false;
    bool ctrl = false;
};

// Ctrl before Alt before Shift: one code per key and modifier, as the PC keyboard has.
Key scan_key(NamedKey name, Modifiers mods);

// Every scan code an extended key can carry, ascending, each once.
std::span<const std::uint8_t> decodable_scan_codes();
