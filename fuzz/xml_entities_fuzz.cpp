// Feeds arbitrary octets to XmlUnconditionText with and without the flag for
// other numeric references: no crash, no hang; the result is never longer
// than the text and, without the flag, holds no carriage return or line feed
// (with it, only references give them); well-formed UTF-8 stays well formed;
// a record held in MARC-8 gets the text back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>

#include "marc/record/marc_record.h"

namespace {

// UTF-8 without overlong forms, surrogates or code points beyond U+10FFFF.
bool IsWellFormedUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const size_t n = c < 0x80 ? 1 : c < 0xC2 ? 0 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c < 0xF5 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        uint32_t code = n == 1 ? c : c & (0x7F >> n);
        for (size_t k = 1; k < n; ++k) {
            const unsigned char d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            code = code << 6 | (d & 0x3F);
        }
        if ((n == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (n == 4 && (code < 0x10000 || code > 0x10FFFF)))
            return false;
        i += n;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Utf8MarcRecordClass utf8;
    static Utf8MarcRecordClass marc8;
    static const bool bMarc8Set = (marc8.CharacterSetOut("M"), true);
    (void)bMarc8Set;

    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool bWellFormed = IsWellFormedUtf8(text);
    for (bool bFlag : {false, true}) {
        const std::string out = utf8.XmlUnconditionText(text, bFlag);
        if (out.size() > text.size()) __builtin_trap();
        if (!bFlag && out.find_first_of("\r\n") != std::string::npos) __builtin_trap();
        if (bWellFormed && !IsWellFormedUtf8(out)) __builtin_trap();
        if (marc8.XmlUnconditionText(text, bFlag) != text) __builtin_trap();
    }
    return 0;
}
