// The record tests for empty, leading and blank subfields on records loaded
// from ISO 2709 text: bibliographic, authority and holdings, UTF-8 and MARC-8.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/record_test_access.h"

namespace {

using record_test::D;
using record_test::Iso2709;
using record_test::TaggedField;

const std::string kBib = "00000nam a2200000 a 4500";
const std::string kAuth = "00000nz  a2200000n  4500";
const std::string kHold = "00000nx  a2200000   4500";

class RecordTests : public ::testing::Test {
protected:
    // The record loaded from its fields (after an 008); a MARC-8 record
    // (leader/09 blank) is kept in "M".
    std::string Load(const std::vector<TaggedField>& fields, std::string sLeader = kBib, bool bUtf8 = true) {
        record = std::make_unique<Utf8MarcRecordClass>();
        if (!bUtf8) {
            sLeader[9] = ' ';
            record->CharacterSetIn("M");
            record->CharacterSetOut("M");
        }
        std::vector<TaggedField> all = {{"008", std::string(40, ' ')}};
        all.insert(all.end(), fields.begin(), fields.end());
        const std::string sText = Iso2709(sLeader, all);
        record->MarcRecordIn(sText);
        EXPECT_FALSE(record->MarcRecordIn().empty()) << record->IsMarcErrorText();
        return sText;
    }
    std::string Run(bool (Utf8MarcRecordClass::*test)(std::string&), bool bExpected) {
        std::string sMessages = "left over";
        EXPECT_EQ(((*record).*test)(sMessages), bExpected) << sMessages;
        return sMessages;
    }
    testsupport::TempSettingsFolder folder;
    std::unique_ptr<Utf8MarcRecordClass> record;
};

TEST_F(RecordTests, EmptySubfieldsByTheFormatsFieldList) {
    struct Case {
        std::string leader;
        const char* bib;  // the three lists as set
        const char* auth;
        const char* hold;
        const char* expected;
    };
    const std::vector<TaggedField> fields = {{"100", D("1 $aSmith, John.$d ,")},
                                             {"245", D("10$aTitle :$b :$c.")},
                                             {"650", D(" 0$aCats.")}};
    const Case cases[] = {
        {kBib, "*", "*", "*", "100 $d normalizes to nothing\r\n245 $b normalizes to nothing\r\n245 $c normalizes to nothing"},
        {kBib, "100 650", "", "", "100 $d normalizes to nothing"},
        {kBib, "650", "100", "100", ""},
        {kBib, "24", "650", "650",
         "100 $d normalizes to nothing\r\n245 $b normalizes to nothing\r\n245 $c normalizes to nothing"},
        {kAuth, "", "245", "100", "245 $b normalizes to nothing\r\n245 $c normalizes to nothing"},
        {kHold, "", "245", "100", "100 $d normalizes to nothing"},
    };
    for (const bool bUtf8 : {true, false}) {
        for (const Case& c : cases) {
            Load(fields, c.leader, bUtf8);
            record->FieldsToTestForEmptySubfieldsBib(c.bib);
            record->FieldsToTestForEmptySubfieldsAuth(c.auth);
            record->FieldsToTestForEmptySubfieldsHold(c.hold);
            EXPECT_EQ(Run(&Utf8MarcRecordClass::TestRecordForEmptySubfields, *c.expected != 0), c.expected)
                << c.bib << "/" << c.auth << "/" << c.hold << " " << bUtf8;
        }
    }
}

TEST_F(RecordTests, EmptySubfieldsSeeTheRecordAsItNowStands) {
    Load({{"245", D("10$aTitle :$b :")}, {"500", D("  $aNote.")}, {"650", D(" 0$a--")}});
    ASSERT_TRUE(record->FldFindFirst("650", ""));
    record->FldDelete();  // a deleted field is passed over
    ASSERT_TRUE(record->FldFindFirst("500", ""));
    record->SfdAdd("b", "...");  // an added subfield is seen
    ASSERT_TRUE(record->FldFindFirst("245", ""));
    ASSERT_TRUE(record->SfdFindFirst("b", ""));
    record->SfdDelete(false);  // so is a deleted one: not
    ASSERT_TRUE(record->FldFindFirst("500", ""));
    ASSERT_TRUE(record->SfdFindFirst("a", ""));
    const int16_t iFld = record->FldPointer(), iSfd = record->SfdPointer();
    EXPECT_EQ(Run(&Utf8MarcRecordClass::TestRecordForEmptySubfields, true), "500 $b normalizes to nothing");
    EXPECT_EQ(record->FldPointer(), iFld);
    EXPECT_EQ(record->SfdPointer(), iSfd);
    // A field with no live subfield gives one line with an empty code.
    ASSERT_TRUE(record->FldFindFirst("245", ""));
    record->SfdMoveFirst();
    record->SfdDelete(false);
    EXPECT_EQ(Run(&Utf8MarcRecordClass::TestRecordForEmptySubfields, true),
              "245 $ normalizes to nothing\r\n500 $b normalizes to nothing");
    // The raw-text tests read the record as loaded.
    EXPECT_EQ(Run(&Utf8MarcRecordClass::TestRecordForBlankSubfieldCodes, false), "");
}

TEST_F(RecordTests, FieldListPropertiesReadStarForEmpty) {
    Utf8MarcRecordClass r;
    EXPECT_EQ(r.FieldsToTestForEmptySubfieldsBib(), "*");
    r.FieldsToTestForEmptySubfieldsBib("100 650");
    EXPECT_EQ(r.FieldsToTestForEmptySubfieldsBib(), "100 650");
    EXPECT_EQ(RecordTestAccess::State(r).FieldsToTestForEmptySubfieldsBib, "100 650");
    r.FieldsToTestForEmptySubfieldsBib("*");
    EXPECT_EQ(r.FieldsToTestForEmptySubfieldsBib(), "*");
    EXPECT_EQ(RecordTestAccess::State(r).FieldsToTestForEmptySubfieldsBib, "");
    r.FieldsToTestForEmptySubfieldsAuth("");
    EXPECT_EQ(r.FieldsToTestForEmptySubfieldsAuth(), "*");
    r.FieldsToTestForEmptySubfieldsHold("852");
    EXPECT_EQ(r.FieldsToTestForEmptySubfieldsHold(), "852");
}

TEST_F(RecordTests, LeadingSubfield) {
    struct Case {
        std::string leader;
        const char* tag;
        const char* field;
        const char* expected;
    };
    const Case cases[] = {
        {kBib, "700", "1 $iContainer of:$aSmith, John.", ""},
        {kBib, "600", "10$iSubject:$aSmith, John.", "600 began with unexpected subfield $i"},
        {kBib, "245", "10$6880-01$aTitle.", ""},
        {kBib, "245", "10$6880-01$bsub$aTitle.", "245 began with unexpected subfield $6"},
        {kBib, "100", "1 $dSmith.", "100 began with unexpected subfield $d"},
        {kBib, "655", " 7$2lcgft$aFiction.", "655 began with unexpected subfield $2"},
        {kBib, "500", "  $bNot examined.", ""},
        {kBib, "650", "  Smith$aJones", ""},
        {kBib, "650", "  no subfields", "650 began with unexpected subfield $"},
        {kAuth, "150", " 0$aCats", ""},
        {kAuth, "180", " 0$aCats", "180 began with unexpected subfield $a"},
        {kAuth, "180", " 0$xHistory", ""},
        {kAuth, "185", " 0$w$vPeriodicals", "185 began with unexpected subfield $w"},
        {kAuth, "450", " 0$wa$aFelines", ""},
        {kAuth, "550", " 0$6880$i$8$aFelines", ""},
        {kAuth, "150", " 0$wa$aFelines", "150 began with unexpected subfield $w"},
        {kAuth, "451", " 0$8x$bOdd$aPlace", "451 began with unexpected subfield $b"},
        {kAuth, "650", " 0$bNot examined", ""},
        {kHold, "245", "10$bTitle", ""},
    };
    for (const bool bUtf8 : {true, false}) {
        for (const Case& c : cases) {
            Load({{c.tag, D(c.field)}}, c.leader, bUtf8);
            EXPECT_EQ(Run(&Utf8MarcRecordClass::TestRecordForLeadingSubfield, *c.expected != 0), c.expected)
                << c.tag << c.field << " " << bUtf8;
        }
    }
}

TEST_F(RecordTests, BlankSubfieldCodesAndLinesJoined) {
    for (const std::string& sLeader : {kBib, kAuth, kHold}) {
        Load({{"100", D("1 $aSmith.")}, {"650", D(" 0$aCats$ x$ y")}, {"651", D(" 0$ Place")}, {"500", D("  $aNote $")}},
             sLeader);
        EXPECT_EQ(Run(&Utf8MarcRecordClass::TestRecordForBlankSubfieldCodes, true),
                  "650 has 'blank' subfield\r\n651 has 'blank' subfield");
    }
    Load({{"100", D("1 $dSmith.")}, {"245", D("10$bTitle")}});
    EXPECT_EQ(Run(&Utf8MarcRecordClass::TestRecordForLeadingSubfield, true),
              "100 began with unexpected subfield $d\r\n245 began with unexpected subfield $b");
    Load({{"100", D("1 $aSmith.")}});
    EXPECT_EQ(Run(&Utf8MarcRecordClass::TestRecordForBlankSubfieldCodes, false), "");
    EXPECT_EQ(Run(&Utf8MarcRecordClass::TestRecordForLeadingSubfield, false), "");
    // No record text: no lines.
    record = std::make_unique<Utf8MarcRecordClass>();
    EXPECT_EQ(Run(&Utf8MarcRecordClass::TestRecordForBlankSubfieldCodes, false), "");
    EXPECT_EQ(Run(&Utf8MarcRecordClass::TestRecordForLeadingSubfield, false), "");
}

}  // namespace
