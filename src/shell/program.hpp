#pragma once

#include <string>
#include <vector>

#include "shell/app.hpp"

// The lines left on the terminal after the run.
std::vector<std::string> closing_lines(const App& app);

// The whole run: start-up, title page, main menu until the end. Returns the exit code.
int run_program(App& app);
