// Feeds arbitrary octets to the display members of the record, in a record
// of each output set and in every display flavour, and checks what their
// callers rely on: MsoftAscii2Marc changes a text exactly when it holds an
// octet from 0x80; the Latin-1 form of UTF-8 text is UTF-8 of U+0000-U+00FF;
// the plain-letter members never lengthen a text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "marc/record/marc_record.h"

namespace {

bool HasHighOctet(const std::string& s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

bool IsLatin1Utf8(const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) continue;
        if ((c != 0xC2 && c != 0xC3) || i + 1 >= s.size() || (static_cast<unsigned char>(s[i + 1]) & 0xC0) != 0x80)
            return false;
        ++i;
    }
    return true;
}

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const kSets[] = {"U", "M", "O", "V", "L"};
    static std::unique_ptr<Utf8MarcRecordClass> records[5];
    if (!records[0]) {
        for (int i = 0; i < 5; ++i) {
            records[i] = std::make_unique<Utf8MarcRecordClass>();
            records[i]->CharacterSetOut(kSets[i]);
        }
    }
    // The first four octets give one more flavour, the rest is the text.
    int32_t flavour = 0;
    const size_t n = size < sizeof flavour ? size : sizeof flavour;
    std::memcpy(&flavour, data, n);
    const std::string text(reinterpret_cast<const char*>(data) + n, size - n);

    for (int i = 0; i < 5; ++i) {
        Utf8MarcRecordClass& r = *records[i];
        const bool bUtf8 = i == 0;
        Check((r.MsoftAscii2Marc(text) != text) == HasHighOctet(text));
        for (int32_t f : {0, 1, 2, 7, 9, flavour}) {
            const std::string shown = r.Marc2MsoftAscii(text, f);
            if (bUtf8 && f != 1 && f != 9) Check(IsLatin1Utf8(shown));
        }
        Check(r.SubstituteRegularCharacters(text).size() <= text.size());
        Check(r.RemoveDiacritics(text).size() <= text.size());
    }
    return 0;
}
