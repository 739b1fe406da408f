#include "common/utli_misc_non_utf8.h"

#include <gtest/gtest.h>

#include <array>

#include "common/raised_error.h"

namespace {

TEST(UtliMiscNonUtf8, SplitOffFirst) {
    struct Case { const char* text; const char* sep; const char* first; const char* rest; };
    const Case cases[] = {
        {"a b c", " ", "a", "b c"}, {"abc", " ", "abc", ""},   {"", " ", "", ""},
        {" abc", " ", "", "abc"},   {"a  b", " ", "a", " b"},  {"key, value", ", ", "key", "value"},
        {"abc", "", "abc", ""},  // an empty separator splits nothing (and never loops)
    };
    for (const auto& c : cases) {
        std::string text = c.text, first = "junk";
        UtliMiscNonUtf8::SplitOffFirst(text, first, c.sep);
        EXPECT_EQ(first, c.first) << c.text;
        EXPECT_EQ(text, c.rest) << c.text;
    }
}

TEST(UtliMiscNonUtf8, HexInBothDirections) {
    struct Case { std::string hex; std::string text; };
    const Case toText[] = {
        {"414243", "ABC"}, {"4", std::string(1, '\x04')}, {"", ""}, {"6162", "ab"},
        {"ZZ41", std::string("\0A", 2)}, {"ff00", std::string("\xFF\0", 2)},
        // a pair that is not wholly hex digits is 0, even where its first digit is one
        {"1G41", std::string("\0A", 2)}, {" F41", std::string("\0A", 2)}, {"41G", "A" + std::string(1, '\0')},
    };
    for (const auto& c : toText) EXPECT_EQ(UtliMiscNonUtf8::HexToText(c.hex), c.text) << c.hex;
    const Case toHex[] = {{"414243", "ABC"}, {"0A", "\n"}, {"", ""}, {"FF00", std::string("\xFF\0", 2)}};
    for (const auto& c : toHex) EXPECT_EQ(UtliMiscNonUtf8::TextToHex(c.text), c.hex);
}

TEST(UtliMiscNonUtf8, StringToBytesFillsAndChecksBounds) {
    std::array<unsigned char, 5> bytes{9, 9, 9, 9, 9};
    UtliMiscNonUtf8::StringToBytes("abc", 5, bytes);
    EXPECT_EQ(bytes, (std::array<unsigned char, 5>{'a', 'b', 'c', 0, 0}));
    bytes.fill(9);
    UtliMiscNonUtf8::StringToBytes("abc", 2, bytes);
    EXPECT_EQ(bytes, (std::array<unsigned char, 5>{'a', 'b', 'c', 9, 9}));

    std::array<unsigned char, 2> small{};
    try {
        UtliMiscNonUtf8::StringToBytes("abc", 3, small);
        FAIL() << "no error";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), 9);
    }
    try {
        UtliMiscNonUtf8::StringToBytes("a", 4, small);
        FAIL() << "no error";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), 9);
    }
    std::vector<unsigned char> big(40000);
    try {
        UtliMiscNonUtf8::StringToBytes(std::string(32768, 'x'), 1, big);
        FAIL() << "no error";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), 6);
    }
}

TEST(UtliMiscNonUtf8, NormalizeOclcNumber) {
    struct Case { const char* text; bool pad, letters, oclc; const char* expected; };
    const Case cases[] = {
        {"12345", true, true, true, "(OCoLC)ocm00012345"},
        {"(OCoLC)ocm00012345", true, true, true, "(OCoLC)ocm00012345"},
        {"123456789", true, true, true, "(OCoLC)ocn123456789"},
        {"1234567890", true, true, true, "(OCoLC)on1234567890"},
        {"(DLC)12345", true, true, true, "(DLC)12345"},
        {"0000", true, true, true, "0000"},
        {"abc", true, true, true, "abc"},
        {"(OCoLC)", true, true, true, "(OCoLC)"},
        {"(OCoLC)ocm00012345", false, false, true, "(OCoLC)12345"},
        {"12345", false, true, true, "(OCoLC)ocm12345"},
        {"12345", true, false, false, "00012345"},
        {"123456789", true, false, false, "123456789"},
        {")12345", true, true, false, "ocm00012345"},
        {"(oclc) 99", false, false, false, "99"},
        {"123456789012345678901234567890", false, true, false, "on123456789012345678901234567890"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UtliMiscNonUtf8::NormalizeOclcNumber(c.text, c.pad, c.letters, c.oclc), c.expected) << c.text;
}

}  // namespace
