#pragma once
// Test texts of the display members: "<C3 A9>" stands for the octets written
// in hexadecimal between the brackets, "$" for the subfield delimiter, and
// every other character for itself. Texts that hold "<" themselves write
// the octets in braces instead: "{C3 A9}".

#include <string>

#include "chars/test_octets.h"
#include "common/utli_misc_non_utf8.h"

namespace display_test {

inline std::string T(const std::string& s, char open = '<', char closing = '>') {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == open) {
            const size_t close = s.find(closing, i);
            out += test_octets::O(s.substr(i + 1, close - i - 1));
            i = close;
        } else {
            out += s[i] == '$' ? '\x1F' : s[i];
        }
    }
    return out;
}

inline std::string B(const std::string& s) { return T(s, '{', '}'); }

// Octets as hexadecimal pairs, for comparisons that print readably.
inline std::string Hex(const std::string& s) { return UtliMiscNonUtf8::TextToHex(s); }

}  // namespace display_test
