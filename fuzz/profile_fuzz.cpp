// Feeds arbitrary octets to the settings-file reader and writer as a file's contents.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/ini.h"
#include "common/test_support.h"
#include "platform/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static testsupport::TempSettingsFolder folder;
    std::string contents(reinterpret_cast<const char*>(data), size);
    testsupport::WriteFile(folder.File("fuzz.ini"), contents);
    // Section and key names come from the input too, so matches happen.
    std::string section = contents.substr(0, contents.size() % 7);
    std::string key = contents.substr(contents.size() / 2, 3);
    INI::ReadIniValue("fuzz.ini", section, key, "default", 64);
    INI::ReadIniValueOrEmpty("fuzz.ini", "S", "K", 30);
    platform::ReadProfileSection(section, "fuzz.ini");
    std::string buffer(8, ' ');
    platform::GetPrivateProfileSection("S", buffer, 8, "fuzz.ini");
    platform::WritePrivateProfileString(section, key, "value", "fuzz.ini");
    platform::WritePrivateProfileString("S", std::nullopt, std::nullopt, "fuzz.ini");
    int16_t pos = 0;
    INI::IsIniKeyLine(contents, pos);
    return 0;
}
