// UTF-8 to MARC-8 for one character: the translator over the single-octet tables and the EACC
// table, the classifier by this class's own list, and the MARC-8 setter of the current character.

#include <cstdint>
#include <string>

#include "chars/utf8_char.h"
#include "marc8/marc8_tables.h"

namespace {

struct CodeRange {
    char32_t first;
    char32_t last;
    char code;
};

// The classifier's list: the characters it places, in ascending order, with their table code.
constexpr CodeRange kCategoryMarc8[] = {
    {0x00A1, 0x00A1, '1'}, {0x00A3, 0x00A3, '1'}, {0x00A9, 0x00A9, '1'}, {0x00AE, 0x00AE, '1'},
    {0x00B0, 0x00B3, '1'}, {0x00B7, 0x00B7, '1'}, {0x00B9, 0x00B9, '1'}, {0x00BF, 0x00BF, '1'},
    {0x00C6, 0x00C6, '1'}, {0x00D8, 0x00D8, '1'}, {0x00DE, 0x00DE, '1'}, {0x00E6, 0x00E6, '1'},
    {0x00F0, 0x00F0, '1'}, {0x00F8, 0x00F8, '1'}, {0x00FE, 0x00FE, '1'}, {0x0110, 0x0111, '1'},
    {0x0131, 0x0131, '1'}, {0x0141, 0x0142, '1'}, {0x0152, 0x0153, '1'}, {0x01A0, 0x01A1, '1'},
    {0x01AF, 0x01B0, '1'},
    {0x0270, 0x0270, '3'}, {0x0274, 0x027B, '3'}, {0x027D, 0x027E, '3'}, {0x0280, 0x028B, '3'},
    {0x028D, 0x028E, '3'}, {0x02B9, 0x02BC, '1'}, {0x02BE, 0x02BE, '1'},
    {0x0300, 0x0304, '1'}, {0x0306, 0x030C, '1'}, {0x0310, 0x0310, '1'}, {0x0313, 0x0313, '1'},
    {0x0315, 0x0315, '1'}, {0x031C, 0x031C, '1'}, {0x0323, 0x0328, '1'}, {0x032E, 0x032E, '1'},
    {0x0332, 0x0333, '1'}, {0x0342, 0x0342, '8'}, {0x0345, 0x0345, '8'}, {0x0374, 0x0375, '8'},
    {0x037E, 0x037E, '8'}, {0x0387, 0x0387, '8'}, {0x0391, 0x03A1, '8'}, {0x03A3, 0x03A9, '8'},
    {0x03B1, 0x03C9, '8'}, {0x03D0, 0x03D0, '8'}, {0x03DA, 0x03E1, '8'},
    {0x0401, 0x040C, '6'}, {0x040E, 0x044F, '6'}, {0x0451, 0x045C, '6'}, {0x045E, 0x045F, '6'},
    {0x0462, 0x0463, '6'}, {0x046A, 0x046B, '6'}, {0x0472, 0x0475, '6'}, {0x0490, 0x0491, '6'},
    {0x05B0, 0x05B9, '5'}, {0x05BB, 0x05BC, '5'}, {0x05BE, 0x05BF, '5'}, {0x05C1, 0x05C1, '5'},
    {0x05D0, 0x05EA, '5'}, {0x05F0, 0x05F4, '5'},
    {0x061B, 0x061B, '7'}, {0x061F, 0x061F, '7'}, {0x0621, 0x063A, '7'}, {0x0640, 0x0652, '7'},
    {0x0660, 0x0669, '7'}, {0x0670, 0x0673, '7'}, {0x0679, 0x06C0, '7'}, {0x06C4, 0x06C6, '7'},
    {0x06CA, 0x06CB, '7'}, {0x06CD, 0x06CE, '7'}, {0x06D0, 0x06D0, '7'}, {0x06D2, 0x06D3, '7'},
    {0x06FA, 0x06FD, '7'},
    {0x2113, 0x2113, '1'}, {0x2117, 0x2117, '1'}, {0x266D, 0x266D, '1'}, {0x266F, 0x266F, '1'},
    {0xFB1E, 0xFB1E, '5'}, {0xFE20, 0xFE23, '1'},
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

void Utf8CharClass::TranslateUtf82MarcOneCharacter(std::string& sCharacterSetOut, Marc8TableCode& sTableName,
                                                   OctetString& sUtf8Character, OctetString& sMarc8Character,
                                                   bool& bChanged, bool& bCharacterError) const {
    sTableName = "1";
    bCharacterError = false;
    if (sUtf8Character == Utf8LeftToRightMarker() || sUtf8Character == Utf8RightToLeftMarker()) {
        sMarc8Character.clear();
    } else if (!(sUtf8Character > "~")) {
        // One-octet characters stand for themselves where MARC-8 has them.
        const bool bOneOctet = sUtf8Character.size() == 1;
        const auto octet = bOneOctet ? static_cast<unsigned char>(sUtf8Character[0]) : 0;
        if (bOneOctet && (octet == 0x1B || (octet >= 0x1D && octet <= 0x1F) || (octet >= 0x20 && octet <= 0x7E))) {
            sMarc8Character = sUtf8Character;
        } else {
            bCharacterError = true;
        }
    } else {
        FindUtf82MarcEntry(sCharacterSetOut, sUtf8Character, sMarc8Character, Utf82MarcTable(), bCharacterError,
                           sTableName);
        if (!bCharacterError) {
            const bool bHigh = !sMarc8Character.empty() && static_cast<unsigned char>(sMarc8Character[0]) > 0x7F;
            if (bHigh && sTableName == "6") sTableName = ":";
            if (bHigh && sTableName == "7") sTableName = ";";
        } else if (sUtf8Character.size() == 3) {
            FindEaccCode(sUtf8Character, sMarc8Character, bCharacterError);
            if (!bCharacterError) sTableName = "9";
        }
        if (bCharacterError) {
            sMarc8Character.clear();
            sTableName = "1";
        }
    }
    if (!bCharacterError) bChanged = sMarc8Character != sUtf8Character;
}

void Utf8CharClass::FindUtf82MarcEntry(const std::string& sCharacterSetOut, const OctetString& sUtf8Character,
                                       OctetString& sMarc8Character, const std::string& sTable,
                                       bool& bCharacterError, Marc8TableCode& sTableName) const {
    // Only the main table is ever searched here; its entries are indexed by key.
    (void)sTable;
    sMarc8Character.clear();
    const marc8::Utf82MarcEntry* entry = marc8::FindUtf82Marc(sUtf8Character, sCharacterSetOut);
    if (entry == nullptr) {
        bCharacterError = true;
        return;
    }
    sMarc8Character.assign(1, static_cast<char>(entry->octet));
    sTableName.assign(1, entry->code);
    bCharacterError = false;
}

void Utf8CharClass::FindEaccCode(const OctetString& sUtf8Character, OctetString& sMarc8Character,
                                 bool& bCharacterError) const {
    sMarc8Character.clear();
    const auto sEacc = marc8::Utf8ToEacc(sUtf8Character);
    bCharacterError = !sEacc;
    if (sEacc) sMarc8Character = *sEacc;
}

Utf8CharClass::Marc8TableCode Utf8CharClass::Utf8CharCategoryMarc8() const {
    if (CurrentValue < 128) return "1";
    const std::string sHex = UcsHex();
    if (sHex.size() != 4) return "?";
    char32_t cp = 0;
    for (char c : sHex) {
        const int digit = HexDigit(c);
        if (digit < 0) return "?";
        cp = (cp << 4) | static_cast<char32_t>(digit);
    }
    for (const auto& range : kCategoryMarc8) {
        if (cp < range.first) break;
        if (cp <= range.last) return std::string(1, range.code);
    }
    return "?";
}

void Utf8CharClass::Marc8Char(const OctetString& vNewValue) {
    std::string sSet = "V";
    Marc8TableDesignation sDesignation = "1";
    OctetString sOctet = vNewValue;
    if (vNewValue.size() != 1) {
        sSet = vNewValue.substr(0, 1);
        sDesignation = vNewValue.size() > 1 ? vNewValue.substr(1, 1) : "";
        sOctet = vNewValue.size() > 2 ? vNewValue.substr(2, 1) : "";
    }
    OctetString sUtf8;
    bool bChanged = false;
    bool bCharacterError = false;
    TranslateMarc2Utf8OneCharacter(sSet, sDesignation, sOctet, sUtf8, bChanged, bCharacterError);
    if (bCharacterError) return;
    // The UCS form is left as it was: only the UTF-8 side takes the new character.
    SyncInProgress = true;
    Utf8Char(sUtf8);
    SyncInProgress = false;
}
