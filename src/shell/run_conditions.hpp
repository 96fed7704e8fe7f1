#pragma once

#include "shell/app.hpp"

// Reads the conditions file over the defaults, validates the record and takes the working
// values from it, the colour scheme included.
void load_run_conditions(App& app);

// Puts the user's vacant-sign choice back and writes the conditions file; failures are
// absorbed.
void save_run_conditions(App& app);
