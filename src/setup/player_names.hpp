#pragma once

#include "setup/conditions_record.hpp"

// Capitals at word starts, a dot after an initial, only letters, blanks, hyphens and dots;
// the name ends at two separators in a row.
void normalise_name(PlayerName& name);

// Both names normalised; with swap the two exchange their positions 1..31, so each person
// keeps their name when the roles change for a rematch.
void normalise_names(PlayerName& first, PlayerName& second, bool swap);
