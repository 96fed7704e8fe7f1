#pragma once

#include "platform/clock.hpp"

// The machine's own clock. Setting it changes the real system time (with the right to do so).
class SystemClock : public Clock {
public:
    DateTime now() override;
    bool set_date(std::uint16_t year, std::uint16_t month, std::uint16_t day) override;
    bool set_time(std::uint16_t hour, std::uint16_t minute, std::uint16_t second,
                  std::uint16_t hundredths) override;
    std::uint64_t tick_ms() override;
    void sleep_ms(int milliseconds) override;
};
