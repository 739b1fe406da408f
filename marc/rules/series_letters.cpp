// Single letters in a numbered series numbering: a volume letter (V, v) or a
// caption letter (D F H J N P R S T, either case) judged to be a caption is
// replaced by the separator, whose blanks part the words beside it; letters
// of new-series phrases (N.F., H.S.), initials and Roman numerals stay.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
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
// The text before a 1-based position without its final blanks; for the tests
// made on it (its last two characters, and whether it holds more than one)
// this is the text trimmed at both ends.
std::string_view BeforeTrimmed(const std::string& s, int64_t i) {
    std::string_view b(s.data(), i <= 1 ? 0 : std::min(s.size(), static_cast<size_t>(i - 1)));
    while (!b.empty() && b.back() == ' ') b.remove_suffix(1);
    return b;
}
// The text from a 1-based position without its leading blanks; for the tests
// made on it (its first two characters) this is the text trimmed at both ends.
std::string_view FromTrimmed(const std::string& s, int64_t i) {
    std::string_view r;
    if (i >= 1 && i <= static_cast<int64_t>(s.size())) r = std::string_view(s).substr(static_cast<size_t>(i - 1));
    while (!r.empty() && r.front() == ' ') r.remove_prefix(1);
    return r;
}

constexpr char kEscape = '\x1B';
constexpr size_t kFirstWindow = 32;

size_t WordCount(std::string_view s) {
    if (s.empty()) return 0;
    return 1 + static_cast<size_t>(std::count(s.begin(), s.end(), ' '));
}

}  // namespace

// The normal form is made from left to right, one character at a time (in
// 8-bit text: an escape and the octet after it, a delimiter and its code, a
// Greek run letter by letter, or one octet), and what one character gives
// never depends on what follows it. So the form of a window that begins where
// the text does and ends at a character's end is the beginning of the form of
// the whole text: its first word is known once a blank follows it. The window
// grows until then, so a word costs its own length, not the text's.
std::string Utf8MarcRecordClass::SeriesNormFirstWord(const std::string& sText, int64_t lFrom) {
    if (lFrom > static_cast<int64_t>(sText.size())) return "";
    const size_t start = static_cast<size_t>(std::max<int64_t>(lFrom, 1) - 1);
    size_t end = start;
    for (size_t width = kFirstWindow;; width *= 2) {
        while (end < sText.size() && end - start < width)
            end += m.RecordIsUtf8 ? static_cast<size_t>(std::max<int32_t>(1, CharStepAt(sText, end))) : 1;
        if (end >= sText.size()) return FirstWord(NormString(sText.substr(start), true, "V"));
        const std::string sForm = NormString(sText.substr(start, end - start), true, "V");
        if (const size_t blank = sForm.find(' '); blank != std::string::npos) return sForm.substr(0, blank);
    }
}

// The same from the other end: a window that begins right after a blank which
// the normal form reads as a blank of its own (no escape or delimiter before it
// takes it as its code, no UTF-8 character takes it as one of its octets, no
// Greek run drops it) ends the form of the whole text as it ends its own form,
// after a blank. bWhole tells whether the form returned is that of the whole text.
std::string Utf8MarcRecordClass::SeriesNormTail(const std::string& sText, int64_t lBefore, size_t iWords,
                                                size_t iOctets, bool& bWhole) {
    const size_t end = lBefore <= 1 ? 0 : std::min(sText.size(), static_cast<size_t>(lBefore - 1));
    const bool bUtf8 = m.RecordIsUtf8;
    // In 8-bit text a Greek run may be open anywhere after an escape "g".
    size_t floor = 0;
    if (!bUtf8) {
        const size_t iEscape = end == 0 ? std::string::npos : sText.rfind(kEscape, end - 1);
        if (iEscape != std::string::npos) {
            const bool bConsumed = iEscape > 0 && (sText[iEscape - 1] == kEscape || sText[iEscape - 1] == '\x1F');
            floor = bConsumed || (iEscape + 1 < sText.size() && sText[iEscape + 1] == 'g') ? end : iEscape + 2;
        }
    }
    auto startsClean = [&](size_t s) {  // a window may begin at index s
        if (s == 0) return true;
        if (sText[s - 1] != ' ') return false;
        if (s >= 2 && (sText[s - 2] == kEscape || sText[s - 2] == '\x1F')) return false;
        if (bUtf8) {
            for (size_t k = 2; k <= 6 && k <= s; ++k)
                if (CharStepAt(sText, s - k) >= static_cast<int32_t>(k)) return false;
        }
        return true;
    };
    for (size_t width = kFirstWindow;; width *= 2) {
        size_t s = width >= end ? 0 : end - width;
        while (s >= floor && s > 0 && !startsClean(s)) --s;
        if (s < floor) s = 0;
        std::string sForm = NormString(sText.substr(s, end - s), true, "V");
        bWhole = s == 0;
        if (bWhole || (WordCount(sForm) >= iWords && sForm.size() >= iOctets)) return sForm;
    }
}

bool Utf8MarcRecordClass::TextHasDigit(const std::string& sText) { return HasDigit(sText); }

std::string Utf8MarcRecordClass::SeparateVolumeLetter(const std::string& sText, bool bUpperFirst) {
    EnsureSeriesNumberingTables();
    std::string t = sText;
    auto isCaption = [&](const std::string& w) { return InWords(m.SeriesNumberingCaptions, w); };
    // Whether the text's first word is a Roman numeral, made again only after a change.
    size_t iChanges = 0, iRomanChecked = SIZE_MAX;
    bool bRoman = false;
    auto firstWordIsRoman = [&] {
        if (iRomanChecked != iChanges) bRoman = FirstWordIsRomanNumeral(t);
        iRomanChecked = iChanges;
        return bRoman;
    };
    auto separate = [&](int64_t c) {
        t = SafeStuff(t, static_cast<int32_t>(c), 1, m.SeriesNumberingSeparator);
        ++iChanges;
    };
    size_t iLongestList = 0;
    for (std::string_view list : tables::CaptionLists) iLongestList = std::max(iLongestList, list.size());

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
                    if (isCaption(SeriesNormFirstWord(t, c + 2))) separate(c);
                    continue;
                }
            } else if (n == '.' && !bUpperPass) {
                // The whole text before the letter, in normal form, is " V " or a run of
                // caption words; a text longer than every list is neither.
                // A last word that is in no list settles it before the long look.
                bool bWhole = false;
                bool bInList = false;
                const std::string sLast = LastWord(*this, SeriesNormTail(t, c, 1, 0, bWhole));
                for (std::string_view list : tables::CaptionLists) bInList = bInList || InWords(list, sLast);
                const std::string sForm = bInList || bWhole ? SeriesNormTail(t, c, 0, iLongestList + 1, bWhole) : "";
                bInList = false;
                if (bWhole) {
                    const std::string b = " " + sForm + " ";
                    for (std::string_view list : tables::CaptionLists) bInList = bInList || list.find(b) != list.npos;
                    bCaption = !(b == " V " || (bInList && Ch(sForm, 1) == 'V'));
                } else {
                    bCaption = true;
                }
            } else if (n == '.') {
                if (firstWordIsRoman() || Ch(t, c - 1) == '.') continue;
                if (IsCapital(Ch(t, c + 2)) && Ch(t, c + 3) != '.') {
                    bCaption = true;
                } else {
                    const std::string w = SeriesNormFirstWord(t, c + 2);
                    if (c == 1) {
                        bCaption = isCaption(w);
                    } else {
                        bool bWhole = false;
                        if (isCaption(LastWord(*this, SeriesNormTail(t, c, 1, 0, bWhole)))) continue;
                        // "2. V. 3": a number with a full stop before it and a number after it.
                        const std::string_view b = BeforeTrimmed(t, c);
                        const int64_t lb = static_cast<int64_t>(b.size());
                        bCaption = !(Ch(b, lb) == '.' && IsDigit(Ch(b, lb - 1)) && IsDigit(Ch(FromTrimmed(t, c + 2), 1)));
                    }
                }
            }
            if (!bCaption) continue;
            if (!TextHasDigit(From(t, c))) break;
            separate(c);
            if (t.empty()) break;
        }
    }
    return rt::Trim(t);
}

std::string Utf8MarcRecordClass::SeparateSingleLetterCaptions(const std::string& sLetters, const std::string& sText,
                                                             bool bUpperFirst) {
    EnsureSeriesNumberingTables();
    std::string t = sText;
    size_t iChanges = 0;  // changes made to t so far
    auto isCaption = [&](const std::string& w) { return InWords(m.SeriesNumberingCaptions, w); };
    auto separate = [&](int64_t a) {
        t = SafeStuff(t, static_cast<int32_t>(a), 1, m.SeriesNumberingSeparator);
        ++iChanges;
    };
    auto lastWordBefore = [&](int64_t a) {
        bool bWhole = false;
        return LastWord(*this, SeriesNormTail(t, a, 1, 0, bWhole));
    };
    auto wordRule = [&](int64_t a) {
        const std::string w = SeriesNormFirstWord(t, a + 2);
        if (a == 1) {
            if (InWords(tables::SingleLetterCaptions, w) || isCaption(w)) separate(a);
        } else if (!isCaption(lastWordBefore(a))) {
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
            if (IsDigit(Ch(SeriesNormFirstWord(t, a + 2), 1))) separate(a);
            else wordRule(a);
        } else if (n == '.') {
            if (IsDigit(Ch(SeriesNormFirstWord(t, a + 2), 1))) {
                if (a <= 2) {
                    separate(a);
                } else {
                    // "A.B. F. 3": the letter follows initials.
                    const std::string_view b = BeforeTrimmed(t, a);
                    const int64_t lb = static_cast<int64_t>(b.size());
                    if (!(lb > 1 && Ch(b, lb) == '.' && IsCapital(Ch(b, lb - 1)))) separate(a);
                }
            } else if (!bUpperPass) {
                separate(a);
            } else {
                const std::string_view r2 = FromTrimmed(t, a + 2);
                if (IsCapital(Ch(r2, 1))) {
                    if (Ch(r2, 2) != '.') separate(a);
                    return;
                }
                if (a > 1) {
                    const std::string_view b = BeforeTrimmed(t, a);
                    const int64_t lb = static_cast<int64_t>(b.size());
                    if (lb > 1 && Ch(b, lb) == '.') {
                        if (IsCapital(Ch(b, lb - 1))) return;
                        if (IsDigit(Ch(b, lb - 1)) && OneOf(Ch(t, a), kSeriesLetters)) {
                            t = SafeStuff(t, static_cast<int32_t>(a), 2, " " + std::string(tables::SeriesCode) + " ");
                            ++iChanges;
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
        // Every occurrence of a letter scans the whole text for it again; a scan
        // of a text that has not changed since a scan for the same letter that
        // changed nothing changes nothing either, and is skipped.
        std::array<size_t, 256> iQuietAt;
        iQuietAt.fill(SIZE_MAX);
        for (int64_t i = 1; i <= length; ++i) {
            const int c = Ch(t, i);
            if (!OneOf(c, sPassLetters)) continue;
            if (t.size() == 1) continue;
            if (iQuietAt[static_cast<size_t>(c)] == iChanges) continue;
            const size_t iChangesBefore = iChanges;
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
            if (iChanges == iChangesBefore) iQuietAt[static_cast<size_t>(c)] = iChanges;
        }
    }
    return rt::Trim(t);
}

bool Utf8MarcRecordClass::IsLetterInSeriesPhrase(int32_t iPosition, const std::string& sText,
                                                 std::string_view sPartnerWords, std::string_view sExcludedWords) {
    const std::string sNext = SeriesNormFirstWord(sText, int64_t{iPosition} + 2);
    const bool bNext = !sNext.empty() && InWords(sPartnerWords, sNext);
    bool bPrevious = false;
    if (iPosition >= 2) {
        if (!EndsWith(BeforeTrimmed(sText, iPosition), ",")) {
            // The last two words of the normal form are all that is read of it.
            bool bWhole = false;
            std::string b = SeriesNormTail(sText, iPosition, 2, 0, bWhole);
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
