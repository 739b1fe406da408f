#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "chars/utf8_char.h"
#include "chars/utf8_char_test_access.h"
#include "normalize/compatibility_table.h"

namespace {

#include "chars/decomposition_tags_test.inc"

using test_octets::U;

std::string Decompose(const std::string& s) {
    static const Utf8CharClass chars;
    return Utf8CharTestAccess::CompatibilityDecomposition(chars, s);
}

std::string Us(std::initializer_list<uint32_t> cps) {
    std::string out;
    for (uint32_t cp : cps) out += U(cp);
    return out;
}

const std::vector<std::pair<uint32_t, std::string>> kFoldings = {
    {0x00C6, "AE"}, {0x00D8, "O"}, {0x00DE, "TH"}, {0x00E6, "ae"}, {0x00F8, "o"},  {0x00FE, "th"},
    {0x0110, "D"},  {0x0111, "d"}, {0x0131, "i"},  {0x0141, "L"},  {0x0142, "l"},  {0x0152, "OE"},
    {0x0153, "oe"}, {0x01A0, "O"}, {0x01A1, "o"},  {0x01AF, "U"},  {0x01B0, "u"},  {0x00F0, "d"},
};

// Exactly the tagged characters of Unicode 3.0 and the foldings change.
TEST(CompatibilityDecomposition, CoversTheTaggedCharactersAndTheFoldings) {
    EXPECT_EQ(unicode30::kCompatibilityDecompositionCount, 2172u);
    std::set<uint32_t> expected;
    for (const TaggedCharacter& t : kTaggedCharacters) expected.insert(t.CodePoint);
    for (const auto& [cp, folding] : kFoldings) expected.insert(cp);
    std::set<uint32_t> changed;
    for (uint32_t cp = 0; cp <= 0xFFFF; ++cp)
        if (Decompose(U(cp)) != U(cp)) changed.insert(cp);
    EXPECT_EQ(changed, expected);
    EXPECT_EQ(changed.size(), 2172u + 18u);
}

TEST(CompatibilityDecomposition, MappingsOneLevelDeep) {
    const std::string fdfa = Us({0x0635, 0x0644, 0x0649, 0x20, 0x0627, 0x0644, 0x0644, 0x0647, 0x20,
                                 0x0639, 0x0644, 0x064A, 0x0647, 0x20, 0x0648, 0x0633, 0x0644, 0x0645});
    const std::vector<std::pair<std::string, std::string>> cases = {
        {U(0x00A0), " "},
        {U(0x00A8), " " + U(0x0308)},
        {U(0x00BD), "1" + U(0x2044) + "2"},
        {U(0xFB01), "fi"},
        {U(0x2075), "5"},
        {U(0x2474), "(1)"},
        {U(0xFF21), "A"},
        {U(0xFDFA), fdfa},
        {U(0x01C4), "D" + U(0x017D)},                              // not decomposed further
        {U(0x3300), Us({0x30A2, 0x30D1, 0x30FC, 0x30C8})},         // precomposed katakana kept
        // Canonical mappings, none, later versions, four octets: unchanged.
        {U(0x00E9), U(0x00E9)},
        {U(0x2126), U(0x2126)},
        {U(0x00D0), U(0x00D0)},
        {"A", "A"},
        {"", ""},
        {U(0x03F4), U(0x03F4)},
        {U(0x2047), U(0x2047)},
        {U(0xFF5F), U(0xFF5F)},
        {U(0x1D400), U(0x1D400)},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(Decompose(input), expected) << ::testing::PrintToString(input);
}

TEST(CompatibilityDecomposition, FoldingsOfSpecialLatinLetters) {
    for (const auto& [cp, folding] : kFoldings) EXPECT_EQ(Decompose(U(cp)), folding) << std::hex << cp;
}

}  // namespace
