#include "common/ini.h"

#include <gtest/gtest.h>

#include "common/raised_error.h"
#include "common/test_support.h"
#include "platform/events.h"
#include "platform/text_file.h"

namespace {

using testsupport::TempSettingsFolder;
using testsupport::WriteFile;

TEST(Ini, ReadsCutDefaultAndSentinel) {
    TempSettingsFolder folder;
    WriteFile(folder.File("App.INI"),
              "[Texts]\r\nLong=abcdefghij\r\nEmpty=\r\nSentinel=NO9999NE\r\n[Other]\r\nKey=x\r\n");
    struct Case { const char* section; const char* key; const char* deflt; int16_t max; const char* read; const char* orEmpty; };
    const Case cases[] = {
        {"Texts", "Long", "d", 30, "abcdefghij", "abcdefghij"},
        {"texts", "LONG", "d", 5, "abcd", "abcd"},            // cut to max - 1, names in any case
        {"Texts", "Long", "d", 1, "", ""},                    // max 1 gives the empty text
        {"Texts", "Empty", "d", 30, "", ""},                  // present but empty: not the default
        {"Texts", "Sentinel", "d", 30, "NO9999NE", ""},
        {"Texts", "Missing", "dflt", 30, "dflt", ""},
        {"Nowhere", "Key", "dflt", 30, "dflt", ""},
        {"Texts", "Missing", "dflt", 8, "dflt", "NO9999N"},   // the sentinel itself is cut
        {"Texts", "Missing", "dflt  ", 30, "dflt", ""},       // the default loses its trailing blanks
        {"Texts", "Long", "d", -1, "", ""},                   // a negative length reads nothing
    };
    for (const auto& c : cases) {
        EXPECT_EQ(INI::ReadIniValue("App.INI", c.section, c.key, c.deflt, c.max), c.read) << c.key << " " << c.max;
        EXPECT_EQ(INI::ReadIniValueOrEmpty("App.INI", c.section, c.key, c.max), c.orEmpty) << c.key << " " << c.max;
    }
    EXPECT_EQ(INI::ReadIniValue("Missing.INI", "Texts", "Long", "dflt", 30), "dflt");
    EXPECT_EQ(INI::ReadIniValueOrEmpty("Missing.INI", "Texts", "Long", 30), "");
    try {
        INI::ReadIniValue("App.INI", "Texts", "Long", "d", -2);  // a buffer of -1 blanks
        ADD_FAILURE() << "no error";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), 5);
    }
}

TEST(Ini, EveryReadYieldsOnceAndTheWriteNever) {
    TempSettingsFolder folder;
    int yields = 0;
    platform::ScopedEventPump pump([&] { ++yields; });
    INI::ReadIniValue("App.INI", "A", "B", "", 10);
    INI::ReadIniValueOrEmpty("App.INI", "A", "B", 10);
    EXPECT_EQ(yields, 2);
    INI::WriteIniValue("App.INI", "A", "B", "v");
    EXPECT_EQ(yields, 2);
}

TEST(Ini, WriteCreatesAndReplacesAndTraces) {
    TempSettingsFolder folder;
    INI::WriteIniValue("New.INI", "General", "Version", "1.0.0");
    INI::WriteIniValue("New.INI", "General", "Version", "2.0.0");
    EXPECT_EQ(INI::ReadIniValue("New.INI", "General", "Version", "", 30), "2.0.0");

    std::string trace = folder.File("trace.txt");
    int16_t n = platform::FreeFile();
    platform::OpenFile(n, trace, platform::FileMode::Output);
    INI::WriteIniValue("New.INI", "Login", "DSN", "VGER", n);
    platform::CloseFile(n);
    EXPECT_EQ(testsupport::ReadFile(trace),
              "File: New.INI\r\n   [Login]\r\n   DSN=VGER\r\n   Returns: 1\r\n");

    // A file that cannot be written raises nothing; the trace says 0.
    std::filesystem::create_directory(folder.File("Dir.INI"));
    n = platform::FreeFile();
    platform::OpenFile(n, trace, platform::FileMode::Output);
    EXPECT_NO_THROW(INI::WriteIniValue("Dir.INI", "A", "B", "C", n));
    platform::CloseFile(n);
    EXPECT_NE(testsupport::ReadFile(trace).find("Returns: 0"), std::string::npos);
}

TEST(Ini, KeyLines) {
    struct Case { const char* line; bool expected; int16_t position; };  // position 99: left as it was
    const Case cases[] = {
        {"ab=c", true, 3}, {"=abc", false, 99}, {"ab cd", false, 0}, {"", false, 0},
        {"ab=c", true, 3}, {"x=1=2", true, 2}, {"_k=1", true, 3}, {"|k=1", true, 3},
        {"9=1", true, 2}, {";comment=1", false, 99}, {" key=1", false, 99}, {"[Sec]", false, 99},
    };
    for (const auto& c : cases) {
        int16_t pos = 99;
        EXPECT_EQ(INI::IsIniKeyLine(c.line, pos), c.expected) << c.line;
        EXPECT_EQ(pos, c.position) << c.line;
    }
    int16_t pos = 99;
    EXPECT_TRUE(INI::IsIniKeyLine("abc=1", pos));
    EXPECT_TRUE(INI::IsIniKeyLine("Abc=1", pos));  // lower case counts as its upper-case form

    // The last position a 16-bit number holds, and one past it: overflow, not "no =".
    EXPECT_TRUE(INI::IsIniKeyLine(std::string(32766, 'k') + "=v", pos));
    EXPECT_EQ(pos, 32767);
    try {
        INI::IsIniKeyLine(std::string(32767, 'k') + "=v", pos);
        ADD_FAILURE() << "no error";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), 6);
    }
}

}  // namespace
