// The field cursor: assignment, moves with and without skipping, the edge
// positions, finds with their saved search, tests, TagCompare and the
// neighbours' tags.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "marc/record/field_test_support.h"
#include "platform/events.h"

namespace {

using field_test::D;
using field_test::ExpectLinked;

Utf8MarcRecordState& State(Utf8MarcRecordClass& r) { return RecordTestAccess::MutableState(r); }

// Fields added in order, one per item "tag text"; a leading "-" deletes the field.
void AddFields(Utf8MarcRecordClass& r, const std::vector<std::string>& fields) {
    for (const std::string& item : fields) {
        const bool bDelete = item[0] == '-';
        const std::string spec = bDelete ? item.substr(1) : item;
        r.FldAdd(spec.substr(0, 3), "  ", D(spec.size() > 4 ? spec.substr(4) : ""), false);
        if (bDelete) r.FldDelete();
    }
    r.FldPointer(-1);
}

// The current field as "slot tag", or "none".
std::string Where(const Utf8MarcRecordClass& r) {
    const int16_t p = r.FldPointer();
    if (p < 0) return "none";
    return std::to_string(p) + " " + RecordTestAccess::State(r).Fields[static_cast<size_t>(p)].Tag;
}

TEST(FieldCursor, AnEmptyRecordHasNoField) {
    Utf8MarcRecordClass r;
    for (bool bSkip : {true, false}) {
        EXPECT_FALSE(r.FldMoveFirst(bSkip));
        EXPECT_FALSE(r.FldMoveNext(bSkip));
        EXPECT_FALSE(r.FldMovePrev(bSkip));
        EXPECT_FALSE(r.FldMoveLast(bSkip));
    }
    EXPECT_FALSE(r.FldMoveTop());
    EXPECT_FALSE(RecordTestAccess::State(r).FldAtTop);
    EXPECT_FALSE(r.FldMoveBottom());
    EXPECT_FALSE(RecordTestAccess::State(r).FldAtBottom);
    EXPECT_FALSE(r.FldFindFirst("245", ""));
    EXPECT_FALSE(r.FldFindLast("245", ""));
    EXPECT_FALSE(r.FldFindNext("245", ""));
    EXPECT_FALSE(r.FldFindPrev("245", ""));
    EXPECT_FALSE(r.FldTestFirst("245"));
    EXPECT_EQ(r.FldPointer(), -1);
    EXPECT_FALSE(r.FldWasFound());
    EXPECT_EQ(r.FldNextTag(), "");
    EXPECT_EQ(r.FldPrevTag(), "");
}

TEST(FieldCursor, Assignment) {
    Utf8MarcRecordClass r;
    AddFields(r, {"-100 $aSmith", "245 $aTitle$bSub", "500"});
    Utf8MarcRecordState& s = State(r);
    struct Case {
        int16_t Value;
        int16_t Pointer;
        bool Found;
        int16_t SfdPointer;
    };
    const std::vector<Case> cases = {
        {1, 1, true, 0}, {0, 0, true, 0},  // a deleted slot becomes current
        {2, 2, true, -1}, {3, -1, false, -1}, {-1, -1, false, -1}, {-5, -1, false, -1},
    };
    for (const Case& c : cases) {
        s.SfdPointer = 1;
        s.FldAtTop = true;
        r.FldPointer(c.Value);
        EXPECT_EQ(r.FldPointer(), c.Pointer) << c.Value;
        EXPECT_EQ(r.FldWasFound(), c.Found) << c.Value;
        // Off the table the subfield cursor is left as it was.
        EXPECT_EQ(s.SfdPointer, c.Found ? c.SfdPointer : 1) << c.Value;
        EXPECT_TRUE(s.FldAtTop);  // the edge flags are not touched
    }
    // The first subfield in list order, not slot 0.
    s.Fields[1].FirstSubfield = 1;
    r.FldPointer(1);
    EXPECT_EQ(s.SfdPointer, 1);
}

// Moves in list order; with skipping each deleted field passed costs one yield.
TEST(FieldCursor, Moves) {
    struct Step {
        std::string Op;  // F, N, P, L with "+" to skip or "-" not to; T top; B bottom
        std::string Where;
        int Yields;
    };
    struct Case {
        std::string Name;
        std::vector<Step> Steps;
    };
    // List order: 0 -100, 1 -245, 2 500, 3 -600, 4 650, 5 -700.
    const std::vector<Case> cases = {
        {"first and last", {{"F+", "2 500", 2}, {"F-", "0 100", 0}, {"L+", "4 650", 1}, {"L-", "5 700", 0}}},
        {"forward with skipping", {{"F+", "2 500", 2}, {"N+", "4 650", 1}, {"N+", "none", 1}, {"N+", "none", 0}}},
        {"forward without skipping", {{"F-", "0 100", 0}, {"N-", "1 245", 0}, {"N-", "2 500", 0}}},
        {"backward", {{"L-", "5 700", 0}, {"P+", "4 650", 0}, {"P+", "2 500", 1}, {"P+", "none", 2}}},
        {"top then next", {{"T", "2 500", 2}, {"N+", "2 500", 2}, {"N+", "4 650", 1}}},
        {"top then next without skipping", {{"T", "2 500", 2}, {"N-", "0 100", 0}}},
        {"bottom then previous", {{"B", "4 650", 1}, {"P+", "4 650", 1}, {"P-", "3 600", 0}}},
        {"top, then previous leaves the top", {{"T", "2 500", 2}, {"P+", "none", 2}, {"N+", "none", 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Utf8MarcRecordClass r;
        AddFields(r, {"-100", "-245", "500", "-600", "650", "-700"});
        const Utf8MarcRecordState& s = RecordTestAccess::State(r);
        int yields = 0;
        platform::ScopedEventPump pump([&yields] { ++yields; });
        for (const Step& step : c.Steps) {
            SCOPED_TRACE(step.Op);
            yields = 0;
            bool bResult;
            const bool bSkip = step.Op.size() > 1 && step.Op[1] == '+';
            switch (step.Op[0]) {
                case 'F': bResult = r.FldMoveFirst(bSkip); break;
                case 'N': bResult = r.FldMoveNext(bSkip); break;
                case 'P': bResult = r.FldMovePrev(bSkip); break;
                case 'L': bResult = r.FldMoveLast(bSkip); break;
                case 'T': bResult = r.FldMoveTop(); break;
                default: bResult = r.FldMoveBottom(); break;
            }
            EXPECT_EQ(Where(r), step.Where);
            EXPECT_EQ(bResult, step.Where != "none");
            EXPECT_EQ(r.FldWasFound(), bResult);
            EXPECT_EQ(yields, step.Yields);
            EXPECT_EQ(s.FldAtTop, step.Op == "T" && bResult);
            EXPECT_EQ(s.FldAtBottom, step.Op == "B" && bResult);
            EXPECT_FALSE(s.SfdAtTop || s.SfdAtBottom);
        }
    }
}

// The moves follow the links, not the slots.
TEST(FieldCursor, MovesFollowListOrder) {
    Utf8MarcRecordClass r;
    r.FldAdd("245", "00", "b", false);
    r.FldAdd("100", "00", "a", true);  // slot 1 becomes the head
    EXPECT_TRUE(r.FldMoveFirst(true));
    EXPECT_EQ(Where(r), "1 100");
    EXPECT_TRUE(r.FldMoveNext(true));
    EXPECT_EQ(Where(r), "0 245");
    EXPECT_EQ(r.FldPrevTag(), "100");
    EXPECT_EQ(r.FldNextTag(), "");
    EXPECT_TRUE(r.FldMovePrev(false));
    EXPECT_EQ(r.FldPrevTag(), "");
    EXPECT_EQ(r.FldNextTag(), "245");
}

TEST(FieldCursor, NeighbourTagsNameDeletedFieldsToo) {
    Utf8MarcRecordClass r;
    AddFields(r, {"100", "-245", "650"});
    r.FldPointer(0);
    EXPECT_EQ(r.FldNextTag(), "245");
    r.FldPointer(2);
    EXPECT_EQ(r.FldPrevTag(), "245");
    EXPECT_EQ(r.FldNextTag(), "");
}

// A yield during a skipping move may start a new record under the move: the
// move then ends on no field instead of reading past the table.
TEST(FieldCursor, ATableChangedDuringAYield) {
    Utf8MarcRecordClass r;
    AddFields(r, {"100", "245", "-500", "-600", "650"});
    r.FldPointer(1);
    bool bDone = false;
    platform::ScopedEventPump pump([&] {
        if (bDone) return;
        bDone = true;
        r.NewRecord("a", "m");
    });
    EXPECT_FALSE(r.FldMoveNext(true));
    EXPECT_EQ(r.FldPointer(), -1);

    // A cursor outside the table has no neighbours.
    State(r).FldPointer = 40;
    EXPECT_EQ(r.FldNextTag(), "");
    EXPECT_EQ(r.FldText(), "");
    EXPECT_FALSE(r.FldMovePrev(false));
    State(r).FldPointer = 1;
    State(r).Fields[1].NextField = 77;  // a broken link ends the walk
    EXPECT_FALSE(r.FldMoveNext(false));
}

TEST(FieldCursor, TagCompare) {
    struct Case {
        std::string List, Tag;
        bool Match;
    };
    const std::vector<Case> cases = {
        {"245", "245", true},  {"245", "246", false}, {"6XX", "650", true},     {"6", "600", true},
        {"X00", "700", true},  {"X00", "710", false}, {"1XX 6XX 7XX", "710", true}, {"1XX  7", "700", true},
        {"", "245", false},    {"2455", "245", false}, {"24X", "24", true},      {"24", "2", false},
        {"6xx", "650", false}, {"245", "X45", true},  {" 245", "245", true},    {"100 ", "245", false},
    };
    Utf8MarcRecordClass r;
    for (const Case& c : cases) EXPECT_EQ(r.TagCompare(c.List, c.Tag, 3), c.Match) << c.List << " ~ " << c.Tag;
}

// The record of the find cases, in slot and list order.
const std::vector<std::string> kFindFields = {
    "100 $aSmith, John",    // 0
    "245 $aWar and peace",  // 1
    "650 $aWar$xHistory",   // 2
    "650 $aSmith family",   // 3
    "600 $aSmith, John",    // 4
    "650 $aWar poetry",     // 5
    "-650 $aWarsaw",        // 6
    "650 $aPeace",          // 7
    "700 $aJones",          // 8
};

// The finds and the rules by which each reuses the saved tags and text.
TEST(FieldFind, FindsAndTheirSavedSearch) {
    struct Step {
        std::string Op;  // first, next, last, prev, top, bottom, none (the cursor to no field)
        std::string Tags, Text;
        std::string Where;
        std::string SavedTags, SavedText;
        bool Refused = false;  // False although the cursor stays on a field
    };
    struct Case {
        std::string Name;
        std::vector<Step> Steps;
    };
    const std::vector<Case> cases = {
        {"first by tag pattern, upper-cased", {{"first", "6xx", "", "2 650", "6XX", ""}}},
        {"blanks reduced", {{"first", "  700   245 ", "", "1 245", " 700 245 ", ""}}},
        {"first and next with the saved text",
         {{"first", "600", "smith", "4 600", "600", "SMITH"},
          {"first", "650", "war", "2 650", "650", "WAR"},
          {"next", "", "", "5 650", "650", "WAR"},
          {"next", "", "", "none", "650", "WAR"},  // the deleted Warsaw is passed
          {"next", "", "", "none", "650", "WAR"}}},
        {"an empty text in a first find clears the saved text",
         {{"first", "650", "war", "2 650", "650", "WAR"},
          {"first", "650", "", "2 650", "650", ""},
          {"next", "", "", "3 650", "650", ""}}},
        {"last leaves the saved text and tests none",
         {{"first", "650", "war", "2 650", "650", "WAR"},
          {"last", "650", "", "7 650", "650", "WAR"},
          {"prev", "", "", "5 650", "650", "WAR"},
          {"last", "100", "", "0 100", "100", "WAR"},
          {"prev", "", "", "none", "100", "WAR"}}},
        {"last with a text replaces it", {{"last", "X00", "smith", "4 600", "X00", "SMITH"}}},
        {"a text prefix of the normal form", {{"first", "1XX 6XX", "smith, j", "0 100", "1XX 6XX", "SMITH J"}}},
        {"next after top starts with the first field",
         {{"top", "", "", "0 100", "", ""}, {"next", "100", "", "0 100", "100", ""}}},
        {"prev after bottom starts with the last field",
         {{"bottom", "", "", "8 700", "", ""}, {"prev", "700", "jones", "8 700", "700", "JONES"}}},
        {"prev after bottom, the last field not matching",
         {{"bottom", "", "", "8 700", "", ""}, {"prev", "650", "SMITH", "3 650", "650", "SMITH"}}},
        {"next without a saved tag list", {{"top", "", "", "0 100", "", ""}, {"next", "", "", "0 100", "", "", true}}},
        {"next after a failed find does not move",
         {{"first", "999", "", "none", "999", ""},
          {"next", "245", "", "none", "245", ""},
          {"prev", "245", "", "none", "245", ""},
          {"first", "245", "", "1 245", "245", ""}}},
        {"an empty first find keeps the saved tags",
         {{"first", "700", "", "8 700", "700", ""}, {"first", "", "", "8 700", "700", ""}}},
        {"an empty last find with no saved tags", {{"last", "", "", "none", "", ""}}},
        {"next and prev from a field",
         {{"first", "600", "", "4 600", "600", ""},
          {"next", "6XX", "", "5 650", "6XX", ""},
          {"prev", "", "", "4 600", "6XX", ""},
          {"prev", "", "", "3 650", "6XX", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Utf8MarcRecordClass r;
        AddFields(r, kFindFields);
        const Utf8MarcRecordState& s = RecordTestAccess::State(r);
        int yields = 0;
        platform::ScopedEventPump pump([&yields] { ++yields; });
        for (const Step& step : c.Steps) {
            SCOPED_TRACE(step.Op + " " + step.Tags + " " + step.Text);
            bool bResult;
            if (step.Op == "first") bResult = r.FldFindFirst(step.Tags, step.Text);
            else if (step.Op == "next") bResult = r.FldFindNext(step.Tags, step.Text);
            else if (step.Op == "last") bResult = r.FldFindLast(step.Tags, step.Text);
            else if (step.Op == "prev") bResult = r.FldFindPrev(step.Tags, step.Text);
            else if (step.Op == "top") bResult = r.FldMoveTop();
            else bResult = r.FldMoveBottom();
            EXPECT_EQ(Where(r), step.Where);
            EXPECT_EQ(bResult, step.Where != "none" && !step.Refused);
            EXPECT_EQ(s.FldSearchTags, step.SavedTags);
            EXPECT_EQ(s.FldSearchText, step.SavedText);
            if (step.Op != "top" && step.Op != "bottom") {
                EXPECT_FALSE(s.FldAtTop || s.FldAtBottom);
            }
        }
    }
}

TEST(FieldFind, OnlyTheFirstFindYields) {
    Utf8MarcRecordClass r;
    AddFields(r, kFindFields);
    int yields = 0;
    platform::ScopedEventPump pump([&yields] { ++yields; });
    EXPECT_TRUE(r.FldFindFirst("245", ""));
    EXPECT_EQ(yields, 1);
    yields = 0;
    EXPECT_TRUE(r.FldFindNext("700", ""));  // passes the deleted 650: one yield for it
    EXPECT_EQ(yields, 1);
    yields = 0;
    EXPECT_TRUE(r.FldFindLast("700", ""));
    EXPECT_TRUE(r.FldFindPrev("650", ""));
    EXPECT_EQ(yields, 0);
}

// The tests answer as the find would and put back the cursor, the saved tags
// and FldWasFound; the saved text goes as the find's own rule says.
TEST(FieldFind, TestsPutTheCursorBack) {
    struct Case {
        std::string Op, Tag;
        bool Result;
        std::string SavedText;  // afterwards; "WAR" before
    };
    const std::vector<Case> cases = {
        {"first", "245", true, ""},   {"first", "999", false, ""},
        {"last", "100", true, "WAR"},  // no text test
        {"last", "999", false, "WAR"},
        {"next", "650", false, "WAR"},  // the saved text is tested: Peace is no match
        {"next", "", false, "WAR"},    {"prev", "650", true, "WAR"},
        {"prev", "100", false, "WAR"}, {"prev", "245", true, "WAR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Op + " " + c.Tag);
        Utf8MarcRecordClass r;
        AddFields(r, kFindFields);
        ASSERT_TRUE(r.FldFindFirst("650", "war"));  // slot 2
        ASSERT_TRUE(r.FldFindNext("", ""));         // slot 5
        Utf8MarcRecordState& s = State(r);
        s.SfdPointer = -1;
        bool bResult;
        if (c.Op == "first") bResult = r.FldTestFirst(c.Tag);
        else if (c.Op == "next") bResult = r.FldTestNext(c.Tag);
        else if (c.Op == "prev") bResult = r.FldTestPrev(c.Tag);
        else bResult = r.FldTestLast(c.Tag);
        EXPECT_EQ(bResult, c.Result);
        EXPECT_EQ(Where(r), "5 650");
        EXPECT_TRUE(r.FldWasFound());
        EXPECT_EQ(s.FldSearchTags, "650");
        EXPECT_EQ(s.FldSearchText, c.SavedText);
        EXPECT_EQ(s.SfdPointer, 0);  // on the first subfield of the field put back
    }
    // With no current field the test leaves none and FldWasFound False.
    Utf8MarcRecordClass r;
    AddFields(r, kFindFields);
    EXPECT_TRUE(r.FldTestFirst("700"));
    EXPECT_EQ(r.FldPointer(), -1);
    EXPECT_FALSE(r.FldWasFound());
    ExpectLinked(r);
}

}  // namespace
