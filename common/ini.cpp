#include "common/ini.h"

#include "common/runtime.h"
#include "platform/events.h"
#include "platform/profile.h"
#include "platform/text_file.h"

namespace INI {

std::string ReadIniValue(const std::string& sFileName, const std::string& sSection, const std::string& sKey,
                         const std::string& sDefault, int16_t iMaxLength) {
    // A buffer of iMaxLength + 1 blanks; the platform is told its size is iMaxLength.
    // A negative length is told as 0: as an unsigned size it would claim far more than the buffer.
    std::string buffer = rt::Space(static_cast<int32_t>(iMaxLength) + 1);
    const auto size = static_cast<uint32_t>(iMaxLength > 0 ? iMaxLength : 0);
    platform::GetPrivateProfileString(sSection, sKey, sDefault, buffer, size, sFileName);
    size_t zero = buffer.find('\0');
    std::string result = zero == std::string::npos ? buffer : buffer.substr(0, zero);
    platform::DoEvents();
    return result;
}

std::string ReadIniValueOrEmpty(const std::string& sFileName, const std::string& sSection, const std::string& sKey,
                                int16_t iMaxLength) {
    std::string result = ReadIniValue(sFileName, sSection, sKey, kMissingSentinel, iMaxLength);
    return result == kMissingSentinel ? std::string() : result;
}

void WriteIniValue(const std::string& sFileName, const std::string& sSection, const std::string& sKey,
                   const std::string& sValue, int16_t iTraceFile) {
    int16_t iResult = platform::WritePrivateProfileString(sSection, sKey, sValue, sFileName) ? 1 : 0;
    if (iTraceFile > 0) {
        platform::PrintLine(iTraceFile, "File: " + sFileName);
        platform::PrintLine(iTraceFile, "   [" + sSection + "]");
        platform::PrintLine(iTraceFile, "   " + sKey + "=" + sValue);
        platform::PrintLine(iTraceFile, "   Returns: " + std::to_string(iResult));
    }
}

bool IsIniKeyLine(const std::string& sLine, int16_t& iEqualsPosition) {
    static const std::string kKeyLineAlphabet = "_|ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    if (sLine.empty()) {
        iEqualsPosition = 0;
        return false;
    }
    if (kKeyLineAlphabet.find(rt::UCaseChar(sLine[0])) == std::string::npos) return false;
    size_t eq = sLine.find('=');
    // A position past 32767 does not fit the 16-bit result: overflow, error 6.
    iEqualsPosition = eq == std::string::npos ? 0 : rt::ToInt16(static_cast<int64_t>(eq) + 1);
    return iEqualsPosition > 0;
}

}  // namespace INI
