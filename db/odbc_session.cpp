#include "db/odbc_session.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include "common/raised_error.h"
#include "common/runtime.h"
#include "common/utli_misc_non_utf8.h"
#include "platform/events.h"
#include "platform/paths.h"
#include "platform/version.h"
#include "common/flag_guard.h"

namespace {

const std::string kSource = "VgerReadDLL";
// A driver that never removes the messages it returns must not hold the
// session in GetErrorText: each handle gives at most this many.
constexpr int kMaxErrorRecordsPerHandle = 64;
constexpr SQLLEN kLongestValue = VgerReaderDllClass6::kRowBufferLength - 1;

[[noreturn]] void RaiseSession(int32_t code, const std::string& text, const std::string& source = kSource) {
    throw RaisedError(ErrorNumber::ObjectErrorBase + code, source, text);
}

[[noreturn]] void RaiseInvalidValue(const std::string& text) {
    throw RaisedError(ErrorNumber::InvalidPropertyValue, kSource, text);
}

// A number's decimal digits, "-" in front of a negative one.
std::string PlainText(int64_t value) { return rt::Str(value); }
// The same with a blank in front of a number of 0 or more.
std::string SignedText(int64_t value) { return (value >= 0 ? " " : "") + rt::Str(value); }

bool Succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

// The number of a handle as the messages show it.
int64_t HandleNumber(SQLHANDLE handle) { return static_cast<int64_t>(reinterpret_cast<intptr_t>(handle)); }

SQLSMALLINT TextLength16(const std::string& text) { return rt::ToInt16(static_cast<int64_t>(text.size())); }

SQLINTEGER TextLength32(const std::string& text) {
    if (text.size() > static_cast<size_t>(std::numeric_limits<SQLINTEGER>::max()))
        RaiseRuntimeError(ErrorNumber::Overflow, kSource);
    return static_cast<SQLINTEGER>(text.size());
}
}  // namespace

VgerReaderDllClass6::VgerReaderDllClass6(const OdbcApi& api) : Api(api) {
    IsRetrieval(false);
    ResultSets.emplace_back();
}

VgerReaderDllClass6::~VgerReaderDllClass6() {
    try {
        if (!HandlesLent_ || OwnHandles) {
            Disconnect();
        } else {
            // The owner keeps its environment and connection; the statements
            // are the session's own and point into it, so they go with it.
            for (ResultSetEntry& set : ResultSets)
                if (set.Statement != SQL_NULL_HSTMT) Api.FreeStmt(set.Statement, SQL_DROP);
        }
    } catch (...) {
        // Nothing may leave a destructor.
    }
}

// --- result sets --------------------------------------------------------------

ResultSetEntry& VgerReaderDllClass6::Set(int16_t ixSet) {
    if (ixSet < 0 || static_cast<size_t>(ixSet) >= ResultSets.size())
        RaiseRuntimeError(ErrorNumber::SubscriptOutOfRange, kSource);
    return ResultSets[static_cast<size_t>(ixSet)];
}

const ResultSetEntry& VgerReaderDllClass6::ResultSetAt(int16_t ixSet) const {
    if (ixSet < 0 || static_cast<size_t>(ixSet) >= ResultSets.size())
        RaiseRuntimeError(ErrorNumber::SubscriptOutOfRange, kSource);
    return ResultSets[static_cast<size_t>(ixSet)];
}

bool VgerReaderDllClass6::CheckResultSet(int16_t icSet) {
    if (icSet >= 0 && icSet <= SetCount_) {
        RaiseOnInvalidSet = false;
        return true;
    }
    if (RaiseOnInvalidSet) RaiseInvalidValue("Invalid value for ResultSet property (" + PlainText(icSet) + ")");
    return false;
}

void VgerReaderDllClass6::ResultSet(int16_t vNewValue) {
    RaiseOnInvalidSet = true;
    CheckResultSet(vNewValue);
    CurrentSet = vNewValue;
}

void VgerReaderDllClass6::IsRetrieval(bool vNewValue) {
    IsRetrieval_ = vNewValue;
    LowestCurrentRowSet_ = vNewValue ? 0 : 1;
}

std::string VgerReaderDllClass6::SQLString() const { return Current().SqlText; }

void VgerReaderDllClass6::SQLString(const std::string& vNewValue) {
    SQLString_ = vNewValue;
    SqlStringIsNew = true;
}

int16_t VgerReaderDllClass6::ResultSetColumns() const { return Current().ColumnCount; }

void VgerReaderDllClass6::ResultSetColumns(int16_t vNewValue) { Current().ColumnCount = vNewValue; }

SQLHSTMT VgerReaderDllClass6::ResultSetStatement() const { return Current().Statement; }

int16_t VgerReaderDllClass6::ResultSetSearchType() const { return Current().SearchType; }

void VgerReaderDllClass6::ResultSetSearchType(int16_t vNewValue) { Current().SearchType = vNewValue; }

void VgerReaderDllClass6::ResultSetWholeColumn(int16_t iColumn) { Current().WholeColumn = iColumn; }

int16_t VgerReaderDllClass6::ColumnCount(int16_t ixSet) {
    const int16_t set = ixSet < 1 ? CurrentSet : ixSet;
    RaiseOnInvalidSet = true;
    CheckResultSet(set);
    return Set(set).ColumnCount;
}

std::string VgerReaderDllClass6::ColumnHeaders(int16_t ixSet) {
    const int16_t set = ixSet < 1 ? CurrentSet : ixSet;
    RaiseOnInvalidSet = true;
    CheckResultSet(set);
    // The labels are built for the set in force, which need not be the one asked for.
    if (Set(set).ColumnHeaders.empty()) DisplayResultHeaders();
    return Set(set).ColumnHeaders;
}

void VgerReaderDllClass6::ResultSetColumnDataType(int16_t iColumn, int16_t iValue) {
    ResultSetEntry& set = Current();
    if (iColumn < 0) RaiseRuntimeError(ErrorNumber::SubscriptOutOfRange, kSource);
    if (set.ColumnTypes.size() <= static_cast<size_t>(iColumn)) set.ColumnTypes.resize(static_cast<size_t>(iColumn) + 1, 0);
    set.ColumnTypes[static_cast<size_t>(iColumn)] = iValue;
}

int32_t VgerReaderDllClass6::RowsPerFetch() const { return CurrentSet < 1 ? 0 : Current().RowsPerFetch; }

void VgerReaderDllClass6::RowsPerFetch(int32_t vNewValue) { PendingRowsPerFetch = rt::ToInt16(vNewValue); }

void VgerReaderDllClass6::PushResultSet() {
    const int16_t depth = rt::ToInt16(static_cast<int64_t>(StackDepth_) + 1);
    if (depth > StackSlots_) {
        const int16_t slots = rt::ToInt16(static_cast<int64_t>(StackSlots_) + 10);
        SetStack.resize(static_cast<size_t>(slots) + 1, 0);
        StackSlots_ = slots;
    }
    StackDepth_ = depth;
    SetStack.at(static_cast<size_t>(depth)) = CurrentSet;
}

void VgerReaderDllClass6::PopResultSet() {
    // Index 0, which no push fills, holds 0: one unmatched pop makes set 0
    // current; a second one finds no index -1.
    if (StackDepth_ < 0 || static_cast<size_t>(StackDepth_) >= SetStack.size())
        RaiseRuntimeError(ErrorNumber::SubscriptOutOfRange, kSource);
    ResultSet(SetStack[static_cast<size_t>(StackDepth_)]);
    StackDepth_ = static_cast<int16_t>(StackDepth_ - 1);
}

// --- connection -------------------------------------------------------------------

void VgerReaderDllClass6::EnvironmentHandle(SQLHENV vNewValue) {
    if (Environment != SQL_NULL_HENV || vNewValue == SQL_NULL_HENV) return;
    Environment = vNewValue;
    HandlesLent_ = true;
}

void VgerReaderDllClass6::DatabaseHandle(SQLHDBC vNewValue) {
    if (Connection != SQL_NULL_HDBC || vNewValue == SQL_NULL_HDBC) return;
    Connection = vNewValue;
    HandlesLent_ = true;
}

bool VgerReaderDllClass6::TraceOn() {
    if (TraceFileName_.empty()) TraceFileName_ = "c:\\temp\\log.log";
    return TraceOn_;
}

void VgerReaderDllClass6::TraceOn(bool vNewValue) {
    TraceOn_ = vNewValue;
    if (!vNewValue) Api.SetConnectOption(Connection, SQL_OPT_TRACE, SQL_OPT_TRACE_OFF);
}

std::string VgerReaderDllClass6::Version() const {
    const platform::ProgramVersion version;
    return PlainText(version.Major) + "." + PlainText(version.Minor) + "." + PlainText(version.Revision);
}

void VgerReaderDllClass6::ConnectToVoyager() {
    if (Connected_) return;
    // A window event handled during the yield below must not connect the
    // half-open session a second time.
    if (Connecting)
        RaiseSession(SessionErrorCode::Connection, "Could not establish a database connection to " + DSN_ + LineFeed +
                                                       LineFeed + "The connection is still being opened");
    FlagGuard connecting(Connecting);

    // Both handles held (lent, or left by an attempt that failed at the
    // retrieval statement): only the retrieval statement is missing.
    if (Environment == SQL_NULL_HENV || Connection == SQL_NULL_HDBC) ConnectSteps();

    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (!Succeeded(Api.AllocStmt(Connection, &statement)))
        RaiseSession(SessionErrorCode::RetrievalStatementHandle, "Could not allocate a 'retrieval' statement handle");
    RetrieveStatement_ = statement;
    Set(0).Statement = statement;
    Connected_ = true;
}

// Environment, trace options, connection handle, the yield and SQLConnect.
void VgerReaderDllClass6::ConnectSteps() {
    // A single handle held is not used (a lent environment without a lent connection).
    Environment = SQL_NULL_HENV;
    Connection = SQL_NULL_HDBC;

    SQLHENV environment = SQL_NULL_HENV;
    if (!Succeeded(Api.AllocEnv(&environment)))
        RaiseSession(SessionErrorCode::EnvironmentHandle, "Could not allocate an environment handle");
    Environment = environment;
    OwnHandles = true;

    if (TraceOn_ && !TraceFileName_.empty()) {
        const std::string traceFile = platform::MapWindowsPath(TraceFileName_);
        Api.SetConnectOption(SQL_NULL_HDBC, SQL_OPT_TRACEFILE,
                             static_cast<SQLULEN>(reinterpret_cast<uintptr_t>(traceFile.c_str())));
        Api.SetConnectOption(SQL_NULL_HDBC, SQL_OPT_TRACE, SQL_OPT_TRACE_ON);
    }

    SQLHDBC connection = SQL_NULL_HDBC;
    if (!Succeeded(Api.AllocConnect(Environment, &connection))) {
        Api.FreeEnv(Environment);
        Environment = SQL_NULL_HENV;
        RaiseSession(SessionErrorCode::ConnectionHandle, "Could not allocate a connection handle");
    }
    Connection = connection;

    try {
        platform::DoEvents();
    } catch (...) {
        FreeOwnHandles();
        throw;
    }

    std::string dsn = DSN_, user = uID_, password = PWD_;
    const SQLRETURN rc = Api.Connect(Connection, reinterpret_cast<SQLCHAR*>(dsn.data()), TextLength16(dsn),
                                     reinterpret_cast<SQLCHAR*>(user.data()), TextLength16(user),
                                     reinterpret_cast<SQLCHAR*>(password.data()), TextLength16(password));
    if (!Succeeded(rc)) {
        GetErrorText();
        FreeOwnHandles();
        RaiseSession(SessionErrorCode::Connection, "Could not establish a database connection to " + DSN_ + LineFeed +
                                                       LineFeed + ErrorText_ + LineFeed + SignedText(rc));
    }

    if (!TraceOn_) Api.SetConnectOption(Connection, SQL_OPT_TRACE, SQL_OPT_TRACE_OFF);
}

// Frees and forgets a connection handle and environment the session allocated itself.
void VgerReaderDllClass6::FreeOwnHandles() {
    if (Connection != SQL_NULL_HDBC) Api.FreeConnect(Connection);
    if (Environment != SQL_NULL_HENV) Api.FreeEnv(Environment);
    Connection = SQL_NULL_HDBC;
    Environment = SQL_NULL_HENV;
    OwnHandles = false;
}

void VgerReaderDllClass6::Disconnect() {
    // The owner keeps the life of handles it lent; a session that set a single
    // lent handle aside and connected on its own frees what it allocated.
    if (HandlesLent_ && !OwnHandles) return;
    // Called from an event handled during the connection's yield: the outer
    // call still uses the handles.
    if (Connecting) return;
    // Handles are held without a finished connection when the retrieval
    // statement could not be allocated; they are released as well.
    if (!Connected_ && Environment == SQL_NULL_HENV && Connection == SQL_NULL_HDBC) return;

    for (int16_t set = 0; set <= SetCount_; ++set) {
        ResultSetEntry& entry = Set(set);
        if (entry.Statement != SQL_NULL_HSTMT) {
            Api.FreeStmt(entry.Statement, SQL_CLOSE);
            Api.FreeStmt(entry.Statement, SQL_DROP);
        }
        entry.Statement = SQL_NULL_HSTMT;
    }
    RetrieveStatement_ = SQL_NULL_HSTMT;
    SetCount_ = 0;
    ResultSets.clear();
    ResultSets.emplace_back();

    if (Connection != SQL_NULL_HDBC) {
        Api.Disconnect(Connection);
        Api.FreeConnect(Connection);
    }
    if (Environment != SQL_NULL_HENV) Api.FreeEnv(Environment);
    Connection = SQL_NULL_HDBC;
    Environment = SQL_NULL_HENV;
    OwnHandles = false;
    Connected_ = false;
}

// --- statements ---------------------------------------------------------------------

void VgerReaderDllClass6::AssignStatementHandle() {
    if (CurrentSet >= 1) return;  // an existing set keeps its statement
    const int16_t number = rt::ToInt16(static_cast<int64_t>(SetCount_) + 1);
    SetCount_ = number;
    ResultSets.resize(static_cast<size_t>(number) + 1);
    ResultSets[static_cast<size_t>(number)] = ResultSetEntry{};
    ResultSet(number);

    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (!Succeeded(Api.AllocStmt(Connection, &statement)))
        RaiseSession(SessionErrorCode::StatementHandle,
                     "Could not allocate a statement handle for set " + PlainText(number));
    ResultSetEntry& entry = Set(number);
    entry.SearchType = SearchTypeSql;
    entry.Statement = statement;
}

void VgerReaderDllClass6::FreeStatement(SQLHSTMT lStmt) { Api.FreeStmt(lStmt, SQL_CLOSE); }

void VgerReaderDllClass6::ExecuteSQL(int16_t ixSet) {
    if (SQLString_.empty()) RaiseSession(SessionErrorCode::NoSqlString, "No SQLString supplied");
    ConnectToVoyager();
    if (ixSet >= 0) ResultSet(ixSet);
    AssignStatementHandle();

    ResultSetEntry& set = Current();
    set.SqlText = SQLString_;
    set.ScrollStarted = false;
    set.BlockRows.clear();
    set.BlockRowCount = 0;
    set.RowsPerFetch = PendingRowsPerFetch;
    PendingRowsPerFetch = 0;

    Api.FreeStmt(set.Statement, SQL_CLOSE);
    Api.FreeStmt(set.Statement, SQL_RESET_PARAMS);
    if (set.BlockAttributesSet) Api.FreeStmt(set.Statement, SQL_UNBIND);
    if (set.RowsPerFetch > 0) {
        // The block buffer holds 25 rows; a larger request is fetched 25 rows at a time.
        const SQLULEN rows = static_cast<SQLULEN>(std::min<int16_t>(set.RowsPerFetch, kBlockRows));
        Api.SetStmtAttr(set.Statement, SQL_ATTR_ROW_BIND_TYPE, reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0);
        Api.SetStmtAttr(set.Statement, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(rows), 0);
        RowStatus.fill(0);
        Api.SetStmtAttr(set.Statement, SQL_ATTR_ROW_STATUS_PTR, RowStatus.data(), 0);
        Api.SetStmtAttr(set.Statement, SQL_ATTR_ROWS_FETCHED_PTR, &RowsFetched, 0);
        set.BlockAttributesSet = true;
    } else if (set.BlockAttributesSet) {
        // Run without rows per fetch: the statement goes back to one row at a time.
        Api.SetStmtAttr(set.Statement, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN{1}), 0);
        Api.SetStmtAttr(set.Statement, SQL_ATTR_ROW_STATUS_PTR, nullptr, 0);
        Api.SetStmtAttr(set.Statement, SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
        set.BlockAttributesSet = false;
    }
    RowsFetched = 0;

    if (PendingParameterCount_ > 0) {
        if (SqlStringIsNew) {
            set.Prepared = true;
            std::string text = set.SqlText;
            Api.Prepare(set.Statement, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS);
        }
        set.ParameterCount = PendingParameterCount_;
        const size_t slots = static_cast<size_t>(PendingParameterSlots_);
        if (set.Parameters.size() < slots + 1) set.Parameters.resize(slots + 1);
        for (size_t i = 1; i <= slots; ++i) set.Parameters[i] = PendingParameters[i];
        for (size_t i = 1; i <= slots; ++i) PendingParameters[i].Pending = false;
        PendingParameterCount_ = 0;
        if (set.Statement == SQL_NULL_HSTMT) {
            set.ColumnCount = 0;
            set.ColumnHeaders.clear();
            return;
        }
    } else if (SqlStringIsNew && set.ParameterCount == 0) {
        set.Prepared = false;
    }

    SqlStringIsNew = false;
    MyExecuteSQL(SQLString_, set.Statement, true);
}

void VgerReaderDllClass6::MyExecuteSQL(const std::string& sSqlString, SQLHSTMT lStmt,
                                       bool bCameHereFromInternalExecuteSql) {
    if (sSqlString.empty()) RaiseSession(SessionErrorCode::NoSqlString, "No SQLString supplied");
    // The statement belongs to the set in force (the callers make it current):
    // a new execution starts its block cache and scrolling afresh.
    ResultSetEntry& set = Current();
    set.BlockPosition = 0;
    set.BlockRows.clear();
    set.BlockRowCount = 0;
    set.ScrollStarted = false;
    set.WholeColumn = 0;
    if (!bCameHereFromInternalExecuteSql) Api.FreeStmt(lStmt, SQL_CLOSE);

    SQLRETURN rc;
    if (set.Prepared) {
        BindStoredParameters(lStmt);
        rc = Api.Execute(lStmt);
    } else {
        std::string text = sSqlString;
        rc = Api.ExecDirect(lStmt, reinterpret_cast<SQLCHAR*>(text.data()), TextLength32(text));
    }

    if (Succeeded(rc) || rc == SQL_NEED_DATA) {
        // The labels are those of the statement just run; they are built again on demand.
        Current().ColumnHeaders.clear();
        CountResultColumns();
        if (Current().RowsPerFetch > 1) BindBlockColumns();
        return;
    }

    try {
        GetErrorText();
    } catch (const std::exception&) {
        ErrorText_ = "No error text at #1";
    }
    const std::string handle = SignedText(HandleNumber(lStmt));
    RaiseSession(SessionErrorCode::StatementError,
                 handle + " : " + sSqlString + " : " + ErrorText_ + LineFeed + "Return: " + SignedText(rc),
                 handle + " " + kSource);
}

void VgerReaderDllClass6::CountResultColumns() {
    ResultSetEntry& set = Current();
    SQLSMALLINT count = 0;
    Api.NumResultCols(set.Statement, &count);
    set.ColumnCount = count;
}

void VgerReaderDllClass6::BindBlockColumns() {
    ResultSetEntry& set = Current();
    const int16_t columns = std::min<int16_t>(set.ColumnCount, kBlockColumns);
    for (int16_t column = 1; column <= columns; ++column) {
        const size_t c = static_cast<size_t>(column) - 1;
        Api.BindCol(set.Statement, static_cast<SQLUSMALLINT>(column), SQL_C_CHAR, BlockBuffer[c][0].data(),
                    kBlockCellLength, BlockIndicators[c].data());
    }
    // Block fetch serves at most 9 columns.
    if (set.ColumnCount > kBlockColumns) RaiseRuntimeError(ErrorNumber::SubscriptOutOfRange, kSource);
}

void VgerReaderDllClass6::DisplayResultHeaders() {
    ResultSetEntry& set = Current();
    set.ColumnHeaders.clear();
    for (int16_t column = 1; column <= set.ColumnCount; ++column) {
        SQLCHAR label[256] = {};
        SQLSMALLINT length = 0;
        SQLLEN number = 0;
        Api.ColAttributes(set.Statement, static_cast<SQLUSMALLINT>(column), SQL_COLUMN_LABEL, label, 255, &length,
                          &number);
        if (!set.ColumnHeaders.empty()) set.ColumnHeaders += LineFeed;
        set.ColumnHeaders.append(reinterpret_cast<const char*>(label),
                                 static_cast<size_t>(std::clamp<SQLSMALLINT>(length, 0, 254)));
    }
}

void VgerReaderDllClass6::GetErrorText() {
    ErrorText_.clear();
    ErrorStateInvalidCursor = false;
    const SQLHSTMT statement = CurrentSet >= 0 && static_cast<size_t>(CurrentSet) < ResultSets.size()
                                   ? ResultSets[static_cast<size_t>(CurrentSet)].Statement
                                   : SQL_NULL_HSTMT;
    struct Handles {
        SQLHENV environment;
        SQLHDBC connection;
        SQLHSTMT statement;
    };
    const Handles passes[] = {{Environment, SQL_NULL_HDBC, SQL_NULL_HSTMT},
                              {SQL_NULL_HENV, Connection, SQL_NULL_HSTMT},
                              {SQL_NULL_HENV, SQL_NULL_HDBC, statement}};
    for (const Handles& pass : passes) {
        for (int record = 0; record < kMaxErrorRecordsPerHandle; ++record) {
            SQLCHAR state[16] = {};
            SQLINTEGER nativeError = 0;
            SQLCHAR message[512] = {};
            SQLSMALLINT length = 0;
            const SQLRETURN rc = Api.Error(pass.environment, pass.connection, pass.statement, state, &nativeError,
                                           message, 512, &length);
            if (!Succeeded(rc)) break;
            if (!ErrorText_.empty()) ErrorText_ += LineFeed;
            // Drivers word "invalid cursor state" differently; its SQLSTATE is 24000.
            if (std::memcmp(state, "24000", 5) == 0) ErrorStateInvalidCursor = true;
            if (length <= 0) {
                ErrorText_ += "Error--No error information available";
            } else {
                ErrorText_.append(reinterpret_cast<const char*>(message),
                                  static_cast<size_t>(std::min<SQLSMALLINT>(length, 511)));
                ErrorText_ += " Native error: " + SignedText(nativeError);
            }
            if (rc != SQL_SUCCESS) break;  // message cut: on to the next handle
        }
    }
    if (ErrorText_.empty()) ErrorText_ = "Can't retrieve error message text";
}

bool VgerReaderDllClass6::InvalidCursorState() const {
    return ErrorStateInvalidCursor || ErrorText_.find("Invalid cursor state") != std::string::npos;
}

// --- rows -------------------------------------------------------------------------------

void VgerReaderDllClass6::GetNextRow(int16_t ixSet) {
    if (!Connected_) return;
    const int16_t set = ixSet < 1 ? CurrentSet : ixSet;
    RaiseOnInvalidSet = true;
    CheckResultSet(set);
    RealNextRow(Set(set).Statement);
}

void VgerReaderDllClass6::GetNextRowScroll(int32_t lFetchDirection, int16_t iRowsToScroll) {
    if (!Connected_) return;
    RaiseOnInvalidSet = true;
    CheckResultSet(CurrentSet);
    RealNextRowScroll(Current().Statement, lFetchDirection, iRowsToScroll);
}

void VgerReaderDllClass6::EmptyValues() {
    ResultSetEntry& set = Current();
    const int16_t slots = std::min<int16_t>(set.ColumnCount, 9);
    for (int16_t slot = 1; slot <= slots; ++slot) set.Values[static_cast<size_t>(slot)].clear();
}

void VgerReaderDllClass6::RealNextRow(SQLHSTMT lStmt) {
    EmptyValues();
    if (Current().RowsPerFetch >= 2) {
        NextBlockRow(lStmt);
        return;
    }
    if (!FetchDelivered(Api.Fetch(lStmt), lStmt)) return;
    ReadColumns(lStmt);
}

void VgerReaderDllClass6::RealNextRowScroll(SQLHSTMT lStmt, int32_t lFetchDirection, int16_t iRowsToScroll) {
    EmptyValues();
    ResultSetEntry& set = Current();
    SQLRETURN rc;
    if (!set.ScrollStarted) {
        // The first scrolling fetch after an execution goes to the first row.
        rc = Api.FetchScroll(lStmt, SQL_FETCH_FIRST, 0);
        set.ScrollStarted = true;
    } else {
        const bool fits = lFetchDirection >= INT16_MIN && lFetchDirection <= INT16_MAX;
        rc = Api.FetchScroll(lStmt, fits ? static_cast<SQLSMALLINT>(lFetchDirection) : 0, iRowsToScroll);
    }
    if (!FetchDelivered(rc, lStmt)) return;
    ReadColumns(lStmt);
}

// True when the fetch delivered a row. A failed fetch raises nothing; after a
// statement without rows its output parameters are collected.
bool VgerReaderDllClass6::FetchDelivered(SQLRETURN rc, SQLHSTMT lStmt) {
    if (Succeeded(rc)) return true;
    if (rc == SQL_ERROR) {
        GetErrorText();
        if (InvalidCursorState()) CollectOutputParameters(lStmt);
    }
    return false;
}

void VgerReaderDllClass6::ReadColumns(SQLHSTMT lStmt) {
    ResultSetEntry& set = Current();
    const int16_t columns = set.ColumnCount;
    if (columns > 0 && set.ColumnTypes.size() < static_cast<size_t>(columns) + 1)
        set.ColumnTypes.resize(static_cast<size_t>(columns) + 1, 0);

    std::array<char, kRowBufferLength> buffer;
    for (int16_t column = 1; column <= columns; ++column) {
        const int16_t type = set.ColumnTypes[static_cast<size_t>(column)];
        std::string value;
        for (bool bFirst = true;; bFirst = false) {
            SQLLEN length = 0;
            const SQLRETURN rc = Api.GetData(lStmt, static_cast<SQLUSMALLINT>(column), type == 0 ? SQL_C_CHAR : type,
                                             buffer.data(), kRowBufferLength, &length);
            if (!bFirst && rc == SQL_NO_DATA) break;  // a whole column that filled its last read
            if (!Succeeded(rc)) {
                GetErrorText();
                if (InvalidCursorState()) return;  // columns read so far stay
                std::string text = ErrorText_;
                if (text.empty())
                    text = rc == SQL_ERROR ? "Error in SQL statement"
                                           : "Error message text not found for return code " + PlainText(rc);
                RaiseSession(SessionErrorCode::StatementError, text);
            }
            // A value longer than the buffer (or of unknown length) keeps what
            // fits, unless its column is read whole: then the driver gives the
            // rest in further reads.
            const bool bCut = length == SQL_NO_TOTAL || length > kLongestValue;
            if (bCut) length = kLongestValue;
            if (length > 0) value.append(buffer.data(), static_cast<size_t>(length));
            if (!bCut || column != set.WholeColumn) break;
        }

        if (column == 2) {
            if (set.SearchType == SearchTypeBibHeading) {
                value = rt::Left(value, 3);
            } else if (set.SearchType == SearchTypeStandardNumber) {
                value = rt::Left(value, 4);
                if (!value.empty() && value[0] == 'A') value[0] = '0';
            }
        }
        if (column <= 8) {
            set.Values[static_cast<size_t>(column)] = value;
        } else {
            // Columns 9 and up share slot 9, one piece per column.
            if (column != 9) set.Values[9] += LineFeed;
            set.Values[9] += value;
        }
    }
}

void VgerReaderDllClass6::NextBlockRow(SQLHSTMT lStmt) {
    ResultSetEntry& set = Current();
    const int16_t columns = std::min<int16_t>(set.ColumnCount, kBlockColumns);
    set.BlockPosition += 1;
    if (set.BlockPosition > set.BlockRowCount) {
        // A failed fetch must not leave the count of the block before.
        RowsFetched = 0;
        Api.Fetch(lStmt);
        set.BlockRowCount = static_cast<int32_t>(std::min<SQLULEN>(RowsFetched, kBlockRows));
        if (set.BlockRowCount == 0) return;
        set.BlockRows.assign(static_cast<size_t>(set.BlockRowCount) + 1, std::string());
        for (int32_t row = 0; row < set.BlockRowCount; ++row) {
            std::string text;
            for (int16_t column = 1; column <= columns; ++column) {
                const size_t c = static_cast<size_t>(column) - 1;
                const size_t r = static_cast<size_t>(row);
                if (column > 1) text += LineFeed;
                // A NULL cell reads as empty, whatever the buffer still holds.
                if (BlockIndicators[c][r] == SQL_NULL_DATA) continue;
                const char* cell = BlockBuffer[c][r].data();
                text.append(cell, strnlen(cell, kBlockCellLength));
            }
            set.BlockRows[static_cast<size_t>(row) + 1] = text;
        }
        set.BlockPosition = 1;
    }
    std::string rest = set.BlockRows.at(static_cast<size_t>(set.BlockPosition));
    for (int16_t column = 1; column <= columns; ++column) {
        std::string first;
        UtliMiscNonUtf8::SplitOffFirst(rest, first, LineFeed);
        set.Values[static_cast<size_t>(column)] = first;
    }
}

std::string VgerReaderDllClass6::CurrentRow(int16_t iColumnOrResultSet, int16_t iColumnFromCaller) {
    int16_t setNumber = CurrentSet;
    int16_t column = iColumnOrResultSet;
    if (iColumnFromCaller >= 1) {
        ResultSet(iColumnOrResultSet);
        setNumber = iColumnOrResultSet;
        column = iColumnFromCaller;
    }
    if (setNumber < LowestCurrentRowSet_ || setNumber > SetCount_)
        RaiseSession(SessionErrorCode::CurrentRowResultSet,
                     "Invalid value (" + PlainText(setNumber) + ") for ResultSet property in CurrentRow");
    const ResultSetEntry& set = Set(setNumber);
    if (column < 1 || column > set.ColumnCount)
        RaiseSession(SessionErrorCode::CurrentRowColumn,
                     "Invalid value (" + PlainText(column) + ") for column number in CurrentRow");

    if (column <= 8 || (column == 9 && set.ColumnCount == 9)) {
        std::string value = set.Values[static_cast<size_t>(column)];
        if (set.SearchType == SearchTypeHeading) {
            if (column == 4) value = UtliMiscNonUtf8::HexToText(value);
            else if (column == 7) value = value.empty() ? "N" : "Y";
        }
        return value;
    }
    // More than 9 columns: slot 9 holds columns 9 and up, one piece each.
    std::string rest = set.Values[9];
    std::string piece;
    for (int16_t k = 9; k <= column; ++k) UtliMiscNonUtf8::SplitOffFirst(rest, piece, LineFeed);
    return piece;
}

// --- output parameters ---------------------------------------------------------------

void VgerReaderDllClass6::BindParameter(int16_t iSequence, int16_t iInOut, int16_t iValueType,
                                        const SessionValue& vValue) {
    if (iSequence < 1)
        RaiseInvalidValue("Invalid value for Sequence property in BindParameter (" + PlainText(iSequence) +
                          "); must be 1 or higher");
    if (iInOut != SQL_PARAM_OUTPUT)
        RaiseInvalidValue("Invalid value for Input/Output property in BindParameter (" + PlainText(iInOut) +
                          "); only output allowed");
    bool character;
    if (iValueType == SQL_CHAR || iValueType == SQL_VARCHAR)
        character = true;
    else if (iValueType >= SQL_NUMERIC && iValueType <= SQL_DOUBLE)
        character = false;
    else
        RaiseInvalidValue("Invalid value for ValueType property in BindParameter (" + PlainText(iValueType) +
                          "); must be character (1)");

    const int16_t count = std::max(PendingParameterCount_, iSequence);
    if (count > PendingParameterSlots_) {
        const int16_t slots = rt::ToInt16(static_cast<int64_t>(iSequence) + 5);
        PendingParameters.resize(static_cast<size_t>(slots) + 1);
        PendingParameterSlots_ = slots;
    }
    PendingParameterCount_ = count;

    ParameterEntry& entry = PendingParameters[static_cast<size_t>(iSequence)];
    entry.Pending = true;
    entry.Sequence = iSequence;
    entry.Direction = iInOut;
    entry.FetchedLength = 0;
    if (character) {
        std::string text = std::holds_alternative<std::string>(vValue) ? std::get<std::string>(vValue)
                                                                       : rt::Str(std::get<int32_t>(vValue));
        // The bound buffer holds 256 octets and a closing zero.
        if (text.size() > 256) text.resize(256);
        entry.ValueType = 1;
        entry.SqlType = SQL_VARCHAR;
        entry.TextValue = text;
        entry.ColumnSize = static_cast<int16_t>(text.size());
        entry.BufferLength = static_cast<SQLLEN>(text.size());
        entry.Indicator = 0;
        entry.Bytes.fill(0);
        UtliMiscNonUtf8::StringToBytes(text, 256, entry.Bytes);
        entry.DecimalDigits = 0;
    } else {
        entry.ValueType = 2;
        entry.SqlType = SQL_NUMERIC;
        entry.BufferLength = 0;
        entry.Indicator = 0;
        entry.ColumnSize = 8;
        entry.DecimalDigits = 0;
        try {
            entry.NumberValue = std::holds_alternative<int32_t>(vValue) ? std::get<int32_t>(vValue)
                                                                        : rt::CLng(std::get<std::string>(vValue));
        } catch (const RaisedError&) {
            // A value that does not convert is skipped; the entry keeps its number.
        }
    }
}

void VgerReaderDllClass6::BindStoredParameters(SQLHSTMT lStmt) {
    Api.FreeStmt(lStmt, SQL_RESET_PARAMS);
    ResultSetEntry& set = Current();
    for (int16_t i = 1; i <= set.ParameterCount && static_cast<size_t>(i) < set.Parameters.size(); ++i) {
        ParameterEntry& entry = set.Parameters[static_cast<size_t>(i)];
        if (!entry.Pending) continue;
        entry.Pending = false;
        SQLRETURN rc;
        if (entry.ValueType == 1) {
            entry.NtsIndicator = SQL_NTS;
            rc = Api.BindParameter(lStmt, static_cast<SQLUSMALLINT>(entry.Sequence), SQL_PARAM_INPUT, SQL_C_CHAR,
                                   SQL_CHAR, static_cast<SQLULEN>(entry.ColumnSize), 0, entry.Bytes.data(), 0,
                                   &entry.NtsIndicator);
        } else {
            // The number's buffer is a 32-bit integer, bound as one.
            rc = Api.BindParameter(lStmt, static_cast<SQLUSMALLINT>(entry.Sequence), entry.Direction, SQL_C_SLONG,
                                   SQL_NUMERIC, static_cast<SQLULEN>(entry.ColumnSize), entry.DecimalDigits,
                                   &entry.NumberValue, entry.BufferLength, &entry.Indicator);
        }
        if (Succeeded(rc)) continue;
        if (rc == SQL_INVALID_HANDLE)
            RaiseSession(SessionErrorCode::ConnectionHandle, "Binding with invalid connection handle");
        RaiseSession(SessionErrorCode::StatementError,
                     "Binding error (" + PlainText(rc) + ") for parameter " + PlainText(i));
    }
}

void VgerReaderDllClass6::CollectOutputParameters(SQLHSTMT lStmt) {
    ResultSetEntry& set = Current();
    for (int16_t i = 1; i <= set.ParameterCount && static_cast<size_t>(i) < set.Parameters.size(); ++i) {
        ParameterEntry& entry = set.Parameters[static_cast<size_t>(i)];
        if ((entry.Direction != SQL_PARAM_INPUT_OUTPUT && entry.Direction != SQL_PARAM_OUTPUT) || entry.ValueType != 1)
            continue;
        // Room for the value and its closing zero; zero-filled so that nothing
        // of the registered value shows through a shorter result.
        std::string buffer(static_cast<size_t>(entry.BufferLength) + 1, '\0');
        const SQLRETURN rc = Api.GetData(lStmt, static_cast<SQLUSMALLINT>(entry.Sequence), SQL_C_CHAR, buffer.data(),
                                         entry.BufferLength + 1, &entry.FetchedLength);
        if (rc == SQL_ERROR) {
            GetErrorText();
            continue;  // the entry keeps its value
        }
        std::replace(buffer.begin(), buffer.end(), '\0', ' ');
        entry.TextValue = rt::Trim(buffer);
    }
}

SessionValue VgerReaderDllClass6::FetchParameter(int16_t iSequence, int16_t ixSet) {
    const int16_t setNumber = ixSet < 1 ? CurrentSet : ixSet;
    if (ixSet > SetCount_)
        RaiseSession(SessionErrorCode::FetchParameterNumber, "Set number (" + PlainText(ixSet) +
                                                                 " in FetchParameter not valid; between 1 and " +
                                                                 PlainText(SetCount_));
    if (iSequence < 1)
        RaiseSession(SessionErrorCode::FetchParameterNumber,
                     "Sequence number (" + PlainText(iSequence) +
                         " in FetchParameter not valid; there are no bound parameters in this statement");
    const ResultSetEntry& set = Set(setNumber);
    if (iSequence > set.ParameterCount)
        RaiseSession(SessionErrorCode::FetchParameterNumber, "Sequence number (" + PlainText(iSequence) +
                                                                 " in FetchParameter not valid; between 1 and " +
                                                                 PlainText(set.ParameterCount));
    if (static_cast<size_t>(iSequence) >= set.Parameters.size())
        RaiseRuntimeError(ErrorNumber::SubscriptOutOfRange, kSource);
    const ParameterEntry& entry = set.Parameters[static_cast<size_t>(iSequence)];
    if (entry.Direction != SQL_PARAM_INPUT_OUTPUT && entry.Direction != SQL_PARAM_OUTPUT)
        RaiseSession(SessionErrorCode::FetchParameterDirection,
                     "Parameter " + PlainText(iSequence) + " not defined as output or input/output");
    if (entry.ValueType == 1) return entry.TextValue;
    return static_cast<int32_t>(entry.NumberValue);
}
