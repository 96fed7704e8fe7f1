#include "platform/system_clock.hpp"

#include <cerrno>
#include <ctime>

namespace {

bool read_local(timespec& stamp, std::tm& local) {
    if (clock_gettime(CLOCK_REALTIME, &stamp) != 0) return false;
    return localtime_r(&stamp.tv_sec, &local) != nullptr;
}

// mktime normalises out-of-range fields; a date that does not exist must fail instead.
bool set_local(std::tm wanted, long nanoseconds) {
    const std::tm asked = wanted;
    wanted.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&wanted);
    if (seconds == static_cast<std::time_t>(-1)) return false;
    if (wanted.tm_year != asked.tm_year || wanted.tm_mon != asked.tm_mon ||
        wanted.tm_mday != asked.tm_mday)
        return false;
    const timespec stamp{seconds, nanoseconds};
    return clock_settime(CLOCK_REALTIME, &stamp) == 0;
}

}  // namespace

DateTime SystemClock::now() {
    timespec stamp{};
    std::tm local{};
    if (!read_local(stamp, local)) return DateTime{};
    DateTime result;
    result.year = static_cast<std::uint16_t>(local.tm_year + 1900);
    result.month = static_cast<std::uint16_t>(local.tm_mon + 1);
    result.day = static_cast<std::uint16_t>(local.tm_mday);
    result.weekday = static_cast<std::uint16_t>(local.tm_wday);
    result.hour = static_cast<std::uint16_t>(local.tm_hour);
    result.minute = static_cast<std::uint16_t>(local.tm_min);
    result.second = static_cast<std::uint16_t>(local.tm_sec % 60);
    result.hundredths = static_cast<std::uint16_t>(stamp.tv_nsec / 10000000);
    return result;
}

bool SystemClock::set_date(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
    timespec stamp{};
    std::tm local{};
    if (!read_local(stamp, local)) return false;
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    return set_local(local, stamp.tv_nsec);
}

bool SystemClock::set_time(std::uint16_t hour, std::uint16_t minute, std::uint16_t second,
                           std::uint16_t hundredths) {
    if (hour > 23 || minute > 59 || second > 59 || hundredths > 99) return false;
    timespec stamp{};
    std::tm local{};
    if (!read_local(stamp, local)) return false;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    return set_local(local, hundredths * 10000000L);
}

std::uint64_t SystemClock::tick_ms() {
    timespec stamp{};
    clock_gettime(CLOCK_MONOTONIC, &stamp);
    return static_cast<std::uint64_t>(stamp.tv_sec) * 1000 + stamp.tv_nsec / 1000000;
}

void SystemClock::sleep_ms(int milliseconds) {
    if (milliseconds <= 0) return;
    timespec rest{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    while (nanosleep(&rest, &rest) != 0 && errno == EINTR) {
    }
}
