#pragma once

#include <cstdint>

#include "match/match_session.hpp"

// One match on the conditions the set-up left in the session. Returns whether the user wants a
// new game afterwards.
bool run_match(MatchSession& session);

// The count of tries begun, one more; it never overflows.
std::int32_t next_try_count(std::int32_t counter);
