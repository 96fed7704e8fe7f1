#pragma once

#include <cstddef>
#include <cstdint>

#include "core/candidate_list.hpp"
#include "core/class_table.hpp"
#include "core/scoring.hpp"

// The computer's variable answer done the plain way, to measure the candidate list against:
// one heap node per code in a linked list, every candidate's signs counted afresh on every
// pass, unwanted nodes unlinked.
class ReferenceEncoder {
   public:
    explicit ReferenceEncoder(const CodeSet& set);
    ~ReferenceEncoder();
    ReferenceEncoder(const ReferenceEncoder&) = delete;
    ReferenceEncoder& operator=(const ReferenceEncoder&) = delete;

    std::size_t size() const { return size_; }
    // Stores each candidate's response and counts it in its class.
    ClassTable classify(const Code& try_code);
    // The largest class (the table's first among equals); the candidates are narrowed to it.
    Response answer(const Code& try_code);

   private:
    struct Node {
        Node* next_built;
        Node* next_candidate;
        SignIndex signs[kMaxCodeLength];
        std::uint8_t response;
    };

    void add_codes(Code& code, int position, SignFlags& used);

    CodeSet set_;
    ResponseTable responses_;
    Node* built_ = nullptr;
    Node* candidates_ = nullptr;
    std::size_t size_ = 0;
};
