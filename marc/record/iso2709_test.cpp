// ISO 2709 input and output: the structural tests, the load, the output and
// the leader's getters and setter.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "common/raised_error.h"
#include "common/runtime.h"
#include "common/test_support.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"
#include "marc/xml/xml_test_support.h"

namespace {

using record_test::D;
using record_test::Iso2709;

const std::string kBibLeader = "00000nam  2200000 a 4500";

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

// ---------------------------------------------------------------- the load

// A MARC-8 record object (input and output "M"), as the sample files need.
struct Marc8Record : Utf8MarcRecordClass {
    Marc8Record() {
        CharacterSetIn("M");
        CharacterSetOut("M");
    }
};

TEST(RecordLoad, BuildsTheFieldTableInDirectoryOrder) {
    const std::string text = Iso2709(kBibLeader, {{"001", "ocm123"},
                                                  {"008", std::string(40, 'x')},
                                                  {"245", D("10$aTitle$bsub")},
                                                  {"100", D("1 $aName")}});
    Marc8Record record;
    record.MarcRecordIn(text);
    EXPECT_EQ(record.IsMarcErrorText(), "");
    EXPECT_EQ(record.MarcRecordIn(), text);
    EXPECT_EQ(record.Leader(), text.substr(0, 24));
    EXPECT_EQ(record.Directory(), text.substr(24, 48));
    EXPECT_EQ(record.MarcRecordFormat(), "B");
    EXPECT_FALSE(record.IsAuthority());
    EXPECT_EQ(record.Fld008Length(), 40);
    EXPECT_EQ(record.CharacterEncodingScheme(), " ");
    EXPECT_FALSE(record.MarcRecordModified());
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    EXPECT_EQ(s.RecordDataIn, text.substr(73, text.size() - 74));
    ASSERT_EQ(s.FldCount, 4);
    // the cursor is on the first field, every field unchanged, in directory order
    EXPECT_EQ(record.FldPointer(), 0);
    EXPECT_EQ(record.FldDirectory(), "001000700000");
    std::vector<std::string> tags;
    for (bool found = record.FldMoveFirst(true); found; found = record.FldMoveNext(true)) {
        tags.push_back(record.FldTag());
        EXPECT_FALSE(record.FldChanged());
    }
    EXPECT_EQ(tags, (std::vector<std::string>{"001", "008", "245", "100"}));
    record.FldPointer(2);
    EXPECT_EQ(record.FldText(), D("$aTitle$bsub"));
    EXPECT_EQ(record.FldInd(), "10");
    EXPECT_EQ(record.MarcRecordOut(), text);
}

// A load empties the tables of the record before it without freeing them:
// every entry it takes into use reads as a new one, with the counts and
// bounds of a fresh table, and keeps the memory the entry had.
TEST(RecordLoad, NextLoadReusesTheTablesAndStartsEveryEntryAfresh) {
    const std::string sLong(40, 'x');
    std::string sBig = "10";
    for (const char code : std::string("abcdefghijkl")) sBig += D("$") + code + sLong;
    Marc8Record record;
    record.MarcRecordIn(Iso2709(kBibLeader, {{"001", "ocm1"}, {"245", sBig}, {"500", D("  $aNote")}}));
    ASSERT_EQ(RecordTestAccess::State(record).FldCount, 3);
    for (bool found = record.FldMoveFirst(true); found; found = record.FldMoveNext(true)) {
        record.FldBoolean1(true);
        for (bool sub = record.SfdMoveFirst(); sub; sub = record.SfdMoveNext()) {
            record.SfdBoolean1(true);
            record.Sfdboolean2(true);
        }
    }

    const std::string sSmall = Iso2709(kBibLeader, {{"001", "ocm2"}, {"245", D("10$aTitle$bsub")}});
    record.MarcRecordIn(sSmall);
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    ASSERT_EQ(s.FldCount, 2);
    EXPECT_EQ(s.Fields.size(), 3u);
    for (int16_t i = 0; i < s.FldCount; ++i) {
        const FieldEntry& field = s.Fields[static_cast<size_t>(i)];
        EXPECT_FALSE(field.Boolean1);
        EXPECT_EQ(field.SubfieldSlots, 5);
        EXPECT_EQ(field.Subfields.size(), 6u);
        for (size_t j = 0; j < field.Subfields.size(); ++j) {
            const SubfieldEntry& subfield = field.Subfields[j];
            EXPECT_FALSE(subfield.Boolean1 || subfield.Boolean2 || subfield.Deleted) << i << " " << j;
            if (static_cast<int16_t>(j) > field.SubfieldTop) {
                EXPECT_EQ(subfield.Code + subfield.Text + subfield.Norm + subfield.NormNaco, "") << i << " " << j;
                EXPECT_EQ(subfield.NextSubfield, -1);
            }
        }
    }
    const FieldEntry& bound = s.Fields[2];
    EXPECT_EQ(bound.Tag, "");
    EXPECT_EQ(bound.SubfieldSlots, 0);
    EXPECT_EQ(bound.SubfieldTop, -1);
    EXPECT_TRUE(bound.Subfields.empty());
    EXPECT_EQ(record.MarcRecordOut(), sSmall);
    record.FldPointer(1);
    EXPECT_EQ(record.FldText(), D("$aTitle$bsub"));
    // The 245's first subfield kept the memory of the long text before it.
    EXPECT_GE(s.Fields[1].Subfields[0].Text.capacity(), sLong.size());
}

// A split that takes more slots than the last record's field used, across
// two growths of its table, finds each slot as a new one: the flags of the
// last record gone, the forms its own, the slots it did not take empty.
TEST(RecordLoad, ASplitOverTheSlotsOfALongerFieldStartsEverySlotAfresh) {
    std::string sBig = "10";
    for (const char code : std::string("abcdefghijkl")) sBig += D("$") + code + "old text " + code;
    Marc8Record record;
    record.MarcRecordIn(Iso2709(kBibLeader, {{"001", "1"}, {"245", sBig}}));
    record.FldPointer(1);
    for (bool sub = record.SfdMoveFirst(); sub; sub = record.SfdMoveNext()) {
        record.SfdBoolean1(true);
        record.Sfdboolean2(true);
        record.SfdDelete(false);
    }
    record.MarcRecordIn(Iso2709(kBibLeader, {{"001", "2"}, {"245", D("10$aA$bB$cC$fF$gG$hH$kK")}}));
    record.FldPointer(1);
    EXPECT_EQ(record.FldText(), D("$aA$bB$cC$fF$gG$hH$kK"));
    for (bool sub = record.SfdMoveFirst(); sub; sub = record.SfdMoveNext()) {
        EXPECT_FALSE(record.SfdBoolean1() || record.Sfdboolean2() || record.SfdDeleted()) << record.SfdCode();
        EXPECT_EQ(record.SfdNorm(), rt::UCase(record.SfdText()));
    }
    const FieldEntry& field = RecordTestAccess::State(record).Fields[1];
    EXPECT_EQ(field.SubfieldSlots, 10);
    for (size_t j = static_cast<size_t>(field.SubfieldTop) + 1; j < field.Subfields.size(); ++j) {
        const SubfieldEntry& slot = field.Subfields[j];
        EXPECT_EQ(slot.Code + slot.Text + slot.Norm + slot.NormNaco + slot.OrderStepCodes, "") << j;
        EXPECT_FALSE(slot.Boolean1 || slot.Boolean2 || slot.Deleted || slot.FormsPending) << j;
    }
}

// The subfield-order rule of a tag, looked up once, is looked up again when
// the rules change between two loads.
TEST(RecordLoad, SubfieldOrderRulesChangedBetweenLoadsApplyToTheNextLoad) {
    const std::string sText = Iso2709(kBibLeader, {{"245", D("10$aTitle$bsub")}});
    Marc8Record record;
    record.MarcRecordIn(sText);
    EXPECT_FALSE(record.MarcRecordModified());
    record.MarcRecordIn("");
    record.SetSfdOrder("B", "245", "ba");
    record.MarcRecordIn(sText);
    EXPECT_TRUE(record.MarcRecordModified());
    record.FldPointer(0);
    EXPECT_EQ(record.FldText(), D("$bsub$aTitle"));
}

// The same tag loaded next under another format takes that format's rule,
// in both directions and again after a load of the first format.
TEST(RecordLoad, ATagLoadedAgainUnderAnotherFormatTakesThatFormatsRule) {
    std::string sAuthorityLeader = kBibLeader;
    sAuthorityLeader[6] = 'z';
    const std::string sBib = Iso2709(kBibLeader, {{"245", D("10$aTitle$bsub")}});
    const std::string sAuthority = Iso2709(sAuthorityLeader, {{"245", D("10$aTitle$bsub")}});
    Marc8Record record;
    record.MarcRecordIn("");
    record.SetSfdOrder("B", "245", "ba");
    record.SetSfdOrder("A", "245", "ab");
    for (const std::string* sText : {&sBib, &sAuthority, &sAuthority, &sBib, &sAuthority}) {
        const bool bBib = sText == &sBib;
        record.MarcRecordIn(*sText);
        EXPECT_EQ(record.MarcRecordModified(), bBib);
        record.FldPointer(0);
        EXPECT_EQ(record.FldText(), bBib ? D("$bsub$aTitle") : D("$aTitle$bsub"));
    }
}

TEST(RecordLoad, KindAndFormatFollowTheLeader) {
    struct Case { std::string typeAndLevel; std::string format; bool authority; };
    const std::vector<Case> cases = {
        {"zn", "A", true}, {"as", "S", false}, {"am", "B", false}, {"nm", "?", false},
        {"um", "H", false}, {"cm", "M", false},
    };
    for (const Case& c : cases) {
        std::string leader = kBibLeader;
        leader.replace(6, 2, c.typeAndLevel);
        Marc8Record record;
        record.MarcRecordIn(Iso2709(leader, {{"001", "x1"}, {"245", D("10$aTitle")}}));
        EXPECT_EQ(record.MarcRecordFormat(), c.format) << c.typeAndLevel;
        EXPECT_EQ(record.IsAuthority(), c.authority) << c.typeAndLevel;
    }
}

TEST(RecordLoad, ShortLeaderRepairOnlyWhenItMakesTheTextPass) {
    // The leader lost one character before its entry map: one blank goes in
    // at 19 and the repaired text is kept.
    const std::string good = SmallRecord();
    std::string lost = good;
    lost.erase(18, 1);
    std::string repaired = lost;
    repaired.insert(19, " ");
    Marc8Record record;
    record.MarcRecordIn(lost);
    EXPECT_EQ(record.IsMarcErrorText(), "");
    EXPECT_EQ(record.MarcRecordIn(), repaired);
    EXPECT_EQ(record.Leader(), repaired.substr(0, 24));
    EXPECT_EQ(RecordTestAccess::State(record).FldCount, 2);

    // A valid record whose length holds "45" and whose entry map does not is
    // used as given.
    std::string valid = Iso2709("00000nam  2200000 a     ", {{"001", "x1"}, {"500", D("  $a") + std::string(120, 'x')}});
    valid.replace(0, 5, "00145");
    record.MarcRecordIn(valid);
    EXPECT_EQ(record.IsMarcErrorText(), "");
    EXPECT_EQ(record.MarcRecordIn(), valid);
    EXPECT_EQ(RecordTestAccess::State(record).FldCount, 2);

    // A text that fails either way keeps its own message and leader.
    std::string broken = lost;
    broken.back() = 'x';
    record.MarcRecordIn(broken);
    EXPECT_EQ(record.IsMarcErrorText(), "Record length in leader does not match actual record length");
    EXPECT_EQ(record.Leader(), broken.substr(0, 24));
}

TEST(RecordLoad, FailedAndEmptyLoadsLeaveNoRecord) {
    Marc8Record record;
    record.MarcRecordIn(Iso2709("00000cz   2200000n  4500", {{"001", "x1"}, {"100", D("1 $aName")}}));
    ASSERT_EQ(record.MarcRecordFormat(), "A");

    const std::string padded = SmallRecord() + "  ";
    record.MarcRecordIn(padded);
    EXPECT_EQ(record.IsMarcErrorText(), "Record does not end with end-of-record character");
    EXPECT_EQ(record.MarcRecordIn(), "");
    EXPECT_EQ(record.Leader(), padded.substr(0, 24));
    EXPECT_EQ(record.Directory(), "");
    EXPECT_EQ(RecordTestAccess::State(record).FldCount, 0);
    EXPECT_EQ(record.FldPointer(), -1);
    EXPECT_EQ(record.MarcRecordFormat(), "A");  // as the last successful load left it
    EXPECT_FALSE(record.IsAuthority());
    EXPECT_EQ(record.MarcRecordOut(), "");

    // An empty text, after a failed load or a good one, is refused as short.
    for (const std::string& before : {padded, SmallRecord()}) {
        record.MarcRecordIn(before);
        record.MarcRecordIn("");
        EXPECT_EQ(record.Leader(), "");
        EXPECT_EQ(record.MarcRecordIn(), "");
        EXPECT_EQ(RecordTestAccess::State(record).FldCount, 0);
        EXPECT_EQ(record.IsMarcErrorText(), "Too short to be a MARC record");
        EXPECT_EQ(record.CharacterEncodingScheme(), " ");
    }
}

// A bibliographic record text of a hand-written directory over a data part.
std::string WithDirectory(const std::string& directory, const std::string& data) {
    const std::string base = std::to_string(24 + directory.size() + 1);
    std::string text = "00000nam  22" + std::string(5 - base.size(), '0') + base + " a 4500" + directory + "\x1E" +
                       data + "\x1D";
    const std::string length = std::to_string(text.size());
    text.replace(0, 5, std::string(5 - length.size(), '0') + length);
    return text;
}

// The live fields in list order: their tags, and their texts one after another.
void Walk(Utf8MarcRecordClass& record, std::vector<std::string>& tags, std::string& texts) {
    tags.clear();
    texts.clear();
    for (bool found = record.FldMoveFirst(true); found; found = record.FldMoveNext(true)) {
        tags.push_back(record.FldTag());
        texts += record.FldText();
    }
}

TEST(RecordLoad, DamagedDirectoriesLoadEveryFieldWholeAndSayWhat) {
    // The entries are written by hand over a data part of "abc" FT "10" $a "T" FT "xyz" FT
    // (at 0, 4 and 10).
    const std::string data = std::string("abc\x1E") + "10\x1F" "aT\x1E" + "xyz\x1E";
    struct Case {
        const char* name;
        std::string directory;
        std::vector<std::string> tags;
        std::string texts;
        std::string warning;
    };
    const std::vector<Case> cases = {
        {"sound entries", "001000400000245000600004", {"001", "245"}, D("abc$aT"), ""},
        {"length 1 holding only the terminator adds nothing", "001000100003245000600004", {"245"}, D("$aT"), ""},
        // a content is the span up to its first terminator, or the whole span without one
        {"field without its terminator keeps its last character", "001000300000245000600004", {"001", "245"},
         D("abc$aT"), "Field 001 has no field terminator"},
        {"length 1 short of the terminator", "001000100000245000600004", {"001", "245"}, D("a$aT"),
         "Field 001 has no field terminator"},
        {"content cut at the data's end", "001000400000245009900004", {"001", "245"}, D("abc$aT"),
         "Field 245 reaches past the end of the data"},
        {"start past the data", "001000499999245000600004", {"245"}, D("$aT"),
         "Field 001 lies outside the data and is dropped"},
        {"length one too long", "001000500000245000700004", {"001", "245"}, D("abc$aT"),
         "Field 001 overlaps field 245"},
        // a span over the whole data part takes no octet of the others
        {"span over every field", "001001400000245000600004", {"001", "245"}, D("abc$aT"),
         "Field 001 overlaps field 245"},
        // an entry inside another field: both loaded, the first in directory order named
        {"bogus entry inside a field", "245000600004500000300005", {"245", "500"}, D("$aT$aa"),
         "Field 245 overlaps field 500"},
        {"digits with blanks and letters", "0010 04   0 245000600004", {"001", "245"}, D("abc$aT"), ""},
        {"shorter last entry", "00100040000024500060004", {"001", "245"}, D("abc$aT"), ""},
        // a tag of three printable characters is kept, one of other octets is not
        {"tag not three digits", "ABC000400000245000600004", {"245", "ABC"}, D("$aTabc"), ""},
        {"tag of control octets", "\x01\x02\x03" "000400000245000600004", {"245"}, D("$aT"),
         "Directory entry 1 has no tag of three printable characters; its field is dropped"},
    };
    for (const Case& c : cases) {
        Marc8Record record;
        record.MarcRecordIn(WithDirectory(c.directory, data));
        ASSERT_EQ(record.IsMarcErrorText(), "") << c.name;
        std::vector<std::string> tags;
        std::string texts;
        Walk(record, tags, texts);
        EXPECT_EQ(tags, c.tags) << c.name;
        EXPECT_EQ(texts, c.texts) << c.name;
        EXPECT_EQ(record.LoadWarningText(), c.warning) << c.name;
        // what was loaded is written whole
        EXPECT_NE(record.MarcRecordOut(), "") << c.name << ": " << record.MarcRecordOutErrorText();
    }
}

// "#" stands for the field terminator, "$" for the subfield delimiter.
std::string Octets(std::string s) {
    for (char& c : s) c = c == '#' ? '\x1E' : c == '$' ? '\x1F' : c;
    return s;
}

// A table of damaged records: the directory, the data part, the fields that
// load (tag, blank, indicators and text) and the warning.
struct DamagedCase {
    const char* name;
    std::string directory;
    std::string data;
    std::vector<std::string> fields;
    std::string warning;
};

// The printable tags yaz-marcdump reads from each record of a file, in order.
std::vector<std::vector<std::string>> YazTags(const std::vector<std::string>& texts) {
    testsupport::TempSettingsFolder folder;
    const std::string path = folder.File("damaged.mrc");
    std::ofstream file(path, std::ios::binary);
    for (const std::string& text : texts) file << text;
    file.close();
    const std::string dump = record_test::YazDump(path);
    // A record's lines: its leader, then a line a field or a note "(...)";
    // an empty line ends it.
    std::vector<std::vector<std::string>> records;
    bool bLeader = true;
    for (size_t at = 0, end; at < dump.size(); at = end + 1) {
        end = dump.find('\n', at);
        if (end == std::string::npos) end = dump.size();
        const std::string line = dump.substr(at, end - at);
        if (line.empty()) bLeader = true;
        else if (bLeader) records.emplace_back(), bLeader = false;
        else if (line[0] != '(' && line.size() >= 3 && std::all_of(line.begin(), line.begin() + 3, [](char c) {
                     return c >= ' ' && c <= '~';
                 }))
            records.back().push_back(line.substr(0, 3));
    }
    return records;
}

// Loads each case: its fields and warning as the table says, written whole;
// every field of a printable tag that yaz-marcdump reads is loaded too, or
// named by the warning.
void LoadDamagedCases(const std::vector<DamagedCase>& cases) {
    std::vector<std::string> texts;
    for (const DamagedCase& c : cases) texts.push_back(WithDirectory(c.directory, Octets(c.data)));
    const std::vector<std::vector<std::string>> yaz = YazTags(texts);
    ASSERT_EQ(yaz.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        const DamagedCase& c = cases[i];
        Marc8Record record;
        record.MarcRecordIn(texts[i]);
        ASSERT_EQ(record.IsMarcErrorText(), "") << c.name;
        std::vector<std::string> fields, tags;
        for (bool found = record.FldMoveFirst(true); found; found = record.FldMoveNext(true)) {
            fields.push_back(record.FldTag() + " " + record.FldInd() + record.FldText());
            tags.push_back(record.FldTag());
        }
        std::vector<std::string> expected;
        for (const std::string& field : c.fields) expected.push_back(Octets(field));
        EXPECT_EQ(fields, expected) << c.name;
        EXPECT_EQ(record.LoadWarningText(), c.warning) << c.name;
        EXPECT_NE(record.MarcRecordOut(), "") << c.name << ": " << record.MarcRecordOutErrorText();
        for (const std::string& tag : yaz[i])
            EXPECT_TRUE(std::find(tags.begin(), tags.end(), tag) != tags.end() ||
                        c.warning.find("Field " + tag + " ") != std::string::npos)
                << c.name << ": yaz reads field " << tag;
    }
}

// The data part of the tables below: 001 at 0, 245 at 4 and 500 at 14.
const std::string kThreeFields = "abc#10$aTitle#  $aNote#";
const std::vector<std::string> kThreeFieldsLoaded = {"001 abc", "245 10$aTitle", "500   $aNote"};

TEST(RecordLoad, EntriesThatStartEarlyOrLateAreReadWhereTheirFieldStands) {
    const std::vector<DamagedCase> cases = {
        {"entry one early, on the terminator before it", "001000400000245001000003500000900014", kThreeFields,
         kThreeFieldsLoaded, "Field 245 is read one octet later than its directory entry says"},
        // every entry one early: the first field keeps the stray octet
        {"one stray octet before the data", "001000400000245001000004500000900014", "x" + kThreeFields,
         {"001 xabc", "245 10$aTitle", "500   $aNote"}, "Field 001 has no field terminator"},
        {"a stray terminator before the data", "001000400000245001000004500000900014", "#" + kThreeFields,
         kThreeFieldsLoaded, "Field 001 is read one octet later than its directory entry says"},
        {"entry two early", "001000400000245001000002500000900014", kThreeFields, kThreeFieldsLoaded,
         "Field 245 is read two octets later than its directory entry says"},
        {"entry one late", "001000400000245001000005500000900014", kThreeFields, kThreeFieldsLoaded,
         "Field 245 is read one octet earlier than its directory entry says"},
        {"entry two late", "001000400000245001000006500000900014", kThreeFields, kThreeFieldsLoaded,
         "Field 245 is read two octets earlier than its directory entry says"},
        // a span that begins on a terminator is read from the octet after it
        {"entry one early and one long", "001000400000245001100003500000900014", kThreeFields, kThreeFieldsLoaded,
         "Field 245 is read one octet later than its directory entry says"},
        {"entry one early and one short", "001000400000245000900003500000900014", kThreeFields,
         {"001 abc", "245 10$aTitl", "500   $aNote"}, "Field 245 is read one octet later than its directory entry says"},
    };
    LoadDamagedCases(cases);
}

TEST(RecordLoad, AFieldThatLostItsTerminatorTakesNothingFromTheNextField) {
    const std::vector<DamagedCase> cases = {
        // the directory as it was: from the next field on the data stands one octet early
        {"first field's terminator lost", "001000400000245001000004500000900014", "abc10$aTitle#  $aNote#",
         kThreeFieldsLoaded, "Field 001 has no field terminator"},
        {"a data field's terminator lost", "001000400000245001000004500000900014", "abc#10$aTitle  $aNote#",
         kThreeFieldsLoaded, "Field 245 has no field terminator"},
        {"every later field read earlier", "001000400000245001000004500000900014650001200023",
         "abc10$aTitle#  $aNote# 0$aSubject#", {"001 abc", "245 10$aTitle", "500   $aNote", "650  0$aSubject"},
         "Field 001 has no field terminator"},
        // an empty field that lost its terminator loses nothing more
        {"empty field's terminator lost", "001000100000245001000001500000900011", "10$aTitle#  $aNote#",
         {"245 10$aTitle", "500   $aNote"}, "Field 001 has no field terminator"},
        // the directory mended after the loss: the span is read whole
        {"directory mended", "001000300000245001000003500000900013", "abc10$aTitle#  $aNote#", kThreeFieldsLoaded,
         "Field 001 has no field terminator"},
    };
    LoadDamagedCases(cases);
}

TEST(RecordLoad, WarningsNameARealFieldAndWhatHappenedToItOrTheDirectoryEntry) {
    const std::string entries = "001000400000245001000004500000900014";
    const std::vector<DamagedCase> cases = {
        // stray octets after the last entry: no field, nothing lost
        {"one stray octet", entries + "1", kThreeFields, kThreeFieldsLoaded, "Directory entry 4 has only 1 octet"},
        {"three stray terminators", entries + "\x1E\x1E\x1E", kThreeFields, kThreeFieldsLoaded,
         "Directory entry 4 has only 3 octets"},
        {"an entry of terminators", entries + std::string(12, '\x1E'), kThreeFields, kThreeFieldsLoaded,
         "Directory entry 4 has no tag of three printable characters"},
        {"an entry of blanks", entries + std::string(12, ' '), kThreeFields, kThreeFieldsLoaded,
         "Directory entry 4 has no field length"},
        // a field that loses what it holds is said to be dropped
        {"zero length", "001000400000245000000004500000900014", kThreeFields, {"001 abc", "500   $aNote"},
         "Field 245 has length 0 and is dropped"},
        {"start past the data", "001000400000245001000099500000900014", kThreeFields, {"001 abc", "500   $aNote"},
         "Field 245 lies outside the data and is dropped"},
        {"no printable tag", "001000400000\x01\x02\x03" "001000004500000900014", kThreeFields, {"001 abc", "500   $aNote"},
         "Directory entry 2 has no tag of three printable characters; its field is dropped"},
        // the other entry of an overlap is named by its number when it has no printable tag
        {"overlap with an entry of no tag", "001002300000\x01\x02\x03" "000100003", kThreeFields, {"001 abc"},
         "Field 001 overlaps directory entry 2"},
    };
    LoadDamagedCases(cases);
}

// A field dropped is named even where an earlier field was only repaired or
// kept with a warning.
TEST(RecordLoad, AFieldDroppedIsNamedAfterAnEarlierRepair) {
    const std::vector<DamagedCase> cases = {
        {"entry one early, then one past the data", "001000400000245001000003500000900099", kThreeFields,
         {"001 abc", "245 10$aTitle"}, "Field 500 lies outside the data and is dropped"},
        {"entry one early, then one of length 0", "001000400000245001000003500000000014", kThreeFields,
         {"001 abc", "245 10$aTitle"}, "Field 500 has length 0 and is dropped"},
        {"terminator lost, then an entry past the data", "001000400000245001000004500000900099",
         "abc10$aTitle#  $aNote#", {"001 abc", "245 10$aTitle"}, "Field 500 lies outside the data and is dropped"},
    };
    LoadDamagedCases(cases);
}

// A moved entry is never read where another entry's field begins.
TEST(RecordLoad, AMovedEntryNeverTakesAnotherEntrysField) {
    const std::vector<DamagedCase> cases = {
        {"entry one late among one-octet fields", "001000200000002000200003003000200004", "a#b#c#",
         {"001 a", "002 b", "003 c"}, "Field 002 is read one octet earlier than its directory entry says"},
        {"entry one early among one-octet fields", "001000200000002000200001003000200004", "a#b#c#",
         {"001 a", "002 b", "003 c"}, "Field 002 is read one octet later than its directory entry says"},
    };
    LoadDamagedCases(cases);
}

TEST(RecordLoad, ARecordWithoutAReadableFieldIsRefused) {
    const std::string data = std::string("abc\x1E") + "10\x1F" "aT\x1E" + std::string(30, 'x') + "\x1E";
    // The base address points into the leader, where a field terminator stands.
    std::string emptyDirectory = SmallRecord();
    emptyDirectory.replace(12, 5, "00010");
    emptyDirectory[9] = '\x1E';
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty directory", emptyDirectory},
        {"only terminators", WithDirectory("001000100003", data)},
        {"every entry outside the data", WithDirectory("001000400900245000600800", data)},
        {"no printable tag", WithDirectory("\x01\x01\x01" "000400000", data)},
    };
    for (const auto& [name, text] : cases) {
        // An authority record loaded with a warning: its format stays, the warning goes.
        Marc8Record record;
        record.MarcRecordIn(Iso2709("00000cz   2200000n  4500", {{"001", "x1"}, {"100", D("1 $aName")}}).replace(27, 4, "0002"));
        ASSERT_EQ(record.MarcRecordFormat(), "A");
        ASSERT_EQ(record.LoadWarningText(), "Field 001 has no field terminator");
        record.MarcRecordIn(text);
        EXPECT_EQ(record.MarcRecordFormat(), "A") << name;
        EXPECT_EQ(record.IsMarcErrorText(), "No readable field in the record") << name;
        EXPECT_EQ(record.LoadWarningText(), "") << name;
        EXPECT_EQ(record.MarcRecordIn(), "") << name;
        EXPECT_EQ(record.Directory(), "") << name;
        EXPECT_EQ(RecordTestAccess::State(record).RecordDataIn, "") << name;
        EXPECT_EQ(RecordTestAccess::State(record).FldCount, 0) << name;
        EXPECT_EQ(record.FldPointer(), -1) << name;
        EXPECT_EQ(record.Leader(), text.substr(0, 24)) << name;
        EXPECT_FALSE(record.IsAuthority()) << name;
        EXPECT_EQ(record.CharacterSetOut(), "M") << name;
        EXPECT_EQ(record.MarcRecordOut(), "") << name;
        // a sound record afterwards loads without a word
        record.MarcRecordIn(SmallRecord());
        EXPECT_EQ(record.IsMarcErrorText(), "") << name;
        EXPECT_EQ(record.LoadWarningText(), "") << name;
    }
}

TEST(RecordLoad, LocalTagsAreKeptAsControlOrDataFieldsByTheirText) {
    // A tag that is not three digits: a data field when a delimiter follows two
    // indicator characters (CAT), else a control field (FMT, the damaged "0 2").
    // They stand after the digit tags, so the record is written back as it came.
    const std::string text = Iso2709(kBibLeader, {{"001", "ocm1"},
                                                  {"245", D("10$aTitle")},
                                                  {"0 2", "x"},
                                                  {"CAT", D("  $aa1$bb2")},
                                                  {"FMT", "BK"},
                                                  {"HOL", D("1 $aShelf")}});
    Marc8Record record;
    record.MarcRecordIn(text);
    ASSERT_EQ(record.IsMarcErrorText(), "");
    EXPECT_EQ(record.LoadWarningText(), "");
    EXPECT_FALSE(record.MarcRecordModified());
    EXPECT_EQ(RecordTestAccess::State(record).FldCount, 6);
    EXPECT_EQ(record.MarcRecordOut(), text);

    struct Case { const char* tag; bool control; std::string indicators, text; };
    const std::vector<Case> cases = {
        {"FMT", true, "", "BK"}, {"CAT", false, "  ", D("$aa1$bb2")}, {"HOL", false, "1 ", D("$aShelf")}};
    for (const Case& c : cases) {
        ASSERT_TRUE(record.FldFindFirst(c.tag, "")) << c.tag;
        EXPECT_EQ(record.FldTag(), c.tag);
        EXPECT_EQ(record.FldIsControl(), c.control) << c.tag;
        EXPECT_EQ(record.FldInd(), c.indicators) << c.tag;
        EXPECT_EQ(record.FldText(), c.text) << c.tag;
        EXPECT_EQ(record.FldTextWithOnlyCertainSubfields("", ""), c.text) << c.tag;
    }
    // The field walk meets the damaged tag too, as a control field.
    record.FldPointer(2);
    EXPECT_EQ(record.FldTag(), "0 2");
    EXPECT_TRUE(record.FldIsControl());
    EXPECT_EQ(record.FldText(), "x");
}

TEST(RecordLoad, ALocalTagWithoutIndicatorsComesBackAsRead) {
    // A local tag whose text has no two indicators before a delimiter is a
    // control field holding its octets as read, delimiters included: written
    // back unchanged, in an 8-bit and a UTF-8 record, and every document of the
    // record stays well-formed (the escaper shows a delimiter as U+FFFD).
    const std::vector<std::string> locals = {D("$a9780253325525 (alk. paper)"), D("$a$bempty first subfield"),
                                             D(" $aone indicator"), D("$"), D("x$y"),
                                             D("$60 2-01$anot taken for an 880")};
    for (const char* set : {"M", "U"}) {
        std::string leader = kBibLeader;
        if (set[0] == 'U') leader[9] = 'a';
        for (const std::string& local : locals) {
            const std::string what = std::string(set) + " " + local;
            const std::string text = Iso2709(leader, {{"001", "ocm1"}, {"245", D("10$aTitle")}, {"0 2", local}});
            Utf8MarcRecordClass record;
            record.CharacterSetIn(set);
            record.CharacterSetOut(set);
            record.MarcRecordIn(text);
            ASSERT_EQ(record.IsMarcErrorText(), "") << what;
            EXPECT_EQ(record.LoadWarningText(), "") << what;
            record.FldPointer(2);
            ASSERT_EQ(record.FldTag(), "0 2") << what;
            EXPECT_TRUE(record.FldIsControl()) << what;
            EXPECT_EQ(record.FldText(), local) << what;
            EXPECT_EQ(record.MarcRecordOut(), text) << what;
            Utf8MarcRecordClass again;
            again.CharacterSetIn(set);
            again.CharacterSetOut(set);
            again.MarcRecordIn(record.MarcRecordOut());
            EXPECT_EQ(again.MarcRecordOut(), text) << what;

            for (int32_t form = 0; form <= 5; ++form) {
                const std::string document = record.XMLRecordOut(form);
                const xml_test::XmlDoc doc = xml_test::Parse(document);
                ASSERT_TRUE(doc) << what << " form " << form << "\n" << document;
                EXPECT_EQ(document.find('\x1F'), std::string::npos) << what << " form " << form;
                if (form != 0) continue;
                std::string shown = local;
                for (size_t p; (p = shown.find('\x1F')) != std::string::npos;) shown.replace(p, 1, xml_test::kFffd);
                // control fields first: 001, then the local one
                EXPECT_EQ(xml_test::MarcxmlRecords(doc.get()).at(0).fields.at(1), "0 2 " + shown) << what;
            }
            EXPECT_EQ(record.MarcRecordOut(), text) << what;
        }
    }
}

TEST(RecordLoad, LocalTagsStandAfterTheDigitTags) {
    const std::string text = Iso2709(kBibLeader, {{"FMT", "BK"}, {"001", "ocm1"}, {"245", D("10$aTitle")}});
    Marc8Record record;
    record.MarcRecordIn(text);
    std::vector<std::string> tags;
    std::string texts;
    Walk(record, tags, texts);
    EXPECT_EQ(tags, (std::vector<std::string>{"001", "245", "FMT"}));
    EXPECT_TRUE(record.MarcRecordModified());
    // Told to change nothing, the load leaves them where they stand.
    record.MakeNoChange(true);
    record.MarcRecordIn(text);
    Walk(record, tags, texts);
    EXPECT_EQ(tags, (std::vector<std::string>{"FMT", "001", "245"}));
    EXPECT_FALSE(record.MarcRecordModified());
    EXPECT_TRUE(record.FldsOutOfOrder());
    EXPECT_EQ(record.MarcRecordOut(), text);
}

TEST(RecordLoad, ASecond008IsAFieldOfItsOwn) {
    const std::string first = "850101s1985    xx            000 0 eng d";
    const std::string text = Iso2709(kBibLeader, {{"001", "ocm1"}, {"008", first}, {"008", "zzz"}, {"245", D("10$aT")}});
    Marc8Record record;
    record.MarcRecordIn(text);
    std::vector<std::string> tags;
    std::string texts;
    Walk(record, tags, texts);
    // brought to its format's length like the first; the 008 members read the first
    EXPECT_EQ(tags, (std::vector<std::string>{"001", "008", "008", "245"}));
    EXPECT_EQ(texts, "ocm1" + first + "zzz" + std::string(37, ' ') + D("$aT"));
    EXPECT_EQ(record.Fld008Length(), 40);
    EXPECT_EQ(record.Get008Value(0, 6), "850101");
    EXPECT_EQ(RecordTestAccess::State(record).Fld008Pointer, 1);
    EXPECT_EQ(record.MarcRecordOut(),
              Iso2709(kBibLeader, {{"001", "ocm1"}, {"008", first}, {"008", "zzz" + std::string(37, ' ')}, {"245", D("10$aT")}}));
    // A caller's 008 still changes the first.
    record.FldAdd("008", "", "990101", false);
    EXPECT_EQ(RecordTestAccess::State(record).FldCount, 4);
    EXPECT_EQ(record.Get008Value(0, 6), "990101");
    record.FldPointer(2);
    EXPECT_EQ(record.FldText(), "zzz" + std::string(37, ' '));
}

TEST(RecordLoad, ControlFieldDelimitersBecomeFillCharacters) {
    Marc8Record record;
    record.MarcRecordIn(Iso2709(kBibLeader, {{"007", D("ta$b")}, {"245", D("10$aT")}}));
    record.FldPointer(0);
    EXPECT_EQ(record.FldText(), "ta|b");
}

TEST(RecordLoad, Utf8RecordsAreReadAsUtf8WhateverTheConfiguredSet) {
    // leader/09 "a" in an object configured for MARC-8 input; U+02BE is read as U+02BC.
    std::string leader = kBibLeader;
    leader[9] = 'a';
    Utf8MarcRecordClass record;
    record.CharacterSetIn("M");
    record.MarcRecordIn(Iso2709(leader, {{"245", D("10$aQur\xCA\xBE" "an")}}));
    EXPECT_EQ(record.IsMarcErrorText(), "");
    EXPECT_EQ(record.CharacterSetIn(), "U");
    EXPECT_EQ(record.CharacterEncodingScheme(), "a");
    EXPECT_EQ(record.FldText(), D("$aQur\xCA\xBC" "an"));
}

TEST(RecordLoad, AFailedTranslationLeavesNoHalfLoadedRecord) {
    // An ASCII record with leader/09 blank is MARC-8 by its octets; the object
    // holds Windows-1252, and there is no way from MARC-8 into that set.
    Utf8MarcRecordClass record;
    record.CharacterSetOut("L");
    // Leader/22-23 stay as loaded, although the way into the output set
    // composes the output first.
    const std::string text = Iso2709("00000cz   2200000n  4599", {{"001", "x1"}, {"100", D("1 $aName")}});
    EXPECT_THROW(record.MarcRecordIn(text), RaisedError);
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    EXPECT_EQ(record.MarcRecordIn(), "");
    EXPECT_EQ(record.Directory(), "");
    EXPECT_EQ(s.RecordDataIn, "");
    EXPECT_EQ(s.FldCount, 0);
    EXPECT_EQ(s.FldFirst, -1);
    EXPECT_EQ(record.FldPointer(), -1);
    EXPECT_EQ(record.CharacterSetOut(), "L");
    EXPECT_FALSE(s.OutputIsUlc);
    EXPECT_FALSE(s.RecordIsUtf8);
    EXPECT_EQ(s.CharacterSetInEffective, "");
    EXPECT_EQ(record.IsMarcErrorText(), "");
    EXPECT_EQ(record.Leader(), text.substr(0, 24));
    EXPECT_TRUE(record.IsAuthority());
    EXPECT_EQ(record.MarcRecordFormat(), "A");
    EXPECT_EQ(record.MarcRecordOut(), "");
}

// ---------------------------------------------------------------- the output

TEST(RecordOutput, WritesTheDirectoryAndTheLengths) {
    Marc8Record record;
    record.FldAdd("008", "", std::string(40, '0'), false);
    record.FldAdd("245", "10", D("$aTitle"), false);
    const std::string out = record.MarcRecordOut();
    EXPECT_EQ(out.substr(0, 5), "00101");
    EXPECT_EQ(out.substr(12, 5), "00049");
    EXPECT_EQ(out.substr(24, 24), "008004100000245001000041");
    EXPECT_EQ(out.substr(48, 1), "\x1E");
    EXPECT_EQ(out.substr(90), D("10$aTitle\x1E\x1D"));
    // the leader of a record that never had one comes from the default leader
    EXPECT_EQ(out.substr(5, 7), "n    22");
    EXPECT_EQ(out.substr(17, 7), "n  4500");
    EXPECT_EQ(record.Leader(), "00000n    2200000n  4500");
    EXPECT_EQ(record.MarcRecordOutErrorText(), "");
}

TEST(RecordOutput, DeletedEmptyAndTerminatedFields) {
    Marc8Record record;
    record.FldAdd("245", "10", D("$aTitle"), false);
    record.FldDelete();
    // a record whose only field is deleted: leader, terminator, terminator
    std::string out = record.MarcRecordOut();
    EXPECT_EQ(out.size(), 26u);
    EXPECT_EQ(out.substr(0, 5), "00026");
    EXPECT_EQ(out.substr(12, 5), "00025");
    EXPECT_EQ(out.substr(24), "\x1E\x1D");

    // a text already ending with the terminator gets no second one; an
    // emptied field is left out
    record.FldAdd("500", "  ", D("$aNote\x1E"), false);
    record.FldAdd("520", "  ", D("$aGone"), false);
    record.FldText("");
    out = record.MarcRecordOut();
    EXPECT_EQ(out.substr(24, 12), "500000900000");
    EXPECT_EQ(out.substr(37), D("  $aNote\x1E\x1D"));

    // a field left out between others leaves no room in the directory
    record.FldAdd("700", "1 ", D("$aName"), false);
    out = record.MarcRecordOut();
    EXPECT_EQ(out.substr(0, 5), "00068");
    EXPECT_EQ(out.substr(12, 5), "00049");
    EXPECT_EQ(out.substr(24, 25), "500000900000700000900009\x1E");
    EXPECT_EQ(out.substr(49), D("  $aNote\x1E" "1 $aName\x1E\x1D"));
}

TEST(RecordOutput, IndicatorsAreWrittenAsTwoCharacters) {
    Marc8Record record;
    record.FldAdd("245", "10", D("$aTitle"), false);
    record.FldAdd("001", "", "x1", false);
    // an entry whose stored indicators are not two characters
    for (const std::string& stored : {std::string(), std::string("1")}) {
        RecordTestAccess::MutableState(record).Fields[0].Indicators = stored;
        const std::string out = record.MarcRecordOut();
        EXPECT_EQ(out.substr(49, 10), (stored + std::string(2 - stored.size(), ' ')) + D("$aTitle\x1E"));
        Marc8Record reread;
        reread.MarcRecordIn(out);
        reread.FldPointer(0);
        EXPECT_EQ(reread.FldText(), D("$aTitle"));
        EXPECT_EQ(RecordTestAccess::State(record).Fields[0].Indicators, stored);
    }
}

TEST(RecordOutput, RefusesARecordThatDoesNotFit) {
    struct Case { const char* name; int fields; size_t length; std::string message; };
    const std::vector<Case> cases = {
        {"long field", 1, 9995, "Field 500 is longer than 9999 characters"},
        {"field 9999", 1, 9994, ""},
        {"late start", 12, 9990, "Field 500 starts beyond position 99999"},
        {"long record", 10, 9990, "Record is longer than 99999 characters"},
    };
    for (const Case& c : cases) {
        Marc8Record record;
        for (int i = 0; i < c.fields; ++i) record.FldAdd("500", "  ", D("$a") + std::string(c.length, 'x'), false);
        const std::string out = record.MarcRecordOut();
        EXPECT_EQ(record.MarcRecordOutErrorText(), c.message) << c.name;
        EXPECT_EQ(out.empty(), !c.message.empty()) << c.name;
    }
    // a terminator inside a field, in its text or its indicators, would end it
    // early for every reader; one at the very end is the field's own
    const std::vector<std::pair<std::string, std::string>> terminators = {
        {"10", D("$aA\x1E$bB")}, {"10", D("$aA\x1D")}, {"1\x1E", D("$aA")}};
    for (const auto& [indicators, text] : terminators) {
        Marc8Record record;
        record.FldAdd("245", "10", text, false);
        RecordTestAccess::MutableState(record).Fields[0].Indicators = indicators;
        EXPECT_EQ(record.MarcRecordOut(), "");
        EXPECT_EQ(record.MarcRecordOutErrorText(), "Field 245 contains a field or record terminator");
    }
    Marc8Record record;
    record.FldAdd("500", "  ", D("$a") + std::string(9995, 'x'), false);
    EXPECT_EQ(record.MarcRecordOut(), "");
    record.FldText(D("$ashort"));
    EXPECT_NE(record.MarcRecordOut(), "");
    EXPECT_EQ(record.MarcRecordOutErrorText(), "");
}

TEST(RecordOutput, LeavesTheCursorAndRewritesLeaderTwentyTwo) {
    Marc8Record record;
    std::string leader = kBibLeader;
    leader.replace(20, 4, "4599");
    record.MarcRecordIn(Iso2709(leader, {{"100", D("1 $aName")}, {"245", D("10$aTitle$bmore")}}));
    record.FldPointer(1);
    const std::string out = record.MarcRecordOut();
    EXPECT_EQ(out.substr(20, 4), "4500");
    EXPECT_EQ(record.Leader().substr(20, 4), "4500");
    EXPECT_EQ(record.FldPointer(), 1);
    EXPECT_EQ(record.FldTag(), "245");
}

TEST(RecordOutput, Utf8OutputWritesTheAlifVariantAsAlif) {
    Utf8MarcRecordClass record;
    record.FldAdd("245", "10", D("$aQur\xCA\xBE" "an"), false);
    const std::string out = record.MarcRecordOut();
    EXPECT_NE(out.find("Qur\xCA\xBC" "an"), std::string::npos);
    EXPECT_EQ(out.find("\xCA\xBE"), std::string::npos);
}

}  // namespace
