// Searches by call number, standard number, item barcode and electronic link,
// on the SQLite test database through the driver manager; the statements are
// captured on their way to the driver.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>
#include <string>
#include <vector>

#include "db/library_reader.h"
#include "db/library_reader_test_support.h"
#include "marc/record/marc_record.h"

namespace {

using readertest::ExpectRaised;
using readertest::kBase;

// The driver manager's calls, with every statement text recorded.
std::vector<std::string>& Statements() {
    static std::vector<std::string> statements;
    return statements;
}

const OdbcApi& RecordingApi() {
    static const OdbcApi api = [] {
        OdbcApi a = DriverManagerApi();
        a.ExecDirect = [](SQLHSTMT statement, SQLCHAR* text, SQLINTEGER length) {
            Statements().emplace_back(reinterpret_cast<const char*>(text),
                                      length == SQL_NTS ? std::strlen(reinterpret_cast<const char*>(text))
                                                        : static_cast<size_t>(length));
            return DriverManagerApi().ExecDirect(statement, text, length);
        };
        a.Prepare = [](SQLHSTMT statement, SQLCHAR* text, SQLINTEGER length) {
            Statements().emplace_back(reinterpret_cast<const char*>(text),
                                      length == SQL_NTS ? std::strlen(reinterpret_cast<const char*>(text))
                                                        : static_cast<size_t>(length));
            return DriverManagerApi().Prepare(statement, text, length);
        };
        return a;
    }();
    return api;
}

class ReaderNumbersTest : public readertest::ReaderFixture {
protected:
    ReaderNumbersTest() {
        Statements().clear();
        reader = std::make_unique<VgerReaderClass7>(RecordingApi());
        reader->DSN(db.Dsn());
        reader->uID("reader");
        reader->PWD("secret");
        reader->TableNamePrefix("main");
        // Holdings of every type, their call numbers in the record object's normal forms.
        const struct {
            int id;
            const char* type;
            const char* display;
        } holdings[] = {{701, "0", "QA76.9 .D3 D38 2004"}, {702, "1", "823.914 ROW"}, {703, "2", "WB 100 G786"},
                        {704, "3", "Y 4.G 74/7:W 36"},     {705, "8", "O'Brien shelf 3"}, {706, "c", "CA1 MT 82"},
                        {707, "0", "QA76.9 .D3 D38 2010"}, {708, "0", "QA76.95 .B1"}};
        for (const auto& h : holdings) {
            db.Execute("INSERT INTO MFHD_MASTER VALUES (" + std::to_string(h.id) + ", 1, 'N', '" + h.type + "', '" +
                       Doubled(h.display) + "', '" + Doubled(Normal(h.display, h.type)) + "')");
            db.Execute("INSERT INTO BIB_INDEX VALUES (" + std::to_string(h.id - 600) + ", '" + IndexCode(h.type) +
                       "', '" + Doubled(Normal(h.display, h.type)) + "', '" + Doubled(h.display) + "')");
        }
        const std::string oclc = record.NormalizeStandardNumber("035", "(OCoLC)123");
        const std::string lccn = record.NormalizeStandardNumber("010", "85-12345");
        db.Execute("INSERT INTO BIB_INDEX VALUES (101, '010A', '" + lccn + "', '85-12345'), (102, '010Z', '" + lccn +
            "', '85012345'), (103, '020A', '0306406152', '0-306-40615-2'), (104, '020Z', '0306406152', 'x'), "
            "(105, '022A', '0317 8471', '0317-8471'), (106, '022Y', '0317 8471', '0317-8471'), "
            "(107, '024A', '9780306406157', 'upc'), (108, '028A', 'DG 123', 'DG 123'), "
            "(109, '035A', '" + Doubled(oclc) + "', '(OCoLC)123'), (110, '0359', '" + Doubled(oclc) + "', 'x'), "
            "(111, '245A', 'O''BRIEN', 'O''Brien')");
        db.Execute(
            "INSERT INTO AUTH_INDEX VALUES (201, 'A10A', 'N  79021164', 'n 79021164'), (202, 'A10Z', 'N  79021164', "
            "'x'), (203, 'A35A', '(DLC)N79021164', 'x')");
        db.Execute(
            "INSERT INTO ELINK_INDEX VALUES (1, 'B', 'http://example.org/a%20b'), (1, 'B', "
            "'http://example.org/a%20b'), (2, 'B', 'http://example.org/a_b'), (3, 'A', 'http://example.org/o''brien'), "
            "(4, 'M', 'http://example.org/axb')");
        db.Execute("INSERT INTO ITEM_BARCODE VALUES (100, '39001''X', 3, NULL)");
    }

    static std::string Doubled(std::string s) {
        for (size_t p = s.find('\''); p != std::string::npos; p = s.find('\'', p + 2)) s.insert(p, "'");
        return s;
    }
    static std::string IndexCode(const std::string& type) {
        if (type == "0") return "0500";
        if (type == "1") return "0820";
        if (type == "2") return "0600";
        if (type == "3") return "0700";
        return "090A";
    }
    std::string Normal(const std::string& text, const std::string& type) {
        return record.NormalizeCallNumber(text, type);
    }

    // The rows of the current set, columns joined by "|", sorted.
    std::vector<std::string> Rows(int16_t set, int16_t columns) {
        std::vector<std::string> rows = readertest::JoinedRows(*reader, set, columns);
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    // Column 1 of every row.
    std::vector<std::string> IdsOf(int16_t set) { return Rows(set, 1); }

    const std::string& LastStatement() const { return Statements().back(); }

    Utf8MarcRecordClass record;
    std::unique_ptr<VgerReaderClass7> reader;
};

using List = std::vector<std::string>;

TEST_F(ReaderNumbersTest, CallNumberTypeFromTheBuiltInRows) {
    db.Execute("DROP TABLE CALL_NO_TYPE");
    const struct {
        const char* value;
        const char* code;  // "" raises 380
    } cases[] = {{"lcc", "0"},   {"LC", "0"},     {"LCC", "0"},      {"7lcc", "0"},   {"7LCC", "0"},
                 {"ddc", "1"},   {"Dewey", "1"},  {"NLM", "2"},      {"n", "2"},      {"NAL", "n"},
                 {"National Agricultural Library", "n"}, {"Superintendent of Documents", "3"},
                 {"cacodoc", "c"}, {"c", "c"},    {"8", "8"},        {"Other", "8"},  {"All", "*"},
                 {"*", "*"},     {"m", "m"},      {"u", "u"},        {"y", "y"},      {"CAM ME", "b"},
                 {"CAM DE", "g"}, {"CAM MA", "m"}, {"CAM MA ME", "m"}, {"CAMX", "m"}, {"CAB", "c"},
                 {"b", ""},      {"g", ""},       {"Q", ""},         {"9", ""},       {"7udc", ""}};
    for (const auto& c : cases) {
        reader->CallNumberType("1");
        if (*c.code == '\0') {
            ExpectRaised([&] { reader->CallNumberType(c.value); }, 380, "Invalid value for CallNumberType property");
            EXPECT_EQ(reader->CallNumberType(), std::string(c.value)[0] == '7' ? std::string("7udc") : "1") << c.value;
        } else {
            reader->CallNumberType(c.value);
            EXPECT_EQ(reader->CallNumberType(), c.code) << c.value;
        }
    }
    ASSERT_EQ(reader->CallNumberTypeCount(), 6);
    EXPECT_EQ(reader->CallNumberTypeAt(4).SourceCode, "sudocs");
    EXPECT_EQ(reader->Session().StackDepth(), 0);
    EXPECT_FALSE(reader->Session().IsRetrieval());
}

TEST_F(ReaderNumbersTest, CallNumberTypeTableFromTheDatabaseIsReadOnce) {
    db.Execute("INSERT INTO CALL_NO_TYPE VALUES ('b', 'cambrdg'), ('5', 'udc'), ('0', 'lcc')");
    ExpectRaised([&] { reader->CallNumberType(""); }, 380, "Invalid value for CallNumberType property");
    EXPECT_FALSE(reader->CallNumberTypesLoaded());
    reader->CallNumberType("7UDC");
    EXPECT_EQ(reader->CallNumberType(), "5");
    reader->CallNumberType("b");
    EXPECT_EQ(reader->CallNumberType(), "b");
    // cacodoc is no source code here: the word rule gives "c".
    reader->CallNumberType("cacodoc");
    EXPECT_EQ(reader->CallNumberType(), "c");
    ExpectRaised([&] { reader->CallNumberType("7xyz"); }, 380, "Invalid value for CallNumberType property");
    EXPECT_EQ(reader->CallNumberType(), "7xyz");
    EXPECT_EQ(reader->PendingSourceCode(), "xyz");
    reader->CallNumberType("1");
    EXPECT_EQ(reader->CallNumberType(), "1");
    db.Execute("INSERT INTO CALL_NO_TYPE VALUES ('9', 'late')");
    ExpectRaised([&] { reader->CallNumberType("9"); }, 380, "Invalid value for CallNumberType property");
    EXPECT_EQ(reader->CallNumberTypeCount(), 3);
    EXPECT_EQ(std::count_if(Statements().begin(), Statements().end(),
                            [](const std::string& s) { return s.find("CALL_NO_CODE FROM") != std::string::npos; }),
              1);
}

TEST_F(ReaderNumbersTest, CallNumberSearchStatementsAndRows) {
    const std::string lcNormal = Normal("QA76.9 .D3 D38 2004", "0");
    const struct {
        const char* type;
        const char* number;
        bool truncated, native, bibIndex;
        std::string statement;
        List ids;
    } cases[] = {
        {"0", "QA76.9 .D3 D38 2004", false, false, false,
         "SELECT MFHD_ID, CALL_NO_TYPE, RAWTOHEX(DISPLAY_CALL_NO), NORMALIZED_CALL_NO FROM main.MFHD_MASTER WHERE "
         "NORMALIZED_CALL_NO = '" + lcNormal + "' AND CALL_NO_TYPE = '0'",
         {"701"}},
        {"0", "QA76.9 .D3", true, false, false,
         "SELECT MFHD_ID, CALL_NO_TYPE, RAWTOHEX(DISPLAY_CALL_NO), NORMALIZED_CALL_NO FROM main.MFHD_MASTER WHERE "
         "NORMALIZED_CALL_NO LIKE '" + rt::RTrim(Normal("QA76.9 .D3", "0")) + "%' AND CALL_NO_TYPE = '0'",
         {"701", "707"}},
        {"*", "O'Brien shelf 3", false, true, false,
         "SELECT MFHD_ID, CALL_NO_TYPE, RAWTOHEX(DISPLAY_CALL_NO), NORMALIZED_CALL_NO FROM main.MFHD_MASTER WHERE "
         "DISPLAY_CALL_NO = 'O''Brien shelf 3'",
         {"705"}},
        {"*", "O'B", true, true, false,
         "SELECT MFHD_ID, CALL_NO_TYPE, RAWTOHEX(DISPLAY_CALL_NO), NORMALIZED_CALL_NO FROM main.MFHD_MASTER WHERE "
         "DISPLAY_CALL_NO LIKE 'O''B%'",
         {"705"}},
        {"1", "823.914 ROW", false, false, true,
         "SELECT BIB_ID, INDEX_CODE, RAWTOHEX(DISPLAY_HEADING), NORMAL_HEADING FROM main.BIB_INDEX WHERE "
         "NORMAL_HEADING = '" + Normal("823.914 ROW", "1") + "' AND INDEX_CODE = '0820'",
         {"102"}},
        {"8", "O'Brien", true, true, true,
         "SELECT BIB_ID, INDEX_CODE, RAWTOHEX(DISPLAY_HEADING), NORMAL_HEADING FROM main.BIB_INDEX WHERE "
         "DISPLAY_HEADING LIKE 'O''Brien%' AND INDEX_CODE LIKE '0%'",
         {"105"}},
        {"Superintendent of Documents", "Y 4.G 74/7:W 36", false, true, true,
         "SELECT BIB_ID, INDEX_CODE, RAWTOHEX(DISPLAY_HEADING), NORMAL_HEADING FROM main.BIB_INDEX WHERE "
         "DISPLAY_HEADING = 'Y 4.G 74/7:W 36' AND INDEX_CODE = '0700'",
         {"104"}},
    };
    for (const auto& c : cases) {
        int16_t set = 0;
        reader->SearchCallNumber(c.type, c.number, set, c.truncated, c.native, false, c.bibIndex);
        EXPECT_GT(set, 0);
        EXPECT_EQ(LastStatement(), c.statement) << c.number;
        EXPECT_EQ(reader->Session().ResultSetSearchType(), SearchTypeCallNumber);
        EXPECT_EQ(IdsOf(set), c.ids) << c.number;
    }
    // Column 3 reads back as the display text.
    int16_t set = 0;
    reader->SearchCallNumber("8", "O'Brien shelf 3", set, false, true, false, false);
    ASSERT_TRUE(reader->GetNextRow(set));
    EXPECT_EQ(reader->CurrentRow(3, -1), "O'Brien shelf 3");
}

TEST_F(ReaderNumbersTest, CallNumberSearchKeepsStoredValuesAndTrailingBlank) {
    int16_t set = -1;
    reader->SearchCallNumber("0", "QA76.9 ", set, true, false, false, false);
    EXPECT_EQ(set, -1);
    EXPECT_EQ(reader->CallNumberNormalized(), rt::RTrim(Normal("QA76.9", "0")) + " ");
    EXPECT_EQ(IdsOf(reader->ResultSet()), List({"701", "707"}));
    // Both texts empty: stored number, type and flags; the flag arguments are not read.
    reader->SearchCallNumber("", "", set, false, true, true, false);
    EXPECT_TRUE(reader->CallNumberIsTruncated());
    EXPECT_FALSE(reader->SearchCallNumberNative());
    reader->TrimSpacesFromNormalizedCallNumber(true);
    reader->SearchCallNumber("", "", set, false, false, false, false);
    EXPECT_EQ(reader->CallNumberNormalized(), rt::RTrim(Normal("QA76.9", "0")));
    EXPECT_EQ(IdsOf(reader->ResultSet()), List({"701", "707", "708"}));
    // A reused set stays the set named.
    int16_t named = 0;
    reader->SearchCallNumber("*", "CA1", named, true, true, false, false);
    int16_t again = named;
    reader->SearchCallNumber("", "823", again, true, true, false, false);
    EXPECT_EQ(again, named);
    EXPECT_EQ(IdsOf(named), List({"702"}));
}

TEST_F(ReaderNumbersTest, CallNumberSearchErrors) {
    auto fresh = [&] { return std::make_unique<VgerReaderClass7>(RecordingApi()); };
    auto r = fresh();
    int16_t set = 0;
    ExpectRaised([&] { r->SearchCallNumber("", "", set, false, false, false, false); }, kBase + 1024,
                 "No CallNumber supplied");
    r->CallNumber("QA76");
    ExpectRaised([&] { r->SearchCallNumber("", "", set, false, false, false, false); }, kBase + 1025,
                 "No CallNumberType supplied");
    ExpectRaised([&] { reader->SearchCallNumber("0", "...", set, false, false, false, false); }, kBase + 1024,
                 "No (normalized) CallNumber supplied");
    // A call number whose normal form is empty but ends in a blank compares one blank.
    reader->SearchCallNumber("0", "... ", set, false, false, false, false);
    EXPECT_EQ(reader->CallNumberNormalized(), " ");
}

TEST_F(ReaderNumbersTest, CallNumberTypeTableOverflowsAtRow32766) {
    db.Execute(
        "WITH RECURSIVE K(N) AS (SELECT 1 UNION ALL SELECT N + 1 FROM K WHERE N < 32766) "
        "INSERT INTO CALL_NO_TYPE SELECT 'k' || N, 'src' || N FROM K");
    ExpectRaised([&] { reader->CallNumberType("0"); }, ErrorNumber::Overflow, "Overflow", "");
    EXPECT_EQ(reader->CallNumberTypeCount(), 32765);
    EXPECT_FALSE(reader->CallNumberTypesLoaded());
}

TEST_F(ReaderNumbersTest, IndexCodesAndStandardNumberStatements) {
    const struct {
        const char* recordType;
        const char* tag;
        const char* code;
        const char* number;
        bool truncated, raw;
        std::string condition;
        List ids;
    } cases[] = {
        {"B", "010", "*", "85-12345", false, false,
         "FROM main.BIB_INDEX WHERE NORMAL_HEADING = '" + record.NormalizeStandardNumber("010", "85-12345") +
             "' AND INDEX_CODE IN ('010A', '010Z')", {"101", "102"}},
        {" s ", "020", "a", "0-306-40615-2", false, false,
         "FROM main.BIB_INDEX WHERE NORMAL_HEADING = '0306406152' AND INDEX_CODE = '020A'", {"103"}},
        {"B", "022", "*", "0317-8471", false, false,
         "FROM main.BIB_INDEX WHERE NORMAL_HEADING = '0317 8471' AND INDEX_CODE IN ('022A', '022Y', '022Z')",
         {"105", "106"}},
        {"b", "035", "*", "(OCoLC)1", true, false,
         "FROM main.BIB_INDEX WHERE NORMAL_HEADING LIKE '" + record.NormalizeStandardNumber("035", "(OCoLC)1") +
             "%' AND INDEX_CODE IN ('035A', '035Z', '0359')",
         {"109", "110"}},
        {"M", "028", "*", "DG 123", false, true,
         "FROM main.BIB_INDEX WHERE NORMAL_HEADING = 'DG 123' AND INDEX_CODE = '028A'", {"108"}},
        {"B", "245'", "a", " O'BRIEN ", false, false,
         "FROM main.BIB_INDEX WHERE NORMAL_HEADING = 'O''BRIEN' AND INDEX_CODE = '245'''", {}},
        {"A", "010", "*", "n  79021164", false, true,
         "FROM main.AUTH_INDEX WHERE NORMAL_HEADING = 'n  79021164' AND INDEX_CODE IN ('A10A', 'A10Z')", {}},
        {"A", "035", "*", "(DLC)N79021164", false, true,
         "FROM main.AUTH_INDEX WHERE NORMAL_HEADING = '(DLC)N79021164' AND INDEX_CODE = 'A35A'", {"203"}},
        {"A", "010", "Z", "N  79021164", false, true,
         "FROM main.AUTH_INDEX WHERE NORMAL_HEADING = 'N  79021164' AND INDEX_CODE = 'A10Z'", {"202"}},
    };
    for (const auto& c : cases) {
        int16_t set = 0;
        reader->SearchStandardNumber(c.recordType, c.tag, c.code, c.number, set, c.truncated, c.raw);
        const std::string head = std::string("SELECT ") + (c.recordType[0] == 'A' ? "AUTH_ID" : "BIB_ID") +
                                 ", INDEX_CODE, RAWTOHEX(DISPLAY_HEADING), NORMAL_HEADING ";
        EXPECT_EQ(LastStatement(), head + c.condition) << c.tag << c.code;
        EXPECT_EQ(reader->Session().ResultSetSearchType(), SearchTypeStandardNumber);
        EXPECT_EQ(IdsOf(set), c.ids) << c.tag << c.code;
    }
    // Authority codes read back with a leading 0.
    int16_t set = 0;
    reader->SearchAuthStandardNumber("035", "a", "(DLC)N79021164", set, std::string("True"), int32_t{-1});
    ASSERT_TRUE(reader->GetNextRow(set));
    EXPECT_EQ(reader->CurrentRow(2, -1), "035A");
    ExpectRaised([&] { reader->SearchAuthStandardNumber("035", "a", "x", set, std::string("maybe"), false); }, 13,
                 "Type mismatch", "");
}

TEST_F(ReaderNumbersTest, StandardNumberErrors) {
    int16_t set = 0;
    const struct {
        const char* recordType;
        const char* tag;
        const char* code;
        const char* number;
        int32_t error;
        const char* text;
    } cases[] = {
        {"H", "020", "a", "1", kBase + 1066, "Unrecognized RecordType code (must be A or B)"},
        {"", "020", "a", "1", kBase + 1066, "Unrecognized RecordType code (must be A or B)"},
        {"B", "02", "a", "1", 380, "Invalid value for StandardNumberTag property"},
        {"B", "0a0", "a", "1", 380, "Invalid value for StandardNumberTag property"},
        {"B", "020", "ab", "1", 380, "Invalid value for StandardNumberSubfieldCode property"},
        {"B", "020", "$", "1", 380, "Invalid value for StandardNumberSubfieldCode property"},
        {"B", "245", "*", "1", kBase + 1022,
         "Invalid combination of StandardNumberSubfieldCode and StandardNumberTag properties"},
        {"A", "020", "a", "1", kBase + 1022, "Invalid combination of tag and subfield code"},
        {"A", "020", "*", "1", kBase + 1022, "Invalid combination of tag and subfield code"},
    };
    for (const auto& c : cases) {
        ExpectRaised([&] { reader->SearchStandardNumber(c.recordType, c.tag, c.code, c.number, set, false, false); },
                     c.error, c.text);
    }
    // Nothing stored yet: each check on a reader of its own.
    ExpectRaised([&] { VgerReaderClass7(RecordingApi()).SearchBibStandardNumber("", "a", "1", set, false, false); },
                 kBase + 1034, "Invalid value for tag");
    ExpectRaised([&] { VgerReaderClass7(RecordingApi()).SearchBibStandardNumber("020", "", "", set, false, false); },
                 kBase + 1035, "Invalid value for subfield code");
    ExpectRaised([&] { VgerReaderClass7(RecordingApi()).SearchBibStandardNumber("020", "a", "", set, false, false); },
                 kBase + 1021, "No StandardNumber supplied");
    ExpectRaised([&] { reader->SearchBibStandardNumber("020", "a", "---", set, false, false); }, kBase + 1021,
                 "No StanadrdNumber supplied");
    EXPECT_EQ(reader->StandardNumberNormalized(), "");
    // A four-character tag ignores the subfield code and only trims the number.
    reader->SearchBibStandardNumber("020A", "", " 0306406152 ", set, false, false);
    EXPECT_EQ(reader->StandardNumberIndexCodes(), "020A");
    EXPECT_EQ(IdsOf(set), List({"103"}));
}

TEST_F(ReaderNumbersTest, BarcodeSearchesUseThePlainSearchType) {
    reader->ItemBarcodeIsNumeric(false);
    int16_t set = 0;
    reader->SearchStandardNumber("B", "020", "a", "0306406152", set, false, false);
    // The reused set ran a standard-number search: its column 2 would be cut to four characters.
    int16_t reused = set;
    reader->SearchItemBarcode("39001'X", reused);
    EXPECT_EQ(LastStatement(), "SELECT ITEM_ID, BARCODE_STATUS FROM main.ITEM_BARCODE WHERE ITEM_BARCODE = '39001''X'");
    EXPECT_EQ(Rows(set, 2), List({"100|3"}));
    reader->SearchStandardNumber("B", "", "", "", set, false, false);
    reader->SearchBarcodesForItem("100", reused);
    EXPECT_EQ(LastStatement(),
              "SELECT ITEM_BARCODE, BARCODE_STATUS, BARCODE_STATUS_DATE FROM main.ITEM_BARCODE WHERE ITEM_ID = 100");
    EXPECT_EQ(Rows(set, 3), List({"39001'X|3|", "39001|1|2003-05-01 10:11:12"}));

    auto r = std::make_unique<VgerReaderClass7>(RecordingApi());
    int16_t none = 0;
    ExpectRaised([&] { r->SearchBarcodesForItem("", none); }, kBase + 1001, "No item record number supplied");
    ExpectRaised([&] { reader->SearchBarcodesForItem("12a", none); }, 380,
                 "Invalid value for ItemRecordNumber property");
    reader->RetrieveItemRecordByBarcode("39002");
    int16_t fresh = 0;
    reader->SearchBarcodesForItem("", fresh);
    EXPECT_EQ(Rows(fresh, 1), List({"39002"}));
}

TEST_F(ReaderNumbersTest, UrlSearch) {
    const struct {
        const char* url;
        bool truncated;
        std::string statement;
        List rows;
    } cases[] = {
        {"http://example.org/a%20b", false,
         "SELECT DISTINCT RECORD_ID, RECORD_TYPE, LINK FROM main.ELINK_INDEX WHERE LINK = 'http://example.org/a%20b'",
         {"1|B|http://example.org/a%20b"}},
        {"http://example.org/o'brien", false,
         "SELECT DISTINCT RECORD_ID, RECORD_TYPE, LINK FROM main.ELINK_INDEX WHERE LINK = "
         "'http://example.org/o''brien'",
         {"3|A|http://example.org/o'brien"}},
        // "_" stays a wildcard in a prefix search.
        {"http://example.org/a_b", true,
         "SELECT DISTINCT RECORD_ID, RECORD_TYPE, LINK FROM main.ELINK_INDEX WHERE LINK LIKE "
         "'http://example.org/a_b%'",
         {"2|B|http://example.org/a_b", "4|M|http://example.org/axb"}},
    };
    for (const auto& c : cases) {
        int16_t set = -1;
        reader->SearchUrl(c.url, set, c.truncated);
        EXPECT_EQ(LastStatement(), c.statement);
        EXPECT_GT(set, 0);
        EXPECT_EQ(Rows(set, 3), c.rows) << c.url;
    }
    int16_t set = 0;
    ExpectRaised([&] { reader->SearchUrl("", set, false); }, kBase + 1072, "No URL supplied");
}

// Every form's statement reads its table through an index; only the load of
// the call-number types reads a whole table.
TEST_F(ReaderNumbersTest, EveryFormSearchesThroughAnIndex) {
    int16_t set = 0;
    for (bool truncated : {false, true}) {
        for (bool native : {false, true}) {
            for (bool bibIndex : {false, true}) {
                for (const char* type : {"0", "*"}) {
                    reader->SearchCallNumber(type, "QA76.9", set, truncated, native, false, bibIndex);
                }
            }
        }
        reader->SearchBibStandardNumber("020", "*", "0306406152", set, truncated, false);
        reader->SearchBibStandardNumber("020", "a", "0306406152", set, truncated, false);
        reader->SearchAuthStandardNumber("010", "*", "n 79021164", set, truncated, false);
        reader->SearchUrl("http://example.org/a", set, truncated);
    }
    reader->SearchItemBarcode("39001", set);
    reader->SearchBarcodesForItem("100", set);
    static constexpr std::array<const char*, 5> kSearchedTables = {
        "BIB_INDEX WHERE", "AUTH_INDEX WHERE", "ELINK_INDEX WHERE", "MFHD_MASTER WHERE", "ITEM_BARCODE WHERE"};
    const std::vector<std::string> statements = Statements();
    int checked = 0;
    for (const std::string& statement : statements) {
        const bool mine = std::any_of(kSearchedTables.begin(), kSearchedTables.end(), [&](const char* table) {
            return statement.find(table) != std::string::npos;
        });
        if (!mine) continue;
        int16_t plan = 0;
        reader->ExecuteSQL("EXPLAIN QUERY PLAN " + statement, plan);
        while (reader->GetNextRow(plan)) {
            const std::string detail = reader->CurrentRow(4, -1);
            EXPECT_EQ(detail.find("SCAN"), std::string::npos) << statement << "\n" << detail;
        }
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

// The generated records' index rows: call numbers of every type found in
// holdings and the bibliographic index, the library's own call-number types,
// and links stored twice coming back once.
TEST(ReaderNumbersGeneratedTest, GeneratedIndexRowsFindTheirRecords) {
    testsupport::TempSettingsFolder settings;
    const std::filesystem::path folder =
        std::filesystem::path(EXITDESK_BINARY_DIR) / "testdb" / ("numbers-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string sqlFile = (folder / "records.sql").string();
    const std::string command = std::string(EXITDESK_PYTHON) + " " + EXITDESK_SOURCE_DIR +
                                "/tools/demo/make_demo.py --records 40 --seed 5 --normal-forms " + EXITDESK_NORMAL_FORMS +
                                " --sql-out " + sqlFile;
    ASSERT_EQ(std::system(command.c_str()), 0);
    testsupport::LibraryTestDatabase db({sqlFile});
    std::filesystem::remove_all(folder);
    VgerReaderClass7 reader;
    reader.DSN(db.Dsn());
    reader.uID("reader");
    reader.PWD("secret");
    reader.TableNamePrefix("main");

    reader.CallNumberType("7UDC");
    EXPECT_EQ(reader.CallNumberType(), "5");
    reader.CallNumberType("cacodoc");
    EXPECT_EQ(reader.CallNumberType(), "c");

    int16_t list = 0;
    reader.ExecuteSQL("SELECT M.MFHD_ID, M.CALL_NO_TYPE, M.DISPLAY_CALL_NO, MIN(B.BIB_ID) FROM main.MFHD_MASTER M "
                      "JOIN main.BIB_MFHD B ON B.MFHD_ID = M.MFHD_ID GROUP BY M.MFHD_ID ORDER BY M.MFHD_ID LIMIT 12",
                      list);
    struct Holding {
        std::string id, type, display, bib;
    };
    std::vector<Holding> holdings;
    while (reader.GetNextRow(list))
        holdings.push_back({reader.CurrentRow(1, -1), reader.CurrentRow(2, -1), reader.CurrentRow(3, -1),
                            reader.CurrentRow(4, -1)});
    ASSERT_GE(holdings.size(), 10U);
    // Native and normal searches: the generator stores the project's own normal call numbers.
    for (const Holding& h : holdings) {
        for (bool native : {true, false}) {
            for (bool bibIndex : {false, true}) {
                SCOPED_TRACE(h.type + " " + h.display + (native ? " native" : " normal") +
                             (bibIndex ? " in the bibliographic index" : " in holdings"));
                int16_t set = 0;
                reader.SearchCallNumber(h.type, h.display, set, false, native, false, bibIndex);
                std::vector<std::string> ids;
                while (reader.GetNextRow(set)) ids.push_back(reader.CurrentRow(1, -1));
                EXPECT_NE(std::find(ids.begin(), ids.end(), bibIndex ? h.bib : h.id), ids.end());
            }
        }
    }
    int16_t set = 0;
    reader.SearchUrl("http://example.org/record/" + holdings[0].bib, set, false);
    int rows = 0;
    while (reader.GetNextRow(set)) ++rows;
    EXPECT_EQ(rows, 1);
    reader.SearchUrl("http://example.org/o'brien/", set, true);
    EXPECT_TRUE(reader.GetNextRow(set));
}

}  // namespace
