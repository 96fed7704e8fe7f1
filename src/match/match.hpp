#pragma once

#include <cstdint>

#include "shell/app.hpp"

// One match on the conditions the set-up left in the App. Returns whether the user wants a
// new game afterwards.
bool run_match(App& app);

// The count of tries begun, one more; it never overflows.
std::int32_t next_try_count(std::int32_t counter);
