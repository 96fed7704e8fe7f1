#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/candidate_list.hpp"
#include "core/random.hpp"
#include "core/signs.hpp"

// The game as the guesser sees it.
struct GuessShape {
    int length = 4;
    int set_size = 6;
    bool repetition = false;        // of the conditions: openings and fixed-multiset mode
    bool chain_repetition = false;  // of the candidate chain, which may be built without
    bool vacant = false;            // the vacant sign is in the try alphabet

    int alphabet() const { return set_size + (vacant ? 1 : 0); }
    int first_digit() const { return vacant ? 0 : 1; }
};

// A random order of 1..m by drawing from a shrinking pool: item k is pool place
// Random(m + 1 - k) + 1. Entry 0 stays 0.
std::array<std::uint8_t, kRingSize + 1> random_order(int m, Random& random);

// Positions 0..n-1 and sign indices 0..s relabelled; sign 0 keeps its place unless set.
struct Relabelling {
    std::array<std::uint8_t, kMaxCodeLength> position{};  // digit place k goes to position[k]
    std::array<std::uint8_t, kRingSize + 1> sign{};       // digit value d becomes sign[d]

    static Relabelling draw(int length, int set_size, Random& random);
};

// Every try of the alphabet, numbered in the order they were made. Each is stored through a
// relabelling, so the numbering says nothing about the signs or positions of a try.
class TryTable {
   public:
    // Bytes the tables of the shape take, the candidate list included.
    static std::uint64_t bytes_needed(const GuessShape& shape);
    static std::int32_t try_count(const GuessShape& shape);

    // Makes every try, shuffles the tries list (Fisher-Yates over Random) and threads the
    // candidates, newest first. The hooks are those of the candidate list's build.
    BuildResult build(const GuessShape& shape, const Relabelling& storage, Random& random,
                      std::uint64_t memory_available, const BuildHooks& hooks,
                      std::vector<std::int32_t>& tries_list, CandidateList& candidates);

    std::int32_t size() const { return count_; }
    // Reads whole words past the code's last place, which the padding of the table allows:
    // a copy of length_ bytes would be a library call for every try of a search.
    Code code(std::int32_t number) const {
        static_assert(kMaxCodeLength == 9);
        const std::uint8_t* signs = codes_.get() + static_cast<std::size_t>(number) * length_;
        std::uint64_t first_eight = 0;
        std::memcpy(&first_eight, signs, sizeof first_eight);
        first_eight &= first_eight_mask_;
        Code code;
#if defined(__SSE2__)
        // In one 16-byte store: callers copy the code whole, and a whole copy of a code stored
        // in pieces waits for every piece.
        static_assert(std::is_trivially_copyable_v<Code> && sizeof(Code) == 16 && offsetof(Code, signs) == 4);
        const std::uint64_t ninth = length_ == 9 ? signs[8] : 0;
        const __m128i whole = _mm_set_epi64x(static_cast<long long>((first_eight >> 32) | (ninth << 32)),
                                             static_cast<long long>(static_cast<std::uint32_t>(length_) | (first_eight << 32)));
        std::memcpy(static_cast<void*>(&code), &whole, sizeof code);
#else
        code.length = length_;
        std::memcpy(code.signs.data(), &first_eight, sizeof first_eight);
        code.signs[8] = length_ == 9 ? signs[8] : 0;
#endif
        return code;
    }
    // Whether the try holds any of the flagged signs.
    bool holds_any(std::int32_t number, const SignFlags& flagged) const {
        const std::uint8_t* signs = codes_.get() + static_cast<std::size_t>(number) * length_;
        bool any = false;
        for (int position = 0; position < length_; ++position) any |= flagged[signs[position]];
        return any;
    }
    // The number of the try with this code; -1 for the all-vacant code, which is not made.
    std::int32_t number_of(const Code& code) const;

    void release();

   private:
    static constexpr std::size_t kCodePadding = 8;

    GuessShape shape_;
    int length_ = 0;
    std::int32_t count_ = 0;
    std::uint64_t first_eight_mask_ = 0;  // the places of a code among its first eight bytes
    Relabelling storage_;
    std::array<std::uint8_t, kRingSize + 1> digit_of_sign_{};
    // Never changed once made, so the copies of a guesser share them.
    std::shared_ptr<std::uint8_t[]> codes_;
};
