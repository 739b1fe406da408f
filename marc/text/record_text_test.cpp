#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/raised_error.h"
#include "marc/display/display_test_text.h"
#include "marc/record/marc_record.h"
#include "marc/text/fixed_field_block.h"

namespace {

using display_test::T;

const std::string kCrLf = "\r\n";

// A new book record in UTF-8 without its 005 and with the 008 given, then
// the fields listed ("tag", "indicators", text), the cursor on the last.
struct Record {
    Record(const std::string& s008, const std::vector<std::vector<std::string>>& fields) {
        r.CharacterSetOut("U");
        r.NewRecord("a", "m");
        r.FldFindFirst("005", "");
        r.FldDelete();
        r.FldFindFirst("008", "");
        if (s008.empty()) r.FldDelete();
        else r.FldText(s008);
        for (const auto& f : fields) r.FldAdd(f[0], f[1], T(f[2]), false);
        r.FldChangedClearAll();
    }
    Utf8MarcRecordClass r;
};

const std::string k008 = "850101s1985    nyu||||||||||||000 0 eng d";

TEST(TextFormatted, RawTextOfTheRecord) {
    Record leaderOnly("", {});
    EXPECT_EQ(leaderOnly.r.TextRaw(), " 000     " + leaderOnly.r.Leader());

    Record book(k008, {{"001", "", "ab<C3 A9>"}, {"245", "10", "$aTitle$bSub"}, {"650", " 0", "$aX"}});
    EXPECT_EQ(book.r.TextRaw(), " 000     " + book.r.Leader() + kCrLf + " 008     " + k008 + kCrLf +
                                    " 001     ab\\&HC3\\&HA9" + kCrLf + " 245:10: |a Title |b Sub" + kCrLf +
                                    " 650: 0: |a X");
    // A tag list without "000" starts with the first listed field's line end.
    EXPECT_EQ(book.r.TextFormatted(3, 2, "245", false, 10), kCrLf + " 245:10: |a Title |b Sub");
}

// Every subfield shows, whatever its code: an upper-case letter, a damaged
// code, a sign.
TEST(TextFormatted, EverySubfieldCodeShows) {
    Record book(k008, {{"245", "10", "$aMain title$Bsecond part$cby X"}, {"246", "3 ", "$#Damaged$<E9>Latin"}});
    const std::string sRaw = book.r.TextRaw();
    EXPECT_NE(sRaw.find(" 245:10: |a Main title |B second part |c by X"), std::string::npos) << sRaw;
    EXPECT_NE(sRaw.find(" 246:3 : |# Damaged |" + T("<E9>") + " Latin"), std::string::npos) << sRaw;
    const std::string sText = book.r.TextFormatted(1, 3, "", false, 10);
    EXPECT_NE(sText.find(" 245:10: |a Main title |B second part |c by X"), std::string::npos) << sText;
    const std::string sRtf = book.r.TextFormatted(10, 3, "245", false, 10);
    EXPECT_NE(sRtf.find("B second part"), std::string::npos) << sRtf;
}

TEST(TextFormatted, HeadMarksAndTagList) {
    Record book(k008, {{"245", "10", "$aTitle"}, {"650", " 0", "$aX"}, {"500", "  ", "$aNote"}});
    book.r.FldFindFirst("245", "");
    book.r.FldChanged(true);
    book.r.FldFindFirst("500", "");
    book.r.FldDelete();
    const std::string s008Shown = "850101s1985    nyu????????????000 0 eng d";
    const std::string head = FixedFieldBlock(1, "B", book.r.Leader(), s008Shown, kCrLf, false);
    ASSERT_FALSE(head.empty());
    EXPECT_EQ(book.r.TextFormatted(8, 1, "", false, 10), head + kCrLf + "*245:10: Title" + kCrLf + " 650: 0: X");
    // No block: the text begins with the first line end.
    for (int32_t style : {3, -1})
        EXPECT_EQ(book.r.TextFormatted(8, style, "", false, 10), kCrLf + "*245:10: Title" + kCrLf + " 650: 0: X");
    EXPECT_EQ(book.r.TextFormatted(8, 1, "650 245", false, 10), kCrLf + "*245:10: Title" + kCrLf + " 650: 0: X");
    EXPECT_EQ(book.r.TextFormatted(8, 1, "1245", false, 10), kCrLf + "*245:10: Title");
    // Form 12 keeps CR LF and has no document.
    EXPECT_EQ(book.r.TextFormatted(12, 3, "245", true, 10), kCrLf + "*245:10: Title");
}

TEST(TextFormatted, RtfLinesAndDocument) {
    // A control field that holds RTF's reserved characters.
    Record book(k008, {{"007", "", "a\\{<C3 A9>"}, {"245", "1{", "$aT{"}});
    EXPECT_EQ(book.r.TextFormatted(10, 3, "", false, 10),
              "\\par  007     a\\u92?\\u123?\\u92?&HC3\\u92?&HA9\\par  245:1 : \\u8225?a T\\u123?");
    const std::string doc = book.r.TextFormatted(10, 3, "245", true, 2);
    EXPECT_EQ(doc.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0\\formshade\\deflang1033{\\stylesheet {\\ql ", 0), 0u);
    EXPECT_NE(doc.find("Normal Table;}}{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial Unicode MS;}{\\f1\\fmodern"
                       "\\fprq1\\fcharset0 Courier New;}}{\\colortbl;\\red0\\green0\\blue0;"),
              std::string::npos);
    EXPECT_NE(doc.find("\\red225\\green255\\blue225;}\\viewkind4\\uc1\\pard\\plain \\ql \\fi-1000\\li1000\\ri0"),
              std::string::npos);
    const std::string tail =
        "\\langfenp1033\\f1\\fs20 \\f0\\fs20 \\f0\\par  \\f1  245:1 : \\f0 \\u8225?a T\\u123?\\par}";
    EXPECT_EQ(doc.substr(doc.size() - tail.size()), tail);
    EXPECT_NE(book.r.TextFormatted(11, 3, "", true, 327).find("\\fi-32700\\li32700"), std::string::npos);
}

TEST(TextFormatted, CurrentFieldComesBackOnEveryWayOut) {
    Record book(k008, {{"245", "10", "$aTitle$bSub"}, {"650", " 0", "$aX"}});
    ASSERT_TRUE(book.r.FldFindFirst("245", ""));
    const int16_t entry = book.r.FldPointer();
    book.r.TextFormatted(13, 1, "", true, 10);
    EXPECT_EQ(book.r.FldPointer(), entry);
    EXPECT_EQ(book.r.SfdCode(), "a");
    try {
        book.r.TextFormatted(10, 1, "", true, 328);
        ADD_FAILURE();
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), ErrorNumber::Overflow);
    }
    EXPECT_EQ(book.r.FldPointer(), entry);
    book.r.FldPointer(-1);
    book.r.TextRaw();
    EXPECT_EQ(book.r.FldPointer(), -1);
}

}  // namespace

namespace {

bool SevenBit(const std::string& s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// Braces that are RTF's own (not written as escapes) pair up.
bool Balanced(const std::string& s) {
    int depth = 0;
    for (char c : s) {
        depth += c == '{' ? 1 : c == '}' ? -1 : 0;
        if (depth < 0) return false;
    }
    return depth == 0;
}

// Records with diacritics, Hebrew, Greek and Cyrillic, in UTF-8 and MARC-8,
// in every form of every member: the RTF forms are 7-bit RTF whose braces
// pair up and which shows the other scripts as escapes.
TEST(TextFormatted, ScriptsInEveryForm) {
    struct Script {
        const char* set;
        std::vector<std::vector<std::string>> fields;
    };
    const std::vector<Script> scripts = {
        {"U",
         {{"245", "10", "$aCaf<C3 A9> (x)$bnai<CC 88>ve"},
          {"880", "10", "$6245-01/(2/r$a<D7 A9><D7 9C><D7 95><D7 9D>"},
          {"246", "1 ", "$a<CE BB><CF 86><CE B5>"},
          {"700", "1 ", "$a<D0 9F><D1 80><D0 B8>"}}},
        {"M",
         {{"245", "10", "$aCaf<E2>e (x)$bna<E8>ive"},
          {"880", "10", "$6245-01/(2/r$a<1B 28 32>`abc<1B 28 42>"},
          {"246", "1 ", "$a<1B 28 53>ABC<1B 28 42>"},
          {"700", "1 ", "$a<1B 28 4E>pqr<1B 28 42>"}}},
    };
    for (const Script& script : scripts) {
        Utf8MarcRecordClass r;
        r.CharacterSetOut(script.set);
        r.NewRecord("a", "m");
        for (const auto& f : script.fields) r.FldAdd(f[0], f[1], T(f[2]), false);
        for (int32_t form = 0; form <= 14; ++form) {
            const bool bRtf = form >= 10;
            for (int32_t style = 0; style <= 3; ++style) {
                for (bool bWrapper : {false, true}) {
                    const std::string text = r.TextFormatted(form, style, "", bWrapper, 10);
                    if (bRtf && form != 12) {
                        EXPECT_TRUE(SevenBit(text)) << script.set << " " << form << " " << style;
                        EXPECT_TRUE(Balanced(text)) << script.set << " " << form << " " << style;
                    }
                }
            }
            for (const auto& f : script.fields) {
                ASSERT_TRUE(r.FldFindFirst(f[0], ""));
                const std::string field = r.FldTextFormatted(form, true, 10, "a", "");
                if (bRtf) {
                    EXPECT_TRUE(SevenBit(field) && Balanced(field)) << script.set << " " << form << f[0];
                }
                if (form == 10 && f[0] != "245") {
                    EXPECT_NE(field.find("\\u"), std::string::npos) << script.set;
                }
                r.SfdMoveFirst();
                r.SfdTextFormatted(form);
            }
        }
        // Plain text and proposals of a UTF-8 record leave the other scripts out.
        for (const char* tag : {"246", "700"}) {
            if (std::string(script.set) != "U") break;
            ASSERT_TRUE(r.FldFindFirst(tag, ""));
            EXPECT_EQ(r.FldTextFormatted(4, false, 10, "", ""), "") << script.set << tag;
            r.SfdMoveFirst();
            EXPECT_EQ(r.SfdTextFormatted(7), "") << script.set << tag;
        }
        ASSERT_TRUE(r.FldFindFirst("245", ""));
        EXPECT_EQ(r.FldTextFormatted(4, false, 10, "", ""), "Caf(acute)e (x) $b na(umlaut)ive") << script.set;
    }
}

}  // namespace
