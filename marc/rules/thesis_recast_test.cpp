// The recast of 502 notes on output, on records loaded from ISO 2709 text;
// the stored option; the RDA record test.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "marc/record/iso2709_test_support.h"
#include "marc/record/marc_file.h"
#include "marc/record/record_test_access.h"

namespace {

using record_test::D;
using record_test::Iso2709;
using record_test::TaggedField;

const std::string kBibLeader = "00000nam a2200000 a 4500";
const std::string kAuthLeader = "00000nz  a2200000n  4500";

// A bibliographic 008 whose positions 07-10 hold the date.
std::string Bib008(const std::string& sDate) {
    std::string s = "850101s" + sDate;
    s.resize(40, ' ');
    return s;
}

class ThesisRecast : public ::testing::Test {
protected:
    // The record loaded from its fields; the load must succeed.
    void Load(const std::vector<TaggedField>& fields, const std::string& sLeader = kBibLeader) {
        record.MarcRecordIn(Iso2709(sLeader, fields));
        ASSERT_FALSE(record.MarcRecordIn().empty()) << record.IsMarcErrorText();
    }
    const Utf8MarcRecordState& St() { return RecordTestAccess::State(record); }
    // The Changed flag of each field, in list order.
    std::string ChangedFlags() {
        std::string s;
        for (int16_t i = St().FldFirst; i >= 0; i = St().Fields[static_cast<size_t>(i)].NextField)
            s += St().Fields[static_cast<size_t>(i)].Changed ? '1' : '0';
        return s;
    }
    testsupport::TempSettingsFolder folder;
    Utf8MarcRecordClass record;
};

TEST_F(ThesisRecast, OutputRecastsEveryParsable502) {
    struct Case {
        const char* date008;
        const char* field502;  // indicators and text
        const char* expected;  // the 502 as written
    };
    const Case cases[] = {
        {"1950", "1 $aThesis (Ph. D.)--Central University, 1950.", "1 $bPh. D.$cCentral University$d1950"},
        {"1960", "  $aEssay (BA, History)--Ostervale University, 1960.",
         "  $bB.A.$gHistory$cOstervale University$d1960"},
        {"1987", "  $aThesis (Ph. D.)--Central University.", "  $bPh. D.$cCentral University$d1987"},
        // Left alone: no year in 008/07-10, fields already in subfields, notes
        // the parser rejects.
        {"19uu", "  $aThesis (Ph. D.)--Central University.", "  $aThesis (Ph. D.)--Central University."},
        {"1950", "  $bPh. D.$cCentral University$d1950", "  $bPh. D.$cCentral University$d1950"},
        {"1950", "  $aAbstract of thesis (Ph. D.)--Central University, 1950.",
         "  $aAbstract of thesis (Ph. D.)--Central University, 1950."},
        {"1950", "  $aThesis (M.A.)", "  $aThesis (M.A.)"},
        // Months written out where the note's short word stands as a month.
        {"1990", "  $aThesis (M.S.)--Central University, June 15, 1990.",
         "  $bM.S.$cCentral University$dJune 15, 1990"},
        {"1990", "  $aThesis (M.S.)--Central University, Sept. 1990.", "  $bM.S.$cCentral University$dSeptember 1990"},
        {"1990", "  $aThesis (M.S.)--Central University, Sept. 15, 1990.",
         "  $bM.S.$cCentral University$dSeptember 15, 1990"},
        {"1990", "  $aThesis (MBA), Ostervale University, 1990.", "  $bMBA$cOstervale University$d1990"},
        // Left as they stand: words the parts would lose or make up.
        {"1950", "  $aThesis (Ph. D.) in Chemistry--Central University, 1950.",
         "  $aThesis (Ph. D.) in Chemistry--Central University, 1950."},
        {"1950", "  $aThesis (Ph. D.) (Abridged)--Central University, 1950.",
         "  $aThesis (Ph. D.) (Abridged)--Central University, 1950."},
        {"1950", "  $aThesis (Ph. D.) [abridged]--Central University, 1950.",
         "  $aThesis (Ph. D.) [abridged]--Central University, 1950."},
        {"1950", "  $aThesis (Ph. D.)/abstract--Central University, 1950.",
         "  $aThesis (Ph. D.)/abstract--Central University, 1950."},
        {"1990", "  $aRes. proj. D. Mus. (Composition)--Ostervale University, 1990.",
         "  $aRes. proj. D. Mus. (Composition)--Ostervale University, 1990."},
        {"2005", "  $aThesis (M.A.)--Universidad del Mar, 2005.", "  $aThesis (M.A.)--Universidad del Mar, 2005."},
        {"1990", "  $aThesis (B.A.)--College of St. Jan, 1990.", "  $aThesis (B.A.)--College of St. Jan, 1990."},
    };
    for (const Case& c : cases) {
        const std::vector<TaggedField> fields = {
            {"001", "t1"}, {"008", Bib008(c.date008)}, {"245", D("10$aA thesis.")}, {"502", D(c.field502)}};
        Load(fields);
        const bool bRecast = std::string(c.field502) != c.expected;
        std::vector<TaggedField> expected = fields;
        expected[3].second = D(c.expected);
        EXPECT_EQ(record.MarcRecordOut(), Iso2709(kBibLeader, expected)) << c.field502;
        // The recast stays in memory, marked as a changed field.
        EXPECT_EQ(ChangedFlags(), bRecast ? "0001" : "0000") << c.field502;
        record.FldFindFirst("502", "");
        EXPECT_EQ(record.FldText(), D(c.expected).substr(2)) << c.field502;
        EXPECT_EQ(record.FldInd(), std::string(c.expected).substr(0, 2)) << c.field502;
    }
}

// What callers read of the parse keeps its values where output leaves the
// note as it stands.
TEST_F(ThesisRecast, ParseResultsStayWhereOutputKeepsTheNote) {
    std::string sDegree, sInstitution, sDate, sMiscellaneous;
    EXPECT_EQ(record.ParseThesisNote("Thesis (M.A.)--Universidad del Mar, 2005.", "2005", sDegree, sInstitution, sDate,
                                     sMiscellaneous, false),
              1);
    EXPECT_EQ(sInstitution, "Universidad del");
    EXPECT_EQ(sDate, "March 2005");
    EXPECT_EQ(record.ParseThesisNote("Thesis (Ph. D.) in Chemistry--Central University, 1950.", "", sDegree,
                                     sInstitution, sDate, sMiscellaneous, false),
              1);
    EXPECT_EQ(sDegree, "Ph. D.");
}

// Every 502 of the sample records is written as it stood, or recast with
// every word of its note in the parts and every word of the parts from the
// note (months may be written out, the thesis word left out).
TEST_F(ThesisRecast, SampleRecordsKeepOrAccountForTheirNotes) {
    const auto words = [this](const std::string& s) {
        std::multiset<std::string> out;
        std::string w;
        for (char c : record.NormString(s, true, "V") + " ") {
            if (c != ' ') {
                w += c;
            } else if (!w.empty()) {
                out.insert(w);
                w.clear();
            }
        }
        return out;
    };
    const std::set<std::string> months = {"JANUARY", "FEBRUARY", "MARCH",     "APRIL",   "MAY",      "JUNE",
                                          "JULY",    "AUGUST",   "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};
    int32_t iNotes = 0;
    for (const char* path : {"/testdata/records/bib-utf8.mrc", "/testdata/records/bib-marc8.mrc",
                             "/testdata/records/auth-utf8.mrc", "/testdata/records/auth-marc8.mrc",
                             "/testdata/records/microlif.mrc", "/testdata/iso2709/utf8_records.mrc"}) {
        Utf8MarcFileClass reader;
        reader.OpenFile(std::string(EXITDESK_SOURCE_DIR) + path);
        std::string sRecord;
        while (reader.ReadNextRecord(sRecord)) {
            record.MarcRecordIn(sRecord);
            if (record.MarcRecordIn().empty()) continue;
            std::vector<std::string> before;
            for (bool b = record.FldFindFirst("502", ""); b; b = record.FldFindNext("502", ""))
                before.push_back(record.FldText());
            record.MarcRecordOut();
            size_t i = 0;
            for (bool b = record.FldFindFirst("502", ""); b; b = record.FldFindNext("502", ""), ++i) {
                ++iNotes;
                ASSERT_LT(i, before.size());
                const std::string sAfter = record.FldText();
                if (sAfter == before[i]) continue;
                std::multiset<std::string> note = words(before[i].substr(2)), parts = words(sAfter);
                for (const std::string& w : parts) {
                    const auto it = note.find(w);
                    EXPECT_TRUE(it != note.end() || months.count(w)) << path << ": " << w << " in " << sAfter;
                    if (it != note.end()) note.erase(it);
                }
                for (const std::string& w : note)
                    EXPECT_TRUE(w == "THESIS" || w == "DISSERTATION" || w == "DISS") << path << ": " << w;
            }
        }
    }
    EXPECT_GT(iNotes, 0);
}

TEST_F(ThesisRecast, EveryLive502OfTheRecordAndNoDeletedOne) {
    Load({{"008", Bib008("1970")},
          {"502", D("  $aThesis (M.A.)--Central University, 1970.")},
          {"502", D("  $aThesis (M.S.)--Central University, 1971.")},
          {"502", D("  $aThesis (Ph. D.)--Central University, 1975.")}});
    record.FldFindFirst("502", "");
    record.FldFindNext("502", "");
    record.FldDelete();
    record.MarcRecordOut();
    const auto text = [this](int16_t i) {
        record.FldPointer(i);
        return record.FldText();
    };
    EXPECT_EQ(text(1), D("$bM.A.$cCentral University$d1970"));
    EXPECT_EQ(text(2), D("$aThesis (M.S.)--Central University, 1971."));
    EXPECT_EQ(text(3), D("$bPh. D.$cCentral University$d1975"));
}

TEST_F(ThesisRecast, CallersOutputRecastsWhateverTheOptionAndKeepsTheCursor) {
    for (const bool bOption : {true, false}) {
        record.RdaReCast502Fields(bOption);
        Load({{"008", Bib008("1950")},
              {"245", D("10$aA thesis :$bon notes.")},
              {"502", D("  $aThesis (Ph. D.)--Central University, 1950.")}});
        ASSERT_TRUE(record.FldFindFirst("245", ""));
        ASSERT_TRUE(record.SfdFindFirst("b", ""));
        const int16_t iFld = record.FldPointer(), iSfd = record.SfdPointer();
        // The recast alone puts back the field and the subfield cursor ...
        RecordTestAccess::ReCastAll502Fields(record);
        EXPECT_EQ(record.FldPointer(), iFld);
        EXPECT_EQ(record.SfdPointer(), iSfd);
        EXPECT_TRUE(record.FldWasFound());
        EXPECT_TRUE(record.SfdWasFound());
        EXPECT_EQ(record.SfdText(), "on notes.");
        // ... and the output, which recasts first, the field cursor.
        Load({{"008", Bib008("1950")},
              {"245", D("10$aA thesis :$bon notes.")},
              {"502", D("  $aThesis (Ph. D.)--Central University, 1950.")}});
        ASSERT_TRUE(record.FldFindFirst("245", ""));
        const std::string sOut = record.MarcRecordOut();
        EXPECT_NE(sOut.find(D("$bPh. D.$cCentral University$d1950")), std::string::npos) << bOption;
        EXPECT_EQ(record.FldPointer(), iFld);
        EXPECT_TRUE(record.FldWasFound());
        EXPECT_EQ(record.FldTag(), "245");
        // No current field stays no current field.
        Load({{"008", Bib008("1950")}, {"502", D("  $aThesis (Ph. D.)--Central University, 1950.")}});
        record.FldPointer(-1);
        record.MarcRecordOut();
        EXPECT_EQ(record.FldPointer(), -1);
        EXPECT_FALSE(record.FldWasFound());
    }
}

TEST_F(ThesisRecast, ASetOfTheOutputSetLeavesThe502sAsTheyWere) {
    const std::string sNote = D("$aThesis (Ph. D.)--Central University, 1950.");
    Load({{"008", Bib008("1950")}, {"502", "  " + sNote}});
    record.CharacterSetOut(record.CharacterSetOut());
    EXPECT_EQ(ChangedFlags(), "00");
    record.FldFindFirst("502", "");
    EXPECT_EQ(record.FldText(), sNote);
}

TEST(ThesisRecastOption, WrittenAtOnceAndReadByTheNextObject) {
    testsupport::TempSettingsFolder folder;
    {
        Utf8MarcRecordClass record;
        EXPECT_FALSE(record.RdaReCast502Fields());
        record.RdaReCast502Fields(true);
        EXPECT_TRUE(record.RdaReCast502Fields());
    }
    const std::string sFile = testsupport::ReadFile(folder.File("MarcRecordClass.INI"));
    EXPECT_NE(sFile.find("[Booleans]"), std::string::npos) << sFile;
    EXPECT_NE(sFile.find("RdaReCast502fields=True"), std::string::npos) << sFile;
    {
        Utf8MarcRecordClass record;
        EXPECT_TRUE(record.RdaReCast502Fields());
        record.RdaReCast502Fields(false);
    }
    Utf8MarcRecordClass record;
    EXPECT_FALSE(record.RdaReCast502Fields());
}

TEST_F(ThesisRecast, RdaRecordReadsThe040AndLeavesTheCursor) {
    std::string s008Auth(40, ' ');
    std::string s008AuthZ = s008Auth;
    s008AuthZ[10] = 'z';
    struct Case {
        std::string leader;
        std::string s008;
        const char* field040;  // "" for none
        bool rda;
    };
    const Case cases[] = {
        {kBibLeader, Bib008("1990"), "  $aDLC$beng$erda$cDLC", true},
        {kBibLeader, Bib008("1990"), "  $erda$aDLC", true},
        {kBibLeader, Bib008("1990"), "  $aDLC$epn$eRDA.", true},
        {kBibLeader, Bib008("1990"), "  $aDLC$epn", false},
        {kBibLeader, Bib008("1990"), "  $aDLC$cDLC", false},
        {kBibLeader, Bib008("1990"), "", false},
        {kAuthLeader, s008AuthZ, "  $aDLC$beng$erda", true},
        {kAuthLeader, s008Auth, "  $aDLC$beng$erda", false},
    };
    for (const Case& c : cases) {
        std::vector<TaggedField> fields = {{"008", c.s008}, {"100", D("1 $aSmith, John.")}};
        if (*c.field040) fields.push_back({"040", D(c.field040)});
        Load(fields, c.leader);
        record.FldFindFirst("100", "");
        const int16_t iFld = record.FldPointer(), iSfd = record.SfdPointer();
        EXPECT_EQ(record.RdaRecord(), c.rda) << c.leader << " " << c.field040;
        EXPECT_EQ(record.FldPointer(), iFld);
        EXPECT_EQ(record.SfdPointer(), iSfd);
    }
}

}  // namespace
