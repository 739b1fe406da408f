#include "chars/utf8_char.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "common/raised_error.h"

namespace {

using test_octets::O;
using test_octets::U;

TEST(Utf8CharClass, NewObjectIsEmptyWithItsControlCharacters) {
    Utf8CharClass c;
    EXPECT_EQ(c.Utf8Char(), "");
    EXPECT_EQ(c.Utf8CharAsc(), 0);
    EXPECT_EQ(c.UcsHex(), "");
    EXPECT_EQ(c.UcsChar(), "");
    EXPECT_EQ(c.Utf8CharOctets(""), 0);
    EXPECT_EQ(c.Utf8CharCategory(), "Cc");

    EXPECT_EQ(c.MarcDelimiter(), O("1F"));
    EXPECT_EQ(c.Utf8Delimiter(), O("1F"));
    EXPECT_EQ(c.MarcEndOfField(), O("1E"));
    EXPECT_EQ(c.Utf8EndOfField(), O("1E"));
    EXPECT_EQ(c.MarcEndOfRecord(), O("1D"));
    EXPECT_EQ(c.Utf8EndOfRecord(), O("1D"));
    EXPECT_EQ(c.MarcFill(), "|");
    EXPECT_EQ(c.Utf8Fill(), "|");
    EXPECT_EQ(c.MarcEscape(), O("1B"));
    EXPECT_EQ(c.Utf8Escape(), O("1B"));
    EXPECT_EQ(c.MarcNonSortBegin(), O("88"));
    EXPECT_EQ(c.MarcNonSortEnd(), O("89"));
    EXPECT_EQ(c.Utf8NonSortBegin(), O("C2 98"));
    EXPECT_EQ(c.Utf8NonSortEnd(), O("C2 9C"));
}

// Setting Utf8Char keeps the first character and brings every form in step.
TEST(Utf8CharClass, SettingUtf8CharKeepsTheFormsInStep) {
    struct Case {
        std::string set;  // hex octets
        std::string utf8;
        OctetValue value;
        std::string ucsHex;
        int16_t octets;  // Utf8CharOctets("")
    };
    const std::vector<Case> cases = {
        {"C3 A9 61", "C3 A9", 50089, "00E9", 2},           // éa keeps é
        {"41", "41", 65, "0041", 1},
        {"C3", "C3", 195, "00C3", 2},                        // lone lead octet
        {"80", "80", 128, "0080", 1},                        // continuation octet alone
        {"E2 82 AC", "E2 82 AC", 14844588, "20AC", 3},
        {"EF BF BF", "EF BF BF", 15712191, "FFFF", 3},
        {"F0 90 80 80 41", "F0 90 80 80", 4036001920, "D800DC00", 4},
        {"F4 8F BF BF", "F4 8F BF BF", 0xF48FBFBF, "DBFFDFFF", 4},
        {"F8 41", "F8 41", 0xF841, "0601", 4},               // F8 up announces four
        {"FF", "FF", 255, "00FF", 4},
        {"ED A0 80", "ED A0 80", 0xEDA080, "D800", 3},       // lone surrogate
        {"00", "00", 0, "0000", 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.set);
        Utf8CharClass c;
        c.Utf8Char(O(k.set));
        EXPECT_EQ(c.Utf8Char(), O(k.utf8));
        EXPECT_EQ(c.Utf8CharAsc(), k.value);
        EXPECT_EQ(c.UcsHex(), k.ucsHex);
        EXPECT_EQ(c.Utf8CharOctets(""), k.octets);
    }
}

TEST(Utf8CharClass, EmptyValueKeepsTheOctetCount) {
    Utf8CharClass c;
    c.Utf8Char(O("C3 A9"));
    EXPECT_EQ(c.UcsChar(), O("00 E9"));
    c.Utf8Char("");
    EXPECT_EQ(c.Utf8Char(), "");
    EXPECT_EQ(c.Utf8CharAsc(), 0);
    EXPECT_EQ(c.UcsChar(), "");
    EXPECT_EQ(c.Utf8CharOctets(""), 2);
    EXPECT_EQ(c.Utf8CharCategory(), "Cc");
}

TEST(Utf8CharClass, Utf8CharOctetsByLeadOctet) {
    Utf8CharClass c;
    const std::vector<std::pair<std::string, int16_t>> cases = {
        {"00", 1}, {"7F", 1}, {"80", 1}, {"BF", 1}, {"C0", 2}, {"DF", 2}, {"E0", 3},
        {"EF", 3}, {"F0", 4}, {"F7", 4}, {"F8", 4}, {"FF", 4}, {"C3 A9", 2},
    };
    for (const auto& [hex, n] : cases) EXPECT_EQ(c.Utf8CharOctets(O(hex)), n) << hex;
}

TEST(Utf8CharClass, SettingUcsHex) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"D800DC00", "F0 90 80 80"}, {"DBFFDFFF", "F4 8F BF BF"}, {"d840dc00", "F0 A0 80 80"},
        {"00e9", "C3 A9"},           {"41", "41"},                 {"", ""},
    };
    for (const auto& [hex, utf8] : cases) {
        Utf8CharClass c;
        c.UcsHex(hex);
        EXPECT_EQ(c.Utf8Char(), O(utf8)) << hex;
    }
    Utf8CharClass c;
    c.UcsHex("D800DC00");
    EXPECT_EQ(c.UcsHex(), "D800DC00");
    EXPECT_EQ(c.Utf8CharAsc(), 4036001920);
}

TEST(Utf8CharClass, SettingUcsCharByLength) {
    Utf8CharClass c;
    c.UcsChar(O("00 E9"));
    EXPECT_EQ(c.Utf8Char(), O("C3 A9"));
    // One or three octets are no UCS form: the one held before sets the
    // character again, and the category cache is cleared by that set.
    c.Utf8CharCategory();
    c.UcsChar(O("00 41 42"));
    EXPECT_EQ(c.UcsChar(), O("00 E9"));
    EXPECT_EQ(c.Utf8Char(), O("C3 A9"));
    c.UcsChar(O("41"));
    EXPECT_EQ(c.UcsChar(), O("00 E9"));
    // Five octets or more: the first two.
    c.UcsChar(O("00 41 00 42 00"));
    EXPECT_EQ(c.UcsChar(), O("00 41"));
    EXPECT_EQ(c.Utf8Char(), "A");
    c.UcsChar(O("D8 00 DC 00"));
    EXPECT_EQ(c.Utf8Char(), O("F0 90 80 80"));
    c.UcsChar("");
    EXPECT_EQ(c.Utf8Char(), "");
}

TEST(Utf8CharClass, SettingUtf8CharAsc) {
    const std::vector<std::pair<OctetValue, std::string>> cases = {
        {50089, "C3 A9"}, {65, "41"}, {0, "00"}, {0x4142, "41"},
        {14844588, "E2 82 AC"}, {4036001920, "F0 90 80 80"}, {0xFFFFFFFF, "FF FF FF FF"},
    };
    for (const auto& [value, utf8] : cases) {
        Utf8CharClass c;
        c.Utf8CharAsc(value);
        EXPECT_EQ(c.Utf8Char(), O(utf8)) << value;
        EXPECT_EQ(c.Utf8CharAsc(), c.Utf8Asc(O(utf8))) << value;
    }
    Utf8CharClass c;
    c.Utf8CharAsc(0x4142);
    EXPECT_EQ(c.Utf8CharAsc(), 65);
    // No character has a negative value or one of more than four octets.
    c.Utf8Char(O("C3 A9"));
    for (OctetValue bad : {OctetValue{-1}, OctetValue{0x100000000}}) {
        try {
            c.Utf8CharAsc(bad);
            ADD_FAILURE() << bad;
        } catch (const RaisedError& e) {
            EXPECT_EQ(e.Number(), ErrorNumber::Overflow);
        }
        EXPECT_EQ(c.Utf8Char(), O("C3 A9"));
    }
}

TEST(Utf8CharClass, Ucs2Utf8) {
    Utf8CharClass c;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"00 7F", "7F"},       {"00 80", "C2 80"},       {"07 FF", "DF BF"},
        {"08 00", "E0 A0 80"}, {"D8 00", "ED A0 80"},    {"FF FF", "EF BF BF"},
        {"00 41 42", "00 41"}, {"41", "41"},             {"", ""},
        {"D8 00 DC 00", "F0 90 80 80"}, {"DB FF DF FF", "F4 8F BF BF"},
        {"00 00 00 00", "F0 90 80 80"},  // only the low bits of the high octets count
        {"00 41 00 42 00", "00 41"},
    };
    for (const auto& [ucs, utf8] : cases) EXPECT_EQ(c.Ucs2Utf8(O(ucs)), O(utf8)) << ucs;
}

TEST(Utf8CharClass, Utf82Ucs) {
    Utf8CharClass c;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"41", "00 41"},
        {"C3 A9", "00 E9"},
        {"E2 82 AC", "20 AC"},
        {"F0 90 80 80", "D8 00 DC 00"},
        {"F4 8F BF BF", "DB FF DF FF"},
        {"F0 80 80 80", "DB C0 DC 00"},  // below U+10000: still a pair
        {"41 42 43 44 45", "41"},         // five octets: the first alone
        {"C1 41", "00 41"},               // bits from fixed places, nothing tested
    };
    for (const auto& [utf8, ucs] : cases) EXPECT_EQ(c.Utf82Ucs(O(utf8)), O(ucs)) << utf8;
}

TEST(Utf8CharClass, Utf8Asc) {
    Utf8CharClass c;
    EXPECT_EQ(c.Utf8Asc(""), 0);
    EXPECT_EQ(c.Utf8Asc("A"), 65);
    EXPECT_EQ(c.Utf8Asc("ABCDE"), 1111704645);
    EXPECT_EQ(c.Utf8Asc(O("FF FF FF FF")), 4294967295);
    EXPECT_EQ(c.Utf8Asc(std::string(32767, 'A')), 0x41414141);
    EXPECT_EQ(c.Utf8Asc(std::string(32768, 'A')), 0);
}

TEST(Utf8CharClass, UcsHex2Utf8) {
    Utf8CharClass c;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"0", "00"},
        {"9", "09"},
        {"41", "41"},
        {"e9", "C3 A9"},
        {"abc", "E0 AA BC"},
        {"0098", "C2 98"},
        {"20AC", "E2 82 AC"},
        {"12345", "E1 88 B4"},
        {"1234567", "E1 88 B4"},
        {"D840DC00", "F0 A0 80 80"},
        {"123456789", "E1 88 B4"},
    };
    for (const auto& [hex, utf8] : cases) EXPECT_EQ(c.UcsHex2Utf8(hex), O(utf8)) << hex;
    // The current character is not changed.
    EXPECT_EQ(c.Utf8Char(), "");
}

TEST(Utf8CharClass, Utf8CharFindFirstOctet) {
    Utf8CharClass c;
    const OctetString text = O("41 C3 A9 42");
    const std::vector<std::pair<int32_t, int32_t>> cases = {
        {3, 2}, {2, 2}, {4, 4}, {9, 4}, {0, 1}, {1, 1}, {-3, -3},
    };
    for (const auto& [ptr, want] : cases) EXPECT_EQ(c.Utf8CharFindFirstOctet(text, ptr), want) << ptr;
    EXPECT_EQ(c.Utf8CharFindFirstOctet("", 3), 0);
    EXPECT_EQ(c.Utf8CharFindFirstOctet("", -3), 0);
    EXPECT_EQ(c.Utf8CharFindFirstOctet(O("80 80 80"), 3), 1);
    EXPECT_EQ(c.Utf8CharFindFirstOctet(O("80 80 80"), INT32_MAX), 1);
}

TEST(Utf8CharClass, Utf8CharVal) {
    struct Case {
        OctetString in;
        int16_t value;
    };
    const std::vector<Case> cases = {
        {"0", 0},     {"7", 7},       {U(0x0663), 3}, {U(0x09EA), 4}, {U(0x0C69), 3},
        {U(0x1369), 1}, {U(0x1371), 9}, {U(0x0BE6), 0}, {U(0x0BEF), 9}, {U(0x0E59), 9},
        {U(0x1819), 9}, {U(0x0F29), 9}, {"A", 0},      {"", 0},
        {U(0xFF13), 0},  // full-width digit: "ZZ", not a digit here
        {U(0x2463), 0},  // circled digit: not Nd
    };
    for (const Case& k : cases) {
        Utf8CharClass c;
        EXPECT_EQ(c.Utf8CharVal(k.in), k.value) << c.Utf8CharHex();
    }
    // Every digit of every run has its value: ten runs of 0 to 9 and more.
    const uint32_t zeros[] = {0x30,  0x660, 0x6F0, 0x966, 0x9E6, 0xA66, 0xAE6, 0xB66, 0xBE6,
                              0xC66, 0xCE6, 0xD66, 0xE50, 0xED0, 0xF20, 0x1040, 0x17E0, 0x1810};
    Utf8CharClass c;
    for (uint32_t zero : zeros)
        for (uint32_t d = zero == 0xBE6 ? 1 : 0; d < 10; ++d)
            EXPECT_EQ(c.Utf8CharVal(U(zero + d)), static_cast<int16_t>(d)) << std::hex << zero + d;

    // Several characters: the first one's value, and it stays current.
    EXPECT_EQ(c.Utf8CharVal(U(0x0663) + "x"), 3);
    EXPECT_EQ(c.Utf8Char(), U(0x0663));
    // An empty text empties the current character.
    EXPECT_EQ(c.Utf8CharVal(""), 0);
    EXPECT_EQ(c.Utf8Char(), "");
}

TEST(Utf8CharClass, HexHelpers) {
    Utf8CharClass c;
    EXPECT_EQ(c.Char2Hex(O("C3 A9")), "C3");
    EXPECT_EQ(c.Char2Hex(O("0A")), "0A");
    EXPECT_EQ(c.Char2Hex(""), "");

    const std::vector<std::pair<std::string, std::string>> hex2char = {
        {"41", "41"}, {"7", "07"}, {"0041", "41"}, {"a1", "F1"}, {"4G", "4F"}, {"FF", "FF"},
        {"E0", "E0"},
    };
    for (const auto& [hex, octet] : hex2char) EXPECT_EQ(c.Hex2Char(hex), O(octet)) << hex;
    EXPECT_EQ(c.Hex2Char(""), "");

    const std::vector<std::pair<int32_t, std::string>> numeric = {
        {233, "C3 A9"}, {65601, "41"}, {-1, "EF BF BF"}, {0, "00"}, {0x20AC, "E2 82 AC"},
    };
    for (const auto& [value, utf8] : numeric) EXPECT_EQ(c.UcsNumericToUtf8(value), O(utf8)) << value;
    // Every 16-bit value as its four hex digits give it.
    char hex[8];
    for (int32_t value = 0; value <= 0xFFFF; ++value) {
        std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(value));
        ASSERT_EQ(c.UcsNumericToUtf8(value), c.UcsHex2Utf8(hex)) << value;
    }
}

TEST(Utf8CharClass, Utf8CharNonRomanAndHex) {
    struct Case {
        OctetString ch;
        bool nonRoman;
    };
    const std::vector<Case> cases = {
        {"A", false},      {U(0xE9), false},   {U(0x0301), false}, {U(0x036F), false},
        {U(0x2075), false}, {U(0x2070), false}, {U(0x209F), false}, {U(0xFE21), false},
        {U(0xFE23), false}, {"", false},        {U(0x0370), true},  {U(0x03B1), true},
        {U(0x206F), true},  {U(0x20A0), true},  {U(0xFE24), true},  {U(0x10000), true},
    };
    for (const Case& k : cases) {
        Utf8CharClass c;
        c.Utf8Char(k.ch);
        EXPECT_EQ(c.Utf8CharNonRoman(), k.nonRoman) << c.Utf8CharHex();
    }
    Utf8CharClass c;
    c.Utf8Char(U(0xE9));
    EXPECT_EQ(c.Utf8CharHex(), "C3A9");
    c.Utf8Char(U(0x10000));
    EXPECT_EQ(c.Utf8CharHex(), "F0908080");
    c.Utf8Char("");
    EXPECT_EQ(c.Utf8CharHex(), "");
}

TEST(Utf8CharClass, CaseMapping) {
    struct Case {
        uint32_t cp;
        uint32_t lower;  // 0: unchanged
        uint32_t upper;
    };
    const std::vector<Case> cases = {
        {'A', 'a', 0},        {'a', 0, 'A'},          {'5', 0, 0},          {'!', 0, 0},
        {0xC0, 0xE0, 0},      {0xE0, 0, 0xC0},        {0xDE, 0xFE, 0},      {0xFF, 0, 0x178},
        {0xD7, 0, 0},         {0xF7, 0, 0},           {0xDF, 0, 0},         {0x130, 'i', 0},
        {0x131, 0, 'I'},      {0x17F, 0, 'S'},        {0xB5, 0, 0x39C},     {0x1C5, 0x1C6, 0x1C4},
        {0x1C8, 0x1C9, 0x1C7}, {0x1CB, 0x1CC, 0x1CA}, {0x1F2, 0x1F3, 0x1F1}, {0x149, 0, 0},
        {0x2126, 0x3C9, 0},   {0x2160, 0x2170, 0},    {0x24B6, 0x24D0, 0},  {0xFF21, 0xFF41, 0},
        {0xFF5A, 0, 0xFF3A},  {0x10A0, 0, 0},         {0x3F2, 0, 0x3A3},    {0x3C2, 0, 0x3A3},
        {0x1E9B, 0, 0x1E60},  {0x1FBE, 0, 0x399},     {0x1F80, 0, 0x1F88},  {0x1FB3, 0, 0x1FBC},
        {0x1FBC, 0x1FB3, 0},  {0x345, 0, 0x399},      {0x10400, 0, 0},      {0x180, 0, 0},
        {0x250, 0, 0},        {0x3F3, 0, 0},          {0x10D0, 0, 0},       {0x4C0, 0, 0},
        {0x13A0, 0, 0},       {0x2132, 0, 0},         {0x2183, 0, 0},       {0x220, 0, 0},
        {0x3D8, 0, 0},        {0x48A, 0, 0},          {0x500, 0, 0},        {0x1E9E, 0, 0},
    };
    for (const Case& k : cases) {
        Utf8CharClass c;
        c.Utf8Char(U(k.cp));
        EXPECT_EQ(c.Utf8CharLCase(), U(k.lower ? k.lower : k.cp)) << std::hex << k.cp;
        EXPECT_EQ(c.Utf8CharUCase(), U(k.upper ? k.upper : k.cp)) << std::hex << k.cp;
        EXPECT_EQ(c.Utf8Char(), U(k.cp));  // the object is not changed
    }
    Utf8CharClass c;
    EXPECT_EQ(c.Utf8CharLCase(), "");
    EXPECT_EQ(c.Utf8CharUCase(), "");
}

TEST(Utf8CharClass, Category) {
    struct Case {
        std::string octets;  // hex
        std::string code;
    };
    const std::vector<std::pair<uint32_t, std::string>> byCodePoint = {
        {'A', "Lu"},     {0xE9, "Ll"},    {0x300, "Mn"},   {' ', "Zs"},     {0xA0, "ZZ"},
        {0xB2, "ZZ"},    {0x3000, "ZZ"},  {0xFF01, "ZZ"},  {0xFCFF, "ZZ"},  {0x2FD6, ""},
        {0x220, ""},     {0x3F4, ""},     {0x904, ""},     {0xA4C7, ""},    {0x234, "Ll"},
        {0x24F, "Ll"},   {0x2900, "So"},  {0x2E7F, "So"},  {0x4DC0, "Lo"},  {0x9FA6, "Lo"},
        {0x7B1, "Mn"},   {0x900, "Mn"},   {0xAD0, "Lo"},   {0xAD5, ""},     {0xADF, ""},
        {0xAE0, "Lo"},   {0xB4D, "Mn"},   {0xB4E, ""},     {0xB55, ""},     {0xB56, "Mn"},
        {0xB84, ""},     {0xBE6, "Nd"},   {0xBE5, ""},     {0xFA30, "Lo"},  {0xFA6A, "Lo"},
        {0xFA6B, ""},    {0xFFFB, "Cf"},  {0xFFFC, ""},    {0xFFFD, ""},    {0xFFFE, ""},
        {0xFFFF, ""},    {0xFDD0, ""},    {0x6DD, "Me"},   {0xB83, "Mc"},   {0x16EE, "No"},
        {0x16F0, "No"},  {0x17D7, "Po"},  {0x17DC, "Po"},  {0x180B, "Cf"},  {0x200B, "Zs"},
        {0x30FB, "Pc"},  {0xE000, "Co"},  {0xF8FF, "Co"},  {0x7F, "Cc"},    {0x80, "Cc"},
        {0x3400, "Lo"},  {0xA3B2, "Lo"},  {0xA3B3, "Lo"},  {0xA48C, "Lo"},  {0xAC00, "Lo"},
        {0x203F, "Pc"},  {0x2040, "Pc"},  {0x1C4, "ZZ"},   {0x1CC, "ZZ"},   {0x2460, "ZZ"},
        {0xF77, "ZZ"},   {0x10000, ""},   {0x10FFFF, ""},
    };
    for (const auto& [cp, code] : byCodePoint) {
        Utf8CharClass c;
        c.Utf8Char(U(cp));
        EXPECT_EQ(c.Utf8CharCategory(), code) << std::hex << cp;
    }
    // Malformed sequences answer by their value.
    const std::vector<Case> byOctets = {
        {"80", ""},          {"BF", ""},       {"C0 80", ""},   {"C2 7F", ""},      {"DF 41", "Mn"},
        {"E0 80 80", "Mn"},  {"E2 80 C0", ""}, {"ED A0 80", "Cs"}, {"ED BF BF", "Cs"}, {"F8", ""},
        {"FF FF FF FF", ""},
    };
    for (const Case& k : byOctets) {
        Utf8CharClass c;
        c.Utf8Char(O(k.octets));
        EXPECT_EQ(c.Utf8CharCategory(), k.code) << k.octets;
    }
}

TEST(Utf8CharClass, CategoryIsCachedUntilTheCharacterIsSet) {
    Utf8CharClass c;
    c.Utf8Char("A");
    EXPECT_EQ(c.Utf8CharCategory(), "Lu");
    // The same character set again clears the cache; every setter does.
    c.Utf8Char("A");
    EXPECT_EQ(c.Utf8CharCategory(), "Lu");
    c.UcsHex("0661");
    EXPECT_EQ(c.Utf8CharCategory(), "Nd");
    c.Utf8CharAsc(0x61);
    EXPECT_EQ(c.Utf8CharCategory(), "Ll");
    c.UcsChar(O("00 20"));
    EXPECT_EQ(c.Utf8CharCategory(), "Zs");
    // Utf8CharVal of the current character keeps its cached category.
    EXPECT_EQ(c.Utf8CharVal(" "), 0);
    EXPECT_EQ(c.Utf8CharCategory(), "Zs");
}

}  // namespace
