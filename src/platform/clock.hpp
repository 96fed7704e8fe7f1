#pragma once

#include <cstdint>

// Local date and time as the game counts them; weekday 0 is Sunday.
struct DateTime {
    std::uint16_t year = 2000;
    std::uint16_t month = 1;
    std::uint16_t day = 1;
    std::uint16_t weekday = 6;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t hundredths = 0;
    bool operator==(const DateTime&) const = default;
};

class Clock {
public:
    virtual ~Clock() = default;

    virtual DateTime now() = 0;
    // Setting needs the right to change the system time; false when it was refused.
    virtual bool set_date(std::uint16_t year, std::uint16_t month, std::uint16_t day) = 0;
    virtual bool set_time(std::uint16_t hour, std::uint16_t minute, std::uint16_t second,
                          std::uint16_t hundredths) = 0;
    // Milliseconds from an arbitrary start; only differences mean anything.
    virtual std::uint64_t tick_ms() = 0;
    virtual void sleep_ms(int milliseconds) = 0;
};
