#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/raised_error.h"
#include "marc/display/display_test_text.h"
#include "marc/record/marc_record.h"

namespace {

using display_test::B;
using display_test::Hex;

class HexDisplay : public ::testing::Test, protected display_test::RecordsBySet {};

// Record text shown in hex; "{..}" are octets in hexadecimal, "$" is the delimiter.
TEST_F(HexDisplay, Marc2HexDisplayByEncoding) {
    ExpectInEachSet(
        {
            {"U", "", ""},
            {"U", "{C3 A9}", "\\&HC3\\&HA9"},
            {"U", "a$bc", "a|bc"},
            {"U", "{1E}{00}{7F}|", "{1E}{00}{7F}|"},
            {"U", "{A9}x", "{A9}x"},
            {"U", "{C3}A", "\\&HC3\\&H41"},
            {"U", "{C3}$", "\\&HC3\\&H1F"},
            {"U", "{F8}abcd", "\\&HF8\\&H61\\&H62\\&H63d"},
            {"U", "{E2 80 8F}", "\\&HE2\\&H80\\&H8F"},
            // A character cut short at the end shows the octets that are there.
            {"U", "x{E2}", "x\\&HE2"},
            {"U", "{F0 9F 98}", "\\&HF0\\&H9F\\&H98"},
            {"MOVL", "", ""},
            {"MOVL", "{1E}", "\\&H1E"},
            {"MOVL", "{00}{01}", "\\&H00\\&H01"},
            {"MOVL", "$a", "|a"},
            {"MOVL", "{7F} ~", "{7F} ~"},
            {"MOVL", "{80}{FF}", "\\&H80\\&HFF"},
            {"MOVL", "{E2}e", "\\&HE2e"},
            {"MOVL", "{C3}A", "\\&HC3A"},
        },
        [](Utf8MarcRecordClass& record, const std::string& text) { return record.Marc2HexDisplay(text); }, B);
}

// The display text read back in one pass from the left: digits of either
// case, any other character counting 15, decoded octets never read again.
TEST_F(HexDisplay, HexDisplay2Marc) {
    ExpectInEachSet(
        {
            {"UM", "", ""},
            {"UM", "\\&HC3\\&HA9", "{C3 A9}"},
            {"UM", "a|b", "a$b"},
            {"UM", "\\&H41", "A"},
            {"UM", "\\&Hzz", "{FF}"},
            {"UM", "\\&Hff", "{FF}"},
            {"UM", "\\&HFF", "{FF}"},
            {"UM", "\\&H1a", "{1A}"},
            {"UM", "\\&HaB\\&Hc0", "{AB C0}"},
            {"UM", "x\\&H4", "x{04}"},
            {"UM", "x\\&H", "x"},
            {"UM", "\\&H\\&H41", "{FF}H41"},
            // A decoded backslash or bar is text: "\&H7C" is how a "|" is written.
            {"UM", "\\&H5C&H41", "\\&H41"},
            {"UM", "\\&H7C", "|"},
            {"UM", "\\&H7C|", "|$"},
            {"UM", "\\&h41\\H41&H41", "\\&h41\\H41&H41"},
        },
        [](Utf8MarcRecordClass& record, const std::string& text) { return record.HexDisplay2Marc(text); }, B);
}

// Every octet, and every octet before each of the others, shown and read
// back in both kinds of record; a "|" of the shown text comes back as the
// delimiter.
TEST_F(HexDisplay, DisplayReadsBack) {
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

TEST_F(HexDisplay, Hex2CharString) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""}, {"A", "{0A}"}, {"414", "{04 14}"}, {"4142", "AB"}, {"zz", "{FF}"},
        {"4a6f", "Jo"}, {"c3A9", "{C3 A9}"}, {"g1", "{F1}"},
    };
    Utf8MarcRecordClass& record = In("U");
    for (const auto& [in, out] : cases) EXPECT_EQ(Hex(record.Hex2CharString(in)), Hex(B(out))) << in;

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
