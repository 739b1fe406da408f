#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "chars/utf8_char.h"

namespace {

using test_octets::O;
using test_octets::U;

std::string Us(std::initializer_list<uint32_t> cps) {
    std::string out;
    for (uint32_t cp : cps) out += U(cp);
    return out;
}

struct SubstituteCase {
    const char* Name;
    std::string Input;
    bool Expected;
    std::string Return;  // what sReturnChar holds afterwards
};

TEST(SubstituteUtf8Char, AnswersAndSubstitutes) {
    const std::vector<SubstituteCase> cases = {
        {"empty", "", false, ""},
        {"ASCII letter", "A", false, "A"},
        {"stray octet", O("A9"), false, O("A9")},
        {"e acute", O("C3 A9"), true, O("65 CC 81")},
        {"A ring", U(0xC5), true, "A" + U(0x030A)},
        {"G circumflex", U(0x011C), true, "G" + U(0x0302)},
        {"O double acute", U(0x0150), true, "O" + U(0x030B)},
        {"A ogonek", U(0x0104), true, "A" + U(0x0328)},
        {"a double grave", U(0x0201), true, "a" + U(0x030F)},
        {"a inverted breve", U(0x0203), true, "a" + U(0x0311)},
        {"s comma below", U(0x0219), true, "s" + U(0x0326)},
        {"h caron", U(0x021F), true, "h" + U(0x030C)},
        {"o diaeresis macron", O("C8 AB"), true, O("6F CC 88 CC 84")},
        {"O tilde macron", U(0x022C), true, "O" + Us({0x0303, 0x0304})},
        {"y diaeresis", U(0xFF), true, "y" + U(0x0308)},
        {"sharp s", U(0xDF), true, "ss"},
        {"n preceded by apostrophe", U(0x0149), true, "'n"},
        {"L middle dot", U(0x013F), true, O("4C C2 B7")},
        {"l middle dot", U(0x0140), true, "l" + U(0xB7)},
        {"IJ", U(0x0132), true, "IJ"},
        {"ij", U(0x0133), true, "ij"},
        {"AE", U(0xC6), false, U(0xC6)},
        {"O stroke", U(0xD8), false, U(0xD8)},
        {"L stroke", U(0x0141), false, U(0x0141)},
        {"D stroke", U(0x0110), false, U(0x0110)},
        {"oe", U(0x0153), false, U(0x0153)},
        {"dotless i", U(0x0131), false, U(0x0131)},
        {"o horn", U(0x01A1), false, U(0x01A1)},
        {"no-break space", U(0xA0), false, U(0xA0)},
        {"C1 en dash", U(0x96), true, "-"},
        {"C1 em dash", U(0x97), true, "--"},
        {"C1 trade mark", U(0x99), true, "[TM]"},
        {"C1 bullet position", U(0x95), false, U(0x95)},
        {"click letter", O("C7 82"), true, "\x1F"},
        {"hyphen", U(0x2010), true, "-"},
        {"en dash", U(0x2013), true, "-"},
        {"em dash", U(0x2014), true, "--"},
        {"horizontal bar", U(0x2015), true, "--"},
        {"left single quotation mark", U(0x2018), true, "'"},
        {"reversed single quotation mark", U(0x201B), true, "'"},
        {"low double quotation mark", U(0x201E), true, "\""},
        {"ellipsis", U(0x2026), true, "..."},
        {"bullet", U(0x2022), false, U(0x2022)},
        {"trade mark sign", U(0x2122), false, U(0x2122)},
        // The letters with caron are decomposed like the rest of the block.
        {"a caron", U(0x01CE), true, "a" + U(0x030C)},
        {"i caron", U(0x01D0), true, "i" + U(0x030C)},
        {"o caron", U(0x01D2), true, "o" + U(0x030C)},
        {"u caron", U(0x01D4), true, "u" + U(0x030C)},
        {"u diaeresis caron", U(0x01DA), true, "u" + Us({0x0308, 0x030C})},
        {"u diaeresis grave", U(0x01DC), true, "u" + Us({0x0308, 0x0300})},
        {"capital A caron", U(0x01CD), true, "A" + U(0x030C)},
        {"capital U diaeresis caron", U(0x01D9), true, "U" + Us({0x0308, 0x030C})},
        // Latin Extended Additional, followed through its first character,
        // marks in canonical order (dot below before circumflex).
        {"h dot below", O("E1 B8 A5"), true, "h" + U(0x0323)},
        {"e dot below circumflex", U(0x1EC7), true, "e" + Us({0x0323, 0x0302})},
        {"capital Y tilde", U(0x1EF8), true, "Y" + U(0x0303)},
        {"AE macron", U(0x01E2), true, U(0xC6) + U(0x0304)},
        {"ezh caron", U(0x01EF), true, U(0x0292) + U(0x030C)},
        {"long s dot above", U(0x1E9B), true, U(0x017F) + U(0x0307)},
        // The letters with horn stay whole, and so do those built on them.
        {"capital O horn", U(0x01A0), false, U(0x01A0)},
        {"u horn", U(0x01B0), false, U(0x01B0)},
        {"o horn grave", U(0x1EDD), true, U(0x01A1) + U(0x0300)},
        {"capital U horn dot below", U(0x1EF0), true, U(0x01AF) + U(0x0323)},
        // Unicode 3.0 has nothing beyond U+1EF9; G stroke has no decomposition.
        {"after Unicode 3.0", U(0x1EFA), false, U(0x1EFA)},
        {"G stroke", U(0x01E4), false, U(0x01E4)},
        {"Cyrillic short I", U(0x0419), false, U(0x0419)},
        {"Cyrillic small short i", U(0x0439), false, U(0x0439)},
        {"private use E930", O("EE A4 B0"), true, O("E4 BA 99")},
        {"private use E9D7", U(0xE9D7), true, U(0x7962)},
        {"private use E8B1", U(0xE8B1), true, U(0x318D)},
        {"private use EA00", U(0xEA00), true, U(0x212C)},
        {"private use gap E97D", U(0xE97D), false, U(0xE97D)},
        {"private use after its row E926", U(0xE926), false, U(0xE926)},
        {"four octets", U(0x1D400), false, U(0x1D400)},
        {"two characters", U(0xE9) + "x", true, "e" + U(0x0301)},
        {"private use with more after it", U(0xE930) + "x", false, U(0xE930) + "x"},
        // Malformed input finds nothing, even where its bits spell a character.
        {"lead without continuation", O("C3 29"), false, O("C3 29")},
        {"overlong e acute", O("E0 83 A9"), false, O("E0 83 A9")},
        {"cut-short private use", O("EE A4"), false, O("EE A4")},
        {"lone lead", O("C3"), false, O("C3")},
    };
    Utf8CharClass chars;
    for (const auto& c : cases) {
        std::string sReturn = "junk";
        EXPECT_EQ(chars.SubstituteUtf8Char(c.Input, sReturn), c.Expected) << c.Name;
        EXPECT_EQ(sReturn, c.Return) << c.Name;
    }
}

TEST(SubstituteUtf8Char, MakesTheFirstCharacterOfTwoOrMoreOctetsCurrent) {
    Utf8CharClass chars;
    std::string sReturn;
    chars.Utf8Char("Q");
    chars.SubstituteUtf8Char("A", sReturn);
    EXPECT_EQ(chars.Utf8Char(), "Q");
    chars.SubstituteUtf8Char(U(0xE9) + "x", sReturn);
    EXPECT_EQ(chars.Utf8Char(), U(0xE9));
    chars.SubstituteUtf8Char(U(0x0416), sReturn);
    EXPECT_EQ(chars.Utf8Char(), U(0x0416));
    EXPECT_EQ(chars.UcsHex(), "0416");
}

// The decompositions of the precomposed Latin letters, by block: how many
// letters each holds, and that each is a letter followed by known marks.
TEST(SubstituteUtf8Char, LatinDecompositionsByBlock) {
    struct Block {
        uint32_t First, Last;
        size_t Letters;
    };
    const std::vector<Block> blocks = {
        {0x00C0, 0x00FF, 53}, {0x0100, 0x017F, 108}, {0x0180, 0x024F, 87}, {0x1E00, 0x1EFF, 245}};
    const std::set<uint32_t> bases = {0xC6, 0xE6, 0xD8, 0xF8, 0x01B7, 0x0292, 0x017F, 0x01A0, 0x01A1, 0x01AF, 0x01B0};
    const std::set<uint32_t> marks = {0x0300, 0x0301, 0x0302, 0x0303, 0x0304, 0x0306, 0x0307, 0x0308, 0x0309,
                                      0x030A, 0x030B, 0x030C, 0x030F, 0x0311, 0x0323, 0x0324, 0x0325, 0x0326,
                                      0x0327, 0x0328, 0x032D, 0x032E, 0x0330, 0x0331};
    const std::set<uint32_t> plain = {0xDF, 0x132, 0x133, 0x13F, 0x140, 0x149, 0x1C2};
    Utf8CharClass chars;
    size_t total = 0;
    for (const Block& block : blocks) {
        size_t letters = 0;
        for (uint32_t cp = block.First; cp <= block.Last; ++cp) {
            std::string sReturn;
            if (!chars.SubstituteUtf8Char(U(cp), sReturn) || plain.count(cp)) continue;
            ++letters;
            // The base letter: ASCII or one of the listed letters; then marks of two octets.
            auto twoOctets = [&](size_t at) {
                return ((static_cast<unsigned char>(sReturn[at]) & 0x1Fu) << 6) |
                       (static_cast<unsigned char>(sReturn[at + 1]) & 0x3Fu);
            };
            const size_t baseLength = static_cast<unsigned char>(sReturn[0]) < 0x80 ? 1 : 2;
            if (baseLength == 2) {
                EXPECT_EQ(bases.count(twoOctets(0)), 1u) << std::hex << cp;
            }
            ASSERT_EQ((sReturn.size() - baseLength) % 2, 0u) << std::hex << cp;
            ASSERT_GT(sReturn.size(), baseLength) << std::hex << cp;
            for (size_t at = baseLength; at < sReturn.size(); at += 2)
                EXPECT_EQ(marks.count(twoOctets(at)), 1u) << std::hex << cp << " " << twoOctets(at);
        }
        EXPECT_EQ(letters, block.Letters) << std::hex << block.First;
        total += letters;
    }
    EXPECT_EQ(total, 493u);
}

// Every substitute of the basic plane, counted by kind: 493 letters with
// their decompositions, 10 plain substitutes of blocks 00 and 01, 15 of the
// general punctuation and 230 private-use characters.
TEST(SubstituteUtf8Char, BasicPlaneHoldsExactlyTheListedSubstitutes) {
    Utf8CharClass chars;
    size_t count = 0, privateUse = 0, punctuation = 0;
    for (uint32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        std::string sReturn;
        if (!chars.SubstituteUtf8Char(U(cp), sReturn)) continue;
        ++count;
        if (cp >= 0xE000 && cp <= 0xF8FF) ++privateUse;
        if (cp >= 0x2000 && cp <= 0x20FF) ++punctuation;
    }
    EXPECT_EQ(privateUse, 230u);
    EXPECT_EQ(punctuation, 15u);
    EXPECT_EQ(count, 493u + 10u + 15u + 230u);
}

// The private-use table by rows of sixteen: how many entries each row holds,
// and the replacements of its first and last entries.
TEST(SubstituteUtf8Char, PrivateUseTableRows) {
    struct Row {
        uint32_t First;
        size_t Entries;
        uint32_t FirstReplacement;  // of the row's first entry
        uint32_t LastReplacement;   // of its last entry
    };
    const std::vector<Row> rows = {
        {0xE8B0, 1, 0x318D, 0x318D},   {0xE900, 16, 0x53F0, 0x810F}, {0xE910, 16, 0x5DF4, 0x575B},
        {0xE920, 6, 0x8298, 0x961D},   {0xE930, 16, 0x4E99, 0x6368}, {0xE940, 16, 0x63DB, 0x85CD},
        {0xE950, 16, 0x8853, 0x9D12},  {0xE960, 16, 0x9F61, 0x8343}, {0xE970, 15, 0x8507, 0x6B8B},
        {0xE980, 16, 0x753B, 0x50E7},  {0xE990, 15, 0x5168, 0x6FB3}, {0xE9A0, 16, 0x731C, 0x83BD},
        {0xE9B0, 16, 0x82A6, 0x74F4},  {0xE9C0, 7, 0x7B4C, 0x7E8A},  {0xE9D0, 9, 0x7953, 0x784E},
        {0xE9E0, 16, 0x5406, 0x4610},  {0xE9F0, 12, 0x93BE, 0x586D}, {0xEA00, 5, 0x212C, 0x349E},
    };
    Utf8CharClass chars;
    size_t total = 0;
    for (const Row& row : rows) {
        std::vector<std::string> replacements;
        for (uint32_t cp = row.First; cp < row.First + 16; ++cp) {
            std::string sReturn;
            if (chars.SubstituteUtf8Char(U(cp), sReturn)) replacements.push_back(sReturn);
        }
        ASSERT_EQ(replacements.size(), row.Entries) << std::hex << row.First;
        EXPECT_EQ(replacements.front(), U(row.FirstReplacement)) << std::hex << row.First;
        EXPECT_EQ(replacements.back(), U(row.LastReplacement)) << std::hex << row.First;
        total += row.Entries;
    }
    EXPECT_EQ(total, 230u);
    // One text of fixed-width entries; U+80E1 stands for four characters.
    const std::string& table = Utf8CharClass::PuaIdeographTable();
    EXPECT_EQ(table.size(), 230u * 14u);
    EXPECT_EQ(table.substr(0, 14), " EEA2B1:E3868D");
    size_t shared = 0;
    for (size_t at = 0; (at = table.find(":E883A1", at)) != std::string::npos; ++at) ++shared;
    EXPECT_EQ(shared, 4u);
}

}  // namespace
