#pragma once

#include <cstdint>

#include "console/session.hpp"
#include "setup/game_setup.hpp"

// The answer code field of the conditions screen, row 18 from column 46: the person who sets a
// fixed riddle types setup.answer_code sign by sign under the current conditions. With
// resume the last typed sign is wiped and typing goes on there. Returns 8 (back to the
// previous field), 27 (Esc), 3 (Ctrl-C) or, once the code is complete, the last sign typed.
std::uint8_t enter_answer_code(Session& session, GameSetup& setup, bool resume);
