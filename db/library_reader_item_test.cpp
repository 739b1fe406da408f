// Item records: look-ups by barcode and by number, the details with their
// caches, the price, the dates and the copy onto a caller's item object.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "db/library_reader.h"
#include "db/library_reader_test_support.h"
#include "platform/events.h"

namespace {

using readertest::ExpectRaised;
using readertest::kBase;

class ReaderItemTest : public readertest::ReaderFixture {
protected:
    ReaderItemTest() : reader(LoggedInReader()) {}
    std::unique_ptr<VgerReaderClass7> reader;
};

TEST_F(ReaderItemTest, BarcodeAndNumberValidation) {
    const struct {
        const char* given;
        bool accepted;
        const char* stored;
    } cases[] = {{" 0012345 ", true, "0012345"}, {"12 34", false, ""}, {"12a", false, ""},
                 {"", false, ""},                {"1.5", false, ""},   {"+1", false, ""},
                 {"   ", false, ""},             {"\xC3\xA9", false, ""}};
    for (const auto& c : cases) {
        if (c.accepted) {
            reader->ItemBarcode(c.given);
            EXPECT_EQ(reader->ItemBarcode(), c.stored);
            reader->ItemRecordNumber(c.given);
            EXPECT_EQ(reader->ItemRecordNumber(), c.stored);
        } else {
            ExpectRaised([&] { reader->ItemBarcode(c.given); }, 380, "Invalid value for ItemBarcode property");
            ExpectRaised([&] { reader->ItemRecordNumber(c.given); }, 380, "Invalid value for ItemRecordNumber property");
        }
    }
    reader->ItemBarcodeIsNumeric(false);
    reader->ItemBarcode(" AB 1'2 ");
    EXPECT_EQ(reader->ItemBarcode(), " AB 1'2 ");
    ExpectRaised([&] { reader->ItemBarcode(""); }, 380, "Invalid value for ItemBarcode property");
}

TEST_F(ReaderItemTest, LookUpByBarcodeReadsEveryDetail) {
    reader->RetrieveItemRecordByBarcode(" 39001 ");
    EXPECT_EQ(reader->ItemRecordNumber(), "100");
    EXPECT_EQ(reader->ItemBarcode(), "39001");
    EXPECT_TRUE(reader->ItemBarcodeActive());
    const std::map<std::string, std::string> values = {
        {"PermLocationNumber", reader->ItemPermLocationNumber()},
        {"TempLocationNumber", reader->ItemTempLocationNumber()},
        {"CopyNumber", reader->ItemCopyNumber()},
        {"SpineLabel", reader->ItemSpineLabel()},
        {"TypeID", reader->ItemTypeID()},
        {"TempTypeID", reader->ItemTempTypeID()},
        {"Pieces", reader->ItemPieces()},
        {"Price", reader->ItemPrice()},
        {"MediaType", reader->ItemMediaType()},
        {"CreateDate", reader->ItemCreateDate()},
        {"UpdateDate", reader->ItemUpdateDate()},
        {"CreateOperatorID", reader->ItemCreateOperatorID()},
        {"UpdateOperatorID", reader->ItemUpdateOperatorID()},
        {"MagneticMedia", reader->ItemMagneticMedia()},
        {"Sensitize", reader->ItemSensitize()},
        {"HoldRecordNumber", reader->ItemHoldRecordNumber()},
        {"Enum", reader->ItemEnum()},
        {"Chron", reader->ItemChron()},
        {"Year", reader->ItemYear()},
        {"Caption", reader->ItemCaption()},
        {"FreeText", reader->ItemFreeText()},
        {"Status", reader->ItemStatus()},
        {"BibRecordNumber", reader->ItemBibRecordNumber()},
        {"Note", reader->ItemNote()},
        {"TypeName", reader->ItemTypeName()},
        {"PermLocationCode", reader->ItemPermLocationCode()},
        {"PermLocationName", reader->ItemPermLocationName()},
        {"TempLocationDisplay", reader->ItemTempLocationDisplay()},
        {"TempLocationSpine", reader->ItemTempLocationSpine()},
    };
    const std::map<std::string, std::string> expected = {
        {"PermLocationNumber", "1"},
        {"TempLocationNumber", "2"},
        {"CopyNumber", "1"},
        {"SpineLabel", "SPINE"},
        {"TypeID", "3"},
        {"TempTypeID", "4"},
        {"Pieces", "2"},
        {"Price", "12.50"},
        {"MediaType", "5"},
        {"CreateDate", "2003-05-01 10:11:12"},
        {"UpdateDate", "2004-06-02 13:14:15"},
        {"CreateOperatorID", "CREATOR"},
        {"UpdateOperatorID", "EDITOR"},
        {"MagneticMedia", "Y"},
        {"Sensitize", "N"},
        {"HoldRecordNumber", "700"},
        {"Enum", "v.1"},
        {"Chron", "1999"},
        {"Year", "1999"},
        {"Caption", "cap"},
        {"FreeText", "free"},
        {"Status", "Not Charged\nCharged"},
        {"BibRecordNumber", "500"},
        {"Note", "a note"},
        {"TypeName", "book"},
        {"PermLocationCode", "MAIN"},
        {"PermLocationName", "Main"},
        {"TempLocationDisplay", "Reserve Desk"},
        {"TempLocationSpine", "RESV"},
    };
    EXPECT_EQ(values, expected);
    ExpectFrameRestored(*reader, 0);

    const rt::DateTime created = reader->ItemCreateDateVB();
    EXPECT_EQ(created.Year(), 2003);
    EXPECT_EQ(created.Second(), 12);
    EXPECT_EQ(reader->ItemDateLastModifiedVB().Year(), 2004);
}

TEST_F(ReaderItemTest, ABarcodeNotFoundLeavesNothingOfTheEarlierItem) {
    reader->RetrieveItemRecordByBarcode("39001");
    reader->RetrieveItemRecordByBarcode("999");
    EXPECT_EQ(reader->ItemBarcode(), "999");
    EXPECT_EQ(reader->ItemRecordNumber(), "");
    EXPECT_EQ(reader->ItemStatus(), "");
    EXPECT_FALSE(reader->ItemBarcodeActive());
    EXPECT_EQ(reader->ItemMagneticMedia(), "N");
    EXPECT_EQ(reader->ItemTypeName(), "None");
    EXPECT_EQ(reader->ItemPrice() + reader->ItemTypeID() + reader->ItemPieces() + reader->ItemMediaType() +
                  reader->ItemFreeText() + reader->ItemSensitize(),
              "N");
    EXPECT_EQ(reader->ItemCreateDateVB().Serial, 0.0);
}

// A second scan handled while a look-up yields replaces the current item; the
// first look-up then finishes on that item, so no detail of the two is mixed
// and no status is listed twice.
TEST_F(ReaderItemTest, ASecondScanDuringALookUpLeavesTheDetailsOfOneItem) {
    db.Execute("INSERT INTO ITEM_STATUS VALUES (200, 2)");
    bool scanned = false;
    platform::ScopedEventPump pump([&] {
        // The yield before the first item's holdings are read.
        if (scanned || reader->ItemSpineLabel() != "SPINE" || !reader->ItemHoldRecordNumber().empty()) return;
        scanned = true;
        reader->RetrieveItemRecordByBarcode("39002");
    });
    reader->RetrieveItemRecordByBarcode("39001");
    ASSERT_TRUE(scanned);
    EXPECT_EQ(reader->ItemRecordNumber(), "200");
    EXPECT_EQ(reader->ItemHoldRecordNumber() + "|" + reader->ItemEnum() + "|" + reader->ItemBibRecordNumber() + "|" +
                  reader->ItemNote() + "|" + reader->ItemStatus(),
              "||||Charged");
    ExpectFrameRestored(*reader, 0);
}

// A caller's query run while a look-up yields leaves another set in force; the
// look-up still reads its rows on set 0 and the caller's row stays as fetched.
TEST_F(ReaderItemTest, ACallersQueryDuringALookUpKeepsItsRow) {
    int16_t set = 0;
    bool queried = false;
    platform::ScopedEventPump pump([&] {
        if (queried || reader->ItemSpineLabel() != "SPINE" || !reader->ItemHoldRecordNumber().empty()) return;
        queried = true;
        reader->ExecuteSQL("SELECT 'x', 'y'", set);
        reader->GetNextRow(set);
    });
    reader->RetrieveItemRecordByBarcode("39001");
    ASSERT_TRUE(queried);
    EXPECT_EQ(reader->ItemHoldRecordNumber() + "|" + reader->ItemNote() + "|" + reader->ItemStatus(),
              "700|a note|Not Charged\nCharged");
    EXPECT_EQ(reader->CurrentRow(set, 1) + reader->CurrentRow(set, 2), "xy");
}

TEST_F(ReaderItemTest, AnInactiveBarcodeAndAnItemWithFewDetails) {
    reader->RetrieveItemRecordByBarcode("39001");
    reader->RetrieveItemRecordByBarcode("39002");
    EXPECT_EQ(reader->ItemRecordNumber(), "200");
    EXPECT_FALSE(reader->ItemBarcodeActive());
    EXPECT_EQ(reader->ItemPrice(), "0.05");
    EXPECT_EQ(reader->ItemHoldRecordNumber(), "");
    EXPECT_EQ(reader->ItemBibRecordNumber(), "");
    EXPECT_EQ(reader->ItemStatus(), "");
    EXPECT_EQ(reader->ItemUpdateDate(), "");
    EXPECT_EQ(reader->ItemDateLastModifiedVB().Year(), 2005);
}

TEST_F(ReaderItemTest, PriceFollowsTheBaseCurrency) {
    const struct {
        int decimals;
        const char* delimiter;
        const char* stored;
        const char* shown;
    } cases[] = {
        {2, ",", "1250", "12,50"}, {2, ",", "5", "0,05"},  {2, ".", "50", ".50"}, {0, ".", "1250", "1250"},
        {3, ".", "5", "0.005"},    {5, ".", "7", "0.00007"}, {2, ".", "", ""}, {9, ".", "7", "0.000000007"},
        {9, ",", "31234567890", "31,234567890"}, {-2, ",", "1250", "1250"},
    };
    for (const auto& c : cases) {
        db.Execute("UPDATE BASE_CURRENCY SET BASE_DECIMALS = " + std::to_string(c.decimals) +
                   ", DECIMAL_DELIMITER = '" + c.delimiter + "'");
        db.Execute(std::string("UPDATE ITEM SET PRICE = ") + (*c.stored ? c.stored : "NULL") + " WHERE ITEM_ID = 100");
        auto fresh = LoggedInReader();
        fresh->RetrieveItemRecordByBarcode("39001");
        EXPECT_EQ(fresh->ItemPrice(), c.shown) << c.decimals << " " << c.stored;
    }
}

// More than nine decimals fails the price step as an unreadable currency
// table does: the look-up raises, and the currency still reads as stored.
TEST_F(ReaderItemTest, MoreThanNineDecimalsFailTheLookUp) {
    db.Execute("UPDATE ITEM SET PRICE = NULL WHERE ITEM_ID = 200");
    for (int32_t decimals : {10, 30000000, 2147483647}) {
        SCOPED_TRACE(decimals);
        db.Execute("UPDATE BASE_CURRENCY SET BASE_DECIMALS = " + std::to_string(decimals));
        auto fresh = LoggedInReader();
        ExpectRaised([&] { fresh->RetrieveItemRecordByBarcode("39001"); }, 6, "Overflow", "VgerRead");
        ExpectFrameRestored(*fresh, 0);
        EXPECT_EQ(fresh->BaseCurrencyDecimals(), decimals);
        // An item without a price has nothing to format.
        fresh->RetrieveItemRecordByBarcode("39002");
        EXPECT_EQ(fresh->ItemRecordNumber(), "200");
    }
}

TEST_F(ReaderItemTest, KnownStatusDescriptionsComeFirst) {
    db.Execute("UPDATE ITEM_STATUS SET ITEM_STATUS = 3 WHERE ITEM_ID = 100 AND ITEM_STATUS = 1;"
               "INSERT INTO ITEM_STATUS VALUES (200, 2)");
    reader->RetrieveItemRecordByBarcode("39002");  // caches "Charged"
    reader->RetrieveItemRecordByBarcode("39001");  // rows 3, 2
    EXPECT_EQ(reader->ItemStatus(), "Charged\nRenewed");
    // Both known now: row order.
    reader->RetrieveItemRecord("");
    EXPECT_EQ(reader->ItemStatus(), "Renewed\nCharged");
}

TEST_F(ReaderItemTest, ItemTypeNameIsCachedWithoutDisturbingTheCallersSet) {
    int16_t set = 0;
    reader->ExecuteSQL("SELECT LOCATION_CODE FROM main.LOCATION ORDER BY LOCATION_ID", set);
    ASSERT_TRUE(reader->GetNextRow(set));
    reader->RetrieveItemRecordByBarcode("39002");
    EXPECT_EQ(reader->ItemTypeName(), "Item type 99 not defined");
    db.Execute("INSERT INTO ITEM_TYPE VALUES (99, 'new')");
    EXPECT_EQ(reader->ItemTypeName(), "Item type 99 not defined");
    ExpectFrameRestored(*reader, set);
    EXPECT_EQ(reader->CurrentRow(1, -1), "MAIN");
}

TEST_F(ReaderItemTest, LookUpByNumber) {
    reader->RetrieveItemRecord("200");
    EXPECT_EQ(reader->ItemBarcode(), "39002");
    EXPECT_FALSE(reader->ItemBarcodeActive());
    reader->RetrieveItemRecord("100");
    EXPECT_EQ(reader->ItemBarcode(), "39001");
    EXPECT_TRUE(reader->ItemBarcodeActive());
    EXPECT_EQ(reader->ItemNote(), "a note");
    reader->RetrieveItemRecord("12345");
    EXPECT_EQ(reader->ItemRecordNumber(), "12345");
    EXPECT_EQ(reader->ItemBarcode(), "");
    EXPECT_EQ(reader->ItemSpineLabel(), "");
}

TEST_F(ReaderItemTest, ErrorsOfTheLookUpsLeaveNoFrameBehind) {
    int16_t set = 0;
    reader->ExecuteSQL("SELECT 1", set);
    reader->ResultSet(set);
    ExpectRaised([&] { reader->RetrieveItemRecord(""); }, kBase + 1001, "No ItemRecordNumber supplied");
    ExpectFrameRestored(*reader, set);
    ExpectRaised([&] { reader->RetrieveItemRecord("1x"); }, 380, "Invalid value for ItemRecordNumber property");
    ExpectFrameRestored(*reader, set);
    ExpectRaised([&] { reader->RetrieveItemRecordByBarcode(""); }, kBase + 1002, "No ItemBarcode supplied");
    ExpectRaised([&] { reader->RetrieveItemRecordByBarcode("39 001"); }, 380, "Invalid value for ItemBarcode property");
    ExpectRaised([&] { reader->RetrieveBibNumberForItem(""); }, kBase + 1001, "No ItemRecordNumber supplied");
    ExpectFrameRestored(*reader, set);

    // The item's own table is gone: the look-up reports it, never a success.
    db.Execute("ALTER TABLE ITEM RENAME TO ITEM_AWAY");
    EXPECT_THROW(reader->RetrieveItemRecordByBarcode("39001"), RaisedError);
    ExpectFrameRestored(*reader, set);
    db.Execute("ALTER TABLE ITEM_AWAY RENAME TO ITEM");

    // A later table missing: that step is skipped, the look-up succeeds.
    db.Execute("DROP TABLE MFHD_ITEM");
    reader->RetrieveItemRecordByBarcode("39001");
    EXPECT_EQ(reader->ItemHoldRecordNumber(), "");
    EXPECT_EQ(reader->ItemNote(), "a note");
    ExpectFrameRestored(*reader, set);
}

TEST_F(ReaderItemTest, ABarcodeWithApostrophesIsQuoted) {
    db.Execute("INSERT INTO ITEM_BARCODE VALUES (200, 'AB''1', 1, NULL)");
    reader->ItemBarcodeIsNumeric(false);
    reader->RetrieveItemRecordByBarcode("AB'1");
    EXPECT_EQ(reader->ItemRecordNumber(), "200");
    reader->RetrieveItemRecordByBarcode("x' OR '1'='1");
    EXPECT_EQ(reader->ItemRecordNumber(), "");
}

TEST_F(ReaderItemTest, BibNumberForAnItem) {
    reader->RetrieveItemRecordByBarcode("39001");
    const std::string bib = reader->RetrieveBibNumberForItem("");
    EXPECT_TRUE(bib == "500" || bib == "501") << bib;
    EXPECT_EQ(reader->RetrieveBibNumberForItem("200"), "");
    EXPECT_EQ(reader->ItemRecordNumber(), "200");
    EXPECT_EQ(reader->ItemSpineLabel(), "");  // set, not reloaded
    ExpectFrameRestored(*reader, 0);
}

// An item object that has some properties and records what it was given.
class RecordingItem : public ItemPropertySetter {
public:
    explicit RecordingItem(std::set<std::string> missing) : Missing(std::move(missing)) {}
    void SetProperty(const std::string& sName, const ItemPropertyValue& vValue) override {
        if (Missing.count(sName)) throw RaisedError(438, "cItem", "Object doesn't support this property or method");
        Set.push_back(sName);
        Values[sName] = vValue;
    }
    std::set<std::string> Missing;
    std::vector<std::string> Set;
    std::map<std::string, ItemPropertyValue> Values;
};

TEST_F(ReaderItemTest, CopyItemObjectSetsThePropertiesInOrder) {
    reader->ItemSequenceNewItemsAtTop(true);
    reader->RetrieveItemRecordByBarcode("39001");

    RecordingItem complete({"MagneticMedia", "Sensitize"});
    reader->CopyItemObject(complete);
    EXPECT_EQ(complete.Set.size(), 17u);
    EXPECT_EQ(std::get<double>(complete.Values["itemID"]), 100.0);
    EXPECT_EQ(std::get<double>(complete.Values["HoldingID"]), 700.0);
    EXPECT_EQ(std::get<std::string>(complete.Values["Price"]), "12.50");
    EXPECT_EQ(std::get<std::string>(complete.Values["year"]), "1999");
    EXPECT_TRUE(std::get<bool>(complete.Values["AddItemToTop"]));

    RecordingItem lacking({"Caption"});
    ExpectRaised([&] { reader->CopyItemObject(lacking); }, kBase + 1056,
                 "cItem object does not have the expected property: Caption");
    EXPECT_EQ(lacking.Set.size(), 13u);
    EXPECT_EQ(lacking.Set.back(), "year");

    RecordingItem noHoldings({"HoldingID"});
    ExpectRaised([&] { reader->CopyItemObject(noHoldings); }, kBase + 1056,
                 "cItem object does not have the expected property: MfhdID");
}

// The exit check's calls, in its order, on a reader made as it makes one.
TEST_F(ReaderItemTest, TheExitChecksRoad) {
    VgerReaderClass7 first;
    first.Disconnect();
    VgerReaderClass7 second;
    second.DSN(db.Dsn());
    second.TableNamePrefix("main");
    second.uID("reader");
    second.PWD("secret");
    const struct {
        const char* scanned;
        const char* patronGroup;
    } scans[] = {{"39001", "7"}, {"39002", ""}};
    int16_t resultSet = 0;
    for (const auto& scan : scans) {
        second.RetrieveItemRecordByBarcode(scan.scanned);
        ASSERT_NE(second.ItemRecordNumber(), "");
        second.ExecuteSQL("SELECT PATRON_GROUP_ID FROM " + second.TableNamePrefix() +
                              "CIRC_TRANSACTIONS WHERE ITEM_ID = " + second.ItemRecordNumber(),
                          resultSet);
        second.GetNextRow(resultSet);
        EXPECT_EQ(second.CurrentRow(1, -1), scan.patronGroup) << scan.scanned;
    }
    EXPECT_EQ(resultSet, 1);
}

}  // namespace
