#pragma once

// CPU seconds the process uses while a clock screen waits for a key that never comes,
// on a real pseudo-terminal, over the given wall-clock seconds.
double idle_clock_wait_cpu_seconds(int wall_seconds);
