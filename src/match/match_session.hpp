#pragma once

#include "calendar/calendar.hpp"
#include "console/session.hpp"
#include "core/random.hpp"
#include "platform/physical_memory.hpp"
#include "setup/game_setup.hpp"

// What a match works with beyond the screens: the conditions, the date it shows, the random
// generator and the machine's memory.
struct MatchSession : Session {
    MatchSession(Console& console_, Clock& clock_, PhysicalMemory& memory_)
        : Session(console_, clock_), memory(memory_) {}

    // Asked before the computer builds its tables for a match.
    PhysicalMemory& memory;
    Random random{0};
    // Set on the calendar screen; matches show it instead of the computer's date. Never
    // saved, so every run starts on the computer's date.
    VirtualDate virtual_date;
    GameSetup setup;
};
