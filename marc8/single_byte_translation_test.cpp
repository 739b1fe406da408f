#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"

namespace {

using record_test::D;
using record_test::Iso2709;

// "^" in a test text stands for ESC, "|" for the subfield delimiter.
std::string T(std::string s) {
    for (char& c : s) {
        if (c == '^') c = '\x1B';
        else if (c == '|') c = '\x1F';
    }
    return s;
}

int32_t ModeNumber(const std::string& sMode) {
    const std::vector<std::string> modes = {"M2O", "M2V", "O2M", "O2V", "V2M", "V2O"};
    for (size_t n = 0; n < modes.size(); ++n)
        if (modes[n] == sMode) return static_cast<int32_t>(n);
    return -1;
}

struct Applied {
    std::string text;
    bool bChanged = false;
};

Applied Apply(const std::string& sMode, const std::string& sText) {
    Utf8MarcRecordClass record;
    int32_t iMode = ModeNumber(sMode);
    record.SetUpTranslation(iMode);
    Applied a{sText};
    RecordTestAccess::ApplyTranslation(record, a.text, a.bChanged);
    return a;
}

TEST(SetUpTranslation, BuildsEachModeOnceAndOnlyForKnownNumbers) {
    Utf8MarcRecordClass record;
    Utf8MarcRecordState& s = RecordTestAccess::MutableState(record);
    for (int32_t iMode : {6, -1}) {
        record.SetUpTranslation(iMode);
        EXPECT_EQ(s.TranslationTableName, "");
        EXPECT_EQ(s.TranslationTableTop, 0);
    }
    int32_t iMode = 4;
    record.SetUpTranslation(iMode);
    EXPECT_EQ(s.TranslationTableName, "V2M");
    EXPECT_EQ(s.TranslationTableTop, 255);
    s.TranslationTable[0x41].Replacement = "kept";
    record.SetUpTranslation(iMode);
    EXPECT_EQ(s.TranslationTable[0x41].Replacement, "kept");

    // "O2M" writes the script small l of MARC-8, whatever set the record is held in.
    for (const char* set : {"M", "V", "O"}) {
        Utf8MarcRecordClass r;
        r.CharacterSetOut(set);
        int32_t iO2M = 2;
        r.SetUpTranslation(iO2M);
        const Utf8MarcRecordState& t = RecordTestAccess::State(r);
        EXPECT_TRUE(t.TranslationTable[0xBE].Changed) << set;
        EXPECT_EQ(t.TranslationTable[0xBE].Replacement, "\xC1") << set;
        EXPECT_FALSE(t.TranslationTable[0xC1].Changed) << set;
    }
}

TEST(ApplyTranslation, RewritesOnlyOctetsReadInTheLatinSets) {
    struct Case {
        const char* mode;
        std::string in, out;
        bool changed;
    };
    const std::vector<Case> cases = {
        // octet by octet
        {"V2M", "a\xC2" "b", T("a^p2^sb"), true},
        {"V2O", "\xA0", "\xBE", true},
        {"V2M", "\xA0", "\xC1", true},
        {"V2M", "\xBF", T("^gc^s"), true},
        {"V2M", "\xD2\x90\x96", T("^b2^s") + "\xC0\xC6", true},
        {"V2M", "plain", "plain", false},
        {"M2O", "\xC1\xBE", "\xBE\xBE", true},
        {"O2M", "\xBE\xC1", "\xC1\xC1", true},
        // runs of one-octet sets become octets of "V"
        {"M2V", T("^p12^s"), "\xC1\xC2", true},
        {"M2V", T("^gabc^s"), "\xAF\xBE\xBF", true},
        {"M2V", T("^p1x2^s"), "\xC1\xC2", true},
        {"M2V", "\xC3" "1999" + T("^p2^s"), "\x93" "1999\xC2", true},
        {"M2V", "\xC5", "\x95", true},
        {"M2V", T("^p^sX"), "X", true},
        {"M2V", T("ab^sc"), "abc", false},
        {"M2V", T("^p1|a2"), T("\xC1|a2"), true},
        {"O2V", "\xBE\xC1", "\xA0\xC1", true},
        {"M2V", "\xBE\xC1", "\xBE\xA0", true},
        // runs of other scripts are copied with their escapes and the escape that leaves them
        {"M2V", T("^(Nabv^(B x"), T("^(Nabv^(B x"), false},
        {"M2V", T("^(2abc^s\xC0"), T("^(2abc^s\x90"), true},
        {"M2V", T("^$1!0!^(B"), T("^$1!0!^(B"), false},
        {"M2V", T("^p2^s^(Nab^(B"), T("\xC2^(Nab^(B"), true},
        {"M2V", T("^)!E\xC0"), T("^)!E\x90"), true},
        // octets read in an extended Cyrillic or Arabic G1 set are letters of that set
        {"M2V", T("^)Q\xC0\xC6^)!E\xC0"), T("^)Q\xC0\xC6^)!E\x90"), true},
        {"O2V", T("^)4\xBE^)!E\xBE"), T("^)4\xBE^)!E\xA0"), true},
        {"V2M", T("^)Q\xBE\xC0^)!E\xBE"), T("^)Q\xBE\xC0^)!E^gb^s"), true},
        {"M2O", T("^)4\xC1"), T("^)4\xC1"), false},
        // after ESC "(N" the G1 set is extended Cyrillic; a run written inside another G0 set
        // returns to that set
        {"V2M", T("^(Na\xC2" "b^(B"), T("^(Na\xC2" "b^(B"), false},
        {"V2M", T("^(N^)!Ea\xC2" "b^(B"), T("^(N^)!Ea^p2^(Nb^(B"), true},
        {"M2V", T("^(N\xC0"), T("^(N\xC0"), false},
        // the sharp s and the euro sign, superscripts in "V", become references
        {"M2V", "Stra\xC7" "e 10\xC8", "Stra&#x00df;e 10&#x20ac;", true},
        {"O2V", "\xC7", "&#x00df;", true},
        {"M2V", T("^(N^)!E\xC7"), T("^(N^)!E^s&#x00df;"), true},
        // a run converted inside another set: the text written returns to Latin first
        {"M2V", T("^(Nab^p1^scd"), T("^(Nab^s\xC1" "cd"), true},
        {"M2V", T("^)Q\xC0^p1^s\xC0"), T("^)Q\xC0^)!E\xC1\x90"), true},
        // a delimiter starts the next subfield in the basic sets
        {"M2V", T("^(N\xC0|b\xC0"), T("^(N\xC0|b\x90"), true},
        // an incomplete final escape is copied as it stands
        {"M2V", T("a\xC0^("), T("a\x90^("), true},
        {"M2V", T("a^"), T("a^"), false},
        {"V2M", T("\x90^$"), T("\xC0^$"), true},
        {"M2V", T("^)"), T("^)"), false},
    };
    for (const Case& c : cases) {
        const Applied a = Apply(c.mode, c.in);
        EXPECT_EQ(a.text, c.out) << c.mode << " " << testing::PrintToString(c.in);
        EXPECT_EQ(a.bChanged, c.changed) << c.mode << " " << testing::PrintToString(c.in);
    }

    Utf8MarcRecordClass record;  // no table built: nothing changes
    Applied a{"\xC0"};
    RecordTestAccess::ApplyTranslation(record, a.text, a.bChanged);
    EXPECT_EQ(a.text, "\xC0");
    EXPECT_FALSE(a.bChanged);
}

TEST(Translate880FieldText, TranslatesTheLatinPiecesAndKeepsEveryEscape) {
    struct Case {
        std::string in, out;
        bool changed;
    };
    const std::vector<Case> cases = {
        {"\xC0", "\x90", true},
        {T("\xC0^p1^s\xC2"), T("\x90^p1^s\x92"), true},
        {T("^(2\xC0" "abc^(B\xC0"), T("^(2\x90" "abc^(B\x90"), true},  // G1 stays extended Latin
        {T("^(N\xC0" "abc^(B\xC0"), T("^(N\xC0" "abc^(B\x90"), true},
        {T("^)!E\xC3"), T("^)!E\x93"), true},
        {T("^)Q\xC3^s\xC3"), T("^)Q\xC3^s\xC3"), false},
        {T("^(Nab^(B"), T("^(Nab^(B"), false},
        {T("\xC0^("), T("\x90^("), true},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        int32_t iMode = 1;  // "M2V"
        record.SetUpTranslation(iMode);
        Applied a{c.in};
        RecordTestAccess::Translate880FieldText(record, a.text, a.bChanged);
        EXPECT_EQ(a.text, c.out) << testing::PrintToString(c.in);
        EXPECT_EQ(a.bChanged, c.changed) << testing::PrintToString(c.in);
    }
}

TEST(ReplaceAllOccurrences, ReplacesFromTheStartAndNeverLoops) {
    struct Case {
        std::string text, find, replacement, out;
        bool changed;
    };
    const std::vector<Case> cases = {
        {"aXbX", "X", "Y", "aYbY", true},
        {"aaa", "aa", "b", "ba", true},
        {"abc", "", "Y", "abc", false},
        {"aX", "X", "XX", "aX", false},
        {"aX", "X", "aXb", "aX", false},
        {"abc", "z", "Y", "abc", false},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        Applied a{c.text};
        RecordTestAccess::ReplaceAllOccurrences(record, a.text, c.find, c.replacement, a.bChanged);
        EXPECT_EQ(a.text, c.out) << c.text << " " << c.find;
        EXPECT_EQ(a.bChanged, c.changed) << c.text << " " << c.find;
    }
}

// ---------------------------------------------------------------- whole records

const std::string kLeader = "00000nam  2200000   4500";

// A MARC-8 record with a superscript, symbols, and runs of Cyrillic (G0 and extended G1),
// Hebrew and EACC, in plain fields and in an 880.
std::string Marc8Record() {
    return Iso2709(kLeader,
                   {{"001", "ocm\xC0" "1"},
                    {"008", std::string(40, ' ')},
                    {"100", D("1 $aSmith, J.,$d1900-\xC0")},
                    {"245", D("10$aE = mc" + T("^p2^s") + " \xC3 " + T("^(NPRAVDA^(B") + "$c\xC5Hola!")},
                    {"246", D("1 $a" + T("^)Q\xC0\xC6^)!E") + " " + T("^(2abc^(B"))},
                    {"880", D("10$6245-01$a") + T("^$1!0!^(B") + " \xC0 " + T("^p3^s")},
                    {"500", D("  $aNo change here.")}});
}

TEST(RecordTranslation, Marc8ToVAndBackKeepsOtherScriptsByteForByte) {
    Utf8MarcRecordClass plain;
    plain.CharacterSetIn("M");
    plain.CharacterSetOut("M");
    plain.MarcRecordIn(Marc8Record());
    ASSERT_EQ(plain.IsMarcErrorText(), "");
    const std::string sMarc8Out = plain.MarcRecordOut();

    Utf8MarcRecordClass record;
    record.CharacterSetIn("M");
    record.CharacterSetOut("V");
    record.MarcRecordIn(Marc8Record());
    ASSERT_EQ(record.IsMarcErrorText(), "");
    EXPECT_EQ(record.CharacterSetOut(), "V");
    EXPECT_TRUE(record.MarcRecordTranslated());
    struct Expected {
        std::string tag, text;
    };
    const std::vector<Expected> expected = {
        {"001", "ocm\xC0" "1"},  // control fields stay
        {"100", D("$aSmith, J.,$d1900-\x90")},
        {"245", D("$aE = mc\xC2 \x93 " + T("^(NPRAVDA^(B") + "$c\x95Hola!")},
        {"246", D("$a" + T("^)Q\xC0\xC6^)!E") + " " + T("^(2abc^(B"))},
        {"880", D("$6245-01$a") + T("^$1!0!^(B") + " \x90 " + T("^p3^s")},
        {"500", D("$aNo change here.")},
    };
    for (const Expected& e : expected) {
        ASSERT_TRUE(record.FldFindFirst(e.tag, "")) << e.tag;
        EXPECT_EQ(record.FldText(), e.text) << e.tag;
    }

    record.FldFindFirst("245", "");
    record.CharacterSetOut("M");
    EXPECT_EQ(record.FldPointer(), -1);
    EXPECT_TRUE(record.MarcRecordTranslated());
    EXPECT_EQ(record.MarcRecordOut(), sMarc8Out);
    EXPECT_EQ(record.CharacterSetIn(), "M");

    // Through "O" and back as well.
    record.CharacterSetOut("O");
    record.CharacterSetOut("V");
    record.CharacterSetOut("O");
    record.CharacterSetOut("M");
    EXPECT_EQ(record.MarcRecordOut(), sMarc8Out);
}

TEST(RecordTranslation, LeavesControlAndDeletedFieldsAndReportsNoChange) {
    Utf8MarcRecordClass record;
    record.CharacterSetIn("M");
    record.CharacterSetOut("M");
    record.MarcRecordIn(Iso2709(kLeader, {{"001", "\xC0"}, {"500", D("  $aA\xC0")}, {"650", D(" 0$aB\xC0")},
                                          {"651", D(" 0$aPlain")}}));
    ASSERT_TRUE(record.FldFindFirst("650", ""));
    record.FldDelete();
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    const std::string sDeleted = s.Fields[static_cast<size_t>(record.FldPointer())].Subfields[0].Text;
    const int16_t iCount = s.FldCount;

    record.CharacterSetOut("V");
    EXPECT_TRUE(record.MarcRecordTranslated());
    EXPECT_EQ(record.FldPointer(), -1);
    EXPECT_EQ(s.FldCount, iCount);
    record.FldFindFirst("001", "");
    EXPECT_EQ(record.FldText(), "\xC0");
    record.FldFindFirst("500", "");
    EXPECT_EQ(record.FldText(), D("$aA\x90"));
    for (const FieldEntry& f : s.Fields) {
        if (f.Tag == "650") {
            EXPECT_EQ(f.Subfields[0].Text, sDeleted);
        }
    }

    // A record in which no field changes.
    Utf8MarcRecordClass plain;
    plain.CharacterSetIn("M");
    plain.CharacterSetOut("V");
    plain.MarcRecordIn(Iso2709(kLeader, {{"001", "\xC0"}, {"500", D("  $aPlain" + T("^s"))}}));
    EXPECT_FALSE(plain.MarcRecordTranslated());
    plain.FldFindFirst("500", "");
    EXPECT_EQ(plain.FldText(), D("$aPlain" + T("^s")));
}

TEST(RecordTranslation, VToMTranslatesARecordMadeByNewRecord) {
    Utf8MarcRecordClass record;
    record.CharacterSetOut("V");
    record.NewRecord("a", "m");
    record.FldAdd("245", "10", D("$aH\xD2O \x90"), false);
    record.CharacterSetOut("M");
    EXPECT_TRUE(record.MarcRecordTranslated());
    ASSERT_TRUE(record.FldFindFirst("245", ""));
    EXPECT_EQ(record.FldText(), D("$aH" + T("^b2^s") + "O \xC0"));
}

// A Windows-1252 record with accented letters, the euro sign and sharp s, a 066 field and
// such octets in the 008 as well.
std::string Windows1252Record() {
    std::string s008(40, ' ');
    s008[20] = '\xE9';
    return Iso2709(kLeader, {{"001", "x\xE9"},
                             {"005", "20250101\xE9"},
                             {"008", s008},
                             {"066", D("  $c)2")},
                             {"245", D("10$aCaf\xE9 \x80 Stra\xDF" "e")},
                             {"500", D("  $aPlain")}});
}

TEST(RecordTranslation, Windows1252ToMarc8AndToUtf8) {
    struct Case {
        const char* out;
        std::string s245, s001;
        char leader09;
        bool has066;
    };
    const std::vector<Case> cases = {
        {"M", D("$aCaf\xE2" "e euro Strasse"), "x\xE9", ' ', true},
        {"V", D("$aCaf\xE2" "e euro Strasse"), "x\xE9", ' ', true},
        // To UTF-8 by the Windows-1252 chart: every character stays itself.
        {"U", D("$aCaf\xC3\xA9 \xE2\x82\xAC Stra\xC3\x9F" "e"), "x\xC3\xA9", 'a', false},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        record.CharacterSetIn("L");
        record.CharacterSetOut(c.out);
        record.MarcRecordIn(Windows1252Record());
        ASSERT_EQ(record.IsMarcErrorText(), "") << c.out;
        EXPECT_EQ(record.CharacterSetOut(), c.out);
        EXPECT_TRUE(record.MarcRecordTranslated()) << c.out;
        ASSERT_TRUE(record.FldFindFirst("245", "")) << c.out;
        EXPECT_EQ(record.FldText(), c.s245) << c.out;
        record.FldFindFirst("001", "");
        EXPECT_EQ(record.FldText(), c.s001) << c.out;
        record.FldFindFirst("005", "");
        EXPECT_EQ(record.FldText(), "20250101\xE9") << c.out;
        record.FldFindFirst("008", "");
        EXPECT_EQ(record.FldText().substr(20, 1), "\xE9") << c.out;
        EXPECT_EQ(record.FldFindFirst("066", ""), c.has066) << c.out;
        EXPECT_EQ(record.Leader()[9], c.leader09) << c.out;
        EXPECT_EQ(RecordTestAccess::State(record).RecordIsUtf8, std::string(c.out) == "U");
    }

    // From "L" to UTF-8 the cursor stays on its field; to an 8-bit set the walk ends on none.
    for (const char* out : {"U", "M"}) {
        Utf8MarcRecordClass record;
        record.CharacterSetIn("L");
        record.CharacterSetOut("L");
        record.MarcRecordIn(Windows1252Record());
        ASSERT_TRUE(record.FldFindFirst("500", ""));
        const int16_t iField = record.FldPointer();
        record.CharacterSetOut(out);
        EXPECT_EQ(record.FldPointer(), std::string(out) == "U" ? iField : -1) << out;
    }
}

// The record's translation from Windows-1252 to UTF-8 reads every octet by
// the set's chart, as Python's cp1252 codec reads it; the five octets the
// chart leaves undefined keep their value as C1 controls. The typing
// conventions of MsoftAscii2Marc (a sharp s as beta, ’ as a prime) stay with
// that member.
TEST(RecordTranslation, Windows1252ToUtf8ReadsTheChart) {
    std::ifstream in(std::string(EXITDESK_SOURCE_DIR) + "/testdata/cp1252_nfd.tsv");
    std::string line, sAll, sExpected;
    int rows = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const unsigned octet = static_cast<unsigned>(std::stoul(line.substr(0, 2), nullptr, 16));
        const std::string ucs = line.substr(3, line.find('\t', 3) - 3);
        if (octet < 0x80) continue;
        ++rows;
        const unsigned code = ucs == "-" ? octet : static_cast<unsigned>(std::stoul(ucs, nullptr, 16));
        sAll += static_cast<char>(octet);
        sAll += ' ';
        if (code < 0x800) {
            sExpected += static_cast<char>(0xC0 | (code >> 6));
        } else {
            sExpected += static_cast<char>(0xE0 | (code >> 12));
            sExpected += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        }
        sExpected += static_cast<char>(0x80 | (code & 0x3F));
        sExpected += ' ';
    }
    ASSERT_EQ(rows, 128);
    sAll.pop_back();  // the load trims a blank at the end of a subfield
    sExpected.pop_back();
    Utf8MarcRecordClass record;
    record.CharacterSetIn("L");
    record.CharacterSetOut("U");
    record.MarcRecordIn(Iso2709(kLeader, {{"001", "x"},
                                          {"100", D("1 $aO\x92" "Brien, \x93Stra\xDF" "e\x94")},
                                          {"500", D("  $a") + sAll}}));
    ASSERT_EQ(record.IsMarcErrorText(), "");
    ASSERT_TRUE(record.FldFindFirst("100", ""));
    EXPECT_EQ(record.FldText(), D("$aO\xE2\x80\x99" "Brien, \xE2\x80\x9CStra\xC3\x9F" "e\xE2\x80\x9D"));
    ASSERT_TRUE(record.FldFindFirst("500", ""));
    EXPECT_EQ(record.FldText(), D("$a") + sExpected);
    // The member keeps its own conventions for text handed to it.
    EXPECT_EQ(record.MsoftAscii2Marc("Stra\xDF" "e O\x92"), "Stra\xCE\xB2" "e O\xCA\xB9");
}

TEST(RecordTranslation, IdleWalksTranslateEscapedAndLinkedFields) {
    auto load = [] {
        auto record = std::make_unique<Utf8MarcRecordClass>();
        record->CharacterSetIn("V");
        record->CharacterSetOut("V");
        record->MarcRecordIn(Iso2709(kLeader, {{"001", "\xC0"}, {"245", D("10$a\xC2" + T("^(Nab^(B"))},
                                               {"500", D("  $a\xC2")}}));
        int32_t iMode = 4;
        record->SetUpTranslation(iMode);
        return record;
    };
    auto text = [](Utf8MarcRecordClass& r, const char* tag) {
        r.FldFindFirst(tag, "");
        return r.FldText();
    };
    auto escaped = load();
    RecordTestAccess::TranslateEscapedFields(*escaped);
    EXPECT_EQ(text(*escaped, "245"), D("$a" + T("^p2^s^(Nab^(B")));
    EXPECT_EQ(text(*escaped, "500"), D("$a\xC2"));
    auto linked = load();
    RecordTestAccess::TranslateFieldsByLinks(*linked);
    EXPECT_EQ(text(*linked, "245"), D("$a" + T("^p2^s^(Nab^(B")));
    EXPECT_EQ(text(*linked, "500"), D("$a" + T("^p2^s")));
    EXPECT_EQ(text(*linked, "001"), "\xC0");
}

// Every character that "V" can hold keeps its meaning: a MARC-8 record read through "V" (and
// back to "M") gives the UTF-8 that it gives read directly; one that "V" cannot hold comes back
// through a reference.
TEST(RecordTranslation, Marc8ThroughVReadsAsMarc8) {
    const std::vector<std::string> texts = {
        "$aStra\xC7" "e 10\xC8",
        "$a" + T("^(N\xC0"),
        "$a" + T("^(Nab^p1^scd"),
        "$a" + T("^)Q\xC0^p1^s\xC0"),
        "$a" + T("^(2\xC0"),
        "$a" + T("^(N^)!E\xC7\xC0"),
        "$a" + T("^(N\xC0") + "$b\xC0",
        "$aABC" + T("^(N") + "$bDEF\xC0",
        "$a" + T("^p2^s") + " \xC3 " + T("^gab^s") + " \xC1",
    };
    auto load = [](const std::string& sData, const std::vector<std::string>& sets) {
        Utf8MarcRecordClass record;
        record.CharacterSetIn("M");
        record.CharacterSetOut(sets.front());
        record.MarcRecordIn(Iso2709(kLeader, {{"001", "1"}, {"245", D("10") + sData}, {"880", D("10") + sData}}));
        for (std::size_t k = 1; k < sets.size(); ++k) record.CharacterSetOut(sets[k]);
        std::vector<std::string> fields;
        for (const char* tag : {"245", "880"}) {
            EXPECT_TRUE(record.FldFindFirst(tag, ""));
            fields.push_back(record.FldText());
        }
        return fields;
    };
    for (const std::string& text : texts) {
        const std::string sData = D(text);
        const auto direct = load(sData, {"U"});
        EXPECT_EQ(load(sData, {"V", "U"}), direct) << testing::PrintToString(sData);
        EXPECT_EQ(load(sData, {"V", "M", "U"}), direct) << testing::PrintToString(sData);
        EXPECT_EQ(load(sData, {"O", "V", "U"}), direct) << testing::PrintToString(sData);
    }
    EXPECT_EQ(load(D("$aStra\xC7" "e 10\xC8"), {"U"})[0], D("$aStra\xC3\x9F" "e 10\xE2\x82\xAC"));
}

}  // namespace
