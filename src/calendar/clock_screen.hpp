#pragma once

#include "console/session.hpp"

// Shows the computer's date and time as a running clock and sets them digit by digit; F1
// brings back the date of the opening. Returns on Enter, Esc or Ctrl-C. A setting the
// computer refuses is not reported: the clock's real values come back at the next redraw.
void run_clock_screen(Session& session);
