#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"
#include "platform/events.h"

namespace {

using test_octets::O;
using test_octets::U;

using record_test::D;
using TextHelpers = record_test::TwoRecords;

TEST_F(TextHelpers, SafeStuff) {
    struct Case {
        std::string Text;
        int32_t Start;
        int16_t Length;
        std::string Replacement, Expected;
    };
    const std::vector<Case> cases = {
        {"abcdef", 3, 2, "XY", "abXYef"}, {"abc", 0, 2, "X", "Xabc"}, {"abc", 1, 2, "X", "Xc"},
        {"abc", 1, 5, "X", "X"},          {"abc", 4, 1, "X", "abcX"}, {"abc", 2, 0, "X", "aXbc"},
        {"", 5, 3, "X", "X"},             {"abc", 3, 5, "", "ab"},    {"abc", -7, 0, "X", "Xabc"},
        {"abc", 9, -3, "X", "abcX"},      {"abc", 3, 1, "", "ab"},    {"abc", 2147483647, 32767, "X", "abcX"},
        {"abc", -2147483647 - 1, 1, "X", "Xabc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(utf8.SafeStuff(c.Text, c.Start, c.Length, c.Replacement), c.Expected)
            << c.Text << " " << c.Start << " " << c.Length;
}

TEST_F(TextHelpers, SafeMidInBothKindsOfRecord) {
    const std::string aeb = "a" + U(0xE9) + " b";
    const std::string ea = U(0xE9) + "a";
    struct Case {
        std::string Text;
        int32_t Start, Length;
        bool StartInCharacters;
        std::string Utf8Expected, Marc8Expected;
    };
    const std::vector<Case> cases = {
        {"abcdef", 3, -1, false, "cdef", "cdef"},
        {"abcdef", 3, 0, false, "", ""},
        {"abcdef", 3, -2, false, "", ""},
        {"abcdef", 0, 2, false, "ab", "ab"},
        {"abcdef", 7, 2, false, "", ""},
        {"abcdef", 5, 9, true, "ef", "ef"},
        {aeb, 2, 2, false, U(0xE9) + " ", U(0xE9)},
        {ea, 2, 1, true, "a", O("A9")},
        {ea, 2, 1, false, O("A9"), O("A9")},
        {ea, 3, 5, true, "", "a"},
        {ea, 1, -1, false, ea, ea},
        {"x" + O("E2 82"), 2, 1, false, O("E2 82"), O("E2")},  // a character cut short at the end
        {"abc", 2147483647, 2147483647, true, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8.SafeMid(c.Text, c.Start, c.Length, c.StartInCharacters), c.Utf8Expected)
            << c.Text << " " << c.Start << " " << c.Length;
        EXPECT_EQ(marc8.SafeMid(c.Text, c.Start, c.Length, c.StartInCharacters), c.Marc8Expected)
            << c.Text << " " << c.Start << " " << c.Length;
    }
}

TEST_F(TextHelpers, SafeRightInBothKindsOfRecord) {
    const std::string xea = "x" + U(0xE9) + "a";
    struct Case {
        std::string Text;
        int32_t Length;
        std::string Utf8Expected, Marc8Expected;
    };
    const std::vector<Case> cases = {
        {"abc", 5, "abc", "abc"}, {"abc", 2, "bc", "bc"}, {"abc", 0, "", ""}, {xea, 2, U(0xE9) + "a", O("A9") + "a"},
        {xea, 9, xea, xea},       {"", 3, "", ""},        {"abc", -1, "", ""},  // not the invalid-argument error
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8.SafeRight(c.Text, c.Length), c.Utf8Expected) << c.Text << " " << c.Length;
        EXPECT_EQ(marc8.SafeRight(c.Text, c.Length), c.Marc8Expected) << c.Text << " " << c.Length;
    }
}

TEST_F(TextHelpers, RatSearchesFromTheRightAndYieldsBeforeEveryComparison) {
    int yields = 0;
    platform::ScopedEventPump pump([&] { ++yields; });
    EXPECT_EQ(utf8.Rat("a.b.c", "."), 4);
    EXPECT_EQ(yields, 2);  // positions 5 and 4 compared
    EXPECT_EQ(utf8.Rat("a.b.c", "x"), 0);
    EXPECT_EQ(utf8.Rat("", "."), 0);
    EXPECT_EQ(utf8.Rat("abc", ""), 0);
    EXPECT_EQ(utf8.Rat("ab", "abc"), 0);
    EXPECT_EQ(utf8.Rat("aaa", "aa"), 2);
    yields = 0;
    EXPECT_EQ(utf8.RatExtended("a.b.c", ".", 1), 4);
    EXPECT_EQ(yields, 0);
    EXPECT_EQ(utf8.RatExtended("a.b.c", "."), 4);
    EXPECT_EQ(utf8.RatExtended("a.b.c", "b", 0), 3);
    EXPECT_GT(yields, 0);
}

TEST_F(TextHelpers, ReplaceCharacters) {
    struct Case {
        std::string Text, Remove, Replacement;
        bool Collapse;
        std::string Expected;
    };
    const std::vector<Case> cases = {
        {"a--b", "-", " ", true, "a b"},
        {"a--b", "-", " ", false, "a  b"},
        {"aaa", "aa", "b", false, "ab"},  // overlapping: the rightmost wins
        {"abc", "", "x", false, "abc"},
        {"abc", "b", "b", false, "abc"},
        {"a b", " ", "  ", true, "a  b"},  // collapsing only for a one-blank replacement
        {"abab", "ab", "", false, ""},
        {"xab", "ab", "a", false, "xa"},
        {"aab", "ab", "b", false, "b"},  // the replacement is seen by the next position to the left
        {O("CA BE") + "x" + O("CA BE"), O("CA BE"), O("CA BC"), false, O("CA BC") + "x" + O("CA BC")},
        {"abc", std::string(40000, 'a'), "x", false, "abc"},  // a long sought text does not overflow
    };
    for (const Case& c : cases)
        EXPECT_EQ(utf8.ReplaceCharacters(c.Text, c.Remove, c.Replacement, c.Collapse), c.Expected)
            << c.Text << " " << c.Remove << " " << c.Replacement;
}

TEST_F(TextHelpers, RemovingRepeatsBlanksAndEdges) {
    EXPECT_EQ(utf8.RemoveRepeatedCharacters("a   b  c", " "), "a b c");
    EXPECT_EQ(utf8.RemoveRepeatedCharacters("a....b", ".."), "a..b");
    EXPECT_EQ(utf8.RemoveRepeatedCharacters("xabababy", "ab"), "xaby");
    EXPECT_EQ(utf8.RemoveRepeatedCharacters("aaaaa", "aa"), "aaa");
    EXPECT_EQ(utf8.RemoveRepeatedCharacters("abc", ""), "abc");  // would never end
    EXPECT_EQ(utf8.RemoveSpaces(" a b  c "), "abc");
    EXPECT_EQ(utf8.RemoveSpaces(std::string(40000, 'x') + " y"), std::string(40000, 'x') + "y");

    struct Case {
        std::string Text, Character, Leading, Trailing;
    };
    const std::vector<Case> cases = {
        {"..a.", ".", "a.", "..a"}, {"...", ".", "", ""},   {"a.b..", ".", "a.b..", "a.b"},
        {"ab", "abc", "ab", "ab"},  {"abab", "ab", "", ""}, {"xabab", "ab", "xabab", "x"},
        {"abc", "", "abc", "abc"},  // an empty character would never end
        {"", ".", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8.RemoveLeadingCharacter(c.Text, c.Character), c.Leading) << c.Text << " " << c.Character;
        EXPECT_EQ(utf8.RemoveTrailingCharacter(c.Text, c.Character), c.Trailing) << c.Text << " " << c.Character;
    }
}

TEST_F(TextHelpers, BlanksAroundDelimiters) {
    const std::vector<std::pair<std::string, std::string>> adding = {
        {"$aX$bY", "$a X $b Y"}, {"$a X", "$a  X"}, {"X$", "X$"}, {"$$a", "$  $a "}, {"", ""}, {"$a", "$a "},
        // A delimiter after a delimiter: the blank before the second stands as the first one's code.
        {"$$$a", "$  $  $a "}, {"$$", "$$ "}, {"a$$b", "a $  $b "}, {"$a$$", "$a  $$ "}, {"x$a$", "x $a $"},
        {"$$$", "$  $$ "}, {"$ab$$cd", "$a b $  $c d"},
    };
    for (const auto& [text, expected] : adding) EXPECT_EQ(utf8.AddSpacesAroundDelimiters(D(text)), D(expected)) << text;

    const std::vector<std::pair<std::string, std::string>> removing = {
        {" $a X $b Y ", "$aX$bY"}, {"$a X $b Y", "$aX$bY"}, {"  x  ", "  x  "}, {"x $", "x$"},
        {"  a  $b  c  ", "a$bc"},  {"$a   ", "$a"},         {"a $ $b", "a$$b"},
    };
    for (const auto& [text, expected] : removing)
        EXPECT_EQ(utf8.RemoveSpacesAroundDelimiters(D(text)), D(expected)) << text;

    // Past 32,767 octets the positions do not overflow.
    const std::string longText = std::string(40000, 'x') + D(" $a y");
    EXPECT_EQ(utf8.RemoveSpacesAroundDelimiters(longText), std::string(40000, 'x') + D("$ay"));
}

TEST_F(TextHelpers, RemoveDelimiters) {
    const std::string delimiter = D("$");
    const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
        {"$aX$bY", "", " X Y"},      {"$aX$bY", " ", " X Y"},    {"$aX$bY", "|", "|aX|bY"},
        {"$aX$bY", delimiter, "$aX$bY"},  // the delimiter itself gives a dollar sign
        {"$aX$", "", " X "},         {"$$a", "", " a"},          {"$a.", "x", "xa."},
    };
    for (const auto& [text, replacement, expected] : cases) {
        const std::string want = replacement == delimiter ? expected : D(expected);
        EXPECT_EQ(utf8.RemoveDelimiters(D(text), replacement), want) << text << " " << replacement;
    }
    EXPECT_EQ(utf8.RemoveDelimiters(D("$aX$bY"), delimiter), "$aX$bY");
    EXPECT_EQ(utf8.RemoveDelimiters(D("$aX"), D("x$y")), D("$aX"));  // would never end
}

TEST_F(TextHelpers, ExtractSubfield) {
    const std::string field = D("$aOne $bTwo $bThree$c");
    struct Case {
        std::string Code;
        int32_t Start, Result;
        std::string Text;
    };
    const std::vector<Case> cases = {
        {"b", 1, 9, "Two"},  {"b", 9, 15, "Three"}, {"b", 15, 0, ""},      {"a", 1, 3, "One"},
        {"c", 1, 22, ""},    {"", 1, 0, ""},        {"x", 1, 0, ""},       {D("$b"), 1, 9, "Two"},
        {"b", 0, 0, ""},     {"b", -5, 0, ""},      {"b", 100, 0, ""},     // a start below 1 is no error
    };
    for (const Case& c : cases) {
        std::string text = "stale";
        EXPECT_EQ(utf8.ExtractSubfield(field, c.Code, text, c.Start), c.Result) << c.Code << " " << c.Start;
        EXPECT_EQ(text, c.Text) << c.Code << " " << c.Start;
    }
    std::string text;
    EXPECT_EQ(utf8.ExtractSubfield(D("$aOne $bTwo "), "b", text, 1), 9);
    EXPECT_EQ(text, "Two");
    EXPECT_EQ(utf8.ExtractSubfield(D("$aOne $bTwo "), "b", text, 9), 0);
    EXPECT_EQ(text, "");
}

TEST_F(TextHelpers, ClclInBothKindsOfRecord) {
    const std::string e = U(0xE9), o = U(0xF6);
    struct Case {
        std::string One, Two;
        int32_t Utf8Expected, Marc8Expected;
    };
    const std::vector<Case> cases = {
        {"abc", "abd", 3, 3}, {"abc", "abcd", 0, 0},     {"abc", "", 1, 1},          {"", "abc", 0, 0},
        {"", "", 0, 0},       {"a" + e, "a" + o, 2, 3},  {e + "x", e + "y", 3, 3},   {"a" + e, "ax", 2, 2},
        {e, e + "z", 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8.CLCL(c.One, c.Two), c.Utf8Expected) << c.One << " / " << c.Two;
        EXPECT_EQ(marc8.CLCL(c.One, c.Two), c.Marc8Expected) << c.One << " / " << c.Two;
    }
}

TEST_F(TextHelpers, PaddingAndLesserNonZero) {
    EXPECT_EQ(utf8.LeftPad("7", 3, "0"), "007");
    EXPECT_EQ(utf8.LeftPad("12345", 3, "0"), "345");
    EXPECT_EQ(utf8.LeftPad("7", 0, "0"), "");
    EXPECT_EQ(utf8.LeftPad("7", -4, "0"), "");
    EXPECT_EQ(utf8.LeftPad("7", 3, ""), "7");  // no padding octet: the text unchanged
    EXPECT_EQ(utf8.LeftPad("7", 3, "xy"), "xx7");
    EXPECT_EQ(utf8.LeftPadNumber(123, 5, "0"), "00123");
    EXPECT_EQ(utf8.LeftPadNumber(-12, 5, "0"), "00-12");
    EXPECT_EQ(utf8.LeftPadNumber(123456, 3, "0"), "456");
    EXPECT_EQ(utf8.LeftPadNumber(5, -1, "0"), "");

    const std::vector<std::tuple<int32_t, int32_t, int32_t>> lesser = {
        {0, 0, 0}, {0, 7, 7}, {5, 0, 5}, {9, 4, 4}, {4, 9, 4}, {-3, 2, -3}, {3, 3, 3},
    };
    for (const auto& [one, two, expected] : lesser) EXPECT_EQ(utf8.LesserNonZero(one, two), expected);
}

TEST_F(TextHelpers, RemoveTextFromFrontComparesComparisonForms) {
    std::string text = "the  cat";
    EXPECT_TRUE(utf8.RemoveTextFromFront("The", text, false));
    EXPECT_EQ(text, "cat");

    text = "dog";
    EXPECT_FALSE(utf8.RemoveTextFromFront("The", text, false));
    EXPECT_EQ(text, "dog");

    text = "Le  Monde, " + U(0x301) + " cat";
    EXPECT_TRUE(utf8.RemoveTextFromFront("le monde", text, false));
    EXPECT_EQ(text, ", " + U(0x301) + " cat");
    text = "le monde " + U(0x301) + " " + U(0x301) + " cat";
    EXPECT_TRUE(utf8.RemoveTextFromFront("LE MONDE", text, true));
    EXPECT_EQ(text, "cat");

    text = "the cat";
    EXPECT_FALSE(marc8.RemoveTextFromFront("The", text, false));
    EXPECT_EQ(text, "the cat");
}

}  // namespace
