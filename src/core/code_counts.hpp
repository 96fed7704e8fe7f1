#pragma once

#include <cstdint>

// The sign count the guesser works with: the vacant sign joins the set only for two signs
// and codes longer than three.
int effective_sign_count(int set_size, int code_length, bool vacant);
// One guesser record: the code, its counts and links, rounded up to 32 bytes.
std::uint64_t candidate_record_size(int code_length, int effective_signs);
// Codes of the set: set_size^length with repetition, the falling product without.
std::uint64_t code_count(int set_size, int code_length, bool repetition);
