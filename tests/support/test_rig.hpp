#pragma once

#include "shell/app.hpp"
#include "shell/console.hpp"
#include "support/fake_clock.hpp"
#include "support/scripted_terminal.hpp"

// One headless run: fake clock, scripted keys, the console and the App over them.
struct TestRig {
    explicit TestRig(ScriptedTerminal::WhenExhausted when = ScriptedTerminal::WhenExhausted::Fail)
        : terminal(clock, when) {}

    FakeClock clock;
    ScriptedTerminal terminal;
    Console console{terminal, clock};
    App app{console, clock, "/opt/games/mirelvanthoque"};

    const Screen& screen() const { return console.screen(); }
    std::string row(int number) const { return console.screen().row_text(number); }
};
