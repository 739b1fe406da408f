#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chars/test_octets.h"
#include "marc/record/marc_record.h"
#include "marc/record/record_test_access.h"

namespace {

using test_octets::O;

// In a case text "$" is the delimiter, "<" the nonsort-begin and ">" the
// nonsort-end marker of the record's encoding.
std::string Marked(const std::string& s, bool bUtf8) {
    std::string out;
    for (char c : s) {
        if (c == '$')
            out += '\x1F';
        else if (c == '<')
            out += bUtf8 ? O("C2 98") : O("88");
        else if (c == '>')
            out += bUtf8 ? O("C2 9C") : O("89");
        else
            out += c;
    }
    return out;
}

struct NonfilingCase {
    std::string type, tag, indicators, text;
    bool bUpper;
    std::string expected, indicatorsAfter;
};

class Nonfiling : public record_test::TwoRecords {
protected:
    void Expect(Utf8MarcRecordClass& record, bool bUtf8, const std::vector<NonfilingCase>& cases) {
        for (const NonfilingCase& k : cases) {
            std::string sIndicators = k.indicators;
            EXPECT_EQ(record.RemoveNonfilingCharacters(k.type, k.tag, sIndicators, Marked(k.text, bUtf8), k.bUpper),
                      Marked(k.expected, bUtf8))
                << (bUtf8 ? "UTF-8 " : "MARC-8 ") << k.type << " " << k.tag << " [" << k.indicators << "] " << k.text;
            EXPECT_EQ(sIndicators, k.indicatorsAfter) << k.type << " " << k.tag << " " << k.text;
        }
    }
};

TEST_F(Nonfiling, IndicatorCountsAndZonesInBothEncodings) {
    const std::vector<NonfilingCase> cases = {
        {"B", "245", "04", "The Hobbit", true, "Hobbit", "00"},
        {"B", "245", "14", "The hobbit", true, "Hobbit", "10"},
        {"B", "245", "14", "The hobbit", false, "hobbit", "10"},
        {"B", "245", "00", "The Hobbit", true, "The Hobbit", "00"},
        {"B", "245", "0 ", "The Hobbit", true, "The Hobbit", "00"},  // a blank comes back "0"
        {"B", "245", "0x", "The Hobbit", true, "The Hobbit", "00"},
        {"B", "245", "", "The Hobbit", true, "The Hobbit", ""},
        {"B", "245", "09", "The", true, "", "00"},  // more than the text: all of it and no more
        // A zone decides, and the count is not applied again.
        {"B", "245", "04", "<The >hobbit", true, "Hobbit", "00"},
        {"B", "245", "04", "$a<The >hobbit", true, "$aHobbit", "00"},
        {"B", "245", "0 ", "<The >hobbit", true, "Hobbit", "0 "},
        {"B", "100", "1 ", "Smith, <the >elder", true, "Smith, elder", "1 "},
        // Which indicator by format; none for holdings and unknown formats.
        {"A", "130", " 4", "The Hobbit", true, "Hobbit", " 0"},
        {"A", "245", " 4", "The Hobbit", true, "The Hobbit", " 4"},
        {"B", "130", "4 ", "The Hobbit", true, "Hobbit", "0 "},
        {"S", "130", " 4", "The Hobbit", true, "The Hobbit", "04"},
        {"Q", "245", " 4", "The Hobbit", true, "Hobbit", " 0"},
        {"Q", "130", "4 ", "The Hobbit", true, "The Hobbit", "4 "},
        {"H", "245", "04", "The Hobbit", true, "The Hobbit", "04"},
        {"?", "245", "04", "The Hobbit", true, "The Hobbit", "04"},
        // Whole entries only: an empty or partial tag has no indicator.
        {"B", "", "04", "The Hobbit", true, "The Hobbit", "04"},
        {"B", "24", "04", "The Hobbit", true, "The Hobbit", "04"},
        {"B", "245 ", "04", "The Hobbit", true, "The Hobbit", "04"},
        // A whole field keeps everything through the code of its first $a.
        {"B", "245", "04", "$6880-01$aThe hobbit$cTolkien", false, "$6880-01$ahobbit$cTolkien", "00"},
        {"B", "245", "04", "$6880-01$aThe hobbit$cTolkien", true, "$6880-01$aHobbit$cTolkien", "00"},
        // Zones that lack a marker.
        {"B", "245", "00", "$a<The $bhobbit", true, "$a$bhobbit", "00"},
        {"B", "245", "00", "$aHobbit, <the", true, "$aHobbit, ", "00"},
        {"B", "245", "00", "$aX$bThe >hobbit", true, "$aX$bhobbit", "00"},
        {"B", "245", "00", "The >hobbit", true, "Hobbit", "00"},
        {"B", "245", "00", "$a>The", true, "$aThe", "00"},  // right after the code: only the marker goes
        {"B", "245", "00", "<A> <b>Hobbit<c", true, " Hobbit", "00"},
    };
    Expect(utf8, true, cases);
    Expect(marc8, false, cases);
}

// A count is of whole characters in UTF-8 and of octets elsewhere, where a
// MARC-8 diacritic counts as one, as cataloguers count it.
TEST_F(Nonfiling, CountsCharactersInUtf8AndOctetsInMarc8) {
    std::string sIndicators = "02";
    EXPECT_EQ(utf8.RemoveNonfilingCharacters("B", "245", sIndicators, O("C3 89") + "tude", true), "Ude");
    sIndicators = "02";
    EXPECT_EQ(utf8.RemoveNonfilingCharacters("B", "245", sIndicators, "E" + O("CC 81") + "tude", true), "Tude");
    sIndicators = "02";
    EXPECT_EQ(marc8.RemoveNonfilingCharacters("B", "245", sIndicators, O("E2") + "Etude", true), "Tude");
    // A character cut short at the end of the text: never past the end.
    sIndicators = "09";
    EXPECT_EQ(utf8.RemoveNonfilingCharacters("B", "245", sIndicators, "ab" + O("E2 82"), true), "");
    sIndicators = "02";
    EXPECT_EQ(utf8.RemoveNonfilingCharacters("B", "245", sIndicators, "a" + O("F0 9F"), true), "");
}

TEST_F(Nonfiling, ZoneRemovalReportsWhatItDid) {
    struct ZoneCase {
        std::string text, expected;
        bool bRemoved;
    };
    const std::vector<ZoneCase> cases = {
        {"", "", false},
        {"The hobbit", "The hobbit", false},
        {"<The >hobbit", "Hobbit", true},
        {"$a<Le >petit$b<la >nuit", "$aPetit$bnuit", true},
        {"$aX<", "$aX", true},
    };
    for (bool bUtf8 : {true, false}) {
        Utf8MarcRecordClass& record = bUtf8 ? utf8 : marc8;
        for (const ZoneCase& k : cases) {
            std::string s = Marked(k.text, bUtf8);
            EXPECT_EQ(record.RemoveNonfilingZone(s), k.bRemoved) << k.text;
            EXPECT_EQ(s, Marked(k.expected, bUtf8)) << k.text;
        }
    }
    // The other encoding's markers are plain text.
    std::string s = O("88") + "The " + O("89") + "x";
    EXPECT_FALSE(utf8.RemoveNonfilingZone(s));
}

}  // namespace
