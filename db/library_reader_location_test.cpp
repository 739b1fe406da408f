// Locations with their cache of 25 entries, and the base currency.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/library_reader.h"
#include "db/library_reader_test_support.h"

namespace {

using readertest::ExpectRaised;
using readertest::kBase;

class ReaderLocationTest : public readertest::ReaderFixture {
protected:
    ReaderLocationTest() : reader(LoggedInReader()) {
        // Locations 11 to 40, code "L11" and so on.
        db.Execute(
            "WITH RECURSIVE K(N) AS (SELECT 11 UNION ALL SELECT N + 1 FROM K WHERE N < 40) "
            "INSERT INTO LOCATION SELECT N, 'L' || N, 'Display ' || N, 'Name ' || N, 'S' || N, 'N' FROM K");
    }

    // The name that TranslateLocationID gives for an id.
    std::string NameOf(int id) {
        std::string code, name, display, spine;
        bool suppressed = true;
        reader->TranslateLocationID(std::to_string(id), code, name, display, spine, suppressed);
        return name;
    }

    // Translates id n times; the entry's hits then grow by n (by n - 1 when it was new).
    void Translate(int id, int times) {
        for (int i = 0; i < times; ++i) NameOf(id);
    }

    void RenameInDatabase(int id) {
        db.Execute("UPDATE LOCATION SET LOCATION_NAME = 'renamed' WHERE LOCATION_ID = " + std::to_string(id));
    }

    std::vector<std::string> CachedIds() {
        std::vector<std::string> ids;
        for (int16_t i = 1; i <= reader->LocationCacheCount(); ++i) ids.push_back(reader->LocationCacheAt(i).Id);
        return ids;
    }

    std::unique_ptr<VgerReaderClass7> reader;
};

TEST_F(ReaderLocationTest, TranslateLocationIdReadsOnceAndThenFromTheCache) {
    std::string code = "old", name = "old", display = "old", spine = "old";
    bool suppressed = true;
    reader->TranslateLocationID("1", code, name, display, spine, suppressed);
    EXPECT_EQ(code, "MAIN");
    EXPECT_EQ(display, "Main Library");
    EXPECT_EQ(name, "Main");
    EXPECT_EQ(spine, "MAIN");
    EXPECT_FALSE(suppressed);
    ExpectFrameRestored(*reader, 0);

    RenameInDatabase(1);
    reader->TranslateLocationID("1", code, name, display, spine, suppressed);
    EXPECT_EQ(name, "Main");
    EXPECT_EQ(reader->LocationCacheCount(), 1);
    EXPECT_EQ(reader->LocationCacheAt(1).Hits, 2);
}

TEST_F(ReaderLocationTest, SuppressionIsAnUpperCaseYOnly) {
    const struct {
        const char* id;
        bool suppressed;
    } cases[] = {{"1", false}, {"2", false}, {"3", true}};
    for (const auto& c : cases) {
        std::string code, name, display, spine;
        bool suppressed = !c.suppressed;
        reader->TranslateLocationID(c.id, code, name, display, spine, suppressed);
        EXPECT_EQ(suppressed, c.suppressed) << c.id;
    }
}

TEST_F(ReaderLocationTest, IdAndCodeShareTheCacheWithExactCodes) {
    std::string number, name, display, spine;
    bool suppressed = false;
    NameOf(3);
    RenameInDatabase(3);
    reader->TranslateLocationCode("ARCH", number, name, display, spine, suppressed);
    EXPECT_EQ(number, "3");
    EXPECT_EQ(name, "Archives");  // from the cache
    EXPECT_TRUE(suppressed);

    reader->TranslateLocationCode("RES", number, name, display, spine, suppressed);
    EXPECT_EQ(number, "2");
    RenameInDatabase(2);
    EXPECT_EQ(NameOf(2), "Reserve");

    // "main" is not "MAIN": a location the database does not know, cached empty.
    reader->TranslateLocationCode("main", number, name, display, spine, suppressed);
    EXPECT_EQ(number, "");
    EXPECT_EQ(name, "");
    EXPECT_EQ(reader->LocationCacheCount(), 3);
}

TEST_F(ReaderLocationTest, MissingArgumentsRaiseAndLeaveNoFrameBehind) {
    int16_t set = 0;
    reader->ExecuteSQL("SELECT 1", set);
    reader->ResultSet(set);
    std::string code = "x", name = "x", display = "x", spine = "x";
    bool suppressed = true;
    ExpectRaised([&] { reader->TranslateLocationID("", code, name, display, spine, suppressed); }, kBase + 1027,
                 "No location ID supplied");
    EXPECT_EQ(code + name + display + spine, "");
    EXPECT_FALSE(suppressed);
    ExpectFrameRestored(*reader, set);

    code = "kept";
    ExpectRaised([&] { reader->TranslateLocationCode("", code, name, display, spine, suppressed); }, kBase + 1027,
                 "No location code supplied");
    EXPECT_EQ(code, "kept");
    ExpectFrameRestored(*reader, set);
}

TEST_F(ReaderLocationTest, AFullCacheOverwritesTheFirstEntryWithFewHits) {
    for (int id = 11; id <= 35; ++id) NameOf(id);
    ASSERT_EQ(reader->LocationCacheCount(), 25);
    NameOf(36);
    EXPECT_EQ(reader->LocationCacheAt(1).Id, "36");
    NameOf(37);
    EXPECT_EQ(reader->LocationCacheAt(1).Id, "37");
    EXPECT_EQ(reader->LocationCacheAt(1).Hits, 1);
    EXPECT_EQ(reader->LocationCacheAt(2).Id, "12");
}

TEST_F(ReaderLocationTest, EvictionTriesOneTwoAndThreeHitsInTurn) {
    const struct {
        int entry5Hits;
        int16_t overwritten;
    } cases[] = {{1, 5}, {3, 4}};
    for (const auto& c : cases) {
        reader = LoggedInReader();
        // Entries 1 to 25 hold ids 11 to 35 with 5 hits, except entry 4 (2 hits) and entry 5.
        for (int id = 11; id <= 35; ++id) {
            const int16_t entry = static_cast<int16_t>(id - 10);
            Translate(id, entry == 4 ? 2 : entry == 5 ? c.entry5Hits : 5);
        }
        NameOf(40);
        EXPECT_EQ(reader->LocationCacheAt(c.overwritten).Id, "40") << c.entry5Hits;
    }
}

TEST_F(ReaderLocationTest, WhenEveryEntryHasFourHitsNewLocationsAreNotStored) {
    for (int id = 11; id <= 35; ++id) Translate(id, 4);
    const std::vector<std::string> before = CachedIds();
    EXPECT_EQ(NameOf(40), "Name 40");
    EXPECT_EQ(CachedIds(), before);
    RenameInDatabase(40);
    EXPECT_EQ(NameOf(40), "renamed");  // read again
}

TEST_F(ReaderLocationTest, BaseCurrencyIsReadOnce) {
    EXPECT_EQ(reader->BaseCurrencyCountry(), "United States");
    EXPECT_EQ(reader->BaseCurrencyCode(), "USD");
    EXPECT_EQ(reader->BaseCurrencyName(), "US Dollar");
    EXPECT_EQ(reader->BaseCurrencyDecimals(), 2);
    EXPECT_EQ(reader->BaseCurrencyDecimalDelimiter(), ".");
    ExpectFrameRestored(*reader, 0);
}

TEST_F(ReaderLocationTest, AnEmptyCurrencyTableIsNotReadAgain) {
    db.Execute("DELETE FROM BASE_CURRENCY");
    EXPECT_EQ(reader->BaseCurrencyDecimals(), 0);
    db.Execute("INSERT INTO BASE_CURRENCY VALUES ('X', 'XXX', 'Xs', 3, ',')");
    EXPECT_EQ(reader->BaseCurrencyCode(), "");
    EXPECT_EQ(reader->BaseCurrencyDecimals(), 0);
}

TEST_F(ReaderLocationTest, AFailedLookUpStoresNothingAndRestoresTheFrame) {
    db.Execute("DROP TABLE BASE_CURRENCY");
    EXPECT_THROW(reader->BaseCurrencyCode(), RaisedError);
    ExpectFrameRestored(*reader, 0);
    db.Execute("CREATE TABLE BASE_CURRENCY (BASE_COUNTRY_NAME, BASE_CURRENCY_CODE, BASE_CURRENCY_NAME, "
               "BASE_DECIMALS, DECIMAL_DELIMITER); INSERT INTO BASE_CURRENCY VALUES ('X', 'XXX', 'Xs', 3, ',')");
    EXPECT_EQ(reader->BaseCurrencyCode(), "XXX");
}

TEST_F(ReaderLocationTest, QuotesInALocationCodeStayInsideTheLiteral) {
    db.Execute("INSERT INTO LOCATION VALUES (50, 'O''B', 'Quote', 'Quote', 'Q', 'N')");
    std::string number, name, display, spine;
    bool suppressed = false;
    reader->TranslateLocationCode("O'B", number, name, display, spine, suppressed);
    EXPECT_EQ(number, "50");
    reader->TranslateLocationCode("x' OR '1'='1", number, name, display, spine, suppressed);
    EXPECT_EQ(number, "");
}

}  // namespace
