#pragma once

// The computer as codebreaker: for a fixed list of conditions, the build of the tables, the
// first search after the opening against the plain reference, and whole code sets (or a sample)
// played as a strategy tree, with a signature of the choices that the reference must match on
// its sample of games. Prints one line per condition; false when a signature differs or a game
// went wrong. Then the same search on one thread against `threads`, with the speed-up. The
// guesser's search runs on `threads` threads.
bool run_guesser_bench(bool quick, int threads);
