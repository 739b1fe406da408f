#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "common/test_support.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"

namespace {

using test_octets::O;
using test_octets::U;

// "^" in a test text stands for ESC.
std::string T(std::string s) {
    for (char& c : s)
        if (c == '^') c = '\x1B';
    return s;
}

// One character of another set, as the character object reads it.
std::string Char(const std::string& sDesignation, const std::string& sMarc8) {
    Utf8CharClass chars;
    std::string sUtf8;
    bool bChanged = false, bError = false;
    chars.TranslateMarc2Utf8OneCharacter("M", sDesignation, sMarc8, sUtf8, bChanged, bError);
    EXPECT_FALSE(bError) << sDesignation;
    return sUtf8;
}

TEST(LatinMarc8Text2Utf8, Cases) {
    struct Case {
        const char* set;
        std::string in, out;
    };
    const std::string acute = U(0x301), grave = U(0x300);
    const std::vector<Case> cases = {
        // marks follow the character after them, in arrival order
        {"M", "a\xE2" "e", "ae" + acute},
        {"M", "a\xE2", "a" + acute},
        {"M", "\xE1\xE2" "e", "e" + grave + acute},
        {"M", "\xE2" + T("^p2^s"), U(0xB2) + acute},
        // one-octet escapes
        {"M", T("^p2^s"), U(0xB2)},
        {"M", T("^b2^s"), U(0x2082)},
        {"M", T("^ga^s"), U(0x3B1)},
        {"M", T("^p^sX"), "X"},
        {"M", T("^p1 x^s"), U(0xB9)},
        // designations of the Latin sets consume only themselves
        {"M", T("^(Babc^sd"), "abcd"},
        {"M", T("^)!E\xC0"), U(0xB0)},
        // other sets character by character; blanks and controls belong to every set
        {"M", T("^(Nab a^(Bz"), Char("(N", "a") + Char("(N", "b") + " " + Char("(N", "a") + "z"},
        {"M", T("^)Q\xC0^)!E\xC0"), Char(")Q", "\xC0") + U(0xB0)},
        {"M", T("^$1") + O("213021") + " " + T("^(Bx"), Char("$1", O("213021")) + " x"},
        {"M", T("^(2\x7F^(B"), "[MARC+7F]"},
        // an East Asian character cut short shows as a marker, and the escape is read; blanks
        // and punctuation that end the run short of a character are basic Latin
        {"M", T("^$1!0^(BHello world"), "[MARC+2130]Hello world"},
        {"M", T("^$1") + O("213021") + "!" + T("^)Q\xC0"), Char("$1", O("213021")) + "!" + Char(")Q", "\xC0")},
        {"M", T("^$1") + O("213021") + ", " + T("^(Bx"), Char("$1", O("213021")) + ", x"},
        {"M", T("^$1") + O("213021") + ".", Char("$1", O("213021")) + "."},
        // the Latin table, and what it lacks
        {"M", "\xC7\xC8\xBB\xAF\xA8\x88", U(0xDF) + U(0x20AC) + U(0x2020) + U(0x3B1) + U(0xB7) + U(0x98)},
        {"M", "a\xCE" "b\xFC", "a[MARC+CE]b[MARC+FC]"},
        {"M", "\xD0\xC9", U(0x2080) + U(0x2079)},
        // the octets that the sets read otherwise
        {"M", "\xC0\xBE", U(0xB0) + U(0x2113)},
        {"O", "\xC0\xBE", U(0xB0) + U(0x2113)},
        {"V", "\xC0\xBE\x90", U(0x2070) + U(0x3B2) + U(0xB0)},
        {"Y", "\xC0", U(0xB0)},
        // an incomplete final escape
        {"M", T("a^"), "a[MARC+1B]"},
        {"M", T("a^("), "a[MARC+1B28]"},
        {"M", T("a^$)"), "a[MARC+1B2429]"},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        record.CharacterSetOut(c.set);
        std::string sText = c.in;
        bool bChanged = false;
        record.LatinMarc8Text2Utf8(sText, bChanged);
        EXPECT_EQ(sText, c.out) << c.set << " " << testing::PrintToString(c.in);
        EXPECT_TRUE(bChanged) << c.set << " " << testing::PrintToString(c.in);
    }
}

// yaz-iconv's reading of a MARC-8 text, from a file.
std::string YazMarc8ToUtf8(const testsupport::TempSettingsFolder& folder, const std::string& sText) {
    const std::string path = folder.File("marc8.txt");
    testsupport::WriteFile(path, sText);
    FILE* pipe = popen(("yaz-iconv -f marc8 -t utf8 '" + path + "' 2>&1").c_str(), "r");
    if (pipe == nullptr) return "(no yaz-iconv)";
    std::string out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
    return out;
}

TEST(LatinMarc8Text2Utf8, ReadsEscapesAndMarksAsYazIconvDoes) {
    const testsupport::TempSettingsFolder folder;
    const std::vector<std::string> texts = {
        T("^(NPRAVDA ^(B ok"),
        T("^)Q\xC0\xC6^)!E"),
        T("^(2`abc^(B"),
        T("^$1!0!!0\"^(B"),
        T("a\xE1\xE2" "e \xC7\xC8 \xA8 ^p12^s ^b3^s ^ga^s"),
        T("^)3\xC7\xC8 ^)!E\xE2" "e"),
        T("^(3GHI^(B"),
        T("^)2\xE0\xE1^)!E"),
        T("^(Bplain^s \xE8u\xF0" "c"),
        // The marks of the Hebrew, Arabic and Greek sets precede their letter.
        T("^(2AMylEem^(B"),
        T("^(3ncnJnH^(B"),
        T("^(3G^)4\xFDH^)!E^(B"),
        T("\xFE^(SAk$jpal^(B"),
    };
    // One run of yaz-iconv, each text ended by a field terminator (yaz drops line feeds); each
    // text ends in the Latin sets.
    std::string sAll;
    for (const std::string& text : texts) sAll += text + "\x1E";
    const std::string sYaz = YazMarc8ToUtf8(folder, sAll);
    Utf8MarcRecordClass record;
    record.CharacterSetOut("M");
    size_t line = 0;
    for (const std::string& text : texts) {
        std::string sText = text;
        bool bChanged = false;
        record.LatinMarc8Text2Utf8(sText, bChanged);
        const size_t end = std::min(sYaz.find('\x1E', line), sYaz.size());
        EXPECT_EQ(sText, sYaz.substr(line, end - line)) << testing::PrintToString(text);
        line = end + 1;
    }
    EXPECT_EQ(line, sYaz.size() + (sYaz.empty() ? 1 : 0));
}

TEST(LatinMarc8Text2Utf8, ReadsTheOutputSetAndLeavesAsciiAlone) {
    Utf8MarcRecordClass record;
    record.CharacterSetIn("V");
    record.CharacterSetOut("M");
    std::string sText = "\xC0";
    bool bChanged = false;
    record.LatinMarc8Text2Utf8(sText, bChanged);
    EXPECT_EQ(sText, U(0xB0));

    std::string sAscii = "plain\x1F" "a text";
    bChanged = false;
    record.LatinMarc8Text2Utf8(sAscii, bChanged);
    EXPECT_FALSE(bChanged);
    EXPECT_EQ(sAscii, "plain\x1F" "a text");
    bChanged = true;  // a True passed in makes the routine write its result back
    record.LatinMarc8Text2Utf8(sAscii, bChanged);
    EXPECT_EQ(sAscii, "plain\x1F" "a text");
}

// ---------------------------------------------------------------- the combining-mark buffer

TEST(CombiningMarks, FlushInCanonicalOrder) {
    struct Case {
        std::vector<std::string> marks;
        std::string flushed;
    };
    // MARC-8: grave E1, acute E2, cedilla F0, dot below F2.
    const std::vector<Case> cases = {
        {{}, ""},
        {{"\xE2"}, "\xE2"},
        {{"\xE2", "\xE1"}, "\xE1\xE2"},
        {{"\xE2", "\xF2"}, "\xF2\xE2"},
        {{"\xF0", "\xE2", "\xF2"}, "\xF0\xF2\xE2"},
        {{"\xF2", "\xF6", "\xF3"}, "\xF2\xF6\xF3"},  // equal classes other than 230 keep their order
        {{"\xE2", "", "\xE1"}, "\xE1\xE2"},          // an empty mark is class 0 and adds nothing
        {{"\xE2", "x", "\xE1"}, "\xE1\xE2"},         // a mark not in the list is not recorded
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        const Utf8MarcRecordState& s = RecordTestAccess::State(record);
        for (const std::string& mark : c.marks) record.CollectCombiningMark(mark, s.Marc8DiacriticClasses);
        EXPECT_EQ(record.FlushCombiningMarks(), c.flushed) << testing::PrintToString(c.marks);
        EXPECT_EQ(s.CombiningMarkCount, 0);
        EXPECT_EQ(record.FlushCombiningMarks(), "");
    }
}

TEST(CombiningMarks, ClassesAndSlots) {
    Utf8MarcRecordClass record;
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    record.CollectCombiningMark("x", s.Marc8DiacriticClasses);
    EXPECT_EQ(s.CombiningMarkCount, 0);
    record.CollectCombiningMark("", s.Marc8DiacriticClasses);
    EXPECT_EQ(s.CombiningMarks[1].CombiningClass, 0);
    const std::vector<std::pair<std::string, int>> utf8Classes = {
        {U(0x301), 230}, {U(0x315), 232}, {U(0x327), 202}, {U(0xFE22), 220}, {U(0x345), 220}, {U(0x344), 230}};
    for (const auto& [mark, cls] : utf8Classes) {
        record.CollectCombiningMark(mark, s.Utf8DiacriticClasses);
        EXPECT_EQ(s.CombiningMarks[static_cast<size_t>(s.CombiningMarkCount)].CombiningClass, cls);
        EXPECT_EQ(s.CombiningMarks[static_cast<size_t>(s.CombiningMarkCount)].Sequence, s.CombiningMarkCount);
        EXPECT_EQ(s.CombiningMarkSlots, s.CombiningMarkCount <= 5 ? 5 : 10);
    }
    record.FlushCombiningMarks();
    EXPECT_EQ(s.CombiningMarkSlots, 10);  // the slots stay
}

TEST(CombiningMarks, FortyThousandMarksCollectAndFlushPromptly) {
    Utf8MarcRecordClass record;
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    const auto start = std::chrono::steady_clock::now();
    for (int n = 0; n < 40000; ++n) record.CollectCombiningMark(n % 2 ? "\xF2" : "\xE2", s.Marc8DiacriticClasses);
    EXPECT_EQ(s.CombiningMarkCount, 40000);
    EXPECT_EQ(s.CombiningMarks[40000].Sequence, 40000);
    const std::string sFlushed = record.FlushCombiningMarks();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(sFlushed, std::string(20000, '\xF2') + std::string(20000, '\xE2'));
}

// ---------------------------------------------------------------- older members

TEST(LatinMarc8Text2Utf8, OlderMembersOfTheFamily) {
    struct Case {
        const char* member;
        std::string in, out;
        bool changed;
    };
    const std::string acute = U(0x301), grave = U(0x300);
    const std::vector<Case> cases = {
        {"move", "\xE1\xE2" "ab\xE3", "a\xE1\xE2" "b\xE3", true},
        {"move", "abc", "abc", false},
        {"backward", "a\xE2" "e", "ae" + acute, true},
        {"backward", "\xE1\xE2" "e", "e" + grave + acute, true},
        {"backward", "x\xE2", "x" + acute, true},
        {"backward", "abc", "abc", false},
        // converted once: the UTF-8 of a piece is not read again as MARC-8
        {"escapes", "a\xE2" "e" + T("^p2^s\xE2") + "o", "ae" + acute + T("^p2^s") + "o" + acute, true},
        {"escapes", "a\xE2" "e", "ae" + acute, true},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        record.CharacterSetOut("M");
        std::string sText = c.in;
        bool bChanged = false;
        const std::string member = c.member;
        if (member == "move") RecordTestAccess::MoveMarc8DiacriticsBehindBase(record, sText, bChanged);
        else if (member == "backward") RecordTestAccess::LatinMarc8Text2Utf8Backward(record, sText, bChanged);
        else RecordTestAccess::LatinMarc8Text2Utf8WithEscapes(record, sText, bChanged);
        EXPECT_EQ(sText, c.out) << member << " " << testing::PrintToString(c.in);
        EXPECT_EQ(bChanged, c.changed) << member << " " << testing::PrintToString(c.in);
    }
}

}  // namespace
