// Small code and text helpers shared by the XML documents.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace xml_codes {

// The thesaurus named by the second indicator of a subject or genre heading
// or of an authority linking entry; "" for none. "7" names the code in the
// field's $2, which the caller reads.
inline std::string_view ThesaurusOfSecondIndicator(char ind2) {
    switch (ind2) {
        case '0': return "lcsh";
        case '1': return "lcshac";
        case '2': return "mesh";
        case '3': return "nal";
        case '5': return "csh";
        case '6': return "rvm";
        default: return {};
    }
}

// Whether a one-character value is one of the given characters; an empty
// value is none of them.
inline bool OneOf(const std::string& sValue, std::string_view sSet) {
    return sValue.size() == 1 && sSet.find(sValue[0]) != std::string_view::npos;
}

// The octet count of the UTF-8 character at text[i]; a stray continuation
// octet or a malformed lead counts as one character (the escaper later
// replaces it).
inline size_t CharacterOctets(std::string_view text, size_t i) {
    size_t k = i + 1;
    if (static_cast<unsigned char>(text[i]) >= 0xC0)
        while (k < text.size() && (static_cast<unsigned char>(text[k]) & 0xC0) == 0x80) ++k;
    return k - i;
}

}  // namespace xml_codes
