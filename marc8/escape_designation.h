#pragma once
// The escape sequences of MARC-8 text as the record translations read them: ESC and a whole
// designation ("s", "p", "(B", ")!E", "(N", ")Q", "$1", "$)1" ...), which graphic set (G0 for
// octets below 0x80, G1 from 0x80) it selects, and whether that set is Latin.

#include <cstddef>
#include <string_view>

namespace marc8 {

inline constexpr char kEscape = '\x1B';

struct EscapeSequence {
    std::string_view designation;  // the octets after ESC; what there is when incomplete
    bool complete = false;         // false: the text ends inside the sequence
    std::size_t Length() const { return 1 + designation.size(); }
};

// The escape sequence that starts at `pos` (where the text holds ESC). An intermediate "(",
// ")", "," or "-" is followed by one final octet, or by "!" and one; "$" may take such an
// intermediate before its final octet; any other octet is a one-octet designation.
inline EscapeSequence ReadEscape(std::string_view text, std::size_t pos) {
    auto isIntermediate = [](char c) { return c == '(' || c == ')' || c == ',' || c == '-'; };
    std::size_t q = pos + 1;
    const std::size_t n = text.size();
    auto done = [&](bool complete) { return EscapeSequence{text.substr(pos + 1, q - pos - 1), complete}; };
    if (q >= n) return done(false);
    const char x = text[q++];
    if (x == '$') {
        if (q >= n) return done(false);
        if (isIntermediate(text[q])) ++q;
        if (q >= n) return done(false);
        ++q;
        return done(true);
    }
    if (isIntermediate(x)) {
        if (q >= n) return done(false);
        if (text[q] == '!') {
            ++q;
            if (q >= n) return done(false);
        }
        ++q;
    }
    return done(true);
}

// A designation of the G1 set (octets from 0x80): ")", "-", "$)" or "$-" first.
inline bool DesignatesG1(std::string_view d) {
    if (d.empty()) return false;
    const char c = d[0] == '$' && d.size() > 2 ? d[1] : d[0];
    return c == ')' || c == '-';
}

// The designations that return to the Latin sets: basic Latin as G0, extended Latin as G1.
inline bool IsLatinG0(std::string_view d) { return d == "s" || d == "(B"; }
inline bool IsLatinG1(std::string_view d) { return d == ")!E"; }

}  // namespace marc8
