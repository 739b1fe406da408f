// Searches over rows whose normal columns are written out by hand, in the
// forms the normalization members are documented to give, rather than
// computed by them: a fault in a normal form then shows here, where the
// tests that store computed forms would find the same wrong form on both
// sides and pass.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "db/library_reader.h"
#include "db/library_reader_test_support.h"

namespace {

class WrittenFormsTest : public readertest::ReaderFixture {
protected:
    WrittenFormsTest() : reader(LoggedInReader()) {}

    std::vector<std::string> Ids(int16_t set) {
        std::vector<std::string> ids;
        while (reader->GetNextRow(set)) ids.push_back(reader->CurrentRow(set, 1));
        return ids;
    }

    std::unique_ptr<VgerReaderClass7> reader;
};

// Call numbers of the Library of Congress, Dewey and SuDoc rules, searched in
// their normal form from the display text.
TEST_F(WrittenFormsTest, CallNumbersFindTheirWrittenNormalForms) {
    const std::string twelve(12, ' ');
    struct Case {
        std::string type, display, normal;
    };
    const std::vector<Case> cases = {
        {"0", "QA76", "QA   76"},
        {"0", "QA76.73", "QA   7673"},
        {"0", "QA76 .B3", "QA   76" + twelve + "B 3"},
        {"0", "PR6045.O72 Z5 1990", "PR 6045            O 72   Z 5   1990"},
        {"0", "KF 101 .A2", "KF  101            A 2"},
        {"0", "QA76 1990", "QA   76       1990"},
        {"0", "QA76.5 .B3 1990b", "QA   765           B 3   1990 B"},
        {"0", "QABCDE76", "QABCD" + std::string(17, ' ') + "E 76"},
        {"2", "76 .B3", "76" + std::string(16, ' ') + "B 3"},
        {"1", "823.914 W42 1990", "823.914 W 42 1990"},
        {"1", "5 A", "005 A"},
        {"1", "82.3 B45", "082.3 B 45"},
        {"1", "025.04 B87 1995 v.2", "025.04 B 87 1995 V .2"},
        {"1", "823.91/4-dc20", "823.91 / 4 - DC 20"},
        {"3", "HE 20.3152:P 94", "HE   20  3152  \x1F P 94"},
        {"3", "Y 4.F 76/1:IN 8/3", "Y    4  F   76     1  \x1F IN 8 3"},
    };
    int id = 801;
    for (const Case& c : cases) {
        db.Execute("INSERT INTO MFHD_MASTER VALUES (" + std::to_string(id++) + ", 1, 'N', '" + c.type + "', '" +
                   c.display + "', '" + c.normal + "')");
    }
    id = 801;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type + " " + c.display);
        int16_t set = 0;
        reader->SearchCallNumber(c.type, c.display, set, false, false, true, false);
        EXPECT_EQ(reader->CallNumberNormalized(), c.normal);
        EXPECT_EQ(Ids(set), std::vector<std::string>{std::to_string(id++)});
    }
}

// A subject heading and standard numbers of each kind, in both indexes.
TEST_F(WrittenFormsTest, HeadingsAndStandardNumbersFindTheirWrittenNormalForms) {
    db.Execute(
        "INSERT INTO BIB_INDEX VALUES "
        "(901, '6500', 'UNITED STATES HISTORY CIVIL WAR 1861 1865', 'United States--History--Civil War, 1861-1865.'),"
        "(902, '020A', '0306406152 PBK', '0-306-40615-2 (pbk.)'), (903, '022A', '0317 8471', '0317-8471'),"
        "(904, '035A', 'OCM12345678', '(OCoLC)ocm12345678'), (905, '010A', '85153773', '  85-153773 ');"
        "INSERT INTO AUTH_INDEX VALUES (906, 'A10A', '85153773', '  85-153773 '),"
        "(907, 'A35A', 'OCM12345678', '(OCoLC)ocm12345678');"
        "INSERT INTO HEADING VALUES (908, 'S', '0', 'UNITED STATES HISTORY CIVIL WAR 1861 1865', 1, 1, NULL);"
        "INSERT INTO SUBDIVISION VALUES (909, 'y', 'CIVIL WAR 1861 1865', 'N', '0');");
    int16_t set = 0;
    reader->SearchBibHeading("650", " 0", "United States--History--Civil War, 1861-1865.", set, false);
    EXPECT_EQ(Ids(set), std::vector<std::string>{"901"});
    set = 0;
    reader->SearchHeading("United States--History--Civil War, 1861-1865.", set, false, true, "S", "");
    EXPECT_EQ(Ids(set), std::vector<std::string>{"908"});
    set = 0;
    reader->SearchSubdiv("0", "Civil War, 1861-1865.", set, false, true, "y");
    EXPECT_EQ(Ids(set), std::vector<std::string>{"909"});

    struct Case {
        bool authority;
        std::string tag, number, id;
    };
    const std::vector<Case> cases = {
        {false, "020", "0-306-40615-2 (pbk.)", "902"}, {false, "022", "0317-8471", "903"},
        {false, "035", "(OCoLC)ocm12345678", "904"},   {false, "010", "  85-153773 ", "905"},
        {true, "010", "  85-153773 ", "906"},          {true, "035", "(OCoLC)ocm12345678", "907"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag + " " + c.number);
        set = 0;
        if (c.authority)
            reader->SearchAuthStandardNumber(c.tag, "a", c.number, set, false, false);
        else
            reader->SearchBibStandardNumber(c.tag, "a", c.number, set, false, false);
        EXPECT_EQ(Ids(set), std::vector<std::string>{c.id});
    }
}

}  // namespace
