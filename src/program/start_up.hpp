#pragma once

#include "platform/clock.hpp"
#include "program/app.hpp"

// Puts a system year below 1980 or above 9999 back into range and writes it to the clock.
void correct_system_year(Clock& clock);

// Everything the run prepares before the title page.
void start_up(App& app);
