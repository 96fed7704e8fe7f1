#include "support/fake_clock.hpp"

#include <chrono>

namespace {

constexpr std::uint64_t kMsPerDay = 86'400'000;

long long days_from_civil(int year, unsigned month, unsigned day) {
    using namespace std::chrono;
    return sys_days{std::chrono::year{year} / std::chrono::month{month} / std::chrono::day{day}}
        .time_since_epoch()
        .count();
}

}  // namespace

FakeClock::FakeClock() : days_(days_from_civil(2026, 12, 8)), ms_of_day_(12 * 3'600'000ULL) {}

DateTime FakeClock::now() {
    using namespace std::chrono;
    const sys_days day_point{days{days_}};
    const year_month_day date{day_point};
    DateTime result;
    result.year = static_cast<std::uint16_t>(static_cast<int>(date.year()));
    result.month = static_cast<std::uint16_t>(static_cast<unsigned>(date.month()));
    result.day = static_cast<std::uint16_t>(static_cast<unsigned>(date.day()));
    result.weekday = static_cast<std::uint16_t>(weekday{day_point}.c_encoding());
    result.hour = static_cast<std::uint16_t>(ms_of_day_ / 3'600'000);
    result.minute = static_cast<std::uint16_t>(ms_of_day_ / 60'000 % 60);
    result.second = static_cast<std::uint16_t>(ms_of_day_ / 1000 % 60);
    result.hundredths = static_cast<std::uint16_t>(ms_of_day_ / 10 % 100);
    if (advance_per_reading_ > 0) advance_ms(advance_per_reading_);
    return result;
}

bool FakeClock::set_date(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
    if (refuse_) return false;
    const std::chrono::year_month_day date{std::chrono::year{year} / std::chrono::month{month} /
                                           std::chrono::day{day}};
    if (!date.ok()) return false;
    date_settings_.push_back({year, month, day});
    days_ = days_from_civil(year, month, day);
    return true;
}

bool FakeClock::set_time(std::uint16_t hour, std::uint16_t minute, std::uint16_t second,
                         std::uint16_t hundredths) {
    if (refuse_ || hour > 23 || minute > 59 || second > 59 || hundredths > 99) return false;
    ++time_settings_;
    ms_of_day_ = ((hour * 60ULL + minute) * 60 + second) * 1000 + hundredths * 10ULL;
    return true;
}

void FakeClock::sleep_ms(int milliseconds) {
    if (milliseconds <= 0) return;
    slept_ms_ += static_cast<std::uint64_t>(milliseconds);
    advance_ms(static_cast<std::uint64_t>(milliseconds));
}

void FakeClock::show(std::uint16_t year, std::uint16_t month, std::uint16_t day,
                     std::uint16_t hour, std::uint16_t minute, std::uint16_t second,
                     std::uint16_t hundredths) {
    days_ = days_from_civil(year, month, day);
    ms_of_day_ = ((hour * 60ULL + minute) * 60 + second) * 1000 + hundredths * 10ULL;
}

void FakeClock::advance_ms(std::uint64_t milliseconds) {
    tick_ms_ += milliseconds;
    ms_of_day_ += milliseconds;
    days_ += static_cast<long long>(ms_of_day_ / kMsPerDay);
    ms_of_day_ %= kMsPerDay;
}
