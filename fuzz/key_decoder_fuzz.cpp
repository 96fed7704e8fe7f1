// Random byte streams with random pauses through the key decoder.
//
// The input is a row of chunks. A chunk's first byte says how many bytes follow (its low six
// bits, plus one) and, in bit 7, whether a pause comes after them; so every byte value can
// reach the decoder.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>

#include "platform/key_decoder.hpp"

namespace {

constexpr std::uint8_t kLengthBits = 0x3F;
constexpr std::uint8_t kPauseBit = 0x80;

void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "key decoder: %s\n", what);
    std::abort();
}

bool is_decodable_scan_code(std::uint8_t code) {
    const std::span<const std::uint8_t> codes = decodable_scan_codes();
    return std::binary_search(codes.begin(), codes.end(), code);
}

// What the decoder documents: ordinary codes 1..127 (NUL announces an extended key, bytes
// above 127 are dropped), extended keys only with the scan codes of its tables.
void require_known(const Key& key) {
    if (key.extended) {
        require(is_decodable_scan_code(key.code), "extended key with an unknown scan code");
    } else {
        require(key.code >= 1 && key.code <= 127, "ordinary key outside 1..127");
    }
}

class CheckedDecoder {
public:
    void feed(std::uint8_t byte) {
        decoder_.feed(byte);
        ++bytes_fed_;
        take_keys();
    }

    void pause() {
        decoder_.timeout();
        require(!decoder_.pending_incomplete(), "still pending after a pause");
        take_keys();
    }

private:
    // Taking keys at once leaves the decoding as it is: the queue is apart from the state.
    void take_keys() {
        while (decoder_.has_key()) {
            const std::optional<Key> key = decoder_.next();
            require(key.has_value(), "has_key() but next() gives nothing");
            require_known(*key);
            ++keys_taken_;
        }
        require(!decoder_.next().has_value(), "next() gives a key after has_key() said none");
        require(keys_taken_ <= bytes_fed_, "more keys than bytes");
    }

    KeyDecoder decoder_;
    std::size_t bytes_fed_ = 0;
    std::size_t keys_taken_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckedDecoder decoder;
    std::size_t at = 0;
    while (at < size) {
        const std::uint8_t header = data[at++];
        const std::size_t length = std::min<std::size_t>((header & kLengthBits) + 1u, size - at);
        for (std::size_t i = 0; i < length; ++i) decoder.feed(data[at + i]);
        at += length;
        if (header & kPauseBit) decoder.pause();
    }
    decoder.pause();
    return 0;
}
