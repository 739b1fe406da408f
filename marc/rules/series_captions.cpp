// Caption words and numero signs of a series numbering: the caption form of
// words (one abbreviation for a caption in all its languages, "NEW SER" for
// the new-series phrases, chapter words dropped), and the numero sign (N with
// a superscript o, soft sign, ring or degree sign) turned into a separator.
#include <string>

#include "common/runtime.h"
#include "common/utli_misc_non_utf8.h"
#include "marc/record/marc_record.h"
#include "marc/rules/series_tables.h"
#include "marc/rules/series_text.h"

using namespace series_text;
namespace tables = series_tables;

std::string Utf8MarcRecordClass::NormalizeCaptionWords(const std::string& sText, bool bNormalOnly) {
    std::string t = rt::Trim(NormString(sText, true, "V"));
    if (!m.CaptionAbbreviationTableBuilt) {
        std::string sTable;
        for (std::string_view piece : tables::CaptionAbbreviationPieces) sTable += piece;
        m.CaptionAbbreviationTable = sTable;
        m.CaptionAbbreviationTableBuilt = true;
    }
    if (bNormalOnly) return t;

    const std::string sNewSeries(tables::NewSeriesCode);
    auto lookUp = [&](const std::string& w) {
        bool bFound = false;
        return Abbreviation(m.CaptionAbbreviationTable, w, bFound);
    };
    std::string sOut;
    auto add = [&](const std::string& w) { sOut = rt::Trim(sOut + " " + w); };
    while (!t.empty()) {
        std::string w;
        UtliMiscNonUtf8::SplitOffFirst(t, w, " ");
        t = rt::Trim(t);
        const bool bNewWord = InWords(tables::NewWordList, w);
        if (InWords(tables::NewSeriesAbbreviationList, w)) {
            add(sNewSeries);
        } else if (bNewWord || InWords(tables::SeriesWordList, w)) {
            const std::string_view sPartners = bNewWord ? tables::SeriesWordList : tables::NewWordList;
            const int32_t lastBlank = Rat(sOut, " ");
            if (!t.empty() && InWords(sPartners, FirstWord(t))) {
                add(sNewSeries);
                std::string sPartner;
                UtliMiscNonUtf8::SplitOffFirst(t, sPartner, " ");
                t = rt::Trim(t);
            } else if (!sOut.empty() && InWords(sPartners, sOut.substr(static_cast<size_t>(lastBlank)))) {
                sOut = sOut.substr(0, static_cast<size_t>(lastBlank)) + sNewSeries;
            } else {
                add(lookUp(w));
            }
        } else if (InWords(tables::ChapterWordList, w)) {
        } else {
            add(lookUp(w));
        }
    }
    return RemoveRepeatedCharacters(sOut, " ");
}

std::string Utf8MarcRecordClass::SeparateNumeroSign(const std::string& sText, const std::string& sMark) {
    if (sMark.empty() || sText.find(sMark) == std::string::npos) return sText;
    EnsureSeriesNumberingTables();
    std::string t = sText;
    const int32_t L = static_cast<int32_t>(sMark.size());
    const bool bSuperscriptZero = sMark == MarcSuperscript0();
    // The degree sign gives no character of the key in any set ("8°", the
    // octavo size, stays 8), whatever its comparison form elsewhere.
    const std::string sMarkForm = sMark == MarcDegree() ? std::string() : NormString(sMark, true, "V");
    for (int32_t a = static_cast<int32_t>(t.size()); a >= 1; --a) {
        if (a > static_cast<int32_t>(t.size()) || t.compare(static_cast<size_t>(a - 1), sMark.size(), sMark) != 0)
            continue;
        const int p = Ch(t, a - 1);
        if (a == 1) {
            t = SafeStuff(t, a, static_cast<int16_t>(L), sMarkForm);
        } else if (p == 'N' || p == 'n') {
            t = SafeStuff(t, a - 1, static_cast<int16_t>(L + 1), m.SeriesNumberingSeparator);
        } else if (p == '.' || p == ':') {
            if (a > 2 && (Ch(t, a - 2) == 'n' || Ch(t, a - 2) == 'N'))
                t = SafeStuff(t, a - 2, static_cast<int16_t>(L + 2), m.SeriesNumberingSeparator);
            else
                t = SafeStuff(t, a, static_cast<int16_t>(L), sMarkForm);
        } else if (p == '8' && bSuperscriptZero) {
            t = SafeStuff(t, a, static_cast<int16_t>(L), "");  // 8vo, the octavo size, stays 8
        } else if (!bSuperscriptZero) {
            t = SafeStuff(t, a, static_cast<int16_t>(L), sMarkForm);
        }
    }
    return t;
}

// The first form of the numero rule, kept for callers of the class: the mark
// is compared as one octet, and the character tested before it and the
// position tests come from the end of the text.
std::string Utf8MarcRecordClass::SeparateNumeroSignEarlier(const std::string& sText, const std::string& sMark) {
    if (sMark.empty() || sText.find(sMark) == std::string::npos) return sText;
    EnsureSeriesNumberingTables();
    std::string t = sText;
    const bool bSuperscriptZero = sMark == MarcSuperscript0();
    for (int32_t a = static_cast<int32_t>(t.size()); a >= 1; --a) {
        if (a > static_cast<int32_t>(t.size()) || t.compare(static_cast<size_t>(a - 1), 1, sMark) != 0) continue;
        const int32_t n = static_cast<int32_t>(t.size());
        const int p = Ch(t, n - 1);
        if (n == 1) {
            t = SafeStuff(t, a, 1, NormString(sMark, true, "V"));
        } else if (p == 'N' || p == 'n') {
            t = SafeStuff(t, a - 1, 2, m.SeriesNumberingSeparator);
        } else if (p == '.' || p == ':') {
            if (n > 2 && (Ch(t, n - 2) == 'n' || Ch(t, n - 2) == 'N'))
                t = SafeStuff(t, a - 2, 3, m.SeriesNumberingSeparator);
            else
                t = SafeStuff(t, a, 1, NormString(sMark, true, "V"));
        } else if (p == '8' && bSuperscriptZero) {
            t = SafeStuff(t, a, 1, "");
        } else if (!bSuperscriptZero) {
            t = SafeStuff(t, a, 1, NormString(sMark, true, "V"));
        }
    }
    return t;
}
