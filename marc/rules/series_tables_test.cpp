// The series-numbering tables hold every word of their lists: counts,
// lengths and telling entries.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "marc/record/record_test_access.h"
#include "marc/rules/series_tables.h"
#include "marc/rules/series_text.h"

namespace {

namespace tables = series_tables;

size_t WordCount(std::string_view list) {
    size_t count = 0;
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i] != ' ' && (i == 0 || list[i - 1] == ' ')) ++count;
    return count;
}
size_t Count(std::string_view s, char c) {
    size_t n = 0;
    for (char x : s) n += x == c;
    return n;
}

TEST(SeriesTables, WordListsHoldTheirWords) {
    struct Case {
        const char* name;
        std::string_view list;
        size_t words;
    };
    const Case cases[] = {
        {"captions 1", tables::CaptionLists[0], 104},
        {"captions 2", tables::CaptionLists[1], 49},
        {"captions 3", tables::CaptionLists[2], 72},
        {"captions 4", tables::CaptionLists[3], 84},
        {"captions 5", tables::CaptionLists[4], 104},
        {"series words", tables::SeriesWordList, 29},
        {"new words", tables::NewWordList, 17},
        {"hors words", tables::HorsWordList, 2},
        {"new-series abbreviations", tables::NewSeriesAbbreviationList, 2},
        {"East Asian prefixes", tables::EastAsianOrdinalPrefixes, 3},
        {"East Asian counters", tables::EastAsianCounterWords, 19},
        {"ordinal test words", tables::OrdinalTestWords, 7},
        {"chapter words", tables::ChapterWordList, 4},
        {"single-letter captions", tables::SingleLetterCaptions, 9},
        {"heading stop words", tables::HeadingStopWords, 11},
        {"heading articles", tables::HeadingArticles, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WordCount(c.list), c.words);
        EXPECT_EQ(c.list.front(), ' ');
        EXPECT_EQ(c.list.back(), ' ');
        EXPECT_EQ(c.list.find("  "), std::string_view::npos);
    }
}

TEST(SeriesTables, AbbreviationTablesHoldTheirGroups) {
    std::string joined;
    for (std::string_view piece : tables::CaptionAbbreviationPieces) {
        EXPECT_EQ(piece.front(), ' ');
        joined += piece;
    }
    EXPECT_EQ(joined.size(), 1524u);
    EXPECT_EQ(Count(joined, '*'), 56u);
    EXPECT_EQ(WordCount(joined) - Count(joined, '*'), 154u);
    EXPECT_EQ(Count(tables::WordAbbreviationTable, '*'), 4u);
    EXPECT_EQ(WordCount(tables::WordAbbreviationTable) - 4, 17u);

    bool bFound = false;
    EXPECT_EQ(series_text::Abbreviation(joined, "ABDRUCK", bFound), "ABD");
    EXPECT_EQ(series_text::Abbreviation(joined, "VOL", bFound), "V");
    EXPECT_EQ(series_text::Abbreviation(joined, "REIHE", bFound), "REIHE");
    EXPECT_FALSE(bFound);  // only an abbreviation
    EXPECT_EQ(series_text::Abbreviation(tables::WordAbbreviationTable, "CMD", bFound), "CD");
    EXPECT_EQ(series_text::Abbreviation(tables::WordAbbreviationTable, "SUPPLEMENTUM", bFound), "SUP");
}

TEST(SeriesTables, OrdinalRowsCoverEveryDigit) {
    std::string digits;
    for (const tables::OrdinalSuffixRow& row : tables::OrdinalSuffixRows) {
        digits += row.Digits;
        EXPECT_TRUE(series_text::InWords(row.Always, "TH")) << row.Digits;
        int lastPieceLists = 0;
        for (int k = 0; k < row.ListCount; ++k) lastPieceLists += row.BesideSeriesWord[static_cast<size_t>(k)].LastPieceRule;
        EXPECT_EQ(lastPieceLists, 1) << row.Digits;
    }
    EXPECT_EQ(digits.size(), 10u);
    EXPECT_EQ(tables::Marc8Punctuation.size(), 15u);
    EXPECT_EQ(tables::AsciiPunctuation.size(), 21u);
}

// The strings the record object builds from the tables.
TEST(SeriesTables, RecordTablesAreBuiltOnFirstUse) {
    Utf8MarcRecordClass record;
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    EXPECT_FALSE(s.SeriesNumberingTablesReady);
    EXPECT_EQ(record.NormalizeSeriesNumberForSorting(2, "", "", "v. 1"), "V 00000001");
    EXPECT_FALSE(s.SeriesNumberingTablesReady);  // mode 2 needs no tables
    record.NormalizeSeriesNumberForSorting(3, "", "", "v. 1");
    ASSERT_TRUE(s.SeriesNumberingTablesReady);
    EXPECT_EQ(WordCount(s.SeriesNumberingCaptions), 1 + 413 + 9u);
    EXPECT_NE(s.SeriesNumberingCaptions.find("  "), std::string::npos);  // the empty word is a caption
    EXPECT_EQ(s.SeriesNumberingAllPunctuation.size(), 10 + 21 + 15u);
    EXPECT_EQ(s.SeriesNumberingSeparator, " \x1F ");
    EXPECT_EQ(s.SeriesNumberingSuperscriptDigits.substr(0, 5), "\xE2\x81\xB0\xC2\xB9");
    EXPECT_EQ(s.SeriesNumberingSubscriptDigits.size(), 30u);
}

}  // namespace
