#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/raised_error.h"
#include "marc/display/display_test_text.h"
#include "marc/record/marc_record.h"

namespace {

using display_test::B;
using display_test::Hex;

struct HexCase {
    const char* in;
    const char* out;
};

// Record text shown in hex; "{..}" are octets in hexadecimal, "$" is the delimiter.
TEST(HexDisplay, Marc2HexDisplayByEncoding) {
    const std::vector<HexCase> utf8 = {
        {"", ""},
        {"{C3 A9}", "\\&HC3\\&HA9"},
        {"a$bc", "a|bc"},
        {"{1E}{00}{7F}|", "{1E}{00}{7F}|"},
        {"{A9}x", "{A9}x"},
        {"{C3}A", "\\&HC3\\&H41"},
        {"{C3}$", "\\&HC3\\&H1F"},
        {"{F8}abcd", "\\&HF8\\&H61\\&H62\\&H63d"},
        {"{E2 80 8F}", "\\&HE2\\&H80\\&H8F"},
        // A character cut short at the end shows the octets that are there.
        {"x{E2}", "x\\&HE2"},
        {"{F0 9F 98}", "\\&HF0\\&H9F\\&H98"},
    };
    const std::vector<HexCase> eightBit = {
        {"", ""},
        {"{1E}", "\\&H1E"},
        {"{00}{01}", "\\&H00\\&H01"},
        {"$a", "|a"},
        {"{7F} ~", "{7F} ~"},
        {"{80}{FF}", "\\&H80\\&HFF"},
        {"{E2}e", "\\&HE2e"},
        {"{C3}A", "\\&HC3A"},
    };
    Utf8MarcRecordClass record;
    for (const HexCase& k : utf8) EXPECT_EQ(record.Marc2HexDisplay(B(k.in)), B(k.out)) << k.in;
    for (const char* set : {"M", "O", "V", "L"}) {
        record.CharacterSetOut(set);
        for (const HexCase& k : eightBit) EXPECT_EQ(record.Marc2HexDisplay(B(k.in)), B(k.out)) << k.in << " in " << set;
    }
}

// The display text read back in one pass from the left: digits of either
// case, any other character counting 15, decoded octets never read again.
TEST(HexDisplay, HexDisplay2Marc) {
    const std::vector<HexCase> cases = {
        {"", ""},
        {"\\&HC3\\&HA9", "{C3 A9}"},
        {"a|b", "a$b"},
        {"\\&H41", "A"},
        {"\\&Hzz", "{FF}"},
        {"\\&Hff", "{FF}"},
        {"\\&HFF", "{FF}"},
        {"\\&H1a", "{1A}"},
        {"\\&HaB\\&Hc0", "{AB C0}"},
        {"x\\&H4", "x{04}"},
        {"x\\&H", "x"},
        {"\\&H\\&H41", "{FF}H41"},
        // A decoded backslash or bar is text: "\&H7C" is how a "|" is written.
        {"\\&H5C&H41", "\\&H41"},
        {"\\&H7C", "|"},
        {"\\&H7C|", "|$"},
        {"\\&h41\\H41&H41", "\\&h41\\H41&H41"},
    };
    for (const char* set : {"U", "M"}) {
        Utf8MarcRecordClass record;
        record.CharacterSetOut(set);
        for (const HexCase& k : cases)
            EXPECT_EQ(Hex(record.HexDisplay2Marc(B(k.in))), Hex(B(k.out))) << k.in << " in " << set;
    }
}

// Every octet, and every octet before each of the others, shown and read
// back in both kinds of record; a "|" of the shown text comes back as the
// delimiter.
TEST(HexDisplay, DisplayReadsBack) {
    std::string all, pairs;
    for (int c = 0; c < 256; ++c) {
        if (c == '|') continue;
        all += static_cast<char>(c);
        for (int d = 0x7E; d < 256; d += 0x41) pairs += {static_cast<char>(c), static_cast<char>(d)};
    }
    for (const char* set : {"U", "M", "V"}) {
        Utf8MarcRecordClass record;
        record.CharacterSetOut(set);
        for (const std::string& text : {all, pairs, all + "\xC3", std::string("\xE2\x80")}) {
            EXPECT_EQ(Hex(record.HexDisplay2Marc(record.Marc2HexDisplay(text))), Hex(text)) << set;
        }
        EXPECT_EQ(record.HexDisplay2Marc(record.Marc2HexDisplay("a|b")), "a\x1F" "b") << set;
    }
}

TEST(HexDisplay, Hex2CharString) {
    const std::vector<HexCase> cases = {
        {"", ""}, {"A", "{0A}"}, {"414", "{04 14}"}, {"4142", "AB"}, {"zz", "{FF}"},
        {"4a6f", "Jo"}, {"c3A9", "{C3 A9}"}, {"g1", "{F1}"},
    };
    Utf8MarcRecordClass record;
    for (const HexCase& k : cases) EXPECT_EQ(Hex(record.Hex2CharString(k.in)), Hex(B(k.out))) << k.in;

    EXPECT_EQ(record.Hex2CharString(std::string(32768, 'A')), std::string(16384, '\xAA'));
    EXPECT_EQ(record.Hex2CharString(std::string(32767, 'A')).size(), 16384u);
    for (size_t size : {32769u, 32770u, 100000u}) {
        try {
            record.Hex2CharString(std::string(size, 'A'));
            ADD_FAILURE() << size << " digits were accepted";
        } catch (const RaisedError& e) {
            EXPECT_EQ(e.Number(), ErrorNumber::Overflow);
        }
    }
}

}  // namespace
