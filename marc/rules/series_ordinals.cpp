// Ordinal endings of numbers in a piece of a series numbering (2ND, 3E,
// 1RE): English endings always go; the endings that are also plain letters go
// only beside a series, congress, session or year word.
#include <string>

#include "common/runtime.h"
#include "common/utli_misc_non_utf8.h"
#include "marc/record/marc_record.h"
#include "marc/rules/series_tables.h"
#include "marc/rules/series_text.h"

using namespace series_text;
namespace tables = series_tables;

namespace {

bool IsSeriesTestWord(const std::string& w) {
    return InWords(tables::SeriesWordList, w) || InWords(tables::OrdinalTestWords, w);
}

const tables::OrdinalSuffixRow& RowOfDigit(char d) {
    for (const tables::OrdinalSuffixRow& row : tables::OrdinalSuffixRows)
        if (row.Digits.find(d) != std::string_view::npos) return row;
    return tables::OrdinalSuffixRows.back();
}

}  // namespace

std::string Utf8MarcRecordClass::RemoveOrdinalSuffixes(const std::string& sPiece, bool bLastPiece) {
    std::string sRest = sPiece, sOut;
    while (!sRest.empty()) {
        std::string w;
        UtliMiscNonUtf8::SplitOffFirst(sRest, w, " ");
        if (w.size() >= 2 && IsDigit(Ch(w, 1))) {
            const bool bLastPieceRule = !sRest.empty() && !ContainsDigit(sRest) && bLastPiece;
            const size_t i = w.find_first_not_of("0123456789", 1);  // 0-based: the first octet of the ending
            if (i != std::string::npos) {
                const std::string sSuffix = rt::Trim(w.substr(i));
                const tables::OrdinalSuffixRow& row = RowOfDigit(w[i - 1]);
                bool bRemove = InWords(row.Always, sSuffix);
                if (!bRemove) {
                    for (int k = 0; k < row.ListCount; ++k) {
                        const tables::OrdinalSuffixList& list = row.BesideSeriesWord[static_cast<size_t>(k)];
                        if (!InWords(list.Suffixes, sSuffix)) continue;
                        bRemove = IsNextToSeriesWord(sOut, sRest) && !(list.LastPieceRule && bLastPieceRule);
                        break;
                    }
                }
                if (bRemove) w.resize(i);
            }
        }
        sOut += " " + w;
    }
    return rt::Trim(sOut);
}

bool Utf8MarcRecordClass::IsNextToSeriesWord(const std::string& sBefore, const std::string& sAfter) {
    if (!sBefore.empty()) {
        const std::string w = LastWord(*this, rt::Trim(sBefore));
        if (w.size() >= 2 && IsSeriesTestWord(w)) return true;
    }
    if (!sAfter.empty()) {
        const std::string w = FirstWord(rt::Trim(sAfter));
        if (w.size() >= 2 && IsSeriesTestWord(w)) return true;
    }
    return false;
}
