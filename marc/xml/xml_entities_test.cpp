#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "common/utli_misc_non_utf8.h"
#include "marc/record/marc_record.h"
#include "marc/xml/xml_entity_table.h"

namespace {

using test_octets::O;
using test_octets::U;
using xml_entities::kXmlEntities;
using xml_entities::XmlEntityEntry;

std::string Hex(const std::string& s) { return UtliMiscNonUtf8::TextToHex(s); }

std::map<std::string, const XmlEntityEntry*> EntitiesByKey() {
    std::map<std::string, const XmlEntityEntry*> byKey;
    for (const XmlEntityEntry& e : kXmlEntities) byKey[std::string(e.Key)] = &e;
    return byKey;
}

TEST(XmlEntityTable, KeysCountsAndGroups) {
    std::map<int, int> namesPerGroup;
    int numericKeys = 0;
    for (int i = 0; i < xml_entities::kXmlEntityCount; ++i) {
        const XmlEntityEntry& e = kXmlEntities[i];
        if (i > 0) {
            EXPECT_LT(kXmlEntities[i - 1].Key, e.Key) << "sorted and unique at " << e.Key;
        }
        if (e.Key[0] == '#') {
            ++numericKeys;
            EXPECT_EQ(e.Key, "#" + std::to_string(e.HtmlCodePoint));
        } else {
            ++namesPerGroup[e.Group];
        }
    }
    EXPECT_EQ(xml_entities::kXmlEntityCount, 446);
    EXPECT_EQ(numericKeys, 203);
    EXPECT_EQ(namesPerGroup[1], 52);
    EXPECT_EQ(namesPerGroup[2], 28);
    EXPECT_EQ(namesPerGroup[3], 163);

    // A numeric key has the value of the name of its code point; these names have none.
    const auto byKey = EntitiesByKey();
    const std::set<std::string> withoutNumeric = {
        "amp", "apos", "brvbar", "bull", "cent", "curren", "deg", "divide", "frac12", "frac14",
        "frac34", "ge", "gt", "hellip", "iexcl", "iquest", "lt", "macr", "mdash", "micro",
        "middot", "nbsp", "para", "permil", "plusmn", "pound", "prime", "quot", "reg", "sect",
        "sup1", "sup2", "sup3", "szlig", "THORN", "times", "trade", "uml", "Uuml", "yen"};
    for (const XmlEntityEntry& e : kXmlEntities) {
        if (e.Key[0] == '#') continue;
        const auto numeric = byKey.find("#" + std::to_string(e.HtmlCodePoint));
        if (withoutNumeric.count(std::string(e.Key))) {
            EXPECT_EQ(numeric, byKey.end()) << e.Key;
        } else {
            ASSERT_NE(numeric, byKey.end()) << e.Key;
            EXPECT_EQ(numeric->second->Value, e.Value) << e.Key;
            EXPECT_EQ(numeric->second->Group, e.Group) << e.Key;
        }
    }
    EXPECT_EQ(byKey.at("#193")->Value, byKey.at("Aacute")->Value);
    EXPECT_EQ(byKey.at("#8501")->Value, U(0x2135));
    // Names of HTML 4.01 that the table leaves out.
    for (const char* absent : {"Alpha", "Prime", "Scaron", "scaron", "Yuml", "yuml", "circ", "tilde", "euro", "weierp",
                               "#913", "#8364", "#710"})
        EXPECT_EQ(byKey.count(absent), 0u) << absent;
}

TEST(XmlEntityTable, ValuesOfEachGroup) {
    const std::map<std::string, uint32_t> marks = {{"acute", 0x0301}, {"grave", 0x0300}, {"circ", 0x0302},
                                                    {"uml", 0x0308},   {"tilde", 0x0303}, {"ring", 0x030A},
                                                    {"cedil", 0x0327}};
    const std::map<std::string, std::string> ownValues = {
        {"acute", U(0x0301)}, {"cedil", U(0x0327)}, {"uml", U(0x0308)}, {"macr", U(0x0304)}, {"ETH", U(0x0110)},
        {"laquo", "\""},      {"raquo", "\""},      {"ldquo", "\""},    {"rdquo", "\""},     {"bdquo", "\""},
        {"lsquo", "\""},      {"rsquo", "\""},      {"sbquo", "\""},    {"lsaquo", "'"},     {"rsaquo", "'"},
        {"nbsp", " "},        {"ensp", " "},        {"emsp", " "},      {"thinsp", " "},     {"shy", ""},
        {"ndash", "-"},       {"minus", "-"},       {"mdash", "--"},    {"frasl", "/"},      {"frac14", "1/4"},
        {"frac12", "1/2"},    {"frac34", "3/4"},    {"times", "x"}};
    for (const XmlEntityEntry& e : kXmlEntities) {
        if (e.Key[0] == '#') continue;
        const std::string key(e.Key);
        switch (e.Group) {
            case 1:
                ASSERT_TRUE(marks.count(key.substr(1))) << key;
                EXPECT_EQ(Hex(std::string(e.Value)), Hex(key.substr(0, 1) + U(marks.at(key.substr(1))))) << key;
                break;
            case 2:
                ASSERT_TRUE(ownValues.count(key)) << key;
                EXPECT_EQ(Hex(std::string(e.Value)), Hex(ownValues.at(key))) << key;
                break;
            case 3:
                EXPECT_EQ(Hex(std::string(e.Value)), Hex(U(e.HtmlCodePoint))) << key;
                break;
            default:
                ADD_FAILURE() << key << " in group " << int{e.Group};
        }
    }
    const auto byKey = EntitiesByKey();
    EXPECT_EQ(byKey.at("apos")->Value, "'");
    for (const auto& [key, value] : std::map<std::string, std::string>{{"amp", "&"}, {"lt", "<"}, {"gt", ">"},
                                                                        {"quot", "\""}, {"alpha", U(0x03B1)},
                                                                        {"hearts", U(0x2665)}})
        EXPECT_EQ(byKey.at(key)->Value, value) << key;
}

// The named characters of the table are those the record gives in UTF-8.
TEST(XmlEntityTable, NamedCharactersOfAUtf8Record) {
    Utf8MarcRecordClass record;
    ASSERT_EQ(record.CharacterSetOut(), "U");
    using Getter = OctetString (Utf8MarcRecordClass::*)();
    const std::vector<std::pair<const char*, Getter>> cases = {
        {"acute", &Utf8MarcRecordClass::MarcAcute},          {"cedil", &Utf8MarcRecordClass::MarcCedilla},
        {"uml", &Utf8MarcRecordClass::MarcUmlaut},           {"macr", &Utf8MarcRecordClass::MarcMacron},
        {"AElig", &Utf8MarcRecordClass::MarcAEUpper},        {"aelig", &Utf8MarcRecordClass::MarcAELower},
        {"Oslash", &Utf8MarcRecordClass::MarcOSlashUpper},   {"oslash", &Utf8MarcRecordClass::MarcOSlashLower},
        {"THORN", &Utf8MarcRecordClass::MarcThornUpper},     {"thorn", &Utf8MarcRecordClass::MarcThornLower},
        {"ETH", &Utf8MarcRecordClass::MarcDSlashUpper},      {"eth", &Utf8MarcRecordClass::MarcEth},
        {"copy", &Utf8MarcRecordClass::MarcCopyright},       {"reg", &Utf8MarcRecordClass::MarcRegistered},
        {"deg", &Utf8MarcRecordClass::MarcDegree},           {"plusmn", &Utf8MarcRecordClass::MarcPlusMinus},
        {"pound", &Utf8MarcRecordClass::MarcBritishPound},   {"middot", &Utf8MarcRecordClass::MarcDotMiddle},
        {"iexcl", &Utf8MarcRecordClass::MarcExclamationInverted},
        {"iquest", &Utf8MarcRecordClass::MarcQuestionInverted},
        {"sup1", &Utf8MarcRecordClass::MarcSuperscript1},    {"sup2", &Utf8MarcRecordClass::MarcSuperscript2},
        {"sup3", &Utf8MarcRecordClass::MarcSuperscript3}};
    const auto byKey = EntitiesByKey();
    for (const auto& [key, getter] : cases) EXPECT_EQ(Hex(std::string(byKey.at(key)->Value)), Hex((record.*getter)())) << key;
    EXPECT_EQ(byKey.at("Aring")->Value, "A" + record.MarcAngstrom());
    EXPECT_EQ(byKey.at("ntilde")->Value, "n" + record.MarcTilde());
    EXPECT_EQ(byKey.at("Egrave")->Value, "E" + record.MarcGrave());
    EXPECT_EQ(byKey.at("ocirc")->Value, "o" + record.MarcCircumflex());
}

struct DecodeCase {
    std::string in;
    std::string withFlag;     // bTranslateUnknownAmpsersandNotations True
    std::string withoutFlag;  // False
};

// "=" stands for the text unchanged.
const std::string kSame = "=";

TEST(XmlUnconditionText, DecodesAUtf8Text) {
    const std::string e = "e" + O("CC 81");
    const std::string longZeros(40000, '0');
    const std::string longName(40000, 'a');
    const std::vector<DecodeCase> cases = {
        {"", "", ""},
        {"AT&amp;T", "AT&T", "AT&T"},
        {"&lt;b&gt;", "<b>", "<b>"},
        {"Caf&eacute;", "Caf" + e, "Caf" + e},
        // Numeric keys of the table decode whatever the flag, to the table's form.
        {"&#233;", e, e},
        {"&#8220;x&#8221;", "\"x\"", "\"x\""},
        {"&#208;", U(0x0110), U(0x0110)},
        // Numeric references that are no keys: precomposed, only with the flag.
        {"&#xE9;", O("C3 A9"), kSame},
        {"&#XE9;", O("C3 A9"), kSame},
        {"&#xe9;", O("C3 A9"), kSame},
        {"&xE9;", O("C3 A9"), kSame},
        {"&#8364;", U(0x20AC), kSame},
        {"&#65;", "A", kSame},
        {"&#65x;", kSame, kSame},
        {"&#x4G;", kSame, kSame},
        {"&#160;", O("C2 A0"), kSame},
        {"&#10;", "\n", kSame},
        {"a&#9;b&#13;", "a\tb\r", kSame},
        {"&#x00000000041;", "A", kSame},
        // Beyond the basic plane, whole.
        {"&#x1F600;", U(0x1F600), kSame},
        {"&#128512;", U(0x1F600), kSame},
        {"&#65601;", U(0x10041), kSame},
        {"&#x10FFFF;", O("F4 8F BF BF"), kSame},
        // Values that XML does not allow as characters stay as they are.
        {"&#0;", kSame, kSame},
        {"&#x1;", kSame, kSame},
        {"&#xD800;", kSame, kSame},
        {"&#57343;", kSame, kSame},
        {"&#xFFFE;", kSame, kSame},
        {"&#xFFFF;", kSame, kSame},
        {"&#x110000;", kSame, kSame},
        {"&#99999999999;", kSame, kSame},
        {"&#xFFFFFFFFFFFFFFFFFFFF;", kSame, kSame},
        // Empty numeric references are removed with the flag; other empties stay.
        {"a&#;b", "ab", kSame},
        {"a&#x;b", "ab", kSame},
        {"a&#X;b", "ab", kSame},
        {"a&x;b", kSame, kSame},
        {"a& b", kSame, kSame},
        {"a&;b", kSame, kSame},
        {"&", kSame, kSame},
        // Substitutes.
        {"&ldquo;Hello&rdquo;", "\"Hello\"", "\"Hello\""},
        {"&lsquo;&lsaquo;&rsaquo;", "\"''", "\"''"},
        {"&mdash;&ndash;&minus;", "----", "----"},
        {"&frac12; &frac14; &frac34;", "1/2 1/4 3/4", "1/2 1/4 3/4"},
        {"2&times;3", "2x3", "2x3"},
        {"co&shy;op", "coop", "coop"},
        {"a&nbsp;b&thinsp;c", "a b c", "a b c"},
        {"&alpha;&hearts;", U(0x03B1) + U(0x2665), U(0x03B1) + U(0x2665)},
        // Names compare with their case.
        {"&AMP; &Amp;", kSame, kSame},
        {"&Eacute;&eacute;", "E" + O("CC 81") + e, "E" + O("CC 81") + e},
        // Ends of a reference: ";" goes with it, a blank or line feed stays.
        {"&amp x", "& x", "& x"},
        {"AT&amp", "AT&", "AT&"},
        {"&eacute x", e + " x", e + " x"},
        {"&#x41 b", "A b", "&#x41 b"},
        {"&eacute&amp;", "&eacute&", "&eacute&"},
        // The text to the right is decoded first: a blank from it ends a name,
        // and what a reference gave is not read again.
        {"&amp&nbsp;x", "& x", "& x"},
        {"&amp;lt;", "&lt;", "&lt;"},
        {"&&amp;", "&&", "&&"},
        {"&#&#10;", "\n", "&#&#10;"},
        // Line breaks go; a line feed removed first does not end a name.
        {"line1\r\nline2", "line1line2", "line1line2"},
        {"&amp\nx", "&ampx", "&ampx"},
        {"a" + O("C2 A0") + "b", "a b", "a b"},
        {O("C2") + "\r" + O("A0"), " ", " "},
        {O("C2") + "&shy;" + O("A0"), " ", " "},
        // Long references: no limit on a span's length.
        {"&#x" + longZeros + "41;z", "Az", kSame},
        {"&" + longName + ";", kSame, kSame},
    };
    Utf8MarcRecordClass record;
    for (const DecodeCase& k : cases) {
        const std::string withFlag = k.withFlag == kSame ? k.in : k.withFlag;
        const std::string withoutFlag = k.withoutFlag == kSame ? k.in : k.withoutFlag;
        const std::string shown = k.in.size() > 60 ? k.in.substr(0, 60) + "..." : k.in;
        EXPECT_EQ(Hex(record.XmlUnconditionText(k.in, true)), Hex(withFlag)) << shown << " with the flag";
        EXPECT_EQ(Hex(record.XmlUnconditionText(k.in, false)), Hex(withoutFlag)) << shown << " without the flag";
    }
}

TEST(XmlUnconditionText, LeavesAn8BitRecordsTextAlone) {
    for (const char* set : {"M", "V", "O", "L"}) {
        Utf8MarcRecordClass record;
        record.CharacterSetOut(set);
        const std::string text = "AT&amp;T&#65;\r\nx" + O("C2 A0") + "&#xE9;";
        EXPECT_EQ(record.XmlUnconditionText(text, true), text) << set;
        EXPECT_EQ(record.XmlUnconditionText(text, false), text) << set;
    }
}

}  // namespace
