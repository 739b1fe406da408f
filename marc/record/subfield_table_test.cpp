// The subfield table: splitting, adding and inserting with the normal forms,
// the order loop and the shifts, change, deletion and the small members.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "common/raised_error.h"
#include "common/test_support.h"
#include "marc/record/field_test_support.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/subfield_test_support.h"

namespace {

using subfield_test::AddField;
using subfield_test::D;
using subfield_test::Listing;
using subfield_test::ListingBackwards;

Utf8MarcRecordState& St(Utf8MarcRecordClass& record) { return RecordTestAccess::MutableState(record); }
const FieldEntry& Current(Utf8MarcRecordClass& record) {
    return St(record).Fields[static_cast<size_t>(St(record).FldPointer)];
}

TEST(FldSplitText, SplitsTheTextAsTheSplitRules) {
    struct Case {
        const char* tag;
        const char* text;
        const char* listing;
        bool modified;
    };
    const Case cases[] = {
        {"245", "$aABC$b", "$aABC", false},                    // a trailing code without text is dropped
        {"245", "$a$bDEF", "$a$bDEF", false},                  // the first subfield is kept empty
        {"245", "$aX$b$cY", "$aX$cY", false},                  // a later empty one is not
        {"245", "xx$aABC", "$aABC", false},                    // text before the first delimiter goes
        {"245", "no delimiter", "", false},
        {"245", "$a  Title  $b  sub ", "$aTitle$bsub", false},  // trimmed from 011 on
        {"010", "$a  123  $z x ", "$a  123  $z x ", false},   // the 010 keeps its blanks
        {"245", "$a x$ b", "$ax$9b", true},                    // a blank code becomes 9
        {"245", "$aX$", "$aX", false},
        {"245", "$a", "$a", false},
        {"853", "$81$a$bv.", "$81$a$bv.", false},              // 853 keeps an empty $a
        {"001", " 12345 ", "$9 12345 ", false},                // a control field is one $9, untrimmed
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        AddField(record, c.tag, "  ", c.text);
        EXPECT_EQ(Listing(record), c.listing) << c.tag << " " << c.text;
        EXPECT_EQ(ListingBackwards(record), c.listing) << c.text;
        EXPECT_EQ(St(record).MarcRecordModified, c.modified) << c.text;
        EXPECT_FALSE(St(record).SplittingField);
    }
}

TEST(FldSplitText, SlotsGrowByFiveAndASecondSplitReusesThem) {
    Utf8MarcRecordClass record;
    AddField(record, "245", "00", "$a1$b2$c3$d4$e5$f6$g7");
    EXPECT_EQ(Current(record).SubfieldSlots, 10);
    EXPECT_EQ(Current(record).SubfieldTop, 6);
    RecordTestAccess::FldSplitText(record, St(record).FldPointer, D("$xA$yB"));
    EXPECT_EQ(Listing(record), "$xA$yB");
    EXPECT_EQ(Current(record).SubfieldSlots, 10);
    EXPECT_EQ(Current(record).SubfieldTop, 1);
}

TEST(FldSplitText, LongTextsSplitWholeAndTooManySubfieldsLeaveTheFieldAsItWas) {
    Utf8MarcRecordClass record;
    const std::string sLong(40000, 'x');
    AddField(record, "500", "  ", "$a" + sLong + "$bY");
    EXPECT_EQ(Listing(record), "$a" + sLong + "$bY");

    std::string sMost;
    for (int i = 0; i < 32767; ++i) sMost += "$ax";
    AddField(record, "505", "  ", sMost);
    EXPECT_EQ(Current(record).SubfieldTop, 32766);

    AddField(record, "520", "  ", "$aKept");
    try {
        RecordTestAccess::FldSplitText(record, St(record).FldPointer, D(sMost + "$ax"));
        ADD_FAILURE() << "no error";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), 6);
    }
    EXPECT_EQ(Listing(record), "$aKept");
}

TEST(SfdAdd, StoresOddCodesAsNineAndReplacesAControlFieldsText) {
    struct Case {
        const char* code;
        const char* stored;
        bool modified;
    };
    for (const Case& c : {Case{" ", "9", true}, Case{"ab", "9", true}, Case{"", "9", true}, Case{"b", "b", false}}) {
        Utf8MarcRecordClass record;
        AddField(record, "245", "00", "$aTitle");
        record.SfdAdd(c.code, "x");
        EXPECT_EQ(Listing(record), std::string("$aTitle$") + c.stored + "x") << "[" << c.code << "]";
        EXPECT_EQ(St(record).MarcRecordModified, c.modified) << "[" << c.code << "]";
    }

    Utf8MarcRecordClass record;
    AddField(record, "001", "", "old");
    St(record).Fields[0].Changed = false;
    record.SfdAdd("", "new text");
    EXPECT_EQ(Listing(record), "$9new text");
    EXPECT_EQ(Current(record).Subfields[0].Norm, "NEW TEXT");
    EXPECT_TRUE(Current(record).Changed);
    EXPECT_FALSE(St(record).MarcRecordModified);
}

TEST(SfdAdd, StoresTheNormalAndNacoFormsOnEveryPath) {
    struct Case {
        const char* field;  // the field's text before the subfield is added
        const char* code;
        const char* text;
        const char* norm;
        const char* naco;
    };
    const Case cases[] = {
        {"", "a", "Smith, John", "SMITH JOHN", "SMITH, JOHN"},  // the first subfield
        {"$bx", "a", "Smith, John", "SMITH JOHN", "SMITH, JOHN"},  // an insertion
        {"", "a", "Smith,", "SMITH", "SMITH"},                   // a comma at the end is no name's comma
        {"$bx", "a", "Smith,", "SMITH", "SMITH"},
        {"", "d", "1900-1980.", "1900 1980", "1900 1980"},
        {"$aSmith", "d", "1900-", "1900", "1900-"},              // the open date keeps its hyphen
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        AddField(record, "100", "1 ", c.field);
        record.SfdAdd(c.code, c.text);
        ASSERT_TRUE(record.SfdWasFound()) << c.text;
        EXPECT_EQ(record.SfdCode(), c.code);
        EXPECT_EQ(record.SfdNorm(), c.norm) << c.field << " " << c.text;
        EXPECT_EQ(record.SfdNormNaco(), c.naco) << c.field << " " << c.text;
    }
}

TEST(SfdAdd, TheFirstSubfieldPutsTheSchemeBackAndKeepsTheIndicators) {
    for (const char* scheme : {"V", "P"}) {
        Utf8MarcRecordClass record;
        record.NormalizationScheme(scheme);
        AddField(record, "245", "14", "$aThe title$bsub");
        EXPECT_EQ(record.NormalizationScheme(), scheme);
        EXPECT_EQ(Current(record).Indicators, "14");
        EXPECT_EQ(Current(record).Subfields[0].Text, "The title");
    }
}

TEST(SfdInsert, EmptyTextsAndMissingFieldsAddNothing) {
    struct Case {
        const char* tag;
        bool after;
        const char* code;
        const char* text;
        const char* listing;
    };
    const Case cases[] = {
        {"853", true, "a", "", "$81$a"},   // 853 $a may be empty after the cursor
        {"853", false, "a", "", "$81"},
        {"245", true, "a", "", "$81"},
        {"245", true, "", "x", "$81"},
        {"245", true, "b", "x", "$81$bx"},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        AddField(record, c.tag, "  ", "$81");
        if (c.after) {
            record.SfdInsertAfter(c.code, c.text);
        } else {
            record.SfdInsertBefore(c.code, c.text);
        }
        EXPECT_EQ(Listing(record), c.listing) << c.tag << " " << c.after << " [" << c.text << "]";
    }

    Utf8MarcRecordClass record;
    AddField(record, "245", "00", "$aTitle");
    St(record).FldPointer = -1;
    record.SfdAdd("b", "x");
    record.SfdInsertAfter("b", "x");
    record.SfdInsertBefore("b", "x");
    St(record).FldPointer = 0;
    EXPECT_EQ(Listing(record), "$aTitle");

    AddField(record, "008", "", "control");
    record.SfdInsertAfter("b", "x");
    EXPECT_EQ(Listing(record), "$9control");
}

TEST(SfdInsert, AnchorsAtTheCursorOrAtAnEndAndPutsTheCursorOnTheNewSubfield) {
    struct Case {
        int16_t cursor;  // slot of the current subfield, -1 for none
        bool after;
        const char* listing;
    };
    const Case cases[] = {
        {0, true, "$aA$nN$bB$cC"},
        {0, false, "$nN$aA$bB$cC"},
        {2, true, "$aA$bB$cC$nN"},
        {1, false, "$aA$nN$bB$cC"},
        {-1, true, "$aA$bB$cC$nN"},   // no current subfield: after the last
        {-1, false, "$nN$aA$bB$cC"},  // before the first
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        AddField(record, "245", "00", "$aA$bB$cC");
        record.SfdPointer(c.cursor);
        St(record).Fields[0].Changed = false;
        if (c.after) {
            record.SfdInsertAfter("n", "N");
        } else {
            record.SfdInsertBefore("n", "N");
        }
        EXPECT_EQ(Listing(record), c.listing) << c.cursor << " " << c.after;
        EXPECT_EQ(ListingBackwards(record), c.listing);
        EXPECT_EQ(record.SfdPointer(), 3);
        EXPECT_EQ(record.SfdText(), "N");
        EXPECT_TRUE(Current(record).Changed);
    }

    for (bool after : {true, false}) {
        Utf8MarcRecordClass record;
        AddField(record, "245", "00", "");
        if (after) {
            record.SfdInsertAfter("a", "x");
        } else {
            record.SfdInsertBefore("a", "x");
        }
        EXPECT_TRUE(record.SfdWasFound());
        EXPECT_EQ(record.SfdPointer(), 0);
        EXPECT_EQ(Listing(record), "$ax");
    }
}

TEST(SfdInsert, TrimsExceptIn010AndAnAuthorityRecordsZero) {
    struct Case {
        const char* format;
        const char* tag;
        const char* code;
        const char* stored;
    };
    const Case cases[] = {
        {"B", "245", "b", "x y"},
        {"B", "010", "b", " x y "},
        {"A", "010", "b", " x y "},
        {"A", "100", "0", " x y "},
        {"B", "100", "0", "x y"},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        St(record).MarcRecordFormat = c.format;
        AddField(record, c.tag, "  ", "$aA");
        record.SfdInsertAfter(c.code, " x y ");
        EXPECT_EQ(record.SfdText(), c.stored) << c.format << " " << c.tag << " " << c.code;
    }
}

// Answers of the order test by a simple sequence of codes: a subfield belongs
// before a predecessor whose code comes later in the sequence, after a
// successor whose code comes earlier.
void UseSequenceRule(Utf8MarcRecordClass& record) {
    const std::string sFormat = St(record).MarcRecordFormat;
    record.ClearSfdOrder(sFormat);
    record.SetSfdOrder(sFormat, "999", "abcdefghijklmnopqrstuvwxyz");
    RecordTestAccess::SfdOrderLoad(record, "999");
}

TEST(SfdOrderLoop, MovesOrReportsANewSubfieldAsTheSwitchesSay) {
    struct Case {
        const char* label;
        const char* field;
        bool after;  // SfdInsertAfter on the last subfield, else SfdInsertBefore on the first
        const char* code;
        bool makeNoChange;
        bool testOrder;
        bool ignore;
        const char* listing;
        bool changed;
        bool outOfOrder;
        const char* tags;
    };
    const Case cases[] = {
        {"moved left", "$a1$c3", true, "b", false, true, false, "$a1$b2$c3", true, false, "245"},
        {"moved right", "$a1$c3", false, "b", false, true, false, "$a1$b2$c3", true, false, " 245"},
        {"no change", "$a1$c3", true, "b", true, true, false, "$a1$c3$b2", false, true, "245"},
        {"no test", "$a1$c3", false, "b", false, false, false, "$b2$a1$c3", false, true, " 245"},
        {"w moves unrecorded", "$a1$c3", true, "w", false, true, false, "$a1$c3$w2", false, false, ""},
        {"w left in place unrecorded", "$a1$z3", true, "w", true, true, false, "$a1$z3$w2", false, false, ""},
        {"ignored", "$a1$c3", true, "b", false, true, true, "$a1$c3$b2", false, false, ""},
        {"in order", "$a1$b2", true, "c", false, true, false, "$a1$b2$c2", false, false, ""},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        UseSequenceRule(record);
        AddField(record, "245", "00", c.field);
        St(record).MakeNoChange = c.makeNoChange;
        record.TestSubfieldOrder(c.testOrder);
        record.IgnoreSfdOrder(c.ignore);
        if (c.after) {
            record.SfdMoveLast();
            record.SfdInsertAfter(c.code, "2");
        } else {
            record.SfdMoveFirst();
            record.SfdInsertBefore(c.code, "2");
        }
        EXPECT_EQ(Listing(record), c.listing) << c.label;
        EXPECT_EQ(ListingBackwards(record), c.listing) << c.label;
        EXPECT_EQ(record.SfdCode(), c.code) << c.label;
        EXPECT_EQ(record.SfdOrderChanged(), c.changed) << c.label;
        EXPECT_EQ(record.SubfieldsOutOfOrder(), c.outOfOrder) << c.label;
        EXPECT_EQ(record.FldsWithSfdsOutOfOrder(), c.tags) << c.label;
    }
}

TEST(SfdOrderLoop, ListsATagOnceAndSplittingOrdersEverySubfield) {
    Utf8MarcRecordClass record;
    UseSequenceRule(record);
    St(record).FldsWithSfdsOutOfOrder = "100";
    AddField(record, "245", "00", "$c3$b2$a1");
    EXPECT_EQ(Listing(record), "$a1$b2$c3");
    AddField(record, "246", "00", "$b2$a1");
    EXPECT_EQ(record.FldsWithSfdsOutOfOrder(), "100 245 246");
}

TEST(SfdOrderLoop, ARepeatedCodeGoesWithTheNameOrTheTitleByTheTitleBeforeIt) {
    // The authority 100 pattern: $k is in the name group and again in the
    // title group, which $t leads.
    struct Case {
        const char* field;
        const char* code;
        const char* listing;
    };
    const Case cases[] = {
        {"$aA$tT$fF", "k", "$aA$tT$fF$kK"},  // after a $t: the title group, in place
        {"$aA$fF", "k", "$aA$kK$fF"},        // no $t: the name group, before $f
        {"$aA$fF", "t", "$aA$tT$fF"},        // the title group's lead goes first in it
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        St(record).MarcRecordFormat = "A";
        RecordTestAccess::SfdOrderLoad(record, "100");
        AddField(record, "100", "1 ", c.field);
        record.SfdMoveLast();
        record.SfdInsertAfter(c.code, std::string(1, static_cast<char>(c.code[0] - 'a' + 'A')));
        EXPECT_EQ(Listing(record), c.listing) << c.field << " + " << c.code;
        EXPECT_EQ(ListingBackwards(record), c.listing);
        EXPECT_EQ(record.SfdCode(), c.code);
        EXPECT_FALSE(record.SubfieldsOutOfOrder());
    }
}

TEST(SfdShift, ExchangesNeighboursAndLetsTheRuleSettleTheMovedSubfield) {
    struct Case {
        const char* field;
        int16_t cursor;
        bool left;
        bool ruled;
        const char* listing;
    };
    const Case cases[] = {
        {"$aA$bB$cC", 2, true, false, "$aA$cC$bB"},
        {"$aA$bB$cC", 0, false, false, "$bB$aA$cC"},
        {"$aA$bB$cC", 0, true, false, "$aA$bB$cC"},   // nothing before the first
        {"$aA$bB$cC", 2, false, false, "$aA$bB$cC"},  // nothing after the last
        {"$aA$bB$cC", 1, true, true, "$aA$bB$cC"},    // a shift against the rule is undone
        {"$aA$bB$cC", 1, false, true, "$aA$bB$cC"},
        {"$cC$aA$bB", 0, false, true, "$aA$bB$cC"},   // a subfield that belongs further keeps moving
        {"$bB$cC$aA", 2, true, true, "$aA$bB$cC"},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        if (c.ruled) UseSequenceRule(record);
        record.IgnoreSfdOrder(true);
        AddField(record, "245", "00", c.field);
        record.IgnoreSfdOrder(false);
        St(record).Fields[0].Changed = false;
        record.SfdPointer(c.cursor);
        const std::string sCode = record.SfdCode();
        if (c.left) {
            record.SfdShiftLeft();
        } else {
            record.SfdShiftRight();
        }
        EXPECT_EQ(Listing(record), c.listing) << c.field << " " << c.cursor << " " << c.left;
        EXPECT_EQ(ListingBackwards(record), c.listing);
        EXPECT_EQ(record.SfdCode(), sCode);
        EXPECT_FALSE(Current(record).Changed);
        EXPECT_FALSE(record.SfdOrderChanged());
        EXPECT_FALSE(St(record).SfdShiftInProgress);
    }
}

TEST(SfdOrderPosition, FindsTheStepOfACode) {
    Utf8MarcRecordClass record;
    record.ClearSfdOrder("A");
    record.SetSfdOrder("A", "100", "6a{#qbcdek}{u4}{!tkfghlmnoprs}{#vxyz}");
    record.SetSfdOrder("A", "999", "{#ab}{#ab}");
    struct Case {
        int rule;
        const char* code;
        bool title;
        bool ignore;
        int16_t position;
        int16_t stepType;
        const char* codes;
        int16_t matches;
    };
    const Case cases[] = {
        {1, "a", false, false, 1, 0, "a", 1},
        {1, "k", false, false, 2, 1, "qbcdek", 2},
        {1, "k", true, false, 4, 2, "tkfghlmnoprs", 1},  // after a $t the title step
        {1, "z", false, false, 5, 1, "vxyz", 1},
        {1, "j", false, false, 1, 2, "", 0},
        {1, "a", false, true, 1, 2, "", 0},
        {2, "a", true, false, 1, 1, "ab", 0},             // no title step: the last match serves
    };
    for (const Case& c : cases) {
        RecordTestAccess::SfdOrderUse(record, St(record).SfdOrderAuth[static_cast<size_t>(c.rule)]);
        record.IgnoreSfdOrder(c.ignore);
        int16_t position = -5, stepType = -5, matches = -5;
        std::string codes;
        RecordTestAccess::SfdOrderPosition(record, c.code, c.title, position, stepType, codes, matches);
        EXPECT_EQ(position, c.position) << c.rule << c.code << c.title;
        EXPECT_EQ(stepType, c.stepType) << c.rule << c.code << c.title;
        EXPECT_EQ(codes, c.codes) << c.rule << c.code << c.title;
        EXPECT_EQ(matches, c.matches) << c.rule << c.code << c.title;
    }
}

TEST(SfdChange, RewritesTheFieldWithTheNewCodeAndText) {
    struct Case {
        const char* format;
        const char* tag;
        const char* code;
        const char* listing;
    };
    const Case cases[] = {
        {"B", "245", "a", "$aNew$bB"},
        {"B", "245", "c", "$cNew$bB"},
        {"B", "010", "a", "$a New $bB"},
        {"A", "010", "a", "$aNew$bB"},
        {"A", "010", "0", "$0 New $bB"},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        St(record).MarcRecordFormat = c.format;
        AddField(record, c.tag, "00", "$aOld$bB$cGone");
        record.SfdMoveLast();
        record.SfdDelete(false);
        record.SfdMoveFirst();
        record.SfdChange(c.code, " New ");
        EXPECT_EQ(Listing(record), c.listing) << c.format << " " << c.tag << " " << c.code;
        EXPECT_EQ(record.SfdPointer(), 0);
    }

    // The rewrite refills the slots and keeps the caller's flags of a slot.
    Utf8MarcRecordClass record;
    AddField(record, "245", "00", "$aA$bB");
    record.SfdMoveLast();
    record.SfdBoolean1(true);
    record.SfdText(D("$zZ"));
    EXPECT_EQ(Listing(record), "$aA$zZ");
    EXPECT_TRUE(record.SfdBoolean1());
    record.SfdText("plain");
    EXPECT_EQ(Listing(record), "$aA$zplain");

    // At the top the code's change passes an empty text.
    record.SfdMoveTop();
    record.SfdCode("x");
    EXPECT_EQ(Listing(record), "$x$zplain");

    AddField(record, "001", "", "123");
    record.SfdChange("a", "x");
    EXPECT_EQ(Listing(record), "$9123");
}

TEST(SfdDelete, HandsTheHPunctuationToTheSubfieldBefore) {
    struct Case {
        const char* tag;
        const char* field;
        bool consider;
        const char* listing;
    };
    const Case cases[] = {
        {"245", "$aTitle$h[videorecording] /$cby X", true, "$aTitle /$cby X"},
        {"245", "$aTitle /$h[videorecording] /$cby X", true, "$aTitle /~h[videorecording] /$cby X"},
        {"245", "$aTitle$h[videorecording] /$cby X", false, "$aTitle~h[videorecording] /$cby X"},
        {"830", "$aSeries$h[sound recording] ;$v1", true, "$aSeries ;$v1"},
        {"100", "$aName$h[x] /$cby X", true, "$aName~h[x] /$cby X"},
        {"245", "$aTitle$h[videorecording]$cby X", true, "$aTitle~h[videorecording]$cby X"},
        {"245", "$h[videorecording] /$cby X", true, "~h[videorecording] /$cby X"},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        AddField(record, c.tag, "00", c.field);
        record.SfdFindFirst("h", "");
        const int16_t iSlot = record.SfdPointer();
        St(record).Fields[0].Changed = false;
        record.SfdDelete(c.consider);
        EXPECT_EQ(Listing(record), c.listing) << c.tag << " " << c.field;
        EXPECT_EQ(record.SfdPointer(), iSlot);
        EXPECT_TRUE(Current(record).Changed);
    }
}

TEST(SfdUndelete, BringsTheSubfieldBack) {
    Utf8MarcRecordClass record;
    AddField(record, "245", "00", "$aA$bB");
    record.SfdMoveLast();
    record.SfdDelete(true);
    St(record).Fields[0].Changed = false;
    record.SfdUndelete();
    EXPECT_EQ(Listing(record), "$aA$bB");
    EXPECT_FALSE(record.SfdDeleted());
    EXPECT_TRUE(Current(record).Changed);
}

TEST(SfdSmallMembers, WithoutACurrentSubfieldAndTheTextBuilders) {
    Utf8MarcRecordClass record;
    EXPECT_EQ(record.SfdCode(), "");
    EXPECT_EQ(record.SfdText(), "");
    EXPECT_EQ(record.SfdNorm(), "");
    EXPECT_TRUE(record.SfdDeleted());
    record.SfdBoolean1(true);
    record.Sfdboolean2(true);
    EXPECT_FALSE(record.SfdBoolean1());
    EXPECT_FALSE(record.Sfdboolean2());
    record.SfdDelete(true);
    record.SfdShiftLeft();
    record.SfdText("x");
    EXPECT_EQ(record.SfdMax(), St(record).SfdOrderBibCount);

    AddField(record, "245", "00", "$aTitle");
    record.SfdMoveTop();
    EXPECT_EQ(record.SfdCode(), "");  // at the top code and text read empty
    EXPECT_EQ(record.SfdText(), "");
    EXPECT_EQ(record.SfdNorm(), "TITLE");  // the forms do not look at the top

    EXPECT_EQ(record.SfdDelim("abc"), D("$a"));
    EXPECT_EQ(record.SfdDelim(""), D("$"));
    struct Case {
        const char* code;
        const char* text;
        const char* result;
        const char* codeAfter;
    };
    const Case cases[] = {
        {"  $a", "x", "$ax", "a"}, {"a", "", "", "a"}, {" ", "x", "", ""}, {"ab", "x", "$ax", "a"}, {" b ", "y", "$by", "b"},
    };
    for (const Case& c : cases) {
        std::string sCode = D(c.code), sText = c.text;
        EXPECT_EQ(record.SfdMake(sCode, sText), D(c.result)) << c.code;
        EXPECT_EQ(sCode, c.codeAfter) << c.code;
    }
}

TEST(SfdAdd, RemovesDuplicateOclcNumbersWhenTheSettingsFileSaysSo) {
    for (bool bRemove : {true, false}) {
        testsupport::TempSettingsFolder folder;
        if (bRemove)
            testsupport::WriteFile(folder.File("MarcRecordClass.INI"),
                                   "[Booleans]\r\nRemoveDuplicateOclcNumbers=True\r\n");
        Utf8MarcRecordClass record;
        record.FldAdd("035", "  ", D("$a(OCoLC)ocm00012345"), false);
        record.FldAdd("035", "  ", D("$a(DLC)12345"), false);
        record.FldAdd("035", "  ", D("$aocm12345$zx"), false);
        record.FldAdd("245", "00", D("$aTitle"), false);
        if (bRemove) {
            EXPECT_EQ(field_test::ListOrder(record),
                      "035/  =$a(OCoLC)ocm12345 035/  =$a(DLC)12345 -035/  =$a(OCoLC)ocm12345$zx 245/00=$aTitle");
            EXPECT_EQ(St(record).FldSearchTags, "035");  // the walk's searches stay behind
            EXPECT_EQ(St(record).SfdSearchCodes, "a");
        } else {
            EXPECT_EQ(field_test::ListOrder(record),
                      "035/  =$a(OCoLC)ocm00012345 035/  =$a(DLC)12345 035/  =$aocm12345$zx 245/00=$aTitle");
        }
    }
}

TEST(SfdAdd, ASixWhileEditingGoesFirstAndGivesTheFieldItsLinkage) {
    Utf8MarcRecordClass record;
    field_test::UseTestKeys(record);
    record.FldAdd("245", "00", D("$aTitle$bsub"), false);
    record.SfdAdd("6", "880-01");
    EXPECT_EQ(Listing(record), "$6880-01$aTitle$bsub");
    EXPECT_EQ(Current(record).OrderKey, "245");
    EXPECT_EQ(Current(record).OrderKeySuffix, D("$601"));
    EXPECT_EQ(record.SfdCode(), "6");

    // While a field is split its $6 is added in its turn (and here left there).
    record.IgnoreSfdOrder(true);
    record.FldAdd("246", "00", D("$aOther$6880-02"), false);
    EXPECT_EQ(Listing(record), "$aOther$6880-02");
}

TEST(SfdAdd, ALocalFiveInAnAuthorityRecordPlacesTheFieldAnew) {
    struct Case {
        const char* label;
        const char* format;
        const char* key;
        const char* institution;
        const char* tags;
    };
    const Case cases[] = {
        {"our own", "A", "001", "CaOONL", "-700 700"},
        {"our own in the $5 list", "A", "001", "OCoLC", "-700 700"},
        {"another institution", "A", "001", "DLC", "700"},
        {"a keep-the-order key", "A", "*", "CaOONL", "700"},
        {"a rule past the table", "A", "002", "CaOONL", "700"},
        {"no rule 0", "A", "000", "CaOONL", "700"},
        {"a bibliographic record", "B", "001", "CaOONL", "700"},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        Utf8MarcRecordState& st = St(record);
        st.MarcRecordFormat = c.format;
        record.ClearFldOrder("A");
        record.SetFldOrder("A", "000", "999", 4);
        st.Nuc = "(CaOONL)";
        st.NucSubfield5List = D("$5CaOONL $5OCoLC");
        const std::string sKey = c.key;
        st.FldOrderKeyForTests = [sKey](const std::string&, const std::string&, const std::string&) { return sKey; };
        record.FldAdd("700", "1 ", D("$aName"), false);
        record.SfdAdd("5", c.institution);
        EXPECT_EQ(field_test::TagOrder(record), c.tags) << c.label;
        EXPECT_EQ(record.FldText(), D("$aName$5") + c.institution) << c.label;
    }
}

TEST(SfdDelete, EmptyingAFieldWithAnHDeletesEverySubfield) {
    Utf8MarcRecordClass record;
    record.FldAdd("245", "00", D("$aTitle$h[videorecording] /$cby X"), false);
    record.FldText("");
    EXPECT_EQ(record.FldText(), "");
    EXPECT_EQ(Listing(record), "~aTitle~h[videorecording] /~cby X");
}

}  // namespace

namespace {

// The forms of a loaded subfield are those of the moment it was stored, however late they are first
// read: after the record's format changed (the NACO comma of a heading), after an 008 value changed
// its text; a title's forms leave its nonfiling characters out.
TEST(SfdForms, AreThoseOfTheLoadWhenFirstReadLater) {
    const std::string sRecord = record_test::Iso2709(
        "00000cam a2200000 a 4500", {{"008", std::string(40, ' ')},
                                     {"100", D("1 $aSmith, John,$d1900-1980.")},
                                     {"245", D("14$aThe title /$cby J. Smith.")}});
    struct Form {
        std::string tag, code, norm, naco;
    };
    auto formsOf = [](Utf8MarcRecordClass& record) {
        std::vector<Form> forms;
        for (const char* tag : {"008", "100", "245"}) {
            EXPECT_TRUE(record.FldFindFirst(tag, ""));
            for (bool b = record.SfdMoveFirst(); b; b = record.SfdMoveNext())
                forms.push_back({tag, record.SfdCode(), record.SfdNorm(), record.SfdNormNaco()});
        }
        return forms;
    };
    Utf8MarcRecordClass readAtOnce;
    readAtOnce.MarcRecordIn(sRecord);
    const std::vector<Form> expected = formsOf(readAtOnce);
    ASSERT_EQ(expected.size(), 5u);
    EXPECT_EQ(expected[1].naco, "SMITH, JOHN");
    EXPECT_EQ(expected[3].norm, "TITLE");

    Utf8MarcRecordClass readLater;
    readLater.MarcRecordIn(sRecord);
    std::string sLeader = readLater.Leader();
    sLeader[6] = 'x';  // holdings: no heading tags
    readLater.Leader(sLeader);
    readLater.Change008Value(0, "x");
    const std::vector<Form> later = formsOf(readLater);
    ASSERT_EQ(later.size(), expected.size());
    for (size_t i = 0; i < later.size(); ++i) {
        EXPECT_EQ(later[i].norm, expected[i].norm) << later[i].tag << " " << later[i].code;
        EXPECT_EQ(later[i].naco, expected[i].naco) << later[i].tag << " " << later[i].code;
    }
}

// The forms of 8-bit text are those of the set the record was loaded in,
// however late they are first read: after the translation into UTF-8 (a field
// it leaves alone keeps its subfields), after the set out changed. A text whose
// forms overflow raises the error when it is added, as one just short of it is added.
TEST(SfdForms, OfEightBitTextAreThoseOfTheLoadSet) {
    const std::string sThorn = "\xB4";  // "TH" in both 8-bit sets
    const std::string sRecord = record_test::Iso2709(
        "00000cam  2200000 a 4500", {{"008", std::string(40, ' ')},
                                     {"100", D("1 $aSmith@home, John,$d1900-")},
                                     {"245", D("10$aThe ") + sThorn + "ing /" + D("$cby J. Smith.")}});
    struct Case {
        const char* in;
        const char* out;
        std::vector<std::string> forms;  // norm and NACO of each subfield of 100 and 245
    };
    const std::vector<std::string> kEightBit = {"SMITH HOME JOHN", "SMITH HOME, JOHN", "1900", "1900",
                                                "THE THING", "THE THING", "BY J SMITH", "BY J SMITH"};
    const Case cases[] = {
        {"M", "M", kEightBit},
        {"V", "V", kEightBit},
        // The 100 stays as loaded, in the forms of MARC-8; the 245 is translated.
        {"M", "U", {"SMITH HOME JOHN", "SMITH HOME, JOHN", "1900", "1900", "THE THING", "THE THING",
                    "BY J SMITH", "BY J SMITH"}},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        record.CharacterSetIn(c.in);
        record.CharacterSetOut(c.out);
        record.MarcRecordIn(sRecord);
        ASSERT_EQ(St(record).FldCount, 3) << c.in << c.out;
        if (std::string(c.out) == "M") record.CharacterSetOut("V");
        std::vector<std::string> forms;
        for (const char* tag : {"100", "245"}) {
            EXPECT_TRUE(record.FldFindFirst(tag, ""));
            for (bool b = record.SfdMoveFirst(); b; b = record.SfdMoveNext()) {
                forms.push_back(record.SfdNorm());
                forms.push_back(record.SfdNormNaco());
            }
        }
        EXPECT_EQ(forms, c.forms) << c.in << c.out;
    }

    for (const size_t length : {size_t{16383}, size_t{16384}}) {  // 32,766 and 32,768 codes
        Utf8MarcRecordClass record;
        record.CharacterSetOut("M");
        try {
            record.FldAdd("500", "  ", D("$a") + std::string(length, sThorn[0]), false);
            EXPECT_EQ(length, 16383u);
            ASSERT_TRUE(record.FldFindFirst("500", "") && record.SfdMoveFirst());
            EXPECT_EQ(record.SfdNorm().size(), 2 * length);
        } catch (const RaisedError& e) {
            EXPECT_EQ(length, 16384u);
            EXPECT_EQ(e.Number(), ErrorNumber::Overflow);
        }
    }
}

}  // namespace

namespace {

// A split places each subfield where the order loop would shift it, one
// place at a time, after it was appended: the same subfields given one by one
// to SfdInsertAfter at the end of the field come out in the same order, with
// the same results, under every kind of step and switch.
TEST(FldSplitText, PlacesEachSubfieldWhereTheOrderLoopWouldShiftIt) {
    struct Rule {
        const char* leader;  // leader/05-09
        const char* tag;
        const char* codes;   // drawn from for each subfield
    };
    const Rule rules[] = {
        {"nam a", "650", "a2vxyzb6w3"},       // "63a{#bcde}{#vxyz}2"
        {"nam a", "040", "abcdeq6"},          // plain steps, ordered within
        {"nam a", "020", "abczq6"},           // "^" group
        {"nam a", "590", "abcdpqrxyzA9"},     // the rule set below: "!" and "@" groups
        {"nz  a", "100", "aqbcdekufghlmnoprstvxyzw6"},  // the $t switch of a repeated $k
        {"nz  a", "400", "awkvtq"},
    };
    struct Switches {
        bool noChange, test, ignore;
    };
    const Switches switches[] = {{false, true, false}, {true, true, false}, {false, false, false}, {false, true, true}};
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (const Rule& rule : rules) {
        for (const Switches& sw : switches) {
            Utf8MarcRecordClass split, oneByOne;
            for (Utf8MarcRecordClass* record : {&split, &oneByOne}) {
                record->SetSfdOrder("B", "590", "a{!xyz}{@pq}{@qr}b{cd}9");
                record->MarcRecordIn(record_test::Iso2709(std::string("00000") + rule.leader + "2200000 a 4500",
                                                          {{"001", "x"}, {"005", "20240101000000.0"}}));
                ASSERT_EQ(record->IsMarcErrorText(), "");
                record->MakeNoChange(sw.noChange);
                record->TestSubfieldOrder(sw.test);
                record->IgnoreSfdOrder(sw.ignore);
            }
            const std::string sCodes = rule.codes;
            for (int iField = 0; iField < 60; ++iField) {
                std::vector<std::string> subfields;
                const uint32_t lCount = 1 + next(iField < 50 ? 12 : 80);
                for (uint32_t i = 0; i < lCount; ++i)
                    subfields.push_back(std::string(1, sCodes[next(static_cast<uint32_t>(sCodes.size()))]) +
                                        std::to_string(i));
                std::string sText;
                for (const std::string& s : subfields) sText += "\x1F" + s;
                SCOPED_TRACE(std::string(rule.tag) + " " + D(sText) + " switches " + std::to_string(sw.noChange) +
                             std::to_string(sw.test) + std::to_string(sw.ignore));

                split.FldAdd(rule.tag, "1 ", sText, false);
                oneByOne.FldAdd(rule.tag, "1 ", "\x1F" + subfields[0], false);
                for (size_t i = 1; i < subfields.size(); ++i) {
                    oneByOne.SfdMoveLast();
                    oneByOne.SfdInsertAfter(subfields[i].substr(0, 1), subfields[i].substr(1));
                }
                ASSERT_EQ(Listing(split), Listing(oneByOne));
                EXPECT_EQ(ListingBackwards(split), Listing(oneByOne));
                EXPECT_EQ(split.SfdPointer(), oneByOne.SfdPointer());
                EXPECT_EQ(split.SfdWasFound(), oneByOne.SfdWasFound());
                EXPECT_EQ(St(split).SfdAtTop || St(split).SfdAtBottom, false);
                for (int16_t i = 0; i <= Current(split).SubfieldTop; ++i) {
                    const SubfieldEntry& a = Current(split).Subfields[static_cast<size_t>(i)];
                    const SubfieldEntry& b = Current(oneByOne).Subfields[static_cast<size_t>(i)];
                    EXPECT_EQ(std::tie(a.OrderPosition, a.OrderStepType, a.OrderStepCodes, a.Text),
                              std::tie(b.OrderPosition, b.OrderStepType, b.OrderStepCodes, b.Text)) << i;
                }
                EXPECT_EQ(split.SfdOrderChanged(), oneByOne.SfdOrderChanged());
                EXPECT_EQ(split.SubfieldsOutOfOrder(), oneByOne.SubfieldsOutOfOrder());
                EXPECT_EQ(split.FldsWithSfdsOutOfOrder(), oneByOne.FldsWithSfdsOutOfOrder());
            }
        }
    }
}

}  // namespace
