// Feeds arbitrary octets to XmlUnconditionText with and without the flag for
// other numeric references: no crash, no hang; the result is never longer
// than the text and, without the flag, holds no carriage return or line feed
// (with it, only references give them); well-formed UTF-8 stays well formed;
// a record held in MARC-8 gets the text back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_utf8.h"
#include "marc/record/marc_record.h"

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
