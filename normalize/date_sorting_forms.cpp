// Sorting keys of name dates ($d) and of chronological subdivisions ($y):
// texts of digits and one era letter whose plain octet comparison puts the
// dates in time order, B.C. before A.D. Both start from the same era words
// and the same cleaning of the text.
//
// Every number is the run of ASCII digits at the start of its text, held in
// 64 bits and saturated at the largest 32-bit value, so "400th century" or a
// run of a hundred digits computes without overflow. Every position and
// length is taken within its text: a step that would reach outside it takes
// the part that exists, so no text makes a key raise.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "common/runtime.h"
#include "marc/record/marc_record.h"

namespace {

constexpr int64_t kNumberLimit = std::numeric_limits<int32_t>::max();
constexpr std::string_view kZeroYear = "0000";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsDigitOneToNine(char c) { return c >= '1' && c <= '9'; }
bool StartsWithDigit(std::string_view s) { return !s.empty() && IsDigit(s[0]); }
bool StartsWithDigitOneToNine(std::string_view s) { return !s.empty() && IsDigitOneToNine(s[0]); }
bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }
bool HasBlank(std::string_view s) { return s.find(' ') != std::string_view::npos; }

// The value of the leading ASCII digits, 0 without any.
int64_t NumericValue(std::string_view s) { return rt::Digits(s, rt::DigitSkip::Nothing, kNumberLimit); }

// 1-based position of the first occurrence, 0 when there is none.
int32_t Find(std::string_view s, std::string_view f) {
    const size_t k = s.find(f);
    return k == std::string_view::npos ? 0 : static_cast<int32_t>(k + 1);
}

// The text before the 1-based position p, from p on, and n octets from p;
// a position or length outside the text takes the part that exists.
std::string_view Before(std::string_view s, int64_t p) {
    if (p <= 1) return {};
    return s.substr(0, static_cast<size_t>(std::min<int64_t>(p - 1, static_cast<int64_t>(s.size()))));
}
std::string_view From(std::string_view s, int64_t p) {
    if (p < 1) p = 1;
    if (p > static_cast<int64_t>(s.size())) return {};
    return s.substr(static_cast<size_t>(p - 1));
}
std::string_view Slice(std::string_view s, int64_t p, int64_t n) {
    if (n <= 0) return {};
    return From(s, p).substr(0, static_cast<size_t>(n));
}

std::string Trimmed(std::string_view s) { return rt::Trim(s); }

// The last `width` characters of the padding followed by the text.
std::string LastOf(std::string_view padding, std::string_view text, size_t width) {
    std::string s(padding);
    s += text;
    return s.size() > width ? s.substr(s.size() - width) : s;
}

// The ASCII digits of a text, in order.
std::string DigitsOnly(std::string_view s) {
    std::string digits;
    for (char c : s)
        if (IsDigit(c)) digits += c;
    return digits;
}

// A day as two digits: the last two of "00" and its value.
std::string DayDigits(std::string_view s) { return LastOf("00", rt::Str(NumericValue(s)), 2); }

// The months by their first three letters, with full name and code.
struct MonthRow {
    std::string_view Abbreviation;
    std::string_view FullName;
    std::string_view Code;
};
constexpr MonthRow kMonths[] = {
    {"JAN", "JANUARY", "01"}, {"FEB", "FEBRUARY", "02"}, {"MAR", "MARCH", "03"},     {"APR", "APRIL", "04"},
    {"MAY", "MAY", "05"},     {"JUN", "JUNE", "06"},     {"JUL", "JULY", "07"},      {"AUG", "AUGUST", "08"},
    {"SEP", "SEPTEMBER", "09"}, {"OCT", "OCTOBER", "10"}, {"NOV", "NOVEMBER", "11"}, {"DEC", "DECEMBER", "12"},
};

const MonthRow* MonthOf(std::string_view sFirstThree) {
    for (const MonthRow& row : kMonths)
        if (row.Abbreviation == sFirstThree) return &row;
    return nullptr;
}

// An era word and the two comma forms in front of it: the first loses its
// comma, the second has it replaced by a blank.
struct EraWord {
    std::string_view Word;
    std::string_view CommaBlank;
    std::string_view CommaOnly;
};
constexpr EraWord kBeforeChrist[] = {
    {"B.C.", ", B.C.", ",B.C."},
    {"B. C.", ", B. C.", ",B. C."},
    {" BC", ", BC", ""},
};
constexpr EraWord kAnnoDomini[] = {
    {"C.E.", ", C.E.", ",C.E."},
    {"C. E.", ", C. E.", ",C. E."},
    {"A.D.", ", A.D.", ",A.D."},
    {"A. D.", ", A. D.", ",A. D."},
};

constexpr std::string_view kEraWordsRemoved[] = {"B.C.E.", "B. C. E.", "BCE", "B.C.", "B. C.",
                                                 "C.E.",   "C. E.",    "A.D.", "A. D.", " AD"};
constexpr std::string_view kQualifiersRemoved[] = {" CA.", "CA. ", " APPROXIMATELY", " ACTIVE", "ACTIVE ", " FL.",
                                                   "FL. "};

// A name date's start or end: from its first digit on, "0000" when it has
// none; an empty text stays empty.
std::string FromFirstDigit(const std::string& s) {
    if (s.empty()) return s;
    const size_t first = s.find_first_of("0123456789");
    return first == std::string::npos ? std::string(kZeroYear) : s.substr(first);
}

}  // namespace

// ---- era words and the cleaning of a date text ----

void Utf8MarcRecordClass::DetectEraMarkers(std::string& sText, bool& bBC, bool& bAD) {
    // The first era word of a list that the text holds sets the flag; its
    // comma forms are tidied, the first occurrence of each only.
    const auto detect = [&](const auto& words) {
        for (const EraWord& era : words) {
            if (Find(sText, era.Word) == 0) continue;
            if (const int32_t k = Find(sText, era.CommaBlank); k > 0) {
                sText = SafeStuff(sText, k, 1, "");
            } else if (!era.CommaOnly.empty()) {
                if (const int32_t j = Find(sText, era.CommaOnly); j > 0) sText = SafeStuff(sText, j, 1, " ");
            }
            return true;
        }
        return false;
    };
    bBC = detect(kBeforeChrist);
    bAD = detect(kAnnoDomini);
}

std::string Utf8MarcRecordClass::CleanDateText(const std::string& sText) {
    std::string t = sText;
    for (std::string_view word : kEraWordsRemoved) t = ReplaceCharacters(t, std::string(word), " ", false);
    if (StartsWith(t, "CA.")) t = Trimmed(From(t, 4));
    for (std::string_view word : kQualifiersRemoved) t = ReplaceCharacters(t, std::string(word), " ", false);
    std::string kept;
    kept.reserve(t.size());
    for (char c : t)
        if (std::string_view("()[]{}").find(c) == std::string_view::npos) kept += c;
    t = std::move(kept);
    if (!t.empty() && (t.back() == ',' || t.back() == '.')) {
        t.pop_back();
        t = Trimmed(t);
    }
    return Trimmed(RemoveRepeatedCharacters(t, " "));
}

// ---- name dates ----

std::string Utf8MarcRecordClass::SfdSortingFormD(const std::string& sSfdText) {
    std::string t = SafeUCase(sSfdText);
    bool bBC = false;
    bool bAD = false;
    DetectEraMarkers(t, bBC, bAD);
    t = CleanDateText(t);

    // Centuries become year ranges: 20TH CENT. is 1900-1999.
    if (const int32_t lBlank = Rat(t, " "); lBlank > 0) {
        const std::string sWord = NormString(std::string(From(t, lBlank + 1)), true, "V");
        if (sWord == "CENT" || sWord == "CENTURY" || sWord == "CENTURIES") {
            const std::string sNumbers = Trimmed(Before(t, lBlank));
            const size_t h = sNumbers.find('-');
            const int64_t lFirst = NumericValue(std::string_view(sNumbers).substr(0, h)) - 1;
            const int64_t lLast =
                h == std::string::npos ? lFirst : NumericValue(Trimmed(std::string_view(sNumbers).substr(h + 1))) - 1;
            t = LastOf(kZeroYear, rt::Str(lFirst) + "00", 4) + "-" + LastOf(kZeroYear, rt::Str(lLast) + "99", 4);
        }
    }

    std::string sStart;
    std::string sEnd;
    if (const size_t h = t.find('-'); h != std::string::npos) {
        sStart = NormString(t.substr(0, h), true, "V");
        sEnd = NormString(t.substr(h + 1), true, "V");
    } else {
        sStart = NormString(t, true, "V");
        sEnd = t;
    }
    if (sStart.empty()) sStart = sEnd;

    // Each date: its first four digits are the year, what follows its first
    // four characters the month and day.
    const auto yearAndExtension = [this](std::string s, std::string& sExtension) {
        s = FromFirstDigit(s);
        sExtension = "00";
        if (s.size() > 4) {
            const std::string sCoded = SfdSortingFormDExtension(Trimmed(From(s, 5)));
            if (!sCoded.empty()) sExtension = sCoded;
            s.resize(4);
        }
        return LastOf(kZeroYear, DigitsOnly(s), 4);
    };
    std::string sStartExtension;
    std::string sEndExtension;
    sStart = yearAndExtension(sStart, sStartExtension);
    sEnd = yearAndExtension(sEnd, sEndExtension);
    const int64_t lStart = NumericValue(sStart);
    const int64_t lEnd = NumericValue(sEnd);

    std::string sKey;
    if (bBC) {
        sKey = lStart == 0 ? "000099998" : std::string(kZeroYear) + LastOf("00000", rt::Str(99999 - lStart), 5);
    } else {
        sKey = sStart == kZeroYear ? "0001" : sStart;
    }
    sKey += sStartExtension;
    sKey += bBC && bAD ? "C" : "D";
    if (bBC && !bAD) {
        sKey += std::string(kZeroYear) + sEnd;
    } else {
        sKey += LastOf(kZeroYear, rt::Str(9999 - lEnd), 4);
    }
    return sKey + sEndExtension;
}

std::string Utf8MarcRecordClass::SfdSortingFormDExtension(const std::string& sMonthAndDay) {
    if (sMonthAndDay.empty()) return "";
    const size_t b = sMonthAndDay.find(' ');
    const std::string sMonth = sMonthAndDay.substr(0, b);
    const std::string_view sDay = b == std::string::npos ? std::string_view("00")
                                                         : std::string_view(sMonthAndDay).substr(b + 1);
    const MonthRow* row = MonthOf(Slice(NormString(sMonth, true, "V"), 1, 3));
    return std::string(row ? row->Code : "00") + DayDigits(sDay);
}

// ---- chronological subdivisions ----

bool Utf8MarcRecordClass::MonthNameCode(const std::string& sWord, std::string& sCode) {
    sCode.clear();
    const MonthRow* row = MonthOf(Slice(sWord, 1, 3));
    if (!row) return false;
    sCode = row->Code;
    std::string sNormal = NormString(sWord, true, "V");
    // "Sept." is September, as in name dates: read as the abbreviation "SEP".
    if (sNormal == "SEPT" || sNormal.starts_with("SEPT ")) sNormal.erase(3, 1);
    const std::string sFull = std::string(row->FullName) + " ";
    if (sNormal + " " == sFull) return true;
    // The word with the full name's letters after its first three appended
    // agrees with the full name when it is the abbreviation alone or the
    // full name followed by more; the abbreviation followed by a blank and
    // more ("AUG 1") differs from it at once, at that blank. A longer start
    // of the full name ("SEPT 3") is no month name.
    const std::string sBuilt = sNormal + std::string(row->FullName.substr(3)) + " ";
    const int32_t k = CLCL(sBuilt, sFull);
    if (k == 0 || (k == 4 && sBuilt[3] == ' ')) return true;
    sCode.clear();
    return false;
}

bool Utf8MarcRecordClass::DigitFollowsTo(const std::string& sText, int32_t lPosition) {
    if (lPosition < 1) return false;
    const std::string_view c = Slice(sText, static_cast<int64_t>(lPosition) + 4, 1);
    return StartsWithDigitOneToNine(c);
}

namespace {

// The final key of a range of centuries, given as text with one hyphen
// between its two numbers ("16TH-17TH").
std::string CenturyRangeKey(std::string_view sRange, size_t h, bool bBC, bool bAD, std::string_view sPadding,
                            int64_t lYearMaximum) {
    const int64_t lFirst = NumericValue(rt::Trim(sRange.substr(0, h))) - 1;
    const int64_t lSecond = NumericValue(rt::Trim(sRange.substr(h + 1))) - 1;
    const auto padded = [&](int64_t n, std::string_view sTail) { return LastOf(sPadding, rt::Str(n) + std::string(sTail), 4); };
    if (!bBC) {
        return (lFirst == 0 ? std::string("0001") : padded(lFirst, "00")) + "D" +
               LastOf(sPadding, rt::Str(lYearMaximum - (lSecond * 100 + 99)), 4);
    }
    if (!bAD) {
        return std::string(kZeroYear) + (lFirst == 0 ? std::string("0099") : padded(lFirst, "99")) + "D" +
               std::string(kZeroYear) + (lSecond == 0 ? std::string("0001") : padded(lSecond, "00"));
    }
    return std::string(kZeroYear) + padded(lFirst, "99") + "C" + padded(lSecond, "00");
}

// The years of one century as a range "start-end".
std::string CenturyYears(int64_t lCentury, bool bBC, std::string_view sPadding) {
    const int64_t c = lCentury - 1;
    if (!bBC) {
        if (lCentury == 1) return "0001-0099";
        return LastOf(sPadding, rt::Str(c) + "00", 4) + "-" + LastOf(sPadding, rt::Str(c * 100 + 99), 4);
    }
    if (lCentury == 1) return "0099-0001";
    return LastOf(sPadding, rt::Str(c) + "99", 4) + "-" + LastOf(sPadding, rt::Str(c) + "00", 4);
}

}  // namespace

int16_t Utf8MarcRecordClass::PeriodPhraseForm(std::string& sText, int32_t lLastBlank, bool& bBC, bool& bAD) {
    std::string& p = sText;
    const int64_t a = lLastBlank;

    if (NormString(std::string(Slice(p, a + 1, 4)), true, "V") == "CENT") {
        std::string q = Trimmed(Before(p, a));
        if (Slice(p, a + 1, 9) == "CENTURIES" || Find(p, " AND ") > 0) {
            // Plural: "16TH AND 17TH" becomes "16TH-17TH".
            int32_t k = 0;
            size_t length = 0;
            if ((k = Rat(q, " AND ")) > 0) {
                length = 5;
            } else if ((k = Rat(q, " & ")) > 0) {
                length = 3;
            } else if ((k = Rat(q, " TO ")) > 0 && DigitFollowsTo(q, k)) {
                length = 4;
            } else if ((k = Rat(q, "-")) > 0) {
                length = 1;
            }
            if (k > 0) q = Trimmed(Before(q, k)) + "-" + Trimmed(From(q, k + static_cast<int64_t>(length)));
            q = std::string(From(q, static_cast<int64_t>(Rat(q, " ")) + 1));
            if (const size_t h = q.rfind('-'); h != std::string::npos) {
                p = CenturyRangeKey(q, h, bBC, bAD, m.YearPadding, m.YearMaximumValue);
                return 1;
            }
            if (StartsWithDigitOneToNine(q)) {
                p = CenturyYears(NumericValue(q), bBC, m.YearPadding);
                return 2;
            }
            p = q;
            return 1;
        }
        // Singular (CENT, CENT., CENTURY): of the text before a hyphen only
        // its first number remains.
        if (const int32_t h = Rat(q, "-"); h > 0) {
            const std::string_view sBefore = Before(q, h);
            size_t w = std::string_view::npos;
            for (size_t i = 0; i < sBefore.size() && w == std::string_view::npos; ++i)
                if (IsDigitOneToNine(sBefore[i]) && (i == 0 || sBefore[i - 1] == ' ')) w = i;
            if (w != std::string_view::npos) {
                const std::string_view sWord = sBefore.substr(w, sBefore.find(' ', w) - w);
                q = std::string(sWord) + std::string(From(q, h));
            } else if (HasBlank(sBefore)) {
                q = std::string(sBefore.substr(0, sBefore.find(' '))) + std::string(From(q, h + 1));
            }
        }
        const int32_t lBlank = Rat(q, " ");
        if (Rat(q, "-") > lBlank) {
            p = CenturyRangeKey(q, q.rfind('-'), bBC, bAD, m.YearPadding, m.YearMaximumValue);
            return 1;
        }
        const std::string_view sLastWord = From(q, static_cast<int64_t>(lBlank) + 1);
        const int64_t c = StartsWithDigitOneToNine(sLastWord) ? NumericValue(sLastWord) : NumericValue(q);
        p = CenturyYears(c, bBC, m.YearPadding);
        return 2;
    }

    // Open starts: the period begins with the earliest start, 9999 B.C.
    const auto openStart = [&](std::string_view sEnd) -> int16_t {
        p = m.YearMaximum + "-" + std::string(sEnd);
        if (!bBC) bAD = true;
        bBC = true;
        return 2;
    };
    if (StartsWith(p, "EARLY ")) {
        const int32_t k = Find(p, " TO ");
        if (!DigitFollowsTo(p, k)) return 0;
        return openStart(Trimmed(From(p, k + 4)));
    }
    if (StartsWith(p, "ANCIENT TO ")) return openStart(Trimmed(From(p, 12)));
    if (StartsWith(p, "BEFORE ")) return openStart(Trimmed(From(p, 8)));
    if (StartsWith(p, "TO ") && DigitFollowsTo(" " + p, 1)) return openStart(Trimmed(From(p, 4)));
    const int32_t k = Find(p, " TO ");
    if (!DigitFollowsTo(p, k)) return 0;
    const std::string_view sHead = Before(p, k);
    if (const size_t d = sHead.find_first_of("0123456789"); d != std::string_view::npos) {
        // "1500 TO 1600": a closed range.
        p = Trimmed(sHead.substr(d)) + "-" + Trimmed(From(p, k + 4));
        return 2;
    }
    const std::string_view sAfter = From(p, k + 4);
    return openStart(sAfter.substr(0, sAfter.find(' ')));
}

std::string Utf8MarcRecordClass::SfdSortingFormY(const std::string& sSfdText) {
    std::string s = SafeUCase(sSfdText);
    bool bBC = false;
    bool bAD = false;
    DetectEraMarkers(s, bBC, bAD);
    std::string sMonth;  // the month code, and the day when one was found

    // A bracket at the end: a month in it counts, a word is dropped.
    if (!s.empty() && s.back() == ')' && Find(s, " (") > 0) {
        const int32_t k = Rat(s, " (");
        const std::string sInner = NormString(std::string(From(s, k + 2)), true, "V");
        if (!StartsWithDigit(sInner)) {
            std::string sCode;
            if (MonthNameCode(sInner, sCode)) {
                sMonth = sCode;
                if (const size_t b = sInner.find(' '); b != std::string::npos)
                    sMonth += DayDigits(std::string_view(sInner).substr(b + 1));
            }
            s = std::string(Before(s, k));
        }
    }
    // A year in brackets follows a comma instead.
    if (const int32_t k = Rat(s, "("); k > 0 && StartsWithDigitOneToNine(From(s, k + 1)))
        s = Trimmed(Before(s, k)) + ", " + Trimmed(From(s, k + 1));

    std::string t = CleanDateText(s);
    const std::string sCleaned = t;

    bool bPeriod = false;
    if (!HasBlank(t)) {
        if (StartsWith(t, "-")) {
            t = std::string(kZeroYear) + t;
            if (!bBC) bAD = true;
            bBC = true;
        } else if (!StartsWithDigit(t)) {
            return NormString(s, true, "V");
        }
        bPeriod = true;
    } else {
        const int16_t iResult = PeriodPhraseForm(t, Rat(t, " "), bBC, bAD);
        if (iResult == 1) return t;
        if (iResult == 2) {
            bPeriod = true;
        } else {
            t = sCleaned;
            bPeriod = StartsWithDigit(t);
        }
    }

    // Texts that begin with a word.
    if (!bPeriod) {
        // Commas, from the last to the first.
        for (size_t k = t.size(); k-- > 0 && !bPeriod;) {
            if (t[k] != ',') continue;
            const std::string sRest = Trimmed(std::string_view(t).substr(k + 1));
            std::string sCode;
            if (StartsWithDigit(sRest)) {
                t = sRest;
                bPeriod = true;
            } else if (MonthNameCode(sRest, sCode)) {
                sMonth = sCode;
                if (const size_t b = sRest.find(' '); b != std::string::npos) {
                    const std::string r = Trimmed(std::string_view(sRest).substr(b + 1));
                    if (const size_t b2 = r.find(' '); b2 != std::string::npos) {
                        sMonth += DayDigits(r);
                        const std::string sAfter = r.substr(b2 + 1);
                        t = StartsWithDigitOneToNine(sAfter) ? sAfter : r;
                    } else {
                        t = r;
                    }
                }
                bPeriod = true;
            }
        }
    }
    if (!bPeriod) {
        for (std::string_view sWord : {std::string_view(" OF "), std::string_view(" DE ")}) {
            const int32_t k = Rat(t, std::string(sWord));
            if (k == 0) continue;
            const std::string sRest = Trimmed(From(t, k + 4));
            if (StartsWithDigit(sRest)) {
                t = sRest;
                bPeriod = true;
                break;
            }
        }
    }
    if (!bPeriod) {
        std::string sCode;
        if (MonthNameCode(t, sCode)) {
            const size_t b = t.find(' ');
            t = b == std::string::npos ? std::string() : Trimmed(std::string_view(t).substr(b + 1));
            if (t.size() > 3 && IsDigitOneToNine(t[0]) && IsDigit(t[1]) && IsDigit(t[2]) && IsDigit(t[3])) {
                sMonth = sCode;
                bPeriod = true;
            } else {
                sMonth.clear();
            }
        }
    }
    if (!bPeriod) {
        const int32_t k = Find(t, " TO ");
        if (!DigitFollowsTo(t, k)) return NormString(sCleaned, true, "V");
        t = Trimmed(From(t, k + 4));
    }

    // The key: start, month, era letter, end.
    std::string sStart;
    std::string sEnd;
    if (const size_t h = t.find('-'); h != std::string::npos) {
        sStart = NormString(t.substr(0, h), true, "V");
        sEnd = NormString(t.substr(h + 1), true, "V");
        if (sEnd.empty()) sEnd = m.YearMaximum;
    } else {
        sStart = sEnd = NormString(t, true, "V");
    }
    if (const size_t b = sStart.find(' '); b != std::string::npos) {
        const std::string sWords = sStart.substr(b + 1);
        std::string sCode;
        if (MonthNameCode(sWords, sCode)) {
            sMonth = sCode;
            if (const size_t b2 = sWords.find(' '); b2 != std::string::npos)
                sMonth += DayDigits(std::string_view(sWords).substr(b2 + 1));
            sStart.resize(b);
        } else {
            sMonth.clear();
        }
    }
    sStart = DigitsOnly(sStart);
    if (sStart.size() < 4) sStart = LastOf(m.YearPadding, sStart, 4);
    sEnd = DigitsOnly(sEnd);
    sEnd = sEnd.size() > 4 ? sEnd.substr(0, 4) : LastOf(m.YearPadding, sEnd, 4);
    const auto complemented = [this](const std::string& sYear) {
        return LastOf(m.YearPadding, rt::Str(m.YearMaximumValue - NumericValue(sYear)), 4);
    };
    if (bBC) {
        sStart = std::string(kZeroYear) + complemented(sStart);
        sEnd = bAD ? complemented(sEnd) : std::string(kZeroYear) + sEnd;
    } else {
        sEnd = complemented(sEnd);
    }
    if (!sMonth.empty()) sStart += "E" + sMonth;
    return sStart + (bBC && bAD ? "C" : "D") + sEnd;
}
