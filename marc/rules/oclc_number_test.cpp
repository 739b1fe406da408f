// Recognising OCLC numbers and their form under the record's options.
#include <gtest/gtest.h>

#include <string>

#include "marc/record/record_test_access.h"

namespace {

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

}  // namespace
