#pragma once
// Small text tests shared by the series-numbering members: 1-based character
// reads that give "none" outside the text, word lists, first and last words.
// Everything works on octets; the members decide where whole UTF-8
// characters matter.

#include <cstdint>
#include <string>
#include <string_view>

#include "marc/record/marc_record.h"

namespace series_text {

// The octet at a 1-based position, or -1 (the empty character) outside the text.
inline int Ch(std::string_view s, int64_t i) {
    return i >= 1 && i <= static_cast<int64_t>(s.size()) ? static_cast<unsigned char>(s[static_cast<size_t>(i - 1)])
                                                         : -1;
}
inline bool IsDigit(int c) { return c >= '0' && c <= '9'; }
inline bool IsCapital(int c) { return c >= 'A' && c <= 'Z'; }
inline bool IsSmall(int c) { return c >= 'a' && c <= 'z'; }
inline bool IsLetter(int c) { return IsCapital(c) || IsSmall(c); }
inline bool OneOf(int c, std::string_view set) { return c >= 0 && set.find(static_cast<char>(c)) != set.npos; }
inline bool HasDigit(std::string_view s) {
    for (char c : s)
        if (IsDigit(static_cast<unsigned char>(c))) return true;
    return false;
}
inline bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }
inline bool EndsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

// A word belongs to a list of blank-separated words when " w " occurs in it
// (so the empty word belongs wherever two blanks stand together).
inline bool InWords(std::string_view list, std::string_view w) {
    std::string key;
    key.reserve(w.size() + 2);
    key += ' ';
    key += w;
    key += ' ';
    return list.find(key) != list.npos;
}

// The text up to its first blank (all of it without one).
inline std::string FirstWord(std::string_view s) {
    const size_t p = s.find(' ');
    return std::string(p == s.npos ? s : s.substr(0, p));
}
// The text after its first blank ("" without one).
inline std::string AfterFirstWord(std::string_view s) {
    const size_t p = s.find(' ');
    return p == s.npos ? std::string() : std::string(s.substr(p + 1));
}

// The abbreviation of a word in a table of groups "variant ... *ABBR": from
// the first " w ", the text after the next "*", at most 50 characters, up to
// its first blank. Found False when no " w " occurs.
inline std::string Abbreviation(std::string_view table, std::string_view w, bool& bFound) {
    std::string key = " ";
    key += w;
    key += ' ';
    const size_t at = table.find(key);
    bFound = at != table.npos;
    if (!bFound) return std::string(w);
    const size_t star = table.find('*', at);
    if (star == table.npos) return "";
    return FirstWord(table.substr(star + 1, 50));
}

// The trimmed comparison form of a text.
inline std::string NormTrim(Utf8MarcRecordClass& r, const std::string& s) { return r.NormString(s, true, "V"); }
// The text after its last blank (all of it without one), found with the
// record's Rat, which yields while it searches.
inline std::string LastWord(Utf8MarcRecordClass& r, const std::string& s) {
    return s.substr(static_cast<size_t>(r.Rat(s, " ")));
}

}  // namespace series_text
