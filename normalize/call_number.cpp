// Call-number normalization: the dispatch by call-number type, the plain form
// and the Library of Congress / National Library of Medicine rules. The Dewey
// and SuDoc rules and the call-number test are in call_number_dewey_sudoc.cpp.
//
// The forms are compared with call numbers that the library system stored in
// this same form, so every column and blank below is deliberate.
#include <algorithm>
#include <cstdint>
#include <string>

#include "common/raised_error.h"
#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "normalize/call_number_text.h"

using callnumber::CharAt;
using callnumber::EndsWithBlank;
using callnumber::IsDigitAt;

namespace {

// The values of the previous-character marker of the LC rules.
constexpr char kMarkBlank[] = " ";
constexpr char kMarkLetter[] = "a";
constexpr char kMarkDigit[] = "0";
constexpr char kMarkPeriod[] = ".";
constexpr char kMarkComma[] = ",";

// The head width of a call number without class letters, and what the class
// letters' octet count is raised by.
constexpr int32_t kHeadWidthWithoutLetters = 20;
constexpr int32_t kHeadWidthAfterLetters = 17;
constexpr int kMostClassLetters = 5;
constexpr int kMostClassNumberCharacters = 10;

bool IsAsciiCapital(const std::string& c) { return c.size() == 1 && c[0] >= 'A' && c[0] <= 'Z'; }
bool IsAsciiDigitText(const std::string& c) { return c.size() == 1 && rt::IsAsciiDigit(c[0]); }

}  // namespace

namespace callnumber {

void CheckLength(const std::string& sCallNumber) {
    // Positions into the call number are 16-bit.
    if (sCallNumber.size() > static_cast<size_t>(INT16_MAX)) RaiseRuntimeError(ErrorNumber::Overflow);
}

std::string CharAt(Utf8CharClass& chars, const std::string& s, size_t i) {
    chars.Utf8Char(i < s.size() ? s.substr(i, 4) : std::string());
    return chars.Utf8Char();
}

bool IsDigitAt(Utf8CharClass& chars, const std::string& s, size_t i) {
    if (i >= s.size()) return false;
    CharAt(chars, s, i);
    return chars.Utf8CharCategory() == "Nd";
}

bool EndsWithBlank(const std::string& s) { return !s.empty() && s.back() == ' '; }

int16_t Position16(int64_t position) { return rt::ToInt16(position); }

}  // namespace callnumber

// ---------------------------------------------------------------- dispatch

std::string Utf8MarcRecordClass::NormalizeCallNumber(const std::string& sCallNumber,
                                                     const std::string& sCallNumbertype) {
    if (sCallNumber.empty()) return "";
    try {
        callnumber::CheckLength(sCallNumber);
        const std::string& t = sCallNumbertype;
        if (t == "0" || t == "2" || t == "L" || t == "N") return NormalizeCallNumberLc(sCallNumber);
        if (t == "1" || t == "D") return NormalizeCallNumberDewey(sCallNumber);
        if (t == "3" || t == "S") return NormalizeCallNumberSudoc(sCallNumber);
        return rt::Trim(RemoveRepeatedCharacters(SafeUCase(sCallNumber), " "));
    } catch (const RaisedError&) {
        return "";
    }
}

Utf8CharClass& Utf8MarcRecordClass::CallNumberChar() {
    if (!m.MyUtf8CharCallNumber) m.MyUtf8CharCallNumber = std::make_unique<Utf8CharClass>();
    return *m.MyUtf8CharCallNumber;
}

Utf8CharClass& Utf8MarcRecordClass::CallNumberChar2() {
    if (!m.MyUtf8CharCallNumber2) m.MyUtf8CharCallNumber2 = std::make_unique<Utf8CharClass>();
    return *m.MyUtf8CharCallNumber2;
}

// ---------------------------------------------------------------- LC and NLM

std::string Utf8MarcRecordClass::NormalizeCallNumberLc(const std::string& sCallNumber) {
    Utf8CharClass& chars = SharedChar();
    Utf8CharClass& marker = CallNumberChar();
    Utf8CharClass& ahead = CallNumberChar2();

    // Preparation: blanks and hyphens single, upper case, no final periods.
    std::string s = rt::Trim(sCallNumber);
    s = RemoveRepeatedCharacters(s, " ");
    s = RemoveRepeatedCharacters(s, "-");
    s = SafeUCase(s);
    while (!s.empty() && s.back() == '.') s = rt::Trim(std::string_view(s).substr(0, s.size() - 1));

    // Class letters: up to five capitals, which set the head width.
    size_t pos = 0;
    for (int n = 0; n < kMostClassLetters && pos < s.size(); ++n) {
        CharAt(chars, s, pos);
        if (chars.Utf8CharCategory() != "Lu") break;
        pos += chars.Utf8Char().size();
    }
    std::string head;
    int32_t width = kHeadWidthWithoutLetters;
    if (pos > 0) {
        head = s.substr(0, pos) + " ";
        width = static_cast<int32_t>(pos) + kHeadWidthAfterLetters;
    }
    std::string rest = rt::Trim(std::string_view(s).substr(pos));

    // Class number: digits, and a period before a digit that ends the integer part.
    std::string digits;
    size_t integerLength = 0;
    pos = 0;
    for (int n = 0; n < kMostClassNumberCharacters && pos < rest.size(); ++n) {
        const std::string ch = CharAt(chars, rest, pos);
        if (chars.Utf8CharCategory() == "Nd") {
            digits += ch;
        } else if (ch == "." && IsDigitAt(ahead, rest, pos + 1)) {
            integerLength = digits.size();
        } else {
            break;
        }
        pos += ch.size();
    }
    rest = rest.substr(pos);
    // The integer part right-aligned in four columns, the fraction digits
    // straight after it.
    if (integerLength >= 1 && integerLength <= 4) {
        head += rt::Space(static_cast<int32_t>(4 - integerLength)) + digits;
    } else if (integerLength == 0 && digits.size() < 5) {
        head += rt::Space(static_cast<int32_t>(4 - digits.size())) + digits;
    } else {
        head += digits;
    }
    if (static_cast<int32_t>(head.size()) < width) head += rt::Space(width - static_cast<int32_t>(head.size()));

    // Extra digits after the class number end at the column before the cutters,
    // unless a number follows them.
    rest = rt::Trim(rest);
    std::string extra;
    for (pos = 0; pos < rest.size();) {
        const std::string ch = CharAt(chars, rest, pos);
        if (chars.Utf8CharCategory() != "Nd") break;
        extra += ch;
        pos += ch.size();
    }
    rest = rt::Trim(std::string_view(rest).substr(pos));
    rest.erase(0, std::min(rest.find_first_not_of('-'), rest.size()));
    if (!extra.empty()) {
        if (IsDigitAt(ahead, rest, 0)) {
            rest = extra + " " + rest;
        } else {
            // Raises when the digits do not fit in the head.
            head = rt::Left(head, static_cast<int32_t>(head.size()) - static_cast<int32_t>(extra.size()) - 1) +
                   extra + " ";
        }
    }
    if (!rest.empty() && rest[0] == '.') rest = rt::Trim(std::string_view(rest).substr(1));

    // The rest: cutters, dates, volume and copy data.
    auto setMarker = [&](const char* value) { marker.Utf8Char(value); };
    auto markerIs = [&](const char* value) { return marker.Utf8Char() == value; };
    // Right-aligns the last number of the head in four columns: the number
    // starts after the last blank (or blank or period) of the trimmed head;
    // the position found there is applied to the head itself.
    auto rightAlignLast = [&](bool bAfterPeriodToo) {
        const std::string t = rt::Trim(head);
        int32_t a = Rat(t, " ");
        if (bAfterPeriodToo) a = std::max(a, Rat(t, "."));
        int16_t at = callnumber::Position16(a);
        if (at <= 0) return;
        const size_t after = static_cast<size_t>(at);  // 0-based index of the character after it
        if (!IsDigitAt(ahead, t, after)) {
            if (after >= t.size() || t[after] != '.' || !IsDigitAt(ahead, t, after + 1)) return;
            at = callnumber::Position16(int32_t{at} + 1);
        }
        const size_t length = t.size() - static_cast<size_t>(at);
        if (length >= 1 && length <= 3)
            head.insert(std::min(static_cast<size_t>(at), head.size()), rt::Space(static_cast<int32_t>(4 - length)));
    };

    setMarker(kMarkBlank);
    bool bHyphen = false;      // a hyphen was the last separator
    bool bFirstAfter = false;  // the first comma or blank after a joined hyphen was seen
    int32_t joinedHyphens = 0;
    for (size_t i = 0; i < rest.size();) {
        const std::string ch = CharAt(chars, rest, i);
        i += ch.size();
        const bool bAscii = ch.size() == 1 && static_cast<unsigned char>(ch[0]) <= 127;
        const std::string c = bAscii ? chars.Utf8CharUCase() : chars.Utf8CharNorm("V");
        if (c.empty()) continue;
        const bool bMore = i < rest.size();
        const bool bBlankFollows = bMore && rest[i] == ' ';

        if (c == ",") {
            bHyphen = false;
            if (joinedHyphens > 0 && !bFirstAfter) {
                bFirstAfter = true;
                if (bMore) {
                    if (bBlankFollows) {
                        head += ",";
                        setMarker(kMarkComma);
                    } else {
                        head += ", ";
                        setMarker(kMarkBlank);
                    }
                    continue;
                }
            }
            head += EndsWithBlank(head) ? "," : " ,";
            setMarker(kMarkComma);
            if (bMore && !bBlankFollows) {
                head += " ";
                setMarker(kMarkBlank);
            }
        } else if (c == ")" || c == "]") {
            head += (joinedHyphens == 0 && !markerIs(kMarkBlank)) ? " " + c + " " : c + " ";
            setMarker(kMarkBlank);
        } else if (c == "/") {
            if (!bHyphen && !EndsWithBlank(head)) {
                head += " ";
                setMarker(kMarkBlank);
            }
        } else if (c == " ") {
            bHyphen = false;
            if (head.size() >= 3 && head.compare(head.size() - 3, 3, "   ") == 0) {
                head += "  ";
            } else {
                head = rt::Trim(head) + "   ";
            }
            if (joinedHyphens > 0) {
                if (!bFirstAfter) head.pop_back();
                bFirstAfter = true;
            }
            setMarker(kMarkBlank);
        } else if (c == ".") {
            bHyphen = false;
            const bool bDigitFollows = IsDigitAt(ahead, rest, i);
            if (markerIs(kMarkDigit) && bDigitFollows) {
                head += ".";
            } else if (!bDigitFollows) {
                if (!EndsWithBlank(head)) head += " ";
                setMarker(kMarkBlank);
            } else {
                head += EndsWithBlank(head) ? "." : " .";
                setMarker(kMarkPeriod);
            }
        } else if (c == "-") {
            bHyphen = true;
            if (!bMore || bBlankFollows) {
                rightAlignLast(false);
                if (!EndsWithBlank(head)) head += " ";
                setMarker(kMarkBlank);
            } else if (bFirstAfter) {
                if (!EndsWithBlank(head)) {
                    head += " ";
                    setMarker(kMarkBlank);
                }
            } else {
                ++joinedHyphens;
                if (joinedHyphens == 1) {
                    rightAlignLast(true);
                    head += " ";
                    // The number after the hyphen right-aligned in four columns.
                    int32_t d = 0;
                    for (size_t k = i; d < 4 && IsDigitAt(ahead, rest, k); ++d) k += ahead.Utf8Char().size();
                    if (d >= 1 && d <= 3) head += rt::Space(4 - d);
                    setMarker(kMarkBlank);
                } else if (joinedHyphens == 2) {
                    if (markerIs(kMarkLetter)) {
                        head += " ";
                        setMarker(kMarkBlank);
                    }
                } else if (!EndsWithBlank(head)) {
                    head += " ";
                    setMarker(kMarkBlank);
                }
            }
        } else if (IsAsciiDigitText(c)) {
            if (markerIs(kMarkLetter)) head += " ";
            head += c;
            setMarker(kMarkDigit);
        } else if (IsAsciiCapital(c) || chars.Utf8CharCategory() == "Lu") {
            if (markerIs(kMarkDigit) && !bHyphen) head += " ";
            head += c;
            setMarker(kMarkLetter);
        } else {
            if (!markerIs(kMarkBlank)) head += " ";
            head += ch + " ";
            setMarker(kMarkBlank);
        }
    }
    return rt::Trim(head);
}
