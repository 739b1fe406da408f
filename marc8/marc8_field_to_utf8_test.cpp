#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "marc/record/marc_record.h"

namespace {

TEST(TranslateUtf82MarcShortCodeToLong, MapsEachTableCode) {
    Utf8MarcRecordClass record;
    const std::pair<std::string, std::string> cases[] = {
        {"1", "(B"}, {"2", "s"}, {"3", "b"}, {"4", "p"}, {"5", "(2"}, {"6", "(N"},
        {"7", "(3"}, {"8", "(S"}, {"9", "$1"}, {":", ")Q"}, {";", ")4"}, {"X", "X"}, {"", ""}, {"11", "11"},
    };
    for (const auto& [sShort, sLong] : cases) EXPECT_EQ(record.TranslateUtf82MarcShortCodeToLong(sShort), sLong) << sShort;
}

}  // namespace
