#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>

#include "core/class_table.hpp"
#include "core/scoring.hpp"
#include "core/signs.hpp"
#include "core/table_build.hpp"

// The codes a match may have as its answer: s signs, n positions, with or without repetition.
struct CodeSet {
    int set_size = 0;
    int code_length = 0;
    bool repetition = false;
};

// One flag per sign index 0..36.
using SignFlags = std::array<bool, kRingSize + 1>;

// How good the best try so far is: a try with a larger class, or as large a class and a sum
// of squares at least as large before its last candidate, cannot beat it.
struct ClassBound {
    std::int32_t max = std::numeric_limits<std::int32_t>::max();
    std::int64_t sum_of_squares = std::numeric_limits<std::int64_t>::max();
};

// What the guesser weighs a try by; the class table itself is only made for the best try.
struct BoundedClasses {
    ClassSpread spread;       // complete unless abandoned
    std::int32_t solved = 0;  // candidates equal to the try
    bool abandoned = false;
    std::size_t scored = 0;   // candidates scored before the pass ended
};

// Every code not yet ruled out. One block of memory holds a byte column per code position, a
// byte column per pair of signs (their counts in the two nibbles) and one for each code's
// response to the current try, so that the class pass streams through it 16 codes at a time.
class CandidateList {
   public:
    // The class pass takes the widest vectors the processor offers, or 16 bytes everywhere.
    enum class VectorWidth { Widest, Sixteen };

    explicit CandidateList(VectorWidth width = VectorWidth::Widest) : width_(width) {}
    CandidateList(const CandidateList& other);
    CandidateList& operator=(const CandidateList& other);
    CandidateList(CandidateList&&) noexcept = default;
    CandidateList& operator=(CandidateList&&) noexcept = default;

    // What build takes for the set, at most 28 bytes per code.
    static std::uint64_t bytes_needed(const CodeSet& set);

    // Enumerates every code of the set once, unless the list would not fit into
    // memory_available (the machine's physical memory).
    BuildResult build(const CodeSet& set, std::uint64_t memory_available, const BuildHooks& hooks);
    void release();
    // Holds exactly these codes of the set, in this order. Throws when memory runs out. Asks
    // carry_on between every kCodesPerLook codes; false from it leaves the list empty and
    // returns false.
    static constexpr std::size_t kCodesPerLook = std::size_t{1} << 16;
    bool assign(const CodeSet& set, std::size_t count, const std::function<Code(std::size_t)>& code_at,
                const std::function<bool()>& carry_on = {});

    const CodeSet& code_set() const { return set_; }
    std::size_t size() const { return size_; }
    Code code(std::size_t entry) const;

    // The one pass of a try: each candidate's response is stored with it and counted in its
    // class. Only the signs flagged in `counted` enter T; a sign that no candidate holds adds
    // nothing anyway. With a known total (every candidate holds the same signs) only P is
    // worked out per candidate.
    ClassTable classify(const Code& try_code, const SignFlags& counted,
                        std::optional<int> known_total);

    // The spread of the same classes, unless the try is found part way to be worse than the
    // bound; then the pass stops. Leaves the list as it is, so that several threads may weigh
    // tries on it at once; the responses stored stay those of the last classify.
    BoundedClasses classify_bounded(const Code& try_code, const SignFlags& counted,
                                    const std::optional<int>& known_total, const ClassBound& bound) const;

    // The signs that some candidate holds.
    SignFlags signs_present() const;

    // Keeps exactly the candidates that gave this response in the last pass.
    void keep(Response answer);

   private:
    struct FreeBlock {
        void operator()(std::uint8_t* block) const;
    };

    std::uint8_t* column(int number) const { return block_.get() + number * capacity_; }
    std::uint8_t* position_column(int position) const { return column(position); }
    std::uint8_t* count_column(int pair) const { return column(set_.code_length + pair); }
    std::uint8_t* response_column() const { return column(set_.code_length + sign_pairs()); }
    int sign_pairs() const { return (set_.set_size + 1) / 2; }
    void count_signs(std::size_t begin, std::size_t end);

    VectorWidth width_;
    CodeSet set_;
    std::unique_ptr<std::uint8_t[], FreeBlock> block_;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
    std::optional<int> last_known_total_;
};

// The byte a candidate keeps for its response: the response's number among the pairs
// 0 <= P <= T <= 9 (T (T + 1) / 2 + P), or P alone when T is the same for every candidate.
std::uint8_t response_byte(Response response, bool total_known);
