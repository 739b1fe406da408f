#pragma once
// VgerReaderClass7: the reader of the library system's database. It owns one
// ODBC session (VgerReaderDllClass6) and one record object for its text
// services, connects on first use, reads the database version and probes the
// stored records' character set once, and offers the caller's own queries,
// table dumps, locations, the base currency and item records (all read-only).
//
// This header is the one declaration of the class. Its members are grouped in
// commented sections by concern; each section is implemented in its own
// library_reader_*.cpp file.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "common/runtime.h"
#include "db/odbc_session.h"
#include "db/reader_errors.h"

class Utf8MarcRecordClass;
class Utf8CharClass;

// One cached LOCATION row.
struct LocationCacheEntry {
    std::string Code;
    std::string DisplayName;
    std::string Name;
    std::string Id;
    std::string SpineLabel;
    int32_t Hits = 0;
    bool SuppressedInOpac = false;
};

// One cached LIBRARY row.
struct LibraryCacheEntry {
    std::string Id;
    std::string DisplayName;
    std::string Name;
    std::string NucCode;
};

// A value that CopyItemObject sets on a caller's item object.
using ItemPropertyValue = std::variant<double, std::string, bool>;

// A caller's item object as CopyItemObject reaches it: properties set by name.
// SetProperty raises (any error) when the object has no property of that name
// or rejects the value.
class ItemPropertySetter {
public:
    virtual ~ItemPropertySetter() = default;
    virtual void SetProperty(const std::string& sName, const ItemPropertyValue& vValue) = 0;
};

class VgerReaderClass7 {
public:
    // Settings file of the reader.
    static constexpr const char* ReaderSettingsFile = "VGERREAD.INI";
    static constexpr int16_t LocationCacheSize = 25;

    // Makes the session (on the driver manager unless a test gives its own
    // table of ODBC calls), the dictionaries and the record object, and reads
    // "VGERREAD.INI". Raises what reading the settings raises (13 for a
    // DebuggingOn that is no Boolean, 380 for an empty [Login] DSN).
    explicit VgerReaderClass7(const OdbcApi& api = DriverManagerApi());
    ~VgerReaderClass7();
    VgerReaderClass7(const VgerReaderClass7&) = delete;
    VgerReaderClass7& operator=(const VgerReaderClass7&) = delete;

    // ---- construction, settings and connection (library_reader.cpp) ----

    std::string DSN() const { return DSN_; }
    void DSN(const std::string& vNewValue);
    std::string uID() const { return uID_; }
    void uID(const std::string& vNewValue);
    std::string PWD() const { return PWD_; }
    void PWD(const std::string& vNewValue);
    // Always ends in "." once set; "" until then.
    std::string TableNamePrefix() const { return TableNamePrefix_; }
    void TableNamePrefix(const std::string& vNewValue);
    bool SettingsAreAutomatic() const { return SettingsAreAutomatic_; }
    void SettingsAreAutomatic(bool vNewValue) { SettingsAreAutomatic_ = vNewValue; }
    void ReadSettings();
    void WriteSettings();
    // Ends and releases the session for good: later database work raises 91.
    void Disconnect();
    std::string Version() const;
    std::string VgerVersion();
    int16_t VgerMajorVersion();
    std::string VgerCharacterSet() const { return "U"; }
    SQLHENV EnvironmentHandle() const;
    void EnvironmentHandle(SQLHENV vNewValue);
    SQLHDBC DatabaseHandle() const;
    void DatabaseHandle(SQLHDBC vNewValue);
    bool TraceOn();
    void TraceOn(bool vNewValue);
    std::string TraceFileName();
    void TraceFileName(const std::string& vNewValue);

    // ---- queries, results and dumps (library_reader_query.cpp) ----

    int16_t ColumnCount(int16_t iResultSet);
    std::string ColumnHeaders(int16_t iResultSet);
    int16_t ResultSet();
    void ResultSet(int16_t vNewValue);
    std::string SQLString() const;
    void SQLString(const std::string& vNewValue);
    // Runs a caller's SQL on set iResultSet (0: a new set, whose number comes
    // back in iResultSet; -1: the set in force).
    void ExecuteSQL(const std::string& sSqlString, int16_t& iResultSet);
    bool GetNextRow(int16_t iResultSet);
    // CurrentRow(column, -1) of the current set, or CurrentRow(set, column).
    std::string CurrentRow(int16_t iResultSetOrColumn, int16_t iColumnNumber);
    void DumpTable(const std::string& sTableName, const std::string& sOutputFileName, int32_t lDumpTableLimit);
    void IsRetrieval(bool vNewValue);
    void BindParameter(int16_t iSequence, int16_t iInOut, int16_t iValueType, const SessionValue& vValue);
    SessionValue FetchParameter(int16_t iSequence, int16_t ixSet);
    void DumpDatabaseStructure(const std::string& sOutputFile, bool bIncludeViews);
    std::string ColumnHeader(int16_t iResultSet, int16_t iColumn);
    bool GetNextRowScroll(int16_t iResultSet, int32_t lFetchDirection, int16_t iRowsToScroll);
    int32_t RowsPerFetch();
    void RowsPerFetch(int32_t vNewValue);

    // ---- locations and base currency (library_reader_location.cpp) ----

    void TranslateLocationID(const std::string& sLocNumber, std::string& sLocCode, std::string& sLocationName,
                             std::string& sLocationDisplay, std::string& sLocSpine, bool& bSuppressedInOpac);
    void TranslateLocationCode(const std::string& sLocationCode, std::string& sLocationNumber,
                               std::string& sLocationName, std::string& sLocationDisplay,
                               std::string& sLocationSpine, bool& bSuppressedInOpac);
    std::string BaseCurrencyCountry();
    std::string BaseCurrencyCode();
    std::string BaseCurrencyName();
    int32_t BaseCurrencyDecimals();
    std::string BaseCurrencyDecimalDelimiter();

    // ---- item records (library_reader_item.cpp) ----

    std::string ItemRecordNumber() const { return Item.RecordNumber; }
    void ItemRecordNumber(const std::string& vNewValue);
    std::string ItemBarcode() const { return Item.Barcode; }
    void ItemBarcode(const std::string& vNewValue);
    void RetrieveItemRecord(const std::string& sItemRecordNumber);
    void RetrieveItemRecordByBarcode(const std::string& sItemBarcode);
    std::string ItemTempLocationCode();
    std::string ItemPermLocationDisplay();
    std::string ItemPermLocationName();
    std::string ItemPermLocationSpine();
    std::string ItemTempLocationDisplay();
    std::string ItemTempLocationName();
    std::string ItemTempLocationSpine();
    std::string ItemPermLocationCode();
    std::string ItemStatus() const { return Item.Status; }
    bool ItemBarcodeIsNumeric() const { return ItemBarcodeIsNumeric_; }
    void ItemBarcodeIsNumeric(bool vNewValue) { ItemBarcodeIsNumeric_ = vNewValue; }
    bool ItemSequenceNewItemsAtTop() const { return ItemSequenceNewItemsAtTop_; }
    void ItemSequenceNewItemsAtTop(bool vNewValue) { ItemSequenceNewItemsAtTop_ = vNewValue; }
    void CopyItemObject(ItemPropertySetter& oItem);
    rt::DateTime ItemCreateDateVB() const;
    rt::DateTime ItemUpdateDateVB() const;
    bool ItemBarcodeActive() const { return ItemBarcodeActive_; }
    std::string RetrieveBibNumberForItem(std::string sItemRecordNumber);
    rt::DateTime ItemDateLastModifiedVB() const;
    std::string ItemNote() const { return Item.Note; }
    std::string ItemMagneticMedia() const;
    void ItemMagneticMedia(const std::string& vNewValue) { Item.MagneticMedia = vNewValue; }
    std::string ItemSensitize() const;
    void ItemSensitize(const std::string& vNewValue) { Item.Sensitize = vNewValue; }
    std::string ItemTypeName();
    std::string ItemCopyNumber() const { return Item.CopyNumber; }
    std::string ItemSpineLabel() const { return Item.SpineLabel; }
    std::string ItemEnum() const { return Item.Enum; }
    std::string ItemChron() const { return Item.Chron; }
    std::string ItemYear() const { return Item.Year; }
    std::string ItemCaption() const { return Item.Caption; }
    std::string ItemPermLocationNumber() const { return Item.PermLocationNumber; }
    std::string ItemTempLocationNumber() const { return Item.TempLocationNumber; }
    std::string ItemHoldRecordNumber() const { return Item.HoldRecordNumber; }
    std::string ItemCreateDate() const { return Item.CreateDate; }
    std::string ItemUpdateDate() const { return Item.UpdateDate; }
    std::string ItemTypeID() const { return Item.TypeID; }
    std::string ItemTempTypeID() const { return Item.TempTypeID; }
    std::string ItemPieces() const { return Item.Pieces; }
    std::string ItemPrice() const { return Item.Price; }
    std::string ItemMediaType() const { return Item.MediaType; }
    std::string ItemFreeText() const { return Item.FreeText; }
    std::string ItemBibRecordNumber() const { return Item.BibRecordNumber; }
    std::string ItemCreateOperatorID() const { return Item.CreateOperatorID; }
    std::string ItemUpdateOperatorID() const { return Item.UpdateOperatorID; }

    // ---- bibliographic, authority and holdings records (library_reader_record.cpp) ----

    std::string BibRecordNumber() const { return Bib.RecordNumber; }
    void BibRecordNumber(const std::string& vNewValue);
    std::string AuthRecordNumber() const { return Auth.RecordNumber; }
    void AuthRecordNumber(const std::string& vNewValue);
    std::string HoldRecordNumber() const { return Hold.RecordNumber; }
    void HoldRecordNumber(const std::string& vNewValue);
    void RetrieveBibRecord(const std::string& sBibRecordNumber);
    void RetrieveAuthRecord(const std::string& sAuthRecordNumber);
    void RetrieveHoldRecord(const std::string& sHoldRecordNumber);
    void RetrieveOwningLibraryForBib(const std::string& sBibliographicRecordNumber, std::string& sOwningLibraryID,
                                     std::string& sOwningLibraryName, std::string& sOwningLibraryDisplayName,
                                     std::string& sOwningLibraryNucCode);
    // Record texts: one character per stored octet; empty when no record was found.
    std::string BibRecord() const { return Bib.Record; }
    std::string AuthRecord() const { return Auth.Record; }
    std::string HoldRecord() const { return Hold.Record; }
    bool BibRecordIsSuppressed() const { return Bib.IsSuppressed; }
    std::string BibOwningLibraryNumber();
    std::string BibOwningLibraryName();
    std::string BibOwningLibraryDisplayName();
    std::string BibOwningLibraryNucCode();
    std::string BibCreateDate() const { return Bib.CreateDate; }
    std::string BibCreateOperatorID() const { return Bib.CreateOperatorID; }
    std::string BibUpdateDate() const { return Bib.UpdateDate; }
    std::string BibUpdateOperatorID() const { return Bib.UpdateOperatorID; }
    std::string AuthCreateDate() const { return Auth.CreateDate; }
    std::string AuthCreateOperatorID() const { return Auth.CreateOperatorID; }
    std::string AuthUpdateDate() const { return Auth.UpdateDate; }
    std::string AuthUpdateOperatorID() const { return Auth.UpdateOperatorID; }
    std::string HoldCreateDate() const { return Hold.CreateDate; }
    std::string HoldCreateOperatorID() const { return Hold.CreateOperatorID; }
    std::string HoldUpdateDate() const { return Hold.UpdateDate; }
    std::string HoldUpdateOperatorID() const { return Hold.UpdateOperatorID; }
    std::string HoldBibRecordNumber() const { return Hold.BibRecordNumber; }
    bool HoldRecordIsMultiplyLinked() const { return Hold.IsMultiplyLinked; }
    bool HoldRecordIsSuppressed() const { return Hold.IsSuppressed; }
    std::string HoldCallNoNormalized() const { return Hold.CallNoNormalized; }
    std::string HoldCallNoDisplay() const { return Hold.CallNoDisplay; }
    std::string HoldCallNoType() const { return Hold.CallNoType; }
    // Each translates the holdings location first when its tested text is empty.
    std::string HoldLocationID();
    std::string HoldLocationCode();
    std::string HoldLocationName();
    std::string HoldLocationDisplay();
    std::string HoldLocationSpine();
    rt::DateTime BibCreateDateVB() const;
    rt::DateTime BibUpdateDateVB() const;
    rt::DateTime BibDateLastModifiedVB() const;
    rt::DateTime AuthCreateDateVB() const;
    rt::DateTime AuthUpdateDateVB() const;
    rt::DateTime AuthDateLastModifiedVB() const;
    rt::DateTime HoldCreateDateVB() const;
    rt::DateTime HoldUpdateDateVB() const;
    rt::DateTime HoldDateLastModifiedVB() const;
    int16_t LibraryCacheCount() const { return LibraryCacheCount_; }
    // Entry 1 to LibraryCacheCount; error 9 outside.
    const LibraryCacheEntry& LibraryCacheAt(int16_t iEntry) const;

    // ---- links between items, holdings and bibliographic records (library_reader_links.cpp) ----

    std::string RetrieveHoldNumberForItem(const std::string& sItemRecordNumber);
    void SearchHoldNumbersForBib(const std::string& sBibliographicRecordNumber, int16_t& iResultSet);
    void SearchItemNumbersForHold(const std::string& sHoldingsRecordNumber, int16_t& iResultSet);
    void SearchBibNumbersForHold(const std::string& sHoldingRecordNumber, int16_t& iResultSet);

    // ---- operators and cataloguing locations (library_reader_operator.cpp) ----

    std::string OperatorId() const { return OperatorId_; }
    void OperatorId(const std::string& vNewValue) { OperatorId_ = vNewValue; }
    bool OperatorBibAdd() const { return OperatorFlags[0]; }
    bool OperatorBibUpdate() const { return OperatorFlags[1]; }
    bool OperatorBibDelete() const { return OperatorFlags[2]; }
    bool OperatorHoldAdd() const { return OperatorFlags[3]; }
    bool OperatorHoldUpdate() const { return OperatorFlags[4]; }
    bool OperatorHoldDelete() const { return OperatorFlags[5]; }
    bool OperatorItemAdd() const { return OperatorFlags[6]; }
    bool OperatorItemUpdate() const { return OperatorFlags[7]; }
    bool OperatorItemDelete() const { return OperatorFlags[8]; }
    bool OperatorAuthAdd() const { return OperatorFlags[9]; }
    bool OperatorAuthUpdate() const { return OperatorFlags[10]; }
    bool OperatorAuthDelete() const { return OperatorFlags[11]; }
    // sOperatorID is left unchanged.
    void RetrieveOperatorPermissions(std::string& sOperatorID);
    std::string RetrieveOperatorCatLocations(const std::string& sOperatorID);
    std::string RetrieveOperatorCatHappeningLocations(const std::string& sOperatorID);

    // ---- state that tests look at ----

    bool DebuggingOn() const { return DebuggingOn_; }
    const std::string& DebugFileName() const { return DebugFileName_; }
    bool DatabaseTestedForUnicode() const { return DatabaseTestedForUnicode_; }
    bool TestingForUnicode() const { return TestingForUnicode_; }
    int16_t LocationCacheCount() const { return LocationCacheCount_; }
    // Entry 1 to LocationCacheCount; error 9 outside.
    const LocationCacheEntry& LocationCacheAt(int16_t iEntry) const;
    // The session; error 91 after Disconnect.
    VgerReaderDllClass6& Session() const;

private:
    // The twenty tables named with the prefix (BuildTableNames).
    struct PrefixedTableNames {
        std::string AUTH_HISTORY, AUTH_INDEX, AUTH_MASTER, AUTH_DATA, BIB_HISTORY, BIB_INDEX, BIB_ITEM, BIB_DATA,
            BIB_MASTER, BIB_MFHD, MFHD_DATA, ITEM_BARCODE, ITEM_STATUS, ITEM_STATUS_TYPE, ITEM, LIBRARY, LOCATION,
            MFHD_ITEM, MFHD_HISTORY, MFHD_MASTER;
    };

    // The current item's values, all text as the database gives them.
    struct CurrentItem {
        std::string RecordNumber, Barcode, PermLocationNumber, TempLocationNumber, CopyNumber, SpineLabel, TypeID,
            TempTypeID, Pieces, Price, MediaType, CreateDate, UpdateDate, CreateOperatorID, UpdateOperatorID,
            MagneticMedia, Sensitize, HoldRecordNumber, Enum, Chron, Year, Caption, FreeText, Status,
            BibRecordNumber, Note;
    };

    class RetrievalFrame;
    friend class RetrievalFrame;

    // construction, settings and connection
    void CheckConnection();
    void TestConnectionData();
    void MyCheckVoyagerConnection();
    void MyGetVgerVersion();
    void TestDatabaseForUnicode();
    void TestDatabaseForUnicodeSteps();
    void BuildTableNames();
    void LoadSettings();
    void SaveSettings();
    void StartDebugFile();
    void Trace(const std::string& sLine);
    Utf8MarcRecordClass& MarcRecord();
    std::shared_ptr<VgerReaderDllClass6> SessionPtr() const;
    // One query on the retrieval statement, with set 0 in force: run, set the column count, fetch the first row.
    // With traces, the three texts are traced before each of the three steps. A whole column (not 0) is read
    // whole by every fetch of this query.
    void RunRetrievalQuery(const std::string& sSql, int16_t iColumns,
                           const std::array<const char*, 3>* traces = nullptr, int16_t iWholeColumn = 0);

    // queries
    std::string EncodeSqlText(const std::string& sText);

    // locations and currency
    void LoadBaseCurrency();
    void StoreInLocationCache(const LocationCacheEntry& entry);
    LocationCacheEntry LookUpLocation(bool bById, const std::string& sKey);

    // item records
    static bool IsDigitsOnly(std::string& sText);
    void ClearItem();
    void ClearItemDetails();
    void LoadItemDetails();
    void LoadItemStatus(const std::string& sNumber, std::string& sStatus);
    void FormatItemPrice();
    std::string ItemLocation(const std::string& sLocationNumber, int iOutput);
    static rt::DateTime DateFromText(const std::string& sText);

    const std::string LineFeed = "\n";
    const std::string Tab = "\t";

    const OdbcApi& Api;
    // Shared so that a session stays alive until a call into it returns, even
    // when a handler run during one of its yields disconnects the reader.
    std::shared_ptr<VgerReaderDllClass6> VgerReaderDll;
    std::unique_ptr<Utf8MarcRecordClass> MyMarcRecord1;
    std::unique_ptr<Utf8CharClass> SqlCharacter;
    std::unordered_map<std::string, std::string> ItemStatusDescriptions;
    std::unordered_map<std::string, std::string> ItemTypeCodes;

    std::string DSN_, uID_, PWD_;
    std::string TableNamePrefix_;
    PrefixedTableNames Tables;
    bool SettingsAreAutomatic_ = true;
    bool ItemBarcodeIsNumeric_ = true;
    bool ItemSequenceNewItemsAtTop_ = false;
    bool BibHeadingIsTruncated_ = true;
    int16_t VgerMajorVersion_ = 2000;
    std::string VgerVersion_;
    bool DebuggingOn_ = false;
    std::string DebugFileName_;
    bool SessionMade = false;
    bool ConnectionDataChecked = false;
    bool VersionRead = false;
    bool DatabaseTestedForUnicode_ = false;
    bool TestingForUnicode_ = false;
    bool ExplicitSettingsCall = false;

    int16_t RememberedResultSet = 0;
    std::string LastSqlText;

    std::array<LocationCacheEntry, LocationCacheSize + 1> LocationCache;  // entries 1 to 25
    int16_t LocationCacheCount_ = 0;
    std::string BaseCurrencyCountry_, BaseCurrencyCode_, BaseCurrencyName_, BaseCurrencyDecimalDelimiter_;
    int32_t BaseCurrencyDecimals_ = 0;
    bool BaseCurrencyLoaded = false;

    // ---- records, links and operators: state ----

    // The current record of one kind and what its retrieval read.
    struct CurrentBib {
        std::string RecordNumber, Record, OwningLibraryNumber, OwningLibraryName, OwningLibraryDisplayName,
            OwningLibraryNucCode, CreateDate, CreateOperatorID, UpdateDate, UpdateOperatorID;
        bool IsSuppressed = false;
    };
    struct CurrentAuth {
        std::string RecordNumber, Record, CreateDate, CreateOperatorID, UpdateDate, UpdateOperatorID;
    };
    struct CurrentHold {
        std::string RecordNumber, Record, BibRecordNumber, LocationID, CallNoNormalized, CallNoDisplay, CallNoType,
            LocationCode, LocationName, LocationDisplay, LocationSpine, CreateDate, CreateOperatorID, UpdateDate,
            UpdateOperatorID;
        bool IsMultiplyLinked = false;
        bool IsSuppressed = false;
    };

    void ReadRecordSegments(const std::string& sDataTable, const std::string& sRecordNumber, std::string& sRecord);
    void ClearBibDetails();
    void ClearAuthDetails();
    void ClearHoldDetails();
    void LoadAuthHistory(const std::string& sAuthRecordNumber);
    void LoadHoldingsDetails(const std::string& sHoldRecordNumber);
    void ReadHistoryAction(const std::string& sSql, std::string& sDate, std::string& sOperatorID);
    void ResolveOwningLibraryNames();
    const LibraryCacheEntry* FindLibrary(const std::string& sId) const;
    void AddLibrary(const LibraryCacheEntry& entry);
    void TranslateHoldLocation();
    // The list searches' common steps 5 to 7, on the set in force.
    void RunListSearch(const std::string& sSql, int16_t iResultSetAsPassed, int16_t& iResultSet);
    void SettleOperatorId(const std::string& sOperatorID);
    std::string ReadLocationList(const std::string& sSql);

    CurrentBib Bib;
    CurrentAuth Auth;
    CurrentHold Hold;
    std::vector<LibraryCacheEntry> LibraryCache;  // entry n at index n - 1
    int16_t LibraryCacheCount_ = 0;
    std::string OperatorId_;
    std::array<bool, 12> OperatorFlags{};

    CurrentItem Item;
    bool ItemBarcodeActive_ = false;

    // ---- heading and subdivision searches (library_reader_headings.cpp) ----
public:
    // Flags of these searches: true is True (-1 to a 16-bit caller).
    std::string BibHeading() const { return BibHeading_; }
    // 380 for an empty text; the normal form is left as it is.
    void BibHeading(const std::string& vNewValue);
    std::string BibHeadingNormalized() const { return BibHeadingNormalized_; }
    bool BibHeadingIsTruncated() const { return BibHeadingIsTruncated_; }
    void BibHeadingIsTruncated(bool vNewValue) { BibHeadingIsTruncated_ = vNewValue; }
    // The INDEX_CODE list of the last heading kind chosen; kept between searches.
    std::string BibIndexCodes() const { return BibIndexCodes_; }
    // Rows BIB_ID, INDEX_CODE, NORMAL_HEADING, RAWTOHEX(DISPLAY_HEADING). An
    // empty heading searches the stored BibHeading; a tag or category word
    // that selects no kind keeps the last list (380 when there is none yet).
    void SearchBibHeading(const std::string& sBibliographicTagOrCategory, const std::string& sBibliographicIndicators,
                          const std::string& sBibliographicHeading, int16_t& iResultSet, bool bBibHeadingIsTruncated);
    // HEADING rows; code texts hold one code a character ("" or "*": all).
    void SearchHeading(const std::string& sHeading, int16_t& iResultSet, bool bHeadingIsTruncated,
                       bool bIncludeBibsToo, const std::string& sIndexTypeCodes, const std::string& sHeadingTypeCodes);
    // As SearchHeading, unordered, with no placeholder and no CHR form; iRowsPerBlock is not used.
    void SearchHeadingBlock(const std::string& sHeading, int16_t& iResultSet, bool bHeadingIsTruncated,
                            bool bIncludeBibsToo, const std::string& sIndexTypeCodes,
                            const std::string& sHeadingTypeCodes, int16_t iRowsPerBlock);
    void SearchHeadingIDAuth(const std::string& sHeadingID, int16_t& iResultSet);
    void SearchHeadingIDBib(const std::string& sHeadingID, int16_t& iResultSet);
    void SearchSubdiv(const std::string& sSubjectSystemCode, const std::string& sSubdivision, int16_t& iResultSet,
                      bool bHeadingIsTruncated, bool bIncludeBibsToo, const std::string& sSubdivisionTypeCodes);
    void SearchSubdivIDAuth(const std::string& sSubdivisionID, int16_t& iResultSet);
    void SearchSubdivIDBib(const std::string& sSubdivisionID, int16_t& iResultSet);
    // An empty flag counts as true.
    void SearchSubdivIDHeading(const std::string& sSubdivisionID, int16_t& iResultSet,
                               std::optional<bool> bIncludeBibsToo);
    // The SQL form of one-character codes: 'A' for one, ('A', 'B') for more.
    static std::string CodesToSqlList(const std::string& sCodes);

private:
    void SetBibIndexCodes(const std::string& sKind);
    // The caller's heading text decomposed, then normalized as a field of that format, tag and indicators.
    std::string NormalizeSearchText(const std::string& sFormat, const std::string& sTag,
                                    const std::string& sIndicators, const std::string& sText);
    // The HEADING condition, type clauses and reference clause of the two heading searches.
    std::string HeadingWhere(const std::string& sHeading, const std::string& sNormal, bool bChrForm,
                             bool bHeadingIsTruncated, bool bIncludeBibsToo, const std::string& sIndexTypeCodes,
                             const std::string& sHeadingTypeCodes);

    std::string BibHeading_;
    std::string BibHeadingNormalized_;
    std::string BibIndexCodes_;

    // ---- database searches: result-set argument, preparation and run (library_reader_search.cpp) ----
public:
    // The connection steps a search makes before its statement gets a set.
    enum class SearchConnectionStep : uint8_t {
        TestConnectionData,
        CheckConnection,
        MyCheckVoyagerConnection,
        TestDatabaseForUnicode,  // skipped once this reader has made the test
    };
    // How one search prepares the set its statement runs on.
    struct SearchPreparation {
        std::vector<SearchConnectionStep> ConnectionSteps;
        // Close the set's open cursor right after AssignStatementHandle.
        bool FreeCursor = false;
        // Search type given to the set right after AssignStatementHandle (none: the set keeps its type).
        std::optional<int16_t> SearchTypeAfterAssign;
    };

private:
    // A result-set argument of 0 or more makes that set current (0: a new one);
    // a negative one keeps the set in force.
    void UseResultSetArgument(int16_t iResultSet);
    // The connection steps, AssignStatementHandle (a current set of 0 or below
    // gets a new set), the search type and the extra cursor close.
    void PrepareSearchSet(const SearchPreparation& preparation);
    // Executes on the current set (closing its open cursor first), stores the
    // column labels and writes the set's number back into iResultSet when
    // iResultSetAsPassed was 0 (or below 1 with bWriteBackBelowOne).
    // searchTypeBeforeRun, when given, is set just before the execution.
    void RunSearchStatement(const std::string& sSql, int16_t iResultSetAsPassed, int16_t& iResultSet,
                            std::optional<int16_t> searchTypeBeforeRun = std::nullopt,
                            bool bWriteBackBelowOne = false);
    // PrepareSearchSet, then RunSearchStatement.
    void RunSearch(const std::string& sSql, const SearchPreparation& preparation, int16_t iResultSetAsPassed,
                   int16_t& iResultSet);

    // ---- call-number, standard-number, barcode and URL searches (library_reader_numbers.cpp) ----
public:
    // One row of the call-number type table.
    struct CallNumberTypeEntry {
        std::string Code;        // one character
        std::string SourceCode;  // classification source code, as read
    };
    // A flag that arrives as a variant: a Boolean, a number (non-zero is true)
    // or a text that rt::CBool reads (anything else raises 13).
    using VariantFlag = std::variant<bool, int32_t, std::string>;

    std::string CallNumber() const { return CallNumber_; }
    void CallNumber(const std::string& vNewValue) { CallNumber_ = vNewValue; }
    // "7" and the pending source code while one is pending, else the type code.
    std::string CallNumberType() const;
    // Maps a code, source code or word to a type code; 380 when none fits.
    void CallNumberType(const std::string& vNewValue);
    std::string CallNumberNormalized() const { return CallNumberNormalized_; }
    bool CallNumberIsTruncated() const { return CallNumberIsTruncated_; }
    void CallNumberIsTruncated(bool vNewValue) { CallNumberIsTruncated_ = vNewValue; }
    bool SearchCallNumberNative() const { return SearchCallNumberNative_; }
    void SearchCallNumberNative(bool vNewValue) { SearchCallNumberNative_ = vNewValue; }
    bool TrimSpacesFromNormalizedCallNumber() const { return TrimSpacesFromNormalizedCallNumber_; }
    void TrimSpacesFromNormalizedCallNumber(bool vNewValue) { TrimSpacesFromNormalizedCallNumber_ = vNewValue; }
    void SearchCallNumber(const std::string& sCallNumbertype, const std::string& sCallNumber, int16_t& iResultSet,
                          bool bCallNumberIsTruncated, bool bSearchCallNumberNative,
                          bool bTrimSpacesFromNormalizedCallNumber, bool bSearchBibIndexInsteadOfMfhdMaster);

    std::string StandardNumber() const { return StandardNumber_; }
    void StandardNumber(const std::string& vNewValue) { StandardNumber_ = vNewValue; }
    std::string StandardNumberTag() const { return StandardNumberTag_; }
    void StandardNumberTag(const std::string& vNewValue);
    std::string StandardNumberSubfieldCode() const { return StandardNumberSubfieldCode_; }
    void StandardNumberSubfieldCode(const std::string& vNewValue);
    std::string StandardNumberNormalized() const { return StandardNumberNormalized_; }
    bool StandardNumberIsTruncated() const { return StandardNumberIsTruncated_; }
    void StandardNumberIsTruncated(bool vNewValue) { StandardNumberIsTruncated_ = vNewValue; }
    bool DoNotNormalizeStandardNumber() const { return DoNotNormalizeStandardNumber_; }
    void DoNotNormalizeStandardNumber(bool vNewValue) { DoNotNormalizeStandardNumber_ = vNewValue; }
    void SearchStandardNumber(const std::string& sRecordType, const std::string& sStandardNumberTag,
                              const std::string& sStandardNumberSubfieldCode, const std::string& sStandardNumberText,
                              int16_t& iResultSet, bool bStandardNumberIsTruncated,
                              bool bDoNotNormalizeStandardNumber);
    void SearchAuthStandardNumber(const std::string& sStandardNumberTag, const std::string& sStandardNumberSubfieldCode,
                                  const std::string& sStandardNumber, int16_t& iResultSet,
                                  const VariantFlag& bStandardNumberIsTruncated,
                                  const VariantFlag& bDoNotNormalizeStandardNumber);
    void SearchBibStandardNumber(const std::string& sStandardNumberTag, const std::string& sStandardNumberSubfieldCode,
                                 const std::string& sStandardNumber, int16_t& iResultSet,
                                 bool bStandardNumberIsTruncated, bool bDoNotNormalizeStandardNumber);
    void SearchItemBarcode(const std::string& sItemBarcode, int16_t& iResultSet);
    void SearchBarcodesForItem(const std::string& sItemID, int16_t& iResultSet);
    void SearchUrl(const std::string& sURL, int16_t& iResultSet, const bool& bIsTruncated);

    // State that tests look at.
    const std::string& PendingSourceCode() const { return PendingSourceCode_; }
    const std::string& StandardNumberIndexCodes() const { return StandardNumberIndexCodes_; }
    int16_t CallNumberTypeCount() const { return CallNumberTypeCount_; }
    // Row 1 to CallNumberTypeCount; error 9 outside.
    const CallNumberTypeEntry& CallNumberTypeAt(int16_t iRow) const;
    bool CallNumberTypesLoaded() const { return CallNumberTypesLoaded_; }

private:
    enum class StandardNumberKind : uint8_t { Authority, Bibliographic };
    void LoadCallNumberTypes();
    void AppendCallNumberType(const CallNumberTypeEntry& entry);
    std::string IndexCodesForStandardNumber(const std::string& sRecordType, const std::string& sTag,
                                            const std::string& sSubfieldCode);
    void RunStandardNumberSearch(const std::string& sNumber, const std::string& sIndexCodes,
                                 StandardNumberKind kind, int16_t iResultSetAsPassed, int16_t& iResultSet);

    std::string CallNumber_, CallNumberTypeCode_, PendingSourceCode_, CallNumberNormalized_;
    bool CallNumberIsTruncated_ = false;
    bool SearchCallNumberNative_ = false;
    bool TrimSpacesFromNormalizedCallNumber_ = false;
    std::vector<CallNumberTypeEntry> CallNumberTypes;  // row n at index n - 1; grows in steps of 5
    int16_t CallNumberTypeCount_ = 0;
    bool CallNumberTypesLoaded_ = false;
    std::string StandardNumber_, StandardNumberTag_, StandardNumberSubfieldCode_, StandardNumberIndexCodes_,
        StandardNumberNormalized_;
    bool StandardNumberIsTruncated_ = false;
    bool DoNotNormalizeStandardNumber_ = false;
};
