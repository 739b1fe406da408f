// Case and character-class helpers of the record. In a UTF-8 record every
// character goes through the shared character object (category, case
// partners, octet count); in an 8-bit record one octet is one character and
// only the ASCII letters and the MARC-8 special letters have case. Subfield
// codes never change case, and a first-word change never reaches past the
// first subfield.
#include <algorithm>
#include <array>
#include <string_view>

#include "common/runtime.h"
#include "marc/record/marc_record.h"

namespace {

constexpr std::string_view kDigits = "0123456789";

bool Contains(const std::string& list, char c) { return list.find(c) != std::string::npos; }

// The partner at the same position of the other list of a pair; c itself
// when the first list does not hold it.
char Partner(const std::string& from, const std::string& to, char c) {
    const size_t at = from.find(c);
    return at == std::string::npos || at >= to.size() ? c : to[at];
}

using ScanStops = std::array<std::string_view, 7>;

// The categories that end a first-word scan without a change: letters of the
// other case and title case, numbers, currency and mathematical signs.
constexpr ScanStops kUpperScanStops = {"Lu", "Lt", "Nd", "Nl", "No", "Sc", "Sm"};
constexpr ScanStops kLowerScanStops = {"Ll", "Lt", "Nd", "Nl", "No", "Sc", "Sm"};

// In a UTF-8 text, the first character of category sChange is replaced by its
// case partner; a character of a stop category, or a subfield delimiter, ends
// the scan without a change; anything else is passed over.
void ChangeFirstLetterUtf8(Utf8CharClass& chars, std::string& s, char delimiter, const std::string& sChange,
                           const ScanStops& stops, bool bUpper) {
    for (size_t i = 0; i < s.size();) {
        if (s[i] == delimiter) return;
        const size_t step = static_cast<size_t>(chars.Utf8CharOctets(s.substr(i, 1)));
        chars.Utf8Char(s.substr(i, step));
        const std::string sCategory = chars.Utf8CharCategory();
        if (sCategory == sChange) {
            s.replace(i, std::min(step, s.size() - i), bUpper ? chars.Utf8CharUCase() : chars.Utf8CharLCase());
            return;
        }
        if (std::find(stops.begin(), stops.end(), sCategory) != stops.end()) return;
        i += step;
    }
}

}  // namespace

// ------------------------------------------------------------ whole texts

// The text with every character but the subfield codes given the case wanted.
// A delimiter and the octet after it are copied as they are. In a UTF-8
// record each character gets its case partner from the character object; in
// an 8-bit record an ASCII letter gets its partner, and for lower case a
// MARC-8 special capital too (the special small letters never go up).
std::string Utf8MarcRecordClass::ChangeCase(const std::string& sSourceString, bool bUpper) {
    const char delimiter = MarcDelimiter()[0];
    Utf8CharClass& chars = SharedChar();
    std::string out;
    out.reserve(sSourceString.size());
    for (size_t i = 0; i < sSourceString.size();) {
        if (sSourceString[i] == delimiter) {
            out.append(sSourceString, i, 2);
            i += 2;
        } else if (m.RecordIsUtf8) {
            const size_t step = static_cast<size_t>(CharStepAt(sSourceString, i));
            chars.Utf8Char(sSourceString.substr(i, step));
            out += bUpper ? chars.Utf8CharUCase() : chars.Utf8CharLCase();
            i += step;
        } else {
            const char c = sSourceString[i++];
            if (bUpper) out += Partner(m.AsciiLower, m.AsciiUpper, c);
            else if (Contains(m.AsciiUpper, c)) out += Partner(m.AsciiUpper, m.AsciiLower, c);
            else out += Partner(m.Marc8SpecialUpper, m.Marc8SpecialLower, c);
        }
    }
    return out;
}

std::string Utf8MarcRecordClass::SafeUCase(const std::string& sSourceString) {
    return ChangeCase(sSourceString, true);
}

std::string Utf8MarcRecordClass::SafeLCase(const std::string& sSourceString) {
    return ChangeCase(sSourceString, false);
}

// ------------------------------------------------------------ first word

// In 8-bit text, the first letter that matters gets the other case: an ASCII
// or MARC-8 special letter of the case wanted, a digit, a currency or
// mathematical sign, or a subfield delimiter ends the scan unchanged; one of
// the other case is replaced by its partner; anything else is passed over.
void Utf8MarcRecordClass::ChangeFirstLetter8Bit(std::string& s, char delimiter, bool bUpper) {
    const std::string& asciiFrom = bUpper ? m.AsciiLower : m.AsciiUpper;
    const std::string& asciiTo = bUpper ? m.AsciiUpper : m.AsciiLower;
    const std::string& specialFrom = bUpper ? m.Marc8SpecialLower : m.Marc8SpecialUpper;
    const std::string& specialTo = bUpper ? m.Marc8SpecialUpper : m.Marc8SpecialLower;
    for (char& c : s) {
        if (c == delimiter || Contains(asciiTo, c)) return;
        if (Contains(asciiFrom, c)) {
            c = Partner(asciiFrom, asciiTo, c);
            return;
        }
        if (rt::IsAsciiDigit(c) || Contains(m.Marc8CurrencySigns, c) || Contains(m.Marc8MathSigns, c)) return;
        if (Contains(specialFrom, c)) {
            c = Partner(specialFrom, specialTo, c);
            return;
        }
        if (Contains(specialTo, c)) return;
    }
}

std::string Utf8MarcRecordClass::UCaseFirstWord(const std::string& sString, bool bUppercaseAtHyphens) {
    if (sString.empty()) return "";
    Utf8CharClass& chars = SharedChar();
    const std::string sDelimiter = chars.MarcDelimiter();
    const char delimiter = sDelimiter[0];

    // A leading delimiter and code stay as they are; after a $6 the linkage up
    // to the next delimiter and its code stays too.
    std::string sPrefix, sRest = sString, sTail;
    if (sString[0] == delimiter) {
        sPrefix = sString.substr(0, 2);
        sRest = sString.size() > 2 ? sString.substr(2) : "";
        const size_t next = sRest.find(delimiter);
        if (sPrefix == sDelimiter + "6" && next != std::string::npos) {
            sPrefix += sRest.substr(0, next + 2);
            sRest = next + 2 < sRest.size() ? sRest.substr(next + 2) : "";
        }
    }

    if (m.RecordIsUtf8) {
        ChangeFirstLetterUtf8(chars, sRest, delimiter, "Ll", kUpperScanStops, true);
        if (bUppercaseAtHyphens) {
            const size_t end = sRest.find(delimiter);
            if (end != std::string::npos) {
                sTail = sRest.substr(end);
                sRest.resize(end);
            }
            for (size_t i = sRest.size(); i-- > 1;) {
                if (sRest[i - 1] != '-') continue;
                const size_t step = static_cast<size_t>(CharStepAt(sRest, i));
                chars.Utf8Char(sRest.substr(i, step));
                if (chars.Utf8CharCategory() == "Ll") sRest.replace(i, step, chars.Utf8CharUCase());
            }
        }
        return sPrefix + sRest + sTail;
    }

    ChangeFirstLetter8Bit(sRest, delimiter, true);
    return sPrefix + sRest;
}

std::string Utf8MarcRecordClass::LCaseFirstWord(const std::string& sString) {
    if (sString.empty()) return "";
    Utf8CharClass& chars = SharedChar();
    const char delimiter = chars.MarcDelimiter()[0];
    std::string sPrefix, sRest = sString;
    if (sString[0] == delimiter) {
        sPrefix = sString.substr(0, 2);
        sRest = sString.size() > 2 ? sString.substr(2) : "";
    }

    if (m.RecordIsUtf8) {
        ChangeFirstLetterUtf8(chars, sRest, delimiter, "Lu", kLowerScanStops, false);
        return sPrefix + sRest;
    }

    ChangeFirstLetter8Bit(sRest, delimiter, false);
    return sPrefix + sRest;
}

// ------------------------------------------------------------ title and sentence case

std::string Utf8MarcRecordClass::SafeTitleCase(const std::string& sSourceString,
                                               const std::string& sWordsNotToBeUppercased) {
    if (sWordsNotToBeUppercased.size() < 2) return sSourceString;
    std::string text = AddSpacesAroundDelimiters(sSourceString);
    const bool bDelimitersSpaced = text != sSourceString;
    text = SafeLCase(text);
    const bool bBlankAddedInFront = text.empty() || text.front() != ' ';
    if (bBlankAddedInFront) text.insert(text.begin(), ' ');
    const bool bBlankAddedAtEnd = text.back() != ' ';
    if (bBlankAddedAtEnd) text += ' ';

    const char delimiter = MarcDelimiter()[0];
    auto capitalized = [&](const std::string& sWord) {
        const std::string sListed = "*" + NormString(sWord, true, "V") + "*";
        return sWordsNotToBeUppercased.find(sListed) != std::string::npos ? sWord : UCaseFirstWord(sWord, false);
    };
    std::string out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        std::string sWord = text.substr(start, end - start);
        if (!sWord.empty() && sWord[0] != delimiter) {
            if (sWord.size() >= 2 && sWord[1] == '\'') sWord = capitalized(sWord.substr(0, 2)) + capitalized(sWord.substr(2));
            else sWord = capitalized(sWord);
        }
        out += sWord;
        if (end < text.size()) out += ' ';
        start = end + 1;
    }
    if (bBlankAddedInFront && !out.empty()) out.erase(out.begin());
    if (bBlankAddedAtEnd && !out.empty()) out.pop_back();
    return bDelimitersSpaced ? RemoveSpacesAroundDelimiters(out) : out;
}

std::string Utf8MarcRecordClass::SafeSentenceCase(const std::string& sSourceString) {
    const bool bBeganWithBlank = !sSourceString.empty() && sSourceString.front() == ' ';
    const bool bEndedWithBlank = !sSourceString.empty() && sSourceString.back() == ' ';
    std::string text = UCaseFirstWord(SafeLCase(rt::Trim(sSourceString)), false);
    // Each ". " starts a sentence; the blanks after it shrink to one.
    for (size_t f = text.find(". "); f != std::string::npos; f = text.find(". ", f + 2))
        text = text.substr(0, f + 2) + UCaseFirstWord(rt::Trim(std::string_view(text).substr(f + 2)), false);
    if (bBeganWithBlank && (text.empty() || text.front() != ' ')) text.insert(text.begin(), ' ');
    if (bEndedWithBlank && (text.empty() || text.back() != ' ')) text += ' ';
    return text;
}

// ------------------------------------------------------------ tests of characters

bool Utf8MarcRecordClass::IsTrue(const std::string& sInput) {
    const std::string sForm = NormString(sInput, true, "V");
    return sForm == "TRUE" || sForm == "YES" || sForm == "Y" || sForm == "T" || sForm == "1";
}

bool Utf8MarcRecordClass::CharIsNumeric(const std::string& sInChar, int16_t& iReturnValue) {
    if (sInChar.empty()) return false;
    if (m.RecordIsUtf8) {
        Utf8CharClass& chars = SharedChar();
        const std::string sChar = sInChar.substr(0, static_cast<size_t>(CharStepAt(sInChar, 0)));
        chars.Utf8Char(sChar);
        if (chars.Utf8CharCategory() != "Nd") return false;
        if (iReturnValue != -99) iReturnValue = chars.Utf8CharVal(sChar);
        return true;
    }
    // A digit of ASCII, or a superscript or subscript digit of set V: its
    // position in one of the three lists of ten is its value.
    const std::string lists[] = {std::string(kDigits), m.SuperscriptCodesV.substr(0, 10),
                                 m.SubscriptCodesV.substr(0, 10)};
    auto digitValue = [&](const std::string& sDigit, int16_t& iValue) {
        for (const std::string& list : lists) {
            const size_t at = list.find(sDigit);
            if (at != std::string::npos) {
                iValue = static_cast<int16_t>(at);
                return true;
            }
        }
        return false;
    };
    int16_t iValue = 0;
    bool bNumeric = digitValue(sInChar.substr(0, 1), iValue);
    if (!bNumeric && sInChar.compare(0, 1, MarcEscape()) == 0 && sInChar.size() > 2)
        bNumeric = digitValue(sInChar.substr(2), iValue);
    if (bNumeric && iReturnValue != -99) iReturnValue = iValue;
    return bNumeric;
}

bool Utf8MarcRecordClass::CharIsAlpha(const std::string& sInChar) {
    if (sInChar.empty()) return false;
    if (m.RecordIsUtf8) return rt::Left(CharCategory(sInChar), 1) == "L";
    const char c = sInChar[0];
    return Contains(m.AsciiUpper, c) || Contains(m.AsciiLower, c) || Contains(m.Marc8SpecialUpper, c) ||
           Contains(m.Marc8SpecialLower, c);
}

bool Utf8MarcRecordClass::CharIsUpper(const std::string& sInChar) {
    if (sInChar.empty()) return false;
    if (m.RecordIsUtf8) {
        const std::string sCategory = CharCategory(sInChar);
        return sCategory == "Lu" || sCategory == "Lt";
    }
    return Contains(m.AsciiUpper, sInChar[0]) || Contains(m.Marc8SpecialUpper, sInChar[0]);
}

bool Utf8MarcRecordClass::CharIsLower(const std::string& sInChar) {
    if (sInChar.empty()) return false;
    if (m.RecordIsUtf8) return CharCategory(sInChar) == "Ll";
    return Contains(m.AsciiLower, sInChar[0]) || Contains(m.Marc8SpecialLower, sInChar[0]);
}

bool Utf8MarcRecordClass::StringIsNumeric(const std::string& sInString,
                                          const std::string& sAdditionalAllowedCharacters) {
    if (m.RecordIsUtf8) {
        // An empty text counts as one empty character, which only a non-empty
        // list of additional characters admits.
        if (sInString.empty()) return !sAdditionalAllowedCharacters.empty();
        for (size_t i = 0; i < sInString.size();) {
            const size_t step = static_cast<size_t>(CharStepAt(sInString, i));
            const std::string sChar = sInString.substr(i, step);
            if (CharCategory(sChar) != "Nd" && sAdditionalAllowedCharacters.find(sChar) == std::string::npos)
                return false;
            i += step;
        }
        return true;
    }
    for (char c : sInString) {
        int16_t iIgnored = -99;
        if (!CharIsNumeric(std::string(1, c), iIgnored) && !Contains(sAdditionalAllowedCharacters, c)) return false;
    }
    return true;
}

std::string Utf8MarcRecordClass::CharCategory(const std::string& sChar) {
    if (sChar.empty()) return "Cc";
    if (m.RecordIsUtf8) {
        Utf8CharClass& chars = SharedChar();
        chars.Utf8Char(sChar.substr(0, static_cast<size_t>(CharStepAt(sChar, 0))));
        return chars.Utf8CharCategory();
    }
    const unsigned c = static_cast<unsigned char>(sChar[0]);
    if (c == 0x1B || (c >= 0x1D && c <= 0x1F)) return "Cc";
    if (c == 0x20) return "Zs";
    if (c == 0x22 || c == 0x27) return "Pi";
    if (c == 0x28 || c == 0x3C || c == 0x5B || c == 0x7B) return "Ps";
    if (c == 0x29 || c == 0x3E || c == 0x5D || c == 0x7D) return "Pe";
    if (c == 0x2D) return "Pd";
    if ((c >= 0x30 && c <= 0x39) || (c >= 0xC7 && c <= 0xC9) || (c >= 0xD0 && c <= 0xD9)) return "Nd";
    // The symbols of MARC-8 are superscript digits in set V.
    if (c >= 0xC0 && c <= 0xC6) return CharacterSetIn() == "V" ? "Nd" : "Po";
    if ((c >= 0x41 && c <= 0x5A) || (c >= 0xA1 && c <= 0xA6) || c == 0xAC || c == 0xAD) return "Lu";
    if ((c >= 0x61 && c <= 0x7A) || c == 0x91 || c == 0xA0 || c == 0xAF || (c >= 0xB1 && c <= 0xB6) || c == 0xBA ||
        (c >= 0xBC && c <= 0xBF))
        return "Ll";
    if (c >= 0xE0) return "Mn";
    return "Po";
}

// ------------------------------------------------------------ lengths

int32_t Utf8MarcRecordClass::SafeLen(const std::string& sString) {
    if (!m.RecordIsUtf8) return static_cast<int32_t>(sString.size());
    int32_t count = 0;
    for (size_t i = 0; i < sString.size(); i += static_cast<size_t>(CharStepAt(sString, i))) ++count;
    return count;
}

int32_t Utf8MarcRecordClass::LengthInCharacters(const std::string& sString) { return SafeLen(sString); }

std::string Utf8MarcRecordClass::LastNondiacriticCharacter(const std::string& sMarcString) {
    if (sMarcString.empty()) return "";
    if (!m.RecordIsUtf8) return sMarcString.substr(sMarcString.size() - 1);
    Utf8CharClass& chars = SharedChar();
    for (int32_t last = static_cast<int32_t>(sMarcString.size()); last >= 1;) {
        const int32_t lead = chars.Utf8CharFindFirstOctet(sMarcString, last);
        const std::string sChar = sMarcString.substr(static_cast<size_t>(lead - 1), static_cast<size_t>(last - lead + 1));
        chars.Utf8Char(sChar);
        if (chars.Utf8CharCategory() != "Mn") return sChar;
        last = lead - 1;
    }
    return "";
}
