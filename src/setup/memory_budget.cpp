#include "setup/memory_budget.hpp"

#include <array>

namespace {

struct MemoryChoice {
    std::string_view label;
    std::uint64_t budget;
};

// 673280 bytes per MiB of the label, except the largest, which is a fixed round number.
constexpr std::array<MemoryChoice, kMemoryChoiceCount> kChoices{{
    {"  1 MiB", 673280ULL},
    {"  8 MiB", 5386240ULL},
    {" 64 MiB", 43089920ULL},
    {"128 MiB", 86179840ULL},
    {"256 MiB", 172359680ULL},
    {"512 MiB", 344719360ULL},
    {"  1 GiB", 689438720ULL},
    {"  2 GiB", 1378877440ULL},
    {"  4 GiB", 2757754880ULL},
    {"  8 GiB", 5515509760ULL},
    {" 16 GiB", 11031019520ULL},
    {" 32 GiB", 22062039040ULL},
    {" 64 GiB", 44124078080ULL},
    {"128 GiB", 88248156160ULL},
    {"256 GiB", 176473500000ULL},
}};

constexpr int kDigitChoices = 8;

const MemoryChoice& choice_entry(int choice) { return kChoices[valid_memory_choice(choice) - 1]; }

}  // namespace

bool is_memory_choice(int choice) { return choice >= 1 && choice <= kMemoryChoiceCount; }

std::uint8_t valid_memory_choice(int stored) {
    return is_memory_choice(stored) ? static_cast<std::uint8_t>(stored) : kDefaultMemoryChoice;
}

std::string_view memory_label(int choice) { return choice_entry(choice).label; }

std::uint64_t byte_budget(int choice) { return choice_entry(choice).budget; }

char memory_choice_key(int choice) {
    const int c = valid_memory_choice(choice);
    return c <= kDigitChoices ? static_cast<char>('0' + c)
                              : static_cast<char>('a' + (c - kDigitChoices - 1));
}

int memory_choice_of_key(char key) {
    if (key >= '1' && key <= '8') return key - '0';
    if (key >= 'A' && key <= 'G') key = static_cast<char>(key - 'A' + 'a');
    if (key >= 'a' && key <= 'g') return kDigitChoices + 1 + (key - 'a');
    return 0;
}
