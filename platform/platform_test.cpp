#include <gtest/gtest.h>

#include "common/raised_error.h"
#include "common/test_support.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/text_file.h"

namespace {

TEST(Platform, DoEventsCallsTheRegisteredPump) {
    platform::DoEvents();  // no pump: nothing happens
    int calls = 0;
    {
        platform::ScopedEventPump pump([&] { ++calls; });
        platform::DoEvents();
        platform::DoEvents();
    }
    platform::DoEvents();
    EXPECT_EQ(calls, 2);
}

TEST(Platform, TestClockMovesOnlyWhenTold) {
    platform::ManualClock clock(rt::DateTime::FromParts(2026, 12, 10, 12, 0, 0));
    EXPECT_EQ(rt::FormatDate(platform::Now(), "yyyymmdd hh:nn:ss"), "20261210 12:00:00");
    uint32_t t0 = platform::TickCount();
    clock.Advance(2.5);
    EXPECT_EQ(platform::TickCount() - t0, 2500u);
    EXPECT_EQ(platform::Now().Second(), 3);  // 2.5 s later, shown to the nearest second
}

TEST(Platform, SequentialFiles) {
    testsupport::TempSettingsFolder folder;
    std::string path = folder.File("seq.txt");
    int16_t n = platform::FreeFile();
    platform::OpenFile(n, path, platform::FileMode::Output);
    platform::PrintLine(n, "one");
    platform::PrintLine(n, "");
    platform::CloseFile(n);
    EXPECT_TRUE(platform::AppendLine(path, "two"));
    EXPECT_EQ(testsupport::ReadFile(path), "one\r\n\r\ntwo\r\n");

    platform::OpenFile(n, path, platform::FileMode::Input);
    std::vector<std::string> lines;
    while (!platform::Eof(n)) lines.push_back(platform::LineInput(n));
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "", "two"}));
    auto errorOf = [](auto f) {
        try {
            f();
        } catch (const RaisedError& e) {
            return e.Number();
        }
        return 0;
    };
    EXPECT_EQ(errorOf([&] { platform::LineInput(n); }), 62);
    EXPECT_EQ(errorOf([&] { platform::PrintLine(n, "x"); }), 54);
    EXPECT_EQ(errorOf([&] { platform::OpenFile(n, path, platform::FileMode::Input); }), 55);
    platform::CloseFile(n);
    EXPECT_EQ(errorOf([&] { platform::OpenFile(n, folder.File("none.txt"), platform::FileMode::Input); }), 53);
    EXPECT_EQ(errorOf([&] { platform::OpenFile(n, folder.File("no/such/dir.txt"), platform::FileMode::Output); }), 75);
    EXPECT_FALSE(platform::AppendLine(folder.File("no/such/dir.txt"), "x"));

    // Blocks of octets: a read that would pass the end fails with what remained.
    platform::OpenFile(n, path, platform::FileMode::Input);
    std::string block = "<";
    EXPECT_TRUE(platform::ReadChars(n, 4, block));
    EXPECT_FALSE(platform::ReadChars(n, 20, block));
    EXPECT_EQ(block, "<one\r\n\r\ntwo\r\n");
    EXPECT_FALSE(platform::ReadChars(n, 1, block));
    EXPECT_TRUE(platform::ReadChars(n, 0, block));
    platform::CloseFile(n);
    platform::OpenFile(n, path, platform::FileMode::Append);
    EXPECT_EQ(errorOf([&] { platform::ReadChars(n, 1, block); }), 54);
    platform::CloseFile(n);
    EXPECT_EQ(errorOf([&] { platform::ReadChars(n, 1, block); }), 52);
}

}  // namespace
