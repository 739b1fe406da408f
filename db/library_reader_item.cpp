// VgerReaderClass7: the current item, found by barcode or by number, with its
// details, price, type name, dates and the copy onto a caller's item object.

#include <algorithm>
#include <vector>

#include "common/raised_error.h"
#include "db/library_reader.h"
#include "db/library_reader_frame.h"
#include "db/sql_text.h"
#include "platform/events.h"

namespace {

// Which output of TranslateLocationID an item location getter returns.
enum class LocationOutput { Code, Name, Display, Spine };

// The most decimals that a price is formatted with.
constexpr int32_t kMostCurrencyDecimals = 9;

}  // namespace

bool VgerReaderClass7::IsDigitsOnly(std::string& sText) {
    sText = rt::Trim(sText);
    return !sText.empty() && std::all_of(sText.begin(), sText.end(), rt::IsAsciiDigit);
}

void VgerReaderClass7::ItemRecordNumber(const std::string& vNewValue) {
    std::string number = vNewValue;
    if (number.empty() || !IsDigitsOnly(number)) RaiseReaderError(ReaderErrorCode::InvalidItemRecordNumber);
    ClearItem();
    Item.RecordNumber = number;
}

void VgerReaderClass7::ItemBarcode(const std::string& vNewValue) {
    std::string barcode = vNewValue;
    if (barcode.empty()) RaiseReaderError(ReaderErrorCode::InvalidItemBarcode);
    if (ItemBarcodeIsNumeric_ && !IsDigitsOnly(barcode)) RaiseReaderError(ReaderErrorCode::InvalidItemBarcode);
    ClearItem();
    Item.Barcode = barcode;
}

void VgerReaderClass7::ClearItem() {
    Item.RecordNumber.clear();
    Item.Barcode.clear();
    ClearItemDetails();
}

void VgerReaderClass7::ClearItemDetails() {
    CurrentItem cleared;
    cleared.RecordNumber = std::move(Item.RecordNumber);
    cleared.Barcode = std::move(Item.Barcode);
    Item = std::move(cleared);
}

void VgerReaderClass7::RetrieveItemRecordByBarcode(const std::string& sItemBarcode) {
    if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
    TestConnectionData();
    if (!sItemBarcode.empty()) {
        ItemBarcode(sItemBarcode);
    } else if (Item.Barcode.empty()) {
        RaiseReaderError(ReaderErrorCode::NoItemBarcode);
    }
    CheckConnection();
    MyCheckVoyagerConnection();
    RetrievalFrame frame(*this);
    RunRetrievalQuery("SELECT ITEM_ID, BARCODE_STATUS FROM " + Tables.ITEM_BARCODE +
                          " WHERE ITEM_BARCODE = " + SqlQuoted(Item.Barcode),
                      2);
    Item.RecordNumber = rt::Trim(CurrentRow(1, -1));
    if (!Item.RecordNumber.empty()) {
        ItemBarcodeActive_ = CurrentRow(2, -1) == "1";
        LoadItemDetails();
    } else {
        ClearItemDetails();
        ItemBarcodeActive_ = false;
    }
    frame.Close();
}

void VgerReaderClass7::RetrieveItemRecord(const std::string& sItemRecordNumber) {
    if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
    RetrievalFrame frame(*this);
    ClearItemDetails();
    if (!sItemRecordNumber.empty()) {
        ItemRecordNumber(sItemRecordNumber);
    } else if (Item.RecordNumber.empty()) {
        RaiseReaderError(ReaderErrorCode::NoItemRecordNumber);
    }
    CheckConnection();
    MyCheckVoyagerConnection();
    const std::string number = SqlNumberText(Item.RecordNumber);
    RunRetrievalQuery("SELECT ITEM_BARCODE FROM " + Tables.ITEM_BARCODE + " WHERE ITEM_ID = " + number +
                          " AND BARCODE_STATUS = 1",
                      1);
    Item.Barcode = rt::Trim(CurrentRow(1, -1));
    if (!Item.Barcode.empty()) {
        ItemBarcodeActive_ = true;
    } else {
        RunRetrievalQuery("SELECT ITEM_BARCODE FROM " + Tables.ITEM_BARCODE + " WHERE ITEM_ID = " + number, 1);
        Item.Barcode = rt::Trim(CurrentRow(1, -1));
        ItemBarcodeActive_ = false;
    }
    LoadItemDetails();
    frame.Close();
}

// Runs inside the look-up frame. The first query's errors reach the caller;
// after it, a step that fails is skipped and leaves its values empty.
void VgerReaderClass7::LoadItemDetails() {
    TestConnectionData();
    if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
    platform::DoEvents();
    ClearItemDetails();
    // The current item's number, read for each query: a second look-up run
    // during a yield below replaces the current item, and the details read
    // after it are then that item's too, never a mixture of two items.
    auto number = [this] { return SqlNumberText(Item.RecordNumber); };

    IsRetrieval(true);
    RunRetrievalQuery("SELECT PERM_LOCATION, TEMP_LOCATION, COPY_NUMBER, SPINE_LABEL, ITEM_TYPE_ID, "
                      "TEMP_ITEM_TYPE_ID, PIECES, PRICE, MEDIA_TYPE_ID, CREATE_DATE, MODIFY_DATE, "
                      "CREATE_OPERATOR_ID, MODIFY_OPERATOR_ID FROM " +
                          Tables.ITEM + " WHERE ITEM_ID = " + number(),
                      13);
    IsRetrieval(true);
    std::string* const itemColumns[] = {&Item.PermLocationNumber, &Item.TempLocationNumber, &Item.CopyNumber,
                                        &Item.SpineLabel,         &Item.TypeID,             &Item.TempTypeID,
                                        &Item.Pieces,             &Item.Price,              &Item.MediaType,
                                        &Item.CreateDate,         &Item.UpdateDate,         &Item.CreateOperatorID,
                                        &Item.UpdateOperatorID};
    for (int16_t c = 1; c <= 13; ++c) *itemColumns[c - 1] = CurrentRow(c, -1);
    FormatItemPrice();

    // One query of the remaining steps: its columns into the given values.
    auto readInto = [&](const std::string& sql, std::vector<std::string*> values) {
        try {
            IsRetrieval(true);
            RunRetrievalQuery(sql, static_cast<int16_t>(values.size()));
            IsRetrieval(true);
            for (size_t c = 0; c < values.size(); ++c) *values[c] = CurrentRow(static_cast<int16_t>(c + 1), -1);
        } catch (...) {
            for (std::string* value : values) value->clear();
        }
    };

    readInto("SELECT MAGNETIC_MEDIA, SENSITIZE FROM " + Tables.ITEM + " WHERE ITEM_ID = " + number(),
             {&Item.MagneticMedia, &Item.Sensitize});
    platform::DoEvents();
    readInto("SELECT MFHD_ID, ITEM_ENUM, CHRON, YEAR, CAPTION, FREETEXT FROM " + Tables.MFHD_ITEM +
                 " WHERE ITEM_ID = " + number(),
             {&Item.HoldRecordNumber, &Item.Enum, &Item.Chron, &Item.Year, &Item.Caption, &Item.FreeText});
    std::string status;
    try {
        LoadItemStatus(number(), status);
    } catch (...) {
        // The descriptions found so far stand.
    }
    Item.Status = status;
    readInto("SELECT BIB_ID FROM " + Tables.BIB_ITEM + " WHERE ITEM_ID = " + number() + " ORDER BY BIB_ID",
             {&Item.BibRecordNumber});
    readInto("SELECT ITEM_NOTE FROM " + TableNamePrefix_ + "ITEM_NOTE WHERE ITEM_ID = " + number(), {&Item.Note});
}

// The descriptions of the item's status codes: those already known first, in
// row order, then those read now from ITEM_STATUS_TYPE, in row order; built
// in sStatus, which the caller starts empty.
void VgerReaderClass7::LoadItemStatus(const std::string& sNumber, std::string& sStatus) {
    auto append = [&](const std::string& description) {
        if (!sStatus.empty()) sStatus += LineFeed;
        sStatus += description;
    };
    IsRetrieval(true);
    RunRetrievalQuery("SELECT ITEM_STATUS FROM " + Tables.ITEM_STATUS + " WHERE ITEM_ID = " + sNumber, 1);
    std::vector<std::string> pending;
    for (std::string code = CurrentRow(1, -1); !code.empty(); code = CurrentRow(1, -1)) {
        if (auto known = ItemStatusDescriptions.find(code); known != ItemStatusDescriptions.end()) {
            append(known->second);
        } else {
            pending.push_back(code);
        }
        auto session = SessionPtr();
        session->RealNextRow(session->RetrieveStatement());
    }
    for (const std::string& code : pending) {
        IsRetrieval(true);
        RunRetrievalQuery("SELECT ITEM_STATUS_DESC FROM " + Tables.ITEM_STATUS_TYPE +
                              " WHERE ITEM_STATUS_TYPE = " + SqlQuoted(code),
                          1);
        const std::string description = CurrentRow(1, -1);
        if (description.empty()) continue;
        append(description);
        ItemStatusDescriptions.emplace(code, description);
    }
}

// The stored digits as an amount with the base currency's decimals: with 2
// decimals and "," 1250 becomes 12,50 and 5 becomes 0,05. No currency has
// more than nine decimals: a table that says so fails the step (error 6), as
// an unreadable one does, rather than pad a price to any length.
void VgerReaderClass7::FormatItemPrice() {
    if (Item.Price.empty()) return;
    LoadBaseCurrency();
    const int32_t d = BaseCurrencyDecimals_;
    if (d <= 0) return;
    if (d > kMostCurrencyDecimals) RaiseRuntimeError(ErrorNumber::Overflow, "VgerRead");
    const auto length = static_cast<int32_t>(Item.Price.size());
    if (length < d) {
        Item.Price = "0" + BaseCurrencyDecimalDelimiter_ + std::string(static_cast<size_t>(d - length), '0') +
                     Item.Price;
    } else {
        Item.Price = rt::Left(Item.Price, length - d) + BaseCurrencyDecimalDelimiter_ + rt::Right(Item.Price, d);
    }
}

std::string VgerReaderClass7::ItemTypeName() {
    const std::string id = Item.TypeID;
    if (auto known = ItemTypeCodes.find(id); known != ItemTypeCodes.end()) return known->second;
    if (id.empty()) return "None";
    RetrievalFrame frame(*this);
    RunRetrievalQuery("SELECT ITEM_TYPE_CODE FROM " + TableNamePrefix_ + "ITEM_TYPE WHERE ITEM_TYPE_ID = " +
                          SqlNumberText(id),
                      1);
    std::string name = CurrentRow(1, -1);
    frame.Close();
    if (name.empty()) name = "Item type " + id + " not defined";
    ItemTypeCodes.emplace(id, name);
    return name;
}

std::string VgerReaderClass7::RetrieveBibNumberForItem(std::string sItemRecordNumber) {
    CheckConnection();
    TestConnectionData();
    RetrievalFrame frame(*this);
    if (!sItemRecordNumber.empty()) {
        ItemRecordNumber(sItemRecordNumber);
    } else if (Item.RecordNumber.empty()) {
        RaiseReaderError(ReaderErrorCode::NoItemRecordNumber);
    }
    MyCheckVoyagerConnection();
    if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
    platform::DoEvents();
    ResultSet(0);
    IsRetrieval(true);
    RunRetrievalQuery("SELECT BIB_ID FROM " + Tables.BIB_ITEM + " WHERE ITEM_ID = " + SqlQuoted(Item.RecordNumber),
                      1);
    std::string bibId = CurrentRow(1, -1);
    frame.Close();
    return bibId;
}

std::string VgerReaderClass7::ItemLocation(const std::string& sLocationNumber, int iOutput) {
    std::string code, name, display, spine;
    bool suppressed = false;
    TranslateLocationID(sLocationNumber, code, name, display, spine, suppressed);
    switch (static_cast<LocationOutput>(iOutput)) {
        case LocationOutput::Code: return code;
        case LocationOutput::Name: return name;
        case LocationOutput::Display: return display;
        case LocationOutput::Spine: return spine;
    }
    return "";
}

std::string VgerReaderClass7::ItemPermLocationCode() {
    return ItemLocation(Item.PermLocationNumber, static_cast<int>(LocationOutput::Code));
}
std::string VgerReaderClass7::ItemPermLocationName() {
    return ItemLocation(Item.PermLocationNumber, static_cast<int>(LocationOutput::Name));
}
std::string VgerReaderClass7::ItemPermLocationDisplay() {
    return ItemLocation(Item.PermLocationNumber, static_cast<int>(LocationOutput::Display));
}
std::string VgerReaderClass7::ItemPermLocationSpine() {
    return ItemLocation(Item.PermLocationNumber, static_cast<int>(LocationOutput::Spine));
}
std::string VgerReaderClass7::ItemTempLocationCode() {
    return ItemLocation(Item.TempLocationNumber, static_cast<int>(LocationOutput::Code));
}
std::string VgerReaderClass7::ItemTempLocationName() {
    return ItemLocation(Item.TempLocationNumber, static_cast<int>(LocationOutput::Name));
}
std::string VgerReaderClass7::ItemTempLocationDisplay() {
    return ItemLocation(Item.TempLocationNumber, static_cast<int>(LocationOutput::Display));
}
std::string VgerReaderClass7::ItemTempLocationSpine() {
    return ItemLocation(Item.TempLocationNumber, static_cast<int>(LocationOutput::Spine));
}

std::string VgerReaderClass7::ItemMagneticMedia() const {
    return Item.MagneticMedia.empty() ? "N" : Item.MagneticMedia;
}

std::string VgerReaderClass7::ItemSensitize() const { return Item.Sensitize.empty() ? "N" : Item.Sensitize; }

rt::DateTime VgerReaderClass7::DateFromText(const std::string& sText) {
    if (!rt::IsDate(sText)) RaiseReaderError(ReaderErrorCode::DateNotConvertible);
    return rt::CDate(sText);
}

rt::DateTime VgerReaderClass7::ItemCreateDateVB() const {
    try {
        return DateFromText(Item.CreateDate);
    } catch (const RaisedError&) {
        return rt::DateTime{};
    }
}

rt::DateTime VgerReaderClass7::ItemUpdateDateVB() const {
    try {
        return DateFromText(Item.UpdateDate);
    } catch (const RaisedError&) {
        return rt::DateTime{};
    }
}

rt::DateTime VgerReaderClass7::ItemDateLastModifiedVB() const {
    return Item.UpdateDate.empty() ? ItemCreateDateVB() : ItemUpdateDateVB();
}

void VgerReaderClass7::CopyItemObject(ItemPropertySetter& oItem) {
    struct Step {
        const char* Property;
        ItemPropertyValue Value;
        const char* NameInError;  // nullptr: a failure is ignored
    };
    auto number = [](const std::string& text) { return ItemPropertyValue(rt::Val(text)); };
    const Step steps[] = {
        {"itemID", number(Item.RecordNumber), "ItemID"},
        {"HoldingID", number(Item.HoldRecordNumber), "MfhdID"},
        {"PermLocationID", number(Item.PermLocationNumber), "PermLocationID"},
        {"ItemTypeID", number(Item.TypeID), "ItemTypeID"},
        {"TempLocationID", number(Item.TempLocationNumber), "TempLocationID"},
        {"TempTypeID", number(Item.TempTypeID), "TempTypeID"},
        {"MediaTypeID", number(Item.MediaType), "MediaTypeID"},
        {"CopyNumber", number(Item.CopyNumber), "Copy"},
        {"PieceCount", number(Item.Pieces), "PieceCount"},
        {"Price", Item.Price, "Price"},
        {"Enumeration", Item.Enum, "Enum"},
        {"Chron", Item.Chron, "Chron"},
        {"year", Item.Year, "ItemYear"},
        {"Caption", Item.Caption, "Caption"},
        {"FreeText", Item.FreeText, "FreeText"},
        {"SpineLabel", Item.SpineLabel, "SpineLabel"},
        {"AddItemToTop", ItemSequenceNewItemsAtTop_, "SequenceNewItemsAtTop"},
        {"MagneticMedia", ItemMagneticMedia(), nullptr},
        {"Sensitize", ItemSensitize(), nullptr},
    };
    for (const Step& step : steps) {
        try {
            oItem.SetProperty(step.Property, step.Value);
        } catch (...) {
            if (step.NameInError) RaiseReaderError(ReaderErrorCode::ItemObjectLacksProperty, step.NameInError);
        }
    }
}
