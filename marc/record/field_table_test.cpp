// The field table: adding and placing fields, insertions, the rewrite in place
// and by a move, text, indicators, deletion, shifts, Changed flags, the 008
// changes and the fields of a new record.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/raised_error.h"
#include "marc/record/field_test_support.h"
#include "marc/record/iso2709_test_support.h"
#include "platform/clock.h"
#include "platform/events.h"

namespace {

using field_test::D;
using field_test::Dollar;
using field_test::ExpectLinked;
using field_test::ListOrder;
using field_test::TagOrder;
using field_test::UseTestKeys;

Utf8MarcRecordState& State(Utf8MarcRecordClass& r) { return RecordTestAccess::MutableState(r); }

// A record without fields in a given format.
void Format(Utf8MarcRecordClass& r, const std::string& sFormat) { State(r).MarcRecordFormat = sFormat; }

TEST(FieldAdd, PreparesTagIndicatorsAndText) {
    struct Case {
        std::string Format, Tag, Ind, Text;
        std::string Expected;  // the list afterwards; "" when nothing is added
    };
    const std::string b37(37, ' ');
    const std::vector<Case> cases = {
        {"B", "24", "10", "Title", ""},
        {"B", "2a5", "10", "Title", ""},
        {"B", "2450", "10", "Title", ""},
        {"B", "245", "1x", "Title", "245/1 =$aTitle"},
        {"B", "245", "", "$bSub", "245/  =$bSub"},
        {"B", "245", "7", "", "245/7 ="},
        {"B", "001", "12", "$aABC", "001=ABC"},
        {"B", "001", "", "ABC", "001=ABC"},
        {"B", "245", "00", "$6880-01$aTitle", "245/00=$6880-01$aTitle"},
        {"B", "245", "00", "$6245-01$aTitle", "880/00=$6245-01$aTitle"},  // a linked copy under its partner's tag
        {"B", "008", "", "abc", "008=abc" + b37},
        {"S", "008", "", "abc", "008=abc" + b37},
        {"U", "008", "", "abc", "008=abc" + b37},
        {"H", "008", "", "abc", "008=abc" + std::string(29, ' ')},
        {"Q", "008", "", "abc", "008=abc" + std::string(12, ' ')},
        {"W", "008", "", "abc", "008=abc" + std::string(11, ' ')},
        {"B", "008", "", std::string(45, 'x'), "008=" + std::string(40, 'x')},
        {"H", "008", "", std::string(35, 'x'), "008=" + std::string(32, 'x')},
        {"Q", "008", "", std::string(20, 'x'), "008=" + std::string(20, 'x')},  // kept whole
        {"W", "008", "", std::string(20, 'x'), "008=" + std::string(20, 'x')},
        {"B", "008", "", "", "008="},  // no text given: no subfield
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass r;
        Format(r, c.Format);
        r.FldAdd(c.Tag, c.Ind, D(c.Text), false);
        SCOPED_TRACE(c.Format + " " + c.Tag + " " + c.Text);
        EXPECT_EQ(ListOrder(r), c.Expected);
        ExpectLinked(r);
        const Utf8MarcRecordState& s = RecordTestAccess::State(r);
        if (c.Expected.empty()) {
            EXPECT_EQ(s.FldCount, 0);
            EXPECT_EQ(r.FldPointer(), -1);
            continue;
        }
        EXPECT_EQ(r.FldPointer(), 0);
        EXPECT_TRUE(r.FldWasFound());
        EXPECT_TRUE(r.FldChanged());
        EXPECT_EQ(s.Fld008Pointer, c.Tag == "008" ? 0 : -1);
        EXPECT_EQ(s.SfdPointer >= 0, !c.Text.empty());  // the split leaves the subfield cursor on a subfield
    }
}

// Only the first $6 of a text decides whether a field given under its
// partner's tag becomes an 880, wherever in the text it stands.
TEST(FieldAdd, FirstLinkageAnywhereInTheText) {
    struct Case {
        std::string Text;
        std::string ExpectedTag;
    };
    const std::vector<Case> cases = {
        {"$6245-01", "880"},
        {"$aA$6245-01", "880"},
        {"$aABCDE$6245-01", "880"},      // $6 across the first eight octets
        {"$aABCDEF$6245-01", "880"},     // $6 at the start of the second eight
        {"$aABCDEFGHIJKLMN$6245-01", "880"},
        {"$a" + std::string(40, '6') + "$b6$6245-01", "880"},
        {"$aX6245$b$6245", "880"},
        {"$6880-01$6245-01", "245"},     // the first linkage names another tag
        {"$aABCDEFGHIJKLM$6880-01$6245-01", "245"},
        {"$aABCDEFGHIJK6245-01", "245"},  // a 6 that is no subfield code
        {"$aABCDEFGHIJKLMN$", "245"},     // a delimiter as the last octet
        {"$aABCDEFGHIJKLM$6", "245"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        Utf8MarcRecordClass r;
        r.FldAdd("245", "00", D(c.Text), false);
        EXPECT_EQ(r.FldTag(), c.ExpectedTag);
    }
}

TEST(FieldAdd, ASecondOrADeleted008) {
    Utf8MarcRecordClass r;
    r.FldAdd("008", "", "abc", false);
    r.FldAdd("245", "00", "Title", false);
    RecordTestAccess::MutableState(r).Fields[0].Changed = false;
    r.FldAdd("008", "", "xyz", false);  // changes the first three characters, adds nothing
    EXPECT_EQ(RecordTestAccess::State(r).FldCount, 2);
    EXPECT_EQ(ListOrder(r), "008=xyz" + std::string(37, ' ') + " 245/00=$aTitle");
    EXPECT_TRUE(RecordTestAccess::State(r).Fields[0].Changed);
    EXPECT_EQ(r.FldPointer(), 1);  // the cursor stays where it was

    r.FldPointer(0);
    r.FldDelete();
    EXPECT_EQ(RecordTestAccess::State(r).Fld008Pointer, -1);
    r.FldAdd("008", "", "new", false);  // a live 008 again
    EXPECT_EQ(ListOrder(r), "-008=xyz" + std::string(37, ' ') + " 245/00=$aTitle 008=new" + std::string(37, ' '));
    EXPECT_EQ(RecordTestAccess::State(r).Fld008Pointer, 2);
    ExpectLinked(r);
}

TEST(FieldAdd, KeepsTheOrderOfAddingUnderTheDefaultRules) {
    Utf8MarcRecordClass r;
    r.FldAdd("650", " 0", "War", false);
    r.FldAdd("100", "1 ", "Smith", false);
    r.FldAdd("245", "10", "Title", false);
    r.FldAdd("020", "", "123", true);  // forced: before the first field
    EXPECT_EQ(ListOrder(r), "020/  =$a123 650/ 0=$aWar 100/1 =$aSmith 245/10=$aTitle");
    EXPECT_EQ(RecordTestAccess::State(r).FldFirst, 3);
    EXPECT_EQ(r.FldPointer(), 3);
    EXPECT_TRUE(r.MarcRecordModified());
    EXPECT_FALSE(r.FldsOutOfOrder());
    ExpectLinked(r);
}

// Placement of fields without linkage: before the first live field with a
// greater key, after every field with an equal key, or, forced, before the
// first with an equal key; the switches decide between a move and a report.
TEST(FieldAdd, PlacesByOrderKey) {
    struct Add {
        std::string Tag, Key;
        bool Force = false;
        bool DeleteAfter = false;
    };
    struct Case {
        std::string Name;
        std::vector<Add> Adds;
        bool TestFieldOrder, MakeNoChange;
        std::string Expected;
        bool Modified, OutOfOrder;
    };
    const std::vector<Case> cases = {
        {"in order", {{"100", "1"}, {"245", "2"}, {"650", "6"}}, true, false, "100 245 650", false, false},
        {"moved", {{"100", "1"}, {"650", "6"}, {"245", "2"}}, true, false, "100 245 650", true, false},
        {"to the head", {{"245", "2"}, {"650", "6"}, {"100", "1"}}, true, false, "100 245 650", true, false},
        {"after equal keys", {{"600", "6"}, {"610", "6"}, {"100", "1"}, {"650", "6"}}, true, false,
         "100 600 610 650", true, false},
        {"forced before equal", {{"600", "6"}, {"610", "6"}, {"650", "6", true}}, true, false, "650 600 610", true,
         false},
        {"forced before a deleted equal", {{"100", "1"}, {"600", "6", false, true}, {"650", "6", true}}, true, false,
         "100 650 -600", true, false},
        {"a deleted greater key is passed", {{"100", "1"}, {"700", "7", false, true}, {"245", "2"}}, true, false,
         "100 -700 245", false, false},
        {"not tested", {{"100", "1"}, {"650", "6"}, {"245", "2"}}, false, false, "100 650 245", false, true},
        {"no change", {{"100", "1"}, {"650", "6"}, {"245", "2"}}, true, true, "100 650 245", false, true},
        {"forced, no change", {{"600", "6"}, {"650", "6", true}}, true, true, "600 650", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Utf8MarcRecordClass r;
        UseTestKeys(r);
        r.TestFieldOrder(c.TestFieldOrder);
        r.MakeNoChange(c.MakeNoChange);
        for (const Add& a : c.Adds) {
            r.FldAdd(a.Tag, "  ", "{" + a.Key + "}", a.Force);
            EXPECT_EQ(r.FldTag(), a.Tag);  // the cursor is on the new field
            if (a.DeleteAfter) r.FldDelete();
        }
        EXPECT_EQ(TagOrder(r), c.Expected);
        EXPECT_EQ(r.MarcRecordModified(), c.Modified);
        EXPECT_EQ(r.FldsOutOfOrder(), c.OutOfOrder);
        EXPECT_EQ(r.TestFieldOrder(), c.TestFieldOrder);
        EXPECT_EQ(r.MakeNoChange(), c.MakeNoChange);
        ExpectLinked(r);
    }
}

// Linked fields go by key and linkage, an 880 right after its partner; a
// paired 880 without linkage after the first live unlinked field of its key.
// Fields of an equal key and linkage keep the order they came in.
TEST(FieldAdd, PlacesLinkedAndPairedFields) {
    struct Add {
        std::string Tag, Text;
        bool DeleteAfter = false;
    };
    struct Case {
        std::string Name;
        bool Paired, TestFieldOrder, MakeNoChange;
        std::vector<Add> Adds;
        std::string Expected;
        bool Modified;
    };
    const std::vector<Case> cases = {
        {"partners and their 880s",
         true,
         true,
         false,
         {{"650", "$6880-03$aA"}, {"650", "$6880-04$aB"}, {"880", "$6650-03$aC"}, {"880", "$6650-04$aD"}},
         "650=$6880-03$aA 880=$6650-03$aC 650=$6880-04$aB 880=$6650-04$aD",
         false},
        {"an 880 given under its partner's tag",
         true,
         true,
         false,
         {{"650", "$6880-03$aA"}, {"700", "{7}$aX"}, {"650", "$6650-03$aC"}},
         "650=$6880-03$aA 880=$6650-03$aC 700=$a{7}$aX",
         false},
        {"a smaller linkage goes first, whatever the switches say",
         false,
         false,
         true,
         {{"650", "$6880-04$aB"}, {"650", "$6880-03$aA"}},
         "650=$6880-03$aA 650=$6880-04$aB",
         true},
        {"equal linkages keep the order they came in",
         false,
         true,
         true,
         {{"650", "$6880-03$aA"}, {"650", "$6880-03$aB"}, {"650", "$6880-03$aC"}},
         "650=$6880-03$aA 650=$6880-03$aB 650=$6880-03$aC",
         false},
        {"880s of one partner keep the order they came in",
         true,
         true,
         false,
         {{"245", "$6880-01$aT"}, {"700", "{700}$aX"}, {"880", "$6245-01$aA"}, {"880", "$6245-01$aB"}},
         "245=$6880-01$aT 880=$6245-01$aA 880=$6245-01$aB 700=$a{700}$aX",
         false},
        {"an 880 after the partners of an equal linkage, not after other linkages",
         true,
         true,
         false,
         {{"245", "$6880-01$aA"}, {"245", "$6880-01$aB"}, {"245", "$6880-02$aC"}, {"880", "$6245-01$aD"}},
         "245=$6880-01$aA 245=$6880-01$aB 880=$6245-01$aD 245=$6880-02$aC",
         false},
        {"before a greater key",
         false,
         true,
         true,
         {{"700", "{700}$aX"}, {"650", "$6880-03$aA"}},
         "650=$6880-03$aA 700=$a{700}$aX",
         true},
        {"paired 880 after the first live unlinked field of its key and the fields of that key after it",
         true,
         true,
         false,
         {{"650", "{650}$aA", true},
          {"650", "{650}$aB"},
          {"650", "{650}$aC"},
          {"700", "{700}$aX"},
          {"880", "{650}$aD"},
          {"880", "{650}$aE"}},
         "-650=$a{650}$aA 650=$a{650}$aB 650=$a{650}$aC 880=$a{650}$aD 880=$a{650}$aE 700=$a{700}$aX",
         false},
        {"an unpaired 880 is placed as any other field",
         false,
         true,
         false,
         {{"650", "{650}$aB"}, {"650", "{650}$aC"}, {"880", "{650}$aD"}},
         "650=$a{650}$aB 650=$a{650}$aC 880=$a{650}$aD",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Utf8MarcRecordClass r;
        UseTestKeys(r);
        State(r).FldOrderPairedBib = c.Paired;
        r.TestFieldOrder(c.TestFieldOrder);
        r.MakeNoChange(c.MakeNoChange);
        for (const Add& a : c.Adds) {
            r.FldAdd(a.Tag, "", D(a.Text), false);
            if (a.DeleteAfter) r.FldDelete();
        }
        const std::string& expected = c.Expected;
        std::string actual = ListOrder(r);
        // Indicators are blank throughout; leave them out of the comparison.
        for (std::string* text : {&actual}) {
            size_t at;
            while ((at = text->find("/  ")) != std::string::npos) text->erase(at, 3);
        }
        EXPECT_EQ(actual, expected);
        EXPECT_EQ(r.MarcRecordModified(), c.Modified);
        EXPECT_FALSE(r.FldsOutOfOrder());
        ExpectLinked(r);
    }
}

// The pairing switch of an 880 follows the record's format family.
TEST(FieldAdd, PairingSwitchOfTheFormat) {
    struct Case {
        std::string Format;
        bool Auth, Bib, Hold;
        bool Paired;
    };
    const std::vector<Case> cases = {
        {"A", true, false, false, true},  {"A", false, true, true, false}, {"B", false, true, false, true},
        {"U", false, true, false, true},  {"S", true, false, true, false}, {"H", false, false, true, true},
        {"?", false, false, true, true},  {"Q", false, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Format);
        Utf8MarcRecordClass r;
        UseTestKeys(r);
        Format(r, c.Format);
        State(r).FldOrderPairedAuth = c.Auth;
        State(r).FldOrderPairedBib = c.Bib;
        State(r).FldOrderPairedHold = c.Hold;
        r.FldAdd("650", "", "{650}A", false);
        r.FldAdd("650", "", "{650}B", false);
        // Forced: a paired 880 follows the fields of its key all the same.
        r.FldAdd("880", "", "{650}C", true);
        EXPECT_EQ(TagOrder(r), c.Paired ? "650 650 880" : "880 650 650");
    }
}

TEST(FieldAdd, The32768thFieldRaisesOverflowWithTheTableUnchanged) {
    Utf8MarcRecordClass r;
    Utf8MarcRecordState& s = State(r);
    s.Fields.resize(32768);
    s.FldCount = 32767;
    for (auto add : {+[](Utf8MarcRecordClass& x) { x.FldAdd("245", "00", "Title", false); },
                     +[](Utf8MarcRecordClass& x) { x.FldInsertAfter("245", "00", "Title"); }}) {
        try {
            add(r);
            ADD_FAILURE() << "no error";
        } catch (const RaisedError& e) {
            EXPECT_EQ(e.Number(), 6);
        }
        EXPECT_EQ(s.FldCount, 32767);
        EXPECT_EQ(s.Fields.size(), 32768u);
    }
}

// Insertions next to the current field when the keys allow it; else the entry
// is given up and the field added in order.
TEST(FieldInsert, BeforeAndAfterTheCurrentField) {
    struct Case {
        std::string Name;
        bool Before;
        int16_t Current;  // slot of the record 100 {1}, 245 {2}, 650 {6}; -1 for none
        std::string Tag, Ind, Text;
        std::string Expected;
        int16_t Count;
    };
    const std::vector<Case> cases = {
        {"before the head", true, 0, "010", "", "{0}", "010 100 245 650", 4},
        {"before the head, key too great", true, 0, "600", "", "{6}", "100 245 650 600", 4},
        {"before, between", true, 1, "130", "", "{1}", "100 130 245 650", 4},
        {"before, key too small for the predecessor", true, 1, "020", "", "{0}", "020 100 245 650", 4},
        {"after the tail", false, 2, "700", "", "{7}", "100 245 650 700", 4},
        {"after the tail, key too small", false, 2, "500", "", "{5}", "100 245 500 650", 4},
        {"after, between", false, 0, "130", "", "{1}", "100 130 245 650", 4},
        {"after, key too great for the successor", false, 0, "500", "", "{5}", "100 245 500 650", 4},
        {"without current field: relative to the last live", true, -1, "600", "", "{6}", "100 245 600 650", 4},
        {"invalid tag", true, 1, "24", "", "{2}", "100 245 650", 3},
        {"one indicator", true, 1, "245", "1", "{2}", "100 245 650", 3},
        {"invalid indicator", true, 1, "245", "1x", "{2}", "100 245 650", 3},
        {"a linked 880 is added", true, 1, "880", "", "$6650-01{6}", "100 245 650 880", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Utf8MarcRecordClass r;
        UseTestKeys(r);
        r.FldAdd("100", "1 ", "{1}", false);
        r.FldAdd("245", "10", "{2}", false);
        r.FldAdd("650", " 0", "{6}", false);
        r.FldChangedClearAll();
        r.FldPointer(c.Current);
        if (c.Before) r.FldInsertBefore(c.Tag, c.Ind, D(c.Text));
        else r.FldInsertAfter(c.Tag, c.Ind, D(c.Text));
        EXPECT_EQ(TagOrder(r), c.Expected);
        const Utf8MarcRecordState& s = RecordTestAccess::State(r);
        EXPECT_EQ(s.FldCount, c.Count);
        ExpectLinked(r);
        if (c.Count == 4) {
            EXPECT_EQ(r.FldPointer(), 3);
            EXPECT_EQ(r.FldTag(), c.Tag);
        }
        EXPECT_FALSE(r.FldsOutOfOrder());
    }
}

// Entries of an earlier, larger table and an entry given up by an insertion
// come back as new fields with nothing of what they held.
TEST(FieldAdd, ReusedEntriesStartEmpty) {
    const std::string sLeader = "00000nam a2200000 a 4500";
    Utf8MarcRecordClass r;
    r.MarcRecordIn(record_test::Iso2709(
        sLeader, {{"001", "a1"}, {"100", "1 \x1F" "aA"}, {"245", "10\x1F" "aT"}, {"650", " 0\x1F" "aS"}}));
    ASSERT_EQ(RecordTestAccess::State(r).FldCount, 4);
    for (bool found = r.FldMoveFirst(true); found; found = r.FldMoveNext(true)) {
        r.FldBoolean1(true);
        r.FldBoolean2(true);
    }
    r.FldMoveLast(true);
    r.FldDelete();
    r.MarcRecordIn(record_test::Iso2709(sLeader, {{"001", "b2345678901234567"}}));
    UseTestKeys(r);
    r.FldAdd("245", "00", "{2}", false);
    r.FldPointer(1);
    r.FldInsertBefore("600", "", "{6}");  // does not fit before the 245: given up, then added
    r.FldAdd("500", "", "{5}", false);
    EXPECT_EQ(TagOrder(r), "001 245 500 600");
    for (bool found = r.FldMoveFirst(false); found; found = r.FldMoveNext(false)) {
        SCOPED_TRACE(r.FldTag());
        EXPECT_FALSE(r.FldBoolean1());
        EXPECT_FALSE(r.FldBoolean2());
        EXPECT_FALSE(r.FldDeleted());
        EXPECT_EQ(r.FldDirectory().empty(), r.FldTag() != "001");
    }
    ExpectLinked(r);
}

TEST(FieldInsert, StoresWhatItIsGiven) {
    Utf8MarcRecordClass r;
    r.FldInsertAfter("245", "", "Title");  // an empty table: added
    EXPECT_EQ(ListOrder(r), "245/  =$aTitle");
    EXPECT_TRUE(r.FldChanged());

    r.FldInsertAfter("246", "", "Other");  // empty indicators stay empty; Changed stays False
    r.FldInsertBefore("001", "12", D("$aABC"));
    r.FldPointer(0);
    r.FldInsertAfter("008", "", "abc");  // no 008 yet: no length adjustment
    EXPECT_EQ(ListOrder(r), "245/  =$aTitle 008=abc 001=ABC 246/=$aOther");
    const Utf8MarcRecordState& s = RecordTestAccess::State(r);
    EXPECT_EQ(s.Fld008Pointer, 3);
    for (int16_t i : {1, 2, 3}) {
        r.FldPointer(i);
        EXPECT_FALSE(r.FldChanged()) << i;
    }
    r.FldInsertBefore("008", "", "xyz");  // changes the 008
    EXPECT_EQ(s.FldCount, 4);
    r.FldPointer(3);
    EXPECT_EQ(r.FldText(), "xyz");
    EXPECT_TRUE(r.FldChanged());
    ExpectLinked(r);
}

// With no live field left there is nothing to stand next to: the field is added.
TEST(FieldInsert, WhenEveryFieldIsDeleted) {
    for (bool bBefore : {true, false}) {
        Utf8MarcRecordClass r;
        r.FldAdd("245", "00", "Old", false);
        r.FldDelete();
        r.FldPointer(-1);
        if (bBefore) r.FldInsertBefore("246", "1 ", "New");
        else r.FldInsertAfter("246", "1 ", "New");
        EXPECT_EQ(ListOrder(r), "-245/00=$aOld 246/1 =$aNew");
        EXPECT_EQ(r.FldPointer(), 1);
        ExpectLinked(r);
    }
}

// A failed order test gives the entry up: a given-up 008 leaves no pointer.
TEST(FieldInsert, AGivenUpEntryLeavesNoTrace) {
    Utf8MarcRecordClass r;
    UseTestKeys(r);
    r.FldAdd("100", "1 ", "{1}", false);
    r.FldAdd("245", "10", "{2}", false);
    r.FldPointer(0);
    r.FldInsertBefore("008", "", "{5}abc");  // too great for the head: added in order
    EXPECT_EQ(TagOrder(r), "100 245 008");
    const Utf8MarcRecordState& s = RecordTestAccess::State(r);
    EXPECT_EQ(s.Fld008Pointer, 2);
    EXPECT_EQ(s.FldCount, 3);
    EXPECT_TRUE(s.Fields[3].Tag.empty());
    EXPECT_EQ(r.FldText(), "{5}abc" + std::string(34, ' '));  // FldAdd brings it to length
    ExpectLinked(r);
}

// The rewrite keeps the field in place while its key still fits between its
// neighbours; otherwise the old entry is deleted and the field added anew.
TEST(FieldRewrite, InPlaceOrByAMove) {
    struct Case {
        std::string Name;
        std::string Tag, Ind, Text;
        std::string Expected;
        int16_t Pointer;
    };
    const std::vector<Case> cases = {
        {"same key", "245", "14", "$a{2}New", "100/1 =$a{1} 245/14=$a{2}New 650/ 0=$a{6}", 1},
        {"fits between", "300", "  ", "$a{3}", "100/1 =$a{1} 300/  =$a{3} 650/ 0=$a{6}", 1},
        {"moved", "700", "1 ", "$a{7}", "100/1 =$a{1} -245/10=$a{2}Old 650/ 0=$a{6} 700/1 =$a{7}", 3},
        {"an empty tag keeps all three", "", "99", "$azzz", "100/1 =$a{1} 245/10=$a{2}Old 650/ 0=$a{6}", 1},
        {"an invalid tag changes nothing", "24x", "00", "$a{2}New", "100/1 =$a{1} 245/10=$a{2}Old 650/ 0=$a{6}", 1},
        {"an invalid tag changes nothing, also for a move", "7", "00", "$a{7}",
         "100/1 =$a{1} 245/10=$a{2}Old 650/ 0=$a{6}", 1},
        {"to a control field", "009", "12", "{2}abc", "100/1 =$a{1} 009={2}abc 650/ 0=$a{6}", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Utf8MarcRecordClass r;
        UseTestKeys(r);
        r.FldAdd("100", "1 ", "{1}", false);
        r.FldAdd("245", "10", "{2}Old", false);
        r.FldAdd("650", " 0", "{6}", false);
        r.FldChangedClearAll();
        r.FldPointer(1);
        r.FldChange(c.Tag, c.Ind, D(c.Text));
        EXPECT_EQ(ListOrder(r), c.Expected);
        EXPECT_EQ(r.FldPointer(), c.Pointer);
        const bool bChanged = c.Name.find("invalid") == std::string::npos;
        EXPECT_EQ(r.FldChanged(), bChanged);
        EXPECT_EQ(RecordTestAccess::State(r).Fields[1].Changed, bChanged);
        ExpectLinked(r);
    }
    // The tag's own let, under the default keys.
    Utf8MarcRecordClass r;
    r.FldAdd("245", "10", "Title", false);
    r.FldChangedClearAll();
    r.FldTag("2x5");
    r.FldTag("");
    EXPECT_EQ(ListOrder(r), "245/10=$aTitle");
    EXPECT_TRUE(r.FldChanged());  // the empty tag rewrites the field as it is
    r.FldTag("246");
    EXPECT_EQ(ListOrder(r), "246/10=$aTitle");
}

TEST(FieldRewrite, CarriesLeadingNumericSubfields) {
    struct Case {
        bool Preserve;
        std::string Old, Tag, New, Expected;
        int DeleteSlot = -1;
    };
    const std::vector<Case> cases = {
        {true, "$6880-01$81$aOld", "245", "$aNew", "$aNew$6880-01$81"},
        {false, "$6880-01$81$aOld", "245", "$aNew", "$aNew"},
        {true, "$6880-01$81$aOld", "245", "$aNew$8new", "$aNew$8new$6880-01"},
        {true, "$aOld$81", "245", "$aNew", "$aNew"},  // the walk stops at $a
        {true, "$6880-01$81$aOld", "", "", "$6880-01$81$aOld"},  // an empty tag: nothing carried twice
        {true, "$6880-01$81$aOld", "245", "$aNew", "$aNew$6880-01", 1},  // a deleted $8 stays deleted
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Old + " -> " + c.New);
        Utf8MarcRecordClass r;
        r.IgnoreSfdOrder(true);  // the subfields stay as given, so the carried ones show at the end
        r.PreserveLeadingNumericSubfields(c.Preserve);
        EXPECT_EQ(r.PreserveLeadingNumericSubfields(), c.Preserve);
        r.FldAdd("245", "10", D(c.Old), false);
        if (c.DeleteSlot >= 0) State(r).Fields[0].Subfields[static_cast<size_t>(c.DeleteSlot)].Deleted = true;
        State(r).SfdPointer = 2;
        r.FldChange(c.Tag, "10", D(c.New));
        EXPECT_EQ(Dollar(r.FldText()), c.Expected);
        EXPECT_EQ(RecordTestAccess::State(r).FldCount, 1);
        // The subfield cursor goes back to its slot, or to none past the end.
        const int16_t top = RecordTestAccess::State(r).Fields[0].SubfieldTop;
        EXPECT_EQ(RecordTestAccess::State(r).SfdPointer, top >= 2 ? 2 : -1);
    }
}

// Retagging the 008 in place leaves the record without 008, so that a later
// 008 is added as a field of its own and never written into another field.
TEST(FieldRewrite, RetaggingThe008) {
    Utf8MarcRecordClass r;
    r.FldAdd("008", "", "abc", false);
    r.FldTag("009");
    EXPECT_EQ(RecordTestAccess::State(r).Fld008Pointer, -1);
    r.FldAdd("008", "", "new", false);
    EXPECT_EQ(ListOrder(r), "009=abc" + std::string(37, ' ') + " 008=new" + std::string(37, ' '));
    r.FldPointer(0);
    r.FldTag("008");
    EXPECT_EQ(RecordTestAccess::State(r).Fld008Pointer, 0);
}

// Fields loaded with tags that are not three digits keep tag and kind through
// every rewrite, in place or by a move; a caller's new field with such a tag
// is refused.
TEST(FieldRewrite, KeepsTheTagAndKindOfALoadedLocalField) {
    Utf8MarcRecordClass r;
    UseTestKeys(r);
    r.MarcRecordIn(record_test::Iso2709("00000nam  2200000 a 4500",
                                        {{"001", "{1}"}, {"FMT", "{2}BK"}, {"CAT", D("  $a{3}x")}, {"245", D("10$a{4}")}}));
    ASSERT_EQ(r.IsMarcErrorText(), "");
    const std::string sLoaded = "001={1} FMT={2}BK CAT/  =$a{3}x 245/10=$a{4}";
    ASSERT_EQ(ListOrder(r), sLoaded);

    struct Case {
        std::string Name;
        int16_t Field;
        std::function<void(Utf8MarcRecordClass&)> Edit;
        std::string Expected;
    };
    const std::vector<Case> cases = {
        {"control text let, in place", 1, [](Utf8MarcRecordClass& x) { x.FldText("{2}XY"); },
         "001={1} FMT={2}XY CAT/  =$a{3}x 245/10=$a{4}"},
        {"control change, moved", 1, [](Utf8MarcRecordClass& x) { x.FldChange("FMT", "", "{5}XY"); },
         "001={1} -FMT={2}BK CAT/  =$a{3}x 245/10=$a{4} FMT={5}XY"},
        {"data text let, in place", 2, [](Utf8MarcRecordClass& x) { x.FldText(D("$a{3}y$bz")); },
         "001={1} FMT={2}BK CAT/  =$a{3}y$bz 245/10=$a{4}"},
        {"data indicator let, in place", 2, [](Utf8MarcRecordClass& x) { x.FldInd1("1"); },
         "001={1} FMT={2}BK CAT/1 =$a{3}x 245/10=$a{4}"},
        {"data tag let to itself, moved", 2, [](Utf8MarcRecordClass& x) {
             x.FldText(D("$a{5}x"));
             x.FldTag("CAT");
         },
         "001={1} FMT={2}BK -CAT/  =$a{3}x 245/10=$a{4} CAT/  =$a{5}x"},
        {"an empty tag keeps all", 1, [](Utf8MarcRecordClass& x) { x.FldChange("", "12", "other"); }, sLoaded},
        // another tag that is not three digits stays refused
        {"another local tag", 2, [](Utf8MarcRecordClass& x) { x.FldTag("HOL"); }, sLoaded},
        {"a new field", 0, [](Utf8MarcRecordClass& x) {
             x.FldAdd("CAT", "  ", "{9}", false);
             x.FldInsertAfter("FMT", "", "{9}");
             x.FldInsertBefore("HOL", "  ", "{0}");
         },
         sLoaded},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        r.MarcRecordIn(r.MarcRecordIn());
        r.FldPointer(c.Field);
        c.Edit(r);
        EXPECT_EQ(ListOrder(r), c.Expected);
        ExpectLinked(r);
        // Written as they stand and loaded again: the live fields come back.
        Utf8MarcRecordClass again;
        UseTestKeys(again);
        again.MakeNoChange(true);
        again.MarcRecordIn(r.MarcRecordOut());
        EXPECT_EQ(ListOrder(again), ListOrder(r, true));
    }
}

// A rewrite under a data tag puts "$a" in front of a text that does not begin
// with a subfield, as FldAdd does: a control field's text is kept when the
// field is retagged as a data field.
TEST(FieldRewrite, ADataTagGetsDollarAInFrontOfAPlainText) {
    struct Case {
        std::string Name;
        std::string First;  // the field: tag, indicators, text
        std::function<void(Utf8MarcRecordClass&)> Edit;
        std::string Expected;
    };
    const std::vector<Case> cases = {
        {"009 tag let to 590", "009", [](Utf8MarcRecordClass& x) { x.FldTag("590"); }, "590/  =$aabc"},
        {"009 change to 590", "009", [](Utf8MarcRecordClass& x) { x.FldChange("590", "1 ", "abc"); }, "590/1 =$aabc"},
        {"245 change with a plain text", "245", [](Utf8MarcRecordClass& x) { x.FldChange("245", "10", "Title"); },
         "245/10=$aTitle"},
        {"a text with its subfield stays", "245", [](Utf8MarcRecordClass& x) { x.FldChange("245", "10", D("$bSub")); },
         "245/10=$bSub"},
        {"to a control tag nothing is put in front", "245", [](Utf8MarcRecordClass& x) { x.FldChange("001", "", "n1"); },
         "001=n1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Utf8MarcRecordClass r;
        r.FldAdd(c.First, "00", c.First == "009" ? "abc" : D("$aOld"), false);
        c.Edit(r);
        EXPECT_EQ(ListOrder(r), c.Expected);
    }
    // Moved by its new key, the field keeps its text as well.
    Utf8MarcRecordClass r;
    UseTestKeys(r);
    r.FldAdd("009", "", "{1}abc", false);
    r.FldAdd("100", "1 ", "{2}", false);
    r.FldPointer(0);
    r.FldChange("590", "  ", "{3}abc");
    EXPECT_EQ(ListOrder(r), "-009={1}abc 100/1 =$a{2} 590/  =$a{3}abc");
}

// A text that needs more than 32,767 subfields raises error 6 before the
// rewrite or the add changes anything.
TEST(FieldRewrite, TooManySubfieldsRaiseBeforeAnythingChanges) {
    std::string sTooMany;
    for (int i = 0; i < 32768; ++i) sTooMany += "$ax";
    sTooMany = D(sTooMany);
    struct Case {
        std::string Name;
        int16_t Field;  // the current field
        std::function<void(Utf8MarcRecordClass&)> Edit;
    };
    const std::vector<Case> cases = {
        {"FldText let", 1, [&](Utf8MarcRecordClass& x) { x.FldText(sTooMany); }},
        {"FldChange in place", 1, [&](Utf8MarcRecordClass& x) { x.FldChange("245", "10", sTooMany); }},
        {"FldChange moved", 1, [&](Utf8MarcRecordClass& x) { x.FldChange("700", "10", sTooMany); }},
        {"FldTag let of a control field", 0, [&](Utf8MarcRecordClass& x) { x.FldTag("500"); }},
        {"FldAdd", 1, [&](Utf8MarcRecordClass& x) { x.FldAdd("500", "  ", sTooMany, false); }},
        {"FldAdd with $a put in front", 1,
         [&](Utf8MarcRecordClass& x) { x.FldAdd("500", "  ", "x" + sTooMany.substr(3), false); }},
        {"FldInsertAfter", 1, [&](Utf8MarcRecordClass& x) { x.FldInsertAfter("500", "  ", sTooMany); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Utf8MarcRecordClass r;
        r.FldAdd("009", "", "x" + sTooMany, false);  // a control field keeps its delimiters
        r.FldAdd("245", "10", D("$aTitle$bSub"), false);
        r.FldAdd("650", " 0", D("$aTopic"), false);
        r.FldChangedClearAll();
        r.FldPointer(c.Field);
        r.SfdMoveNext();
        const std::string sBefore = ListOrder(r);
        const int16_t iSfdPointer = r.SfdPointer();
        const int16_t iFldPointer = r.FldPointer();
        try {
            c.Edit(r);
            ADD_FAILURE() << "no error";
        } catch (const RaisedError& e) {
            EXPECT_EQ(e.Number(), 6);
        }
        EXPECT_EQ(ListOrder(r), sBefore);
        EXPECT_EQ(State(r).FldCount, 3);
        EXPECT_EQ(State(r).Fields.size(), 4u);
        EXPECT_EQ(r.FldPointer(), iFldPointer);
        EXPECT_EQ(r.SfdPointer(), iSfdPointer);
        EXPECT_FALSE(r.FldChanged());
        ExpectLinked(r);
    }
}

TEST(FieldText, GetAndLet) {
    Utf8MarcRecordClass r;
    EXPECT_EQ(r.FldText(), "");
    r.FldText("ignored");  // no current field
    EXPECT_EQ(RecordTestAccess::State(r).FldCount, 0);

    r.FldAdd("245", "10", D("$aTitle$bSub$cBy"), false);
    EXPECT_EQ(Dollar(r.FldText()), "$aTitle$bSub$cBy");
    r.FldText("Plain");  // delimiter and "a" in front
    EXPECT_EQ(Dollar(r.FldText()), "$aPlain");
    r.FldText(D("$aA$bB$cC"));
    r.FldText("");  // every subfield deleted, the field stays
    const FieldEntry& f = RecordTestAccess::State(r).Fields[0];
    EXPECT_EQ(f.SubfieldTop, 2);
    for (int i = 0; i <= 2; ++i) EXPECT_TRUE(f.Subfields[static_cast<size_t>(i)].Deleted);
    EXPECT_FALSE(f.Deleted);
    EXPECT_EQ(r.FldText(), "");

    // A control field keeps its text whole and reads empty once its subfield is deleted.
    r.FldAdd("001", "", "ocm123", false);
    r.FldText("ocm456");
    EXPECT_EQ(r.FldText(), "ocm456");
    r.FldText("");
    EXPECT_EQ(r.FldText(), "");
    EXPECT_EQ(ListOrder(r), "245/10= 001=");

    // A deleted field still has its text.
    r.FldAdd("500", "  ", "Note", false);
    r.FldDelete();
    EXPECT_EQ(Dollar(r.FldText()), "$aNote");
    EXPECT_TRUE(r.FldDeleted());
}

TEST(FieldText, WithOnlyCertainSubfields) {
    struct Case {
        std::string Include, Exclude, Expected;
    };
    const std::vector<Case> cases = {
        {"", "", "$6880-01$aTitle$bSub$cBy"},
        {"ab", "", "$aTitle$bSub"},
        {"", "6c", "$aTitle$bSub"},
        {"abc", "b", "$aTitle$cBy"},
        {"A", "", ""},  // codes are compared as they are
    };
    Utf8MarcRecordClass r;
    EXPECT_EQ(r.FldTextWithOnlyCertainSubfields("", ""), "");
    r.FldAdd("245", "10", D("$6880-01$aTitle$bSub$XUpper$cBy$hDel"), false);
    State(r).Fields[0].Subfields[5].Deleted = true;
    for (const Case& c : cases)
        EXPECT_EQ(Dollar(r.FldTextWithOnlyCertainSubfields(c.Include, c.Exclude)), c.Expected) << c.Include;
    r.FldAdd("005", "", "20240101", false);
    EXPECT_EQ(r.FldTextWithOnlyCertainSubfields("a", ""), "20240101");
}

TEST(FieldIndicators, GetAndLet) {
    struct Case {
        std::string Tag, Ind;  // the field as inserted
        std::string Which, Value;
        std::string Expected;  // indicators afterwards
    };
    const std::vector<Case> cases = {
        {"245", "10", "", "04", "04"},  {"245", "10", "1", "3", "30"}, {"245", "10", "2", "4", "14"},
        {"245", "10", "1", "", " 0"},   {"245", "10", "2", "", "1 "},  {"245", "10", "2", "45", "14"},
        {"245", "", "2", "4", " 4"},  // no indicators yet: the second stays second
        {"245", "", "1", "4", "4 "},    {"001", "", "1", "4", ""},     {"001", "", "", "12", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Tag + "/" + c.Ind + " " + c.Which + "=" + c.Value);
        Utf8MarcRecordClass r;
        r.FldAdd("100", "1 ", "x", false);
        r.FldInsertAfter(c.Tag, c.Ind, "Text");
        if (c.Which.empty()) r.FldInd(c.Value);
        else if (c.Which == "1") r.FldInd1(c.Value);
        else r.FldInd2(c.Value);
        EXPECT_EQ(r.FldInd(), c.Expected);
        EXPECT_EQ(r.FldInd1(), c.Expected.substr(0, 1));
        EXPECT_EQ(r.FldInd2(), c.Expected.size() > 1 ? c.Expected.substr(1, 1) : "");
        EXPECT_EQ(r.FldIsControl(), c.Tag == "001");
    }
    Utf8MarcRecordClass none;
    EXPECT_EQ(none.FldInd(), "");
    EXPECT_EQ(none.FldInd1(), "");
    EXPECT_FALSE(none.FldIsControl());
}

TEST(FieldFlags, ChangedBooleansAndInfo) {
    Utf8MarcRecordClass r;
    EXPECT_FALSE(r.FldChanged());
    r.FldChanged(true);
    r.FldBoolean1(true);
    EXPECT_FALSE(r.FldBoolean1());
    r.FldDelete();
    r.FldUndelete();
    EXPECT_EQ(r.CountWithStack(), 0);
    r.DisplayWithStack();

    r.FldAdd("245", "10", "Title", false);
    r.FldBoolean1(true);
    EXPECT_TRUE(r.FldBoolean1());
    EXPECT_FALSE(r.FldBoolean2());
    r.FldBoolean2(true);
    r.FldBoolean1(false);
    EXPECT_FALSE(r.FldBoolean1());
    EXPECT_TRUE(r.FldBoolean2());
    r.FldChanged(false);
    EXPECT_FALSE(r.FldChanged());
    std::string sTag, sInd, sText;
    r.FldLoadInfo(sTag, sInd, sText);
    EXPECT_EQ(sTag + "|" + sInd + "|" + Dollar(sText), "245|10|$aTitle");
    r.FldDelete();
    r.FldUndelete();  // a deleted field stays deleted
    EXPECT_TRUE(r.FldDeleted());
    sTag.clear();
    r.FldGetInfo(sTag, sInd, sText);
    EXPECT_EQ(sTag, "245");
    EXPECT_EQ(RecordTestAccess::State(r).FldCount, 1);
}

TEST(FieldShift, UpAndDown) {
    struct Case {
        std::string Name;
        std::string Keys;  // one key character per field 0..3, added in order
        bool Up;
        int16_t Current;
        std::string Expected;
    };
    const std::vector<Case> cases = {
        {"up on the second, equal keys", "1123", true, 1, "101 100 245 650"},
        {"up, different keys", "1123", true, 2, "100 101 245 650"},
        {"up on the head", "1123", true, 0, "100 101 245 650"},
        {"up on the last", "1133", true, 3, "100 101 650 245"},
        {"down on the first", "1123", false, 0, "101 100 245 650"},
        {"down on the last", "1133", false, 3, "100 101 245 650"},
    };
    const std::vector<std::string> tags = {"100", "101", "245", "650"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Utf8MarcRecordClass r;
        UseTestKeys(r);
        for (size_t i = 0; i < tags.size(); ++i) r.FldAdd(tags[i], "  ", "{" + c.Keys.substr(i, 1) + "}", false);
        r.FldPointer(c.Current);
        if (c.Up) r.FldShiftUp();
        else r.FldShiftDown();
        EXPECT_EQ(TagOrder(r), c.Expected);
        EXPECT_EQ(r.FldPointer(), c.Current);
        ExpectLinked(r);
    }
    // A deleted predecessor is swapped with as any other.
    Utf8MarcRecordClass r;
    r.FldAdd("100", "  ", "a", false);
    r.FldAdd("500", "  ", "b", false);
    r.FldDelete();
    r.FldAdd("600", "  ", "c", false);
    r.FldShiftUp();
    EXPECT_EQ(TagOrder(r), "100 600 -500");
    EXPECT_EQ(RecordTestAccess::State(r).FldLast, 1);
}

TEST(FieldChangedClearAll, ClearsLiveFieldsWithOneYieldEach) {
    Utf8MarcRecordClass r;
    r.FldAdd("100", "  ", "a", false);
    r.FldAdd("500", "  ", "b", false);
    r.FldDelete();
    r.FldAdd("600", "  ", "c", false);
    r.FldAdd("700", "  ", "d", false);
    r.FldPointer(1);
    int yields = 0;
    platform::ScopedEventPump pump([&yields] { ++yields; });
    r.FldChangedClearAll();
    EXPECT_EQ(yields, 3 + 1);  // three live fields, one deleted field passed
    const Utf8MarcRecordState& s = RecordTestAccess::State(r);
    EXPECT_FALSE(s.Fields[0].Changed);
    EXPECT_TRUE(s.Fields[1].Changed);  // deleted: left alone
    EXPECT_FALSE(s.Fields[2].Changed);
    EXPECT_FALSE(s.Fields[3].Changed);
    EXPECT_EQ(r.FldPointer(), 1);
    EXPECT_FALSE(s.FldAtTop);

    r.FldPointer(-1);
    r.FldChangedClearAll();
    EXPECT_EQ(r.FldPointer(), -1);
}

TEST(Field008, Change008Value) {
    struct Case {
        std::string Name;
        std::string Initial;  // the 008 as added ("-" for none, "=" for an entry without subfield)
        int16_t Position;
        std::string Value, Expected;
        bool Changed;
    };
    const std::string t40 = "0123456789012345678901234567890123456789";
    const std::string t32 = t40.substr(0, 32);
    const std::vector<Case> cases = {
        {"inside", t40, 6, "xyz", "012345xyz9" + t40.substr(10), true},
        {"last position", t40, 39, "x", t40.substr(0, 39) + "x", true},
        {"past position 39", t40, 39, "xy", t40, false},
        {"position 40", t40, 40, "x", t40, false},
        {"empty value", t40, 3, "", t40, false},
        {"negative position", t40, -1, "x", t40, false},
        {"right after the end", t32, 32, "xy", t32 + "xy", true},
        {"past the end", t32, 34, "xy", t32, false},
        {"no 008", "-", 0, "x", "", false},
        {"an entry without subfield", "=", 0, "abc", "abc", true},
        {"an entry without subfield, past its end", "=", 3, "abc", "", false},
        {"a deleted subfield", "del", 0, "abc", "abc", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Utf8MarcRecordClass r;
        Format(r, t32 == c.Initial ? "H" : "B");
        if (c.Initial == "=") {
            r.FldAdd("008", "", "", false);
        } else if (c.Initial == "del") {
            r.FldAdd("008", "", "old", false);
            r.FldText("");
        } else if (c.Initial != "-") {
            r.FldAdd("008", "", c.Initial, false);
        }
        r.FldAdd("245", "00", "Title", false);
        r.FldChangedClearAll();
        r.Change008Value(c.Position, c.Value);
        const Utf8MarcRecordState& s = RecordTestAccess::State(r);
        if (c.Initial == "-") {
            EXPECT_EQ(TagOrder(r), "245");
            continue;
        }
        r.FldPointer(0);
        EXPECT_EQ(r.FldText(), c.Expected);
        EXPECT_EQ(r.FldChanged(), c.Changed);
        const FieldEntry& f = s.Fields[0];
        if (f.FirstSubfield >= 0) {
            EXPECT_EQ(f.Subfields[static_cast<size_t>(f.FirstSubfield)].Code, "9");
        }
        EXPECT_EQ(TagOrder(r), "008 245");
    }
    Utf8MarcRecordClass r;
    r.FldAdd("008", "", "abc", false);
    try {
        r.Change008Value(32767, "x");
        ADD_FAILURE() << "no error";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), 6);
    }
}

// A new record holds the 005 of the clock and the dated 008 of its format.
TEST(FieldNewRecord, AddsThe005AndThe008) {
    struct Case {
        std::string Type, Level, Format, The008;
    };
    const std::string d = "240305";
    Utf8MarcRecordClass templates;
    const Utf8MarcRecordState& t = RecordTestAccess::State(templates);
    const std::vector<Case> cases = {
        {"a", "m", "B", d + t.Default008TemplateB.substr(6)},
        {"u", "m", "H", d + "0u    8   1001uu   0" + d},
        {"w", " ", "W", d + "aaaaaaaa"},
        {"z", "", "A", d + t.Default008TemplateA.substr(6)},
        {"q", "", "Q", d + "uuuuuuunk"},
        {"p", "m", "U", d + t.Default008TemplateU.substr(6) + std::string(8, ' ')},
        {"%", "m", "?", ""},
    };
    platform::ManualClock clock(rt::DateTime::FromParts(2024, 3, 5, 14, 7, 9));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Type);
        Utf8MarcRecordClass r;
        r.NewRecord(c.Type, c.Level);
        const Utf8MarcRecordState& s = RecordTestAccess::State(r);
        EXPECT_EQ(s.MarcRecordFormat, c.Format);
        EXPECT_EQ(TagOrder(r), "005 008");
        EXPECT_EQ(s.Fld008Pointer, 1);
        EXPECT_EQ(r.FldPointer(), 1);
        EXPECT_EQ(r.FldText(), c.The008);
        EXPECT_TRUE(r.FldChanged());
        r.FldPointer(0);
        EXPECT_EQ(r.FldText(), "20240305140709.0");
        EXPECT_TRUE(r.FldChanged());
        EXPECT_FALSE(r.MarcRecordModified());
        ExpectLinked(r);
    }
    EXPECT_EQ(cases[0].The008.size(), 40u);
    EXPECT_EQ(cases[1].The008.size(), 32u);
    EXPECT_EQ(cases[2].The008.size(), 14u);

    // A second NewRecord starts the table afresh.
    Utf8MarcRecordClass r;
    r.NewRecord("a", "m");
    r.FldAdd("245", "00", "Title", false);
    r.NewRecord("a", "m");
    EXPECT_EQ(TagOrder(r), "005 008");
    EXPECT_EQ(RecordTestAccess::State(r).Fields.size(), 3u);
}

}  // namespace
