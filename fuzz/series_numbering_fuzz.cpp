// Calls the four forms of a sortable series numbering and both numbering
// patterns with a numbering and two headings taken from the input (split at
// the octet 0x00), in a UTF-8 record and in 8-bit records ("M" and "V").
// In the UTF-8 record, valid UTF-8 in must give valid UTF-8 out.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/raised_error.h"
#include "marc/record/marc_record.h"

namespace {

// Well-formed UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        size_t length;
        uint32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + length > s.size()) return false;
        for (size_t k = 1; k < length; ++k) {
            const unsigned char t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

// The caption-letter passes take time of the cube of a text's length; a
// numbering or heading of a record is far shorter than this.
constexpr size_t kLongestText = 512;

std::string NextText(const uint8_t* data, size_t size, size_t& pos) {
    std::string text;
    while (pos < size && data[pos] != 0) text += static_cast<char>(data[pos++]);
    if (pos < size) ++pos;
    if (text.size() > kLongestText) text.resize(kLongestText);
    return text;
}

void Exercise(Utf8MarcRecordClass& r, const std::string& v, const std::string& sOriginal,
              const std::string& sHeading, bool bCheckUtf8) {
    auto check = [&](const std::string& out) {
        if (bCheckUtf8 && !IsValidUtf8(out)) std::abort();
    };
    for (int32_t mode = 0; mode <= 5; ++mode) {
        try {
            check(r.NormalizeSeriesNumberForSorting(mode, sOriginal, sHeading, v));
        } catch (const RaisedError&) {
        }
    }
    try {
        check(r.ReduceSeriesNumberingToPattern1(v));
    } catch (const RaisedError&) {
    }
    try {
        check(r.ReduceSeriesNumberingToPattern2(v));
    } catch (const RaisedError&) {
    }
    try {
        r.IsThisARomanNumeral(v);
        r.RomanNumberValue(v);
    } catch (const RaisedError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Utf8MarcRecordClass* utf8 = new Utf8MarcRecordClass();
    static Utf8MarcRecordClass* marc8 = [] {
        auto* r = new Utf8MarcRecordClass();
        r->CharacterSetOut("M");
        return r;
    }();
    static Utf8MarcRecordClass* setV = [] {
        auto* r = new Utf8MarcRecordClass();
        r->CharacterSetOut("V");
        return r;
    }();
    size_t pos = 0;
    const std::string v = NextText(data, size, pos);
    const std::string sOriginal = NextText(data, size, pos);
    const std::string sHeading = NextText(data, size, pos);
    Exercise(*utf8, v, sOriginal, sHeading, IsValidUtf8(v) && IsValidUtf8(sOriginal) && IsValidUtf8(sHeading));
    Exercise(*marc8, v, sOriginal, sHeading, false);
    Exercise(*setV, v, sOriginal, sHeading, false);
    return 0;
}
