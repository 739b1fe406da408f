#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "marc/record/marc_record.h"
#include "platform/printer.h"

namespace {

std::string Lines(const std::vector<std::string>& lines) {
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) out += (i ? "\r\n" : "") + lines[i];
    return out;
}

std::string Rep(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

struct BreakCase {
    const char* name;
    bool utf8;
    double width;  // printable width; every octet is one unit wide
    std::string in;
    std::vector<std::string> lines;
};

TEST(PrinterLines, BreakLongLinesForPrinter) {
    const std::string e = "\xC3\xA9";
    const std::string eight(8, ' ');
    const std::string five(5, ' ');
    const std::vector<BreakCase> cases = {
        {"empty", false, 100, "", {""}},
        {"fits unchanged, blanks kept", true, 100, "  short  ", {"  short  "}},
        {"150 octets always break", false, 1000, Rep("a", 100) + " " + Rep("b", 49),
         {Rep("a", 100), eight + Rep("b", 49)}},
        {"break at a blank", false, 50, Rep("a", 45) + " bbbb", {Rep("a", 45), eight + "bbbb"}},
        {"break at the bar before a code", true, 47, Rep("a", 45) + "|b text", {Rep("a", 45), eight + "b text"}},
        {"break at the delimiter", false, 47, Rep("a", 45) + "\x1F" + "b text", {Rep("a", 45), eight + "b text"}},
        {"highest break point that fits", false, 60, Rep("a", 41) + "-" + Rep("c", 10) + " " + Rep("d", 20),
         {Rep("a", 41) + "-" + Rep("c", 10), eight + Rep("d", 20)}},
        {"hard break, 8-bit", false, 1000, Rep("x", 200), {Rep("x", 60), five + Rep("x", 140)}},
        {"hard break keeps a character whole", true, 1000, Rep("x", 58) + e + Rep("x", 100),
         {Rep("x", 58), five + e + Rep("x", 100)}},
        {"short rest, UTF-8: last character moves", true, 10, "abcdefghijklmnopqrst",
         {"abcdefghijklmnopqrs", five + "t"}},
        {"short rest, 8-bit: blank last line", false, 10, "abcdefghijklmnopqrst",
         {"abcdefghijklmnopqrst", five}},
        {"break character at the end", false, 45, Rep("a", 44) + " ", {Rep("a", 44), eight}},
        {"width rounds half to even (12)", false, 12.5, Rep("a", 12), {Rep("a", 12), five}},
        {"width rounds half to even (14)", false, 13.5, Rep("a", 12), {Rep("a", 12)}},
        // No width: every line is a hard break, and the breaking still ends.
        {"width 0, 8-bit", false, 0, "abc", {"abc", five}},
        {"width 0, UTF-8", true, 0, Rep("x", 130), {Rep("x", 59), five + Rep("x", 54), five + Rep("x", 16),
                                                       five + "x", five}},
        {"width 0, empty", true, 0, "", {five}},
        {"width 0, UTF-8 character after the indent", true, 0, "abc" + e,
         {"abc" + e, five}},
        {"negative width, UTF-8", true, -5, "a" + e + "b", {"a" + e + "b", five}},
        // Malformed UTF-8: a run of continuation octets still shrinks.
        {"continuation octets", true, 0, std::string(100, '\x80'),
         {std::string(60, '\x80'), five + std::string(40, '\x80'), five}},
    };
    for (const BreakCase& k : cases) {
        Utf8MarcRecordClass record;
        record.CharacterSetOut(k.utf8 ? "U" : "M");
        platform::ScopedPrinterMetrics printer(std::make_shared<platform::FixedPitchPrinter>(1, k.width));
        EXPECT_EQ(record.BreakLongLinesForPrinter(k.in), Lines(k.lines)) << k.name;
    }
}

TEST(PrinterLines, DefaultPrinterIsFixedPitchAndReplaceable) {
    const platform::PrinterMetrics& standard = platform::PrinterMetricsInUse();
    EXPECT_EQ(standard.PrintableWidth(), 11520);
    EXPECT_EQ(standard.TextWidth("abc"), 360);
    auto mine = std::make_shared<platform::FixedPitchPrinter>(2, 7);
    auto previous = platform::SetPrinterMetrics(mine);
    EXPECT_EQ(platform::PrinterMetricsInUse().PrintableWidth(), 7);
    EXPECT_EQ(platform::SetPrinterMetrics(previous), mine);
    EXPECT_EQ(platform::PrinterMetricsInUse().PrintableWidth(), 11520);
}

}  // namespace
