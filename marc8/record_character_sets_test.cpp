#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "common/raised_error.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"

namespace {

using test_octets::O;

void ExpectInvalidValue(const std::function<void()>& call, const std::string& description) {
    try {
        call();
        ADD_FAILURE() << "no error; expected " << description;
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), ErrorNumber::InvalidPropertyValue);
        EXPECT_EQ(e.Source(), "MarcClass");
        EXPECT_EQ(e.Description(), description);
    }
}

TEST(CharacterSetIn, TakesTheFirstCharacterExactly) {
    const std::vector<std::pair<std::string, std::string>> accepted = {
        {"M", "M"}, {"MARC-8", "M"}, {"U", "U"}, {"V", "V"}, {"O", "O"}, {"L", "L"}, {"Ux", "U"}};
    for (const auto& [value, stored] : accepted) {
        Utf8MarcRecordClass record;
        record.CharacterSetIn(value);
        EXPECT_EQ(record.CharacterSetIn(), stored) << value;
    }
    for (const std::string value : {"m", " M", "", "X", "Y", "u"}) {
        Utf8MarcRecordClass record;
        record.CharacterSetIn("O");
        ExpectInvalidValue([&] { record.CharacterSetIn(value); }, "Invalid value for CharacterSetIn property");
        EXPECT_EQ(record.CharacterSetIn(), "O") << "'" << value << "'";
    }
}

TEST(CharacterSetOut, StoresTheLetterAndItsFlags) {
    struct Case {
        std::string value;
        std::string stored;
        bool utf8;
        bool ulc;
    };
    const std::vector<Case> cases = {
        {"ULC", "U", true, true},   {"ulc", "U", true, false}, {" ULC", "U", true, false},
        {"ULC ", "U", true, false}, {"U", "U", true, false},   {"y", "M", false, false},
        {"Y", "M", false, false},   {"v ", "V", false, false}, {" o", "O", false, false},
        {"L", "L", false, false},   {"Marc", "M", false, false},
    };
    for (const Case& k : cases) {
        Utf8MarcRecordClass record;
        record.CharacterSetOut(k.value);
        const Utf8MarcRecordState& s = RecordTestAccess::State(record);
        EXPECT_EQ(record.CharacterSetOut(), k.stored) << k.value;
        EXPECT_EQ(s.RecordIsUtf8, k.utf8) << k.value;
        EXPECT_EQ(s.OutputIsUlc, k.ulc) << k.value;
    }
    for (const std::string value : {"", "X", "  ", "Q"}) {
        Utf8MarcRecordClass record;
        record.CharacterSetOut("ULC");
        record.CharacterSetOut("V");
        ExpectInvalidValue([&] { record.CharacterSetOut(value); },
                           "Invalid value for CharacterSetOut property: " + value);
        EXPECT_EQ(record.CharacterSetOut(), "V");
        EXPECT_FALSE(RecordTestAccess::State(record).RecordIsUtf8);
        EXPECT_TRUE(RecordTestAccess::State(record).OutputIsUlc);
    }
}

TEST(CharacterSetOut, OnlyUDecidesTheLcPattern) {
    Utf8MarcRecordClass record;
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    record.CharacterSetOut("ULC");
    record.CharacterSetOut("M");
    EXPECT_TRUE(s.OutputIsUlc);
    EXPECT_EQ(record.CharacterSetOut(), "M");
    record.CharacterSetOut("U");
    EXPECT_FALSE(s.OutputIsUlc);
    record.CharacterSetOut("ULC");
    EXPECT_TRUE(s.OutputIsUlc);
}

// With a record present a change of set translates the record. A translation
// that is not there is refused before anything changes; the same letter, or
// "ULC" after "U", needs none.
TEST(CharacterSetOut, RefusesATranslationThatIsNotThere) {
    struct Case {
        std::string from, to, translation;
    };
    const std::vector<Case> cases = {
        {"U", "L", "UTF-8 to Windows-1252"},
        {"V", "L", "MARC-8 to Windows-1252"},
        {"M", "L", "MARC-8 to Windows-1252"},
        {"O", "L", "MARC-8 to Windows-1252"},
    };
    for (const Case& k : cases) {
        Utf8MarcRecordClass record;
        record.CharacterSetOut(k.from);
        Utf8MarcRecordState& s = RecordTestAccess::MutableState(record);
        s.MarcRecordIn = std::string(24, '0');  // a record is present
        s.CharacterSetInEffective = "M";
        s.MarcRecordTranslated = true;
        try {
            record.CharacterSetOut(k.to);
            ADD_FAILURE() << k.from << " to " << k.to << " passed";
        } catch (const RaisedError& e) {
            EXPECT_EQ(e.Source(), "MarcClass");
            EXPECT_EQ(e.Description(), "No record translation from " + k.translation + " is available");
        }
        EXPECT_EQ(record.CharacterSetOut(), k.from);
        EXPECT_EQ(s.RecordIsUtf8, k.from == "U");
        EXPECT_EQ(s.CharacterSetInEffective, "M");
        EXPECT_TRUE(s.MarcRecordTranslated);
    }

    // The translations among "M", "O" and "V", from "L" and from "U" to the MARC-8 sets are there.
    const std::vector<std::pair<std::string, std::string>> built = {
        {"M", "V"}, {"M", "O"}, {"O", "M"}, {"O", "V"}, {"V", "M"}, {"V", "O"},
        {"L", "M"}, {"L", "O"}, {"L", "V"}, {"L", "U"}, {"U", "M"}, {"U", "O"}, {"U", "V"}};
    for (const auto& [from, to] : built) {
        Utf8MarcRecordClass present;
        present.CharacterSetOut(from);
        present.NewRecord("a", "m");
        EXPECT_NO_THROW(present.CharacterSetOut(to)) << from << " to " << to;
        EXPECT_EQ(present.CharacterSetOut(), to);
    }

    Utf8MarcRecordClass record;
    record.NewRecord("a", "m");
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    record.CharacterSetOut("U");
    record.CharacterSetOut("ULC");
    EXPECT_TRUE(s.OutputIsUlc);
    record.CharacterSetOut("u");
    EXPECT_FALSE(s.OutputIsUlc);
    EXPECT_EQ(record.CharacterSetOut(), "U");
    EXPECT_THROW(record.CharacterSetOut("L"), RaisedError);
    EXPECT_EQ(record.CharacterSetOut(), "U");
}

TEST(CharacterSetOut, ChangesOnlyTheLetterWhenNoRecordIsPresent) {
    Utf8MarcRecordClass record;
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    for (const std::string set : {"M", "V", "O", "L", "U", "M"}) record.CharacterSetOut(set);
    EXPECT_EQ(record.CharacterSetOut(), "M");
    EXPECT_FALSE(record.MarcRecordTranslated());
    EXPECT_EQ(s.CharacterSetInEffective, "");
    EXPECT_EQ(record.CharacterSetIn(), "U");
    EXPECT_EQ(record.CharacterEncodingScheme(), "");
}

// A record text: a leader with the given leader/09, then the data octets.
std::string RecordText(char leader09, const std::string& data) {
    std::string leader = "00000nam  2200000 a 4500";
    leader[9] = leader09;
    return leader + data;
}

// The set of a loaded record: leader/09 "a" says UTF-8; a configured "U"
// lets the octets decide; any other configured set is taken unexamined.
TEST(CharacterSetInEffective, IsDecidedByTheLeaderTheConfigurationAndTheOctets) {
    struct Case {
        std::string configured;
        char leader09;
        std::string data;
        std::string effective;
    };
    const std::vector<Case> cases = {
        {"M", 'a', O("C3 BE"), "U"},
        {"L", 'a', "", "U"},
        {"U", ' ', "plain", "M"},
        {"U", ' ', O("C3 C2"), "M"},       // "Y" is taken as "M"
        {"U", ' ', O("BE"), "V"},          // "X" is taken as "V"
        {"U", ' ', O("90"), "V"},
        {"U", ' ', O("1B BE"), "O"},
        {"U", 'z', O("C3 1B"), "O"},
        {"M", ' ', O("90 92 AF D0"), "M"},  // taken unexamined
        {"V", ' ', "", "V"},
        {"L", ' ', O("C3 1B"), "L"},
    };
    for (const Case& k : cases) {
        Utf8MarcRecordClass record;
        record.CharacterSetIn(k.configured);
        const std::string text = RecordText(k.leader09, k.data);
        RecordTestAccess::DecideCharacterSetInEffective(record, text);
        EXPECT_EQ(record.CharacterSetIn(), k.effective) << k.configured << " " << k.leader09;
        EXPECT_EQ(record.CharacterEncodingScheme(), std::string(1, k.leader09));
        // Configuring another set changes what get reports only at the next load.
        record.CharacterSetIn(k.configured == "O" ? "M" : "O");
        EXPECT_EQ(record.CharacterSetIn(), k.effective);
    }
}

// Around the building of the fields the record is held in its input set
// without translating, then handed back to the output set it had.
TEST(CharacterSetInEffective, TheLoadHoldsTheRecordInItsInputSet) {
    Utf8MarcRecordClass record;
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    record.CharacterSetOut("ULC");
    RecordTestAccess::DecideCharacterSetInEffective(record, RecordText('a', "x"));
    const std::string returnTo = RecordTestAccess::HoldLoadInInputSet(record);
    EXPECT_EQ(returnTo, "ULC");
    EXPECT_EQ(record.CharacterSetOut(), "U");
    EXPECT_FALSE(s.OutputIsUlc);
    RecordTestAccess::MutableState(record).MarcRecordIn = RecordText('a', "x");
    RecordTestAccess::ReturnLoadToOutputSet(record, returnTo);
    EXPECT_EQ(record.CharacterSetOut(), "U");
    EXPECT_TRUE(s.OutputIsUlc);

    Utf8MarcRecordClass marc8;
    marc8.CharacterSetIn("M");
    marc8.CharacterSetOut("V");
    RecordTestAccess::DecideCharacterSetInEffective(marc8, RecordText(' ', "x"));
    EXPECT_EQ(RecordTestAccess::HoldLoadInInputSet(marc8), "V");
    EXPECT_EQ(marc8.CharacterSetOut(), "M");
    EXPECT_FALSE(RecordTestAccess::State(marc8).RecordIsUtf8);

    // After "ULC" and then an 8-bit letter the LC flag stays set, but the load
    // goes back to the letter in force, not to UTF-8.
    for (const std::string set : {"M", "V", "O"}) {
        Utf8MarcRecordClass record8;
        record8.CharacterSetIn(set);
        record8.CharacterSetOut("ULC");
        record8.CharacterSetOut(set);
        RecordTestAccess::DecideCharacterSetInEffective(record8, RecordText(' ', "x"));
        const std::string back = RecordTestAccess::HoldLoadInInputSet(record8);
        EXPECT_EQ(back, set);
        RecordTestAccess::MutableState(record8).MarcRecordIn = RecordText(' ', "x");
        RecordTestAccess::ReturnLoadToOutputSet(record8, back);
        EXPECT_EQ(record8.CharacterSetOut(), set);
        EXPECT_TRUE(RecordTestAccess::State(record8).OutputIsUlc);
    }
}

TEST(CharacterizeCharacterSet, TellsTheEightBitSetsApartByTheirOctets) {
    struct Case {
        std::string data;
        std::string verdict;
    };
    const std::vector<Case> cases = {
        {"", "M"},
        {O("C3 1B"), "O"},
        {O("C3 C2"), "Y"},
        {O("C3 D2"), "V"},
        {O("BE"), "X"},
        {O("BE 1B"), "O"},
        {O("BE 90"), "V"},
        {O("BE C0"), "Y"},  // the symbols of "M" decide first
        {O("AF 1B"), "X"},
        {O("90"), "V"},
        // the sharp s and the euro sign of MARC-8 speak for "V" only beside another octet of it
        {O("C7"), "M"},
        {O("C8 1B"), "M"},
        {O("C7 C8 C3"), "Y"},
        {O("C7 C9"), "V"},
        {O("1B 1B 1B"), "M"},
        {"plain text" + O("E2 A1 FE"), "M"},
        {"a" + O("09") + "b", "M Illegal character(s): 9"},
        {O("88 09 89 88"), "M Illegal character(s): 9 136 137"},
        {O("C3 00 FF"), "Y Illegal character(s): 0 255"},
        {O("8D 8E CE DF FC"), "M Illegal character(s): 141 142 206 223 252"},
    };
    Utf8MarcRecordClass record;
    for (const Case& k : cases)
        EXPECT_EQ(record.CharacterizeCharacterSet(RecordText(' ', k.data)), k.verdict) << ::testing::PrintToString(k.data);
    // Only octets after the leader count; a leader saying UTF-8 decides alone.
    std::string leader = RecordText(' ', "");
    leader[3] = '\x90';
    EXPECT_EQ(record.CharacterizeCharacterSet(leader), "M");
    EXPECT_EQ(record.CharacterizeCharacterSet(std::string(20, '\xC3')), "M");
    EXPECT_EQ(record.CharacterizeCharacterSet(RecordText('a', O("C3 00"))), "U");
}

TEST(CharacterizeCharacterSet, AnEmptyTextMeansTheRecordLastLoaded) {
    Utf8MarcRecordClass record;
    Utf8MarcRecordState& s = RecordTestAccess::MutableState(record);
    EXPECT_EQ(record.CharacterizeCharacterSet(""), "M");
    s.MarcRecordIn = RecordText(' ', O("90"));
    EXPECT_EQ(record.CharacterizeCharacterSet(""), "V");
    s.CharacterEncodingScheme = "a";
    EXPECT_EQ(record.CharacterizeCharacterSet(""), "U");
}

}  // namespace
