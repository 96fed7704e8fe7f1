#pragma once

#include "shell/app.hpp"

enum class ConditionsOutcome { StartMatch, MainMenu };

// The conditions screen with its form and its choice. The match it asks for is the caller's
// to run.
ConditionsOutcome run_conditions_screen(App& app);

// Menu item 5: the conditions screen, and a match on its conditions as often as the user
// asks for a new game.
void run_game(App& app);
