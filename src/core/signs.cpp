#include "core/signs.hpp"

#include <algorithm>

namespace {

constexpr int kLetterCount = 26;

}  // namespace

bool is_ring_sign(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

int ring_place(char c) {
    if (c >= 'a' && c <= 'z') return c - 'a';
    if (c >= '0' && c <= '9') return kLetterCount + (c - '0');
    return -1;
}

char sign_at_place(int place) {
    const int p = ((place % kRingSize) + kRingSize) % kRingSize;
    return p < kLetterCount ? static_cast<char>('a' + p)
                            : static_cast<char>('0' + (p - kLetterCount));
}

SignRing::SignRing(char first, char last) : first_(first) {
    index_of_char_.fill(kNotASign);
    set_stretch(first, last);
}

void SignRing::rebuild_sign_tables() {
    const int first_place = ring_place(first_);
    sign_string_[0] = kVacantSign;
    for (int index = 1; index <= kRingSize; ++index) {
        const char sign = sign_at_place(first_place + index - 1);
        sign_string_[index] = sign;
        index_of_char_[static_cast<unsigned char>(sign)] = static_cast<SignIndex>(index);
    }
}

// Every character that is not a sign indexes as 255, beyond any set.
bool SignRing::in_set(char c) const { return index_of_sign(c) <= set_size_; }

void SignRing::set_stretch(char first, char last) {
    first_ = first;
    rebuild_sign_tables();
    set_size_ = index_of_sign(last);
}

void SignRing::move_first_sign(char new_first) {
    first_ = new_first;
    rebuild_sign_tables();
}

void SignRing::set_last_sign(char new_last) { set_size_ = index_of_sign(new_last); }

std::optional<Code> code_from_text(std::string_view text, int length, const SignRing& ring) {
    if (length < 0 || length > kMaxCodeLength || text.size() < static_cast<std::size_t>(length))
        return std::nullopt;
    Code code;
    code.length = length;
    for (int position = 0; position < length; ++position) {
        const char c = text[position];
        if (c == kVacantSign) {
            code.signs[position] = kVacantIndex;
        } else if (ring.in_set(c)) {
            code.signs[position] = ring.index_of_sign(c);
        } else {
            return std::nullopt;
        }
    }
    return code;
}

std::string text_of_code(const Code& code, const SignRing& ring) {
    std::string text(kMaxCodeLength, ' ');
    for (int position = 0; position < code.length; ++position)
        text[position] = ring.sign_of_index(code[position]);
    return text;
}

SignIndex first_free_sign(std::span<const SignIndex> given) {
    SignIndex candidate = 1;
    while (std::find(given.begin(), given.end(), candidate) != given.end()) ++candidate;
    return candidate;
}

char first_free_sign(const SignRing& ring, std::string_view given_signs) {
    // A code holds at most nine signs, so the answer always lies inside the ring.
    std::array<SignIndex, kMaxCodeLength> given{};
    const std::size_t count = std::min(given_signs.size(), given.size());
    for (std::size_t i = 0; i < count; ++i) given[i] = ring.index_of_sign(given_signs[i]);
    return ring.sign_of_index(first_free_sign(std::span<const SignIndex>(given.data(), count)));
}
