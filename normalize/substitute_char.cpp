// Character substitution: the replacement of one UTF-8 character in record
// text by its decomposed or plain form, or of a private-use character by the
// ideograph it stands for. The decomposition of records on load runs it over
// every character of their variable fields.
#include "chars/utf8_char.h"
#include "common/utli_misc_non_utf8.h"
#include "normalize/latin_letters.h"
#include "normalize/substitution_tables.h"

namespace {

unsigned OctetAt(const std::string& s, size_t i) { return static_cast<unsigned char>(s[i]); }

bool IsContinuation(unsigned octet) { return (octet & 0xC0) == 0x80; }

// The code point of the well-formed character of two or three octets at the
// start of s; -1 when it is anything else (ASCII, four octets, a stray or
// missing continuation octet, an overlong form or a surrogate), none of which
// has a substitute.
int32_t LeadingCodePoint(const std::string& s) {
    if (s.size() < 2) return -1;
    const unsigned lead = OctetAt(s, 0);
    if (lead >= 0xC2 && lead <= 0xDF) {
        if (!IsContinuation(OctetAt(s, 1))) return -1;
        return static_cast<int32_t>(((lead & 0x1F) << 6) | (OctetAt(s, 1) & 0x3F));
    }
    if (lead >= 0xE0 && lead <= 0xEF && s.size() >= 3) {
        if (!IsContinuation(OctetAt(s, 1)) || !IsContinuation(OctetAt(s, 2))) return -1;
        const int32_t cp =
            static_cast<int32_t>(((lead & 0x0F) << 12) | ((OctetAt(s, 1) & 0x3F) << 6) | (OctetAt(s, 2) & 0x3F));
        if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
        return cp;
    }
    return -1;
}

// The plain substitutes of blocks "00", "01" and "20"; nullptr for none
// (the letters with canonical decompositions have none here).
const char* PlainSubstitute(int32_t cp) {
    switch (cp) {
        // The en dash, em dash and trade mark positions of Windows-1252.
        case 0x0096: return "-";
        case 0x0097: return "--";
        case 0x0099: return "[TM]";
        case 0x00DF: return "ss";
        case 0x0132: return "IJ";
        case 0x0133: return "ij";
        case 0x013F: return "L\xC2\xB7";
        case 0x0140: return "l\xC2\xB7";
        case 0x0149: return "'n";
        // The alveolar click letter stands for the subfield delimiter.
        case 0x01C2: return "\x1F";
        case 0x2010: case 0x2011: case 0x2012: case 0x2013: return "-";
        case 0x2014: case 0x2015: return "--";
        case 0x2018: case 0x2019: case 0x201A: case 0x201B: return "'";
        case 0x201C: case 0x201D: case 0x201E: case 0x201F: return "\"";
        case 0x2026: return "...";
        default: return nullptr;
    }
}

}  // namespace

const std::string& Utf8CharClass::PuaIdeographTable() {
    static const std::string table(substitution::kPuaIdeographTableText);
    return table;
}

bool Utf8CharClass::SubstituteUtf8Char(OctetString sInputChar, OctetString& sReturnChar) {
    sReturnChar = sInputChar;
    if (sInputChar.size() < 2) return false;
    Utf8Char(sInputChar);

    const int32_t cp = LeadingCodePoint(sInputChar);
    if (cp < 0) return false;
    const char* substitute = PlainSubstitute(cp);
    if (substitute == nullptr) substitute = latin_letters::Decomposition(static_cast<uint32_t>(cp));
    if (substitute != nullptr) {
        sReturnChar = substitute;
        return true;
    }

    // The private-use characters: the key is the text's own three octets.
    if (sInputChar.size() != 3 || cp < 0xE000 || cp > 0xF8FF) return false;
    const std::string sKey = " " + UtliMiscNonUtf8::TextToHex(sInputChar) + ":";
    const size_t at = PuaIdeographTable().find(sKey);
    if (at == std::string::npos || at + sKey.size() + 6 > PuaIdeographTable().size()) return false;
    sReturnChar = UtliMiscNonUtf8::HexToText(PuaIdeographTable().substr(at + sKey.size(), 6));
    return true;
}
