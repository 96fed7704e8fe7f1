#include "guesser/guess_tables.hpp"

#include <algorithm>
#include <limits>
#include <new>
#include <numeric>

#include "core/code_counts.hpp"

namespace {

// Entries of the shuffle and of the candidate chain between two looks at the keyboard: a
// few milliseconds' work.
constexpr std::size_t kEntriesPerLook = std::size_t{1} << 16;

}  // namespace

std::array<std::uint8_t, kRingSize + 1> random_order(int m, Random& random) {
    std::array<std::uint8_t, kRingSize + 1> pool{};
    for (int k = 1; k <= m; ++k) pool[k] = static_cast<std::uint8_t>(k);
    std::array<std::uint8_t, kRingSize + 1> order{};
    for (int k = 1; k <= m; ++k) {
        const int place = static_cast<int>(random.uniform(static_cast<std::uint64_t>(m + 1 - k))) + 1;
        order[k] = pool[place];
        std::copy(pool.begin() + place + 1, pool.begin() + m + 1, pool.begin() + place);
    }
    return order;
}

Relabelling Relabelling::draw(int length, int set_size, Random& random) {
    Relabelling relabelling;
    const auto positions = random_order(length, random);
    for (int k = 0; k < length; ++k)
        relabelling.position[k] = static_cast<std::uint8_t>(positions[k + 1] - 1);
    relabelling.sign = random_order(set_size, random);
    return relabelling;
}

std::int32_t TryTable::try_count(const GuessShape& shape) {
    std::uint64_t count = 1;
    for (int position = 0; position < shape.length; ++position)
        count *= static_cast<std::uint64_t>(shape.alphabet());
    if (shape.vacant) --count;
    return count > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())
               ? std::numeric_limits<std::int32_t>::max()
               : static_cast<std::int32_t>(count);
}

std::uint64_t TryTable::bytes_needed(const GuessShape& shape) {
    const auto tries = static_cast<std::uint64_t>(try_count(shape));
    // Per try: its signs, its place in the tries list and its mark.
    const std::uint64_t per_try = static_cast<std::uint64_t>(shape.length) + sizeof(std::int32_t) + 1;
    const CodeSet answers{shape.set_size, shape.length, shape.chain_repetition};
    // While the candidate list is filled, their numbers are held once more.
    const std::uint64_t numbers =
        code_count(answers.set_size, answers.code_length, answers.repetition) * sizeof(std::int32_t);
    return tries * per_try + numbers + CandidateList::bytes_needed(answers);
}

BuildResult TryTable::build(const GuessShape& shape, const Relabelling& storage, Random& random,
                            std::uint64_t memory_available, const BuildHooks& hooks,
                            std::vector<std::int32_t>& tries_list, CandidateList& candidates) {
    release();
    tries_list.clear();
    candidates.release();
    if (try_count(shape) == std::numeric_limits<std::int32_t>::max()) return BuildResult::NoRoom;
    if (bytes_needed(shape) > memory_available) return BuildResult::TooLargeForMachine;
    shape_ = shape;
    length_ = shape.length;
    first_eight_mask_ = length_ >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * length_)) - 1;
    storage_ = storage;
    for (int digit = 0; digit <= shape.set_size; ++digit)
        digit_of_sign_[storage.sign[digit]] = static_cast<std::uint8_t>(digit);
    const std::int32_t tries = try_count(shape);

    try {
        // Not cleared: a hundred megabytes of zeros would keep the keyboard waiting, and the
        // odometer writes every code.
        const std::size_t code_bytes = static_cast<std::size_t>(tries) * static_cast<std::size_t>(length_);
        codes_ = std::make_shared_for_overwrite<std::uint8_t[]>(code_bytes + kCodePadding);
        std::fill(codes_.get() + code_bytes, codes_.get() + code_bytes + kCodePadding, 0);
        tries_list.reserve(static_cast<std::size_t>(tries));
    } catch (const std::bad_alloc&) {
        release();
        return BuildResult::NoRoom;
    }

    // The odometer runs with the first place fastest; with the vacant sign it starts past the
    // all-vacant code.
    const int first = shape.first_digit();
    std::array<std::uint8_t, kMaxCodeLength> digits{};
    digits.fill(static_cast<std::uint8_t>(first));
    if (shape.vacant) digits[0] = 1;
    BuildPacer pacer(hooks, static_cast<std::uint64_t>(tries));
    for (std::int32_t made = 0; made < tries; ++made) {
        if (pacer.before_entry(static_cast<std::uint64_t>(made))) {
            release();
            tries_list.clear();
            return BuildResult::Abandoned;
        }
        std::uint8_t* signs = codes_.get() + static_cast<std::size_t>(made) * length_;
        for (int place = 0; place < length_; ++place)
            signs[storage.position[place]] = storage.sign[digits[place]];
        for (int place = 0; place < length_; ++place) {
            if (digits[place] < shape.set_size) {
                ++digits[place];
                break;
            }
            digits[place] = static_cast<std::uint8_t>(first);
        }
        pacer.after_entry(static_cast<std::uint64_t>(made) + 1);
    }
    count_ = tries;

    // The shuffle and the chain take seconds for the largest tables: they keep the clock
    // and the keyboard as the odometer does, at a coarser pace.
    const auto keeps_going = [&] {
        if (hooks.heartbeat) hooks.heartbeat(static_cast<std::uint64_t>(tries));
        return !hooks.asks_to_abandon();
    };
    const auto abandoned = [&] {
        release();
        tries_list.clear();
        candidates.release();
        return BuildResult::Abandoned;
    };
    for (std::int32_t number = 0; number < tries; ++number) {
        if (number > 0 && static_cast<std::size_t>(number) % kEntriesPerLook == 0 && !keeps_going())
            return abandoned();
        tries_list.push_back(number);
    }
    for (std::size_t i = tries_list.size(); i > 1; --i) {
        std::swap(tries_list[i - 1], tries_list[random.uniform(i)]);
        const std::size_t shuffled = tries_list.size() - i;  // before this swap
        if (shuffled > 0 && shuffled % kEntriesPerLook == 0 && !keeps_going()) return abandoned();
    }
    if (!keeps_going()) return abandoned();

    // The candidates, newest try first: no vacant place, and no sign twice without repetition.
    std::vector<std::int32_t> chain;
    try {
        chain.reserve(static_cast<std::size_t>(
            code_count(shape.set_size, shape.length, shape.chain_repetition)));
        for (std::int32_t number = tries - 1; number >= 0; --number) {
            const auto looked_at = static_cast<std::size_t>(tries - 1 - number);
            if (looked_at > 0 && looked_at % kEntriesPerLook == 0 && !keeps_going()) return abandoned();
            const Code try_code = code(number);
            std::array<std::uint8_t, kRingSize + 1> counts{};
            bool fits = true;
            for (int position = 0; position < length_ && fits; ++position) {
                const SignIndex sign = try_code.signs[position];
                fits = sign != kVacantIndex && (shape.chain_repetition || ++counts[sign] == 1);
            }
            if (fits) chain.push_back(number);
        }
        if (!candidates.assign(CodeSet{shape.set_size, shape.length, shape.chain_repetition}, chain.size(),
                               [&](std::size_t entry) { return code(chain[entry]); }, keeps_going))
            return abandoned();
    } catch (const std::bad_alloc&) {
        release();
        tries_list.clear();
        candidates.release();
        return BuildResult::NoRoom;
    }
    if (!keeps_going()) return abandoned();
    return BuildResult::Built;
}

std::int32_t TryTable::number_of(const Code& code) const {
    const int first = shape_.first_digit();
    std::int64_t value = 0;
    for (int place = length_ - 1; place >= 0; --place) {
        const int digit = digit_of_sign_[code.signs[storage_.position[place]]];
        value = value * shape_.alphabet() + (digit - first);
    }
    if (shape_.vacant) --value;
    return static_cast<std::int32_t>(value);
}

void TryTable::release() {
    codes_.reset();
    count_ = 0;
}
