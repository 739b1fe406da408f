// The session against a scripted driver, for what a real driver cannot give
// on demand: allocation failures, SQL_NEED_DATA, a given handle number and
// native error, output parameters, odd lengths and endless messages.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "common/raised_error.h"
#include "db/expect_raised.h"
#include "db/odbc_fake.h"
#include "db/odbc_session.h"

namespace {

using testsupport::ExpectRaised;
constexpr int32_t kBase = ErrorNumber::ObjectErrorBase;

class FakeSessionTest : public ::testing::Test {
protected:
    FakeSessionTest() {
        odbc.FakeDriver();
        session.DSN("LIBRARY");
    }
    ScriptedOdbc odbc;
    VgerReaderDllClass6 session{odbc.Api()};
};

TEST_F(FakeSessionTest, AllocationFailuresRaiseAndLeaveNoHalfConnection) {
    odbc.AllocEnv = [](SQLHENV*) { return SQLRETURN{SQL_ERROR}; };
    ExpectRaised([&] { session.ConnectToVoyager(); }, kBase + 1004, "Could not allocate an environment handle");

    odbc.FakeDriver();
    odbc.AllocConnect = [](SQLHENV, SQLHDBC*) { return SQLRETURN{SQL_ERROR}; };
    ExpectRaised([&] { session.ConnectToVoyager(); }, kBase + 1005, "Could not allocate a connection handle");
    EXPECT_EQ(odbc.CountCalls("FreeEnv"), 1u);
    EXPECT_EQ(session.EnvironmentHandle(), nullptr);
}

// A retrieval statement that cannot be had is reported, and the session stays
// unconnected with its open connection, so that the next use tries again.
TEST_F(FakeSessionTest, RetrievalStatementFailureRaisesAndIsRetried) {
    odbc.AllocStmt = [](SQLHDBC, SQLHSTMT*) { return SQLRETURN{SQL_ERROR}; };
    ExpectRaised([&] { session.ConnectToVoyager(); }, kBase + 1007,
                 "Could not allocate a 'retrieval' statement handle");
    EXPECT_FALSE(session.Connected());
    EXPECT_EQ(session.RetrieveStatement(), nullptr);
    session.SQLString("SELECT 1");
    EXPECT_THROW(session.ExecuteSQL(0), RaisedError);
    EXPECT_EQ(odbc.CountCalls("Connect"), 1u);

    odbc.AllocStmt = [](SQLHDBC, SQLHSTMT* st) {
        *st = ScriptedOdbc::Handle(500);
        return SQLRETURN{SQL_SUCCESS};
    };
    session.ConnectToVoyager();
    EXPECT_TRUE(session.Connected());
    EXPECT_EQ(session.RetrieveStatement(), ScriptedOdbc::Handle(500));
    EXPECT_EQ(odbc.CountCalls("AllocEnv"), 1u);  // the open connection was kept
    EXPECT_EQ(odbc.CountCalls("Connect"), 1u);

    // An unfinished connection is still released.
    session.Disconnect();
    EXPECT_EQ(odbc.CountCalls("Disconnect"), 1u);
    EXPECT_EQ(odbc.CountCalls("FreeEnv"), 1u);
}

// A lent environment without a lent connection is set aside: the session
// connects on handles of its own, and frees those (never the lent one), on
// Disconnect and at its end.
TEST_F(FakeSessionTest, OwnHandlesBesideALentEnvironmentAreFreed) {
    const SQLHANDLE lentEnvironment = ScriptedOdbc::Handle(9999);
    std::vector<SQLHANDLE> freed;
    odbc.FreeEnv = [&](SQLHENV e) {
        freed.push_back(e);
        return SQLRETURN{SQL_SUCCESS};
    };
    odbc.FreeConnect = [&](SQLHDBC c) {
        freed.push_back(c);
        return SQLRETURN{SQL_SUCCESS};
    };
    const std::vector<SQLHANDLE> own = {ScriptedOdbc::Handle(ScriptedOdbc::kConnection),
                                        ScriptedOdbc::Handle(ScriptedOdbc::kEnvironment)};
    for (const bool explicitDisconnect : {true, false}) {
        freed.clear();
        odbc.Calls.clear();
        {
            VgerReaderDllClass6 lent{odbc.Api()};
            lent.EnvironmentHandle(lentEnvironment);
            lent.ConnectToVoyager();
            EXPECT_TRUE(lent.HandlesLent());
            EXPECT_EQ(lent.EnvironmentHandle(), own[1]);
            if (explicitDisconnect) {
                lent.Disconnect();
                EXPECT_FALSE(lent.Connected());
                EXPECT_EQ(lent.EnvironmentHandle(), nullptr);
            }
        }
        EXPECT_EQ(odbc.CountCalls("Disconnect"), 1u) << explicitDisconnect;
        EXPECT_EQ(freed, own) << explicitDisconnect;
    }
}

TEST_F(FakeSessionTest, StatementForANewSetThatCannotBeHad) {
    session.ConnectToVoyager();
    odbc.AllocStmt = [](SQLHDBC, SQLHSTMT*) { return SQLRETURN{SQL_ERROR}; };
    session.SQLString("SELECT 1");
    ExpectRaised([&] { session.ExecuteSQL(0); }, kBase + 1003, "Could not allocate a statement handle for set 1");
    EXPECT_EQ(session.SetCount(), 1);
    EXPECT_EQ(session.ResultSetAt(1).Statement, nullptr);
}

TEST_F(FakeSessionTest, NeedDataCountsAsExecuted) {
    odbc.ExecDirect = [](SQLHSTMT, const std::string&) { return SQLRETURN{SQL_NEED_DATA}; };
    odbc.NumResultCols = [](SQLHSTMT, SQLSMALLINT* n) {
        *n = 3;
        return SQLRETURN{SQL_SUCCESS};
    };
    session.SQLString("SELECT A, B, C FROM T");
    session.ExecuteSQL(0);
    EXPECT_EQ(session.ColumnCount(1), 3);
}

TEST_F(FakeSessionTest, FailedStatementCarriesHandleNativeErrorAndReturnCode) {
    session.ConnectToVoyager();  // the retrieval statement is 41872
    odbc.ExecDirect = [](SQLHSTMT, const std::string&) { return SQLRETURN{SQL_ERROR}; };
    odbc.Messages = {
        {ScriptedOdbc::Handle(ScriptedOdbc::kConnection), "08S01", 17, "link lost"},
        {ScriptedOdbc::Handle(ScriptedOdbc::kEnvironment), "HY000", -5, "environment note"},
        {ScriptedOdbc::Handle(41872), "42S02", 942, "table or view does not exist"},
    };
    ExpectRaised(
        [&] { session.MyExecuteSQL("SELECT * FROM T", session.RetrieveStatement(), false); }, kBase + 1000,
        " 41872 : SELECT * FROM T : environment note Native error: -5\nlink lost Native error:  17\n"
        "table or view does not exist Native error:  942\nReturn: -1",
        " 41872 VgerReadDLL");
}

TEST_F(FakeSessionTest, ErrorTextsOfOneHandleAreBoundedAndCut) {
    session.ConnectToVoyager();
    odbc.ExecDirect = [](SQLHSTMT, const std::string&) { return SQLRETURN{SQL_ERROR}; };

    // A driver that never removes its message: each handle gives at most 64.
    odbc.Error = [](SQLHENV, SQLHDBC, SQLHSTMT st, SQLCHAR* state, SQLINTEGER* native, SQLCHAR* text,
                    SQLSMALLINT length, SQLSMALLINT* returned) -> SQLRETURN {
        if (!st) return SQL_NO_DATA;
        std::memcpy(state, "HY000", 6);
        *native = 1;
        SQLLEN full = 0;
        ScriptedOdbc::PutText("again", text, length, &full);
        *returned = static_cast<SQLSMALLINT>(full);
        return SQL_SUCCESS;
    };
    try {
        session.MyExecuteSQL("X", session.RetrieveStatement(), false);
        FAIL();
    } catch (const RaisedError& e) {
        size_t lines = 0;
        for (size_t at = 0; (at = e.Description().find("again Native error:  1", at)) != std::string::npos; ++at)
            ++lines;
        EXPECT_EQ(lines, 64u);
    }

    // A message without text, and a message cut short (the pass ends after it).
    odbc.Error = [](SQLHENV, SQLHDBC, SQLHSTMT st, SQLCHAR* state, SQLINTEGER* native, SQLCHAR* text,
                    SQLSMALLINT length, SQLSMALLINT* returned) -> SQLRETURN {
        static int call = 0;
        if (!st) return SQL_NO_DATA;
        std::memcpy(state, "HY000", 6);
        *native = 0;
        if (call++ % 2 == 0) {
            *returned = 0;
            return SQL_SUCCESS;
        }
        SQLLEN full = 0;
        ScriptedOdbc::PutText(std::string(600, 'm'), text, length, &full);
        *returned = static_cast<SQLSMALLINT>(full);
        return SQL_SUCCESS_WITH_INFO;
    };
    ExpectRaised([&] { session.MyExecuteSQL("X", session.RetrieveStatement(), false); }, kBase + 1000,
                 " 41872 : X : Error--No error information available\n" + std::string(511, 'm') +
                     " Native error:  0\nReturn: -1",
                 " 41872 VgerReadDLL");

    // No message at all.
    odbc.Error = [](SQLHENV, SQLHDBC, SQLHSTMT, SQLCHAR*, SQLINTEGER*, SQLCHAR*, SQLSMALLINT, SQLSMALLINT*) {
        return SQLRETURN{SQL_NO_DATA};
    };
    ExpectRaised([&] { session.MyExecuteSQL("X", session.RetrieveStatement(), false); }, kBase + 1000,
                 " 41872 : X : Can't retrieve error message text\nReturn: -1", " 41872 VgerReadDLL");
}

// Column reads: lengths the driver cannot state or that exceed the buffer keep
// what the buffer holds; a failing read raises unless the cursor is not open,
// however the driver words that.
TEST_F(FakeSessionTest, ColumnReadsClampAndReportFailures) {
    odbc.NumResultCols = [](SQLHSTMT, SQLSMALLINT* n) {
        *n = 3;
        return SQLRETURN{SQL_SUCCESS};
    };
    odbc.Fetch = [](SQLHSTMT) { return SQLRETURN{SQL_SUCCESS}; };
    std::function<SQLRETURN(SQLUSMALLINT, char*, SQLLEN*)> column3;
    odbc.GetData = [&](SQLHSTMT, SQLUSMALLINT column, SQLSMALLINT type, SQLPOINTER buffer, SQLLEN length,
                       SQLLEN* returned) -> SQLRETURN {
        EXPECT_EQ(type, SQL_C_CHAR);
        EXPECT_EQ(length, 2048);
        std::memset(buffer, 'v', static_cast<size_t>(length) - 1);
        static_cast<char*>(buffer)[length - 1] = '\0';
        if (column == 1) *returned = SQL_NO_TOTAL;
        if (column == 2) *returned = 5000;
        if (column == 3) return column3(column, static_cast<char*>(buffer), returned);
        return SQL_SUCCESS_WITH_INFO;
    };
    session.SQLString("SELECT A, B, C FROM T");
    session.ExecuteSQL(0);

    column3 = [](SQLUSMALLINT, char*, SQLLEN* returned) {
        *returned = SQL_NULL_DATA;
        return SQLRETURN{SQL_SUCCESS};
    };
    session.GetNextRow(-1);
    EXPECT_EQ(session.CurrentRow(1), std::string(2047, 'v'));
    EXPECT_EQ(session.CurrentRow(2), std::string(2047, 'v'));
    EXPECT_EQ(session.CurrentRow(3), "");

    const SQLHSTMT statement = session.ResultSetStatement();
    column3 = [&](SQLUSMALLINT, char*, SQLLEN*) {
        odbc.Messages.push_back({statement, "24000", 0, "Cursor is not open"});
        return SQLRETURN{SQL_ERROR};
    };
    session.GetNextRow(-1);
    EXPECT_EQ(session.CurrentRow(2).size(), 2047u);  // read before the failure
    EXPECT_EQ(session.CurrentRow(3), "");

    column3 = [&](SQLUSMALLINT, char*, SQLLEN*) {
        odbc.Messages.push_back({statement, "22003", 7, "Numeric value out of range"});
        return SQLRETURN{SQL_ERROR};
    };
    ExpectRaised([&] { session.GetNextRow(-1); }, kBase + 1000, "Numeric value out of range Native error:  7");
}

// Only output parameters may be registered; the registration table grows five
// beyond the highest number.
TEST_F(FakeSessionTest, BindParameterChecksAndGrows) {
    ExpectRaised([&] { session.BindParameter(0, SQL_PARAM_OUTPUT, SQL_CHAR, std::string("x")); },
                 ErrorNumber::InvalidPropertyValue,
                 "Invalid value for Sequence property in BindParameter (0); must be 1 or higher");
    ExpectRaised([&] { session.BindParameter(1, SQL_PARAM_INPUT, SQL_CHAR, std::string("x")); },
                 ErrorNumber::InvalidPropertyValue,
                 "Invalid value for Input/Output property in BindParameter (1); only output allowed");
    ExpectRaised([&] { session.BindParameter(1, SQL_PARAM_OUTPUT, 9, std::string("x")); },
                 ErrorNumber::InvalidPropertyValue,
                 "Invalid value for ValueType property in BindParameter (9); must be character (1)");

    session.BindParameter(3, SQL_PARAM_OUTPUT, SQL_VARCHAR, std::string("abc"));
    EXPECT_EQ(session.PendingParameterSlots(), 8);
    EXPECT_EQ(session.PendingParameterCount(), 3);
    session.BindParameter(9, SQL_PARAM_OUTPUT, SQL_INTEGER, 5);
    EXPECT_EQ(session.PendingParameterSlots(), 14);
    EXPECT_EQ(session.PendingParameterCount(), 9);
    session.BindParameter(2, SQL_PARAM_OUTPUT, SQL_INTEGER, std::string("not a number"));  // skipped quietly
    EXPECT_THROW(session.BindParameter(32763, SQL_PARAM_OUTPUT, SQL_CHAR, std::string("x")), RaisedError);
}

// Output parameters: bound before execution with buffers of their own C type,
// collected after a fetch that finds no cursor, handed out by number.
TEST_F(FakeSessionTest, OutputParametersRoundTrip) {
    struct Bound {
        SQLUSMALLINT number;
        SQLSMALLINT direction, cType, sqlType;
        SQLULEN columnSize;
        SQLPOINTER buffer;
    };
    std::vector<Bound> bound;
    odbc.BindParameter = [&](SQLHSTMT, SQLUSMALLINT n, SQLSMALLINT d, SQLSMALLINT ct, SQLSMALLINT sq, SQLULEN cs,
                             SQLSMALLINT, SQLPOINTER b, SQLLEN, SQLLEN*) {
        bound.push_back({n, d, ct, sq, cs, b});
        return SQLRETURN{SQL_SUCCESS};
    };
    // The driver writes each output value into its buffer as its C type says.
    odbc.Execute = [&](SQLHSTMT) {
        for (const Bound& b : bound) {
            if (b.cType == SQL_C_SLONG) {
                const SQLINTEGER value = 123456;
                std::memcpy(b.buffer, &value, sizeof value);
            } else if (b.cType == SQL_C_NUMERIC) {
                std::memset(b.buffer, 0, sizeof(SQL_NUMERIC_STRUCT));
            }
        }
        return SQLRETURN{SQL_SUCCESS};
    };
    odbc.Fetch = [&](SQLHSTMT st) {
        odbc.Messages.push_back({st, "24000", 0, "[Driver]Invalid cursor state"});
        return SQLRETURN{SQL_ERROR};
    };
    odbc.GetData = [&](SQLHSTMT, SQLUSMALLINT column, SQLSMALLINT type, SQLPOINTER buffer, SQLLEN length,
                       SQLLEN* returned) {
        EXPECT_EQ(column, 1);
        EXPECT_EQ(type, SQL_C_CHAR);
        EXPECT_EQ(length, 7);  // the registered length and room for the closing zero
        return ScriptedOdbc::PutText("OK", buffer, length, returned);
    };

    session.BindParameter(1, SQL_PARAM_OUTPUT, SQL_CHAR, std::string("ABCDEF"));
    session.BindParameter(2, SQL_PARAM_OUTPUT, SQL_NUMERIC, 0);
    session.SQLString("{call LOOKUP(?, ?)}");
    session.ExecuteSQL(0);
    EXPECT_EQ(session.PendingParameterCount(), 0);
    ASSERT_EQ(odbc.CountCalls("Prepare"), 1u);
    EXPECT_EQ(odbc.CountCalls("ExecDirect"), 0u);
    ASSERT_EQ(bound.size(), 2u);
    EXPECT_EQ(bound[0].direction, SQL_PARAM_INPUT);
    EXPECT_EQ(bound[0].cType, SQL_C_CHAR);
    EXPECT_EQ(bound[0].sqlType, SQL_CHAR);
    EXPECT_EQ(bound[0].columnSize, 6u);
    EXPECT_STREQ(static_cast<const char*>(bound[0].buffer), "ABCDEF");
    EXPECT_EQ(bound[1].direction, SQL_PARAM_OUTPUT);
    EXPECT_EQ(bound[1].cType, SQL_C_SLONG);
    EXPECT_EQ(bound[1].sqlType, SQL_NUMERIC);
    EXPECT_EQ(bound[1].columnSize, 8u);

    session.ResultSetColumns(1);
    session.GetNextRow(-1);
    EXPECT_EQ(std::get<std::string>(session.FetchParameter(1, 0)), "OK");
    EXPECT_EQ(std::get<int32_t>(session.FetchParameter(2, 1)), 123456);

    ExpectRaised([&] { session.FetchParameter(1, 2); }, kBase + 1058,
                 "Set number (2 in FetchParameter not valid; between 1 and 1");
    ExpectRaised([&] { session.FetchParameter(0, 1); }, kBase + 1058,
                 "Sequence number (0 in FetchParameter not valid; there are no bound parameters in this statement");
    ExpectRaised([&] { session.FetchParameter(3, 1); }, kBase + 1058,
                 "Sequence number (3 in FetchParameter not valid; between 1 and 2");

    // Run again without registering anew: still prepared, nothing bound.
    bound.clear();
    session.ExecuteSQL(1);
    EXPECT_EQ(odbc.CountCalls("Execute"), 2u);
    EXPECT_TRUE(bound.empty());
}

TEST_F(FakeSessionTest, ParameterNotRegisteredAsOutput) {
    session.BindParameter(2, SQL_PARAM_OUTPUT, SQL_CHAR, std::string("x"));
    session.SQLString("{call P(?, ?)}");
    session.ExecuteSQL(0);
    ExpectRaised([&] { session.FetchParameter(1, -1); }, kBase + 1059,
                 "Parameter 1 not defined as output or input/output");
}

TEST_F(FakeSessionTest, BindingFailuresRaise) {
    struct Case {
        SQLRETURN rc;
        int32_t number;
        const char* text;
    };
    const Case cases[] = {
        {SQL_INVALID_HANDLE, kBase + 1005, "Binding with invalid connection handle"},
        {SQL_ERROR, kBase + 1000, "Binding error (-1) for parameter 1"},
    };
    for (const Case& c : cases) {
        odbc.BindParameter = [&](SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLSMALLINT, SQLSMALLINT, SQLULEN, SQLSMALLINT,
                                 SQLPOINTER, SQLLEN, SQLLEN*) { return c.rc; };
        session.BindParameter(1, SQL_PARAM_OUTPUT, SQL_INTEGER, 1);
        session.SQLString("{call P(?)}");
        ExpectRaised([&] { session.ExecuteSQL(0); }, c.number, c.text);
    }
}

// The block fetch's counters: a failed fetch that leaves the driver's row
// count alone ends the rows instead of repeating the last block.
TEST_F(FakeSessionTest, BlockFetchEndsWhenAFetchFails) {
    odbc.NumResultCols = [](SQLHSTMT, SQLSMALLINT* n) {
        *n = 1;
        return SQLRETURN{SQL_SUCCESS};
    };
    SQLULEN* rowsFetched = nullptr;
    char* cells = nullptr;
    SQLLEN* indicators = nullptr;
    odbc.SetStmtAttr = [&](SQLHSTMT, SQLINTEGER attribute, SQLPOINTER value) {
        if (attribute == SQL_ATTR_ROWS_FETCHED_PTR) rowsFetched = static_cast<SQLULEN*>(value);
        if (attribute == SQL_ATTR_ROW_ARRAY_SIZE) {
            EXPECT_EQ(reinterpret_cast<SQLULEN>(value), 3u);
        }
        return SQLRETURN{SQL_SUCCESS};
    };
    odbc.BindCol = [&](SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLPOINTER buffer, SQLLEN length, SQLLEN* indicator) {
        EXPECT_EQ(length, 300);
        cells = static_cast<char*>(buffer);
        indicators = indicator;
        return SQLRETURN{SQL_SUCCESS};
    };
    int fetches = 0;
    odbc.Fetch = [&](SQLHSTMT) -> SQLRETURN {
        if (++fetches > 1) return SQL_ERROR;  // and the count is not touched
        for (int row = 0; row < 3; ++row) {
            std::snprintf(cells + row * 300, 300, "r%d", row + 1);
            indicators[row] = 2;
        }
        *rowsFetched = 3;
        return SQL_SUCCESS;
    };
    session.RowsPerFetch(3);
    session.SQLString("SELECT A FROM T");
    session.ExecuteSQL(0);
    std::vector<std::string> rows;
    for (int i = 0; i < 10; ++i) {
        session.GetNextRow(-1);
        if (session.CurrentRow(1).empty()) break;
        rows.push_back(session.CurrentRow(1));
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"r1", "r2", "r3"}));
}

TEST_F(FakeSessionTest, TraceOptionsGoToTheDriverManager) {
    std::vector<std::pair<SQLUSMALLINT, SQLULEN>> options;
    std::string traceFile;
    odbc.SetConnectOption = [&](SQLHDBC connection, SQLUSMALLINT option, SQLULEN value) {
        if (option == SQL_OPT_TRACEFILE) {
            traceFile = reinterpret_cast<const char*>(value);
            value = 0;
        }
        options.emplace_back(option, connection ? 1 : 0);
        if (option == SQL_OPT_TRACE) options.back().second = value * 10 + (connection ? 1 : 0);
        return SQLRETURN{SQL_SUCCESS};
    };
    session.TraceFileName("c:\\temp\\VrDebug.txtfile2.txt");
    session.TraceOn(true);
    session.ConnectToVoyager();
    // File name and trace on, both before the connection exists.
    ASSERT_EQ(options.size(), 2u);
    EXPECT_EQ(options[0], (std::pair<SQLUSMALLINT, SQLULEN>{SQL_OPT_TRACEFILE, 0}));
    EXPECT_EQ(options[1], (std::pair<SQLUSMALLINT, SQLULEN>{SQL_OPT_TRACE, SQL_OPT_TRACE_ON * 10}));
    EXPECT_EQ(traceFile.substr(traceFile.size() - 21), "/VrDebug.txtfile2.txt");
    EXPECT_EQ(traceFile.find('\\'), std::string::npos);
    session.TraceOn(false);
    EXPECT_EQ(options.back(), (std::pair<SQLUSMALLINT, SQLULEN>{SQL_OPT_TRACE, SQL_OPT_TRACE_OFF * 10 + 1}));
}

}  // namespace
