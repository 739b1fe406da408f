// The named MARC-8 and UTF-8 characters of the character object, all made from
// the one table in named_characters.def.
#include "chars/utf8_char.h"

namespace {

OctetString OneOctet(int value) { return OctetString(1, static_cast<char>(value)); }

// The form of a character whose octet depends on the target set: only the
// exact texts "V" and (where the character has an "O" octet) "O" select one.
OctetString BySet(const std::string& sCharacterSet, const OctetString& sMarc8, int v, int o) {
    if (sCharacterSet == "V") return OneOctet(v);
    if (o != 0 && sCharacterSet == "O") return OneOctet(o);
    return sMarc8;
}

// A character of a one-letter MARC-8 set: escape, set letter, the octet, and
// the escape back to the basic Latin set.
OctetString EscapeRun(char set, char octet) { return OctetString{'\x1B', set, octet, '\x1B', 's'}; }

}  // namespace

#define EXITDESK_NAMED_FIXED(X, marc8, ucs)                                    \
    OctetString Utf8CharClass::Marc8##X() const { return OneOctet(marc8); } \
    OctetString Utf8CharClass::Utf8##X() const { return UcsHex2Utf8(ucs); }
#define EXITDESK_NAMED_BY_SET(X, marc8, v, o, ucs)                                      \
    OctetString Utf8CharClass::Marc8##X(const std::string& sCharacterSet) const {      \
        return BySet(sCharacterSet, OneOctet(marc8), v, o);                              \
    }                                                                                    \
    OctetString Utf8CharClass::Utf8##X() const { return UcsHex2Utf8(ucs); }
#define EXITDESK_NAMED_RUN(X, set, octet, v, ucs)                                       \
    OctetString Utf8CharClass::Marc8##X(const std::string& sCharacterSet) const {      \
        return BySet(sCharacterSet, EscapeRun(set, octet), v, 0);                        \
    }                                                                                    \
    OctetString Utf8CharClass::Utf8##X() const { return UcsHex2Utf8(ucs); }
#include "marc8/named_characters.def"
#undef EXITDESK_NAMED_FIXED
#undef EXITDESK_NAMED_BY_SET
#undef EXITDESK_NAMED_RUN
