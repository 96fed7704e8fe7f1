#pragma once

#include <cstdint>

// The two text attributes every screen draws with (background * 16 + text colour).
struct ColourScheme {
    std::uint8_t standard = 31;    // white on blue
    std::uint8_t emphasized = 30;  // yellow on blue
};
