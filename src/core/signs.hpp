#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// A sign's place in the current stretch: 1..36 from the first sign; 0 is the vacant sign.
using SignIndex = std::uint8_t;

inline constexpr int kRingSize = 36;
inline constexpr int kMaxCodeLength = 9;
inline constexpr SignIndex kVacantIndex = 0;
inline constexpr char kVacantSign = '*';
// What the index table holds for characters that are not signs.
inline constexpr SignIndex kNotASign = 255;

// Only digits and lower-case letters are signs; upper case must be folded by the reader.
bool is_ring_sign(char c);
// a..z -> 0..25, 0..9 -> 26..35; -1 for anything that is not a sign.
int ring_place(char c);
char sign_at_place(int place);

// The stretch of the ring that is the set of signs, with the tables that go between
// characters and indices. Every mutation keeps the tables in step with the first sign.
class SignRing {
   public:
    SignRing() : SignRing('0', '9') {}
    // first and last are two different ring signs.
    SignRing(char first, char last);

    void rebuild_sign_tables();

    // 1..36 for a ring sign (above set_size() when outside the set), kNotASign otherwise.
    SignIndex index_of_sign(char c) const { return index_of_char_[static_cast<unsigned char>(c)]; }
    // '*' for 0; index must be 0..36.
    char sign_of_index(SignIndex index) const { return sign_string_[index]; }
    bool in_set(char c) const;

    int set_size() const { return set_size_; }
    char first_sign() const { return first_; }
    char last_sign() const { return sign_of_index(static_cast<SignIndex>(set_size_)); }
    // 37 characters: '*' and then the signs of index 1..36.
    std::string_view sign_string() const { return {sign_string_.data(), sign_string_.size()}; }
    // The set in index order, as the screens show it.
    std::string_view set_signs() const { return sign_string().substr(1, set_size_); }

    void set_stretch(char first, char last);
    // The set keeps its size and moves along the ring; the last sign follows.
    void move_first_sign(char new_first);
    // new_last must differ from the first sign; the set grows or shrinks to it.
    void set_last_sign(char new_last);

   private:
    char first_;
    int set_size_ = 0;
    std::array<char, kRingSize + 1> sign_string_{};
    std::array<SignIndex, 256> index_of_char_{};
};

// The working form of a code or try: `length` sign indices, 0 for a vacant position.
// Unused positions stay 0 so that equal codes compare equal.
struct Code {
    int length = 0;
    std::array<SignIndex, kMaxCodeLength> signs{};

    SignIndex operator[](int position) const { return signs[position]; }
    friend bool operator==(const Code&, const Code&) = default;
};

// Reads the first `length` characters of the 9-character form: signs of the set and '*'
// for vacant. Nothing when a character is neither or the text is too short.
std::optional<Code> code_from_text(std::string_view text, int length, const SignRing& ring);
// The 9-character form: the signs ('*' for vacant), blanks after the last position.
std::string text_of_code(const Code& code, const SignRing& ring);

// The sign with the lowest index that none of the given signs is; in permutation mode
// the given n - 1 signs of a code leave exactly this one for the last position.
// Fewer than 36 signs may be given.
SignIndex first_free_sign(std::span<const SignIndex> given);
// The same for the signs as characters; only the first nine given count.
char first_free_sign(const SignRing& ring, std::string_view given_signs);
