#include "app/password.h"

#include <cstdint>

#include "common/runtime.h"
#include "common/utli_misc_non_utf8.h"

namespace Password {

std::string DescramblePassword(const std::string& sStored) {
    std::string sRest = rt::Trim(sStored);
    if (sRest.empty() || !rt::IsAsciiDigit(sRest.front()) || !rt::IsAsciiDigit(sRest.back()) ||
        rt::InStr(sRest, " ") == 0)
        return sStored;

    std::string sDecoded;
    int16_t iLength = 0;
    int32_t iToken = 0;
    while (!sRest.empty()) {
        std::string sToken;
        UtliMiscNonUtf8::SplitOffFirst(sRest, sToken, " ");
        ++iToken;
        // Decimal only: the stored numbers are never hexadecimal or octal.
        double dValue = rt::ValDecimal(sToken);
        if (iToken == 5) {
            iLength = rt::CInt(dValue - 70);
        } else if (iToken % 2 == 1) {
            sDecoded += rt::Chr(rt::CInt(dValue - 5));
        } else {
            sDecoded += rt::Chr(rt::CInt(dValue + 5));
        }
    }
    if (iLength >= 10) return sDecoded;
    return rt::Right(sDecoded, iLength);
}

}  // namespace Password
