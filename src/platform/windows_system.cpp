// The machine's clock, memory and the program's own path, as Windows tells them.
#include <windows.h>

#include "platform/program_path.hpp"
#include "platform/system_clock.hpp"
#include "platform/system_memory.hpp"
#include "platform/windows_paths.hpp"

namespace {

// SetLocalTime takes any day number; a date that does not exist must fail instead.
bool valid_date(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
    if (month < 1 || month > 12 || day < 1) return false;
    static constexpr std::uint16_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

// Without the privilege to change the system time the call fails, and the screen says so.
bool set_local(const SYSTEMTIME& wanted) { return SetLocalTime(&wanted) != 0; }

}  // namespace

DateTime SystemClock::now() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return DateTime{local.wYear,  local.wMonth,  local.wDay,    local.wDayOfWeek,
                    local.wHour,  local.wMinute, local.wSecond, static_cast<std::uint16_t>(local.wMilliseconds / 10)};
}

bool SystemClock::set_date(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
    // SYSTEMTIME starts at 1601.
    if (year < 1601 || !valid_date(year, month, day)) return false;
    SYSTEMTIME local{};
    GetLocalTime(&local);
    local.wYear = year;
    local.wMonth = month;
    local.wDay = day;
    return set_local(local);
}

bool SystemClock::set_time(std::uint16_t hour, std::uint16_t minute, std::uint16_t second,
                           std::uint16_t hundredths) {
    if (hour > 23 || minute > 59 || second > 59 || hundredths > 99) return false;
    SYSTEMTIME local{};
    GetLocalTime(&local);
    local.wHour = hour;
    local.wMinute = minute;
    local.wSecond = second;
    local.wMilliseconds = static_cast<WORD>(hundredths * 10);
    return set_local(local);
}

// The performance counter: GetTickCount64 moves in steps of about 16 ms.
std::uint64_t SystemClock::tick_ms() {
    static const std::uint64_t frequency = [] {
        LARGE_INTEGER ticks{};
        QueryPerformanceFrequency(&ticks);
        return static_cast<std::uint64_t>(ticks.QuadPart);
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    const auto ticks = static_cast<std::uint64_t>(now.QuadPart);
    return ticks / frequency * 1000 + ticks % frequency * 1000 / frequency;
}

void SystemClock::sleep_ms(int milliseconds) {
    if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
}

std::uint64_t SystemMemory::available_bytes() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (GlobalMemoryStatusEx(&status) == 0) return 0;
    return status.ullAvailPhys;
}

std::string program_file_path() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            // As Windows writes it: the closing text shows it.
            return utf8_text(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}
