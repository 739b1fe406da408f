// Whole MODS documents, byte for byte, of a book, a score, a map and a
// serial, under forms 1 and 5. EXITDESK_UPDATE_GOLDEN=1 rewrites the files
// testdata/xml/mods/<name>-form<N>.xml from the current output.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "marc/xml/xml_test_support.h"

namespace {

using xml_test::D;
using xml_test::TaggedField;

const std::string kSource = EXITDESK_SOURCE_DIR;

struct Golden {
    const char* name;
    std::string leader;
    std::vector<TaggedField> fields;
};

const std::vector<Golden>& Goldens() {
    static const std::vector<Golden> goldens = {
        {"book",
         "00000cam a2200000 a 4500",
         {{"001", "b1000042"},
          {"003", "OCoLC"},
          {"005", "20260110093000.0"},
          {"008", "950612s1994    nyua     b    001 0 eng d"},
          {"010", D("  $a   94012345 ")},
          {"020", D("  $a0394584163 (hardcover)$z0394584164")},
          {"040", D("  $aDLC$beng$cDLC$dOCoLC")},
          {"041", D("1 $aengfre$hger")},
          {"043", D("  $an-us---")},
          {"082", D("00$a973.7/092$220")},
          {"100", D("1 $aFoote, Shelby,$d1916-2005.$eauthor")},
          {"245", D("14$aThe Civil War :$ba narrative /$cby Shelby Foote.")},
          {"246", D("30$aNarrative")},
          {"250", D("  $a1st ed.")},
          {"260", D("  $aNew York :$bRandom House,$c1994.")},
          {"300", D("  $a3 v. :$bill., maps ;$c25 cm.")},
          {"440", D(" 0$aCivil War library ;$vv. 1")},
          {"490", D("1 $aModern classics ;$v12")},
          {"500", D("  $aOriginally published 1958-1974.")},
          {"504", D("  $aIncludes bibliographical references and index.")},
          {"505", D("0 $av. 1. Fort Sumter to Perryville -- v. 2. Fredericksburg to Meridian.")},
          {"520", D("  $aA history of the war in three volumes & an index.")},
          {"600", D("10$aLincoln, Abraham,$d1809-1865$xMilitary leadership.")},
          {"650", D(" 0$aSoldiers$zUnited States$xHistory$y19th century.")},
          {"651", D(" 0$aUnited States$xHistory$yCivil War, 1861-1865.")},
          {"700", D("1 $aMorris, Willie.$4edt")},
          {"710", D("2 $aRandom House (Firm)")},
          {"740", D("02$aFort Sumter to Perryville.")},
          {"830", D(" 0$aModern classics (Random House) ;$vno. 12.")},
          {"856", D("41$uhttp://example.org/toc?id=1&v=2$yTable of contents")},
          {"856", D("40$uhdl:2027/book.1")}}},
        {"score",
         "00000ccm a2200000 a 4500",
         {{"001", "s2000007"},
          {"008", "870304s1986    gw zza         n    zxx d"},
          {"024", D("2 $aM-2306-7118-7")},
          {"028", D("32$aBA 5741$bB\xC3\xA4renreiter")},
          {"040", D("  $aMH$cMH")},
          {"041", D("0 $gger")},
          {"100", D("1 $aMozart, Wolfgang Amadeus,$d1756-1791.")},
          {"240", D("10$aSonatas,$mpiano,$nK. 545,$rC major")},
          {"245", D("10$aSonate in C, KV 545 /$cW.A. Mozart.")},
          {"260", D("  $aKassel :$bB\xC3\xA4renreiter,$c1986.")},
          {"300", D("  $a1 score (12 p.) ;$c31 cm.")},
          {"500", D("  $aFor piano.")},
          {"650", D(" 0$aSonatas (Piano)$vScores.")},
          {"852", D("0 $aMH$bMusic Library$hM23$iM9 K.545")}}},
        {"map",
         "00000cem a2200000 a 4500",
         {{"001", "m3000011"},
          {"005", "20251201000000.0"},
          {"007", "aj canzn"},
          {"008", "990105s1998    cau       a  f  0   eng  "},
          {"034", D("1 $aa$b250000$dW1240000$eW1140000$fN0420000$gN0320000")},
          {"040", D("  $aCSt$beng$cCSt")},
          {"052", D("  $a4360")},
          {"110", D("2 $aGeological Survey (U.S.)")},
          {"245", D("10$aCalifornia \xE2\x80\x94 relief /$cU.S. Geological Survey.")},
          {"255", D("  $aScale 1:250,000 ;$bUniversal transverse Mercator proj.$c(W 124\xC2\xB0--W 114\xC2\xB0/N 42\xC2\xB0--N 32\xC2\xB0).")},
          {"260", D("  $aReston, Va. :$bThe Survey,$c1998.")},
          {"300", D("  $a1 map :$bcol. ;$c95 x 70 cm.")},
          {"500", D("  $aRelief shown by shading.")},
          {"506", D("  $aOpen to the public.")},
          {"651", D(" 0$aCalifornia$vMaps.")},
          {"852", D("0 $3Sheet 1$aCSt$bBranner Map Collection")}}},
        {"serial",
         "00000cas a2200000 a 4500",
         {{"001", "j4000099"},
          {"003", "DLC"},
          {"008", "750101c19759999nyuqr p       0   a0eng  "},
          {"022", D("0 $a0028-0836$z0028-0837")},
          {"040", D("  $aNSDP$beng$cDLC")},
          {"245", D("04$aThe New York journal of <science> & letters.")},
          {"246", D("13$aNY journal")},
          {"260", D("  $aNew York :$bScience Press,$c1975-")},
          {"300", D("  $av. :$bill. ;$c28 cm.")},
          {"310", D("  $aQuarterly")},
          {"362", D("0 $aVol. 1, no. 1 (Jan. 1975)-")},
          {"540", D("  $aReproduction by permission only.")},
          {"650", D(" 0$aScience$vPeriodicals.")},
          {"776", D("08$iOnline version:$tNew York journal of science & letters$x1234-5679$w(OCoLC)1234")},
          {"780", D("00$tNew York journal of science$x0000-0019")},
          {"785", D("00$tJournal of science and letters$x0000-0027")},
          {"856", D("40$9j4000099")}}},
    };
    return goldens;
}

TEST(XmlModsGolden, DocumentsByteForByte) {
    const bool bUpdate = std::getenv("EXITDESK_UPDATE_GOLDEN") != nullptr;
    for (const Golden& g : Goldens()) {
        for (int form : {1, 5}) {
            Utf8MarcRecordClass record;
            xml_test::Load(record, g.leader, g.fields);
            record.LocalHandlePrefix("https://hdl.example.org/2027/local.");
            const std::string sDocument = record.XMLRecordOut(form);
            const std::string what = std::string(g.name) + "-form" + std::to_string(form);
            const std::string path = kSource + "/testdata/xml/mods/" + what + ".xml";
            if (bUpdate) testsupport::WriteFile(path, sDocument);
            EXPECT_EQ(sDocument, testsupport::ReadFile(path)) << what;
            xml_test::ExpectModsStructure(sDocument, what);
        }
    }
}

}  // namespace
