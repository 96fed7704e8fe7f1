#pragma once

#include "console/colour_scheme.hpp"
#include "console/console.hpp"
#include "core/language.hpp"
#include "platform/clock.hpp"

// What every screen of a run works with: the console, the clock, the languages and the
// colours. The run's state grows from it floor by floor; screens take the part they need.
struct Session {
    Session(Console& console_, Clock& clock_) : console(console_), clock(clock_) {}

    Console& console;
    Clock& clock;
    Language language = Language::German;
    // The language of the game set-up and its matches, taken when the game is begun.
    Language game_language = Language::German;
    ColourScheme colours;
};
