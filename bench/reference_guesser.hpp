#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "core/candidate_list.hpp"
#include "core/class_table.hpp"
#include "core/random.hpp"
#include "core/scoring.hpp"
#include "guesser/guess_tables.hpp"

// The computer as codebreaker done the plain way, to measure the guesser against and to check
// its choices: one heap node per try, the tries list and the candidate chain linked through
// the nodes, every candidate scored afresh and the cut-off looked at after each one. It takes
// the same draws from Random as the guesser, so from the same seed it must play the same tries.
class ReferenceGuesser {
   public:
    explicit ReferenceGuesser(const GuessShape& shape);
    ~ReferenceGuesser();
    ReferenceGuesser(const ReferenceGuesser&) = delete;
    ReferenceGuesser& operator=(const ReferenceGuesser&) = delete;

    // Draws the opening's relabelling, then the storage relabelling, then the shuffle.
    void build(Random& random);

    bool opening_phase() const { return opening_; }
    bool one_candidate_left() const { return try_count_ == 1 || candidate_count_ == 1; }
    Code first_candidate() const { return candidates_->code; }
    std::uint64_t scorings() const { return scorings_; }

    // Weighs the opening try, or every try of the list the symmetry leaves.
    void search(Random& random);
    const Code& chosen() const { return best_code_; }
    const ClassTable& chosen_classes() const { return best_classes_; }

    // What the response to the chosen try tells; true when it was the answer.
    bool apply(Response response, Random& random);

   private:
    struct Node {
        Code code;
        SignCounts counts;  // of every index, the vacant one included
        Node* next_try = nullptr;
        Node* next_candidate = nullptr;
    };

    struct Measures {
        std::int32_t max = std::numeric_limits<std::int32_t>::max();
        std::int64_t sum_of_squares = std::numeric_limits<std::int64_t>::max();
        int classes = 0;
        bool win = false;
        friend bool operator==(const Measures&, const Measures&) = default;
    };

    void make_opening(const std::vector<SignIndex>& positions, const std::vector<SignIndex>& signs,
                      SignIndex blank, int sign_count, bool vacant_pattern, Random& random);
    void weigh(const Code& code, Node* node, Random& random);
    bool set_up_symmetry(Random& random);
    bool canonical(const Code& code) const;
    void keep_candidates(const Code& try_code, Response response);
    void eliminate_signs(Response response, std::vector<SignIndex>& newly_absent);
    void remove_tries_holding(const std::vector<SignIndex>& signs);
    void unlink_try(const Node* node);

    GuessShape shape_;
    std::vector<Node*> nodes_;  // by try number, for the build and the clean-up only
    Node* tries_ = nullptr;
    Node* candidates_ = nullptr;
    std::size_t try_count_ = 0;
    std::size_t candidate_count_ = 0;

    SignFlags possible_{};
    SignFlags used_{};
    int possible_count_ = 0;
    bool opening_ = true;
    bool fixed_multiset_ = false;
    bool keep_blank_done_ = false;
    bool drop_vacant_pending_ = false;
    SignIndex blank_ = kVacantIndex;
    Code opening_code_;

    std::vector<SignIndex> excluded_;
    std::vector<SignIndex> participants_;
    Measures best_;
    std::uint32_t tie_counter_ = 2;
    Code best_code_;
    Node* best_node_ = nullptr;  // null for the opening try
    ClassTable best_classes_;
    std::uint64_t scorings_ = 0;
};
