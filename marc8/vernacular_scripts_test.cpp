#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"
#include "platform/events.h"

namespace {

using record_test::D;
using test_octets::U;

TEST(IdentifySubfield6Pieces, Cases) {
    struct Case {
        std::string in, tag, sequence, suffix;
    };
    const std::vector<Case> cases = {
        {"245-01/(N/r", "245", "01", "/(N/r"}, {"245-1", "245", "01", ""},
        {"880-101", "880", "101", ""},         {"245", "245", "00", ""},
        {"24", "24", "00", ""},                {"245-01 (N", "245", "01", "/(N"},
        {"245-ab03/r", "245", "03", "/r"},     {"245/(3/r", "245", "03", "/r"},
        {"245-/(N", "245", "00", ""},          {"", "", "00", ""},
    };
    Utf8MarcRecordClass record;
    for (const Case& c : cases) {
        std::string tag = "x", sequence = "x", suffix = "x";
        record.IdentifySubfield6Pieces(c.in, tag, sequence, suffix);
        EXPECT_EQ(tag, c.tag) << c.in;
        EXPECT_EQ(sequence, c.sequence) << c.in;
        EXPECT_EQ(suffix, c.suffix) << c.in;
    }
}

struct ScriptCase {
    std::string in;
    bool present;
    std::string letters;
};

std::vector<ScriptCase> ScriptCases() {
    return {
        {"", false, ""},
        {"Cafe" + U(0x301) + U(0x36F), false, ""},
        {U(0x370), true, "G"},
        {U(0x3B1) + U(0x1F00), true, "G"},
        {U(0x414), true, "R"},
        {U(0x5D0), true, "H"},
        {U(0x627), true, "A"},
        {U(0x2113) + U(0x2117) + U(0x266D) + U(0x266F) + U(0x2013) + U(0x20AC) + U(0xFE20) + U(0xFE23), false, ""},
        {U(0x2116), true, "Z"},
        {U(0xFE24), true, "Z"},
        {U(0xFEFF), true, "Z"},
        {U(0x1E00) + U(0x531) + U(0x700), true, "Z"},
        {U(0x4E2D) + U(0x30AB), true, "CJ"},
        {U(0x30AB) + U(0x4E2D) + U(0x4E2D), true, "JC"},
        {U(0x1100) + U(0xD7A3) + U(0xD7AE), true, "K"},
        {U(0xD7AF), true, "Z"},
        {U(0xFFCD), true, "J"},
        {U(0xFFCE), true, "Z"},
        {U(0x2FD5) + U(0x4DFF), true, "C"},
        {U(0x2FD6) + U(0x4DFF), true, "ZC"},
        {U(0x20000) + U(0x2A6D6) + U(0x2F800), true, "C"},
        {U(0x2A6D7), true, "Z"},
        // MARC-8 text and cut-short characters: what the first octet says, letter "Z"
        {"\xE2" "e", true, "Z"},
        {"a\xCD", false, ""},
        {"\xCD" "a", false, ""},
        {"\xE2\x82", true, "Z"},
        {"\xF0\x9F", true, "Z"},
        {"\xD0", true, "Z"},
        {"\xCD\xFF", true, "Z"},
    };
}

TEST(VernacularData, ScriptsOfATextAndTheirLetters) {
    Utf8MarcRecordClass record;
    for (const ScriptCase& c : ScriptCases()) {
        std::string letters;
        EXPECT_EQ(record.VernacularDataCharacterize(c.in, letters), c.present) << testing::PrintToString(c.in);
        EXPECT_EQ(letters, c.letters) << testing::PrintToString(c.in);
        EXPECT_EQ(record.VernacularDataPresent(c.in), c.present) << testing::PrintToString(c.in);
    }
    std::string letters = "G";
    EXPECT_TRUE(record.VernacularDataCharacterize(U(0x3B1), letters));
    EXPECT_EQ(letters, "G");
    EXPECT_TRUE(record.VernacularDataCharacterize(U(0x414), letters));
    EXPECT_EQ(letters, "GR");
    EXPECT_FALSE(record.VernacularDataCharacterize("", letters));
    EXPECT_EQ(letters, "GR");
}

TEST(VernacularData, YieldsAtEveryPositionAndAnswersTheSameDuringAYield) {
    Utf8MarcRecordClass record;
    int yields = 0;
    bool bInside = false;
    std::vector<bool> nested;
    platform::ScopedEventPump pump([&] {
        ++yields;
        if (bInside) return;
        bInside = true;
        nested.push_back(record.VernacularDataPresent(U(0x5D0)));
        bInside = false;
    });
    for (const ScriptCase& c : ScriptCases()) {
        std::string letters;
        EXPECT_EQ(record.VernacularDataCharacterize(c.in, letters), c.present) << testing::PrintToString(c.in);
        EXPECT_EQ(letters, c.letters) << testing::PrintToString(c.in);
    }
    yields = 0;
    record.VernacularDataPresent("abc" + U(0x4E2D));  // four positions: "a", "b", "c" and the character
    EXPECT_EQ(yields, 4 + 4);                         // and the one of each nested call
    for (bool b : nested) EXPECT_TRUE(b);
}

TEST(ContainsRightToLeftCharacters, Cases) {
    struct Case {
        std::string in;
        bool rtl;
    };
    const std::vector<Case> cases = {
        {"", false},
        {"abc" + U(0x5D0), true},
        {U(0x627), true},
        {U(0x6FF), true},
        {U(0x200F), true},
        {U(0x200E), true},
        {U(0x202A), true},
        {U(0x202B), true},
        {U(0x202D), true},
        {U(0x202E), true},
        {U(0x202C), false},
        {U(0x710), false},
        {U(0x580) + U(0x58F), false},
        {"\xD7", false},
        {"\xE2\x80", false},
    };
    Utf8MarcRecordClass record;
    for (const Case& c : cases)
        EXPECT_EQ(record.ContainsRightToLeftCharacters(c.in), c.rtl) << testing::PrintToString(c.in);
}

TEST(VernacularData, FieldsAndSubfields) {
    Utf8MarcRecordClass record;
    record.NewRecord("a", "m");
    record.FldPointer(-1);
    EXPECT_EQ(record.FldTagTrue(), "");
    std::string letters = "x";
    EXPECT_FALSE(record.FldCharacterizeVernacularData(letters));
    EXPECT_EQ(letters, "");
    EXPECT_FALSE(record.FldContainsVernacularData());
    EXPECT_FALSE(record.SfdContainsVernacularData());

    record.FldAdd("880", "10", D("$6245-01/(N$a" + U(0x414) + "$b" + U(0x3B1) + U(0x4E2D) + "$c" + U(0x416)), false);
    const int16_t i880 = record.FldPointer();
    record.FldAdd("880", "10", D("$aNo link"), false);
    const int16_t iNoLink = record.FldPointer();
    record.FldAdd("245", "10", D("$aPlain$b" + U(0x5D0)), false);
    const int16_t i245 = record.FldPointer();

    record.FldPointer(i880);
    EXPECT_EQ(record.FldTagTrue(), "245");
    EXPECT_TRUE(record.FldCharacterizeVernacularData(letters));
    EXPECT_EQ(letters, "RGC");
    EXPECT_TRUE(record.FldContainsVernacularData());
    record.FldPointer(iNoLink);
    EXPECT_EQ(record.FldTagTrue(), "880");
    EXPECT_FALSE(record.FldCharacterizeVernacularData(letters));
    EXPECT_EQ(letters, "");
    EXPECT_FALSE(record.FldContainsVernacularData());
    record.FldPointer(i245);
    EXPECT_EQ(record.FldTagTrue(), "245");

    // The subfield under the cursor; a deleted subfield is passed over by the field tests.
    Utf8MarcRecordState& s = RecordTestAccess::MutableState(record);
    FieldEntry& f = s.Fields[static_cast<size_t>(i245)];
    const int16_t iPlain = f.FirstSubfield;
    const int16_t iHebrew = f.Subfields[static_cast<size_t>(iPlain)].NextSubfield;
    s.SfdPointer = iPlain;
    EXPECT_FALSE(record.SfdContainsVernacularData());
    s.SfdPointer = iHebrew;
    EXPECT_TRUE(record.SfdContainsVernacularData());
    s.SfdAtTop = true;
    EXPECT_FALSE(record.SfdContainsVernacularData());
    s.SfdAtTop = false;
    f.Subfields[static_cast<size_t>(iHebrew)].Deleted = true;
    EXPECT_TRUE(record.SfdContainsVernacularData());
    EXPECT_FALSE(record.FldContainsVernacularData());
    EXPECT_FALSE(record.FldCharacterizeVernacularData(letters));
    EXPECT_EQ(record.FldPointer(), i245);
    EXPECT_EQ(s.SfdPointer, iHebrew);
}

}  // namespace
