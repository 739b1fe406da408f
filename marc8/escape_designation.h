#pragma once
// The escape sequences of MARC-8 text as the record translations read them: ESC and a whole
// designation ("s", "p", "(B", ")!E", "(N", ")Q", "$1", "$)1" ...), which graphic set (G0 for
// octets below 0x80, G1 from 0x80) it selects, and whether that set is Latin.

#include <cstddef>
#include <string>
#include <string_view>

namespace marc8 {

inline constexpr char kEscape = '\x1B';

// Whether two codes are the same, compared octet by octet in place: they are
// a few octets long, too short for a library comparison to pay.
constexpr bool SameCode(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

struct EscapeSequence {
    std::string_view designation;  // the octets after ESC; what there is when cut
    bool complete = false;         // false: cut, by the end of the text or by a structural octet
    std::size_t Length() const { return 1 + designation.size(); }
};

// Octets that no escape sequence takes: the delimiter, the terminators and ESC. Before one of
// them an escape sequence is cut, and the octet is read as what it is.
constexpr bool EndsEscape(char c) { return c == '\x1F' || c == '\x1E' || c == '\x1D' || c == kEscape; }

// The escape sequence that starts at `pos` (where the text holds ESC). An intermediate "(",
// ")", "," or "-" is followed by one final octet, or by "!" and one; "$" may take such an
// intermediate before its final octet; any other octet is a one-octet designation. A sequence
// that the text ends inside of, or that meets a delimiter, a terminator or ESC, is cut before it
// (`complete` false, `Length()` the octets read).
inline EscapeSequence ReadEscape(std::string_view text, std::size_t pos) {
    auto isIntermediate = [](char c) { return c == '(' || c == ')' || c == ',' || c == '-'; };
    std::size_t q = pos + 1;
    const std::size_t n = text.size();
    auto done = [&](bool complete) { return EscapeSequence{text.substr(pos + 1, q - pos - 1), complete}; };
    // Whether the octet at q may be taken into the sequence.
    auto more = [&] { return q < n && !EndsEscape(text[q]); };
    if (!more()) return done(false);
    const char x = text[q++];
    if (x == '$') {
        if (!more()) return done(false);
        if (isIntermediate(text[q])) ++q;
        if (!more()) return done(false);
        ++q;
        return done(true);
    }
    if (isIntermediate(x)) {
        if (!more()) return done(false);
        if (text[q] == '!') {
            ++q;
            if (!more()) return done(false);
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
inline bool IsLatinG0(std::string_view d) { return SameCode(d, "s") || SameCode(d, "(B"); }
inline bool IsLatinG1(std::string_view d) { return SameCode(d, ")!E"); }

// The code a designation puts in force, as the field reader names it: "s" for a return to the
// Latin sets, "$1" for the East Asian set in G0 ("$1", "$,1"), "$)" and the final octet for it in
// G1 ("$)1", "$-1"); any other designation is its own code.
inline std::string CodeOfDesignation(std::string_view d) {
    if (SameCode(d, "(B") || SameCode(d, ")B")) return "s";
    if (SameCode(d, "$1") || SameCode(d, "$,1")) return "$1";
    if (d.size() == 3 && d[0] == '$' && (d[1] == ')' || d[1] == '-')) return std::string("$)") + d[2];
    return std::string(d);
}

// The G1 code that comes with a new G0 code when the escape leaves G1 as it was.
inline std::string_view CompanionG1(std::string_view g0) {
    if (SameCode(g0, "(2") || SameCode(g0, "(S")) return ")!E";
    if (SameCode(g0, "(N")) return ")Q";
    if (SameCode(g0, "(3")) return ")4";
    return "s";
}

// The G0 and G1 codes after a complete escape sequence of designation d: a one-octet designation
// and "(" designations set G0, ")" designations G1, the East Asian G0 designation both; a change
// of G0 that leaves G1 as it was brings G1 the companion of the new G0 set.
inline void FollowEscape(std::string_view d, std::string& g0, std::string& g1) {
    // The new code of each set the designation names; the other keeps its code.
    std::string code;
    std::string_view n0, n1;
    bool b0 = false, b1 = false;
    if (d.size() == 1) {
        b0 = true;
        n0 = d;
    } else if (d.size() == 3 && d[1] == '!') {
        (d[0] == '(' ? b0 : b1) = true;
        (d[0] == '(' ? n0 : n1) = d;
    } else {
        code = CodeOfDesignation(d);
        if (SameCode(code, "$1")) b0 = b1 = true;
        else (DesignatesG1(d) ? b1 : b0) = true;
        n0 = n1 = code;
    }
    if (b0 && !SameCode(n0, g0) && (!b1 || SameCode(n1, g1))) {
        g0.assign(n0);
        g1.assign(CompanionG1(g0));
        return;
    }
    if (b0) g0.assign(n0);
    if (b1) g1.assign(n1);
}

// Codes under which the reader takes octets as Latin: basic Latin in G0, extended Latin in G1.
inline bool IsLatinCodeG0(std::string_view code) { return SameCode(code, "s"); }
inline bool IsLatinCodeG1(std::string_view code) { return SameCode(code, "s") || SameCode(code, ")!E"); }

}  // namespace marc8
