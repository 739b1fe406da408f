#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"

namespace {

using record_test::D;
using record_test::Iso2709;

const std::string kUtf8Bib = "00000nam a2200000 a 4500";
const std::string kMarc8Bib = "00000nam  2200000 a 4500";
const std::string kUtf8Authority = "00000nz  a2200000n  4500";

struct FieldCase {
    std::string tag, field;
    std::string form, formWithC;  // "$" is a literal dollar sign here
};

// Loads one record of the given kind holding the fields of the cases.
void Load(Utf8MarcRecordClass& record, const std::string& set, const std::string& leader,
          const std::vector<FieldCase>& cases) {
    std::vector<record_test::TaggedField> fields = {{"001", "x1"}};
    for (const FieldCase& k : cases) fields.push_back({k.tag, D(k.field)});
    record.CharacterSetIn(set);
    record.CharacterSetOut(set);
    record.MarcRecordIn(Iso2709(leader, fields));
    ASSERT_EQ(record.IsMarcErrorText(), "");
}

// A personal name with $q, $c, $d and a title part, personal names without
// $d and with $q or $c after the last $d, a meeting name's $q, a name-title
// subject, a place with its qualifier and a topical subject with $y.
const std::vector<FieldCase> kHeadings = {
    {"100", "1 $aSmith, John,$q(John Henry),$cSir,$d1900-1980.$tWorks.$eauthor.",
     "$aSMITH, JOHN $d190000D801900 $qJOHN HENRY  $tWORKS",
     "$aSMITH, JOHN $d190000D801900 $qJOHN HENRY $cSIR  $tWORKS"},
    {"100", "1 $aVan Buren, Martin,$cPresident,$d1782-1862$q(M.)$cEx-president",
     "$aVANBUREN, MARTIN $d178200D813700", "$aVANBUREN, MARTIN $d178200D813700 $cPRESIDENT"},
    {"100", "1 $aSmith, J.$q(Jane)$cDr.", "$aSMITH, J  $qJANE  $cDR", "$aSMITH, J  $qJANE  $cDR"},
    {"111", "2 $aCongress on Sorting$q(Paris)$d(1950)", "$aCONGRESS ON SORTING $qPARIS $d195000D804900",
     "$aCONGRESS ON SORTING $qPARIS $d195000D804900"},
    {"600", "10$aShakespeare, William,$d1564-1616.$tHamlet.$kSelections$6880-01",
     "$aSHAKESPEARE, WILLIAM $d156400D838300  $tHAMLET $kSELECTIONS",
     "$aSHAKESPEARE, WILLIAM $d156400D838300  $tHAMLET $kSELECTIONS"},
    {"651", " 0$aParis (France)$xHistory$yRevolution, 1789-1799.", "$aPARIS (FRANCE $xHISTORY $y1789D8200",
     "$aPARIS (FRANCE $xHISTORY $y1789D8200"},
    {"650", " 0$aWorld War, 1939-1945$zFrance$y20th century$yEarly works to 1800",
     "$aWORLD WAR, 1939 1945 $zFRANCE $y1900D8000 $y00000000C8199",
     "$aWORLD WAR, 1939 1945 $zFRANCE $y1900D8000 $y00000000C8199"},
};

struct RecordKind {
    std::string set, leader;
};
const std::vector<RecordKind> kKinds = {{"U", kUtf8Bib}, {"M", kMarc8Bib}, {"U", kUtf8Authority}};

TEST(FldSortingForm, LoadedHeadingsOfEveryKind) {
    for (const RecordKind& kind : kKinds) {
        Utf8MarcRecordClass record;
        Load(record, kind.set, kind.leader, kHeadings);
        ASSERT_TRUE(record.FldMoveTop());
        bool bSkipDeleted = true;
        ASSERT_TRUE(record.FldMoveNext(bSkipDeleted));  // the 001
        EXPECT_EQ(record.FldSortingForm(true), "");
        for (const FieldCase& k : kHeadings) {
            ASSERT_TRUE(record.FldMoveNext(bSkipDeleted)) << k.field;
            ASSERT_EQ(record.FldTag(), k.tag);
            // The subfield cursor comes back to where it stood.
            record.SfdMoveFirst();
            record.SfdMoveNext();
            const int16_t iCursor = record.SfdPointer();
            const std::string where = kind.set + kind.leader.substr(6, 1) + " " + k.field;
            EXPECT_EQ(record.FldSortingForm(false), k.form) << where;
            EXPECT_EQ(record.FldSortingForm(true), k.formWithC) << where;
            EXPECT_EQ(record.SfdPointer(), iCursor) << where;
        }
    }
}

// A $k before any $t or double blank files behind two blanks (an authority
// record keeps the subfields in the order given).
TEST(FldSortingForm, SubfieldKBeforeTitle) {
    Utf8MarcRecordClass record;
    Load(record, "U", kUtf8Authority, {{"600", "10$aShakespeare, William,$kSelections$tHamlet", "", ""}});
    ASSERT_TRUE(record.FldFindFirst("600", ""));
    EXPECT_EQ(record.FldSortingForm(false), "$aSHAKESPEARE, WILLIAM  $kSELECTIONS  $tHAMLET");
}

// Deleted subfields are visited, but a deleted $d does not hold back $q and
// $c; the look-ahead for a $d stays the saved subfield search.
TEST(FldSortingForm, DeletedSubfieldsAndTheSavedSearch) {
    Utf8MarcRecordClass record;
    Load(record, "U", kUtf8Bib, {{"100", "1 $aSmith, John,$q(John)$d1900-$cSir", "", ""}});
    ASSERT_TRUE(record.FldFindFirst("100", ""));
    EXPECT_EQ(record.FldSortingForm(true), "$aSMITH, JOHN $d190000D999900 $qJOHN");
    ASSERT_TRUE(record.SfdFindFirst("d", ""));
    record.SfdDelete(false);
    record.SfdMoveFirst();
    EXPECT_EQ(record.FldSortingForm(true), "$aSMITH, JOHN  $qJOHN $d190000D999900  $cSIR");
    // The saved search goes on from the first live $d: there is none.
    record.SfdFindFirst("a", "");
    record.FldSortingForm(false);
    EXPECT_FALSE(record.SfdFindNext("", ""));
    // Without a current field there is no form.
    record.FldPointer(-1);
    EXPECT_EQ(record.FldSortingForm(true), "");
}

TEST(SfdSortingForm, OneSubfield) {
    struct Case {
        std::string tag, field, code;
        bool bPersonal;
        std::string form;
    };
    const std::vector<Case> cases = {
        {"100", "1 $aVan Buren, Martin", "a", true, "VANBUREN, MARTIN"},
        {"100", "1 $aVan Buren, Martin", "a", false, "VAN BUREN, MARTIN"},
        {"100", "1 $aVan Buren (Martin)", "a", true, "VAN BUREN (MARTIN"},
        {"651", " 0$aParis (France)", "a", false, "PARIS (FRANCE"},
        {"651", " 0$aParis", "a", false, "PARIS"},
        {"100", "1 $aX$d1950 B.C.", "d", true, "00009804900D0000195000"},
        {"650", " 0$aX$y1939-1945", "y", false, "1939D8054"},
        {"650", " 0$aX$xHistory, 1900-", "x", false, "HISTORY 1900"},
    };
    for (const Case& k : cases) {
        Utf8MarcRecordClass record;
        Load(record, "U", kUtf8Bib, {{k.tag, k.field, "", ""}});
        ASSERT_TRUE(record.FldFindFirst(k.tag, ""));
        record.SfdPointer(-1);
        EXPECT_EQ(record.SfdSortingForm(k.bPersonal), "") << "no current subfield";
        ASSERT_TRUE(record.SfdFindFirst(k.code, "")) << k.field;
        EXPECT_EQ(record.SfdSortingForm(k.bPersonal), k.form) << k.field;
    }
}

}  // namespace
