// Text helpers of the record: splicing and substrings that tolerate any
// position, search from the right, replacing, padding, and the spacing and
// removal of subfield delimiters. Positions are 32-bit throughout, so long
// texts never overflow; none of the members can loop for ever.
#include <algorithm>
#include <exception>

#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "marc/record/spaced_delimiters.h"
#include "platform/events.h"

namespace {

constexpr char kBlank = ' ';

bool IsContinuationOctet(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// T with k octets at the 1-based position p replaced by R; a position outside
// the text inserts at the nearer end, a length of 0 or below removes nothing.
std::string Splice(const std::string& T, int64_t p, int64_t k, const std::string& R) {
    const int64_t n = static_cast<int64_t>(T.size());
    if (k >= 1) {
        if (n == 0) return R;
        if (p < 1) return R + T;
        if (p > n) return T + R;
        std::string out = T.substr(0, static_cast<size_t>(p - 1)) + R;
        if (p + k - 1 < n) out += T.substr(static_cast<size_t>(p + k - 1));
        return out;
    }
    if (p < 2) return R + T;
    if (p > n) return T + R;
    return T.substr(0, static_cast<size_t>(p - 1)) + R + T.substr(static_cast<size_t>(p - 1));
}

// The last 1-based position at which f occurs in s, 0 when none; with a pump,
// pending window messages are processed before every comparison.
int32_t LastPosition(const std::string& s, const std::string& f, bool bYield) {
    if (s.empty() || f.empty() || s.size() < f.size()) return 0;
    for (size_t p = s.size() - f.size() + 1; p >= 1; --p) {
        if (bYield) platform::DoEvents();
        if (s.compare(p - 1, f.size(), f) == 0) return static_cast<int32_t>(p);
    }
    return 0;
}

// The text with c removed from the front as often as it repeats there.
std::string StripLeading(const std::string& s, const std::string& c) {
    size_t pos = 0;
    while (pos < s.size() && s.compare(pos, c.size(), c) == 0) pos += c.size();
    return pos < s.size() ? s.substr(pos) : std::string();
}

}  // namespace

int32_t Utf8MarcRecordClass::CharStepAt(const std::string& s, size_t index) {
    return SharedChar().Utf8CharOctets(s.substr(index, 1));
}

std::string Utf8MarcRecordClass::SafeStuff(const std::string& sOriginalText, int32_t lStartingPositionInOctets,
                                           int16_t iLengthToRemoveInOctets, const std::string& sReplacementText) {
    try {
        return Splice(sOriginalText, lStartingPositionInOctets, iLengthToRemoveInOctets, sReplacementText);
    } catch (const std::exception&) {
        return "";
    }
}

std::string Utf8MarcRecordClass::SafeMid(const std::string& sSourceString, int32_t lStart,
                                         int32_t lLengthInCharacters, bool bStartIsGivenInUtf8CharactersNotOctets) {
    const int64_t n = static_cast<int64_t>(sSourceString.size());
    int64_t length = lLengthInCharacters == -1 ? n : lLengthInCharacters;
    if (length < 1) return "";
    int64_t start = std::max<int64_t>(lStart, 1);
    if (!m.RecordIsUtf8) {
        if (start > n) return "";
        return sSourceString.substr(static_cast<size_t>(start - 1), static_cast<size_t>(std::min(length, n)));
    }
    if (bStartIsGivenInUtf8CharactersNotOctets && start > 1) {
        int64_t pos = 1;
        for (int64_t skipped = 0; skipped < start - 1 && pos <= n; ++skipped)
            pos += CharStepAt(sSourceString, static_cast<size_t>(pos - 1));
        start = pos;
    }
    if (start > n) return "";
    int64_t end = start;
    for (int64_t taken = 0; taken < length && end <= n; ++taken)
        end += CharStepAt(sSourceString, static_cast<size_t>(end - 1));
    end = std::min(end, n + 1);
    return sSourceString.substr(static_cast<size_t>(start - 1), static_cast<size_t>(end - start));
}

std::string Utf8MarcRecordClass::SafeRight(const std::string& sSourceString, int32_t lLengthInCharacters) {
    // A length of 0 or below gives "" in both kinds of record.
    if (lLengthInCharacters <= 0) return "";
    const size_t n = sSourceString.size();
    if (!m.RecordIsUtf8) {
        const size_t length = static_cast<size_t>(lLengthInCharacters);
        return length >= n ? sSourceString : sSourceString.substr(n - length);
    }
    int32_t counted = 0;
    for (size_t i = n; i-- > 0;) {
        if (!IsContinuationOctet(sSourceString[i]) && ++counted == lLengthInCharacters) return sSourceString.substr(i);
    }
    return sSourceString;
}

int32_t Utf8MarcRecordClass::Rat(std::string sSourceString, std::string sStringToFind) {
    return LastPosition(sSourceString, sStringToFind, true);
}

int32_t Utf8MarcRecordClass::RatExtended(const std::string& sSourceString, const std::string& sStringToFind,
                                         std::optional<int32_t> ComparisonType) {
    if (ComparisonType != 1) return Rat(sSourceString, sStringToFind);
    return LastPosition(sSourceString, sStringToFind, false);
}

std::string Utf8MarcRecordClass::ReplaceCharacters(const std::string& sIn, const std::string& sCharacterToRemove,
                                                   const std::string& sReplacementCharacter,
                                                   bool bReplaceMultipleSpacesWithSingle) {
    if (sCharacterToRemove.empty() || sCharacterToRemove == sReplacementCharacter) return sIn;
    // Scanning from the right, the text from the scan position on is built up
    // reversed in `tail`: an occurrence at the position may reach into
    // replacements already made further right, exactly as a scan of the text
    // being rewritten would see it.
    const size_t length = sCharacterToRemove.size();
    std::string tail;
    for (size_t p = sIn.size(); p-- > 0;) {
        tail += sIn[p];
        if (tail.size() < length) continue;
        bool bMatch = true;
        for (size_t i = 0; i < length && bMatch; ++i) bMatch = tail[tail.size() - 1 - i] == sCharacterToRemove[i];
        if (!bMatch) continue;
        tail.resize(tail.size() - length);
        tail.append(sReplacementCharacter.rbegin(), sReplacementCharacter.rend());
    }
    std::string text(tail.rbegin(), tail.rend());
    if (bReplaceMultipleSpacesWithSingle && sReplacementCharacter == " ") text = RemoveRepeatedCharacters(text, " ");
    return text;
}

std::string Utf8MarcRecordClass::RemoveRepeatedCharacters(const std::string& sOriginalString,
                                                          const std::string& sSingleCharToRemoveIfMultiple) {
    const std::string& c = sSingleCharToRemoveIfMultiple;
    if (c.empty()) return sOriginalString;
    const std::string cc = c + c;
    std::string text = sOriginalString;
    // One copy goes at the first place where two stand together; a new pair can
    // only begin within two copies' length before that place.
    size_t from = 0;
    for (size_t at; (at = text.find(cc, from)) != std::string::npos;) {
        text.erase(at, c.size());
        from = at >= cc.size() ? at - cc.size() + 1 : 0;
    }
    return text;
}

std::string Utf8MarcRecordClass::RemoveSpaces(const std::string& sText) {
    std::string text = sText;
    text.erase(std::remove(text.begin(), text.end(), kBlank), text.end());
    return text;
}

std::string Utf8MarcRecordClass::AddSpacesAroundDelimiters(const std::string& sInputMarcString) {
    const char delimiter = MarcDelimiter()[0];
    std::string sOut;
    sOut.reserve(sInputMarcString.size() + sInputMarcString.size() / 4 + 2);
    spaced_delimiters::ForEachRun(sInputMarcString, delimiter, [&sOut](std::string_view run) { sOut += run; });
    return sOut;
}

std::string Utf8MarcRecordClass::RemoveSpacesAroundDelimiters(const std::string& sText) {
    const char delimiter = MarcDelimiter()[0];
    std::string text = sText;
    // The positions run over the text as it changes: trimming in front of a
    // delimiter moves it left, and the walk goes on from the next lower number.
    for (int64_t p = static_cast<int64_t>(text.size()); p >= 1; --p) {
        if (p > static_cast<int64_t>(text.size()) || text[static_cast<size_t>(p - 1)] != delimiter) continue;
        const size_t through = std::min(static_cast<size_t>(p + 1), text.size());
        text = text.substr(0, through) + rt::Trim(std::string_view(text).substr(through));
        if (p > 1 && text[static_cast<size_t>(p - 2)] == kBlank)
            text = rt::Trim(std::string_view(text).substr(0, static_cast<size_t>(p - 1))) +
                   text.substr(static_cast<size_t>(p - 1));
    }
    return text;
}

std::string Utf8MarcRecordClass::RemoveDelimiters(const std::string& sMarcText,
                                                  const std::string& sDelimiterReplacement) {
    const std::string sDelimiter = MarcDelimiter();
    const char delimiter = sDelimiter[0];
    std::string sReplacement = sDelimiterReplacement == sDelimiter ? "$" : sDelimiterReplacement;
    // A replacement holding the delimiter would be replaced in its turn, for ever.
    if (sReplacement.find(delimiter) != std::string::npos) return sMarcText;
    const bool bCodeToo = sReplacement.empty() || sReplacement == " ";
    std::string out;
    out.reserve(sMarcText.size());
    for (size_t i = 0; i < sMarcText.size(); ++i) {
        if (sMarcText[i] != delimiter) {
            out += sMarcText[i];
        } else if (bCodeToo) {
            out += kBlank;
            ++i;  // the code goes with the delimiter
        } else {
            out += sReplacement;
        }
    }
    return out;
}

int32_t Utf8MarcRecordClass::ExtractSubfield(const std::string& sOriginalField,
                                             const std::string& sSubfieldCodeWithoutDelimiter,
                                             std::string& sReturnedSubfieldText, int32_t lStartingPosition) {
    sReturnedSubfieldText.clear();
    if (sSubfieldCodeWithoutDelimiter.empty() || lStartingPosition < 1) return 0;
    const std::string sDelimiter = MarcDelimiter();
    const std::string sSought = sSubfieldCodeWithoutDelimiter.size() == 1
                                    ? sDelimiter + sSubfieldCodeWithoutDelimiter
                                    : sSubfieldCodeWithoutDelimiter;
    if (static_cast<size_t>(lStartingPosition) > sOriginalField.size()) return 0;
    const size_t found = sOriginalField.find(sSought, static_cast<size_t>(lStartingPosition - 1));
    if (found == std::string::npos) return 0;
    const int64_t q = static_cast<int64_t>(found) + 3;  // the octet after delimiter and code
    std::string sText = rt::Trim(rt::Mid(sOriginalField, static_cast<int32_t>(q)));
    const size_t next = sText.find(sDelimiter);
    if (next != std::string::npos) sText = rt::Trim(std::string_view(sText).substr(0, next));
    sReturnedSubfieldText = sText;
    return static_cast<int32_t>(q);
}

int32_t Utf8MarcRecordClass::CLCL(const std::string& sString1, const std::string& sString2) {
    const size_t shorter = std::min(sString1.size(), sString2.size());
    if (shorter == 0) return sString1.empty() ? 0 : 1;
    if (!m.RecordIsUtf8) {
        for (size_t i = 0; i < shorter; ++i)
            if (sString1[i] != sString2[i]) return static_cast<int32_t>(i + 1);
        return 0;
    }
    for (size_t i = 0; i < shorter;) {
        const int32_t k1 = CharStepAt(sString1, i);
        const int32_t k2 = CharStepAt(sString2, i);
        if (k1 != k2 || sString1.compare(i, static_cast<size_t>(k1), sString2, i, static_cast<size_t>(k2)) != 0)
            return static_cast<int32_t>(i + 1);
        i += static_cast<size_t>(k1);
    }
    return 0;
}

std::string Utf8MarcRecordClass::LeftPad(const std::string& sIn, int16_t iFinishedLengthInOctets,
                                         const std::string& sPaddingCharacter) {
    if (iFinishedLengthInOctets <= 0) return "";
    if (sPaddingCharacter.empty()) return sIn;
    const size_t length = static_cast<size_t>(iFinishedLengthInOctets);
    const std::string padded = std::string(length, sPaddingCharacter[0]) + sIn;
    return padded.substr(padded.size() - length);
}

std::string Utf8MarcRecordClass::LeftPadNumber(int32_t lIn, int16_t iFinishedLengthInOctets,
                                               const std::string& sPaddingCharacter) {
    return LeftPad(rt::Str(lIn), iFinishedLengthInOctets, sPaddingCharacter);
}

std::string Utf8MarcRecordClass::RemoveLeadingCharacter(const std::string& sOriginalString,
                                                        const std::string& sCharacterToRemove) {
    if (sCharacterToRemove.empty()) return sOriginalString;
    return StripLeading(sOriginalString, sCharacterToRemove);
}

std::string Utf8MarcRecordClass::RemoveTrailingCharacter(const std::string& sOriginalString,
                                                         const std::string& sCharacterToRemove) {
    const std::string& c = sCharacterToRemove;
    if (c.empty() || c.size() > sOriginalString.size()) return sOriginalString;
    size_t end = sOriginalString.size();  // the text before `end` is kept
    while (end >= c.size() && sOriginalString.compare(end - c.size(), c.size(), c) == 0) end -= c.size();
    return sOriginalString.substr(0, end);
}

bool Utf8MarcRecordClass::RemoveTextFromFront(const std::string& sTextToRemove, std::string& sTextFromWhichToRemove,
                                              bool bRemoveAdditionalNulls) {
    if (!m.RecordIsUtf8) return false;
    const std::string sTarget = NormString(sTextToRemove, true, "V");
    Utf8CharClass& chars = SharedChar();
    const std::string& s = sTextFromWhichToRemove;
    std::string sCompare, sLastPiece;
    for (size_t i = 0; i < s.size();) {
        const size_t step = static_cast<size_t>(CharStepAt(s, i));
        chars.Utf8Char(s.substr(i, step));
        const std::string f = chars.Utf8CharNorm("V");
        if (f != " ") {
            sCompare += f;
            sLastPiece = f;
        } else {
            if (!sCompare.empty() && sLastPiece != " ") sCompare += kBlank;
            sLastPiece = " ";
        }
        i += step;
        if (sCompare != sTarget) continue;

        std::string sRest = rt::Trim(i < s.size() ? std::string_view(s).substr(i) : std::string_view());
        while (bRemoveAdditionalNulls && !sRest.empty()) {
            const size_t first = static_cast<size_t>(CharStepAt(sRest, 0));
            chars.Utf8Char(sRest.substr(0, first));
            if (!rt::Trim(chars.Utf8CharNorm("V")).empty()) break;
            sRest = rt::Trim(first < sRest.size() ? std::string_view(sRest).substr(first) : std::string_view());
        }
        sTextFromWhichToRemove = sRest;
        return true;
    }
    return false;
}

int32_t Utf8MarcRecordClass::LesserNonZero(int32_t lNumeral1, int32_t lNumeral2) {
    if (lNumeral1 != 0 && (lNumeral2 == 0 || lNumeral1 < lNumeral2)) return lNumeral1;
    return lNumeral2;
}
