#pragma once

#include <string>

#include "match/match_session.hpp"

// Everything one run of the game holds. Screens take the part of it they need; there is no
// other mutable state, so tests can run many of them side by side.
struct App : MatchSession {
    App(Console& console_, Clock& clock_, PhysicalMemory& memory_, std::string program_path_)
        : MatchSession(console_, clock_, memory_), program_path(std::move(program_path_)) {}

    // Full path of the program file; the conditions file lies in its directory.
    std::string program_path;
    // BEDINGUN.DAT in the program's directory; set at start-up.
    std::string conditions_path;
};
