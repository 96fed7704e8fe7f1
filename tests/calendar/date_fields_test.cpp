#include <gtest/gtest.h>

#include "calendar/date_fields.hpp"

namespace {

BlockValues values(int year, int month, int day, int hour = 0) {
    BlockValues result;
    result.year = static_cast<std::uint16_t>(year);
    result.month = static_cast<std::uint16_t>(month);
    result.day = static_cast<std::uint16_t>(day);
    result.hour = static_cast<std::uint16_t>(hour);
    result.leap_year = year % 4 == 0;
    return result;
}

struct Range {
    FieldPosition position;
    BlockValues values;
    int highest;
};

TEST(DateFields, EachPositionTakesTheDigitsOfItsRange) {
    const Range ranges[] = {
        {{Field::Year, 0}, values(2025, 5, 5), 9},
        {{Field::Year, 3}, values(2025, 5, 5), 9},
        {{Field::Month, 0}, values(2025, 1, 5), 1},
        {{Field::Month, 1}, values(2025, 10, 5), 9},
        {{Field::Day, 0}, values(2025, 1, 5), 3},
        {{Field::Day, 0}, values(2025, 2, 5), 2},
        {{Field::Day, 1}, values(2025, 1, 15), 9},
        {{Field::Day, 1}, values(2025, 1, 30), 1},
        {{Field::Day, 1}, values(2025, 1, 31), 1},
        {{Field::Day, 1}, values(2025, 2, 20), 8},
        {{Field::Day, 1}, values(2024, 2, 20), 9},
        {{Field::Day, 1}, values(2025, 2, 19), 9},
        {{Field::Hour, 0}, values(2025, 5, 5, 19), 2},
        {{Field::Hour, 1}, values(2025, 5, 5, 19), 9},
        {{Field::Hour, 1}, values(2025, 5, 5, 20), 3},
        {{Field::Minute, 0}, values(2025, 5, 5), 5},
        {{Field::Minute, 1}, values(2025, 5, 5), 9},
        {{Field::Second, 0}, values(2025, 5, 5), 5},
        {{Field::Second, 1}, values(2025, 5, 5), 9},
    };
    for (const Range& range : ranges) {
        SCOPED_TRACE(testing::Message() << "field " << static_cast<int>(range.position.field)
                                        << " digit " << range.position.digit << " day "
                                        << range.values.day << " hour " << range.values.hour);
        for (int digit = 0; digit <= 9; ++digit)
            EXPECT_EQ(accepts_digit(range.position, range.values, digit), digit <= range.highest)
                << digit;
    }
}

struct Repair {
    BlockValues typed;
    int month, day;
    bool leap;
};

TEST(DateFields, TheFiveRulesMakeEveryTypedDateExist) {
    const Repair repairs[] = {
        {values(2025, 19, 5), 9, 5, false},   // a month above 12 loses 10
        {values(2025, 0, 5), 10, 5, false},   // a month of 0 becomes October
        {values(2025, 3, 0), 3, 10, false},   // a day of 0 becomes the 10th
        {values(2025, 3, 39), 3, 30, false},  // above 31: the 30th
        {values(2025, 4, 31), 4, 30, false},
        {values(2025, 11, 31), 11, 30, false},
        {values(2025, 12, 31), 12, 31, false},
        {values(2025, 2, 30), 2, 28, false},
        {values(2024, 2, 30), 2, 29, true},
        {values(1500, 2, 29), 2, 29, true},   // Julian
        {values(1700, 2, 29), 2, 28, false},  // Gregorian
        {values(1582, 10, 4), 10, 4, false},
        {values(1582, 10, 5), 10, 15, false},
        {values(1582, 10, 14), 10, 24, false},
        {values(1582, 10, 15), 10, 15, false},
        {values(1583, 10, 5), 10, 5, false},
        {values(1582, 9, 5), 9, 5, false},
    };
    for (const Repair& repair : repairs) {
        BlockValues date = repair.typed;
        put_date_right(date);
        SCOPED_TRACE(testing::Message() << repair.typed.year << '-' << repair.typed.month << '-'
                                        << repair.typed.day);
        EXPECT_EQ(date.month, repair.month);
        EXPECT_EQ(date.day, repair.day);
        EXPECT_EQ(date.leap_year, repair.leap);
    }
}

}  // namespace
