#include "reference_encoder.hpp"

#include <algorithm>

ReferenceEncoder::ReferenceEncoder(const CodeSet& set) : set_(set) {
    responses_.build(set.code_length);
    Code code;
    code.length = set.code_length;
    SignFlags used{};
    add_codes(code, 0, used);
}

ReferenceEncoder::~ReferenceEncoder() {
    while (built_) {
        Node* next = built_->next_built;
        delete built_;
        built_ = next;
    }
}

void ReferenceEncoder::add_codes(Code& code, int position, SignFlags& used) {
    if (position == set_.code_length) {
        Node* node = new Node{built_, candidates_, {}, 0};
        std::copy(code.signs.begin(), code.signs.end(), node->signs);
        built_ = candidates_ = node;
        ++size_;
        return;
    }
    for (int sign = 1; sign <= set_.set_size; ++sign) {
        if (!set_.repetition && used[sign]) continue;
        code.signs[position] = static_cast<SignIndex>(sign);
        used[sign] = true;
        add_codes(code, position + 1, used);
        used[sign] = false;
    }
}

ClassTable ReferenceEncoder::classify(const Code& try_code) {
    ClassTable classes;
    Code candidate;
    candidate.length = set_.code_length;
    for (Node* node = candidates_; node; node = node->next_candidate) {
        std::copy(node->signs, node->signs + set_.code_length, candidate.signs.begin());
        const Response response =
            score(try_code, candidate, sign_counts(candidate, set_.set_size, false));
        node->response = static_cast<std::uint8_t>(response.t * 16 + response.p);
        classes.add(response);
    }
    return classes;
}

Response ReferenceEncoder::answer(const Code& try_code) {
    const ClassTable classes = classify(try_code);
    Response best = responses_.entry(1);
    for (int number = 2; number <= responses_.entry_count(); ++number)
        if (classes.count(responses_.entry(number)) > classes.count(best))
            best = responses_.entry(number);
    const std::uint8_t wanted = static_cast<std::uint8_t>(best.t * 16 + best.p);
    Node** link = &candidates_;
    size_ = 0;
    while (*link) {
        if ((*link)->response == wanted) {
            link = &(*link)->next_candidate;
            ++size_;
        } else {
            *link = (*link)->next_candidate;
        }
    }
    return best;
}
