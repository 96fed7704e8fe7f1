#pragma once

#include <string>

#include "console/console.hpp"
#include "program/app.hpp"
#include "support/fake_clock.hpp"
#include "support/fake_memory.hpp"
#include "support/scripted_terminal.hpp"

// One headless run: fake clock and memory, scripted keys, the console and the App over them.
struct TestRig {
    explicit TestRig(ScriptedTerminal::WhenExhausted when = ScriptedTerminal::WhenExhausted::Fail,
                     std::string program_path = "/opt/games/mirelvanthoque")
        : terminal(clock, when), app(console, clock, memory, std::move(program_path)) {}

    FakeClock clock;
    FakeMemory memory;
    ScriptedTerminal terminal;
    Console console{terminal, clock};
    App app;

    const Screen& screen() const { return console.screen(); }
    std::string row(int number) const { return console.screen().row_text(number); }
};
