#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"
#include "platform/events.h"

namespace {

// "^" stands for ESC, "|" for the subfield delimiter.
std::string T(std::string s) {
    for (char& c : s) {
        if (c == '^') c = '\x1B';
        else if (c == '|') c = '\x1F';
    }
    return s;
}

const std::string kAlef = "\xD7\x90", kBet = "\xD7\x91", kGimel = "\xD7\x92", kDalet = "\xD7\x93";
const std::string kAcute = "\xCC\x81", kDiaeresis = "\xCC\x88", kBreve = "\xCC\x86";
const std::string kCyrIo = "\xD0\x81";  // Ё, extended Cyrillic ")Q" 0xE4
const std::string kCyrI = "\xD0\xB8";   // и
const std::string kCyrEl = "\xD0\xBB", kCyrKa = "\xD0\xBA", kCyrA = "\xD0\xB0";
const std::string kArAlif = "\xD8\xA7", kArBa = "\xD8\xA8";
const std::string kAlpha = "\xCE\xB1", kBeta = "\xCE\xB2";
const std::string kTav = "\xD7\xAA", kShin = "\xD7\xA9", kFinalNun = "\xD7\x9F";
// Words with the marks of the Greek, Hebrew and Arabic sets, decomposed.
const std::string kAthenai = "\xCE\x91\xCC\x93\xCE\xB8\xCE\xB7\xCD\x82\xCE\xBD\xCE\xB1\xCE\xB9";  // Ἀθῆναι
const std::string kRhetor = "\xCF\x81\xCC\x94\xCE\xB7\xCC\x81\xCF\x84\xCF\x89\xCF\x81";          // ῥήτωρ
const std::string kOde = "\xCF\x89\xCC\x93\xCD\x85\xCE\xB4\xCE\xB7\xCC\x81";                       // ᾠδή
const std::string kHama = "\xCE\xB1\xCC\x94\xCC\x81\xCE\xBC\xCE\xB1";                              // ἅμα
const std::string kShalom = "\xD7\xA9\xD6\xB8\xD7\x81\xD7\x9C\xD7\x95\xD6\xB9\xD7\x9D";          // שָׁלוֹם
const std::string kBereshit =
    "\xD7\x91\xD6\xB0\xD6\xBC\xD7\xA8\xD6\xB5\xD7\x90\xD7\xA9\xD6\xB4\xD7\x81\xD7\x99\xD7\xAA";  // בְּרֵאשִׁית
const std::string kKataba = "\xD9\x83\xD9\x8E\xD8\xAA\xD9\x8E\xD8\xA8\xD9\x8E";  // كَتَبَ
const std::string kDotBelow = "\xCC\xA3", kLowLine = "\xCC\xB2";

struct FieldCase {
    std::string sName;
    std::string sTag;
    std::string sText;  // UTF-8, through T()
    std::string sOut;   // MARC-8, through T()
    bool bChanged;
    bool bError;
};

class Utf8FieldToMarc8 : public ::testing::TestWithParam<FieldCase> {};

TEST_P(Utf8FieldToMarc8, Translates) {
    const auto& c = GetParam();
    Utf8MarcRecordClass record;
    record.CharacterSetOut("M");
    std::string sSetList;
    std::string sTag = c.sTag;
    std::string sText = T(c.sText);
    bool bChanged = false;
    bool bError = false;
    record.TranslateUtf82MarcOneField(sSetList, sTag, sText, bChanged, bError);
    EXPECT_EQ(sText, T(c.sOut));
    EXPECT_EQ(bChanged, c.bChanged);
    EXPECT_EQ(bError, c.bError);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8FieldToMarc8,
    ::testing::Values(
        FieldCase{"PlainAscii", "245", "|aabc", "|aabc", false, false},
        FieldCase{"HebrewThenDigits", "500", "|a" + kAlef + kBet + " 1990", "|a^(2\x60\x61^(B 1990", true, false},
        FieldCase{"SubscriptInside", "500", "|aH\xE2\x82\x82O", "|aH^b2^(BO", true, false},
        FieldCase{"SubscriptAtEnd", "500", "|ax\xE2\x82\x82", "|ax^b2^s", true, false},
        FieldCase{"MarkBeforeBase", "500", "|ae" + kAcute, "|a\xE2" "e", true, false},
        // Only the last letter of a run of basic Latin takes the marks after it.
        FieldCase{"MarkAfterLatinRun", "500", "|aabc" + kAcute + "d", "|aab\xE2" "cd", true, false},
        FieldCase{"MarksOfClass230KeepOrder", "500", "|ae" + kAcute + kDiaeresis, "|a\xE2\xE8" "e", true, false},
        FieldCase{"MarkBeforeEscapeOfItsBase", "500", "|a" + kCyrI + kBreve, "|a\xE6^(N\x49^(B", true, false},
        FieldCase{"ReferenceForUnknown", "500", "|ax\xE0\xA0\x80", "|ax&#x0800;", true, true},
        FieldCase{"ReferenceInsideScriptRun", "500", "|a" + kAlef + "\xD7\x82" + kBet,
                  "|a^(2\x60^(B&#x05c2;^(2\x61^(B", true, true},
        FieldCase{"ReferenceBeyondBmp", "500", "|a\xF0\x9D\x84\x9E", "|a&#xd834dd1e;", true, true},
        // U+0800 is a letter (the Unicode 3.0 table took it for a mark): the acute is its own.
        FieldCase{"MissingLetterKeepsItsMark", "500", "|ae\xE0\xA0\x80" + kAcute, "|ae\xE2&#x0800;", true, true},
        FieldCase{"DirectionalMarkDropped", "500", "|a" + kAlef + "\xE2\x80\x8F" + kBet, "|a^(2\x60\x61^(B", true,
                  false},
        FieldCase{"TabIsReferenced", "500", "|aa\tb", "|aa&#x0009;b", true, true},
        // Written as itself, ESC would start an escape sequence.
        FieldCase{"EscapeIsReferenced", "500", "|aab^(Ncd", "|aab&#x001b;(Ncd", true, true},
        FieldCase{"EscapeIsReferenced880", "880", "|a" + kAlef + "^(B", "|a^(2\x60^(B&#x001b;(B", true, true},
        // The load puts the delimiter in place of the double dagger; the writer references it.
        FieldCase{"DoubleDaggerIsReferenced", "500", "|aa\xC7\x82" "bc", "|aa&#x01c2;bc", true, true},
        // Letters of the extended Cyrillic set are no marks, and G1 is given back to extended
        // Latin when their run ends.
        FieldCase{"ExtendedCyrillicIsNoMark", "500", "|aa" + kCyrIo, "|aa^)Q\xE4^)!E^s", true, false},
        FieldCase{"ExtendedCyrillicInAWord", "500", "|a" + kCyrIo + kCyrEl + kCyrKa + kCyrA,
                  "|a^)Q\xE4^)!E^(N\x4C\x4B\x41^(B", true, false},
        FieldCase{"AnselAfterExtendedCyrillic", "500", "|a" + kCyrIo + "e" + kAcute,
                  "|a^)Q\xE4^)!E^(B\xE2" "e", true, false},
        // The delimiter and code are no base: marks that open a subfield follow the code.
        FieldCase{"MarkOpeningASubfield", "500", "|ax|b" + kAcute + "e", "|ax|b\xE2" "e", true, false},
        FieldCase{"MarksOnly", "500", "|a" + kAcute, "|a\xE2", true, false},
        FieldCase{"EmptySubfieldKept", "500", "|a|be" + kAcute, "|a|b\xE2" "e", true, false},
        FieldCase{"EmptyLastSubfieldKept", "500", "|ax|b", "|ax|b", false, false},
        FieldCase{"TextBeforeDelimiterOpensItsRun", "500", kAlef + kBet, "^(2\x60\x61^(B", true, false},
        // Malformed UTF-8: each octet stands alone as U+FFFD.
        FieldCase{"CutLead", "500", "|aa\xC3", "|aa&#xfffd;", true, true},
        FieldCase{"CutThreeOctets", "500", "|a\xE2\x82" "b", "|a&#xfffd;&#xfffd;b", true, true},
        FieldCase{"StrayContinuation", "500", "|a\x80" "e" + kAcute, "|a&#xfffd;\xE2" "e", true, true},
        FieldCase{"Overlong", "500", "|a\xC0\xAF", "|a&#xfffd;&#xfffd;", true, true},
        FieldCase{"EncodedSurrogate", "500", "|a\xED\xA0\x80", "|a&#xfffd;&#xfffd;&#xfffd;", true, true},
        // 880 fields: digits and punctuation join their script run, $6 gets the script.
        FieldCase{"HebrewDigitsJoin880", "880", "|a" + kAlef + kBet + " 1990", "|a^(2\x60\x61 1990^(B", true, false},
        FieldCase{"HebrewWords880", "880", "|a" + kAlef + kBet + " " + kGimel + kDalet,
                  "|a^(2\x60\x61 \x62\x63^(B", true, false},
        FieldCase{"HebrewScriptIn6", "880", "|6100-01|a" + kAlef, "|6100-01/(2/r|a^(2\x60^(B", true, false},
        FieldCase{"EarlierScriptCodeReplaced", "880", "|6100-01/(N|a" + kAlef, "|6100-01/(2/r|a^(2\x60^(B", true,
                  false},
        FieldCase{"GreekScriptIn6", "880", "|6100-01|a" + kAlpha + kBeta, "|6100-01/(S|a^(S\x61\x62^(B", true, false},
        FieldCase{"LatinOnly6Unchanged", "880", "|6100-01|aabc", "|6100-01|aabc", false, false},
        FieldCase{"ArabicEndingInYear880", "880", "|a" + kArAlif + kArBa + " 1995.",
                  "|a^(3\x47\x48 ^(B1995.", true, false},
        FieldCase{"ArabicRunsJoinedByBlank880", "880", "|a" + kArAlif + " " + kArBa, "|a^(3\x47 \x48^(B", true, false},
        FieldCase{"ArabicCommaStaysBasic880", "880", "|a" + kArAlif + "," + kArBa, "|a^(3\x47^(B,^(3\x48^(B", true,
                  false},
        // ", " means an Arabic comma in the Arabic set: it stays basic after the year.
        FieldCase{"ArabicYearBetweenRuns880", "880", "|a" + kArAlif + " 12, " + kArBa,
                  "|a^(3\x47 ^(B12, ^(3\x48^(B", true, false},
        FieldCase{"ArabicCommaAndBlankStayBasic880", "880", "|a" + kArAlif + ", " + kArBa,
                  "|a^(3\x47^(B, ^(3\x48^(B", true, false},
        // The quotation mark is gershayim in the Hebrew set: it stays basic.
        FieldCase{"HebrewQuotationMarkStaysBasic880", "880", "|a" + kTav + kShin + "\"" + kFinalNun,
                  "|a^(2\x7A\x79^(B\"^(2\x6F^(B", true, false},
        // A character MARC-8 lacks is a base of its own: the acute after it stays with it.
        FieldCase{"MarkAfterMissingCharacter", "500", "|ax\xC9\x99" + kAcute + "n", "|ax\xE2&#x0259;n", true, true},
        FieldCase{"MissingMarkFollowsItsBase", "500", "|ax\xCD\x98" + kAcute + "n", "|a\xE2x&#x0358;n", true, true},
        // Marks of one class keep their order.
        FieldCase{"MarksOfOneClassBelowKeepOrder", "500", "|ae" + kDotBelow + kLowLine + "x", "|a\xF2\xF6" "ex", true,
                  false},
        // The marks of the Greek, Hebrew and Arabic sets stand directly before their letter, each
        // in its own set; ANSEL's marks in the basic set.
        FieldCase{"GreekSetMarkBeforeItsLetter", "500", "|a" + kAthenai, "|a\xFE^(SAk$jpal^(B", true, false},
        FieldCase{"RoughBreathingOpensTheRun", "500", "|a" + kRhetor, "|a^(S&u^(B\xE2^(Sjx}u^(B", true, false},
        FieldCase{"YpogegrammeniAfterAnselBreathing", "500", "|a" + kOde, "|a\xFE^(S'}e^(B\xE2^(Sj^(B", true, false},
        FieldCase{"GreekAndAnselMarksInTextOrder", "500", "|a" + kHama, "|a^(S&^(B\xE2^(Saoa^(B", true, false},
        FieldCase{"HebrewPointsBeforeTheirLetter", "500", "|a" + kShalom, "|a^(2AMylEem^(B", true, false},
        FieldCase{"HebrewPointsBeforeTheirLetter880", "880", "|a" + kShalom, "|a^(2AMylEem^(B", true, false},
        FieldCase{"HebrewDageshAfterSheva", "500", "|a" + kBereshit, "|a^(2GKaCx`DMyiz^(B", true, false},
        FieldCase{"ArabicHarakatBeforeTheirLetter", "500", "|a" + kKataba, "|a^(3ncnJnH^(B", true, false}),
    [](const auto& info) { return info.param.sName; });

// What the writer gives, this system's reader takes back: every case above that holds no
// reference, read back from MARC-8, is the UTF-8 it came from (less the directional mark, and
// with the double dagger as a delimiter).
TEST(TranslateUtf82MarcOneField, ReadsBackThroughTheMarc8Reader) {
    const std::vector<std::string> texts = {
        "|aabc",
        "|a" + kAlef + kBet + " 1990",
        "|aH\xE2\x82\x82O|bx\xE2\x82\x82|cy",
        "|ae" + kAcute + kDiaeresis + "|b" + kCyrI + kBreve,
        "|a" + kCyrIo + "e" + kAcute + " " + kCyrIo + kCyrEl + kCyrKa + kCyrA + " \xC3\xA6",
        "|ax|b|c" + kAlpha + kBeta + " " + "\xE4\xB8\x80" + "x",
        "|aTitle&#x001F;cInjected author&#x001e;&#x0000;",
        "|a\xE4\xB8\x80" + kCyrIo + "|b\xE4\xB8\x80\xDA\xAD",
        "|aStra\xC3\x9F" "e 10\xE2\x82\xAC",
        "|ax" + kAlpha + kAcute + "n",
        "|a" + kTav + kShin + "\"" + kFinalNun + " " + kAlef + "-" + kBet + " " + kAlef + "'" + kBet,
        "|a" + kArAlif + ", " + kArBa + " 12, " + kArAlif + " 1995% " + kArBa + "; " + kArAlif + "?",
        "|a" + kAthenai + " " + kRhetor + " " + kOde + " " + kHama + "|be" + kDotBelow + kLowLine + "x",
        "|a" + kShalom + " " + kBereshit + " " + kAlef + "\xD6\xBE" + kBet + "|b" + kKataba + " 12",
    };
    for (const std::string& sText : texts) {
        for (const char* sTag : {"245", "880"}) {
            Utf8MarcRecordClass record;
            record.CharacterSetOut("M");
            std::string sSetList;
            std::string sTagCopy = sTag;
            std::string sField = T(sText);
            bool bChanged = false;
            bool bError = false;
            record.TranslateUtf82MarcOneField(sSetList, sTagCopy, sField, bChanged, bError);
            EXPECT_FALSE(bError) << sText;
            std::string sIndicators = "  ";
            bool bBackChanged = false;
            bool bBackError = false;
            record.TranslateMarc2Utf8OneField("a", sTag, sIndicators, sField, bBackChanged, bBackError);
            EXPECT_FALSE(bBackError) << sText;
            EXPECT_EQ(sField, T(sText)) << sTag;
        }
    }
}

// Controls come back through MARC-8 as they went: TAB, LF, CR and DEL as themselves, ESC as the
// text of its reference (a reference to ESC stays text, as one to the delimiter does).
TEST(TranslateUtf82MarcOneField, ControlsComeBackAndEscapeStaysText) {
    Utf8MarcRecordClass record;
    record.CharacterSetOut("M");
    std::string sSetList;
    std::string sTag = "500";
    std::string sField = T("|aa\t\n\r\x7F^(Ncd");
    bool bChanged = false;
    bool bError = false;
    record.TranslateUtf82MarcOneField(sSetList, sTag, sField, bChanged, bError);
    EXPECT_EQ(sField.find('\x1B'), std::string::npos);
    std::string sIndicators = "  ";
    record.TranslateMarc2Utf8OneField("a", sTag, sIndicators, sField, bChanged, bError);
    EXPECT_EQ(sField, T("|aa\t\n\r\x7F&#x001b;(Ncd"));
}

// The writer is linear: a long subfield of marks, references and script runs takes no time.
TEST(TranslateUtf82MarcOneField, LongSubfield) {
    Utf8MarcRecordClass record;
    record.CharacterSetOut("M");
    std::string sText = T("|a");
    for (int i = 0; i < 20000; ++i) sText += "e" + kAcute + kAlef + " \xE0\xA0\x80";
    std::string sSetList;
    std::string sTag = "880";
    bool bChanged = false;
    bool bError = false;
    record.TranslateUtf82MarcOneField(sSetList, sTag, sText, bChanged, bError);
    EXPECT_TRUE(bError);
    // The blank stays in the basic set: the reference after it is no digit or punctuation.
    EXPECT_EQ(sText.substr(0, 13), T("|a\xE2" "e^(2\x60^(B &"));
    EXPECT_EQ(sSetList, " 1  5 ");
}

TEST(TidyVernacularEscapes, JoinsOnlyScriptRuns) {
    const std::pair<std::string, std::string> cases[] = {
        {"|a^(2\x60^(B 1990", "|a^(2\x60 1990^(B"},
        {"|a^(N\x41^(B, ^(N\x42^(B", "|a^(N\x41, \x42^(B"},
        {"|a^(N\x41^(Bx^(N\x42", "|a^(N\x41^(Bx^(N\x42"},  // a letter is never joined
        {"|a^(S\x61^(B ^(S\x62", "|a^(S\x61^(B ^(S\x62"},   // Greek runs are not tidied
        {"|a^(3\x47^(B1995", "|a^(3\x47^(B1995"},           // no punctuation: not joined
        {"|a^(3\x47^(B?^(3\x48", "|a^(3\x47^(B?^(3\x48"},   // the Arabic set's own question mark
        {"|a^(3\x47^(B - ^(3\x48", "|a^(3\x47 - \x48"},
        {"|a^(2\x60^(B(^b2^(B)", "|a^(2\x60^(B(^b2^(B)"},     // the next run is no Hebrew run
        // only runs that the script set reads as the basic set does are joined
        {"|a^(2\x60^(B\"^(2\x61", "|a^(2\x60^(B\"^(2\x61"},
        {"|a^(2\x60^(B-^(2\x61", "|a^(2\x60^(B-^(2\x61"},
        {"|a^(2\x60^(B. ^(2\x61", "|a^(2\x60. \x61"},
        {"|a^(3\x47^(B, ^(3\x48", "|a^(3\x47^(B, ^(3\x48"},
        {"|a^(3\x47^(B,12 ^(3\x48", "|a^(3\x47^(B,12^(3 \x48"},
        {"|a^(3\x47^(B 12%", "|a^(3\x47 ^(B12%"},
        {"|aabc", "|aabc"},
    };
    Utf8MarcRecordClass record;
    for (const auto& [sIn, sOut] : cases) {
        std::string sPiece = T(sIn);
        RecordTestAccess::TidyVernacularEscapes(record, sPiece);
        EXPECT_EQ(sPiece, T(sOut)) << sIn;
    }
}

TEST(ScriptCodesFromTableCodes, MapsTableCodesAndYields) {
    Utf8MarcRecordClass record;
    int yields = 0;
    platform::ScopedEventPump pump([&yields] { ++yields; });
    EXPECT_EQ(RecordTestAccess::ScriptCodesFromTableCodes(record, " 5  1  6  :  7  8  9  ; (S  s  g  xyz ", "/"),
              "/(2/(N/(3/(S/$1/(S");
    EXPECT_GE(yields, 12);
    EXPECT_EQ(RecordTestAccess::ScriptCodesFromTableCodes(record, " 1  3  4 ", "\x1F" "c"), "");
    EXPECT_EQ(RecordTestAccess::ScriptCodesFromTableCodes(record, "", "/"), "");
}

TEST(Utf8TextContainsOnlyMarc8Characters, LatinOnly) {
    Utf8MarcRecordClass record;
    const std::pair<std::string, bool> cases[] = {
        {"abc", true}, {"", true}, {"a\xC3\xA6", true}, {"a\xD0\xB0", false}, {"\xE4\xB8\x80", false},
        {"\xC3\xA9", false},
    };
    for (const auto& [sIn, bWant] : cases) EXPECT_EQ(record.Utf8TextContainsOnlyMarc8Characters(sIn), bWant) << sIn;
}

// A UTF-8 record set to MARC-8: data fields translated, control fields left, one 066 with the
// scripts of the 880 fields in the order first met, leader/09 blank; and back to UTF-8.
TEST(TranslateRecordUtf8ToMarc8, WholeRecordAndBack) {
    const std::string s008(40, ' ');
    const std::string sRecord = record_test::Iso2709(
        "00000nam a2200000   4500",
        {{"001", "x\xC3\xA9"},
         {"008", s008},
         {"066", T("  |c(N")},
         {"100", T("1 |aMu\xCC\x88ller, Jan.")},
         {"245", T("10|aPlain")},
         {"880", T("1 |6100-01|a" + kAlef + kBet + " 1990")},
         {"880", T("10|6245-01|a" + kGimel)},
         {"880", T("  |6500-01|a" + kArAlif)}});
    Utf8MarcRecordClass record;
    record.MarcRecordIn(sRecord);
    ASSERT_EQ(record.IsMarcErrorText(), "");
    ASSERT_TRUE(record.FldFindFirst("245", ""));
    const int16_t iCurrent = record.FldPointer();
    record.CharacterSetOut("M");
    EXPECT_TRUE(record.MarcRecordTranslated());
    EXPECT_EQ(record.FldPointer(), iCurrent);
    EXPECT_EQ(record.Leader()[9], ' ');
    ASSERT_TRUE(record.FldFindFirst("001", ""));
    EXPECT_EQ(record.FldText(), "x\xC3\xA9");
    ASSERT_TRUE(record.FldFindFirst("100", ""));
    EXPECT_EQ(record.FldText(), T("|aM\xE8" "uller, Jan."));
    ASSERT_TRUE(record.FldFindFirst("245", ""));
    EXPECT_EQ(record.FldText(), T("|aPlain"));
    ASSERT_TRUE(record.FldFindFirst("880", ""));
    EXPECT_EQ(record.FldText(), T("|6100-01/(2/r|a^(2\x60\x61 1990^(B"));
    ASSERT_TRUE(record.FldFindFirst("066", ""));
    EXPECT_EQ(record.FldText(), T("|c(2|c(3"));
    EXPECT_FALSE(record.FldFindNext("066", ""));

    record.CharacterSetOut("U");
    EXPECT_EQ(record.Leader()[9], 'a');
    EXPECT_FALSE(record.FldFindFirst("066", ""));
    ASSERT_TRUE(record.FldFindFirst("100", ""));
    EXPECT_EQ(record.FldText(), T("|aMu\xCC\x88ller, Jan."));
    ASSERT_TRUE(record.FldFindFirst("880", ""));
    EXPECT_EQ(record.FldText(), T("|6100-01/(2/r|a" + kAlef + kBet + " 1990"));
}

// A record without data fields still gets leader/09 blank; one with only Latin text gets no 066
// and loses the one it had.
TEST(TranslateRecordUtf8ToMarc8, LatinRecord) {
    const std::string sRecord = record_test::Iso2709(
        "00000nam a2200000   4500", {{"001", "1"}, {"066", T("  |c(N")}, {"500", T("  |aabc")}});
    Utf8MarcRecordClass record;
    record.MarcRecordIn(sRecord);
    record.CharacterSetOut("V");
    EXPECT_FALSE(record.FldFindFirst("066", ""));
    EXPECT_EQ(record.Leader()[9], ' ');
    EXPECT_EQ(record.CharacterSetOut(), "V");
}

}  // namespace
