#pragma once

#include <cstdint>

#include "program/app.hpp"

// Draws the main menu in the current language.
void draw_main_menu(App& app);
// Reads keys until one of the items '1'..'9' (Ctrl-C counts as '9') and returns it.
std::uint8_t read_menu_choice(App& app);
