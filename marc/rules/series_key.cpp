// The sort key of a numbered series numbering, piece by piece: number tokens
// right-aligned to eight digits, word tokens without their captions, the
// new-series and out-of-series phrases as codes, and a series word that
// follows its number moved in front of it as "SER".
#include <string>

#include "common/runtime.h"
#include "common/utli_misc_non_utf8.h"
#include "marc/record/marc_record.h"
#include "marc/rules/series_tables.h"
#include "marc/rules/series_text.h"

using namespace series_text;
namespace tables = series_tables;

namespace {

constexpr size_t kPaddedWidth = 8;

void AppendWord(std::string& sKey, const std::string& sWord) { sKey = rt::Trim(sKey + " " + sWord); }

// A padded number below 100,000 ("00012345"): begins with a digit, third character "0".
bool IsPaddedSmallNumber(const std::string& sWord) {
    return sWord.find(' ') == std::string::npos && IsDigit(Ch(sWord, 1)) && Ch(sWord, 3) == '0';
}

}  // namespace

bool Utf8MarcRecordClass::ContainsDigit(const std::string& sText) { return HasDigit(sText); }

void Utf8MarcRecordClass::AppendNumberTokenToSortKey(std::string& sKey, std::string& sNumber) {
    // Leading zeros are not removed first; a number of more than seven digits stays as it is.
    AppendWord(sKey, sNumber.size() > kPaddedWidth - 1 ? sNumber
                                                       : std::string(kPaddedWidth - sNumber.size(), '0') + sNumber);
    sNumber.clear();
}

void Utf8MarcRecordClass::AppendPieceToSortKey(std::string& sKey, std::string sPiece,
                                               const std::string& sSeparatorAfter,
                                               const std::string& sSeparatorBefore, bool bLastPiece, bool bWordSeen,
                                               bool bEastAsianOrdinal) {
    const std::string K = sKey;
    const size_t lengthK = K.size();
    const bool bSlashContext = sSeparatorAfter == "/" || sSeparatorBefore == "/";
    const int64_t n = static_cast<int64_t>(sPiece.size());
    bool bNumberState = IsDigit(Ch(sPiece, 1));
    bool bNumberSeen = false;
    bool bSeriesPiece = false;
    std::string sBuffer;

    sPiece = RemoveOrdinalSuffixes(sPiece, bLastPiece);

    for (int64_t position = 1; position <= n; ++position) {
        if (position > static_cast<int64_t>(sPiece.size())) continue;
        const char ch = sPiece[static_cast<size_t>(position - 1)];
        const bool bDigit = IsDigit(static_cast<unsigned char>(ch));
        if (ch == ' ') {
            if (bNumberState) {
                AppendNumberTokenToSortKey(sKey, sBuffer);
                bNumberSeen = true;
                if (position >= n) break;
                bNumberState = IsDigit(Ch(sPiece, position + 1));
            } else {
                sBuffer += ch;
            }
        } else if (bNumberState) {
            if (bDigit) {
                sBuffer += ch;
            } else {
                // A word glued to a number starts with "-".
                AppendNumberTokenToSortKey(sKey, sBuffer);
                bNumberSeen = true;
                sBuffer = std::string("-") + ch;
                bNumberState = false;
            }
        } else if (bDigit) {
            bNumberSeen = true;
            // A word glued to a following number ends with "-".
            if (IsCapital(Ch(sBuffer, static_cast<int64_t>(sBuffer.size())))) sBuffer += '-';
            bool bSeriesWordFound = false;
            AppendWordTokenToSortKey(sKey, sBuffer, bSlashContext, bNumberSeen, false, bSeriesWordFound,
                                     bEastAsianOrdinal);
            if (bSeriesWordFound && !bWordSeen) bSeriesPiece = true;
            bWordSeen = true;
            sBuffer = std::string(1, ch);
            bNumberState = true;
        } else {
            sBuffer += ch;
        }
    }
    if (!sBuffer.empty()) {
        if (bNumberState) {
            AppendNumberTokenToSortKey(sKey, sBuffer);
        } else {
            const bool bWholeToken =
                bLastPiece || (sSeparatorAfter == "/" && sSeparatorBefore == "/" && !bNumberSeen);
            bool bSeriesWordFound = false;
            AppendWordTokenToSortKey(sKey, sBuffer, bSlashContext, bNumberSeen, bWholeToken, bSeriesWordFound,
                                     bEastAsianOrdinal);
            if (bSeriesWordFound && !bWordSeen) bSeriesPiece = true;
        }
    }

    // A series piece whose contribution has no "SER" gets one in front.
    const std::string sCode(tables::SeriesCode);
    if (bSeriesPiece) {
        const std::string sAppended = sKey.size() > lengthK ? sKey.substr(lengthK) : std::string();
        if (sAppended.find(sCode) == std::string::npos) {
            if (K.empty()) sKey = rt::Trim(sCode + " " + sKey);
            else if (sKey.size() == lengthK) sKey += " " + sCode;
            else sKey = SafeStuff(sKey, static_cast<int32_t>(lengthK + 2), 0, sCode + " ");
        }
    }

    // A series word after its number goes in front of it: "00000012 SER" gives "SER 00000012".
    std::string P = K.empty() ? sKey : rt::Trim(sKey.size() > lengthK ? sKey.substr(lengthK) : std::string());
    const int32_t e = Rat(P, " ");
    const std::string sTrailingCode = " " + sCode;
    if (e > 2 && InWords(tables::SeriesWordList, P.substr(static_cast<size_t>(e)))) {
        P = P.substr(0, static_cast<size_t>(e)) + sCode;
    } else if (!EndsWith(P, sTrailingCode)) {
        return;
    }
    const std::string B = rt::Trim(P.substr(0, P.size() - sTrailingCode.size()));
    if (IsPaddedSmallNumber(B)) {
        sKey = rt::Trim(K + " " + sCode + " " + B);
        return;
    }
    const int32_t lastBlank = Rat(B, " ");
    if (lastBlank == 0) return;
    const std::string sRest = rt::Trim(B.substr(0, static_cast<size_t>(lastBlank - 1)));
    if (InWords(tables::OrdinalLetters, B.substr(static_cast<size_t>(lastBlank))) && IsPaddedSmallNumber(sRest))
        sKey = rt::Trim(K + " " + sCode + " " + sRest);  // the ordinal letter goes
}

void Utf8MarcRecordClass::AppendWordTokenToSortKey(std::string& sKey, std::string& sToken, bool bSlashContext,
                                                   bool& bNumberSeen, bool bWholeToken, bool& bSeriesWordFound,
                                                   bool& bEastAsianOrdinal) {
    std::string t = rt::Trim(sToken);
    sToken.clear();
    if (bWholeToken) {
        AppendWord(sKey, NormalizeCaptionWords(t, bSlashContext));
        return;
    }
    const std::string sCode(tables::SeriesCode);
    if (t.find(' ') == std::string::npos && !bNumberSeen && InWords(tables::SeriesWordList, t) && t.size() > 3) {
        const int32_t lastBlank = Rat(sKey, " ");
        if (sKey.find(' ') == std::string::npos)
            sKey = sCode + " " + sKey;
        else if (IsDigit(Ch(sKey, lastBlank + 1)))
            sKey = SafeStuff(sKey, lastBlank + 1, 0, sCode + " ");
        else
            sKey += " " + sCode;
        bSeriesWordFound = false;
        return;
    }

    const std::string sDelimiter = MarcDelimiter();
    while (!t.empty()) {
        std::string w;
        UtliMiscNonUtf8::SplitOffFirst(t, w, " ");
        if (w == sDelimiter) continue;

        std::string_view sPartners;
        std::string_view sPhrase = tables::NewSeriesCode;
        bool bSeriesWord = false, bOutOfSeries = false;
        if (InWords(tables::NewWordList, w)) {
            sPartners = tables::SeriesWordList;
        } else if (InWords(tables::HorsWordList, w)) {
            sPartners = tables::SeriesWordList;
            sPhrase = tables::HorsSeriesCode;
            bOutOfSeries = true;
        } else if (InWords(tables::NewSeriesAbbreviationList, w)) {
            AppendWord(sKey, std::string(tables::NewSeriesCode));
            return;  // the rest of the token goes
        } else if (InWords(tables::SeriesWordList, w)) {
            sPartners = tables::NewWordList;
            bSeriesWord = true;
            const std::string sTrimmedKey = rt::Trim(sKey);
            if (!sTrimmedKey.empty()) {
                const std::string sLastWord = LastWord(*this, sTrimmedKey);
                bool bWhole = false;
                for (std::string_view prefix : tables::WholeWordPrefixes) bWhole = bWhole || StartsWith(sLastWord, prefix);
                if (bWhole || (!IsDigit(Ch(sTrimmedKey, static_cast<int64_t>(sTrimmedKey.size()))) && !t.empty() &&
                               !IsDigit(Ch(t, 1)))) {
                    AppendWord(sKey, w);
                    continue;
                }
            }
        } else {
            if (InWords(m.SeriesNumberingCaptions, w)) {
                if (InWords(tables::EastAsianOrdinalPrefixes, w) && t.empty()) bEastAsianOrdinal = true;
            } else if (InWords(tables::EastAsianOrdinalPrefixes, w) && t.empty()) {
                bEastAsianOrdinal = true;
            } else {
                bool bDropped = false;
                if (bEastAsianOrdinal) {
                    bEastAsianOrdinal = false;
                    bDropped = InWords(tables::EastAsianCounterWords, NormString(w, true, "V"));
                }
                if (!bDropped) {
                    if (bSlashContext || !InWords(tables::WordAbbreviationTable, w)) {
                        AppendWord(sKey, rt::Trim(NormString(w, true, "V")));
                    } else {
                        bool bFound = false;
                        AppendWord(sKey, Abbreviation(tables::WordAbbreviationTable, w, bFound));
                    }
                }
            }
            continue;
        }

        // The partner step: a new-series, out-of-series or series word with its partner.
        if (!t.empty()) {
            if (InWords(sPartners, FirstWord(t))) {
                std::string sPartner;
                UtliMiscNonUtf8::SplitOffFirst(t, sPartner, " ");
                AppendWord(sKey, std::string(sPhrase));
            } else if (bSeriesWord) {
                if (w.size() == 1) AppendWord(sKey, w);
                else bSeriesWordFound = true;
            } else if (bOutOfSeries) {
                const std::string sTrimmedKey = rt::Trim(sKey);
                const std::string sLastWord = LastWord(*this, sTrimmedKey);
                if (!sTrimmedKey.empty() && InWords(tables::HorsWordList, sLastWord)) {
                    sKey = rt::Trim(sTrimmedKey.substr(0, sTrimmedKey.size() - sLastWord.size()));
                    AppendWord(sKey, std::string(tables::HorsSeriesCode));
                } else {
                    AppendWord(sKey, w);
                }
            } else {
                AppendWord(sKey, w);
            }
        } else if (w.size() == 1) {
            AppendWord(sKey, w);
        } else {
            if (bSeriesWord) bSeriesWordFound = true;
            return;
        }
    }
}
