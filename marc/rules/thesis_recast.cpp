// Dissertation notes (502) rewritten in subfields $b degree, $g other
// information, $c institution and $d date before every output; the record
// test for description under RDA; the stored option of the recast.
#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/ini.h"
#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "marc/rules/thesis_note_tables.h"

namespace {

constexpr const char* kSettingsFile = "MarcRecordClass.INI";
constexpr const char* kBooleans = "Booleans";
constexpr const char* kRecastKey = "RdaReCast502fields";

// Words that name the kind of work before the degree's parenthesis, which a
// recast may leave out as it leaves out "Thesis".
constexpr std::string_view kLocalKindWords[] = {"PROJECT", "RES PROJ", "RESEARCH PROJECT",
                                                "FELLOWSHIP ESSAY", "PRIZE ESSAY", "ESSAY"};

std::vector<std::string> WordsOf(const std::string& sForm) {
    std::vector<std::string> words;
    size_t at = 0;
    while (at < sForm.size()) {
        const size_t blank = std::min(sForm.find(' ', at), sForm.size());
        if (blank > at) words.push_back(sForm.substr(at, blank - at));
        at = blank + 1;
    }
    return words;
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A month's short word stands in the note as a month: a word of its own
// followed by a full stop ("Sept.") or by a blank and a digit ("Sept 1990"),
// not the end of a name ("Universidad del Mar, 2005").
bool StandsAsMonth(const std::string& sNote, std::string_view sWord) {
    const std::string sUpper = rt::UCase(sNote);
    for (size_t at = sUpper.find(sWord); at != std::string::npos; at = sUpper.find(sWord, at + 1)) {
        const size_t after = at + sWord.size();
        if (at > 0 && IsLetter(sUpper[at - 1])) continue;
        if (after < sUpper.size() && sUpper[after] == '.') return true;
        if (after + 1 < sUpper.size() && sUpper[after] == ' ' && rt::IsAsciiDigit(sUpper[after + 1])) return true;
    }
    return false;
}

}  // namespace

bool Utf8MarcRecordClass::RdaReCast502Fields() const { return m.RdaReCast502Fields; }

void Utf8MarcRecordClass::RdaReCast502Fields(bool vNewValue) {
    m.RdaReCast502Fields = vNewValue;
    INI::WriteIniValue(kSettingsFile, kBooleans, kRecastKey, vNewValue ? "True" : "False", 0);
}

// A recast must account for the note: every word of it (in comparison form)
// but the word that names the thesis stands in the degree, the other
// information, the institution or the date, and every word of those comes
// from the note. The degree may be a regularised form of the degree as
// written ("BA" as "B.A."), a month may be written out from its short word
// where that stands as a month, and a date taken from 008 comes from the record.
bool Utf8MarcRecordClass::ThesisRecastAccountsForNote(const std::string& sNote, const std::string& sDateFrom008,
                                                      const std::string& sDegree, const std::string& sMiscellaneous,
                                                      const std::string& sInstitution, const std::string& sDate) {
    const auto norm = [this](const std::string& s) { return NormString(s, true, "V"); };
    std::string sText = sNote;
    const std::string sDelimiter = MarcDelimiter();
    if (sText.compare(0, sDelimiter.size() + 1, sDelimiter + "a") == 0) sText.erase(0, sDelimiter.size() + 1);
    std::vector<std::string> noteWords = WordsOf(norm(sText));

    // The kind of work at the start: the longest listed form.
    size_t iKindWords = 0;
    auto tryKind = [&](std::string_view sKind) {
        const std::vector<std::string> kind = WordsOf(std::string(sKind));
        if (kind.size() > iKindWords && kind.size() <= noteWords.size() &&
            std::equal(kind.begin(), kind.end(), noteWords.begin()))
            iKindWords = kind.size();
    };
    for (std::string_view sKind : thesis_note::ThesisWords) tryKind(sKind);
    for (std::string_view sKind : kLocalKindWords) tryKind(sKind);

    std::map<std::string, int> left;
    for (size_t i = iKindWords; i < noteWords.size(); ++i) ++left[noteWords[i]];
    auto take = [&](const std::string& w) {
        const auto it = left.find(w);
        if (it == left.end() || it->second == 0) return false;
        --it->second;
        return true;
    };
    auto takeAll = [&](const std::vector<std::string>& words) {
        const std::map<std::string, int> saved = left;
        for (const std::string& w : words)
            if (!take(w)) {
                left = saved;
                return false;
            }
        return true;
    };

    // The degree: its words, or its letters run together as one word of the note.
    const std::vector<std::string> degreeWords = WordsOf(norm(sDegree));
    if (!takeAll(degreeWords)) {
        std::string sJoined;
        for (const std::string& w : degreeWords) sJoined += w;
        if (sJoined.empty() || !take(sJoined)) return false;
    }
    for (const std::string* sPart : {&sMiscellaneous, &sInstitution}) {
        if (!takeAll(WordsOf(norm(*sPart)))) return false;
    }
    const bool bDateFrom008 = sDate == sDateFrom008;
    for (const std::string& w : WordsOf(norm(sDate))) {
        if (take(w)) continue;
        if (bDateFrom008) continue;
        bool bMonth = false;
        for (const thesis_note::MonthName& month : thesis_note::MonthNames) {
            if (norm(std::string(month.Name)) != w) continue;
            for (std::string_view sShort : month.Words)
                if (!bMonth && !sShort.empty() && StandsAsMonth(sText, sShort) && take(std::string(sShort))) bMonth = true;
        }
        if (!bMonth) return false;
    }
    return std::all_of(left.begin(), left.end(), [](const auto& entry) { return entry.second == 0; });
}

void Utf8MarcRecordClass::ReCast502Field() {
    std::string sDegree, sInstitution, sDate, sMiscellaneous;
    const std::string sNote = FldText();
    const std::string sDateFrom008 = Get008Value(7, 4);
    if (ParseThesisNote(sNote, sDateFrom008, sDegree, sInstitution, sDate, sMiscellaneous, false) != 1) return;
    // A note the parts do not account for is written as it stands.
    if (!ThesisRecastAccountsForNote(sNote, sDateFrom008, sDegree, sMiscellaneous, sInstitution, sDate)) return;
    const std::string sDelimiter = MarcDelimiter();
    std::string sText;
    for (const auto& [code, value] : {std::pair<const char*, const std::string*>{"b", &sDegree},
                                      {"g", &sMiscellaneous},
                                      {"c", &sInstitution},
                                      {"d", &sDate}})
        if (!value->empty()) sText += sDelimiter + code + *value;
    FldText(sText);
}

void Utf8MarcRecordClass::ReCastAll502Fields() {
    if (m.FldCount < 1 || m.FldFirst < 0) return;

    // The cursor as it stands, put back on every way out once a field was
    // recast (until then nothing has moved it).
    struct CursorGuard {
        Utf8MarcRecordClass& record;
        int16_t FldPointer, SfdPointer;
        bool FldWasFound, SfdWasFound, FldAtTop, FldAtBottom, SfdAtTop, SfdAtBottom;
        bool moved = false;
        explicit CursorGuard(Utf8MarcRecordClass& r)
            : record(r), FldPointer(r.m.FldPointer), SfdPointer(r.m.SfdPointer), FldWasFound(r.m.FldWasFound),
              SfdWasFound(r.m.SfdWasFound), FldAtTop(r.m.FldAtTop), FldAtBottom(r.m.FldAtBottom),
              SfdAtTop(r.m.SfdAtTop), SfdAtBottom(r.m.SfdAtBottom) {}
        ~CursorGuard() {
            if (!moved) return;
            try {
                // The field's order rule comes back with the field; the flags
                // are then those the caller had.
                record.FldPointer(FldPointer);
                record.SfdPointer(SfdPointer);
            } catch (...) {
                record.m.FldPointer = -1;
                record.m.SfdPointer = -1;
            }
            Utf8MarcRecordState& st = record.m;
            st.FldWasFound = FldWasFound && st.FldPointer >= 0;
            st.SfdWasFound = SfdWasFound && st.SfdPointer >= 0;
            st.FldAtTop = FldAtTop;
            st.FldAtBottom = FldAtBottom;
            st.SfdAtTop = SfdAtTop;
            st.SfdAtBottom = SfdAtBottom;
        }
    };
    CursorGuard guard(*this);

    // One walk of the list; a rewrite leaves an entry it moves linked and
    // deleted, and the count bounds the walk over a broken list.
    int32_t visited = 0;
    for (int16_t i = m.FldFirst; i >= 0 && i < m.FldCount && visited <= m.FldCount; ++visited) {
        const FieldEntry& field = m.Fields[static_cast<size_t>(i)];
        if (!field.Deleted && field.Tag == "502") {
            guard.moved = true;
            FldPointer(i);
            ReCast502Field();
        }
        i = m.Fields[static_cast<size_t>(i)].NextField;
    }
}

bool Utf8MarcRecordClass::RdaRecord() {
    const int16_t iFld = FldPointer();
    const int16_t iSfd = SfdPointer();
    bool bRda = false;
    if (!IsAuthority() || Get008Value(10, 1) == "z") {
        FldMoveTop();
        if (FldFindFirst("040", "")) {
            // Every $e from the field's first subfield on.
            for (bool bFound = SfdFindFirst("e", ""); bFound && !bRda; bFound = SfdFindNext("e", ""))
                bRda = SfdNorm() == "RDA";
        }
    }
    FldPointer(iFld);
    SfdPointer(iSfd);
    return bRda;
}
