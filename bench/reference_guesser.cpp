#include "reference_guesser.hpp"

#include <algorithm>
#include <string>
#include <tuple>

#include "guesser/opening.hpp"

namespace {

std::vector<SignIndex> from_to(int first, int last) {
    std::vector<SignIndex> items;
    for (int item = first; item <= last; ++item) items.push_back(static_cast<SignIndex>(item));
    return items;
}

// Each next item is drawn from those left: Random(items left) picks its place among them.
std::vector<SignIndex> drawn_order(std::vector<SignIndex> pool, Random& random) {
    std::vector<SignIndex> order;
    while (!pool.empty()) {
        const auto place = static_cast<std::ptrdiff_t>(random.uniform(pool.size()));
        order.push_back(pool[place]);
        pool.erase(pool.begin() + place);
    }
    return order;
}

// Every index counted, the vacant one too: a candidate holds none, so for candidates these are
// the counts the scoring wants.
SignCounts occurrences(const Code& code) {
    SignCounts counts{};
    for (int position = 0; position < code.length; ++position) ++counts[code.signs[position]];
    return counts;
}

int count_of(const SignFlags& flags) {
    int count = 0;
    for (const bool flag : flags) count += flag ? 1 : 0;
    return count;
}

}  // namespace

ReferenceGuesser::ReferenceGuesser(const GuessShape& shape) : shape_(shape) {
    fixed_multiset_ = !shape.repetition && shape.length == shape.set_size;
    keep_blank_done_ = shape.vacant;
    drop_vacant_pending_ = shape.vacant;
    for (int sign = 1; sign <= shape.set_size; ++sign) possible_[sign] = true;
}

ReferenceGuesser::~ReferenceGuesser() {
    for (Node* node : nodes_) delete node;
}

void ReferenceGuesser::make_opening(const std::vector<SignIndex>& positions,
                                    const std::vector<SignIndex>& signs, SignIndex blank,
                                    int sign_count, bool vacant_pattern, Random& random) {
    const int n = shape_.length;
    const std::string pattern = opening_pattern(n, sign_count, shape_.repetition, vacant_pattern, random);
    if (pattern.size() != static_cast<std::size_t>(n)) {
        opening_ = false;
        return;
    }
    opening_code_ = Code{};
    opening_code_.length = n;
    for (int k = 0; k < n; ++k) {
        const char letter = pattern[static_cast<std::size_t>(k)];
        opening_code_.signs[positions[k]] = letter == '*' ? blank : signs[letter - 'a'];
    }
}

void ReferenceGuesser::build(Random& random) {
    const int n = shape_.length;
    const int s = shape_.set_size;
    {
        const auto positions = drawn_order(from_to(0, n - 1), random);
        const auto signs = drawn_order(from_to(1, s), random);
        make_opening(positions, signs, kVacantIndex, s, shape_.vacant, random);
    }
    const auto positions = drawn_order(from_to(0, n - 1), random);
    const auto signs = drawn_order(from_to(1, s), random);

    // Try k is k written in base alphabet, place 0 lowest, counted past the all-vacant code.
    const int alphabet = shape_.alphabet();
    std::int64_t tries = 1;
    for (int place = 0; place < n; ++place) tries *= alphabet;
    const int skipped = shape_.vacant ? 1 : 0;
    for (std::int64_t number = 0; number < tries - skipped; ++number) {
        Node* node = new Node;
        node->code.length = n;
        std::int64_t value = number + skipped;
        for (int place = 0; place < n; ++place) {
            const int digit = static_cast<int>(value % alphabet) + shape_.first_digit();
            value /= alphabet;
            node->code.signs[positions[place]] = digit == 0 ? kVacantIndex : signs[digit - 1];
        }
        node->counts = occurrences(node->code);
        nodes_.push_back(node);
    }

    std::vector<Node*> order = nodes_;
    for (std::size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[random.uniform(i)]);
    Node** link = &tries_;
    for (Node* node : order) {
        *link = node;
        link = &node->next_try;
    }
    try_count_ = order.size();

    link = &candidates_;
    for (auto node = nodes_.rbegin(); node != nodes_.rend(); ++node) {
        const SignCounts& counts = (*node)->counts;
        const bool fits = counts[kVacantIndex] == 0 &&
                          (shape_.chain_repetition ||
                           std::all_of(counts.begin(), counts.end(), [](std::uint8_t c) { return c <= 1; }));
        if (!fits) continue;
        *link = *node;
        link = &(*node)->next_candidate;
        ++candidate_count_;
    }
}

// ---------------------------------------------------------------- the search

void ReferenceGuesser::search(Random& random) {
    const bool reduction_allowed = possible_count_ > 2;
    possible_count_ = 0;
    const bool two_left = try_count_ == 2 || candidate_count_ == 2;
    if (two_left) opening_ = false;
    best_ = Measures{};
    best_node_ = nullptr;
    tie_counter_ = 2;
    if (opening_) {
        weigh(opening_code_, nullptr, random);
        return;
    }
    const bool reduced = reduction_allowed && !two_left && try_count_ >= 3 &&
                         candidate_count_ >= 3 && set_up_symmetry(random);
    // Never stopped early, the search leaves the tries list as it was.
    for (Node* node = tries_; node; node = node->next_try) {
        if (reduced && !canonical(node->code)) continue;
        weigh(node->code, node, random);
    }
}

void ReferenceGuesser::weigh(const Code& code, Node* node, Random& random) {
    ClassTable classes;
    std::int32_t largest = 0;
    std::int64_t sum_of_squares = 0;
    for (Node* candidate = candidates_; candidate; candidate = candidate->next_candidate) {
        const Response response = score(code, candidate->code, candidate->counts);
        ++scorings_;
        const std::int32_t before = classes.count(response);
        classes.add(response);
        largest = std::max(largest, before + 1);
        sum_of_squares += 2 * static_cast<std::int64_t>(before) + 1;
        // Classes only grow, so from here the try can only end worse than the best.
        const bool more = candidate->next_candidate != nullptr;
        if (largest > best_.max ||
            (largest == best_.max && (sum_of_squares > best_.sum_of_squares ||
                                      (sum_of_squares == best_.sum_of_squares && more))))
            return;
    }
    const Measures measures{largest, sum_of_squares, classes.spread().non_empty,
                            classes.count(shape_.length, shape_.length) == 1};
    const auto rank = [](const Measures& m) {
        return std::tuple(m.max, m.sum_of_squares, -m.classes, !m.win);
    };
    bool take = false;
    if (measures == best_) {
        take = random.uniform(tie_counter_) == 0;
        ++tie_counter_;
    } else if (rank(measures) < rank(best_)) {
        take = true;
        tie_counter_ = 2;
    }
    if (!take) return;
    best_ = measures;
    best_code_ = code;
    best_node_ = node;
    best_classes_ = classes;
}

// Never-used signs are interchangeable; excluded_ are those no weighed try may hold, and the
// participants may only first appear in their drawn order. False when no try is left so.
bool ReferenceGuesser::set_up_symmetry(Random& random) {
    std::vector<SignIndex> never_used;
    for (int sign = 1; sign <= shape_.set_size; ++sign)
        if (!used_[sign]) never_used.push_back(static_cast<SignIndex>(sign));
    if (never_used.size() < 2) return false;
    const auto order = drawn_order(never_used, random);
    const auto n = static_cast<std::size_t>(shape_.length);
    const std::size_t skipped = order.size() > n ? order.size() - n : 0;
    excluded_.assign(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(skipped));
    participants_.assign(order.begin() + static_cast<std::ptrdiff_t>(skipped), order.end());

    bool any = false;
    for (Node* node = tries_; node && !any; node = node->next_try) any = canonical(node->code);
    if (!any) return false;
    if (participants_.size() == n) {
        // The try of n fresh signs is weighed first.
        Code fresh;
        fresh.length = shape_.length;
        std::copy(participants_.begin(), participants_.end(), fresh.signs.begin());
        for (Node** link = &tries_; *link; link = &(*link)->next_try) {
            if ((*link)->code != fresh) continue;
            Node* node = *link;
            *link = node->next_try;
            node->next_try = tries_;
            tries_ = node;
            break;
        }
    }
    return true;
}

bool ReferenceGuesser::canonical(const Code& code) const {
    std::size_t next = 0;  // the participant that must come before any later one
    for (int position = 0; position < code.length; ++position) {
        const SignIndex sign = code.signs[position];
        if (std::find(excluded_.begin(), excluded_.end(), sign) != excluded_.end()) return false;
        const auto found = std::find(participants_.begin(), participants_.end(), sign);
        if (found == participants_.end()) continue;
        const auto index = static_cast<std::size_t>(found - participants_.begin());
        if (index > next) return false;
        if (index == next) ++next;
    }
    return true;
}

// ---------------------------------------------------------------- the response

bool ReferenceGuesser::apply(Response response, Random& random) {
    const int n = shape_.length;
    if (response.p == n) return true;
    const bool nothing = response.t == 0;
    if (!nothing) opening_ = false;

    std::vector<SignIndex> newly_absent;
    if (nothing) {
        const SignCounts in_try = occurrences(best_code_);
        for (int sign = shape_.set_size; sign >= 1; --sign) {
            if (!possible_[sign] || in_try[sign] == 0) continue;
            possible_[sign] = false;
            newly_absent.push_back(static_cast<SignIndex>(sign));
        }
        possible_count_ = count_of(possible_);
        if (!newly_absent.empty()) blank_ = newly_absent.back();
    }
    keep_candidates(best_code_, response);

    if (candidate_count_ <= 2) {
        opening_ = false;
        tries_ = candidates_;
        for (Node* node = candidates_; node; node = node->next_candidate) node->next_try = node->next_candidate;
        try_count_ = candidate_count_;
    } else {
        if (!opening_ && best_node_) unlink_try(best_node_);
        if (!fixed_multiset_ && !nothing) eliminate_signs(response, newly_absent);
        if (!newly_absent.empty()) {
            // Once, with fewer than three signs left, the last sign ruled out stays as a filler;
            // the first time a sign goes where vacant places are tried, the vacant sign goes
            // instead.
            const bool spare_filler = !keep_blank_done_ && n > 3 && count_of(possible_) < 3;
            keep_blank_done_ = keep_blank_done_ || spare_filler;
            if (spare_filler) newly_absent.pop_back();
            if (drop_vacant_pending_ && !newly_absent.empty()) {
                drop_vacant_pending_ = false;
                newly_absent.back() = kVacantIndex;
            }
            remove_tries_holding(newly_absent);
        }
    }
    if (opening_) {
        std::vector<SignIndex> possible;
        for (int sign = 1; sign <= shape_.set_size; ++sign)
            if (possible_[sign]) possible.push_back(static_cast<SignIndex>(sign));
        const auto positions = drawn_order(from_to(0, n - 1), random);
        const auto signs = drawn_order(possible, random);
        make_opening(positions, signs, blank_, static_cast<int>(signs.size()), true, random);
    }
    if (!shape_.repetition && possible_count_ == n) fixed_multiset_ = true;
    for (int position = 0; position < n; ++position) used_[best_code_.signs[position]] = true;
    used_[kVacantIndex] = false;
    return false;
}

void ReferenceGuesser::keep_candidates(const Code& try_code, Response response) {
    Node** link = &candidates_;
    candidate_count_ = 0;
    for (Node* node = candidates_; node; node = node->next_candidate) {
        if (score(try_code, node->code, node->counts) != response) continue;
        *link = node;
        link = &node->next_candidate;
        ++candidate_count_;
    }
    *link = nullptr;
}

// Signs no candidate holds any more are ruled out; after a response of T = n the candidates
// hold exactly the try's signs, and the set of signs stays fixed.
void ReferenceGuesser::eliminate_signs(Response response, std::vector<SignIndex>& newly_absent) {
    SignFlags present{};
    if (response.t == shape_.length) {
        fixed_multiset_ = true;
        for (int position = 0; position < shape_.length; ++position) present[best_code_.signs[position]] = true;
    } else {
        for (Node* node = candidates_; node; node = node->next_candidate)
            for (int position = 0; position < shape_.length; ++position) present[node->code.signs[position]] = true;
    }
    present[kVacantIndex] = false;
    possible_count_ = count_of(present);
    for (int sign = shape_.set_size; sign >= 1; --sign) {
        if (!possible_[sign] || present[sign]) continue;
        possible_[sign] = false;
        newly_absent.push_back(static_cast<SignIndex>(sign));
    }
}

void ReferenceGuesser::remove_tries_holding(const std::vector<SignIndex>& signs) {
    Node** link = &tries_;
    try_count_ = 0;
    for (Node* node = tries_; node; node = node->next_try) {
        if (std::any_of(signs.begin(), signs.end(), [&](SignIndex sign) { return node->counts[sign] != 0; }))
            continue;
        *link = node;
        link = &node->next_try;
        ++try_count_;
    }
    *link = nullptr;
}

void ReferenceGuesser::unlink_try(const Node* node) {
    for (Node** link = &tries_; *link; link = &(*link)->next_try) {
        if (*link != node) continue;
        *link = node->next_try;
        --try_count_;
        return;
    }
}
