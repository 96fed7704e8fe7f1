#include "calendar/clock_screen.hpp"

#include "calendar/calendar.hpp"
#include "calendar/date_editor.hpp"

namespace {

// clang-format off
constexpr MarkedRow kRows[] = {
    {1,  {"^Bitte stellen Sie Datum und Uhrzeit ein (benoetigt Administrationsrechte):^",
          "^Please set the right date and time (administration rights are required):^"}},
    {6,  {"Haben Sie das Datum und die Uhrzeit korrigiert, so druecken Sie \"CR\"/\"ENTER\".",
          "If date and time are o.k., please press 'CR'/'ENTER'."}},
    {11, {"Jede Eingabe bewirkt eine ^sofortige Aenderung von Datum, bzw. Uhrzeit^.",
          "To press a key effects an ^immediate change of the date respectively the time^."}},
    {14, {"Sie koennen diesen Programmteil auch als ^Wochentagskalender ab 1980^ verwenden.",
          "You can use this part of the program as well as ^calendar (from 1980)^."}},
    {15, {"Ein Tastendruck auf ^\"F1\"^ setzt dann das angezeigte gueltige Datum auf das",
          "It is possible to reset the valid date that you can see on the screen with"}},
    {16, {"urspruengliche Datum zurueck, das sich der Computer gemerkt hat.",
          "the initial date rememberd by the computer by pressing the ^'F1'^-key."}},
};
// clang-format on
// Escaped, lest four question marks start a trigraph.
constexpr Bilingual kYearLabel{"Jahr (1980 - \?\?\?\?): ", "Year (1980 - \?\?\?\?): "};

// The editor works on the clock's current values; every change goes to the clock at once.
class ComputerClock : public DateKeeper {
public:
    explicit ComputerClock(Clock& clock) : clock_(clock) {}

    void refresh(BlockValues& values) override {
        const DateTime now = clock_.now();
        // The computer's clock knows no Julian years.
        values = {now, is_gregorian_leap_year(now.year)};
    }
    // A refusal needs no answer: the next refresh shows what the clock really holds.
    void date_changed(const BlockValues& values) override {
        clock_.set_date(values.year, values.month, values.day);
    }
    void time_changed(const BlockValues& values) override {
        clock_.set_time(values.hour, values.minute, values.second, values.hundredths);
    }

private:
    Clock& clock_;
};

}  // namespace

void run_clock_screen(Session& session) {
    ComputerClock keeper(session.clock);
    BlockValues opening;
    keeper.refresh(opening);
    run_date_editor(session, {kRows, kYearLabel, FieldSet::DateAndTime, true}, opening, keeper);
}
