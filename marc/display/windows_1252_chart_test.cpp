// A record held in Windows-1252 (output set "L") in the display members: each
// display and label gives what it gives for the same text read by the
// Windows-1252 chart into UTF-8, in a UTF-8 record.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "marc/display/display_test_text.h"
#include "marc/record/marc_record.h"

namespace {

using display_test::Hex;

const std::string kCp1252 = "Soci\xE9t\xE9 \x80 5 Stra\xDF" "e, O\x92" "Brien \x85 \x99";
const std::string kUtf8 =
    "Soci\xC3\xA9t\xC3\xA9 \xE2\x82\xAC 5 Stra\xC3\x9F" "e, O\xE2\x80\x99" "Brien \xE2\x80\xA6 \xE2\x84\xA2";

// A record in the set with one 245 whose $a holds the text; the cursor on it.
struct OneTitle {
    OneTitle(const char* set, const std::string& text) {
        if (std::string(set) == "L") r.CharacterSetIn("L");
        r.CharacterSetOut(set);
        r.NewRecord("a", "m");
        r.FldAdd("245", "10", "\x1F" "a" + text + "\x1F" "bsub", false);
    }
    Utf8MarcRecordClass r;
};

TEST(Windows1252Record, DisplaysAsTheSameTextInUtf8) {
    OneTitle l("L", kCp1252);
    OneTitle u("U", kUtf8);
    struct Display {
        const char* what;
        std::function<std::string(Utf8MarcRecordClass&, const std::string&)> show;
    };
    const std::vector<Display> displays = {
        {"Windows-1252, flavour 1", [](auto& r, const auto& s) { return r.Marc2MsoftAscii(s, 1); }},
        {"Latin-1 form, flavour 2", [](auto& r, const auto& s) { return r.Marc2MsoftAscii(s, 2); }},
        {"Windows-1252, flavour 9", [](auto& r, const auto& s) { return r.Marc2MsoftAscii(s, 9); }},
        {"labels", [](auto& r, const auto& s) { return r.TranslateDiacriticsIntoLabels(s); }},
        {"RTF", [](auto& r, const auto& s) { return r.TranslateMarc2RTF(s, false, 10); }},
        {"RTF with its wrapper", [](auto& r, const auto& s) { return r.TranslateMarc2RTF(s, true, 12); }},
        {"plain text", [](auto& r, const auto& s) { return r.Marc2PlainText(s); }},
        {"subject proposal", [](auto& r, const auto& s) { return r.Marc2SacoProposal(s); }},
    };
    for (const Display& d : displays)
        EXPECT_EQ(Hex(d.show(l.r, kCp1252)), Hex(d.show(u.r, kUtf8))) << d.what;
    // The field's display forms (not the raw and hex forms, which show the
    // octets as held).
    for (int32_t form : {1, 2, 4, 7, 8, 9, 10, 11, 12}) {
        EXPECT_EQ(Hex(l.r.FldTextFormatted(form, true, 10, "", "")), Hex(u.r.FldTextFormatted(form, true, 10, "", "")))
            << "field form " << form;
        l.r.SfdMoveFirst();
        u.r.SfdMoveFirst();
        EXPECT_EQ(Hex(l.r.SfdTextFormatted(form)), Hex(u.r.SfdTextFormatted(form))) << "subfield form " << form;
    }
    // What the reader sees: the Windows-1252 display is the text itself, and
    // no letter is taken for a MARC-8 mark.
    EXPECT_EQ(Hex(l.r.Marc2MsoftAscii(kCp1252, 1)), Hex(kCp1252));
    EXPECT_EQ(l.r.TranslateDiacriticsIntoLabels(kCp1252).find("<-"), std::string::npos);
    // The record itself keeps its set and its octets.
    EXPECT_EQ(l.r.CharacterSetOut(), "L");
    EXPECT_EQ(l.r.FldText(), "\x1F" "a" + kCp1252 + "\x1F" "bsub");
}

// The hex display and the raw form show the octets the record holds, so that
// the hex form read back gives the record's own text; the field forms are
// those of every 8-bit record, from the field and from the record text.
TEST(Windows1252Record, HexAndRawFormsShowTheOctetsHeld) {
    OneTitle l("L", kCp1252);
    const std::string hex =
        "Soci\\&HE9t\\&HE9 \\&H80 5 Stra\\&HDFe, O\\&H92Brien \\&H85 \\&H99";
    struct Form {
        int32_t form;
        std::string field, subfield;
    };
    const std::vector<Form> forms = {
        {0, "|a " + hex + " |b sub", hex}, {3, "|a " + kCp1252 + " |b sub", kCp1252}, {5, "|a " + hex + " |b sub", hex}};
    for (const Form& f : forms) {
        EXPECT_EQ(Hex(l.r.FldTextFormatted(f.form, false, 10, "", "")), Hex(f.field)) << "field form " << f.form;
        l.r.SfdMoveFirst();
        EXPECT_EQ(Hex(l.r.SfdTextFormatted(f.form)), Hex(f.subfield)) << "subfield form " << f.form;
        const std::string line = "245:10: " + f.field;
        if (f.form != 5) {
            EXPECT_NE(l.r.TextFormatted(f.form, 2, "245", false, 10).find(line), std::string::npos)
                << "record text form " << f.form;
        }
    }
    EXPECT_NE(l.r.TextRaw().find("245:10: |a " + kCp1252 + " |b sub"), std::string::npos);
    l.r.SfdMoveFirst();
    EXPECT_EQ(Hex(l.r.HexDisplay2Marc(l.r.SfdTextFormatted(0))), Hex(l.r.SfdText()));
    EXPECT_EQ(Hex(l.r.HexDisplay2Marc(l.r.FldTextFormatted(0, false, 10, "", ""))),
              Hex("\x1F" "a " + kCp1252 + " \x1F" "b sub"));
}

}  // namespace
