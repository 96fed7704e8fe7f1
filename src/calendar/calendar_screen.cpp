#include "calendar/calendar_screen.hpp"

#include "calendar/calendar.hpp"
#include "calendar/date_editor.hpp"

namespace {

// clang-format off
constexpr MarkedRow kRows[] = {
    {1,  {"^Bitte stellen Sie Ihr virtuelles Spieldatum ein:^",
          "^Please set the right virtual date of the game:^"}},
    {6,  {"Haben Sie das Datum korrigiert, so druecken Sie \"CR\"/\"ENTER\".",
          "If the virtual date is o.k., please press 'CR'/'ENTER'."}},
    {11, {"Jede Eingabe bewirkt eine ^sofortige Aenderung des virtuellen Spieldatums^.",
          "To press a key effects an ^immediate change of the virtual date of the game^."}},
    {14, {"Sie koennen diesen Programmteil auch als ^Wochentagskalender von 0000 bis 9999^",
          "You can use this part of the program as well as ^calendar from 0000 to 9999^."}},
    {15, {"verwenden. Ein Tastendruck auf ^\"F1\"^ setzt dann das angezeigte virtuelle",
          "It is possible to reset the virtual date that you can see on the screen with"}},
    {16, {"Spieldatum auf das urspruengliche reale Datum zurueck.",
          "the initial real date rememberd by the computer by pressing the ^'F1'^-key."}},
    {23, {"   Auf Donnerstag, den 4. Oktober 1582 folgt Freitag, der 15. Oktober 1582.",
          "    Thursday, 4th October 1582 is followed by Friday, 15th October 1582."}},
    {24, {"   Zu dieser Zeit wurde der damals gueltige Julianische Kalender auf den",
          "    At this time the Gregorian Calendar replaced the Julian Calendar."}},
    {25, {"   heute gueltigen Gregorianischen Kalender umgestellt.", ""}},
};
// clang-format on
constexpr Bilingual kYearLabel{"Jahr (0000 - 9999): ", "Year (0000 - 9999): "};

// The edited date is the virtual date, unless it is the computer's date of the opening.
class VirtualCalendar : public DateKeeper {
public:
    VirtualCalendar(VirtualDate& virtual_date, const CalendarDate& real_date)
        : virtual_date_(virtual_date), real_date_(real_date) {}

    void refresh(BlockValues& values) override {
        values.leap_year = is_leap_year(values.year);
        values.weekday =
            static_cast<std::uint16_t>(weekday_of(values.year, values.month, values.day));
    }
    void key_done(const BlockValues& values) override {
        const CalendarDate edited{values.year, values.month, values.day, values.weekday};
        virtual_date_.in_force = edited.year != real_date_.year ||
                                 edited.month != real_date_.month || edited.day != real_date_.day;
        virtual_date_.date = virtual_date_.in_force ? edited : real_date_;
    }

private:
    VirtualDate& virtual_date_;
    const CalendarDate real_date_;
};

}  // namespace

void run_calendar_screen(Session& session, VirtualDate& virtual_date) {
    const DateTime now = session.clock.now();
    const CalendarDate today = calendar_date(now);
    // A virtual date must be entered anew on every visit.
    virtual_date.date = today;
    virtual_date.in_force = false;
    VirtualCalendar keeper(virtual_date, today);
    run_date_editor(session, {kRows, kYearLabel, FieldSet::DateOnly, false},
                    {now, is_leap_year(now.year)}, keeper);
}
