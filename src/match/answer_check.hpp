#pragma once

#include <optional>

#include "core/class_table.hpp"
#include "core/scoring.hpp"
#include "match/board.hpp"
#include "match/match_clock.hpp"
#include "match/match_session.hpp"

// The person who set the riddle types P and then Z into the cells of a board row, for a try
// whose classes are given (by the encoder's candidate list or the guesser's tables). Keys that
// no remaining code could answer do nothing, and a value that is the only one possible is
// filled in without a key. Nothing when the person abandons the match with Esc or Ctrl-C.
std::optional<Response> take_person_answer(MatchSession& session, MatchClock& clock,
                                           const ClassTable& classes, int code_length,
                                           const BoardPlace& place);
