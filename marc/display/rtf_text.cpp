// RTF text: record text written as 7-bit RTF text, and RTF text read back
// into record text.
#include "marc/display/rtf_text.h"

#include <charconv>
#include <string>

#include "common/raised_error.h"
#include "common/runtime.h"
#include "marc/display/display_text.h"
#include "marc/record/marc_record.h"
#include "marc/text/fixed_field_block.h"

namespace {

using display_text::OctetAt;

constexpr char kDelimiter = '\x1F';
constexpr uint32_t kDoubleDagger = 0x2021;
constexpr uint32_t kReplacement = 0xFFFD;

// The code point of the well-formed character of k octets at index i.
uint32_t Decode(const std::string& s, size_t i, size_t k) {
    const unsigned lead = OctetAt(s, i);
    uint32_t code = k == 2 ? lead & 0x1F : k == 3 ? lead & 0x0F : lead & 0x07;
    for (size_t j = 1; j < k; ++j) code = code << 6 | (OctetAt(s, i + j) & 0x3F);
    return code;
}

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsHighSurrogate(uint32_t code) { return code >= 0xD800 && code <= 0xDBFF; }
bool IsLowSurrogate(uint32_t code) { return code >= 0xDC00 && code <= 0xDFFF; }

// The characters that the escapes of RTF text give, written as UTF-8; a
// high surrogate waits for the low one that may follow it.
class DecodedText {
public:
    explicit DecodedText(size_t reserve) { out_.reserve(reserve); }
    void Octet(char c) {
        Settle();
        out_ += c;
        lastStart_ = out_.size() - 1;
    }
    void Character(uint32_t code) {
        if (pendingHigh_ != 0) {
            if (IsLowSurrogate(code)) {
                const uint32_t joined = 0x10000 + ((pendingHigh_ - 0xD800) << 10) + (code - 0xDC00);
                pendingHigh_ = 0;
                Write(joined);
                return;
            }
            Settle();
        }
        if (IsHighSurrogate(code)) pendingHigh_ = code;
        else Write(IsLowSurrogate(code) ? kReplacement : code);
    }
    void Delimiter() { Octet(kDelimiter); }
    // The text, and the octets of the last character that an escape gave.
    std::string Finish(std::string& sLastBuilt) {
        Settle();
        sLastBuilt = lastBuilt_;
        return std::move(out_);
    }

private:
    void Settle() {
        if (pendingHigh_ == 0) return;
        pendingHigh_ = 0;
        Write(kReplacement);
    }
    void Write(uint32_t code) {
        lastStart_ = out_.size();
        AppendUtf8(out_, code);
        lastBuilt_.assign(out_, lastStart_, std::string::npos);
    }
    std::string out_;
    std::string lastBuilt_;
    size_t lastStart_ = 0;
    uint32_t pendingHigh_ = 0;
};

// The first "\fs" followed by a digit or a minus sign; npos without one.
size_t FindFontSize(const std::string& s) {
    for (size_t p = s.find("\\fs"); p != std::string::npos; p = s.find("\\fs", p + 1)) {
        if (p + 3 < s.size() && (rt::IsAsciiDigit(s[p + 3]) || s[p + 3] == '-')) return p;
    }
    return std::string::npos;
}

// The last "\par" that is a control word of its own (no letter follows).
size_t FindLastParagraphEnd(const std::string& s) {
    for (size_t p = s.rfind("\\par"); p != std::string::npos; p = p == 0 ? std::string::npos : s.rfind("\\par", p - 1)) {
        if (p + 4 >= s.size() || !rt::IsAsciiLetter(s[p + 4])) return p;
    }
    return std::string::npos;
}

}  // namespace

std::string rtf_text::ParagraphDocument(const std::string& sRtfText, int16_t iFontSizeInPoints) {
    const int16_t iHalfPoints = rt::ToInt16(2 * static_cast<int64_t>(iFontSizeInPoints));
    std::string out;
    out.reserve(sRtfText.size() + 140);
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033";
    out += "{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial Unicode MS;}}";
    out += "\\viewkind4\\uc1\\pard\\f0\\fs";
    out += std::to_string(iHalfPoints);
    out += ' ';
    out += sRtfText;
    out += "\\par}";
    return out;
}

void rtf_text::AppendUnicodeEscape(std::string& sOut, uint32_t lValue) {
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, lValue).ptr;
    sOut += "\\u";
    sOut.append(digits, end);
    sOut += '?';
}

std::string Utf8MarcRecordClass::TranslateMarc2RTF(std::string sIn, bool bIncludeRtfWrapper,
                                                    int16_t iFontSizeForRtfInPoints) {
    if (!m.RecordIsUtf8)
        return DisplayAsUtf8(sIn, [&](const std::string& s) {
            return TranslateMarc2RTF(s, bIncludeRtfWrapper, iFontSizeForRtfInPoints);
        });
    std::string out;
    out.reserve(sIn.size() + sIn.size() / 2 + 8);
    const size_t size = sIn.size();
    size_t lastStart = 0;
    size_t lastLength = 0;
    for (size_t p = 0; p < size;) {
        const unsigned lead = OctetAt(sIn, p);
        size_t k = 1;
        if (lead < 0x80) {
            if (lead == 0x1F) rtf_text::AppendUnicodeEscape(out, kDoubleDagger);
            else AppendRtfReserved(out, sIn[p]);
        } else {
            // A lead octet without its continuation octets, a stray
            // continuation octet or a lead octet beyond U+10FFFF is one octet
            // of its own value; it never takes the next character with it.
            k = lead <= 0xF4 ? display_text::CharacterStartingAt(sIn, p) : 0;
            uint32_t code = lead;
            if (k == 0) k = 1;
            else code = Decode(sIn, p, k);
            if (code > 0xFFFF) {
                code -= 0x10000;
                rtf_text::AppendUnicodeEscape(out, 0xD800 + (code >> 10));
                rtf_text::AppendUnicodeEscape(out, 0xDC00 + (code & 0x3FF));
            } else {
                rtf_text::AppendUnicodeEscape(out, code);
            }
        }
        lastStart = p;
        lastLength = k;
        p += k;
    }
    if (lastLength > 0) SharedChar().Utf8Char(sIn.substr(lastStart, lastLength));
    if (!bIncludeRtfWrapper) return out;
    return rtf_text::ParagraphDocument(out, iFontSizeForRtfInPoints);
}

std::string Utf8MarcRecordClass::TranslateRTF2Marc(std::string sIn) {
    std::string s = std::move(sIn);
    const size_t fontSize = FindFontSize(s);
    if (fontSize != std::string::npos) {
        s.erase(0, fontSize + 1);
        const size_t blank = s.find(' ');
        if (blank != std::string::npos) s = rt::Trim(std::string_view(s).substr(blank + 1));
    }
    const size_t paragraphEnd = FindLastParagraphEnd(s);
    if (paragraphEnd != std::string::npos) s.resize(paragraphEnd);
    if (!m.RecordIsUtf8) return s;

    const size_t size = s.size();
    DecodedText out(size);
    for (size_t i = 0; i < size;) {
        if (s[i] == '\\' && i + 1 < size && s[i + 1] == 'u') {
            size_t j = i + 2;
            const bool bNegative = j < size && s[j] == '-';
            if (bNegative) ++j;
            if (j < size && rt::IsAsciiDigit(s[j])) {
                // The escape runs to the first blank or "?" within 20 octets.
                const size_t windowEnd = std::min(size, i + 20);
                size_t t = i + 2;
                while (t < windowEnd && s[t] != ' ' && s[t] != '?') ++t;
                if (t == windowEnd) {
                    out.Octet('?');
                    ++i;
                    continue;
                }
                int64_t n = 0;
                for (size_t d = j; d < t && rt::IsAsciiDigit(s[d]); ++d) n = n * 10 + (s[d] - '0');
                if (bNegative) n = -n;
                if (n >= -32768 && n < 0) n += 65536;
                if (n < 0 || n > 65535) RaiseRuntimeError(ErrorNumber::InvalidProcedureCall);
                if (n == static_cast<int64_t>(kDoubleDagger)) out.Delimiter();
                else out.Character(static_cast<uint32_t>(n));
                i = t + 1;
                continue;
            }
        } else if (s[i] == '\\' && i + 3 < size && s[i + 1] == '\'' && rt::HexDigitValue(s[i + 2]) >= 0 &&
                   rt::HexDigitValue(s[i + 3]) >= 0) {
            const unsigned octet = static_cast<unsigned>(rt::HexDigitValue(s[i + 2]) * 16 + rt::HexDigitValue(s[i + 3]));
            const uint16_t windows = display_text::Windows1252CodePoint(octet);
            out.Character(windows != 0 ? windows : octet);
            i += 4;
            continue;
        }
        out.Octet(s[i]);
        ++i;
    }
    std::string sLastBuilt;
    std::string result = out.Finish(sLastBuilt);
    if (!sLastBuilt.empty()) SharedChar().Utf8Char(sLastBuilt);
    return result;
}
