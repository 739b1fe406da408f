#pragma once
// The text of a field with a blank on each side of every delimiter-and-code pair, read from the
// left in one pass: a blank before each delimiter but one at the start, and a blank after the
// octet that follows it. That octet is the subfield code, or, where a delimiter follows a
// delimiter, the blank that the second one would put before itself. A delimiter that ends the
// text stays as it is.

#include <cstddef>
#include <string_view>

namespace spaced_delimiters {

// Calls emit(char) for each octet of the spaced text of s.
template <class Emit>
void ForEachOctet(std::string_view s, char delimiter, Emit&& emit) {
    constexpr char kBlank = ' ';
    const std::size_t n = s.size();
    bool bBlankTaken = false;  // the blank before this delimiter became the code of the one before
    for (std::size_t i = 0; i < n;) {
        if (s[i] != delimiter || i + 1 >= n) {
            emit(s[i++]);
            continue;
        }
        if (i > 0 && !bBlankTaken) emit(kBlank);
        bBlankTaken = false;
        emit(delimiter);
        if (s[i + 1] == delimiter && i + 2 < n) {
            emit(kBlank);
            emit(kBlank);
            bBlankTaken = true;
            i += 1;
        } else {
            emit(s[i + 1]);
            emit(kBlank);
            i += 2;
        }
    }
}

}  // namespace spaced_delimiters
