#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "common/raised_error.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"

namespace {

using test_octets::O;
using test_octets::U;

const std::string kDelim = "\x1F";
const std::string kEsc = "\x1B";

struct FormCase {
    std::string text;
    bool bTrim;
    std::string expected;
};

void ExpectForms(Utf8MarcRecordClass& record, const std::vector<FormCase>& cases) {
    for (const FormCase& k : cases) {
        EXPECT_EQ(record.NormString(k.text, k.bTrim, "V"), k.expected)
            << "set " << record.CharacterSetOut() << ", text " << ::testing::PrintToString(k.text);
    }
}

Utf8MarcRecordClass& InSet(Utf8MarcRecordClass& record, const std::string& sSet) {
    record.CharacterSetOut(sSet);
    return record;
}

// UTF-8 text: character by character. Precomposed letters and the no-break
// spaces vanish (records are decomposed as they load, and these are the
// rules); the delimiter goes under scheme "V" while its code stays.
TEST(NormString, Utf8TextGoesThroughTheCharacterForms) {
    Utf8MarcRecordClass record;
    ExpectForms(record, {
        {"", true, ""},
        {"   ", true, ""},
        {"   ", false, " "},
        {"  a  b  ", false, " A B "},
        {"Cafe" + U(0x301), true, "CAFE"},
        {"Caf" + U(0xE9), true, "CAFE"},         // precomposed é as its decomposition
        {U(0xC9) + "mile", true, "EMILE"},       // and É
        {"A" + U(0xA0) + "B" + U(0x3000) + "C", true, "ABC"},
        {"O'Brien", true, "OBRIEN"},
        {"Smith, John,", true, "SMITH JOHN"},
        {kDelim + "aSmith" + kDelim + "d1900-", true, "ASMITHD1900"},
        {"[2] (3)", true, "2 3"},
        {U(0x3B1) + U(0x3AC), true, U(0x391) + U(0x391)},
        {"a@b#c&d+e", true, "A B#C&D+E"},
        {O("80") + "x" + O("F0 9D 90 80"), true, "X"},  // stray octet, beyond the basic plane
    });
}

// The walk leaves the shared character object on the text's last character,
// whichever way each character's form was found.
TEST(NormString, LeavesTheLastCharacterCurrent) {
    Utf8MarcRecordClass record;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"abc", "c"}, {"ab" + U(0xE9), U(0xE9)}, {"a" + U(0x4E00), U(0x4E00)}, {"x" + kDelim, kDelim},
        {"@", "@"},   {"a" + O("F0 9D 90 80"), O("F0 9D 90 80")}, {"q" + O("E2 82"), O("E2 82")},
    };
    for (const auto& [text, last] : cases) {
        record.NormString(text, true, "V");
        EXPECT_EQ(RecordTestAccess::State(record).MyUtf8Char->Utf8Char(), last) << ::testing::PrintToString(text);
        record.NormStringNaco(text, true, "P", "A", "100", "a");
        EXPECT_EQ(RecordTestAccess::State(record).MyUtf8Char->Utf8Char(), last) << ::testing::PrintToString(text);
    }
}

TEST(NormString, TheSchemeArgumentChangesNothing) {
    Utf8MarcRecordClass record;
    for (const std::string& text : {std::string("a@b, c-d"), kDelim + "aX"}) {
        const std::string form = record.NormString(text, true, "V");
        EXPECT_EQ(record.NormString(text, true, "P"), form);
        EXPECT_EQ(record.NormString(text, true, "Q"), form);
    }
    // The record's own scheme keeps the delimiter in UTF-8 text.
    record.NormalizationScheme("P");
    EXPECT_EQ(record.NormString(kDelim + "aSmith" + kDelim + "d1900-", true, "V"),
              kDelim + "ASMITH" + kDelim + "D1900");
    record.CharacterSetOut("M");
    EXPECT_EQ(record.NormString(kDelim + "aSmith" + kDelim + "d1900-", true, "V"), "SMITH 1900");
}

// The exit check normalizes its list of excluded patron groups: numbers come
// back separated by single blanks, and blanks alone give nothing.
TEST(NormString, ListsOfNumbersKeepTheirNumbersInEverySet) {
    for (const std::string set : {"U", "M", "O", "V"}) {
        Utf8MarcRecordClass record;
        ExpectForms(InSet(record, set), {
            {"12, 7,3  45", true, "12 7 3 45"},
            {"  1 ,2 , 30  ", true, "1 2 30"},
            {"7", true, "7"},
            {"    ", true, ""},
            {"", true, ""},
        });
    }
}

TEST(NormString, EightBitTextGoesThroughTheOctetMaps) {
    Utf8MarcRecordClass marc8;
    ExpectForms(InSet(marc8, "M"), {
        {"Caf" + O("E2") + "e", true, "CAFE"},
        {"Smith, John,", true, "SMITH JOHN"},
        {"a" + O("C0") + "b" + O("C1") + "c", true, "ABLC"},
        {"x" + O("C2") + "y", true, "XY"},
        {"H" + kEsc + "b2" + kEsc + "sO", true, "H2O"},
        {kEsc + "ga" + kEsc + "s", true, "A"},
        {kEsc + "gaxb" + kDelim + "dZ", true, "AB Z"},
        {kEsc + "gcA" + kEsc + "gb", true, "GB"},          // a second escape ends the run with its octet
        {"ab" + kEsc + "(Bcd", true, "ABBCD"},            // only ESC "(" is skipped
        {"end" + kEsc, true, "END"},
        {kDelim + "aSmith" + kDelim + "d1900-", true, "SMITH 1900"},
        {O("A4") + "or " + O("B5") + "ther", true, "THOR AETHER"},
        {O("BE") + "x", true, "LX"},
    });
    Utf8MarcRecordClass variant;
    ExpectForms(InSet(variant, "V"), {
        {"x" + O("C2") + "y", true, "X2Y"},
        {"ab" + kEsc + "(Bcd" + O("D3"), true, "ABBCD3"},
        {"H" + kEsc + "b2" + kEsc + "sO", true, "H2O"},
        {O("AF BE BF A0"), true, "ABGL"},
        {"a" + O("09") + "b", true, "A B"},
    });
    Utf8MarcRecordClass other;
    ExpectForms(InSet(other, "O"), {{O("BE C1") + "x", true, "LLX"}});
}

TEST(NormString, OtherOutputSetsGiveNothing) {
    Utf8MarcRecordClass record;
    ExpectForms(InSet(record, "L"), {{"Smith, John", true, ""}, {"12 7", true, ""}, {"  ", false, ""}});
}

// The composed per-octet forms of the 8-bit sets, octet by octet.
TEST(NormString, EveryOctetOfTheEightBitSetsHasItsForm) {
    enum Kind { Itself, Upper, Blank, Deleted, Text };
    struct Row {
        int first, last;
        Kind v;
        std::string vText;
        Kind m;
        std::string mText;
    };
    const std::vector<Row> rows = {
        {0x00, 0x1A, Blank, "", Deleted, ""},
        {0x1C, 0x1E, Blank, "", Deleted, ""},
        {0x20, 0x20, Itself, "", Itself, ""},
        {0x23, 0x23, Itself, "", Itself, ""},
        {0x26, 0x26, Itself, "", Itself, ""},
        {0x2B, 0x2B, Itself, "", Itself, ""},
        {0x30, 0x39, Itself, "", Itself, ""},
        {0x41, 0x5A, Itself, "", Itself, ""},
        {0x61, 0x7A, Upper, "", Upper, ""},
        {0x27, 0x27, Deleted, "", Deleted, ""},
        {0x5B, 0x5B, Deleted, "", Deleted, ""},
        {0x5D, 0x60, Deleted, "", Deleted, ""},
        {0x7C, 0x7C, Deleted, "", Deleted, ""},
        {0x7E, 0x7E, Deleted, "", Deleted, ""},
        {0x21, 0x22, Blank, "", Blank, ""},
        {0x24, 0x25, Blank, "", Blank, ""},
        {0x28, 0x2A, Blank, "", Blank, ""},
        {0x2C, 0x2F, Blank, "", Blank, ""},
        {0x3A, 0x40, Blank, "", Blank, ""},
        {0x5C, 0x5C, Blank, "", Blank, ""},
        {0x7B, 0x7B, Blank, "", Blank, ""},
        {0x7D, 0x7D, Blank, "", Blank, ""},
        {0x7F, 0x86, Deleted, "", Deleted, ""},
        {0x88, 0x9F, Deleted, "", Deleted, ""},
        {0x87, 0x87, Blank, "", Deleted, ""},
        {0xA0, 0xA0, Text, "L", Deleted, ""},
        {0xA1, 0xA1, Text, "L", Text, "L"},
        {0xB1, 0xB1, Text, "L", Text, "L"},
        {0xA2, 0xA2, Text, "O", Text, "O"},
        {0xB2, 0xB2, Text, "O", Text, "O"},
        {0xAC, 0xAC, Text, "O", Text, "O"},
        {0xBC, 0xBC, Text, "O", Text, "O"},
        {0xA3, 0xA3, Text, "D", Text, "D"},
        {0xB3, 0xB3, Text, "D", Text, "D"},
        {0xBA, 0xBA, Text, "D", Text, "D"},
        {0xA4, 0xA4, Text, "TH", Text, "TH"},
        {0xB4, 0xB4, Text, "TH", Text, "TH"},
        {0xA5, 0xA5, Text, "AE", Text, "AE"},
        {0xB5, 0xB5, Text, "AE", Text, "AE"},
        {0xA6, 0xA6, Text, "OE", Text, "OE"},
        {0xB6, 0xB6, Text, "OE", Text, "OE"},
        {0xAD, 0xAD, Text, "U", Text, "U"},
        {0xBD, 0xBD, Text, "U", Text, "U"},
        {0xB8, 0xB8, Text, "I", Text, "I"},
        {0xA9, 0xA9, Itself, "", Itself, ""},
        {0xAA, 0xAA, Blank, "", Blank, ""},
        {0xB9, 0xB9, Blank, "", Blank, ""},
        {0xAB, 0xAB, Blank, "", Deleted, ""},
        {0xA7, 0xA8, Deleted, "", Deleted, ""},
        {0xAE, 0xAE, Deleted, "", Deleted, ""},
        {0xB0, 0xB0, Deleted, "", Deleted, ""},
        {0xB7, 0xB7, Deleted, "", Deleted, ""},
        {0xBB, 0xBB, Deleted, "", Deleted, ""},
        {0xAF, 0xAF, Text, "A", Deleted, ""},
        {0xBE, 0xBE, Text, "B", Text, "L"},
        {0xBF, 0xBF, Text, "G", Deleted, ""},
        {0xC0, 0xC0, Text, "0", Deleted, ""},
        {0xC1, 0xC1, Text, "1", Text, "L"},
        {0xC2, 0xC9, Text, "*", Deleted, ""},  // "*": the digit of the octet
        {0xCA, 0xCD, Blank, "", Deleted, ""},
        {0xCE, 0xCF, Deleted, "", Deleted, ""},
        {0xD0, 0xD9, Text, "*", Deleted, ""},
        {0xDA, 0xDD, Blank, "", Deleted, ""},
        {0xDE, 0xFF, Deleted, "", Deleted, ""},
    };
    auto expected = [](int octet, Kind kind, const std::string& text) -> std::string {
        switch (kind) {
            case Itself: return std::string(1, static_cast<char>(octet));
            case Upper: return std::string(1, static_cast<char>(octet - 0x20));
            case Blank: return " ";
            case Deleted: return "";
            case Text: return text == "*" ? std::string(1, static_cast<char>('0' + (octet & 0x0F))) : text;
        }
        return "?";
    };
    std::vector<int> seen(256, 0);
    Utf8MarcRecordClass v, m, o;
    InSet(v, "V");
    InSet(m, "M");
    InSet(o, "O");
    for (const Row& row : rows) {
        for (int octet = row.first; octet <= row.last; ++octet) {
            ++seen[static_cast<size_t>(octet)];
            const std::string text(1, static_cast<char>(octet));
            // Between two letters, so that a blank is not trimmed away.
            EXPECT_EQ(v.NormString("x" + text + "x", false, "V"), "X" + expected(octet, row.v, row.vText) + "X")
                << "V " << std::hex << octet;
            EXPECT_EQ(m.NormString("x" + text + "x", false, "V"), "X" + expected(octet, row.m, row.mText) + "X")
                << "M " << std::hex << octet;
            EXPECT_EQ(o.NormString("x" + text + "x", false, "V"), m.NormString("x" + text + "x", false, "V"))
                << "O " << std::hex << octet;
        }
    }
    for (int octet = 0; octet < 256; ++octet) {
        if (octet == 0x1B || octet == 0x1F) continue;
        EXPECT_EQ(seen[static_cast<size_t>(octet)], 1) << "octet " << std::hex << octet;
    }
}

// Positions of the 8-bit scan are 16-bit: a text, or the codes between the two
// maps, beyond 32,767 octets raise the overflow error.
TEST(NormString, EightBitTextsBeyondSixteenBitPositionsOverflow) {
    Utf8MarcRecordClass m;
    InSet(m, "M");
    EXPECT_EQ(m.NormString(std::string(32767, 'a'), true, "V"), std::string(32767, 'A'));
    auto expectOverflow = [](Utf8MarcRecordClass& record, const std::string& text) {
        try {
            record.NormString(text, true, "V");
            ADD_FAILURE() << "no overflow";
        } catch (const RaisedError& e) {
            EXPECT_EQ(e.Number(), ErrorNumber::Overflow);
        }
    };
    expectOverflow(m, std::string(32768, 'a'));
    expectOverflow(m, std::string(20000, '\xB4'));  // "TH" for each between the maps
    Utf8MarcRecordClass v;
    InSet(v, "V");
    EXPECT_EQ(v.NormString(std::string(20000, '\xB4'), true, "V").size(), 40000u);
    Utf8MarcRecordClass u;
    EXPECT_EQ(u.NormString(std::string(40000, 'a'), true, "V").size(), 40000u);
}

TEST(NormStringNaco, CommasOfHeadingsAndHyphensOfDatesSurviveUnderSchemeP) {
    struct Case {
        std::string set, text, scheme, format, tag, code, expected;
    };
    const std::vector<Case> cases = {
        {"U", "1900-", "P", "A", "100", "d", "1900-"},
        {"U", "1900-1980", "P", "A", "100", "d", "1900 1980"},
        {"U", "-1980", "P", "B", "700", "d", "-1980"},
        {"U", "1900-1980", "P", "B", "710", "d", "1900 1980"},  // no hyphen rule, plain form
        {"U", "1900-1980", "P", "B", "600", "d", "1900 1980"},
        {"U", "Smith,", "P", "A", "100", "a", "SMITH"},
        {"U", "Smith, John,", "P", "B", "100", "a", "SMITH, JOHN"},
        {"U", "Smith, John,", "P", "B", "245", "a", "SMITH, JOHN"},
        {"U", "Smith, John,", "P", "S", "100", "a", "SMITH JOHN"},
        {"U", "Smith, John,", "P", "B", "500", "a", "SMITH JOHN"},
        {"U", "Smith, John,", "V", "A", "100", "a", "SMITH JOHN"},
        {"U", "Smith, John", "P", "A", "", "a", "SMITH, JOHN"},
        {"U", "Smith, John", "P", "B", "", "a", "SMITH JOHN"},
        {"U", "a@b", "P", "B", "650", "x", "A@B"},
        {"U", "a@b", "V", "B", "650", "x", "A B"},
        {"M", "Smith, John,", "P", "A", "100", "a", "SMITH JOHN"},
        {"M", "1900-1980", "P", "A", "100", "d", "1900 1980"},
        {"L", "Smith", "P", "A", "100", "a", ""},
    };
    for (const Case& k : cases) {
        Utf8MarcRecordClass record;
        record.CharacterSetOut(k.set);
        for (bool bTrim : {true, false}) {
            EXPECT_EQ(record.NormStringNaco(k.text, bTrim, k.scheme, k.format, k.tag, k.code), k.expected)
                << k.set << " " << k.text << " " << k.scheme << k.format << k.tag << k.code << " trim " << bTrim;
        }
    }
    // The trailing comma goes only when it ends the text after the first trim.
    Utf8MarcRecordClass record;
    EXPECT_EQ(record.NormStringNaco("Smith, John, ", true, "P", "B", "100", "a"), "SMITH, JOHN");
    EXPECT_EQ(record.NormStringNaco("Smith, John, ", false, "P", "B", "100", "a"), "SMITH, JOHN,");
}

TEST(NormalizationScheme, TakesPOrVAndPassesItToTheCharacterObject) {
    Utf8MarcRecordClass record;
    EXPECT_EQ(record.NormalizationScheme(), "V");
    record.NormalizationScheme(" p ");
    EXPECT_EQ(record.NormalizationScheme(), "P");
    EXPECT_EQ(RecordTestAccess::State(record).MyUtf8Char->NormalizationScheme(), "P");
    for (const std::string bad : {"X", "", "  ", "q"}) {
        try {
            record.NormalizationScheme(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const RaisedError& e) {
            EXPECT_EQ(e.Number(), ErrorNumber::InvalidPropertyValue);
            EXPECT_EQ(e.Source(), "MarcClass");
            EXPECT_EQ(e.Description(), "Invalid value for NormalizationScheme property");
        }
        EXPECT_EQ(record.NormalizationScheme(), "P");
        EXPECT_EQ(RecordTestAccess::State(record).MyUtf8Char->NormalizationScheme(), "P");
    }
    record.NormalizationScheme("visible");
    EXPECT_EQ(record.NormalizationScheme(), "V");
}

TEST(IsTrue, ReadsTheComparisonFormOfASetting) {
    for (const std::string set : {"U", "M"}) {
        Utf8MarcRecordClass record;
        record.CharacterSetOut(set);
        for (const std::string yes : {"true", " Yes ", "y", "T", "1", "TRUE."})
            EXPECT_TRUE(record.IsTrue(yes)) << set << " '" << yes << "'";
        for (const std::string no : {"no", "on", "2", "", "   ", "yes sir"})
            EXPECT_FALSE(record.IsTrue(no)) << set << " '" << no << "'";
    }
}

}  // namespace
