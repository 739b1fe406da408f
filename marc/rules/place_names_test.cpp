// Place headings as indirect subdivisions, the expansion and abbreviation of
// place names, on UTF-8 and MARC-8 records loaded from ISO 2709 text; the
// sizes of the place-name tables.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/record_test_access.h"
#include "marc/rules/place_name_tables.h"

namespace {

using record_test::D;
using record_test::Iso2709;

class PlaceNames : public ::testing::Test {
protected:
    // A bibliographic record, UTF-8 (leader/09 "a") or MARC-8 kept in "M".
    void Load(bool bUtf8) {
        record = std::make_unique<Utf8MarcRecordClass>();
        if (!bUtf8) {
            record->CharacterSetIn("M");
            record->CharacterSetOut("M");
        }
        std::string s008(40, ' ');
        record->MarcRecordIn(Iso2709(bUtf8 ? "00000nam a2200000 a 4500" : "00000nam  2200000 a 4500",
                                     {{"008", s008}, {"151", D(" 0$aChicago (Ill.)")}}));
        ASSERT_FALSE(record->MarcRecordIn().empty()) << record->IsMarcErrorText();
        ASSERT_EQ(RecordTestAccess::State(*record).RecordIsUtf8, bUtf8);
    }
    testsupport::TempSettingsFolder folder;
    std::unique_ptr<Utf8MarcRecordClass> record;
};

TEST_F(PlaceNames, IndirectSubdivisionFormInBothKindsOfRecord) {
    struct Case {
        const char* heading;
        bool australian;
        const char* expected;
    };
    const Case cases[] = {
        {"$aChicago (Ill.)", false, "$zIllinois$zChicago"},
        {" 0$a  Chicago (Ill.)  ", false, "$zIllinois$zChicago"},
        {"Paris (France)", false, "$zFrance$zParis"},
        {"Toronto", false, "$zToronto"},
        {"Washington (D.C.)", false, "$zWashington (D.C.)"},
        {"Calgary (Alta.)", false, "$zAlberta$zCalgary"},
        {"Springfield (Ill. : Township)", false, "$zIllinois$zSpringfield"},
        {"Springfield (Town : Ill.)", false, "$zIllinois$zSpringfield"},
        {"Springfield (Ill. : Sangamon Co.)", false, "$zIll. : Sangamon Co.$zSpringfield"},
        {"Mexico (State)", false, "Mexico (State)"},
        {"Korea (Democratic Republic)", false, "Korea (Democratic Republic)"},
        {"Ruritania (Kingdom)", false, "Ruritania (Kingdom)"},
        {"Sydney (N.S.W.)", false, "$zAustralia$zSydney (N.S.W.)"},
        {"Sydney (N.S.W.)", true, "$zNew South Wales$zSydney"},
        {"Darwin (N.T.)", false, "$zAustralia$zDarwin (N.T.)"},
        {"Darwin (N.T.)", true, "$zNorthern Territory$zDarwin"},
        {"Yellowknife (N.W.T.)", false, "$zNorthwest Territories$zYellowknife"},
        {"Chicago ( Ill.)", false, "$z Ill.$zChicago"},
        // The qualifier comes from the $a alone; later subfields follow the result.
        {"$aSydney (N.S.W.)$xHistory", true, "$zNew South Wales$zSydney$xHistory"},
        {"$aSydney (N.S.W.)$xHistory", false, "$zAustralia$zSydney (N.S.W.)$xHistory"},
        {"$aChicago (Ill.)$xHistory$y20th century", false, "$zIllinois$zChicago$xHistory$y20th century"},
        {"$aWashington (D.C.)$xBuildings", false, "$zWashington (D.C.)$xBuildings"},
        {"$aMexico (State)$xHistory", false, "Mexico (State)$xHistory"},
        {"$aToronto$xHistory", false, "$zToronto$xHistory"},
        {"Albany (N.Y.", false, "$zNew York (State)$zAlbany"},
        {"Odd ()", false, "$zOdd"},
        {"(Ill.)", false, "$zIllinois$z"},
        {"", false, "$z"},
    };
    for (const bool bUtf8 : {true, false}) {
        Load(bUtf8);
        for (const Case& c : cases) {
            record->AustralianSubdivisionPractice(c.australian);
            EXPECT_EQ(record->IndirectSubdivisionForm(D(c.heading)), D(c.expected)) << c.heading << " " << bUtf8;
        }
    }
}

TEST_F(PlaceNames, ExpandPlaceAbbreviationChangesOnlyWhatItsCaseNames) {
    struct Case {
        const char* z2;
        bool australian;
        const char* z2After;
        const char* fieldAfter;  // sField starts as "local"
    };
    const Case cases[] = {
        {"N.Y.", false, "New York (State)", "local"},
        {"Calif.", false, "California", "local"},
        {"Cal.", false, "California", "local"},
        {"Mass", false, "Massachusetts", "local"},
        {"mass.", false, "Massachusetts", "local"},
        {"U.S.", false, "UNITED STATES", "local"},
        {"New York State", false, "New York (State)", "local"},
        {"Yukon Territory", false, "Yukon", "local"},
        {"T.H.", false, "Hawaii", "local"},
        {"Queb.", false, "Queb.", "local"},
        {"1st", false, "1st", "local"},
        {"", false, "", "local"},
        {"D.C.", false, "", "old heading"},
        {"Tas.", false, "Australia", "old heading"},
        {"Tas.", true, "Tasmania", "local"},
        {"W.A.", true, "Western Australia", "local"},
        {"Wash.", true, "Washington (State)", "local"},
    };
    Load(true);
    for (const Case& c : cases) {
        record->AustralianSubdivisionPractice(c.australian);
        std::string sZ2 = c.z2, sField = "local";
        record->ExpandPlaceAbbreviation(sZ2, "old heading", sField);
        EXPECT_EQ(sZ2, c.z2After) << c.z2;
        EXPECT_EQ(sField, c.fieldAfter) << c.z2;
    }
}

TEST_F(PlaceNames, QuebecIsWrittenWithTheRecordsAcute) {
    // UTF-8: the acute after its e; MARC-8: the acute (0xE2) before it.
    Load(true);
    std::string sZ2 = "Quebec", sField = "Montréal";
    record->ExpandPlaceAbbreviation(sZ2, "", sField);
    EXPECT_EQ(sZ2, "Que\xCC\x81" "bec (Province)");
    EXPECT_EQ(record->IndirectSubdivisionForm("Montr\xC3\xA9" "al (Quebec)"),
              D("$zQue\xCC\x81" "bec (Province)$zMontr\xC3\xA9" "al"));
    EXPECT_EQ(record->AbbreviatePlaceName("Que\xCC\x81" "bec (Province)", true), "Que\xCC\x81" "bec");
    EXPECT_EQ(record->AbbreviatePlaceName("Quebec Province", false), "Que\xCC\x81" "bec");
    Load(false);
    sZ2 = "Quebec";
    record->ExpandPlaceAbbreviation(sZ2, "", sField);
    EXPECT_EQ(sZ2, "Qu\xE2" "ebec (Province)");
    EXPECT_EQ(record->AbbreviatePlaceName("Qu\xE2" "ebec (Province)", true), "Qu\xE2" "ebec");
}

TEST_F(PlaceNames, AbbreviatePlaceName) {
    struct Case {
        const char* in;
        bool onlyAbbreviations;
        const char* expected;
    };
    const Case cases[] = {
        {"New York (State)", false, "N.Y."},
        {"New York", true, "N.Y."},
        {"Washington (State)", false, "Wash."},
        {"West Virginia", false, "W.Va."},
        {"Russian S.F.S.R.", false, "Russia"},
        {"Virgin Islands of the United States", true, "Virgin Islands"},
        {"  illinois ", false, "Ill."},
        {"Congo (Brazzaville)", false, "Congo"},
        {"Congo (Kinshasa)", true, "Congo (Kinshasa)"},
        {"Tasmania", false, "Tasmania"},
        {"Illinois River", false, "Illinois River"},
        {"(Illinois)", false, "Ill."},
        {"1st Street", false, "1st Street"},
        {"", false, ""},
    };
    for (const bool bUtf8 : {true, false}) {
        Load(bUtf8);
        for (const Case& c : cases)
            EXPECT_EQ(record->AbbreviatePlaceName(c.in, c.onlyAbbreviations), c.expected) << c.in << " " << bUtf8;
    }
}

TEST_F(PlaceNames, JurisdictionWordsAreComparedExactly) {
    const std::pair<const char*, bool> cases[] = {
        {"TOWNSHIP", true},   {"UNITED KINGDOM", true},       {"EXTINCT CITY", true}, {"GRAND DUCHY", true},
        {"LAKE", true},       {"DEMOCRATIC REPUBLIC", true},  {"Township", false},    {"STATES", false},
        {"LAKE ERIE", false}, {"REPUBLIC", false},            {"", false},
    };
    Load(true);
    for (const auto& [in, expected] : cases) EXPECT_EQ(record->IndirectSubdivisionFormIsJurisdiction(in), expected) << in;
}

TEST_F(PlaceNames, AustralianPracticeStartsFalseAndKeepsTheValue) {
    Utf8MarcRecordClass fresh;
    EXPECT_FALSE(fresh.AustralianSubdivisionPractice());
    fresh.AustralianSubdivisionPractice(true);
    EXPECT_TRUE(fresh.AustralianSubdivisionPractice());
}

// Every key in its letter group, distinct across the table, and the sizes.
TEST(PlaceNameTables, CountsAndGroups) {
    struct Sizes {
        size_t keys = 0, entries = 0, australianKeys = 0;
    };
    const auto measure = [](auto group) {
        Sizes sizes;
        std::set<std::string> keys;
        for (int g = 0; g < place_names::kPlaceGroups; ++g) {
            for (const place_names::PlaceEntry& entry : group(g)) {
                ++sizes.entries;
                std::string_view rest = entry.keys;
                while (true) {
                    const size_t bar = rest.find('|');
                    const std::string key(rest.substr(0, bar));
                    EXPECT_EQ(place_names::PlaceGroupOf(key[0]), g) << key;
                    EXPECT_TRUE(keys.insert(key).second) << key;
                    EXPECT_EQ(place_names::FindPlace(group(g), key), &entry) << key;
                    ++sizes.keys;
                    if (entry.kind == place_names::PlaceKind::Australian) ++sizes.australianKeys;
                    if (bar == std::string_view::npos) break;
                    rest.remove_prefix(bar + 1);
                }
            }
        }
        return sizes;
    };
    const Sizes expansion = measure(place_names::ExpansionGroup);
    EXPECT_EQ(expansion.keys, 99u);
    EXPECT_EQ(expansion.entries, 72u);
    EXPECT_EQ(expansion.australianKeys, 12u);
    const Sizes abbreviation = measure(place_names::AbbreviationGroup);
    EXPECT_EQ(abbreviation.keys, 67u);
    EXPECT_EQ(abbreviation.entries, 62u);
    EXPECT_EQ(place_names::JurisdictionWordsContained().size(), 3u);
    EXPECT_EQ(place_names::JurisdictionWordsWhole().size(), 6u);
}

}  // namespace
