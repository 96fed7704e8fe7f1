#include "match/encoder.hpp"

#include <algorithm>
#include <array>
#include <limits>
#include <new>
#include <string>

#include "core/keys.hpp"
#include "match/answer_check.hpp"
#include "setup/game_setup.hpp"

bool escape_waiting(Console& console) {
    if (!console.key_pressed()) return false;
    return keys::abandons(console.next_key());
}

void write_answer(Console& console, const BoardPlace& place, Response response) {
    console.goto_xy(place.p_column(), place.screen_row());
    console.write_char(static_cast<char>('0' + response.p));
    console.goto_xy(place.z_column(), place.screen_row());
    console.write_char(static_cast<char>('0' + response.z()));
}

void set_answer_code(GameSetup& setup, const Code& code) {
    const std::string text = text_of_code(code, setup.signs);
    std::copy(text.begin(), text.end(), setup.answer_code.begin());
}

namespace {

bool escape_requested(MatchSession& session, const EscapePoll& poll) {
    return poll ? poll() : escape_waiting(session.console);
}

}  // namespace

std::optional<Response> referee_answer(MatchSession& session, const Code& try_code,
                                       const BoardPlace& place) {
    const GameSetup& setup = session.setup;
    const std::optional<Code> code =
        code_from_text(std::string_view(setup.answer_code.data(), setup.answer_code.size()),
                       setup.record.code_length, setup.signs);
    if (!code) return std::nullopt;
    const Response response =
        score(try_code, *code, sign_counts(*code, setup.signs.set_size(), false));
    write_answer(session.console, place, response);
    return response;
}

Code choose_fixed_code(int set_size, int code_length, bool repetition, Random& random) {
    Code code;
    code.length = code_length;
    // The coin is tossed only when neither length forces repetition.
    const bool independent =
        repetition && (code_length > set_size || code_length == 2 || random.uniform(2) == 0);
    if (independent) {
        for (int position = 0; position < code_length; ++position)
            code.signs[position] = static_cast<SignIndex>(random.uniform(set_size) + 1);
        return code;
    }
    std::array<SignIndex, kRingSize> pool{};
    for (int sign = 1; sign <= set_size; ++sign) pool[sign - 1] = static_cast<SignIndex>(sign);
    int pool_size = set_size;
    for (int position = 0; position < code_length; ++position) {
        const auto place = static_cast<int>(random.uniform(static_cast<std::uint64_t>(pool_size)));
        code.signs[position] = pool[place];
        std::copy(pool.begin() + place + 1, pool.begin() + pool_size, pool.begin() + place);
        --pool_size;
    }
    return code;
}

CodeSet candidate_code_set(int set_size, int code_length, bool repetition,
                           bool computer_sets_riddle) {
    const bool distinct_only =
        computer_sets_riddle && code_length == 6 &&
        (set_size == 6 || set_size == 27 || set_size == 31 || set_size == 36);
    return CodeSet{set_size, code_length, repetition && !distinct_only};
}

Response choose_variable_answer(const ClassTable& classes, const ResponseTable& responses) {
    Response best = responses.entry(1);
    for (int number = 2; number <= responses.entry_count(); ++number) {
        const Response candidate = responses.entry(number);
        if (classes.count(candidate) > classes.count(best)) best = candidate;
    }
    return best;
}

BuildResult VariableAnswer::build(const CodeSet& set, std::uint64_t memory_available,
                                  const BuildHooks& hooks) {
    responses_.build(set.code_length);
    possible_ = {};
    std::fill(possible_.begin() + 1, possible_.begin() + 1 + set.set_size, true);
    fixed_multiset_ = !set.repetition && set.code_length == set.set_size;
    return candidates_.build(set, memory_available, hooks);
}

std::optional<Response> VariableAnswer::known_answer(const TypedTry& typed,
                                                     std::span<const TryRecord> earlier) const {
    const auto signs =
        std::span(typed.code.signs).first(static_cast<std::size_t>(typed.code.length));
    if (std::none_of(signs.begin(), signs.end(),
                     [this](SignIndex sign) { return possible_[sign]; }))
        return Response{};
    for (const TryRecord& record : earlier)
        if (record.code == typed.text)
            return Response{record.p, static_cast<std::uint8_t>(record.p + record.z)};
    return std::nullopt;
}

ClassTable VariableAnswer::classify(const Code& try_code) {
    std::optional<int> total;
    if (fixed_multiset_) {
        const Code first = candidates_.code(0);
        total =
            score(try_code, first, sign_counts(first, candidates_.code_set().set_size, false)).t;
    }
    return candidates_.classify(try_code, possible_, total);
}

void VariableAnswer::narrow(const Code& try_code, Response answer) {
    candidates_.keep(answer);
    if (fixed_multiset_) return;
    const CodeSet& set = candidates_.code_set();
    const auto signs = std::span(try_code.signs).first(static_cast<std::size_t>(try_code.length));
    if (answer.t == set.code_length) {
        fixed_multiset_ = true;
        possible_ = {};
        for (const SignIndex sign : signs) possible_[sign] = true;
    } else if (answer.t == 0) {
        for (const SignIndex sign : signs) possible_[sign] = false;
        const auto left = std::count(possible_.begin(), possible_.end(), true);
        if (!set.repetition && left <= set.code_length) fixed_multiset_ = true;
    }
}

std::optional<Code> VariableAnswer::determined_code() const {
    if (candidates_.size() != 1) return std::nullopt;
    return candidates_.code(0);
}

void choose_fixed_answer_code(MatchSession& session) {
    GameSetup& setup = session.setup;
    set_answer_code(setup, choose_fixed_code(setup.signs.set_size(), setup.record.code_length,
                                             setup.record.repetition != 0, session.random));
}

Preparation prepare_variable_answer(MatchSession& session, MatchClock& clock,
                                    VariableAnswer& answer, const EscapePoll& escape_requested_by) {
    const GameSetup& setup = session.setup;
    const CodeSet set =
        candidate_code_set(setup.signs.set_size(), setup.record.code_length,
                           setup.record.repetition != 0, setup.record.computer_sets_riddle != 0);
    // More codes than fit an int32 are refused by the build before the clock could miscount.
    const auto codes = static_cast<std::int32_t>(std::min<std::uint64_t>(
        code_count(set.set_size, set.code_length, set.repetition),
        static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())));
    try {
        const BuildHooks hooks = hooks_on_clock(
            clock, [&] { return escape_requested(session, escape_requested_by); });
        clock.start_phase(PhaseWork{codes, 0, 0});
        const Preparation prepared =
            preparation_of(answer.build(set, session.memory.available_bytes(), hooks));
        if (prepared == Preparation::Ready) clock.end_initialisation();
        return prepared;
    } catch (const std::bad_alloc&) {
        answer.release();
    }
    return Preparation::Abandoned;
}

std::optional<Response> answer_person_try(MatchSession& session, MatchClock& clock,
                                          VariableAnswer& answer, const TypedTry& typed,
                                          std::span<const TryRecord> earlier,
                                          const BoardPlace& place,
                                          const EscapePoll& escape_requested_by) {
    GameSetup& setup = session.setup;
    if (setup.record.answer_fixed) return referee_answer(session, typed.code, place);

    if (const std::optional<Response> known = answer.known_answer(typed, earlier)) {
        write_answer(session.console, place, *known);
        return known;
    }
    const int length = setup.record.code_length;
    const bool computer_answers = setup.record.computer_sets_riddle != 0;
    const ClassTable classes = answer.classify(typed.code);
    const std::optional<Response> chosen =
        computer_answers ? choose_variable_answer(classes, answer.responses())
                         : take_person_answer(session, clock, classes, length, place);
    if (!chosen) {
        answer.release();
        return std::nullopt;
    }
    if (chosen->p == length) {
        set_answer_code(setup, typed.code);
        write_answer(session.console, place, *chosen);
        answer.release();
        return chosen;
    }
    if (escape_requested(session, escape_requested_by)) {
        answer.release();
        return std::nullopt;
    }
    answer.narrow(typed.code, *chosen);
    if (const std::optional<Code> code = answer.determined_code()) set_answer_code(setup, *code);
    if (computer_answers) write_answer(session.console, place, *chosen);
    return chosen;
}
