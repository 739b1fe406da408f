// The general material designation in title fields, and the first year of a text.
#include <gtest/gtest.h>

#include <string>

#include "common/test_support.h"
#include "marc/record/subfield_test_support.h"

namespace {

using subfield_test::AddField;
using subfield_test::Listing;

TEST(FldInsertSubfieldH, PlacesTheDesignationAndItsPunctuation) {
    struct Case {
        const char* tag;
        const char* field;
        const char* designation;
        const char* result;
        const char* current;  // code of the subfield under the cursor afterwards
    };
    const Case cases[] = {
        {"245", "$aHamlet /$cWilliam Shakespeare.", "electronic resource",
         "$aHamlet$h[electronic resource] /$cWilliam Shakespeare.", "h"},
        {"245", "$aSonatas :$bfor piano.", "[sound recording]", "$aSonatas$h[sound recording] :$bfor piano.", "h"},
        {"245", "$aSonatas :$bfor piano /$cBach.", "[sound recording", "$aSonatas$h[sound recording] :$bfor piano /$cBach.", "h"},
        {"245", "$aSonatas.", "sound recording]", "$aSonatas$h[sound recording].", "h"},
        {"245", "$aSonatas", "sound recording", "$aSonatas$h[sound recording].", "h"},
        {"245", "$aSonatas ;$nNo. 2.", "sound recording", "$aSonatas ;$nNo. 2$h[sound recording].", "h"},
        {"246", "$aSonatas", "sound recording", "$aSonatas$h[sound recording]", "h"},
        {"246", "$aSonatas :", "sound recording", "$aSonatas$h[sound recording] :", "h"},
        // The text after the last "]" goes only when punctuation follows.
        {"245", "$aTitle /$cDirector.", "[videorecording] (VHS)", "$aTitle$h[videorecording] /$cDirector.", "h"},
        {"246", "$aTitle", "[videorecording] (VHS)", "$aTitle$h[videorecording] (VHS)", "h"},
        // Punctuation that is the whole text moves, leaving the subfield empty.
        {"245", "$a. /$cX.", "film", "$a$h[film]. /$cX.", "h"},
        // A $h already there: nothing changes and the cursor stands on it.
        {"245", "$aHamlet$h[text] /$cShakespeare.", "electronic resource", "$aHamlet$h[text] /$cShakespeare.", "h"},
        // A $b or $c that comes first: the $h goes before it as it stands.
        {"245", "$bfor piano.", "[sound recording] (CD)", "$h[sound recording] (CD)$bfor piano.", "h"},
    };
    for (const Case& c : cases) {
        testsupport::TempSettingsFolder folder;
        Utf8MarcRecordClass record;
        AddField(record, c.tag, "10", c.field);
        record.FldInsertSubfieldH(c.designation);
        EXPECT_EQ(Listing(record), c.result) << c.tag << " " << c.field;
        EXPECT_EQ(record.SfdCode(), c.current) << c.tag << " " << c.field;
    }
}

// A deleted subfield neither places the $h nor lends it its punctuation.
TEST(FldInsertSubfieldH, JudgesByTheLiveSubfields) {
    struct Case {
        const char* tag;
        const char* field;
        const char* deleted;  // the code of the subfield deleted first
        const char* result;
    };
    const Case cases[] = {
        {"245", "$aTitle$h[x] /$cX.", "h", "$aTitle$h[y]$cX."},
        {"245", "$aTitle /$nPart$cX.", "n", "$aTitle$h[y] /$cX."},
        {"245", "$aTitle :$bRest.$nOld ;", "n", "$aTitle$h[y] :$bRest."},
        {"245", "$aTitle.$nOld ;", "n", "$aTitle$h[y]."},
        {"246", "$aTitle$nOld :", "n", "$aTitle$h[y]"},
        {"245", "$nOld /$cX.", "n", "$h[y]$cX."},
    };
    for (const Case& c : cases) {
        testsupport::TempSettingsFolder folder;
        Utf8MarcRecordClass record;
        AddField(record, c.tag, "10", c.field);
        ASSERT_TRUE(record.SfdFindFirst(c.deleted, ""));
        record.SfdDelete(false);
        record.FldInsertSubfieldH("y");
        // The live subfields in list order.
        const std::string sListing = Listing(record);
        std::string sLive;
        for (const char* p = sListing.c_str(); *p;) {
            const char* q = p + 1;
            while (*q && *q != '$' && *q != '~') ++q;
            if (*p == '$') sLive.append(p, q);
            p = q;
        }
        EXPECT_EQ(sLive, c.result) << c.tag << " " << c.field;
        EXPECT_EQ(record.SfdCode(), "h") << c.tag << " " << c.field;
    }
}

TEST(FindDateInString, FromTheFirstFourDigitNumber) {
    testsupport::TempSettingsFolder folder;
    Utf8MarcRecordClass record;
    const std::pair<std::string, std::string> cases[] = {
        {"c1985, printed 1990", "1985, printed 1990"},
        {"Vol. 12, 2003", "2003"},
        {"no date", "no date"},
        {"1990", "1990"},
        {"199", "199"},
        {"c0123, 1985", "1985"},
        {"", ""},
        // A digit but no four-digit number: the whole text.
        {"vol. 12 of 30", "vol. 12 of 30"},
        {"[19--?]", "[19--?]"},
        {std::string(40000, 'x') + "2001", "2001"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(record.FindDateInString(in), out) << in.substr(0, 40);
}

}  // namespace
