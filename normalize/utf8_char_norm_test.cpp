#include "chars/utf8_char.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chars/test_octets.h"

namespace {

using test_octets::O;
using test_octets::U;

// Marks an expected result that is the character's own octets.
constexpr const char* kSame = "\x01same";

struct NormCase {
    uint32_t cp;
    std::string expected;  // kSame for unchanged
};

void ExpectNorms(const std::vector<NormCase>& cases, const std::string& sScheme = "V") {
    Utf8CharClass c;
    for (const NormCase& k : cases) {
        c.Utf8Char(U(k.cp));
        std::string expected = k.expected == kSame ? U(k.cp) : k.expected;
        EXPECT_EQ(c.Utf8CharNorm(sScheme), expected) << "U+" << std::hex << k.cp;
    }
}

// Letters: capitals without diacritics; a precomposed Latin letter folds as
// the base letter of its decomposition, the letters with horn and the
// special letters by their own rows.
TEST(Utf8CharNorm, LettersComeOutAsCapitalsWithoutDiacritics) {
    ExpectNorms({
        {'a', "A"}, {'z', "Z"}, {'A', "A"}, {0xDF, "SS"}, {0xFE, "TH"}, {0xDE, "TH"},
        {0x153, "OE"}, {0x152, "OE"}, {0x14A, "NG"}, {0x14B, ""}, {0xE6, "AE"}, {0xC6, "AE"},
        {0xE9, "E"}, {0xC9, "E"}, {0xE0, "A"}, {0xC0, "A"}, {0xC5, "A"}, {0xDD, "Y"},  // Latin-1 precomposed
        {0xF8, "O"}, {0xD8, "O"}, {0xF0, "D"}, {0xD0, ""}, {0x111, "D"}, {0x110, "D"},
        {0x100, "A"}, {0x101, "A"}, {0x178, "Y"}, {0x17D, "Z"}, {0x160, "S"}, {0x161, "S"},
        {0x126, "H"}, {0x127, ""}, {0x166, "T"}, {0x167, ""}, {0x141, "L"}, {0x142, "L"},
        {0x131, "I"}, {0x138, "K"}, {0x1A0, "O"}, {0x1A1, "O"}, {0x1AF, "U"}, {0x1B0, "U"},
        {0x1D5, "U"}, {0x1A2, "OI"}, {0x1A6, "YR"}, {0x18F, ""}, {0x232, "Y"}, {0x1FE, "O"},
        {0x1E2, "AE"}, {0x1E3, "AE"}, {0x1FF, "O"}, {0x218, "S"}, {0x219, "S"}, {0x250, ""}, {0x1E4, "G"},
        {0x1EE, ""}, {0x1EF, ""}, {0x1E9B, ""}, {0x1EDC, "O"}, {0x1EF1, "U"}, {0x1D8, "U"},
        {0x1E00, "A"}, {0x1E01, "A"}, {0x1E25, "H"}, {0x1EC7, "E"}, {0x1EF8, "Y"}, {0x1F00, ""}, {0x1F08, ""}, {0x2126, ""},
        {0x10A0, ""},
    });
}

TEST(Utf8CharNorm, GreekCyrillicAndArmenianLettersFoldToTheirBaseCapital) {
    ExpectNorms({
        {0x3AC, U(0x391)}, {0x3C2, U(0x3A3)}, {0x3C3, U(0x3A3)}, {0x3CA, U(0x399)}, {0x390, U(0x399)},
        {0x3B0, U(0x3A5)}, {0x3CE, U(0x3A9)}, {0x3B1, U(0x391)}, {0x391, kSame}, {0x3AA, kSame},
        {0x386, U(0x391)}, {0x38F, U(0x3A9)}, {0x3D3, U(0x3A5)}, {0x3DB, U(0x3A3)}, {0x3DA, kSame},
        {0x3EF, U(0x3EE)}, {0x3DD, U(0x3DC)}, {0x3D7, kSame},
        {0x439, U(0x418)}, {0x419, kSame}, {0x450, U(0x415)}, {0x400, U(0x415)},
        {0x451, U(0x415)}, {0x401, U(0x415)},  // ё and Ё like ѐ and ӗ
        {0x453, U(0x413)}, {0x403, kSame}, {0x457, U(0x406)}, {0x407, U(0x406)}, {0x45F, U(0x40F)},
        {0x452, U(0x402)}, {0x493, U(0x492)}, {0x461, U(0x460)}, {0x48D, U(0x48C)}, {0x477, U(0x474)},
        {0x476, U(0x474)}, {0x47D, U(0x47C)}, {0x47C, U(0x460)}, {0x4C2, U(0x4C1)}, {0x4C1, U(0x416)},
        {0x4C7, kSame}, {0x4C8, U(0x4C7)}, {0x4DD, U(0x416)}, {0x4D5, U(0x4D4)}, {0x4F9, U(0x42B)},
        {0x4F8, U(0x42B)}, {0x4F4, U(0x427)}, {0x561, U(0x531)}, {0x586, U(0x556)}, {0x531, kSame},
        {0x38B, kSame}, {0x3A2, kSame},  // unassigned, classed as capitals
    });
}

TEST(Utf8CharNorm, MarksNumbersPunctuationAndSymbols) {
    ExpectNorms({
        {0x301, ""}, {0xFE20, ""}, {0xFE21, ""}, {0x661, kSame}, {'7', "7"},
        {'#', "#"}, {'&', "&"}, {'+', "+"}, {'\'', ""}, {0xB7, ""}, {',', " "}, {'.', " "},
        {'!', " "}, {'?', " "}, {0xBF, " "}, {0xA1, " "}, {'\\', " "}, {0x37E, kSame},
        {'(', " "}, {')', " "}, {'{', " "}, {'}', " "}, {0x3008, " "}, {'[', ""}, {']', ""},
        {0x300A, kSame}, {'-', " "}, {'_', " "}, {0xAD, kSame}, {0x2013, kSame}, {0x2014, kSame},
        {0xAB, kSame}, {0x201C, kSame},
        {'|', ""}, {0x2228, ""}, {0x266F, kSame}, {'<', " "}, {'=', " "}, {0xD7, " "},
        {'$', " "}, {0xA3, " "}, {0x20AC, " "}, {0xA9, " "}, {0xAE, " "}, {0x2117, " "},
        {0xB0, "0"}, {0x266D, kSame}, {'^', " "}, {'`', " "}, {0x2B9, ""}, {0x2BA, ""},
        {0x2BB, ""}, {0x2BC, ""}, {0x2C1, ""}, {0x640, ""}, {0x5D0, kSame}, {0x4E00, kSame},
        {' ', " "}, {0x200B, " "}, {0xA0, ""}, {0x3000, ""}, {0x2028, kSame},
        {0x200F, ""}, {0xFEFF, ""}, {0xE000, ""}, {0xD800, ""},
        {0x1E, ""}, {0x1D, ""}, {0x1B, ""}, {0x09, ""}, {0x98, ""}, {0x9C, ""},
    });
}

TEST(Utf8CharNorm, CompatibilityCharactersKeepOnlyDigitsSignsAndScriptL) {
    ExpectNorms({
        {0xB9, "1"}, {0xB2, "2"}, {0xB3, "3"}, {0x2070, "0"}, {0x2074, "4"}, {0x2079, "9"},
        {0x2080, "0"}, {0x2089, "9"}, {0x207A, " "}, {0x207E, " "}, {0x208A, " "}, {0x208E, " "},
        {0x207C, ""}, {0x208C, ""}, {0x207F, ""}, {0x2113, "L"}, {0x2002, ""}, {0xBD, ""},
        {0xFB01, ""}, {0xFF21, ""}, {0x2122, ""}, {0x132, ""},
    });
}

// What the scheme changes: the delimiter by the object's letter, the at sign
// by the argument; nothing else.
TEST(Utf8CharNorm, SchemesDecideOnlyTheDelimiterAndTheAtSign) {
    struct Case {
        std::string objectScheme;
        std::string sScheme;
        std::string delimiter;
        std::string at;
    };
    const std::vector<Case> cases = {
        {"V", "V", "", " "},
        {"V", "P", "", "@"},
        {"P", "V", "\x1F", " "},
        {"P", "P", "\x1F", "@"},
        {"P", "Q", "\x1F", " "},
        {"V", "p", "", " "},
        {"V", "", "", " "},
    };
    for (const Case& k : cases) {
        Utf8CharClass c;
        c.NormalizationScheme(k.objectScheme);
        c.Utf8Char("\x1F");
        EXPECT_EQ(c.Utf8CharNorm(k.sScheme), k.delimiter) << k.objectScheme << "/" << k.sScheme;
        c.Utf8Char("@");
        EXPECT_EQ(c.Utf8CharNorm(k.sScheme), k.at) << k.objectScheme << "/" << k.sScheme;
        c.Utf8Char("a");
        EXPECT_EQ(c.Utf8CharNorm(k.sScheme), "A");
        c.Utf8Char(",");
        EXPECT_EQ(c.Utf8CharNorm(k.sScheme), " ");
    }
}

TEST(Utf8CharNorm, SchemeLetterAcceptsOnlyPAndV) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {" p ", "P"}, {"P", "P"}, {"vanilla", "V"}, {"Pq", "P"}, {"q", "V"}, {"Q", "V"},
        {"", "V"}, {"   ", "V"}, {"X", "V"},
    };
    for (const auto& [value, stored] : cases) {
        Utf8CharClass c;
        c.NormalizationScheme("P");
        c.NormalizationScheme(value);
        EXPECT_EQ(c.NormalizationScheme(), stored) << "'" << value << "'";
    }
    EXPECT_EQ(Utf8CharClass().NormalizationScheme(), "V");
}

// Empty characters, stray octets and characters beyond the basic plane give
// nothing; reading the form leaves the current character as it was.
TEST(Utf8CharNorm, EmptyStrayAndSupplementaryCharactersAreEmpty) {
    Utf8CharClass fresh;
    EXPECT_EQ(fresh.Utf8CharNorm("V"), "");
    Utf8CharClass c;
    for (const std::string& text : {std::string(), O("80"), O("BF"), O("C3"), O("E2 82"), O("F0 9D 90 80"),
                                    O("C1 81")}) {
        c.Utf8Char(text);
        EXPECT_EQ(c.Utf8CharNorm("V"), "") << text.size();
        EXPECT_EQ(c.Utf8Char(), text.substr(0, 4));
    }
    c.Utf8Char("b");
    EXPECT_EQ(c.Utf8CharNorm("V"), "B");
    EXPECT_EQ(c.Utf8CharNorm("P"), "B");
    EXPECT_EQ(c.Utf8Char(), "b");
    EXPECT_EQ(c.Utf8CharCategory(), "Ll");
    c.Utf8Char("1");  // a new character clears the cached category
    EXPECT_EQ(c.Utf8CharNorm("V"), "1");
}

// Over the whole basic plane the form is empty, a blank, the character itself,
// or at most two characters of its own.
TEST(Utf8CharNorm, NoFormIsLongerThanTwoCharacters) {
    Utf8CharClass c;
    for (uint32_t cp = 0; cp < 0x10000; ++cp) {
        c.Utf8Char(U(cp));
        std::string form = c.Utf8CharNorm("P");
        if (form == U(cp)) continue;
        ASSERT_LE(form.size(), 2u) << "U+" << std::hex << cp;
        if (form.size() == 2 && static_cast<unsigned char>(form[0]) < 0x80) {
            EXPECT_TRUE(form[0] >= 'A' && form[0] <= 'Z' && form[1] >= 'A' && form[1] <= 'Z') << "U+" << std::hex << cp;
        }
    }
}

}  // namespace
