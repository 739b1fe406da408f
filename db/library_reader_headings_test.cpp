// Heading and subdivision searches on the real SQLite database through the
// driver manager: the statements sent, the rows they find, and the errors.

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "common/utli_misc_non_utf8.h"
#include "db/library_reader_test_support.h"
#include "db/odbc_fake.h"
#include "db/odbc_session.h"

namespace {

using readertest::ExpectRaised;
using readertest::kBase;

const std::string kMuellerNfc = "M\xC3\xBCller, Hans";   // u with diaeresis, precomposed
const std::string kMuellerNfd = "Mu\xCC\x88ller, Hans";  // u followed by the combining diaeresis
const std::string kCyrillic = "\xD0\x9F\xD1\x83\xD1\x88\xD0\xBA\xD0\xB8\xD0\xBD";  // Pushkin in Cyrillic

class HeadingSearchTest : public readertest::ReaderFixture {
protected:
    HeadingSearchTest() {
        odbc.ExecDirect = [this](SQLHSTMT statement, const std::string& sql) {
            sent.push_back(sql);
            return DriverManagerApi().ExecDirect(statement, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())),
                                                 static_cast<SQLINTEGER>(sql.size()));
        };
        reader = std::make_unique<VgerReaderClass7>(odbc.Api());
        reader->DSN(db.Dsn());
        reader->uID("reader");
        reader->PWD("secret");
        reader->TableNamePrefix("main");
    }

    // The reader's own normal form of a heading, as a bibliographic search computes it.
    std::string BibNormal(const std::string& tag, const std::string& heading) {
        int16_t set = 0;
        reader->SearchBibHeading(tag, "10", heading, set, false);
        return reader->BibHeadingNormalized();
    }

    std::vector<std::vector<std::string>> Rows(int16_t set, int columns) {
        std::vector<std::vector<std::string>> rows;
        while (reader->GetNextRow(set)) {
            std::vector<std::string> row;
            for (int c = 1; c <= columns; ++c) row.push_back(reader->CurrentRow(set, static_cast<int16_t>(c)));
            rows.push_back(row);
        }
        return rows;
    }

    ScriptedOdbc odbc;
    std::vector<std::string> sent;
    std::unique_ptr<VgerReaderClass7> reader;
};

// Each search form sends exactly its statement; apostrophes in values are doubled.
TEST_F(HeadingSearchTest, EachFormSendsItsStatement) {
    struct Case {
        const char* name;
        std::function<void(VgerReaderClass7&, int16_t&)> search;
        std::string sql;
    };
    const std::string cols =
        "SELECT HEADING_ID, INDEX_TYPE, HEADING_TYPE, RAWTOHEX(NORMAL_HEADING), OPACBIBS, STAFFBIBS, STAFFREFS FROM "
        "main.HEADING WHERE ";
    const std::vector<Case> cases = {
        {"heading exact, one code each",
         [](VgerReaderClass7& r, int16_t& s) { r.SearchHeading("Smith", s, false, true, "A", "p"); },
         cols + " NORMAL_HEADING = 'SMITH' AND INDEX_TYPE = 'A' AND HEADING_TYPE = 'p' ORDER BY NORMAL_HEADING"},
        {"heading truncated, lists, references only",
         [](VgerReaderClass7& r, int16_t& s) { r.SearchHeading("Smith", s, true, false, "AB", "*"); },
         cols + " NORMAL_HEADING LIKE 'SMITH%' AND INDEX_TYPE IN ('A', 'B') AND 'X' || STAFFREFS != 'X' ORDER BY "
                "NORMAL_HEADING"},
        {"heading truncated, ending in a blank",
         [](VgerReaderClass7& r, int16_t& s) { r.SearchHeading("Smith ", s, true, true, "", ""); },
         cols + " NORMAL_HEADING LIKE 'SMITH %' ORDER BY NORMAL_HEADING"},
        {"empty heading searches the placeholder",
         [](VgerReaderClass7& r, int16_t& s) { r.SearchHeading("", s, true, true, "", ""); },
         cols + " NORMAL_HEADING LIKE '3 4 X X X 1 7 9 x x x%' ORDER BY NORMAL_HEADING"},
        {"an apostrophe in a code and in the heading",
         [](VgerReaderClass7& r, int16_t& s) { r.SearchHeading("O'Brien", s, false, true, "'", ""); },
         cols + " NORMAL_HEADING = 'OBRIEN' AND INDEX_TYPE = '''' ORDER BY NORMAL_HEADING"},
        {"block: no order",
         [](VgerReaderClass7& r, int16_t& s) { r.SearchHeadingBlock("Smith", s, false, true, "", "", 50); },
         cols + " NORMAL_HEADING = 'SMITH'"},
        {"heading id, authority links",
         [](VgerReaderClass7& r, int16_t& s) { r.SearchHeadingIDAuth("0012", s); },
         "SELECT AUTH_ID, RAWTOHEX(DISPLAY_HEADING), REFERENCE_TYPE, SCOPE_NOTE_PRESENT, HEADING_ID_POINTEE FROM "
         "main.AUTH_HEADING WHERE HEADING_ID_POINTER = 0012 ORDER BY AUTH_ID"},
        {"heading id, bibliographic links", [](VgerReaderClass7& r, int16_t& s) { r.SearchHeadingIDBib("7", s); },
         "SELECT BIB_ID, RAWTOHEX(DISPLAY_HEADING) FROM main.BIB_HEADING WHERE HEADING_ID = 7 ORDER BY BIB_ID"},
        {"subdivision, authorized only",
         [](VgerReaderClass7& r, int16_t& s) { r.SearchSubdiv("a", "History", s, false, false, "vx"); },
         "SELECT SUBDIV_ID, SUBDIV_TYPE, NORMAL_SUBDIV, AUTHORIZED, HEADING_TYPE FROM main.SUBDIVISION WHERE "
         "HEADING_TYPE = 'a' AND SUBDIV_TYPE IN ('v', 'x') AND NORMAL_SUBDIV = 'HISTORY' AND AUTHORIZED = 'Y'"},
        {"subdivision truncated, apostrophe in the system code",
         [](VgerReaderClass7& r, int16_t& s) { r.SearchSubdiv("'", "History ", s, true, true, "*"); },
         "SELECT SUBDIV_ID, SUBDIV_TYPE, NORMAL_SUBDIV, AUTHORIZED, HEADING_TYPE FROM main.SUBDIVISION WHERE "
         "HEADING_TYPE = '''' AND NORMAL_SUBDIV LIKE 'HISTORY %'"},
        {"subdivision id, authority links", [](VgerReaderClass7& r, int16_t& s) { r.SearchSubdivIDAuth("3", s); },
         "SELECT AUTH_ID, RAWTOHEX(DISPLAY_SUBDIV), REFERENCE_TYPE FROM main.AUTH_SUBDIVISION WHERE "
         "SUBDIV_ID_POINTER = 3"},
        {"subdivision id, bibliographic links", [](VgerReaderClass7& r, int16_t& s) { r.SearchSubdivIDBib("3", s); },
         "SELECT BIB_ID, RAWTOHEX(DISPLAY_SUBDIV) FROM main.BIB_SUBDIVISION WHERE SUBDIV_ID = 3"},
        {"subdivision id, headings, no flag counts as true",
         [](VgerReaderClass7& r, int16_t& s) { r.SearchSubdivIDHeading("3", s, std::nullopt); },
         "SELECT T2.HEADING_ID, T2.INDEX_TYPE, T2.HEADING_TYPE, RAWTOHEX(T2.NORMAL_HEADING), T2.OPACBIBS, "
         "T2.STAFFBIBS, T2.STAFFREFS FROM main.HEADING_SUBDIVISION T1, main.HEADING T2 WHERE T1.SUBDIV_ID = 3 AND "
         "T2.HEADING_ID = T1.HEADING_ID"},
        {"subdivision id, headings with references",
         [](VgerReaderClass7& r, int16_t& s) { r.SearchSubdivIDHeading("3", s, false); },
         "SELECT T2.HEADING_ID, T2.INDEX_TYPE, T2.HEADING_TYPE, RAWTOHEX(T2.NORMAL_HEADING), T2.OPACBIBS, "
         "T2.STAFFBIBS, T2.STAFFREFS FROM main.HEADING_SUBDIVISION T1, main.HEADING T2 WHERE T1.SUBDIV_ID = 3 AND "
         "'X' || T2.STAFFREFS != 'X' AND T2.HEADING_ID = T1.HEADING_ID"},
        {"bibliographic heading, subject list, apostrophe",
         [](VgerReaderClass7& r, int16_t& s) { r.SearchBibHeading("650", " 0", "Women's rights", s, true); },
         "SELECT BIB_ID, INDEX_CODE, NORMAL_HEADING, RAWTOHEX(DISPLAY_HEADING) FROM main.BIB_INDEX WHERE "
         "NORMAL_HEADING LIKE 'WOMENS RIGHTS%' AND INDEX_CODE IN ('600H', '610H', '611H', '630H', '6500', "
         "'6501', '6502', '6503', '6504', '6505', '6506', '6507', '651H', '654H', '655H') ORDER BY NORMAL_HEADING"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sent.clear();
        int16_t set = 0;
        c.search(*reader, set);
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent.back(), c.sql);
        EXPECT_GT(set, 0);
    }
}

// Non-Latin text is sent octet by octet as CHR(n); truncation appends CHR(37),
// after CHR(32) when the heading ends in a blank.
TEST_F(HeadingSearchTest, VernacularHeadingsGoInChrForm) {
    int16_t set = 0;
    reader->SearchHeading(kCyrillic + " ", set, true, true, "", "");
    const std::string& sql = sent.back();
    EXPECT_NE(sql.find("WHERE  NORMAL_HEADING LIKE CHR(208) || CHR("), std::string::npos) << sql;
    EXPECT_NE(sql.find(" || CHR(32) || CHR(37) ORDER BY NORMAL_HEADING"), std::string::npos) << sql;
    EXPECT_EQ(sql.find('\''), std::string::npos) << sql;
}

// Tag, category digit or word to INDEX_CODE list; a tag selecting none keeps the last list.
TEST_F(HeadingSearchTest, TagsAndCategoriesChooseTheIndexCodes) {
    const std::string personal = "('100H', '400H', '600H', '700H', '800H')";
    const std::string corporate =
        "('110H', '111H', '410H', '411H', '610H', '611H', '651H', '710H', '711H', '810H', '811H')";
    const std::string titles =
        "('2100', '2110', '2120', '2140', '2220', '2400', '2450', '2460', '2470', '7400', '7600', '7620', '7670', "
        "'7720', '7730', '7800', '7850')";
    const std::string series =
        "('1300', '2400', '400H', '410H', '411H', '4400', '630H', '7300', '800H', '810H', '811H', '8300')";
    const std::string subjects =
        "('600H', '610H', '611H', '630H', '6500', '6501', '6502', '6503', '6504', '6505', '6506', '6507', '651H', "
        "'654H', '655H')";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"1", personal},       {"2", corporate},       {"3", series},         {"245", titles},
        {"title", titles},     {"440", series},        {"830", series},       {"650", subjects},
        {"series", series},    {"Subject", subjects},  {"PERSONAL", personal}, {"conference", corporate},
        {"Uniform title", series}, {"100", personal},  {"700", personal},     {"110", corporate},
        {"151", corporate},    {"130", series},        {"730", series},       {"740", titles},
        {"X45", titles},
    };
    for (const auto& [tag, list] : cases) {
        SCOPED_TRACE(tag);
        int16_t set = 0;
        reader->SearchBibHeading(tag, "10", "Smith", set, false);
        EXPECT_EQ(reader->BibIndexCodes(), list);
        EXPECT_NE(sent.back().find(" AND INDEX_CODE IN " + list + " ORDER BY"), std::string::npos);
    }
    // Selecting nothing keeps the list of the search before.
    for (const std::string tag : {"5", "TITLE", "999"}) {
        int16_t set = 0;
        reader->SearchBibHeading(tag, "10", "Smith", set, false);
        EXPECT_EQ(reader->BibIndexCodes(), titles) << tag;
    }
}

TEST_F(HeadingSearchTest, ArgumentErrors) {
    int16_t set = 0;
    ExpectRaised([&] { reader->SearchBibHeading("", "10", "Smith", set, true); }, kBase + 1067,
                 "No BibliographicTag supplied");
    // A tag selecting no kind with no list yet: nothing changes, nothing is sent.
    ExpectRaised([&] { reader->SearchBibHeading("5", "10", "Smith", set, false); }, 380,
                 "Invalid value for BibliographicTag parameter");
    EXPECT_EQ(reader->BibHeading(), "");
    EXPECT_TRUE(reader->BibHeadingIsTruncated());
    EXPECT_TRUE(sent.empty());
    ExpectRaised([&] { reader->SearchBibHeading("100", "", "Smith", set, true); }, kBase + 1068,
                 "No BibliographicIndicators supplied");
    ExpectRaised([&] { reader->SearchBibHeading("100", "10", "", set, true); }, kBase + 1045,
                 "No BibliographicHeading supplied");
    ExpectRaised([&] { reader->SearchBibHeading("100", "10", "...", set, true); }, kBase + 1045,
                 "No BibliographicHeading supplied");
    ExpectRaised([&] { reader->BibHeading(""); }, 380, "Invalid value for BibHeading property");
    ExpectRaised([&] { reader->SearchHeadingBlock("", set, true, true, "", "", 1); }, kBase + 1045,
                 "No Heading supplied");
    ExpectRaised([&] { reader->SearchHeadingBlock("--", set, true, true, "", "", 1); }, kBase + 1045,
                 "No Heading supplied");
    ExpectRaised([&] { reader->SearchSubdiv("", "History", set, true, true, ""); }, kBase + 1045,
                 "No subject system code supplied");
    ExpectRaised([&] { reader->SearchSubdiv("ab", "History", set, true, true, ""); }, 380,
                 "Invalid value for subject system code parameter");
    ExpectRaised([&] { reader->SearchSubdiv("a", "", set, true, true, ""); }, kBase + 1045, "No Subdivision supplied");
    for (const std::string id : {"", " 1", "-1", "1a"}) {
        SCOPED_TRACE(id);
        const bool empty = id.empty();
        ExpectRaised([&] { reader->SearchHeadingIDAuth(id, set); }, kBase + (empty ? 1069 : 1070),
                     empty ? "No Heading ID supplied" : "Heading ID is not numeric");
        ExpectRaised([&] { reader->SearchHeadingIDBib(id, set); }, kBase + (empty ? 1069 : 1070),
                     empty ? "No Heading ID supplied" : "Heading ID is not numeric");
        ExpectRaised([&] { reader->SearchSubdivIDAuth(id, set); }, kBase + (empty ? 1069 : 1070),
                     empty ? "No Subdivision ID supplied" : "Subdivision ID is not numeric");
        ExpectRaised([&] { reader->SearchSubdivIDBib(id, set); }, kBase + (empty ? 1069 : 1070),
                     empty ? "No Subdivision ID supplied" : "Subdivision ID is not numeric");
        ExpectRaised([&] { reader->SearchSubdivIDHeading(id, set, true); }, kBase + (empty ? 1069 : 1070),
                     empty ? "No Subdivision ID supplied" : "Subdivision ID is not numeric");
    }
}

// The stored heading, flag and normal form carry over; a long normal form is cut to 150 octets.
TEST_F(HeadingSearchTest, StoredHeadingAndNormalForm) {
    int16_t set = 0;
    reader->SearchBibHeading("100", "10", "Smith, John", set, false);
    EXPECT_FALSE(reader->BibHeadingIsTruncated());
    const std::string first = reader->BibHeadingNormalized();
    reader->SearchBibHeading("245", "10", "", set, true);
    EXPECT_EQ(reader->BibHeading(), "Smith, John");
    EXPECT_TRUE(reader->BibHeadingIsTruncated());
    EXPECT_EQ(reader->BibHeadingNormalized(), first);

    std::string longHeading;
    for (int i = 0; i < 40; ++i) longHeading += "word ";
    reader->SearchBibHeading("245", "10", longHeading, set, false);
    EXPECT_LE(reader->BibHeadingNormalized().size(), 150u);
    EXPECT_EQ(reader->BibHeadingNormalized().back(), 'D');
    EXPECT_EQ(reader->BibHeading(), longHeading);
}

// 0 comes back as the new set's number, a positive number names the set used,
// a negative one runs on the set in force.
TEST_F(HeadingSearchTest, ResultSetArgument) {
    int16_t first = 0;
    reader->SearchHeadingIDBib("1", first);
    ASSERT_GT(first, 0);
    int16_t second = 0;
    reader->SearchSubdivIDBib("1", second);
    ASSERT_NE(second, first);
    int16_t again = first;
    reader->SearchHeading("Smith", again, false, true, "", "");
    EXPECT_EQ(again, first);
    EXPECT_EQ(reader->Session().ResultSet(), first);
    EXPECT_EQ(reader->Session().ResultSetSearchType(), SearchTypeHeading);
    int16_t current = -1;
    reader->SearchSubdivIDAuth("1", current);
    EXPECT_EQ(current, -1);
    EXPECT_EQ(reader->Session().ResultSet(), first);
    EXPECT_EQ(reader->Session().ResultSetSearchType(), SearchTypeSubdivisionId);
}

// Rows written with the reader's own normal forms of decomposed text are found
// from precomposed and decomposed input alike, with their columns read back.
TEST_F(HeadingSearchTest, FindsRowsFromComposedAndDecomposedText) {
    const std::string normal = BibNormal("100", kMuellerNfd);
    ASSERT_EQ(normal.rfind("MULLER", 0), 0u) << normal;
    EXPECT_EQ(BibNormal("100", kMuellerNfc), normal);
    const std::string cyrNormal = BibNormal("100", kCyrillic);
    ASSERT_FALSE(cyrNormal.empty());
    db.Execute("INSERT INTO BIB_INDEX VALUES (501, '100H', '" + normal + "', '" + kMuellerNfd + "');"
               "INSERT INTO BIB_INDEX VALUES (502, '2450', '" + normal + "', '" + kMuellerNfd + "');"
               "INSERT INTO HEADING VALUES (901, 'A', 'p', '" + normal + "', 1, 1, NULL);"
               "INSERT INTO HEADING VALUES (902, 'A', 'p', '" + cyrNormal + "', 1, 2, 3);"
               "INSERT INTO BIB_HEADING VALUES (501, 901, '" + kMuellerNfd + "');"
               "INSERT INTO SUBDIVISION VALUES (71, 'x', '" + normal + "', 'N', 'a');"
               "INSERT INTO HEADING_SUBDIVISION VALUES (902, 71);");
    for (const std::string& text : {kMuellerNfc, kMuellerNfd}) {
        SCOPED_TRACE(text);
        int16_t set = 0;
        reader->SearchBibHeading("100", "10", text, set, false);
        EXPECT_EQ(Rows(set, 4), (std::vector<std::vector<std::string>>{{"501", "100", normal, kMuellerNfd}}));
        EXPECT_EQ(reader->BibHeading(), text);
        set = 0;
        reader->SearchHeading(text, set, true, true, "", "");
        EXPECT_EQ(Rows(set, 7), (std::vector<std::vector<std::string>>{{"901", "A", "p", normal, "1", "1", "N"}}));
        set = 0;
        // Without references the heading is left out.
        reader->SearchHeading(text, set, true, false, "", "");
        EXPECT_TRUE(Rows(set, 1).empty());
        set = 0;
        reader->SearchSubdiv("a", text, set, false, true, "x");
        EXPECT_EQ(Rows(set, 1), (std::vector<std::vector<std::string>>{{"71"}}));
        set = 0;
        reader->SearchSubdiv("a", text, set, false, false, "x");
        EXPECT_TRUE(Rows(set, 1).empty());
    }
    int16_t set = 0;
    reader->SearchHeading(kCyrillic, set, false, false, "A", "");
    EXPECT_EQ(Rows(set, 7), (std::vector<std::vector<std::string>>{{"902", "A", "p", cyrNormal, "1", "2", "Y"}}));
    set = 0;
    reader->SearchHeadingIDBib("901", set);
    EXPECT_EQ(Rows(set, 2), (std::vector<std::vector<std::string>>{{"501", kMuellerNfd}}));
    set = 0;
    reader->SearchSubdivIDHeading("71", set, false);
    EXPECT_EQ(Rows(set, 1), (std::vector<std::vector<std::string>>{{"902"}}));
}

// Every form but the truncated CHR one (a LIKE against an expression) searches an index.
TEST_F(HeadingSearchTest, EveryStatementSearchesAnIndex) {
    int16_t set = 0;
    reader->SearchBibHeading("100", "10", "Smith", set, false);
    sent.clear();  // the connection's own queries
    reader->SearchBibHeading("100", "10", "Smith", set, false);
    reader->SearchBibHeading("245", "10", "Smith", set, true);
    reader->SearchHeading("Smith", set, false, false, "AB", "p");
    reader->SearchHeading("Smith ", set, true, true, "", "");
    reader->SearchHeading(kCyrillic, set, false, true, "", "");
    reader->SearchHeadingBlock("Smith", set, true, true, "A", "", 10);
    reader->SearchHeadingIDAuth("1", set);
    reader->SearchHeadingIDBib("1", set);
    reader->SearchSubdiv("a", "History", set, true, false, "x");
    reader->SearchSubdiv("a", "History", set, false, true, "");
    reader->SearchSubdivIDAuth("1", set);
    reader->SearchSubdivIDBib("1", set);
    reader->SearchSubdivIDHeading("1", set, false);
    const std::vector<std::string> statements = sent;
    ASSERT_EQ(statements.size(), 13u);
    readertest::ExpectEveryStatementSearchesAnIndex(*reader, statements);
}

}  // namespace

namespace {

// The generated records' heading index rows, made by the data generator with
// the project's own normal forms: headings typed precomposed or decomposed, in
// Cyrillic or Greek, titles with nonfiling words and category words find their
// records, and each record found, loaded, holds the heading.
class GeneratedHeadingsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::filesystem::path folder =
            std::filesystem::path(EXITDESK_BINARY_DIR) / "testdb" / ("headings-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        sqlFile = new std::string((folder / "records.sql").string());
        const std::string command = std::string(EXITDESK_PYTHON) + " " + EXITDESK_SOURCE_DIR +
                                    "/tools/demo/make_demo.py --records 50 --seed 3 --normal-forms " +
                                    EXITDESK_NORMAL_FORMS + " --sql-out " + *sqlFile;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(*sqlFile).parent_path(), ignored);
        delete sqlFile;
    }

    GeneratedHeadingsTest() : db({*sqlFile}) {
        reader.DSN(db.Dsn());
        reader.uID("reader");
        reader.PWD("secret");
        reader.TableNamePrefix("main");
    }

    std::vector<std::string> Column(int16_t set, int16_t column) {
        std::vector<std::string> values;
        while (reader.GetNextRow(set)) values.push_back(reader.CurrentRow(set, column));
        return values;
    }
    static bool Has(const std::vector<std::string>& values, const std::string& value) {
        return std::find(values.begin(), values.end(), value) != values.end();
    }

    static std::string* sqlFile;
    testsupport::TempSettingsFolder settings;
    testsupport::LibraryTestDatabase db;
    VgerReaderClass7 reader;
};
std::string* GeneratedHeadingsTest::sqlFile = nullptr;

// Precomposed and decomposed forms of the same headings (the stored records are decomposed).
const std::string kBuechnerNfc = "B\xC3\xBC" "chner, Georg";
const std::string kBuechnerNfd = "Bu\xCC\x88" "chner, Georg";
const std::string kMoliereNfc = "Moli\xC3\xA8re";
const std::string kMoliereNfd = "Molie\xCC\x80re";
const std::string kOneginNfc = "\xD0\x95\xD0\xB2\xD0\xB3\xD0\xB5\xD0\xBD\xD0\xB8\xD0\xB9 \xD0\x9E\xD0\xBD\xD0\xB5\xD0\xB3\xD0\xB8\xD0\xBD";
const std::string kOneginNfd =
    "\xD0\x95\xD0\xB2\xD0\xB3\xD0\xB5\xD0\xBD\xD0\xB8\xD0\xB8\xCC\x86 \xD0\x9E\xD0\xBD\xD0\xB5\xD0\xB3\xD0\xB8\xD0\xBD";
const std::string kTheodorakis =
    "\xCE\x98\xCE\xB5\xCE\xBF\xCE\xB4\xCF\x89\xCF\x81\xCE\xAC\xCE\xBA\xCE\xB7\xCF\x82, \xCE\x9C\xCE\xAF\xCE\xBA\xCE\xB7\xCF\x82";
const std::string kTheodorakisNfd =
    "\xCE\x98\xCE\xB5\xCE\xBF\xCE\xB4\xCF\x89\xCF\x81\xCE\xB1\xCC\x81\xCE\xBA\xCE\xB7\xCF\x82, "
    "\xCE\x9C\xCE\xB9\xCC\x81\xCE\xBA\xCE\xB7\xCF\x82";
const std::string kKoeniginNfc = "k\xC3\xB6nigin von Saba";
const std::string kKoeniginNfd = "ko\xCC\x88nigin von Saba";

TEST_F(GeneratedHeadingsTest, BibliographicHeadingsFindTheirRecords) {
    struct Case {
        std::string tag, indicators, heading;
        bool truncated;
        std::string bib, inRecord;  // a record found, and text its stored form holds
    };
    const std::vector<Case> cases = {
        {"700", "1 ", kBuechnerNfc, true, "10000004", kBuechnerNfd},
        {"700", "1 ", kBuechnerNfd, true, "10000004", kBuechnerNfd},
        {"personal", "1 ", kBuechnerNfc, true, "10000004", kBuechnerNfd},
        {"subject", "10", kMoliereNfc, true, "10000008", kMoliereNfd},
        {"600", "10", kMoliereNfd + ", 1622-1673. Misanthrope.", false, "10000008", kMoliereNfd},
        {"245", "10", kOneginNfc, true, "10000001", kOneginNfd},
        {"245", "10", kOneginNfd, true, "10000001", kOneginNfd},
        {"100", "1 ", kTheodorakis, false, "10000002", kTheodorakisNfd},
        {"100", "1 ", kTheodorakisNfd, false, "10000002", kTheodorakisNfd},
        // Nonfiling words: left out by the indicator, or not typed.
        {"245", "13", "Il cammino della tradizione", true, "10000002", "Il cammino della tradizione"},
        {"title", "10", "cammino della tradizione", true, "10000002", "Il cammino della tradizione"},
        {"series", "10", "bottega di Eraclito", true, "10000002", "La bottega di Eraclito"},
        {"uniform", "10", kKoeniginNfc, true, "10000010", kKoeniginNfd},
        {"2", "20", "National Radio Theatre of Chicago", true, "10000004", "National Radio Theatre of Chicago"},
        {"corporate", "20", "national radio theatre", true, "10000004", "National Radio Theatre of Chicago"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag + " " + c.heading);
        int16_t set = 0;
        reader.SearchBibHeading(c.tag, c.indicators, c.heading, set, c.truncated);
        const std::vector<std::string> bibs = Column(set, 1);
        ASSERT_TRUE(Has(bibs, c.bib)) << reader.BibHeadingNormalized();
        reader.RetrieveBibRecord(c.bib);
        EXPECT_NE(reader.BibRecord().find(c.inRecord), std::string::npos);
    }
}

// A heading form longer than 150 octets is searched by its first 150, here
// cut inside a Cyrillic letter; the index row holds the same octets, so the
// record is found, exactly and by truncation.
TEST_F(GeneratedHeadingsTest, AHeadingCutInsideACharacterFindsItsRecord) {
    const std::string title =
        "\xD0\x95\xD0\xB2\xD0\xB3\xD0\xB5\xD0\xBD\xD0\xB8\xD0\xB9 \xD0\x9E\xD0\xBD\xD0\xB5\xD0\xB3\xD0\xB8\xD0\xBD : "
        "\xD0\xBB\xD0\xB8\xD1\x80\xD0\xB8\xD1\x87\xD0\xB5\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB5 \xD1\x81\xD1\x86\xD0\xB5\xD0\xBD\xD1\x8B "
        "\xD0\xB2 \xD1\x82\xD1\x80\xD0\xB5\xD1\x85 \xD0\xB4\xD0\xB5\xD0\xB9\xD1\x81\xD1\x82\xD0\xB2\xD0\xB8\xD1\x8F\xD1\x85 "
        "\xD0\xB8 \xD1\x81\xD0\xB5\xD0\xBC\xD0\xB8 \xD0\xBA\xD0\xB0\xD1\x80\xD1\x82\xD0\xB8\xD0\xBD\xD0\xB0\xD1\x85, "
        "\xD0\xBB\xD0\xB8\xD0\xB1\xD1\x80\xD0\xB5\xD1\x82\xD1\x82\xD0\xBE \xD0\x9A. \xD0\xA1. "
        "\xD0\xA8\xD0\xB8\xD0\xBB\xD0\xBE\xD0\xB2\xD1\x81\xD0\xBA\xD0\xBE\xD0\xB3\xD0\xBE \xD0\xB8 \xD0\x9F. \xD0\x98. "
        "\xD0\xA7\xD0\xB0\xD0\xB9\xD0\xBA\xD0\xBE\xD0\xB2\xD1\x81\xD0\xBA\xD0\xBE\xD0\xB3\xD0\xBE \xD0\xBF\xD0\xBE "
        "\xD1\x80\xD0\xBE\xD0\xBC\xD0\xB0\xD0\xBD\xD1\x83 \xD0\xB2 \xD1\x81\xD1\x82\xD0\xB8\xD1\x85\xD0\xB0\xD1\x85 "
        "\xD0\x90. \xD0\xA1. \xD0\x9F\xD1\x83\xD1\x88\xD0\xBA\xD0\xB8\xD0\xBD\xD0\xB0";
    for (const bool truncated : {false, true}) {
        SCOPED_TRACE(truncated);
        int16_t set = 0;
        reader.SearchBibHeading("246", "1 ", title, set, truncated);
        const std::string form = reader.BibHeadingNormalized();
        ASSERT_EQ(form.size(), 150u);
        EXPECT_EQ(static_cast<unsigned char>(form.back()), 0xD0);  // a lead octet without its continuation
        EXPECT_TRUE(Has(Column(set, 1), "10000001"));
    }
}

// Every generated name and subject heading is found, exactly, from its display text.
TEST_F(GeneratedHeadingsTest, EveryNameAndSubjectRowIsFoundFromItsDisplay) {
    int16_t list = 0;
    reader.ExecuteSQL("SELECT BIB_ID, INDEX_CODE, RAWTOHEX(DISPLAY_HEADING) FROM main.BIB_INDEX WHERE INDEX_CODE IN "
                      "('100H', '600H', '700H', '710H', '6500') ORDER BY BIB_ID, INDEX_CODE",
                      list);
    std::vector<std::vector<std::string>> rows;
    while (reader.GetNextRow(list))
        rows.push_back({reader.CurrentRow(list, 1), reader.CurrentRow(list, 2),
                        UtliMiscNonUtf8::HexToText(reader.CurrentRow(list, 3))});
    ASSERT_GT(rows.size(), 100u);
    for (const auto& row : rows) {
        SCOPED_TRACE(row[0] + " " + row[1] + " " + row[2]);
        int16_t set = 0;
        reader.SearchBibHeading(row[1].substr(0, 3), "1 ", row[2], set, false);
        EXPECT_TRUE(Has(Column(set, 1), row[0]));
    }
}

TEST_F(GeneratedHeadingsTest, HeadingsAndSubdivisionsLeadToTheirRecords) {
    // Headings typed both ways, and in Greek (sent in CHR form), lead to the records that carry them.
    for (const auto& [heading, bib, inRecord] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {kBuechnerNfc, "10000004", kBuechnerNfd},
             {kBuechnerNfd, "10000004", kBuechnerNfd},
             {kMoliereNfc + ", 1622-1673", "10000008", kMoliereNfd},
             {kTheodorakis, "10000002", kTheodorakisNfd}}) {
        SCOPED_TRACE(heading);
        int16_t set = 0;
        reader.SearchHeading(heading, set, true, true, "", "");
        const std::vector<std::string> ids = Column(set, 1);
        ASSERT_FALSE(ids.empty());
        bool found = false;
        for (const std::string& id : ids) {
            int16_t links = 0;
            reader.SearchHeadingIDBib(id, links);
            while (reader.GetNextRow(links)) {
                if (reader.CurrentRow(links, 1) != bib) continue;
                found = true;
                EXPECT_NE(reader.CurrentRow(links, 2).find(inRecord), std::string::npos);
            }
        }
        EXPECT_TRUE(found);
        reader.RetrieveBibRecord(bib);
        EXPECT_NE(reader.BibRecord().find(inRecord), std::string::npos);
    }

    // An authority heading with references; its authority link and record.
    int16_t set = 0;
    reader.SearchHeading("Watson, George", set, false, false, "A", "p");
    const std::vector<std::string> watson = Column(set, 1);
    ASSERT_EQ(watson.size(), 1u);
    set = 0;
    reader.SearchHeadingIDAuth(watson[0], set);
    ASSERT_TRUE(reader.GetNextRow(set));
    const std::string auth = reader.CurrentRow(set, 1);
    EXPECT_EQ(reader.CurrentRow(set, 2), "Watson, George");
    EXPECT_EQ(reader.CurrentRow(set, 3), "A");
    reader.RetrieveAuthRecord(auth);
    EXPECT_NE(reader.AuthRecord().find("Watson, George"), std::string::npos);
    // A heading that only bibliographic records carry has no references.
    set = 0;
    reader.SearchHeading(kBuechnerNfc, set, true, false, "", "");
    EXPECT_TRUE(Column(set, 1).empty());

    // Subdivisions: topical ones are authorized, geographic ones not.
    set = 0;
    reader.SearchSubdiv("0", "Stories, plots, etc.", set, false, false, "x");
    const std::vector<std::string> stories = Column(set, 1);
    ASSERT_EQ(stories.size(), 1u);
    set = 0;
    reader.SearchSubdivIDBib(stories[0], set);
    EXPECT_TRUE(Has(Column(set, 1), "10000001"));
    set = 0;
    reader.SearchSubdivIDHeading(stories[0], set, true);
    EXPECT_TRUE(Has(Column(set, 4), "OPERAS STORIES PLOTS ETC"));
    set = 0;
    reader.SearchSubdivIDAuth(stories[0], set);
    EXPECT_EQ(Column(set, 2), std::vector<std::string>{"Stories, plots, etc."});
    set = 0;
    reader.SearchSubdiv("0", "Brazil", set, false, false, "z");
    EXPECT_TRUE(Column(set, 1).empty());
    set = 0;
    reader.SearchSubdiv("0", "Brazil", set, false, true, "z");
    EXPECT_EQ(Column(set, 4), std::vector<std::string>{"N"});

    // Standard numbers of both indexes.
    set = 0;
    reader.SearchBibStandardNumber("020", "a", "8203180566", set, false, false);
    EXPECT_TRUE(Has(Column(set, 1), "10000003"));
    set = 0;
    reader.SearchAuthStandardNumber("010", "a", "n 00015403", set, false, false);
    EXPECT_TRUE(Has(Column(set, 1), "1"));
}

}  // namespace
