#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/test_support.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"
#include "marc8/marc8_tables.h"
#include "platform/events.h"

namespace {

TEST(TranslateUtf82MarcShortCodeToLong, MapsEachTableCode) {
    Utf8MarcRecordClass record;
    const std::pair<std::string, std::string> cases[] = {
        {"1", "(B"}, {"2", "s"}, {"3", "b"}, {"4", "p"}, {"5", "(2"}, {"6", "(N"},
        {"7", "(3"}, {"8", "(S"}, {"9", "$1"}, {":", ")Q"}, {";", ")4"}, {"X", "X"}, {"", ""}, {"11", "11"},
    };
    for (const auto& [sShort, sLong] : cases) EXPECT_EQ(record.TranslateUtf82MarcShortCodeToLong(sShort), sLong) << sShort;
}

// "^" stands for ESC, "|" for the subfield delimiter.
std::string T(std::string s) {
    for (char& c : s) {
        if (c == '^') c = '\x1B';
        else if (c == '|') c = '\x1F';
    }
    return s;
}

struct FieldCase {
    std::string sName;
    std::string sTag;
    std::string sIndicators;
    std::string sField;  // MARC-8, through T()
    std::string sIndicatorsOut;
    std::string sFieldOut;  // UTF-8, through T()
    bool bChanged;
    bool bError;
};

class Marc8FieldToUtf8 : public ::testing::TestWithParam<FieldCase> {};

TEST_P(Marc8FieldToUtf8, Translates) {
    const auto& c = GetParam();
    Utf8MarcRecordClass record;
    record.CharacterSetOut("M");
    std::string sIndicators = c.sIndicators;
    std::string sField = T(c.sField);
    bool bChanged = false;
    bool bError = false;
    record.TranslateMarc2Utf8OneField("a", c.sTag, sIndicators, sField, bChanged, bError);
    EXPECT_EQ(sField, T(c.sFieldOut));
    EXPECT_EQ(sIndicators, c.sIndicatorsOut);
    EXPECT_EQ(bChanged, c.bChanged);
    EXPECT_EQ(bError, c.bError);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Marc8FieldToUtf8,
    ::testing::Values(
        FieldCase{"PlainAscii", "245", "00", "|aPlain text.", "00", "|aPlain text.", false, false},
        // Basic Latin that a set holds no character for is no plain text.
        FieldCase{"ControlOctetInPlainText", "500", "  ", "|aA\x01" "B", "  ", "|aA[MARC+01]B", true, true},
        FieldCase{"NulInPlainText", "500", "  ", std::string("|aA\0B", 5), "  ", "|aA[MARC+00]B", true, true},
        // A mark goes behind the first character of the Latin run after it, in any piece.
        FieldCase{"MarkBeforeLatinRun", "500", "  ", "|a\xE2" "abc d", "  ", "|aa\xCC\x81" "bc d", true, false},
        FieldCase{"MarkBeforeLatinRunAfterCyrillic", "500", "  ", "|a^(Nab^(B\xE2" "cd ef", "  ",
                  "|a\xD0\x90\xD0\x91" "c\xCC\x81" "d ef", true, false},
        FieldCase{"ReferenceInsideLatinRun", "500", "  ", "|a^(Ba&#x41;bc", "  ", "|aaAbc", true, false},
        // An "&" starts no reference without "#" after it.
        FieldCase{"AmpersandInPlainText", "500", "  ", "|aSmith & Sons", "  ", "|aSmith & Sons", false, false},
        FieldCase{"AmpersandAndHashInPlainText", "500", "  ", "|aA & B #1", "  ", "|aA & B #1", false, false},
        FieldCase{"AmpersandThenReference", "500", "  ", "|aA & &#x41;", "  ", "|aA & A", true, false},
        FieldCase{"MarkBeforeAmpersand", "500", "  ", "|a\xE2&a", "  ", "|a&\xCC\x81" "a", true, false},
        FieldCase{"HebrewThenLatin", "500", "  ", "|a^(2abc^(Bd", "  ", "|a\xD7\x91\xD7\x92\xD7\x93" "d", true, false},
        FieldCase{"NonfilingShrinks", "245", "03", "|aL'\xE2" "Ecole", "02", "|aL'E\xCC\x81" "cole", true, false},
        FieldCase{"NonfilingLongerThanText", "245", "09", "|aLe", "02", "|aLe", true, false},
        FieldCase{"NonfilingFirstIndicator", "630", "4 ", "|aDie", "3 ", "|aDie", true, false},
        FieldCase{"Subscript", "500", "  ", "|aH^b2^sO", "  ", "|aH\xE2\x82\x82O", true, false},
        FieldCase{"CyrillicThenBasicLatin", "500", "  ", "|a^(NAB^(Bc", "  ", "|a\xD0\xB0\xD0\xB1" "c", true, false},
        FieldCase{"CyrillicCompanionG1", "500", "  ", "|a^(N\xC0", "  ", "|a\xD2\x91", true, false},
        FieldCase{"AnselG1Designation", "500", "  ", "|a^)!Ex", "  ", "|ax", true, false},
        FieldCase{"EqualClassMarksKeepOrder", "500", "  ", "|a\xE3\xE2" "a", "  ", "|aa\xCC\x82\xCC\x81", true, false},
        FieldCase{"MarksOfDifferentClass", "500", "  ", "|a\xF2\xE2" "a", "  ", "|aa\xCC\xA3\xCC\x81", true, false},
        FieldCase{"MarksAcrossPieces", "500", "  ", "|x\xE3\xE2^sa", "  ", "|xa\xCC\x82\xCC\x81", true, false},
        // Greek: rough breathing and acute before eta, perispomeni before capital alpha.
        FieldCase{"GreekSetMarks", "500", "  ", "|a^(S&\"J $A", "  ",
                  "|a\xCE\x97\xCC\x94\xCC\x81 \xCE\x91\xCD\x82", true, false},
        // Marks that wait across an escape join their base's own marks in one canonical order,
        // the waiting ones first among equal classes: an acute before Hebrew qamats and shin,
        // before Arabic fatha and beh, a Greek rough breathing before a dot below and alpha.
        FieldCase{"WaitingMarkSortsWithHebrewPoint", "500", "  ", "|a\xE2^(2Ay^(B", "  ",
                  "|a\xD7\xA9\xD6\xB8\xCC\x81", true, false},
        FieldCase{"WaitingMarkSortsWithArabicHaraka", "500", "  ", "|a\xE2^(3nH^(B", "  ",
                  "|a\xD8\xA8\xD9\x8E\xCC\x81", true, false},
        FieldCase{"WaitingGreekMarkSortsWithAnselMark", "500", "  ", "|a^(S&^(B\xF2^(Sa^(B", "  ",
                  "|a\xCE\xB1\xCC\xA3\xCC\x94", true, false},
        FieldCase{"WaitingMarksBeforeDelimiterStayBefore", "500", "  ", "|a\xE2^(2A|by", "  ",
                  "|a\xD6\xB8\xCC\x81|by", true, false},
        FieldCase{"WaitingMarksGoBehindReference", "500", "  ", "|a\xE2^(2A^(B&#x41;", "  ",
                  "|aA\xD6\xB8\xCC\x81", true, false},
        FieldCase{"MarksAfterAnselDesignation", "500", "  ", "|a^)!E\xE2" "e", "  ", "|ae\xCC\x81", true, false},
        FieldCase{"MarksBeforeDelimiterStayBefore", "500", "  ", "|a^b2\xE2|by", "  ", "|a\xE2\x82\x82\xCC\x81|by", true, false},
        FieldCase{"MarkEndingField", "500", "  ", "|ae\xE2", "  ", "|ae\xCC\x81", true, true},
        FieldCase{"EscapeAtEnd", "500", "  ", "|ab^(", "  ", "|ab[MARC+1B28]", true, true},
        FieldCase{"EscapeAlone", "500", "  ", "|ab^", "  ", "|ab[MARC+1B]", true, true},
        FieldCase{"RejectedOctet", "500", "  ", "|a^(Zb", "  ", "|a[MARC+62]", true, true},
        FieldCase{"Reference", "500", "  ", "|a&#x41;", "  ", "|aA", true, false},
        FieldCase{"ReferenceSixDigits", "500", "  ", "|a&#x1D11E;", "  ", "|a\xF0\x9D\x84\x9E", true, false},
        FieldCase{"ReferenceSurrogatePair", "500", "  ", "|a&#xD834DD1E;", "  ", "|a\xF0\x9D\x84\x9E", true, false},
        FieldCase{"ReferenceUpperX", "500", "  ", "|a&#X41;", "  ", "|aA", true, false},
        FieldCase{"ReferenceWithoutSemicolon", "500", "  ", "|a&#x41 b", "  ", "|aA b", true, false},
        FieldCase{"ReferenceAtEnd", "500", "  ", "|a&#x41", "  ", "|a&#x41", false, false},
        FieldCase{"ReferenceEmpty", "500", "  ", "|a&#x;", "  ", "|a&#x;", false, false},
        FieldCase{"ReferenceLoneSurrogate", "500", "  ", "|a&#xD800;", "  ", "|a&#xD800;", false, false},
        FieldCase{"ReferenceDoesNotSwallowProse", "500", "  ", "|a&#xZZ and; x", "  ", "|a&#xZZ and; x", false, false},
        FieldCase{"Eacc", "500", "  ", "|a^$1!0!", "  ", "|a\xE4\xB8\x80", true, false},
        FieldCase{"EaccFourCharacterG0", "500", "  ", "|a^$,1!0!", "  ", "|a\xE4\xB8\x80", true, false},
        FieldCase{"EaccInG1", "500", "  ", "|a^$)1\xA1\xB0\xA1x", "  ", "|a\xE4\xB8\x80x", true, false},
        FieldCase{"EaccLeftover", "500", "  ", "|a^$1!0!!0", "  ", "|a\xE4\xB8\x80[MARC+2130]", true, true},
        // In an East Asian run a blank where a character would start is a blank, and blanks and
        // punctuation that end the run short of a character are basic Latin; any other three
        // octets that make no character are one marker, and the walk goes on after them.
        FieldCase{"EaccBlankBetweenCharacters", "500", "  ", "|a^$1!0! !0d^(B", "  ",
                  "|a\xE4\xB8\x80 \xE4\xBA\xBA", true, false},
        FieldCase{"EaccPunctuationEndsRuns", "500", "  ", "|a^$1!0! :|b^$1!0d.|cx^$1!0!, ^(Bx", "  ",
                  "|a\xE4\xB8\x80 :|b\xE4\xBA\xBA.|cx\xE4\xB8\x80, x", true, false},
        FieldCase{"EaccUnknownCode", "500", "  ", "|a^$1!0!!!!!0d^(B", "  ",
                  "|a\xE4\xB8\x80[MARC+212121]\xE4\xBA\xBA", true, true},
        // A delimiter ends the piece and starts the next subfield in the basic sets, also right
        // after an escape.
        FieldCase{"CyrillicEscapeBeforeDelimiter", "500", "  ", "|aABC^(N|bDEF", "  ", "|aABC|bDEF", true, false},
        FieldCase{"GreekEscapeBeforeDelimiter", "500", "  ", "|aABC^(S|bDEF", "  ", "|aABC|bDEF", true, false},
        FieldCase{"SuperscriptEscapeBeforeDelimiter", "500", "  ", "|aABC^p|bDEF", "  ", "|aABC|bDEF", true, false},
        FieldCase{"EaccEscapeBeforeDelimiter", "500", "  ", "|aABC^$1|bDEF", "  ", "|aABC|bDEF", true, false},
        FieldCase{"G1ResetAtDelimiter", "500", "  ", "|a^)Q\xC0|b\xC0", "  ", "|a\xD2\x91|b\xC2\xB0", true, false},
        // A reference never makes a delimiter, a terminator or NUL.
        FieldCase{"ReferenceToDelimiter", "245", "00", "|aTitle&#x001F;cInjected author", "00",
                  "|aTitle&#x001F;cInjected author", false, false},
        FieldCase{"ReferenceToFieldTerminator", "500", "  ", "|a&#x001e;x", "  ", "|a&#x001e;x", false, false},
        FieldCase{"ReferenceToRecordTerminator", "500", "  ", "|a&#x1D;", "  ", "|a&#x1D;", false, false},
        FieldCase{"ReferenceToNul", "500", "  ", "|a&#x0000;", "  ", "|a&#x0000;", false, false},
        FieldCase{"UpperReferenceToDelimiter", "500", "  ", "|a&#X001F;c", "  ", "|a&#X001F;c", false, false},
        FieldCase{"ReferenceSplitByEscapeToDelimiter", "500", "  ", "|a&#x00^s1F;c", "  ", "|a&#x001F;c", true, false},
        // Nor ESC, in either pass; the other controls and DEL keep their reading.
        FieldCase{"ReferenceToEscape", "500", "  ", "|aab&#x1B;(Ncd", "  ", "|aab&#x1B;(Ncd", false, false},
        FieldCase{"SixDigitReferenceToEscape", "500", "  ", "|a&#x00001b;(N", "  ", "|a&#x00001b;(N", false, false},
        FieldCase{"UpperReferenceToEscape", "500", "  ", "|a&#X1b(Ncd", "  ", "|a&#X1b(Ncd", false, false},
        FieldCase{"ReferenceToEscapeSplitByEscape", "500", "  ", "|a&#x00^s1B;(N", "  ", "|a&#x001B;(N", true, false},
        FieldCase{"ReferencesToOtherControls", "500", "  ", "|a&#x0009;&#x000A;&#x7F;", "  ", "|a\t\n\x7F", true,
                  false},
        // G1 octets take the width of the G1 set, not that of an East Asian G0 set.
        FieldCase{"EaccThenExtendedCyrillic", "500", "  ", "|a^$1!0!^)Q\xE4^)!E^(B", "  ",
                  "|a\xE4\xB8\x80\xD0\x81", true, false},
        FieldCase{"EaccThenExtendedArabic", "880", "  ", "|a^$1!0!^)4\xDC^)!E^(B", "  ",
                  "|a\xE4\xB8\x80\xDA\xAD", true, false},
        // A mark before a reference belongs to the referenced character.
        FieldCase{"MarkBeforeReference", "500", "  ", "|ax\xE2&#x03B1;", "  ", "|ax\xCE\xB1\xCC\x81", true, false},
        FieldCase{"MarkBeforeUpperReference", "500", "  ", "|ax\xE2&#X03B1;y", "  ", "|ax\xCE\xB1\xCC\x81y", true,
                  false},
        FieldCase{"MarkBeforeReferenceInNextPiece", "500", "  ", "|ax\xE2^s&#x03B1;", "  ", "|ax\xCE\xB1\xCC\x81",
                  true, false},
        // The marks of the Hebrew and Arabic sets precede their letter, in every field; maqaf is
        // no mark. Shin with qamats and shin dot, lamed, vav with holam, final mem.
        FieldCase{"HebrewPointsPrecedeTheirLetter", "500", "  ", "|a^(2AMylEem^(B", "  ",
                  "|a\xD7\xA9\xD6\xB8\xD7\x81\xD7\x9C\xD7\x95\xD6\xB9\xD7\x9D", true, false},
        FieldCase{"HebrewPointsPrecedeTheirLetter880", "880", "  ", "|a^(2AMylEem^(B", "  ",
                  "|a\xD7\xA9\xD6\xB8\xD7\x81\xD7\x9C\xD7\x95\xD6\xB9\xD7\x9D", true, false},
        FieldCase{"HebrewPointsInCanonicalOrder", "500", "  ", "|a^(2KGa^(B", "  ", "|a\xD7\x91\xD6\xB0\xD6\xBC",
                  true, false},
        FieldCase{"HebrewMaqafIsNoMark", "500", "  ", "|a^(2`-a^(B", "  ", "|a\xD7\x90\xD6\xBE\xD7\x91", true,
                  false},
        FieldCase{"ArabicHarakatPrecedeTheirLetter", "500", "  ", "|a^(3ncnJnH^(B", "  ",
                  "|a\xD9\x83\xD9\x8E\xD8\xAA\xD9\x8E\xD8\xA8\xD9\x8E", true, false},
        FieldCase{"ExtendedArabicMarkPrecedesItsLetter", "500", "  ", "|a^(3G^)4\xFDH^)!E^(B", "  ",
                  "|a\xD8\xA7\xD8\xA8\xCC\x86", true, false},
        // A mark of the Greek set before an escape waits for the letter after it.
        FieldCase{"GreekMarkWaitsAcrossEscapes", "500", "  ", "|a^(S&^(B\xE2^(Sa^(B", "  ",
                  "|a\xCE\xB1\xCC\x94\xCC\x81", true, false},
        FieldCase{"YpogegrammeniAfterBreathing", "500", "  ", "|a\xFE^(S'}^(B", "  ", "|a\xCF\x89\xCC\x93\xCD\x85",
                  true, false}),
    [](const auto& info) { return info.param.sName; });

// An escape sequence never takes a delimiter, a terminator or ESC: cut before one, it is a marker
// with the error flag, and the delimiter starts the next subfield in the basic sets. Every reader
// of MARC-8 text agrees: the field reader, the Latin reader, the single-byte walk and the normal
// forms.
TEST(TranslateMarc2Utf8OneField, ACutEscapeNeverTakesADelimiter) {
    const std::pair<std::string, std::string> cuts[] = {
        {")", "29"},     {")!", "2921"}, {"$)", "2429"}, {"$-", "242D"}, {"-", "2D"},
        {"(", "28"},     {"(!", "2821"}, {"$", "24"},    {",", "2C"},    {"", ""},
    };
    for (const auto& [sCut, sHex] : cuts) {
        const std::string sMarker = "[MARC+1B" + sHex + "]";
        Utf8MarcRecordClass record;
        record.CharacterSetOut("M");
        std::string sIndicators = "  ";
        std::string sField = T("|aABC^" + sCut + "|b\xC7");
        bool bChanged = false;
        bool bError = false;
        record.TranslateMarc2Utf8OneField("a", "500", sIndicators, sField, bChanged, bError);
        EXPECT_EQ(sField, T("|aABC" + sMarker + "|b\xC3\x9F")) << sCut;
        EXPECT_TRUE(bError) << sCut;

        // Cut by ESC or a terminator: the octet after it is read as what it is.
        sField = T("|aA^" + sCut + "\x1E^" + sCut + "^(NB");
        record.TranslateMarc2Utf8OneField("a", "500", sIndicators, sField, bChanged, bError);
        EXPECT_EQ(sField, T("|aA" + sMarker + "\x1E" + sMarker + "\xD0\xB1")) << sCut;

        std::string sText = T("ABC^" + sCut + "|b\xC7");
        record.LatinMarc8Text2Utf8(sText, bChanged);
        EXPECT_EQ(sText, T("ABC" + sMarker + "|b\xC3\x9F")) << sCut;

        // The single-byte walk reads the subfield after it in the basic sets.
        int32_t iMode = 1;  // "M2V"
        record.SetUpTranslation(iMode);
        sText = T("ABC^" + sCut + "|b\xC7");
        RecordTestAccess::ApplyTranslation(record, sText, bChanged);
        EXPECT_EQ(sText, T("ABC^" + sCut + "|b&#x00df;")) << sCut;
    }
    // The normal forms skip an escape with the octet after it, never a delimiter.
    Utf8MarcRecordClass record;
    record.CharacterSetOut("M");
    EXPECT_EQ(record.NormString(T("Smith^|d1900"), true, "V"), "SMITH 1900");
    EXPECT_EQ(record.NormString(T("^gab^|dZ"), true, "V"), record.NormString(T("^gab^s|dZ"), true, "V"));
}

// yaz-marcdump's UTF-8 reading of one MARC-8 record: the text of each subfield, keyed by tag and
// code ("100d").
std::map<std::string, std::string> YazSubfields(const std::string& sRecord) {
    const testsupport::TempSettingsFolder folder;
    const std::string path = folder.File("marc8.mrc");
    testsupport::WriteFile(path, sRecord);
    std::map<std::string, std::string> subfields;
    FILE* pipe = popen(("yaz-marcdump -f MARC-8 -t UTF-8 -o marc '" + path + "' 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return subfields;
    std::string s;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) s.append(buffer, n);
    pclose(pipe);
    if (s.size() < 24) return subfields;
    const std::size_t base = std::stoul(s.substr(12, 5));
    for (std::size_t at = 24; at + 12 <= base && s[at] != '\x1E'; at += 12) {
        const std::string sTag = s.substr(at, 3);
        const std::string data = s.substr(base + std::stoul(s.substr(at + 7, 5)), std::stoul(s.substr(at + 3, 4)) - 1);
        for (std::size_t d = data.find('\x1F'); d != std::string::npos && d + 1 < data.size();) {
            const std::size_t next = data.find('\x1F', d + 1);
            subfields[sTag + data[d + 1]] = data.substr(d + 2, next == std::string::npos ? next : next - d - 2);
            d = next;
        }
    }
    return subfields;
}

// Loaded in MARC-8 and held in UTF-8, records read as yaz-marcdump reads them: the subfield after a
// cut escape (where yaz loses the text before the escape, this system keeps it and marks the
// escape), a blank inside an East Asian run, a reference to ESC kept as text.
TEST(TranslateRecordMarc8ToUtf8, ReadsCutEscapesBlanksAndReferencesAsYazDoes) {
    struct Case {
        std::string sTag, sData;       // through T()
        std::vector<std::string> keys;  // the subfields compared with yaz's reading
        std::string sField;             // the whole field as held, through T()
    };
    const std::vector<Case> cases = {
        {"100", "1 |aSmith, John^)|d1900-|4aut", {"100d", "1004"}, "|aSmith, John[MARC+1B29]|d1900-|4aut"},
        {"245", "00|aABC^$-|bDEF", {"245b"}, "|aABC[MARC+1B242D]|bDEF"},
        {"500", "  |a^$1!0! !0d^(B", {"500a"}, "|a\xE4\xB8\x80 \xE4\xBA\xBA"},
        {"500", "  |aab&#x1B;(Ncd", {"500a"}, "|aab&#x1B;(Ncd"},
    };
    for (const Case& c : cases) {
        const std::string sRecord = record_test::Iso2709("00000nam  2200000   4500", {{"001", "1"}, {c.sTag, T(c.sData)}});
        const auto yaz = YazSubfields(sRecord);
        Utf8MarcRecordClass record;
        record.CharacterSetIn("M");
        record.CharacterSetOut("U");
        record.MarcRecordIn(sRecord);
        ASSERT_TRUE(record.FldFindFirst(c.sTag, "")) << c.sData;
        EXPECT_EQ(record.FldText(), T(c.sField));
        for (const std::string& key : c.keys) {
            ASSERT_TRUE(yaz.count(key)) << key;
            ASSERT_TRUE(record.FldFindFirst(key.substr(0, 3), "")) << key;
            ASSERT_TRUE(record.SfdFindFirst(key.substr(3), "")) << key;
            EXPECT_EQ(record.SfdText(), yaz.at(key)) << key;
        }
    }
}

// Every character of the East Asian table reads as its UTF-8, the first and last of the table and
// of each of its chunks among them.
TEST(TranslateMarc2Utf8OneField, EveryEaccCharacterReads) {
    Utf8MarcRecordClass record;
    record.CharacterSetOut("M");
    for (const marc8::EaccEntry& entry : marc8::EaccTable) {
        std::string sField = T("|a^$1");
        for (int shift = 16; shift >= 0; shift -= 8) sField += static_cast<char>((entry.eacc >> shift) & 0xFF);
        std::string sIndicators = "  ";
        bool bChanged = false;
        bool bError = false;
        record.TranslateMarc2Utf8OneField("a", "500", sIndicators, sField, bChanged, bError);
        EXPECT_EQ(sField, T("|a") + marc8::UnpackOctets(entry.utf8)) << std::hex << entry.eacc;
        EXPECT_FALSE(bError) << std::hex << entry.eacc;
    }
}

// Outside a record run (the RTF writer) the octets are read in the set the record is held in.
TEST(TranslateMarc2Utf8OneField, ReadsOctetsInTheOutputSet) {
    const struct {
        const char* sSet;
        std::string sOut;
        bool bError;
    } cases[] = {{"V", "\x1F" "a\xE2\x84\x93", false}, {"M", "\x1F" "a[MARC+A0]", true}};
    for (const auto& c : cases) {
        Utf8MarcRecordClass record;
        record.CharacterSetOut(c.sSet);
        std::string sIndicators = "  ";
        std::string sField = "\x1F" "a\xA0";
        bool bChanged = false;
        bool bError = false;
        record.TranslateMarc2Utf8OneField("a", "500", sIndicators, sField, bChanged, bError);
        EXPECT_EQ(sField, c.sOut) << c.sSet;
        EXPECT_EQ(bError, c.bError) << c.sSet;
    }
}

TEST(TranslateMarc2Utf8OneField, LongFieldTranslates) {
    Utf8MarcRecordClass record;
    record.CharacterSetOut("M");
    std::string sIndicators = "  ";
    std::string sField = T("|a");
    for (int i = 0; i < 10000; ++i) sField += "\xE2" "e ";
    bool bChanged = false;
    bool bError = false;
    record.TranslateMarc2Utf8OneField("a", "500", sIndicators, sField, bChanged, bError);
    EXPECT_EQ(sField.size(), 2u + 10000u * 4u);
    EXPECT_EQ(sField.substr(sField.size() - 4), "e\xCC\x81 ");
    EXPECT_FALSE(bError);
}

// A record loaded as MARC-8 and held in UTF-8: each field translated, 066 gone, leader/09 "a",
// 005 to 008 untouched.
TEST(TranslateRecordMarc8ToUtf8, LoadsAMarc8RecordAsUtf8) {
    std::string s008(40, ' ');
    s008[20] = '\xE2';
    const std::string sRecord = record_test::Iso2709(
        "00000nam  2200000   4500", {{"001", "x\xE2" "e"},
                                     {"005", "20250101\xE2"},
                                     {"008", s008},
                                     {"066", record_test::D("  $c(N")},
                                     {"245", record_test::D("13$aL'\xE2" "Ecole")},
                                     {"500", record_test::D("  $aPlain")},
                                     {"880", record_test::D("  $6500-01$a" "\x1B(N" "AB")}});
    for (const char* out : {"U", "ULC"}) {
        Utf8MarcRecordClass record;
        record.CharacterSetIn("M");
        record.CharacterSetOut(out);
        record.MarcRecordIn(sRecord);
        ASSERT_EQ(record.IsMarcErrorText(), "") << out;
        EXPECT_EQ(record.CharacterSetOut(), "U") << out;
        EXPECT_TRUE(record.MarcRecordTranslated());
        EXPECT_EQ(record.Leader()[9], 'a');
        EXPECT_FALSE(record.FldFindFirst("066", ""));
        ASSERT_TRUE(record.FldFindFirst("001", ""));
        EXPECT_EQ(record.FldText(), "xe\xCC\x81");
        ASSERT_TRUE(record.FldFindFirst("005", ""));
        EXPECT_EQ(record.FldText(), "20250101\xE2");
        ASSERT_TRUE(record.FldFindFirst("245", ""));
        std::string sTag, sIndicators, sField;
        record.FldLoadInfo(sTag, sIndicators, sField);
        EXPECT_EQ(sIndicators, "12");
        EXPECT_EQ(sField, T("|aL'E\xCC\x81" "cole"));
        ASSERT_TRUE(record.FldFindFirst("880", ""));
        EXPECT_EQ(record.FldText(), T("|6500-01|a\xD0\xB0\xD0\xB1"));
    }
}

// Both translations delete the 066 fields as `while (FldFindFirst("066", "")) FldDelete();` does:
// with an event pump installed the finds run as they are, without one a single walk serves; the
// two leave the same record, cursor, saved search and rule in force. A tag with an X matches.
TEST(TranslateRecord, DeletesThe066FieldsAsTheFindsDo) {
    struct Case {
        const char* label;
        const char* leader;
        const char* in;
        const char* first;  // the set out at the load
        const char* then;   // the set the record is translated into
        const char* current;  // the field current before the translation ("" none)
        const char* deleted;  // a field deleted before the translation ("" none)
    };
    const Case cases[] = {
        {"MARC-8 to UTF-8", "00000nam  2200000   4500", "M", "M", "U", "245", "500"},
        {"MARC-8 to UTF-8, no cursor", "00000nam  2200000   4500", "M", "M", "U", "", ""},
        {"UTF-8 to MARC-8", "00000nam a2200000   4500", "U", "U", "M", "500", "245"},
    };
    const std::string sRecord = record_test::Iso2709(
        "00000nam  2200000   4500", {{"001", "x1"},
                                     {"066", record_test::D("  $c(N")},
                                     {"0X6", record_test::D("  $ax")},
                                     {"245", record_test::D("10$aTitle")},
                                     {"500", record_test::D("  $aNote")},
                                     {"066", record_test::D("  $c(3")},
                                     {"880", record_test::D("  $6500-01$aText")}});
    for (const Case& c : cases) {
        std::string sText = sRecord;
        sText.replace(0, 24, c.leader);
        sText.replace(0, 5, sRecord.substr(0, 5));
        sText.replace(12, 5, sRecord.substr(12, 5));
        auto translated = [&](bool bPump) {
            auto record = std::make_unique<Utf8MarcRecordClass>();
            record->CharacterSetIn(c.in);
            record->CharacterSetOut(c.first);
            record->MarcRecordIn(sText);
            EXPECT_EQ(record->IsMarcErrorText(), "") << c.label;
            if (*c.deleted && record->FldFindFirst(c.deleted, "")) record->FldDelete();
            if (*c.current) EXPECT_TRUE(record->FldFindFirst(c.current, "")) << c.label;
            else record->FldPointer(-1);
            int yields = 0;
            std::unique_ptr<platform::ScopedEventPump> pump;
            if (bPump) pump = std::make_unique<platform::ScopedEventPump>([&yields] { ++yields; });
            record->CharacterSetOut(c.then);
            EXPECT_EQ(yields > 0, bPump) << c.label;
            return record;
        };
        const auto walked = translated(false);
        const auto found = translated(true);
        const Utf8MarcRecordState& a = RecordTestAccess::State(*walked);
        const Utf8MarcRecordState& b = RecordTestAccess::State(*found);
        ASSERT_EQ(a.FldCount, b.FldCount) << c.label;
        int deleted066 = 0;
        for (int16_t i = 0; i < a.FldCount; ++i) {
            const FieldEntry& fa = a.Fields[static_cast<size_t>(i)];
            const FieldEntry& fb = b.Fields[static_cast<size_t>(i)];
            EXPECT_EQ(fa.Tag, fb.Tag) << c.label << " " << i;
            EXPECT_EQ(fa.Deleted, fb.Deleted) << c.label << " " << fa.Tag;
            if ((fa.Tag == "066" || fa.Tag == "0X6") && fa.Deleted) ++deleted066;
        }
        EXPECT_EQ(deleted066, 3) << c.label;
        EXPECT_EQ(a.FldPointer, b.FldPointer) << c.label;
        EXPECT_EQ(a.FldWasFound, b.FldWasFound) << c.label;
        EXPECT_EQ(a.SfdPointer, b.SfdPointer) << c.label;
        EXPECT_EQ(a.SfdWasFound, b.SfdWasFound) << c.label;
        EXPECT_EQ(a.FldSearchTags, b.FldSearchTags) << c.label;
        EXPECT_EQ(a.FldSearchText, b.FldSearchText) << c.label;
        EXPECT_EQ(a.FldAtTop, b.FldAtTop) << c.label;
        EXPECT_EQ(a.FldAtBottom, b.FldAtBottom) << c.label;
        EXPECT_EQ(a.SfdAtTop, b.SfdAtTop) << c.label;
        EXPECT_EQ(a.SfdAtBottom, b.SfdAtBottom) << c.label;
        EXPECT_EQ(a.Fld008Pointer, b.Fld008Pointer) << c.label;
        EXPECT_EQ(a.SfdOrderCurrent->Rule.Tag, b.SfdOrderCurrent->Rule.Tag) << c.label;
        EXPECT_EQ(a.Leader, b.Leader) << c.label;
        EXPECT_EQ(walked->FldFindNext("", ""), found->FldFindNext("", "")) << c.label;
    }
}

TEST(TranslateMarc2Utf8OneFieldLcPattern, MarksHebrewSubfieldsAndClosesA260Date) {
    Utf8MarcRecordClass record;
    record.CharacterSetOut("U");
    const std::string sAlef = "\xD7\x90";
    const std::string sRlm = "\xE2\x80\x8F";
    const std::string sLre = "\xE2\x80\xAA";
    const std::string sPdf = "\xE2\x80\xAC";
    EXPECT_EQ(record.TranslateMarc2Utf8OneFieldLcPattern("880", T("|6245-01|a" + sAlef + "|b" + sAlef)),
              T("|6245-01" + sRlm + "|a" + sRlm + sAlef + sRlm + "|b" + sRlm + sAlef));
    EXPECT_EQ(record.TranslateMarc2Utf8OneFieldLcPattern("880", T("|6260-01|a" + sAlef + "|c1990.")),
              T("|6260-01" + sRlm + "|a" + sRlm + sAlef + sRlm + "|c" + sRlm + sLre + "1990" + sPdf + "."));
    EXPECT_EQ(record.TranslateMarc2Utf8OneFieldLcPattern("245", T("|a" + sAlef)), T("|a" + sAlef));
    EXPECT_EQ(record.TranslateMarc2Utf8OneFieldLcPattern("880", T("|6245-01|aLatin")), T("|6245-01|aLatin"));
}

// MARC-8 read to UTF-8, written back to MARC-8 and read again gives the same UTF-8: the cases
// where a subfield lost its delimiter, a reference made structure, a G1 octet was read three
// octets wide or a mark moved to the letter before a reference.
TEST(TranslateMarc2Utf8OneField, ReadWriteReadKeepsSubfieldsAndCharacters) {
    const std::string texts[] = {
        "|aABC^(N|bDEF",
        "|aABC^p|bDEF^(N|cGH",
        "|aTitle&#x001F;cInjected author&#X001E;",
        "|a^$1!0!^)Q\xE4^)!E^(B x^$1!0!^)4\xDC^)!E^(B",
        "|ax\xE2&#x03B1;n \xE2&#x0259;",
        "|a^)Q\xC0|b\xC0",
        "|aab&#x1B;(Ncd",
    };
    for (const std::string& text : texts) {
        Utf8MarcRecordClass record;
        record.CharacterSetOut("M");
        std::string sIndicators = "  ";
        std::string sField = T(text);
        bool bChanged = false;
        bool bError = false;
        record.TranslateMarc2Utf8OneField("a", "500", sIndicators, sField, bChanged, bError);
        EXPECT_FALSE(bError) << text;
        const std::string sUtf8 = sField;
        std::string sSetList;
        std::string sTag = "500";
        record.TranslateUtf82MarcOneField(sSetList, sTag, sField, bChanged, bError);
        record.TranslateMarc2Utf8OneField("a", "500", sIndicators, sField, bChanged, bError);
        EXPECT_EQ(sField, sUtf8) << text;
    }
}

}  // namespace

