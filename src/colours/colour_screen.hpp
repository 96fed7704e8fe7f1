#pragma once

#include "console/session.hpp"

// Lets the user pick the background and both text colours of session.colours; every accepted key
// takes effect at once and the sample box shows it. Returns on Enter, Esc or Ctrl-C, keeping
// the changes; the caller saves them.
void run_colour_screen(Session& session);
