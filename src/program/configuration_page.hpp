#pragma once

#include "program/app.hpp"

// Tells how to set up the console window and lets the user pick the guesser's memory choice
// (app.setup.memory_choice) until Enter, Esc or Ctrl-C. The byte budget is left alone: it
// follows the choice when the game set-up begins. The caller saves the choice.
void run_configuration_page(App& app);
