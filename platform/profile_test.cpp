#include "platform/profile.h"

#include <gtest/gtest.h>

#include "common/test_support.h"
#include "platform/paths.h"

namespace {

using testsupport::ReadFile;
using testsupport::TempSettingsFolder;
using testsupport::WriteFile;

std::string Read(const std::string& file, const std::string& section, const std::string& key, uint32_t size = 100) {
    std::string buffer(size + 1, ' ');
    uint32_t n = platform::GetPrivateProfileString(section, key, "DEFAULT", buffer, size, file);
    return buffer.substr(0, n);
}

TEST(Profile, ReadsWithTheWindowsRules) {
    TempSettingsFolder folder;
    WriteFile(folder.File("rules.ini"),
              "\xEF\xBB\xBF[First]\r\n"
              "  Key  =  spaced value  \r\n"
              "Quoted=\"in quotes\"\r\n"
              "Single='x'\r\n"
              "Half=\"open\r\n"
              "Dup=first\r\n"
              "dup=second\r\n"
              "no equals sign here\r\n"
              "Eq=a=b\r\n"
              "[first]\n"
              "Other=from the second section\n"
              "[ Padded ]   trailing\n"
              "K=v\n"
              "[Last]\n"
              "End=no newline at end");
    struct Case { const char* section; const char* key; const char* expected; };
    const Case cases[] = {
        {"First", "Key", "spaced value"},  {"FIRST", "key", "spaced value"}, {"First", "Quoted", "in quotes"},
        {"First", "Single", "x"},          {"First", "Half", "\"open"},      {"First", "Dup", "first"},
        {"First", "Eq", "a=b"},            {"First", "Other", "DEFAULT"},    {"Padded", "K", "v"},
        {"Last", "End", "no newline at end"}, {"First", "no equals sign here", "DEFAULT"},
        {"Missing", "Key", "DEFAULT"},
    };
    for (const auto& c : cases) EXPECT_EQ(Read("rules.ini", c.section, c.key), c.expected) << c.section << "/" << c.key;
    EXPECT_EQ(Read("rules.ini", "First", "Key", 6), "space");  // cut to size - 1
    EXPECT_EQ(Read("RULES.INI", "First", "Key"), "spaced value");  // file name in another case
}

TEST(Profile, HostileFilesGiveTheDefault) {
    TempSettingsFolder folder;
    static const char kBinary[] = "[S]\nK=\x01\x02\xFF\0tail\n";
    std::string binary(kBinary, sizeof kBinary - 1);
    WriteFile(folder.File("binary.ini"), binary);
    EXPECT_EQ(Read("binary.ini", "S", "K"), std::string("\x01\x02\xFF\0tail", 8).substr(0, 8));
    WriteFile(folder.File("long.ini"), "[S]\nK=" + std::string(1 << 20, 'x') + "\nL=short\n");
    EXPECT_EQ(Read("long.ini", "S", "L"), "short");
    EXPECT_EQ(Read("long.ini", "S", "K", 10).size(), 9u);
    WriteFile(folder.File("garbage.ini"), std::string(5000, '\0') + "][[==\n\r\r\n=\n[");
    EXPECT_EQ(Read("garbage.ini", "S", "K"), "DEFAULT");
    std::filesystem::create_directory(folder.File("folder.ini"));
    EXPECT_EQ(Read("folder.ini", "S", "K"), "DEFAULT");
    EXPECT_EQ(Read("missing.ini", "S", "K"), "DEFAULT");
    EXPECT_EQ(Read(folder.File("unreadable/x.ini"), "S", "K"), "DEFAULT");
}

TEST(Profile, SizeZeroWritesNothing) {
    TempSettingsFolder folder;
    std::string buffer = "  ";
    EXPECT_EQ(platform::GetPrivateProfileString("S", "K", "default", buffer, 0, "none.ini"), 0u);
    EXPECT_EQ(buffer, "  ");
}

TEST(Profile, SectionsAreZeroSeparatedLines) {
    TempSettingsFolder folder;
    WriteFile(folder.File("order.cfg"), "[FieldOrder]\r\n001=1\r\n; a note\r\n\r\n 245 = x \r\n[Next]\r\nz=1\r\n");
    EXPECT_EQ(platform::ReadProfileSection("fieldorder", "order.cfg"), std::string("001=1\0; a note\0" "245=x\0", 21));
    EXPECT_EQ(platform::ReadProfileSection("Absent", "order.cfg"), "");
    std::string buffer(12, 'x');
    // Too small: cut at a whole line, and the count is size - 2.
    EXPECT_EQ(platform::GetPrivateProfileSection("FieldOrder", buffer, 12, "order.cfg"), 10u);
    EXPECT_EQ(buffer.substr(0, 7), std::string("001=1\0\0", 7));
}

TEST(Profile, WritesKeepTheRestOfTheFile) {
    TempSettingsFolder folder;
    const std::string original = "; comment\r\n[General]\r\nVersion=1\r\n\r\n[Login]\r\nDSN=old\r\n";
    WriteFile(folder.File("w.ini"), original);
    EXPECT_TRUE(platform::WritePrivateProfileString("login", "dsn", "new", "w.ini"));
    EXPECT_TRUE(platform::WritePrivateProfileString("General", "Debug", "TRUE", "w.ini"));
    EXPECT_TRUE(platform::WritePrivateProfileString("Tables", "Prefix", "main.", "w.ini"));
    EXPECT_EQ(ReadFile(folder.File("w.ini")),
              "; comment\r\n[General]\r\nVersion=1\r\nDebug=TRUE\r\n\r\n[Login]\r\ndsn=new\r\n"
              "[Tables]\r\nPrefix=main.\r\n");
    EXPECT_TRUE(platform::WritePrivateProfileString("General", "Version", std::nullopt, "w.ini"));
    EXPECT_TRUE(platform::WritePrivateProfileString("Login", std::nullopt, std::nullopt, "w.ini"));
    EXPECT_EQ(ReadFile(folder.File("w.ini")), "; comment\r\n[General]\r\nDebug=TRUE\r\n\r\n[Tables]\r\nPrefix=main.\r\n");

    // LF files stay LF; a file without a final newline gets one before the new line.
    WriteFile(folder.File("lf.ini"), "[A]\nk=1");
    EXPECT_TRUE(platform::WritePrivateProfileString("A", "j", "2", "lf.ini"));
    EXPECT_EQ(ReadFile(folder.File("lf.ini")), "[A]\nk=1\nj=2\n");

    std::filesystem::create_directory(folder.File("dir.ini"));
    EXPECT_FALSE(platform::WritePrivateProfileString("A", "k", "v", "dir.ini"));
}

TEST(Profile, RegistryValuesLiveInASettingsFile) {
    TempSettingsFolder folder;
    const std::string key = "Software\\VB and VBA Program Settings\\App\\Preferences";
    EXPECT_FALSE(platform::ReadRegistryValue(key, "Flag").has_value());
    EXPECT_TRUE(platform::WriteRegistryValue(key, "Flag", "True"));
    EXPECT_EQ(platform::ReadRegistryValue(key, "flag").value_or(""), "True");
}

TEST(Paths, WindowsPathsAndTheSettingsFolder) {
    TempSettingsFolder folder;
    std::string tmp = platform::TempFolder();
    EXPECT_EQ(platform::MapWindowsPath("c:\\temp\\VrDebug.txt"), tmp + "/VrDebug.txt");
    EXPECT_EQ(platform::MapWindowsPath("C:\\Data\\x.txt"), tmp + "/Data/x.txt");
    EXPECT_EQ(platform::MapWindowsPath("dir\\x.txt"), "dir/x.txt");
    EXPECT_EQ(platform::ResolveSettingsPath("VGERREAD.INI"), folder.File("VGERREAD.INI"));
    WriteFile(folder.File("vgerread.ini"), "");
    EXPECT_EQ(platform::ResolveSettingsPath("VGERREAD.INI"), folder.File("vgerread.ini"));
    WriteFile(folder.File("VGERREAD.INI"), "");
    EXPECT_EQ(platform::ResolveSettingsPath("VGERREAD.INI"), folder.File("VGERREAD.INI"));
    EXPECT_EQ(platform::ResolveSettingsPath("/etc/x.ini"), "/etc/x.ini");
}

}  // namespace
