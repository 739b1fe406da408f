// VgerReaderClass7: the current bibliographic, authority and holdings records,
// read from their stored segments, with their details, and the owning library
// of a bibliographic record through the library cache.

#include <vector>

#include "common/raised_error.h"
#include "common/utli_misc_non_utf8.h"
#include "db/library_reader.h"
#include "db/library_reader_frame.h"
#include "db/sql_text.h"
#include "platform/events.h"

namespace {

// Stored segments are 990 octets in the bibliographic and authority tables
// and 300 in the holdings table; only a record's last segment is shorter.
constexpr size_t kBibAuthSegmentWidth = 990;
constexpr size_t kHoldSegmentWidth = 300;
// The segment's hexadecimal text, read whole however long a segment is.
constexpr int16_t kSegmentColumn = 1;

const std::string kHistoryUpdateEnding = " AND ACTION_TYPE_ID <> 1 ORDER BY ACTION_DATE DESC";

}  // namespace

// ---- record numbers and clearing ----

void VgerReaderClass7::BibRecordNumber(const std::string& vNewValue) {
    if (vNewValue.empty()) RaiseReaderError(ReaderErrorCode::InvalidBibRecordNumber);
    std::string number = vNewValue;
    if (!IsDigitsOnly(number)) RaiseReaderError(ReaderErrorCode::InvalidBibRecordNumberValue, number);
    ClearBibDetails();
    Bib.RecordNumber = number;
}

void VgerReaderClass7::AuthRecordNumber(const std::string& vNewValue) {
    std::string number = vNewValue;
    if (number.empty() || !IsDigitsOnly(number)) RaiseReaderError(ReaderErrorCode::InvalidAuthRecordNumber);
    ClearAuthDetails();
    Auth.RecordNumber = number;
}

void VgerReaderClass7::HoldRecordNumber(const std::string& vNewValue) {
    if (vNewValue.empty()) RaiseReaderError(ReaderErrorCode::InvalidHoldRecordNumber, LineFeed + LineFeed);
    std::string number = vNewValue;
    if (!IsDigitsOnly(number)) RaiseReaderError(ReaderErrorCode::InvalidHoldRecordNumber, LineFeed + LineFeed + number);
    ClearHoldDetails();
    Hold.RecordNumber = number;
}

void VgerReaderClass7::ClearBibDetails() {
    CurrentBib cleared;
    cleared.RecordNumber = std::move(Bib.RecordNumber);
    Bib = std::move(cleared);
}

void VgerReaderClass7::ClearAuthDetails() {
    CurrentAuth cleared;
    cleared.RecordNumber = std::move(Auth.RecordNumber);
    Auth = std::move(cleared);
}

void VgerReaderClass7::ClearHoldDetails() {
    CurrentHold cleared;
    cleared.RecordNumber = std::move(Hold.RecordNumber);
    Hold = std::move(cleared);
}

// ---- the stored segments ----

// Every segment is fetched before the first padding yield, so that a look-up
// run during a yield cannot move the retrieval statement's cursor under this
// one. The kind is taken from the table's own name, after the prefix, so that
// an owner's name such as "AUTHDB" does not decide it.
void VgerReaderClass7::ReadRecordSegments(const std::string& sDataTable, const std::string& sRecordNumber,
                                          std::string& sRecord) {
    if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
    RetrievalFrame frame(*this);
    MyCheckVoyagerConnection();
    sRecord.clear();
    const std::string tableName = rt::Left(sDataTable, static_cast<int32_t>(TableNamePrefix_.size())) ==
                                          TableNamePrefix_
                                      ? sDataTable.substr(TableNamePrefix_.size())
                                      : sDataTable;
    std::string keyColumn;
    size_t width = 0;
    if (tableName.find("MFHD") != std::string::npos) {
        keyColumn = "MFHD_ID";
        width = kHoldSegmentWidth;
    } else if (tableName.find("AUTH") != std::string::npos) {
        keyColumn = "AUTH_ID";
        width = kBibAuthSegmentWidth;
    } else if (tableName.find("BIB") != std::string::npos) {
        keyColumn = "BIB_ID";
        width = kBibAuthSegmentWidth;
    } else {
        frame.Close();
        return;
    }
    RunRetrievalQuery("SELECT RAWTOHEX(RECORD_SEGMENT), SEQNUM FROM " + sDataTable + " WHERE " + keyColumn + " = " +
                          SqlNumberText(sRecordNumber) + " ORDER BY SEQNUM",
                      2, nullptr, kSegmentColumn);
    std::vector<std::string> segments;
    auto session = SessionPtr();
    for (std::string hex = CurrentRow(1, -1); !hex.empty(); hex = CurrentRow(1, -1)) {
        segments.push_back(UtliMiscNonUtf8::HexToText(hex));
        session->RealNextRow(session->RetrieveStatement());
    }
    frame.Close();

    std::string record;
    for (const std::string& segment : segments) {
        if (!record.empty()) {
            while (record.size() % width != 0) {
                platform::DoEvents();
                record += ' ';
            }
        }
        record += segment;
    }
    sRecord = std::move(record);
}

// ---- retrievals ----

void VgerReaderClass7::RetrieveBibRecord(const std::string& sBibRecordNumber) {
    RetrievalFrame frame(*this);
    TestConnectionData();
    if (!sBibRecordNumber.empty()) BibRecordNumber(sBibRecordNumber);
    if (Bib.RecordNumber.empty()) RaiseReaderError(ReaderErrorCode::NoBibliographicRecordNumber);
    const std::string number = Bib.RecordNumber;
    ClearBibDetails();
    CheckConnection();
    std::string record;
    ReadRecordSegments(Tables.BIB_DATA, number, record);
    // A retrieval run during a padding yield may have replaced the current
    // record: this one's number, text and details are the ones left.
    ClearBibDetails();
    Bib.RecordNumber = number;
    Bib.Record = std::move(record);
    if (Bib.Record.empty()) {
        frame.Close();
        return;
    }
    const std::string bare = SqlNumberText(number);
    std::string suppress, library;
    try {
        RunRetrievalQuery("SELECT SUPPRESS_IN_OPAC, LIBRARY_ID FROM " + Tables.BIB_MASTER + " WHERE BIB_ID = " + bare,
                          2);
        suppress = CurrentRow(1, -1);
        library = CurrentRow(2, -1);
    } catch (const RaisedError&) {
        // Not reported: the record stands without its master row.
    }
    Bib.IsSuppressed = rt::Left(suppress, 1) != "N";
    Bib.OwningLibraryNumber = library;
    const std::string history = "SELECT ACTION_DATE, OPERATOR_ID FROM " + TableNamePrefix_ +
                                "BIB_HISTORY WHERE BIB_ID = " + bare;
    ReadHistoryAction(history + " AND ACTION_TYPE_ID = 1", Bib.CreateDate, Bib.CreateOperatorID);
    ReadHistoryAction(history + kHistoryUpdateEnding, Bib.UpdateDate, Bib.UpdateOperatorID);
    frame.Close();
}

// The first row's date and operator, when it has a date.
void VgerReaderClass7::ReadHistoryAction(const std::string& sSql, std::string& sDate, std::string& sOperatorID) {
    RunRetrievalQuery(sSql, 2);
    const std::string date = CurrentRow(1, -1);
    if (date.empty()) return;
    sDate = date;
    sOperatorID = CurrentRow(2, -1);
}

void VgerReaderClass7::RetrieveAuthRecord(const std::string& sAuthRecordNumber) {
    RetrievalFrame frame(*this);
    TestConnectionData();
    if (!sAuthRecordNumber.empty()) AuthRecordNumber(sAuthRecordNumber);
    if (Auth.RecordNumber.empty()) RaiseReaderError(ReaderErrorCode::NoAuthorityRecordNumber);
    const std::string number = Auth.RecordNumber;
    ClearAuthDetails();
    CheckConnection();
    std::string record;
    ReadRecordSegments(Tables.AUTH_DATA, number, record);
    ClearAuthDetails();
    Auth.RecordNumber = number;
    Auth.Record = std::move(record);
    if (!Auth.Record.empty()) LoadAuthHistory(number);
    frame.Close();
}

// A history query that fails is not reported; its values stay empty.
void VgerReaderClass7::LoadAuthHistory(const std::string& sAuthRecordNumber) {
    CheckConnection();
    MyCheckVoyagerConnection();
    if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
    RetrievalFrame frame(*this);
    const std::string history = "SELECT ACTION_DATE, OPERATOR_ID FROM " + TableNamePrefix_ +
                                "AUTH_HISTORY WHERE AUTH_ID = " + SqlNumberText(sAuthRecordNumber);
    auto read = [&](const std::string& sql, std::string& date, std::string& operatorId) {
        try {
            ReadHistoryAction(sql, date, operatorId);
        } catch (const RaisedError&) {
            // Not reported: the history stays empty.
        }
    };
    read(history + " AND ACTION_TYPE_ID = 1", Auth.CreateDate, Auth.CreateOperatorID);
    read(history + kHistoryUpdateEnding, Auth.UpdateDate, Auth.UpdateOperatorID);
    frame.Close();
}

// Called with an empty argument, the holdings details of the number in force
// are not cleared first (a record the database lacks leaves them as they were).
void VgerReaderClass7::RetrieveHoldRecord(const std::string& sHoldRecordNumber) {
    RetrievalFrame frame(*this);
    TestConnectionData();
    if (!sHoldRecordNumber.empty()) HoldRecordNumber(sHoldRecordNumber);
    if (Hold.RecordNumber.empty()) RaiseReaderError(ReaderErrorCode::NoHoldingsRecordNumber);
    const std::string number = Hold.RecordNumber;
    CheckConnection();
    std::string record;
    ReadRecordSegments(Tables.MFHD_DATA, number, record);
    if (Hold.RecordNumber != number) {
        // Another retrieval ran during a padding yield: its details go.
        ClearHoldDetails();
        Hold.RecordNumber = number;
    }
    Hold.Record = std::move(record);
    if (!Hold.Record.empty()) {
        IsRetrieval(true);
        LoadHoldingsDetails(number);
    }
    frame.Close();
}

void VgerReaderClass7::LoadHoldingsDetails(const std::string& sHoldRecordNumber) {
    if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
    TestConnectionData();
    RetrievalFrame frame(*this);
    Hold.BibRecordNumber.clear();
    MyCheckVoyagerConnection();
    const std::string quoted = SqlQuoted(sHoldRecordNumber);
    auto session = SessionPtr();

    RunRetrievalQuery("SELECT BIB_ID FROM " + Tables.BIB_MFHD + " WHERE MFHD_ID = " + quoted + " ORDER BY BIB_ID", 1);
    Hold.BibRecordNumber = CurrentRow(1, -1);
    session->RealNextRow(session->RetrieveStatement());
    Hold.IsMultiplyLinked = !CurrentRow(1, -1).empty();

    const std::string history = "SELECT ACTION_DATE, OPERATOR_ID FROM " + TableNamePrefix_ +
                                "MFHD_HISTORY WHERE MFHD_ID = " + SqlNumberText(sHoldRecordNumber);
    ReadHistoryAction(history + " AND ACTION_TYPE_ID = 1 ORDER BY ACTION_DATE", Hold.CreateDate,
                      Hold.CreateOperatorID);
    ReadHistoryAction(history + kHistoryUpdateEnding, Hold.UpdateDate, Hold.UpdateOperatorID);

    RunRetrievalQuery("SELECT T1.SUPPRESS_IN_OPAC, T1.LOCATION_ID, T1.NORMALIZED_CALL_NO, T1.DISPLAY_CALL_NO, "
                      "T1.CALL_NO_TYPE, T2.LOCATION_CODE FROM " +
                          Tables.MFHD_MASTER + " T1, " + TableNamePrefix_ + "LOCATION T2 WHERE T1.MFHD_ID = " +
                          quoted + " AND T2.LOCATION_ID = T1.LOCATION_ID",
                      6);
    Hold.IsSuppressed = rt::UCase(rt::Left(CurrentRow(1, -1), 1)) == "Y";
    Hold.LocationID = CurrentRow(2, -1);
    Hold.CallNoNormalized = CurrentRow(3, -1);
    Hold.CallNoDisplay = CurrentRow(4, -1);
    Hold.CallNoType = CurrentRow(5, -1);
    frame.Close();
    TranslateHoldLocation();
}

// ---- holdings location ----

void VgerReaderClass7::TranslateHoldLocation() {
    Hold.LocationCode.clear();
    Hold.LocationName.clear();
    Hold.LocationDisplay.clear();
    Hold.LocationSpine.clear();
    std::string code, name, display, spine;
    bool suppressed = false;
    TranslateLocationID(Hold.LocationID, code, name, display, spine, suppressed);
    Hold.LocationCode = code;
    Hold.LocationName = name;
    Hold.LocationDisplay = display;
    Hold.LocationSpine = spine;
}

std::string VgerReaderClass7::HoldLocationID() {
    if (Hold.LocationName.empty()) TranslateHoldLocation();
    return Hold.LocationID;
}
std::string VgerReaderClass7::HoldLocationCode() {
    if (Hold.LocationCode.empty()) TranslateHoldLocation();
    return Hold.LocationCode;
}
std::string VgerReaderClass7::HoldLocationName() {
    if (Hold.LocationName.empty()) TranslateHoldLocation();
    return Hold.LocationName;
}
std::string VgerReaderClass7::HoldLocationDisplay() {
    if (Hold.LocationDisplay.empty()) TranslateHoldLocation();
    return Hold.LocationDisplay;
}
std::string VgerReaderClass7::HoldLocationSpine() {
    if (Hold.LocationSpine.empty()) TranslateHoldLocation();
    return Hold.LocationSpine;
}

// ---- owning library ----

const LibraryCacheEntry& VgerReaderClass7::LibraryCacheAt(int16_t iEntry) const {
    if (iEntry < 1 || iEntry > LibraryCacheCount_) RaiseRuntimeError(ErrorNumber::SubscriptOutOfRange);
    return LibraryCache[static_cast<size_t>(iEntry - 1)];
}

const LibraryCacheEntry* VgerReaderClass7::FindLibrary(const std::string& sId) const {
    for (const LibraryCacheEntry& entry : LibraryCache) {
        if (entry.Id == sId) return &entry;
    }
    return nullptr;
}

void VgerReaderClass7::AddLibrary(const LibraryCacheEntry& entry) {
    LibraryCacheCount_ = rt::ToInt16(static_cast<int64_t>(LibraryCacheCount_) + 1);
    LibraryCache.push_back(entry);
}

// The number comes from BIB_MASTER when none is in force; the names of the
// number in force from the cache, or from LIBRARY on a miss.
void VgerReaderClass7::ResolveOwningLibraryNames() {
    if (Bib.OwningLibraryNumber.empty()) {
        if (Bib.RecordNumber.empty()) RaiseReaderError(ReaderErrorCode::NoBibliographicRecordNumber);
        if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
        RetrievalFrame frame(*this);
        MyCheckVoyagerConnection();
        RunRetrievalQuery("SELECT LIBRARY_ID FROM " + Tables.BIB_MASTER + " WHERE BIB_ID = " +
                              SqlNumberText(Bib.RecordNumber),
                          1);
        Bib.OwningLibraryNumber = CurrentRow(1, -1);
        frame.Close();
    }
    const std::string number = Bib.OwningLibraryNumber;
    if (number.empty()) return;
    if (!Bib.OwningLibraryName.empty() || !Bib.OwningLibraryDisplayName.empty() ||
        !Bib.OwningLibraryNucCode.empty())
        return;
    if (const LibraryCacheEntry* known = FindLibrary(number)) {
        Bib.OwningLibraryName = known->Name;
        Bib.OwningLibraryDisplayName = known->DisplayName;
        Bib.OwningLibraryNucCode = known->NucCode;
        return;
    }
    if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
    RetrievalFrame frame(*this);
    MyCheckVoyagerConnection();
    RunRetrievalQuery("SELECT LIBRARY_NAME, LIBRARY_DISPLAY_NAME, NUC_CODE FROM " + Tables.LIBRARY +
                          " WHERE LIBRARY_ID = " + SqlQuoted(number),
                      3);
    LibraryCacheEntry found{number, CurrentRow(2, -1), CurrentRow(1, -1), CurrentRow(3, -1)};
    frame.Close();
    Bib.OwningLibraryName = found.Name;
    Bib.OwningLibraryDisplayName = found.DisplayName;
    Bib.OwningLibraryNucCode = found.NucCode;
    AddLibrary(found);
}

std::string VgerReaderClass7::BibOwningLibraryNumber() {
    if (Bib.OwningLibraryNumber.empty() || (Bib.OwningLibraryName.empty() && Bib.OwningLibraryDisplayName.empty() &&
                                            Bib.OwningLibraryNucCode.empty()))
        ResolveOwningLibraryNames();
    return Bib.OwningLibraryNumber;
}
std::string VgerReaderClass7::BibOwningLibraryName() {
    if (Bib.OwningLibraryName.empty()) ResolveOwningLibraryNames();
    return Bib.OwningLibraryName;
}
std::string VgerReaderClass7::BibOwningLibraryDisplayName() {
    if (Bib.OwningLibraryDisplayName.empty()) ResolveOwningLibraryNames();
    return Bib.OwningLibraryDisplayName;
}
std::string VgerReaderClass7::BibOwningLibraryNucCode() {
    if (Bib.OwningLibraryNucCode.empty()) ResolveOwningLibraryNames();
    return Bib.OwningLibraryNucCode;
}

void VgerReaderClass7::RetrieveOwningLibraryForBib(const std::string& sBibliographicRecordNumber,
                                                   std::string& sOwningLibraryID, std::string& sOwningLibraryName,
                                                   std::string& sOwningLibraryDisplayName,
                                                   std::string& sOwningLibraryNucCode) {
    RetrievalFrame frame(*this);
    if (sBibliographicRecordNumber.empty()) RaiseReaderError(ReaderErrorCode::NoBibliographicRecordNumber);
    std::string number = sBibliographicRecordNumber;
    if (!IsDigitsOnly(number)) RaiseReaderError(ReaderErrorCode::InvalidBibRecordNumberValue, number);
    TestConnectionData();
    CheckConnection();
    sOwningLibraryID.clear();
    sOwningLibraryName.clear();
    sOwningLibraryDisplayName.clear();
    sOwningLibraryNucCode.clear();
    if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
    MyCheckVoyagerConnection();
    RunRetrievalQuery("SELECT LIBRARY_ID FROM " + Tables.BIB_MASTER + " WHERE BIB_ID = " + number, 1);
    const std::string id = CurrentRow(1, -1);
    sOwningLibraryID = id;
    if (id.empty()) {
        frame.Close();
        return;
    }
    if (const LibraryCacheEntry* known = FindLibrary(id)) {
        sOwningLibraryDisplayName = known->DisplayName;
        sOwningLibraryName = known->Name;
        sOwningLibraryNucCode = known->NucCode;
        frame.Close();
        return;
    }
    RunRetrievalQuery("SELECT LIBRARY_NAME, LIBRARY_DISPLAY_NAME, NUC_CODE FROM " + Tables.LIBRARY +
                          " WHERE LIBRARY_ID = " + SqlNumberText(id),
                      3);
    const LibraryCacheEntry found{id, CurrentRow(2, -1), CurrentRow(1, -1), CurrentRow(3, -1)};
    frame.Close();
    sOwningLibraryName = found.Name;
    sOwningLibraryDisplayName = found.DisplayName;
    sOwningLibraryNucCode = found.NucCode;
    AddLibrary(found);
}

// ---- dates ----

namespace {
template <typename Convert>
rt::DateTime DateOrZero(const std::string& sText, Convert convert) {
    try {
        return convert(sText);
    } catch (const RaisedError&) {
        return rt::DateTime{};
    }
}
}  // namespace

rt::DateTime VgerReaderClass7::BibCreateDateVB() const { return DateOrZero(Bib.CreateDate, DateFromText); }
rt::DateTime VgerReaderClass7::BibUpdateDateVB() const { return DateOrZero(Bib.UpdateDate, DateFromText); }
rt::DateTime VgerReaderClass7::BibDateLastModifiedVB() const {
    return Bib.UpdateDate.empty() ? BibCreateDateVB() : BibUpdateDateVB();
}
rt::DateTime VgerReaderClass7::AuthCreateDateVB() const { return DateOrZero(Auth.CreateDate, DateFromText); }
rt::DateTime VgerReaderClass7::AuthUpdateDateVB() const { return DateOrZero(Auth.UpdateDate, DateFromText); }
rt::DateTime VgerReaderClass7::AuthDateLastModifiedVB() const {
    return Auth.UpdateDate.empty() ? AuthCreateDateVB() : AuthUpdateDateVB();
}
rt::DateTime VgerReaderClass7::HoldCreateDateVB() const { return DateOrZero(Hold.CreateDate, DateFromText); }
rt::DateTime VgerReaderClass7::HoldUpdateDateVB() const { return DateOrZero(Hold.UpdateDate, DateFromText); }
rt::DateTime VgerReaderClass7::HoldDateLastModifiedVB() const {
    return Hold.UpdateDate.empty() ? HoldCreateDateVB() : HoldUpdateDateVB();
}
