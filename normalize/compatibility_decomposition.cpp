// The compatibility decomposition of one character: the generated table of
// Unicode 3.0 mappings of the basic plane, and the foldings of the special
// Latin letters that Unicode leaves without one.
#include <algorithm>
#include <cstdint>
#include <iterator>

#include "chars/utf8_char.h"
#include "normalize/compatibility_table.h"

namespace {

using unicode30::CompatibilityEntry;

// Keyed by octet value, in ascending order. Eth gives "d" like the other small
// letters; the capital eth has no entry.
constexpr CompatibilityEntry kFoldings[] = {
    {0xC386u, "AE"},  // U+00C6
    {0xC398u, "O"},   // U+00D8
    {0xC39Eu, "TH"},  // U+00DE
    {0xC3A6u, "ae"},  // U+00E6
    {0xC3B0u, "d"},   // U+00F0
    {0xC3B8u, "o"},   // U+00F8
    {0xC3BEu, "th"},  // U+00FE
    {0xC490u, "D"},   // U+0110
    {0xC491u, "d"},   // U+0111
    {0xC4B1u, "i"},   // U+0131
    {0xC581u, "L"},   // U+0141
    {0xC582u, "l"},   // U+0142
    {0xC592u, "OE"},  // U+0152
    {0xC593u, "oe"},  // U+0153
    {0xC6A0u, "O"},   // U+01A0
    {0xC6A1u, "o"},   // U+01A1
    {0xC6AFu, "U"},   // U+01AF
    {0xC6B0u, "u"},   // U+01B0
};

const char* Find(const CompatibilityEntry* first, const CompatibilityEntry* last, OctetValue value) {
    const CompatibilityEntry* e = std::lower_bound(
        first, last, value, [](const CompatibilityEntry& entry, OctetValue v) { return entry.Key < v; });
    return e != last && e->Key == value ? e->Octets : nullptr;
}

}  // namespace

OctetString Utf8CharClass::CompatibilityDecomposition(const OctetString& sUtf8Character) const {
    // Both tables hold characters of up to three octets only.
    const OctetValue value = Utf8Asc(sUtf8Character);
    if (value <= 0 || value > 0xFFFFFF) return sUtf8Character;
    const char* octets = Find(std::begin(kFoldings), std::end(kFoldings), value);
    if (octets == nullptr)
        octets = Find(unicode30::kCompatibilityDecompositions,
                      unicode30::kCompatibilityDecompositions + unicode30::kCompatibilityDecompositionCount, value);
    return octets != nullptr && *octets != '\0' ? OctetString(octets) : sUtf8Character;
}
