// Sortable series numbering: the four forms of a numbering ($v), the tables
// they share, padded numbers, chapter captions and the character rewriting
// of the sort key. The key's pieces are built in series_key.cpp, ordinals in
// series_ordinals.cpp, single-letter captions in series_letters.cpp, caption
// words and numero signs in series_captions.cpp, heading words in
// series_heading.cpp.
#include <string>
#include <string_view>
#include <vector>

#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "marc/rules/series_tables.h"
#include "marc/rules/series_text.h"

using namespace series_text;
namespace tables = series_tables;

namespace {

constexpr int kPaddedWidth = 8;
constexpr int kEscape = 0x1B;
// What a MARC-8 superscript or subscript run holds: digits, signs, parentheses.
constexpr std::string_view kScriptRunCharacters = "0123456789+-()";

// The first octet after a 0-based index that is not a blank, or -1.
int FirstNonBlankAfter(const std::string& s, size_t index) {
    const size_t at = s.find_first_not_of(' ', index);
    return at == std::string::npos ? -1 : static_cast<unsigned char>(s[at]);
}

std::string Padded(const std::string& sDigits) {
    return std::string(static_cast<size_t>(kPaddedWidth) - sDigits.size(), '0') + sDigits;
}

// The UTF-8 characters that the MARC-8 punctuation octets stand for.
const std::vector<std::string>& Marc8PunctuationInUtf8() {
    static const std::vector<std::string> forms = [] {
        std::vector<std::string> made;
        Utf8CharClass chars;
        for (char octet : tables::Marc8Punctuation) {
            std::string sUtf8;
            bool bChanged = false, bError = false;
            chars.TranslateMarc2Utf8OneCharacter("M", "1", std::string(1, octet), sUtf8, bChanged, bError);
            if (!bError && !sUtf8.empty()) made.push_back(sUtf8);
        }
        return made;
    }();
    return forms;
}

}  // namespace

void Utf8MarcRecordClass::BuildSeriesNumberingTables() {
    m.SeriesNumberingBrackets = std::string(tables::Brackets);
    m.SeriesNumberingPunctuation = std::string(tables::AsciiPunctuation) + std::string(tables::Marc8Punctuation);
    std::string sCaptions(tables::CaptionsLead);
    for (std::string_view list : tables::CaptionLists) sCaptions += list;
    sCaptions += tables::CaptionsTail;
    m.SeriesNumberingCaptions = sCaptions;
    m.SeriesNumberingAllPunctuation = m.SeriesNumberingBrackets + m.SeriesNumberingPunctuation;
    m.SeriesNumberingSeparator = " " + MarcDelimiter() + " ";
    m.SeriesNumberingSuperscriptDigits = MarcSuperscript0() + MarcSuperscript1() + MarcSuperscript2() +
                                         MarcSuperscript3() + MarcSuperscript4() + MarcSuperscript5() +
                                         MarcSuperscript6() + MarcSuperscript7() + MarcSuperscript8() +
                                         MarcSuperscript9();
    m.SeriesNumberingSubscriptDigits = MarcSubscript0() + MarcSubscript1() + MarcSubscript2() + MarcSubscript3() +
                                       MarcSubscript4() + MarcSubscript5() + MarcSubscript6() + MarcSubscript7() +
                                       MarcSubscript8() + MarcSubscript9();
    m.SeriesNumberingTablesSet = CharacterSetOut();
    m.SeriesNumberingTablesReady = true;
}

// The separator and the superscript and subscript digits are written in the
// output set, so tables built in another set are built again.
void Utf8MarcRecordClass::EnsureSeriesNumberingTables() {
    if (!m.SeriesNumberingTablesReady || m.SeriesNumberingTablesSet != CharacterSetOut()) BuildSeriesNumberingTables();
}

std::string Utf8MarcRecordClass::NormalizeSeriesNumberForSorting(int32_t NormalizationMode,
                                                                 const std::string& sOriginalHeading,
                                                                 const std::string& sHeading,
                                                                 const std::string& sSeriesSubfieldV) {
    switch (NormalizationMode) {
    case 1:
        return NormString(sSeriesSubfieldV, true, "V");
    case 2:
        return PadNumbersForSorting(sSeriesSubfieldV);
    case 3:
        return PadNumbersAfterCaptions(sSeriesSubfieldV);
    case 4:
        return SeriesNumberSortKey(sOriginalHeading, sHeading, sSeriesSubfieldV);
    default:
        return "";
    }
}

std::string Utf8MarcRecordClass::PadNumbersForSorting(const std::string& sText) {
    std::string sOut, sDigits;
    // A number of more than seven significant digits is written as it is and
    // with no blank after it.
    auto flush = [&](bool bAtEnd) {
        if (sDigits.empty()) return;
        const size_t first = sDigits.find_first_not_of('0');
        sDigits = first == std::string::npos ? std::string() : sDigits.substr(first);
        if (sDigits.size() > static_cast<size_t>(kPaddedWidth - 1)) {
            sOut += ' ' + sDigits;
        } else {
            sOut += ' ' + Padded(sDigits);
            if (!bAtEnd) sOut += ' ';
        }
        sDigits.clear();
    };
    for (char c : sText) {
        if (IsDigit(static_cast<unsigned char>(c))) {
            sDigits += c;
        } else {
            flush(false);
            sOut += c;
        }
    }
    flush(true);
    return NormString(sOut, true, "V");
}

std::string Utf8MarcRecordClass::PadNumbersAfterCaptions(const std::string& sText) {
    EnsureSeriesNumberingTables();
    const bool bNumbered = HasDigit(sText);
    std::string sResult = PadNumbersForSorting(bNumbered ? sText : RemoveChapterCaption(sText));
    if (bNumbered) {
        // Leading caption words go; a single word stays.
        while (!sResult.empty() && !IsDigit(Ch(sResult, 1)) && sResult.find(' ') != std::string::npos)
            sResult = AfterFirstWord(sResult);
    }
    return sResult;
}

std::string Utf8MarcRecordClass::RemoveChapterCaption(const std::string& sText) {
    for (const tables::ChapterCaption& caption : tables::ChapterCaptions) {
        const int32_t length = static_cast<int32_t>(caption.Prefix.size());
        if (rt::UCase(rt::Left(sText, length)) != caption.Prefix) continue;
        const std::string sRest = rt::Trim(rt::Mid(sText, length + 1));
        return caption.RestInCapitals ? SafeUCase(sRest) : sRest;
    }
    return sText;
}

bool Utf8MarcRecordClass::StartsWithSeriesNumberingPunctuation(const std::string& sText) {
    if (sText.empty()) return false;
    const unsigned char lead = static_cast<unsigned char>(sText[0]);
    // An 8-bit numbering compares its first octet; a UTF-8 one its first whole
    // character: an ASCII mark, or a character a MARC-8 punctuation octet stands for.
    if (!m.RecordIsUtf8 || lead < 0x80) return m.SeriesNumberingAllPunctuation.find(sText[0]) != std::string::npos;
    const size_t length = std::min<size_t>(static_cast<size_t>(CharStepAt(sText, 0)), sText.size());
    const std::string sChar = sText.substr(0, length);
    for (const std::string& form : Marc8PunctuationInUtf8())
        if (form == sChar) return true;
    return false;
}

std::string Utf8MarcRecordClass::SeriesNumberSortKey(const std::string& sOriginalHeading, const std::string& sHeading,
                                                     const std::string& sSeriesSubfieldV) {
    EnsureSeriesNumberingTables();
    std::string t = sSeriesSubfieldV;
    const bool bNumbered = HasDigit(t);
    if (!bNumbered) {
        while (StartsWithSeriesNumberingPunctuation(t)) {
            const size_t length = m.RecordIsUtf8 ? static_cast<size_t>(CharStepAt(t, 0)) : 1;
            t = rt::Trim(length < t.size() ? t.substr(length) : std::string());
        }
        t = RemoveChapterCaption(t);
    }

    // Numero signs, written with a sign and spelled out.
    for (const std::string& sMark : {MarcSuperscript0(), MarcMiagkiiZnak(), MarcAngstrom(), MarcDegree()})
        t = SeparateNumeroSign(t, sMark);
    // Only a to z change, so that both texts keep the same positions.
    std::string u = rt::UCase(t);
    bool bSpelled = false;
    for (std::string_view sign : tables::SpelledNumeroSigns) bSpelled = bSpelled || u.find(sign) != std::string::npos;
    if (bSpelled) {
        for (std::string_view sign : tables::SpelledNumeroSigns) {
            for (size_t at = u.find(sign); at != std::string::npos; at = u.find(sign)) {
                const int32_t position = static_cast<int32_t>(at + 1);
                const int16_t length = static_cast<int16_t>(sign.size());
                t = SafeStuff(t, position, length, m.SeriesNumberingSeparator);
                u = SafeStuff(u, position, length, m.SeriesNumberingSeparator);
            }
        }
    }

    if (bNumbered) {
        t = SeparateVolumeLetter(t, true);
        t = SeparateSingleLetterCaptions(std::string(tables::SingleCaptionLetters), t, true);
    }
    t = RewriteSeriesNumberCharacters(t);
    t = rt::Trim(RemoveRepeatedCharacters(t, " "));
    if (t.empty()) return "";
    if (!bNumbered) return NormalizeCaptionWords(t, false);

    // Pieces at "," ";" and "/"; words without digits after a cut stay with the piece.
    std::string sKey, sPreviousSeparator = " ";
    while (!t.empty()) {
        std::string sPiece, sSeparator;
        const size_t cut = t.find_first_of(",;/");
        if (cut != std::string::npos) {
            sPiece = t.substr(0, cut);
            sSeparator = t.substr(cut, 1);
            t = rt::Trim(t.substr(cut + 1));
            if (!ContainsDigit(t)) {
                sPiece += ' ' + t;
                t.clear();
            }
        } else {
            sPiece = t;
            sSeparator = " ";
            t.clear();
        }
        if (!t.empty()) {
            AppendPieceToSortKey(sKey, sPiece, sSeparator, sPreviousSeparator, false, false, false);
            sPreviousSeparator = sSeparator;
        } else {
            AppendPieceToSortKey(sKey, sPiece, " ", " ", true, false, false);
        }
    }
    sKey = RemoveRepeatedCharacters(sKey, " ");
    RemoveTitleDerivedCaptions(sOriginalHeading, sHeading, sKey);
    return sKey;
}

// Walks from the last character to the first, so that a replacement of any
// length leaves the positions still to be visited where they were. In a
// UTF-8 record the walk steps over whole characters.
std::string Utf8MarcRecordClass::RewriteSeriesNumberCharacters(const std::string& sText) {
    std::string t = sText;
    const int64_t L = static_cast<int64_t>(t.size());
    const bool bUtf8 = m.RecordIsUtf8;
    Utf8CharClass& chars = SharedChar();
    auto leadAt = [&](int64_t i) -> int64_t {
        if (!bUtf8 || i < 1) return i;
        return chars.Utf8CharFindFirstOctet(t, static_cast<int32_t>(i));
    };
    auto charAt = [&](int64_t i) -> std::string {  // the whole character starting at i
        if (i < 1 || i > static_cast<int64_t>(t.size())) return "";
        size_t length = bUtf8 ? static_cast<size_t>(CharStepAt(t, static_cast<size_t>(i - 1))) : 1;
        length = std::max<size_t>(1, std::min(length, t.size() - static_cast<size_t>(i - 1)));
        return t.substr(static_cast<size_t>(i - 1), length);
    };
    auto replace = [&](int64_t i, size_t length, const std::string& by) {
        t.replace(static_cast<size_t>(i - 1), length, by);
    };
    // In MARC-8 a superscript or subscript is an escape run, ESC "p" or ESC
    // "b", its characters and ESC "s": the length of such a run that ends at
    // i, 0 for none. Its octets are read as one character, as UTF-8 reads
    // the character it stands for.
    auto scriptRunEndingAt = [&](int64_t i) -> int64_t {
        if (bUtf8 || i < 5 || Ch(t, i) != 's' || Ch(t, i - 1) != kEscape) return 0;
        int64_t e = i - 2;
        while (e >= 1 && OneOf(Ch(t, e), kScriptRunCharacters)) --e;
        if (e == i - 2 || e < 2 || (Ch(t, e) != 'p' && Ch(t, e) != 'b') || Ch(t, e - 1) != kEscape) return 0;
        return i - e + 2;
    };
    // A digit after a superscript or subscript digit (a whole character, or
    // the last digit of an escape run) is parted from it.
    auto afterSuperscriptDigit = [&](int64_t i) {
        if (scriptRunEndingAt(i - 1) > 0) return IsDigit(Ch(t, i - 3));
        const std::string sPrevious = charAt(leadAt(i - 1));
        if (sPrevious.empty() || static_cast<unsigned char>(sPrevious[0]) < 0x80) return false;
        return m.SeriesNumberingSuperscriptDigits.find(sPrevious) != std::string::npos ||
               m.SeriesNumberingSubscriptDigits.find(sPrevious) != std::string::npos;
    };
    const int delimiter = static_cast<unsigned char>(MarcDelimiter()[0]);

    for (int64_t i = leadAt(L); i >= 1; i = leadAt(i - 1)) {
        if (const int64_t run = scriptRunEndingAt(i); run > 0) {
            const int64_t start = i - run + 1;
            const std::string sRun = t.substr(static_cast<size_t>(start - 1), static_cast<size_t>(run));
            replace(start, static_cast<size_t>(run), NormString(sRun, true, "V"));
            i = start;
            continue;
        }
        const std::string c = charAt(i);
        const int o = c.size() == 1 ? static_cast<unsigned char>(c[0]) : -1;
        if (OneOf(o, "[(<{=")) {
            replace(i, 1, i == 1 ? "" : "; ");
        } else if (OneOf(o, "])>}:.#+&")) {
            replace(i, 1, " ");
        } else if (o == '\\') {
            replace(i, 1, "/");
        } else if (OneOf(o, "/,; ") || o == delimiter || IsCapital(o)) {
        } else if (IsSmall(o)) {
            replace(i, 1, std::string(1, rt::UCaseChar(static_cast<char>(o))));
        } else if (IsDigit(o)) {
            if (afterSuperscriptDigit(i)) replace(i, 0, " ");
        } else if (o == '-') {
            if (i == 1 || i == L) {
                replace(i, 1, "");
            } else if (i == 3 && t.compare(0, 2, "al") == 0) {
                t = rt::Trim(t.substr(3));  // the article "al-" goes, and the rewriting ends
                break;
            } else if (i > 3 && t.compare(static_cast<size_t>(i - 4), 4, " al-") == 0) {
                // The walk goes on before the blank: the positions after it
                // have moved and were rewritten already.
                replace(i - 3, 4, " ");
                i -= 3;
            } else {
                const std::string p = charAt(leadAt(i - 1));
                const int po = p.size() == 1 ? static_cast<unsigned char>(p[0]) : -1;
                const int n = Ch(t, i + 1);
                bool bLastRule = false;
                if (IsDigit(po)) {
                    bLastRule = !IsCapital(n);
                } else if (IsLetter(po)) {
                    if (IsDigit(n)) bLastRule = true;
                    else if (!IsLetter(n)) replace(i, 1, " ");
                } else {
                    bLastRule = true;
                }
                if (bLastRule) {
                    // Between numbers (12-15) the hyphen parts them; elsewhere it goes.
                    const std::string sPreviousForm = NormString(p, true, "V");
                    const bool bBetweenNumbers = i != static_cast<int64_t>(t.size()) &&
                                                 IsDigit(FirstNonBlankAfter(t, static_cast<size_t>(i))) &&
                                                 !sPreviousForm.empty() &&
                                                 IsDigit(static_cast<unsigned char>(sPreviousForm.back()));
                    replace(i, 1, bBetweenNumbers ? " " : "");
                }
            }
        } else {
            replace(i, c.size(), NormString(c, true, "V"));
        }
    }
    return t;
}
