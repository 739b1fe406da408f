#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "marc/record/marc_record.h"

namespace {

using test_octets::O;

struct NumberCase {
    std::string tag;
    std::string text;
    std::string expected;
};

TEST(NormalizeStandardNumber, FormsByTag) {
    Utf8MarcRecordClass record;
    const std::vector<NumberCase> cases = {
        {"020", "0-306-40615-2 (pbk.)", "0306406152 PBK"},
        {"020", "  0-8044-2957-x  ", "080442957X"},
        {"020", "", ""},
        {"022", "0317-8471", "0317 8471"},
        {"022", " 0317--8471 (print) ", "0317 8471 PRINT"},
        {"022", "", ""},
        {"035", "(OCoLC)ocm12345678", "OCM12345678"},
        {"035", "(OCoLC) 123 (x)y", "123 (X)Y"},
        {"035", "(OCoLC", "(OCOLC"},
        {"035", "(OCoLC)", ""},
        {"035", "ocm1)2", "OCM1)2"},
        {"035", "", ""},
        {"010", "  85-153773 ", "85153773"},
        {"010", "sn 85-1537  ", "SN 851537"},
        {"245", " The text, as given. ", "The text, as given."},
        {"245", "", ""},
        {"", " a-b ", "a-b"},
    };
    for (const NumberCase& k : cases)
        EXPECT_EQ(record.NormalizeStandardNumber(k.tag, k.text), k.expected) << k.tag << " " << k.text;
}

// Octets outside the kept set vanish one by one: both octets of a UTF-8
// letter with its acute, the MARC-8 acute alone (its base letter stays).
TEST(NormalizeStandardNumber, LettersWithDiacriticsByRecordEncoding) {
    Utf8MarcRecordClass utf8;
    EXPECT_EQ(utf8.NormalizeStandardNumber("020", "0306406152 (r" + O("C3 A9") + "v.)"), "0306406152 RV");
    EXPECT_EQ(utf8.NormalizeStandardNumber("020", "0306406152 (re" + O("CC 81") + "v.)"), "0306406152 REV");
    Utf8MarcRecordClass marc8;
    marc8.CharacterSetOut("M");
    EXPECT_EQ(marc8.NormalizeStandardNumber("020", "0306406152 (r" + O("E2") + "ev.)"), "0306406152 REV");
}

struct CheckCase {
    std::string text;
    bool expected;
};

TEST(CheckISXN, CheckCharactersAndForms) {
    Utf8MarcRecordClass record;
    const std::vector<CheckCase> cases = {
        {"0-306-40615-2", true},
        {"0-8044-2957-X", true},
        {"0-8044-2957-x", true},  // upper-cased first
        {"0317-8471", true},
        {"978-0-306-40615-7", true},
        {"M-2306-7118-7", true},
        {"m-2306-7118-7", true},
        {"0-306-40615-3", false},
        {"0306406152 ", false},             // eleven characters
        {"0306406152 (pbk.)", false},
        {"0 306 40615 2", false},            // blanks count: tested as thirteen
        {"978-0-306-40615-X", false},       // "X" never checks a 13-digit number
        {"ABCDEFGHIJKL0", false},           // a 13-character form needs twelve digits
        {"97803064061A7", false},
        {"M-2306-A118-7", false},           // nine digits after the "M"
        {"M-2306-7118-77", false},
        {"M2306711", false},                // no ISMN has eight characters
        {"0-306-4061A-2", false},
        {"0317-847Y", false},
        {"", false},
        {"-", false},
        {"12345678901234", false},
    };
    for (const CheckCase& k : cases) EXPECT_EQ(record.CheckISXN(k.text), k.expected) << k.text;
}

struct ConvertCase {
    std::string text;
    std::string expected;
};

TEST(ConvertISBN, ThirteenToTen) {
    Utf8MarcRecordClass record;
    const std::vector<ConvertCase> cases = {
        {"9780804429573", "080442957X"},
        {"978-0-306-40615-7", "0306406152"},
        {"9780306406157 (pbk.)", "0306406152"},  // the qualifier goes
        {"9780000000002", "0000000000"},         // a sum that is a multiple of 11 checks "0"
        {"979-10-90636-07-1", "979-10-90636-07-1"},
        {"0306406152", "0306406152"},
        {"97803064061X7", "97803064061X7"},      // "X" inside: no number to convert
        {"97803064061570", "97803064061570"},    // fourteen digits
        {"978030640615", "978030640615"},
        {"", ""},
    };
    for (const ConvertCase& k : cases) EXPECT_EQ(record.ConvertISBN13To10(k.text), k.expected) << k.text;
}

TEST(ConvertISBN, TenToThirteen) {
    Utf8MarcRecordClass record;
    const std::vector<ConvertCase> cases = {
        {"0306406152 (pbk.)", "9780306406157 (pbk.)"},
        {"0-306-40615-2", "9780306406157"},
        {"0-306-40615-9", "9780306406157"},  // the old check character is not read
        {"080442957X", "9780804429573"},
        {"123456789", "9780123456786"},      // a 9-digit Standard Book Number
        {"080442957x", "9780080442952x"},    // a small x ends the number
        {"12345", "12345"},
        {"1-2345", "12345"},
        {"03064X6152", "03064X6152"},        // no sum for a body with an "X"
        {"X306406152 (pbk.)", "X306406152 (pbk.)"},
        {"", ""},
    };
    for (const ConvertCase& k : cases) EXPECT_EQ(record.ConvertISBN10To13(k.text), k.expected) << k.text;
}

// Validity and conversions of well-formed numbers as python3-stdnum gives
// them (testdata/standard_numbers.tsv, tools/capture_standard_numbers.py).
TEST(StandardNumbers, AgreeWithStdnum) {
    std::ifstream in(std::string(EXITDESK_SOURCE_DIR) + "/testdata/standard_numbers.tsv");
    ASSERT_TRUE(in) << "testdata/standard_numbers.tsv";
    Utf8MarcRecordClass record;
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string number, valid, to10, to13;
        std::getline(fields, number, '\t');
        std::getline(fields, valid, '\t');
        std::getline(fields, to10, '\t');
        std::getline(fields, to13);
        ++rows;
        EXPECT_EQ(record.CheckISXN(number), valid == "1") << number;
        if (to10 != "-") {
            EXPECT_EQ(record.ConvertISBN13To10(number), to10) << number;
        }
        if (to13 != "-") {
            EXPECT_EQ(record.ConvertISBN10To13(number), to13) << number;
        }
    }
    EXPECT_GT(rows, 600);
}

}  // namespace
