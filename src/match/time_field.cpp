#include "match/time_field.hpp"

#include <algorithm>
#include <limits>

namespace {
constexpr std::int64_t kStopAt = 100LL * 360000;
}  // namespace

void TimeField::show(Console& console, const Hms& value, std::string_view text) {
    if (value == shown_) return;
    int from = place_.seconds_column + 1;
    if (value.hours != shown_.hours) {
        from = place_.hours_column;
    } else if (value.minutes != shown_.minutes) {
        from = place_.minutes_column;
    } else if (value.seconds / 10 != shown_.seconds / 10) {
        from = place_.seconds_column;
    }
    console.goto_xy(from, place_.row);
    console.write_text(text.substr(static_cast<std::size_t>(from - place_.hours_column)));
    shown_ = value;
}

void DurationField::show(Console& console, Language language, std::int64_t hundredths) {
    if (!running_) return;
    if (hundredths >= kStopAt) running_ = false;
    const auto value = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(hundredths, 0, std::numeric_limits<std::int32_t>::max()));
    const std::string text =
        form_ == Form::Panel ? panel_duration(language, value) : short_duration(value);
    field_.show(console, split_duration(value), text);
}

void DurationField::restart() {
    running_ = true;
    field_.assume_shown({});
}
