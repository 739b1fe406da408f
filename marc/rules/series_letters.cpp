// Single letters in a numbered series numbering: a volume letter (V, v) or a
// caption letter (D F H J N P R S T, either case) judged to be a caption is
// replaced by the separator, whose blanks part the words beside it; letters
// of new-series phrases (N.F., H.S.), initials and Roman numerals stay.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "common/runtime.h"
#include "common/utli_misc_non_utf8.h"
#include "marc/record/marc_record.h"
#include "marc/rules/series_tables.h"
#include "marc/rules/series_text.h"

using namespace series_text;
namespace tables = series_tables;

namespace {

// The marks before a letter after which it may be a caption.
constexpr std::string_view kVolumeLetterLeads = ";.,({<[ ";
constexpr std::string_view kOpeningBrackets = "[({<";
constexpr std::string_view kAfterBracketedLetter = ":,.])>";
constexpr std::string_view kCaptionLetterLeads = ".,: ";
// Letters that, after a number with a full stop, stand for a series.
constexpr std::string_view kSeriesLetters = "FPS";

// The text from a 1-based position to its end ("" past the end).
std::string From(const std::string& s, int64_t i) {
    return i > static_cast<int64_t>(s.size()) ? std::string() : s.substr(static_cast<size_t>(std::max<int64_t>(i, 1) - 1));
}
// The text before a 1-based position.
std::string Before(const std::string& s, int64_t i) {
    return i <= 1 ? std::string() : s.substr(0, std::min(s.size(), static_cast<size_t>(i - 1)));
}

}  // namespace

bool Utf8MarcRecordClass::TextHasDigit(const std::string& sText) { return HasDigit(sText); }

std::string Utf8MarcRecordClass::SeparateVolumeLetter(const std::string& sText, bool bUpperFirst) {
    EnsureSeriesNumberingTables();
    std::string t = sText;
    auto isCaption = [&](const std::string& w) { return InWords(m.SeriesNumberingCaptions, w); };
    auto norm = [&](const std::string& s) { return NormTrim(*this, s); };

    for (char letter : bUpperFirst ? std::string("Vv") : std::string("v")) {
        if (t.find(letter) == std::string::npos || t.size() == 1 || (t.size() == 2 && t[1] == '.')) continue;
        const bool bUpperPass = letter == 'V';
        for (int64_t c = static_cast<int64_t>(t.size()); c >= 1; --c) {
            if (Ch(t, c) != static_cast<unsigned char>(letter)) continue;
            if (c > 1) {
                if (c == static_cast<int64_t>(t.size())) continue;
                if (OneOf(Ch(t, c - 1), kVolumeLetterLeads)) {
                    // The "V" in "3 V 4" stands between numbers.
                    if (bUpperPass && IsDigit(Ch(t, c - 2)) && Ch(t, c + 1) == ' ' && IsDigit(Ch(t, c + 2))) continue;
                } else if (!(Ch(t, c - 1) == '-' && letter == 'v')) {
                    continue;
                }
            }
            const int n = Ch(t, c + 1);
            bool bCaption = false;
            if (!bUpperPass && IsDigit(n)) {
                bCaption = true;
            } else if (n == ' ') {
                if (IsDigit(Ch(t, c + 2)) || Ch(t, c + 2) == '.') {
                    bCaption = true;
                } else {
                    if (isCaption(FirstWord(norm(From(t, c + 2)))))
                        t = SafeStuff(t, static_cast<int32_t>(c), 1, m.SeriesNumberingSeparator);
                    continue;
                }
            } else if (n == '.' && !bUpperPass) {
                const std::string b = " " + norm(Before(t, c)) + " ";
                bool bInList = false;
                for (std::string_view list : tables::CaptionLists) bInList = bInList || list.find(b) != list.npos;
                bCaption = !(b == " V " || (bInList && Ch(rt::Trim(b), 1) == 'V'));
            } else if (n == '.') {
                if (FirstWordIsRomanNumeral(t) || Ch(t, c - 1) == '.') continue;
                if (IsCapital(Ch(t, c + 2)) && Ch(t, c + 3) != '.') {
                    bCaption = true;
                } else {
                    const std::string r = rt::Trim(From(t, c + 2));
                    const std::string w = FirstWord(norm(r));
                    if (c == 1) {
                        bCaption = isCaption(w);
                    } else {
                        const std::string b = rt::Trim(Before(t, c));
                        if (isCaption(LastWord(*this, norm(b)))) continue;
                        // "2. V. 3": a number with a full stop before it and a number after it.
                        const int64_t lb = static_cast<int64_t>(b.size());
                        bCaption = !(Ch(b, lb) == '.' && IsDigit(Ch(b, lb - 1)) && IsDigit(Ch(r, 1)));
                    }
                }
            }
            if (!bCaption) continue;
            if (!TextHasDigit(From(t, c))) break;
            t = SafeStuff(t, static_cast<int32_t>(c), 1, m.SeriesNumberingSeparator);
            if (t.empty()) break;
        }
    }
    return rt::Trim(t);
}

std::string Utf8MarcRecordClass::SeparateSingleLetterCaptions(const std::string& sLetters, const std::string& sText,
                                                             bool bUpperFirst) {
    EnsureSeriesNumberingTables();
    std::string t = sText;
    auto isCaption = [&](const std::string& w) { return InWords(m.SeriesNumberingCaptions, w); };
    auto norm = [&](const std::string& s) { return NormTrim(*this, s); };
    auto separate = [&](int64_t a) { t = SafeStuff(t, static_cast<int32_t>(a), 1, m.SeriesNumberingSeparator); };
    auto wordRule = [&](int64_t a) {
        const std::string w = FirstWord(norm(From(t, a + 2)));
        if (a == 1) {
            if (InWords(tables::SingleLetterCaptions, w) || isCaption(w)) separate(a);
        } else if (!isCaption(LastWord(*this, norm(Before(t, a))))) {
            separate(a);
        }
    };
    auto examine = [&](int64_t a, bool bUpperPass) {
        const int n = Ch(t, a + 1);
        if (n == ' ') {
            if (!bUpperPass) separate(a);
        } else if (IsLetter(n)) {
        } else if (n == ':' || n == ',') {
            if (bUpperPass) return;
            if (IsDigit(Ch(norm(From(t, a + 2)), 1))) separate(a);
            else wordRule(a);
        } else if (n == '.') {
            const std::string r = norm(From(t, a + 2));
            if (IsDigit(Ch(r, 1))) {
                if (a <= 2) {
                    separate(a);
                } else {
                    // "A.B. F. 3": the letter follows initials.
                    const std::string b = rt::Trim(Before(t, a));
                    const int64_t lb = static_cast<int64_t>(b.size());
                    if (!(lb > 1 && Ch(b, lb) == '.' && IsCapital(Ch(b, lb - 1)))) separate(a);
                }
            } else if (!bUpperPass) {
                separate(a);
            } else {
                const std::string r2 = rt::Trim(From(t, a + 2));
                if (IsCapital(Ch(r2, 1))) {
                    if (Ch(r2, 2) != '.') separate(a);
                    return;
                }
                if (a > 1) {
                    const std::string b = rt::Trim(Before(t, a));
                    const int64_t lb = static_cast<int64_t>(b.size());
                    if (lb > 1 && Ch(b, lb) == '.') {
                        if (IsCapital(Ch(b, lb - 1))) return;
                        if (IsDigit(Ch(b, lb - 1)) && OneOf(Ch(t, a), kSeriesLetters)) {
                            t = SafeStuff(t, static_cast<int32_t>(a), 2, " " + std::string(tables::SeriesCode) + " ");
                            return;
                        }
                    }
                }
                wordRule(a);
            }
        }
    };

    const std::string sUpper = rt::UCase(sLetters), sLower = rt::LCase(sLetters);
    std::vector<std::pair<std::string, bool>> passes;
    if (bUpperFirst) {
        passes.emplace_back(sUpper, true);
        if (sLower != sUpper) passes.emplace_back(sLower, false);
    } else {
        passes.emplace_back(sLower, false);
    }
    for (const auto& [sPassLetters, bUpperPass] : passes) {
        const int64_t length = static_cast<int64_t>(t.size());
        for (int64_t i = 1; i <= length; ++i) {
            const int c = Ch(t, i);
            if (!OneOf(c, sPassLetters)) continue;
            if (t.size() == 1) continue;
            if (t.size() == 2) {
                if (Ch(t, 2) != '.') examine(1, bUpperPass);
                continue;
            }
            const int upper = rt::UCaseChar(static_cast<char>(c));
            bool bDigitSeen = false;
            for (int64_t a = static_cast<int64_t>(t.size()); a >= 1; --a) {
                const int ca = Ch(t, a);
                if (IsDigit(ca)) {
                    bDigitSeen = true;
                    continue;
                }
                if (ca != c || !bDigitSeen) continue;
                bool bPhrase = false;
                if (OneOf(upper, kSeriesLetters)) {
                    bPhrase = IsLetterInSeriesPhrase(static_cast<int32_t>(a), t, tables::NewWordList,
                                                     tables::SeriesWordList);
                    if (!bPhrase && upper == 'S')
                        bPhrase = IsLetterInSeriesPhrase(static_cast<int32_t>(a), t, tables::HorsWordList,
                                                         tables::SeriesWordList);
                } else if (upper == 'H') {
                    bPhrase = IsLetterInSeriesPhrase(static_cast<int32_t>(a), t, tables::SeriesWordList,
                                                     tables::HorsWordList);
                } else if (upper == 'N') {
                    bPhrase = IsLetterInSeriesPhrase(static_cast<int32_t>(a), t, tables::SeriesWordList,
                                                     tables::NewWordList);
                }
                if (bPhrase) continue;
                if (a == 1) {
                    examine(a, bUpperPass);
                } else if (OneOf(Ch(t, a - 1), kOpeningBrackets)) {
                    if (OneOf(Ch(t, a + 1), kAfterBracketedLetter)) examine(a, bUpperPass);
                } else if (OneOf(Ch(t, a - 1), kCaptionLetterLeads)) {
                    examine(a, bUpperPass);
                }
            }
        }
    }
    return rt::Trim(t);
}

bool Utf8MarcRecordClass::IsLetterInSeriesPhrase(int32_t iPosition, const std::string& sText,
                                                 std::string_view sPartnerWords, std::string_view sExcludedWords) {
    const std::string sNext = FirstWord(rt::Trim(NormString(From(sText, int64_t{iPosition} + 2), true, "V")));
    const bool bNext = !sNext.empty() && InWords(sPartnerWords, sNext);
    bool bPrevious = false;
    if (iPosition >= 2) {
        std::string b = rt::Trim(Before(sText, iPosition));
        if (!EndsWith(b, ",")) {
            b = rt::Trim(NormString(b, true, "V"));
            std::string sPrevious = b;
            const int32_t p = Rat(b, " ");
            if (p > 0) {
                sPrevious = b.substr(static_cast<size_t>(p));
                b = b.substr(0, static_cast<size_t>(p - 1));
            }
            bPrevious = !sPrevious.empty() && InWords(sPartnerWords, sPrevious);
            if (bPrevious && !b.empty()) {
                const int32_t q = Rat(b, " ");
                if (InWords(sExcludedWords, b.substr(static_cast<size_t>(q)))) bPrevious = false;
            }
        }
    }
    return bNext != bPrevious;
}

bool Utf8MarcRecordClass::FirstWordIsRomanNumeral(const std::string& sText) {
    std::string s = rt::Trim(NormString(sText, true, "V"));
    std::string w;
    do {
        UtliMiscNonUtf8::SplitOffFirst(s, w, " ");
    } while (w == "V" && !s.empty());
    return w.find_first_not_of(tables::RomanLetters) == std::string::npos;
}
