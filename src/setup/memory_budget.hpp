#pragma once

#include <cstdint>
#include <string_view>

// The guesser's memory budget is one of fifteen fixed sizes, kept as a choice 1..15.
inline constexpr int kMemoryChoiceCount = 15;
inline constexpr std::uint8_t kDefaultMemoryChoice = 5;

bool is_memory_choice(int choice);
// A stored choice outside 1..15 stands for the default.
std::uint8_t valid_memory_choice(int stored);

// Choices outside 1..15 are read as the default.
std::string_view memory_label(int choice);  // seven characters, right-aligned
std::uint64_t byte_budget(int choice);

// The configuration page selects 1..8 with the digits and 9..15 with a..g (or A..G).
char memory_choice_key(int choice);
// 0 when the key selects no choice.
int memory_choice_of_key(char key);
