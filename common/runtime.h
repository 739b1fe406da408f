#pragma once
// Runtime helpers with the rules of the platform the system was designed on:
// 1-based positions, blank-only trimming, ASCII-only case, banker's rounding
// with overflow errors, and the number reading of Val. Text is octets; nothing
// here consults the C locale.

#include <cstdint>
#include <string>
#include <string_view>

namespace rt {

// The number at the start of a text: blanks, tabs and line ends are ignored
// wherever they stand, "&H" reads hexadecimal and "&O" octal (16-bit when the
// digits fit), an exponent may follow ("1E3", "1D3"), no number gives 0.
double Val(std::string_view s);
// Val of a decimal number only: "&H" and "&O" are no number here, so a text
// that begins with either gives 0.
double ValDecimal(std::string_view s);

// Decimal digits at the start of a text, and nothing else: never a sign, a
// radix prefix or an exponent (use these, not Val, for numbers that a record
// or a file holds as digits). The octets that `skip` names are passed over
// wherever they stand; reading stops at the first other octet that is not
// "0" to "9"; no digits give 0. A value above `limit` gives `limit`.
enum class DigitSkip : uint8_t {
    Nothing,              // leading digits only
    Blanks,               // blanks anywhere ("0 025" is 25)
    BlanksTabsLineFeeds,  // blanks, tabs and line feeds anywhere
};
int64_t Digits(std::string_view s, DigitSkip skip = DigitSkip::Blanks, int64_t limit = INT64_MAX);
// Leading blanks, then one optional "+" or "-", then a run of digits: the
// absolute value of that number as decimal digits without leading zeros
// ("0" when there are none), of any length.
std::string DigitsAbsoluteText(std::string_view s);

// Conversions with rounding to the nearest whole number, halves to the even
// neighbour; a value outside the type's range raises error 6 (overflow).
int16_t CInt(double value);
int32_t CLng(double value);
// Conversions of text: a text that is no number raises error 13 (type mismatch).
int16_t CInt(std::string_view s);
int32_t CLng(std::string_view s);
double CDbl(std::string_view s);
// "True"/"False" in any case, or a number (non-zero is true); anything else raises 13.
bool CBool(std::string_view s);
// True when the text reads as a number as a whole (blanks around it allowed).
bool IsNumeric(std::string_view s);

// Checked narrowing to 16 bits: raises error 6 outside -32768..32767.
int16_t ToInt16(int64_t value);

// Blanks (0x20) only.
std::string Trim(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);

// ASCII letters only; every other octet stays as it is.
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
char UCaseChar(char c);
char LCaseChar(char c);
inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(char c);
// The value of a hexadecimal digit in either case, -1 for any other octet.
int HexDigitValue(char c);

// 1-based search. An empty needle is found at the start position (up to one
// past the end; never in an empty text); a start below 1 raises error 5;
// nothing found gives 0.
int32_t InStr(std::string_view haystack, std::string_view needle);
int32_t InStr(int32_t start, std::string_view haystack, std::string_view needle);
// Search from the right; start -1 means the end of the text.
int32_t InStrRev(std::string_view haystack, std::string_view needle, int32_t start = -1);

// Substrings. Mid with a start below 1 or a negative length raises error 5;
// a start past the end gives "". Left and Right with a negative length raise 5.
std::string Mid(std::string_view s, int32_t start);
std::string Mid(std::string_view s, int32_t start, int32_t length);
std::string Left(std::string_view s, int32_t length);
std::string Right(std::string_view s, int32_t length);
// A text of n blanks (n below 0 raises error 5), or n copies of a character.
std::string Space(int32_t n);
std::string String(int32_t n, char c);

// One octet; Chr outside 0..255 and Asc of "" raise error 5.
std::string Chr(int32_t code);
int32_t Asc(std::string_view s);

// Decimal text of a number as the platform prints it: "-" for negatives, no blank.
std::string Str(int64_t value);
// Upper-case hexadecimal digits without leading zeros ("0" for 0).
std::string Hex(int64_t value);

// A date and time, held as the platform holds it: days since 1899-12-30,
// the time of day as the fraction.
struct DateTime {
    double Serial = 0.0;

    static DateTime FromParts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    int Year() const;
    int Month() const;
    int Day() const;
    int Hour() const;
    int Minute() const;
    int Second() const;
    // Day of the week, 1 for Sunday.
    int Weekday() const;
    DateTime AddSeconds(double seconds) const;
    // Whole seconds since midnight.
    int32_t SecondsOfDay() const;
    friend bool operator<(DateTime a, DateTime b) { return a.Serial < b.Serial; }
    friend bool operator>(DateTime a, DateTime b) { return a.Serial > b.Serial; }
    friend bool operator<=(DateTime a, DateTime b) { return a.Serial <= b.Serial; }
    friend bool operator>=(DateTime a, DateTime b) { return a.Serial >= b.Serial; }
    friend bool operator==(DateTime a, DateTime b) { return a.Serial == b.Serial; }
};

// Formats a date with the platform's patterns: yyyy, yy, mm and m (month, or
// minutes right after an hour), dd and d, hh and h, nn and n, ss and s;
// any other character is copied.
std::string FormatDate(const DateTime& when, std::string_view pattern);

// Reads a date and time text: "yyyy-mm-dd[ hh:mm[:ss[.fff]]]", "mm/dd/yyyy[ hh:mm[:ss][ AM|PM]]",
// "dd-MON-yy[yy]" and a time alone; anything else raises error 13.
DateTime CDate(std::string_view s);
bool IsDate(std::string_view s);

}  // namespace rt
