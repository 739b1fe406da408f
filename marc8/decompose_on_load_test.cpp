#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "common/test_support.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"

namespace {

using record_test::D;
using test_octets::O;
using test_octets::U;

const std::string kAcute = "\xCC\x81";  // U+0301
const char* const kPreferenceKey = "Software\\VB and VBA Program Settings\\RevoduvAde\\Preferences";

struct DecomposeCase {
    const char* Name;
    std::string Input;
    std::string Expected;
};

TEST(DecomposeUnicodeCharactersInString, ReplacesEachCharacterOnce) {
    const std::vector<DecomposeCase> cases = {
        {"empty", "", ""},
        {"ASCII", "Plain text 123", "Plain text 123"},
        {"Angstrom", "\xC3\x85ngstr\xC3\xB6m", "A\xCC\x8Angstro\xCC\x88m"},
        {"substitutes longer and shorter", U(0x0150) + "x" + U(0x2014) + U(0xDF),
         "O\xCC\x8Bx--ss"},
        {"click letter becomes a delimiter", "A" + U(0x01C2) + "bB", "A\x1F" "bB"},
        {"click letter before a letter to decompose", U(0x01C2) + U(0xE9), "\x1F" "e" + kAcute},
        {"Cyrillic stays", U(0x0401) + U(0x0419) + "x", U(0x0401) + U(0x0419) + "x"},
        {"private use", "a" + U(0xE930) + "b", "a" + U(0x4E99) + "b"},
        {"four octets stay", U(0x1D11E) + U(0xE9), U(0x1D11E) + "e" + kAcute},
        // Malformed octets stay as they are and are never joined with their neighbours.
        {"stray continuation", "e" + O("A9") + U(0xE9), "e" + O("A9") + "e" + kAcute},
        {"lead cut short at the end", "caf" + O("C3"), "caf" + O("C3")},
        {"lead before ASCII", O("C3") + "x" + U(0xE9), O("C3") + "xe" + kAcute},
        {"lead before a character", O("C3") + U(0xE9), O("C3") + "e" + kAcute},
        {"three-octet lead cut short", O("E2 80") + U(0xE9), O("E2 80") + "e" + kAcute},
        {"overlong form", O("E0 83 A9"), O("E0 83 A9")},
        // A subfield code is one octet, even one that could begin a character.
        {"code octet after a delimiter", "\x1F" + U(0xE9) + U(0xE9), "\x1F" + U(0xE9) + "e" + kAcute},
    };
    Utf8MarcRecordClass record;
    for (const auto& c : cases) {
        bool bChanged = false;
        EXPECT_EQ(record.DecomposeUnicodeCharactersInString(c.Input, bChanged), c.Expected) << c.Name;
        EXPECT_EQ(bChanged, c.Input != c.Expected) << c.Name;
    }
    // The flag is never cleared.
    bool bChanged = true;
    EXPECT_EQ(record.DecomposeUnicodeCharactersInString("abc", bChanged), "abc");
    EXPECT_TRUE(bChanged);
}

// Every character of the basic plane (and one beyond it) is replaced exactly
// when the character object has a substitute for it, whatever surrounds it.
TEST(DecomposeUnicodeCharactersInString, AgreesWithTheCharacterObjectOnEveryCharacter) {
    Utf8MarcRecordClass record;
    Utf8CharClass chars;
    for (uint32_t cp = 0x80; cp <= 0x10000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        std::string sSubstitute;
        const bool bSubstitute = chars.SubstituteUtf8Char(U(cp), sSubstitute);
        bool bChanged = false;
        const std::string sOut = record.DecomposeUnicodeCharactersInString("a" + U(cp) + "z", bChanged);
        ASSERT_EQ(sOut, "a" + sSubstitute + "z") << std::hex << cp;
        ASSERT_EQ(bChanged, bSubstitute) << std::hex << cp;
    }
}

// A UTF-8 record: é in 001, 245 and 500, the click letter in 246.
std::string Utf8Record() {
    return record_test::Iso2709("00000nam a2200000   4500",
                                {{"001", "id" + U(0xE9)},
                                 {"005", "20250101120000.0"},
                                 {"245", D("10$aCaf" + U(0xE9))},
                                 {"246", D("3 $aA" + U(0x01C2) + "bB")},
                                 {"500", D("  $aPlain")}});
}

struct LoadedRecord {
    std::string s001, s245, s246, s500;
};

LoadedRecord Load(Utf8MarcRecordClass& record, const std::string& sRecord) {
    record.CharacterSetIn("U");
    record.CharacterSetOut("U");
    record.MarcRecordIn(sRecord);
    EXPECT_EQ(record.IsMarcErrorText(), "");
    LoadedRecord r;
    for (auto [tag, text] : {std::pair{"001", &r.s001}, {"245", &r.s245}, {"246", &r.s246}, {"500", &r.s500}})
        if (record.FldFindFirst(tag, "")) *text = record.FldText();
    return r;
}

bool Decomposed(const LoadedRecord& r) { return r.s245 == D("$aCafe" + kAcute); }

TEST(AutoDecomposeFields, DecomposesTheVariableFieldsOfAUtf8Record) {
    testsupport::TempSettingsFolder settings;
    Utf8MarcRecordClass record;
    const LoadedRecord r = Load(record, Utf8Record());
    EXPECT_EQ(r.s001, "id" + U(0xE9));  // control fields are never examined
    EXPECT_EQ(r.s245, D("$aCafe" + kAcute));
    EXPECT_EQ(r.s500, D("$aPlain"));
    // The click letter becomes a delimiter: the field gains a subfield $b.
    EXPECT_EQ(r.s246, D("$aA$bB"));
    ASSERT_TRUE(record.FldFindFirst("246", ""));
    ASSERT_TRUE(record.SfdFindFirst("b", ""));
    EXPECT_EQ(record.SfdText(), "B");
    // The load leaves no field changed and the record neither modified nor translated.
    EXPECT_FALSE(record.MarcRecordModified());
    EXPECT_FALSE(record.MarcRecordTranslated());
    record.FldMoveTop();
    while (record.FldMoveNext(true)) EXPECT_FALSE(record.FldChanged()) << record.FldTag();
}

// A field is decomposed whichever of its subfields holds the character.
TEST(AutoDecomposeFields, ACharacterInALaterSubfield) {
    testsupport::TempSettingsFolder settings;
    Utf8MarcRecordClass record;
    record.CharacterSetIn("U");
    record.CharacterSetOut("U");
    record.MarcRecordIn(record_test::Iso2709("00000nam a2200000   4500",
                                             {{"001", "plain identifier"},
                                              {"650", D(" 0$aPlain$xMore$yCaf" + U(0xE9))},
                                              {"651", D(" 0$aPlain$xMore")}}));
    ASSERT_TRUE(record.FldFindFirst("650", ""));
    EXPECT_EQ(record.FldText(), D("$aPlain$xMore$yCafe" + kAcute));
    ASSERT_TRUE(record.FldFindFirst("651", ""));
    EXPECT_EQ(record.FldText(), D("$aPlain$xMore"));
}

TEST(AutoDecomposeFields, AFieldMovedByItsNewTextDoesNotHideTheFieldsAfterIt) {
    // The click letter gives the first 700 a $t, which orders it after the
    // fields that follow it (a key by tag, and last for a field with a $t).
    testsupport::TempSettingsFolder settings;
    Utf8MarcRecordClass record;
    RecordTestAccess::MutableState(record).FldOrderKeyForTests = [](const std::string& sTag, const std::string&,
                                                                    const std::string& sText) {
        return sText.find("\x1Ft") == std::string::npos ? sTag : "999";
    };
    record.CharacterSetIn("U");
    record.CharacterSetOut("U");
    record.MarcRecordIn(record_test::Iso2709("00000nam a2200000   4500",
                                             {{"001", "1"},
                                              {"700", D("1 $aAuthor " + U(0x01C2) + "tTitle")},
                                              {"700", D("1 $aB" + U(0xE9))},
                                              {"710", D("2 $aC" + U(0xE9))}}));
    std::vector<std::string> texts;
    record.FldMoveTop();
    while (record.FldMoveNext(true)) texts.push_back(record.FldTag() + record.FldText());
    EXPECT_EQ(texts, (std::vector<std::string>{"0011", "700" + D("$aBe" + kAcute), "710" + D("$aCe" + kAcute),
                                                "700" + D("$aAuthor$tTitle")}));
}

void WritePreference(const testsupport::TempSettingsFolder& settings, const std::string& sLine) {
    testsupport::WriteFile(settings.File("registry.ini"),
                           "[" + std::string(kPreferenceKey) + "]\r\n" + sLine + "\r\n");
}

TEST(AutoDecomposeFields, ThePreferenceBypassesOnlyForTrueInAnyCase) {
    struct Case {
        const char* Line;  // the line of the preference's section; "" for none
        bool Bypassed;
    };
    const std::vector<Case> cases = {
        {"BypassAutoDecompose=true", true},     {"BypassAutoDecompose=True", true},
        {"bypassautodecompose=TRUE", true},     {"BypassAutoDecompose=\"tRuE\"", true},
        {"BypassAutoDecompose=1", false},       {"BypassAutoDecompose=yes", false},
        {"BypassAutoDecompose=\" TRUE\"", false}, {"BypassAutoDecompose=\"TRUE \"", false},
        {"BypassAutoDecompose=dword:00000001", false}, {"BypassAutoDecompose=", false},
        {"OtherValue=TRUE", false},             {"", false},
    };
    for (const Case& c : cases) {
        testsupport::TempSettingsFolder settings;
        WritePreference(settings, c.Line);
        Utf8MarcRecordClass record;
        EXPECT_EQ(Decomposed(Load(record, Utf8Record())), !c.Bypassed) << c.Line;
    }
    testsupport::TempSettingsFolder settings;  // no registry file at all
    Utf8MarcRecordClass record;
    EXPECT_TRUE(Decomposed(Load(record, Utf8Record())));
}

TEST(AutoDecomposeFields, ThePreferenceIsReadOncePerObjectAtItsFirstUtf8Load) {
    testsupport::TempSettingsFolder settings;
    Utf8MarcRecordClass first;
    EXPECT_TRUE(Decomposed(Load(first, Utf8Record())));
    WritePreference(settings, "BypassAutoDecompose=TRUE");
    EXPECT_TRUE(Decomposed(Load(first, Utf8Record())));
    Utf8MarcRecordClass second;
    EXPECT_FALSE(Decomposed(Load(second, Utf8Record())));
    std::filesystem::remove(settings.File("registry.ini"));
    EXPECT_FALSE(Decomposed(Load(second, Utf8Record())));

    // A MARC-8 load neither decomposes nor reads the preference.
    WritePreference(settings, "BypassAutoDecompose=TRUE");
    Utf8MarcRecordClass third;
    third.CharacterSetIn("M");
    third.CharacterSetOut("M");
    const std::string sMarc8 = record_test::Iso2709("00000nam  2200000   4500", {{"001", "marc8"}, {"245", D("10$aCaf\xC3\xA9 and more text")}});
    third.MarcRecordIn(sMarc8);
    ASSERT_TRUE(third.FldFindFirst("245", ""));
    EXPECT_EQ(third.FldText(), D("$aCaf\xC3\xA9 and more text"));
    std::filesystem::remove(settings.File("registry.ini"));
    EXPECT_TRUE(Decomposed(Load(third, Utf8Record())));
}

TEST(AutoDecomposeFields, ReadRegistryValueByRootKey) {
    testsupport::TempSettingsFolder settings;
    testsupport::WriteFile(settings.File("registry.ini"),
                           "[Software\\Test]\nText=Some text\nEmpty=\nNumber=dword:0000002a\n"
                           "AllOnes=DWORD:FFFFFFFF\nNotANumber=dword:12\n");
    struct Case {
        uint32_t Root;
        const char* Key;
        const char* Value;
        const char* Expected;
    };
    const std::vector<Case> cases = {
        {0x80000001u, "Software\\Test", "Text", "Some text"},
        {0x80000001u, "software\\test", "TEXT", "Some text"},
        {0x80000001u, "Software\\Test", "Empty", ""},
        {0x80000001u, "Software\\Test", "Number", "42"},
        {0x80000001u, "Software\\Test", "AllOnes", "-1"},
        {0x80000001u, "Software\\Test", "NotANumber", "dword:12"},
        {0x80000001u, "Software\\Test", "Missing", ""},
        {0x80000001u, "Software\\Missing", "Text", ""},
        {0x80000000u, "Software\\Test", "Text", ""},
        {0x80000002u, "Software\\Test", "Text", ""},
        {0x80000006u, "Software\\Test", "Text", ""},
        {0x80000007u, "Software\\Test", "Text", ""},
        {0x7FFFFFFFu, "Software\\Test", "Text", ""},
        {0u, "Software\\Test", "Text", ""},
    };
    Utf8MarcRecordClass record;
    for (const Case& c : cases)
        EXPECT_EQ(RecordTestAccess::ReadRegistryValue(record, static_cast<int32_t>(c.Root), c.Key, c.Value),
                  c.Expected)
            << std::hex << c.Root << " " << c.Value;
}

}  // namespace
