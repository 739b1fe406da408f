#pragma once
// VgerReaderDllClass6: one ODBC session with the library system's database.
// It owns the environment, connection and statement handles and keeps every
// statement it has run as a numbered result set: set 0 is the session's own
// retrieval statement (the reader's look-ups), sets 1, 2, ... are made on
// demand for callers' queries and searches. A small stack saves and restores
// the set in force around the reader's look-ups.

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <variant>
#include <vector>

#include "db/odbc_api.h"

// How the session delivers some columns of a set (the reader's searches set it).
enum ResultSetSearchTypeCode : int16_t {
    SearchTypeSql = 0,
    SearchTypeBibHeading = 1,       // column 2 keeps its first 3 characters
    SearchTypeStandardNumber = 2,   // column 2 keeps 4 characters, a leading "A" reads "0"
    SearchTypeHeading = 3,          // column 4 hex-decoded, column 7 "Y" or "N"
    SearchTypeHeadingId = 4,
    SearchTypeSubdivision = 5,
    SearchTypeSubdivisionId = 6,
    SearchTypeCallNumber = 7,
};

// The session's own error numbers, added to ErrorNumber::ObjectErrorBase.
namespace SessionErrorCode {
inline constexpr int32_t StatementError = 1000;
inline constexpr int32_t StatementHandle = 1003;
inline constexpr int32_t EnvironmentHandle = 1004;
inline constexpr int32_t ConnectionHandle = 1005;  // also: binding with an invalid handle
inline constexpr int32_t Connection = 1006;
inline constexpr int32_t RetrievalStatementHandle = 1007;
inline constexpr int32_t NoSqlString = 1008;
inline constexpr int32_t CurrentRowResultSet = 1049;
inline constexpr int32_t CurrentRowColumn = 1050;
inline constexpr int32_t FetchParameterNumber = 1058;
inline constexpr int32_t FetchParameterDirection = 1059;
}  // namespace SessionErrorCode

// A value given to BindParameter or returned by FetchParameter.
using SessionValue = std::variant<std::string, int32_t>;

// One registered statement parameter. The buffers are bound to the statement,
// so an entry never moves while its statement may use it (the tables that
// hold entries are deques that only grow at the end).
struct ParameterEntry {
    bool Pending = false;
    int16_t Sequence = 0;
    int16_t Direction = 0;      // SQL_PARAM_OUTPUT (4)
    int16_t ValueType = 0;      // 1 character, 2 numeric
    int16_t SqlType = 0;        // SQL_VARCHAR (12) or SQL_NUMERIC (2)
    int16_t ColumnSize = 0;
    int16_t DecimalDigits = 0;
    SQLINTEGER NumberValue = 0;  // bound as SQL_C_SLONG
    std::array<unsigned char, 257> Bytes{};
    std::string TextValue;
    SQLLEN BufferLength = 0;
    SQLLEN Indicator = 0;
    SQLLEN FetchedLength = 0;
    SQLLEN NtsIndicator = SQL_NTS;  // length indicator of a bound character value
};

// One result set.
struct ResultSetEntry {
    SQLHSTMT Statement = SQL_NULL_HSTMT;
    std::string ColumnHeaders;
    int16_t ColumnCount = 0;
    int16_t ParameterCount = 0;
    int16_t RowsPerFetch = 0;
    std::string SqlText;
    std::array<std::string, 10> Values;  // slots 1 to 9; slot 0 unused
    std::vector<int16_t> ColumnTypes = std::vector<int16_t>(2, 0);
    int16_t SearchType = SearchTypeSql;
    bool Prepared = false;
    bool ScrollStarted = false;
    std::vector<std::string> BlockRows;  // rows 1 to BlockRowCount; entry 0 unused
    int32_t BlockRowCount = 0;
    int32_t BlockPosition = 0;  // the block row last delivered
    std::deque<ParameterEntry> Parameters;
    bool BlockAttributesSet = false;  // the statement carries block-fetch settings
    // A column read whole, over as many reads as the driver needs, where every
    // other column keeps what fits the row buffer; 0 for none. A new
    // execution on the set clears it.
    int16_t WholeColumn = 0;
};

class VgerReaderDllClass6 {
public:
    static constexpr int16_t kBlockColumns = 9;
    static constexpr int16_t kBlockRows = 25;
    static constexpr int16_t kBlockCellLength = 300;
    static constexpr SQLLEN kRowBufferLength = 2048;

    // The driver manager unless a test gives its own table of calls.
    explicit VgerReaderDllClass6(const OdbcApi& api = DriverManagerApi());
    ~VgerReaderDllClass6();
    // The driver holds pointers into the session (block buffer, row counters).
    VgerReaderDllClass6(const VgerReaderDllClass6&) = delete;
    VgerReaderDllClass6& operator=(const VgerReaderDllClass6&) = delete;

    // --- result sets, connection and statements ---
    bool CheckResultSet(int16_t icSet);
    void ConnectToVoyager();
    void ConnectToVger() { ConnectToVoyager(); }
    void AssignStatementHandle();
    std::string PWD() const { return PWD_; }
    void PWD(const std::string& vNewValue) { PWD_ = vNewValue; }
    std::string uID() const { return uID_; }
    void uID(const std::string& vNewValue) { uID_ = vNewValue; }
    std::string DSN() const { return DSN_; }
    void DSN(const std::string& vNewValue) { DSN_ = vNewValue; }
    void Disconnect();
    void DisplayResultHeaders();
    int16_t ResultSet() const { return CurrentSet; }
    void ResultSet(int16_t vNewValue);
    std::string ColumnHeaders(int16_t ixSet);
    void MyExecuteSQL(const std::string& sSqlString, SQLHSTMT lStmt, bool bCameHereFromInternalExecuteSql);
    void PopResultSet();
    void PushResultSet();
    void RealNextRow(SQLHSTMT lStmt);
    bool IsRetrieval() const { return IsRetrieval_; }
    void IsRetrieval(bool vNewValue);
    std::string SQLString() const;
    void SQLString(const std::string& vNewValue);
    void ExecuteSQL(int16_t ixSet);
    int16_t ResultSetColumns() const;
    void ResultSetColumns(int16_t vNewValue);
    // One column of the current row: CurrentRow(column), or CurrentRow(set, column),
    // which makes the set current first.
    std::string CurrentRow(int16_t iColumnOrResultSet, int16_t iColumnFromCaller = -1);
    SQLHSTMT ResultSetStatement() const;
    void ExecuteSearch() { ExecuteSQL(-1); }
    void GetNextRow(int16_t ixSet);
    int16_t ColumnCount(int16_t ixSet);
    int16_t ResultSetSearchType() const;
    void ResultSetSearchType(int16_t vNewValue);
    // The column of the current set that the next fetches read whole.
    void ResultSetWholeColumn(int16_t iColumn);
    SQLHSTMT RetrieveStatement() const { return RetrieveStatement_; }
    void FreeStatement(SQLHSTMT lStmt);
    bool TraceOn();
    void TraceOn(bool vNewValue);
    std::string TraceFileName() const { return TraceFileName_; }
    void TraceFileName(const std::string& vNewValue) { TraceFileName_ = vNewValue; }
    void ResultSetColumnDataType(int16_t iColumn, int16_t iValue);
    void BindParameter(int16_t iSequence, int16_t iInOut, int16_t iValueType, const SessionValue& vValue);
    SessionValue FetchParameter(int16_t iSequence, int16_t ixSet);
    std::string Version() const;
    SQLHENV EnvironmentHandle() const { return Environment; }
    void EnvironmentHandle(SQLHENV vNewValue);
    SQLHDBC DatabaseHandle() const { return Connection; }
    void DatabaseHandle(SQLHDBC vNewValue);
    void GetNextRowScroll(int32_t lFetchDirection, int16_t iRowsToScroll);
    int32_t RowsPerFetch() const;
    void RowsPerFetch(int32_t vNewValue);

    // --- state the tests and the reader's own code look at ---
    bool Connected() const { return Connected_; }
    const std::string& ErrorText() const { return ErrorText_; }
    int16_t SetCount() const { return SetCount_; }
    int16_t StackDepth() const { return StackDepth_; }
    int16_t StackSlots() const { return StackSlots_; }
    int16_t PendingParameterCount() const { return PendingParameterCount_; }
    int16_t PendingParameterSlots() const { return PendingParameterSlots_; }
    int16_t LowestCurrentRowSet() const { return LowestCurrentRowSet_; }
    bool HandlesLent() const { return HandlesLent_; }
    // A set's entry; error 9 for a number outside the table.
    const ResultSetEntry& ResultSetAt(int16_t ixSet) const;

private:
    void GetErrorText();
    void BindStoredParameters(SQLHSTMT lStmt);
    void CountResultColumns();
    void RealNextRowScroll(SQLHSTMT lStmt, int32_t lFetchDirection, int16_t iRowsToScroll);
    void BindBlockColumns();

    ResultSetEntry& Set(int16_t ixSet);
    ResultSetEntry& Current() { return Set(CurrentSet); }
    const ResultSetEntry& Current() const { return ResultSetAt(CurrentSet); }
    void ConnectSteps();
    void FreeOwnHandles();
    bool FetchDelivered(SQLRETURN rc, SQLHSTMT lStmt);
    void ReadColumns(SQLHSTMT lStmt);
    void NextBlockRow(SQLHSTMT lStmt);
    void CollectOutputParameters(SQLHSTMT lStmt);
    bool InvalidCursorState() const;
    void EmptyValues();

    const OdbcApi& Api;

    std::string DSN_, uID_, PWD_;
    SQLHENV Environment = SQL_NULL_HENV;
    SQLHDBC Connection = SQL_NULL_HDBC;
    SQLHSTMT RetrieveStatement_ = SQL_NULL_HSTMT;
    bool Connected_ = false;
    bool Connecting = false;  // inside ConnectToVoyager, across its yield
    bool HandlesLent_ = false;
    // The environment and connection held were allocated by the session itself
    // (also after a single lent handle was set aside), so it frees them.
    bool OwnHandles = false;
    bool IsRetrieval_ = false;
    int16_t LowestCurrentRowSet_ = 1;
    bool TraceOn_ = false;
    std::string TraceFileName_;
    std::string SQLString_;
    bool SqlStringIsNew = false;
    int16_t CurrentSet = 0;
    int16_t SetCount_ = 0;
    std::deque<ResultSetEntry> ResultSets;
    std::vector<int16_t> SetStack;
    int16_t StackDepth_ = 0;
    int16_t StackSlots_ = 0;
    bool RaiseOnInvalidSet = false;
    int16_t PendingRowsPerFetch = 0;
    std::deque<ParameterEntry> PendingParameters;
    int16_t PendingParameterCount_ = 0;
    int16_t PendingParameterSlots_ = 0;
    // Block fetch: one status per row (the driver writes 16-bit statuses), the
    // number of rows delivered, and the cells, bound column-wise.
    std::array<SQLUSMALLINT, kBlockRows> RowStatus{};
    SQLULEN RowsFetched = 0;
    std::array<std::array<std::array<char, kBlockCellLength>, kBlockRows>, kBlockColumns> BlockBuffer{};
    std::array<std::array<SQLLEN, kBlockRows>, kBlockColumns> BlockIndicators{};
    std::string ErrorText_;
    bool ErrorStateInvalidCursor = false;  // the last error texts held SQLSTATE 24000
    const std::string LineFeed = "\n";
};
