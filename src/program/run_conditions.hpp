#pragma once

#include <string>

#include "console/colour_scheme.hpp"
#include "program/app.hpp"
#include "setup/conditions_record.hpp"
#include "setup/game_setup.hpp"

// Reads the conditions file over the defaults, validates the record and takes the working
// values from it, the colour scheme included. The run reads its own file when there is one,
// else the starting one.
void load_run_conditions(App& app);
void load_run_conditions(const std::string& path, GameSetup& setup, ColourScheme& colours);

// Puts the user's vacant-sign choice back and writes the conditions file, making the user's
// folder for it when needed; failures are absorbed. The second form returns the record it meant to write.
void save_run_conditions(App& app);
ConditionsRecord save_run_conditions(const std::string& path, GameSetup& setup,
                                     const ColourScheme& colours);
