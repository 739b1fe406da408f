#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "chars/test_octets.h"
#include "common/runtime.h"
#include "marc/display/display_test_text.h"
#include "marc/display/plain_letter_table.h"
#include "marc/record/marc_record.h"
#include "platform/events.h"

namespace {

using display_test::Hex;
using display_test::T;
using test_octets::U;

// The code points that have a plain letter, as the design lists them.
std::set<uint32_t> ExpectedKeys() {
    const std::vector<std::pair<uint32_t, uint32_t>> ranges = {
        {0x014A, 0x014B}, {0x0180, 0x0183}, {0x0186, 0x018C}, {0x018E, 0x0193}, {0x0195, 0x0195},
        {0x0197, 0x019A}, {0x019C, 0x01A6}, {0x01AB, 0x01B0}, {0x01B2, 0x01BB}, {0x01BF, 0x01C1},
        {0x01C3, 0x01F5}, {0x01F8, 0x021B}, {0x021E, 0x0236}, {0x0250, 0x0250}, {0x0253, 0x025D},
        {0x025F, 0x0262}, {0x0265, 0x0266}, {0x0268, 0x0268}, {0x026A, 0x026D}, {0x026F, 0x0276},
        {0x0279, 0x0282}, {0x0284, 0x0284}, {0x0287, 0x0289}, {0x028B, 0x0291}, {0x0297, 0x0297},
        {0x0299, 0x02A0}, {0x02A3, 0x02A3}, {0x02A5, 0x02A6}, {0x02A8, 0x02A8}, {0x02AA, 0x02AB},
        {0x02AE, 0x02AF},
    };
    std::set<uint32_t> keys;
    for (const auto& [first, last] : ranges)
        for (uint32_t c = first; c <= last; ++c) keys.insert(c);
    return keys;
}

// Exactly the 235 listed characters change, over the whole basic plane and
// a few characters beyond it, and each becomes one or two ASCII letters.
TEST(PlainLetters, TheTableHoldsTheListedKeys) {
    const std::set<uint32_t> expected = ExpectedKeys();
    ASSERT_EQ(expected.size(), 235u);
    Utf8MarcRecordClass record;
    std::set<uint32_t> changed;
    for (uint32_t cp = 1; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp < 0xE000) continue;
        const std::string c = U(cp), out = record.SubstituteRegularCharacters(c);
        if (out == c) continue;
        changed.insert(cp);
        ASSERT_TRUE(out.size() == 1 || out.size() == 2) << std::hex << cp;
        for (char o : out) EXPECT_TRUE(rt::IsAsciiLetter(o) || o == '2') << std::hex << cp;
    }
    for (uint32_t cp : {0x1F600u, 0x10000u, 0x2F800u}) EXPECT_EQ(record.SubstituteRegularCharacters(U(cp)), U(cp));
    EXPECT_EQ(changed, expected);
    for (int i = 1; i < plain_letters::kPlainLetterCount; ++i)
        EXPECT_LT(plain_letters::kPlainLetters[i - 1].Code, plain_letters::kPlainLetters[i].Code);
}

// The naming rule's examples, every exception, and letters that stay.
TEST(PlainLetters, RuleExamplesAndExceptions) {
    const std::vector<std::pair<uint32_t, std::string>> cases = {
        // By the rule.
        {0x0180, "b"}, {0x0181, "B"}, {0x01CD, "A"}, {0x0262, "G"}, {0x01C4, "Dz"}, {0x01E3, "ae"},
        {0x0276, "Oe"}, {0x02A6, "ts"}, {0x019A, "l"}, {0x0280, "R"}, {0x0195, "hv"}, {0x0186, "O"},
        {0x0189, "D"}, {0x01C9, "lj"}, {0x0223, "ou"}, {0x02AB, "lz"}, {0x0287, "t"}, {0x0236, "t"},
        // The exceptions.
        {0x014A, "N"}, {0x014B, "n"}, {0x018F, "e"}, {0x0259, "e"}, {0x025A, "e"}, {0x019C, "m"},
        {0x01A2, "OI"}, {0x01A6, "Yr"}, {0x01B7, "J"}, {0x01B8, "J"}, {0x01B9, "j"}, {0x01BA, "j"},
        {0x01EE, "J"}, {0x01EF, "j"}, {0x01BB, "2"}, {0x01BF, "w"}, {0x01C0, "c"}, {0x01C1, "x"},
        {0x01C3, "q"}, {0x01C5, "Dz"}, {0x01C8, "Lj"}, {0x01CB, "Nj"}, {0x01F2, "Dz"}, {0x01D5, "u"},
        {0x0265, "H"}, {0x0297, "c"}, {0x029A, "E"}, {0x02A0, "Q"},
        // Letters without an entry.
        {0x0292, U(0x0292)}, {0x0237, U(0x0237)}, {0x025E, U(0x025E)}, {0x0184, U(0x0184)}, {0x0149, U(0x0149)},
        {0x02B0, U(0x02B0)},
    };
    Utf8MarcRecordClass record;
    for (const auto& [cp, expected] : cases)
        EXPECT_EQ(record.SubstituteRegularCharacters(U(cp)), expected) << std::hex << cp;
}

struct TextCase {
    const char* in;
    const char* substituted;
    const char* withoutMarks;
};

// Both members read UTF-8 in records of every set, and pass any octet that
// belongs to no well-formed character as itself.
TEST(PlainLetters, TextsInRecordsOfEverySet) {
    const std::vector<TextCase> cases = {
        {"", "", ""},
        {"<C7 8D>bc", "Abc", "<C7 8D>bc"},
        {"<C6 80><C6 81><C6 82>", "bBB", "<C6 80><C6 81><C6 82>"},
        {"<C5 8B> <C7 84> <CA A6> <C7 95>", "n Dz ts u", "<C5 8B> <C7 84> <CA A6> <C7 95>"},
        {"A<CC 8C>", "A<CC 8C>", "A"},
        {"e<CC 81>te<CC 81>", "e<CC 81>te<CC 81>", "ete"},
        {"<C3 A9>t<C3 A9>", "<C3 A9>t<C3 A9>", "<C3 A9>t<C3 A9>"},
        {"<CC 81><CC A3><CC 88>", "<CC 81><CC A3><CC 88>", ""},
        {"<D0 96><CE B1><E4 B8 AD><F0 9F 98 80>", "<D0 96><CE B1><E4 B8 AD><F0 9F 98 80>",
         "<D0 96><CE B1><E4 B8 AD><F0 9F 98 80>"},
        // MARC-8 text: euro and A, not U+0201; a lead octet without its
        // continuation octets takes nothing with it.
        {"<C8>A <C7>b", "<C8>A <C7>b", "<C8>A <C7>b"},
        {"<C3><CC 81>x<C6>", "<C3><CC 81>x<C6>", "<C3>x<C6>"},
        {"<81><C6 80 80>", "<81>b<80>", "<81><C6 80 80>"},
        {"<C6 80><C6>", "b<C6>", "<C6 80><C6>"},
    };
    for (const char* set : {"U", "M", "O", "V"}) {
        Utf8MarcRecordClass record;
        record.CharacterSetOut(set);
        for (const TextCase& k : cases) {
            EXPECT_EQ(Hex(record.SubstituteRegularCharacters(T(k.in))), Hex(T(k.substituted))) << k.in << " in " << set;
            EXPECT_EQ(Hex(record.RemoveDiacritics(T(k.in))), Hex(T(k.withoutMarks))) << k.in << " in " << set;
        }
    }
}

// SubstituteRegularCharacters lets the event loop run before every character
// and once more at the end; RemoveDiacritics never.
TEST(PlainLetters, YieldsOncePerCharacterAndOnceMore) {
    Utf8MarcRecordClass record;
    int yields = 0;
    platform::ScopedEventPump pump([&yields] { ++yields; });
    const std::vector<std::pair<const char*, int>> cases = {
        {"", 1}, {"a", 2}, {"<C7 8D>bc", 4}, {"<E4 B8 AD><F0 9F 98 80><CC 81>", 4}, {"<C3>A<A9>", 4},
    };
    for (const auto& [text, expected] : cases) {
        yields = 0;
        record.SubstituteRegularCharacters(T(text));
        EXPECT_EQ(yields, expected) << text;
        yields = 0;
        record.RemoveDiacritics(T(text));
        EXPECT_EQ(yields, 0) << text;
    }
}

}  // namespace
