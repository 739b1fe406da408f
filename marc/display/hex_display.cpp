// Hex display: record text with the octets that are not plain text shown as
// "\&H" and two hex digits and the delimiter as "|", and the way back.
#include <algorithm>
#include <string>

#include "common/raised_error.h"
#include "common/runtime.h"
#include "marc/display/display_text.h"
#include "marc/record/marc_record.h"

namespace {

constexpr char kMarker[] = "\\&H";
constexpr char kDelimiter = '\x1F';

void AppendShown(std::string& out, unsigned octet) {
    static const char digits[] = "0123456789ABCDEF";
    out += kMarker;
    out += digits[octet >> 4];
    out += digits[octet & 0xF];
}

// A digit of the hex forms: its value in either case, 15 for any other character.
unsigned LooseDigit(char c) {
    const int v = rt::HexDigitValue(c);
    return v < 0 ? 15u : static_cast<unsigned>(v);
}

// The octet that one or two digit characters give ("0" in front of one).
char PairOctet(const char* pair, size_t size) {
    const unsigned high = size == 2 ? LooseDigit(pair[0]) : 0;
    return static_cast<char>(high * 16 + LooseDigit(pair[size - 1]));
}

}  // namespace

std::string Utf8MarcRecordClass::Marc2HexDisplay(std::string sField) {
    using display_text::OctetAt;
    std::string out;
    out.reserve(sField.size() * 2);
    const size_t size = sField.size();
    if (m.RecordIsUtf8) {
        for (size_t p = 0; p < size;) {
            const size_t n = display_text::AnnouncedOctets(OctetAt(sField, p));
            if (n == 1) {
                out += sField[p] == kDelimiter ? '|' : sField[p];
            } else {
                // Every octet of the character that the text holds; a
                // character cut short at the end shows only what is there.
                for (size_t k = p; k < p + n && k < size; ++k) AppendShown(out, OctetAt(sField, k));
            }
            p += n;
        }
    } else {
        for (size_t p = 0; p < size; ++p) {
            const unsigned c = OctetAt(sField, p);
            if (c == 0x1F) out += '|';
            else if (c <= 0x1E || c >= 0x80) AppendShown(out, c);
            else out += sField[p];
        }
    }
    return out;
}

std::string Utf8MarcRecordClass::HexDisplay2Marc(std::string sField) {
    std::string out;
    out.reserve(sField.size());
    const size_t size = sField.size();
    for (size_t i = 0; i < size;) {
        if (sField.compare(i, 3, kMarker) == 0) {
            const size_t digits = std::min<size_t>(2, size - i - 3);
            if (digits > 0) out += PairOctet(sField.data() + i + 3, digits);
            i += 3 + digits;
        } else {
            out += sField[i] == '|' ? kDelimiter : sField[i];
            ++i;
        }
    }
    return out;
}

std::string Utf8MarcRecordClass::Hex2CharString(std::string sIn) {
    if (sIn.empty()) return sIn;
    if (sIn.size() % 2 != 0) sIn.insert(0, 1, '0');
    if (sIn.size() > 32768) RaiseRuntimeError(ErrorNumber::Overflow);
    std::string out;
    out.reserve(sIn.size() / 2);
    for (size_t i = 0; i < sIn.size(); i += 2) out += PairOctet(sIn.data() + i, 2);
    return out;
}
