#pragma once

#include <cstdint>

// The two text attributes every screen draws with (background * 16 + text colour); they
// always share one background.
struct ColourScheme {
    std::uint8_t standard = 31;    // white on blue
    std::uint8_t emphasized = 30;  // yellow on blue
    bool operator==(const ColourScheme&) const = default;
};

// Repairs a scheme read from the conditions file: no blinking, no text in the colour of its
// background, one background for both attributes.
ColourScheme validate_loaded_scheme(std::uint8_t standard, std::uint8_t emphasized);
