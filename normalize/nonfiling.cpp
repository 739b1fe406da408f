// Nonfiling characters: the leading words of a heading that filing skips,
// given either by a nonsort zone (the text between the nonsort-begin and
// nonsort-end markers) or by a count in one of the field's indicators.
#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/runtime.h"
#include "marc/record/marc_record.h"

namespace {

constexpr char kDelimiter = '\x1F';

// One tag whose indicator (1 or 2) holds its count of nonfiling characters.
struct NonfilingIndicator {
    std::string_view Tag;
    int Indicator;
};

constexpr std::array<NonfilingIndicator, 3> kAuthorityIndicators{{{"130", 2}, {"430", 2}, {"530", 2}}};
constexpr std::array<NonfilingIndicator, 10> kBibliographicIndicators{{{"130", 1},
                                                                       {"240", 2},
                                                                       {"242", 2},
                                                                       {"243", 2},
                                                                       {"245", 2},
                                                                       {"440", 2},
                                                                       {"630", 1},
                                                                       {"730", 1},
                                                                       {"740", 1},
                                                                       {"830", 2}}};
constexpr std::array<NonfilingIndicator, 5> kQIndicators{
    {{"245", 2}, {"440", 2}, {"630", 1}, {"730", 1}, {"740", 1}}};

constexpr bool AllThreeCharacterTags(std::span<const NonfilingIndicator> row) {
    for (const NonfilingIndicator& entry : row)
        if (entry.Tag.size() != 3) return false;
    return true;
}
static_assert(AllThreeCharacterTags(kAuthorityIndicators) && AllThreeCharacterTags(kBibliographicIndicators) &&
              AllThreeCharacterTags(kQIndicators));

// (Looked up for the first $a of every field a load adds, so the letters and
// tags are compared octet by octet in place.)
std::span<const NonfilingIndicator> IndicatorRow(const std::string& sRecordType) {
    if (sRecordType.size() != 1) return {};
    switch (sRecordType[0]) {
        case 'A': return kAuthorityIndicators;
        case 'B': case 'D': case 'F': case 'M': case 'P': case 'S': case 'U': return kBibliographicIndicators;
        case 'Q': return kQIndicators;
        default: return {};
    }
}

// The indicator of the tag's entry, 0 when the row has none. Tags match whole
// entries, so an empty or partial tag matches nothing.
int NonfilingIndicatorOf(std::span<const NonfilingIndicator> row, const std::string& sTag) {
    if (sTag.size() != 3) return 0;  // every entry's tag has three characters
    for (const NonfilingIndicator& entry : row)
        if (entry.Tag[0] == sTag[0] && entry.Tag[1] == sTag[1] && entry.Tag[2] == sTag[2]) return entry.Indicator;
    return 0;
}

bool StartsAt(const std::string& s, size_t at, const std::string& marker) {
    return !marker.empty() && at < s.size() && s.compare(at, marker.size(), marker) == 0;
}

// Whether s holds either marker; two markers that open with the same octet
// (the UTF-8 ones) are looked for in one pass.
bool HoldsEither(std::string_view s, std::string_view a, std::string_view b) {
    if (a.empty() || b.empty() || a[0] != b[0])
        return s.find(a) != std::string_view::npos || s.find(b) != std::string_view::npos;
    for (size_t at = s.find(a[0]); at != std::string_view::npos; at = s.find(a[0], at + 1)) {
        const std::string_view rest = s.substr(at);
        if (rest.starts_with(a) || rest.starts_with(b)) return true;
    }
    return false;
}

}  // namespace

bool Utf8MarcRecordClass::HasNonsortMarker(const std::string& sText) {
    Utf8CharClass& chars = SharedChar();
    if (m.RecordIsUtf8) return HoldsEither(sText, chars.Utf8NonSortBegin(), chars.Utf8NonSortEnd());
    return sText.find(chars.MarcNonSortBegin()) != std::string::npos ||
           sText.find(chars.MarcNonSortEnd()) != std::string::npos;
}

bool Utf8MarcRecordClass::NonfilingMayApply(const std::string& sRecordType, const std::string& sTag,
                                            const std::string& sField) {
    return NonfilingIndicatorOf(IndicatorRow(sRecordType), sTag) > 0 || HasNonsortMarker(sField);
}

bool Utf8MarcRecordClass::NonfilingChangesText(const std::string& sRecordType, const std::string& sTag,
                                               const std::string& sIndicators, const std::string& sField) {
    // Without a marker the removal cuts only a count of 1 to 9 that the
    // tag's indicator holds.
    const size_t at = static_cast<size_t>(NonfilingIndicatorOf(IndicatorRow(sRecordType), sTag)) - 1;
    if (at < sIndicators.size() && sIndicators[at] >= '1' && sIndicators[at] <= '9') return true;
    return HasNonsortMarker(sField);
}

bool Utf8MarcRecordClass::RemoveNonfilingZone(std::string& sTextIn) {
    Utf8CharClass& chars = SharedChar();
    const std::string sBegin = m.RecordIsUtf8 ? chars.Utf8NonSortBegin() : chars.MarcNonSortBegin();
    const std::string sEnd = m.RecordIsUtf8 ? chars.Utf8NonSortEnd() : chars.MarcNonSortEnd();
    bool bRemoved = false;
    // From the last octet to the first; the text may shrink behind b.
    for (size_t b = sTextIn.size(); b-- > 0;) {
        if (StartsAt(sTextIn, b, sBegin)) {
            bRemoved = true;
            const size_t from = b + sBegin.size();
            const size_t delimiter = sTextIn.find(kDelimiter, from);
            const size_t end = sTextIn.find(sEnd, from);
            if (delimiter != std::string::npos && (end == std::string::npos || delimiter < end)) {
                // A zone runs no further than its subfield.
                sTextIn.erase(b, delimiter - b);
            } else if (end != std::string::npos) {
                sTextIn.erase(b, end + sEnd.size() - b);
                // The zone opened the text, or the text after a delimiter and code.
                if (b == 0 || b == 2) sTextIn = UCaseFirstWord(sTextIn, false);
            } else {
                sTextIn.resize(b);
            }
        } else if (StartsAt(sTextIn, b, sEnd)) {
            // An end marker with no begin marker after it: the zone's start is
            // the nearer of the subfield's start and a begin marker before it.
            size_t i = b;
            bool bDelimiter = false, bBegin = false;
            while (i-- > 0) {
                if (sTextIn[i] == kDelimiter) {
                    bDelimiter = true;
                    break;
                }
                if (StartsAt(sTextIn, i, sBegin)) {
                    bBegin = true;
                    break;
                }
            }
            if (bBegin) continue;  // removed when the walk reaches that marker
            // After the delimiter and its code, yet never past the marker.
            const size_t start = bDelimiter ? std::min(i + 2, b) : 0;
            sTextIn.erase(start, b + sEnd.size() - start);
            sTextIn = UCaseFirstWord(sTextIn, false);
            bRemoved = true;
        }
    }
    return bRemoved;
}

std::string Utf8MarcRecordClass::RemoveNonfilingCharacters(const std::string& sRecordType, const std::string& sTag,
                                                           std::string& sIndicators, const std::string& sField,
                                                           bool bUppercaseFirstWord) {
    const std::span<const NonfilingIndicator> row = IndicatorRow(sRecordType);
    const int iIndicator = NonfilingIndicatorOf(row, sTag);
    const size_t at = static_cast<size_t>(iIndicator) - 1;  // meaningful only with iIndicator > 0
    const bool bHasIndicator = iIndicator > 0 && at < sIndicators.size();

    // A zone, where there is one, decides; the count is then not applied.
    // Text without a marker is not copied to look for one.
    if (HasNonsortMarker(sField)) {
        std::string sCopy = sField;
        if (RemoveNonfilingZone(sCopy)) {
            if (bHasIndicator && sIndicators[at] >= '1' && sIndicators[at] <= '9') sIndicators[at] = '0';
            return sCopy;
        }
    }

    if (iIndicator == 0) return sField;
    // The count; the indicator comes back "0" whatever it held.
    int n = 0;
    if (bHasIndicator) {
        if (rt::IsAsciiDigit(sIndicators[at])) n = sIndicators[at] - '0';
        sIndicators[at] = '0';
    }
    if (n == 0) return sField;

    // A whole field text keeps everything through the code of its first $a.
    const size_t firstA = sField.find("\x1F" "a");
    const size_t textStart = firstA == std::string::npos ? 0 : firstA + 2;
    size_t cut = textStart;
    for (int i = 0; i < n && cut < sField.size(); ++i) {
        const size_t step =
            m.RecordIsUtf8 ? static_cast<size_t>(SharedChar().Utf8CharOctets(sField.substr(cut, 1))) : 1;
        cut = std::min(cut + step, sField.size());
    }
    std::string sText = sField.substr(cut);
    if (bUppercaseFirstWord) sText = UCaseFirstWord(sText, false);
    return sField.substr(0, textStart) + sText;
}
