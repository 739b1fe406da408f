#include "marc/record/marc_record.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "common/raised_error.h"
#include "common/test_support.h"
#include "marc/record/leader_rules.h"
#include "marc/record/record_test_access.h"
#include "platform/clock.h"
#include "platform/events.h"

namespace {

using test_octets::O;
using test_octets::U;

const std::string kDelimiter = "\x1F";

// A text of n blanks with the given characters at the given positions.
std::string Positions(size_t n, const std::map<size_t, std::string>& set) {
    std::string s(n, ' ');
    for (const auto& [pos, text] : set) s.replace(pos, text.size(), text);
    return s;
}

// Every default that the constructor sets, checked member by member.
TEST(RecordConstruction, FreshObjectHoldsEveryDefault) {
    testsupport::TempSettingsFolder folder;  // no settings file
    Utf8MarcRecordClass record;
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);

    // No record.
    EXPECT_EQ(s.Leader, "");
    EXPECT_EQ(s.MarcRecordIn, "");
    EXPECT_EQ(s.Directory, "");
    EXPECT_EQ(s.RecordDataIn, "");
    EXPECT_EQ(s.FldCount, 0);
    EXPECT_EQ(s.Fields.size(), 1u);
    EXPECT_EQ(s.FldFirst, -1);
    EXPECT_EQ(s.FldLast, -1);
    EXPECT_EQ(s.Fld008Pointer, -1);
    EXPECT_EQ(s.FldPointer, -1);
    EXPECT_EQ(s.SfdPointer, -1);
    EXPECT_EQ(s.Fld008Length, 0);
    EXPECT_FALSE(s.NewRecordCreated);

    // Options and settings.
    EXPECT_FALSE(s.RemoveDuplicateOclcNumbers);
    EXPECT_FALSE(s.RemoveOclcAlphabeticPrefix);
    EXPECT_FALSE(s.OclcNumbersHaveLeadingZeroes);
    EXPECT_FALSE(s.RdaReCast502Fields);
    EXPECT_EQ(s.SortingIndicatorFor653Field, "9");
    EXPECT_EQ(s.NationalAuthorityInstitutions, "DLC DNLM CMalG-V");
    EXPECT_EQ(s.YearMaximum, "9999");
    EXPECT_EQ(s.YearMaximumValue, 9999);
    EXPECT_EQ(s.YearPadding, "0000");
    EXPECT_FALSE(s.AustralianSubdivisionPractice);
    EXPECT_TRUE(s.TestFieldOrder);
    EXPECT_TRUE(s.TestSubfieldOrder);
    EXPECT_FALSE(s.MakeNoChange);
    EXPECT_FALSE(s.IgnoreSfdOrder);
    EXPECT_FALSE(s.PreserveLeadingNumericSubfields);

    // Character sets, format, scheme.
    EXPECT_EQ(s.CharacterSetIn, "U");
    EXPECT_EQ(s.CharacterSetInEffective, "");
    EXPECT_EQ(s.CharacterSetOut, "U");
    EXPECT_TRUE(s.RecordIsUtf8);
    EXPECT_FALSE(s.OutputIsUlc);
    EXPECT_EQ(s.MarcRecordFormat, "B");
    EXPECT_EQ(s.NormalizationScheme, "V");
    EXPECT_EQ(s.MyUtf8Char->NormalizationScheme(), "V");
    EXPECT_EQ(s.Default8BitSet, "V");
    EXPECT_EQ(s.MyUtf8CharCallNumber, nullptr);

    // Strings of step 4 to 8 and 10.
    EXPECT_EQ(s.Marc8CurrencySigns, "$" + O("B9"));
    EXPECT_EQ(s.Marc8MathSigns, "+-=" + O("AB"));
    EXPECT_EQ(s.AsciiLower, "abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(s.AsciiUpper, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(s.Utf8AlifVariant, U(0x2BE));
    EXPECT_EQ(s.Utf8Alif, U(0x2BC));
    const std::vector<std::pair<std::string, std::string>> codes = {
        {s.Marc8CodeLSlashUpper, "A1"}, {s.Marc8CodeOSlashUpper, "A2"}, {s.Marc8CodeDSlashUpper, "A3"},
        {s.Marc8CodeThornUpper, "A4"}, {s.Marc8CodeAEUpper, "A5"}, {s.Marc8CodeOEUpper, "A6"},
        {s.Marc8CodeOHookUpper, "AC"}, {s.Marc8CodeUHookUpper, "AD"}, {s.Marc8CodeAlpha, "AF"},
        {s.Marc8CodeBeta, "BE"}, {s.Marc8CodeGamma, "BF"}, {s.Marc8CodeDegree, "C0"},
        {s.Marc8CodeLScript, "C1"}, {s.Marc8CodePressing, "C2"}, {s.Marc8CodeCopyright, "C3"},
        {s.Marc8CodeSharp, "C4"}, {s.Marc8CodeQuestionInverted, "C5"}, {s.Marc8CodeExclamationInverted, "C6"},
        {s.Marc8CodeSuperscriptPlus, "CA"}, {s.Marc8CodeSuperscriptMinus, "CB"},
        {s.Marc8CodeSuperscriptParensLeft, "CC"}, {s.Marc8CodeSuperscriptParensRight, "CD"},
        {s.Marc8CodeBraceLeft, "7B"}, {s.Marc8CodeBritishPound, "B9"}, {s.Marc8CodeEth, "BA"},
        {s.Marc8CodeFlat, "A9"}, {s.TranslationDegree, "C0"}, {s.TranslationLScriptM, "C1"},
        {s.TranslationLScriptO, "BE"}, {s.TranslationPressing, "C2"}, {s.TranslationCopyright, "C3"},
        {s.TranslationSharp, "C4"}, {s.TranslationQuestionInverted, "C5"},
        {s.TranslationExclamationInverted, "C6"}, {s.QuoteCharacter, "22"}, {s.OclcScreenFontDelimiter, "DF"},
    };
    for (const auto& [value, hex] : codes) EXPECT_EQ(value, O(hex)) << hex;
    EXPECT_EQ(s.Marc8ValueDegree, 192);
    EXPECT_EQ(s.Marc8ValuePressing, 194);
    EXPECT_EQ(s.Marc8ValueCopyright, 195);
    EXPECT_EQ(s.Marc8ValueSharp, 196);
    EXPECT_EQ(s.Marc8ValueQuestionInverted, 197);
    EXPECT_EQ(s.Marc8ValueExclamationInverted, 198);
    EXPECT_EQ(s.Subfield6Marker, kDelimiter + "6");
    EXPECT_EQ(s.Marc8SpecialUpper, O("A1 A2 A3 A4 A5 A6 AC AD"));
    EXPECT_EQ(s.Marc8SpecialLower, O("B1 B2 B3 B4 B5 B6 BC BD"));
    EXPECT_EQ(s.GreekCodesV, O("AF BE BF"));
    EXPECT_EQ(s.SuperscriptCodesV, O("C0 C1 C2 C3 C4 C5 C6 C7 C8 C9 CA CB CC CD"));
    EXPECT_EQ(s.SubscriptCodesV, O("D0 D1 D2 D3 D4 D5 D6 D7 D8 D9 DA DB DC DD"));
    EXPECT_EQ(s.OclcScreenFontCodes,
              O("C1 C2 C4 91 92 93 94 95 96 97 98 99 90 9D 9C 9A 9B 81 82 83 84 85 86 87 88 89 80 8C 8D 8A 8B BE DF FC"));
    EXPECT_EQ(s.OclcScreenFontMarcCodes,
              O("AF BE BF D1 D2 D3 D4 D5 D6 D7 D8 D9 D0 DA DB DC DD C1 C2 C3 C4 C5 C6 C7 C8 C9 C0 CA CB CC CD A0") +
                  kDelimiter + "|");
    EXPECT_EQ(s.OclcScreenFontCodes.size(), 34u);
    EXPECT_EQ(s.OclcScreenFontMarcCodes.size(), 34u);
    EXPECT_EQ(s.OclcScreenFontLabels, O("AF") + "[alpha] " + O("BE") + "[beta] " + O("BF") + "[gamma] " + O("92") +
                                          "(p) " + O("93") + "(c) " + O("94") + "# " + O("95") + "? " + O("96") +
                                          "! " + O("90 80") + " ");

    // Leader and 008 templates, checked by their set positions.
    EXPECT_EQ(s.DefaultLeader, "00000n    2200000n  4500");
    const std::string f = "|";
    EXPECT_EQ(s.Default008TemplateA,
              Positions(40, {{0, "000000n"}, {7, f}, {9, "aaannaabn"}, {28, f + "n"}, {31, "ana"}, {39, "d"}}));
    EXPECT_EQ(s.Default008TemplateB, Positions(40, {{0, "000000n"}, {29, "000"}, {33, "0"}, {39, "d"}}));
    EXPECT_EQ(s.Default008TemplateD, Positions(40, {{0, "000000n"}, {26, f}, {30, "000"}, {34, "0"}, {39, "d"}}));
    EXPECT_EQ(s.Default008TemplateF, Positions(40, {{0, "000000n"}, {18, f + f + f}, {33, f}, {39, "d"}}));
    EXPECT_EQ(s.Default008TemplateH,
              Positions(32, {{0, "0000000u"}, {12, "8"}, {16, "1001uu"}, {25, "0000000"}}));
    EXPECT_EQ(s.Default008TemplateM, Positions(40, {{0, "000000n"}, {18, f + f + f}, {39, "d"}}));
    EXPECT_EQ(s.Default008TemplateP, Positions(40, {{0, "000000n"}, {25, f}, {31, "0"}, {39, "d"}}));
    EXPECT_EQ(s.Default008TemplateQ, "000000uuuuuuunk");
    EXPECT_EQ(s.Default008TemplateS, Positions(40, {{0, "000000n"}, {19, f}, {29, "0"}, {39, "d"}}));
    EXPECT_EQ(s.Default008TemplateU,
              Positions(32, {{0, "0000000u"}, {12, "0"}, {16, "1001aa"}, {25, "0000000"}}));
    EXPECT_EQ(s.Default008TemplateW, "000000aaaaaaaa");

    // Combining marks (in the mark table's order and in name order).
    EXPECT_EQ(s.Marc8Diacritics, O("E0 E1 E2 E3 E4 E5 E6 E7 E8 E9 EA EB EC ED EE EF F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 "
                                   "FA FB FE"));
    EXPECT_EQ(s.Marc8DiacriticsAbove, O("E2 EE EA E6 EF E3 FE ED E7 E1 E9 EB EC E5 E0 E4 FA FB E8"));
    EXPECT_EQ(s.Marc8DiacriticsBelow, O("F0 F8 F4 F2 F3 F7 F1 F6 F5 F9"));
    std::string above, below, classes8, classesU;
    for (uint32_t cp : {0x301, 0x30B, 0x30A, 0x306, 0x310, 0x302, 0x313, 0x315, 0x307, 0x300, 0x30C, 0xFE20, 0xFE21,
                        0x304, 0x309, 0x303, 0xFE22, 0xFE23, 0x308, 0x342, 0x343, 0x344})
        above += U(cp);
    for (uint32_t cp : {0x327, 0x31C, 0x325, 0x323, 0x324, 0x326, 0x328, 0x332, 0x333, 0x32E, 0x345}) below += U(cp);
    const std::vector<std::tuple<std::string, uint32_t, std::string>> table = {
        {"E0", 0x309, "230"}, {"E1", 0x300, "230"}, {"E2", 0x301, "230"}, {"E3", 0x302, "230"},
        {"E4", 0x303, "230"}, {"E5", 0x304, "230"}, {"E6", 0x306, "230"}, {"E7", 0x307, "230"},
        {"E8", 0x308, "230"}, {"E9", 0x30C, "230"}, {"EA", 0x30A, "230"}, {"EB", 0xFE20, "230"},
        {"EC", 0xFE21, "230"}, {"ED", 0x315, "232"}, {"EE", 0x30B, "230"}, {"EF", 0x310, "230"},
        {"F0", 0x327, "202"}, {"F1", 0x328, "202"}, {"F2", 0x323, "220"}, {"F3", 0x324, "220"},
        {"F4", 0x325, "220"}, {"F5", 0x333, "220"}, {"F6", 0x332, "220"}, {"F7", 0x326, "220"},
        {"F8", 0x31C, "220"}, {"F9", 0x32E, "220"}, {"FA", 0xFE22, "220"}, {"FB", 0xFE23, "220"},
        {"FE", 0x313, "230"},
    };
    for (const auto& [marc8, cp, cls] : table) {
        classes8 += O(marc8) + cls;
        classesU += U(cp) + cls;
    }
    classesU += U(0x342) + "230" + U(0x343) + "230" + U(0x344) + "230" + U(0x345) + "220";
    EXPECT_EQ(s.Utf8DiacriticsAbove, above);
    EXPECT_EQ(s.Utf8DiacriticsBelow, below);
    EXPECT_EQ(s.Marc8DiacriticClasses, classes8);
    EXPECT_EQ(s.Utf8DiacriticClasses, classesU);

    // Order rules: one keep-the-order rule for the three main families.
    EXPECT_TRUE(s.OrderSetupPending);
    for (const auto* rules : {&s.FldOrderAuth, &s.FldOrderBib, &s.FldOrderHold}) {
        ASSERT_EQ(rules->size(), 6u);
        EXPECT_EQ((*rules)[1].BeginTag, "000");
        EXPECT_EQ((*rules)[1].EndTag, "999");
        EXPECT_EQ((*rules)[1].Method, 9);
    }
    EXPECT_EQ(s.FldOrderAuthCount, 1);
    EXPECT_EQ(s.FldOrderBibCount, 1);
    EXPECT_EQ(s.FldOrderHoldCount, 1);
    EXPECT_EQ(s.FldOrderOtherCount, 0);
    EXPECT_EQ(s.FldOrderAuthSlots, 5);
    EXPECT_EQ(s.FldOrderOtherSlots, 0);
    EXPECT_FALSE(s.FldOrderPairedAuth || s.FldOrderPairedBib || s.FldOrderPairedHold || s.FldOrderPairedLcBib);
    // Default subfield orders of all four families, uncompleted.
    EXPECT_EQ(s.SfdOrderAuthCount, 67);
    EXPECT_EQ(s.SfdOrderBibCount, 168);
    EXPECT_EQ(s.SfdOrderHoldCount, 1);
    EXPECT_EQ(s.SfdOrderOtherCount, 1);
    EXPECT_EQ(s.SfdOrderAuthSlots, 70);
    EXPECT_EQ(s.SfdOrderBibSlots, 170);
    EXPECT_EQ(s.SfdOrderAuth[1].Tag, "010");
    EXPECT_EQ(s.SfdOrderAuth[67].Tag, "788");
    EXPECT_EQ(s.SfdOrderBib[1].Tag, "010");
    EXPECT_EQ(s.SfdOrderBib[168].Tag, "891");
    EXPECT_EQ(s.SfdOrderHold[1].Tag, "999");
    EXPECT_EQ(s.SfdOrderOther[1].Tag, "999");
    ASSERT_EQ(s.SfdOrderOther[1].StepTop, 0);
    EXPECT_EQ(s.SfdOrderOther[1].Steps[0].StepType, 1);
    EXPECT_EQ(s.SfdOrderOther[1].Steps[0].Codes, "abcdefghijklmnopqrstuvwxyz0123456789");

    // Later-built tables stay empty.
    EXPECT_EQ(s.SeriesNumberingBrackets, "");
    EXPECT_FALSE(s.SeriesNumberingTablesReady);
    EXPECT_EQ(s.TranslationTableTop, 0);
    EXPECT_EQ(s.CombiningMarkCount, 0);
}

TEST(RecordConstruction, ReadsTheFourOptionsWithOneYieldEach) {
    testsupport::TempSettingsFolder folder;
    testsupport::WriteFile(folder.File("MarcRecordClass.INI"),
                           "[Booleans]\r\nRemoveDuplicateOclcNumbers= yes \r\nRemoveOclcAlphabeticPrefix=no\r\n"
                           "OclcNumbersHaveLeadingZeroes=\"True\"\r\nRdaReCast502fields=1\r\n");
    int yields = 0;
    platform::ScopedEventPump pump([&] { ++yields; });
    Utf8MarcRecordClass record;
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    EXPECT_EQ(yields, 4);
    EXPECT_TRUE(s.RemoveDuplicateOclcNumbers);
    EXPECT_FALSE(s.RemoveOclcAlphabeticPrefix);
    EXPECT_TRUE(s.OclcNumbersHaveLeadingZeroes);
    EXPECT_TRUE(s.RdaReCast502Fields);
}

TEST(RecordConstruction, OptionValuesAreCutToFourteenCharacters) {
    testsupport::TempSettingsFolder folder;
    // 15 characters: cut to 14 ("True          "), which still reads as True
    // after trimming; a value cut inside the word does not.
    testsupport::WriteFile(folder.File("MarcRecordClass.INI"),
                           "[Booleans]\nRemoveDuplicateOclcNumbers=\"True           x\"\n"
                           "RemoveOclcAlphabeticPrefix=\"              True\"\n");
    Utf8MarcRecordClass record;
    EXPECT_TRUE(RecordTestAccess::State(record).RemoveDuplicateOclcNumbers);
    EXPECT_FALSE(RecordTestAccess::State(record).RemoveOclcAlphabeticPrefix);
}

TEST(RecordSettings, SortingIndicatorFor653Field) {
    Utf8MarcRecordClass record;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"0", "0"}, {" 4 ", "4"}, {"", "9"}, {"   ", "9"}, {"57", "5"}, {"x", "9"}, {"x1", "9"},
    };
    for (const auto& [value, expected] : cases) {
        record.SortingIndicatorFor653Field(value);
        EXPECT_EQ(record.SortingIndicatorFor653Field(), expected) << "'" << value << "'";
    }
}

TEST(RecordSettings, NationalAuthorityInstitutionsStoresTheComparisonForm) {
    Utf8MarcRecordClass record;
    EXPECT_EQ(record.NationalAuthorityInstitutions(), "DLC DNLM CMalG-V");
    record.NationalAuthorityInstitutions("  dlc   DNLM  cmalg ");
    EXPECT_EQ(record.NationalAuthorityInstitutions(), "DLC DNLM CMALG");
    record.NationalAuthorityInstitutions("CMalG-V");
    EXPECT_EQ(record.NationalAuthorityInstitutions(), record.NormString("CMalG-V", true, "V"));
}

TEST(RecordState, SlotsOfTheTablesGrowAsDocumented) {
    FieldEntry field;
    for (int i = 0; i < 7; ++i) field.SubfieldTop = field.NewSubfieldSlot();
    EXPECT_EQ(field.SubfieldTop, 6);
    EXPECT_EQ(field.SubfieldSlots, 10);
    EXPECT_EQ(field.Subfields.size(), 11u);

    Utf8MarcRecordClass record;
    EXPECT_EQ(RecordTestAccess::NewFieldSlot(record), 0);
    EXPECT_EQ(RecordTestAccess::NewFieldSlot(record), 1);
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    EXPECT_EQ(s.FldCount, 2);
    EXPECT_EQ(s.Fields.size(), 3u);
    EXPECT_EQ(s.Fields[1].FirstSubfield, -1);
    EXPECT_EQ(s.Fields[1].SubfieldSlots, 0);

    RecordTestAccess::MutableState(record).FldCount = 32767;
    EXPECT_THROW(RecordTestAccess::NewFieldSlot(record), RaisedError);
}

TEST(RecordOrderRules, FieldOrderRulesChangeOnlyWithoutFields) {
    Utf8MarcRecordClass record;
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    record.ClearFldOrder("B");
    EXPECT_EQ(s.FldOrderBibCount, 0);
    record.SetFldOrder("B", "880", "880", 8);
    EXPECT_EQ(s.FldOrderBibCount, 0);
    EXPECT_TRUE(s.FldOrderPairedBib);
    record.SetFldOrder("D", "880", "899", 10);  // D is of the bibliographic family
    ASSERT_EQ(s.FldOrderBibCount, 1);
    EXPECT_EQ(s.FldOrderBib[1].Method, 2);
    EXPECT_EQ(s.FldOrderBib[1].EndTag, "899");
    EXPECT_TRUE(s.FldOrderPairedLcBib);
    record.SetFldOrder("Q", "880", "", 8);  // the other formats share the holdings flag
    EXPECT_TRUE(s.FldOrderPairedHold);
    EXPECT_EQ(s.FldOrderOtherCount, 0);
    for (int i = 0; i < 5; ++i) record.SetFldOrder("W", "100", "199", 6);
    EXPECT_EQ(s.FldOrderOtherCount, 5);
    EXPECT_EQ(s.FldOrderOtherSlots, 5);
    record.SetFldOrder("W", "200", "299", 6);
    EXPECT_EQ(s.FldOrderOtherSlots, 10);
    record.ClearFldOrder("O");
    EXPECT_TRUE(s.FldOrderPairedHold);  // only the count is cleared for the other formats
    record.ClearFldOrder("A");
    record.SetDefaultFldOrderAuth();
    EXPECT_EQ(s.FldOrderAuthCount, 12);
    EXPECT_TRUE(s.FldOrderPairedAuth);

    RecordTestAccess::NewFieldSlot(record);
    record.ClearFldOrder("B");
    record.SetFldOrder("A", "100", "199", 6);
    record.SetSfdOrder("A", "100", "ab");
    EXPECT_EQ(s.FldOrderBibCount, 1);
    EXPECT_EQ(s.FldOrderAuthCount, 12);
    EXPECT_EQ(s.SfdOrderAuth[23].Tag, "100");
    EXPECT_EQ(s.SfdOrderAuth[23].StepTop, 5);
    record.ClearSfdOrder("A");  // acts with fields too
    EXPECT_EQ(s.SfdOrderAuthCount, 0);
}

TEST(RecordOrderRules, InstallationCompletesOrFillsTheFamilyTable) {
    Utf8MarcRecordClass record;
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    RecordTestAccess::FldOrderInstall(record, "B");
    ASSERT_EQ(s.FldOrderBibCount, 2);
    EXPECT_EQ(s.FldOrderBib[2].BeginTag, "001");
    EXPECT_EQ(s.FldOrderBib[2].EndTag, "999");
    EXPECT_EQ(s.FldOrderBib[2].Method, 2);
    RecordTestAccess::FldOrderInstall(record, "M");  // already complete
    EXPECT_EQ(s.FldOrderBibCount, 2);
    RecordTestAccess::FldOrderInstall(record, "?");
    ASSERT_EQ(s.FldOrderOtherCount, 2);
    EXPECT_EQ(s.FldOrderOther[1].EndTag, "009");
    EXPECT_EQ(s.FldOrderOther[2].Method, 2);
    EXPECT_TRUE(s.FldOrderPairedHold);
    record.ClearFldOrder("H");
    RecordTestAccess::FldOrderInstall(record, "H");
    ASSERT_EQ(s.FldOrderHoldCount, 3);
    EXPECT_EQ(s.FldOrderHold[2].Method, 7);
    record.ClearFldOrder("B");
    RecordTestAccess::FldOrderInstall(record, "S");
    ASSERT_EQ(s.FldOrderBibCount, 10);
    EXPECT_EQ(s.FldOrderBib[4].BeginTag, "652");
    EXPECT_EQ(s.FldOrderBib[10].BeginTag, "850");
    // A completion that needs room grows the table to its count.
    record.ClearFldOrder("A");
    for (int i = 0; i < 5; ++i) record.SetFldOrder("A", "100", "199", 6);
    RecordTestAccess::FldOrderInstall(record, "A");
    EXPECT_EQ(s.FldOrderAuthCount, 6);
    EXPECT_EQ(s.FldOrderAuthSlots, 6);
}

struct Step {
    int16_t Type;
    std::string Codes;
};

void ExpectSteps(const SubfieldOrderRule& rule, const std::vector<Step>& steps) {
    ASSERT_EQ(rule.StepTop + 1, static_cast<int>(steps.size())) << rule.Tag;
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(rule.Steps[i].StepType, steps[i].Type) << rule.Tag << " step " << i;
        EXPECT_EQ(rule.Steps[i].Codes, steps[i].Codes) << rule.Tag << " step " << i;
    }
}

TEST(RecordOrderRules, SubfieldPatternsCompileIntoSteps) {
    Utf8MarcRecordClass record;
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    record.ClearSfdOrder("Q");
    record.SetSfdOrder("Q", "100", "6a{#qbcdek}{u4}{!tkfghlmnoprs}{#vxyz}");
    record.SetSfdOrder("Q", "245", "6a{#bcfghknps}");
    record.SetSfdOrder("Q", "410", "{6}{w}{a}{#bcdgkn}");
    record.SetSfdOrder("Q", "500", "");
    record.SetSfdOrder("Q", "600", "{#}a{^xy}{@bc}d{@bd}");
    record.SetSfdOrder("Q", "700", "6ab");
    record.SetSfdOrder("Q", "701", "{6ab");
    const std::vector<SubfieldOrderRule>& rules = s.SfdOrderOther;
    ExpectSteps(rules[1], {{0, "6"}, {0, "a"}, {1, "qbcdek"}, {0, "u4"}, {2, "tkfghlmnoprs"}, {1, "vxyz"}});
    EXPECT_EQ(rules[1].RepeatedCodes, "k");
    EXPECT_EQ(rules[1].LeadCodes, "t");
    EXPECT_EQ(rules[1].StepSlots, 6);
    ExpectSteps(rules[2], {{0, "6"}, {0, "a"}, {1, "bcfghknps"}});
    ExpectSteps(rules[3], {{0, "6"}, {0, "w"}, {0, "a"}, {1, "bcdgkn"}});
    ExpectSteps(rules[4], {{0, ""}});
    EXPECT_EQ(rules[4].StepSlots, 2);
    // A typed group without codes passes its type on; of two "@" groups with
    // the same first code the later one takes type 5.
    ExpectSteps(rules[5], {{1, "a"}, {3, "xy"}, {4, "bc"}, {0, "d"}, {5, "bd"}});
    EXPECT_EQ(rules[5].LeadCodes, "x");
    EXPECT_EQ(rules[5].RepeatedCodes, "b");
    ExpectSteps(rules[6], {{0, "6"}, {0, "a"}, {0, "b"}});
    ExpectSteps(rules[7], {{0, "6ab"}});

    // A tag that has a rule is rebuilt in place.
    record.SetSfdOrder("Q", "245", "ab");
    EXPECT_EQ(s.SfdOrderOtherCount, 7);
    ExpectSteps(rules[2], {{0, "a"}, {0, "b"}});
    EXPECT_EQ(rules[2].RepeatedCodes, "");
}

TEST(RecordOrderRules, DefaultSubfieldPatternsAreInstalledInTagOrder) {
    Utf8MarcRecordClass record;
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    for (int16_t i = 2; i <= s.SfdOrderBibCount; ++i) EXPECT_LT(s.SfdOrderBib[i - 1].Tag, s.SfdOrderBib[i].Tag);
    for (int16_t i = 2; i <= s.SfdOrderAuthCount; ++i) EXPECT_LT(s.SfdOrderAuth[i - 1].Tag, s.SfdOrderAuth[i].Tag);
    auto rule = [](const std::vector<SubfieldOrderRule>& rules, int16_t count, const std::string& tag) {
        for (int16_t i = 1; i <= count; ++i)
            if (rules[i].Tag == tag) return rules[i];
        return SubfieldOrderRule{};
    };
    ExpectSteps(rule(s.SfdOrderAuth, s.SfdOrderAuthCount, "100"),
                {{0, "6"}, {0, "a"}, {1, "qbcdek"}, {0, "u4"}, {2, "tkfghlmnoprs"}, {1, "vxyz"}});
    ExpectSteps(rule(s.SfdOrderAuth, s.SfdOrderAuthCount, "073"), {{0, "6"}, {0, "a"}, {0, "z"}});
    ExpectSteps(rule(s.SfdOrderBib, s.SfdOrderBibCount, "891"),
                {{0, "9"}, {0, "638"}, {0, "abcdefghijklmnouvwxyz"}});
    ExpectSteps(rule(s.SfdOrderBib, s.SfdOrderBibCount, "653"), {{0, "6"}, {0, "a"}});
    ExpectSteps(rule(s.SfdOrderBib, s.SfdOrderBibCount, "020"), {{0, "6"}, {3, "abcz"}});
    EXPECT_EQ(rule(s.SfdOrderBib, s.SfdOrderBibCount, "020").LeadCodes, "a");
}

TEST(RecordNewRecord, StartsAnEmptyRecordFromTheDefaultLeader) {
    struct Case {
        std::string Type, Level, CharacterSetOut, Leader, Format;
    };
    const std::vector<Case> cases = {
        {"a", "m", "U", "00000nam a2200000n  4500", "B"},
        {"a", "s", "U", "00000nas a2200000n  4500", "S"},
        {"a", "m", "M", "00000nam  2200000n  4500", "B"},
        {"z", "m", "U", "00000nz  a2200000n  4500", "A"},  // no level for an authority record
        {"u", "", "V", "00000nu   2200000n  4500", "H"},
        {"", "m", "U", "00000n   a2200000n  4500", "?"},  // an empty type counts as one without level
        {"ab", "c", "U", "00000nac a2200000n  4500", "B"},
        {"%", "m", "U", "00000n%m a2200000n  4500", "?"},
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        record.CharacterSetOut(c.CharacterSetOut);
        const Utf8MarcRecordState& s = RecordTestAccess::State(record);
        RecordTestAccess::MutableState(record).SfdOrderChanged = true;
        record.NewRecord(c.Type, c.Level);
        EXPECT_EQ(s.Leader, c.Leader) << c.Type << c.Level;
        EXPECT_EQ(s.MarcRecordFormat, c.Format) << c.Type << c.Level;
        EXPECT_EQ(s.CharacterSetOut, c.CharacterSetOut);
        EXPECT_TRUE(s.NewRecordCreated);
        EXPECT_FALSE(s.SfdOrderChanged);
        EXPECT_EQ(s.MarcRecordIn, "");
        EXPECT_EQ(s.Fields.size(), 3u);  // the 005 and the 008, bounds 0 to FldCount
        EXPECT_TRUE(s.OrderSetupPending);  // left as it was
    }
    // The family's field order is installed each time.
    Utf8MarcRecordClass record;
    record.NewRecord("", "");
    EXPECT_EQ(RecordTestAccess::State(record).FldOrderOtherCount, 2);
    record.NewRecord("a", "m");
    EXPECT_EQ(RecordTestAccess::State(record).FldOrderBibCount, 2);
}

// Leader/09 "a" on a record already held in UTF-8 leaves the output set as it
// is, the LC pattern of "ULC" included: NewRecord writes that letter.
TEST(RecordNewRecord, KeepsTheLcPatternOfTheOutputSet) {
    Utf8MarcRecordClass record;
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    record.CharacterSetOut("ULC");
    record.NewRecord("a", "m");
    EXPECT_EQ(s.Leader, "00000nam a2200000n  4500");
    EXPECT_EQ(record.CharacterSetOut(), "U");
    EXPECT_TRUE(s.OutputIsUlc);
    record.ChangeLeaderValue(8, " b");  // leader/09 "b" without touching the set
    record.ChangeLeaderValue(9, "a");
    EXPECT_EQ(s.Leader, "00000nam a2200000n  4500");
    EXPECT_TRUE(s.OutputIsUlc);

    Utf8MarcRecordClass plain;
    plain.NewRecord("a", "m");
    EXPECT_FALSE(RecordTestAccess::State(plain).OutputIsUlc);
}

TEST(RecordNewRecord, DateFieldsComeFromTheClock) {
    platform::ManualClock clock(rt::DateTime::FromParts(2024, 3, 5, 14, 7, 9));
    Utf8MarcRecordClass record;
    std::string s005, sDate, s008;
    record.NewRecord("a", "m");
    RecordTestAccess::NewRecordDateFields(record, s005, sDate, s008);
    EXPECT_EQ(s005, "20240305140709.0");
    EXPECT_EQ(sDate, "240305");
    EXPECT_EQ(s008, "240305" + RecordTestAccess::State(record).Default008TemplateB.substr(6));
}

TEST(RecordLeader, SetFormatCodeAndSerialTest) {
    Utf8MarcRecordClass record;
    const std::vector<std::pair<std::string, std::string>> formats = {
        {"a", "B"}, {"as", "S"}, {"ab", "S"}, {"ai", "S"}, {"ac", "B"}, {"t", "B"}, {"c", "M"}, {"j", "M"},
        {"e", "P"}, {"f", "P"}, {"g", "F"}, {"r", "F"}, {"m", "D"}, {"b", "U"}, {"p", "U"}, {"u", "H"},
        {"y", "H"}, {"z", "A"}, {"q", "Q"}, {"w", "W"}, {"n", "?"}, {"A", "?"}, {"00000nas a2200000n  4500", "S"},
        {"00000ncm a2200000n  4500", "M"}, {"abcde", "B"},
    };
    for (const auto& [leader, format] : formats) EXPECT_EQ(record.SetFormatCode(leader), format) << leader;
    EXPECT_EQ(record.SetFormatCode(""), "?");  // no leader yet

    const std::vector<std::pair<std::string, bool>> serials = {
        {"as", true}, {"ai", true}, {"ac", false}, {"bs", false}, {"abcde", false}, {"a", false},
        {"000000a", true}, {"00000nai a2200000n  4500", true}, {"00000nam a2200000n  4500", false},
    };
    for (const auto& [leader, serial] : serials) {
        EXPECT_EQ(record.SerialBibliographicRecord(leader), serial) << leader;
        EXPECT_EQ(SerialBibliographicLeader(leader), serial) << leader;
    }
    EXPECT_FALSE(record.SerialBibliographicRecord(""));
    EXPECT_FALSE(SerialBibliographicLeader(""));
    record.NewRecord("a", "s");
    EXPECT_TRUE(record.SerialBibliographicRecord(""));
}

TEST(RecordLeader, ChangeLeaderValue) {
    struct Case {
        std::string Type;  // leader/06 of the new record
        int16_t Position;
        std::string Value;
        std::string Leader;
        std::string Format, CharacterSetOut;
    };
    const std::vector<Case> cases = {
        {"a", 6, "z", "00000nam a2200000n  4500", "B", "U"},   // refused: bibliographic to authority
        {"a", 6, "c", "00000ncm a2200000n  4500", "M", "U"},
        {"z", 6, "a", "00000nz  a2200000n  4500", "A", "U"},   // an authority leader/06 never changes
        {"u", 6, "x", "00000nx  a2200000n  4500", "H", "U"},
        {"u", 6, "a", "00000nu  a2200000n  4500", "H", "U"},
        {"a", 5, "nz", "00000nzm a2200000n  4500", "B", "U"},  // no guard, format kept
        {"a", 8, " b", "00000nam b2200000n  4500", "B", "U"},  // set unchanged from position 8
        {"a", 9, "a", "00000nam a2200000n  4500", "B", "U"},
        {"a", 22, "abc", "00000nam a2200000n  4500", "B", "U"},  // would end beyond position 23
        {"a", 7, "s", "00000nas a2200000n  4500", "S", "U"},
        {"a", 23, "X", "00000nam a2200000n  450X", "B", "U"},
        {"a", 3, "", "00000nam a2200000n  4500", "B", "U"},
        {"a", -1, "x", "00000nam a2200000n  4500", "B", "U"},  // before the leader: nothing
    };
    for (const Case& c : cases) {
        Utf8MarcRecordClass record;
        record.NewRecord(c.Type, "m");
        record.ChangeLeaderValue(c.Position, c.Value);
        const Utf8MarcRecordState& s = RecordTestAccess::State(record);
        EXPECT_EQ(s.Leader, c.Leader) << c.Position << " " << c.Value;
        EXPECT_EQ(s.MarcRecordFormat, c.Format) << c.Position << " " << c.Value;
        EXPECT_EQ(s.CharacterSetOut, c.CharacterSetOut) << c.Position << " " << c.Value;
    }
    Utf8MarcRecordClass record;
    record.ChangeLeaderValue(6, "a");  // no leader yet: ignored
    EXPECT_EQ(RecordTestAccess::State(record).Leader, "");

    // A change of leader/09 sets the output set, which translates the record
    // present: "a" gives "U", anything else the 8-bit default "V" with
    // leader/09 blank; a set refused (UTF-8 to Windows-1252) leaves leader/09
    // as it was; the change to "a" translates the record.
    Utf8MarcRecordClass utf8;
    utf8.NewRecord("a", "m");
    const std::string utf8Leader = RecordTestAccess::State(utf8).Leader;
    utf8.ChangeLeaderValue(9, "b");
    EXPECT_EQ(utf8.CharacterSetOut(), "V");
    EXPECT_EQ(RecordTestAccess::State(utf8).Leader, utf8Leader.substr(0, 9) + " " + utf8Leader.substr(10));
    Utf8MarcRecordClass refused;
    refused.NewRecord("a", "m");
    RecordTestAccess::MutableState(refused).Default8BitSet = "L";
    EXPECT_THROW(refused.ChangeLeaderValue(9, "b"), RaisedError);
    EXPECT_EQ(refused.CharacterSetOut(), "U");
    EXPECT_EQ(RecordTestAccess::State(refused).Leader, utf8Leader);
    Utf8MarcRecordClass marc8;
    marc8.CharacterSetOut("M");
    marc8.NewRecord("a", "m");
    const std::string marc8Leader = RecordTestAccess::State(marc8).Leader;
    marc8.ChangeLeaderValue(9, "a");
    EXPECT_EQ(marc8.CharacterSetOut(), "U");
    EXPECT_EQ(RecordTestAccess::State(marc8).Leader, marc8Leader.substr(0, 9) + "a" + marc8Leader.substr(10));
}

TEST(RecordLeader, Default008) {
    platform::ManualClock clock(rt::DateTime::FromParts(2025, 12, 1));
    Utf8MarcRecordClass record;
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    EXPECT_EQ(record.Default008("B", "991231"), "991231" + s.Default008TemplateB.substr(6));
    EXPECT_EQ(record.Default008("B", "991231").size(), 40u);
    EXPECT_EQ(record.Default008("W", ""), "251201aaaaaaaa");
    EXPECT_EQ(record.Default008("H", "12345"), "251201" + s.Default008TemplateH.substr(6));
    EXPECT_EQ(record.Default008("Q", "abcdef"), "abcdefuuuuuuunk");
    EXPECT_EQ(record.Default008("b", "991231"), "");
    EXPECT_EQ(record.Default008("", "991231"), "");
    EXPECT_EQ(record.Default008("?", "991231"), "");
}

}  // namespace
