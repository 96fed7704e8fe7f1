#pragma once

#include "calendar/calendar.hpp"
#include "console/session.hpp"

// The perpetual calendar of the years 0000 to 9999, on which the user sets the virtual date
// of the game in virtual_date. Opening it cancels a virtual date; a date other than the
// computer's, left on screen, puts one in force. The computer's clock is only read.
void run_calendar_screen(Session& session, VirtualDate& virtual_date);
