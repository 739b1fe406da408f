// The record-kind and heading tests on records built with NewRecord and FldAdd.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "marc/record/record_test_access.h"

namespace {

using record_test::D;
using Fields = std::vector<std::pair<std::string, std::string>>;  // tag, text with "$"

// An authority record (leader/06 "z") or a bibliographic one ("a") with the
// fields given, indicators blank.
void Build(Utf8MarcRecordClass& record, const std::string& sType, const Fields& fields) {
    record.NewRecord(sType, sType == "z" ? " " : "m");
    for (const auto& [tag, text] : fields) record.FldAdd(tag, "  ", D(text), false);
}

TEST(RecordKind, NationalAuthorityRecord) {
    struct Case {
        const char* name;
        std::string type;
        Fields fields;
        std::string institutions;  // as stored; "" keeps the default
        bool national;
        std::string number;
    };
    const std::vector<Case> cases = {
        {"bibliographic record with an 010", "a", {{"010", "$a   79021164 "}}, "", false, ""},
        {"authority record with an 010", "z", {{"010", "$an  79021164 "}, {"035", "$a(DLC)x"}}, "", true,
         D("010: $an  79021164 ")},
        {"second 035 holds an institution code", "z", {{"035", "$zsh 1"}, {"035", "$a(DLC)12345"}}, "", true,
         "035: (DLC)12345"},
        {"035 with an authority-number prefix", "z", {{"035", "$a(OCoLC)1"}, {"035", "$ash 85012345"}}, "", true,
         "035: sh 85012345"},
        {"040 of DNLM", "z", {{"035", "$a(OCoLC)1"}, {"040", "$aDNLM$cDNLM"}}, "", true, ""},
        {"neither", "z", {{"035", "$a(OCoLC)1"}, {"040", "$aOCoLC$cDLC"}}, "", false, ""},
        {"no fields of the three", "z", {{"100", "$aSmith"}}, "", false, ""},
        // An empty code (two blanks) occurs in no text.
        {"empty institution code", "z", {{"035", "$a(OCoLC)1"}}, "DLC  DNLM", false, ""},
        // A normal form shorter than two characters is no prefix.
        {"035 $a of one letter", "z", {{"035", "$an"}}, "", false, ""},
        {"035 $a of punctuation only", "z", {{"035", "$a--"}}, "", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Utf8MarcRecordClass record;
        Build(record, c.type, c.fields);
        if (!c.institutions.empty()) RecordTestAccess::MutableState(record).NationalAuthorityInstitutions = c.institutions;
        for (const int16_t iCursor : {int16_t{-1}, int16_t{0}, record.FldPointer()}) {
            record.FldPointer(iCursor);
            std::string sNumber = "not emptied";
            EXPECT_EQ(record.NationalAuthorityRecord(sNumber), c.national);
            EXPECT_EQ(sNumber, c.number);
            EXPECT_EQ(record.FldPointer(), iCursor);
        }
    }
}

TEST(RecordKind, SubfieldWOfTracingsAndReferences) {
    struct Case {
        std::string type;
        std::string tag;
        std::string text;
        bool former;      // FldIsFormerHeading
        bool suppressed;  // FldIsSuppressedReference
        bool anyTag;      // FldFormerHeading
    };
    const std::vector<Case> cases = {
        {"z", "400", "$aSmith$wnna", true, false, true},
        {"z", "400", "$aSmith$wna", false, false, false},
        {"z", "500", "$aSmith$wnnna", false, true, false},
        {"z", "500", "$aSmith$wnnn", false, false, false},
        {"z", "500", "$aSmith$wnnn$wnnaa", false, false, false},  // the first $w decides
        {"z", "400", "$aSmith", false, false, false},
        {"z", "100", "$aSmith$wnne", false, false, true},  // FldFormerHeading tests no tag
        {"a", "400", "$aSmith$wnnaa", false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag + " " + c.text + " in a record of type " + c.type);
        Utf8MarcRecordClass record;
        Build(record, c.type, {{c.tag, c.text}});
        ASSERT_EQ(record.FldTag(), c.tag);
        record.SfdMoveFirst();
        const int16_t iSubfield = record.SfdPointer();
        EXPECT_EQ(record.FldIsFormerHeading(), c.former);
        EXPECT_EQ(record.SfdPointer(), iSubfield);
        EXPECT_EQ(record.FldIsSuppressedReference(), c.suppressed);
        EXPECT_EQ(record.SfdPointer(), iSubfield);
        EXPECT_EQ(record.FldFormerHeading(), c.anyTag);
        EXPECT_EQ(record.SfdPointer(), iSubfield);
    }

    // Without a current field all three are False.
    Utf8MarcRecordClass record;
    Build(record, "z", {{"400", "$aSmith$wnnaa"}});
    record.FldPointer(-1);
    EXPECT_FALSE(record.FldIsFormerHeading());
    EXPECT_FALSE(record.FldIsSuppressedReference());
    EXPECT_FALSE(record.FldFormerHeading());
}

}  // namespace
