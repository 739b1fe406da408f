// The session against the real driver manager and a SQLite database through
// its ODBC driver.

#include "db/odbc_session.h"

#include <gtest/gtest.h>

#include <functional>

#include <filesystem>
#include <string>
#include <vector>

#include "common/raised_error.h"
#include "db/expect_raised.h"
#include "db/test_database.h"
#include "platform/events.h"

namespace {

using testsupport::ExpectRaised;
constexpr int32_t kBase = ErrorNumber::ObjectErrorBase;

class OdbcSessionTest : public ::testing::Test {
protected:
    OdbcSessionTest() {
        db.Execute(
            "CREATE TABLE WIDE (C1, C2, C3, C4, C5, C6, C7, C8, C9, C10, C11, C12);"
            "CREATE TABLE NUMBERS (N NUMBER, T VARCHAR2(40));"
            "WITH RECURSIVE K(N) AS (SELECT 1 UNION ALL SELECT N + 1 FROM K WHERE N < 23) "
            "INSERT INTO NUMBERS SELECT N, 'row ' || N FROM K;"
            "INSERT INTO main.ITEM_BARCODE VALUES (5, '39001', 1, '2003-05-01 10:11:12');"
            "INSERT INTO main.ITEM_BARCODE VALUES (6, '39002', NULL, NULL);"
            "INSERT INTO main.CIRC_TRANSACTIONS VALUES (5, 12);");
        session.DSN(db.Dsn());
    }

    // Runs SQL on a new set and returns its number.
    int16_t Run(const std::string& sql, int16_t set = 0) {
        session.SQLString(sql);
        session.ExecuteSQL(set);
        return session.ResultSet();
    }

    // Every remaining row of the current set: columns 1..n joined by "|".
    std::vector<std::string> Rows(int16_t columns) {
        std::vector<std::string> rows;
        for (int guard = 0; guard < 1000; ++guard) {
            session.GetNextRow(-1);
            if (session.CurrentRow(1).empty()) break;
            std::string row;
            for (int16_t c = 1; c <= columns; ++c) row += (c > 1 ? "|" : "") + session.CurrentRow(c);
            rows.push_back(row);
        }
        return rows;
    }

    testsupport::LibraryTestDatabase db;
    VgerReaderDllClass6 session;
};

TEST(OdbcSessionNew, StartsWithSetZeroOnly) {
    VgerReaderDllClass6 session;
    EXPECT_EQ(session.ResultSet(), 0);
    EXPECT_EQ(session.ColumnCount(0), 0);
    EXPECT_EQ(session.RowsPerFetch(), 0);
    EXPECT_FALSE(session.Connected());
    ExpectRaised([&] { session.ColumnCount(1); }, ErrorNumber::InvalidPropertyValue,
                 "Invalid value for ResultSet property (1)");
    ExpectRaised([&] { session.ExecuteSQL(0); }, kBase + 1008, "No SQLString supplied");
    // Reading the trace switch names the default trace file, tracing on or not.
    EXPECT_FALSE(session.TraceOn());
    EXPECT_EQ(session.TraceFileName(), "c:\\temp\\log.log");
    EXPECT_EQ(session.Version(), std::to_string(EXITDESK_VERSION_MAJOR) + "." + std::to_string(EXITDESK_VERSION_MINOR) +
                                     "." + std::to_string(EXITDESK_VERSION_REVISION));
    // Not connected: fetching does nothing at all.
    session.GetNextRow(0);
    session.GetNextRowScroll(SQL_FETCH_NEXT, 0);
}

TEST_F(OdbcSessionTest, ExecuteMakesAndReusesNumberedSets) {
    EXPECT_EQ(Run("SELECT ITEM_ID FROM main.ITEM_BARCODE ORDER BY ITEM_ID"), 1);
    EXPECT_TRUE(session.Connected());
    EXPECT_NE(session.RetrieveStatement(), nullptr);
    const SQLHSTMT first = session.ResultSetStatement();
    EXPECT_EQ(Run("SELECT ITEM_BARCODE FROM main.ITEM_BARCODE ORDER BY ITEM_ID"), 2);
    EXPECT_EQ(session.SetCount(), 2);

    // Set 1 again: the same statement runs the new text.
    EXPECT_EQ(Run("SELECT ITEM_BARCODE, BARCODE_STATUS FROM main.ITEM_BARCODE ORDER BY ITEM_ID", 1), 1);
    EXPECT_EQ(session.ResultSetStatement(), first);
    EXPECT_EQ(session.ColumnCount(1), 2);
    EXPECT_EQ(Rows(2), (std::vector<std::string>{"39001|1", "39002|"}));

    // SQLString reads the set's text, not the pending one.
    session.SQLString("SELECT 1");
    EXPECT_EQ(session.SQLString(), "SELECT ITEM_BARCODE, BARCODE_STATUS FROM main.ITEM_BARCODE ORDER BY ITEM_ID");

    // -1 keeps the set in force; with set 0 in force that is a new set.
    session.ResultSet(0);
    session.ExecuteSQL(-1);
    EXPECT_EQ(session.ResultSet(), 3);
    EXPECT_EQ(session.SQLString(), "SELECT 1");

    // A set number beyond the table: nothing runs.
    session.SQLString("SELECT 2");
    ExpectRaised([&] { session.ExecuteSQL(9); }, ErrorNumber::InvalidPropertyValue,
                 "Invalid value for ResultSet property (9)");
    EXPECT_EQ(session.SetCount(), 3);
}

TEST_F(OdbcSessionTest, RowsEndWithAnEmptyFirstColumn) {
    Run("SELECT ITEM_ID, ITEM_BARCODE, BARCODE_STATUS, BARCODE_STATUS_DATE FROM main.ITEM_BARCODE ORDER BY ITEM_ID");
    EXPECT_EQ(Rows(4), (std::vector<std::string>{"5|39001|1|2003-05-01 10:11:12", "6|39002||"}));
    session.GetNextRow(-1);  // past the end again
    EXPECT_EQ(session.CurrentRow(1), "");
    EXPECT_EQ(session.CurrentRow(2), "");
    ExpectRaised([&] { session.CurrentRow(5); }, kBase + 1050, "Invalid value (5) for column number in CurrentRow");
    ExpectRaised([&] { session.CurrentRow(0); }, kBase + 1050, "Invalid value (0) for column number in CurrentRow");
}

TEST_F(OdbcSessionTest, ColumnsNineAndUpShareTheLastSlot) {
    struct Case {
        const char* values;
        std::vector<std::string> expected;  // columns 1 to 12
    };
    const Case cases[] = {
        {"1,2,3,4,5,6,7,8,'i','j','k','l'", {"1", "2", "3", "4", "5", "6", "7", "8", "i", "j", "k", "l"}},
        {"1,2,3,4,5,6,7,8,NULL,'x',NULL,NULL", {"1", "2", "3", "4", "5", "6", "7", "8", "", "x", "", ""}},
        // A line feed in column 10 moves the columns after it by one.
        {"1,2,3,4,5,6,7,8,'i','a' || CHAR(10) || 'b','k','l'",
         {"1", "2", "3", "4", "5", "6", "7", "8", "i", "a", "b", "k"}},
    };
    for (const Case& c : cases) {
        db.Execute(std::string("DELETE FROM WIDE; INSERT INTO WIDE VALUES (") + c.values + ");");
        Run("SELECT * FROM WIDE");
        session.GetNextRow(-1);
        for (int16_t column = 1; column <= 12; ++column)
            EXPECT_EQ(session.CurrentRow(column), c.expected[static_cast<size_t>(column) - 1])
                << c.values << " column " << column;
    }
    // Exactly nine columns: column 9 comes whole, line feed and all.
    Run("SELECT 1,2,3,4,5,6,7,8,'a' || CHAR(10) || 'b'");
    session.GetNextRow(-1);
    EXPECT_EQ(session.CurrentRow(9), "a\nb");
}

TEST_F(OdbcSessionTest, LongValuesKeepTheirFirst2047Octets) {
    Run("SELECT REPLACE(HEX(ZEROBLOB(1500)), '0', 'ab'), 'x'");  // 6,000 octets
    session.GetNextRow(-1);
    EXPECT_EQ(session.CurrentRow(1).size(), 2047u);
    EXPECT_EQ(session.CurrentRow(1).substr(0, 4), "abab");
    EXPECT_EQ(session.CurrentRow(2), "x");
}

TEST_F(OdbcSessionTest, SearchTypesChangeSomeColumns) {
    struct Case {
        int16_t searchType;
        int16_t column;
        const char* stored;
        const char* delivered;
    };
    const Case cases[] = {
        {SearchTypeSql, 2, "0100ab", "0100ab"},
        {SearchTypeBibHeading, 2, "0100ab", "010"},
        {SearchTypeStandardNumber, 2, "A123456", "0123"},
        {SearchTypeStandardNumber, 2, "B123456", "B123"},
        {SearchTypeHeading, 4, "4142", "AB"},
        {SearchTypeHeading, 7, "", "N"},
        {SearchTypeHeading, 7, "3", "Y"},
        {SearchTypeHeadingId, 4, "4142", "4142"},
    };
    for (const Case& c : cases) {
        std::string sql = "SELECT 'c1'";
        for (int16_t column = 2; column <= 7; ++column)
            sql += column == c.column ? std::string(", '") + c.stored + "'" : ", NULL";
        Run(sql, 1 <= session.SetCount() ? 1 : 0);
        session.ResultSetSearchType(c.searchType);
        session.GetNextRow(-1);
        EXPECT_EQ(session.CurrentRow(c.column), c.delivered) << c.searchType << " " << c.stored;
    }
}

TEST_F(OdbcSessionTest, BlockFetchDeliversEveryRowInOrder) {
    for (int32_t rowsPerFetch : {10, 30}) {  // 30: more than a block holds, fetched 25 at a time
        session.RowsPerFetch(rowsPerFetch);
        Run("SELECT N, T FROM NUMBERS ORDER BY N");
        EXPECT_EQ(session.RowsPerFetch(), rowsPerFetch);
        const std::vector<std::string> rows = Rows(2);
        ASSERT_EQ(rows.size(), 23u) << rowsPerFetch;
        for (size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(rows[i], std::to_string(i + 1) + "|row " + std::to_string(i + 1));
        session.GetNextRow(-1);  // the 24th fetch
        EXPECT_EQ(session.CurrentRow(1), "");
    }
}

TEST_F(OdbcSessionTest, BlockFetchReadsNullCellsAsEmpty) {
    db.Execute("UPDATE NUMBERS SET T = NULL WHERE N % 2 = 0");
    session.RowsPerFetch(5);
    Run("SELECT N, T FROM NUMBERS WHERE N <= 4 ORDER BY N");
    EXPECT_EQ(Rows(2), (std::vector<std::string>{"1|row 1", "2|", "3|row 3", "4|"}));
}

// A look-up on another set between two fetches of a block does not send the
// block back to its first row.
TEST_F(OdbcSessionTest, BlockFetchKeepsItsPlaceAcrossOtherStatements) {
    session.RowsPerFetch(10);
    const int16_t block = Run("SELECT N FROM NUMBERS ORDER BY N");
    std::vector<std::string> seen;
    for (int i = 0; i < 12; ++i) {
        session.ResultSet(block);
        session.GetNextRow(block);
        seen.push_back(session.CurrentRow(1));
        session.PushResultSet();
        session.ResultSet(0);
        session.IsRetrieval(true);
        session.MyExecuteSQL("SELECT ITEM_BARCODE FROM main.ITEM_BARCODE WHERE ITEM_ID = 5",
                             session.RetrieveStatement(), false);
        session.ResultSetColumns(1);
        session.RealNextRow(session.RetrieveStatement());
        EXPECT_EQ(session.CurrentRow(1), "39001");
        session.PopResultSet();
        session.IsRetrieval(false);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}));
}

TEST_F(OdbcSessionTest, BlockFetchServesAtMostNineColumns) {
    session.RowsPerFetch(5);
    session.SQLString("SELECT * FROM WIDE");
    try {
        session.ExecuteSQL(0);
        ADD_FAILURE() << "ten columns in block mode were accepted";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), ErrorNumber::SubscriptOutOfRange);
    }
    // The same set run again without rows per fetch reads one row at a time.
    db.Execute("INSERT INTO WIDE VALUES (1,2,3,4,5,6,7,8,9,10,11,12)");
    Run("SELECT * FROM WIDE", session.ResultSet());
    session.GetNextRow(-1);
    EXPECT_EQ(session.CurrentRow(12), "12");
}

TEST_F(OdbcSessionTest, ScrollingStartsAtTheFirstRow) {
    Run("SELECT N FROM NUMBERS ORDER BY N");
    struct Step {
        int32_t direction;
        int16_t offset;
        const char* row;
    };
    const Step steps[] = {
        {SQL_FETCH_LAST, 0, "1"},  // the first scrolling fetch goes to the first row
        {SQL_FETCH_NEXT, 0, "2"},
        {SQL_FETCH_LAST, 0, "23"},
        {SQL_FETCH_PRIOR, 0, "22"},
        {SQL_FETCH_ABSOLUTE, 5, "5"},
        {SQL_FETCH_RELATIVE, 3, "8"},
        {SQL_FETCH_FIRST, 0, "1"},
        {70000, 0, ""},  // beyond 16 bits: passed as 0, which the driver refuses
    };
    for (const Step& step : steps) {
        session.GetNextRowScroll(step.direction, step.offset);
        EXPECT_EQ(session.CurrentRow(1), step.row) << step.direction;
    }
    // A new execution starts again at the first row.
    Run("SELECT N FROM NUMBERS ORDER BY N DESC", session.ResultSet());
    session.GetNextRowScroll(SQL_FETCH_NEXT, 0);
    EXPECT_EQ(session.CurrentRow(1), "23");
}

TEST_F(OdbcSessionTest, FailingStatementNamesItsHandleAndText) {
    Run("SELECT 1");
    const SQLHSTMT statement = session.ResultSetStatement();
    const int64_t number = static_cast<int64_t>(reinterpret_cast<intptr_t>(statement));
    const std::string handle = (number >= 0 ? " " : "") + std::to_string(number);
    session.SQLString("SELECT * FROM main.NOSUCH");
    try {
        session.ExecuteSQL(-1);
        FAIL() << "no error";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), kBase + 1000);
        EXPECT_EQ(e.Source(), handle + " VgerReadDLL");
        const std::string& text = e.Description();
        EXPECT_EQ(text.rfind(handle + " : SELECT * FROM main.NOSUCH : ", 0), 0u) << text;
        EXPECT_NE(text.find("no such table: main.NOSUCH"), std::string::npos) << text;
        EXPECT_NE(text.find(" Native error: "), std::string::npos) << text;
        EXPECT_EQ(text.substr(text.size() - 11), "\nReturn: -1") << text;
    }
    // The set keeps its statement and can run again.
    EXPECT_EQ(session.ResultSetStatement(), statement);
    Run("SELECT 3", session.ResultSet());
    session.GetNextRow(-1);
    EXPECT_EQ(session.CurrentRow(1), "3");
}

TEST_F(OdbcSessionTest, ReadingAfterAStatementWithoutRowsEndsQuietly) {
    Run("CREATE TEMP TABLE SCRATCH (A)");
    EXPECT_EQ(session.ResultSetColumns(), 0);
    session.ResultSetColumns(1);
    session.GetNextRow(-1);
    EXPECT_EQ(session.CurrentRow(1), "");
}

TEST_F(OdbcSessionTest, RetrievalModeOpensSetZeroToCurrentRow) {
    session.ConnectToVoyager();
    ExpectRaised([&] { session.CurrentRow(0, 1); }, kBase + 1049,
                 "Invalid value (0) for ResultSet property in CurrentRow");
    EXPECT_EQ(session.ResultSet(), 0);  // made current before the check

    session.IsRetrieval(true);
    EXPECT_EQ(session.LowestCurrentRowSet(), 0);
    session.MyExecuteSQL("SELECT ITEM_ID, BARCODE_STATUS FROM main.ITEM_BARCODE WHERE ITEM_BARCODE = '39001'",
                         session.RetrieveStatement(), false);
    session.ResultSetColumns(2);
    session.RealNextRow(session.RetrieveStatement());
    EXPECT_EQ(session.CurrentRow(0, 1), "5");
    EXPECT_EQ(session.CurrentRow(2), "1");
    ExpectRaised([&] { session.CurrentRow(4, 1); }, ErrorNumber::InvalidPropertyValue,
                 "Invalid value for ResultSet property (4)");
    session.IsRetrieval(false);

    // A set with no columns yet.
    Run("CREATE TEMP TABLE EMPTY_ONE (A)");
    ExpectRaised([&] { session.CurrentRow(1, -1); }, kBase + 1050, "Invalid value (1) for column number in CurrentRow");
}

TEST_F(OdbcSessionTest, StackRestoresSetsInReverseOrder) {
    for (int i = 0; i < 5; ++i) Run("SELECT " + std::to_string(i));
    for (int16_t i = 0; i < 11; ++i) {
        session.ResultSet(static_cast<int16_t>(i % 6));
        session.PushResultSet();
        EXPECT_EQ(session.StackSlots(), i < 10 ? 10 : 20);
    }
    for (int16_t i = 10; i >= 0; --i) {
        session.PopResultSet();
        EXPECT_EQ(session.ResultSet(), i % 6);
    }
    // One pop too many makes set 0 current; the next one finds no entry.
    session.ResultSet(3);
    session.PopResultSet();
    EXPECT_EQ(session.ResultSet(), 0);
    EXPECT_EQ(session.StackDepth(), -1);
    session.ResultSet(3);
    try {
        session.PopResultSet();
        ADD_FAILURE() << "second unmatched pop accepted";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), ErrorNumber::SubscriptOutOfRange);
    }
    EXPECT_EQ(session.ResultSet(), 3);
    EXPECT_EQ(session.StackDepth(), -1);
}

TEST_F(OdbcSessionTest, ColumnHeadersAreTheLabels) {
    Run("SELECT ITEM_ID, ITEM_BARCODE AS CODE FROM main.ITEM_BARCODE");
    Run("SELECT PATRON_GROUP_ID FROM main.CIRC_TRANSACTIONS");
    session.ResultSet(1);
    // Set 2's labels are asked for while set 1 is in force: set 1's are built.
    EXPECT_EQ(session.ColumnHeaders(2), "");
    EXPECT_EQ(session.ColumnHeaders(1), "ITEM_ID\nCODE");
    session.ResultSet(2);
    EXPECT_EQ(session.ColumnHeaders(0), "PATRON_GROUP_ID");
    ExpectRaised([&] { session.ColumnHeaders(3); }, ErrorNumber::InvalidPropertyValue,
                 "Invalid value for ResultSet property (3)");

    // A set run again has the labels of its new statement; a failed run keeps the old ones.
    EXPECT_EQ(Run("SELECT 1 AS ONE, 2 AS TWO", 2), 2);
    EXPECT_EQ(session.ColumnHeaders(2), "ONE\nTWO");
    EXPECT_THROW(Run("SELECT * FROM main.NOSUCH", 2), RaisedError);
    EXPECT_EQ(session.ColumnHeaders(2), "ONE\nTWO");
}

TEST_F(OdbcSessionTest, DisconnectDropsEverySet) {
    Run("SELECT 1");
    Run("SELECT 2");
    session.Disconnect();
    EXPECT_FALSE(session.Connected());
    EXPECT_EQ(session.SetCount(), 0);
    EXPECT_EQ(session.EnvironmentHandle(), nullptr);
    EXPECT_EQ(session.DatabaseHandle(), nullptr);
    EXPECT_EQ(session.RetrieveStatement(), nullptr);
    EXPECT_EQ(session.ResultSet(), 2);  // left as it was
    session.Disconnect();                // a second time: nothing
    session.GetNextRow(0);               // not connected: nothing
}

TEST_F(OdbcSessionTest, LentHandlesAreUsedAndNeverFreed) {
    const OdbcApi& dm = DriverManagerApi();
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    ASSERT_EQ(dm.AllocEnv(&environment), SQL_SUCCESS);
    ASSERT_EQ(dm.AllocConnect(environment, &connection), SQL_SUCCESS);
    std::string dsn = db.Dsn();
    ASSERT_EQ(dm.Connect(connection, reinterpret_cast<SQLCHAR*>(dsn.data()), static_cast<SQLSMALLINT>(dsn.size()),
                         nullptr, 0, nullptr, 0),
              SQL_SUCCESS);
    {
        VgerReaderDllClass6 lent;
        lent.DSN("NOSUCHDSN");  // never used: the connection is lent
        lent.EnvironmentHandle(environment);
        lent.EnvironmentHandle(SQLHENV(reinterpret_cast<SQLHANDLE>(1)));  // a second value is ignored
        lent.DatabaseHandle(connection);
        EXPECT_EQ(lent.EnvironmentHandle(), environment);
        EXPECT_TRUE(lent.HandlesLent());
        lent.SQLString("SELECT ITEM_BARCODE FROM main.ITEM_BARCODE WHERE ITEM_ID = 6");
        lent.ExecuteSQL(0);
        lent.GetNextRow(-1);
        EXPECT_EQ(lent.CurrentRow(1), "39002");
        lent.Disconnect();
        EXPECT_TRUE(lent.Connected());
    }
    // The owner's connection still works.
    SQLHSTMT statement = SQL_NULL_HSTMT;
    ASSERT_EQ(dm.AllocStmt(connection, &statement), SQL_SUCCESS);
    std::string sql = "SELECT 7";
    EXPECT_EQ(dm.ExecDirect(statement, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS), SQL_SUCCESS);
    dm.FreeStmt(statement, SQL_DROP);
    dm.Disconnect(connection);
    dm.FreeConnect(connection);
    dm.FreeEnv(environment);
}

TEST_F(OdbcSessionTest, FailedConnectionReportsTheDriversMessage) {
    session.DSN("NOSUCHDSN");
    try {
        session.ConnectToVoyager();
        FAIL() << "connected to a missing data source";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), kBase + 1006);
        EXPECT_EQ(e.Source(), "VgerReadDLL");
        const std::string& text = e.Description();
        EXPECT_EQ(text.rfind("Could not establish a database connection to NOSUCHDSN\n\n", 0), 0u) << text;
        EXPECT_NE(text.find("Data source name not found"), std::string::npos) << text;
        EXPECT_EQ(text.substr(text.size() - 3), "\n-1") << text;
    }
    EXPECT_FALSE(session.Connected());
    EXPECT_EQ(session.EnvironmentHandle(), nullptr);
    EXPECT_EQ(session.DatabaseHandle(), nullptr);
    // The next attempt starts over.
    session.DSN(db.Dsn());
    session.ConnectToVoyager();
    EXPECT_TRUE(session.Connected());
}

// A window event handled during the connection's yield cannot connect the
// half-open session again; the outer connection goes on.
TEST_F(OdbcSessionTest, NestedConnectDuringTheYieldRaises) {
    std::vector<int32_t> nested;
    platform::ScopedEventPump pump([&] {
        for (int i = 0; i < 2; ++i) {
            try {
                if (i == 0) session.ConnectToVoyager();
                else Run("SELECT 1");
            } catch (const RaisedError& e) {
                nested.push_back(e.Number());
                EXPECT_NE(e.Description().find("still being opened"), std::string::npos) << e.Description();
            }
        }
        session.Disconnect();  // nothing while connecting
    });
    session.ConnectToVoyager();
    EXPECT_EQ(nested, (std::vector<int32_t>{kBase + 1006, kBase + 1006}));
    EXPECT_TRUE(session.Connected());
    EXPECT_EQ(Run("SELECT 4"), 1);
}

TEST_F(OdbcSessionTest, AnErrorInTheYieldLeavesNoHandles) {
    {
        platform::ScopedEventPump pump([] { throw RaisedError(5, "test", "event failed"); });
        EXPECT_THROW(session.ConnectToVoyager(), RaisedError);
    }
    EXPECT_FALSE(session.Connected());
    EXPECT_EQ(session.EnvironmentHandle(), nullptr);
    EXPECT_EQ(session.DatabaseHandle(), nullptr);
    session.ConnectToVoyager();
    EXPECT_TRUE(session.Connected());
}

TEST_F(OdbcSessionTest, DriverManagerTraceGoesToTheTraceFile) {
    const std::string file = db.Folder() + "/trace.txt";
    session.TraceFileName(file);
    session.TraceOn(true);
    Run("SELECT 1");
    session.TraceOn(false);
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_GT(std::filesystem::file_size(file), 0u);
}

}  // namespace
