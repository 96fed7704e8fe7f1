#include "match/match.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <utility>

#include "guesser/opening.hpp"
#include "match/board.hpp"
#include "match/encoder.hpp"
#include "match/guessing_driver.hpp"
#include "match/match_clock.hpp"
#include "match/preparation.hpp"
#include "match/try_entry.hpp"
#include "match/worst_case.hpp"

std::int32_t next_try_count(std::int32_t counter) {
    // Jumping back by a whole thousand keeps the board's three digits running on.
    constexpr std::int32_t kLast = 2147483647;
    constexpr std::int32_t kResumed = 2147482648;
    return counter == kLast ? kResumed : counter + 1;
}

namespace {

class Match {
   public:
    explicit Match(MatchSession& session)
        : session_(session),
          setup_(session.setup),
          record_(session.setup.record),
          clock_(session, MatchKind{record_.computer_guesses != 0, record_.answer_fixed != 0}),
          computer_(session, clock_) {}

    bool run() {
        start();
        const Preparation prepared = prepare();
        // Said before the end of the match takes over the status line.
        if (prepared == Preparation::TooLargeForMachine)
            tell_tables_too_large_for_machine(session_);
        if (prepared == Preparation::Ready) play();
        return finish(prepared == Preparation::Ready && won_);
    }

   private:
    int length() const { return record_.code_length; }
    bool person_guesses() const { return record_.computer_guesses == 0; }

    void start() {
        // The computer cannot make use of the vacant sign beyond two signs or under four
        // places; the header still shows what the user chose.
        if (!person_guesses() && (setup_.signs.set_size() > 2 || length() < 4))
            record_.vacant_signs = 0;
        MatchHeader header;
        header.worst_case = worst_case_tries(length(), setup_.signs.set_size(),
                                             record_.repetition != 0, record_.vacant_signs != 0);
        header.opening = opening_display(length(), setup_.signs, record_.repetition != 0,
                                         setup_.saved_vacant != 0);
        header.vacant_chosen = setup_.saved_vacant != 0;
        if (!record_.answer_fixed || record_.computer_sets_riddle || !person_guesses())
            std::fill_n(setup_.answer_code.begin(), length(), ' ');

        draw_match_screen(session_, header);
        const BoardPlace first = BoardPlace::of_slot(1);
        session_.console.goto_xy(first.code_column(length()), first.screen_row());
        if (person_guesses()) {
            session_.console.write_text(std::string(length(), '.'));
            session_.console.goto_xy(first.code_column(length()), first.screen_row());
        }
        if (record_.answer_fixed && record_.computer_sets_riddle)
            choose_fixed_answer_code(session_);
        clock_.start();
    }

    Preparation prepare() {
        if (!person_guesses()) return computer_.prepare();
        if (!record_.answer_fixed) {
            const Preparation prepared = prepare_variable_answer(session_, clock_, variable_);
            if (prepared != Preparation::Ready) return prepared;
        }
        if (record_.sound) session_.console.beep();
        return Preparation::Ready;
    }

    void play() {
        for (;;) {
            const auto [slot, place] = next_slot();
            TryRecord& record = slots_[slot - 1];
            const std::optional<Response> answer =
                person_guesses() ? person_try(place, record) : computer_.play_try(place, counter_, record.code);
            if (!answer) return;
            record.p = answer->p;
            record.z = static_cast<std::uint8_t>(answer->z());
            if (answer->p == length()) {
                won_ = true;
                return;
            }
        }
    }

    std::optional<Response> person_try(const BoardPlace& place, TryRecord& record) {
        const std::optional<TypedTry> typed =
            enter_try(session_, clock_, place, record_.vacant_signs != 0, counter_ > 1);
        if (!typed) return std::nullopt;
        const std::size_t earlier = std::min<std::int32_t>(counter_ - 1, 30);
        const std::optional<Response> answer =
            answer_person_try(session_, clock_, variable_, *typed,
                              std::span<const TryRecord>(slots_.data(), earlier), place);
        if (answer) record.code = typed->text;
        return answer;
    }

    // Counts the try and gives it its board row: the first 30 in order, the later ones in a
    // ring with the whole board redrawn so that the newest stands at the bottom.
    std::pair<int, BoardPlace> next_slot() {
        counter_ = next_try_count(counter_);
        if (counter_ <= 30) {
            slots_[counter_ - 1].number = static_cast<std::uint16_t>(counter_);
            const BoardPlace place = BoardPlace::of_slot(counter_);
            write_try_number(session_.console, place, counter_, false);
            if (counter_ == 2) clear_opening_text();
            session_.console.goto_xy(place.code_column(length()), place.screen_row());
            return {counter_, place};
        }
        ring_slot_ = ring_slot_ % 30 + 1;
        slots_[ring_slot_ - 1].number = static_cast<std::uint16_t>(counter_ % 1000);
        redraw_board_ring(session_.console, slots_, ring_slot_, length(), counter_ > 999,
                          person_guesses());
        const BoardPlace last{2, 15};
        session_.console.goto_xy(last.code_column(length()), last.screen_row());
        return {ring_slot_, last};
    }

    void clear_opening_text() {
        session_.console.goto_xy(32, 5);
        session_.console.write_text(std::string(11, ' '));
    }

    bool finish(bool won) {
        variable_.release();
        computer_.release();
        record_.vacant_signs = setup_.saved_vacant;
        const std::string_view answer(setup_.answer_code.data(), setup_.answer_code.size());
        return clock_.end_match(answer, won ? std::optional<std::int32_t>(counter_) : std::nullopt);
    }

    MatchSession& session_;
    GameSetup& setup_;
    ConditionsRecord& record_;
    MatchClock clock_;
    VariableAnswer variable_;
    GuessingDriver computer_;
    std::array<TryRecord, 30> slots_{};
    std::int32_t counter_ = 0;
    int ring_slot_ = 0;
    bool won_ = false;
};

}  // namespace

bool run_match(MatchSession& session) { return Match(session).run(); }
