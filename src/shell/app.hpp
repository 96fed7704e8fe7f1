#pragma once

#include <string>

#include "calendar/calendar.hpp"
#include "colours/colour_scheme.hpp"
#include "platform/clock.hpp"
#include "platform/physical_memory.hpp"
#include "setup/game_setup.hpp"
#include "shell/console.hpp"
#include "shell/language.hpp"
#include "shell/random.hpp"

// Everything one run of the game holds. Screens take it by reference; there is no other
// mutable state, so tests can run many of them side by side.
struct App {
    App(Console& console_, Clock& clock_, PhysicalMemory& memory_, std::string program_path_)
        : console(console_), clock(clock_), memory(memory_), program_path(std::move(program_path_)) {}

    Console& console;
    Clock& clock;
    // Asked before the computer builds its tables for a match.
    PhysicalMemory& memory;
    Random random{0};
    // Full path of the program file; the conditions file lies in its directory.
    std::string program_path;
    // BEDINGUN.DAT in the program's directory; set at start-up.
    std::string conditions_path;
    Language language = Language::German;
    // The language of the game set-up and its matches, taken when the game is begun.
    Language game_language = Language::German;
    ColourScheme colours;
    // Set on the calendar screen; matches show it instead of the computer's date.
    VirtualDate virtual_date;
    GameSetup setup;
};
