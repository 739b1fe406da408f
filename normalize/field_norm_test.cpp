#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "common/raised_error.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"

namespace {

using record_test::D;
using record_test::Iso2709;
using test_octets::O;

struct WholeFieldCase {
    std::string scheme, format, tag, indicators, text;
    std::string form, subfields;  // "$" for the delimiter
};

class FieldNorm : public record_test::TwoRecords {
protected:
    void Expect(Utf8MarcRecordClass& record, const std::vector<WholeFieldCase>& cases) {
        for (const WholeFieldCase& k : cases) {
            std::string sSubfields = "left over";
            EXPECT_EQ(record.NormalizeWholeField(k.scheme, k.format, k.tag, k.indicators, D(k.text), sSubfields),
                      D(k.form))
                << k.scheme << " " << k.format << " " << k.tag << " " << k.text;
            EXPECT_EQ(sSubfields, D(k.subfields)) << k.scheme << " " << k.format << " " << k.tag << " " << k.text;
        }
    }
};

TEST_F(FieldNorm, WholeFieldFormsInUtf8) {
    const std::vector<WholeFieldCase> cases = {
        {"V", "B", "650", " 0", "$aUnited States$xHistory$yCivil War, 1861-1865.",
         "UNITED STATES HISTORY CIVIL WAR 1861 1865", "$aUnited States$xHistory$yCivil War, 1861-1865."},
        {"V", "B", "245", "10", "Plain  text ", "PLAIN TEXT", "$aPlain  text"},
        {"V", "B", "245", "04", "$6880-01$aThe hobbit :$bor there and back again /$cTolkien.",
         "HOBBIT OR THERE AND BACK AGAIN", "$aHobbit :$bor there and back again /"},
        {"V", "B", "100", "1 ", "$bII$cfirst", "II FIRST", "$bII$cfirst"},
        {"V", "B", "100", "1 ", "junk$wx$a Smith $dx", "SMITH X", "$aSmith$dx"},
        {"V", "B", "245", "10", "$aTitle$", "TITLE", "$aTitle"},
        {"V", "B", "245", "10", "$aTitle$$bSub", "TITLE", "$aTitle"},
        {"X", "B", "100", "1 ", "$aSmith, John,$d1900-", "SMITH JOHN 1900", "$aSmith, John,$d1900-"},
        {"P", "B", "245", "10", "", "$a", "$a"},
        {"P", "A", "100", "1 ", "$aSmith, John,$d1900-", "$aSMITH, JOHN$d1900-", "$aSmith, John,$d1900-"},
        {"P", "B", "600", "10", "$aSmith, J.,$d1900-1980$xHistory", "$aSMITH, J$d1900 1980$xHISTORY",
         "$aSmith, J.,$d1900-1980$xHistory"},
        {"P", "A", "100", "1 ", "$wnnaa$aSmith, J.$0(x)123", "$aSMITH, J", "$aSmith, J."},
        {"P", "A", "999", "  ", "$aSmith$wnna$0(x)1$bB", "$aSMITH$bB", "$aSmith$wnna$bB"},
        {"P", "B", "999", "  ", "$aSmith$wnna$0(x)1$bB", "$aSMITH$wNNA$bB", "$aSmith$wnna$bB"},
        {"Q", "B", "245", "10", "$aLife, the universe", "$aLIFE THE UNIVERSE", "$aLife, the universe"},
        {"Q", "B", "100", "10", "$aLife, the universe", "$aLIFE, THE UNIVERSE", "$aLife, the universe"},
        {"Q", "A", "100", "10", "$aSmith, John,$d1900-", "$aSMITH, JOHN$d1900", "$aSmith, John,$d1900-"},
        {"Q", "H", "245", "10", "$aLife, the universe", "$aLIFE, THE UNIVERSE", "$aLife, the universe"},
        {"Q", "A", "130", " 4", "$aThe hobbit", "$aHOBBIT", "$aHobbit"},
        {"V", "B", "651", " 0", "$aParis (France)$xHistory$zEurope", "PARIS FRANCE HISTORY EUROPE",
         "$aParis (France)$xHistory$zEurope"},
    };
    Expect(utf8, cases);
}

TEST_F(FieldNorm, WholeFieldFormsInMarc8) {
    const std::vector<WholeFieldCase> cases = {
        {"V", "B", "650", " 0", "$aCaf" + O("E2") + "e$xHistory", "CAFE HISTORY", "$aCaf" + O("E2") + "e$xHistory"},
        {"P", "A", "100", "1 ", "$aSmith, John,$d1900-", "$aSMITH, JOHN$d1900", "$aSmith, John,$d1900-"},
        {"V", "B", "245", "10", "$a" + O("88") + "The " + O("89") + "hobbit", "HOBBIT", "$aHobbit"},
    };
    Expect(marc8, cases);
}

// The record's scheme comes back after every call, a raised error included.
TEST_F(FieldNorm, SchemeIsPutBackOnEveryWayOut) {
    std::string sSubfields;
    for (const char* saved : {"V", "P"}) {
        for (const char* scheme : {"V", "P", "Q", "Z"}) {
            utf8.NormalizationScheme(saved);
            utf8.NormalizeWholeField(scheme, "B", "100", "1 ", D("$aSmith, J.$d1900-"), sSubfields);
            EXPECT_EQ(utf8.NormalizationScheme(), saved) << scheme;
        }
    }
    // An 8-bit text beyond 32,767 octets raises the overflow error.
    marc8.NormalizationScheme("V");
    EXPECT_THROW(marc8.NormalizeWholeField("P", "B", "245", "10", D("$a") + std::string(40000, 'a'), sSubfields),
                 RaisedError);
    EXPECT_EQ(marc8.NormalizationScheme(), "V");
}

TEST(ListSubfieldsForNormalization, CodesByFormatAndTag) {
    Utf8MarcRecordClass record;
    const std::string every = "abcdefghijklmnopqrstuvwxyz";
    struct Case {
        std::string format, tag, expected;
    };
    const std::vector<Case> cases = {
        {"A", "100", "abcdfgklmnoprsqtvxyz"}, {"A", "711", "acdefgklnpsqtvxyz"}, {"A", "530", "adfgklmnoprstvxyz"},
        {"A", "450", "abcdvxyz"},             {"A", "751", "avxyz"},             {"A", "155", "abvxyz"},
        {"A", "485", "vxyz"},                 {"A", "782", "vxyz"},              {"A", "651", every},
        {"A", "245", every},                  {"B", "651", "avxyz"},             {"B", "650", "abcdvxyz"},
        {"D", "655", "abvxyz"},               {"U", "610", "abcdfgklmnoprstvxyz"},
        {"S", "490", "adfgklmnoprst"},        {"M", "246", "abnp"},              {"P", "811", "acdefgklnpsqt"},
        {"B", "100 ", every},                 {"B", "", every},                  {"B", "10", every},
        {"H", "100", every},                  {"", "245", every},
    };
    for (const Case& k : cases)
        EXPECT_EQ(record.ListSubfieldsForNormalization(k.format, k.tag), k.expected) << k.format << " " << k.tag;
}

TEST(GenerateNacoFormFromRaw, AuthorityHeadings) {
    Utf8MarcRecordClass record;
    struct Case {
        std::string tag, field, expected;
    };
    const std::vector<Case> cases = {
        {"100", "$iSee also:$aSmith, J.", "$aSMITH, J"},
        {"100", "Smith, John,$d1900-$wnna$0(x)1", "$aSMITH, JOHN$d1900-"},
        {"150", "$aHistory$xStudy and teaching", "$aHISTORY$xSTUDY AND TEACHING"},
        {"100", "$aSmith,", "$aSMITH"},
        {"100", "$aOne$bX$aTwo$cY", "$aTWO$cY"},
        {"100", "$aSmith$", "$aSMITH"},
        {"100", "", ""},
        {"100", "$a", ""},
    };
    for (const Case& k : cases) EXPECT_EQ(record.GenerateNacoFormFromRaw(k.tag, D(k.field)), D(k.expected)) << k.field;
}

const std::string kUtf8BibLeader = "00000nam a2200000 a 4500";
const std::string kUtf8AuthorityLeader = "00000nz  a2200000n  4500";

// The forms of the current field in a loaded record.
TEST(FieldForms, OfTheCurrentField) {
    Utf8MarcRecordClass record;
    record.MarcRecordIn(Iso2709(kUtf8BibLeader, {{"001", "ocm 123"},
                                                 {"100", D("1 $aSmith, John,$d1900-$ethor")},
                                                 {"245", D("14$aThe hobbit /$cTolkien.")}}));
    ASSERT_EQ(record.IsMarcErrorText(), "");
    struct Case {
        std::string tag, norm, naco, almost, normalizable;
    };
    const std::vector<Case> cases = {
        {"001", "OCM 123", "$aOCM 123", "$aOCM 123", "ocm 123"},
        {"100", "SMITH JOHN 1900", "$aSMITH, JOHN$d1900-", "$aSMITH, JOHN$d1900", "$aSmith, John,$d1900-"},
        {"245", "HOBBIT", "$aHOBBIT", "$aHOBBIT", "$aThe hobbit /"},
    };
    for (const Case& k : cases) {
        ASSERT_TRUE(record.FldFindFirst(k.tag, "")) << k.tag;
        EXPECT_EQ(record.FldNorm(), k.norm) << k.tag;
        EXPECT_EQ(record.FldNormNaco(), D(k.naco)) << k.tag;
        EXPECT_EQ(record.FldNormNacoAlmost(), D(k.almost)) << k.tag;
        EXPECT_EQ(record.FldTextNormalizable(), D(k.normalizable)) << k.tag;
        std::string sTag, sIndicators, sField;
        record.FldLoadInfoNormalizable(sTag, sIndicators, sField);
        EXPECT_EQ(sTag + "|" + sIndicators + "|" + sField, record.FldTag() + "|" + record.FldInd() + "|" +
                                                               D(k.normalizable));
    }
    // A deleted subfield does not count.
    ASSERT_TRUE(record.FldFindFirst("100", ""));
    ASSERT_TRUE(record.SfdFindFirst("d", ""));
    record.SfdDelete(false);
    EXPECT_EQ(record.FldTextNormalizable(), D("$aSmith, John,"));
    // Without a current field every form is empty.
    record.FldPointer(-1);
    EXPECT_EQ(record.FldNorm() + record.FldNormNaco() + record.FldNormNacoAlmost() + record.FldTextNormalizable(), "");
    std::string sTag = "x", sIndicators = "x", sField = "x";
    record.FldLoadInfoNormalizable(sTag, sIndicators, sField);
    EXPECT_EQ(sTag + sIndicators + sField, "");
}

// Loaded titles are found, and their $a forms made, without the words that
// their nonfiling indicator or zone leaves out of filing.
TEST(FieldForms, LoadedRecordsHonourNonfilingCharacters) {
    struct Case {
        std::string set, leader, tag, field, find, sfdNorm;
        bool bFound;
    };
    const std::string marc8Leader = "00000nam  2200000 a 4500";
    const std::vector<Case> cases = {
        {"U", kUtf8BibLeader, "245", "04$aThe hobbit /$cTolkien.", "hobbit", "HOBBIT", true},
        {"U", kUtf8BibLeader, "245", "04$aThe hobbit /$cTolkien.", "the hobbit", "HOBBIT", false},
        {"U", kUtf8BibLeader, "245", "00$a" + O("C2 98") + "The " + O("C2 9C") + "hobbit", "hobbit", "HOBBIT",
         true},
        {"U", kUtf8BibLeader, "130", " 4$aThe hobbit", "the hobbit", "THE HOBBIT", true},
        {"U", kUtf8AuthorityLeader, "130", " 4$aThe hobbit", "hobbit", "HOBBIT", true},
        {"M", marc8Leader, "245", "03$aLe " + O("E2") + "Ecole", "ecole", "ECOLE", true},
        {"M", marc8Leader, "245", "10$a" + O("88") + "Les " + O("89") + "mis" + O("E2") + "erables", "miserables",
         "MISERABLES", true},
    };
    for (const Case& k : cases) {
        Utf8MarcRecordClass record;
        record.CharacterSetIn(k.set);
        record.CharacterSetOut(k.set);
        record.MarcRecordIn(Iso2709(k.leader, {{"001", "x1"}, {k.tag, D(k.field)}}));
        ASSERT_EQ(record.IsMarcErrorText(), "") << k.field;
        EXPECT_EQ(record.FldFindFirst(k.tag, k.find), k.bFound) << k.field << " / " << k.find;
        ASSERT_TRUE(record.FldFindFirst(k.tag, ""));
        ASSERT_TRUE(record.SfdFindFirst("a", ""));
        EXPECT_EQ(record.SfdNorm(), k.sfdNorm) << k.field;
        const std::string sA = D(k.field).substr(4);
        EXPECT_EQ(record.SfdText(), sA.substr(0, sA.find('\x1F'))) << "the stored text stays whole";
    }
}

}  // namespace
