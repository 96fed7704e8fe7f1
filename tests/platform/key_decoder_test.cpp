#include "platform/key_decoder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

Key plain(int code) { return Key{static_cast<std::uint8_t>(code), false}; }
Key ext(int code) { return Key{static_cast<std::uint8_t>(code), true}; }

std::string printable(std::string_view bytes) {
    std::string text;
    for (unsigned char ch : bytes) {
        if (ch == 0x1B) {
            text += "ESC ";
        } else if (ch < 0x20 || ch >= 0x7F) {
            text += "\\x" + std::to_string(ch) + ' ';
        } else {
            text += static_cast<char>(ch);
        }
    }
    return text;
}

std::vector<Key> drain(KeyDecoder& decoder) {
    std::vector<Key> keys;
    while (std::optional<Key> key = decoder.next()) keys.push_back(*key);
    return keys;
}

// Feeds the bytes in one burst; `pause` adds the quiet time that follows a key press.
std::vector<Key> decode(std::string_view bytes, bool pause = false) {
    KeyDecoder decoder;
    for (unsigned char ch : bytes) decoder.feed(ch);
    if (pause) decoder.timeout();
    return drain(decoder);
}

struct Case {
    const char* what;
    std::string bytes;
    Key key;
};

const std::vector<Case>& terminal_cases() {
    static const std::vector<Case> cases = {
        // xterm and the terminals that copy it (CSI/SS3 with modifier parameters)
        {"xterm Up", "\x1b[A", ext(72)},
        {"xterm Up, application mode", "\x1bOA", ext(72)},
        {"xterm Down", "\x1b[B", ext(80)},
        {"xterm Right", "\x1b[C", ext(77)},
        {"xterm Left", "\x1b[D", ext(75)},
        {"xterm Shift-Up", "\x1b[1;2A", ext(72)},
        {"xterm Shift-Left", "\x1b[1;2D", ext(75)},
        {"xterm Ctrl-Up", "\x1b[1;5A", ext(141)},
        {"xterm Ctrl-Down", "\x1b[1;5B", ext(145)},
        {"xterm Ctrl-Left", "\x1b[1;5D", ext(115)},
        {"xterm Ctrl-Right", "\x1b[1;5C", ext(116)},
        {"xterm Alt-Up", "\x1b[1;3A", ext(152)},
        {"xterm Alt-Down", "\x1b[1;3B", ext(160)},
        {"xterm Alt-Left", "\x1b[1;3D", ext(155)},
        {"xterm Alt-Right", "\x1b[1;3C", ext(157)},
        {"xterm Meta-Left", "\x1b[1;9D", ext(155)},
        {"xterm Ctrl-Alt-Left", "\x1b[1;7D", ext(115)},
        {"xterm F1", "\x1bOP", ext(59)},
        {"xterm Shift-F1", "\x1b[1;2P", ext(84)},
        {"xterm Ctrl-F1", "\x1b[1;5P", ext(94)},
        {"xterm Alt-F1", "\x1b[1;3P", ext(104)},
        {"xterm F2", "\x1bOQ", ext(60)},
        {"xterm F3", "\x1bOR", ext(61)},
        {"xterm F4", "\x1bOS", ext(62)},
        {"xterm Shift-F4", "\x1b[1;2S", ext(87)},
        {"xterm Ctrl-F4", "\x1b[1;5S", ext(97)},
        {"xterm Alt-F4", "\x1b[1;3S", ext(107)},
        {"xterm F5", "\x1b[15~", ext(63)},
        {"xterm F6", "\x1b[17~", ext(64)},
        {"xterm Shift-F6", "\x1b[17;2~", ext(89)},
        {"xterm Ctrl-F6", "\x1b[17;5~", ext(99)},
        {"xterm Alt-F6", "\x1b[17;3~", ext(109)},
        {"xterm F7", "\x1b[18~", ext(65)},
        {"xterm F8", "\x1b[19~", ext(66)},
        {"xterm F9", "\x1b[20~", ext(67)},
        {"xterm F10", "\x1b[21~", ext(68)},
        {"xterm F11", "\x1b[23~", ext(133)},
        {"xterm F12", "\x1b[24~", ext(134)},
        {"xterm PgUp", "\x1b[5~", ext(73)},
        {"xterm Ctrl-PgUp", "\x1b[5;5~", ext(132)},
        {"xterm Alt-PgUp", "\x1b[5;3~", ext(153)},
        {"xterm PgDn", "\x1b[6~", ext(81)},
        {"xterm Ctrl-PgDn", "\x1b[6;5~", ext(118)},
        {"xterm Alt-PgDn", "\x1b[6;3~", ext(161)},
        {"xterm Del", "\x1b[3~", ext(83)},
        {"xterm Alt-Del", "\x1b[3;3~", ext(163)},
        {"xterm Ctrl-Del", "\x1b[3;5~", ext(6)},
        {"xterm Shift-Del", "\x1b[3;2~", ext(7)},
        {"xterm Ins", "\x1b[2~", ext(82)},
        {"xterm Home", "\x1b[H", ext(71)},
        {"xterm Home, application mode", "\x1bOH", ext(71)},
        {"xterm End", "\x1b[F", ext(79)},
        {"xterm End, application mode", "\x1bOF", ext(79)},
        {"xterm Shift-Tab", "\x1b[Z", ext(15)},
        {"old xterm Ctrl-Left", "\x1bO5D", ext(115)},
        {"old xterm Shift-F1", "\x1bO2P", ext(84)},
        {"xterm modifyOtherKeys Ctrl-Backspace (DEL)", "\x1b[27;5;127~", plain(127)},
        {"xterm modifyOtherKeys Ctrl-Backspace (BS)", "\x1b[27;5;8~", plain(127)},
        {"xterm modifyOtherKeys Ctrl-C", "\x1b[27;5;99~", plain(3)},
        {"xterm modifyOtherKeys Enter", "\x1b[27;2;13~", plain(13)},
        {"CSI-u Ctrl-Backspace", "\x1b[127;5u", plain(127)},
        {"CSI-u Backspace", "\x1b[127u", plain(8)},
        {"CSI-u Esc", "\x1b[27u", plain(27)},
        {"CSI-u Enter", "\x1b[13u", plain(13)},
        {"CSI-u Ctrl-C", "\x1b[99;5u", plain(3)},
        {"CSI-u Shift-a", "\x1b[97;2u", plain('A')},
        {"CSI-u Ctrl-H with event sub-parameter", "\x1b[104;5:1u", plain(8)},
        {"keypad Enter, application mode", "\x1bOM", plain(13)},
        {"keypad 0, application mode", "\x1bOp", plain('0')},
        {"keypad 9, application mode", "\x1bOy", plain('9')},
        {"keypad +, application mode", "\x1bOk", plain('+')},
        // Linux console
        {"linux F1", "\x1b[[A", ext(59)},
        {"linux F2", "\x1b[[B", ext(60)},
        {"linux F3", "\x1b[[C", ext(61)},
        {"linux F4", "\x1b[[D", ext(62)},
        {"linux F5", "\x1b[[E", ext(63)},
        {"linux Shift-F3 (F13)", "\x1b[25~", ext(86)},
        {"linux Shift-F4 (F14)", "\x1b[26~", ext(87)},
        {"linux Shift-F6 (F16)", "\x1b[29~", ext(89)},
        {"linux Home", "\x1b[1~", ext(71)},
        {"linux End", "\x1b[4~", ext(79)},
        // rxvt / urxvt
        {"rxvt F1", "\x1b[11~", ext(59)},
        {"rxvt F4", "\x1b[14~", ext(62)},
        {"rxvt Ctrl-F1", "\x1b[11^", ext(94)},
        {"rxvt Ctrl-F4", "\x1b[14^", ext(97)},
        {"rxvt Ctrl-F6", "\x1b[17^", ext(99)},
        {"rxvt Alt-F1", "\x1b\x1b[11~", ext(104)},
        {"rxvt Alt-F4", "\x1b\x1b[14~", ext(107)},
        {"rxvt Alt-F6", "\x1b\x1b[17~", ext(109)},
        {"rxvt Shift-F4", "\x1b[26~", ext(87)},
        {"rxvt Shift-F6", "\x1b[29~", ext(89)},
        {"rxvt Shift-F11", "\x1b[23$", ext(135)},
        {"rxvt Shift-Up", "\x1b[a", ext(72)},
        {"rxvt Shift-Left", "\x1b[d", ext(75)},
        {"rxvt Ctrl-Up", "\x1bOa", ext(141)},
        {"rxvt Ctrl-Down", "\x1bOb", ext(145)},
        {"rxvt Ctrl-Right", "\x1bOc", ext(116)},
        {"rxvt Ctrl-Left", "\x1bOd", ext(115)},
        {"rxvt Alt-Up", "\x1b\x1b[A", ext(152)},
        {"rxvt Alt-Down", "\x1b\x1b[B", ext(160)},
        {"rxvt Alt-Right", "\x1b\x1b[C", ext(157)},
        {"rxvt Alt-Left", "\x1b\x1b[D", ext(155)},
        {"rxvt Home", "\x1b[7~", ext(71)},
        {"rxvt End", "\x1b[8~", ext(79)},
        {"rxvt Ctrl-PgUp", "\x1b[5^", ext(132)},
        {"rxvt Ctrl-PgDn", "\x1b[6^", ext(118)},
        {"rxvt Alt-PgUp", "\x1b\x1b[5~", ext(153)},
        {"rxvt Alt-PgDn", "\x1b\x1b[6~", ext(161)},
        {"rxvt Ctrl-Del", "\x1b[3^", ext(6)},
        {"rxvt Shift-Del", "\x1b[3$", ext(7)},
        {"rxvt Ctrl-Shift-Del", "\x1b[3@", ext(6)},
        {"rxvt Alt-Del", "\x1b\x1b[3~", ext(163)},
        // tmux and screen: what they send is covered by the xterm, Linux and rxvt forms above
        // (SS3 arrows and F1-F4, "1~"/"4~" for Home/End, xterm modifiers, ESC ESC for Alt).
    };
    return cases;
}

TEST(KeyDecoder, TerminalSequencesGiveScanCodes) {
    for (const Case& c : terminal_cases()) {
        SCOPED_TRACE(std::string(c.what) + ": " + printable(c.bytes));
        std::vector<Key> keys = decode(c.bytes);
        ASSERT_EQ(keys.size(), 1u);
        EXPECT_EQ(keys[0].code, c.key.code);
        EXPECT_EQ(keys[0].extended, c.key.extended);
    }
}

TEST(KeyDecoder, ListsTheScanCodesTerminalsSendEachOnceInOrder) {
    const std::span<const std::uint8_t> listed = decodable_scan_codes();
    EXPECT_TRUE(std::adjacent_find(listed.begin(), listed.end(), std::greater_equal<>()) == listed.end());
    for (const Case& c : terminal_cases()) {
        if (!c.key.extended) continue;
        EXPECT_TRUE(std::binary_search(listed.begin(), listed.end(), c.key.code)) << c.what;
    }
}

TEST(KeyDecoder, NoKeyBeforeTheLastByteOfASequence) {
    for (const Case& c : terminal_cases()) {
        SCOPED_TRACE(std::string(c.what) + ": " + printable(c.bytes));
        KeyDecoder decoder;
        for (std::size_t i = 0; i + 1 < c.bytes.size(); ++i) {
            decoder.feed(static_cast<std::uint8_t>(c.bytes[i]));
            EXPECT_FALSE(decoder.has_key());
            EXPECT_TRUE(decoder.pending_incomplete());
        }
        decoder.feed(static_cast<std::uint8_t>(c.bytes.back()));
        EXPECT_FALSE(decoder.pending_incomplete());
        EXPECT_EQ(drain(decoder), std::vector<Key>{c.key});
    }
}

TEST(KeyDecoder, OrdinaryBytes) {
    EXPECT_EQ(decode("aZ5 ~"),
              (std::vector<Key>{plain('a'), plain('Z'), plain('5'), plain(' '), plain('~')}));
    EXPECT_EQ(decode("\r"), std::vector<Key>{plain(13)});
    EXPECT_EQ(decode("\n"), std::vector<Key>{plain(13)});
    EXPECT_EQ(decode("\x7f"), std::vector<Key>{plain(8)});
    EXPECT_EQ(decode("\b"), std::vector<Key>{plain(8)});
    EXPECT_EQ(decode("\x03"), std::vector<Key>{plain(3)});
    EXPECT_EQ(decode("\t"), std::vector<Key>{plain(9)});
    EXPECT_EQ(decode("\x1a"), std::vector<Key>{plain(26)});
}

TEST(KeyDecoder, DropsNulAndBytesAbove127) {
    EXPECT_TRUE(decode(std::string_view("\0", 1)).empty());
    // "ä" in UTF-8, between two letters that must survive
    EXPECT_EQ(decode("a\xc3\xa4z"), (std::vector<Key>{plain('a'), plain('z')}));
    EXPECT_TRUE(decode("\x80\x9b\xff").empty());
}

TEST(KeyDecoder, LoneEscWaitsForTheTimeout) {
    KeyDecoder decoder;
    decoder.feed(0x1B);
    EXPECT_FALSE(decoder.has_key());
    EXPECT_TRUE(decoder.pending_incomplete());
    decoder.timeout();
    EXPECT_FALSE(decoder.pending_incomplete());
    EXPECT_EQ(drain(decoder), std::vector<Key>{plain(27)});
    decoder.timeout();  // a second quiet spell adds nothing
    EXPECT_FALSE(decoder.has_key());
}

TEST(KeyDecoder, EscBeforeASequence) {
    KeyDecoder decoder;
    decoder.feed(0x1B);
    decoder.timeout();
    for (char ch : std::string_view("\x1b[A")) decoder.feed(static_cast<std::uint8_t>(ch));
    EXPECT_EQ(drain(decoder), (std::vector<Key>{plain(27), ext(72)}));

    // Without a pause, ESC ESC [ A is Alt-Up; one ESC more is an Esc before it.
    EXPECT_EQ(decode("\x1b\x1b\x1b[A"), (std::vector<Key>{plain(27), ext(152)}));
    EXPECT_EQ(decode("\x1b\x1b", true), (std::vector<Key>{plain(27), plain(27)}));
    EXPECT_EQ(decode("\x1b\x1b\x1b", true), (std::vector<Key>{plain(27), plain(27), plain(27)}));
}

TEST(KeyDecoder, AltWithACharacterGivesNothing) {
    EXPECT_EQ(decode("\x1b" "ab"), std::vector<Key>{plain('b')});
    EXPECT_EQ(decode("\x1b" "1x"), std::vector<Key>{plain('x')});
    EXPECT_TRUE(decode("\x1bO", true).empty());  // Alt-O, not SS3
    EXPECT_TRUE(decode("\x1b[", true).empty());  // Alt-[
    EXPECT_TRUE(decode("\x1b\x7f").empty());     // Alt-Backspace
    EXPECT_TRUE(decode("\x1b\b").empty());
    EXPECT_TRUE(decode("\x1b[27;3;97~").empty());  // modifyOtherKeys Alt-a
    EXPECT_TRUE(decode("\x1b[97;3u").empty());     // CSI-u Alt-a
}

TEST(KeyDecoder, EscThenControlKeyGivesBoth) {
    EXPECT_EQ(decode("\x1b\r"), (std::vector<Key>{plain(27), plain(13)}));
    EXPECT_EQ(decode("\x1b\x03"), (std::vector<Key>{plain(27), plain(3)}));
    EXPECT_EQ(decode("\x1b\x1b\r"), (std::vector<Key>{plain(27), plain(27), plain(13)}));
}

TEST(KeyDecoder, BurstOfSequencesAndText) {
    EXPECT_EQ(decode("\x1b[A\x1b[1;5D\x1bOPx\x1b[[E\x1b\x1b[C\x1b[3$\r"),
              (std::vector<Key>{ext(72), ext(115), ext(59), plain('x'), ext(63), ext(157), ext(7),
                                plain(13)}));
}

TEST(KeyDecoder, PastedTextComesThroughKeyByKey) {
    std::string text = "Der schnelle Fuchs, 1234!\r\nline two\n";
    std::vector<Key> keys = decode(text);
    ASSERT_EQ(keys.size(), text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char expected = text[i] == '\n' ? '\r' : text[i];
        EXPECT_EQ(keys[i], plain(static_cast<unsigned char>(expected))) << "at " << i;
    }
}

TEST(KeyDecoder, CutSequenceIsDroppedByTheTimeout) {
    KeyDecoder decoder;
    for (char ch : std::string_view("\x1b[1;5")) decoder.feed(static_cast<std::uint8_t>(ch));
    EXPECT_TRUE(decoder.pending_incomplete());
    decoder.timeout();
    EXPECT_FALSE(decoder.pending_incomplete());
    decoder.feed('a');
    EXPECT_EQ(drain(decoder), std::vector<Key>{plain('a')});

    EXPECT_TRUE(decode("\x1b[[", true).empty());
    EXPECT_TRUE(decode("\x1bO5", true).empty());
    EXPECT_TRUE(decode("\x1b\x1b[1", true).empty());
}

TEST(KeyDecoder, CutSequenceGivesWayToWhatFollows) {
    // A new ESC starts over; a control byte is a key of its own.
    EXPECT_EQ(decode("\x1b[1;5\x1b[B"), std::vector<Key>{ext(80)});
    EXPECT_EQ(decode("\x1bO\x1bOS"), std::vector<Key>{ext(62)});
    EXPECT_EQ(decode("\x1b[1\r"), std::vector<Key>{plain(13)});
    EXPECT_EQ(decode("\x1b[[\x03"), std::vector<Key>{plain(3)});
}

TEST(KeyDecoder, UnknownSequencesAreSwallowedWhole) {
    for (std::string_view bytes :
         {"\x1b[200~", "\x1b[?1;2c", "\x1b[99~", "\x1b[0~", "\x1b[I", "\x1b[E", "\x1bOz",
          "\x1b[>1;2u", "\x1b[1 q", "\x1b[57399u", "\x1b[[Z", "\x1b[16~"}) {
        SCOPED_TRACE(printable(bytes));
        EXPECT_EQ(decode(std::string(bytes) + "q"), std::vector<Key>{plain('q')});
    }
}

TEST(KeyDecoder, SequencesAreBoundedInLength) {
    // Exactly the longest accepted: ESC [ 29 digits ~ is 32 bytes, swallowed as unknown.
    std::string longest = "\x1b[" + std::string(29, '1') + "~";
    ASSERT_EQ(longest.size(), KeyDecoder::kMaxSequence);
    EXPECT_EQ(decode(longest + "a"), std::vector<Key>{plain('a')});

    // One byte more and the sequence breaks off; what is left counts as typed.
    std::vector<Key> keys = decode("\x1b[" + std::string(30, '2') + "~a");
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.back(), plain('a'));
    EXPECT_EQ(keys.front(), plain('~'));

    // Parameter bytes for ever cannot hold the decoder.
    KeyDecoder decoder;
    decoder.feed(0x1B);
    decoder.feed('[');
    for (int i = 0; i < 1000; ++i) decoder.feed(';');
    EXPECT_FALSE(decoder.pending_incomplete());
    decoder.feed('z');
    std::vector<Key> rest = drain(decoder);
    EXPECT_GE(rest.size(), 1000u - KeyDecoder::kMaxSequence);
    EXPECT_EQ(rest.back(), plain('z'));
}

TEST(KeyDecoder, RandomBytesGiveOnlyKnownKeys) {
    // PC scan codes of every extended key a terminal can produce through the decoder.
    const std::set<int> known_extended = {
        6,   7,   15,  59,  60,  61,  62,  63,  64,  65,  66,  67,  68,  71,  72,  73,  75,
        77,  79,  80,  81,  82,  83,  84,  85,  86,  87,  88,  89,  90,  91,  92,  93,  94,
        95,  96,  97,  98,  99,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111,
        112, 113, 115, 116, 117, 118, 119, 132, 133, 134, 135, 136, 137, 138, 139, 140, 141,
        145, 146, 151, 152, 153, 155, 157, 159, 160, 161, 162, 163};
    // Bytes that make sequences likely, plus anything at all.
    const std::string alphabet = "\x1b\x1b\x1b[[[OOO0123456789;;;:~~^$@ABCDHFPQRSZuabcdjkpy?\r\x7f";
    std::mt19937 random(20240611);
    KeyDecoder decoder;
    std::size_t bytes_fed = 0;
    std::size_t keys_seen = 0;
    for (int round = 0; round < 20000; ++round) {
        int burst = std::uniform_int_distribution<int>(1, 12)(random);
        for (int i = 0; i < burst; ++i) {
            bool any_byte = std::uniform_int_distribution<int>(0, 5)(random) == 0;
            std::uint8_t byte =
                any_byte ? static_cast<std::uint8_t>(random() & 0xFF)
                         : static_cast<std::uint8_t>(alphabet[random() % alphabet.size()]);
            decoder.feed(byte);
            ++bytes_fed;
        }
        if (random() % 3 == 0) decoder.timeout();
        while (std::optional<Key> key = decoder.next()) {
            ++keys_seen;
            if (key->extended) {
                ASSERT_TRUE(known_extended.count(key->code)) << "extended " << int(key->code);
            } else {
                ASSERT_GE(key->code, 1);
                ASSERT_LE(key->code, 127);
            }
        }
        ASSERT_LE(keys_seen, bytes_fed);
    }
    decoder.timeout();
    drain(decoder);
    for (char ch : std::string_view("\x1b[A")) decoder.feed(static_cast<std::uint8_t>(ch));
    EXPECT_EQ(drain(decoder), std::vector<Key>{ext(72)});
}

}  // namespace
