#include "app/command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, ChoosesTheSettingsFile) {
    const std::string def = "ClearedForExit.INI";
    struct Case {
        std::string arguments;
        std::string file;
    };
    const Case cases[] = {
        {"", def},
        {"-x something", def},
        {"-I other.ini", def},  // the switch is exact-case
        {"-i other.ini", "other.ini"},
        {"-iother.ini", "other.ini"},
        {"  -i   other.ini  ", "other.ini"},
        {"/q -i other.ini", "other.ini"},
        {"-i \"C:\\Desk Settings\\exit.ini\"", "C:\\Desk Settings\\exit.ini"},
        {"-i \"my file.ini\" -x more", "my file.ini"},  // text after the closing quote is dropped
        {"-i \"unclosed name.ini", "unclosed name.ini"},
        {"-i front-desk.ini", "front"},  // the name ends before its first dash
        {"-i \"front-desk.ini\"", "front"},
        {"-i other.ini -x", "other.ini"},
        {"-i", ""},  // an empty name replaces the default
        {"-i \"\"", ""},
        {"x-i other.ini", def},  // a blank must stand before the switch
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        EXPECT_EQ(TrestleCommandLine::SettingsFileName(c.arguments, def), c.file);
    }
}

TEST(CommandLine, ArgumentsBecomeOneText) {
    const char* none[] = {"prog"};
    EXPECT_EQ(TrestleCommandLine::ArgumentsText(1, none), "");
    const char* some[] = {"prog", "-i", "my file.ini", "-x"};
    EXPECT_EQ(TrestleCommandLine::ArgumentsText(4, some), "-i \"my file.ini\" -x");
    EXPECT_EQ(TrestleCommandLine::SettingsFileName(TrestleCommandLine::ArgumentsText(4, some), "d"), "my file.ini");
}

}  // namespace
