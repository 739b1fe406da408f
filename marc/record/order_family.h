#pragma once
// The order family of a format code, shared by the order-rule files.
#include <string>
#include <string_view>

namespace order_rules {

// "A" authority, "B" bibliographic ("B", "D", "F", "M", "P", "S", "U"), "H"
// holdings, "O" every other format.
inline char OrderFamily(const std::string& sMarcFormat) {
    if (sMarcFormat.size() != 1) return 'O';
    switch (sMarcFormat[0]) {
        case 'A': return 'A';
        case 'H': return 'H';
        case 'B': case 'D': case 'F': case 'M': case 'P': case 'S': case 'U': return 'B';
        default: return 'O';
    }
}

// Every subfield code, in the order of the final "any order" group.
inline constexpr const char* kAllSubfieldCodes = "abcdefghijklmnopqrstuvwxyz0123456789";

}  // namespace order_rules
