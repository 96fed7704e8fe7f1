#pragma once

#include <array>
#include <cstdint>

#include "core/signs.hpp"

// P: positions that agree; T: signs in common at all, so Z = T - P.
struct Response {
    std::uint8_t p = 0;
    std::uint8_t t = 0;

    int z() const { return t - p; }
    friend bool operator==(const Response&, const Response&) = default;
};

// How often each sign index 1..36 occurs in a code; entry 0 (vacant) is never counted.
using SignCounts = std::array<std::uint8_t, kRingSize + 1>;

// In permutation mode (no repetition, length = set size) every sign of the set occurs
// exactly once, whatever the code.
SignCounts sign_counts(const Code& code, int set_size, bool permutation_mode);

// The one scoring rule; counts are those of `code`.
Response score(const Code& try_code, const Code& code, const SignCounts& counts);

// All responses that can occur for one code length, in the order that breaks ties
// between the computer's variable answers. Entries are numbered from 1.
class ResponseTable {
   public:
    static constexpr int kMaxEntries = 54;

    // Rebuilds only when the length differs from the last build; says whether it did.
    // Lengths outside 1..9 give an empty table.
    bool build(int code_length);

    int entry_count() const { return count_; }
    int built_length() const { return length_; }
    Response entry(int number) const { return entries_[number - 1]; }

   private:
    void append(int p, int z);

    std::array<Response, kMaxEntries> entries_{};
    int count_ = 0;
    int length_ = 0;
};
