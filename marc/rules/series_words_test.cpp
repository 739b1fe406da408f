// Single caption letters, caption words, numero signs and heading words of
// the series sort key.
#include <gtest/gtest.h>

#include <string>

#include "marc/record/record_test_access.h"
#include "marc/rules/series_test_support.h"

namespace {

using record_test::D;
using A = RecordTestAccess;

class SeriesWords : public series_test::BothRecords {};

// $ stands for the separator's delimiter: " $ " is the separator.
TEST_F(SeriesWords, VolumeLetters) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"v. 3", "$ . 3"},
        {"v 3", "$  3"},
        {"V 3", "$  3"},
        {"v3", "$ 3"},
        {"V. 3", "V. 3"},
        {"V. XII", "V. XII"},
        {"IV. 2", "IV. 2"},
        {"2. V. 3", "2. V. 3"},
        {"3 V 4", "3 V 4"},
        {"3, v Heft", "3,  $  Heft"},
        {"3, v Abc", "3, v Abc"},
        {"Heft 3, v", "Heft 3, v"},
        {"no. 3-v4", "no. 3- $ 4"},
        {"Bd. 2, V. 3", "Bd. 2,  $ . 3"},
        {"Abc, V. B", "Abc, V. B"},  // no digit after it
        {"V.A.", "V.A."},
        {"v.", "v."},
        {"v", "v"},
        {"v. Heft", "v. Heft"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ExpectBoth(D(c.expected), [&](Utf8MarcRecordClass& r) { return A::SeparateVolumeLetter(r, c.text); });
    }
}

TEST_F(SeriesWords, SingleCaptionLetters) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"H. 3", "$ . 3"},
        {"T. 4", "$ . 4"},
        {"f. 12", "$ . 12"},
        {"N.F. 3", "N.F. 3"},
        {"H.S. 2", "H.S. 2"},
        {"Jahrg. 3", "Jahrg. 3"},
        {"A.B. F. 3", "A.B. F. 3"},
        {"3. F. zeit 4", "3.  SER  zeit 4"},
        {"3. F. Abc 4", "3.  $ . Abc 4"},
        {"t 4", "$  4"},
        {"T 4", "T 4"},
        {"n:5", "$ :5"},
        {"S. Heft 2", "$ . Heft 2"},
        {"S. Abc 2", "$ . Abc 2"},
        {"S. A. 2", "S. A. 2"},
        {"Abc s. Heft 2", "Abc  $ . Heft 2"},
        {"(t. 2)", "( $ . 2)"},
        {"(t 2)", "(t 2)"},
        {"Heft s", "Heft s"},
        {"T.", "T."},
        {"T3", "T3"},
        {"p", "p"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ExpectBoth(D(c.expected), [&](Utf8MarcRecordClass& r) { return A::SeparateSingleLetterCaptions(r, c.text); });
    }
}

TEST_F(SeriesWords, RomanFirstWord) {
    const std::pair<const char*, bool> cases[] = {
        {"XII. 3", true}, {"V. XII", true}, {"V V", true}, {"", true}, {"V. 3", false}, {"Heft", false},
    };
    for (const auto& c : cases)
        ExpectBoth(c.second ? "1" : "0",
                   [&](Utf8MarcRecordClass& r) { return A::FirstWordIsRomanNumeral(r, c.first) ? "1" : "0"; });
}

TEST_F(SeriesWords, CaptionWords) {
    struct Case {
        const char* text;
        bool normalOnly;
        const char* expected;
    };
    const Case cases[] = {
        {"Serie nuova", false, "NEW SER"},
        {"nuova serie", false, "NEW SER"},
        {"Neue Folge", false, "NEW SER"},
        {"N.F.", false, "NEW SER"},
        {"NS", false, "NEW SER"},
        {"Serie B", false, "SER B"},
        {"B Reihe neue", false, "B NEW SER"},
        {"Reihe", false, "REIHE"},
        {"Reire", false, "REIHE"},
        {"Zesz", false, "SESS"},
        {"Rapport", false, "REPT"},
        {"Maps", false, "MAP"},
        {"Beiheft", false, "BHFT"},
        {"Supplementband", false, "SUP"},
        {"Tome", false, "T"},
        {"Teil", false, "T"},
        {"Kap", false, ""},
        {"Kapitel 2 Teil", false, "2 T"},
        {"Chapter", false, ""},
        {"Volumes Heft", true, "VOLUMES HEFT"},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ExpectBoth(c.expected, [&](Utf8MarcRecordClass& r) { return A::NormalizeCaptionWords(r, c.text, c.normalOnly); });
    }
}

TEST_F(SeriesWords, NumeroSigns) {
    // The marks in each record's own encoding.
    for (Utf8MarcRecordClass* r : {&utf8, &marc8}) {
        const std::string sep = " \x1F ";
        const std::string o = r->MarcSuperscript0(), soft = r->MarcMiagkiiZnak(), ring = r->MarcAngstrom(),
                          degree = r->MarcDegree();
        struct Case {
            std::string text, mark, expected;
        };
        const Case cases[] = {
            {"N" + o + " 5", o, sep + " 5"},
            {"n." + o + " 5", o, sep + " 5"},
            {"N:" + soft + "5", soft, sep + "5"},
            {"Heft N" + ring + "2", ring, "Heft " + sep + "2"},
            {"n" + degree + " 3, N" + degree + " 4", degree, sep + " 3, " + sep + " 4"},
            {"8" + o, o, "8"},
            // The degree sign leaves nothing in the key: 8° is the octavo size.
            {"8" + degree, degree, "8"},
            {"3" + degree + " serie", degree, "3 serie"},
            {"3" + o, o, "3" + o},
            {"3." + degree, degree, "3."},
            {degree + "5", degree, "5"},
            {o + "5", o, "05"},
            {"no mark", o, "no mark"},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.text);
            EXPECT_EQ(A::SeparateNumeroSign(*r, c.text, c.mark), c.expected);
        }
    }
    // The earlier rule tests the character before the end of the text.
    EXPECT_EQ(A::SeparateNumeroSignEarlier(marc8, "N\xC0", "\xC0"), " \x1F ");
    EXPECT_EQ(A::SeparateNumeroSignEarlier(marc8, "\xC0N", "\xC0"), marc8.NormString("\xC0", true, "V") + "N");
    EXPECT_EQ(A::SeparateNumeroSignEarlier(utf8, "Heft", "\xC2\xB0"), "Heft");
}

TEST_F(SeriesWords, HeadingWords) {
    struct Case {
        const char* original;
        const char* heading;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"Technical report series", "TECHNICAL REPORT SERIES", "TRS 00000012", "00000012"},
        {"Acta Universitatis Upsaliensis", "ACTA UNIVERSITATIS UPSALIENSIS", "ACTA 00000005", "00000005"},
        {"IEEE transactions on communications", "IEEE TRANSACTIONS ON COMMUNICATIONS", "IEEETOC 00000003",
         "00000003"},
        // Kept as they are.
        {"Technical report series", "TECHNICAL REPORT SERIES", "00000012 TRS", "00000012 TRS"},
        {"New series", "NEW SERIES", "NEW SER 00000001", "NEW SER 00000001"},
        {"Series", "SERIES", "SER 00000001", "SER 00000001"},
        {"Supplement", "SUPPLEMENT", "SUP 00000001", "SUP 00000001"},
        {"Hors serie", "HORS SERIE", "HORS SER 00000001", "HORS SER 00000001"},
        {"Voyages", "VOYAGES", "V 00000001", "V 00000001"},
        {"Ser", "SER", "SER", "SER"},
        {"Technical report", "TECHNICAL REPORT", "TECHNICAL", ""},
        {"Technical report", "TECHNICAL REPORT", "", ""},
        // An empty heading stands in no lead.
        {"", "", "PHYSICS A 00000003", "PHYSICS A 00000003"},
        {"", "", "PHYSICS B 00000003", "PHYSICS B 00000003"},
        {"", " ", "PHYSICS B 00000003", "PHYSICS B 00000003"},
        // Hyphens and qualifiers of the heading.
        {"Science-fiction studies", "SCIENCEFICTION STUDIES", "SFS 00000004", "00000004"},
        {"Science fiction studies", "SCIENCEFICTION STUDIES", "SFS 00000004", "SFS 00000004"},
        {"Bulletin (Geological Survey)", "BULLETIN", "GSB 00000012", "00000012"},
        {"Bulletin", "BULLETIN", "GSB 00000012", "GSB 00000012"},
        // Steps 2 to 6.
        {"Acta musei", "ACTA MUSEI", "ACTA MUSEI X 00000002", "00000002"},
        {"Acta musei", "ACTA MUSEI", "MUSEI 00000002", "00000002"},
        {"Annals of the history", "ANNALS OF THE HISTORY", "AOTH 00000002", "00000002"},
        {"The art bulletin", "THE ART BULLETIN", "AB 00000002", "00000002"},
        {"Studia Upsaliensia", "STUDIA UPSALIENSIA", "STUDIA X 00000002", "X 00000002"},
        {"Studia Upsaliensia", "STUDIA UPSALIENSIA", "STUD NEW 00000002", "NEW 00000002"},
        // Roman first word: only a heading that begins with it loses it.
        {"XII International congress", "XII INTERNATIONAL CONGRESS", "XII 00000003", "00000003"},
        {"Congress XII", "CONGRESS XII", "XII 00000003", "XII 00000003"},
        {"Congress ABC", "CONGRESS ABC", "ABC 00000003", "00000003"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " / " + c.heading);
        ExpectBoth(c.expected, [&](Utf8MarcRecordClass& r) {
            return A::RemoveTitleDerivedCaptions(r, c.original, c.heading, c.key);
        });
    }
}

// Mode 4 hands both headings through to the heading step.
TEST_F(SeriesWords, KeyWithHeading) {
    ExpectBoth("PHYSICS A 00000003",
               [&](Utf8MarcRecordClass& r) { return r.NormalizeSeriesNumberForSorting(4, "", "", "Physics A, v. 3"); });
    ExpectBoth("00000012", [&](Utf8MarcRecordClass& r) {
        return r.NormalizeSeriesNumberForSorting(4, D("$aTechnical report series"), "TECHNICAL REPORT SERIES",
                                                 "TRS 12");
    });
    ExpectBoth("00000005", [&](Utf8MarcRecordClass& r) {
        return r.NormalizeSeriesNumberForSorting(4, "Acta Universitatis Upsaliensis",
                                                 "ACTA UNIVERSITATIS UPSALIENSIS", "Acta ; 5");
    });
}

}  // namespace
