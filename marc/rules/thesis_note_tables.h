#pragma once
// The word lists and forms that the reading of dissertation notes works
// with, one table per concept. Words are in comparison form (capitals, no
// punctuation) unless a table says otherwise.

#include <array>
#include <cstdint>
#include <string_view>

namespace thesis_note {

// The local institution; notes that name it followed by " Univ" may use its
// own forms.
inline constexpr std::string_view LocalInstitutionName = "Ostervale";

// Words before the degree's parenthesis that every note may use.
inline constexpr std::array<std::string_view, 18> ThesisWords = {
    "THESIS",           "DISSERTATION",     "INAUGURAL DISSERTATION",
    "DOCTORAL PROJECT", "DISS",             "THESE",
    "THE AUTHORS THESIS", "TESIS",          "PROEFSKRIFT",
    "THESE COMPLEMENTAIRE", "THESISE",      "THESE DE DOCTORAT DETAT",
    "INAUG DISS",       "PROEFSCHRIFT",     "HONORS THESIS",
    "SENIOR THESIS",    "THE TRANSLATORS THESIS", "THE EDITORS THESIS",
};

// How a word that only local notes may use is read.
enum class LocalRule : uint8_t {
    Project,          // "Project (degree, miscellaneous)"
    ResearchProject,  // "Research project (degree - miscellaneous)"
    FellowshipEssay,  // essays: the degree regularised, miscellaneous after "-" or ","
    PrizeEssay,
    Essay,
    MusicProject,  // always the degree "D. Mus."
};

struct LocalWord {
    std::string_view Word;
    LocalRule Rule;
};

inline constexpr std::array<LocalWord, 9> LocalWords = {{
    {"PROJECT", LocalRule::Project},
    {"RES PROJ", LocalRule::ResearchProject},
    {"RESEARCH PROJECT", LocalRule::ResearchProject},
    {"FELLOWSHIP ESSAY", LocalRule::FellowshipEssay},
    {"PRIZE ESSAY", LocalRule::PrizeEssay},
    {"ESSAY", LocalRule::Essay},
    {"RES PROJ D MUS", LocalRule::MusicProject},
    {"RES PROJ D MUSIC", LocalRule::MusicProject},
    {"RES PROJ D", LocalRule::MusicProject},
}};
inline constexpr int LocalRuleCount = 6;

// The three essay forms: where the degree's parenthesis must stand (1-based,
// in the degree part as written) and the column of the regularisation table.
struct EssayForm {
    LocalRule Rule;
    int32_t ParenthesisPosition;
};
inline constexpr std::array<EssayForm, 3> EssayForms = {{
    {LocalRule::FellowshipEssay, 18},
    {LocalRule::PrizeEssay, 12},
    {LocalRule::Essay, 7},
}};

// Degrees of essays as written, and the form each becomes in the essay forms
// that regularise it (in the order of EssayForms).
struct EssayDegree {
    std::string_view Written;
    std::string_view Becomes;
    std::array<bool, 3> InForm;
};
inline constexpr std::array<EssayDegree, 6> EssayDegrees = {{
    {"BA", "B.A.", {true, true, true}},
    {"BL", "B.L.", {false, true, false}},
    {"BS", "B.S.", {true, true, true}},
    {"MA", "M.A.", {true, true, true}},
    {"PhB", "Ph.B.", {true, true, true}},
    {"PhD", "Ph.D.", {true, true, true}},
}};

// Phrases, in any case, that mark a 502 as something else than a plain
// thesis note.
inline constexpr std::array<std::string_view, 14> NonThesisPhrases = {
    "abstract of",   "based on",       "issued also",     "originally",  "praeses",
    "respondent",    "revision of",    "submitted to",    "thesis statement",
    "translation of", "the author's",  "under the title", "under title", "with title",
};

// Degree abbreviations beyond the spaced capitals ("M A", "D M A").
inline constexpr std::array<std::string_view, 5> FixedDegreeForms = {"PH D", "M MUSIC", "D MUSIC", "ED D", "D MUS"};

// Campuses whose name after a second "--" is part of the institution.
inline constexpr std::array<std::string_view, 4> Campuses = {"COLUMBIA", "LINCOLN", "MADISON", "ROLLA"};

// Words that may stand before the year of a date.
inline constexpr std::array<std::string_view, 29> DateWords = {
    "JANUARY", "JAN",  "FEBRUARY", "FEB",    "MARCH", "MAR",      "APRIL", "APR",     "MAY",    "JUNE",
    "JE",      "JULY", "JY",       "AUGUST", "AUG",   "SEPTEMBER", "SEPT", "SEP",     "OCTOBER", "OCT",
    "NOVEMBER", "NOV", "DECEMBER", "DEC",    "SPRING", "SUMMER",  "FALL",  "AUTUMN", "WINTER",
};

// Month and season names with the words that stand for them. A season other
// than spring does not follow a day.
struct MonthName {
    std::string_view Name;
    std::array<std::string_view, 3> Words;  // unused entries empty
    bool AfterDay;
};
inline constexpr std::array<MonthName, 17> MonthNames = {{
    {"January", {"JAN", "JANUARY", ""}, true},
    {"February", {"FEB", "FEBRUARY", ""}, true},
    {"March", {"MAR", "MARCH", ""}, true},
    {"April", {"APR", "APRIL", ""}, true},
    {"May", {"MY", "MAY", ""}, true},
    {"June", {"JN", "JUN", "JUNE"}, true},
    {"July", {"JL", "JUL", "JULY"}, true},
    {"August", {"AUG", "AUGUST", ""}, true},
    {"September", {"SEP", "SEPT", "SEPTEMBER"}, true},
    {"October", {"OCT", "OCTOBER", ""}, true},
    {"November", {"NOV", "NOVEMBER", ""}, true},
    {"December", {"DEC", "DECEMBER", ""}, true},
    {"Spring", {"SPRING", "", ""}, true},
    {"Summer", {"SUMMER", "", ""}, false},
    {"Fall", {"FALL", "", ""}, false},
    {"Autumn", {"AUTUMN", "", ""}, false},
    {"Winter", {"WINTER", "", ""}, false},
}};

// Characters of the tests on dates.
inline constexpr std::string_view BracketDateCharacters = "0123456789?]u.,";
inline constexpr std::string_view YearLeadDigits = "12";
inline constexpr std::string_view Digits = "0123456789";
inline constexpr std::string_view BlankAndDigits = " 0123456789";
inline constexpr std::string_view YearFences = ". ";
inline constexpr std::string_view CapitalLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Look-ups in the tables above; the name of a month word, "" for none.
bool IsThesisWord(std::string_view sWord);
const LocalWord* FindLocalWord(std::string_view sWord);
bool IsCampus(std::string_view sWord);
bool IsDateWord(std::string_view sWord);
std::string_view MonthNameOf(std::string_view sWord, bool bDayKept);

}  // namespace thesis_note
