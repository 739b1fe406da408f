// Drives the character object's setters and conversions with arbitrary octets:
// none may read or write outside its input, whatever the octets.

#include <cstddef>
#include <cstdint>
#include <string>

#include "chars/utf8_char.h"
#include "common/raised_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Utf8CharClass c;
    size_t i = 0;
    // Each step: one octet chooses the operation, one the length of its argument.
    while (i + 2 <= size) {
        unsigned op = data[i] % 12;
        size_t len = data[i + 1] % 12;
        i += 2;
        if (len > size - i) len = size - i;
        std::string arg(reinterpret_cast<const char*>(data + i), len);
        i += len;
        // The argument's octets as a number, wrapping: any 64-bit value may come.
        uint64_t bits = 0;
        for (unsigned char b : arg) bits = bits * 256 + b;
        const auto value = static_cast<OctetValue>(bits);
        switch (op) {
            case 0: c.Utf8Char(arg); break;
            case 1: c.UcsChar(arg); break;
            case 2: c.UcsHex(arg); break;
            case 3:
                try {
                    c.Utf8CharAsc(value);
                } catch (const RaisedError&) {
                }
                break;
            case 4: (void)c.Utf8CharVal(arg); break;
            case 5: (void)c.Ucs2Utf8(arg); (void)c.Utf82Ucs(arg); (void)c.Utf8Asc(arg); break;
            case 6: (void)c.UcsHex2Utf8(arg); break;
            case 7: (void)c.Utf8CharFindFirstOctet(arg, static_cast<int32_t>(value & 0xFF) - 8); break;
            case 8: (void)c.Char2Hex(arg); (void)c.Hex2Char(arg); break;
            case 9: (void)c.UcsNumericToUtf8(static_cast<int32_t>(value)); break;
            case 10: (void)c.Utf8CharOctets(arg); break;
            default: break;
        }
        // Every read of the current character.
        (void)c.Utf8Char();
        (void)c.UcsChar();
        (void)c.UcsHex();
        (void)c.Utf8CharAsc();
        (void)c.Utf8CharLCase();
        (void)c.Utf8CharUCase();
        (void)c.Utf8CharCategory();
        (void)c.Utf8CharNonRoman();
        (void)c.Utf8CharHex();
    }
    return 0;
}
