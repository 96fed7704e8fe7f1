#include <unistd.h>

#include <csignal>
#include <iostream>
#include <string_view>
#include <vector>

#include "console/console.hpp"
#include "platform/program_path.hpp"
#include "platform/system_clock.hpp"
#include "platform/system_memory.hpp"
#include "platform/terminal.hpp"
#include "program/app.hpp"
#include "program/command_line.hpp"
#include "program/conditions_place.hpp"
#include "program/program.hpp"

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const std::string program_path = program_file_path();
    const ConditionsPlace place = place_conditions(facts_of_this_process(program_path));
    const bool interactive = isatty(STDIN_FILENO) == 1 && isatty(STDOUT_FILENO) == 1;
    if (const auto status =
            answer_command_line(read_command_line(arguments), interactive, place, std::cout, std::cerr))
        return *status;

    SystemClock clock;
    SystemMemory memory;
    PosixTerminal terminal;
    Console console(terminal, clock);
    App app(console, clock, memory, program_path, place);
    const int status = run_program(app);
    // A signal asked the game to end: having wound down, it ends by that signal.
    if (const auto lost = terminal.lost(); lost && lost->signal_number != 0) {
        std::signal(lost->signal_number, SIG_DFL);
        std::raise(lost->signal_number);
    }
    return status;
}
