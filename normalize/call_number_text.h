#pragma once
// Small helpers shared by the call-number rules.

#include <cstddef>
#include <cstdint>
#include <string>

#include "chars/utf8_char.h"

namespace callnumber {

// Raises error 6 for a call number whose positions do not fit in 16 bits.
void CheckLength(const std::string& sCallNumber);
// Makes the UTF-8 character at the 0-based index the object's current
// character and returns its octets; "" past the end.
std::string CharAt(Utf8CharClass& chars, const std::string& s, size_t i);
// The character at the 0-based index is of class "Nd"; false past the end.
bool IsDigitAt(Utf8CharClass& chars, const std::string& s, size_t i);
bool EndsWithBlank(const std::string& s);
// A position held in 16 bits: raises error 6 beyond 32,767.
int16_t Position16(int64_t position);

}  // namespace callnumber
