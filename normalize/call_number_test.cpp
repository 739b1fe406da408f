#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"
#include "platform/events.h"

namespace {

using test_octets::U;

const std::string D = "\x1F";

std::string Blanks(size_t n) { return std::string(n, ' '); }

struct CallNumberCase {
    std::string type;
    std::string callNumber;
    std::string expected;
};

void ExpectForms(Utf8MarcRecordClass& record, const std::vector<CallNumberCase>& cases) {
    for (const CallNumberCase& k : cases) {
        EXPECT_EQ(record.NormalizeCallNumber(k.callNumber, k.type), k.expected)
            << "type " << ::testing::PrintToString(k.type) << ", call number "
            << ::testing::PrintToString(k.callNumber);
    }
}

// "QA   76" followed by the blanks that bring the cutter to column 20.
const std::string kQa76 = "QA" + Blanks(3) + "76" + Blanks(12);

TEST(NormalizeCallNumber, LcClassLettersNumberAndExtraDigits) {
    Utf8MarcRecordClass record;
    ExpectForms(record, {
        {"0", "QA76", "QA" + Blanks(3) + "76"},
        {"0", "QA76.73", "QA" + Blanks(3) + "7673"},  // between 76.7 and 76.8
        {"0", "QA76.", "QA" + Blanks(3) + "76"},
        {"0", " qa76 .. ", "QA" + Blanks(3) + "76"},
        {"0", "QA76 .B3", kQa76 + "B 3"},
        {"0", "PR6045.O72 Z5 1990", "PR 6045" + Blanks(12) + "O 72" + Blanks(3) + "Z 5" + Blanks(3) + "1990"},
        {"0", "KF 101 .A2", "KF" + Blanks(2) + "101" + Blanks(12) + "A 2"},
        {"0", "QA76 1990", "QA" + Blanks(3) + "76" + Blanks(7) + "1990"},  // the year ends at column 18
        {"0", "QA76 1990 5", kQa76 + "1990" + Blanks(3) + "5"},           // a number follows: read on
        {"0", "QA76.5 .B3 1990b", "QA" + Blanks(3) + "765" + Blanks(11) + "B 3" + Blanks(3) + "1990 B"},
        {"0", "QABCDE76", "QABCD" + Blanks(17) + "E 76"},   // five class letters at most
        {"0", "76 .B3", "76" + Blanks(16) + "B 3"},         // no letters: head 20 wide, leading blanks trimmed
        {"0", "QA12345.6", "QA 123456"},                    // five integer digits stay as they are
        {"0", "QA", "QA"},
        {"2", "W 100 .B3", "W" + Blanks(2) + "100" + Blanks(12) + "B 3"},
        {"L", "QA76", "QA" + Blanks(3) + "76"},
        {"N", "QA76", "QA" + Blanks(3) + "76"},
    });
}

TEST(NormalizeCallNumber, LcCuttersDatesAndVolumes) {
    Utf8MarcRecordClass record;
    ExpectForms(record, {
        {"0", "QA76 .B3 1990-1995", kQa76 + "B 3" + Blanks(3) + "1990 1995"},
        {"0", "QA76 .B3 v.12-15", kQa76 + "B 3" + Blanks(3) + "V ." + Blanks(2) + "12" + Blanks(3) + "15"},
        {"0", "QA76 .B3 v.1-12345", kQa76 + "B 3" + Blanks(3) + "V ." + Blanks(3) + "1 12345"},
        {"0", "QA76 .B3 (1990)", kQa76 + "B 3" + Blanks(3) + "( 1990 )"},
        {"0", "QA76 .B3, 1990", kQa76 + "B 3 ," + Blanks(3) + "1990"},
        {"0", "QA76 .B3 1990-", kQa76 + "B 3" + Blanks(3) + "1990"},
        {"0", "QA76 .B3 c.2", kQa76 + "B 3" + Blanks(3) + "C .2"},
        {"0", "QA76 .B3 " + U(0xC9) + "t" + U(0x301) + "e", kQa76 + "B 3" + Blanks(3) + "ETE"},
        // The position found in the trimmed head lands in the head with its
        // leading blanks: the blanks go before the cutter's letter.
        {"0", "76 .B3-12", "76" + Blanks(19) + "B 3" + Blanks(3) + "12"},
    });
}

TEST(NormalizeCallNumber, DeweyNumbers) {
    Utf8MarcRecordClass record;
    ExpectForms(record, {
        {"1", "823.914", "823.914"},
        {"1", "823.914 W42 1990", "823.914 W 42 1990"},
        {"1", "5 A", "005 A"},
        {"1", "82.3", "082.3"},
        {"1", "82.3 B45", "082.3 B 45"},
        {"1", "82", "82"},  // nothing after the number: no zeros
        {"1", "025.04 B87 1995 v.2", "025.04 B 87 1995 V .2"},
        {"1", "823.91/4-dc20", "823.91 / 4 - DC 20"},
        {"1", "823 B45 1990 82", "823 B 45 1990 82"},  // only the first number is padded
        {"1", "&82.3.", "082.3"},
        {"1", "82.3" + D + "b45", "082.345"},  // the small letter goes, the digits run on
        {"D", "82.3", "082.3"},
    });
}

TEST(NormalizeCallNumber, DeweyYieldsBeforeEveryCharacter) {
    Utf8MarcRecordClass record;
    int yields = 0;
    platform::ScopedEventPump pump([&] { ++yields; });
    EXPECT_EQ(record.NormalizeCallNumber("82.3 " + U(0xC9), "1"), "082.3 E");
    EXPECT_EQ(yields, 6);
}

TEST(NormalizeCallNumber, SudocStemAndSuffix) {
    Utf8MarcRecordClass utf8;
    Utf8MarcRecordClass marc8;
    marc8.CharacterSetOut("M");
    const std::string a12 = "A" + Blanks(4) + "1" + Blanks(5) + "2" + Blanks(2) + D + " ";
    const std::vector<CallNumberCase> cases = {
        {"3", "Y 4.F 76/1:IN 8/3",
         "Y" + Blanks(4) + "4" + Blanks(2) + "F" + Blanks(3) + "76" + Blanks(5) + "1" + Blanks(2) + D + " IN 8 3"},
        {"3", "HE 20.3152:P 94", "HE" + Blanks(3) + "20" + Blanks(2) + "3152" + Blanks(2) + D + " P 94"},
        {"3", "Y 1.1/8:106-445",
         "Y" + Blanks(4) + "1" + Blanks(5) + "1" + Blanks(5) + "8" + Blanks(2) + D + Blanks(2) + "106" + Blanks(2) + "445"},
        {"3", "Y 12345.2:X", "Y 12345" + Blanks(5) + "2" + Blanks(2) + D + " X"},
        {"3", "A 1.2:1-12345", a12 + Blanks(3) + "1 12345"},
        {"3", "A 1.9:", "A" + Blanks(4) + "1" + Blanks(5) + "9" + Blanks(2) + D + " "},
        {"3", "A 1.9", "A" + Blanks(4) + "1" + Blanks(5) + "9" + Blanks(2) + D + " "},
        {"3", "A 1.2:v.2", a12 + "V .2"},
        {"3", "A 1.2:1 9 9 5", a12 + "1995"},  // blanks between digits go
        {"3", "A 1.2:12/A", a12 + "12A"},
        {"3", "A 1.2:B/2", a12 + "B 2"},
        {"S", "A 1.2:" + D + "v.2", a12 + "v . 2"},  // a small v kept after a delimiter
    };
    ExpectForms(utf8, cases);
    ExpectForms(marc8, cases);
}

TEST(NormalizeCallNumber, OtherTypesGetThePlainForm) {
    Utf8MarcRecordClass record;
    for (const std::string type : {"4", "", "d", "l", "s", "00"})
        EXPECT_EQ(record.NormalizeCallNumber("  a  b  c ", type), "A B C") << "type " << type;
    for (const std::string type : {"0", "1", "2", "3", "L", "N", "D", "S", "4", ""})
        EXPECT_EQ(record.NormalizeCallNumber("", type), "") << "type " << type;
}

// What the rules cannot carry out gives "", never an exception.
TEST(NormalizeCallNumber, FailuresGiveTheEmptyString) {
    Utf8MarcRecordClass record;
    const std::string longest(32767, 'A');
    struct Case {
        std::string type;
        std::string callNumber;
        bool empty;
    };
    const std::vector<Case> cases = {
        {"0", "QA76 " + std::string(18, '1') + " B", false},  // extra digits that just fit
        {"0", "QA76 " + std::string(19, '1') + " B", true},   // as long as the head width
        {"0", "76 " + std::string(20, '1') + " B", true},
        {"0", longest, false},
        {"1", longest, false},
        {"3", longest, false},
        {"0", longest + "A", true},
        {"1", longest + "A", true},
        {"3", longest + "A", true},
        {"4", longest + "A", true},
        // A head grown past 16-bit positions before a number is right-aligned.
        {"0", "QA76 " + std::string(15000, '(') + "1-2", false},
        {"0", "QA76 " + std::string(17000, '(') + "1-2", true},
        {"3", "A:" + std::string(16000, 'A') + "1-2", false},
        {"3", "A:" + std::string(17000, '.') + "1-2", true},
    };
    for (const Case& k : cases) {
        std::string form;
        EXPECT_NO_THROW(form = record.NormalizeCallNumber(k.callNumber, k.type));
        EXPECT_EQ(form.empty(), k.empty) << "type " << k.type << ", length " << k.callNumber.size();
    }
    EXPECT_EQ(record.NormalizeCallNumber("QA76 " + std::string(18, '1') + " B", "0"), std::string(18, '1') + " B");
}

TEST(TestForCallNumber, PlaceholdersOfTheOneDatabase) {
    Utf8MarcRecordClass record;
    struct Case {
        std::string indicators;
        std::string field;
        std::string tnp;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"8 ", D + "hOn order" + D + "iB3", "ZIZAZ.", true},  // a non-empty $i
        {"8 ", D + "hOn order" + D + "i .", "ZIZAZ.", false},  // $i with an empty form
        {"0 ", D + "hOn order", "ZIZAZ.", true},
        {"8 ", D + "hOn order", "ZIZAZ.", false},
        {" 1", D + "hIn process", "zizaz", false},
        {"", D + "hAsk: inquire at desk", "ZIZAZ", false},
        {"8 ", D + "hOn order", "LIBRARY.", true},
        {"8 ", D + "hQA76 .B3", "ZIZAZ.", true},
        {"8 ", D + "bqmtor" + D + "h12-3456", "ZIZAZ.", false},
        {"8 ", D + "bqmtor" + D + "h12-A456", "ZIZAZ.", true},
        {"8 ", D + "bmain" + D + "h12-3456", "ZIZAZ.", true},
        {"8 ", D + "bqmtor" + D + "h12-", "ZIZAZ.", true},
        {"8 ", D + "bqmtor", "ZIZAZ.", false},  // no $h and no $i
        {"8 ", D + "h  ", "", false},
    };
    for (const Case& k : cases)
        EXPECT_EQ(record.TestForCallNumber(k.indicators, k.field, k.tnp), k.expected)
            << ::testing::PrintToString(k.indicators) << " " << ::testing::PrintToString(k.field) << " " << k.tnp;
}

TEST(CallNumberPieces, TakeLettersAndTakeNumber) {
    Utf8MarcRecordClass record;
    struct LettersCase {
        std::string text;
        std::string letters;
        std::string rest;
        bool result;
    };
    for (const LettersCase& k : std::vector<LettersCase>{
             {"QA76", "QA", "76", false},
             {"Q A76", "QA", "76", false},
             {"QA.5", "QA ", "5", false},
             {"QA.B", "QA", "B", false},
             {"HE/AB1", "HE  AB", "1", false},
             {"HE/2", "HE", "2", true},
             {"QA-1", "QA", "-1", false},
         }) {
        std::string text = k.text, letters;
        EXPECT_EQ(RecordTestAccess::CallNumberTakeLetters(record, text, letters), k.result) << k.text;
        EXPECT_EQ(letters, k.letters) << k.text;
        EXPECT_EQ(text, k.rest) << k.text;
    }
    struct NumberCase {
        std::string text;
        std::string output;
        bool wide;
        bool blank;
        std::string expected;
        std::string rest;
    };
    for (const NumberCase& k : std::vector<NumberCase>{
             {"76 .B3", "QA", false, false, "QA   76", " .B3"},
             {"76.73B", "QA", false, true, "QA 7673 ", "B"},
             {"76", "QA", true, false, "QA    76", ""},
             {"-15", "V .12", false, false, "V .12    15", ""},
             {"B3", "QA", false, false, "QA", "B3"},
         }) {
        std::string text = k.text, output = k.output, digits;
        bool blank = k.blank;
        RecordTestAccess::CallNumberTakeNumber(record, text, output, k.wide, blank, digits);
        EXPECT_EQ(output, k.expected) << k.text;
        EXPECT_EQ(text, k.rest) << k.text;
    }
}

}  // namespace
