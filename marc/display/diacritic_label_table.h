#pragma once
// The diacritic-label table: every character that the label form writes as
// "<-", a label name and "->", with the name and the source of the character.
// 378 entries in the writer's order: the MARC repertoire (69: three spacing
// ASCII marks, 59 special letters, signs and combining marks, 7 direction
// controls), then 82 Hebrew and 227 Arabic characters by code point. No two
// entries share a name, and no character has two entries.

#include <cstdint>
#include <string_view>

#include "marc/record/marc_record.h"

namespace diacritic_labels {

// One of the record's named-character getters (MarcAcute ...).
using RecordGetter = OctetString (Utf8MarcRecordClass::*)();

struct DiacriticLabelEntry {
    std::string_view Name;
    uint16_t Code;           // the character's code point
    uint8_t Marc8;           // its octet in an 8-bit record; 0 for the direction controls and the scripts
    RecordGetter Getter;     // the getter that gives it in the record's encoding; nullptr for the
                             // ASCII marks (the literal Marc8) and the scripts (the code point)
};

constexpr int kMarcLabelCount = 69;      // entries 0 to 68
constexpr int kEightBitLabelCount = 62;  // entries 0 to 61 have an 8-bit form
constexpr int kHebrewLabelCount = 82;
constexpr int kArabicLabelCount = 227;
constexpr int kDiacriticLabelCount = kMarcLabelCount + kHebrewLabelCount + kArabicLabelCount;

extern const DiacriticLabelEntry DiacriticLabelTable[kDiacriticLabelCount];

// The entry whose name is exactly the given octets, nullptr for none.
const DiacriticLabelEntry* FindLabelByName(std::string_view name);
// The Hebrew or Arabic entry of a code point, nullptr for none.
const DiacriticLabelEntry* FindScriptLabel(uint32_t code);
// A script entry (Hebrew or Arabic) rather than one of the MARC repertoire.
inline bool IsScriptLabel(const DiacriticLabelEntry& e) { return e.Getter == nullptr && e.Code >= 0x0590; }

}  // namespace diacritic_labels
