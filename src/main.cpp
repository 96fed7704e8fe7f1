#include <csignal>

#include "console/console.hpp"
#include "platform/program_path.hpp"
#include "platform/system_clock.hpp"
#include "platform/system_memory.hpp"
#include "platform/terminal.hpp"
#include "program/app.hpp"
#include "program/program.hpp"

int main() {
    SystemClock clock;
    SystemMemory memory;
    PosixTerminal terminal;
    Console console(terminal, clock);
    App app(console, clock, memory, program_file_path());
    const int status = run_program(app);
    // A signal asked the game to end: having wound down, it ends by that signal.
    if (const auto lost = terminal.lost(); lost && lost->signal_number != 0) {
        std::signal(lost->signal_number, SIG_DFL);
        std::raise(lost->signal_number);
    }
    return status;
}
