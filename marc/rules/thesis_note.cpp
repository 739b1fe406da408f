// Reading a dissertation note (502) into degree, institution, date and other
// information, or telling by a status why it cannot be read.
#include <algorithm>
#include <string>
#include <string_view>

#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "marc/rules/thesis_note_tables.h"

namespace thesis_note {

bool IsThesisWord(std::string_view sWord) {
    return std::find(ThesisWords.begin(), ThesisWords.end(), sWord) != ThesisWords.end();
}

const LocalWord* FindLocalWord(std::string_view sWord) {
    for (const LocalWord& entry : LocalWords)
        if (entry.Word == sWord) return &entry;
    return nullptr;
}

bool IsCampus(std::string_view sWord) { return std::find(Campuses.begin(), Campuses.end(), sWord) != Campuses.end(); }

bool IsDateWord(std::string_view sWord) {
    return std::find(DateWords.begin(), DateWords.end(), sWord) != DateWords.end();
}

std::string_view MonthNameOf(std::string_view sWord, bool bDayKept) {
    if (sWord.empty()) return {};
    for (const MonthName& month : MonthNames) {
        if (bDayKept && !month.AfterDay) continue;
        if (std::find(month.Words.begin(), month.Words.end(), sWord) != month.Words.end()) return month.Name;
    }
    return {};
}

}  // namespace thesis_note

namespace {

using namespace thesis_note;

bool HasAnyOf(std::string_view s, std::string_view set) { return s.find_first_of(set) != std::string_view::npos; }

bool IsOneOf(char c, std::string_view set) { return set.find(c) != std::string_view::npos; }

// Every octet from the 1-based position `from` to the end is a digit.
bool DigitsFrom(const std::string& s, size_t from) {
    for (size_t i = from; i <= s.size(); ++i)
        if (!rt::IsAsciiDigit(s[i - 1])) return false;
    return true;
}

// Four characters that begin with "1" or "2" and go on in digits.
bool IsYear(const std::string& s) {
    return s.size() == 4 && IsOneOf(s[0], YearLeadDigits) && DigitsFrom(s, 2);
}

// 1-based position of a text within another, in any (ASCII) case; 0 for none.
int32_t InStrAnyCase(const std::string& sHaystack, std::string_view sNeedle) {
    return rt::InStr(rt::UCase(sHaystack), rt::UCase(sNeedle));
}

// The text from a 1-based position to the end ("" past the end).
std::string From(const std::string& s, int32_t start) { return start > static_cast<int32_t>(s.size()) ? "" : s.substr(static_cast<size_t>(std::max(start, 1) - 1)); }

// The text before a 1-based position.
std::string Before(const std::string& s, int32_t position) { return rt::Left(s, std::max(position - 1, 0)); }

// One final ")" removed, then trimmed.
std::string Strip(std::string s) {
    if (!s.empty() && s.back() == ')') s.pop_back();
    return rt::Trim(s);
}

// Trimmed, one leading "-" more removed and trimmed again.
std::string WithoutLeadingHyphen(std::string s) {
    s = rt::Trim(s);
    if (!s.empty() && s[0] == '-') s = rt::Trim(s.substr(1));
    return s;
}

}  // namespace

bool Utf8MarcRecordClass::IsDegreeAbbreviation(const std::string& sWord) {
    if (std::find(FixedDegreeForms.begin(), FixedDegreeForms.end(), sWord) != FixedDegreeForms.end()) return true;
    if (sWord.empty() || sWord.size() % 2 == 0) return false;
    for (size_t i = 0; i < sWord.size(); ++i) {
        // Positions 1, 3, 5 ... (indexes 0, 2, 4 ...) hold capitals, the others blanks.
        if (i % 2 == 0 ? !IsOneOf(sWord[i], CapitalLetters) : sWord[i] != ' ') return false;
    }
    return true;
}

bool Utf8MarcRecordClass::ContainsNonThesisPhrase(std::string sText) {
    const std::string sUpper = rt::UCase(sText);
    for (std::string_view phrase : NonThesisPhrases)
        if (sUpper.find(rt::UCase(phrase)) != std::string::npos) return true;
    return false;
}

int32_t Utf8MarcRecordClass::ParseThesisNote(std::string sIncomingWhole502Field, std::string sDateFrom008_07,
                                             std::string& sReturnedDegreeType, std::string& sReturnedInstitution,
                                             std::string& sReturnedDate, std::string& sReturnedMiscellaneous,
                                             bool bUppercaseDegreeType) {
    sReturnedDegreeType.clear();
    sReturnedInstitution.clear();
    sReturnedDate.clear();
    sReturnedMiscellaneous.clear();
    const std::string sDelimiter = MarcDelimiter();
    const std::string sLocal(LocalInstitutionName);
    const auto norm = [this](const std::string& s) { return NormString(s, true, "V"); };

    // Clean-up: trimmed, no final comma, "---" as "--".
    std::string sNote = rt::Trim(sIncomingWhole502Field);
    if (!sNote.empty() && sNote.back() == ',') sNote = rt::Trim(sNote.substr(0, sNote.size() - 1));
    sNote = ReplaceCharacters(sNote, "---", "--");

    // A date in brackets at the end becomes a date after a comma.
    if (const int32_t iBracket = Rat(sNote, "["); iBracket > 0) {
        const std::string sBracketed = rt::Trim(From(sNote, iBracket + 1));
        if (sBracketed.find_first_not_of(BracketDateCharacters) == std::string::npos) {
            const std::string sBefore = rt::Trim(Before(sNote, iBracket));
            sNote = sBefore + (!sBefore.empty() && sBefore.back() == ',' ? " " : ", ") + sBracketed;
        }
    }
    sNote = ReplaceCharacters(sNote, "[", " ");
    sNote = ReplaceCharacters(sNote, "]", " ");
    sNote = RemoveRepeatedCharacters(sNote, " ");

    // Screening.
    for (const char* code : {"b", "c", "d"})
        if (sNote.find(sDelimiter + code) != std::string::npos) return 99;
    const bool bLocal = InStrAnyCase(sNote, sLocal + " Univ") > 0;
    if (rt::Left(sNote, 1) == sDelimiter) {
        if (rt::Mid(sNote, 2, 1) != "a") return -2;
        sNote = From(sNote, 3);
    }
    if (sNote.find(sDelimiter, 1) != std::string::npos) return -3;
    if (ContainsNonThesisPhrase(sNote)) return -4;

    // The split into the degree part and the institution part at N.
    int32_t N = 0;
    const int32_t iLastSeparator = Rat(sNote, "--");
    if (iLastSeparator > 0) {
        if (rt::InStr(rt::Left(sNote, iLastSeparator), "--") > 0) {
            // A second "--" only before a campus: "University of X--Campus, 1985".
            const std::string sAfter = rt::Trim(From(sNote, iLastSeparator + 2));
            const int32_t iComma = rt::InStr(sAfter, ", ");
            if (iComma == 0 || !IsCampus(norm(Before(sAfter, iComma)))) return -5;
            N = InStrAnyCase(sNote, "--university");
            if (N == 0) return -5;
        } else {
            N = iLastSeparator;
        }
    } else if (bLocal) {
        if (const int32_t iAt = rt::InStr(sNote, "), " + sLocal.substr(0, 8)); iAt > 0) {
            N = iAt + 1;
        } else if (const int32_t iDash = Rat(sNote, " - "); iDash > 0) {
            N = iDash;
        } else if (const int32_t iParenDash = Rat(sNote, ")- "); iParenDash > 0) {
            sNote = SafeStuff(sNote, iParenDash + 1, 0, " ");
            N = iParenDash + 1;
        } else if (rt::UCase(rt::Left(sNote, 19)) == rt::UCase("Thesis (MBA), " + sLocal.substr(0, 5))) {
            sNote = rt::Left(sNote, 12) + " -- " + From(sNote, 15);
            N = 14;
        } else {
            return -1;
        }
    } else {
        N = Rat(sNote, " - ");
        if (N == 0) return -1;
    }
    std::string sDegreePart = rt::Trim(Before(sNote, N));
    std::string sInstitutionPart = rt::Trim(From(sNote, N + 2));
    if (sInstitutionPart.empty()) return -6;

    // The degree.
    std::string sDegree;
    bool bResplit = false;
    bool bDegreeFound = false;
    int32_t P = 0, R = 0;
    for (;;) {
        P = rt::InStr(sDegreePart, "(");
        if (P == 0) {
            if (!bLocal || !IsDegreeAbbreviation(norm(sDegreePart))) return -7;
            sDegree = sDegreePart;
            bDegreeFound = true;
            break;
        }
        R = rt::InStr(sDegreePart, ")");
        if (R == 0) {
            if (!bLocal || bResplit) return -7;
            bResplit = true;
            const int32_t S = InStrAnyCase(sNote, "), " + sLocal.substr(0, 9));
            if (S == 0) return -7;
            sDegreePart = rt::Left(sNote, S);
            sInstitutionPart = From(sNote, S + 2);
            continue;
        }
        if (R <= P + 1) return -7;
        break;
    }
    if (!bDegreeFound) {
        const std::string sWord = norm(Before(sDegreePart, P));
        if (sWord.size() < 2) return -8;
        const LocalWord* local = IsThesisWord(sWord) ? nullptr : FindLocalWord(sWord);
        if (IsThesisWord(sWord)) {
            sDegree = rt::Mid(sDegreePart, P + 1, R - P - 1);
        } else if (!bLocal) {
            return -9;
        } else if (local == nullptr) {
            if (!IsDegreeAbbreviation(sWord)) return -9;
            sDegree = rt::Trim(Before(sDegreePart, P));
            std::string sMisc = rt::Trim(From(sDegreePart, P + 1));
            sMisc.erase(std::remove(sMisc.begin(), sMisc.end(), ')'), sMisc.end());
            sMisc = rt::Trim(sMisc);
            sReturnedMiscellaneous = norm(sMisc).empty() ? "" : sMisc;
        } else {
            switch (local->Rule) {
            case LocalRule::Project: {
                if (rt::Mid(sDegreePart, 9, 1) != "(") return -9;
                std::string d = Strip(rt::Trim(From(sDegreePart, 10)));
                if (const int32_t iComma = rt::InStr(d, ","); iComma > 0) {
                    sReturnedMiscellaneous = rt::Trim(From(d, iComma + 1));
                    d = rt::Trim(Before(d, iComma));
                }
                sDegree = d;
                break;
            }
            case LocalRule::ResearchProject: {
                std::string x = rt::Mid(sDegreePart, P + 1, R - P - 1);
                std::string sMisc;
                if (const int32_t iHyphen = rt::InStr(x, "-"); iHyphen > 0) {
                    sMisc = WithoutLeadingHyphen(From(x, iHyphen + 1));
                    x = rt::Trim(Before(x, iHyphen));
                }
                if (!IsDegreeAbbreviation(norm(x))) return -9;
                sReturnedMiscellaneous = sMisc;
                sDegree = x;
                break;
            }
            case LocalRule::FellowshipEssay:
            case LocalRule::PrizeEssay:
            case LocalRule::Essay: {
                size_t form = 0;
                while (EssayForms[form].Rule != local->Rule) ++form;
                const int32_t iParenthesis = EssayForms[form].ParenthesisPosition;
                if (P != iParenthesis) return -9;
                std::string d = Strip(rt::Trim(From(sDegreePart, iParenthesis + 1)));
                int32_t iCut = rt::InStr(d, "-");
                if (iCut == 0) iCut = rt::InStr(d, ",");
                if (iCut > 0) {
                    sReturnedMiscellaneous = UCaseFirstWord(WithoutLeadingHyphen(From(d, iCut + 1)), false);
                    d = rt::Trim(Before(d, iCut));
                }
                for (const EssayDegree& row : EssayDegrees) {
                    if (row.Written == d && row.InForm[form]) {
                        d = std::string(row.Becomes);
                        break;
                    }
                }
                sDegree = d;
                break;
            }
            case LocalRule::MusicProject:
                sDegree = "D. Mus.";
                break;
            }
        }
    }

    // Institution and date.
    if (!sDegree.empty() && sDegree[0] == '(') sDegree = rt::Trim(sDegree.substr(1));
    if (sDegree.empty() || rt::IsAsciiDigit(sDegree[0]) || rt::Left(sDegree, 3) == "III") return -10;

    std::string sInstitution, sDate;
    if (const int32_t iComma = Rat(sInstitutionPart, ","); iComma > 0) {
        sInstitution = rt::Trim(Before(sInstitutionPart, iComma));
        sDate = rt::Trim(From(sInstitutionPart, iComma + 1));
        if (!HasAnyOf(sDate, Digits)) {
            // The re-split leaves the part untrimmed; the institution never
            // begins with a blank.
            sInstitution = rt::Trim(sInstitutionPart);
            sDate = sDateFrom008_07;
        }
    } else {
        std::string t = sInstitutionPart;
        if (!t.empty() && t.back() == '.') t.pop_back();
        t = rt::Trim(t);
        const size_t L = t.size();
        // 1-based characters L - 3 and L - 4 are indexes L - 4 and L - 5.
        if (L > 7 && IsOneOf(t[L - 4], YearLeadDigits) && DigitsFrom(t, L - 2) && IsOneOf(t[L - 5], YearFences)) {
            sDate = t.substr(L - 4);
            sInstitution = rt::Trim(t.substr(0, L - 4));
        } else if (HasAnyOf(t, Digits)) {
            return -11;
        } else {
            sInstitution = t;
            sDate = sDateFrom008_07;
        }
    }

    // A final ".." or "." after a blank or a digit goes.
    if (sDate.size() > 2 && sDate.ends_with("..") && IsOneOf(sDate[sDate.size() - 3], BlankAndDigits))
        sDate = rt::Trim(sDate.substr(0, sDate.size() - 2));
    if (sDate.size() > 1 && sDate.ends_with(".") && IsOneOf(sDate[sDate.size() - 2], BlankAndDigits))
        sDate = rt::Trim(sDate.substr(0, sDate.size() - 1));

    // The date: a year, a date word and a year, or "19xx yyyy"-like text.
    if (sDate.size() == 4) {
        if (!IsYear(sDate)) return -12;
    } else {
        const std::string d = norm(sDate);
        if (d.size() == 4) {
            if (!IsYear(d)) return -12;
        } else {
            if (d.empty()) return -12;
            const size_t b = d.rfind(' ');  // 0-based: 1-based position b + 1
            if (b == std::string::npos) return -12;
            if (IsDateWord(std::string_view(d).substr(0, b))) {
                if (b + 1 >= d.size() || !IsOneOf(d[b + 1], YearLeadDigits) || !DigitsFrom(d, b + 3)) return -12;
            } else {
                if (b != 4) return -12;
                if (IsOneOf(d[0], YearLeadDigits) && !(DigitsFrom(d.substr(0, 4), 2) && DigitsFrom(d, 6))) return -12;
            }
        }
    }

    // Local notes: "M.S., Journalism" is a degree and other information.
    if (bLocal) {
        if (const int32_t iAt = rt::InStr(sDegree, "., "); iAt > 0) {
            const std::string sMisc = rt::Trim(From(sDegree, iAt + 3));
            sReturnedMiscellaneous = norm(sMisc).empty() ? "" : sMisc;
            sDegree = rt::Left(sDegree, iAt);
        }
    }

    // A month (and day) at the end of the institution belongs to the date.
    if (!sInstitution.empty()) {
        std::string n = norm(sInstitution);
        size_t iBlank = n.rfind(' ');
        if (iBlank != std::string::npos) {
            std::string sWord = n.substr(iBlank + 1);
            std::string sDay;
            const int64_t iNumber = rt::Digits(sWord, rt::DigitSkip::Nothing, 1000);
            bool bGoOn = true;
            if (iNumber > 0 && iNumber < 32) {
                sDay = sWord;
                n.resize(iBlank);
                iBlank = n.rfind(' ');
                if (iBlank == std::string::npos) bGoOn = false;
                else sWord = n.substr(iBlank + 1);
            }
            const std::string_view sName = bGoOn ? MonthNameOf(sWord, !sDay.empty()) : std::string_view();
            const int32_t iMonth = sName.empty() ? 0 : Rat(rt::UCase(sInstitution), sWord);
            if (iMonth > 0) {
                sInstitution = rt::Trim(Before(sInstitution, iMonth));
                if (!sDay.empty()) {
                    if (const int32_t iDay = Rat(rt::UCase(sInstitution), rt::UCase(sDay)); iDay > 0)
                        sInstitution = rt::Trim(Before(sInstitution, iDay));
                }
                if (!sInstitution.empty() && IsOneOf(sInstitution.back(), ",;:")) {
                    sInstitution.pop_back();
                    sInstitution = rt::Trim(sInstitution);
                }
                sDate = std::string(sName) + " " + (sDay.empty() ? "" : sDay + ", ") + sDate;
            }
        }
    }

    // A month's word at the start of the date is written out.
    if (const size_t iBlank = sDate.find(' '); iBlank != std::string::npos) {
        const std::string_view sName = MonthNameOf(norm(sDate.substr(0, iBlank)), false);
        if (!sName.empty()) sDate = std::string(sName) + sDate.substr(iBlank);
    }

    sReturnedDegreeType = bUppercaseDegreeType ? UCaseFirstWord(sDegree, false) : sDegree;
    sReturnedInstitution = sInstitution;
    sReturnedDate = sDate;
    return 1;
}
