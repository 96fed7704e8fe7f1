#pragma once

#include <cstdint>
#include <string_view>

#include "shell/console.hpp"

// Writes text in which each '^' switches between the standard and the emphasized attribute;
// the text always starts in the standard one and the standard one is current afterwards.
void write_marked(Console& console, std::string_view text, std::uint8_t standard,
                  std::uint8_t emphasized);
