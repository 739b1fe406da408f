// The subfield cursor: assignment, moves with their edges, finds and tests.
#include <gtest/gtest.h>

#include <string>

#include "marc/record/subfield_test_support.h"

namespace {

using subfield_test::AddField;

Utf8MarcRecordState& St(Utf8MarcRecordClass& record) { return RecordTestAccess::MutableState(record); }

struct Step {
    const char* op;
    const char* codes;
    const char* text;
    bool result;
    int16_t pointer;
};

bool RunStep(Utf8MarcRecordClass& record, const Step& step) {
    const std::string op = step.op;
    if (op == "first") return record.SfdMoveFirst();
    if (op == "last") return record.SfdMoveLast();
    if (op == "next") return record.SfdMoveNext();
    if (op == "prev") return record.SfdMovePrev();
    if (op == "top") return record.SfdMoveTop();
    if (op == "bottom") return record.SfdMoveBottom();
    if (op == "findfirst") return record.SfdFindFirst(step.codes, step.text);
    if (op == "findnext") return record.SfdFindNext(step.codes, step.text);
    if (op == "findlast") return record.SfdFindLast(step.codes, step.text);
    if (op == "findprev") return record.Sfdfindprev(step.codes, step.text);
    if (op == "testfirst") return record.SfdTestFirst(step.codes);
    if (op == "testnext") return record.SfdTestNext(step.codes);
    if (op == "testprev") return record.SfdTestPrev(step.codes);
    ADD_FAILURE() << "unknown step " << op;
    return false;
}

// A 100 field whose slots 0 to 3 are $a 'Smith, John', $b, a deleted $c and $a 'Jones'.
class SubfieldCursor : public ::testing::Test {
protected:
    SubfieldCursor() {
        AddField(record, "100", "1 ", "$aSmith, John$bB$cC$aJones");
        St(record).Fields[0].Subfields[2].Deleted = true;
    }
    void RunScript(const std::vector<Step>& steps) {
        for (size_t i = 0; i < steps.size(); ++i) {
            const Step& s = steps[i];
            EXPECT_EQ(RunStep(record, s), s.result) << "step " << i << " " << s.op << " " << s.codes << " " << s.text;
            EXPECT_EQ(record.SfdPointer(), s.pointer) << "step " << i << " " << s.op;
            EXPECT_EQ(record.SfdWasFound(), s.pointer >= 0) << "step " << i << " " << s.op;
        }
    }
    Utf8MarcRecordClass record;
};

TEST_F(SubfieldCursor, MovesVisitDeletedSubfieldsAndStopAtTheEnds) {
    RunScript({
        {"first", "", "", true, 0},   {"next", "", "", true, 1},    {"next", "", "", true, 2},
        {"next", "", "", true, 3},    {"next", "", "", false, -1},  {"next", "", "", false, -1},
        {"prev", "", "", false, -1},  {"first", "", "", true, 0},   {"prev", "", "", false, -1},
        {"last", "", "", true, 3},    {"top", "", "", true, 0},     {"next", "", "", true, 0},
        {"next", "", "", true, 1},    {"bottom", "", "", true, 3},  {"prev", "", "", true, 3},
        {"prev", "", "", true, 2},
    });
    record.SfdMoveTop();
    EXPECT_EQ(record.SfdCode(), "");
    record.SfdMoveNext();
    EXPECT_EQ(record.SfdCode(), "a");
}

TEST_F(SubfieldCursor, FindsPassOverDeletedSubfieldsAndFilterByTheNormalForm) {
    RunScript({
        {"findfirst", "ab", "", true, 0},
        {"findnext", "", "", true, 1},  // the saved code list serves
        {"findnext", "", "", true, 3},
        {"findnext", "", "", false, -1},
        {"findnext", "", "", false, -1},
        {"findfirst", "c", "", false, -1},  // only the deleted $c
        {"findfirst", "a", "jones", true, 3},
        {"findnext", "a", "", false, -1},
        {"findfirst", "a", "smith", true, 0},
        {"findnext", "", "", true, 3},  // an empty text filters nothing
        {"findfirst", "a", "smith, j", true, 0},
        {"findfirst", "a", "smithers", false, -1},
        {"findlast", "b", "", true, 1},
        {"findprev", "a", "", true, 0},
        {"findprev", "", "", false, -1},
        {"findlast", "a", "sm", true, 0},
        {"top", "", "", true, 0},
        {"findnext", "a", "", true, 0},  // from the top the first subfield is a candidate
        {"bottom", "", "", true, 3},
        {"findprev", "a", "", true, 3},  // from the bottom the last one is
        {"findprev", "", "JONES", false, -1},
    });
    EXPECT_EQ(St(record).SfdSearchText, "JONES");
    EXPECT_EQ(St(record).SfdSearchCodes, "a");
}

TEST_F(SubfieldCursor, FindsWithoutCodesNeedASavedListAndAFoundField) {
    record.SfdPointer(1);
    EXPECT_FALSE(record.SfdFindNext("", ""));  // no list saved yet: nothing moves
    EXPECT_EQ(record.SfdPointer(), 1);
    EXPECT_TRUE(record.SfdFindFirst("a", "smith"));

    St(record).FldWasFound = false;  // as after a failed field search
    EXPECT_FALSE(record.SfdFindLast("", "jones"));
    EXPECT_EQ(record.SfdPointer(), 0);
    EXPECT_EQ(St(record).SfdSearchText, "SMITH");  // the last find settles codes first
    EXPECT_FALSE(record.SfdFindFirst("", "jones"));
    EXPECT_EQ(record.SfdPointer(), 0);
    EXPECT_EQ(St(record).SfdSearchText, "JONES");
}

TEST_F(SubfieldCursor, TestsPutTheCursorFoundStateAndCodesBack) {
    record.SfdFindFirst("a", "smith");
    RunScript({
        {"testnext", "b", "", true, 0},
        {"testnext", "c", "", false, 0},
        {"testfirst", "a", "", true, 0},
        {"testprev", "a", "", false, 0},
    });
    EXPECT_EQ(St(record).SfdSearchCodes, "a");
    EXPECT_EQ(St(record).SfdSearchText, "");  // the first test normalized an empty text
    record.SfdMoveBottom();
    record.SfdTestPrev("a");
    EXPECT_FALSE(St(record).SfdAtTop);
    EXPECT_FALSE(St(record).SfdAtBottom);

    // With no code list at all the test answers the found state the cursor had.
    Utf8MarcRecordClass fresh;
    AddField(fresh, "245", "00", "$aTitle");
    EXPECT_TRUE(fresh.SfdTestFirst(""));
    fresh.SfdMoveNext();
    EXPECT_FALSE(fresh.SfdTestFirst(""));
}

TEST_F(SubfieldCursor, AssignmentChecksTheRangeButNotTheDeletedFlag) {
    struct Case {
        int16_t value;
        int16_t pointer;
    };
    for (const Case& c : {Case{2, 2}, Case{3, 3}, Case{4, -1}, Case{5, -1}, Case{-1, -1}, Case{0, 0}}) {
        record.SfdPointer(c.value);
        EXPECT_EQ(record.SfdPointer(), c.pointer) << c.value;
        EXPECT_EQ(record.SfdWasFound(), c.pointer >= 0) << c.value;
    }
    St(record).FldPointer = -1;
    record.SfdPointer(0);
    EXPECT_EQ(record.SfdPointer(), -1);
    EXPECT_FALSE(record.SfdMoveFirst());
    EXPECT_FALSE(record.SfdFindFirst("a", ""));
}

TEST(SubfieldCursorOnAFieldWithoutSubfields, FirstIsTrueAndTheTopLeadsNowhere) {
    Utf8MarcRecordClass record;
    AddField(record, "245", "00", "");
    EXPECT_TRUE(record.SfdMoveFirst());
    EXPECT_EQ(record.SfdPointer(), -1);
    EXPECT_FALSE(record.SfdWasFound());
    EXPECT_TRUE(record.SfdMoveTop());
    EXPECT_TRUE(RecordTestAccess::State(record).SfdAtTop);
    EXPECT_FALSE(record.SfdMoveNext());
    EXPECT_FALSE(record.SfdMoveLast());
    EXPECT_FALSE(record.SfdMoveBottom());
    EXPECT_FALSE(RecordTestAccess::State(record).SfdAtBottom);
}

}  // namespace
