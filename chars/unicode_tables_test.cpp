// The Unicode 3.0 tables against the counts known for them, and their shape.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "chars/test_octets.h"
#include "chars/unicode_tables.h"
#include "chars/utf8_char.h"

namespace {

#include "chars/decomposition_tags_test.inc"

using test_octets::U;

TEST(UnicodeTables, CategoryCountsOverTheBasicPlane) {
    const std::map<std::string, int> expected = {
        {"Lo", 43322}, {"Co", 6400}, {"", 5149},  {"So", 3044}, {"ZZ", 2172}, {"Cs", 2048},
        {"Mn", 821},   {"Ll", 779},  {"Lu", 638}, {"Sm", 273},  {"Nd", 189},  {"Po", 177},
        {"Mc", 147},   {"Cc", 65},   {"No", 63},  {"Sk", 49},   {"Lm", 28},   {"Lt", 27},
        {"Sc", 24},    {"Cf", 24},   {"Ps", 21},  {"Pe", 20},   {"Nl", 14},   {"Pd", 11},
        {"Me", 10},    {"Pi", 6},    {"Zs", 5},   {"Pc", 4},    {"Pf", 4},    {"Zl", 1},
        {"Zp", 1},
    };
    std::map<std::string, int> counts;
    Utf8CharClass c;
    for (uint32_t cp = 0; cp <= 0xFFFF; ++cp) {
        c.Utf8Char(U(cp));
        ++counts[c.Utf8CharCategory()];
    }
    EXPECT_EQ(counts, expected);
}

TEST(UnicodeTables, CompatibilityDecompositionsByTag) {
    const std::map<std::string, int> expected = {
        {"compat", 660}, {"final", 240},  {"isolated", 237}, {"circle", 197},
        {"square", 193}, {"initial", 171}, {"narrow", 122},  {"wide", 102},
        {"medial", 82},  {"super", 48},   {"font", 37},      {"small", 26},
        {"vertical", 21}, {"fraction", 16}, {"sub", 15},      {"noBreak", 5},
    };
    std::map<std::string, int> counts;
    Utf8CharClass c;
    for (const TaggedCharacter& t : kTaggedCharacters) {
        ++counts[kDecompositionTags[t.Tag]];
        c.Utf8Char(U(t.CodePoint));
        EXPECT_EQ(c.Utf8CharCategory(), "ZZ") << std::hex << t.CodePoint;
    }
    EXPECT_EQ(counts, expected);
    EXPECT_EQ(std::size(kTaggedCharacters), 2172u);
}

TEST(UnicodeTables, CategorySpansAreOrderedAndStayInTheirLists) {
    using namespace unicode30;
    ASSERT_EQ(kCategoryLists[0].FirstValue, 0u);
    ASSERT_EQ(kCategoryLists[0].FirstSpan, 0u);
    ASSERT_EQ(kCategoryLists[kCategoryListCount].FirstSpan, kCategorySpanCount);
    for (size_t n = 0; n < kCategoryListCount; ++n) {
        const CategoryList& list = kCategoryLists[n];
        const CategoryList& next = kCategoryLists[n + 1];
        EXPECT_LT(list.FirstValue, next.FirstValue);
        EXPECT_LE(list.FirstSpan, next.FirstSpan);
        for (size_t i = list.FirstSpan; i < next.FirstSpan; ++i) {
            const CategorySpan& s = kCategorySpans[i];
            EXPECT_LE(s.First, s.Last) << i;
            EXPECT_GE(s.First, list.FirstValue) << i;
            EXPECT_LT(s.Last, next.FirstValue) << i;
            EXPECT_LT(s.Code, kCategoryCodeCount) << i;
            if (i > 0) {
                EXPECT_LT(kCategorySpans[i - 1].Last, s.First) << i;
            }
        }
    }
    // List 11 holds the spans from U+FF01 to the last, U+FFF9..U+FFFB "Cf".
    const CategorySpan& last = kCategorySpans[kCategorySpanCount - 1];
    EXPECT_EQ(last.First, 0xEFBFB9u);
    EXPECT_EQ(last.Last, 0xEFBFBBu);
    EXPECT_STREQ(kCategoryCodes[last.Code], "Cf");
}

TEST(UnicodeTables, CaseTablesHoldSingleCharactersByUniqueKey) {
    using namespace unicode30;
    EXPECT_EQ(kLowerCaseCount, 696u);
    EXPECT_EQ(kUpperCaseCount, 706u);
    using Table = std::pair<const CaseEntry*, size_t>;
    for (auto [table, count] : {Table{kLowerCase, kLowerCaseCount}, Table{kUpperCase, kUpperCaseCount}}) {
        for (size_t i = 0; i < count; ++i) {
            if (i > 0) {
                EXPECT_LT(table[i - 1].Key, table[i].Key) << i;
            }
            // The result is one character of one to three octets.
            Utf8CharClass c;
            std::string result = table[i].Octets;
            ASSERT_FALSE(result.empty());
            c.Utf8Char(result);
            EXPECT_EQ(c.Utf8Char(), result) << i;
            EXPECT_LE(result.size(), 3u);
        }
    }
    EXPECT_EQ(kLowerCase[0].Key, 0x41u);
    EXPECT_EQ(kLowerCase[kLowerCaseCount - 1].Key, 0xEFBCBAu);  // U+FF3A
    EXPECT_EQ(kUpperCase[0].Key, 0x61u);
    EXPECT_EQ(kUpperCase[kUpperCaseCount - 1].Key, 0xEFBD9Au);  // U+FF5A
}

}  // namespace
