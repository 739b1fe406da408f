#pragma once
// The text of a field with a blank on each side of every delimiter-and-code pair, read from the
// left in one pass: a blank before each delimiter but one at the start, and a blank after the
// octet that follows it. That octet is the subfield code, or, where a delimiter follows a
// delimiter, the blank that the second one would put before itself. A delimiter that ends the
// text stays as it is.

#include <cstddef>
#include <string_view>

namespace spaced_delimiters {

// Calls emit(std::string_view) for the runs of octets that make the spaced text of s, in order.
template <class Emit>
void ForEachRun(std::string_view s, char delimiter, Emit&& emit) {
    constexpr char kBlank = ' ';
    const std::size_t n = s.size();
    bool bBlankTaken = false;  // the blank before this delimiter became the code of the one before
    for (std::size_t i = 0; i < n;) {
        std::size_t d = s.find(delimiter, i);
        if (d != std::string_view::npos && d + 1 >= n) d = std::string_view::npos;  // the last octet
        const std::size_t end = d == std::string_view::npos ? n : d;
        if (end > i) emit(s.substr(i, end - i));
        if (end == n) break;
        i = d;
        char pair[4];
        std::size_t k = 0;
        if (i > 0 && !bBlankTaken) pair[k++] = kBlank;
        bBlankTaken = false;
        pair[k++] = delimiter;
        if (s[i + 1] == delimiter && i + 2 < n) {
            pair[k++] = kBlank;
            pair[k++] = kBlank;
            bBlankTaken = true;
            i += 1;
        } else {
            pair[k++] = s[i + 1];
            pair[k++] = kBlank;
            i += 2;
        }
        emit(std::string_view(pair, k));
    }
}

}  // namespace spaced_delimiters
