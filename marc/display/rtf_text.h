#pragma once
// RTF pieces shared by the RTF members of the record class.

#include <cstdint>
#include <string>

namespace rtf_text {

// The one-paragraph document around RTF text: a header, the font table of
// Arial Unicode MS, the paragraph in that font at twice iFontSizeInPoints half
// points, the text and "\par}". Twice the size must fit 16 bits (error 6).
std::string ParagraphDocument(const std::string& sRtfText, int16_t iFontSizeInPoints);

// Appends "\u", the decimal value and "?" (a character of the basic plane).
void AppendUnicodeEscape(std::string& sOut, uint32_t lValue);

}  // namespace rtf_text
