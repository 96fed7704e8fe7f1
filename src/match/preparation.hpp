#pragma once

#include "match/match_session.hpp"

// How the computer's tables for a match came out. Abandoned covers Esc and the game's own
// refusals, which end the match without a word; TooLargeForMachine is said on screen.
enum class Preparation { Ready, Abandoned, TooLargeForMachine };

// Row 25 says in the match's language that this machine's memory cannot hold the tables, until
// the next key.
void tell_tables_too_large_for_machine(MatchSession& session);
