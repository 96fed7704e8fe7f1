#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "calendar/calendar.hpp"
#include "match/match_session.hpp"
#include "match/time_field.hpp"

// Who plays the match, as far as its clock is concerned.
struct MatchKind {
    bool computer_guesses = false;
    bool fixed_answer = true;
};

// What a phase of work (the build of the candidate list, the computer's search for a try)
// has to do; the status line estimates the time it still needs from it.
struct PhaseWork {
    std::int32_t total = 0;       // units of work in all
    std::int32_t least = 0;       // units done even when the time limit has passed
    std::int32_t time_limit = 0;  // hundredths; 0 for none
};

// The clock of one match: the panel of rows 17..23 (start, date and time, game, guessing and
// answering time), the status line of row 25 and the end of the match. Every call leaves the
// cursor where it found it.
class MatchClock {
public:
    MatchClock(MatchSession& session, MatchKind kind);

    // Draws the panel and the status line over the board's frame, shows the start date and
    // time and sets the clock going.
    void start();
    // Brings the screen up to date. Within the same second it only takes note of requests and
    // returns, so it may be called in tight loops.
    void tick();
    // Waits for a key with the clock running.
    Key next_key();
    // The panel stays as it is; ticks do nothing from now on.
    void stop();

    // Guessing time runs between these; the rest of the game is answering time.
    void start_guessing();
    void stop_guessing();

    // The status line times a phase and estimates what remains of it. The phase starts at the
    // next tick; progress is taken as of the tick after it was recorded.
    void start_phase(const PhaseWork& work);
    void record_progress(std::int32_t work_done);
    // The progress bar at column 44 of row 25: 0..10 stars, drawn only when it grows.
    void show_progress(int stars);
    // The next redraw writes this try where the cursor stands at that tick.
    void show_better_try(std::string_view code);
    // After the computer's try: the timers and the bar go back to zeros and dots.
    void end_phase();
    // After the build of the candidate list: the status line becomes the summary form.
    void end_initialisation();
    // As of the last redraw, in hundredths.
    std::int32_t phase_elapsed() const { return phase_elapsed_; }
    std::int32_t remaining() const { return remaining_; }

    // The summary on the status line, a last refresh and the question for a new game, which
    // it returns. The answer code is shown when its first place is not blank, the number of
    // tries when the match was won.
    bool end_match(std::string_view answer_code, std::optional<std::int32_t> tries_when_won);

private:
    enum class StatusForm { ComputerGuessing, PersonFixed, Initialisation, AfterInitialisation };

    // Times are hundredths since midnight of the day the match began, so they keep counting
    // over any number of midnights.
    std::int64_t match_time(const DateTime& now) const;
    void redraw(const DateTime& now, std::int64_t time, int cursor_column, int cursor_row);
    CalendarDate date_to_show(const DateTime& now);
    void update_work_display(std::int64_t time, int cursor_column, int cursor_row);
    void estimate_remaining(std::int64_t time);
    void write_at(int column, int row, std::string_view text);
    void write_summary_line();
    bool ask_new_game();

    Console& console_;
    Clock& clock_;
    VirtualDate& virtual_date_;
    const Language language_;
    const MatchKind kind_;
    StatusForm status_form_;
    bool active_ = false;

    long long start_day_ = 0;
    std::int64_t game_start_ = 0;
    std::int64_t last_second_ = 0;
    CalendarDate shown_date_;
    // The virtual day shown after midnight, and how many days past the start it is.
    long long later_days_ = 1;
    CalendarDate later_day_;

    bool guessing_ = false;
    std::int64_t stretch_start_ = 0;
    std::int64_t guessing_total_ = 0;

    bool phase_running_ = false;
    bool phase_start_requested_ = false;
    bool progress_requested_ = false;
    std::int64_t phase_start_ = 0;
    std::int64_t progress_mark_ = 0;
    PhaseWork work_;
    std::int32_t work_done_ = 0;
    std::int32_t limit_ = 0;
    std::int32_t limit_tenth_ = 0;
    int stars_drawn_ = 0;
    std::optional<std::string> better_try_;
    std::int32_t phase_elapsed_ = 0;
    std::int32_t remaining_ = 0;

    TimeField current_time_;
    DurationField game_time_;
    DurationField guessing_time_;
    DurationField answering_time_;
    DurationField phase_time_;
    TimeField remaining_time_;
};
