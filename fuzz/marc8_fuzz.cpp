// Feeds arbitrary octets to the MARC-8 to UTF-8 translation, as a whole text and one character at a
// time under a designation taken from the input, and to the reverse table look-ups. Checks that the
// whole-text result is UTF-8 and that the one-character flags agree with the result.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "chars/utf8_char.h"
#include "marc8/marc8_tables.h"

namespace {

bool IsUtf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const std::size_t count = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        if (count == 0 || i + count > s.size()) return false;
        for (std::size_t k = 1; k < count; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        }
        i += count;
    }
    return true;
}

const char* const kDesignations[] = {"1", "s", "(B", ")!E", "(!E", "2", "g", "3", "b", "4", "p", "5", "(2", ")2",
                                     "6", "(N", ")N", ":", ")Q", "(Q", "7", "(3", ")3", ";", ")4", "(4", "8",
                                     "(S", ")S", "9", "$1", "?", ""};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Utf8CharClass chars;
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const char* sSet : {"M", "V"}) {
        if (!IsUtf8(chars.Marc82Utf8(text, sSet))) std::abort();
    }
    if (size == 0) return 0;
    const char* sDesignation = kDesignations[data[0] % std::size(kDesignations)];
    for (std::size_t p = 1; p < size; p += 3) {
        std::string sUtf8;
        bool bChanged = false;
        bool bError = false;
        chars.TranslateMarc2Utf8OneCharacter(data[0] & 0x80 ? "V" : "M", sDesignation, text.substr(p, 1 + p % 3), sUtf8,
                                             bChanged, bError);
        if (bError == !sUtf8.empty() || (bError && bChanged)) std::abort();
        // The reverse look-ups take any octets.
        marc8::Utf8ToEacc(text.substr(p, 4));
        marc8::FindUtf82Marc(text.substr(p, 3), sDesignation);
    }
    return 0;
}
