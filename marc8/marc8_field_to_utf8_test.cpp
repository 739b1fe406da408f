#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"

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
        FieldCase{"EaccLeftover", "500", "  ", "|a^$1!0!!0", "  ", "|a\xE4\xB8\x80[MARC+2130]", true, true}),
    [](const auto& info) { return info.param.sName; });

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

}  // namespace
