#include "match/guessing_driver.hpp"

#include <algorithm>
#include <new>
#include <string>

#include "console/kept_cursor.hpp"
#include "core/keys.hpp"
#include "core/text.hpp"
#include "match/answer_check.hpp"
#include "match/encoder.hpp"

namespace {

constexpr Bilingual kBreaksLine{"Zahl der Unterbrechungen: 1.", "Number of breaks: 1."};
constexpr int kBreaksRow = 15;
constexpr int kBreaksLineColumn = 3;
constexpr int kGermanBreaksNumberColumn = 29;
constexpr int kEnglishBreaksNumberColumn = 21;
constexpr int kMostBreaks = 999;

constexpr Bilingual kTimeLimitBefore{" Zeit begrenzt auf ", " The timelimit is "};
constexpr Bilingual kTimeLimitAfter{"0 Sek./Versuch.  ", "0 seconds/trial.  "};
constexpr int kTimeLimitRow = 11;

constexpr std::int32_t kEarliestBreak = 500;
constexpr std::int32_t kShortestBrokenSearch = 1300;
constexpr std::int32_t kEvaluationsBeyondTryNumber = 6;

bool decides_early(const Key& key) {
    if (!key.extended) return false;
    switch (key.code) {
    case scan::kF4: case scan::kShiftF4: case scan::kCtrlF4: case scan::kAltF4:
    case scan::kF6: case scan::kShiftF6: case scan::kCtrlF6: case scan::kAltF6:
        return true;
    default:
        return false;
    }
}

bool is_six_over_special_set(int length, int set_size) {
    return length == 6 && (set_size == 6 || set_size == 27 || set_size == 31 || set_size == 36);
}

}  // namespace

bool breaks_early(const SearchProgress& progress) {
    const bool unknown = progress.remaining < 0;
    return progress.evaluated > progress.least && progress.elapsed > kEarliestBreak &&
           (progress.remaining > kEarliestBreak || unknown) &&
           (progress.elapsed + progress.remaining > kShortestBrokenSearch || unknown);
}

bool time_limit_reached(const SearchProgress& progress, std::int32_t limit) {
    return limit > 0 && progress.elapsed >= limit && progress.evaluated > progress.least;
}

GuessingDriver::GuessingDriver(MatchSession& session, MatchClock& clock)
    : session_(session),
      clock_(clock),
      length_(session.setup.record.code_length),
      time_limit_(session.setup.record.time_limit * 1000) {
    responses_.build(length_);
}

Preparation GuessingDriver::prepare() {
    const ConditionsRecord& record = session_.setup.record;
    GuessShape shape;
    shape.length = length_;
    shape.set_size = session_.setup.signs.set_size();
    shape.repetition = record.repetition != 0;
    // Six places over these sets: the computer's own variable code holds no repeated sign.
    const bool without_repeats = record.computer_sets_riddle && !record.answer_fixed &&
                                 is_six_over_special_set(shape.length, shape.set_size);
    shape.chain_repetition = shape.repetition && !without_repeats;
    shape.vacant = record.vacant_signs != 0;

    guesser_.emplace(shape);
    guesser_->use_workers(&session_.search_workers());
    guesser_->use_pulse([this] { return pulse(); });
    const BuildHooks hooks = hooks_on_clock(clock_, [this] { return escape_waiting(); });
    const std::int32_t tries = TryTable::try_count(shape);
    clock_.start_phase(PhaseWork{tries, tries, 0});
    BuildResult result = BuildResult::NoRoom;
    try {
        result = guesser_->build(session_.random, session_.memory.available_bytes(), hooks);
    } catch (const std::bad_alloc&) {
        result = BuildResult::NoRoom;
    }
    if (const Preparation prepared = preparation_of(result); prepared != Preparation::Ready) {
        release();
        return prepared;
    }
    clock_.end_phase();
    return Preparation::Ready;
}

void GuessingDriver::release() { guesser_.reset(); }

bool GuessingDriver::escape_waiting() { return ::escape_waiting(session_.console); }

std::string GuessingDriver::text_of(const Code& code) const {
    return text_of_code(code, session_.setup.signs).substr(0, static_cast<std::size_t>(length_));
}

std::optional<Response> GuessingDriver::play_try(const BoardPlace& place,
                                                 std::int32_t try_number,
                                                 std::array<char, 9>& text) {
    Console& console = session_.console;
    Guesser& guesser = *guesser_;
    const int code_column = place.code_column(length_);
    const int row = place.screen_row();
    clock_.start_guessing();
    decide_early_ = false;
    if (guesser.one_candidate_left()) return play_last_candidate(place, text);

    const Code shown = guesser.begin_search(session_.random);
    if (guesser.broken_off()) {
        clock_.stop_guessing();
        release();
        return std::nullopt;
    }
    console.goto_xy(code_column, row);
    console.write_text(text_of(shown));
    console.goto_xy(code_column, row);
    const std::int32_t to_evaluate = guesser.to_evaluate();
    const std::int32_t least =
        std::min(try_number + kEvaluationsBeyondTryNumber, to_evaluate);
    const bool opening = guesser.opening_phase();
    if (!opening) clock_.start_phase(PhaseWork{to_evaluate, least, time_limit_});

    while (!guesser.search_done()) {
        if (guesser.evaluate_next(session_.random))
            clock_.show_better_try(text_of(guesser.chosen()));
        const std::int32_t evaluated = guesser.evaluated();
        clock_.record_progress(evaluated);
        clock_.show_progress(static_cast<int>(static_cast<std::int64_t>(evaluated) * 10 / to_evaluate));
        clock_.tick();
        const Stop stop = poll_keys();
        if (stop == Stop::Abandon) {
            clock_.stop_guessing();
            release();
            return std::nullopt;
        }
        if (opening) continue;
        const SearchProgress progress{evaluated, least, clock_.phase_elapsed(), clock_.remaining()};
        if (decide_early_ && breaks_early(progress)) {
            count_break();
            break;
        }
        if (time_limit_reached(progress, time_limit_)) {
            show_time_limit();
            break;
        }
    }
    guesser.end_search();
    clock_.end_phase();

    const std::string chosen = text_of(guesser.chosen());
    std::fill(text.begin(), text.end(), ' ');
    std::copy(chosen.begin(), chosen.end(), text.begin());
    console.goto_xy(code_column, row);
    console.write_text(chosen);
    console.goto_xy(place.p_column(), row);
    clock_.stop_guessing();

    const std::optional<Response> response = answer(place);
    if (!response) {
        release();
        return std::nullopt;
    }
    clock_.start_guessing();
    const Guesser::Applied applied =
        guesser.apply(*response, session_.random, [this] { return escape_waiting(); });
    if (applied == Guesser::Applied::Aborted) {
        clock_.stop_guessing();
        release();
        return std::nullopt;
    }
    if (applied == Guesser::Applied::Won) {
        clock_.stop_guessing();
        set_answer_code(session_.setup, guesser.chosen());
        release();
    }
    return response;
}

std::optional<Response> GuessingDriver::play_last_candidate(const BoardPlace& place,
                                                            std::array<char, 9>& text) {
    Console& console = session_.console;
    const Code code = guesser_->candidate(0);
    const std::string shown = text_of(code);
    std::fill(text.begin(), text.end(), ' ');
    std::copy(shown.begin(), shown.end(), text.begin());
    console.goto_xy(place.code_column(length_), place.screen_row());
    console.write_text(shown);
    set_answer_code(session_.setup, code);
    const Response won{static_cast<std::uint8_t>(length_), static_cast<std::uint8_t>(length_)};
    write_answer(console, place, won);
    if (session_.setup.record.sound) console.beep();
    clock_.stop_guessing();
    release();
    return won;
}

GuessingDriver::Stop GuessingDriver::poll_keys() {
    Console& console = session_.console;
    while (console.key_pressed()) {
        const Key key = console.next_key();
        if (keys::abandons(key)) return Stop::Abandon;
        if (decides_early(key) && !guesser_->opening_phase()) decide_early_ = true;
    }
    return Stop::None;
}

// The computer's long passes outside the evaluation of tries keep the clock and the keys.
bool GuessingDriver::pulse() {
    clock_.tick();
    return poll_keys() == Stop::Abandon;
}

void GuessingDriver::count_break() {
    if (breaks_ >= kMostBreaks) return;
    ++breaks_;
    Console& console = session_.console;
    const KeptCursor kept(console);
    const Language language = session_.game_language;
    if (breaks_ == 1) {
        console.goto_xy(kBreaksLineColumn, kBreaksRow);
        console.write_text(kBreaksLine(language));
    } else {
        console.goto_xy(language == Language::German ? kGermanBreaksNumberColumn
                                                     : kEnglishBreaksNumberColumn,
                        kBreaksRow);
        console.write_number(breaks_);
        console.write_char('.');
    }
}

void GuessingDriver::show_time_limit() {
    if (time_limit_shown_) return;
    time_limit_shown_ = true;
    Console& console = session_.console;
    const KeptCursor kept(console);
    const Language language = session_.game_language;
    const std::string digit(1, static_cast<char>('0' + session_.setup.record.time_limit));
    console.goto_xy(1, kTimeLimitRow);
    console.write_text(join({"|", kTimeLimitBefore(language), digit, kTimeLimitAfter(language), "|"}));
}

// The response to the chosen try: from the computer's fixed or variable code, or typed by
// the person and checked against the try's classes.
std::optional<Response> GuessingDriver::answer(const BoardPlace& place) {
    const GameSetup& setup = session_.setup;
    Guesser& guesser = *guesser_;
    if (!setup.record.computer_sets_riddle)
        return take_person_answer(session_, clock_, guesser.chosen_classes(), length_, place);

    std::optional<Response> response;
    if (setup.record.answer_fixed) {
        response = referee_answer(session_, guesser.chosen(), place);
    } else {
        if (guesser.candidate_count() == 1) {
            const Code last = guesser.candidate(0);
            response = score(guesser.chosen(), last, sign_counts(last, setup.signs.set_size(), false));
        } else {
            response = choose_variable_answer(guesser.chosen_classes(), responses_);
        }
        write_answer(session_.console, place, *response);
    }
    if (response && setup.record.sound && response->p == length_) session_.console.beep();
    return response;
}
