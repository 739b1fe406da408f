// Whether a full stop that ends a heading or word belongs to it (an
// abbreviation or an initial) or is closing punctuation: the endings
// lists first, then the same word elsewhere in the record without it.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "chars/utf8_char.h"
#include "common/runtime.h"
#include "marc/record/marc_record.h"

namespace {

constexpr std::array<std::string_view, 10> kEndings5 = {"CENT.", " A.D.", "DEPT.", " B.C.", " ESQ.",
                                                        " ETC.", " REV.", " INC.", " LTD.", " ARR."};
// The four-character endings differ between the kinds of record.
constexpr std::array<std::string_view, 3> kEndings4Utf8 = {" DR.", " CO.", " JR."};
constexpr std::array<std::string_view, 5> kEndings4EightBit = {" DR.", " CO.", " JR.", "REV.", "ESQ."};
constexpr std::string_view kAfterWord = "])/:;,- ";

template <size_t N>
bool Listed(const std::array<std::string_view, N>& list, const std::string& s) {
    return std::find(list.begin(), list.end(), s) != list.end();
}

}  // namespace

int16_t Utf8MarcRecordClass::IsTheFullStopAtTheEndProbablyIntegral(std::string sHeadingOrWordToTest) {
    constexpr int16_t kIntegral = 1, kNotPartOfWord = 2, kUndecided = 3;
    std::string s = std::move(sHeadingOrWordToTest);

    // Closing quotation marks come off a text that does not end in ".".
    if (s.empty() || s.back() != '.') {
        while (!s.empty() && (s.back() == '"' || s.back() == '\'')) s.pop_back();
        if (s.empty() || s.back() != '.') return kIntegral;
    }

    // Only the last subfield of a field's text counts.
    const std::string sDelimiter = MarcDelimiter();
    const size_t iDelimiter = s.rfind(sDelimiter);
    if (iDelimiter != std::string::npos) s = rt::Trim(std::string_view(s).substr(std::min(s.size(), iDelimiter + 2)));
    if (s.size() < 3) return kUndecided;

    const size_t iStop = s.size() - 1;  // the final full stop
    if (m.RecordIsUtf8) {
        Utf8CharClass& ch = SharedChar();
        // The letter itself, not a combining mark after it (Ö stored as O
        // and U+0308 is judged by its O).
        size_t iEnd = iStop;
        size_t iChar = 0;
        std::string sCategory;
        for (;;) {
            const int32_t lFirst = std::clamp<int32_t>(ch.Utf8CharFindFirstOctet(s, static_cast<int32_t>(iEnd)), 1,
                                                       static_cast<int32_t>(iEnd));
            iChar = static_cast<size_t>(lFirst - 1);
            ch.Utf8Char(s.substr(iChar, iEnd - iChar));
            sCategory = ch.Utf8CharCategory();
            if (iChar == 0 || (sCategory != "Mn" && sCategory != "Mc" && sCategory != "Me")) break;
            iEnd = iChar;
        }
        if (sCategory == "Nd") return kNotPartOfWord;
        if ((sCategory == "Lu" || sCategory == "Lt") && (iChar == 0 || s[iChar - 1] == ' ' || s[iChar - 1] == '.'))
            return kIntegral;
        std::string sEnd5 = SafeUCase(SafeRight(s, 5));
        int32_t lCharacters = 0;
        for (char c : sEnd5)
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++lCharacters;
        if (lCharacters < 5) sEnd5.insert(0, static_cast<size_t>(5 - lCharacters), ' ');
        const std::string sEnd4 = sEnd5.substr(1);
        if (Listed(kEndings5, sEnd5) || Listed(kEndings4Utf8, sEnd4)) return kIntegral;
    } else {
        const char c = s[iStop - 1];
        if (c >= '0' && c <= '9') return kNotPartOfWord;
        if (c >= 'A' && c <= 'Z' && (s[iStop - 2] == ' ' || s[iStop - 2] == '.')) return kIntegral;
        const std::string sEnd5 = SafeUCase(s.substr(s.size() - std::min<size_t>(5, s.size())));
        std::string sEnd4 = SafeUCase(s.substr(s.size() - std::min<size_t>(4, s.size())));
        if (sEnd4.size() < 4) sEnd4.insert(0, 4 - sEnd4.size(), ' ');
        if (Listed(kEndings5, sEnd5) || Listed(kEndings4EightBit, sEnd4)) return kIntegral;
    }

    // The last word without its full stop; an empty one settles nothing.
    const size_t iBlank = s.rfind(' ');
    std::string sBare = s.substr(iBlank == std::string::npos ? 0 : iBlank + 1);
    sBare.pop_back();  // s still ends in its full stop
    sBare = rt::Trim(sBare);
    if (sBare.empty()) return kUndecided;

    // The same word standing elsewhere in the record, followed by
    // punctuation or a blank that is not the field's last character.
    const int16_t iFld = FldPointer();
    const int16_t iSfd = SfdPointer();
    bool bFound = false;
    try {
        FldMoveTop();
        while (!bFound && FldMoveNext(true)) {
            const std::string sText = FldText();
            const size_t iAt = sText.find(sBare);
            if (iAt == std::string::npos) continue;
            const size_t iAfter = iAt + sBare.size();
            bFound = sText.size() > iAfter + 1 && kAfterWord.find(sText[iAfter]) != std::string_view::npos;
        }
    } catch (...) {
        FldPointer(iFld);
        SfdPointer(iSfd);
        throw;
    }
    FldPointer(iFld);
    SfdPointer(iSfd);
    return bFound ? kNotPartOfWord : kUndecided;
}
