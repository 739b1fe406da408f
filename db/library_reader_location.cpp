// VgerReaderClass7: locations with their cache of 25 entries, and the base currency.

#include "common/raised_error.h"
#include "db/library_reader.h"
#include "db/library_reader_frame.h"
#include "db/sql_text.h"

namespace {

// The outputs of a translation: sOther receives the code (of a location
// looked up by id) or the id (of one looked up by code).
void DeliverLocation(const LocationCacheEntry& location, bool bById, std::string& sOther, std::string& sName,
                     std::string& sDisplay, std::string& sSpine, bool& bSuppressed) {
    sOther = bById ? location.Code : location.Id;
    sDisplay = location.DisplayName;
    sName = location.Name;
    sSpine = location.SpineLabel;
    bSuppressed = location.SuppressedInOpac;
}

}  // namespace

const LocationCacheEntry& VgerReaderClass7::LocationCacheAt(int16_t iEntry) const {
    if (iEntry < 1 || iEntry > LocationCacheCount_) RaiseRuntimeError(ErrorNumber::SubscriptOutOfRange);
    return LocationCache[static_cast<size_t>(iEntry)];
}

// A new location is appended while there is room; then the first entry with
// at most 1 hit is overwritten, else the first with at most 2, else at most 3;
// when every entry has 4 hits or more the location is not stored.
void VgerReaderClass7::StoreInLocationCache(const LocationCacheEntry& entry) {
    LocationCacheEntry stored = entry;
    stored.Hits = 1;
    if (LocationCacheCount_ < LocationCacheSize) {
        ++LocationCacheCount_;
        LocationCache[static_cast<size_t>(LocationCacheCount_)] = stored;
        return;
    }
    for (int32_t threshold = 1; threshold <= 3; ++threshold) {
        for (int16_t i = 1; i <= LocationCacheCount_; ++i) {
            if (LocationCache[static_cast<size_t>(i)].Hits <= threshold) {
                LocationCache[static_cast<size_t>(i)] = stored;
                return;
            }
        }
    }
}

// The location with that id (or code): from the cache when it holds it (one
// more hit), else from LOCATION, stored by the rule above. Runs inside the
// look-up frame.
LocationCacheEntry VgerReaderClass7::LookUpLocation(bool bById, const std::string& sKey) {
    for (int16_t i = 1; i <= LocationCacheCount_; ++i) {
        LocationCacheEntry& entry = LocationCache[static_cast<size_t>(i)];
        if ((bById ? entry.Id : entry.Code) == sKey) {
            ++entry.Hits;
            return entry;
        }
    }
    if (bById) {
        CheckConnection();
        MyCheckVoyagerConnection();
    }
    const char* keyColumn = bById ? "LOCATION_CODE" : "LOCATION_ID";
    const char* whereColumn = bById ? "LOCATION_ID" : "LOCATION_CODE";
    RunRetrievalQuery(std::string("SELECT ") + keyColumn +
                          ", LOCATION_DISPLAY_NAME, LOCATION_NAME, LOCATION_SPINE_LABEL, SUPPRESS_IN_OPAC FROM " +
                          Tables.LOCATION + " WHERE " + whereColumn + " = " + SqlQuoted(sKey),
                      5);
    LocationCacheEntry found;
    (bById ? found.Id : found.Code) = sKey;
    (bById ? found.Code : found.Id) = CurrentRow(1, -1);
    found.DisplayName = CurrentRow(2, -1);
    found.Name = CurrentRow(3, -1);
    found.SpineLabel = CurrentRow(4, -1);
    found.SuppressedInOpac = CurrentRow(5, -1) == "Y";
    StoreInLocationCache(found);
    return found;
}

void VgerReaderClass7::TranslateLocationID(const std::string& sLocNumber, std::string& sLocCode,
                                           std::string& sLocationName, std::string& sLocationDisplay,
                                           std::string& sLocSpine, bool& bSuppressedInOpac) {
    const std::string number = sLocNumber;  // an output may be the caller's same variable
    sLocCode.clear();
    sLocationName.clear();
    sLocationDisplay.clear();
    sLocSpine.clear();
    bSuppressedInOpac = false;
    if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
    TestConnectionData();
    RetrievalFrame frame(*this);
    if (number.empty()) RaiseReaderError(ReaderErrorCode::NoLocationID);
    const LocationCacheEntry location = LookUpLocation(true, number);
    frame.Close();
    DeliverLocation(location, true, sLocCode, sLocationName, sLocationDisplay, sLocSpine, bSuppressedInOpac);
}

void VgerReaderClass7::TranslateLocationCode(const std::string& sLocationCode, std::string& sLocationNumber,
                                             std::string& sLocationName, std::string& sLocationDisplay,
                                             std::string& sLocationSpine, bool& bSuppressedInOpac) {
    const std::string code = sLocationCode;
    if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
    CheckConnection();
    TestConnectionData();
    RetrievalFrame frame(*this);
    MyCheckVoyagerConnection();
    if (code.empty()) RaiseReaderError(ReaderErrorCode::NoLocationCode);
    const LocationCacheEntry location = LookUpLocation(false, code);
    frame.Close();
    DeliverLocation(location, false, sLocationNumber, sLocationName, sLocationDisplay, sLocationSpine,
                    bSuppressedInOpac);
}

void VgerReaderClass7::LoadBaseCurrency() {
    if (BaseCurrencyLoaded) return;
    if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
    RetrievalFrame frame(*this);
    MyCheckVoyagerConnection();
    RunRetrievalQuery("SELECT BASE_COUNTRY_NAME, BASE_CURRENCY_CODE, BASE_CURRENCY_NAME, BASE_DECIMALS, "
                      "DECIMAL_DELIMITER FROM " +
                          TableNamePrefix_ + "BASE_CURRENCY",
                      5);
    BaseCurrencyCountry_ = CurrentRow(1, -1);
    BaseCurrencyCode_ = CurrentRow(2, -1);
    BaseCurrencyName_ = CurrentRow(3, -1);
    BaseCurrencyDecimals_ = rt::CLng(rt::Val(CurrentRow(4, -1)));
    BaseCurrencyDecimalDelimiter_ = CurrentRow(5, -1);
    BaseCurrencyLoaded = true;
    frame.Close();
}

std::string VgerReaderClass7::BaseCurrencyCountry() {
    LoadBaseCurrency();
    return BaseCurrencyCountry_;
}

std::string VgerReaderClass7::BaseCurrencyCode() {
    LoadBaseCurrency();
    return BaseCurrencyCode_;
}

std::string VgerReaderClass7::BaseCurrencyName() {
    LoadBaseCurrency();
    return BaseCurrencyName_;
}

int32_t VgerReaderClass7::BaseCurrencyDecimals() {
    LoadBaseCurrency();
    return BaseCurrencyDecimals_;
}

std::string VgerReaderClass7::BaseCurrencyDecimalDelimiter() {
    LoadBaseCurrency();
    return BaseCurrencyDecimalDelimiter_;
}
