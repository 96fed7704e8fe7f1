#pragma once

#include <cstdint>

#include "console/console.hpp"
#include "core/language.hpp"
#include "setup/conditions_record.hpp"

// Stands in place of a name in rows 23 and 24 where the computer takes the role.
inline constexpr Bilingual kComputerName{"*** Der Computer ***           ",
                                         "*** The computer ***           "};

// The name field of player 1 (row 23) or player 2 (row 24) from column 38, with the O.K.
// question whose answer the cursor awaits at column 76. Returns 'j' when the name is accepted,
// 8 to go back to the previous field, 27 (Ctrl-C at the question) or 2 (Ctrl-C while typing)
// to restart the form. The stored name is normalised on every way out.
std::uint8_t edit_name(Console& console, int player, PlayerName& name);

// Both names normalised (and exchanged with swap), then written where asked: name 1 in row 23,
// name 2 in row 24.
void show_names(Console& console, PlayerName& first, PlayerName& second, bool show_first,
                bool show_second, bool swap);

void show_computer_name(Console& console, Language language, bool first, bool second);
