#pragma once

#include <cstdint>
#include <string_view>

#include "calendar/date_forms.hpp"
#include "console/console.hpp"
#include "core/language.hpp"

// Hours, minutes and seconds at a fixed place on screen. A new value rewrites only what
// changed since the last one: everything from the hours, everything from the minutes, both
// second digits, or the last digit alone; an unchanged value writes nothing.
class TimeField {
public:
    struct Place {
        int row;
        int hours_column;
        int minutes_column;
        int seconds_column;
    };

    explicit TimeField(Place place) : place_(place) {}

    // `text` is the whole field for `value`, hours first and the two second digits last.
    void show(Console& console, const Hms& value, std::string_view text);
    // The screen holds `value` already, drawn by someone else.
    void assume_shown(const Hms& value) { shown_ = value; }

private:
    Place place_;
    Hms shown_;
};

// A duration field that stands still for good once it reaches 100 hours, at 99:59:59.
class DurationField {
public:
    enum class Form { Panel, StatusLine };

    DurationField(TimeField::Place place, Form form) : field_(place), form_(form) {}

    void show(Console& console, Language language, std::int64_t hundredths);
    // Back to a running field that the screen shows at zero.
    void restart();

private:
    TimeField field_;
    Form form_;
    bool running_ = true;
};
