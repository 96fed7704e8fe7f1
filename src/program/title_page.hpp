#pragma once

#include "program/app.hpp"

// The title page with the language question. Sets the language and returns true, or
// returns false when the user leaves the program with Esc (or Ctrl-C).
bool run_title_page(App& app);
