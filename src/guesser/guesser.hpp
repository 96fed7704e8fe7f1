#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/candidate_list.hpp"
#include "core/class_table.hpp"
#include "core/random.hpp"
#include "core/scoring.hpp"
#include "guesser/guess_tables.hpp"
#include "guesser/measures.hpp"
#include "guesser/scratch_bytes.hpp"
#include "guesser/search_workers.hpp"

// The computer as codebreaker: every try it may play, the codes that may still be the
// answer, and what it has learnt, with the search for the next try. A plain value, so that
// a copy carries on a game on its own, random generator aside (between searches; copies share
// the workers).
class Guesser {
   public:
    enum class Applied { Continue, Won, Aborted };
    using EscapePoll = std::function<bool()>;

    explicit Guesser(const GuessShape& shape);
    ~Guesser();
    Guesser(const Guesser&) = default;
    Guesser(Guesser&&) = default;
    Guesser& operator=(const Guesser&) = default;
    Guesser& operator=(Guesser&&) = default;

    // Long searches weigh their tries on these threads; without them, on the caller's alone.
    // The workers must outlive every search of the guesser and its copies.
    void use_workers(SearchWorkers* workers) { workers_ = workers; }
    // Called at least every tenth of a second through the long passes over the tries list
    // outside the evaluation of tries; true breaks the pass off, and the search or the
    // response with it (broken_off()).
    void use_pulse(SearchWorkers::Pulse pulse) { pulse_ = std::move(pulse); }
    bool broken_off() const { return broken_off_; }

    // The tables and the first opening try. Draws the opening's relabelling, then the
    // relabelling the tries are stored through, then the shuffle.
    BuildResult build(Random& random, std::uint64_t memory_available, const BuildHooks& hooks);
    void release();

    const GuessShape& shape() const { return shape_; }
    bool opening_phase() const { return opening_; }
    bool fixed_multiset() const { return fixed_multiset_; }
    std::int32_t tries_count() const { return static_cast<std::int32_t>(tries_.size()); }
    std::size_t candidate_count() const { return candidates_.size(); }
    bool one_candidate_left() const { return tries_.size() == 1 || candidates_.size() == 1; }
    Code candidate(std::size_t entry) const { return candidates_.code(entry); }
    const std::vector<std::int32_t>& tries() const { return tries_; }
    Code try_code(std::int32_t number) const { return table_.code(number); }
    const SignFlags& possible_signs() const { return possible_; }
    int possible_sign_count() const { return possible_count_; }
    SignIndex blank_sign() const { return blank_; }
    const Code& opening_try() const { return opening_code_; }
    std::uint64_t scorings() const { return scorings_; }

    // Sets a search up: ends the opening phase for two candidates, makes the symmetry pass
    // when it may, and resets the best try. Returns the try to show first; unless the pulse
    // broke it off, which leaves nothing to search.
    Code begin_search(Random& random);
    // The tries this search has to evaluate, and how many it has.
    std::int32_t to_evaluate() const { return to_evaluate_; }
    std::int32_t evaluated() const { return evaluated_; }
    bool search_done() const {
        if (opening_) return opening_searched_;
        if (reduction_) return evaluated_ >= to_evaluate_;
        return cursor_ >= tries_.size();
    }
    // Evaluates the next try of the search and weighs it against the best; says whether it
    // became the best. With workers the tries further on are being evaluated meanwhile.
    bool evaluate_next(Random& random);
    // After the last evaluation, or when the search was stopped early: the workers stop and
    // the chosen try's classes are counted.
    void end_search();

    const Code& chosen() const { return best_code_; }
    const ClassTable& chosen_classes() const { return best_classes_; }
    const Measures& chosen_measures() const { return best_; }

    // What the response to the chosen try tells; the poll is asked where the filtering
    // looks at the keyboard. Aborted also when the pulse broke a pass off.
    Applied apply(Response response, Random& random, const EscapePoll& escape_requested = {});

   private:
    static BoundedClasses weigh_place(const void* guesser, std::size_t place, const ClassBound& bound);
    void stop_workers();
    bool over_tries(SearchWorkers::RangeTask task, void* context);
    // After a long step of the filtering: whether the pulse breaks it off.
    bool pulse_breaks_off(std::size_t list_length);
    static void mark_canonical(void* pass, std::size_t first, std::size_t last);
    static void mark_kept(void* pruning, std::size_t first, std::size_t last);
    BoundedClasses evaluate(const Code& code, const ClassBound& bound) const;
    // The candidates' common multiset, once every candidate holds the same signs.
    void note_multiset();
    std::optional<int> known_total(const Code& code) const;
    void weigh(const Code& code, std::int32_t number, std::size_t place, const Measures& measures,
               Random& random, bool& became_best);
    void symmetry_pass(Random& random, Code& shown);
    bool canonical(const Code& code) const;
    void build_opening(const Relabelling& labels, int sign_count, bool vacant_pattern,
                       Random& random);
    void prepare_follow_up_opening(Random& random);
    void keep_only_candidates();
    // And the try at played_place, unless that is past the list.
    bool remove_tries_holding(const std::vector<SignIndex>& signs, std::size_t played_place);

    GuessShape shape_;
    TryTable table_;
    std::vector<std::int32_t> tries_;
    ScratchBytes marks_;  // per place of the tries list: canonical, or kept
    CandidateList candidates_;
    SignFlags possible_{};
    SignFlags used_{};
    int possible_count_ = 0;

    bool opening_ = true;
    bool fixed_multiset_ = false;
    bool keep_blank_done_ = false;
    bool drop_vacant_pending_ = false;
    SignIndex blank_ = 0;
    Code opening_code_;
    SignCounts multiset_{};  // of the possible signs; what note_multiset found

    // One search.
    bool reduction_ = false;
    std::vector<std::uint8_t> participants_;  // in the order their first places must follow
    // Per sign: its place in participants_, or one of these.
    static constexpr std::uint8_t kNoRank = 0xFF;
    static constexpr std::uint8_t kExcluded = 0xFE;
    std::array<std::uint8_t, kRingSize + 1> symmetry_rank_{};
    std::size_t cursor_ = 0;
    bool opening_searched_ = false;
    std::int32_t to_evaluate_ = 0;
    std::int32_t evaluated_ = 0;
    std::uint32_t tie_counter_ = 2;
    Measures best_;
    Code best_code_;
    std::int32_t best_number_ = -1;  // -1: the opening try
    std::size_t best_place_ = 0;     // its place in the tries list
    ClassTable best_classes_;
    // The candidates hold their responses to the chosen try, counted by end_search.
    bool responses_stored_ = false;
    std::uint64_t scorings_ = 0;
    SearchWorkers* workers_ = nullptr;
    SearchWorkers::Pulse pulse_;
    bool broken_off_ = false;
    bool on_workers_ = false;  // this search is weighed on the workers
};
