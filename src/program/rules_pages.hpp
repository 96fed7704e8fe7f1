#pragma once

#include "program/app.hpp"

// Main menu item 6: the short rules, one page, in the current language.
void run_short_rules(App& app);
// Main menu item 7: the detailed rules, four pages to page back and forth through.
void run_detailed_rules(App& app);
