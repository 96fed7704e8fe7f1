#pragma once

#include <functional>

#include "core/table_build.hpp"
#include "match/match_clock.hpp"
#include "match/match_session.hpp"

// How the computer's tables for a match came out. Abandoned covers Esc and the game's own
// refusals, which end the match without a word; TooLargeForMachine is said on screen.
enum class Preparation { Ready, Abandoned, TooLargeForMachine };

Preparation preparation_of(BuildResult result);

// A table's build as the match shows it: the clock ticks and counts what is made, the bar
// shows the tenths done, and abandon_requested is asked between steps.
BuildHooks hooks_on_clock(MatchClock& clock, std::function<bool()> abandon_requested);

// Row 25 says in the match's language that this machine's memory cannot hold the tables, until
// the next key.
void tell_tables_too_large_for_machine(MatchSession& session);
