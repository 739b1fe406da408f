#pragma once
// The order family of a format code, shared by the order-rule files.
#include <string>
#include <string_view>

namespace order_rules {

// "A" authority, "B" bibliographic ("B", "D", "F", "M", "P", "S", "U"), "H"
// holdings, "O" every other format.
inline char OrderFamily(const std::string& sMarcFormat) {
    if (sMarcFormat == "A") return 'A';
    if (sMarcFormat == "H") return 'H';
    if (sMarcFormat.size() == 1 && std::string_view("BDFMPSU").find(sMarcFormat[0]) != std::string_view::npos)
        return 'B';
    return 'O';
}

// Every subfield code, in the order of the final "any order" group.
inline constexpr const char* kAllSubfieldCodes = "abcdefghijklmnopqrstuvwxyz0123456789";

}  // namespace order_rules
