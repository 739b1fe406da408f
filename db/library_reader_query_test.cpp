// The reader's query surface: a caller's SQL, rows and values, column labels,
// the SQL-text rewriting and the two dumps.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/library_reader.h"
#include "db/library_reader_test_support.h"
#include "platform/events.h"

namespace {

using readertest::ExpectRaised;
using readertest::kBase;
using testsupport::ReadFile;

class ReaderQueryTest : public readertest::ReaderFixture {
protected:
    ReaderQueryTest() : reader(LoggedInReader()) {}

    // Every row of a set, columns joined by "|".
    std::vector<std::string> Rows(int16_t set, int16_t columns) { return readertest::JoinedRows(*reader, set, columns); }

    std::unique_ptr<VgerReaderClass7> reader;
};

TEST_F(ReaderQueryTest, ExecuteSqlMakesNewSetsAndReusesNamedOnes) {
    int16_t first = 0;
    reader->ExecuteSQL("SELECT LOCATION_CODE FROM main.LOCATION ORDER BY LOCATION_ID", first);
    EXPECT_EQ(first, 1);
    int16_t second = 0;
    reader->ExecuteSQL("SELECT ITEM_ID, ITEM_BARCODE FROM main.ITEM_BARCODE ORDER BY ITEM_ID", second);
    EXPECT_EQ(second, 2);
    // Right after ExecuteSQL with 0 the remembered set is still 0.
    EXPECT_EQ(reader->SQLString(), "");

    EXPECT_EQ(Rows(first, 1), (std::vector<std::string>{"MAIN", "RES", "ARCH"}));
    EXPECT_EQ(reader->SQLString(), "SELECT ITEM_ID, ITEM_BARCODE FROM main.ITEM_BARCODE ORDER BY ITEM_ID");
    EXPECT_EQ(Rows(second, 2), (std::vector<std::string>{"100|39001", "200|39002"}));
    EXPECT_FALSE(reader->GetNextRow(second));

    int16_t again = first;
    reader->ExecuteSQL("SELECT LOCATION_NAME FROM main.LOCATION WHERE LOCATION_ID = 3", again);
    EXPECT_EQ(again, first);
    EXPECT_EQ(reader->Session().SetCount(), 2);
    EXPECT_EQ(Rows(first, 1), (std::vector<std::string>{"Archives"}));

    // An empty text runs the SQL the session holds.
    int16_t current = -1;
    reader->ExecuteSQL("", current);
    EXPECT_EQ(Rows(first, 1), (std::vector<std::string>{"Archives"}));
}

TEST_F(ReaderQueryTest, ARowWhoseFirstColumnIsEmptyEndsTheRows) {
    int16_t set = 0;
    reader->ExecuteSQL("SELECT NULL, 'x'", set);
    EXPECT_FALSE(reader->GetNextRow(set));
    EXPECT_EQ(reader->CurrentRow(set, 2), "x");
}

TEST_F(ReaderQueryTest, TheExitChecksCirculationQuery) {
    reader->RetrieveItemRecordByBarcode("39001");
    int16_t set = 0;
    reader->ExecuteSQL("SELECT PATRON_GROUP_ID FROM " + reader->TableNamePrefix() +
                           "CIRC_TRANSACTIONS WHERE ITEM_ID = " + reader->ItemRecordNumber(),
                       set);
    EXPECT_TRUE(reader->GetNextRow(set));
    EXPECT_EQ(reader->CurrentRow(1, -1), "7");
}

TEST_F(ReaderQueryTest, CurrentRowDecodesTheHexColumnOfTheSearchType) {
    int16_t set = 0;
    reader->ExecuteSQL("SELECT '4142', '4344', '4546', '4748'", set);
    const struct {
        int16_t searchType;
        const char* row;
    } cases[] = {
        {SearchTypeSql, "4142|4344|4546|4748"},   {SearchTypeBibHeading, "4142|434|4546|GH"},
        {SearchTypeStandardNumber, "4142|4344|EF|4748"}, {SearchTypeHeadingId, "4142|CD|4546|4748"},
        {SearchTypeSubdivision, "4142|4344|4546|4748"}, {SearchTypeSubdivisionId, "4142|CD|4546|4748"},
        {SearchTypeCallNumber, "4142|4344|EF|4748"},
    };
    for (const auto& c : cases) {
        reader->ExecuteSQL("", set);
        reader->Session().ResultSetSearchType(c.searchType);
        ASSERT_TRUE(reader->GetNextRow(set));
        std::string row;
        for (int16_t col = 1; col <= 4; ++col) row += (col > 1 ? "|" : "") + reader->CurrentRow(col, -1);
        EXPECT_EQ(row, c.row) << c.searchType;
    }
}

TEST_F(ReaderQueryTest, CurrentRowRejectsSetsAndColumnsOutsideTheRange) {
    int16_t set = 0;
    reader->ExecuteSQL("SELECT 1, 2", set);
    ExpectRaised([&] { reader->CurrentRow(0, -1); }, kBase + 1050, "Invalid value (0) for column number in CurrentRow",
                 "VgerReadDLL");
    ExpectRaised([&] { reader->CurrentRow(3, -1); }, kBase + 1050, "Invalid value (3) for column number in CurrentRow",
                 "VgerReadDLL");
    ExpectRaised([&] { reader->CurrentRow(5, 1); }, 380, "Invalid value for ResultSet property (5)", "VgerReadDLL");
}

TEST_F(ReaderQueryTest, ColumnLabelsAndCounts) {
    int16_t set = 0;
    reader->ExecuteSQL("SELECT LOCATION_CODE, LOCATION_NAME AS NM, 3 AS N3 FROM main.LOCATION", set);
    EXPECT_EQ(reader->ColumnCount(set), 3);
    EXPECT_EQ(reader->ColumnHeaders(set), "LOCATION_CODE\nNM\nN3");
    EXPECT_EQ(reader->ColumnHeader(set, 2), "NM");
    EXPECT_EQ(reader->ColumnHeader(set, 3), "N3");
    ExpectRaised([&] { reader->ColumnHeader(0, 1); }, 380, "Invalid value for ResultSet property: 0");
    ExpectRaised([&] { reader->ColumnHeader(set, 0); }, 380, "Invalid value for column property (maximum of 3)");
    ExpectRaised([&] { reader->ColumnHeader(set, 4); }, 380, "Invalid value for column property (maximum of 3)");
    EXPECT_EQ(reader->RowsPerFetch(), 0);
}

TEST_F(ReaderQueryTest, BlockFetchThroughRowsPerFetch) {
    reader->RowsPerFetch(2);
    int16_t set = 0;
    reader->ExecuteSQL("SELECT LOCATION_ID, LOCATION_CODE FROM main.LOCATION ORDER BY LOCATION_ID", set);
    EXPECT_EQ(reader->RowsPerFetch(), 2);
    EXPECT_EQ(Rows(set, 2), (std::vector<std::string>{"1|MAIN", "2|RES", "3|ARCH"}));
}

TEST_F(ReaderQueryTest, SqlTextRewriting) {
    int16_t set = 0;
    reader->ExecuteSQL("SELECT 1", set);
    reader->ResultSet(set);
    const struct {
        std::string given;
        std::string rewritten;
    } cases[] = {
        {"", ""},
        {"SELECT X FROM T", "SELECT X FROM T"},
        {"SELECT X FROM T WHERE A = 'O''B'", "SELECT X FROM T WHERE A = 'O''B'"},
        {"WHERE A = 'x\xC3\xA9'", "WHERE A = 'x' || HEXTORAW('C3A9') || ''"},
        {"WHERE A = 'x\xC3\xA9y'", "WHERE A = 'x' || HEXTORAW('C3A9') || 'y'"},
        {"WHERE A = '\xC3\xA9\xC3\xA9'", "WHERE A = '' || HEXTORAW('C3A9C3A9') || ''"},
        {"WHERE A = '\xE2\x82\xAC'", "WHERE A = '' || HEXTORAW('E282AC') || ''"},
        // A last character that is not ASCII keeps the leading apostrophe.
        {"A\xC3\xA9", "'A' || HEXTORAW('C3A9')"},
        {"\xC3\xA9", "HEXTORAW('C3A9')"},
        // The caller's own "&apos;" stays as written.
        {"WHERE A = '&apos;'", "WHERE A = '&apos;'"},
        // Octets that form no character go into HEXTORAW as well.
        {"A\xC3", "'A' || HEXTORAW('C3')"},
    };
    for (const auto& c : cases) {
        reader->SQLString(c.given);
        EXPECT_EQ(reader->SQLString(), c.rewritten) << c.given;
    }
}

TEST_F(ReaderQueryTest, NonAsciiLiteralsReachTheDatabaseAsTheirOctets) {
    db.Execute("UPDATE LOCATION SET LOCATION_NAME = 'Caf' || CAST(X'C3A9' AS TEXT) WHERE LOCATION_ID = 1");
    int16_t set = 0;
    reader->ExecuteSQL("SELECT LOCATION_CODE FROM main.LOCATION WHERE LOCATION_NAME = 'Caf\xC3\xA9'", set);
    EXPECT_EQ(Rows(set, 1), (std::vector<std::string>{"MAIN"}));
}

TEST_F(ReaderQueryTest, DumpTableWritesTabSeparatedRows) {
    const std::string file = settings.File("dump.txt");
    const std::string header = "LOCATION_ID\tLOCATION_CODE\tLOCATION_DISPLAY_NAME\tLOCATION_NAME\t"
                               "LOCATION_SPINE_LABEL\tSUPPRESS_IN_OPAC\r\n";
    const std::string all = header +
                            "1\tMAIN\tMain Library\tMain\tMAIN\tN\r\n"
                            "2\tRES\tReserve Desk\tReserve\tRESV\ty\r\n"
                            "3\tARCH\tArchives\tArchives\tARCH\tY\r\n";
    int16_t set = 0;
    reader->ExecuteSQL("SELECT 1", set);
    reader->ResultSet(set);
    const struct {
        const char* table;
        int32_t limit;
        std::string expected;
    } cases[] = {
        {"main.LOCATION", 0, all},
        {"main.LOCATION", 2, all.substr(0, all.rfind("3\t"))},
        {"main.LOCATION WHERE LOCATION_ID > 5", 0, header},
    };
    for (const auto& c : cases) {
        reader->DumpTable(c.table, file, c.limit);
        EXPECT_EQ(ReadFile(file), c.expected) << c.table << " " << c.limit;
        EXPECT_EQ(reader->ResultSet(), set);
    }
    ExpectRaised([&] { reader->DumpTable("", file, 0); }, kBase + 1051, "No table name supplied");
    ExpectRaised([&] { reader->DumpTable("main.LOCATION", "", 0); }, kBase + 1052, "No output file name supplied");
    EXPECT_THROW(reader->DumpTable("main.NO_SUCH_TABLE", file, 0), RaisedError);
    EXPECT_EQ(reader->ResultSet(), set);

    // The set that ExecuteSQL has just made is the one in force after a dump,
    // though nothing has read its number back yet.
    int16_t made = 0;
    reader->ExecuteSQL("SELECT LOCATION_CODE FROM main.LOCATION ORDER BY LOCATION_ID", made);
    reader->DumpTable("main.LOCATION", file, 1);
    EXPECT_EQ(reader->Session().ResultSet(), made);
    EXPECT_TRUE(reader->GetNextRow(-1));
    EXPECT_EQ(reader->CurrentRow(1, -1), "MAIN");
}

TEST_F(ReaderQueryTest, DumpDatabaseStructureListsTheOwnersTablesAndColumns) {
    db.Execute("CREATE VIEW LOCATION_VW AS SELECT LOCATION_ID, LOCATION_CODE FROM LOCATION");
    const std::string file = settings.File("structure.txt");
    std::vector<platform::MousePointer> pointers;
    platform::SetMousePointerHook([&](platform::MousePointer p) { pointers.push_back(p); });

    reader->DumpDatabaseStructure(file, false);
    const std::string report = ReadFile(file);
    EXPECT_EQ(report.rfind("AUTH_DATA\r\n\tAUTH_ID number(22)\r\n\tRECORD_SEGMENT long raw\r\n\tSEQNUM number(22)\r\n\r\n", 0),
              0u)
        << report.substr(0, 200);
    EXPECT_NE(report.find("\r\n\r\nITEM\r\n"), std::string::npos);
    EXPECT_NE(report.find("\tCREATE_DATE date\r\n"), std::string::npos);
    EXPECT_NE(report.find("\tLOCATION_CODE varchar2(10)\r\n"), std::string::npos);
    EXPECT_NE(report.find("\tMAGNETIC_MEDIA char(1)\r\n"), std::string::npos);
    EXPECT_EQ(report.find("LOCATION_VW"), std::string::npos);
    EXPECT_EQ(report.find("ALL_TAB_COLUMNS"), std::string::npos);
    ExpectFrameRestored(*reader, 0);
    ASSERT_EQ(pointers.size(), 2u);
    EXPECT_EQ(pointers[0], platform::MousePointer::Hourglass);
    EXPECT_EQ(pointers[1], platform::MousePointer::Default);
    platform::SetMousePointerHook({});

    reader->DumpDatabaseStructure(file, true);
    EXPECT_NE(ReadFile(file).find("\r\n\r\nLOCATION_VW\r\n\tLOCATION_CODE varchar2(10)\r\n\tLOCATION_ID number(22)\r\n"),
              std::string::npos);

    ExpectRaised([&] { reader->DumpDatabaseStructure("", true); }, kBase + 1052, "No output file name supplied");
    ExpectRaised([&] { VgerReaderClass7().DumpDatabaseStructure(file, true); }, kBase + 1061,
                 "No TableNamePrefix supplied");
}

TEST_F(ReaderQueryTest, ATypeTheReportDoesNotKnowIsMarked) {
    db.Execute("CREATE TABLE ODD (N NUMBER(5), C CLOB)");
    const std::string file = settings.File("structure.txt");
    reader->DumpDatabaseStructure(file, false);
    EXPECT_NE(ReadFile(file).find("\r\n\r\nODD\r\n\tC clob ***\r\n\tN number(22)\r\n"), std::string::npos);
}

TEST_F(ReaderQueryTest, OutputParametersPassThroughToTheSession) {
    ExpectRaised([&] { reader->BindParameter(0, 1, 1, std::string("x")); }, 380,
                 "Invalid value for Sequence property in BindParameter (0); must be 1 or higher", "VgerReadDLL");
    // The direction is always output, whatever the caller asks.
    reader->BindParameter(1, 1, 1, std::string("x"));
    EXPECT_EQ(reader->Session().PendingParameterCount(), 1);
}

}  // namespace
