#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/raised_error.h"
#include "marc/display/display_test_text.h"
#include "marc/record/marc_record.h"

namespace {

using display_test::Hex;
using display_test::T;

const std::string kWrapperHead =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial Unicode "
    "MS;}}\\viewkind4\\uc1\\pard\\f0\\fs";

// A record in the output set with one field; the cursor on it.
struct OneField {
    explicit OneField(const char* set, const std::string& tag, const std::string& text) {
        r.CharacterSetOut(set);
        r.NewRecord("a", "m");
        r.FldAdd(tag, "10", text, false);
    }
    Utf8MarcRecordClass r;
};

struct FormCase {
    int32_t form;
    const char* field;     // what FldTextFormatted gives ("<..>" octets in hex, "$" the delimiter)
    const char* subfield;  // what SfdTextFormatted gives on the first subfield
};

// One field with a diacritic, a blank run, a brace and three subfields, in a
// UTF-8 record; the subfield member reads the first subfield.
TEST(FieldTextFormatted, EveryFormOfBothMembers) {
    const std::vector<FormCase> cases = {
        {0, "|a Cafe\\&HCC\\&H81  {x} |b Sub |w w1", "Cafe\\&HCC\\&H81  {x}"},
        {1, "|a Caf<E9> {x} |b Sub |w w1", "Caf<E9>  {x}"},
        {2, "|a Caf<C3 A9>  {x} |b Sub |w w1", "Caf<C3 A9>  {x}"},
        {3, "|a Cafe<CC 81>  {x} |b Sub |w w1", "Cafe<CC 81>  {x}"},
        {4, "Caf(acute)e {x} <24>b Sub", "Caf(acute)e {x} <24>b Sub"},
        {5, "|a Cafe\\&HCC\\&H81  {x} |b Sub |w w1", "Cafe\\&HCC\\&H81  {x}"},
        {6, "", ""},
        {7, " Caf<E9> {x} Sub w1", "Cafe {x}"},
        {8, "Caf<E9> {x} Sub w1", "Caf<E9>  {x}"},
        {9, "|a Cafe<95>  {x} |b Sub |w w1", "Cafe<95>  {x}"},
        {10, "\\u8225?a Cafe\\u769?  \\u123?x\\u125? \\u8225?b Sub \\u8225?w w1", ""},
        {11, "\\u8225?a Cafe<3C>-acute-<3E>  \\u123?x\\u125? \\u8225?b Sub \\u8225?w w1", ""},
        {12, "Cafe\\u769? \\u123?x\\u125? Sub w1", ""},
        // An empty include list: every subfield.
        {13, "\\u8225?a CAFE X \\u8225?b SUB \\u8225?w W1", ""},
        {14, "\\u8225?a CAFE X \\u8225?b SUB \\u8225?w W1", ""},
        {15, "", ""},
        {-1, "", ""},
    };
    OneField f("U", "245", T("$aCaf<65 CC 81>  {x}$bSub$ww1"));
    for (const FormCase& k : cases) {
        f.r.SfdMoveFirst();
        EXPECT_EQ(Hex(f.r.FldTextFormatted(k.form, false, 10, "", "")), Hex(T(k.field))) << "field " << k.form;
        f.r.SfdMoveFirst();
        EXPECT_EQ(Hex(f.r.SfdTextFormatted(k.form)), Hex(T(k.subfield))) << "subfield " << k.form;
    }
}

// With an empty include list every subfield shows, the code as it stands; a
// caller's list still selects, an exclude list still leaves out, and
// FldTextWithOnlyCertainSubfields keeps its default of digits and letters.
TEST(FieldTextFormatted, EmptyIncludeListShowsEveryCode) {
    OneField f("U", "245", T("$aMain title$Bsecond part$cby X$#sign"));
    struct Case {
        int32_t form;
        const char* include;
        const char* exclude;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {3, "", "", "|a Main title |B second part |c by X |# sign"},
        {1, "", "", "|a Main title |B second part |c by X |# sign"},
        {8, "", "", "Main title second part by X sign"},
        {3, "", "B#", "|a Main title |c by X"},
        {3, "ac", "", "|a Main title |c by X"},
        {3, "aB", "", "|a Main title |B second part"},
        {14, "", "", "\\u8225?a MAIN TITLE \\u8225?B SECOND PART \\u8225?c BY X \\u8225?# SIGN"},
    };
    for (const Case& k : cases)
        EXPECT_EQ(f.r.FldTextFormatted(k.form, false, 10, k.include, k.exclude), k.expected)
            << k.form << " " << k.include << " " << k.exclude;
    EXPECT_EQ(f.r.FldTextWithOnlyCertainSubfields("", ""), T("$aMain title$cby X"));
}

// Form 3 of a field after edits of its second subfield: read from the subfields where each has a
// one-octet code and no delimiter in its text, and as the spaced text of the field where a
// delimiter stands in a code or a text.
TEST(FieldTextFormatted, BarsAfterEditsOfSubfields) {
    struct Case {
        const char* name;
        std::function<void(Utf8MarcRecordClass&)> edit;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"unedited", [](Utf8MarcRecordClass&) {}, "|a One |b Two |c Three"},
        {"deleted", [](Utf8MarcRecordClass& r) { r.SfdDelete(false); }, "|a One |c Three"},
        {"emptied", [](Utf8MarcRecordClass& r) { r.SfdText(""); }, "|a One |c Three"},
        {"added without code", [](Utf8MarcRecordClass& r) { r.SfdAdd("", "none"); },
         "|a One |b Two |c Three |9 none"},
        {"delimiter in text", [](Utf8MarcRecordClass& r) { r.SfdText(T("T$wo")); }, "|a One |b T |w o |c Three"},
        {"delimiter as code", [](Utf8MarcRecordClass& r) { r.SfdCode(T("$")); }, "|a One |  |T wo |c Three"},
    };
    for (const Case& c : cases) {
        OneField f("U", "245", T("$aOne$bTwo$cThree"));
        f.r.SfdMoveFirst();
        f.r.SfdMoveNext();
        c.edit(f.r);
        EXPECT_EQ(f.r.FldTextFormatted(3, false, 10, "", ""), c.expected) << c.name;
    }
}

TEST(FieldTextFormatted, NoCurrentFieldOrSubfieldGivesNothing) {
    OneField f("U", "245", T("$aTitle$bSub"));
    f.r.SfdMoveTop();
    EXPECT_EQ(f.r.SfdTextFormatted(3), "");
    f.r.FldPointer(-1);
    for (int32_t form = 0; form <= 14; ++form) {
        EXPECT_EQ(f.r.FldTextFormatted(form, true, 10, "ab", ""), "") << form;
        EXPECT_EQ(f.r.SfdTextFormatted(form), "") << form;
    }
}

// Forms 4, 13 and 14 walk the live subfields and leave no current subfield.
TEST(FieldTextFormatted, SubfieldWalks) {
    OneField f("U", "650", T("$aOne (x)$0zz$bTwo$wabc$cGone$dThree"));
    ASSERT_TRUE(f.r.SfdFindFirst("c", ""));
    f.r.SfdDelete(false);
    struct Case {
        int32_t form;
        const char* include;
        const char* exclude;
        bool wrapper;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {4, "a", "b", false, "One (x) <24>b Two <24>d Three"},
        // An empty include list takes every live subfield, in the walk's order.
        {13, "", "", true,
         kWrapperHead + "20 \\u8225?a ONE X \\u8225?b TWO \\u8225?d THREE \\u8225?0 ZZ \\u8225?w ABC\\par}"},
        {13, "abcd", "b", false, "\\u8225?a ONE X \\u8225?d THREE"},
        {14, "cd", "", true, kWrapperHead + "20 \\u8225?d THREE\\par}"},
    };
    for (const Case& k : cases) {
        f.r.SfdMoveFirst();
        EXPECT_EQ(Hex(f.r.FldTextFormatted(k.form, k.wrapper, 10, k.include, k.exclude)), Hex(T(k.expected)))
            << k.form << " " << k.include;
        EXPECT_EQ(f.r.SfdPointer(), -1) << k.form;
        EXPECT_EQ(f.r.SfdTextFormatted(3), "") << k.form;
    }
}

TEST(FieldTextFormatted, ByTagControlFieldsAndEightBitText) {
    OneField linked("U", "880", T("$6245-01$aT"));
    EXPECT_EQ(linked.r.FldTextFormatted(5, false, 10, "", ""), "|6 245-01 |a T");
    OneField control("U", "001", "ab\\c{");
    EXPECT_EQ(control.r.FldTextFormatted(0, false, 10, "", ""), "ab\\c{");
    EXPECT_EQ(control.r.FldTextFormatted(10, false, 10, "", ""), "ab\\u92?c\\u123?");
    OneField marc8("M", "245", T("$a<E2>e(1)$bx"));
    EXPECT_EQ(marc8.r.FldTextFormatted(10, false, 10, "", ""), "\\u8225?a e\\u769?(1) \\u8225?b x");
    EXPECT_EQ(marc8.r.FldTextFormatted(4, false, 10, "", ""), "(acute)e(1) $b x");
    marc8.r.SfdMoveFirst();
    EXPECT_EQ(marc8.r.SfdTextFormatted(7), "e(1)");
}

TEST(FieldTextFormatted, WrapperSizeMustFitSixteenBits) {
    OneField f("U", "245", T("$aT"));
    EXPECT_EQ(f.r.FldTextFormatted(10, true, 0, "", ""), kWrapperHead + "0 \\u8225?a T\\par}");
    EXPECT_EQ(f.r.FldTextFormatted(12, true, -2, "", ""), kWrapperHead + "-4 T\\par}");
    EXPECT_EQ(f.r.FldTextFormatted(3, true, 16384, "", ""), "|a T");
    try {
        f.r.FldTextFormatted(10, true, 16384, "", "");
        ADD_FAILURE();
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), ErrorNumber::Overflow);
    }
}

}  // namespace
