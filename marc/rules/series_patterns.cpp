// Series numbering patterns: a numbering reduced to its shape, numbers as
// "0" and a Roman numeral as "R". The first pattern works on the normal form,
// the second on the text as written, with capitals standing alone as "A".
#include <string>

#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "marc/rules/series_tables.h"
#include "marc/rules/series_text.h"

using namespace series_text;
namespace tables = series_tables;

namespace {

// Puts the record's normalization scheme back however the guarded step ends.
class SchemeGuard {
public:
    SchemeGuard(Utf8MarcRecordClass& record) : record_(record), saved_(record.NormalizationScheme()) {}
    ~SchemeGuard() {
        try {
            record_.NormalizationScheme(saved_);
        } catch (...) {
            // The saved letter was accepted when it was set; nothing to put back otherwise.
        }
    }
    SchemeGuard(const SchemeGuard&) = delete;
    SchemeGuard& operator=(const SchemeGuard&) = delete;

private:
    Utf8MarcRecordClass& record_;
    std::string saved_;
};

void CutEnd(std::string& s, size_t n) { s.resize(s.size() - std::min(n, s.size())); }

// Joins numbers: every listed pair loses its first characters until none is left.
void JoinNumbers(std::string& t, const tables::PatternCaption& join) {
    for (size_t at = t.find(join.Caption); at != std::string::npos; at = t.find(join.Caption))
        t.erase(at, static_cast<size_t>(join.Length));
}

}  // namespace

std::string Utf8MarcRecordClass::ReduceSeriesNumberingToPattern1(const std::string& sSeriesNumbering) {
    std::string t;
    if (m.RecordIsUtf8) {
        SchemeGuard guard(*this);
        NormalizationScheme("V");
        t = rt::Trim(NormString(sSeriesNumbering, true, "V"));
    } else {
        t = rt::Trim(NormString(sSeriesNumbering, true, "V"));
    }
    if (t.empty()) return "";
    for (const tables::PatternCaption& caption : tables::Pattern1Captions) {
        if (!StartsWith(t, caption.Caption)) continue;
        t = rt::Trim(t.substr(static_cast<size_t>(caption.Length)));
        break;
    }
    if (EndsWith(t, tables::Pattern1Etc)) {
        CutEnd(t, tables::Pattern1Etc.size());
        t = rt::Trim(t);
    }
    for (int32_t i = static_cast<int32_t>(t.size()); i >= 1; --i)
        if (IsDigit(Ch(t, i))) t = SafeStuff(t, i, 1, "0");
    JoinNumbers(t, tables::PatternJoins[0]);
    t = RemoveRepeatedCharacters(t, "0");
    if (t.size() > tables::Pattern1Etc.size() && EndsWith(t, tables::Pattern1Etc)) CutEnd(t, tables::Pattern1Etc.size());
    return IsThisARomanNumeral(t) ? "R" : t;
}

std::string Utf8MarcRecordClass::ReduceSeriesNumberingToPattern2(const std::string& sSeriesNumbering) {
    std::string t = sSeriesNumbering;
    const std::string U = SafeUCase(sSeriesNumbering);
    if (EndsWith(U, tables::Pattern2Etc)) {
        CutEnd(t, tables::Pattern2Etc.size() - 1);
        t = rt::Trim(t);
        if (EndsWith(t, ",")) t = rt::Trim(t.substr(0, t.size() - 1));
    }
    for (const tables::PatternCaption& caption : tables::Pattern2Captions) {
        if (!StartsWith(U, caption.Caption)) continue;
        t = rt::Trim(rt::Mid(t, caption.Length + 1));
        break;
    }
    if (IsThisARomanNumeral(t)) return "R";

    if (m.RecordIsUtf8) {
        // Whole characters from the first; the shared character object ends on
        // the last character examined.
        Utf8CharClass& chars = SharedChar();
        auto categoryAt = [&](size_t i, size_t length) {
            chars.Utf8Char(t.substr(i, length));
            return chars.Utf8CharCategory();
        };
        auto lengthAt = [&](size_t i) {
            return std::max<size_t>(1, std::min<size_t>(static_cast<size_t>(CharStepAt(t, i)), t.size() - i));
        };
        for (size_t i = 0; i < t.size();) {
            const size_t length = lengthAt(i);
            const std::string sCategory = categoryAt(i, length);
            if (sCategory == "Nd" || sCategory == "Nl" || sCategory == "No") {
                t.replace(i, length, "0");
                i += 1;
                continue;
            }
            if (sCategory == "Lu" || sCategory == "Lt") {
                bool bAlone = true;
                if (i > 0) {
                    const size_t previous = static_cast<size_t>(
                        chars.Utf8CharFindFirstOctet(t, static_cast<int32_t>(i)) - 1);
                    bAlone = categoryAt(previous, lengthAt(previous)) != "Ll";
                }
                if (bAlone && i + length < t.size())
                    bAlone = categoryAt(i + length, lengthAt(i + length)) != "Ll";
                chars.Utf8Char(t.substr(i, length));
                if (bAlone) {
                    t.replace(i, length, "A");
                    i += 1;
                    continue;
                }
            }
            i += length;
        }
    } else {
        const int64_t n = static_cast<int64_t>(t.size());
        for (int64_t i = n; i >= 1; --i) {
            if (!OneOf(Ch(t, i), m.AsciiUpper)) continue;
            bool bAlone;
            if (i == 1) {
                bAlone = n == 1 || CharCategory(t.substr(1, 1)) != "Ll";
            } else {
                bAlone = !OneOf(Ch(t, i - 1), m.AsciiLower) && (i == n || !OneOf(Ch(t, i + 1), m.AsciiLower));
            }
            if (bAlone) t[static_cast<size_t>(i - 1)] = 'A';
        }
        for (char& c : t)
            if (IsDigit(static_cast<unsigned char>(c))) c = '0';
    }

    for (const tables::PatternCaption& join : tables::PatternJoins) JoinNumbers(t, join);
    t = RemoveRepeatedCharacters(t, "0");
    t = RemoveRepeatedCharacters(t, "A");
    if (EndsWith(t, "A.")) t = rt::Trim(t.substr(0, t.size() - 1));
    if (EndsWith(t, "0.")) t = rt::Trim(t.substr(0, t.size() - 1));
    return t;
}
