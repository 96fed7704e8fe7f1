#pragma once

#include <string>

#include "core/random.hpp"
#include "core/signs.hpp"

// The computer's opening try for length n over c signs, as n letters: a for the first
// sign, b for the second, ..., '*' for the blank. The only draw is Random(2) for n = 2
// over two signs with repetition (0 gives aa); nothing otherwise. Empty outside
// n = 2..9, c = 2..36.
std::string opening_pattern(int n, int c, bool repetition, bool vacant, Random& random);

// The match header's 12 characters: (9 - n) blanks, the pattern in brackets written with
// the first signs of the set, a blank. All blank when the opening is left to chance.
std::string opening_display(int n, const SignRing& ring, bool repetition, bool vacant);
