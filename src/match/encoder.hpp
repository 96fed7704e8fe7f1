#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "core/candidate_list.hpp"
#include "core/class_table.hpp"
#include "core/random.hpp"
#include "core/scoring.hpp"
#include "core/signs.hpp"
#include "match/board.hpp"
#include "match/match_clock.hpp"
#include "match/match_session.hpp"
#include "match/preparation.hpp"
#include "match/try_entry.hpp"

// Whether the person has broken the computer's work off. Left empty, the console is polled:
// Esc or Ctrl-C say yes, any other waiting key is consumed.
using EscapePoll = std::function<bool()>;

// Reads one waiting key, if any: whether it is Esc or Ctrl-C. Any other key is dropped.
bool escape_waiting(Console& console);

// P and Z into the cells of a board row.
void write_answer(Console& console, const BoardPlace& place, Response response);

// The match's answer code becomes this code.
void set_answer_code(GameSetup& setup, const Code& code);

// Scores a try against the fixed answer code and writes P and Z into the row's cells.
// Nothing when no answer code is known.
std::optional<Response> referee_answer(MatchSession& session, const Code& try_code,
                                       const BoardPlace& place);

// The computer's fixed code: with repetition allowed, every position drawn on its own when
// the code is longer than the set, has two positions, or a coin says so; otherwise n different
// signs drawn from a shrinking pool. Without repetition the code must fit the set.
Code choose_fixed_code(int set_size, int code_length, bool repetition, Random& random);

// The codes the candidate list holds: six positions over 6, 27, 31 or 36 signs set by the
// computer are built without repetition even where the conditions allow it.
CodeSet candidate_code_set(int set_size, int code_length, bool repetition,
                           bool computer_sets_riddle);

// The largest class; among equal classes the one whose response the table lists first.
Response choose_variable_answer(const ClassTable& classes, const ResponseTable& responses);

// The computer's side of a variable code: every code that agrees with all answers so far,
// the signs they may still hold, and whether they all hold the same signs.
class VariableAnswer {
   public:
    BuildResult build(const CodeSet& set, std::uint64_t memory_available, const BuildHooks& hooks);
    void release() { candidates_.release(); }

    // The answer known without a pass: 0/0 for a try without a possible sign, and the
    // earlier answer for a try that is still on the board.
    std::optional<Response> known_answer(const TypedTry& typed,
                                         std::span<const TryRecord> earlier) const;
    // The classes of the remaining candidates for the try; the next narrow() uses them.
    ClassTable classify(const Code& try_code);
    // Keeps the candidates that give this answer to the try just classified and learns what
    // it says about the signs.
    void narrow(const Code& try_code, Response answer);

    std::size_t candidate_count() const { return candidates_.size(); }
    // The answer code, once a single candidate is left.
    std::optional<Code> determined_code() const;
    const SignFlags& possible_signs() const { return possible_; }
    bool same_signs_everywhere() const { return fixed_multiset_; }
    const ResponseTable& responses() const { return responses_; }

   private:
    CandidateList candidates_;
    ResponseTable responses_;
    SignFlags possible_{};
    bool fixed_multiset_ = false;
};

// At the start of a match with a fixed code set by the computer: draws it into the answer code.
void choose_fixed_answer_code(MatchSession& session);

// At the start of a match with a variable code and a person guessing: builds the candidate list
// as a phase of the match clock, with the progress bar over its status line, and ends with the
// clock's end-of-initialisation line. Abandoned when the build was broken off with Esc or Ctrl-C
// or memory ran out, TooLargeForMachine when the list would not fit into the machine's memory;
// no list is left then. The keyboard is asked before every 16th entry.
Preparation prepare_variable_answer(MatchSession& session, MatchClock& clock,
                                    VariableAnswer& answer,
                                    const EscapePoll& escape_requested = {});

// Answers a person's complete try under the match's conditions: scored against the fixed
// answer code (which must hold the code), chosen by the computer for its variable code, or
// typed and checked when a person keeps the variable code. `earlier` holds the board's tries
// before this one, at most the last 30. P and Z are written into the row's cells, and the
// answer code is filled in once it is known. Nothing when the match was abandoned; a P equal
// to the code length wins. Either way the candidate list is released then.
std::optional<Response> answer_person_try(MatchSession& session, MatchClock& clock,
                                          VariableAnswer& answer, const TypedTry& typed,
                                          std::span<const TryRecord> earlier,
                                          const BoardPlace& place,
                                          const EscapePoll& escape_requested = {});
