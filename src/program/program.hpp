#pragma once

#include <string>
#include <vector>

#include "program/app.hpp"

// The lines left on the terminal after the run.
std::vector<std::string> closing_lines(const App& app);

// The exit code when the terminal's input ended or failed under the game. A signal that ended
// the game gives 128 and its number, as a shell would show it.
inline constexpr int kExitTerminalLost = 1;

// The whole run: start-up, title page, main menu until the end. Returns the exit code.
int run_program(App& app);
