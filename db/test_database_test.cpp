// The test database itself: the schema holds every table and column the
// reader's SQL names, with its look-up indexes, and the extension gives the
// server's functions and case-sensitive LIKE, also through the ODBC driver.

#include "db/test_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "db/odbc_session.h"

namespace {

// Rows of a query on the database file, columns joined by "|".
std::vector<std::string> Query(const std::string& path, const std::string& sql, bool withExtension = true) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    if (withExtension) {
        sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 1, nullptr);
        EXPECT_EQ(sqlite3_load_extension(db, testsupport::CompatExtensionFile().c_str(), nullptr, nullptr), SQLITE_OK);
    }
    std::vector<std::string> rows;
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    while (st && sqlite3_step(st) == SQLITE_ROW) {
        std::string row;
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            if (i) row += "|";
            const unsigned char* text = sqlite3_column_text(st, i);
            row += text ? std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_column_bytes(st, i)))
                        : "NULL";
        }
        rows.push_back(row);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
}

TEST(LibrarySchema, HoldsEveryTableAndColumnTheReaderNames) {
    testsupport::LibraryTestDatabase db;
    const std::map<std::string, std::vector<std::string>> expected = {
        {"ITEM_BARCODE", {"ITEM_ID", "ITEM_BARCODE", "BARCODE_STATUS", "BARCODE_STATUS_DATE"}},
        {"ITEM", {"ITEM_ID", "PERM_LOCATION", "TEMP_LOCATION", "COPY_NUMBER", "SPINE_LABEL", "ITEM_TYPE_ID",
                  "TEMP_ITEM_TYPE_ID", "PIECES", "PRICE", "MEDIA_TYPE_ID", "CREATE_DATE", "MODIFY_DATE",
                  "CREATE_OPERATOR_ID", "MODIFY_OPERATOR_ID", "MAGNETIC_MEDIA", "SENSITIZE"}},
        {"CIRC_TRANSACTIONS", {"ITEM_ID", "PATRON_GROUP_ID"}},
        {"MFHD_ITEM", {"MFHD_ID", "ITEM_ID", "ITEM_ENUM", "CHRON", "YEAR", "CAPTION", "FREETEXT"}},
        {"ITEM_STATUS", {"ITEM_ID", "ITEM_STATUS"}},
        {"ITEM_STATUS_TYPE", {"ITEM_STATUS_TYPE", "ITEM_STATUS_DESC"}},
        {"BIB_ITEM", {"BIB_ID", "ITEM_ID"}},
        {"ITEM_NOTE", {"ITEM_ID", "ITEM_NOTE"}},
        {"ITEM_TYPE", {"ITEM_TYPE_ID", "ITEM_TYPE_CODE"}},
        {"LOCATION", {"LOCATION_ID", "LOCATION_CODE", "LOCATION_DISPLAY_NAME", "LOCATION_NAME",
                      "LOCATION_SPINE_LABEL", "SUPPRESS_IN_OPAC"}},
        {"BASE_CURRENCY", {"BASE_COUNTRY_NAME", "BASE_CURRENCY_CODE", "BASE_CURRENCY_NAME", "BASE_DECIMALS",
                           "DECIMAL_DELIMITER"}},
        {"VERSIONS", {"MODULE", "VERSION"}},
        {"BIB_MASTER", {"BIB_ID", "LIBRARY_ID", "SUPPRESS_IN_OPAC"}},
        {"AUTH_MASTER", {"AUTH_ID"}},
        {"MFHD_MASTER", {"MFHD_ID", "SUPPRESS_IN_OPAC", "LOCATION_ID", "NORMALIZED_CALL_NO", "DISPLAY_CALL_NO",
                         "CALL_NO_TYPE"}},
        {"BIB_DATA", {"BIB_ID", "SEQNUM", "RECORD_SEGMENT"}},
        {"AUTH_DATA", {"AUTH_ID", "SEQNUM", "RECORD_SEGMENT"}},
        {"MFHD_DATA", {"MFHD_ID", "SEQNUM", "RECORD_SEGMENT"}},
        {"BIB_HISTORY", {"BIB_ID", "ACTION_DATE", "OPERATOR_ID", "ACTION_TYPE_ID"}},
        {"AUTH_HISTORY", {"AUTH_ID", "ACTION_DATE", "OPERATOR_ID", "ACTION_TYPE_ID"}},
        {"MFHD_HISTORY", {"MFHD_ID", "ACTION_DATE", "OPERATOR_ID", "ACTION_TYPE_ID"}},
        {"BIB_MFHD", {"BIB_ID", "MFHD_ID"}},
        {"LIBRARY", {"LIBRARY_ID", "LIBRARY_NAME", "LIBRARY_DISPLAY_NAME", "NUC_CODE"}},
        {"BIB_INDEX", {"BIB_ID", "INDEX_CODE", "NORMAL_HEADING", "DISPLAY_HEADING"}},
        {"AUTH_INDEX", {"AUTH_ID", "INDEX_CODE", "NORMAL_HEADING", "DISPLAY_HEADING"}},
        {"HEADING", {"HEADING_ID", "INDEX_TYPE", "HEADING_TYPE", "NORMAL_HEADING", "OPACBIBS", "STAFFBIBS",
                     "STAFFREFS"}},
        {"AUTH_HEADING", {"AUTH_ID", "DISPLAY_HEADING", "REFERENCE_TYPE", "SCOPE_NOTE_PRESENT", "HEADING_ID_POINTEE",
                          "HEADING_ID_POINTER"}},
        {"BIB_HEADING", {"BIB_ID", "DISPLAY_HEADING", "HEADING_ID"}},
        {"SUBDIVISION", {"SUBDIV_ID", "SUBDIV_TYPE", "NORMAL_SUBDIV", "AUTHORIZED", "HEADING_TYPE"}},
        {"AUTH_SUBDIVISION", {"AUTH_ID", "DISPLAY_SUBDIV", "REFERENCE_TYPE", "SUBDIV_ID_POINTER"}},
        {"BIB_SUBDIVISION", {"BIB_ID", "DISPLAY_SUBDIV", "SUBDIV_ID"}},
        {"HEADING_SUBDIVISION", {"HEADING_ID", "SUBDIV_ID"}},
        {"CALL_NO_TYPE", {"CALL_NO_TYPE", "CALL_NO_CODE"}},
        {"ELINK_INDEX", {"RECORD_ID", "RECORD_TYPE", "LINK"}},
        {"CAT_OPERATOR", {"OPERATOR_ID", "CAT_PROFILE_ID"}},
        {"CAT_PROFILE", {"CAT_PROFILE_ID", "CAT_PROFILE_NAME", "BIB_ADD", "BIB_UPDATE", "BIB_DELETE", "HOLD_ADD",
                         "HOLD_UPDATE", "HOLD_DELETE", "ITEM_ADD", "ITEM_UPDATE", "ITEM_DELETE", "AUTH_ADD",
                         "AUTH_UPDATE", "AUTH_DELETE"}},
        {"CAT_SECURITY_LOCS", {"CAT_PROFILE_ID", "LOCATION_ID"}},
        {"CAT_POLICY_LOCS", {"LOCATION_ID", "CATALOGING_LOCATION"}},
    };
    // The dictionary view lists them under the owner that the prefix "main." names.
    std::map<std::string, std::set<std::string>> actual;
    for (const std::string& row : Query(db.DatabasePath(),
                                        "SELECT TABLE_NAME || '|' || COLUMN_NAME FROM ALL_TAB_COLUMNS "
                                        "WHERE OWNER='MAIN' ORDER BY TABLE_NAME, COLUMN_NAME")) {
        const size_t bar = row.find('|');
        actual[row.substr(0, bar)].insert(row.substr(bar + 1));
    }
    EXPECT_EQ(actual.size(), expected.size());
    for (const auto& [table, columns] : expected)
        for (const std::string& column : columns) EXPECT_TRUE(actual[table].count(column)) << table << "." << column;
}

TEST(LibrarySchema, DictionaryReportsTheServersTypes) {
    testsupport::LibraryTestDatabase db;
    const std::vector<std::string> rows = Query(
        db.DatabasePath(),
        "SELECT TABLE_NAME, COLUMN_NAME, DATA_TYPE, DATA_TYPE_MOD, DATA_TYPE_OWNER, DATA_LENGTH, DATA_PRECISION, "
        "DATA_SCALE FROM ALL_TAB_COLUMNS WHERE OWNER='MAIN' AND TABLE_NAME IN ('BIB_DATA', 'ITEM_BARCODE') "
        "ORDER BY TABLE_NAME, COLUMN_NAME");
    const std::vector<std::string> expected = {
        "BIB_DATA|BIB_ID|NUMBER|NULL|NULL|22|38|0",
        "BIB_DATA|RECORD_SEGMENT|LONG RAW|NULL|NULL|0|NULL|NULL",
        "BIB_DATA|SEQNUM|NUMBER|NULL|NULL|22|38|0",
        "ITEM_BARCODE|BARCODE_STATUS|NUMBER|NULL|NULL|22|38|0",
        "ITEM_BARCODE|BARCODE_STATUS_DATE|DATE|NULL|NULL|7|NULL|NULL",
        "ITEM_BARCODE|ITEM_BARCODE|VARCHAR2|NULL|NULL|30|NULL|NULL",
        "ITEM_BARCODE|ITEM_ID|NUMBER|NULL|NULL|22|38|0",
    };
    EXPECT_EQ(rows, expected);
}

TEST(LibrarySchema, LookUpsUseTheIndexes) {
    testsupport::LibraryTestDatabase db;
    const std::vector<std::string> queries = {
        "SELECT ITEM_ID, BARCODE_STATUS FROM main.ITEM_BARCODE WHERE ITEM_BARCODE = '39001'",
        "SELECT PATRON_GROUP_ID FROM main.CIRC_TRANSACTIONS WHERE ITEM_ID = 5",
        "SELECT BIB_ID FROM main.BIB_ITEM WHERE ITEM_ID = 5 ORDER BY BIB_ID",
        "SELECT RAWTOHEX(RECORD_SEGMENT), SEQNUM FROM main.BIB_DATA WHERE BIB_ID = 7 ORDER BY SEQNUM",
        "SELECT BIB_ID FROM main.BIB_INDEX WHERE NORMAL_HEADING LIKE 'SMITH J%' AND INDEX_CODE IN ('100A')",
        "SELECT HEADING_ID FROM main.HEADING WHERE NORMAL_HEADING = 'SMITH JOHN'",
        "SELECT MFHD_ID FROM main.MFHD_MASTER WHERE NORMALIZED_CALL_NO LIKE 'QA 76%'",
        "SELECT ITEM_ID FROM main.MFHD_ITEM WHERE MFHD_ID = '3' ORDER BY ITEM_ID",
    };
    for (const std::string& sql : queries) {
        const std::vector<std::string> plan = Query(db.DatabasePath(), "EXPLAIN QUERY PLAN " + sql);
        ASSERT_FALSE(plan.empty()) << sql;
        EXPECT_NE(plan.front().find("USING"), std::string::npos) << sql << "\n" << plan.front();
    }
}

TEST(CompatExtension, GivesTheServersFunctionsAndCaseSensitiveLike) {
    testsupport::LibraryTestDatabase db;
    struct Case {
        const char* expression;
        const char* result;
    };
    const Case cases[] = {
        {"RAWTOHEX('xé')", "78C3A9"},
        {"RAWTOHEX(X'00FF10')", "00FF10"},
        {"RAWTOHEX('')", ""},
        {"RAWTOHEX(NULL) IS NULL", "1"},
        {"HEX(HEXTORAW('c3a9'))", "C3A9"},
        {"HEX(HEXTORAW('ABC'))", "0ABC"},
        {"TYPEOF(HEXTORAW('41'))", "blob"},
        {"'x' || HEXTORAW('C3A9') || ''", "xé"},
        {"HEX(CHR(208) || CHR(144))", "D090"},
        {"CHR(65)", "A"},
        {"LENGTH(CAST(CHR(0) AS BLOB))", "1"},
        {"'ABC' LIKE 'a%'", "0"},
        {"'abc' LIKE 'a%'", "1"},
        {"'a_c' LIKE 'a_c'", "1"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> rows = Query(db.DatabasePath(), std::string("SELECT ") + c.expression);
        ASSERT_EQ(rows.size(), 1u) << c.expression;
        EXPECT_EQ(rows[0], c.result) << c.expression;
    }
    for (const char* bad : {"SELECT HEXTORAW('4G')", "SELECT CHR(256)", "SELECT CHR(-1)"}) {
        sqlite3* handle = nullptr;
        sqlite3_open(db.DatabasePath().c_str(), &handle);
        sqlite3_db_config(handle, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 1, nullptr);
        sqlite3_load_extension(handle, testsupport::CompatExtensionFile().c_str(), nullptr, nullptr);
        EXPECT_NE(sqlite3_exec(handle, bad, nullptr, nullptr, nullptr), SQLITE_OK) << bad;
        sqlite3_close(handle);
    }
}

// The driver loads the extension through the data source: the same SQL runs over ODBC.
TEST(CompatExtension, IsLoadedByTheOdbcDriver) {
    testsupport::LibraryTestDatabase db;
    db.Execute("INSERT INTO BIB_INDEX VALUES (1, '100A', 'SMITH JOHN', 'Smith, John'); "
               "INSERT INTO BIB_INDEX VALUES (2, '100A', 'smith john', 'smith, john');");
    VgerReaderDllClass6 session;
    session.DSN(db.Dsn());
    session.SQLString("SELECT BIB_ID, RAWTOHEX(DISPLAY_HEADING), CHR(65) || 'b' FROM main.BIB_INDEX "
                      "WHERE NORMAL_HEADING LIKE 'SMITH%' ORDER BY BIB_ID");
    session.ExecuteSQL(0);
    session.GetNextRow(-1);
    EXPECT_EQ(session.CurrentRow(1), "1");
    EXPECT_EQ(session.CurrentRow(2), "536D6974682C204A6F686E");
    EXPECT_EQ(session.CurrentRow(3), "Ab");
    session.GetNextRow(-1);
    EXPECT_EQ(session.CurrentRow(1), "");  // the lower-case heading does not match
}

}  // namespace
