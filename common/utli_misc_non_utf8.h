#pragma once
// Small octet-text helpers that every class uses; none of them knows UTF-8.

#include <cstdint>
#include <span>
#include <string>

namespace UtliMiscNonUtf8 {

// Splits sText at the first sSeparator: sFirst receives the text before it and
// sText what follows. Without a separator in the text (or with an empty
// separator) sFirst receives the whole text and sText becomes empty.
void SplitOffFirst(std::string& sText, std::string& sFirst, const std::string& sSeparator);

// Two hex digits (either case) per octet; a last single digit is an octet of
// its own; a pair that is not hexadecimal gives the octet 0.
std::string HexToText(const std::string& sHex);
// Two upper-case hex digits per octet.
std::string TextToHex(const std::string& sText);

// Element i receives octet i of the text; elements from the text's length up
// to iLength - 1 receive 0. An element beyond the array raises error 9; a text
// longer than 32767 octets raises error 6.
void StringToBytes(const std::string& sText, int16_t iLength, std::span<unsigned char> bytes);

// The form of an OCLC control number that the record options ask for.
std::string NormalizeOclcNumber(const std::string& sText, bool bPadToEight, bool bLetterPrefix, bool bOclcPrefix);

}  // namespace UtliMiscNonUtf8
