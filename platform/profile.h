#pragma once
// Private-profile settings files with the Windows rules: [sections] of
// key=value lines; sections and keys matched without regard to ASCII case;
// the first of duplicate sections or keys wins; blanks around keys and values
// and one pair of surrounding quotes of a value are removed; a missing file,
// section or key gives the default. A bare file name lives in the settings
// folder (see paths.h).

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Copies the value (or the default, without its trailing blanks) into
// buffer[0 .. size-1], cut to size-1 characters and ended by a zero character,
// and returns the number of characters copied. With size 0 nothing is written.
// The buffer must hold at least size octets.
uint32_t GetPrivateProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultText, std::string& buffer, uint32_t size,
                                 const std::string& fileName);

// Copies the lines of a section as "key=value" texts, each ended by a zero
// character, with one more zero at the end; a section too large for the buffer
// is cut at a whole line and the result is size-2. Returns the count of
// characters copied, not counting the final zero.
uint32_t GetPrivateProfileSection(const std::string& section, std::string& buffer, uint32_t size,
                                  const std::string& fileName);

// The same list with every line of the section as the file writes it: no
// blanks removed around "=", no quotes removed, comment lines included; only
// empty lines are left out.
uint32_t GetPrivateProfileSectionLines(const std::string& section, std::string& buffer, uint32_t size,
                                       const std::string& fileName);

// Sets a key (creating the file, the section or the key as needed); a missing
// value deletes the key and a missing key deletes the section. The rest of the
// file is kept as it was. Returns false when the file cannot be written.
bool WritePrivateProfileString(const std::string& section, const std::optional<std::string>& key,
                               const std::optional<std::string>& value, const std::string& fileName);

// Convenience forms that return the text itself.
std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultText, const std::string& fileName);
std::string ReadProfileSection(const std::string& section, const std::string& fileName);

// The current user's registry values, kept in the settings file "registry.ini"
// of the settings folder with one section per key path.
std::optional<std::string> ReadRegistryValue(const std::string& keyPath, const std::string& valueName);
bool WriteRegistryValue(const std::string& keyPath, const std::string& valueName, const std::string& value);

// The predefined root keys of the registry, HKEY_CLASSES_ROOT to HKEY_DYN_DATA.
constexpr uint32_t kHkeyClassesRoot = 0x80000000u;
constexpr uint32_t kHkeyCurrentUser = 0x80000001u;
constexpr uint32_t kHkeyDynData = 0x80000006u;
// Value types as the registry reports them: none, REG_SZ, REG_DWORD.
constexpr uint32_t kRegNone = 0;
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegDword = 4;
// A registry value: its type and its data (the text of a REG_SZ, the number of
// a REG_DWORD).
struct RegistryData {
    uint32_t Type = kRegNone;
    std::string Text;
    uint32_t Number = 0;
};
// A value under a root key. Only HKEY_CURRENT_USER holds values (those of
// "registry.ini"); the other predefined roots and any other number give none.
// A stored "dword:" followed by eight hexadecimal digits is a REG_DWORD, any
// other text (the empty one too) a REG_SZ. A missing key or value gives none.
std::optional<RegistryData> QueryRegistryValue(uint32_t hRootKey, const std::string& keyPath,
                                               const std::string& valueName);

}  // namespace platform
