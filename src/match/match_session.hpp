#pragma once

#include <memory>

#include "calendar/calendar.hpp"
#include "console/session.hpp"
#include "core/random.hpp"
#include "guesser/search_workers.hpp"
#include "platform/physical_memory.hpp"
#include "setup/game_setup.hpp"

// What a match works with beyond the screens: the conditions, the date it shows, the random
// generator, the machine's memory and the threads of the computer's search.
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
    // How many threads search when the computer cracks a code.
    int search_threads = SearchWorkers::hardware_threads();

    // Made at the first match in which the computer guesses, and kept.
    SearchWorkers& search_workers() {
        if (!search_workers_ || search_workers_->threads() != search_threads)
            search_workers_ = std::make_unique<SearchWorkers>(search_threads);
        return *search_workers_;
    }

   private:
    std::unique_ptr<SearchWorkers> search_workers_;
};
