#include "common/utli_misc_non_utf8.h"

#include "common/raised_error.h"
#include "common/runtime.h"

namespace UtliMiscNonUtf8 {

void SplitOffFirst(std::string& sText, std::string& sFirst, const std::string& sSeparator) {
    // An empty separator would be "found" at the start for ever; it splits nothing.
    size_t at = sSeparator.empty() ? std::string::npos : sText.find(sSeparator);
    if (at == std::string::npos) {
        sFirst = sText;
        sText.clear();
        return;
    }
    std::string rest = sText.substr(at + sSeparator.size());
    sFirst = sText.substr(0, at);
    sText = std::move(rest);
}

std::string HexToText(const std::string& sHex) {
    std::string out;
    out.reserve(sHex.size() / 2 + 1);
    for (size_t i = 0; i < sHex.size(); i += 2) {
        // A pair (or a last single digit) that is not wholly hex digits is the octet 0:
        // "1G" and " F" are no hex numbers, whatever number their start reads as.
        const bool single = i + 1 == sHex.size();
        const int high = rt::HexDigitValue(sHex[i]);
        const int low = single ? 0 : rt::HexDigitValue(sHex[i + 1]);
        const int v = (high < 0 || low < 0) ? 0 : (single ? high : high * 16 + low);
        out += static_cast<char>(static_cast<unsigned char>(v));
    }
    return out;
}

std::string TextToHex(const std::string& sText) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(sText.size() * 2);
    for (unsigned char c : sText) {
        out += digits[c >> 4];
        out += digits[c & 0xF];
    }
    return out;
}

void StringToBytes(const std::string& sText, int16_t iLength, std::span<unsigned char> bytes) {
    if (sText.size() > 32767) RaiseRuntimeError(ErrorNumber::Overflow);
    for (size_t i = 0; i < sText.size(); ++i) {
        if (i >= bytes.size()) RaiseRuntimeError(ErrorNumber::SubscriptOutOfRange);
        bytes[i] = static_cast<unsigned char>(sText[i]);
    }
    for (int32_t i = static_cast<int32_t>(sText.size()); i < iLength; ++i) {
        if (static_cast<size_t>(i) >= bytes.size()) RaiseRuntimeError(ErrorNumber::SubscriptOutOfRange);
        bytes[static_cast<size_t>(i)] = 0;
    }
}

std::string NormalizeOclcNumber(const std::string& sText, bool bPadToEight, bool bLetterPrefix, bool bOclcPrefix) {
    std::string work = sText;
    size_t paren = sText.find(')');
    if (paren != std::string::npos) {
        std::string before = rt::UCase(sText.substr(0, paren));
        if (!before.empty() && before.find("OCLC") == std::string::npos && before.find("OCOLC") == std::string::npos) {
            return sText;
        }
        work = sText.substr(paren + 1);
    }
    if (work.empty()) return sText;
    std::string digits;
    for (char c : work)
        if (rt::IsAsciiDigit(c)) digits += c;
    if (digits.empty()) return sText;
    size_t nonzero = digits.find_first_not_of('0');
    if (nonzero == std::string::npos) return sText;
    digits = digits.substr(nonzero);
    // Compared by digit count: the value may be larger than any integer type.
    bool upTo8 = digits.size() <= 8;
    bool nine = digits.size() == 9;
    std::string result;
    if (bLetterPrefix) {
        if (upTo8) {
            result = "ocm" + (bPadToEight ? std::string(8 - digits.size(), '0') + digits : digits);
        } else if (nine) {
            result = "ocn" + digits;
        } else {
            result = "on" + digits;
        }
    } else {
        result = (upTo8 && bPadToEight) ? std::string(8 - digits.size(), '0') + digits : digits;
    }
    if (bOclcPrefix) result = "(OCoLC)" + result;
    return result;
}

}  // namespace UtliMiscNonUtf8
