#include "guesser/guesser.hpp"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>

#include "guesser/opening.hpp"

namespace {

int distinct_signs(const Code& code) {
    SignFlags seen{};
    int count = 0;
    for (int position = 0; position < code.length; ++position) {
        const SignIndex sign = code.signs[position];
        if (sign == kVacantIndex || seen[sign]) continue;
        seen[sign] = true;
        ++count;
    }
    return count;
}

bool holds(const Code& code, SignIndex sign) {
    return std::find(code.signs.begin(), code.signs.begin() + code.length, sign) !=
           code.signs.begin() + code.length;
}

int count_flags(const SignFlags& flags) { return static_cast<int>(std::count(flags.begin(), flags.end(), true)); }

// Below this many scorings in all a search is over before the helpers would have woken.
constexpr std::uint64_t kWorkWorthHelpers = std::uint64_t{1} << 12;
// The passes over the tries list go in ranges of this many tries, well under a millisecond
// each; the pulse comes every few milliseconds, after so many ranges. Shorter lists are not
// worth waking the helpers for.
constexpr std::size_t kRangeTries = std::size_t{1} << 12;
constexpr int kRangesPerPulse = 16;
constexpr std::size_t kTriesWorthHelpers = std::size_t{1} << 13;
// The filtering pulses between its steps over lists at least this long.
constexpr std::size_t kCandidatesWorthPulse = std::size_t{1} << 20;

// What the symmetry pass finds over the tries list, range by range on any thread.
struct SymmetryPass {
    Guesser* guesser = nullptr;
    std::int32_t fresh_number = -1;
    std::size_t places = 0;  // a place past the list: none found
    std::atomic<std::int32_t> canonical_count{0};
    std::atomic<std::size_t> first_canonical_place{places};
    std::atomic<std::size_t> fresh_place{places};
};

struct Pruning {
    Guesser* guesser = nullptr;
    SignFlags removed{};
};

void lower_to(std::atomic<std::size_t>& value, std::size_t candidate) {
    std::size_t current = value.load();
    while (candidate < current && !value.compare_exchange_weak(current, candidate)) {
    }
}

}  // namespace

Guesser::~Guesser() { stop_workers(); }

Guesser::Guesser(const GuessShape& shape) : shape_(shape) {
    fixed_multiset_ = !shape.repetition && shape.length == shape.set_size;
    keep_blank_done_ = shape.vacant;
    drop_vacant_pending_ = shape.vacant;
    for (int sign = 1; sign <= shape.set_size; ++sign) possible_[sign] = true;
}

BuildResult Guesser::build(Random& random, std::uint64_t memory_available,
                           const BuildHooks& hooks) {
    const Relabelling opening_labels = Relabelling::draw(shape_.length, shape_.set_size, random);
    build_opening(opening_labels, shape_.set_size, shape_.vacant, random);
    const Relabelling storage = Relabelling::draw(shape_.length, shape_.set_size, random);
    const BuildResult result =
        table_.build(shape_, storage, random, memory_available, hooks, tries_, candidates_);
    if (result != BuildResult::Built) {
        release();
        return result;
    }
    try {
        marks_.assign(static_cast<std::size_t>(table_.size()));
    } catch (const std::bad_alloc&) {
        release();
        return BuildResult::NoRoom;
    }
    return result;
}

void Guesser::release() {
    stop_workers();
    table_.release();
    candidates_.release();
    std::vector<std::int32_t>().swap(tries_);
    marks_.release();
}

// ---------------------------------------------------------------- the search

Code Guesser::begin_search(Random& random) {
    stop_workers();
    const bool reduction_allowed = possible_count_ > 2;
    possible_count_ = 0;
    const bool two_left = tries_.size() == 2 || candidates_.size() == 2;
    if (two_left) opening_ = false;

    note_multiset();
    broken_off_ = false;
    responses_stored_ = false;
    best_ = Measures{};
    best_number_ = -1;
    tie_counter_ = 2;
    cursor_ = 0;
    evaluated_ = 0;
    opening_searched_ = false;
    reduction_ = false;
    if (opening_) {
        to_evaluate_ = 1;
        return opening_code_;
    }
    to_evaluate_ = tries_count();
    Code shown = table_.code(tries_.front());
    if (reduction_allowed && !two_left && tries_.size() >= 3 && candidates_.size() >= 3)
        symmetry_pass(random, shown);
    if (broken_off_) return shown;
    const std::uint64_t work = static_cast<std::uint64_t>(to_evaluate_) * candidates_.size();
    on_workers_ = workers_ && workers_->threads() > 1 && work >= kWorkWorthHelpers;
    if (on_workers_)
        workers_->begin(tries_.size(), candidates_.size(), &weigh_place, reduction_ ? marks_.data() : nullptr, this);
    return shown;
}

BoundedClasses Guesser::weigh_place(const void* guesser, std::size_t place, const ClassBound& bound) {
    const Guesser& self = *static_cast<const Guesser*>(guesser);
    return self.evaluate(self.table_.code(self.tries_[place]), bound);
}

void Guesser::stop_workers() {
    if (!on_workers_) return;
    scorings_ += workers_->scored();
    workers_->end();
    on_workers_ = false;
}

bool Guesser::over_tries(SearchWorkers::RangeTask task, void* context) {
    int ranges = 0;
    const auto pulse = [&] { return ++ranges % kRangesPerPulse == 0 && pulse_ && pulse_(); };
    if (workers_ && workers_->threads() > 1 && tries_.size() >= kTriesWorthHelpers)
        return workers_->for_ranges(tries_.size(), kRangeTries, task, context, pulse);
    for (std::size_t first = 0; first < tries_.size(); first += kRangeTries) {
        const std::size_t last = std::min(first + kRangeTries, tries_.size());
        task(context, first, last);
        if (last < tries_.size() && pulse()) return false;
    }
    return true;
}

bool Guesser::pulse_breaks_off(std::size_t list_length) {
    if (list_length < kCandidatesWorthPulse || !pulse_ || !pulse_()) return false;
    broken_off_ = true;
    return true;
}

// Never-used signs are interchangeable: of the tries that differ only by relabelling them,
// one is evaluated.
void Guesser::symmetry_pass(Random& random, Code& shown) {
    std::vector<std::uint8_t> never_used;
    for (int sign = 1; sign <= shape_.set_size; ++sign)
        if (!used_[sign]) never_used.push_back(static_cast<std::uint8_t>(sign));
    const int unused = static_cast<int>(never_used.size());
    if (unused < 2) return;
    const auto order = random_order(unused, random);
    std::vector<std::uint8_t> shuffled;
    for (int k = 1; k <= unused; ++k) shuffled.push_back(never_used[order[k] - 1]);
    const int n = shape_.length;
    const int skipped = std::max(unused - n, 0);
    participants_.assign(shuffled.begin() + skipped, shuffled.end());
    symmetry_rank_.fill(kNoRank);
    // The first ones may not occur in an evaluated try at all.
    for (int k = 0; k < skipped; ++k) symmetry_rank_[shuffled[k]] = kExcluded;
    for (std::size_t k = 0; k < participants_.size(); ++k) symmetry_rank_[participants_[k]] = static_cast<std::uint8_t>(k);

    std::int32_t fresh_number = -1;
    if (unused >= n) {
        Code fresh;
        fresh.length = n;
        for (int position = 0; position < n; ++position) fresh.signs[position] = participants_[position];
        shown = fresh;
        fresh_number = table_.number_of(fresh);
    }
    SymmetryPass pass{this, fresh_number, tries_.size()};
    if (!over_tries(&mark_canonical, &pass)) {
        broken_off_ = true;
        return;
    }
    const std::int32_t canonical_count = pass.canonical_count;
    if (unused < n && pass.first_canonical_place < tries_.size())
        shown = table_.code(tries_[pass.first_canonical_place]);
    if (canonical_count == 0) return;  // nothing canonical left: search without the reduction
    reduction_ = true;
    to_evaluate_ = canonical_count;
    const std::size_t fresh_place = pass.fresh_place;
    if (fresh_place < tries_.size()) {
        std::rotate(tries_.begin(), tries_.begin() + static_cast<long>(fresh_place),
                    tries_.begin() + static_cast<long>(fresh_place) + 1);
        std::rotate(marks_.data(), marks_.data() + fresh_place, marks_.data() + fresh_place + 1);
    }
}

// Each try has a mark of its own, so the ranges never write the same byte.
void Guesser::mark_canonical(void* symmetry_pass, std::size_t first, std::size_t last) {
    SymmetryPass& pass = *static_cast<SymmetryPass*>(symmetry_pass);
    Guesser& self = *pass.guesser;
    std::int32_t canonical_count = 0;
    std::size_t first_canonical = last;
    for (std::size_t place = first; place < last; ++place) {
        const std::int32_t number = self.tries_[place];
        const bool passes = self.canonical(self.table_.code(number));
        self.marks_[place] = passes;
        canonical_count += passes;
        if (passes && first_canonical == last) first_canonical = place;
        if (number == pass.fresh_number) pass.fresh_place = place;
    }
    pass.canonical_count += canonical_count;
    lower_to(pass.first_canonical_place, first_canonical);
}

// The first places of the participants, read in their order, never decrease (a sign the
// try does not hold counts as coming last) exactly when the participants turn up, from the
// left, in their order: each new one the next of the order. One look per place, no branch:
// a pass tests every try, and about every other one fails.
bool Guesser::canonical(const Code& code) const {
    int next = 0;
    int failed = 0;
    for (int position = 0; position < code.length; ++position) {
        const int rank = symmetry_rank_[code.signs[position]];
        const int participant = rank < kExcluded;
        failed |= int{rank == kExcluded} | (participant & int{rank > next});
        next += participant & int{rank == next};
    }
    return failed == 0;
}

bool Guesser::evaluate_next(Random& random) {
    bool became_best = false;
    if (opening_) {
        const BoundedClasses result = evaluate(opening_code_, ClassBound{});
        scorings_ += result.scored;
        opening_searched_ = true;
        ++evaluated_;
        weigh(opening_code_, -1, 0, Measures::of(result), random, became_best);
        return became_best;
    }
    if (reduction_ && cursor_ < tries_.size() && marks_[cursor_] == 0) {
        const auto* next = static_cast<const std::uint8_t*>(
            std::memchr(marks_.data() + cursor_, 1, tries_.size() - cursor_));
        cursor_ = next ? static_cast<std::size_t>(next - marks_.data()) : tries_.size();
    }
    if (cursor_ >= tries_.size()) return false;
    const std::size_t place = cursor_++;
    const std::int32_t number = tries_[place];
    ++evaluated_;
    if (on_workers_) {
        Measures measures;
        if (!workers_->outcome(place, measures)) return false;
        weigh(table_.code(number), number, place, measures, random, became_best);
        if (became_best) workers_->publish_best(best_);
        return became_best;
    }
    const Code code = table_.code(number);
    const BoundedClasses result = evaluate(code, best_.bound());
    scorings_ += result.scored;
    if (!result.abandoned) weigh(code, number, place, Measures::of(result), random, became_best);
    return became_best;
}

void Guesser::end_search() {
    stop_workers();
    // Stopped before its first try, a search has chosen nothing to count.
    best_classes_ = evaluated_ > 0 ? candidates_.classify(best_code_, possible_, known_total(best_code_))
                                   : ClassTable{};
    responses_stored_ = evaluated_ > 0;
    // A search cut short begins the next one with the tries it did not reach. A search that
    // evaluated every canonical try was not cut short, however many tries it skipped.
    if (!opening_ && tries_.size() > 2 && !search_done()) {
        std::rotate(tries_.begin(), tries_.begin() + static_cast<long>(cursor_), tries_.end());
        best_place_ = (best_place_ + tries_.size() - cursor_) % tries_.size();
    }
}

void Guesser::note_multiset() {
    multiset_ = SignCounts{};
    if (!fixed_multiset_ || candidates_.size() == 0) return;
    multiset_ = sign_counts(candidates_.code(0), shape_.set_size, false);
    for (int sign = 0; sign <= kRingSize; ++sign)
        if (!possible_[sign]) multiset_[sign] = 0;
}

// Each place of the try takes one of the multiset's signs while one is left.
std::optional<int> Guesser::known_total(const Code& code) const {
    if (!fixed_multiset_ || candidates_.size() == 0) return std::nullopt;
    SignCounts left = multiset_;
    int total = 0;
    for (int position = 0; position < code.length; ++position) {
        std::uint8_t& count = left[code.signs[position]];
        total += count != 0;
        count -= count != 0;
    }
    return total;
}

BoundedClasses Guesser::evaluate(const Code& code, const ClassBound& bound) const {
    return candidates_.classify_bounded(code, possible_, known_total(code), bound);
}

void Guesser::weigh(const Code& code, std::int32_t number, std::size_t place, const Measures& measures,
                    Random& random, bool& became_best) {
    bool take = false;
    if (measures == best_) {
        // Of k tries in a row that tie completely, each is kept with chance 1/k.
        take = random.uniform(tie_counter_) == 0;
        ++tie_counter_;
    } else if (measures.better_than(best_)) {
        take = true;
        tie_counter_ = 2;
    }
    if (!take) return;
    best_ = measures;
    best_code_ = code;
    best_number_ = number;
    best_place_ = place;
    became_best = true;
}

// ---------------------------------------------------------------- the response

Guesser::Applied Guesser::apply(Response response, Random& random,
                                const EscapePoll& escape_requested) {
    const int n = shape_.length;
    stop_workers();
    if (response.p == n) return Applied::Won;
    const bool nothing = response.t == 0;
    if (!nothing) opening_ = false;
    const bool played_from_list = best_number_ >= 0;

    broken_off_ = false;
    if (!responses_stored_) {
        note_multiset();
        candidates_.classify(best_code_, possible_, known_total(best_code_));
        if (pulse_breaks_off(candidates_.size())) return Applied::Aborted;
    }
    responses_stored_ = false;
    std::vector<SignIndex> newly_absent;
    if (nothing) {
        for (int sign = shape_.set_size; sign >= 1; --sign) {
            if (!possible_[sign] || !holds(best_code_, static_cast<SignIndex>(sign))) continue;
            possible_[sign] = false;
            newly_absent.push_back(static_cast<SignIndex>(sign));
        }
        possible_count_ = count_flags(possible_);
        if (!newly_absent.empty()) blank_ = newly_absent.back();
    }
    candidates_.keep(response);
    if (pulse_breaks_off(tries_.size())) return Applied::Aborted;

    if (candidates_.size() <= 2) {
        opening_ = false;
        keep_only_candidates();
    } else {
        // The played try leaves the list, with the pruning if there is one.
        std::size_t played_place = tries_.size();
        if (!opening_ && played_from_list) {
            // Where the search left it, unless the list was changed since.
            played_place = std::min(best_place_, tries_.size());
            if (played_place == tries_.size() || tries_[played_place] != best_number_)
                played_place = static_cast<std::size_t>(std::find(tries_.begin(), tries_.end(), best_number_) - tries_.begin());
        }
        if (escape_requested && escape_requested()) return Applied::Aborted;
        if (!fixed_multiset_ && !nothing) {
            const int before = count_flags(possible_);
            SignFlags present{};
            if (response.t == n) {
                fixed_multiset_ = true;
                for (int position = 0; position < n; ++position) present[best_code_.signs[position]] = true;
                present[kVacantIndex] = false;
                possible_count_ = distinct_signs(best_code_);
            } else {
                present = candidates_.signs_present();
                if (pulse_breaks_off(candidates_.size())) return Applied::Aborted;
                possible_count_ = count_flags(present);
            }
            if (possible_count_ < before) {
                for (int sign = shape_.set_size; sign >= 1; --sign) {
                    if (!possible_[sign] || present[sign]) continue;
                    possible_[sign] = false;
                    newly_absent.push_back(static_cast<SignIndex>(sign));
                }
            }
        }
        if (!newly_absent.empty()) {
            if (escape_requested && escape_requested()) return Applied::Aborted;
            // One absent sign may stay in the tries, to fill places whose sign is known.
            if (count_flags(possible_) < 3 && n > 3 && !keep_blank_done_) {
                keep_blank_done_ = true;
                newly_absent.pop_back();
            }
            if (!newly_absent.empty() && drop_vacant_pending_) {
                newly_absent.back() = kVacantIndex;
                drop_vacant_pending_ = false;
            }
        }
        if (!newly_absent.empty()) {
            if (!remove_tries_holding(newly_absent, played_place)) return Applied::Aborted;
        } else if (played_place < tries_.size()) {
            tries_.erase(tries_.begin() + static_cast<long>(played_place));
        }
    }
    if (opening_) prepare_follow_up_opening(random);
    if (!shape_.repetition && possible_count_ == n) fixed_multiset_ = true;
    for (int position = 0; position < n; ++position) used_[best_code_.signs[position]] = true;
    used_[kVacantIndex] = false;
    return Applied::Continue;
}

void Guesser::keep_only_candidates() {
    tries_.clear();
    for (std::size_t entry = 0; entry < candidates_.size(); ++entry)
        tries_.push_back(table_.number_of(candidates_.code(entry)));
}

// The marks of the search are free until the next one: they note the tries that stay.
bool Guesser::remove_tries_holding(const std::vector<SignIndex>& signs, std::size_t played_place) {
    Pruning pruning{this, {}};
    for (SignIndex sign : signs) pruning.removed[sign] = true;
    if (!over_tries(&mark_kept, &pruning)) {
        broken_off_ = true;
        return false;
    }
    if (played_place < tries_.size()) marks_[played_place] = 0;
    std::size_t kept = 0;
    for (std::size_t place = 0; place < tries_.size(); ++place) {
        tries_[kept] = tries_[place];
        kept += marks_[place];
    }
    tries_.resize(kept);
    return true;
}

void Guesser::mark_kept(void* pruning, std::size_t first, std::size_t last) {
    const Pruning& what = *static_cast<const Pruning*>(pruning);
    Guesser& self = *what.guesser;
    for (std::size_t place = first; place < last; ++place) {
        self.marks_[place] = !self.table_.holds_any(self.tries_[place], what.removed);
    }
}

// ---------------------------------------------------------------- openings

void Guesser::build_opening(const Relabelling& labels, int sign_count, bool vacant_pattern,
                            Random& random) {
    const std::string pattern =
        opening_pattern(shape_.length, sign_count, shape_.repetition, vacant_pattern, random);
    // No pattern for a single sign; its one candidate is played without a search anyway.
    if (pattern.size() != static_cast<std::size_t>(shape_.length)) {
        opening_ = false;
        return;
    }
    opening_code_ = Code{};
    opening_code_.length = shape_.length;
    for (int k = 0; k < shape_.length; ++k) {
        const char letter = pattern[static_cast<std::size_t>(k)];
        const int label = letter == '*' ? 0 : letter - 'a' + 1;
        opening_code_.signs[labels.position[k]] = labels.sign[label];
    }
}

void Guesser::prepare_follow_up_opening(Random& random) {
    Relabelling labels;
    const auto positions = random_order(shape_.length, random);
    for (int k = 0; k < shape_.length; ++k)
        labels.position[k] = static_cast<std::uint8_t>(positions[k + 1] - 1);
    std::vector<std::uint8_t> possible;
    for (int sign = 1; sign <= shape_.set_size; ++sign)
        if (possible_[sign]) possible.push_back(static_cast<std::uint8_t>(sign));
    const int count = static_cast<int>(possible.size());
    const auto order = random_order(count, random);
    for (int k = 1; k <= count; ++k) labels.sign[k] = possible[order[k] - 1];
    labels.sign[0] = blank_;
    build_opening(labels, count, true, random);
}
