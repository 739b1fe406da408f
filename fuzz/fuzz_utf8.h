#pragma once
// The fuzz targets' test of UTF-8 text.
#include <cstddef>
#include <cstdint>
#include <string>

// UTF-8 without overlong forms or code points beyond U+10FFFF.
inline bool IsWellFormedUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80 ? 1 : c < 0xC2 ? 0 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c < 0xF5 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        uint32_t code = n == 1 ? c : c & (0x7F >> n);
        for (size_t k = 1; k < n; ++k) {
            const unsigned char d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            code = code << 6 | (d & 0x3F);
        }
        if ((n == 3 && code < 0x800) || (n == 4 && (code < 0x10000 || code > 0x10FFFF))) return false;
        i += n;
    }
    return true;
}
