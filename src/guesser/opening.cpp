#include "guesser/opening.hpp"

#include <span>
#include <string_view>

namespace {

// A pattern holds for every sign count up to and including `last_count`.
struct Run {
    int last_count;
    std::string_view pattern;
};

constexpr Run kLength2Without[] = {{36, "ab"}};
constexpr Run kLength2With[] = {{36, "ab"}};  // two signs are drawn, see opening_pattern
constexpr Run kLength3Without[] = {{4, "aab"}, {36, "abc"}};
constexpr Run kLength3With[] = {{3, "aab"}, {36, "abc"}};
constexpr Run kLength4Without[] = {{3, "aaab"},  {5, "aabb"},  {6, "abcd"}, {7, "aabc"},
                                   {18, "abcd"}, {19, "aabc"}, {36, "abcd"}};
constexpr Run kLength4With[] = {{3, "aaab"},  {5, "aabc"},  {6, "aabb"},  {11, "abcd"},
                                {12, "aabc"}, {13, "abcd"}, {14, "aabc"}, {15, "abcd"},
                                {16, "aabc"}, {36, "abcd"}};
constexpr Run kLength5Without[] = {{2, "aaaab"},  {4, "aaabc"},  {5, "abcde"},  {6, "aaabc"},
                                   {7, "aaabb"},  {8, "aabcd"},  {9, "aabbc"},  {10, "abcde"},
                                   {12, "aabcd"}, {20, "abcde"}, {29, "aabcd"}, {36, "abcde"}};
constexpr Run kLength5With[] = {{2, "aaaab"},  {4, "aaabc"},  {5, "aabbc"},
                                {6, "aabcd"},  {7, "aabbc"},  {10, "aabcd"},
                                {20, "abcde"}, {26, "aabcd"}, {36, "abcde"}};
constexpr Run kLength6Without[] = {
    {2, "aaaaab"},  {3, "aaaabc"},  {4, "aaabbc"},  {5, "aabbcc"},  {6, "abcdef"},  {7, "aabbcc"},
    {8, "aaabbb"},  {9, "aaabcd"},  {10, "abcdef"}, {12, "aabcde"}, {13, "abcdef"}, {14, "aabcde"},
    {15, "abcdef"}, {18, "aabcde"}, {30, "abcdef"}, {34, "aabcde"}, {36, "abcdef"}};
constexpr Run kLength6With[] = {{2, "aaaaab"},  {3, "aaaabc"},  {4, "aaabbc"},  {5, "aabbcc"},
                                {6, "aaabbc"},  {9, "aabbcc"},  {12, "aabbcd"}, {15, "aabcde"},
                                {27, "abcdef"}, {31, "aabcde"}, {36, "abcdef"}};
constexpr Run kLength7Without[] = {
    {2, "aaaaaab"},  {3, "aaaabbc"},  {5, "aaabbcc"},  {6, "aabbccd"},
    {7, "abcdefg"},  {8, "aaabbcd"},  {9, "aabcdef"},  {10, "aaabcde"},
    {11, "aaaabcd"}, {12, "aaaabbc"}, {13, "aaabcde"}, {14, "abcdefg"},
    {16, "aabcdef"}, {21, "abcdefg"}, {24, "aabcdef"}, {36, "abcdefg"}};
constexpr Run kLength7With[] = {{2, "aaaaaab"},  {3, "aaaabbc"},  {5, "aaabbcc"},  {6, "aabbccd"},
                                {7, "aaabbbc"},  {8, "aaabbcc"},  {9, "aabbccd"},  {10, "aabbcde"},
                                {13, "aabbccd"}, {15, "abcdefg"}, {17, "aabbcde"}, {21, "aabcdef"},
                                {33, "abcdefg"}, {35, "aabbcde"}, {36, "abcdefg"}};
constexpr Run kLength8Without[] = {
    {2, "aaaaaabb"},  {3, "aaaaabbc"},  {4, "aaaabbcd"},  {5, "aaaabbbb"},  {6, "aaabbbcc"},
    {7, "aaabbbcd"},  {8, "abcdefgh"},  {9, "aabbccdd"},  {10, "aaaabbbc"}, {11, "aaabbcde"},
    {12, "aaaabbcd"}, {13, "aaabcdef"}, {14, "abcdefgh"}, {16, "aabcdefg"}, {19, "abcdefgh"},
    {21, "aabcdefg"}, {26, "abcdefgh"}, {27, "aaabcdef"}, {28, "abcdefgh"}, {32, "aabcdefg"},
    {36, "abcdefgh"}};
constexpr Run kLength8With[] = {
    {2, "aaaaaabb"},  {3, "aaaaabbc"},  {4, "aaaabbcd"},  {5, "aaaabbbb"},  {6, "aaabbbcc"},
    {7, "aaabbbcd"},  {11, "aabbccdd"}, {12, "aabbccde"}, {15, "aabbccdd"}, {17, "aabcdefg"},
    {18, "aabbccde"}, {21, "abcdefgh"}, {24, "aabbcdef"}, {28, "aabcdefg"}, {36, "abcdefgh"}};
constexpr Run kLength9Without[] = {
    {2, "aaaaaaabb"},  {3, "aaaaaabbc"},  {4, "aaaaabbcd"},  {5, "aaaabbbbc"},  {7, "aaabbbccc"},
    {8, "aaabbccde"},  {9, "abcdefghi"},  {10, "aaaabbcde"}, {11, "aaabcdefg"}, {12, "aaaabbcde"},
    {13, "aaaaabcde"}, {14, "aaabcdefg"}, {15, "aaaabcdef"}, {16, "aaaaabcde"}, {17, "aaabcdefg"},
    {18, "abcdefghi"}, {20, "aabcdefgh"}, {22, "abcdefghi"}, {23, "aaabcdefg"}, {24, "abcdefghi"},
    {27, "aabcdefgh"}, {34, "abcdefghi"}, {35, "aaabcdefg"}, {36, "abcdefghi"}};
constexpr Run kLength9With[] = {
    {2, "aaaaaaabb"},  {3, "aaaaaabbc"},  {4, "aaaaabbcd"},  {5, "aaaabbbbc"},
    {7, "aaabbbccc"},  {8, "aaabbccde"},  {9, "aaabbbccd"},  {12, "aaabbccdd"},
    {15, "aabbccdde"}, {17, "aabbccdef"}, {18, "abcdefghi"}, {20, "aabbcdefg"},
    {23, "aabcdefgh"}, {28, "abcdefghi"}, {31, "aabbcdefg"}, {36, "aabcdefgh"}};

std::span<const Run> runs_of(int n, bool repetition) {
    switch (n) {
        case 2:
            return repetition ? std::span<const Run>(kLength2With) : kLength2Without;
        case 3:
            return repetition ? std::span<const Run>(kLength3With) : kLength3Without;
        case 4:
            return repetition ? std::span<const Run>(kLength4With) : kLength4Without;
        case 5:
            return repetition ? std::span<const Run>(kLength5With) : kLength5Without;
        case 6:
            return repetition ? std::span<const Run>(kLength6With) : kLength6Without;
        case 7:
            return repetition ? std::span<const Run>(kLength7With) : kLength7Without;
        case 8:
            return repetition ? std::span<const Run>(kLength8With) : kLength8Without;
        case 9:
            return repetition ? std::span<const Run>(kLength9With) : kLength9Without;
        default:
            return {};
    }
}

bool is_drawn(int n, int c, bool repetition) { return n == 2 && c == 2 && repetition; }

// Over two signs with the blank in play, the last position is left blank from length 4.
constexpr std::string_view kTwoSignsWithBlank[] = {"aaa*",    "aaab*",    "aaaab*",
                                                   "aaaaab*", "aaaaaab*", "aaaaaaab*"};
constexpr int kFirstBlankLength = 4;

// The pattern wherever no draw is involved.
std::string fixed_pattern(int n, int c, bool repetition, bool vacant) {
    if (c < 2 || c > kRingSize) return {};
    if (vacant && c == 2 && n >= kFirstBlankLength && n <= kMaxCodeLength)
        return std::string(kTwoSignsWithBlank[n - kFirstBlankLength]);
    for (const Run& run : runs_of(n, repetition))
        if (c <= run.last_count) return std::string(run.pattern);
    return {};
}

}  // namespace

std::string opening_pattern(int n, int c, bool repetition, bool vacant, Random& random) {
    if (is_drawn(n, c, repetition)) return random.uniform(2) == 0 ? "aa" : "ab";
    return fixed_pattern(n, c, repetition, vacant);
}

std::string opening_display(int n, const SignRing& ring, bool repetition, bool vacant) {
    constexpr std::size_t width = 12;
    const int s = ring.set_size();
    if (n < 2 || n > kMaxCodeLength || is_drawn(n, s, repetition)) return std::string(width, ' ');
    std::string text(static_cast<std::size_t>(kMaxCodeLength - n), ' ');
    text += '(';
    for (const char letter : fixed_pattern(n, s, repetition, vacant))
        text += letter == kVacantSign
                    ? kVacantSign
                    : ring.sign_of_index(static_cast<SignIndex>(letter - 'a' + 1));
    text += ") ";
    return text;
}
