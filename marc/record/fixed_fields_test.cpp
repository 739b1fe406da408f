// The 008 getter and the fixed fields 006, 007 and 008 of the cursor's field.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/raised_error.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"
#include "platform/clock.h"

namespace {

using record_test::D;

const std::string k008 = "960806s1995    it       b    000 0 ita  ";

TEST(Record008, Get008ValueReadsTheRecordsOwn008) {
    Utf8MarcRecordClass record;
    record.FldAdd("245", "10", D("$aTitle"), false);
    record.FldAdd("008", "", k008, false);
    record.FldPointer(0);  // the cursor does not matter
    struct Case { int16_t position, length; std::string expected; };
    const std::vector<Case> cases = {
        {35, 3, "ita"}, {38, 3, ""}, {0, 6, "960806"}, {39, 1, " "}, {-1, 3, ""}, {5, 0, ""}, {40, 1, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(record.Get008Value(c.position, c.length), c.expected) << c.position << "," << c.length;
    // a read that fails gives that many blanks
    EXPECT_EQ(record.Get008Value(32767, 1), " ");
    RecordTestAccess::MutableState(record).Fields[1].FirstSubfield = -1;
    EXPECT_EQ(record.Get008Value(0, 4), "    ");
}

TEST(RecordFixedFields, ChangeFixedFieldFillsTheTemplateThenWrites) {
    platform::ManualClock clock(rt::DateTime::FromParts(2025, 12, 1));
    struct Case {
        std::string tag, format, text;  // the field's text before the change
        int16_t position, length;
        std::string value, expected;
    };
    const std::string fills6 = "||||||";
    const std::vector<Case> cases = {
        {"007", "B", "", 0, 1, "m", "m" + std::string(16, ' ') + fills6},
        {"007", "B", "", 0, 1, "r", "r" + std::string(8, ' ') + "||"},
        {"007", "B", "", 0, 1, "a", "a" + std::string(7, ' ')},
        {"007", "B", "", 3, 1, "x", "   x" + std::string(10, ' ')},
        {"007", "B", "", 0, 1, "M", "M" + std::string(13, ' ')},  // upper case: any other value
        {"006", "B", "", 17, 2, "ab", std::string(18, ' ')},        // the template, the value does not fit
        {"008", "B", "", 6, 1, "s", "251201s" + std::string(33, ' ')},
        {"008", "H", "", 6, 1, "0", "2512010" + std::string(25, ' ')},
        {"008", "Q", "", 6, 1, "u", "251201u" + std::string(8, ' ')},
        {"008", "W", "", 6, 1, "a", "251201a" + std::string(7, ' ')},
        {"007", "B", "abc", 1, 1, "XY", "aXYc"},  // the length follows the value
        {"007", "B", "abc", 1, 2, "X", "aX"},
        {"007", "B", "abc", 2, 2, "X", "abc"},    // does not fit: unchanged
        {"007", "B", "abc", -1, 1, "X", "abc"},
        {"007", "B", "abc", 0, 0, "X", "abc"},
        {"245", "B", "abc", 0, 1, "X", "abc"},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        RecordTestAccess::MutableState(record).MarcRecordFormat = c.format;
        record.FldAdd(c.tag, c.tag == "245" ? "10" : "", c.text, false);
        record.FldChangedClearAll();
        record.ChangeFixedField(c.position, c.length, c.value);
        const std::string text = c.tag == "245" ? record.FldText() : record.GetFixedField(0, 100);
        EXPECT_EQ(text, c.tag == "245" ? D("$aabc") : c.expected) << c.tag << " " << c.value;
        // the change goes straight into the subfield: no changed flag
        EXPECT_FALSE(record.FldChanged()) << c.tag << " " << c.value;
    }
}

TEST(RecordFixedFields, ChangeFixedFieldGivesAFieldWithoutLiveSubfieldOne) {
    Utf8MarcRecordClass record;
    // a 007 added empty has no subfield; one emptied by FldText has a deleted one
    record.FldAdd("007", "", "", false);
    record.ChangeFixedField(0, 1, "t");
    EXPECT_EQ(record.GetFixedField(0, 5), "t ");
    record.FldAdd("007", "", "cr", false);
    record.FldText("");
    EXPECT_EQ(record.GetFixedField(0, 5), "");
    record.ChangeFixedField(0, 1, "v");
    EXPECT_EQ(record.GetFixedField(0, 20), "v" + std::string(8, ' '));
    const std::string out = record.MarcRecordOut();
    EXPECT_NE(out.find("\x1Et \x1E" "v        \x1E\x1D"), std::string::npos);
}

TEST(RecordFixedFields, GetFixedFieldReadsOnlyFixedFields) {
    Utf8MarcRecordClass record;
    EXPECT_EQ(record.GetFixedField(0, 1), "");  // no field
    record.FldAdd("007", "", "cr mn", false);
    EXPECT_EQ(record.GetFixedField(0, 1), "c");
    EXPECT_EQ(record.GetFixedField(3, 9), "mn");
    EXPECT_EQ(record.GetFixedField(9, 1), "");
    EXPECT_EQ(record.GetFixedField(-1, 1), "");
    EXPECT_EQ(record.GetFixedField(0, -1), "");
    record.FldAdd("245", "10", D("$aTitle"), false);
    EXPECT_EQ(record.GetFixedField(0, 1), "");
}

}  // namespace
