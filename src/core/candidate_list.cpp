#include "core/candidate_list.hpp"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include "core/code_counts.hpp"

namespace {

// Codes are worked on in blocks that stay in the first-level cache.
constexpr std::size_t kBlock = 256;
// Columns are padded to whole vector widths and aligned for them.
constexpr std::size_t kColumnAlignment = 64;

std::size_t padded_capacity(std::uint64_t codes) {
    return static_cast<std::size_t>((codes + kColumnAlignment - 1) / kColumnAlignment *
                                    kColumnAlignment);
}

int column_count(const CodeSet& set) { return set.code_length + (set.set_size + 1) / 2 + 1; }

// Every code of a set once, in ascending order of the sign indices read as digits.
class CodeOdometer {
   public:
    explicit CodeOdometer(const CodeSet& set) : set_(set) {
        code_.length = set.code_length;
        for (int position = 0; position < set.code_length; ++position) {
            const int sign = set.repetition ? 1 : position + 1;
            code_.signs[position] = static_cast<SignIndex>(sign);
            used_[sign] = !set.repetition;
        }
    }

    const Code& code() const { return code_; }

    // Moves on to the next code; false after the last one.
    bool advance() { return set_.repetition ? advance_with_repetition() : advance_distinct(); }

   private:
    bool advance_with_repetition() {
        for (int position = set_.code_length - 1; position >= 0; --position) {
            if (code_.signs[position] < set_.set_size) {
                ++code_.signs[position];
                return true;
            }
            code_.signs[position] = 1;
        }
        return false;
    }

    // The rightmost position that can take a larger unused sign does; the positions after it
    // get the smallest unused signs in ascending order.
    bool advance_distinct() {
        for (int position = set_.code_length - 1; position >= 0; --position) {
            const int current = code_.signs[position];
            used_[current] = false;
            for (int sign = current + 1; sign <= set_.set_size; ++sign) {
                if (used_[sign]) continue;
                code_.signs[position] = static_cast<SignIndex>(sign);
                used_[sign] = true;
                fill_smallest_unused(position + 1);
                return true;
            }
        }
        return false;
    }

    void fill_smallest_unused(int from) {
        int sign = 1;
        for (int position = from; position < set_.code_length; ++position) {
            while (used_[sign]) ++sign;
            code_.signs[position] = static_cast<SignIndex>(sign);
            used_[sign] = true;
        }
    }

    CodeSet set_;
    Code code_;
    // Without repetition: the signs the code holds.
    SignFlags used_{};
};

// What one class pass compares: the try's sign per position, and per counted sign of the try
// the nibble that holds the candidates' count of it and the try's own count, shifted alike.
// Only the first n positions and counted signs are set: a plan is made for every try.
struct PassPlan {
    std::array<const std::uint8_t*, kMaxCodeLength> positions;
    std::array<std::uint8_t, kMaxCodeLength> try_signs;
    int counted_signs = 0;
    std::array<const std::uint8_t*, kMaxCodeLength> count_columns;
    std::array<std::uint8_t, kMaxCodeLength> nibble_masks;
    std::array<std::uint8_t, kMaxCodeLength> try_counts;
};

// A response's number among the 55 pairs 0 <= P <= T <= 9.
constexpr int kResponseNumbers = 55;

constexpr std::uint8_t triangle(int t) { return static_cast<std::uint8_t>(t * (t + 1) / 2); }

// Sixteen codes side by side; GCC's vector extensions map them onto the vector unit.
using Lanes = std::uint8_t __attribute__((vector_size(16)));
using WideLanes = std::uint16_t __attribute__((vector_size(32)));
constexpr std::size_t kLanes = sizeof(Lanes);

// The helpers take and give vectors by reference: a 32-byte vector passed by value through
// code built without AVX would change the calling convention, and clang refuses it.
template <typename V>
[[gnu::always_inline]] inline void load_lanes(V& lanes, const std::uint8_t* bytes) {
    std::memcpy(&lanes, bytes, sizeof lanes);
}

// The vector extensions spell a broadcast as an insert per lane; the intrinsics take one or
// two instructions.
[[gnu::always_inline]] inline void broadcast(Lanes& lanes, std::uint8_t value) {
#if defined(__SSE2__)
    lanes = reinterpret_cast<Lanes>(_mm_set1_epi8(static_cast<char>(value)));
#else
    lanes = Lanes{} + value;
#endif
}

// The vector extensions spell an unsigned minimum as a compare and two selects; the SSE2
// instruction does it in one.
inline void keep_min(Lanes& lanes, const Lanes& cap) {
#if defined(__SSE2__)
    lanes = reinterpret_cast<Lanes>(
        _mm_min_epu8(reinterpret_cast<__m128i>(lanes), reinterpret_cast<__m128i>(cap)));
#else
    lanes = lanes < cap ? lanes : cap;
#endif
}

#if defined(__x86_64__)
// Thirty-two codes side by side, for processors with AVX2.
using WideVectorLanes = std::uint8_t __attribute__((vector_size(32)));

__attribute__((target("avx2"))) inline void keep_min(WideVectorLanes& lanes,
                                                     const WideVectorLanes& cap) {
    lanes = reinterpret_cast<WideVectorLanes>(
        _mm256_min_epu8(reinterpret_cast<__m256i>(lanes), reinterpret_cast<__m256i>(cap)));
}

__attribute__((target("avx2"))) inline void broadcast(WideVectorLanes& lanes, std::uint8_t value) {
    lanes = reinterpret_cast<WideVectorLanes>(_mm256_set1_epi8(static_cast<char>(value)));
}
#endif

// Counts the response numbers of whole blocks. Each increment files a pair of candidates,
// one from each half of the block, which halves the scalar part of the pass; two tables
// take turns so that equal keys in a row do not wait on each other's increments. Only the
// numbers of the code length are given room, so a short list is not outweighed by clearing
// and reading the tables.
class ResponseTally {
   public:
    // numbers: how many response numbers can occur; the padding's number is the next one.
    explicit ResponseTally(int numbers) : keys_per_number_(numbers + 1) {
        for (auto& table : pairs_)
            std::fill(table.begin(), table.begin() + keys_per_number_ * keys_per_number_, 0u);
    }

    std::uint8_t padding_number() const { return static_cast<std::uint8_t>(keys_per_number_ - 1); }

    void add_block(const std::uint8_t* numbers, std::size_t length) {
        alignas(kColumnAlignment) std::uint8_t padded[kBlock];
        if (length < kBlock) {
            std::memcpy(padded, numbers, length);
            std::fill(padded + length, padded + kBlock, padding_number());
            numbers = padded;
        }
        constexpr std::size_t kHalf = kBlock / 2;
        alignas(kColumnAlignment) std::uint16_t keys[kHalf];
        const WideLanes stride = WideLanes{} + static_cast<std::uint16_t>(keys_per_number_);
        for (std::size_t k = 0; k < kHalf; k += kLanes) {
            Lanes first;
            Lanes second;
            load_lanes(first, numbers + k);
            load_lanes(second, numbers + kHalf + k);
            const WideLanes pair = __builtin_convertvector(first, WideLanes) * stride +
                                   __builtin_convertvector(second, WideLanes);
            std::memcpy(keys + k, &pair, sizeof pair);
        }
        for (std::size_t k = 0; k < kHalf; k += 2) {
            ++pairs_[0][keys[k]];
            ++pairs_[1][keys[k + 1]];
        }
    }

    // How often the number came up in either place of a pair.
    std::uint32_t total(int number) const {
        std::uint32_t sum = 0;
        for (const auto& table : pairs_)
            for (int other = 0; other < keys_per_number_; ++other)
                sum += table[number * keys_per_number_ + other] +
                       table[other * keys_per_number_ + number];
        return sum;
    }

    // Every number's total at once, as its row and column summed over both tables: loops
    // the compiler turns into whole-vector adds. Only for tallies that pay.
    ClassSpread spread() const {
        const int keys = keys_per_number_;
        std::array<std::uint32_t, kMostPayingKeys> rows;
        std::array<std::uint32_t, kMostPayingKeys> columns{};
        for (int first = 0; first < keys; ++first) {
            const std::uint32_t* one = &pairs_[0][static_cast<std::size_t>(first * keys)];
            const std::uint32_t* other = &pairs_[1][static_cast<std::size_t>(first * keys)];
            std::uint32_t row = 0;
            for (int second = 0; second < keys; ++second) {
                const std::uint32_t both = one[second] + other[second];
                row += both;
                columns[second] += both;
            }
            rows[first] = row;
        }
        ClassSpread spread;
        for (int number = 0; number + 1 < keys; ++number)
            spread.add(static_cast<std::int32_t>(rows[number] + columns[number]));
        return spread;
    }

    // Whether a bounded pass is better counted in pairs than one by one: the tables must be
    // cleared for every try and read at every look, which a long list of few numbers repays.
    static bool pays_for(int numbers, std::size_t codes) {
        return numbers + 1 <= kMostPayingKeys && codes >= kLongList;
    }

   private:
    static constexpr int kMostPayingKeys = 32;
    static constexpr std::size_t kLongList = 4096;
    static constexpr int kMostKeys = (kResponseNumbers + 1) * (kResponseNumbers + 1);

    int keys_per_number_;
    std::array<std::array<std::uint32_t, kMostKeys>, 2> pairs_;
};

// Counts the response numbers one by one into four tables taken in turn, so that the sums
// can be read after any block at little cost: the guesser looks at them while a try is
// still being scored. Only the numbers that can occur are cleared and read.
class CellTally {
   public:
    explicit CellTally(int numbers) : numbers_(numbers) {
        for (auto& table : cells_) std::fill(table.begin(), table.begin() + numbers, 0u);
    }

    void add_block(const std::uint8_t* numbers, std::size_t length) {
        std::size_t k = 0;
        for (; k + 4 <= length; k += 4) {
            ++cells_[0][numbers[k]];
            ++cells_[1][numbers[k + 1]];
            ++cells_[2][numbers[k + 2]];
            ++cells_[3][numbers[k + 3]];
        }
        for (; k < length; ++k) ++cells_[0][numbers[k]];
    }

    std::uint32_t total(int number) const {
        return cells_[0][number] + cells_[1][number] + cells_[2][number] + cells_[3][number];
    }

    ClassSpread spread() const {
        ClassSpread spread;
        for (int number = 0; number < numbers_; ++number)
            spread.add(static_cast<std::int32_t>(total(number)));
        return spread;
    }

   private:
    int numbers_;
    std::array<std::array<std::uint32_t, kResponseNumbers>, 4> cells_;
};

// For a short list: the counts in one table of bytes, with the spread kept up as they grow,
// as clearing and reading several tables costs more than counting a few candidates. Longer
// lists wait on the increments of equal numbers in a row.
class SpreadTally {
   public:
    static constexpr std::size_t kMostCodes = 64;

    void add_block(const std::uint8_t* numbers, std::size_t length) {
        // In locals: the byte counts may alias anything, which would keep the spread in memory.
        std::uint32_t largest = largest_;
        std::int64_t sum_of_squares = sum_of_squares_;
        int non_empty = non_empty_;
        for (std::size_t k = 0; k < length; ++k) {
            const std::uint32_t before = counts_[numbers[k]]++;
            largest = std::max(largest, before + 1);
            sum_of_squares += 2 * static_cast<std::int64_t>(before) + 1;
            non_empty += before == 0;
        }
        largest_ = largest;
        sum_of_squares_ = sum_of_squares;
        non_empty_ = non_empty;
    }

    std::uint32_t total(int number) const { return counts_[number]; }
    // Read field by field: a copy of the whole would wait for the separate stores above.
    ClassSpread spread() const {
        return ClassSpread{static_cast<std::int32_t>(largest_), sum_of_squares_, non_empty_};
    }

   private:
    std::array<std::uint8_t, kResponseNumbers> counts_{};
    std::uint32_t largest_ = 0;
    std::int64_t sum_of_squares_ = 0;
    int non_empty_ = 0;
};

// The class pass for n positions and m counted signs, both fixed so that the inner loops
// unroll. The candidates' sign counts and the try's counts sit in the same nibble, so min()
// works on them in place; the low and high nibble sums cannot carry into each other because
// T never exceeds 9. Whole vectors may run into the padding of the columns, the responses'
// included; only the numbers of candidates are counted. The responses go into their column,
// or, in_column false, block by block into a buffer of a block's length.
// The 32-byte instantiation is only ever inlined into the AVX2 pass.
// The try of a plan spread over the lanes, once a pass, and the response numbers of the codes
// it meets, a lane each. Only ever inlined, the 32-byte one into AVX2 code.
template <typename V, int N, int M>
struct TryLanes {
    std::array<V, N> try_signs;
    std::array<V, M> masks;
    std::array<V, M> caps;
    V low_nibble;

    [[gnu::always_inline]] explicit TryLanes(const PassPlan& plan) {
        for (int q = 0; q < N; ++q) broadcast(try_signs[q], plan.try_signs[q]);
        for (int j = 0; j < M; ++j) {
            broadcast(masks[j], plan.nibble_masks[j]);
            broadcast(caps[j], plan.try_counts[j]);
        }
        broadcast(low_nibble, 15);
    }

    [[gnu::always_inline]] void numbers(const PassPlan& plan, std::size_t entry, V& number) const {
        V p{};
        for (int q = 0; q < N; ++q) {
            V signs;
            load_lanes(signs, plan.positions[q] + entry);
            p -= reinterpret_cast<V>(signs == try_signs[q]);
        }
        V common{};
        for (int j = 0; j < M; ++j) {
            V held;
            load_lanes(held, plan.count_columns[j] + entry);
            held &= masks[j];
            keep_min(held, caps[j]);
            common += held;
        }
        const V t = (common >> 4) + (common & low_nibble);
        number = ((t * (t + 1)) >> 1) + p;
    }
};

template <typename V, int N, int M, typename Tally>
[[gnu::always_inline]] inline void classify_blocks(const PassPlan& plan, std::size_t first,
                                                   std::size_t size, std::uint8_t* responses,
                                                   bool in_column, Tally& tally) {
    const TryLanes<V, N, M> lanes(plan);
    for (std::size_t begin = first; begin < size; begin += kBlock) {
        const std::size_t length = std::min(kBlock, size - begin);
        std::uint8_t* const out = in_column ? responses + begin : responses;
        for (std::size_t i = 0; i < length; i += sizeof(V)) {
            V number;
            lanes.numbers(plan, begin + i, number);
            std::memcpy(out + i, &number, sizeof number);
        }
        tally.add_block(out, length);
    }
}

template <int N, int M, typename Tally>
void classify_pass(const PassPlan& plan, std::size_t first, std::size_t size,
                   std::uint8_t* responses, bool in_column, Tally& tally) {
    classify_blocks<Lanes, N, M>(plan, first, size, responses, in_column, tally);
}

#if defined(__x86_64__)
template <int N, int M, typename Tally>
__attribute__((target("avx2"))) void classify_pass_avx2(const PassPlan& plan, std::size_t first,
                                                        std::size_t size,
                                                        std::uint8_t* responses, bool in_column,
                                                        Tally& tally) {
    classify_blocks<WideVectorLanes, N, M>(plan, first, size, responses, in_column, tally);
}
#endif

// A pass over the entries first..size - 1; first must be a multiple of the block size.
template <typename Tally>
using PassFunction = void (*)(const PassPlan&, std::size_t, std::size_t, std::uint8_t*, bool, Tally&);

template <typename Tally>
struct PortablePass {
    using Function = PassFunction<Tally>;
    template <int N, int M>
    static constexpr Function of() {
        return &classify_pass<N, M, Tally>;
    }
};

template <typename Pass, int N, int... M>
constexpr std::array<typename Pass::Function, kMaxCodeLength + 1> passes_for_length(
    std::integer_sequence<int, M...>) {
    return {Pass::template of<N, (M <= N ? M : N)>()...};
}

// [n - 1][m]: the pass for n positions and m counted signs.
template <typename Pass, int... N>
constexpr auto pass_table(std::integer_sequence<int, N...>) {
    return std::array<std::array<typename Pass::Function, kMaxCodeLength + 1>, sizeof...(N)>{
        passes_for_length<Pass, N + 1>(std::make_integer_sequence<int, kMaxCodeLength + 1>{})...};
}

#if defined(__x86_64__)
// Whether the widest vectors are AVX2 ones here.
bool widest_is_avx2(CandidateList::VectorWidth width) {
    return width == CandidateList::VectorWidth::Widest && __builtin_cpu_supports("avx2");
}
#endif

#if defined(__x86_64__)
template <typename Tally>
struct Avx2Pass {
    using Function = PassFunction<Tally>;
    template <int N, int M>
    static constexpr Function of() {
        return &classify_pass_avx2<N, M, Tally>;
    }
};
#endif

template <typename Tally>
PassFunction<Tally> pass_for(CandidateList::VectorWidth width, int code_length,
                             int counted_signs) {
    static constexpr auto kPortable =
        pass_table<PortablePass<Tally>>(std::make_integer_sequence<int, kMaxCodeLength>{});
#if defined(__x86_64__)
    static constexpr auto kAvx2 = pass_table<Avx2Pass<Tally>>(std::make_integer_sequence<int, kMaxCodeLength>{});
    if (widest_is_avx2(width)) return kAvx2[code_length - 1][counted_signs];
#else
    (void)width;
#endif
    return kPortable[code_length - 1][counted_signs];
}

#if defined(__x86_64__)
// A list of at most 64 codes fits into two vectors of responses. Each lane's class size is how
// many lanes hold its number: the lanes of either vector compared with every rotation of
// both, which costs less than counting the codes one by one into a table.
constexpr std::size_t kShortList = 2 * sizeof(WideVectorLanes);

// For each lane of `of`, how many lanes of the same half of `among` hold its number: `among`
// rotated within its halves by every step.
template <int... K>
[[gnu::always_inline]] __attribute__((target("avx2"))) inline __m256i matches_in_halves(
    __m256i of, __m256i among, std::integer_sequence<int, K...>) {
    __m256i counts = _mm256_setzero_si256();
    ((counts = _mm256_sub_epi8(counts, _mm256_cmpeq_epi8(of, _mm256_alignr_epi8(among, among, K)))), ...);
    return counts;
}

// For each lane of `of`, how many lanes of `among` hold its number.
[[gnu::always_inline]] __attribute__((target("avx2"))) inline __m256i matches(__m256i of, __m256i among) {
    constexpr auto kSteps = std::make_integer_sequence<int, 16>{};
    const __m256i swapped = _mm256_permute2x128_si256(among, among, 1);
    return _mm256_add_epi8(matches_in_halves(of, among, kSteps), matches_in_halves(of, swapped, kSteps));
}

// The response numbers of the 32 codes from entry on; lanes past the list hold 0xFF, which
// no response has.
template <int N, int M>
[[gnu::always_inline]] __attribute__((target("avx2"))) inline __m256i short_numbers(
    const TryLanes<WideVectorLanes, N, M>& lanes, const PassPlan& plan, std::size_t entry, std::size_t size) {
    WideVectorLanes number;
    lanes.numbers(plan, entry, number);
    const __m256i lane = _mm256_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
                                          20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31);
    const __m256i in_list = _mm256_cmpgt_epi8(_mm256_set1_epi8(static_cast<char>(size - entry)), lane);
    return _mm256_blendv_epi8(_mm256_set1_epi8(-1), reinterpret_cast<__m256i>(number), in_list);
}

// The spread of the codes' classes from each lane's class size (0 past the list) and number.
struct ShortSpread {
    __m256i largest;
    __m256i squares;
    std::uint64_t present;  // a bit per response number
    std::int32_t solved;

    [[gnu::always_inline]] __attribute__((target("avx2"))) void add(__m256i numbers, __m256i counts,
                                                                    std::size_t lanes, int solving_number) {
        counts = _mm256_and_si256(counts, _mm256_cmpgt_epi8(numbers, _mm256_set1_epi8(-1)));
        largest = _mm256_max_epu8(largest, counts);
        // A class of c codes has c codes of class size c: the sizes add up to the squares.
        squares = _mm256_add_epi64(squares, _mm256_sad_epu8(counts, _mm256_setzero_si256()));
        if (solving_number >= 0)
            solved += std::popcount(static_cast<std::uint32_t>(_mm256_movemask_epi8(
                _mm256_cmpeq_epi8(numbers, _mm256_set1_epi8(static_cast<char>(solving_number))))));
        alignas(32) std::uint8_t bytes[32];
        _mm256_store_si256(reinterpret_cast<__m256i*>(bytes), numbers);
        std::uint64_t even = 0;
        std::uint64_t odd = 0;
        std::size_t k = 0;
        for (; k + 2 <= lanes; k += 2) {
            even |= std::uint64_t{1} << bytes[k];
            odd |= std::uint64_t{1} << bytes[k + 1];
        }
        if (k < lanes) even |= std::uint64_t{1} << bytes[k];
        present |= even | odd;
    }

    [[gnu::always_inline]] __attribute__((target("avx2"))) void finish(std::size_t size,
                                                                       BoundedClasses& result) const {
        __m128i half = _mm_max_epu8(_mm256_castsi256_si128(largest), _mm256_extracti128_si256(largest, 1));
        half = _mm_max_epu8(half, _mm_srli_si128(half, 8));
        half = _mm_max_epu8(half, _mm_srli_si128(half, 4));
        half = _mm_max_epu8(half, _mm_srli_si128(half, 2));
        half = _mm_max_epu8(half, _mm_srli_si128(half, 1));
        const __m128i sums = _mm_add_epi64(_mm256_castsi256_si128(squares), _mm256_extracti128_si256(squares, 1));
        result.spread.largest = _mm_cvtsi128_si32(half) & 0xFF;
        result.spread.sum_of_squares = _mm_cvtsi128_si64(_mm_add_epi64(sums, _mm_unpackhi_epi64(sums, sums)));
        result.spread.non_empty = std::popcount(present);
        result.solved = solved;
        result.scored = size;
    }
};

// solving_number: the number of the response that solves, or -1 when no candidate can be the try.
template <int N, int M>
__attribute__((target("avx2"))) void classify_short_avx2(const PassPlan& plan, std::size_t size,
                                                         int solving_number, BoundedClasses& result) {
    constexpr std::size_t kLanes = sizeof(WideVectorLanes);
    ShortSpread spread{_mm256_setzero_si256(), _mm256_setzero_si256(), 0, 0};
    const TryLanes<WideVectorLanes, N, M> lanes(plan);
    const __m256i first = short_numbers(lanes, plan, 0, size);
    if (size <= kLanes) {
        // With the upper half all padding, the lower lanes need no compares across the halves.
        const __m256i counts = size <= kLanes / 2
                                   ? matches_in_halves(first, first, std::make_integer_sequence<int, 16>{})
                                   : matches(first, first);
        spread.add(first, counts, size, solving_number);
    } else {
        const __m256i second = short_numbers(lanes, plan, kLanes, size);
        spread.add(first, _mm256_add_epi8(matches(first, first), matches(first, second)), kLanes, solving_number);
        spread.add(second, _mm256_add_epi8(matches(second, second), matches(second, first)), size - kLanes,
                   solving_number);
    }
    spread.finish(size, result);
}

using ShortPass = void (*)(const PassPlan&, std::size_t, int, BoundedClasses&);

struct ShortAvx2Pass {
    using Function = ShortPass;
    template <int N, int M>
    static constexpr Function of() {
        return &classify_short_avx2<N, M>;
    }
};

// The short pass, where the processor and the list allow it.
ShortPass short_pass_for(CandidateList::VectorWidth width, std::size_t size, int code_length, int counted_signs) {
    static constexpr auto kShort = pass_table<ShortAvx2Pass>(std::make_integer_sequence<int, kMaxCodeLength>{});
    if (size == 0 || size > kShortList || !widest_is_avx2(width)) return nullptr;
    return kShort[code_length - 1][counted_signs];
}
#endif

}  // namespace

std::uint8_t response_byte(Response response, bool total_known) {
    return total_known ? response.p : static_cast<std::uint8_t>(triangle(response.t) + response.p);
}

void CandidateList::FreeBlock::operator()(std::uint8_t* block) const {
    ::operator delete[](block, std::align_val_t{kColumnAlignment});
}

std::uint64_t CandidateList::bytes_needed(const CodeSet& set) {
    const std::uint64_t codes = code_count(set.set_size, set.code_length, set.repetition);
    return static_cast<std::uint64_t>(padded_capacity(codes)) *
           static_cast<std::uint64_t>(column_count(set));
}

BuildResult CandidateList::build(const CodeSet& set, std::uint64_t memory_available,
                                 const BuildHooks& hooks) {
    release();
    const std::uint64_t codes = code_count(set.set_size, set.code_length, set.repetition);
    // Every class, and so every count of the class table, must be able to hold the whole list.
    if (codes == 0 || codes > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
        return BuildResult::NoRoom;
    const std::uint64_t bytes = bytes_needed(set);
    if (bytes > memory_available) return BuildResult::TooLargeForMachine;
    if (bytes > std::numeric_limits<std::size_t>::max()) return BuildResult::NoRoom;
    block_.reset(static_cast<std::uint8_t*>(::operator new[](
        static_cast<std::size_t>(bytes), std::align_val_t{kColumnAlignment}, std::nothrow)));
    if (!block_) return BuildResult::NoRoom;
    set_ = set;
    capacity_ = padded_capacity(codes);
    // Whole vectors run into the padding; it must hold defined bytes.
    for (int number = 0; number < column_count(set); ++number)
        std::memset(column(number) + codes, 0, capacity_ - codes);

    std::array<std::uint8_t*, kMaxCodeLength> positions{};
    for (int position = 0; position < set.code_length; ++position)
        positions[position] = position_column(position);
    CodeOdometer odometer(set);
    BuildPacer pacer(hooks, codes);
    std::uint64_t made = 0;
    do {
        // A block's signs are counted while its codes are still in the cache.
        if (made % kBlock == 0 && made > 0) count_signs(made - kBlock, made);
        if (pacer.before_entry(made)) {
            release();
            return BuildResult::Abandoned;
        }
        const Code& code = odometer.code();
        for (int position = 0; position < set.code_length; ++position)
            positions[position][made] = code.signs[position];
        pacer.after_entry(++made);
    } while (odometer.advance());
    count_signs((made - 1) / kBlock * kBlock, made);
    size_ = static_cast<std::size_t>(made);
    return BuildResult::Built;
}

// A copy takes room for the codes left only: the guesser's copies are made late in a game.
CandidateList::CandidateList(const CandidateList& other)
    : width_(other.width_), set_(other.set_), size_(other.size_),
      last_known_total_(other.last_known_total_) {
    if (!other.block_) return;
    capacity_ = padded_capacity(size_ == 0 ? 1 : size_);
    const std::size_t bytes = capacity_ * static_cast<std::size_t>(column_count(set_));
    block_.reset(static_cast<std::uint8_t*>(
        ::operator new[](bytes, std::align_val_t{kColumnAlignment})));
    std::memset(block_.get(), 0, bytes);
    for (int number = 0; number < column_count(set_); ++number)
        std::memcpy(column(number), other.column(number), size_);
}

CandidateList& CandidateList::operator=(const CandidateList& other) {
    if (this != &other) *this = CandidateList(other);
    return *this;
}

SignFlags CandidateList::signs_present() const {
    SignFlags present{};
    for (int position = 0; position < set_.code_length; ++position) {
        const std::uint8_t* signs = position_column(position);
        for (std::size_t entry = 0; entry < size_; ++entry) present[signs[entry]] = true;
    }
    return present;
}

void CandidateList::release() {
    block_.reset();
    capacity_ = 0;
    size_ = 0;
}

// Signs 2k + 1 and 2k + 2 share column k, the first in the low nibble. Works on whole vectors
// from begin, which must be a multiple of their width.
void CandidateList::count_signs(std::size_t begin, std::size_t end) {
    const int length = set_.code_length;
    Lanes sixteen;
    broadcast(sixteen, 16);
    for (std::size_t entry = begin; entry < end; entry += kLanes) {
        std::array<Lanes, kMaxCodeLength> signs;
        for (int position = 0; position < length; ++position)
            load_lanes(signs[position], position_column(position) + entry);
        for (int pair = 0; pair < sign_pairs(); ++pair) {
            Lanes low_sign;
            Lanes high_sign;
            broadcast(low_sign, static_cast<std::uint8_t>(2 * pair + 1));
            broadcast(high_sign, static_cast<std::uint8_t>(2 * pair + 2));
            Lanes counts{};
            for (int position = 0; position < length; ++position) {
                counts -= reinterpret_cast<Lanes>(signs[position] == low_sign);
                counts += reinterpret_cast<Lanes>(signs[position] == high_sign) & sixteen;
            }
            std::memcpy(count_column(pair) + entry, &counts, sizeof counts);
        }
    }
}

Code CandidateList::code(std::size_t entry) const {
    Code code;
    code.length = set_.code_length;
    for (int position = 0; position < set_.code_length; ++position)
        code.signs[position] = position_column(position)[entry];
    return code;
}

namespace {

// The plan of a pass for a try: its signs per position and, unless the total is known, each
// counted sign it holds with the nibble of the candidates' count of it.
template <typename PositionColumn, typename CountColumn>
PassPlan plan_for(const Code& try_code, const SignFlags& counted, bool total_known, int set_size,
                  PositionColumn position_column, CountColumn count_column) {
    PassPlan plan;
    for (int position = 0; position < try_code.length; ++position) {
        plan.positions[position] = position_column(position);
        plan.try_signs[position] = try_code.signs[position];
    }
    if (total_known) return plan;
    std::array<std::uint8_t, kRingSize + 1> try_counts{};
    for (int position = 0; position < try_code.length; ++position)
        ++try_counts[try_code.signs[position]];
    // A term per counted sign, at its first place in the try. Every place writes the next
    // term and only a taken one keeps it: a plan is made for every try, and a branch on the
    // signs would mispredict about every other time.
    std::array<std::uint8_t, kRingSize + 1> seen{};
    int term = 0;
    for (int position = 0; position < try_code.length; ++position) {
        const int sign = try_code.signs[position];
        const bool take = (int{sign != kVacantIndex} & int{sign <= set_size} & int{counted[sign]} &
                           int{seen[sign] == 0}) != 0;
        seen[sign] = 1;
        const int digit = sign - (sign != kVacantIndex);  // the vacant sign's is never taken
        const int shift = (digit & 1) * 4;                // the second sign of a pair: high nibble
        plan.count_columns[term] = count_column(digit / 2);
        plan.nibble_masks[term] = static_cast<std::uint8_t>(0x0F << shift);
        plan.try_counts[term] = static_cast<std::uint8_t>(try_counts[sign] << shift);
        term += take;
    }
    plan.counted_signs = term;
    return plan;
}

template <typename Tally>
ClassTable classes_of(const Tally& tally, int length, std::optional<int> known_total) {
    ClassTable classes;
    for (int t = known_total.value_or(0); t <= known_total.value_or(length); ++t) {
        for (int p = 0; p <= t; ++p) {
            const Response response{static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(t)};
            const std::uint32_t codes =
                tally.total(response_byte(response, known_total.has_value()));
            classes.add(response, static_cast<std::int32_t>(codes));
        }
    }
    return classes;
}

// Candidates scored between two looks at the classes of a bounded pass.
constexpr std::size_t kBoundedChunk = 4 * kBlock;

// The bounded pass over lists too long for the short one, out of line: its tallies take a
// large stack frame that the short pass should not pay for.
[[gnu::noinline]] void classify_bounded_blocks(const PassPlan& plan, CandidateList::VectorWidth width,
                                               std::size_t size, int n, bool total_known, int solving_number,
                                               const ClassBound& bound, BoundedClasses& result) {
    // The list is shared by every worker of a search: the responses stay on this stack.
    alignas(kColumnAlignment) std::uint8_t responses[kBlock];
    const auto finish = [&](const auto& tally) {
        result.spread = tally.spread();
        if (solving_number >= 0) result.solved = static_cast<std::int32_t>(tally.total(solving_number));
    };
    if (size <= SpreadTally::kMostCodes) {
        SpreadTally tally;
        pass_for<SpreadTally>(width, n, plan.counted_signs)(plan, 0, size, responses, false, tally);
        result.scored = size;
        finish(tally);
        return;
    }
    const auto chunked = [&]<typename Tally>(Tally& tally) {
        const auto pass = pass_for<Tally>(width, n, plan.counted_signs);
        for (std::size_t begin = 0; begin < size; begin += kBoundedChunk) {
            const std::size_t end = std::min(size, begin + kBoundedChunk);
            pass(plan, begin, end, responses, false, tally);
            result.scored = end;
            if (end == size) break;
            if (bound.max == std::numeric_limits<std::int32_t>::max()) continue;
            // Classes only grow, so a try worse than the bound part way stays worse.
            const ClassSpread partial = tally.spread();
            if (partial.largest > bound.max ||
                (partial.largest == bound.max && partial.sum_of_squares >= bound.sum_of_squares)) {
                result.abandoned = true;
                return;
            }
        }
        finish(tally);
    };
    const int numbers = total_known ? n + 1 : triangle(n + 1);
    if (ResponseTally::pays_for(numbers, size)) {
        ResponseTally tally(numbers);
        chunked(tally);
    } else {
        CellTally tally(numbers);
        chunked(tally);
    }
}

}  // namespace

ClassTable CandidateList::classify(const Code& try_code, const SignFlags& counted,
                                   std::optional<int> known_total) {
    const int n = set_.code_length;
    const PassPlan plan = plan_for(
        try_code, counted, known_total.has_value(), set_.set_size,
        [&](int position) { return position_column(position); },
        [&](int pair) { return count_column(pair); });
    ResponseTally tally(triangle(n + 1));
    pass_for<ResponseTally>(width_, n, plan.counted_signs)(plan, 0, size_, response_column(),
                                                          true, tally);
    last_known_total_ = known_total;
    return classes_of(tally, n, known_total);
}

// The total by reference: an optional passed by value is stored in two pieces and loaded whole,
// which waits for both, once a try.
BoundedClasses CandidateList::classify_bounded(const Code& try_code, const SignFlags& counted,
                                               const std::optional<int>& known_total,
                                               const ClassBound& bound) const {
    const int n = set_.code_length;
    const PassPlan plan = plan_for(
        try_code, counted, known_total.has_value(), set_.set_size,
        [&](int position) { return position_column(position); },
        [&](int pair) { return count_column(pair); });
    // Only a try of the candidates' multiset can equal one of them.
    const Response solving{static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n)};
    const int solving_number =
        !known_total || *known_total == n ? response_byte(solving, known_total.has_value()) : -1;
    BoundedClasses result;
#if defined(__x86_64__)
    if (const ShortPass pass = short_pass_for(width_, size_, n, plan.counted_signs)) {
        pass(plan, size_, solving_number, result);
        return result;
    }
#endif
    classify_bounded_blocks(plan, width_, size_, n, known_total.has_value(), solving_number, bound, result);
    return result;
}

bool CandidateList::assign(const CodeSet& set, std::size_t count,
                           const std::function<Code(std::size_t)>& code_at,
                           const std::function<bool()>& carry_on) {
    release();
    set_ = set;
    capacity_ = padded_capacity(count == 0 ? 1 : count);
    const std::size_t bytes = capacity_ * static_cast<std::size_t>(column_count(set));
    block_.reset(static_cast<std::uint8_t*>(
        ::operator new[](bytes, std::align_val_t{kColumnAlignment})));
    // Only the padding is cleared here: the codes are written block by block, between looks.
    for (int number = 0; number < column_count(set); ++number)
        std::memset(column(number) + count, 0, capacity_ - count);
    for (std::size_t begin = 0; begin < count; begin += kCodesPerLook) {
        if (begin > 0 && carry_on && !carry_on()) {
            release();
            return false;
        }
        const std::size_t end = std::min(count, begin + kCodesPerLook);
        for (std::size_t entry = begin; entry < end; ++entry) {
            const Code code = code_at(entry);
            for (int position = 0; position < set.code_length; ++position)
                position_column(position)[entry] = code.signs[position];
        }
        count_signs(begin, end);
    }
    size_ = count;
    return true;
}

void CandidateList::keep(Response answer) {
    const std::uint8_t wanted = response_byte(answer, last_known_total_.has_value());
    const std::uint8_t* responses = response_column();
    std::size_t kept = 0;
    for (std::size_t begin = 0; begin < size_; begin += kBlock) {
        const std::size_t length = std::min(kBlock, size_ - begin);
        std::array<std::uint8_t, kBlock> survivors;
        std::size_t survivor_count = 0;
        for (std::size_t i = 0; i < length; ++i) {
            survivors[survivor_count] = static_cast<std::uint8_t>(i);
            survivor_count += responses[begin + i] == wanted;
        }
        // Survivors only ever move towards the front, so the block can be gathered in place.
        if (kept != begin || survivor_count != length) {
            for (int position = 0; position < set_.code_length; ++position) {
                std::uint8_t* signs = position_column(position);
                for (std::size_t x = 0; x < survivor_count; ++x)
                    signs[kept + x] = signs[begin + survivors[x]];
            }
        }
        kept += survivor_count;
    }
    size_ = kept;
    // Counting the survivors' signs again is quicker than moving their counts.
    count_signs(0, kept);
}
