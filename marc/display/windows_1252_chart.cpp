// Text held in Windows-1252 read by that set's chart into UTF-8, and the test
// for a record held in Windows-1252 (output set "L").
#include <string>
#include <string_view>

#include "marc/display/display_text.h"
#include "marc/record/marc_record.h"

std::string display_text::Windows1252ToUtf8(std::string_view sText) {
    std::string sOut;
    sOut.reserve(sText.size() + sText.size() / 4);
    for (char c : sText) {
        const unsigned octet = static_cast<unsigned char>(c);
        if (octet < 0x80) {
            sOut.push_back(c);
            continue;
        }
        // The five octets the chart leaves undefined keep their value as C1
        // controls, so that no octet is lost.
        const uint16_t defined = Windows1252CodePoint(octet);
        const unsigned ucs = defined != 0 ? defined : octet;
        char utf8[3];
        size_t n = 0;
        if (ucs < 0x800) {
            utf8[n++] = static_cast<char>(0xC0 | (ucs >> 6));
        } else {
            utf8[n++] = static_cast<char>(0xE0 | (ucs >> 12));
            utf8[n++] = static_cast<char>(0x80 | ((ucs >> 6) & 0x3F));
        }
        utf8[n++] = static_cast<char>(0x80 | (ucs & 0x3F));
        sOut.append(utf8, n);
    }
    return sOut;
}

bool Utf8MarcRecordClass::RecordHeldInWindows1252() const { return !m.RecordIsUtf8 && m.CharacterSetOut == "L"; }
