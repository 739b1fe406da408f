#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "chars/test_octets.h"
#include "common/runtime.h"
#include "marc/display/diacritic_label_table.h"
#include "marc/display/display_test_text.h"
#include "marc/record/marc_record.h"

namespace {

using diacritic_labels::DiacriticLabelEntry;
using diacritic_labels::DiacriticLabelTable;
using diacritic_labels::kDiacriticLabelCount;
using display_test::B;
using display_test::Hex;
using test_octets::U;

std::string L(const std::string& name) { return "<-" + name + "->"; }

class DiacriticLabels : public ::testing::Test, protected display_test::RecordsBySet {};

// The counts and ranges of the three groups, distinct names of the allowed
// characters only, and the getters giving each MARC character's code point
// in a UTF-8 record and its octet in a MARC-8 record.
TEST_F(DiacriticLabels, TableGroupsNamesAndGetters) {
    ASSERT_EQ(kDiacriticLabelCount, 378);
    std::set<std::string_view> names;
    std::set<uint32_t> codes, hebrew, arabic;
    for (const DiacriticLabelEntry& e : DiacriticLabelTable) {
        names.insert(e.Name);
        codes.insert(e.Code);
        for (char c : e.Name)
            EXPECT_TRUE(rt::IsAsciiLetter(c) || rt::IsAsciiDigit(c) || std::string_view(" ()-?!").find(c) != std::string_view::npos)
                << e.Name;
        EXPECT_EQ(e.Name.find("<-"), std::string_view::npos) << e.Name;
        EXPECT_EQ(e.Name.find("->"), std::string_view::npos) << e.Name;
        if (!diacritic_labels::IsScriptLabel(e)) continue;
        (e.Code < 0x0600 ? hebrew : arabic).insert(e.Code);
        EXPECT_EQ(e.Name.substr(0, 7), e.Code < 0x0600 ? "Hebrew " : "Arabic ") << e.Name;
    }
    EXPECT_EQ(names.size(), 378u);
    EXPECT_EQ(codes.size(), 378u);

    const std::vector<std::pair<uint32_t, uint32_t>> hebrewRanges = {
        {0x0591, 0x05A1}, {0x05A3, 0x05B9}, {0x05BB, 0x05C4}, {0x05D0, 0x05EA}, {0x05F0, 0x05F4}};
    const std::vector<std::pair<uint32_t, uint32_t>> arabicRanges = {
        {0x0600, 0x0603}, {0x060C, 0x0615}, {0x061B, 0x061B}, {0x061F, 0x061F},
        {0x0621, 0x063A}, {0x0640, 0x0658}, {0x0660, 0x06FF}};
    std::set<uint32_t> expectedHebrew, expectedArabic;
    for (const auto& [a, b] : hebrewRanges)
        for (uint32_t c = a; c <= b; ++c) expectedHebrew.insert(c);
    for (const auto& [a, b] : arabicRanges)
        for (uint32_t c = a; c <= b; ++c) expectedArabic.insert(c);
    EXPECT_EQ(hebrew.size(), 82u);
    EXPECT_EQ(arabic.size(), 227u);
    EXPECT_EQ(hebrew, expectedHebrew);
    EXPECT_EQ(arabic, expectedArabic);

    Utf8MarcRecordClass& utf8 = In("U");
    Utf8MarcRecordClass& marc8 = In("M");
    std::set<uint8_t> octets;
    for (int i = 0; i < diacritic_labels::kMarcLabelCount; ++i) {
        const DiacriticLabelEntry& e = DiacriticLabelTable[i];
        if (!e.Getter) {
            EXPECT_LT(i, 3);
            EXPECT_EQ(e.Code, e.Marc8);
            continue;
        }
        EXPECT_EQ(Hex((utf8.*e.Getter)()), Hex(U(e.Code))) << e.Name;
        if (i < diacritic_labels::kEightBitLabelCount) {
            EXPECT_EQ(Hex((marc8.*e.Getter)()), Hex(std::string(1, static_cast<char>(e.Marc8)))) << e.Name;
            octets.insert(e.Marc8);
        } else {
            EXPECT_EQ((marc8.*e.Getter)(), "") << e.Name;
        }
    }
    EXPECT_EQ(octets.size(), 59u);
}

// Label names by the naming rule, its capitals and its exceptions, letter
// for letter, as the writer gives them in a UTF-8 record.
TEST_F(DiacriticLabels, ScriptLabelNames) {
    const std::vector<std::pair<uint32_t, std::string>> cases = {
        {0x05D0, "Hebrew letter alef"},
        {0x05BC, "Hebrew point dagesh or mapiq"},
        {0x05F0, "Hebrew ligature Yiddish double vav"},
        {0x05F2, "Hebrew ligature Yiddish double yod"},
        {0x0591, "Hebrew accent etnahta"},
        {0x059D, "Hebrew geresh muqdam"},
        {0x05B6, "Hebrew point sergol"},
        {0x05C2, "Hebrew sin dot"},
        {0x05F4, "Hebrew punctuation gershayim"},
        {0x0600, "Arabic number sign"},
        {0x0627, "Arabic letter alef"},
        {0x064B, "Arabic fathatan"},
        {0x06CC, "Arabic letter Farsi yeh"},
        {0x06C5, "Arabic letter Kirghiz oe"},
        {0x06C9, "Arabic letter Kirghiz yu"},
        {0x06FD, "Arabic sign Sindhi ampersand"},
        {0x06FE, "Arabic sign Sindhi postposition men"},
        {0x0610, "Arabic sign sallallahou"},
        {0x0660, "Arabic digit 0"},
        {0x0669, "Arabic digit 9"},
        {0x06F0, "Arabic digit 0 extended"},
        {0x06F7, "Arabic digit 7 extended"},
        {0x06F8, "Arabic  digit 8 extended"},
        {0x06F9, "Arabic digit 9 extended"},
        {0x0670, "Arabic letter superscirpt alef"},
        {0x0677, "Arabic letter U with hamza above"},
        {0x068A, "Arabic letter dal with dot below below"},
        {0x0691, "Arabic letterr rreh"},
        {0x0692, "Arabic letter reh with small V"},
        {0x0695, "Arabic letter reh with small V below"},
        {0x0696, "Arabic letter reh with dot below and dot above"},
        {0x0697, "Arabic letter reh with two dots above"},
        {0x06B5, "Arabic letter lam with small V"},
        {0x06B9, "Arabic letter noon with dot"},
        {0x06CE, "Arabic letter yeh with small v"},
        {0x06EE, "Arabic letter dal with inverted v"},
        {0x06EF, "Arabic letter reh with inverted v"},
        {0x06FF, "Arabic letter heh with inverted v"},
    };
    Utf8MarcRecordClass& record = In("U");
    for (const auto& [code, name] : cases)
        EXPECT_EQ(record.TranslateDiacriticsIntoLabels(U(code)), L(name)) << std::hex << code;
}

// Every character of the table that a record of the set writes becomes its
// label and comes back, alone and all together between ASCII letters.
TEST_F(DiacriticLabels, EveryTableCharacterThroughWriterAndReader) {
    for (const char* set : {"U", "M", "O", "V"}) {
        Utf8MarcRecordClass& record = In(set);
        const bool utf8 = std::string(set) == "U";
        std::string text, labelled;
        int written = 0;
        for (const DiacriticLabelEntry& e : DiacriticLabelTable) {
            std::string c;
            if (e.Getter) c = (record.*e.Getter)();
            else if (e.Code < 0x80) c = std::string(1, static_cast<char>(e.Code));
            else if (utf8) c = U(e.Code);
            if (c.empty()) continue;
            ++written;
            EXPECT_EQ(record.TranslateDiacriticsIntoLabels(c), L(std::string(e.Name))) << e.Name << " in " << set;
            EXPECT_EQ(Hex(record.TranslateLabelsIntoDiacritics(L(std::string(e.Name)))), Hex(c))
                << e.Name << " in " << set;
            text += "a" + c;
            labelled += "a" + L(std::string(e.Name));
        }
        EXPECT_EQ(written, utf8 ? 378 : 62) << set;
        // An 8-bit record labels its text as read into UTF-8, where a mark
        // follows the letter it stands before in MARC-8.
        if (utf8) {
            EXPECT_EQ(record.TranslateDiacriticsIntoLabels(text), labelled) << set;
        }
        EXPECT_EQ(Hex(record.TranslateLabelsIntoDiacritics(labelled)), Hex(text)) << set;
    }
}

// The writer's cases, in each listed set; "{..}" are octets in hexadecimal.
TEST_F(DiacriticLabels, WriterCases) {
    const std::vector<display_test::SetCase> cases = {
        {"UMOV", "", ""},
        {"UMOV", "plain text 123 <b> & [c]", "plain text 123 <b> & [c]"},
        {"U", "e{CC 81}", "e<-acute->"},
        // An 8-bit record labels its text as the same record loaded into
        // UTF-8 reads it: the mark after its letter.
        {"MOV", "{E2}e", "e<-acute->"},
        {"UMOV", "_", "<-underscore (spacing)->"},
        {"UMOV", "~x^", "<-tilde (spacing)->x<-circumflex (spacing)->"},
        {"UMOV", "^_", "<-circumflex (spacing)-><-underscore (spacing)->"},
        // Entries 29 to 33 as the output set reads its octets (in "V" 0xC0
        // is the superscript zero; 0x90 is no character of "M" and "O").
        {"V", "{90}{C0}{A0}{94}{95}{96}", "<-degree->{E2 81 B0}<-l script-><-sharp-><-? inverted-><-! inverted->"},
        {"MO", "{C0}{C4}{C5}{C6}{90}", "<-degree-><-sharp-><-? inverted-><-! inverted->[MARC+90]"},
        {"MO", "{C1}{BE}", "<-l script-><-l script->"},
        {"U", "{C2 B0}{E2 84 93}", "<-degree-><-l script->"},
        // Hebrew and Arabic characters in a UTF-8 record, and characters of
        // those blocks without an entry.
        {"U", "{D7 90}{D6 B6}{DB B8}", "<-Hebrew letter alef-><-Hebrew point sergol-><-Arabic  digit 8 extended->"},
        {"U", "{D6 90}{D6 BA}{D8 A0}{EF AC 9D}", "{D6 90}{D6 BA}{D8 A0}{EF AC 9D}"},
        // Precomposed letters and the spacing acute stay; direction controls get labels.
        {"U", "{C3 A9}{C2 B4}{E2 80 8F}{E2 80 AE}", "{C3 A9}{C2 B4}<-RTL-><-RTLO->"},
        {"U", "{C3 B8}{C5 92}{E2 99 AD}{EF B8 A1}", "<-o slash-><-OE ligature-><-flat-><-ligature right half->"},
        // Registered, plus-minus, copyright and the Greek letters have no label.
        {"U", "{C2 AE}{C2 B1}{C2 A9}{CE B1}", "{C2 AE}{C2 B1}{C2 A9}{CE B1}"},
        {"MOV", "{AA}{AB}", "{C2 AE}{C2 B1}"},
        // A lead octet without its continuation octets is no character.
        {"U", "{D7}A", "{D7}A"},
        {"U", "x{CC}", "x{CC}"},
        {"U", "{E2 80}_", "{E2 80}<-underscore (spacing)->"},
        {"U", "{CC}{CC 81}", "{CC}<-acute->"},
        // Stray continuation octets stay where they are.
        {"U", "{81}_{CC 81}{81}", "{81}<-underscore (spacing)-><-acute->{81}"},
        // An 8-bit text is read as MARC-8 (a Hebrew run gets Hebrew labels),
        // the octets of UTF-8 text among them, and labelled in UTF-8.
        {"M", "{1B}(2`{1B}(B", "<-Hebrew letter alef->"},
        {"M", "{E2 80 8F}", "[MARC+80][MARC+8F]<-acute->"},
        {"MO", "{D7 90}", "{E2 82 87}[MARC+90]"},
        {"V", "{D7 90}", "{E2 82 87}<-degree->"},
    };
    for (const display_test::SetCase& k : cases)
        for (const char* set = k.sets; *set; ++set) {
            Utf8MarcRecordClass& record = In(std::string(1, *set));
            const std::string out = record.TranslateDiacriticsIntoLabels(B(k.in));
            EXPECT_EQ(Hex(out), Hex(B(k.out))) << k.in << " in " << *set;
            // Running the writer over its own output changes nothing (an
            // 8-bit record's output is UTF-8, no text of the record).
            if (*set == 'U') {
                EXPECT_EQ(Hex(record.TranslateDiacriticsIntoLabels(out)), Hex(out)) << k.in << " in " << *set;
            }
        }
}

// The one-character members judge the object's current character by its
// 4-digit UcsHex alone, in any record, and give its octets otherwise.
TEST_F(DiacriticLabels, OneCharacterMembers) {
    struct Case {
        std::string utf8;
        std::string hebrew;
        std::string arabic;
    };
    const std::vector<Case> cases = {
        {U(0x05D0), L("Hebrew letter alef"), U(0x05D0)},
        {U(0x0627), U(0x0627), L("Arabic letter alef")},
        {U(0x0697), U(0x0697), L("Arabic letter reh with two dots above")},
        {U(0x0604), U(0x0604), U(0x0604)},
        {U(0x05C5), U(0x05C5), U(0x05C5)},
        {"A", "A", "A"},
        {U(0x0301), U(0x0301), U(0x0301)},
        {U(0x1F600), U(0x1F600), U(0x1F600)},
    };
    for (const char* set : {"U", "M"}) {
        Utf8MarcRecordClass& record = In(set);
        Utf8CharClass ch;
        for (const Case& k : cases) {
            ch.Utf8Char(k.utf8);
            EXPECT_EQ(record.TranslateDiacriticsIntoLabels_OneHebrewCharacter(ch), k.hebrew) << Hex(k.utf8);
            EXPECT_EQ(record.TranslateDiacriticsIntoLabels_OneArabicCharacter(ch), k.arabic) << Hex(k.utf8);
        }
    }
}

// The reader's cases, in each listed set.
TEST_F(DiacriticLabels, ReaderCases) {
    const std::vector<display_test::SetCase> cases = {
        {"UMOV", "", ""},
        {"UMOV", "no labels here", "no labels here"},
        {"MOV", "<-acute->", "{E2}"},
        {"U", "<-acute->", "{CC 81}"},
        {"MOV", "<-acute-><-grave->", "{E2 E1}"},
        {"MOV", "x<-acute->", "x{E2}"},
        {"MOV", "<-acute->x", "{E2}x"},
        // Names compare exactly.
        {"UMOV", "<-Acute->", "<-Acute->"},
        {"UMOV", "<- acute->", "<- acute->"},
        {"UMOV", "<-acute ->", "<-acute ->"},
        {"UMOV", "<-acute", "<-acute"},
        {"UMOV", "<-acute- >", "<-acute- >"},
        {"UMOV", "<->", "<->"},
        {"UMOV", "<-->", "<-->"},
        {"UMOV", "<-x->", "<-x->"},
        // The candidate ends at the first "->" after its "<-".
        {"UMOV", "<-acute-->", "<-acute-->"},
        {"MOV", "<-acute->->", "{E2}->"},
        {"MOV", "<-a-><-acute->", "<-a->{E2}"},
        // Nested markers: the inner label is read first.
        {"MOV", "<-<-acute->->", "<-{E2}->"},
        {"MOV", "<-<-acute->", "<-{E2}"},
        // Direction labels: the control in UTF-8, nothing elsewhere.
        {"U", "a<-RTL->b", "a{E2 80 8F}b"},
        {"MOV", "a<-RTL->b", "ab"},
        // Hebrew and Arabic labels give UTF-8 in a UTF-8 record only.
        {"U", "<-Hebrew letter alef->", "{D7 90}"},
        {"MOV", "<-Hebrew letter alef->", "<-Hebrew letter alef->"},
        {"U", "<-Arabic  digit 8 extended->", "{DB B8}"},
        {"U", "<-Arabic digit 8 extended->", "<-Arabic digit 8 extended->"},
        {"U", "<-Arabic letter reh with dot below and dot above->", "{DA 96}"},
        {"U", "<-Arabic letter reh with two dots above->", "{DA 97}"},
        {"UMOV", "<-underscore (spacing)->", "_"},
        {"MOV", "<-underscore (non-spacing)->", "{F6}"},
        {"U", "<-underscore (non-spacing)->", "{CC B2}"},
        // Entries 29 to 33 follow the output set at the time of the call.
        {"V", "<-degree-><-l script->", "{90 A0}"},
        {"M", "<-degree-><-l script->", "{C0 C1}"},
        {"O", "<-degree-><-l script->", "{C0 BE}"},
        {"U", "<-degree->", "{C2 B0}"},
    };
    ExpectInEachSet(
        cases, [](Utf8MarcRecordClass& record, const std::string& text) { return record.TranslateLabelsIntoDiacritics(text); },
        B);
}

// The same record reads 8-bit text by its output set at the time of the call.
TEST_F(DiacriticLabels, OutputSetChangeChangesLabels) {
    Utf8MarcRecordClass record;
    record.CharacterSetOut("M");
    EXPECT_EQ(record.TranslateDiacriticsIntoLabels(B("{90}{C0}")), B("[MARC+90]<-degree->"));
    record.CharacterSetOut("V");
    EXPECT_EQ(record.TranslateDiacriticsIntoLabels(B("{90}{C0}")), B("<-degree->{E2 81 B0}"));
    record.CharacterSetOut("U");
    EXPECT_EQ(record.TranslateDiacriticsIntoLabels(B("{C2 B0}")), B("<-degree->"));
}

}  // namespace
