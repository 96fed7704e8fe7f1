#pragma once

#include "console/session.hpp"
#include "setup/game_setup.hpp"

enum class ConditionsOutcome { StartMatch, MainMenu };

// The conditions screen with its form and its choice. The match it asks for is the caller's
// to run.
ConditionsOutcome run_conditions_screen(Session& session, GameSetup& setup);
