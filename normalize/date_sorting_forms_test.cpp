#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"

namespace {

struct KeyCase {
    std::string text, key;
};

class DateKeys : public record_test::TwoRecords {
protected:
    // Every case in both kinds of record: the keys are plain ASCII.
    template <typename Member>
    void Expect(Member member, const std::vector<KeyCase>& cases) {
        for (Utf8MarcRecordClass* record : {&utf8, &marc8})
            for (const KeyCase& k : cases)
                EXPECT_EQ((record->*member)(k.text), k.key) << "\"" << k.text << "\" " << record->CharacterSetOut();
    }
};

TEST_F(DateKeys, NameDates) {
    Expect(&Utf8MarcRecordClass::SfdSortingFormD,
           {
               {"1900-1980", "190000D801900"},
               {"1900-", "190000D999900"},
               {"1950", "195000D804900"},
               {"b. 1950", "195000D804900"},
               {"-1950", "195000D804900"},
               {"ca. 1900-1950", "190000D804900"},
               {"active 1800", "180000D819900"},
               {"1950 Jan. 5-2001", "19500105D799800"},
               {"20th cent.", "190000D800000"},
               {"17th-18th centuries", "160000D820000"},
               {"50 B.C.-A.D. 20", "00009994900C997900"},
               {"100-44 B. C.", "00009989900D0000004400"},
               {"", "000100D999900"},
               // The notes beneath the table.
               {"fl. 1800", "180000D819900"},
               {"1800", "180000D819900"},
               {"approximately 1900", "190000D809900"},
               {"1950 Jan.", "19500100D80490100"},
               {"1950 spring", "19500000D80490000"},
               {"1950 Sept. 3", "19500903D80490903"},
               {"1950 September 3", "19500903D80490903"},
               // An empty text after its brackets go, and the B.C. words.
               {"()", "000100D999900"},
               {"100-44 B.C.", "00009989900D0000004400"},
               {"44 B.C.", "00009995500D0000004400"},
               {"0 B.C.", "00009999800D0000000000"},
               // The widest key: a B.C. range with a month and day at both ends.
               {"1950 Jan. 5-1960 Feb. 3 B.C.", "0000980490105D000019600203"},
               {"1900, A.D.", "190000D809900"},
               {"20th century", "190000D800000"},
               {"0000", "000100D999900"},
           });
}

TEST_F(DateKeys, NameDateExtensions) {
    Expect(&Utf8MarcRecordClass::SfdSortingFormDExtension, {
                                                               {"", ""},
                                                               {"Jan. 5", "0105"},
                                                               {"SEPTEMBER 15", "0915"},
                                                               {"spring", "0000"},
                                                               {"Dec", "1200"},
                                                               {"May 123", "0523"},
                                                               {"Jun x", "0600"},
                                                           });
}

TEST_F(DateKeys, ChronologicalSubdivisions) {
    Expect(&Utf8MarcRecordClass::SfdSortingFormY,
           {
               {"1939-1945", "1939D8054"},
               {"20th century", "1900D8000"},
               {"1st century", "0001D9900"},
               {"18th-19th centuries", "1700D8100"},
               {"16th and 17th centuries", "1500D8300"},
               {"5th century B.C.", "00009500D00000400"},
               {"To 1500", "00000000C8499"},
               {"Early works to 1800", "00000000C8199"},
               {"Revolution, 1789-1799", "1789D8200"},
               {"ca. 1500", "1500D8499"},
               {"1950-", "1950D0000"},
               {"1918 November 11", "1918E1111D8081"},
               {"Middle Ages", "MIDDLE AGES"},
               {"", ""},
               // The notes beneath the table.
               {"1939-1945 (World War)", "1939D8054"},
               {"1950 (March)", "1950E03D8049"},
               {"Reign 1500 to 1600", "1500D8399"},
               {"5th-4th centuries B.C.", "00000499D00000300"},
               // "Sept." is September, as in name dates.
               {"1950 Sept. 3", "1950E0903D8049"},
               {"1950 Sep. 3", "1950E0903D8049"},
               {"1950 September 3", "1950E0903D8049"},
               {"1950 Sept. 13", "1950E0913D8049"},
               {"1950 Sept.", "1950E09D8049"},
               {"Strike, Sept. 1926", "1926E09D8073"},
               {"1950 Septuagesima", "1950D8049"},
               // Further branches: open starts, months after a comma or leading, " OF ".
               {"-1500", "00009999C8499"},
               {"Before 1000", "00000000C8999"},
               {"Ancient to 500 B.C.", "00000000D00000500"},
               {"Siege, June 5 1950", "1950E0605D8049"},
               {"Strike, May 1926", "1926E05D8073"},
               {"November 1918", "1918E11D8081"},
               {"War of 1812", "1812D8187"},
               {"Revolution (1789-1799)", "1789D8200"},
               {"Earliest", "EARLIEST"},
               {"Early period", "EARLY PERIOD"},
               {"1st century B.C.", "00009900D00000001"},
               {"2nd-1st centuries B.C.", "00000199D00000001"},
               {"1st-2nd centuries", "0001D9800"},
               {"18th century-19th century", "1700D8100"},
               {"Summer (1950)", "1950D8049"},
               {"Centuries", "CENTURIES"},
           });
}

// Dates written as cataloguers write them, with the months' usual short
// words, sort by their keys in the order of time.
TEST_F(DateKeys, ChronologicalSubdivisionsSortInTimeOrder) {
    const char* const months[][2] = {{"Jan.", "January"}, {"Feb.", "February"}, {"Mar.", "March"},
                                     {"Apr.", "April"},   {"May", "May"},       {"June", "June"},
                                     {"July", "July"},    {"Aug.", "August"},   {"Sept.", "September"},
                                     {"Oct.", "October"}, {"Nov.", "November"}, {"Dec.", "December"}};
    struct Dated {
        std::string text;
    };
    std::vector<Dated> dates;
    for (int year : {1917, 1950}) {
        dates.push_back({std::to_string(year)});  // the year alone comes first
        for (int month = 0; month < 12; ++month)
            for (int day : {1, 2, 3, 9, 10, 13, 19, 20, 23, 28, 30}) {
                if (month == 1 && day > 28) continue;
                dates.push_back({std::to_string(year) + " " + months[month][day % 2] + " " + std::to_string(day)});
            }
    }
    ASSERT_GT(dates.size(), 250u);
    // Made in time order: each key must sort before the next.
    for (Utf8MarcRecordClass* record : {&utf8, &marc8})
        for (size_t i = 1; i < dates.size(); ++i)
            EXPECT_LT(record->SfdSortingFormY(dates[i - 1].text), record->SfdSortingFormY(dates[i].text))
                << dates[i - 1].text << " / " << dates[i].text;
}

// Century numbers too large for 16 bits, and digit runs too long for any
// integer, give keys and never raise.
TEST_F(DateKeys, LargeNumbersGiveKeys) {
    const std::string digits(60, '9');
    Expect(&Utf8MarcRecordClass::SfdSortingFormY, {
                                                      {"400th century", "9900D0000"},
                                                      {"350th-351st centuries", "4900D5100"},
                                                      {"400th century B.C.", "00000000D00009900"},
                                                      {digits + "th century", "4600D5300"},
                                                      {digits, digits + "D0000"},
                                                  });
    Expect(&Utf8MarcRecordClass::SfdSortingFormD, {
                                                      {"400th cent.", "990000D000000"},
                                                      {digits, "99990000D00000000"},
                                                  });
}

// No position or length outside a text raises: texts cut short at every
// place of the steps that look ahead or behind.
TEST_F(DateKeys, ShortAndOddTextsGiveKeys) {
    const std::vector<std::string> texts = {
        " ", "-", "(", ")", " (", "( )", ",", ".", "TO", "TO ", " TO ", "TO 0", "EARLY ", "EARLY TO",
        "ANCIENT TO", "BEFORE", "CENT", " CENT", "X CENT", "X CENTURIES", "- CENTURY", "1-2-3 CENTURY",
        "A B-C-D CENTURY", "AND CENTURIES", "JAN", ", JAN", "JAN 1", "X, JAN 1 X", "1 OF", "X OF ", "B.C.",
        ",B.C.", ", B. C.", "A. D.", "CA.", "ca.", "\xC3\xA9 1900 (\xE2\x82\xAC)", "\x88\x89", "1950 (",
    };
    for (Utf8MarcRecordClass* record : {&utf8, &marc8}) {
        for (const std::string& text : texts) {
            EXPECT_NO_THROW(record->SfdSortingFormD(text)) << text;
            EXPECT_NO_THROW(record->SfdSortingFormY(text)) << text;
        }
    }
}

TEST_F(DateKeys, EraMarkers) {
    struct Case {
        std::string text, tidied;
        bool bBC, bAD;
    };
    const std::vector<Case> cases = {
        {"50, B.C.", "50 B.C.", true, false},
        {"50,B.C.", "50 B.C.", true, false},
        {"50, B. C.-20", "50 B. C.-20", true, false},
        {"50,B. C.", "50 B. C.", true, false},
        {"50, BC", "50 BC", true, false},
        {"50 BCE", "50 BCE", true, false},
        {"50 B.C.E.", "50 B.C.E.", true, true},
        {"50 B. C. E.", "50 B. C. E.", true, true},
        {"20, C.E.", "20 C.E.", false, true},
        {"20,A.D.", "20 A.D.", false, true},
        {"A.D. 20, A. D.", "A.D. 20, A. D.", false, true},
        {"A. D. 20,A. D.,A. D.", "A. D. 20 A. D.,A. D.", false, true},
        {"1950", "1950", false, false},
        {"ABC", "ABC", false, false},
    };
    for (const Case& k : cases) {
        std::string sText = k.text;
        bool bBC = !k.bBC;
        bool bAD = !k.bAD;
        RecordTestAccess::DetectEraMarkers(utf8, sText, bBC, bAD);
        EXPECT_EQ(sText, k.tidied) << k.text;
        EXPECT_EQ(bBC, k.bBC) << k.text;
        EXPECT_EQ(bAD, k.bAD) << k.text;
    }
}

TEST_F(DateKeys, CleanedDateTexts) {
    const std::vector<KeyCase> cases = {
        {"50 B.C.E.-20 C.E.", "50 -20"},
        {"CA. 1900", "1900"},
        {"1900 CA. 1950", "1900 1950"},
        {"APPROXIMATELY 1900", "APPROXIMATELY 1900"},
        {"BORN APPROXIMATELY 1900", "BORN 1900"},
        {"FL. 1800", "1800"},
        {"ACTIVE 1800.", "1800"},
        {"[1900?]-{1950}", "1900?-1950"},
        {"1900,", "1900"},
        {"1950 AD", "1950"},
        {"(", ""},
        {"", ""},
    };
    for (const KeyCase& k : cases) EXPECT_EQ(RecordTestAccess::CleanDateText(utf8, k.text), k.key) << k.text;
}

TEST_F(DateKeys, MonthNames) {
    struct Case {
        std::string word;
        bool bMonth;
        std::string code;
    };
    const std::vector<Case> cases = {
        {"JANUARY", true, "01"}, {"JAN", true, "01"},   {"JAN.", true, "01"},      {"AUG 1", true, "08"},
        {"MAY", true, "05"},     {"MAY 3", true, "05"}, {"SEPTEMBER", true, "09"}, {"SEP", true, "09"},
        {"SEPT.", true, "09"},   {"SEPT. 3", true, "09"}, {"SEPTET", false, ""},  {"MAYOR", false, ""},  {"AUGMENT", false, ""},    {"MARCHING", false, ""},
        {"DECEMBER 25", true, "12"}, {"SPRING", false, ""}, {"", false, ""}, {"JA", false, ""},
    };
    for (Utf8MarcRecordClass* record : {&utf8, &marc8}) {
        for (const Case& k : cases) {
            std::string sCode = "xx";
            EXPECT_EQ(RecordTestAccess::MonthNameCode(*record, k.word, sCode), k.bMonth) << k.word;
            EXPECT_EQ(sCode, k.code) << k.word;
        }
    }
}

// The result codes of the phrase reader: 0 not handled, 1 a final key,
// 2 a range with the flags as they now stand.
TEST_F(DateKeys, PeriodPhrases) {
    struct Case {
        std::string text;
        bool bBCBefore;
        int16_t result;
        std::string after;
        bool bBC, bAD;
    };
    const std::vector<Case> cases = {
        {"20TH CENTURY", false, 2, "1900-1999", false, false},
        {"5TH CENTURY", true, 2, "0499-0400", true, false},
        {"1ST CENTURY", true, 2, "0099-0001", true, false},
        {"16TH AND 17TH CENTURIES", false, 1, "1500D8300", false, false},
        {"16TH & 17TH CENTURIES", false, 1, "1500D8300", false, false},
        {"MANY CENTURIES", false, 1, "MANY", false, false},
        {"EARLY WORKS TO 1800", false, 2, "9999-1800", true, true},
        {"EARLY WORKS", false, 0, "EARLY WORKS", false, false},
        {"ANCIENT TO 500", true, 2, "9999-500", true, false},
        {"BEFORE 1000", false, 2, "9999-1000", true, true},
        {"TO 1500", false, 2, "9999-1500", true, true},
        {"REIGN 1500 TO 1600", false, 2, "1500-1600", false, false},
        {"WARS TO 1600 AND LATER", false, 2, "9999-1600", true, true},
        {"MIDDLE AGES", false, 0, "MIDDLE AGES", false, false},
        {"WARS TO 0500", false, 0, "WARS TO 0500", false, false},
    };
    for (const Case& k : cases) {
        std::string sText = k.text;
        bool bBC = k.bBCBefore;
        bool bAD = false;
        const int32_t lLastBlank = static_cast<int32_t>(sText.rfind(' ') + 1);
        EXPECT_EQ(RecordTestAccess::PeriodPhraseForm(utf8, sText, lLastBlank, bBC, bAD), k.result) << k.text;
        EXPECT_EQ(sText, k.after) << k.text;
        EXPECT_EQ(bBC, k.bBC) << k.text;
        EXPECT_EQ(bAD, k.bAD) << k.text;
    }
}

TEST_F(DateKeys, DigitAfterTo) {
    struct Case {
        std::string text;
        int32_t position;
        bool bResult;
    };
    const std::vector<Case> cases = {
        {"X TO 1500", 2, true}, {"X TO 0500", 2, false}, {"X TO A", 2, false}, {"X TO ", 2, false},
        {" TO 9", 1, true},     {" TO 9", 0, false},     {" TO 9", -5, false}, {"", 1, false},
    };
    for (const Case& k : cases)
        EXPECT_EQ(RecordTestAccess::DigitFollowsTo(utf8, k.text, k.position), k.bResult) << k.text << " " << k.position;
}

}  // namespace
