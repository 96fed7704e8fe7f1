#include "idle_clock_wait.hpp"

#include <pty.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "console/console.hpp"
#include "platform/system_clock.hpp"
#include "platform/terminal.hpp"

namespace {

double cpu_seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

double idle_clock_wait_cpu_seconds(int wall_seconds) {
    int master = -1, slave = -1;
    winsize size{};
    size.ws_col = 80;
    size.ws_row = 25;
    if (openpty(&master, &slave, nullptr, nullptr, &size) != 0) return -1;
    double used = -1;
    {
        SystemClock clock;
        PosixTerminal terminal(slave, slave);
        Console console(terminal, clock);
        const std::uint64_t end = clock.tick_ms() + static_cast<std::uint64_t>(wall_seconds) * 1000;
        const double start = cpu_seconds();
        while (clock.tick_ms() < end) {
            const DateTime now = clock.now();
            char text[32];
            std::snprintf(text, sizeof text, "%02u:%02u:%02u", now.hour, now.minute, now.second);
            console.goto_xy(36, 12);
            console.write_text(text);
            // The same wait a clock screen makes: until a key or the next second.
            console.wait_for_key((100 - now.hundredths) * 10);
        }
        used = cpu_seconds() - start;
        terminal.shut_down({});
    }
    close(master);
    close(slave);
    return used;
}
