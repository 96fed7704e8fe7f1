#pragma once

#include "program/app.hpp"

// Menu item 5 once begun: the conditions screen, and a match on its conditions as often as
// the user asks for a new game. The one way from the set-up into a match.
void run_game(App& app);
