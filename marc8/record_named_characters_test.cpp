#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"

namespace {

using test_octets::O;

using Getter = OctetString (Utf8MarcRecordClass::*)();

struct NamedCase {
    const char* name;
    Getter getter;
    std::string u, m, v, o, l;  // hex octets by output set
};

// Each named character in the record's output set.
TEST(RecordNamedCharacters, FollowTheOutputSet) {
    const std::string run2 = "1B 70 32 1B 73";
    const std::vector<NamedCase> cases = {
        {"Umlaut", &Utf8MarcRecordClass::MarcUmlaut, "CC 88", "E8", "E8", "E8", "E8"},
        {"Superscript2", &Utf8MarcRecordClass::MarcSuperscript2, "C2 B2", run2, "C2", run2, run2},
        {"Superscript1", &Utf8MarcRecordClass::MarcSuperscript1, "C2 B9", "1B 70 31 1B 73", "C1", "1B 70 31 1B 73", "1B 70 31 1B 73"},
        {"Subscript9", &Utf8MarcRecordClass::MarcSubscript9, "E2 82 89", "1B 62 39 1B 73", "D9", "1B 62 39 1B 73", "1B 62 39 1B 73"},
        {"Alpha", &Utf8MarcRecordClass::MarcAlpha, "CE B1", "1B 67 61 1B 73", "AF", "1B 67 61 1B 73", "1B 67 61 1B 73"},
        {"Beta", &Utf8MarcRecordClass::MarcBeta, "CE B2", "1B 67 62 1B 73", "BE", "1B 67 62 1B 73", "1B 67 62 1B 73"},
        {"LScript", &Utf8MarcRecordClass::MarcLScript, "E2 84 93", "C1", "A0", "BE", "C1"},
        {"Degree", &Utf8MarcRecordClass::MarcDegree, "C2 B0", "C0", "90", "C0", "C0"},
        {"Copyright", &Utf8MarcRecordClass::MarcCopyright, "C2 A9", "C3", "93", "C3", "C3"},
        {"TverdiiZnak", &Utf8MarcRecordClass::MarcTverdiiZnak, "CA BA", "B7", "B7", "B7", "B7"},
        {"JoinerZeroWidth", &Utf8MarcRecordClass::MarcJoinerZeroWidth, "E2 80 8D", "8D", "8D", "8D", "8D"},
        {"RightToLeftMarker", &Utf8MarcRecordClass::MarcRightToLeftMarker, "E2 80 8F", "", "", "", ""},
        {"PopDirectionalFormatting", &Utf8MarcRecordClass::MarcPopDirectionalFormatting, "E2 80 AC", "", "", "", ""},
        {"RightToLeftOverride", &Utf8MarcRecordClass::MarcRightToLeftOverride, "E2 80 AE", "", "", "", ""},
        {"NonSortBegin", &Utf8MarcRecordClass::MarcNonSortBegin, "88", "88", "88", "88", "88"},
        {"NonSortEnd", &Utf8MarcRecordClass::MarcNonSortEnd, "89", "89", "89", "89", "89"},
        {"Escape", &Utf8MarcRecordClass::MarcEscape, "1B", "1B", "1B", "1B", "1B"},
        {"Delimiter", &Utf8MarcRecordClass::MarcDelimiter, "1F", "1F", "1F", "1F", "1F"},
        {"EndOfField", &Utf8MarcRecordClass::MarcEndOfField, "1E", "1E", "1E", "1E", "1E"},
        {"EndOfRecord", &Utf8MarcRecordClass::MarcEndOfRecord, "1D", "1D", "1D", "1D", "1D"},
        {"Fill", &Utf8MarcRecordClass::MarcFill, "7C", "7C", "7C", "7C", "7C"},
        {"SpacingUnderscore", &Utf8MarcRecordClass::MarcSpacingUnderscore, "5F", "5F", "5F", "5F", "5F"},
    };
    Utf8MarcRecordClass record;
    for (const auto& [set, column] : std::vector<std::pair<std::string, std::string NamedCase::*>>{
             {"U", &NamedCase::u}, {"M", &NamedCase::m}, {"V", &NamedCase::v}, {"O", &NamedCase::o},
             {"L", &NamedCase::l}, {"ULC", &NamedCase::u}}) {
        record.CharacterSetOut(set);
        for (const NamedCase& k : cases) EXPECT_EQ((record.*k.getter)(), O(k.*column)) << k.name << " in " << set;
    }
}

// A record whose character object went missing makes it again on first use;
// the getters leave its current character alone.
TEST(RecordNamedCharacters, MakeTheCharacterObjectWhenItIsMissing) {
    Utf8MarcRecordClass record;
    RecordTestAccess::MutableState(record).MyUtf8Char.reset();
    EXPECT_EQ(record.MarcAcute(), O("CC 81"));
    ASSERT_NE(RecordTestAccess::State(record).MyUtf8Char, nullptr);
    RecordTestAccess::MutableState(record).MyUtf8Char->Utf8Char("q");
    record.CharacterSetOut("M");
    EXPECT_EQ(record.MarcAcute(), O("E2"));
    EXPECT_EQ(RecordTestAccess::State(record).MyUtf8Char->Utf8Char(), "q");
}

TEST(Utf8CharClass, DirectionalControlsAndTheSpacingUnderscore) {
    using CharGetter = OctetString (Utf8CharClass::*)() const;
    const std::vector<std::pair<CharGetter, std::string>> cases = {
        {&Utf8CharClass::Utf8RightToLeftMarker, "E2 80 8F"},
        {&Utf8CharClass::Utf8LeftToRightMarker, "E2 80 8E"},
        {&Utf8CharClass::Utf8LeftToRightEmbedding, "E2 80 AA"},
        {&Utf8CharClass::Utf8PopDirectionalFormatting, "E2 80 AC"},
        {&Utf8CharClass::Utf8ZeroWidthJoiner, "E2 80 8D"},
        {&Utf8CharClass::Utf8ZeroWidthNonJoiner, "E2 80 8C"},
        {&Utf8CharClass::Utf8RightToLeftEmbedding, "E2 80 AB"},
        {&Utf8CharClass::Utf8LeftToRightOverride, "E2 80 AD"},
        {&Utf8CharClass::Utf8RightToLeftOverride, "E2 80 AE"},
        {&Utf8CharClass::Utf8SpacingUnderscore, "5F"},
        {&Utf8CharClass::Marc8SpacingUnderscore, "5F"},
    };
    Utf8CharClass c;
    c.Utf8Char("z");
    for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ((c.*cases[i].first)(), O(cases[i].second)) << i;
    EXPECT_EQ(c.Utf8ZeroWidthJoiner(), c.Utf8JoinerZeroWidth());
    EXPECT_EQ(c.Utf8ZeroWidthNonJoiner(), c.Utf8NonJoinerZeroWidth());
    EXPECT_EQ(c.Utf8Char(), "z");
}

}  // namespace
