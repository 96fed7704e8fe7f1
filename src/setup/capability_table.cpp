#include "setup/capability_table.hpp"

#include <algorithm>
#include <utility>

#include "core/signs.hpp"

namespace {

// The longest length k <= 9 for which s^k code nodes of 24 + k + s bytes, each rounded
// up to 32, fit into the budget.
int longest_length(int signs, std::uint64_t budget) {
    const std::uint64_t s = static_cast<std::uint64_t>(signs);
    int k = 0;
    std::uint64_t remaining = budget;
    while (k < kMaxCodeLength) {
        const std::uint64_t next_node = (static_cast<std::uint64_t>(k) + s + 56) / 32 * 32;
        if (next_node > remaining / s) break;
        ++k;
        remaining /= s;
    }
    return k;
}

// Longer codes are held below what the node count alone would allow.
constexpr std::array<std::pair<int, int>, 4> kLengthCaps{{{6, 35}, {7, 21}, {8, 14}, {9, 10}}};

}  // namespace

bool CapabilityTable::refresh(std::uint64_t budget) {
    const std::uint64_t rounded = budget / 32 * 32;
    if (built_for_ == rounded) return false;
    built_for_ = rounded;

    entries_.fill(0);
    for (int s = 2; s <= kRingSize; ++s)
        entries_[longest_length(s, rounded)] = static_cast<std::uint8_t>(s);
    for (int k = kMaxLength - 1; k >= kMinLength; --k)
        entries_[k] = std::max(entries_[k], entries_[k + 1]);
    for (const auto& [length, cap] : kLengthCaps)
        entries_[length] = std::min(entries_[length], static_cast<std::uint8_t>(cap));
    return true;
}

int CapabilityTable::entry(int code_length) const {
    if (code_length < kMinLength || code_length > kMaxLength) return 0;
    return entries_[code_length];
}

std::string CapabilityTable::line() const {
    std::string text;
    for (int k = kMinLength; k <= kMaxLength; ++k) {
        if (k > kMinLength) text += "   ";
        const int value = entries_[k];
        if (value <= 1) {
            text += " -";
        } else {
            text += value < 10 ? ' ' : static_cast<char>('0' + value / 10);
            text += static_cast<char>('0' + value % 10);
        }
    }
    return text;
}
