#pragma once

#include <array>
#include <cstdint>

#include "core/signs.hpp"
#include "match/board.hpp"
#include "match/match_clock.hpp"
#include "match/match_session.hpp"

// A person's try as typed: the signs ('*' for vacant) and their indices.
struct TypedTry {
    std::array<char, 9> text = TryRecord::blank_code();
    Code code;
};

// A person types a try into the code field of a board row, the guessing clock running while
// the keys are awaited. Returns the try once no position is empty, or nothing when the
// person abandons the match with Esc or Ctrl-C. `write_dots` is false only for the first try,
// whose dots the board drew.
std::optional<TypedTry> enter_try(MatchSession& session, MatchClock& clock, const BoardPlace& place,
                                  bool vacant_allowed, bool write_dots);
