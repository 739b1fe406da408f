// Roman numerals and series numbering patterns.
#include <gtest/gtest.h>

#include <string>

#include "common/raised_error.h"
#include "marc/record/record_test_access.h"

namespace {

using A = RecordTestAccess;

class RomanAndPatterns : public record_test::TwoRecords {};

TEST_F(RomanAndPatterns, RomanNumberValue) {
    const std::pair<const char*, int32_t> cases[] = {
        {"MCMXCIV", 1994}, {"IIX", 8}, {"XIIII", 14}, {"IC", 99}, {"X IV", 14},
        {"xiv", 0},        {"XIV.", 0}, {"", 0},      {" ", 0},   {"MMMM", 4000},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(utf8.RomanNumberValue(text), value) << text;
        EXPECT_EQ(marc8.RomanNumberValue(text), value) << text;
    }
    // 2,147,483 thousands and 647 more fit; one more overflows.
    const std::string sLargest = std::string(2147483, 'M') + "DCXLVII";
    EXPECT_EQ(utf8.RomanNumberValue(sLargest), 2147483647);
    try {
        utf8.RomanNumberValue(std::string(2147483, 'M') + "DCXLVIII");
        ADD_FAILURE() << "no overflow";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), ErrorNumber::Overflow);
    }
}

TEST_F(RomanAndPatterns, IsThisARomanNumeral) {
    const std::pair<const char*, bool> cases[] = {
        {"XIV", true},   {"XIIII", true},  {"XXXX", true}, {"LXXXXVIIII", true}, {"MDCCCCLXXXXVIIII", true},
        {"MMMM", true},  {"IV", true},     {"CCCCXC", true}, {"CDLXXXX", true},  {"MCMXCIV", true},
        {"xiv", false},  {" XIV", false},  {"X IV", false},  {"IIX", false},     {"IC", false},
        {"VV", false},   {"IIIII", false}, {"", false},      {"XIV.", false},    {"ABC", false},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(utf8.IsThisARomanNumeral(text), expected) << text;
        EXPECT_EQ(marc8.IsThisARomanNumeral(text), expected) << text;
    }
}

TEST_F(RomanAndPatterns, FirstPattern) {
    const std::pair<const char*, const char*> cases[] = {
        {"N.F. Bd. 3", "BD 0"}, {"new ser., v. 12", "V 0"}, {"nouv. ser. 4", "0"},
        {"v. 1-4, etc.", "V 0"}, {"12 13 14", "0"},          {"xiv", "R"},
        {"1995/96", "0"},        {"", ""},                   {"...", ""},
        {"Heft 2a", "HEFT 0A"},  {"etc", "ETC"},             {"v. 3 etc", "V 0"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(utf8.ReduceSeriesNumberingToPattern1(text), expected) << text;
        EXPECT_EQ(marc8.ReduceSeriesNumberingToPattern1(text), expected) << text;
    }
}

TEST_F(RomanAndPatterns, FirstPatternPutsTheSchemeBack) {
    utf8.NormalizationScheme("P");
    EXPECT_EQ(utf8.ReduceSeriesNumberingToPattern1("v. 12"), "V 0");
    EXPECT_EQ(utf8.NormalizationScheme(), "P");
    // Also when the step raises: a Roman total beyond 32 bits.
    EXPECT_THROW(utf8.ReduceSeriesNumberingToPattern1(std::string(2147484, 'M')), RaisedError);
    EXPECT_EQ(utf8.NormalizationScheme(), "P");
}

TEST_F(RomanAndPatterns, SecondPattern) {
    const std::pair<const char*, const char*> cases[] = {
        {"N.F. Bd. 3", "Bd. 0"},
        {"v. 1, etc.", "v. 0"},
        {"XIV", "R"},
        {"xiv", "xiv"},
        {"Heft B", "Heft A"},
        {"Reihe A, Nr. 12", "Reihe A, Nr. 0"},
        {"NS 4", "A 0"},
        {"1.2.3", "0"},
        {"12-15", "0"},
        {"v. 12, no. 3", "v. 0, no. 0"},
        {"no. 3.", "no. 0"},
        {"Bd. A.", "Bd. A"},
        {"McGraw 3", "McGraw 0"},
        {"Band 3", "Band 0"},
        {"B", "A"},
        {"Bd", "Bd"},
        {"nouv. ser. 3", "0"},
        {"NEW SER 3", "0"},
        {"1, 2, 3", "0"},
        {"", ""},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(utf8.ReduceSeriesNumberingToPattern2(text), expected) << text;
        EXPECT_EQ(marc8.ReduceSeriesNumberingToPattern2(text), expected) << text;
    }
}

TEST_F(RomanAndPatterns, SecondPatternInUtf8) {
    const std::pair<const char*, const char*> cases[] = {
        {"\xC3\x89tude \xE0\xBC\xAA", "\xC3\x89tude 0"},  // a capital inside a word stays; a Tibetan number
        {"v. \xC2\xB2", "v. \xC2\xB2"},                 // superscript two has a compatibility form, no number category
        {"Heft \xC3\x89", "Heft A"},                     // a capital alone
        {"\xD0\xA2. \xD9\xA3", "A. 0"},                  // Cyrillic capital, Arabic-Indic digit
        {"\xE3\x80\x87", "0"},                           // an ideographic zero is a letter number
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(utf8.ReduceSeriesNumberingToPattern2(text), expected) << text;
    // The shared character object stays on the last character examined.
    utf8.ReduceSeriesNumberingToPattern2("v. 3x");
    EXPECT_EQ(A::State(utf8).MyUtf8Char->Utf8Char(), "x");
}

}  // namespace
