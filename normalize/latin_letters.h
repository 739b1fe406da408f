#pragma once
// Precomposed Latin letters taken as their canonical decompositions: one
// look-up that the record's load, its comparison forms, its display texts and
// its MARC-8 writer share, so that a letter with diacritics gives what its
// base letter and marks give, in whatever form it arrives.

#include <cstdint>
#include <string>
#include <string_view>

namespace latin_letters {

// The UTF-8 octets of the full canonical decomposition (base letter, then
// marks in canonical order) of a precomposed letter of U+00C0 to U+024F or
// U+1E00 to U+1EFF; nullptr for every other code point and for the letters
// with horn, which stay whole.
const char* Decomposition(uint32_t cp);

// The code point of the decomposition's base letter.
uint32_t BaseLetter(const char* decomposition);

// Writes s with every well-formed precomposed letter replaced by its
// decomposition into sOut and returns true; returns false, leaving sOut
// alone, when s holds none (the usual case, found by one scan of s).
bool Decompose(std::string_view s, std::string& sOut);

}  // namespace latin_letters
