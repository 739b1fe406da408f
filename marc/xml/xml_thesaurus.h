// Subject thesaurus codes shared by the MODS and MADS documents.
#pragma once

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

}  // namespace xml_codes
