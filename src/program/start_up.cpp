#include "program/start_up.hpp"

#include "calendar/calendar.hpp"
#include "program/run_conditions.hpp"

void correct_system_year(Clock& clock) {
    const DateTime today = clock.now();
    int year = today.year;
    if (year < 1980) {
        year = year % 100 + 2000;
    } else if (year > 9999) {
        year = 9999;
    } else {
        return;
    }
    std::uint16_t day = today.day;
    // 29 February of year 10000 has no counterpart in 9999.
    if (today.month == 2 && day == 29 && !is_gregorian_leap_year(year)) day = 28;
    clock.set_date(static_cast<std::uint16_t>(year), today.month, day);
}

void start_up(App& app) {
    correct_system_year(app.clock);
    app.virtual_date = VirtualDate::from_real_date(calendar_date(app.clock.now()));
    app.random.reseed(app.clock.tick_ms());
    load_run_conditions(app);
    app.console.set_attribute(app.colours.standard);
}
