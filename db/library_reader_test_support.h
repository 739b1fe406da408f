#pragma once
// Shared by the reader's tests: a settings folder of its own, a test database
// with the reader's sample rows, and a reader logged in to it.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/raised_error.h"
#include "common/test_support.h"
#include "db/expect_raised.h"
#include "db/library_reader.h"
#include "db/test_database.h"

namespace readertest {

inline constexpr int32_t kBase = ErrorNumber::ObjectErrorBase;

inline std::string ReaderTestDataFile() { return std::string(EXITDESK_SOURCE_DIR) + "/testdata/reader_test_data.sql"; }

// The action raises this error; the reader's own errors have the source "VgerRead".
inline void ExpectRaised(const std::function<void()>& action, int32_t number, const std::string& description,
                         const std::string& source = "VgerRead") {
    testsupport::ExpectRaised(action, number, description, source);
}

// The settings folder comes first, so that the reader and its record object
// read their settings files from it; then the database.
class ReaderFixture : public ::testing::Test {
protected:
    ReaderFixture() : db({ReaderTestDataFile()}) {}

    std::unique_ptr<VgerReaderClass7> LoggedInReader() {
        auto reader = std::make_unique<VgerReaderClass7>();
        reader->DSN(db.Dsn());
        reader->uID("reader");
        reader->PWD("secret");
        reader->TableNamePrefix("main");
        return reader;
    }

    // No look-up left a saved set, retrieval mode or another current set behind.
    static void ExpectFrameRestored(VgerReaderClass7& reader, int16_t currentSet) {
        EXPECT_EQ(reader.Session().StackDepth(), 0);
        EXPECT_FALSE(reader.Session().IsRetrieval());
        EXPECT_EQ(reader.Session().ResultSet(), currentSet);
    }

    testsupport::TempSettingsFolder settings;
    testsupport::LibraryTestDatabase db;
};

// Each statement, run as EXPLAIN QUERY PLAN on the reader's database, searches
// an index: no step of its plan scans a table.
inline void ExpectEveryStatementSearchesAnIndex(VgerReaderClass7& reader, const std::vector<std::string>& statements) {
    for (const std::string& sql : statements) {
        SCOPED_TRACE(sql);
        int16_t plan = 0;
        reader.ExecuteSQL("EXPLAIN QUERY PLAN " + sql, plan);
        int rows = 0;
        while (reader.GetNextRow(plan)) {
            const std::string detail = reader.CurrentRow(plan, 4);
            EXPECT_NE(detail.rfind("SCAN", 0), 0u) << detail;
            ++rows;
        }
        EXPECT_GT(rows, 0);
    }
}

// Every row of a set, its first `columns` columns joined by "|".
inline std::vector<std::string> JoinedRows(VgerReaderClass7& reader, int16_t set, int16_t columns) {
    std::vector<std::string> rows;
    while (reader.GetNextRow(set)) {
        std::string row;
        for (int16_t c = 1; c <= columns; ++c) row += (c > 1 ? "|" : "") + reader.CurrentRow(c, -1);
        rows.push_back(row);
    }
    return rows;
}

}  // namespace readertest
