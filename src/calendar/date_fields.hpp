#pragma once

#include <cstdint>

#include "platform/clock.hpp"

// The date and time the editor works on and the block shows, with the leap-year flag by the
// rule that the screen follows.
struct BlockValues : DateTime {
    bool leap_year = true;

    bool same_date(const BlockValues& other) const {
        return year == other.year && month == other.month && day == other.day;
    }
    bool same_time(const BlockValues& other) const {
        return hour == other.hour && minute == other.minute && second == other.second;
    }
};

enum class Field { Year, Month, Day, Hour, Minute, Second };

// Which fields the editor visits: the calendar has no time rows.
enum class FieldSet { DateOnly, DateAndTime };

// A digit of a field: 0 is the leftmost (the year's thousands, the tens of the others).
struct FieldPosition {
    Field field = Field::Year;
    int digit = 0;
    bool operator==(const FieldPosition&) const = default;
};

// Screen places: the values start in column 37; the time rows follow an empty row 22.
int row_of(Field field);
inline int column_of(const FieldPosition& position) { return 37 + position.digit; }

enum class Move { Right, Left, Up, Down };

// The position a cursor key leads to. Moves never land on a digit that cannot be changed
// meaningfully (the month's tens while its units are above 2, the day's units on the 30th of
// a month of 30 days): they take the other digit of that field instead.
FieldPosition moved(const FieldPosition& from, Move move, const BlockValues& values,
                    FieldSet fields);

// Whether the digit may be typed at that position; the ranges keep the value within what
// the rules below can put right.
bool accepts_digit(const FieldPosition& position, const BlockValues& values, int digit);
// Puts the digit in, as typed; the date or time still has to be put right.
void put_digit(const FieldPosition& position, BlockValues& values, int digit);
inline bool is_date_field(Field field) {
    return field == Field::Year || field == Field::Month || field == Field::Day;
}

// Makes an edited date exist: month, day, the leap year by the calendar rule, February and
// the ten days of October 1582 that never were.
void put_date_right(BlockValues& values);
// An hour above 23, left by a tens digit of 2, becomes 20.
void put_time_right(BlockValues& values);
