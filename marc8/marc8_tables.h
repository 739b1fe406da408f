#pragma once
// The MARC-8 character tables and their look-ups, shared by both directions of translation:
// the single-octet sets (octet to code point), the designations that select them, the East
// Asian set EACC (three octets to UTF-8), and the UTF-8 to MARC-8 tables of the single-octet
// sets. Utf8CharClass's MARC-8 members are built on these; every look-up is a table index or a
// binary search.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace marc8 {

// ---- single-octet sets ----

enum class Marc8Set {
    Latin,             // ASCII and ANSEL, with this system's own octets
    GreekSymbols,      // alpha, beta, gamma
    Subscripts,
    Superscripts,
    Hebrew,
    BasicCyrillic,
    ExtendedCyrillic,
    BasicArabic,
    ExtendedArabic,
    Greek,
    Eacc,              // the East Asian set, three octets a character
};

// Code point of each octet of a single-octet set; 0 where the set holds no character (no set
// holds the octet 0x00).
using SetTable = std::array<char16_t, 256>;

// The table of a single-octet set. The Latin set reads some octets otherwise in the 8-bit
// variant "V" (bVariantV); the other sets ignore the flag.
const SetTable& SetTableOf(Marc8Set set, bool bVariantV = false);

// What a designation does to the octet before the look-up: G0 designations of a set keyed by its
// G1 octets raise an octet below 0x80 by 0x80, G1 designations of a set keyed by its G0 octets
// lower an octet from 0x80 up by 0x80.
enum class OctetShift { None, Raise, Lower };

struct Designation {
    Marc8Set set;
    OctetShift shift;
};

// The set that a designation selects ("1", "s", "(B", ")2", "$1" ...), compared exactly;
// nothing for any other text.
std::optional<Designation> FindDesignation(std::string_view sTableDesignation);

// The canonical combining class of the character at `octet` of a single-octet set when it is one
// of the set's own combining marks, which MARC-8 writes before their base character as it does
// ANSEL's: the Greek set's 0x21 to 0x27, the Hebrew points at 0x40 to 0x4E, the basic Arabic
// harakat at 0x6B to 0x72 and the extended Arabic 0xFD and 0xFE. -1 for any other octet, and for
// the Latin set, whose marks the record's lists of classes give. The octet is as the set's table
// is keyed (after the designation's shift).
int ScriptMarkClass(Marc8Set set, unsigned char octet);

// ---- EACC ----

// One EACC entry: the code (three octets, big-endian) and the octets of its UTF-8 form read as
// one big-endian number (E4 B8 80 is 0xE4B880).
struct EaccEntry {
    uint32_t eacc;
    uint32_t utf8;
};

inline constexpr std::size_t kEaccEntryCount = 15739;
inline constexpr std::size_t kEaccChunkSize = 360;
inline constexpr int16_t kEaccChunkCount = 44;

// All entries, in ascending order of the EACC code (generated: eacc_table.cpp).
extern const EaccEntry EaccTable[kEaccEntryCount];

// Entries of chunk iChunk (1 to 44; 360 entries each, the last 259); empty for any other number.
std::span<const EaccEntry> EaccChunk(int16_t iChunk);

// The boundary key of chunk iChunk (1 to 43): the code of the first entry of the next chunk.
uint32_t EaccChunkKey(int16_t iChunk);

// The chunk that holds sEaccCharacter: the first chunk whose boundary key, compared as a string of
// octets, is greater than the character; 44 when none is.
int16_t EaccChunkOf(std::string_view sEaccCharacter);

// Octets of basic Latin that records leave in an East Asian run: the blank, which begins no East
// Asian code, and, in a tail of fewer than three octets before the run's end, basic punctuation.
// Readers take each as its basic Latin octet.
constexpr bool IsEaccBlank(unsigned char c) { return c == 0x20; }
constexpr bool IsEaccLatinTail(std::string_view tail) {
    if (tail.empty() || tail.size() >= 3) return false;
    for (char ch : tail) {
        const auto c = static_cast<unsigned char>(ch);
        const bool bPunctuation = (c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
                                  (c >= 0x7B && c <= 0x7E);
        if (!IsEaccBlank(c) && !bPunctuation) return false;
    }
    return true;
}

// The UTF-8 octets of a packed UTF-8 value (0xE4B880 gives E4 B8 80).
std::string UnpackOctets(uint32_t lPacked);

// The lowest EACC code whose character is sUtf8Character, as three octets; nothing when no code
// maps to it.
std::optional<std::string> Utf8ToEacc(std::string_view sUtf8Character);

// ---- UTF-8 to MARC-8, single-octet sets ----

// One entry of the UTF-8 to MARC-8 tables: the key (upper-case hexadecimal of the UTF-8 octets),
// the MARC-8 octet and the table code ("1" to "8").
struct Utf82MarcEntry {
    std::string sKey;
    unsigned char octet;
    char code;
};

// The entries of the main table, of the table for the output set "V" and of the table for "O",
// each in its text's order.
const std::vector<Utf82MarcEntry>& Utf82MarcEntries();
const std::vector<Utf82MarcEntry>& Utf82MarcEntriesV();
const std::vector<Utf82MarcEntry>& Utf82MarcEntriesO();

// The tables as constant text: each entry is a space, the key, a colon, the octet as two
// hexadecimal digits, a colon and the table code (" C298:88:1").
const std::string& Utf82MarcText();
const std::string& Utf82MarcTextV();
const std::string& Utf82MarcTextO();

// The MARC-8 form of sUtf8Character in the single-octet sets: for the output set "V" the "V" table
// first, for "O" the "O" table first, then the main table; the first entry with that key wins.
// Nothing when no table holds the character.
const Utf82MarcEntry* FindUtf82Marc(std::string_view sUtf8Character, std::string_view sCharacterSetOut);

}  // namespace marc8
