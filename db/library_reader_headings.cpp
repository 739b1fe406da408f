// VgerReaderClass7: heading and subdivision searches. Each checks its
// arguments, builds one statement and runs it on a result set tagged with its
// search type; the caller fetches the rows. Every value placed between
// apostrophes goes through SqlQuoted; the ids placed bare are digits only.

#include <string_view>

#include "db/library_reader.h"
#include "db/sql_text.h"
#include "marc/record/marc_record.h"

namespace {

// The INDEX_CODE lists of the heading kinds.
constexpr std::string_view PersonalNameCodes = "('100H', '400H', '600H', '700H', '800H')";
constexpr std::string_view CorporateNameCodes =
    "('110H', '111H', '410H', '411H', '610H', '611H', '651H', '710H', '711H', '810H', '811H')";
constexpr std::string_view TitleCodes =
    "('2100', '2110', '2120', '2140', '2220', '2400', '2450', '2460', '2470', '7400', '7600', '7620', '7670', "
    "'7720', '7730', '7800', '7850')";
constexpr std::string_view UniformTitleAndSeriesCodes =
    "('1300', '2400', '400H', '410H', '411H', '4400', '630H', '7300', '800H', '810H', '811H', '8300')";
constexpr std::string_view SubjectCodes =
    "('600H', '610H', '611H', '630H', '6500', '6501', '6502', '6503', '6504', '6505', '6506', '6507', '651H', "
    "'654H', '655H')";

// Searched when a heading search is given no heading or one whose normal form is empty.
constexpr std::string_view HeadingPlaceholder = "3 4 X X X 1 7 9 x x x";

constexpr size_t MaxBibNormalLength = 150;

// The heading kind a tag, category digit or category word selects; "" when it selects none.
std::string KindForTagOrCategory(const std::string& sValue) {
    if (sValue.size() == 1) {
        if (sValue == "1") return "personal";
        if (sValue == "2") return "c";
        if (sValue == "3") return "u";
        return "";
    }
    const char first = sValue[0];
    if (first == '2' || first == 't') return "ti";
    if (first == '4' || first == '8') return "series";
    if (first == '6') return "subject";
    const std::string upper = rt::UCase(sValue);
    if (upper == "SERIES") return "series";
    if (upper == "SUBJECT") return "subject";
    if (upper == "PERSONAL") return "personal";
    if (upper == "CORPORATE" || upper == "CONFERENCE") return "c";
    if (upper == "UNIFORM" || upper == "UNIFORM TITLE") return "u";
    const std::string last = sValue.substr(sValue.size() - 2);
    if (last == "00") return "personal";
    if (last == "10" || last == "11" || last == "51") return "c";
    if (last == "30") return "u";
    if (last == "40" || last == "45") return "ti";
    return "";
}

bool IsDecimalDigits(const std::string& s) {
    return s.find_first_not_of("0123456789") == std::string::npos;
}

void CheckId(const std::string& sId, const ReaderError& missing, const ReaderError& notNumeric) {
    if (sId.empty()) RaiseReaderError(missing);
    if (!IsDecimalDigits(sId)) RaiseReaderError(notNumeric);
}

// Each octet as CHR(n), joined by " || ".
std::string ChrForm(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (i > 0) out += " || ";
        out += "CHR(" + std::to_string(static_cast<unsigned char>(s[i])) + ")";
    }
    return out;
}

bool EndsInBlank(const std::string& s) { return !s.empty() && s.back() == ' '; }

// " AND COLUMN IN (...)" or " AND COLUMN = '...'" for codes other than "" and "*"; "" otherwise.
std::string CodeClause(const std::string& sColumn, const std::string& sCodes) {
    if (sCodes.empty() || sCodes == "*") return "";
    const std::string list = VgerReaderClass7::CodesToSqlList(sCodes);
    return " AND " + sColumn + (list.find(", ") != std::string::npos ? " IN " : " = ") + list;
}

// The heading searches connect, give the set its type, close its cursor and run.
VgerReaderClass7::SearchPreparation HeadingSearchPreparation(int16_t searchType) {
    using Step = VgerReaderClass7::SearchConnectionStep;
    return {{Step::CheckConnection, Step::MyCheckVoyagerConnection}, true, searchType};
}

}  // namespace

void VgerReaderClass7::BibHeading(const std::string& vNewValue) {
    if (vNewValue.empty()) RaiseReaderError(ReaderErrorCode::InvalidBibHeading);
    BibHeading_ = vNewValue;
}

std::string VgerReaderClass7::CodesToSqlList(const std::string& sCodes) {
    std::string list;
    for (size_t i = 0; i < sCodes.size(); ++i) {
        if (i > 0) list += ", ";
        list += SqlQuoted(std::string(1, sCodes[i]));
    }
    if (sCodes.size() > 1) list = "(" + list + ")";
    return list;
}

void VgerReaderClass7::SetBibIndexCodes(const std::string& sKind) {
    const std::string kind = rt::Trim(rt::UCase(sKind));
    std::string_view list = TitleCodes;
    if (!kind.empty()) {
        const char first = kind[0];
        if (first == 'C') {
            list = CorporateNameCodes;
        } else if (first == 'P') {
            list = PersonalNameCodes;
        } else if (first == 'U' || first == '4' || first == '8') {
            list = UniformTitleAndSeriesCodes;
        } else if (first == 'S' || first == '6') {
            list = kind.size() > 1 && kind[1] == 'E' ? UniformTitleAndSeriesCodes : SubjectCodes;
        }
    }
    BibIndexCodes_ = std::string(list);
}

std::string VgerReaderClass7::NormalizeSearchText(const std::string& sFormat, const std::string& sTag,
                                                  const std::string& sIndicators, const std::string& sText) {
    // Precomposed letters would lose their base letter in the normal form: the
    // stored normal forms are made from decomposed text.
    bool changed = false;
    const std::string decomposed = MarcRecord().DecomposeUnicodeCharactersInString(sText, changed);
    std::string scratch;
    return MarcRecord().NormalizeWholeField("V", sFormat, sTag, sIndicators, decomposed, scratch);
}

void VgerReaderClass7::SearchBibHeading(const std::string& sBibliographicTagOrCategory,
                                        const std::string& sBibliographicIndicators,
                                        const std::string& sBibliographicHeading, int16_t& iResultSet,
                                        bool bBibHeadingIsTruncated) {
    const int16_t passed = iResultSet;
    IsRetrieval(false);
    if (sBibliographicTagOrCategory.empty()) RaiseReaderError(ReaderErrorCode::NoBibliographicTag);
    const std::string kind = KindForTagOrCategory(sBibliographicTagOrCategory);
    if (!kind.empty()) {
        SetBibIndexCodes(kind);
    } else if (BibIndexCodes_.empty()) {
        // No list to search in: the statement would have nothing after IN.
        RaiseReaderError(ReaderErrorCode::InvalidBibliographicTag);
    }
    if (sBibliographicIndicators.empty()) RaiseReaderError(ReaderErrorCode::NoBibliographicIndicators);
    if (!sBibliographicHeading.empty()) BibHeading(sBibliographicHeading);
    BibHeadingIsTruncated_ = bBibHeadingIsTruncated;
    UseResultSetArgument(passed);
    if (BibHeading_.empty()) RaiseReaderError(ReaderErrorCode::NoBibliographicHeading);
    TestConnectionData();
    if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
    BibHeadingNormalized_ =
        NormalizeSearchText("B", sBibliographicTagOrCategory, sBibliographicIndicators, BibHeading_);
    if (BibHeadingNormalized_.empty()) RaiseReaderError(ReaderErrorCode::NoBibliographicHeading);
    if (BibHeadingNormalized_.size() > MaxBibNormalLength) {
        BibHeadingNormalized_ = rt::Trim(BibHeadingNormalized_.substr(0, MaxBibNormalLength));
    }
    const std::string condition = BibHeadingIsTruncated_
                                      ? " WHERE NORMAL_HEADING LIKE " + SqlQuoted(BibHeadingNormalized_ + "%")
                                      : " WHERE NORMAL_HEADING = " + SqlQuoted(BibHeadingNormalized_);
    RunSearch("SELECT BIB_ID, INDEX_CODE, NORMAL_HEADING, RAWTOHEX(DISPLAY_HEADING) FROM " + TableNamePrefix_ +
                  "BIB_INDEX" + condition + " AND INDEX_CODE IN " + BibIndexCodes_ + " ORDER BY NORMAL_HEADING",
              HeadingSearchPreparation(SearchTypeBibHeading), passed, iResultSet);
}

std::string VgerReaderClass7::HeadingWhere(const std::string& sHeading, const std::string& sNormal, bool bChrForm,
                                           bool bHeadingIsTruncated, bool bIncludeBibsToo,
                                           const std::string& sIndexTypeCodes,
                                           const std::string& sHeadingTypeCodes) {
    std::string condition;
    const std::string tail = EndsInBlank(sHeading) ? " %" : "%";
    if (bChrForm) {
        condition = bHeadingIsTruncated ? " NORMAL_HEADING LIKE " + sNormal +
                                              (EndsInBlank(sHeading) ? " || CHR(32) || CHR(37)" : " || CHR(37)")
                                        : " NORMAL_HEADING = " + sNormal;
    } else {
        condition = bHeadingIsTruncated ? " NORMAL_HEADING LIKE " + SqlQuoted(sNormal + tail)
                                        : " NORMAL_HEADING = " + SqlQuoted(sNormal);
    }
    return condition + CodeClause("INDEX_TYPE", sIndexTypeCodes) + CodeClause("HEADING_TYPE", sHeadingTypeCodes) +
           (bIncludeBibsToo ? "" : " AND 'X' || STAFFREFS != 'X'");
}

static constexpr const char* HeadingColumns =
    "SELECT HEADING_ID, INDEX_TYPE, HEADING_TYPE, RAWTOHEX(NORMAL_HEADING), OPACBIBS, STAFFBIBS, STAFFREFS FROM ";

void VgerReaderClass7::SearchHeading(const std::string& sHeading, int16_t& iResultSet, bool bHeadingIsTruncated,
                                     bool bIncludeBibsToo, const std::string& sIndexTypeCodes,
                                     const std::string& sHeadingTypeCodes) {
    const int16_t passed = iResultSet;
    std::string heading = sHeading;
    std::string normal;
    if (!heading.empty()) normal = NormalizeSearchText("A", "100", "10", heading);
    if (heading.empty() || normal.empty()) heading = normal = std::string(HeadingPlaceholder);
    const bool chrForm = MarcRecord().VernacularDataPresent(normal);
    if (chrForm) normal = ChrForm(normal);
    UseResultSetArgument(passed);
    RunSearch(HeadingColumns + TableNamePrefix_ + "HEADING WHERE " +
                  HeadingWhere(heading, normal, chrForm, bHeadingIsTruncated, bIncludeBibsToo, sIndexTypeCodes,
                               sHeadingTypeCodes) +
                  " ORDER BY NORMAL_HEADING",
              HeadingSearchPreparation(SearchTypeHeading), passed, iResultSet);
}

void VgerReaderClass7::SearchHeadingBlock(const std::string& sHeading, int16_t& iResultSet, bool bHeadingIsTruncated,
                                          bool bIncludeBibsToo, const std::string& sIndexTypeCodes,
                                          const std::string& sHeadingTypeCodes, int16_t /*iRowsPerBlock*/) {
    const int16_t passed = iResultSet;
    if (sHeading.empty()) RaiseReaderError(ReaderErrorCode::NoHeading);
    const std::string normal = NormalizeSearchText("A", "100", "10", sHeading);
    if (normal.empty()) RaiseReaderError(ReaderErrorCode::NoHeading);
    UseResultSetArgument(passed);
    RunSearch(HeadingColumns + TableNamePrefix_ + "HEADING WHERE " +
                  HeadingWhere(sHeading, normal, false, bHeadingIsTruncated, bIncludeBibsToo, sIndexTypeCodes,
                               sHeadingTypeCodes),
              HeadingSearchPreparation(SearchTypeHeading), passed, iResultSet);
}

void VgerReaderClass7::SearchHeadingIDAuth(const std::string& sHeadingID, int16_t& iResultSet) {
    const int16_t passed = iResultSet;
    CheckId(sHeadingID, ReaderErrorCode::NoHeadingID, ReaderErrorCode::HeadingIDNotNumeric);
    const std::string sql =
        "SELECT AUTH_ID, RAWTOHEX(DISPLAY_HEADING), REFERENCE_TYPE, SCOPE_NOTE_PRESENT, HEADING_ID_POINTEE FROM " +
        TableNamePrefix_ + "AUTH_HEADING WHERE HEADING_ID_POINTER = " + sHeadingID + " ORDER BY AUTH_ID";
    UseResultSetArgument(passed);
    RunSearch(sql, HeadingSearchPreparation(SearchTypeHeadingId), passed, iResultSet);
}

void VgerReaderClass7::SearchHeadingIDBib(const std::string& sHeadingID, int16_t& iResultSet) {
    const int16_t passed = iResultSet;
    CheckId(sHeadingID, ReaderErrorCode::NoHeadingID, ReaderErrorCode::HeadingIDNotNumeric);
    const std::string sql = "SELECT BIB_ID, RAWTOHEX(DISPLAY_HEADING) FROM " + TableNamePrefix_ +
                            "BIB_HEADING WHERE HEADING_ID = " + sHeadingID + " ORDER BY BIB_ID";
    UseResultSetArgument(passed);
    RunSearch(sql, HeadingSearchPreparation(SearchTypeHeadingId), passed, iResultSet);
}

void VgerReaderClass7::SearchSubdiv(const std::string& sSubjectSystemCode, const std::string& sSubdivision,
                                    int16_t& iResultSet, bool bHeadingIsTruncated, bool bIncludeBibsToo,
                                    const std::string& sSubdivisionTypeCodes) {
    const int16_t passed = iResultSet;
    if (sSubjectSystemCode.empty()) RaiseReaderError(ReaderErrorCode::NoSubjectSystemCode);
    if (sSubjectSystemCode.size() > 1) RaiseReaderError(ReaderErrorCode::InvalidSubjectSystemCode);
    if (sSubdivision.empty()) RaiseReaderError(ReaderErrorCode::NoSubdivision);
    const std::string normal = NormalizeSearchText("A", "100", "10", sSubdivision);
    if (normal.empty()) RaiseReaderError(ReaderErrorCode::NoSubdivision);
    UseResultSetArgument(passed);
    const std::string condition =
        bHeadingIsTruncated ? " AND NORMAL_SUBDIV LIKE " + SqlQuoted(normal + (EndsInBlank(sSubdivision) ? " %" : "%"))
                            : " AND NORMAL_SUBDIV = " + SqlQuoted(normal);
    RunSearch("SELECT SUBDIV_ID, SUBDIV_TYPE, NORMAL_SUBDIV, AUTHORIZED, HEADING_TYPE FROM " + TableNamePrefix_ +
                  "SUBDIVISION WHERE HEADING_TYPE = " + SqlQuoted(sSubjectSystemCode) +
                  CodeClause("SUBDIV_TYPE", sSubdivisionTypeCodes) + condition +
                  (bIncludeBibsToo ? "" : " AND AUTHORIZED = 'Y'"),
              HeadingSearchPreparation(SearchTypeSubdivision), passed, iResultSet);
}

void VgerReaderClass7::SearchSubdivIDAuth(const std::string& sSubdivisionID, int16_t& iResultSet) {
    const int16_t passed = iResultSet;
    CheckId(sSubdivisionID, ReaderErrorCode::NoSubdivisionID, ReaderErrorCode::SubdivisionIDNotNumeric);
    const std::string sql = "SELECT AUTH_ID, RAWTOHEX(DISPLAY_SUBDIV), REFERENCE_TYPE FROM " + TableNamePrefix_ +
                            "AUTH_SUBDIVISION WHERE SUBDIV_ID_POINTER = " + sSubdivisionID;
    UseResultSetArgument(passed);
    RunSearch(sql, HeadingSearchPreparation(SearchTypeSubdivisionId), passed, iResultSet);
}

void VgerReaderClass7::SearchSubdivIDBib(const std::string& sSubdivisionID, int16_t& iResultSet) {
    const int16_t passed = iResultSet;
    CheckId(sSubdivisionID, ReaderErrorCode::NoSubdivisionID, ReaderErrorCode::SubdivisionIDNotNumeric);
    const std::string sql = "SELECT BIB_ID, RAWTOHEX(DISPLAY_SUBDIV) FROM " + TableNamePrefix_ +
                            "BIB_SUBDIVISION WHERE SUBDIV_ID = " + sSubdivisionID;
    UseResultSetArgument(passed);
    RunSearch(sql, HeadingSearchPreparation(SearchTypeSubdivisionId), passed, iResultSet);
}

void VgerReaderClass7::SearchSubdivIDHeading(const std::string& sSubdivisionID, int16_t& iResultSet,
                                             std::optional<bool> bIncludeBibsToo) {
    const int16_t passed = iResultSet;
    CheckId(sSubdivisionID, ReaderErrorCode::NoSubdivisionID, ReaderErrorCode::SubdivisionIDNotNumeric);
    UseResultSetArgument(passed);
    RunSearch("SELECT T2.HEADING_ID, T2.INDEX_TYPE, T2.HEADING_TYPE, RAWTOHEX(T2.NORMAL_HEADING), T2.OPACBIBS, "
              "T2.STAFFBIBS, T2.STAFFREFS FROM " +
                  TableNamePrefix_ + "HEADING_SUBDIVISION T1, " + TableNamePrefix_ + "HEADING T2 WHERE T1.SUBDIV_ID = " +
                  sSubdivisionID + (bIncludeBibsToo.value_or(true) ? "" : " AND 'X' || T2.STAFFREFS != 'X'") +
                  " AND T2.HEADING_ID = T1.HEADING_ID",
              HeadingSearchPreparation(SearchTypeHeading), passed, iResultSet);
}
