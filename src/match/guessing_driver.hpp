#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/scoring.hpp"
#include "guesser/guesser.hpp"
#include "match/board.hpp"
#include "match/match_clock.hpp"
#include "match/match_session.hpp"
#include "match/preparation.hpp"

// Where a search stands after an evaluated try; times in hundredths as the clock last showed.
struct SearchProgress {
    std::int32_t evaluated = 0;
    std::int32_t least = 0;      // evaluations owed before any early stop
    std::int32_t elapsed = 0;
    std::int32_t remaining = 0;  // negative when it cannot be estimated
};

// F4 or F6 stops only a long search: more than 5 s gone, and more than 5 s and 13 s in all
// still to come by the estimate (or no estimate).
bool breaks_early(const SearchProgress& progress);
bool time_limit_reached(const SearchProgress& progress, std::int32_t limit);

// The computer's side of a match in which it cracks the code: its tables, one try per call
// on the board with the clock and the keyboard, the answer from the computer or the person.
class GuessingDriver {
   public:
    GuessingDriver(MatchSession& session, MatchClock& clock);

    // Builds the tables as a phase of the clock, with the progress bar and Esc. Unless they
    // are ready, nothing is left.
    Preparation prepare();

    // Plays try `try_number` in the row at `place`, the cursor on its code field. The try's
    // characters go into `text`. Nothing when the match was abandoned; P equal to the code
    // length when the code is cracked. The tables are released at either end.
    std::optional<Response> play_try(const BoardPlace& place, std::int32_t try_number,
                                     std::array<char, 9>& text);

    void release();

   private:
    enum class Stop { None, Early, TimeLimit, Abandon };

    Stop poll_keys();
    bool pulse();
    void count_break();
    void show_time_limit();
    std::optional<Response> answer(const BoardPlace& place);
    std::optional<Response> play_last_candidate(const BoardPlace& place, std::array<char, 9>& text);
    bool escape_waiting();
    std::string text_of(const Code& code) const;

    MatchSession& session_;
    MatchClock& clock_;
    std::optional<Guesser> guesser_;
    ResponseTable responses_;
    int length_;
    std::int32_t time_limit_;  // hundredths, 0 for none
    int breaks_ = 0;
    bool decide_early_ = false;  // F4 or F6 in this try's search
    bool time_limit_shown_ = false;
};
