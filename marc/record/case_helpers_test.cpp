#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"

namespace {

using test_octets::O;
using test_octets::U;

using record_test::D;
using CaseHelpers = record_test::TwoRecords;

TEST_F(CaseHelpers, WholeTextCaseKeepsSubfieldCodes) {
    // 8-bit: only ASCII letters go up; the MARC-8 special capitals come down.
    EXPECT_EQ(marc8.SafeUCase(D("$aabc ") + O("B2")), D("$aABC ") + O("B2"));
    EXPECT_EQ(marc8.SafeLCase(O("A2") + D("$bABC")), O("B2") + D("$babc"));
    EXPECT_EQ(marc8.SafeLCase(O("A1 A6 C3")), O("B1 B6 C3"));
    EXPECT_EQ(marc8.SafeUCase(D("ab$")), D("AB$"));
    EXPECT_EQ(marc8.SafeLCase(D("$AABC$") + O("A2") + "X" + O("A2")), D("$Aabc$") + O("A2") + "x" + O("B2"));
    EXPECT_EQ(marc8.SafeUCase(""), "");
    // UTF-8: every character through the character object.
    EXPECT_EQ(utf8.SafeUCase(D("$a") + U(0x142)), D("$a") + U(0x141));
    EXPECT_EQ(utf8.SafeUCase(D("$bstra") + U(0xDF) + "e"), D("$bSTRA") + U(0xDF) + "E");
    EXPECT_EQ(utf8.SafeLCase(D("$AÉCOLE $ZX")), D("$A") + U(0xE9) + D("cole $Zx"));
    EXPECT_EQ(utf8.SafeLCase(U(0x10400)), U(0x10400));  // beyond the basic plane: no case
    EXPECT_EQ(utf8.SafeUCase(D("x$")), D("X$"));
}

TEST_F(CaseHelpers, FirstWordInBothKindsOfRecord) {
    struct Case {
        std::string Text;
        bool AtHyphens;
        std::string Utf8Expected, Marc8Expected;
    };
    const std::vector<Case> cases = {
        {"...the cat", false, "...The cat", "...The cat"},
        {"1st ed.", false, "1st ed.", "1st ed."},
        {"The", false, "The", "The"},
        {"$a(the", false, "$a(The", "$a(The"},
        {"$6245-01$atext", false, "$6245-01$aText", "$6245-01$aText"},
        {"$6245-01", false, "$6245-01", "$6245-01"},
        {"$a", false, "$a", "$a"},
        {"$", false, "$", "$"},
        {"$b  $5abc", false, "$b  $5abc", "$b  $5abc"},  // a later delimiter ends the scan
        {"...$abc", false, "...$abc", "...$abc"},
        {"$$abc", false, "$$Abc", "$$Abc"},  // the second delimiter is the code
        {"$a$x", false, "$a$x", "$a$x"},
        {"+abc", false, "+abc", "+abc"},
        {"jean-paul sartre $bx-y", true, "Jean-Paul sartre $bx-y", "Jean-paul sartre $bx-y"},
        {"a-b-c", true, "A-B-C", "A-b-c"},
        {"-a", true, "-A", "-a"},
        {"", false, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8.UCaseFirstWord(D(c.Text), c.AtHyphens), D(c.Utf8Expected)) << c.Text;
        EXPECT_EQ(marc8.UCaseFirstWord(D(c.Text), c.AtHyphens), D(c.Marc8Expected)) << c.Text;
    }
    // The MARC-8 small oe becomes the capital; a currency sign or a capital ends the scan.
    EXPECT_EQ(marc8.UCaseFirstWord(O("B6") + "uvre", false), O("A6") + "uvre");
    EXPECT_EQ(marc8.UCaseFirstWord(O("B9") + "5 abc", false), O("B9") + "5 abc");
    EXPECT_EQ(marc8.UCaseFirstWord(O("E2") + "ecole", false), O("E2") + "Ecole");
    EXPECT_EQ(marc8.UCaseFirstWord(O("A2") + "xy", false), O("A2") + "xy");
    // UTF-8: a combining mark and "Lo" letters are passed over, a currency sign ends the scan.
    EXPECT_EQ(utf8.UCaseFirstWord(U(0x301) + "abc", false), U(0x301) + "Abc");
    EXPECT_EQ(utf8.UCaseFirstWord(U(0x5D0) + "abc", false), U(0x5D0) + "Abc");
    EXPECT_EQ(utf8.UCaseFirstWord(U(0x20AC) + "abc", false), U(0x20AC) + "abc");
    EXPECT_EQ(utf8.UCaseFirstWord(U(0x3B1) + U(0x3B2), false), U(0x391) + U(0x3B2));

    const std::vector<std::pair<std::string, std::string>> lower = {
        {"ABC", "aBC"}, {"$6245-01$aABC", "$6245-01$aABC"}, {"$aABC", "$aaBC"}, {"...X y", "...x y"},
        {"1ABC", "1ABC"}, {"aBC", "aBC"},                  {"$b $ZX", "$b $ZX"}, {"", ""},
    };
    for (const auto& [text, expected] : lower) {
        EXPECT_EQ(utf8.LCaseFirstWord(D(text)), D(expected)) << text;
        EXPECT_EQ(marc8.LCaseFirstWord(D(text)), D(expected)) << text;
    }
    EXPECT_EQ(marc8.LCaseFirstWord(O("A1") + "ODZ"), O("B1") + "ODZ");
    EXPECT_EQ(utf8.LCaseFirstWord(U(0x141) + "ODZ"), U(0x142) + "ODZ");
}

TEST_F(CaseHelpers, TitleCase) {
    struct Case {
        std::string Text, Words, Expected;
    };
    const std::vector<Case> cases = {
        {"the lord of the rings", "*OF*THE*", "the Lord of the Rings"},
        {"The LORD of the rings", "*OF*THE*", "the Lord of the Rings"},
        {"the lord of the rings", "", "the lord of the rings"},
        {"the lord", "*", "the lord"},
        {"l'amour fou", "*L*", "l'Amour Fou"},
        {"d'avignon", "*X*", "D'Avignon"},
        {"  two  blanks ", "*X*", "  Two  Blanks "},
        {"$aone two $btree", "*TWO*", "$aOne two$bTree"},
        {" $a one", "*X*", "$aOne"},
        {"", "*X*", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8.SafeTitleCase(D(c.Text), c.Words), D(c.Expected)) << c.Text;
        EXPECT_EQ(marc8.SafeTitleCase(D(c.Text), c.Words), D(c.Expected)) << c.Text;
    }
}

TEST_F(CaseHelpers, SentenceCase) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"THE END. A NEW START.", "The end. A new start."},
        {" one.  two ", " One. Two "},
        {"what? no! yes.", "What? no! yes."},
        {"a.b. c", "A.b. C"},
        {"end. ", "End. "},
        {".  ", ". "},
        {"", ""},
        {" ", " "},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(utf8.SafeSentenceCase(text), expected) << text;
        EXPECT_EQ(marc8.SafeSentenceCase(text), expected) << text;
    }
}

TEST_F(CaseHelpers, IsTrue) {
    for (const char* word : {"true", " Yes ", "y", "T", "1", "TRUE", "  true  "}) {
        EXPECT_TRUE(utf8.IsTrue(word)) << word;
        EXPECT_TRUE(marc8.IsTrue(word)) << word;
    }
    for (const char* word : {"no", "on", "2", "", "False", "yes please", "t rue", "11"}) {
        EXPECT_FALSE(utf8.IsTrue(word)) << word;
        EXPECT_FALSE(marc8.IsTrue(word)) << word;
    }
}

TEST_F(CaseHelpers, CharIsNumericAndItsValue) {
    struct Case {
        std::string Char;
        int16_t Before;
        bool Numeric;
        int16_t After;
    };
    // 8-bit record: ASCII digits and the set-V superscript and subscript digits,
    // also behind an escape and a set letter.
    const std::vector<Case> marc8Cases = {
        {"7", 0, true, 7},           {"7", -99, true, -99},        {O("D5"), 0, true, 5},
        {O("C5"), 0, true, 5},       {O("DA"), 4, false, 4},       {"x", 4, false, 4},
        {"", 4, false, 4},           {O("1B") + "p5", 0, true, 5}, {O("1B") + "b56", 0, true, 5},
        {O("1B") + "p", 3, false, 3}, {O("1B") + "pX", 3, false, 3}, {O("1B 70 35 1B 73"), 3, false, 3},
        {"0abc", 9, true, 0},
    };
    for (const Case& c : marc8Cases) {
        int16_t value = c.Before;
        EXPECT_EQ(marc8.CharIsNumeric(c.Char, value), c.Numeric) << c.Char;
        EXPECT_EQ(value, c.After) << c.Char;
    }
    const std::vector<Case> utf8Cases = {
        {"7", 0, true, 7},       {U(0x663), 0, true, 3}, {U(0x663), -99, true, -99}, {U(0xB2), 5, false, 5},
        {"x", 5, false, 5},      {"", 5, false, 5},      {U(0x96F) + "x", 0, true, 9},
        {U(0xFF19), 5, false, 5},  // a fullwidth digit has a compatibility decomposition: "ZZ"
    };
    for (const Case& c : utf8Cases) {
        int16_t value = c.Before;
        EXPECT_EQ(utf8.CharIsNumeric(c.Char, value), c.Numeric) << c.Char;
        EXPECT_EQ(value, c.After) << c.Char;
    }
}

TEST_F(CaseHelpers, LetterTests) {
    struct Case {
        std::string Char;
        bool Alpha, Upper, Lower;
    };
    const std::vector<Case> utf8Cases = {
        {"a", true, false, true},         {"A", true, true, false},          {U(0xDF), true, false, true},
        {U(0x1F88), true, true, false},    {U(0x5D0), true, false, false},    {U(0x10400), false, false, false},
        {"1", false, false, false},       {"", false, false, false},         {U(0x301), false, false, false},
    };
    for (const Case& c : utf8Cases) {
        EXPECT_EQ(utf8.CharIsAlpha(c.Char), c.Alpha) << c.Char;
        EXPECT_EQ(utf8.CharIsUpper(c.Char), c.Upper) << c.Char;
        EXPECT_EQ(utf8.CharIsLower(c.Char), c.Lower) << c.Char;
    }
    const std::vector<Case> marc8Cases = {
        {"a", true, false, true},      {"Z", true, true, false},      {O("A2"), true, true, false},
        {O("B6"), true, false, true},  {O("B8"), false, false, false}, {O("E2"), false, false, false},
        {"", false, false, false},     {"1", false, false, false},
    };
    for (const Case& c : marc8Cases) {
        EXPECT_EQ(marc8.CharIsAlpha(c.Char), c.Alpha) << c.Char;
        EXPECT_EQ(marc8.CharIsUpper(c.Char), c.Upper) << c.Char;
        EXPECT_EQ(marc8.CharIsLower(c.Char), c.Lower) << c.Char;
    }
}

TEST_F(CaseHelpers, StringIsNumeric) {
    struct Case {
        std::string Text, Allowed;
        bool Utf8Expected, Marc8Expected;
    };
    const std::vector<Case> cases = {
        {"12-34", "-", true, true},
        {"12a", "", false, false},
        {"", "", false, true},  // an empty text in a UTF-8 record needs additional characters
        {"", "-", true, true},
        {"1" + U(0x663), "", true, false},
        {"1" + O("D5 C3"), "", false, true},
        {"1" + U(0xE9), U(0xE9), true, true},
        {std::string(40000, '5'), "", true, true},  // past 32,767 octets no overflow
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8.StringIsNumeric(c.Text, c.Allowed), c.Utf8Expected) << c.Text.substr(0, 20);
        EXPECT_EQ(marc8.StringIsNumeric(c.Text, c.Allowed), c.Marc8Expected) << c.Text.substr(0, 20);
    }
}

TEST_F(CaseHelpers, CharCategory) {
    const std::vector<std::pair<std::string, std::string>> marc8Cases = {
        {":", "Po"},       {O("E1"), "Mn"}, {O("D9"), "Nd"}, {O("DA"), "Po"}, {O("C3"), "Po"}, {"", "Cc"},
        {O("1F"), "Cc"},   {O("1B"), "Cc"}, {" ", "Zs"},     {"'", "Pi"},     {"[", "Ps"},     {">", "Pe"},
        {"-", "Pd"},       {"5", "Nd"},     {O("C8"), "Nd"}, {"Q", "Lu"},     {O("AD"), "Lu"}, {O("AE"), "Po"},
        {"q", "Ll"},       {O("91"), "Ll"}, {O("BD"), "Ll"}, {O("BB"), "Po"}, {O("FF"), "Mn"}, {O("00"), "Po"},
    };
    for (const auto& [chr, category] : marc8Cases) EXPECT_EQ(marc8.CharCategory(chr), category) << chr;
    // C0 to C6 are digits only when the input set is V.
    marc8.CharacterSetIn("V");
    EXPECT_EQ(marc8.CharCategory(O("C3")), "Nd");
    EXPECT_EQ(marc8.CharCategory(O("C6")), "Nd");

    EXPECT_EQ(utf8.CharCategory(""), "Cc");
    EXPECT_EQ(utf8.CharCategory("a"), "Ll");
    EXPECT_EQ(utf8.CharCategory(U(0x663) + "x"), "Nd");
    EXPECT_EQ(utf8.CharCategory(U(0x10400)), "");
}

TEST_F(CaseHelpers, LengthsAndLastNondiacriticCharacter) {
    const std::string ae = "a" + U(0xE9);
    EXPECT_EQ(utf8.SafeLen(ae), 2);
    EXPECT_EQ(utf8.LengthInCharacters(ae), 2);
    EXPECT_EQ(marc8.SafeLen(ae), 3);
    EXPECT_EQ(marc8.LengthInCharacters(ae), 3);
    EXPECT_EQ(utf8.SafeLen(""), 0);
    EXPECT_EQ(utf8.SafeLen("a" + O("E2 82")), 2);  // a last character cut short counts as one
    EXPECT_EQ(utf8.SafeLen(O("80 80")), 2);        // stray continuation octets are one each

    const std::vector<std::pair<std::string, std::string>> utf8Cases = {
        {"e" + U(0x301), "e"},
        {U(0x301), ""},
        {"", ""},
        {"ab" + U(0xE9) + U(0x301) + U(0x327), U(0xE9)},
        {"x" + U(0x10400), U(0x10400)},
        {"a" + O("80"), "a" + O("80")},  // the continuation octet belongs to the character before
    };
    for (const auto& [text, expected] : utf8Cases) EXPECT_EQ(utf8.LastNondiacriticCharacter(text), expected) << text;
    EXPECT_EQ(marc8.LastNondiacriticCharacter("ab" + O("E2")), O("E2"));
    EXPECT_EQ(marc8.LastNondiacriticCharacter(""), "");
}

}  // namespace
