#include "common/runtime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "common/raised_error.h"

namespace {

int32_t ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const RaisedError& e) {
        return e.Number();
    }
    return 0;
}

TEST(Runtime, ValReadsTheNumberAtTheStart) {
    struct Case { const char* text; double expected; };
    const Case cases[] = {
        {"&H1F", 31},      {"&h1f", 31},     {"&HFFFF", -1},   {"&H10000", 65536}, {"&O17", 15},
        {"  12abc", 12},   {"", 0},          {"abc", 0},       {"1E3", 1000},      {"1D3", 1000},
        {"-3.5", -3.5},    {"+7", 7},        {" 1 2 3", 123},  {"\t42", 42},       {"12.5.6", 12.5},
        {"1e", 1},         {"-", 0},         {".5", 0.5},      {"0010", 10},       {"&H", 0},
        // blanks are stripped wherever they stand, also inside the exponent and the hex digits
        {"1E 3", 1000},    {"1 e - 2", 0.01}, {"- 5", -5},     {" &H 1 F", 31},    {"&H FFFF", -1},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(rt::Val(c.text), c.expected) << c.text;
}

TEST(Runtime, DigitsReadsOnlyDecimalDigits) {
    using rt::DigitSkip;
    struct Case { const char* text; DigitSkip skip; int64_t limit; int64_t expected; };
    constexpr int64_t kNone = INT64_MAX;
    const Case cases[] = {
        // blanks anywhere: the numbers of a leader and a directory
        {"00123", DigitSkip::Blanks, kNone, 123},   {"  025", DigitSkip::Blanks, kNone, 25},
        {"0 025", DigitSkip::Blanks, kNone, 25},    {"12a45", DigitSkip::Blanks, kNone, 12},
        {"", DigitSkip::Blanks, kNone, 0},          {"abcde", DigitSkip::Blanks, kNone, 0},
        {"&H1F", DigitSkip::Blanks, kNone, 0},      {"1E3", DigitSkip::Blanks, kNone, 1},
        {"-12", DigitSkip::Blanks, kNone, 0},       {"+12", DigitSkip::Blanks, kNone, 0},
        {"1.5", DigitSkip::Blanks, kNone, 1},       {"1\t2", DigitSkip::Blanks, kNone, 1},
        // blanks, tabs and line feeds anywhere: the file reader
        {"1\t2\n3 4", DigitSkip::BlanksTabsLineFeeds, kNone, 1234},
        {"1\r2", DigitSkip::BlanksTabsLineFeeds, kNone, 1},
        // leading digits only, saturating at the result's range
        {"123abc", DigitSkip::Nothing, 32767, 123}, {" 12", DigitSkip::Nothing, 32767, 0},
        {"32767", DigitSkip::Nothing, 32767, 32767}, {"32768", DigitSkip::Nothing, 32767, 32767},
        {"32759", DigitSkip::Nothing, 32767, 32759}, {"32777", DigitSkip::Nothing, 32767, 32767},
        {"75", DigitSkip::Nothing, 5, 5},
        {"99999999999999999999999", DigitSkip::Nothing, 32767, 32767},
        {"99999999999999999999999", DigitSkip::Nothing, kNone, kNone},
        {"9223372036854775807", DigitSkip::Nothing, kNone, kNone},
    };
    for (const auto& c : cases) EXPECT_EQ(rt::Digits(c.text, c.skip, c.limit), c.expected) << c.text;
}

TEST(Runtime, DigitsAbsoluteTextKeepsTheWholeRun) {
    struct Case { const char* text; const char* expected; };
    const Case cases[] = {
        {"01", "1"},  {"-01", "1"},   {"  +007x", "7"}, {"", "0"},       {"-", "0"},  {"--1", "0"},
        {"a12", "0"}, {" 0", "0"},    {"1 2", "1"},     {"101/r", "101"},
        {"123456789012345678901234567890", "123456789012345678901234567890"},
    };
    for (const auto& c : cases) EXPECT_EQ(rt::DigitsAbsoluteText(c.text), c.expected) << c.text;
}

TEST(Runtime, ValDecimalReadsOnlyDecimalNumbers) {
    struct Case { const char* text; double expected; };
    const Case cases[] = {
        {"&H1F", 0},      {"&h1f", 0},      {"&O17", 0},      {"&H", 0},        {"&", 0},
        {"  12abc", 12},  {"", 0},          {"abc", 0},       {"1E3", 1000},    {"1D3", 1000},
        {"-3.5", -3.5},   {"+7", 7},        {" 1 2 3", 123},  {"\t42", 42},     {"12.5.6", 12.5},
        {"0070", 70},     {".5", 0.5},      {"1 e - 2", 0.01}, {"12&H1F", 12},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(rt::ValDecimal(c.text), c.expected) << c.text;
}

TEST(Runtime, IntegerConversionsRoundHalfToEvenAndOverflow) {
    struct Case { double value; int32_t cint; int32_t clng; };  // 6 means overflow
    const Case cases[] = {
        {0.5, 0, 0},       {1.5, 2, 2},         {2.5, 2, 2},       {-2.5, -2, -2},   {3.49, 3, 3},
        {32767, 32767, 32767}, {32767.5, -6, 32768}, {-32768, -32768, -32768}, {-32768.5, -32768, -32768},
        {32768, -6, 32768},  {-32769, -6, -32769}, {2147483647.0, -6, 2147483647}, {2147483648.0, -6, -6},
    };
    for (const auto& c : cases) {
        if (c.cint == -6) EXPECT_EQ(ErrorOf([&] { rt::CInt(c.value); }), 6) << c.value;
        else EXPECT_EQ(rt::CInt(c.value), c.cint) << c.value;
        if (c.clng == -6) EXPECT_EQ(ErrorOf([&] { rt::CLng(c.value); }), 6) << c.value;
        else EXPECT_EQ(rt::CLng(c.value), c.clng) << c.value;
    }
    EXPECT_EQ(rt::CInt(std::string_view(" 12 ")), 12);
    EXPECT_EQ(rt::CInt(std::string_view("&H10")), 16);
    EXPECT_EQ(ErrorOf([] { rt::CInt(std::string_view("12abc")); }), 13);
    EXPECT_EQ(ErrorOf([] { rt::CLng(std::string_view("")); }), 13);
    EXPECT_EQ(ErrorOf([] { rt::CInt(std::string_view("40000")); }), 6);
    EXPECT_EQ(ErrorOf([] { rt::ToInt16(32768); }), 6);
}

TEST(Runtime, CBoolAcceptsWordsAndNumbersOnly) {
    struct Case { const char* text; int expected; };  // -1 means error 13
    const Case cases[] = {
        {"True", 1}, {"true", 1}, {" FALSE ", 0}, {"1", 1}, {"0", 0}, {"-1", 1}, {"2.5", 1},
        {"yes", -1}, {"", -1}, {"T", -1}, {"truth", -1},
    };
    for (const auto& c : cases) {
        if (c.expected < 0) EXPECT_EQ(ErrorOf([&] { rt::CBool(c.text); }), 13) << c.text;
        else EXPECT_EQ(rt::CBool(c.text), c.expected == 1) << c.text;
    }
}

TEST(Runtime, TrimAndCaseTouchOnlyBlanksAndAscii) {
    EXPECT_EQ(rt::Trim("  a b \t "), "a b \t");
    EXPECT_EQ(rt::LTrim("  a "), "a ");
    EXPECT_EQ(rt::RTrim("  a "), "  a");
    EXPECT_EQ(rt::Trim("    "), "");
    EXPECT_EQ(rt::UCase("abc\xC3\xA9z"), "ABC\xC3\xA9Z");
    EXPECT_EQ(rt::LCase("ABC\xC3\x89Z"), "abc\xC3\x89z");
}

TEST(Runtime, SearchAndSubstringsFollowThePlatformEdgeRules) {
    struct Case { std::function<std::string()> call; std::string expected; int error; };
    const Case cases[] = {
        {[] { return std::to_string(rt::InStr("abcabc", "c")); }, "3", 0},
        {[] { return std::to_string(rt::InStr(4, "abcabc", "c")); }, "6", 0},
        {[] { return std::to_string(rt::InStr("abc", "")); }, "1", 0},
        {[] { return std::to_string(rt::InStr(2, "abc", "")); }, "2", 0},
        {[] { return std::to_string(rt::InStr("", "")); }, "0", 0},
        {[] { return std::to_string(rt::InStr(4, "abc", "")); }, "4", 0},  // just past the end
        {[] { return std::to_string(rt::InStr(5, "abc", "")); }, "0", 0},
        {[] { return std::to_string(rt::InStr(4, "abc", "c")); }, "0", 0},
        {[] { return std::to_string(rt::InStr("abc", "x")); }, "0", 0},
        {[] { return std::to_string(rt::InStr(9, "abc", "a")); }, "0", 0},
        {[] { return std::to_string(rt::InStr(0, "abc", "a")); }, "", 5},
        {[] { return std::to_string(rt::InStrRev("abcabc", "b")); }, "5", 0},
        {[] { return std::to_string(rt::InStrRev("abcabc", "b", 4)); }, "2", 0},
        {[] { return std::to_string(rt::InStrRev("abcabc", "bc", 2)); }, "0", 0},
        {[] { return std::to_string(rt::InStrRev("abc", "")); }, "3", 0},
        {[] { return rt::Mid("abcdef", 2, 3); }, "bcd", 0},
        {[] { return rt::Mid("abcdef", 5); }, "ef", 0},
        {[] { return rt::Mid("abc", 4); }, "", 0},
        {[] { return rt::Mid("abc", 9, 2); }, "", 0},
        {[] { return rt::Mid("abc", 2, 99); }, "bc", 0},
        {[] { return rt::Mid("abc", 0, 1); }, "", 5},
        {[] { return rt::Mid("abc", 1, -1); }, "", 5},
        {[] { return rt::Left("abc", 2); }, "ab", 0},
        {[] { return rt::Left("abc", 9); }, "abc", 0},
        {[] { return rt::Left("abc", -1); }, "", 5},
        {[] { return rt::Right("abc", 2); }, "bc", 0},
        {[] { return rt::Right("abc", 0); }, "", 0},
        {[] { return rt::Right("abc", -2); }, "", 5},
        {[] { return rt::Space(3); }, "   ", 0},
        {[] { return rt::Space(-1); }, "", 5},
        {[] { return rt::Chr(65); }, "A", 0},
        {[] { return rt::Chr(256); }, "", 5},
        {[] { return std::to_string(rt::Asc("\xE9x")); }, "233", 0},
        {[] { return std::to_string(rt::Asc("")); }, "", 5},
        {[] { return rt::Hex(255); }, "FF", 0},
        {[] { return rt::Hex(-1); }, "FFFFFFFF", 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        if (c.error) EXPECT_EQ(ErrorOf([&] { c.call(); }), c.error) << "case " << i;
        else EXPECT_EQ(c.call(), c.expected) << "case " << i;
    }
}

TEST(Runtime, DatesFormatAndParse) {
    rt::DateTime t = rt::DateTime::FromParts(2026, 12, 10, 9, 5, 7);
    struct Case { const char* pattern; const char* expected; };
    const Case cases[] = {
        {"yyyymmdd hh:mm:ss", "20261210 09:05:07"},
        {"yyyy-mm-dd hh:nn:ss", "2026-12-10 09:05:07"},
        {"m/d/yy", "12/10/26"},
        {"hh:mm", "09:05"},
        {"yymmdd", "261210"},
    };
    for (const auto& c : cases) EXPECT_EQ(rt::FormatDate(t, c.pattern), c.expected) << c.pattern;
    EXPECT_DOUBLE_EQ(rt::DateTime::FromParts(1899, 12, 30).Serial, 0.0);
    EXPECT_DOUBLE_EQ(rt::DateTime::FromParts(2000, 1, 1).Serial, 36526.0);
    EXPECT_EQ(rt::DateTime::FromParts(2026, 12, 10).Weekday(), 5);  // a Thursday
    EXPECT_EQ(t.AddSeconds(60 * 60 * 15).Day(), 11);
    EXPECT_EQ(t.SecondsOfDay(), 9 * 3600 + 5 * 60 + 7);

    struct Parse { const char* text; const char* expected; };  // "" means error 13
    const Parse parses[] = {
        {"2026-12-10 09:05:07", "20261210 09:05:07"}, {"2026-12-10", "20261210 00:00:00"},
        {"2024-02-29 23:59:59.000", "20240229 23:59:59"}, {"12/10/2026 9:05:07 PM", "20261210 21:05:07"},
        {"10-DEC-26", "20261210 00:00:00"}, {"2026-02-30", ""}, {"garbage", ""}, {"", ""},
        {"2026-12-10 25:00:00", ""},
    };
    for (const auto& p : parses) {
        if (!*p.expected) {
            EXPECT_EQ(ErrorOf([&] { rt::CDate(p.text); }), 13) << p.text;
            EXPECT_FALSE(rt::IsDate(p.text));
        } else {
            EXPECT_EQ(rt::FormatDate(rt::CDate(p.text), "yyyymmdd hh:nn:ss"), p.expected) << p.text;
        }
    }
}

}  // namespace
