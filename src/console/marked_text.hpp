#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "console/colour_scheme.hpp"
#include "console/console.hpp"
#include "core/language.hpp"

// Writes text in which each '^' switches between the standard and the emphasized attribute;
// the text always starts in the standard one and the standard one is current afterwards.
void write_marked(Console& console, std::string_view text, std::uint8_t standard,
                  std::uint8_t emphasized);

// One row of a page: its screen row and its text in both languages, '^' marking emphasis.
struct MarkedRow {
    int row;
    Bilingual text;
};

// Clears the screen in the standard attribute and writes the rows from column 1.
void draw_marked_page(Console& console, std::span<const MarkedRow> rows, Language language,
                      const ColourScheme& colours);
