#pragma once
// The tests' view of the character object's private members.

#include <string>

#include "chars/utf8_char.h"

struct Utf8CharTestAccess {
    static OctetString CompatibilityDecomposition(const Utf8CharClass& chars, const OctetString& sUtf8Character) {
        return chars.CompatibilityDecomposition(sUtf8Character);
    }
};
