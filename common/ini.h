#pragma once
// Reading and writing one key of a settings file, with the length limit, the
// empty-when-missing form and a yield to the event loop after every read.

#include <cstdint>
#include <string>

namespace INI {

// The sentinel handed over as the default by ReadIniValueOrEmpty.
inline constexpr const char* kMissingSentinel = "NO9999NE";

// The key's value, or sDefault when the file, section or key is missing, cut to
// iMaxLength - 1 characters. Yields once.
std::string ReadIniValue(const std::string& sFileName, const std::string& sSection, const std::string& sKey,
                         const std::string& sDefault, int16_t iMaxLength);
// The same, with "" for a missing file, section or key.
std::string ReadIniValueOrEmpty(const std::string& sFileName, const std::string& sSection, const std::string& sKey,
                                int16_t iMaxLength);
// Writes one key; with a trace file number above 0 prints four trace lines to that open file.
void WriteIniValue(const std::string& sFileName, const std::string& sSection, const std::string& sKey,
                   const std::string& sValue, int16_t iTraceFile = 0);
// True for a line that begins with a letter, digit, "_" or "|" and holds "=";
// iEqualsPosition receives the 1-based position of the first "=" (0 for none;
// a position past 32767 raises error 6), and is left alone when the first
// character does not qualify.
bool IsIniKeyLine(const std::string& sLine, int16_t& iEqualsPosition);

}  // namespace INI
