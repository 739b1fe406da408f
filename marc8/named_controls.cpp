// The character object's directional controls, the zero-width controls under
// their second names, and the spacing underscore.
#include "chars/utf8_char.h"

OctetString Utf8CharClass::Utf8RightToLeftMarker() const { return UcsHex2Utf8("200F"); }
OctetString Utf8CharClass::Utf8LeftToRightMarker() const { return UcsHex2Utf8("200E"); }
OctetString Utf8CharClass::Utf8LeftToRightEmbedding() const { return UcsHex2Utf8("202A"); }
OctetString Utf8CharClass::Utf8PopDirectionalFormatting() const { return UcsHex2Utf8("202C"); }
OctetString Utf8CharClass::Utf8ZeroWidthJoiner() const { return UcsHex2Utf8("200D"); }
OctetString Utf8CharClass::Utf8ZeroWidthNonJoiner() const { return UcsHex2Utf8("200C"); }
OctetString Utf8CharClass::Utf8RightToLeftEmbedding() const { return UcsHex2Utf8("202B"); }
OctetString Utf8CharClass::Utf8LeftToRightOverride() const { return UcsHex2Utf8("202D"); }
OctetString Utf8CharClass::Utf8RightToLeftOverride() const { return UcsHex2Utf8("202E"); }
OctetString Utf8CharClass::Utf8SpacingUnderscore() const { return UcsHex2Utf8("005F"); }
OctetString Utf8CharClass::Marc8SpacingUnderscore() const { return OctetString(1, '\x5F'); }
