#pragma once

#include "shell/app.hpp"

// One match on the conditions the set-up left in the App. Returns whether the user wants a
// new game afterwards.
bool run_match(App& app);
