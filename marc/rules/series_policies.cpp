// How the Library of Congress, the Program for Cooperative Cataloging and the
// local institution treat a series, read from the 642, 644, 645 and 646
// fields of a series authority record by the institution code in $5.
#include <string>

#include "common/runtime.h"
#include "marc/record/marc_record.h"

namespace {

// Puts back the field index, then the subfield index, however the walk ends.
class CursorKept {
public:
    explicit CursorKept(Utf8MarcRecordClass& record)
        : record_(record), fld_(record.FldPointer()), sfd_(record.SfdPointer()) {}
    ~CursorKept() {
        try {
            record_.FldPointer(fld_);
            record_.SfdPointer(sfd_);
        } catch (...) {
            // Setting an index back reads only the record's own tables; an
            // error there must not replace the one that ended the walk.
        }
    }
    CursorKept(const CursorKept&) = delete;
    CursorKept& operator=(const CursorKept&) = delete;

private:
    Utf8MarcRecordClass& record_;
    int16_t fld_, sfd_;
};

// An institution code as written in $5: trimmed, then cut before the first
// "-" (a code with a department) or, without one, before the first "/".
std::string InstitutionCode(const std::string& sSubfield5) {
    std::string sCode = rt::Trim(sSubfield5);
    int32_t iCut = rt::InStr(sCode, "-");
    if (iCut == 0) iCut = rt::InStr(sCode, "/");
    if (iCut > 0) sCode = rt::Left(sCode, iCut - 1);
    return sCode;
}

}  // namespace

bool Utf8MarcRecordClass::SeriesPolicyRecordQualifies() {
    // Both tests run, as the search for 010 also clears the saved text filter.
    const bool bSeries = rt::InStr("abcz", Get008Value(12, 1)) > 0;
    const bool bHas010 = FldFindFirst("010", "");
    return bSeries && bHas010;
}

void Utf8MarcRecordClass::SeriesPolicyFieldsTop() {
    // The walk is over every field of its tag, whatever text the caller last
    // searched for.
    m.FldSearchText.clear();
    FldMoveTop();
}

int32_t Utf8MarcRecordClass::SeriesPolicyLocalPosition(const std::string& sSubfield5) const {
    std::string sCode = "5" + sSubfield5;
    const int32_t iHyphen = rt::InStr(sCode, "-");
    if (iHyphen > 0) sCode = rt::Left(sCode, iHyphen - 1);
    return rt::InStr(m.NucSubfield5List, sCode);
}

bool Utf8MarcRecordClass::SeriesPolicyIsLocalCode(const std::string& sSubfield5) const {
    return rt::InStr(" " + m.Nuc, " " + InstitutionCode(sSubfield5)) > 0;
}

std::string Utf8MarcRecordClass::SeriesPolicyFirstMatch(const std::string& sTag, bool bNumberingPattern,
                                                        const std::string& sInstitution,
                                                        int32_t& lReturnFieldPointer) {
    SeriesPolicyFieldsTop();
    while (FldFindNext(sTag, "")) {
        std::string sAnswer;
        if (bNumberingPattern) {
            if (!SfdFindFirst("a", "")) continue;
            sAnswer = SfdText();
        } else {
            sAnswer = SafeMid(SfdText(), 1, 1);
        }
        while (SfdFindNext("5", "")) {
            const std::string sSubfield5 = SfdText();
            const bool bPasses = sInstitution.empty()
                                     ? SeriesPolicyLocalPosition(sSubfield5) > 0
                                     : rt::Left(sSubfield5, static_cast<int32_t>(sInstitution.size())) == sInstitution;
            if (bPasses) {
                lReturnFieldPointer = FldPointer();
                return sAnswer;
            }
        }
    }
    return "";
}

std::string Utf8MarcRecordClass::SeriesPolicyOf(const std::string& sTag, bool bNumberingPattern,
                                                const std::string& sInstitution, int32_t& lReturnFieldPointer) {
    CursorKept kept(*this);
    // DLC answers only for a series authority record with an 010; the
    // local institution for any record.
    if (!sInstitution.empty() && !SeriesPolicyRecordQualifies()) return "";
    return SeriesPolicyFirstMatch(sTag, bNumberingPattern, sInstitution, lReturnFieldPointer);
}

// ---- Library of Congress ----

std::string Utf8MarcRecordClass::SeriesAnalysisPolicyDlc(int32_t& lReturnFieldPointer) {
    return SeriesPolicyOf("644", false, "DLC", lReturnFieldPointer);
}

std::string Utf8MarcRecordClass::SeriesTracingPolicyDlc(int32_t& lReturnFieldPointer) {
    return SeriesPolicyOf("645", false, "DLC", lReturnFieldPointer);
}

std::string Utf8MarcRecordClass::SeriesClassificationPolicyDlc(int32_t& lReturnFieldPointer) {
    return SeriesPolicyOf("646", false, "DLC", lReturnFieldPointer);
}

std::string Utf8MarcRecordClass::SeriesNumberingPatternDlc(int32_t& lReturnFieldPointer) {
    return SeriesPolicyOf("642", true, "DLC", lReturnFieldPointer);
}

// ---- Program for Cooperative Cataloging ----

std::string Utf8MarcRecordClass::SeriesTracingPolicyDpcc(int32_t& lReturnFieldPointer) {
    CursorKept kept(*this);
    if (!SeriesPolicyRecordQualifies()) return "";
    int32_t lFound = -1;
    std::string sAnswer = SeriesPolicyFirstMatch("645", false, "DPCC", lFound);
    if (lFound >= 0) {
        lReturnFieldPointer = lFound;
        return sAnswer;
    }
    // A series-like phrase is not traced.
    lReturnFieldPointer = 0;
    if (Get008Value(12, 1) == "c") return "n";

    // A traced series with a $5 of another institution than the local ones.
    SeriesPolicyFieldsTop();
    while (FldFindNext("645", "")) {
        sAnswer = SfdText();
        if (rt::Left(sAnswer, 1) != "t") continue;
        while (SfdFindNext("5", ""))
            if (!SeriesPolicyIsLocalCode(SfdText())) {
                lReturnFieldPointer = FldPointer();
                return sAnswer;
            }
    }
    return "";
}

std::string Utf8MarcRecordClass::SeriesAnalysisPolicyDpcc(int32_t& lReturnFieldPointer) {
    lReturnFieldPointer = 0;
    return "";
}

std::string Utf8MarcRecordClass::SeriesClassificationPolicyDpcc(int32_t& lReturnFieldPointer) {
    lReturnFieldPointer = 0;
    return "";
}

std::string Utf8MarcRecordClass::SeriesNumberingPatternDpcc(int32_t& lReturnFieldPointer) {
    CursorKept kept(*this);
    if (!SeriesPolicyRecordQualifies()) return "";
    int32_t lFound = -1;
    const std::string sPattern = SeriesPolicyFirstMatch("642", true, "DPCC", lFound);
    if (lFound >= 0) {
        lReturnFieldPointer = lFound;
        return sPattern;
    }
    // The first subfield of a 642 with a $5 of another institution than
    // DLC and the local ones.
    lReturnFieldPointer = 0;
    SeriesPolicyFieldsTop();
    while (FldFindNext("642", "")) {
        const std::string sCandidate = SfdText();
        while (SfdFindNext("5", "")) {
            const std::string sSubfield5 = rt::Trim(SfdText());
            if (rt::Left(sSubfield5, 3) == "DLC") continue;
            if (!SeriesPolicyIsLocalCode(sSubfield5)) {
                lReturnFieldPointer = FldPointer();
                return sCandidate;
            }
        }
    }
    return "";
}

// ---- the local institution ----

std::string Utf8MarcRecordClass::SeriesAnalysisPolicyLocal(int32_t& lReturnFieldPointer) {
    return SeriesPolicyOf("644", false, "", lReturnFieldPointer);
}

std::string Utf8MarcRecordClass::SeriesTracingPolicyLocal(int32_t& lReturnFieldPointer) {
    CursorKept kept(*this);
    // A 645 of the first local code answers at once; else the first 645 of
    // a later code does, once every 645 has been seen.
    std::string sRemembered;
    int32_t lRemembered = -1;
    SeriesPolicyFieldsTop();
    while (FldFindNext("645", "")) {
        const std::string sAnswer = SafeMid(SfdText(), 1, 1);
        while (SfdFindNext("5", "")) {
            const int32_t iAt = SeriesPolicyLocalPosition(SfdText());
            if (iAt == 2) {
                lReturnFieldPointer = FldPointer();
                return sAnswer;
            }
            if (iAt > 2 && lRemembered < 0) {
                lRemembered = FldPointer();
                sRemembered = sAnswer;
            }
        }
    }
    if (lRemembered < 0) return "";
    lReturnFieldPointer = lRemembered;
    return sRemembered;
}

std::string Utf8MarcRecordClass::SeriesClassificationPolicyLocal(int32_t& lReturnFieldPointer) {
    return SeriesPolicyOf("646", false, "", lReturnFieldPointer);
}

std::string Utf8MarcRecordClass::SeriesNumberingPatternLocal(int32_t& lReturnFieldPointer) {
    return SeriesPolicyOf("642", true, "", lReturnFieldPointer);
}
