#include "match/match_clock.hpp"

#include <algorithm>
#include <array>
#include <limits>

#include "calendar/date_forms.hpp"
#include "console/kept_cursor.hpp"
#include "console/yes_no.hpp"
#include "core/keys.hpp"
#include "core/text.hpp"

namespace {

constexpr int kPanelColumn = 2;
constexpr int kPanelWidth = 37;
constexpr int kFirstPanelRow = 17;
constexpr int kStartDateRow = 17;
constexpr int kStartTimeRow = 18;
constexpr int kDateRow = 19;
constexpr int kTimeRow = 20;
constexpr int kStatusRow = 25;
constexpr int kBarColumn = 44;
constexpr int kBarLength = 10;
constexpr int kPhaseFieldsColumn = 35;
constexpr int kAnswerColumn = 10;
constexpr int kTriesColumn = 45;
constexpr int kQuestionColumn = 70;
constexpr int kEndLabelColumn = 3;
constexpr std::int64_t kHundredthsPerDay = 8640000;

// Rows 17..23 from column 2, before the clock fills them in.
constexpr std::array<Bilingual, 7> kPanelRows = {{
    {" Spielbeginn:", " Game start:"},
    {"                .   Uhr,    Sekunden.", "               :            seconds. "},
    {" Datum/Zeit :", " Date/time :"},
    {"                .   Uhr,    Sekunden.", "               :            seconds. "},
    {" Spieldauer : 00 Std. 00 Min. 00 Sek.", " Time total: 00 hours 00 min. 00 sec."},
    {" Ratezeit   : 00 Std. 00 Min. 00 Sek.", " to guess  : 00 hours 00 min. 00 sec."},
    {" Antwortzeit: 00 Std. 00 Min. 00 Sek.", " to answer : 00 hours 00 min. 00 sec."},
}};

constexpr std::array<Bilingual, 4> kStatusLines = {{
    {"Aktueller Versuch: geratene Zeit: 00.00.00 .......... benoetigte Zeit: 00.00.00",
     "This trial: time already guessed: 00.00.00 .......... time yet needed: 00.00.00"},
    {"Loesung:               Benoetigte Versuche:             Neues Spiel? Ja.",
     "Answer:                       Trials made:                 New Game? Yes."},
    {"       Bereits verstrichene Zeit: 00.00.00 .......... benoetigte Zeit: 00.00.00",
     "Initialisation:     time elapsed: 00.00.00 .......... time yet needed: 00.00.00"},
    {"Loesung:                Benoetigte Versuche:            Neues Spiel? Ja.       ",
     "Answer:                       Trials made:                 New Game? Yes.      "},
}};

// The summary that replaces the computer's timers at the end, put together in pieces.
struct SummaryPiece {
    int column;
    Bilingual text;
};
constexpr std::array<SummaryPiece, 5> kSummaryPieces = {{
    {1, {"Loesung: ", "Answer: "}},
    {24, {"Benoetigte Versuche: ", "        Trials made:"}},
    {57, {"Neues Spiel? Ja.       ", "   New game? Yes.      "}},
    {9, {"               ", "               "}},
    {44, {"             ", "             "}},
}};

constexpr Bilingual kEndLabel{"Spielende ", "Game end "};

int date_column(Language language) { return language == Language::German ? 16 : 15; }

TimeField::Place time_of_day_place(Language language) {
    return language == Language::German ? TimeField::Place{kTimeRow, 16, 19, 27}
                                        : TimeField::Place{kTimeRow, 15, 18, 27};
}

TimeField::Place panel_timer_place(Language language, int row) {
    return {row, language == Language::German ? 16 : 15, 24, 32};
}

Hms clock_time(const DateTime& now) { return {now.hour, now.minute, now.second}; }

std::int64_t hundredths_of_day(const DateTime& now) {
    return ((now.hour * 60LL + now.minute) * 60 + now.second) * 100 + now.hundredths;
}

std::int64_t floor_div(std::int64_t value, std::int64_t divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

std::int32_t capped(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

bool means_yes(std::uint8_t code) { return code == keys::kEnter || is_yes_key(code); }

bool means_no(std::uint8_t code) {
    return code == keys::kEsc || code == keys::kCtrlC || code == 'n' || code == 'N';
}

}  // namespace

MatchClock::MatchClock(MatchSession& session, MatchKind kind)
    : console_(session.console),
      clock_(session.clock),
      virtual_date_(session.virtual_date),
      language_(session.game_language),
      kind_(kind),
      status_form_(kind.computer_guesses ? StatusForm::ComputerGuessing
                   : kind.fixed_answer   ? StatusForm::PersonFixed
                                         : StatusForm::Initialisation),
      current_time_(time_of_day_place(language_)),
      game_time_(panel_timer_place(language_, 21), DurationField::Form::Panel),
      guessing_time_(panel_timer_place(language_, 22), DurationField::Form::Panel),
      answering_time_(panel_timer_place(language_, 23), DurationField::Form::Panel),
      phase_time_({kStatusRow, 35, 38, 41}, DurationField::Form::StatusLine),
      remaining_time_({kStatusRow, 72, 75, 78}) {}

void MatchClock::start() {
    const KeptCursor kept(console_);
    for (int index = 0; index < static_cast<int>(kPanelRows.size()); ++index)
        write_at(kPanelColumn, kFirstPanelRow + index,
                 padded(kPanelRows[index](language_), kPanelWidth));
    write_at(1, kStatusRow, kStatusLines[static_cast<int>(status_form_)](language_));

    const DateTime now = clock_.now();
    start_day_ = day_number(now.year, now.month, now.day);
    const std::int64_t time = hundredths_of_day(now);
    game_start_ = time - time % 100;
    last_second_ = time / 100;
    stretch_start_ = game_start_;
    phase_start_ = progress_mark_ = time;
    guessing_ = kind_.computer_guesses;
    guessing_total_ = 0;
    remaining_ = 0;

    if (virtual_date_.in_force) virtual_date_.header_day = true;
    later_days_ = 1;
    later_day_ = virtual_date_.following;
    shown_date_ = virtual_date_.in_force ? virtual_date_.date : calendar_date(now);
    // The start leaves the blanks of the date's width alone.
    const std::string date = long_date(language_, shown_date_);
    const std::string time_text = time_of_day(language_, clock_time(now));
    write_at(date_column(language_), kStartDateRow, without_trailing_blanks(date));
    write_at(date_column(language_), kStartTimeRow, time_text);
    write_at(date_column(language_), kDateRow, without_trailing_blanks(date));
    write_at(date_column(language_), kTimeRow, time_text);
    current_time_.assume_shown(clock_time(now));

    active_ = true;
}

void MatchClock::tick() {
    if (!active_) return;
    const DateTime now = clock_.now();
    const std::int64_t time = match_time(now);
    if (phase_start_requested_) phase_start_ = time;
    if (progress_requested_) progress_mark_ = time;
    phase_start_requested_ = progress_requested_ = false;

    const std::int64_t second = floor_div(time, 100);
    if (second == last_second_) return;
    last_second_ = second;
    const KeptCursor kept(console_);
    redraw(now, time, kept.column(), kept.row());
}

Key MatchClock::next_key() {
    return console_.next_key_with_clock([this] { tick(); });
}

void MatchClock::stop() { active_ = false; }

void MatchClock::start_guessing() {
    if (guessing_) return;
    guessing_ = true;
    if (active_) stretch_start_ = match_time(clock_.now());
}

void MatchClock::stop_guessing() {
    if (!guessing_) return;
    guessing_ = false;
    if (active_) guessing_total_ += std::max<std::int64_t>(match_time(clock_.now()) - stretch_start_, 0);
}

void MatchClock::start_phase(const PhaseWork& work) {
    work_ = work;
    work_done_ = 0;
    limit_ = work.time_limit > 0 ? work.time_limit + 99 : 0;
    limit_tenth_ = work.time_limit / 10;
    phase_start_requested_ = progress_requested_ = true;
    phase_running_ = true;
    stars_drawn_ = 0;
    better_try_.reset();
    phase_elapsed_ = remaining_ = 0;
    phase_time_.restart();
    remaining_time_.assume_shown({});
}

void MatchClock::record_progress(std::int32_t work_done) {
    work_done_ = work_done;
    progress_requested_ = true;
}

void MatchClock::show_progress(int stars) {
    stars = std::min(stars, kBarLength);
    if (stars <= stars_drawn_) return;
    const KeptCursor kept(console_);
    write_at(kBarColumn, kStatusRow, std::string(static_cast<std::size_t>(stars), '*'));
    stars_drawn_ = stars;
}

void MatchClock::show_better_try(std::string_view code) { better_try_ = std::string(code); }

void MatchClock::end_phase() {
    phase_running_ = false;
    const KeptCursor kept(console_);
    const std::string_view line = kStatusLines[static_cast<int>(status_form_)](language_);
    write_at(kPhaseFieldsColumn, kStatusRow, line.substr(kPhaseFieldsColumn - 1));
    stars_drawn_ = 0;
    phase_time_.restart();
    remaining_time_.assume_shown({});
}

void MatchClock::end_initialisation() {
    phase_running_ = false;
    status_form_ = StatusForm::AfterInitialisation;
    const KeptCursor kept(console_);
    write_at(1, kStatusRow, kStatusLines[static_cast<int>(status_form_)](language_));
}

bool MatchClock::end_match(std::string_view answer_code,
                           std::optional<std::int32_t> tries_when_won) {
    phase_running_ = false;
    write_summary_line();
    write_at(kEndLabelColumn, kDateRow, kEndLabel(language_));
    if (!answer_code.empty() && answer_code.front() != ' ')
        write_at(kAnswerColumn, kStatusRow, without_trailing_blanks(answer_code));
    if (tries_when_won) {
        console_.goto_xy(kTriesColumn, kStatusRow);
        console_.write_number(*tries_when_won);
    }
    console_.goto_xy(kQuestionColumn, kStatusRow);
    tick();
    active_ = false;
    return ask_new_game();
}

std::int64_t MatchClock::match_time(const DateTime& now) const {
    const long long days_passed = day_number(now.year, now.month, now.day) - start_day_;
    return days_passed * kHundredthsPerDay + hundredths_of_day(now);
}

void MatchClock::redraw(const DateTime& now, std::int64_t time, int cursor_column,
                        int cursor_row) {
    const CalendarDate today = date_to_show(now);
    if (today != shown_date_) {
        write_at(date_column(language_), kDateRow, long_date(language_, today));
        shown_date_ = today;
    }
    current_time_.show(console_, clock_time(now), time_of_day(language_, clock_time(now)));

    const std::int64_t game = std::max<std::int64_t>(time - time % 100 - game_start_, 0);
    std::int64_t guessing = guessing_total_ + (guessing_ ? time - stretch_start_ : 0);
    guessing = std::max<std::int64_t>(guessing - guessing % 100, 0);
    game_time_.show(console_, language_, game);
    guessing_time_.show(console_, language_, guessing);
    answering_time_.show(console_, language_, std::max<std::int64_t>(game - guessing, 0));

    if (phase_running_) update_work_display(time, cursor_column, cursor_row);
}

CalendarDate MatchClock::date_to_show(const DateTime& now) {
    if (!virtual_date_.in_force) return calendar_date(now);
    const long long days_passed = day_number(now.year, now.month, now.day) - start_day_;
    virtual_date_.header_day = days_passed < 1;
    if (days_passed < 1) return virtual_date_.date;
    if (days_passed < later_days_) {
        later_days_ = 1;
        later_day_ = virtual_date_.following;
    }
    for (; later_days_ < days_passed; ++later_days_) later_day_ = next_day(later_day_);
    return later_day_;
}

void MatchClock::update_work_display(std::int64_t time, int cursor_column, int cursor_row) {
    if (better_try_) {
        write_at(cursor_column, cursor_row, *better_try_);
        better_try_.reset();
    }
    estimate_remaining(time);
    phase_elapsed_ = capped(std::max<std::int64_t>(time - phase_start_, 0));
    phase_time_.show(console_, language_, phase_elapsed_);
    if (remaining_ >= 0)
        remaining_time_.show(console_, split_duration(remaining_), short_duration(remaining_));
}

void MatchClock::estimate_remaining(std::int64_t time) {
    const std::int64_t worked = progress_mark_ - phase_start_;
    const std::int64_t done = work_done_;
    const std::int64_t total = work_.total;
    if (worked < 1 || done < 1 || done >= total) {
        remaining_ = 0;
        if (done >= total) show_progress(kBarLength);
        return;
    }
    const std::int64_t lag = std::min(time - progress_mark_, worked / done);
    std::int64_t estimate = (total - done) * worked / done - lag;
    if (limit_ > 0 && limit_ - worked < estimate) {
        estimate = std::max<std::int64_t>(limit_ - worked, 0);
        const std::int64_t least = work_.least;
        if (done <= least) estimate = std::max(estimate, (least - done) * worked / done - lag);
        const std::int64_t by_time =
            limit_tenth_ > 0 ? std::min<std::int64_t>(worked / limit_tenth_, kBarLength) : kBarLength;
        const std::int64_t by_work = least > 0 ? done * kBarLength / least : kBarLength;
        show_progress(static_cast<int>(std::min(by_time, by_work)));
    }
    remaining_ = capped(estimate);
}

void MatchClock::write_at(int column, int row, std::string_view text) {
    console_.goto_xy(column, row);
    console_.write_text(text);
}

void MatchClock::write_summary_line() {
    if (status_form_ == StatusForm::ComputerGuessing) {
        for (const SummaryPiece& piece : kSummaryPieces)
            write_at(piece.column, kStatusRow, piece.text(language_));
    } else if (status_form_ == StatusForm::Initialisation) {
        // The build was broken off: its timers would leave the question unasked on screen.
        write_at(1, kStatusRow, kStatusLines[static_cast<int>(StatusForm::AfterInitialisation)](language_));
    }
}

bool MatchClock::ask_new_game() {
    for (;;) {
        const Key key = console_.next_key();
        if (key.extended) continue;
        if (means_yes(key.code)) return true;
        if (means_no(key.code)) return false;
    }
}
