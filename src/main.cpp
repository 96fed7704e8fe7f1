#include <csignal>
#include <iostream>
#include <string_view>
#include <vector>

#if defined(_WIN32)
#include <windows.h>

#include "platform/windows_console.hpp"
#else
#include <unistd.h>

#include "platform/terminal.hpp"
#endif

#include "console/console.hpp"
#include "platform/program_path.hpp"
#include "platform/system_clock.hpp"
#include "platform/system_memory.hpp"
#include "program/app.hpp"
#include "program/command_line.hpp"
#include "program/conditions_place.hpp"
#include "program/program.hpp"

namespace {

bool interactive() {
#if defined(_WIN32)
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0 &&
           GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
#else
    return isatty(STDIN_FILENO) == 1 && isatty(STDOUT_FILENO) == 1;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const std::string program_path = program_file_path();
    const ConditionsPlace place = place_conditions(facts_of_this_process(program_path));
    if (const auto status =
            answer_command_line(read_command_line(arguments), interactive(), place, std::cout, std::cerr))
        return *status;

    SystemClock clock;
    SystemMemory memory;
#if defined(_WIN32)
    WindowsConsole terminal;
#else
    PosixTerminal terminal;
#endif
    Console console(terminal, clock);
    App app(console, clock, memory, program_path, place);
    const int status = run_program(app);
#if !defined(_WIN32)
    // A signal asked the game to end: having wound down, it ends by that signal.
    if (const auto lost = terminal.lost(); lost && lost->signal_number != 0) {
        std::signal(lost->signal_number, SIG_DFL);
        std::raise(lost->signal_number);
    }
#endif
    return status;
}
