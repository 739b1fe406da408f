#include <gtest/gtest.h>

#include <string>

#include "chars/utf8_char.h"

namespace {

std::string Hex(const std::string& sDigits) {
    std::string sOctets;
    for (std::size_t i = 0; i + 1 < sDigits.size(); i += 2) {
        sOctets += static_cast<char>(std::stoi(sDigits.substr(i, 2), nullptr, 16));
    }
    return sOctets;
}

struct OneCharacterCase {
    std::string sSetOut;
    std::string sUtf8Hex;    // the character's UTF-8 octets in hexadecimal
    std::string sMarc8Hex;   // expected MARC-8 octets ("" for none)
    std::string sTable;
    bool bChanged;
    bool bError;
};

class Utf8ToMarc8OneCharacter : public ::testing::TestWithParam<OneCharacterCase> {};

TEST_P(Utf8ToMarc8OneCharacter, GivesOctetsAndTable) {
    const auto& c = GetParam();
    Utf8CharClass chars;
    std::string sSetOut = c.sSetOut;
    std::string sTable = "x";
    std::string sUtf8 = Hex(c.sUtf8Hex);
    std::string sMarc8 = "unchanged";
    bool bChanged = !c.bChanged;  // an error must leave it as it was
    bool bError = !c.bError;
    chars.TranslateUtf82MarcOneCharacter(sSetOut, sTable, sUtf8, sMarc8, bChanged, bError);
    EXPECT_EQ(bError, c.bError);
    EXPECT_EQ(sTable, c.sTable);
    if (c.bError) {
        // The caller's text stays for one-octet characters; longer ones are cleared.
        EXPECT_EQ(sMarc8, sUtf8.size() <= 1 ? "unchanged" : "");
        EXPECT_EQ(bChanged, !c.bChanged);
    } else {
        EXPECT_EQ(sMarc8, Hex(c.sMarc8Hex));
        EXPECT_EQ(bChanged, c.bChanged);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8ToMarc8OneCharacter,
    ::testing::Values(
        OneCharacterCase{"M", "61", "61", "1", false, false},          // a
        OneCharacterCase{"M", "1F", "1F", "1", false, false},          // subfield delimiter
        OneCharacterCase{"M", "1B", "1B", "1", false, false},          // escape
        OneCharacterCase{"M", "09", "", "1", true, true},              // tab
        OneCharacterCase{"M", "1C", "", "1", true, true},
        OneCharacterCase{"M", "", "", "1", true, true},                // empty text
        OneCharacterCase{"M", "E2808F", "", "1", true, false},         // right-to-left mark dropped
        OneCharacterCase{"M", "E2808E", "", "1", true, false},         // left-to-right mark dropped
        OneCharacterCase{"M", "C3A9", "", "1", false, true},           // precomposed e acute
        OneCharacterCase{"M", "CC81", "E2", "1", true, false},         // combining acute, Latin not Greek
        OneCharacterCase{"M", "CC86", "E6", "1", true, false},         // combining breve
        OneCharacterCase{"M", "C298", "88", "1", true, false},         // nonsort begin
        OneCharacterCase{"M", "CABE", "AE", "1", true, false},         // right half ring
        OneCharacterCase{"M", "CABC", "AE", "1", true, false},         // modifier apostrophe
        OneCharacterCase{"M", "E280A0", "BB", "1", true, false},       // dagger
        OneCharacterCase{"M", "C39F", "C7", "1", true, false},         // sharp s
        OneCharacterCase{"M", "E2809C", "7A", "7", true, false},       // left double quotation mark
        OneCharacterCase{"M", "C2AB", "30", "8", true, false},         // guillemet
        OneCharacterCase{"M", "D0B0", "41", "6", true, false},         // Cyrillic small a
        OneCharacterCase{"M", "D291", "C0", ":", true, false},         // ghe with upturn
        OneCharacterCase{"M", "DAA9", "D8", ";", true, false},         // keheh
        OneCharacterCase{"M", "D9A0", "30", "7", true, false},         // Arabic-Indic zero
        OneCharacterCase{"M", "EFAC9E", "4E", "5", true, false},       // varika
        OneCharacterCase{"M", "CEB1", "61", "8", true, false},         // alpha in M
        OneCharacterCase{"V", "CEB1", "AF", "1", true, false},         // alpha in V
        OneCharacterCase{"O", "CEB1", "61", "8", true, false},
        OneCharacterCase{"M", "E28493", "C1", "1", true, false},       // script small l
        OneCharacterCase{"V", "E28493", "A0", "1", true, false},
        OneCharacterCase{"O", "E28493", "BE", "1", true, false},
        OneCharacterCase{"M", "E281B9", "39", "4", true, false},       // superscript nine
        OneCharacterCase{"M", "E28289", "39", "3", true, false},       // subscript nine
        OneCharacterCase{"V", "E28289", "D9", "1", true, false},
        OneCharacterCase{"M", "E4B880", "213021", "9", true, false},   // U+4E00 in EACC
        OneCharacterCase{"M", "E38080", "212320", "9", true, false},   // ideographic space: lowest code
        OneCharacterCase{"M", "E0A080", "", "1", false, true},         // U+0800: in no table
        OneCharacterCase{"M", "F09D849E", "", "1", false, true}));     // four octets

TEST(Utf8CharCategoryMarc8, ClassifiesByItsOwnList) {
    const struct {
        std::string sUcsHex;
        std::string sCode;
    } cases[] = {
        {"0041", "1"}, {"03B6", "8"}, {"0425", "6"}, {"06CA", "7"}, {"00DF", "?"}, {"4E00", "?"},
        {"0283", "3"}, {"00B9", "1"}, {"2070", "?"}, {"FE23", "1"}, {"FB1E", "5"}, {"0491", "6"},
        {"05F4", "5"}, {"0098", "?"}, {"0301", "1"}, {"0305", "?"}, {"1D11E", "?"},
    };
    for (const auto& c : cases) {
        Utf8CharClass chars;
        chars.UcsHex(c.sUcsHex);
        EXPECT_EQ(chars.Utf8CharCategoryMarc8(), c.sCode) << c.sUcsHex;
    }
    Utf8CharClass empty;
    EXPECT_EQ(empty.Utf8CharCategoryMarc8(), "1");
}

TEST(Marc8Char, SetsTheCurrentCharacterButNotItsUcsForm) {
    Utf8CharClass chars;
    chars.UcsHex("0041");
    const std::string sUcsBefore = chars.UcsChar();
    chars.Marc8Char(std::string("M1") + "\xE2");
    EXPECT_EQ(chars.Utf8Char(), "\xCC\x81");
    EXPECT_EQ(chars.UcsChar(), sUcsBefore);

    chars.Marc8Char("\xA0");  // one octet: set "V", Latin: script small l
    EXPECT_EQ(chars.Utf8Char(), "\xE2\x84\x93");

    chars.Marc8Char("M1\x01");  // no such octet: the current character stays
    EXPECT_EQ(chars.Utf8Char(), "\xE2\x84\x93");
}

}  // namespace
