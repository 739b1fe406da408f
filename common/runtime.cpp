#include "common/runtime.h"

#include <cmath>
#include <limits>

#include "common/raised_error.h"

namespace rt {
namespace {

bool IsValBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Reads "&H..." or "&O..." at position i (just past the '&'): the digits as the
// platform reads them, 16-bit when they fit in four hex digits (or six octal), else 32-bit.
double ReadRadix(std::string_view s, size_t i) {
    if (i >= s.size()) return 0;
    char kind = UCaseChar(s[i]);
    int radix = kind == 'H' ? 16 : (kind == 'O' ? 8 : 0);
    if (radix == 0) return 0;
    ++i;
    uint64_t value = 0;
    int digits = 0;
    for (; i < s.size(); ++i) {
        int d = HexDigitValue(s[i]);
        if (d < 0 || d >= radix) break;
        value = value * radix + d;
        ++digits;
        if (value > 0xFFFFFFFFull) RaiseRuntimeError(ErrorNumber::Overflow);
    }
    if (value <= 0xFFFF && (radix == 16 ? digits <= 4 : value <= 0177777)) {
        return static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(value)));
    }
    return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

// Parses a decimal number with optional sign, fraction and exponent from the
// start of s. Returns the number of octets consumed by the number proper (0
// when there is none).
size_t ReadDecimal(std::string_view s, double& result) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    std::string digits;
    bool any = false;
    bool point = false;
    while (i < s.size()) {
        char c = s[i];
        if (IsAsciiDigit(c)) {
            digits += c;
            any = true;
        } else if (c == '.' && !point) {
            digits += c;
            point = true;
        } else {
            break;
        }
        ++i;
    }
    if (!any) {
        result = 0;
        return 0;
    }
    size_t end = i;
    int exponent = 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        size_t j = i + 1;
        bool expNegative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            expNegative = s[j] == '-';
            ++j;
        }
        if (j < s.size() && IsAsciiDigit(s[j])) {
            int e = 0;
            while (j < s.size() && IsAsciiDigit(s[j])) {
                if (e < 100000) e = e * 10 + (s[j] - '0');
                ++j;
            }
            exponent = expNegative ? -e : e;
            end = j;
        }
    }
    digits += 'e';
    digits += std::to_string(exponent);
    // strtod on a text made only of ASCII digits, '.', 'e' and a sign: the
    // decimal point is the only locale-dependent part, and we never set a locale.
    double v = std::strtod(digits.c_str(), nullptr);
    if (std::isinf(v)) RaiseRuntimeError(ErrorNumber::Overflow);
    result = negative ? -v : v;
    return end;
}

// The whole text as a number, for the conversions that raise 13 on anything else.
bool ParseWholeNumber(std::string_view s, double& result) {
    std::string t = Trim(s);
    // Tabs are blanks for these conversions as well.
    size_t a = 0, b = t.size();
    while (a < b && IsValBlank(t[a])) ++a;
    while (b > a && IsValBlank(t[b - 1])) --b;
    std::string_view v(t.data() + a, b - a);
    if (v.empty()) return false;
    if (v.size() >= 2 && v[0] == '&') {
        char kind = UCaseChar(v[1]);
        if (kind != 'H' && kind != 'O') return false;
        int radix = kind == 'H' ? 16 : 8;
        if (v.size() == 2) return false;
        for (size_t i = 2; i < v.size(); ++i) {
            int d = HexDigitValue(v[i]);
            if (d < 0 || d >= radix) return false;
        }
        result = ReadRadix(v, 1);
        return true;
    }
    double value = 0;
    size_t used = ReadDecimal(v, value);
    if (used == 0 || used != v.size()) return false;
    result = value;
    return true;
}

}  // namespace

char UCaseChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char LCaseChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

namespace {
// Blanks are stripped from the whole text first, as the platform does, so
// they may stand anywhere: "1 2 3" is 123 and "1E 3" is 1000.
std::string WithoutValBlanks(std::string_view s) {
    std::string t;
    t.reserve(s.size());
    for (char c : s)
        if (!IsValBlank(c)) t += c;
    return t;
}
}  // namespace

double Val(std::string_view s) {
    std::string t = WithoutValBlanks(s);
    if (!t.empty() && t[0] == '&') return ReadRadix(t, 1);
    double result = 0;
    ReadDecimal(t, result);
    return result;
}

int64_t Digits(std::string_view s, DigitSkip skip, int64_t limit) {
    int64_t value = 0;
    // Up to this value no digit can take the number past the limit (-1: no
    // such value), so the test of the limit needs no division there.
    const int64_t safe = limit >= 9 ? (limit - 9) / 10 : -1;
    for (char c : s) {
        if (c >= '0' && c <= '9') {
            const int digit = c - '0';
            value = value <= safe || value <= (limit - digit) / 10 ? value * 10 + digit : limit;
            continue;
        }
        if (skip != DigitSkip::Nothing && c == ' ') continue;
        if (skip == DigitSkip::BlanksTabsLineFeeds && (c == '\t' || c == '\n')) continue;
        break;
    }
    return value;
}

std::string DigitsAbsoluteText(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    while (i < s.size() && s[i] == '0') ++i;
    const size_t first = i;
    while (i < s.size() && IsAsciiDigit(s[i])) ++i;
    return i == first ? std::string("0") : std::string(s.substr(first, i - first));
}

double ValDecimal(std::string_view s) {
    double result = 0;
    ReadDecimal(WithoutValBlanks(s), result);
    return result;
}

namespace {
double RoundHalfEven(double value) {
    if (std::isnan(value)) RaiseRuntimeError(ErrorNumber::Overflow);
    return std::nearbyint(value);  // the default rounding mode rounds halves to even
}
}  // namespace

int16_t CInt(double value) {
    double r = RoundHalfEven(value);
    if (r < -32768.0 || r > 32767.0) RaiseRuntimeError(ErrorNumber::Overflow);
    return static_cast<int16_t>(r);
}

int32_t CLng(double value) {
    double r = RoundHalfEven(value);
    if (r < -2147483648.0 || r > 2147483647.0) RaiseRuntimeError(ErrorNumber::Overflow);
    return static_cast<int32_t>(r);
}

double CDbl(std::string_view s) {
    double v = 0;
    if (!ParseWholeNumber(s, v)) RaiseRuntimeError(ErrorNumber::TypeMismatch);
    return v;
}

int16_t CInt(std::string_view s) { return CInt(CDbl(s)); }
int32_t CLng(std::string_view s) { return CLng(CDbl(s)); }

bool IsNumeric(std::string_view s) {
    double v = 0;
    return ParseWholeNumber(s, v);
}

bool CBool(std::string_view s) {
    std::string t = UCase(Trim(s));
    if (t == "TRUE") return true;
    if (t == "FALSE") return false;
    double v = 0;
    if (!ParseWholeNumber(s, v)) RaiseRuntimeError(ErrorNumber::TypeMismatch);
    return v != 0;
}

int16_t ToInt16(int64_t value) {
    if (value < -32768 || value > 32767) RaiseRuntimeError(ErrorNumber::Overflow);
    return static_cast<int16_t>(value);
}

std::string LTrim(std::string_view s) {
    size_t a = 0;
    while (a < s.size() && s[a] == ' ') ++a;
    return std::string(s.substr(a));
}

std::string RTrim(std::string_view s) {
    size_t b = s.size();
    while (b > 0 && s[b - 1] == ' ') --b;
    return std::string(s.substr(0, b));
}

std::string Trim(std::string_view s) {
    size_t a = 0, b = s.size();
    while (a < b && s[a] == ' ') ++a;
    while (b > a && s[b - 1] == ' ') --b;
    return std::string(s.substr(a, b - a));
}

std::string UCase(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = UCaseChar(c);
    return r;
}

std::string LCase(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = LCaseChar(c);
    return r;
}

int32_t InStr(std::string_view haystack, std::string_view needle) { return InStr(1, haystack, needle); }

int32_t InStr(int32_t start, std::string_view haystack, std::string_view needle) {
    if (start < 1) RaiseRuntimeError(ErrorNumber::InvalidProcedureCall);
    const auto len = static_cast<int64_t>(haystack.size());
    // An empty needle is found at any start up to just past the end, but never in an empty text.
    if (len == 0 || start > len + 1) return 0;
    if (needle.empty()) return start;
    size_t pos = haystack.find(needle, static_cast<size_t>(start - 1));
    return pos == std::string_view::npos ? 0 : static_cast<int32_t>(pos + 1);
}

int32_t InStrRev(std::string_view haystack, std::string_view needle, int32_t start) {
    if (start == 0 || start < -1) RaiseRuntimeError(ErrorNumber::InvalidProcedureCall);
    const auto len = static_cast<int64_t>(haystack.size());
    if (start == -1) start = static_cast<int32_t>(len);
    if (start > len) return 0;
    if (needle.empty()) return start;
    if (static_cast<int64_t>(needle.size()) > start) return 0;
    // The match must end at or before position start.
    size_t pos = haystack.substr(0, static_cast<size_t>(start)).rfind(needle);
    return pos == std::string_view::npos ? 0 : static_cast<int32_t>(pos + 1);
}

std::string Mid(std::string_view s, int32_t start) {
    if (start < 1) RaiseRuntimeError(ErrorNumber::InvalidProcedureCall);
    if (static_cast<size_t>(start) > s.size()) return "";
    return std::string(s.substr(static_cast<size_t>(start - 1)));
}

std::string Mid(std::string_view s, int32_t start, int32_t length) {
    if (start < 1 || length < 0) RaiseRuntimeError(ErrorNumber::InvalidProcedureCall);
    if (static_cast<size_t>(start) > s.size()) return "";
    return std::string(s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(length)));
}

std::string Left(std::string_view s, int32_t length) {
    if (length < 0) RaiseRuntimeError(ErrorNumber::InvalidProcedureCall);
    return std::string(s.substr(0, static_cast<size_t>(length)));
}

std::string Right(std::string_view s, int32_t length) {
    if (length < 0) RaiseRuntimeError(ErrorNumber::InvalidProcedureCall);
    size_t n = static_cast<size_t>(length);
    if (n >= s.size()) return std::string(s);
    return std::string(s.substr(s.size() - n));
}

std::string Space(int32_t n) { return String(n, ' '); }

std::string String(int32_t n, char c) {
    if (n < 0) RaiseRuntimeError(ErrorNumber::InvalidProcedureCall);
    return std::string(static_cast<size_t>(n), c);
}

std::string Chr(int32_t code) {
    if (code < 0 || code > 255) RaiseRuntimeError(ErrorNumber::InvalidProcedureCall);
    return std::string(1, static_cast<char>(static_cast<unsigned char>(code)));
}

int32_t Asc(std::string_view s) {
    if (s.empty()) RaiseRuntimeError(ErrorNumber::InvalidProcedureCall);
    return static_cast<unsigned char>(s[0]);
}

std::string Str(int64_t value) { return std::to_string(value); }

std::string Hex(int64_t value) {
    static const char digits[] = "0123456789ABCDEF";
    // Negative numbers print as their 32-bit two's complement, as the platform does.
    uint64_t v = value < 0 ? static_cast<uint32_t>(static_cast<int32_t>(value)) : static_cast<uint64_t>(value);
    if (v == 0) return "0";
    std::string r;
    while (v > 0) {
        r.insert(r.begin(), digits[v & 0xF]);
        v >>= 4;
    }
    return r;
}

// ---- dates ----

namespace {
// Days from 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t yy = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

constexpr int64_t kEpochOffset = 25569;  // 1970-01-01 as a day number from 1899-12-30

// Whole seconds of the serial, rounded to the nearest second (the platform keeps
// dates to the second when it splits them into parts).
int64_t TotalSeconds(double serial) {
    double days = std::floor(serial);
    double fraction = serial - days;
    int64_t secs = static_cast<int64_t>(std::llround(fraction * 86400.0));
    return static_cast<int64_t>(days) * 86400 + secs;
}
}  // namespace

DateTime DateTime::FromParts(int year, int month, int day, int hour, int minute, int second) {
    // Months and days out of range carry over, as the platform's date building does.
    int64_t y = year;
    int64_t m = month - 1;
    y += m >= 0 ? m / 12 : -((11 - m) / 12);
    m = ((m % 12) + 12) % 12;
    int64_t days = DaysFromCivil(y, static_cast<unsigned>(m + 1), 1) + (day - 1) + kEpochOffset;
    int64_t seconds = static_cast<int64_t>(hour) * 3600 + static_cast<int64_t>(minute) * 60 + second;
    DateTime t;
    t.Serial = static_cast<double>(days) + static_cast<double>(seconds) / 86400.0;
    return t;
}

namespace {
void Split(double serial, int& y, int& mo, int& d, int& h, int& mi, int& s) {
    int64_t total = TotalSeconds(serial);
    int64_t days = total >= 0 ? total / 86400 : -((-total + 86399) / 86400);
    int64_t rest = total - days * 86400;
    CivilFromDays(days - kEpochOffset, y, mo, d);
    h = static_cast<int>(rest / 3600);
    mi = static_cast<int>((rest % 3600) / 60);
    s = static_cast<int>(rest % 60);
}
}  // namespace

int DateTime::Year() const { int y, mo, d, h, mi, s; Split(Serial, y, mo, d, h, mi, s); return y; }
int DateTime::Month() const { int y, mo, d, h, mi, s; Split(Serial, y, mo, d, h, mi, s); return mo; }
int DateTime::Day() const { int y, mo, d, h, mi, s; Split(Serial, y, mo, d, h, mi, s); return d; }
int DateTime::Hour() const { int y, mo, d, h, mi, s; Split(Serial, y, mo, d, h, mi, s); return h; }
int DateTime::Minute() const { int y, mo, d, h, mi, s; Split(Serial, y, mo, d, h, mi, s); return mi; }
int DateTime::Second() const { int y, mo, d, h, mi, s; Split(Serial, y, mo, d, h, mi, s); return s; }

int DateTime::Weekday() const {
    int64_t days = static_cast<int64_t>(std::floor(Serial));
    // 1899-12-30 was a Saturday (7).
    int64_t w = ((days % 7) + 7) % 7;  // 0 for Saturday
    return static_cast<int>(w == 0 ? 7 : w);
}

DateTime DateTime::AddSeconds(double seconds) const {
    DateTime t;
    t.Serial = Serial + seconds / 86400.0;
    return t;
}

int32_t DateTime::SecondsOfDay() const {
    int y, mo, d, h, mi, s;
    Split(Serial, y, mo, d, h, mi, s);
    return h * 3600 + mi * 60 + s;
}

std::string FormatDate(const DateTime& when, std::string_view pattern) {
    int y, mo, d, h, mi, s;
    Split(when.Serial, y, mo, d, h, mi, s);
    auto two = [](int v) {
        std::string r = std::to_string(v);
        return r.size() < 2 ? "0" + r : r;
    };
    std::string out;
    bool afterHour = false;
    size_t i = 0;
    while (i < pattern.size()) {
        char c = LCaseChar(pattern[i]);
        size_t run = 1;
        while (i + run < pattern.size() && LCaseChar(pattern[i + run]) == c) ++run;
        switch (c) {
            case 'y':
                if (run >= 4) out += std::to_string(y);
                else out += two(y % 100);
                afterHour = false;
                break;
            case 'm':
                if (afterHour) out += run >= 2 ? two(mi) : std::to_string(mi);
                else out += run >= 2 ? two(mo) : std::to_string(mo);
                afterHour = false;
                break;
            case 'd':
                out += run >= 2 ? two(d) : std::to_string(d);
                afterHour = false;
                break;
            case 'h':
                out += run >= 2 ? two(h) : std::to_string(h);
                afterHour = true;
                break;
            case 'n':
                out += run >= 2 ? two(mi) : std::to_string(mi);
                afterHour = false;
                break;
            case 's':
                out += run >= 2 ? two(s) : std::to_string(s);
                afterHour = false;
                break;
            default:
                out.append(run, pattern[i]);
                // Separators between the hour and its minutes keep the "minutes" reading.
                if (c != ':' && c != ' ') afterHour = false;
                break;
        }
        i += run;
    }
    return out;
}

namespace {
bool ReadInt(std::string_view s, size_t& i, size_t maxDigits, int& value) {
    size_t start = i;
    value = 0;
    while (i < s.size() && IsAsciiDigit(s[i]) && i - start < maxDigits) {
        value = value * 10 + (s[i] - '0');
        ++i;
    }
    return i > start;
}

bool ReadTime(std::string_view s, size_t& i, int& h, int& mi, int& sec) {
    if (!ReadInt(s, i, 2, h)) return false;
    if (i >= s.size() || s[i] != ':') return false;
    ++i;
    if (!ReadInt(s, i, 2, mi)) return false;
    sec = 0;
    if (i < s.size() && s[i] == ':') {
        ++i;
        if (!ReadInt(s, i, 2, sec)) return false;
        if (i < s.size() && s[i] == '.') {
            ++i;
            int frac = 0;
            if (!ReadInt(s, i, 9, frac)) return false;
        }
    }
    size_t j = i;
    while (j < s.size() && s[j] == ' ') ++j;
    std::string rest = UCase(s.substr(j));
    if (rest == "AM" || rest == "PM") {
        if (h < 1 || h > 12) return false;
        if (rest == "AM" && h == 12) h = 0;
        if (rest == "PM" && h != 12) h += 12;
        i = s.size();
    }
    return h <= 23 && mi <= 59 && sec <= 59;
}

bool ValidDate(int y, int m, int d) {
    if (m < 1 || m > 12 || d < 1 || y < 100 || y > 9999) return false;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int max = days[m - 1];
    if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) max = 29;
    return d <= max;
}

bool TryParseDate(std::string_view text, DateTime& out) {
    std::string t = Trim(text);
    std::string_view s(t);
    if (s.empty()) return false;
    size_t i = 0;
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0;
    int a = 0;
    bool hasDate = true;
    if (!ReadInt(s, i, 4, a)) return false;
    if (i < s.size() && s[i] == ':') {
        // A time alone lies on day 0.
        i = 0;
        if (!ReadTime(s, i, h, mi, sec) || i != s.size()) return false;
        out.Serial = static_cast<double>(h * 3600 + mi * 60 + sec) / 86400.0;
        return true;
    }
    if (i < s.size() && s[i] == '-' && i == 4) {
        y = a;
        ++i;
        if (!ReadInt(s, i, 2, mo) || i >= s.size() || s[i] != '-') return false;
        ++i;
        if (!ReadInt(s, i, 2, d)) return false;
    } else if (i < s.size() && s[i] == '/') {
        mo = a;
        ++i;
        if (!ReadInt(s, i, 2, d) || i >= s.size() || s[i] != '/') return false;
        ++i;
        size_t before = i;
        if (!ReadInt(s, i, 4, y)) return false;
        if (i - before <= 2) y += y < 30 ? 2000 : 1900;
    } else if (i < s.size() && s[i] == '-') {
        // dd-MON-yy or dd-MON-yyyy
        d = a;
        ++i;
        static const char* months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                       "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
        if (i + 3 > s.size()) return false;
        std::string mon = UCase(s.substr(i, 3));
        for (int k = 0; k < 12; ++k)
            if (mon == months[k]) mo = k + 1;
        if (mo == 0) return false;
        i += 3;
        if (i >= s.size() || s[i] != '-') return false;
        ++i;
        size_t before = i;
        if (!ReadInt(s, i, 4, y)) return false;
        if (i - before <= 2) y += y < 30 ? 2000 : 1900;
    } else {
        hasDate = false;
    }
    if (!hasDate || !ValidDate(y, mo, d)) return false;
    if (i < s.size()) {
        if (s[i] != ' ' && s[i] != 'T') return false;
        while (i < s.size() && (s[i] == ' ' || s[i] == 'T')) ++i;
        if (!ReadTime(s, i, h, mi, sec) || i != s.size()) return false;
    }
    out = DateTime::FromParts(y, mo, d, h, mi, sec);
    return true;
}
}  // namespace

DateTime CDate(std::string_view s) {
    DateTime t;
    if (!TryParseDate(s, t)) RaiseRuntimeError(ErrorNumber::TypeMismatch);
    return t;
}

bool IsDate(std::string_view s) {
    DateTime t;
    return TryParseDate(s, t);
}

}  // namespace rt
