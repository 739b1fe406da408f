// Recognising OCLC numbers and their form under the record's options.
#include <gtest/gtest.h>

#include <string>

#include "common/test_support.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/record_test_access.h"

namespace {

using record_test::D;
using record_test::Iso2709;

TEST(IsOclcNumber, RecognisesThePrefixedFormsAndNormalizesUnderTheOptions) {
    struct Case {
        const char* text;
        bool zeroes;
        bool noLetters;
        bool oclc;
        const char* normalized;
    };
    const Case cases[] = {
        {"(OCoLC)ocm00012345", false, false, true, "(OCoLC)ocm12345"},
        {"(OCoLC)ocm00012345", true, false, true, "(OCoLC)ocm00012345"},
        {"(OCoLC)ocm00012345", false, true, true, "(OCoLC)12345"},
        {"(OCoLC)ocm00012345", true, true, true, "(OCoLC)00012345"},
        {"(ocolc)12345", false, false, true, "(OCoLC)ocm12345"},
        {"ocn123456789", false, false, true, "(OCoLC)ocn123456789"},
        {"ocl7654321", false, false, true, "(OCoLC)ocm7654321"},
        {"oc12345", false, false, true, "(OCoLC)ocm12345"},
        {"OCM12345", false, false, false, "kept"},
        {"oc012345", false, false, false, "kept"},
        {"on1234567890", false, false, false, "kept"},
        {"(DLC)12345", false, false, false, "kept"},
        {"oc", false, false, false, "kept"},
        {"", false, false, false, "kept"},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        RecordTestAccess::MutableState(record).OclcNumbersHaveLeadingZeroes = c.zeroes;
        RecordTestAccess::MutableState(record).RemoveOclcAlphabeticPrefix = c.noLetters;
        std::string sNormalized = "kept";
        EXPECT_EQ(RecordTestAccess::IsOclcNumber(record, c.text, sNormalized), c.oclc) << c.text;
        EXPECT_EQ(sNormalized, c.normalized) << c.text << " " << c.zeroes << c.noLetters;
    }
}

// The setters write every option, also an unchanged one, and a new object
// starts with what the file holds.
TEST(OclcOptions, SetsAreWrittenAndReadByTheNextObject) {
    testsupport::TempSettingsFolder folder;
    {
        Utf8MarcRecordClass record;
        record.RemoveDuplicateOclcNumbers(false);
        record.RemoveOclcAlphabeticPrefix(true);
        record.OclcNumbersHaveLeadingZeroes(true);
        EXPECT_FALSE(record.RemoveDuplicateOclcNumbers());
        EXPECT_TRUE(record.RemoveOclcAlphabeticPrefix());
        EXPECT_TRUE(record.OclcNumbersHaveLeadingZeroes());
    }
    const std::string sFile = testsupport::ReadFile(folder.File("MarcRecordClass.INI"));
    EXPECT_NE(sFile.find("[Booleans]"), std::string::npos) << sFile;
    for (const char* line : {"RemoveDuplicateOclcNumbers=False", "RemoveOclcAlphabeticPrefix=True",
                             "OclcNumbersHaveLeadingZeroes=True"})
        EXPECT_NE(sFile.find(line), std::string::npos) << line << "\n" << sFile;
    {
        Utf8MarcRecordClass record;
        EXPECT_FALSE(record.RemoveDuplicateOclcNumbers());
        EXPECT_TRUE(record.RemoveOclcAlphabeticPrefix());
        EXPECT_TRUE(record.OclcNumbersHaveLeadingZeroes());
        record.RemoveDuplicateOclcNumbers(true);
        record.OclcNumbersHaveLeadingZeroes(false);
    }
    Utf8MarcRecordClass record;
    EXPECT_TRUE(record.RemoveDuplicateOclcNumbers());
    EXPECT_TRUE(record.RemoveOclcAlphabeticPrefix());
    EXPECT_FALSE(record.OclcNumbersHaveLeadingZeroes());
}

// The options set through the properties decide the form of the numbers and
// whether a second 035 with the same number survives the load, in UTF-8 and
// MARC-8 records.
TEST(OclcOptions, LoadingTwo035sWithOneNumberKeepsOneInTheAskedForm) {
    struct Case {
        bool removeDuplicates, noLetters, zeroes;
        const char* expected;  // the live 035 texts, "|" between them
    };
    const Case cases[] = {
        {true, false, false, "$a(OCoLC)ocm12345"},
        {true, false, true, "$a(OCoLC)ocm00012345"},
        {true, true, false, "$a(OCoLC)12345"},
        {true, true, true, "$a(OCoLC)00012345"},
        {false, true, true, "$a(OCoLC)ocm00012345|$aocm12345$zold"},
    };
    for (const bool bUtf8 : {true, false}) {
        for (const Case& c : cases) {
            testsupport::TempSettingsFolder folder;
            {
                Utf8MarcRecordClass setter;
                setter.RemoveDuplicateOclcNumbers(c.removeDuplicates);
                setter.RemoveOclcAlphabeticPrefix(c.noLetters);
                setter.OclcNumbersHaveLeadingZeroes(c.zeroes);
            }
            Utf8MarcRecordClass record;
            if (!bUtf8) {
                record.CharacterSetIn("M");
                record.CharacterSetOut("M");
            }
            record.MarcRecordIn(Iso2709(bUtf8 ? "00000nam a2200000 a 4500" : "00000nam  2200000 a 4500",
                                        {{"008", std::string(40, ' ')},
                                         {"035", D("  $a(OCoLC)ocm00012345")},
                                         {"035", D("  $aocm12345$zold")},
                                         {"035", D("  $a(DLC)12345")},
                                         {"245", D("00$aTitle")}}));
            ASSERT_FALSE(record.MarcRecordIn().empty()) << record.IsMarcErrorText();
            std::string sLive;
            for (bool b = record.FldFindFirst("035", ""); b; b = record.FldFindNext("035", ""))
                if (!record.FldDeleted() && record.FldText() != D("$a(DLC)12345"))
                    sLive += (sLive.empty() ? "" : "|") + record.FldText();
            EXPECT_EQ(sLive, D(c.expected)) << c.expected << " " << bUtf8;
        }
    }
}

}  // namespace
