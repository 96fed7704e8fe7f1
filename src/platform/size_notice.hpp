#pragma once

#include <string>
#include <vector>

// What stands on a terminal too small for the game: the size it needs and the size it has,
// in both languages, wrapped to the terminal's width and cut to its height. Phrases stay whole
// where the width allows; a word wider than the terminal is split.
std::vector<std::string> size_notice(int columns, int rows);
