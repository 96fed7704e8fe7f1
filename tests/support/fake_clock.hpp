#pragma once

#include <cstdint>
#include <vector>

#include "platform/clock.hpp"

// A clock that only moves when a test (or the scripted terminal) moves it.
class FakeClock : public Clock {
public:
    FakeClock();

    DateTime now() override;
    bool set_date(std::uint16_t year, std::uint16_t month, std::uint16_t day) override;
    bool set_time(std::uint16_t hour, std::uint16_t minute, std::uint16_t second,
                  std::uint16_t hundredths) override;
    std::uint64_t tick_ms() override { return tick_ms_; }
    void sleep_ms(int milliseconds) override;

    // Puts the clock at a date and time without counting it as a setting by the program.
    void show(std::uint16_t year, std::uint16_t month, std::uint16_t day, std::uint16_t hour = 12,
              std::uint16_t minute = 0, std::uint16_t second = 0, std::uint16_t hundredths = 0);
    void advance_ms(std::uint64_t milliseconds);
    // Every later reading of the date and time moves the clock on by this much, as if the
    // work between two readings took that long.
    void advance_on_each_reading(std::uint64_t milliseconds) { advance_per_reading_ = milliseconds; }
    // Makes every later setting fail, like a user without the right to change the time.
    void refuse_setting() { refuse_ = true; }

    struct DateSetting { std::uint16_t year, month, day; };
    const std::vector<DateSetting>& date_settings() const { return date_settings_; }
    int time_settings() const { return time_settings_; }
    std::uint64_t slept_ms() const { return slept_ms_; }

private:
    long long days_;            // since 1 January 1970 (proleptic Gregorian)
    std::uint64_t ms_of_day_;   // 0 .. 86'399'999
    std::uint64_t tick_ms_ = 1'000'000;
    std::uint64_t slept_ms_ = 0;
    bool refuse_ = false;
    std::uint64_t advance_per_reading_ = 0;
    std::vector<DateSetting> date_settings_;
    int time_settings_ = 0;
};
