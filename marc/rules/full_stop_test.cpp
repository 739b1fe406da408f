// The full-stop rule on UTF-8 and MARC-8 records loaded from ISO 2709 text:
// the endings lists of each kind of record, the record search, the cursor.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/record_test_access.h"

namespace {

using record_test::D;
using record_test::Iso2709;
using record_test::TaggedField;

class FullStop : public ::testing::Test {
protected:
    // A bibliographic record, UTF-8 (leader/09 "a") or MARC-8 kept in "M".
    Utf8MarcRecordClass& Load(bool bUtf8, const std::vector<TaggedField>& fields) {
        record = std::make_unique<Utf8MarcRecordClass>();
        if (!bUtf8) {
            record->CharacterSetIn("M");
            record->CharacterSetOut("M");
        }
        std::vector<TaggedField> all = {{"008", std::string(40, ' ')}};
        all.insert(all.end(), fields.begin(), fields.end());
        record->MarcRecordIn(Iso2709(bUtf8 ? "00000nam a2200000 a 4500" : "00000nam  2200000 a 4500", all));
        EXPECT_FALSE(record->MarcRecordIn().empty()) << record->IsMarcErrorText();
        return *record;
    }
    testsupport::TempSettingsFolder folder;
    std::unique_ptr<Utf8MarcRecordClass> record;
};

const std::vector<TaggedField> kBeethoven = {{"100", D("1 $aBeethoven, Ludwig van")},
                                             {"245", D("10$aSonatas")},
                                             {"700", D("1 $aMozart, Wolfgang Amadeus")}};

TEST_F(FullStop, VerdictsInBothKindsOfRecord) {
    struct Case {
        std::string text;
        int16_t utf8, marc8;
    };
    const Case cases[] = {
        {"", 1, 1},
        {"\"'", 1, 1},
        {"Smith", 1, 1},
        {"Smith.\"", 3, 3},
        {"a.", 3, 3},
        {"1.", 3, 3},
        {"1990.", 2, 2},
        {"Smith, John, 1950-1990.", 2, 2},
        {"Smith, J.", 1, 1},
        {"Doe, J.R.", 1, 1},
        {"ABC.", 3, 3},
        {"Acme Widget Co.", 1, 1},
        {"Smith, John, Jr.", 1, 1},
        {"Dr.", 1, 1},
        {"Acme, Inc.", 1, 1},
        {"Acme, Ltd.", 1, 1},
        {"20th cent.", 1, 1},
        {"776 B.C.", 1, 1},
        {"Music dept.", 1, 1},
        {"Sonata, arr.", 1, 1},
        {"Esq.", 1, 1},
        {"Rev.", 1, 1},
        {"Anyrev.", 3, 1},
        {"Inc.", 1, 3},
        {"arr.", 1, 3},
        // The record search: the word followed by punctuation or a blank that
        // is not the field's last character; deleted fields do not count.
        {D("$aBeethoven."), 2, 2},
        {"Beethoven.\"", 2, 2},
        {D("$aTrios$bBeethoven."), 2, 2},
        {D("$aBeethoven$b."), 3, 3},
        {"Ludwig.", 2, 2},
        {"Sonatas.", 3, 3},
        {"Mozart.", 3, 3},
        {"beethoven.", 3, 3},
        // An empty word settles nothing.
        {"Beethoven .", 3, 3},
        {D("$a  ."), 3, 3},
    };
    for (const bool bUtf8 : {true, false}) {
        Utf8MarcRecordClass& r = Load(bUtf8, kBeethoven);
        ASSERT_TRUE(r.FldFindFirst("700", ""));
        r.FldDelete();
        for (const Case& c : cases)
            EXPECT_EQ(r.IsTheFullStopAtTheEndProbablyIntegral(c.text), bUtf8 ? c.utf8 : c.marc8)
                << c.text << " " << bUtf8;
    }
}

TEST_F(FullStop, UtfEightRecordsJudgeWholeCharacters) {
    const std::pair<const char*, int16_t> cases[] = {
        {"M\xC3\xBCller, \xC3\x89.", 1},     // a capital É after a blank
        {"Kapitel \xD9\xA1\xD9\xA9.", 2},    // Arabic-Indic digits
        {"Stra\xC3\x9F" "e, \xC3\xA9.", 3},  // a small é is no initial
        // A capital with combining marks after it, as a UTF-8 load stores Ö:
        // judged by its letter.
        {"M\xC3\xBCller, O\xCC\x88.", 1},
        {"M\xC3\xBCller, O\xCC\x88\xCC\x81.", 1},
        {"Stra\xC3\x9F" "e, e\xCC\x81.", 3},
        {"Kapitel 1\xCC\x88.", 2},
        {"Ab\xCC\x88.", 3},  // a capital after a letter is no initial
    };
    Load(true, kBeethoven);
    for (const auto& [text, verdict] : cases) EXPECT_EQ(record->IsTheFullStopAtTheEndProbablyIntegral(text), verdict) << text;
    // In an 8-bit record the octet before the stop is no ASCII digit.
    Load(false, kBeethoven);
    EXPECT_EQ(record->IsTheFullStopAtTheEndProbablyIntegral("Kapitel \xD9\xA1\xD9\xA9."), 3);
}

TEST_F(FullStop, AWordEndingItsFieldDoesNotCount) {
    for (const bool bUtf8 : {true, false}) {
        Load(bUtf8, {{"100", D("1 $aMozart")}, {"700", D("1 $aBeethoven,")}});
        EXPECT_EQ(record->IsTheFullStopAtTheEndProbablyIntegral("Beethoven."), 3) << bUtf8;
        Load(bUtf8, {{"100", D("1 $aMozart")}, {"700", D("1 $aBeethoven,.")}});
        EXPECT_EQ(record->IsTheFullStopAtTheEndProbablyIntegral("Beethoven."), 2) << bUtf8;
    }
}

TEST_F(FullStop, TheCursorIsPutBack) {
    Load(true, kBeethoven);
    ASSERT_TRUE(record->FldFindFirst("245", ""));
    ASSERT_TRUE(record->SfdFindFirst("a", ""));
    const int16_t iFld = record->FldPointer(), iSfd = record->SfdPointer();
    EXPECT_EQ(record->IsTheFullStopAtTheEndProbablyIntegral("Beethoven."), 2);
    EXPECT_EQ(record->FldPointer(), iFld);
    EXPECT_EQ(record->SfdPointer(), iSfd);
    EXPECT_EQ(record->IsTheFullStopAtTheEndProbablyIntegral("Nowhere."), 3);
    EXPECT_EQ(record->FldPointer(), iFld);
    EXPECT_EQ(record->SfdPointer(), iSfd);
    record->FldPointer(-1);
    EXPECT_EQ(record->IsTheFullStopAtTheEndProbablyIntegral("Beethoven."), 2);
    EXPECT_EQ(record->FldPointer(), -1);
}

// Texts beyond 32,767 octets keep their verdicts.
TEST_F(FullStop, LongTextsAndFields) {
    const std::string sLong(40000, 'x');
    for (const bool bUtf8 : {true, false}) {
        Load(bUtf8, kBeethoven);
        EXPECT_EQ(record->IsTheFullStopAtTheEndProbablyIntegral(sLong + " Beethoven."), 2) << bUtf8;
        EXPECT_EQ(record->IsTheFullStopAtTheEndProbablyIntegral(sLong + " 1990."), 2) << bUtf8;
        EXPECT_EQ(record->IsTheFullStopAtTheEndProbablyIntegral(sLong + " Nowhere."), 3) << bUtf8;
    }
}

}  // namespace
