#pragma once

#include <string>

#include "match/match_session.hpp"
#include "program/conditions_place.hpp"

// Everything one run of the game holds. Screens take the part of it they need; there is no
// other mutable state, so tests can run many of them side by side.
struct App : MatchSession {
    App(Console& console_, Clock& clock_, PhysicalMemory& memory_, std::string program_path_,
        ConditionsPlace conditions_place_)
        : MatchSession(console_, clock_, memory_), program_path(std::move(program_path_)),
          conditions_place(std::move(conditions_place_)) {}
    // With the conditions file beside the program.
    App(Console& console_, Clock& clock_, PhysicalMemory& memory_, const std::string& program_path_)
        : App(console_, clock_, memory_, program_path_, ConditionsPlace::beside(program_path_)) {}

    // Full path of the program file, shown at the end.
    std::string program_path;
    ConditionsPlace conditions_place;
};
