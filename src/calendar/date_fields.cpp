#include "calendar/date_fields.hpp"

#include <algorithm>
#include <array>
#include <span>

#include "calendar/calendar.hpp"

namespace {

constexpr std::array<Field, 6> kFieldOrder = {Field::Year, Field::Month,  Field::Day,
                                              Field::Hour, Field::Minute, Field::Second};

std::span<const Field> visited_fields(FieldSet fields) {
    return std::span<const Field>(kFieldOrder).first(fields == FieldSet::DateOnly ? 3 : 6);
}

int width_of(Field field) { return field == Field::Year ? 4 : 2; }

std::uint16_t& value_of(Field field, BlockValues& values) {
    switch (field) {
    case Field::Year:
        return values.year;
    case Field::Month:
        return values.month;
    case Field::Day:
        return values.day;
    case Field::Hour:
        return values.hour;
    case Field::Minute:
        return values.minute;
    case Field::Second:
        break;
    }
    return values.second;
}

bool skipped(const FieldPosition& position, const BlockValues& values) {
    if (position.field == Field::Month) return position.digit == 0 && values.month % 10 > 2;
    if (position.field == Field::Day)
        return position.digit == 1 && values.day == 30 &&
               month_length(values.month, values.leap_year) == 30;
    return false;
}

FieldPosition landing(FieldPosition target, const BlockValues& values) {
    if (skipped(target, values)) target.digit = 1 - target.digit;
    return target;
}

int highest_digit(const FieldPosition& position, const BlockValues& values) {
    const bool tens = position.digit == 0;
    switch (position.field) {
    case Field::Year:
        return 9;
    case Field::Month:
        return tens ? 1 : 9;
    case Field::Day:
        if (tens) return values.month == 2 ? 2 : 3;
        if (values.day >= 30) return 1;
        if (values.month == 2 && values.day >= 20 && !values.leap_year) return 8;
        return 9;
    case Field::Hour:
        if (tens) return 2;
        return values.hour >= 20 ? 3 : 9;
    case Field::Minute:
    case Field::Second:
        break;
    }
    return tens ? 5 : 9;
}

}  // namespace

int row_of(Field field) {
    switch (field) {
    case Field::Year:
        return 18;
    case Field::Month:
        return 19;
    case Field::Day:
        return 20;
    case Field::Hour:
        return 23;
    case Field::Minute:
        return 24;
    case Field::Second:
        break;
    }
    return 25;
}

FieldPosition moved(const FieldPosition& from, Move move, const BlockValues& values,
                    FieldSet fields) {
    const int width = width_of(from.field);
    if (move == Move::Right) return landing({from.field, (from.digit + 1) % width}, values);
    if (move == Move::Left) return landing({from.field, (from.digit + width - 1) % width}, values);
    const std::span<const Field> order = visited_fields(fields);
    const auto count = static_cast<int>(order.size());
    const auto index = static_cast<int>(std::find(order.begin(), order.end(), from.field) -
                                         order.begin());
    const int next = move == Move::Down ? (index + 1) % count : (index + count - 1) % count;
    // The year's last two digits stand above the units of the other fields.
    return landing({order[next], std::min(from.digit, 1)}, values);
}

bool accepts_digit(const FieldPosition& position, const BlockValues& values, int digit) {
    return digit >= 0 && digit <= highest_digit(position, values);
}

void put_digit(const FieldPosition& position, BlockValues& values, int digit) {
    std::uint16_t& value = value_of(position.field, values);
    int place = 1;
    for (int i = position.digit + 1; i < width_of(position.field); ++i) place *= 10;
    value = static_cast<std::uint16_t>(value - value / place % 10 * place + digit * place);
}

void put_date_right(BlockValues& values) {
    if (values.month > 12) values.month -= 10;
    if (values.month == 0) values.month = 10;
    if (values.day == 0) values.day = 10;
    if (values.day > 31) values.day = 30;
    if (values.day == 31 && month_length(values.month, false) == 30) values.day = 30;
    values.leap_year = is_leap_year(values.year);
    if (values.month == 2 && values.day > 28) values.day = values.leap_year ? 29 : 28;
    if (values.year == 1582 && values.month == 10 && values.day >= 5 && values.day <= 14)
        values.day += 10;
}

void put_time_right(BlockValues& values) {
    if (values.hour > 23) values.hour = 20;
}
