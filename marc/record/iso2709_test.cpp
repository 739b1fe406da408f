// ISO 2709 input and output: the structural tests, the load, the output and
// the leader's getters and setter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/raised_error.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"

namespace {

using record_test::D;
using record_test::Iso2709;

const std::string kBibLeader = "00000nam a2200000 a 4500";

// A valid bibliographic record of three fields (length 90).
std::string SmallRecord() {
    return Iso2709(kBibLeader, {{"001", "ocm123"}, {"245", D("10$aTitle")}});
}

TEST(RecordIsMarc, EightTestsInOrderEachWithItsMessage) {
    const std::string good = SmallRecord();
    auto with = [&good](size_t at, const std::string& text) {
        std::string s = good;
        s.replace(at, text.size(), text);
        return s;
    };
    const size_t base = 24 + 2 * 12 + 1;
    struct Case { std::string text; std::string message; };
    const std::vector<Case> cases = {
        {good, ""},
        {good.substr(0, 49), "Too short to be a MARC record"},
        {with(2, "a"), "First 5 characters not all numeric"},
        {with(0, " 0082"), "First 5 characters not all numeric"},
        {with(0, "99999"), "Record length in leader does not match actual record length"},
        // a text longer than its leader says still passes
        {with(0, "00050"), ""},
        {with(12, "00091"), "Base address of data longer than record length"},
        {with(12, "00000"), "Base address of data unacceptable"},
        {with(12, "  0 0"), "Base address of data unacceptable"},
        // blanks are skipped anywhere in the number
        {with(12, "  049"), ""},
        {with(12, "0 049"), ""},
        {with(12, "00048"), "Directory does not end with end-of-field character"},
        {good + "x", "Record does not end with end-of-record character"},
        {with(good.size() - 2, "x"), "Last field does not end with end-of-field character"},
        // a base address inside the leader passes when a field terminator stands there
        {with(12, "00010").replace(9, 1, "\x1E"), ""},
    };
    ASSERT_EQ(good[base - 1], '\x1E');
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        EXPECT_EQ(record.IsMarc(c.text), c.message.empty()) << c.message;
        EXPECT_EQ(record.IsMarcErrorText(), c.message);
        // the test does not touch the record
        EXPECT_EQ(record.Leader(), "");
    }
}

TEST(RecordLeader, GetLeaderValueReadsWithinTheLeaderOnly) {
    Utf8MarcRecordClass record;
    EXPECT_EQ(record.GetLeaderValue(0, 5), "");  // no leader yet
    record.Leader("01234nam a2200000 a 4567");
    struct Case { int16_t position, length; std::string expected; };
    const std::vector<Case> cases = {
        {23, 1, "7"}, {23, 2, ""},  {24, 0, ""},     {0, 0, ""},         {20, 4, "4567"},
        {6, 2, "am"}, {0, 24, "01234nam a2200000 a 4567"}, {-1, 2, ""}, {0, -1, ""}, {-5, -5, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(record.GetLeaderValue(c.position, c.length), c.expected) << c.position << "," << c.length;
    try {
        record.GetLeaderValue(32767, 1);
        ADD_FAILURE() << "no overflow";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), 6);
    }
}

TEST(RecordLeader, LeaderSetRunsThePositionsThenStoresTwentyFourCharacters) {
    struct Case {
        std::string first, second;  // the leaders set one after the other
        std::string leader, format, setOut;
    };
    const std::vector<Case> cases = {
        // on an object without a leader only the value is stored
        {"", "00000nzm a2200000 a 4500", "00000nzm a2200000 a 4500", "B", "U"},
        // a refused leader/06 is stored as given; the format follows leader/07
        {"00000nam a2200000 a 4500", "00000nzs a2200000 a 4500", "00000nzs a2200000 a 4500", "S", "U"},
        {"00000nam a2200000 a 4500", "00000ncm a2200000 a 4500", "00000ncm a2200000 a 4500", "M", "U"},
        // fewer than 24 characters change nothing
        {"00000nam a2200000 a 4500", "00000ncm a2200000 a 450", "00000nam a2200000 a 4500", "B", "U"},
        // only the first 24 characters are kept
        {"00000nam a2200000 a 4500", "00000nam a2200000 a 4500XYZ", "00000nam a2200000 a 4500", "B", "U"},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        if (!c.first.empty()) record.Leader(c.first);
        record.Leader(c.second);
        EXPECT_EQ(record.Leader(), c.leader) << c.second;
        EXPECT_EQ(record.MarcRecordFormat(), c.format) << c.second;
        EXPECT_EQ(record.CharacterSetOut(), c.setOut) << c.second;
    }
    // leader/09 sets the output set; with no record present nothing is translated
    Utf8MarcRecordClass record;
    record.Leader("00000nam a2200000 a 4500");
    record.Leader("00000nam b2200000 a 4500");
    EXPECT_EQ(record.CharacterSetOut(), "V");
    EXPECT_EQ(record.Leader(), "00000nam b2200000 a 4500");  // stored as given
}

TEST(Record008, Get008ValueWithoutAn008GivesNothing) {
    Utf8MarcRecordClass record;
    EXPECT_EQ(record.Get008Value(0, 6), "");
    EXPECT_EQ(record.Get008Value(35, 3), "");
}

}  // namespace
