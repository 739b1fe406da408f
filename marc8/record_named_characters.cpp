// The record's named characters: each in the record's own encoding, the UTF-8
// form while the record is held in UTF-8, else the MARC-8 form for the output
// set. The character object supplies both forms.
#include "marc/record/marc_record.h"

// One getter per row of the character object's table; the hard sign keeps its
// record-level spelling.
#define MarcTvyerdiZnak MarcTverdiiZnak
#define EXITDESK_NAMED_FIXED(X, marc8, ucs)                          \
    OctetString Utf8MarcRecordClass::Marc##X() {                     \
        Utf8CharClass& chars = SharedChar();                         \
        return m.RecordIsUtf8 ? chars.Utf8##X() : chars.Marc8##X(); \
    }
#define EXITDESK_NAMED_BY_SET(X, marc8, v, o, ucs)                                       \
    OctetString Utf8MarcRecordClass::Marc##X() {                                         \
        Utf8CharClass& chars = SharedChar();                                             \
        return m.RecordIsUtf8 ? chars.Utf8##X() : chars.Marc8##X(m.CharacterSetOut); \
    }
#define EXITDESK_NAMED_RUN(X, set, octet, v, ucs) EXITDESK_NAMED_BY_SET(X, 0, v, 0, ucs)
#include "marc8/named_characters.def"
#undef EXITDESK_NAMED_FIXED
#undef EXITDESK_NAMED_BY_SET
#undef EXITDESK_NAMED_RUN
#undef MarcTvyerdiZnak

// Control characters: the same octets in every encoding.
OctetString Utf8MarcRecordClass::MarcEscape() { return OctetString(1, '\x1B'); }
OctetString Utf8MarcRecordClass::MarcDelimiter() { return SharedChar().MarcDelimiter(); }
OctetString Utf8MarcRecordClass::MarcEndOfField() { return SharedChar().MarcEndOfField(); }
OctetString Utf8MarcRecordClass::MarcEndOfRecord() { return SharedChar().MarcEndOfRecord(); }
OctetString Utf8MarcRecordClass::MarcFill() { return SharedChar().MarcFill(); }
// The MARC-8 octets also in a UTF-8 record; the UTF-8 forms are the character
// object's Utf8NonSortBegin and Utf8NonSortEnd.
OctetString Utf8MarcRecordClass::MarcNonSortBegin() { return SharedChar().MarcNonSortBegin(); }
OctetString Utf8MarcRecordClass::MarcNonSortEnd() { return SharedChar().MarcNonSortEnd(); }

// Directional controls: nothing in an 8-bit set.
#define EXITDESK_DIRECTIONAL(X)                                                   \
    OctetString Utf8MarcRecordClass::Marc##X() {                                  \
        Utf8CharClass& chars = SharedChar();                                      \
        return m.RecordIsUtf8 ? chars.Utf8##X() : OctetString();                  \
    }
EXITDESK_DIRECTIONAL(RightToLeftMarker)
EXITDESK_DIRECTIONAL(LeftToRightMarker)
EXITDESK_DIRECTIONAL(LeftToRightEmbedding)
EXITDESK_DIRECTIONAL(PopDirectionalFormatting)
EXITDESK_DIRECTIONAL(RightToLeftEmbedding)
EXITDESK_DIRECTIONAL(LeftToRightOverride)
EXITDESK_DIRECTIONAL(RightToLeftOverride)
#undef EXITDESK_DIRECTIONAL

OctetString Utf8MarcRecordClass::MarcSpacingUnderscore() {
    Utf8CharClass& chars = SharedChar();
    return m.RecordIsUtf8 ? chars.Utf8SpacingUnderscore() : chars.Marc8SpacingUnderscore();
}
