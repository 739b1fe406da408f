#include "marc8/combining_mark_ranges.h"

#include <gtest/gtest.h>

#include <cstddef>

// The table as generated from Unicode 15.0's data: its size, its order, and samples of each
// category of mark and of the letters the Unicode 3.0 table took for marks.
TEST(CombiningMarkRanges, CountsAndOrder) {
    ASSERT_EQ(marc8::kCombiningMarkRangeCount, 310u);
    std::size_t codePoints = 0;
    for (std::size_t k = 0; k < marc8::kCombiningMarkRangeCount; ++k) {
        const marc8::MarkRange& r = marc8::kCombiningMarkRanges[k];
        ASSERT_LE(r.first, r.last) << k;
        if (k > 0) {
            ASSERT_GT(r.first, marc8::kCombiningMarkRanges[k - 1].last + 1) << k;
        }
        codePoints += r.last - r.first + 1;
    }
    EXPECT_EQ(codePoints, 2450u);
}

TEST(CombiningMarkRanges, Samples) {
    const struct {
        char32_t cp;
        bool bMark;
    } cases[] = {
        // Mn, Mc (U+0903, U+1D165) and Me (U+20DD, U+20E0); U+07B1 to U+0815 are letters.
        {0x0041, false},  {0x02FF, false}, {0x0300, true},  {0x036F, true},   {0x0370, false},
        {0x05B0, true},   {0x05BE, false}, {0x05C1, true},  {0x064B, true},   {0x0652, true},
        {0x07B1, false},  {0x0800, false}, {0x0815, false}, {0x0816, true},   {0x0903, true},
        {0x20DD, true},   {0x20E0, true},  {0x20E1, true},  {0xFB1E, true},   {0xFE20, true},
        {0xFE2F, true},   {0xFE30, false}, {0x1D165, true}, {0x1F600, false}, {0xE0100, true},
        {0xE01EF, true},  {0xE01F0, false}, {0x10FFFF, false}, {0x0000, false},
    };
    for (const auto& c : cases) EXPECT_EQ(marc8::IsCombiningMark(c.cp), c.bMark) << std::hex << static_cast<unsigned>(c.cp);
}
