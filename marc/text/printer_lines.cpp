// Printer line breaking: one line of display text as printer lines that fit
// the printable width, broken at a blank, "-", "|" or the delimiter where one
// fits, else hard after 60 octets (whole UTF-8 characters in a UTF-8 record).
#include <algorithm>
#include <string>
#include <string_view>

#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "platform/printer.h"

namespace {

constexpr size_t kAlwaysBreakLength = 150;
constexpr size_t kLowestBreakPosition = 40;
constexpr size_t kHardBreakLength = 60;
// A hard break in UTF-8 places more than the leading blanks of an indent.
constexpr size_t kHardBreakIndentLength = 6;
constexpr std::string_view kBreakIndent = "        ";
constexpr std::string_view kHardBreakIndent = "     ";

}  // namespace

std::string Utf8MarcRecordClass::BreakLongLinesForPrinter(const std::string& sIn) {
    const platform::PrinterMetrics& printer = platform::PrinterMetricsInUse();
    const double dWidth = rt::CLng(printer.PrintableWidth());
    Utf8CharClass& chars = SharedChar();
    const char delimiter = chars.MarcDelimiter()[0];
    const bool bUtf8 = m.RecordIsUtf8;

    std::string out;
    auto appendLine = [&out](std::string_view line) {
        if (!out.empty()) out += "\r\n";
        out += line;
    };
    auto isBreakCharacter = [delimiter](char c) { return c == delimiter || c == '|' || c == ' ' || c == '-'; };
    auto isCharacterStart = [](char c) {
        const auto octet = static_cast<unsigned char>(c);
        return octet < 0x80 || octet >= 0xC0;
    };

    std::string rest = sIn;
    for (;;) {
        if (rest.size() < kAlwaysBreakLength && printer.TextWidth(rest) < dWidth) {
            appendLine(rest);
            return out;
        }
        size_t placed = 0;
        size_t resumeAt = 0;
        std::string_view indent = kHardBreakIndent;
        size_t breakAt = 0;  // 1-based position of the break character
        for (size_t c = std::min(kAlwaysBreakLength, rest.size()); c >= kLowestBreakPosition; --c) {
            if (isBreakCharacter(rest[c - 1]) && printer.TextWidth(rest.substr(0, c - 1)) < dWidth) {
                breakAt = c;
                break;
            }
        }
        if (breakAt != 0) {
            placed = breakAt - 1;
            resumeAt = breakAt;
            indent = kBreakIndent;
        } else if (!bUtf8) {
            placed = resumeAt = std::min(kHardBreakLength, rest.size());
        } else {
            const size_t first = static_cast<size_t>(
                chars.Utf8CharFindFirstOctet(rest, static_cast<int32_t>(kHardBreakLength)));
            if (first > kHardBreakIndentLength) {
                placed = first - 1;
            } else {
                // Nothing but leading blanks (or a malformed run) would be
                // placed: cut before the next character start, or after 60.
                const size_t last = std::min(kHardBreakLength, rest.size());
                placed = last;
                for (size_t p = kHardBreakIndentLength + 1; p <= last; ++p) {
                    if (isCharacterStart(rest[p - 1])) {
                        placed = p - 1;
                        break;
                    }
                }
            }
            resumeAt = placed;
        }
        appendLine(std::string_view(rest).substr(0, placed));
        const std::string remainder = rt::Trim(std::string_view(rest).substr(resumeAt));
        rest.assign(indent);
        rest += remainder;
        if (remainder.empty()) {
            // Everything is placed: the indent is the last line.
            appendLine(rest);
            return out;
        }
    }
}
