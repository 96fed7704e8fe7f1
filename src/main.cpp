#include "platform/program_path.hpp"
#include "platform/system_clock.hpp"
#include "platform/system_memory.hpp"
#include "platform/terminal.hpp"
#include "shell/app.hpp"
#include "shell/console.hpp"
#include "shell/program.hpp"

int main() {
    SystemClock clock;
    SystemMemory memory;
    PosixTerminal terminal;
    Console console(terminal, clock);
    App app(console, clock, memory, program_file_path());
    return run_program(app);
}
