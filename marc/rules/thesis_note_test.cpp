// Reading dissertation notes: every status, the general and the local forms,
// dates and months, and the word tables.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "common/test_support.h"
#include "marc/record/record_test_access.h"
#include "marc/rules/thesis_note_tables.h"

namespace {

using record_test::D;

struct NoteCase {
    const char* note;  // $ stands for the delimiter
    const char* date008;
    int32_t status;
    const char* degree;
    const char* institution;
    const char* date;
    const char* misc;
};

class ThesisNote : public ::testing::Test {
protected:
    void Check(const NoteCase& c, bool bUpper = false) {
        std::string sDegree = "x", sInstitution = "x", sDate = "x", sMisc = "x";
        const int32_t status =
            record.ParseThesisNote(D(c.note), c.date008, sDegree, sInstitution, sDate, sMisc, bUpper);
        EXPECT_EQ(status, c.status) << c.note;
        EXPECT_EQ(sDegree, c.degree) << c.note;
        EXPECT_EQ(sInstitution, c.institution) << c.note;
        EXPECT_EQ(sDate, c.date) << c.note;
        EXPECT_EQ(sMisc, c.misc) << c.note;
    }
    testsupport::TempSettingsFolder folder;
    Utf8MarcRecordClass record;
};

TEST_F(ThesisNote, EveryStatusInItsOrder) {
    const NoteCase cases[] = {
        {"Thesis (Ph. D.)--Central University, 1950.", "", 1, "Ph. D.", "Central University", "1950", ""},
        {"$aThesis (Ph. D.)--Central University, 1950.", "", 1, "Ph. D.", "Central University", "1950", ""},
        // 99 comes before every other test.
        {"Thesis (Ph. D.)--Central$b University, 1950.", "", 99, "", "", "", ""},
        {"$gAbstract of thesis$d1950", "", 99, "", "", "", ""},
        {"$cCentral University", "", 99, "", "", "", ""},
        {"$gThesis (Ph. D.)--Central University, 1950.", "", -2, "", "", "", ""},
        {"$", "", -2, "", "", "", ""},
        {"$aThesis (Ph. D.)--Central University, 1950.$91", "", -3, "", "", "", ""},
        {"Abstract of thesis (Ph. D.)--Central University, 1950.", "", -4, "", "", "", ""},
        {"Thesis (Ph. D.)--Central University, 1950. ISSUED ALSO on microfiche", "", -4, "", "", "", ""},
        {"Thesis (M.A.)", "", -1, "", "", "", ""},
        {"Thesis (M.A.) Ostervale University, 1970.", "", -1, "", "", "", ""},
        {"Thesis (Ph. D.)--Central University--Dept. of History, 1985.", "", -5, "", "", "", ""},
        {"Thesis (Ph. D.)--Central University--Columbia 1985.", "", -5, "", "", "", ""},
        {"Thesis (Ph. D.)--State College--Columbia, 1985.", "", -5, "", "", "", ""},
        {"Thesis (M.A.)--", "", -6, "", "", "", ""},
        {"Thesis ()--Central University, 1950.", "", -7, "", "", "", ""},
        {"Thesis )M.A.(--Central University, 1950.", "", -7, "", "", "", ""},
        {"M.A.--Central University, 1950.", "", -7, "", "", "", ""},
        {"Thesis (M.A.--History), Central University, 1960.", "", -7, "", "", "", ""},
        {"X (M.A.)--Central University, 1950.", "", -8, "", "", "", ""},
        {"Paper (M.A.)--Central University, 1950.", "", -9, "", "", "", ""},
        {"Essay (BA)--Central University, 1950.", "", -9, "", "", "", ""},
        {"Thesis (3rd cycle)--Central University, 1950.", "", -10, "", "", "", ""},
        {"Thesis (IIIe cycle)--Central University, 1950.", "", -10, "", "", "", ""},
        {"Thesis (Ph. D.)--Central University 2nd campus.", "", -11, "", "", "", ""},
        {"Thesis (Ph. D.)--Central University.", "19uu", -12, "", "", "", ""},
        {"Thesis (Ph. D.)--Central University.", "", -12, "", "", "", ""},
        {"Thesis (M.A.)--Central University, 19890 1990.", "", -12, "", "", "", ""},
        {"Thesis (M.A.)--Central University, June 199O.", "", -12, "", "", "", ""},
        // The miscellaneous text is already set when a later step fails.
        {"Essay (BA, History)--Ostervale University, 19uu.", "", -12, "", "", "", "History"},
    };
    for (const NoteCase& c : cases) Check(c);
}

TEST_F(ThesisNote, GeneralFormsSeparatorsAndBrackets) {
    const NoteCase cases[] = {
        {"Thesis (M.A.)--Central University [1985]", "", 1, "M.A.", "Central University", "1985", ""},
        {"Thesis (M.A.)--Central University, [1985?]", "", 1, "M.A.", "Central University", "1985?", ""},
        // A bracket that holds letters is only blanked out.
        {"Thesis (M.A.)--Central University [Dept. of History], 1985.", "", 1, "M.A.",
         "Central University Dept. of History", "1985", ""},
        {"Thesis (Ph. D.)--University of Missouri--Columbia, 1985.", "", 1, "Ph. D.",
         "University of Missouri--Columbia", "1985", ""},
        {"Thesis (M.A.)---Central University, 1950,", "", 1, "M.A.", "Central University", "1950", ""},
        {"Thesis (M.A.) - Central University, 1970.", "", 1, "M.A.", "Central University", "1970", ""},
        {"Inaugural-Dissertation (Dr. phil.)--Universitat Bonn, 1931.", "", 1, "Dr. phil.", "Universitat Bonn",
         "1931", ""},
        // Degree text between the parentheses stays as written, also its blanks.
        {"Thesis ( M.S. )--Central University, 1950.", "", 1, " M.S. ", "Central University", "1950", ""},
        // Outside the local forms, "(M.S., Journalism)" is one degree.
        {"Thesis (M.S., Journalism)--Central University, 1990.", "", 1, "M.S., Journalism", "Central University",
         "1990", ""},
        {"Thesis (Ph. D.)--Central University 1990.", "", 1, "Ph. D.", "Central University", "1990", ""},
        {"Thesis (Ph. D.)--Central University.", "1987", 1, "Ph. D.", "Central University", "1987", ""},
        // A date without digits: the whole part is the institution.
        {"Thesis (M.A.)--Central University, Dept. of History.", "1977", 1, "M.A.",
         "Central University, Dept. of History.", "1977", ""},
        {"Thesis (M.A.)--Central University, 1989 1990.", "", 1, "M.A.", "Central University", "1989 1990", ""},
        {"Thesis (M.A.)--Central University, 1990..", "", 1, "M.A.", "Central University", "1990", ""},
    };
    for (const NoteCase& c : cases) Check(c);
}

TEST_F(ThesisNote, MonthsDaysAndSeasons) {
    const NoteCase cases[] = {
        {"Thesis (M.S.)--Central University, June 15, 1990.", "", 1, "M.S.", "Central University", "June 15, 1990",
         ""},
        {"Thesis (M.S.)--Central University, Sept. 1990.", "", 1, "M.S.", "Central University", "September 1990",
         ""},
        {"Thesis (M.S.)--Central University; Jl 4, 1990.", "", 1, "M.S.", "Central University", "July 4, 1990", ""},
        {"Thesis (M.S.)--Central University, Spring 1990.", "", 1, "M.S.", "Central University", "Spring 1990", ""},
        {"Thesis (M.S.)--Central University: spring 12, 1990.", "", 1, "M.S.", "Central University",
         "Spring 12, 1990", ""},
        // A season other than spring does not follow a day.
        {"Thesis (M.S.)--Central University, Summer 15, 1990.", "", 1, "M.S.", "Central University, Summer 15",
         "1990", ""},
        {"Thesis (M.S.)--Central University, Fall, 1990.", "", 1, "M.S.", "Central University", "Fall 1990", ""},
        // Days are read from leading digits only: "1D2" is day 1, "&H1" no day.
        {"Thesis (M.S.)--Central University, June 1D2, 1990.", "", 1, "M.S.", "Central University",
         "June 1D2, 1990", ""},
        {"Thesis (M.S.)--Central University, June &H1, 1990.", "", 1, "M.S.", "Central University, June &H1",
         "1990", ""},
        {"Thesis (M.S.)--Central University, June 32, 1990.", "", 1, "M.S.", "Central University, June 32", "1990",
         ""},
    };
    for (const NoteCase& c : cases) Check(c);
}

TEST_F(ThesisNote, LocalForms) {
    const NoteCase cases[] = {
        {"Essay (BA, History)--Ostervale University, 1960.", "", 1, "B.A.", "Ostervale University", "1960",
         "History"},
        {"Prize essay(BA, History)--Ostervale University, 1960.", "", 1, "B.A.", "Ostervale University", "1960",
         "History"},
        {"Prize essay (BA, History)--Ostervale University, 1960.", "", -9, "", "", "", ""},
        {"Prize essay(BL - - history)--Ostervale University, 1960.", "", 1, "B.L.", "Ostervale University", "1960",
         "History"},
        {"Essay (BL)--Ostervale University, 1960.", "", 1, "BL", "Ostervale University", "1960", ""},
        {"Fellowship essay (PhD - Chemistry)--Ostervale University, 1960.", "", 1, "Ph.D.", "Ostervale University",
         "1960", "Chemistry"},
        {"Thesis (M.S., Journalism)--Ostervale University, 1990.", "", 1, "M.S.", "Ostervale University", "1990",
         "Journalism"},
        {"Project (M.A., Urban planning)--Ostervale University, 1975.", "", 1, "M.A.", "Ostervale University",
         "1975", "Urban planning"},
        {"Project(M.A.)--Ostervale University, 1975.", "", -9, "", "", "", ""},
        {"Research project (M A - - Education)--Ostervale University, 1980.", "", 1, "M A", "Ostervale University",
         "1980", "Education"},
        {"Res. proj. (Masters - Education)--Ostervale University, 1980.", "", -9, "", "", "", ""},
        {"Res. proj. D. Mus. (Organ)--Ostervale University, 1990.", "", 1, "D. Mus.", "Ostervale University",
         "1990", ""},
        {"M.A. (History)--Ostervale University, 1970.", "", 1, "M.A.", "Ostervale University", "1970", "History"},
        {"M.A.--Ostervale University, 1970.", "", 1, "M.A.", "Ostervale University", "1970", ""},
        {"Thesis (M.A.), Ostervale University, 1970.", "", 1, "M.A.", "Ostervale University", "1970", ""},
        {"Thesis (M.A.) - Ostervale University, 1970.", "", 1, "M.A.", "Ostervale University", "1970", ""},
        {"Thesis (M.A.)- Ostervale University, 1970.", "", 1, "M.A.", "Ostervale University", "1970", ""},
        {"THESIS (MBA), OSTERVALE UNIVERSITY, 1985.", "", 1, "MBA", "OSTERVALE UNIVERSITY", "1985", ""},
        // "--" inside the parentheses: the note is split again before the institution.
        {"Thesis (M.A.--History), Ostervale University, 1960.", "", 1, "M.A.--History", "Ostervale University",
         "1960", ""},
        {"Thesis (M.A.--History), Ostervale University, Dept. of Music.", "1961", 1, "M.A.--History",
         "Ostervale University, Dept. of Music.", "1961", ""},
    };
    for (const NoteCase& c : cases) Check(c);
}

TEST_F(ThesisNote, DegreeUpperCasedOnRequest) {
    Check({"Thesis (ph. d.)--Central University, 1950.", "", 1, "Ph. d.", "Central University", "1950", ""}, true);
    Check({"Thesis (ph. d.)--Central University, 1950.", "", 1, "ph. d.", "Central University", "1950", ""}, false);
}

TEST_F(ThesisNote, DegreeAbbreviationsAndNonThesisPhrases) {
    const std::pair<const char*, bool> abbreviations[] = {
        {"PH D", true}, {"M MUSIC", true}, {"D MUS", true}, {"M A", true},  {"D M A", true}, {"B", true},
        {"", false},    {"MA", false},     {"M A ", false}, {"m a", false}, {"M1A", false},  {"1 A", false},
    };
    for (const auto& [word, expected] : abbreviations)
        EXPECT_EQ(RecordTestAccess::IsDegreeAbbreviation(record, word), expected) << word;
    EXPECT_TRUE(RecordTestAccess::ContainsNonThesisPhrase(record, "A translation OF the author's work"));
    EXPECT_TRUE(RecordTestAccess::ContainsNonThesisPhrase(record, "Thesis (Ph. D.) -- PRAESES: A. Smith"));
    EXPECT_FALSE(RecordTestAccess::ContainsNonThesisPhrase(record, "Thesis (Ph. D.)--Central University, 1950."));
}

TEST(ThesisNoteTables, CountsAndNoDuplicates) {
    using namespace thesis_note;
    const auto distinct = [](const auto& words) {
        std::set<std::string_view> seen;
        for (std::string_view w : words)
            if (!w.empty()) seen.insert(w);
        return seen.size();
    };
    EXPECT_EQ(distinct(ThesisWords), 18u);
    EXPECT_EQ(distinct(NonThesisPhrases), 14u);
    EXPECT_EQ(distinct(FixedDegreeForms), 5u);
    EXPECT_EQ(distinct(Campuses), 4u);
    EXPECT_EQ(distinct(DateWords), 29u);

    std::set<std::string_view> localWords;
    std::set<LocalRule> rules;
    for (const LocalWord& w : LocalWords) {
        localWords.insert(w.Word);
        rules.insert(w.Rule);
    }
    EXPECT_EQ(localWords.size(), 9u);
    EXPECT_EQ(rules.size(), static_cast<size_t>(LocalRuleCount));
    EXPECT_EQ(EssayDegrees.size() * EssayForms.size(), 18u);

    std::set<std::string_view> monthWords, monthNames;
    for (const MonthName& month : MonthNames) {
        monthNames.insert(month.Name);
        for (std::string_view w : month.Words)
            if (!w.empty()) monthWords.insert(w);
    }
    EXPECT_EQ(monthNames.size(), 17u);
    EXPECT_EQ(monthWords.size(), 32u);
}

}  // namespace
