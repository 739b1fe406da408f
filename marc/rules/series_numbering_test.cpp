// Sortable series numbering: the four modes, the character rewriting, the
// pieces and word tokens of the key, and ordinal endings. ASCII numberings
// give the same keys in a UTF-8 and a MARC-8 record.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <utility>

#include "marc/record/record_test_access.h"
#include "marc/rules/series_test_support.h"

namespace {

using record_test::D;
using A = RecordTestAccess;

class SeriesNumbering : public series_test::BothRecords {
protected:
    std::string Key(Utf8MarcRecordClass& r, const std::string& v, const std::string& sOriginal = "",
                    const std::string& sHeading = "") {
        return r.NormalizeSeriesNumberForSorting(4, sOriginal, sHeading, v);
    }
};

TEST_F(SeriesNumbering, ModesOneToThree) {
    struct Case {
        int mode;
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {1, "v. 12, pt. 3", "V 12 PT 3"},
        {2, "9", "00000009"},
        {2, "10", "00000010"},
        {2, "007", "00000007"},
        {2, "0", "00000000"},
        {2, "v. 9, pt. 12", "V 00000009 PT 00000012"},
        // Eight or more significant digits: unpadded, and no blank after them.
        {2, "123456789", "123456789"},
        {2, "00123456789b", "123456789B"},
        {2, "12b", "00000012 B"},
        {3, "v. 12", "00000012"},
        {3, "Chapitre 3", "00000003"},
        {3, "Chapter one", "ONE"},
        {3, "Kap. zwei", "ZWEI"},
        {3, "Heft", "HEFT"},
        {3, "no. 3, Heft 2", "00000003 HEFT 00000002"},
        {0, "v. 12", ""},
        {5, "v. 12", ""},
        {-1, "v. 12", ""},
        {1, "", ""},
        {2, "", ""},
        {3, "", ""},
        {4, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + " " + c.text);
        ExpectBoth(c.expected, [&](Utf8MarcRecordClass& r) {
            return r.NormalizeSeriesNumberForSorting(c.mode, "", "", c.text);
        });
    }
}

TEST_F(SeriesNumbering, ChapterCaptionIsCutIgnoringCase) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"ch. eins", "eins"},         {"KAP. zwei", "zwei"},         {"chapter three ", "three"},
        {"Chap. four", "four"},       {"chapitre cinq", "CINQ"},     {"Kapitel sechs", "SECHS"},
        {" ch. seven", " ch. seven"}, {"chapel", "chapel"},
    };
    for (const Case& c : cases)
        ExpectBoth(c.expected, [&](Utf8MarcRecordClass& r) { return A::RemoveChapterCaption(r, c.text); });
}

TEST_F(SeriesNumbering, CharacterRewriting) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"12-15", "12 15"},
        {"A-1", "A1"},
        {"1-A", "1-A"},
        {"1-a", "1-A"},  // the letter is a capital by the time the hyphen is reached
        {"1-.", "1 "},
        {"a-b", "A-B"},
        {"a-.", "A  "},
        {"12-", "12"},
        {"-12", "12"},
        {"al-Juz 3", "JUZ 3"},
        {"v. 3 al-Juz 4", "V  3 JUZ 4"},
        {"a al--", "A "},  // the text shrinks behind the walk
        {"[3]", "3 "},
        {"v. [3]", "V  ; 3 "},
        {"a=b", "A; B"},
        {"3\\4", "3/4"},
        {"a/b,c;d", "A/B,C;D"},
        {"#1 & 2+3", " 1   2 3"},
        {"no. 'x'", "NO  X"},
        {"v.$a3", "V $A3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ExpectBoth(D(c.expected), [&](Utf8MarcRecordClass& r) { return A::RewriteSeriesNumberCharacters(r, D(c.text)); });
    }
}

TEST_F(SeriesNumbering, SortKeys) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"v. 12", "00000012"},
        {"V. 12", "00000012"},
        {"v 3", "00000003"},
        {"V 3", "00000003"},
        {"V. 3", "00000003"},
        {"Bd. 3", "00000003"},
        {"Band 3", "00000003"},
        {"N.F. 3", "NEW SER 00000003"},
        {"N.F., Bd. 3", "NEW SER 00000003"},
        {"Suppl. 2", "SUP 00000002"},
        {"Reihe A, 3", "SER A 00000003"},
        {"12. Folge", "SER 00000012"},
        {"3. Reihe", "SER 00000003"},
        {"2nd ser., v. 4", "SER 00000002 00000004"},
        {"Heft 2a", "00000002 A"},
        {"v. 1-4", "00000001 00000004"},
        {"12-15", "00000012 00000015"},
        {"al-Juz 3", "JUZ 00000003"},
        {"[3]", "00000003"},
        {"H.S. 2", "HORS SER 00000002"},
        {"2. V. 3", "00000002 00000003"},
        {"IV. 2", "IV 00000002"},
        {"3, v Heft", "00000003 HFT"},
        {"v. 2, no. 12345678", "00000002 12345678"},
        {"n:o 5", "00000005"},
        {"N:R 5", "00000005"},
        {"No. 5 [i.e. 6]", "00000005 I E 00000006"},
        {"t. 2/3", "00000002 00000003"},
        // Texts without a digit take the caption path.
        {"Neue Folge", "NEW SER"},
        {"nouvelle serie", "NEW SER"},
        {"Beiheft", "BHFT"},
        {"[Supplementband]", "SUP"},
        {"...", ""},
        {"[ ]", ""},
        {"Chapter", ""},
        {"V. XII", "V XII"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ExpectBoth(c.expected, [&](Utf8MarcRecordClass& r) { return Key(r, c.text); });
    }
}

TEST_F(SeriesNumbering, PiecesOfTheKey) {
    struct Case {
        const char* key;
        const char* piece;
        const char* after;
        const char* before;
        bool last;
        const char* expected;
    };
    const Case cases[] = {
        {"", "3 4", " ", " ", true, "00000003 00000004"},
        {"", "12345678", " ", " ", true, "12345678"},
        {"", "123456789", " ", " ", true, "123456789"},
        {"", "007", " ", " ", true, "00000007"},
        {"", "DAI 3 HEN", ",", " ", false, "00000003"},
        {"", "12 FOLGE", " ", " ", true, "SER 00000012"},
        {"", "12 FOLGE", ",", " ", false, "SER 00000012"},
        {"", "3E SERIE", " ", " ", true, "SER 00000003"},  // the ordinal letter goes with the move
        {"", "3E SERIE", ",", " ", false, "SER 00000003"},
        {"00000001", "3 FOLGE", " ", ",", true, "00000001 SER 00000003"},
        {"", "$ 12", " ", " ", true, "00000012"},
        {"", "BOOKS 3", " ", " ", true, "00000003"},  // a caption word
        {"", "CMD 3", " ", " ", true, "CD 00000003"},
        {"", "CMD 3", "/", " ", false, "CMD 00000003"},
        {"", "V 3 A", " ", " ", true, "00000003 A"},
        {"", "X", "/", "/", false, "X"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.piece);
        ExpectBoth(c.expected, [&](Utf8MarcRecordClass& r) {
            return A::AppendPiece(r, c.key, D(c.piece), c.after, c.before, c.last);
        });
    }
}

TEST_F(SeriesNumbering, WordTokens) {
    struct Case {
        const char* key;
        const char* token;
        bool numberSeen;
        const char* expected;
        bool seriesWord;
    };
    const Case cases[] = {
        {"", "N F", true, "NEW SER", false},
        {"", "NEUE FOLGE", true, "NEW SER", false},
        {"", "S NOUV", true, "NEW SER", false},
        {"", "H S", true, "HORS SER", false},
        {"", "HORS SERIE", true, "HORS SER", false},
        {"", "NS V", true, "NEW SER", false},
        {"", "NFBD 2", true, "NEW SER", false},
        {"00000001", "FOLGE", true, "00000001", true},
        {"00000001", "FOLGE", false, "SER 00000001", false},
        {"A 00000001", "FOLGE", false, "A SER 00000001", false},
        {"A B", "FOLGE", false, "A B SER", false},
        {"GANZE", "REIHE", true, "GANZE REIHE", false},
        {"ABC", "REIHE X", true, "ABC REIHE X", false},
        {"00000002", "REIHE X", true, "00000002 X", true},
        {"00000002", "S", true, "00000002 S", false},
        {"H", "HORS Q", true, "HORS SER Q", false},
        {"", "HORS Q", true, "HORS Q", false},
        {"", "NEW Q", true, "NEW Q", false},
        {"", "CONGRESS", true, "CONG", false},
        {"", "COMMAND", true, "CD", false},
        {"", "VOL HEFT TOME", true, "", false},
        {"", "DAI", true, "", false},
        {"", "TI", true, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " + " + c.token);
        for (Utf8MarcRecordClass* r : {&utf8, &marc8}) {
            bool bSeriesWordFound = false;
            EXPECT_EQ(A::AppendWordToken(*r, c.key, c.token, c.numberSeen, false, bSeriesWordFound), c.expected);
            EXPECT_EQ(bSeriesWordFound, c.seriesWord);
        }
    }
}

TEST_F(SeriesNumbering, OrdinalEndings) {
    struct Case {
        const char* piece;
        bool last;
        const char* expected;
    };
    const Case cases[] = {
        {"2ND SER", true, "2 SER"},          {"12TH", true, "12"},
        {"1ST", false, "1"},                 {"21ST CONGRESS", true, "21 CONGRESS"},
        {"1RE SERIE", true, "1 SERIE"},      {"1ERE SERIE", false, "1 SERIE"},
        {"1RE", true, "1RE"},                {"2D SER", true, "2 SER"},
        {"2D", false, "2D"},                 {"3E SERIE", false, "3 SERIE"},
        {"4A SESSION", false, "4 SESSION"},  {"12O CONGRESSO", false, "12O CONGRESSO"},
        {"3E SERIE", true, "3E SERIE"},      {"3E SERIE 2", true, "3 SERIE 2"},
        {"SER 2ME", true, "SER 2"},          {"AN 5E", true, "AN 5"},
        {"123", true, "123"},                {"12-A", true, "12-A"},
        {"2EME  ANNEE", true, "2  ANNEE"}, {"", true, ""},
        {"S 3E", false, "S 3E"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.piece);
        ExpectBoth(c.expected, [&](Utf8MarcRecordClass& r) { return A::RemoveOrdinalSuffixes(r, c.piece, c.last); });
    }
}

// A UTF-8 key is built from whole characters and stays valid UTF-8.
TEST_F(SeriesNumbering, Utf8KeysKeepWholeCharacters) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"nouv. se\xCC\x81r., t. 4", "NEW SER 00000004"},
        {"3e se\xCC\x81rie, 2", "SER 00000003 00000002"},
        {"v. 4\xC2\xB2"
         "5",
         "00000042 00000005"},
        {"v. 4\xE2\x82\x82"
         "5",
         "00000042 00000005"},
        {"N\xC2\xB0 5", "00000005"},
        {"\xC4\xB1 n.o 5", "I 00000005"},  // only a to z change case, so the spelled numero sign is found in place
        {"no. 8\xE2\x81\xB0", "00000008"},
        {"\xC2\xBF\xC2\xA3 Heft", "HFT"},          // inverted question mark and pound lead
        {"\xC4\x9E Heft", "G HFT"},                  // a letter whose lead octet is C4 stays
        {"\xC5\x9F", "S"},                           // a precomposed letter folds as its base letter
        {"Band \xD0\x96", "BD \xD0\x96"},            // a letter without a normal form of its own
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Key(utf8, c.text), c.expected);
    }
}

// Superscripts, subscripts and the degree sign give the same key in both
// kinds of record, each written in the record's own encoding.
TEST_F(SeriesNumbering, SignsGiveTheSameKeyInBothEncodings) {
    for (Utf8MarcRecordClass* r : {&utf8, &marc8}) {
        const std::string sup0 = r->MarcSuperscript0(), sup1 = r->MarcSuperscript1(), sup2 = r->MarcSuperscript2(),
                          sub2 = r->MarcSubscript2(), degree = r->MarcDegree();
        // A MARC-8 run of two superscripts, and the same two characters in UTF-8.
        const std::string sup12 = r == &marc8 ? std::string("\x1Bp12\x1Bs") : sup1 + sup2;
        const std::pair<std::string, std::string> cases[] = {
            {"no. 12b34", "00000012 B 00000034"},
            {"sup12", "SUP 00000012"},
            {"Heft p12", "P 00000012"},
            {"v. 8" + degree, "00000008"},
            {"3" + degree + " serie, v. 2", "SER 00000003 00000002"},
            {"3" + sup0 + " serie", "SER 00000030"},
            {"v. 3" + sub2 + "5", "00000032 00000005"},
            {"v. 4" + sup1 + "5", "00000041 00000005"},
            {"v. 4" + sup12 + "5", "00000412 00000005"},
            {"v. 4" + sup12, "00000412"},
        };
        for (const auto& [text, key] : cases) EXPECT_EQ(Key(*r, text), key) << text << " " << r->CharacterSetOut();
    }
}

// Long numberings: the keys of texts near the longest a $v may hold.
TEST_F(SeriesNumbering, LongNumberings) {
    struct Case {
        const char* unit;
        const char* keyUnit;
    };
    const Case cases[] = {
        {"N.F. 1 ", "NEW SER 00000001 "},
        {"v. 1, ", "00000001 "},
        {"H.S. 2 ", "HORS SER 00000002 "},
        {"Bd. 3 Heft 2 ", "00000003 00000002 "},
        {"t. 4 ", "00000004 "},
    };
    for (const Case& c : cases) {
        std::string v, key;
        while (v.size() + std::string(c.unit).size() <= 9999) {
            v += c.unit;
            key += c.keyUnit;
        }
        key.pop_back();
        for (Utf8MarcRecordClass* r : {&utf8, &marc8}) {
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(Key(*r, v), key) << c.unit << " " << r->CharacterSetOut();
            // Far above what the key takes, far below what a pass over the
            // whole text for every letter would.
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << c.unit;
        }
    }
}

TEST_F(SeriesNumbering, TablesFollowTheOutputSet) {
    // Superscripts two and three are single octets in set "V"; a digit after
    // them is parted from them.
    const std::string v = "v. 4\xC2\xC3"
                          "5";
    Utf8MarcRecordClass fresh;
    fresh.CharacterSetOut("V");
    const std::string sExpected = Key(fresh, v);
    EXPECT_EQ(sExpected, "00000423 00000005");

    EXPECT_EQ(Key(utf8, "v. 1"), "00000001");
    utf8.CharacterSetOut("V");
    EXPECT_EQ(Key(utf8, v), sExpected);
    EXPECT_EQ(A::State(utf8).SeriesNumberingSuperscriptDigits, A::State(fresh).SeriesNumberingSuperscriptDigits);
    EXPECT_EQ(A::State(utf8).SeriesNumberingTablesSet, "V");
}

}  // namespace
