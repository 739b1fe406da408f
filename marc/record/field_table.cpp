// The field table: adding a field and placing it by its order key, the two
// insertions next to the current field, the rewrite of the current field in
// place or by a move, deletion, shifts, the accessors of the current field,
// the change of 008 values, and the order switches that placement reads.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "marc/record/subfield_walk.h"
#include "platform/events.h"

namespace {

constexpr char kDelimiter = '\x1F';

bool IsControlTag(const std::string& sTag) { return sTag.compare(0, 2, "00") == 0 && sTag.size() >= 2; }

bool IsIndicator(char c) { return c == ' ' || rt::IsAsciiDigit(c); }

// A tag tested in place: a library compare per test costs more than the test.
bool TagIs(const std::string& sTag, const char (&sWanted)[4]) {
    return sTag.size() == 3 && sTag[0] == sWanted[0] && sTag[1] == sWanted[1] && sTag[2] == sWanted[2];
}

// Two order keys compared as compare does. Keys of different rules differ
// in their first octets, and a key of one octet ("*") is common: those are
// told apart in place.
int CompareOrderKeys(const std::string& a, const std::string& b) {
    if (!a.empty() && !b.empty()) {
        const auto x = static_cast<unsigned char>(a[0]);
        const auto y = static_cast<unsigned char>(b[0]);
        if (x != y) return x < y ? -1 : 1;
        if (a.size() == 1 && b.size() == 1) return 0;
    }
    return a.compare(b);
}

// The position of the first "$6" of a text, as find would give it. Eight
// pairs of octets are tested at once (a block is read at i and at i + 1, and
// a pair matches where both reads give a zero octet after the exclusive or);
// the first block with a match, and the octets after the last whole block,
// are read one by one.
size_t FindSubfield6(const std::string& sText) {
    constexpr uint64_t kOnes = 0x0101010101010101u;
    constexpr uint64_t kHighs = 0x8080808080808080u;
    const char* const p = sText.data();
    const size_t n = sText.size();
    size_t i = 0;
    for (; i + 9 <= n; i += 8) {
        uint64_t first, second;
        std::memcpy(&first, p + i, 8);
        std::memcpy(&second, p + i + 1, 8);
        const uint64_t both = (first ^ (kOnes * static_cast<unsigned char>(kDelimiter))) | (second ^ (kOnes * '6'));
        if (((both - kOnes) & ~both & kHighs) != 0) break;
    }
    for (; i + 1 < n; ++i)
        if (p[i] == kDelimiter && p[i + 1] == '6') return i;
    return std::string::npos;
}

// The length of a format's 008: padded up to it, and cut down to it except
// where the format's 008 may run longer.
struct Length008 {
    size_t Length;
    bool Cut;
};

Length008 Length008Of(const std::string& sFormat) {
    if (sFormat == "H") return {32, true};
    if (sFormat == "Q") return {15, false};
    if (sFormat == "W") return {14, false};
    return {40, true};
}

}  // namespace

// ---- order switches and results ----

bool Utf8MarcRecordClass::TestFieldOrder() const { return m.TestFieldOrder; }
void Utf8MarcRecordClass::TestFieldOrder(bool vNewValue) { m.TestFieldOrder = vNewValue; }
bool Utf8MarcRecordClass::MakeNoChange() const { return m.MakeNoChange; }
void Utf8MarcRecordClass::MakeNoChange(bool vNewValue) { m.MakeNoChange = vNewValue; }
bool Utf8MarcRecordClass::PreserveLeadingNumericSubfields() const { return m.PreserveLeadingNumericSubfields; }
void Utf8MarcRecordClass::PreserveLeadingNumericSubfields(bool vNewValue) {
    m.PreserveLeadingNumericSubfields = vNewValue;
}
bool Utf8MarcRecordClass::FldsOutOfOrder() const { return m.FldsOutOfOrder; }
bool Utf8MarcRecordClass::MarcRecordModified() const { return m.MarcRecordModified; }

// ---- adding and placing ----

namespace {

// The order key split at the first $6 marker into key and suffix.
void SplitOrderKey(std::string sKey, const std::string& sMarker, std::string& sOrderKey,
                   std::string& sOrderKeySuffix) {
    const size_t at = sKey.find(sMarker);
    if (at == std::string::npos) {
        sOrderKey = std::move(sKey);
        sOrderKeySuffix.clear();
    } else {
        sOrderKeySuffix.assign(sKey, at);
        sKey.resize(at);
        sOrderKey = std::move(sKey);
    }
}

}  // namespace

void Utf8MarcRecordClass::FldAdd(const std::string& sNewTag, const std::string& sNewIndicators,
                                 const std::string& sNewFieldText, bool bForceToFirstPosition) {
    std::string sText = sNewFieldText;
    FldAddOfKind(sNewTag, sNewIndicators, sText, bForceToFirstPosition, FieldKind::ByTag);
}

void Utf8MarcRecordClass::FldAddOfKind(std::string sNewTag, std::string sNewIndicators, std::string& sNewFieldText,
                                       bool bForceToFirstPosition, FieldKind kind) {
    std::string& sTag = sNewTag;
    std::string& sIndicators = sNewIndicators;
    std::string& sText = sNewFieldText;

    // A linked copy given under its partner's tag is an 880; a control field
    // of known kind (a local tag's text held as read) has no linkage.
    if (kind != FieldKind::Control && !TagIs(sTag, "880")) {
        const size_t at = FindSubfield6(sText);
        if (at != std::string::npos && sText.compare(at + 2, 3, sTag) == 0) sTag = "880";
    }
    bool bPairing = false;
    if (TagIs(sTag, "880")) {
        const std::string& f = m.MarcRecordFormat;
        if (f == "A") bPairing = m.FldOrderPairedAuth;
        else if (f.size() == 1 && rt::InStr("BDFMPSU", f) > 0) bPairing = m.FldOrderPairedBib;
        else bPairing = m.FldOrderPairedHold;
    }
    // A caller's tag is three digits and a second 008 changes the first; a
    // field of known kind keeps its tag, and a second 008 is a field of its own.
    if (kind == FieldKind::ByTag) {
        if (TagIs(sTag, "008") && m.Fld008Pointer >= 0) {
            Change008Value(0, sText);
            return;
        }
        if (!IsDigitTag(sTag)) return;
    } else if (!IsLoadableTag(sTag)) {
        return;
    }
    const bool bControl = kind == FieldKind::ByTag ? IsControlTag(sTag) : kind == FieldKind::Control;
    // A data field's text that does not begin with a subfield gets "$a" in
    // front; the key is made of the text as given.
    std::string sPrefixed;
    const bool bPrefix = !bControl && !sText.empty() && sText[0] != kDelimiter;
    if (bPrefix) {
        sPrefixed.reserve(sText.size() + 2);
        sPrefixed += kDelimiter;
        sPrefixed += 'a';
        sPrefixed += sText;
    }
    // A text that needs more subfields than a field can hold adds nothing
    // (counted on the text as it will be split).
    if (!bControl) FldRaiseIfTooManySubfields(sTag, bPrefix ? sPrefixed : sText);

    // The key loads the tag's subfield-order rule; only the yield of the
    // other formats' keys (or a key of the tests) may run code after that.
    const bool bKeyMayYield = KeyMayRunCode();
    std::string sKey = FldOrderKey(sTag, sIndicators, sText);
    if (bKeyMayYield) SfdOrderLoad(sTag);
    const bool bTextGiven = !sText.empty();

    if (bControl) {
        sIndicators.clear();
        // A caller's control text loses a leading delimiter and code; a field
        // of known kind keeps its text as read.
        if (kind == FieldKind::ByTag && !sText.empty() && sText[0] == kDelimiter)
            sText.erase(0, std::min<size_t>(2, sText.size()));
        if (TagIs(sTag, "008")) {
            const Length008 length = Length008Of(m.MarcRecordFormat);
            if (sText.size() < length.Length) sText.append(length.Length - sText.size(), ' ');
            else if (length.Cut) sText.resize(length.Length);
        }
    } else {
        sIndicators.resize(2, ' ');
        for (char& c : sIndicators)
            if (!IsIndicator(c)) c = ' ';
        if (bPrefix) sText = std::move(sPrefixed);
    }

    const bool bKeysSorted = FldKeysSorted();
    const int16_t n = NewFieldSlot();
    FieldEntry& entry = m.Fields[static_cast<size_t>(n)];
    entry.Tag = sTag;
    entry.Indicators = std::move(sIndicators);
    entry.IsControl = bControl;
    entry.Changed = true;
    SplitOrderKey(std::move(sKey), m.Subfield6Marker, entry.OrderKey, entry.OrderKeySuffix);

    FldPointer(n);
    if (TagIs(sTag, "008") && m.Fld008Pointer < 0) m.Fld008Pointer = n;

    if (m.FldCount == 1) {
        m.FldFirst = n;
        m.FldLast = n;
        FldKeysSortedAround(n, true);
    } else {
        entry.PrevField = m.FldLast;
        m.Fields[static_cast<size_t>(m.FldLast)].NextField = n;
        m.FldLast = n;
        FldPlace(n, sTag, bPairing, bForceToFirstPosition, bKeysSorted);
        FldKeysSortedAround(n, bKeysSorted);
    }
    if (bTextGiven) FldSplitText(n, sText);
}

void Utf8MarcRecordClass::FldAddGeneric(const std::string& sNewTag, const std::string& sNewIndicators,
                                        const std::string& sNewFieldText, int16_t /*iForceTagLength*/) {
    FldAdd(sNewTag, sNewIndicators, sNewFieldText, false);
}

bool Utf8MarcRecordClass::FldKeysSorted() const {
    return m.FldKeysSortedCount == m.FldCount && m.FldKeysSortedLast == m.FldLast;
}

void Utf8MarcRecordClass::FldKeysSortedAround(int16_t n, bool bWasSorted) {
    const FieldEntry& entry = m.Fields[static_cast<size_t>(n)];
    const auto keyOf = [this](int16_t i) -> const std::string& { return m.Fields[static_cast<size_t>(i)].OrderKey; };
    const bool bSorted = bWasSorted &&
                         (entry.PrevField < 0 || CompareOrderKeys(keyOf(entry.PrevField), entry.OrderKey) <= 0) &&
                         (entry.NextField < 0 || CompareOrderKeys(entry.OrderKey, keyOf(entry.NextField)) <= 0);
    m.FldKeysSortedLast = m.FldLast;
    m.FldKeysSortedCount = bSorted ? m.FldCount : int16_t{-1};
}

int16_t Utf8MarcRecordClass::FldPlaceStart(int16_t n, bool bKeysSorted, bool bEqualToo) const {
    if (!bKeysSorted) return m.FldFirst;
    const std::string& sKey = m.Fields[static_cast<size_t>(n)].OrderKey;
    int16_t start = -1;
    for (int16_t c = m.Fields[static_cast<size_t>(n)].PrevField; c >= 0;) {
        const FieldEntry& field = m.Fields[static_cast<size_t>(c)];
        const int iCompare = CompareOrderKeys(field.OrderKey, sKey);
        if (iCompare < 0 || (iCompare == 0 && !bEqualToo)) break;
        start = c;
        c = field.PrevField;
    }
    return start;
}

void Utf8MarcRecordClass::FldPlace(int16_t n, const std::string& sTag, bool bPairing, bool bForceToFirstPosition,
                                   bool bKeysSorted) {
    const std::string& sKey = m.Fields[static_cast<size_t>(n)].OrderKey;
    const std::string& sSuffix = m.Fields[static_cast<size_t>(n)].OrderKeySuffix;
    // Entries with a smaller key go on in every case below, so the walks may
    // start where such entries end.

    if (!sSuffix.empty()) {
        // A linked field: by key, then by the linkage of its suffix; an 880
        // goes right after its partner, and after the fields of an equal
        // linkage that are already there.
        for (int16_t c = FldPlaceStart(n, bKeysSorted, true); c >= 0 && c != n;
             c = m.Fields[static_cast<size_t>(c)].NextField) {
            const FieldEntry& field = m.Fields[static_cast<size_t>(c)];
            if (field.OrderKey == sKey) {
                if (field.OrderKeySuffix == sSuffix) continue;
                if (!field.OrderKeySuffix.empty() && sSuffix.compare(0, field.OrderKeySuffix.size(),
                                                                     field.OrderKeySuffix) == 0) {
                    FldLinkAfter(n, c);
                    return;
                }
                if (!field.OrderKeySuffix.empty() && field.OrderKeySuffix > sSuffix) {
                    FldMoveBefore(n, c);
                    m.MarcRecordModified = true;
                    m.FldOrderChanged = true;
                    return;
                }
            } else if (field.OrderKey > sKey) {
                FldMoveBefore(n, c);
                m.MarcRecordModified = true;
                m.FldOrderChanged = true;
                return;
            }
        }
        return;
    }

    if (bPairing && TagIs(sTag, "880")) {
        // A paired 880 without linkage follows the first live unlinked field
        // of its key, and the fields of that key after it.
        for (int16_t c = FldPlaceStart(n, bKeysSorted, true); c >= 0 && c != n;
             c = m.Fields[static_cast<size_t>(c)].NextField) {
            const FieldEntry& field = m.Fields[static_cast<size_t>(c)];
            if (field.OrderKey == sKey && !field.Deleted && field.OrderKeySuffix.empty()) {
                FldLinkAfter(n, c);
                return;
            }
        }
        return;
    }

    for (int16_t c = FldPlaceStart(n, bKeysSorted, bForceToFirstPosition); c >= 0 && c != n;
         c = m.Fields[static_cast<size_t>(c)].NextField) {
        const FieldEntry& field = m.Fields[static_cast<size_t>(c)];
        if ((sKey < field.OrderKey && !field.Deleted) || (bForceToFirstPosition && sKey == field.OrderKey)) {
            if (m.TestFieldOrder && !m.MakeNoChange) {
                FldMoveBefore(n, c);
                m.MarcRecordModified = true;
                m.FldOrderChanged = true;
            } else {
                m.FldsOutOfOrder = true;
            }
            return;
        }
    }
}

void Utf8MarcRecordClass::FldMoveBefore(int16_t n, int16_t c) {
    FieldEntry& entry = m.Fields[static_cast<size_t>(n)];
    // Off the tail.
    m.FldLast = entry.PrevField;
    m.Fields[static_cast<size_t>(m.FldLast)].NextField = -1;
    // Between c's predecessor and c.
    FieldEntry& before = m.Fields[static_cast<size_t>(c)];
    entry.PrevField = before.PrevField;
    entry.NextField = c;
    if (before.PrevField >= 0) m.Fields[static_cast<size_t>(before.PrevField)].NextField = n;
    else m.FldFirst = n;
    before.PrevField = n;
}

void Utf8MarcRecordClass::FldLinkAfter(int16_t n, int16_t c) {
    FieldEntry& entry = m.Fields[static_cast<size_t>(n)];
    // Fields of an equal key and linkage keep the order they came in.
    const FieldEntry& partner = m.Fields[static_cast<size_t>(c)];
    for (int16_t e = partner.NextField; e >= 0 && e != n; e = m.Fields[static_cast<size_t>(e)].NextField) {
        const FieldEntry& field = m.Fields[static_cast<size_t>(e)];
        if (field.OrderKey != entry.OrderKey ||
            (field.OrderKeySuffix != partner.OrderKeySuffix && field.OrderKeySuffix != entry.OrderKeySuffix))
            break;
        c = e;
    }
    if (entry.PrevField == c) return;
    m.FldLast = entry.PrevField;
    m.Fields[static_cast<size_t>(m.FldLast)].NextField = -1;
    FieldEntry& after = m.Fields[static_cast<size_t>(c)];
    entry.PrevField = c;
    entry.NextField = after.NextField;
    if (after.NextField >= 0) m.Fields[static_cast<size_t>(after.NextField)].PrevField = n;
    else m.FldLast = n;
    after.NextField = n;
}

// ---- insertions ----

void Utf8MarcRecordClass::FldInsert(const std::string& sNewTag, const std::string& sNewInd,
                                    const std::string& sNewFieldText, bool bBefore) {
    if (m.FldCount == 0 || (sNewTag == "880" && FindSubfield6(sNewFieldText) != std::string::npos)) {
        FldAdd(sNewTag, sNewInd, sNewFieldText, false);
        return;
    }
    if (sNewTag == "008" && m.Fld008Pointer >= 0) {
        Change008Value(0, sNewFieldText);
        return;
    }
    if (!IsDigitTag(sNewTag)) return;

    std::string sInd = sNewInd;
    std::string sText = sNewFieldText;
    const bool bControl = IsControlTag(sNewTag);
    if (bControl) {
        sInd.clear();
        if (!sText.empty() && sText[0] == kDelimiter) sText.erase(0, std::min<size_t>(2, sText.size()));
    } else {
        if (!sInd.empty() && (sInd.size() != 2 || !IsIndicator(sInd[0]) || !IsIndicator(sInd[1]))) return;
        if (!sText.empty() && sText[0] != kDelimiter) sText = std::string(1, kDelimiter) + "a" + sText;
        FldRaiseIfTooManySubfields(sNewTag, sText);
    }

    if (CurrentField() < 0) FldMoveLast(true);
    const int16_t c = CurrentField();
    if (c < 0) {
        // Every field is deleted: nothing to stand next to.
        FldAdd(sNewTag, sInd, sText, false);
        return;
    }

    const std::string sKey = FldOrderKey(sNewTag, sInd, sText);
    const bool bKeysSorted = FldKeysSorted();
    const int16_t n = NewFieldSlot();
    FieldEntry& entry = m.Fields[static_cast<size_t>(n)];
    entry.Tag = sNewTag;
    entry.Indicators = sInd;
    entry.IsControl = bControl;
    SplitOrderKey(sKey, m.Subfield6Marker, entry.OrderKey, entry.OrderKeySuffix);
    if (sNewTag == "008") m.Fld008Pointer = n;

    const FieldEntry& current = m.Fields[static_cast<size_t>(c)];
    const std::string& k = entry.OrderKey;
    bool bFits;
    int16_t prev, next;
    if (bBefore) {
        prev = current.PrevField;
        next = c;
        bFits = (prev < 0 || m.Fields[static_cast<size_t>(prev)].OrderKey <= k) && k <= current.OrderKey;
    } else {
        prev = c;
        next = current.NextField;
        bFits = current.OrderKey <= k && (next < 0 || k <= m.Fields[static_cast<size_t>(next)].OrderKey);
    }

    if (!bFits) {
        // Give the entry up and add the field in order instead.
        m.FldCount = static_cast<int16_t>(m.FldCount - 1);
        m.Fields.resize(static_cast<size_t>(m.FldCount) + 1);
        m.Fields[static_cast<size_t>(m.FldCount)].Recycle();
        if (bKeysSorted) m.FldKeysSortedCount = m.FldCount;
        if (sNewTag == "008") m.Fld008Pointer = -1;
        FldAdd(sNewTag, sInd, sText, false);
        return;
    }

    entry.PrevField = prev;
    entry.NextField = next;
    if (prev >= 0) m.Fields[static_cast<size_t>(prev)].NextField = n;
    else m.FldFirst = n;
    if (next >= 0) m.Fields[static_cast<size_t>(next)].PrevField = n;
    else m.FldLast = n;
    FldKeysSortedAround(n, bKeysSorted);
    FldPointer(n);
    if (!sText.empty()) FldSplitText(n, sText);
}

void Utf8MarcRecordClass::FldInsertBefore(const std::string& sNewTag, const std::string& sNewInd,
                                          const std::string& sNewFieldText) {
    FldInsert(sNewTag, sNewInd, sNewFieldText, true);
}

void Utf8MarcRecordClass::FldInsertAfter(const std::string& sNewTag, const std::string& sNewInd,
                                         const std::string& sNewFieldText) {
    FldInsert(sNewTag, sNewInd, sNewFieldText, false);
}

// ---- the rewrite ----

void Utf8MarcRecordClass::FldReplace(const std::string& sNewTag, const std::string& sNewIndicators,
                                     const std::string& sNewFieldText) {
    const int16_t fld = CurrentField();
    if (fld < 0) return;
    // A tag that is not three digits changes nothing, in place or by a move,
    // unless the field carries it already (a loaded field keeps its tag).
    const std::string& sCurrentTag = m.Fields[static_cast<size_t>(fld)].Tag;
    if (!sNewTag.empty() && !IsDigitTag(sNewTag) && sNewTag != sCurrentTag) return;
    // An empty tag keeps tag, indicators and text; key, rule and carried
    // subfields are then formed from those, so nothing is carried twice.
    const bool bKeep = sNewTag.empty();
    const std::string sTag = bKeep ? FldTag() : sNewTag;
    const std::string sIndicators = bKeep ? FldInd() : sNewIndicators;
    std::string sText = bKeep ? FldText() : sNewFieldText;
    // A digit tag says whether the field is a control field; any other tag
    // keeps the kind the field has.
    const bool bControl = IsDigitTag(sTag) ? IsControlTag(sTag) : m.Fields[static_cast<size_t>(fld)].IsControl;
    // A data field's text begins with a subfield, as FldAdd makes it.
    if (!bControl && !sText.empty() && sText[0] != kDelimiter) sText.insert(sText.begin(), {kDelimiter, 'a'});

    const int16_t iSfdPointer = m.SfdPointer;
    std::string sCarried;
    if (m.PreserveLeadingNumericSubfields) {
        // The live numeric subfields at the head of the field that the new
        // text lacks are carried to its end.
        SfdMoveTop();
        while (SfdMoveNext()) {
            const std::string sCode = SfdCode();
            if (sCode > "9") break;
            if (sCode.size() == 1 && rt::IsAsciiDigit(sCode[0]) && !SfdDeleted() &&
                sText.find(std::string(1, kDelimiter) + sCode) == std::string::npos)
                sCarried += std::string(1, kDelimiter) + sCode + SfdText();
        }
        SfdPointer(iSfdPointer);
    }
    // A text that needs more subfields than a field can hold changes nothing.
    if (!bControl) {
        if (sCarried.empty()) FldRaiseIfTooManySubfields(sTag, sText);
        else FldRaiseIfTooManySubfields(sTag, sText + sCarried);
    }

    std::string sProbeKey;
    std::string sProbeSuffix;
    // As in FldAddOfKind: the key loads the tag's rule.
    const bool bKeyMayYield = KeyMayRunCode();
    SplitOrderKey(FldOrderKey(sTag, sIndicators, sText), m.Subfield6Marker, sProbeKey, sProbeSuffix);
    if (bKeyMayYield) SfdOrderLoad(sTag);
    FldChanged(true);
    sText += sCarried;

    FieldEntry& entry = m.Fields[static_cast<size_t>(fld)];
    bool bInPlace;
    if (FindSubfield6(sText) != std::string::npos) {
        entry.OrderKeySuffix = sProbeSuffix;
        bInPlace = true;
    } else if (sProbeKey == entry.OrderKey && sProbeSuffix == entry.OrderKeySuffix) {
        bInPlace = true;
    } else {
        const bool bSuffixes = sProbeSuffix == entry.OrderKeySuffix || sProbeSuffix.empty() ||
                               entry.OrderKeySuffix.empty();
        const int16_t prev = FldPrevPointer();
        const int16_t next = FldNextPointer();
        const bool bFits = (prev < 0 || m.Fields[static_cast<size_t>(prev)].OrderKey <= sProbeKey) &&
                           (next < 0 || sProbeKey <= m.Fields[static_cast<size_t>(next)].OrderKey);
        bInPlace = bSuffixes && bFits;
    }

    if (bInPlace) {
        entry.FirstSubfield = -1;
        entry.LastSubfield = -1;
        entry.SubfieldTop = -1;
        if (fld == m.Fld008Pointer && sTag != "008") m.Fld008Pointer = -1;
        entry.Tag = sTag;
        const bool bKeysSorted = FldKeysSorted();
        entry.OrderKey = sProbeKey;
        FldKeysSortedAround(fld, bKeysSorted);
        entry.IsControl = bControl;
        if (bControl) entry.Indicators.clear();
        else {
            entry.Indicators = sIndicators;
            entry.Indicators.resize(2, ' ');
        }
        FldSplitText(fld, sText);
        if (sTag == "008") m.Fld008Pointer = fld;
    } else {
        const bool bWasControl = entry.IsControl;
        FldDelete();
        const FieldKind kind = IsDigitTag(sTag) ? FieldKind::ByTag : bControl ? FieldKind::Control : FieldKind::Data;
        FldAddOfKind(sTag, bWasControl ? std::string() : sIndicators, sText, false, kind);
    }
    SfdPointer(iSfdPointer);
}

void Utf8MarcRecordClass::FldChange(const std::string& sTag, const std::string& sIndicators,
                                    const std::string& sField) {
    if (CurrentField() >= 0) FldReplace(sTag, sIndicators, sField);
}

void Utf8MarcRecordClass::FldReset(const std::string& sTag, const std::string& sIndicators,
                                   const std::string& sField) {
    FldChange(sTag, sIndicators, sField);
}

// ---- the current field's text ----

namespace {

// The field's first subfield in list order, or none.
const SubfieldEntry* FirstSubfieldOf(const FieldEntry& field) {
    const int16_t i = field.FirstSubfield;
    if (i < 0 || i > field.SubfieldTop || static_cast<size_t>(i) >= field.Subfields.size()) return nullptr;
    return &field.Subfields[static_cast<size_t>(i)];
}

// Delimiter, code and text of every live subfield in list order whose code
// passes the test; a broken link gives "".
template <class KeepCode>
std::string JoinSubfields(const FieldEntry& field, KeepCode keep) {
    // One allocation: the length of every live subfield the links reach.
    size_t iLength = 0;
    const SubfieldWalk end = WalkLiveSubfields(field, [&](const SubfieldEntry& sfd) {
        iLength += 1 + sfd.Code.size() + sfd.Text.size();
        return true;
    });
    if (end == SubfieldWalk::Broken) return "";
    std::string sText;
    sText.reserve(iLength);
    WalkLiveSubfields(field, [&](const SubfieldEntry& sfd) {
        if (keep(sfd.Code)) {
            sText += kDelimiter;
            sText += sfd.Code;
            sText += sfd.Text;
        }
        return true;
    });
    return sText;
}

}  // namespace

std::string Utf8MarcRecordClass::FldText() const {
    const int16_t fld = CurrentField();
    if (fld < 0) return "";
    const FieldEntry& field = m.Fields[static_cast<size_t>(fld)];
    if (field.IsControl) {
        // A control field whose subfield was deleted reads empty, as a data
        // field does.
        const SubfieldEntry* sfd = FirstSubfieldOf(field);
        return sfd == nullptr || sfd->Deleted ? std::string() : sfd->Text;
    }
    return JoinSubfields(field, [](const std::string&) { return true; });
}

void Utf8MarcRecordClass::FldText(const std::string& vNewValue) {
    if (CurrentField() < 0) return;
    if (vNewValue.empty()) {
        SfdMoveFirst();
        do {
            SfdDelete(true);
        } while (SfdMoveNext());
        return;
    }
    std::string sValue = vNewValue;
    if (sValue[0] != kDelimiter && !FldIsControl()) sValue = std::string(1, kDelimiter) + "a" + sValue;
    FldReplace(FldTag(), FldInd(), sValue);
}

std::string Utf8MarcRecordClass::FldTextWithOnlyCertainSubfields(const std::string& sSubfieldsToInclude,
                                                                 const std::string& sSubfieldsToExclude) const {
    const std::string sInclude =
        sSubfieldsToInclude.empty() ? "0123456789abcdefghijklmnopqrstuvwxyz" : sSubfieldsToInclude;
    return FldTextWithoutCertainSubfields(sSubfieldsToExclude, &sInclude);
}

std::string Utf8MarcRecordClass::FldTextWithoutCertainSubfields(const std::string& sSubfieldsToExclude,
                                                                const std::string* pInclude) const {
    const int16_t fld = CurrentField();
    if (fld < 0) return "";
    const FieldEntry& field = m.Fields[static_cast<size_t>(fld)];
    if (field.IsControl) {
        const SubfieldEntry* sfd = FirstSubfieldOf(field);
        return sfd == nullptr ? std::string() : sfd->Text;
    }
    if (pInclude == nullptr && sSubfieldsToExclude.empty())
        return JoinSubfields(field, [](const std::string&) { return true; });
    return JoinSubfields(field, [&](const std::string& sCode) {
        return (pInclude == nullptr || rt::InStr(*pInclude, sCode) > 0) && rt::InStr(sSubfieldsToExclude, sCode) == 0;
    });
}

// ---- tag, indicators and flags ----

std::string Utf8MarcRecordClass::FldTag() const {
    const int16_t fld = CurrentField();
    return fld < 0 ? std::string() : m.Fields[static_cast<size_t>(fld)].Tag;
}

void Utf8MarcRecordClass::FldTag(const std::string& vNewValue) {
    if (CurrentField() >= 0) FldReplace(vNewValue, FldInd(), FldText());
}

std::string Utf8MarcRecordClass::FldInd() const {
    const int16_t fld = CurrentField();
    if (fld < 0) return "";
    const FieldEntry& field = m.Fields[static_cast<size_t>(fld)];
    if (IsControlTag(field.Tag) || field.IsControl) return "";
    return field.Indicators;
}

void Utf8MarcRecordClass::FldInd(const std::string& vNewValue) {
    const int16_t fld = CurrentField();
    if (fld < 0) return;
    FldReplace(FldTag(), m.Fields[static_cast<size_t>(fld)].IsControl ? std::string() : vNewValue, FldText());
}

std::string Utf8MarcRecordClass::FldInd1() const { return rt::Left(FldInd(), 1); }

std::string Utf8MarcRecordClass::FldInd2() const { return rt::Mid(FldInd(), 2, 1); }

namespace {

// The first character of a value, a blank for an empty one.
std::string IndicatorOf(const std::string& s) { return s.empty() ? std::string(" ") : s.substr(0, 1); }

}  // namespace

void Utf8MarcRecordClass::FldInd1(const std::string& vNewValue) {
    const int16_t fld = CurrentField();
    if (fld < 0) return;
    if (m.Fields[static_cast<size_t>(fld)].IsControl) FldReplace(FldTag(), "", FldText());
    else FldReplace(FldTag(), IndicatorOf(vNewValue) + IndicatorOf(FldInd2()), FldText());
}

void Utf8MarcRecordClass::FldInd2(const std::string& vNewValue) {
    const int16_t fld = CurrentField();
    if (fld < 0) return;
    // The first indicator stays first also when the field holds none.
    if (m.Fields[static_cast<size_t>(fld)].IsControl) FldReplace(FldTag(), "", FldText());
    else FldReplace(FldTag(), IndicatorOf(FldInd1()) + IndicatorOf(vNewValue), FldText());
}

bool Utf8MarcRecordClass::FldIsControl() const {
    const int16_t fld = CurrentField();
    return fld >= 0 && m.Fields[static_cast<size_t>(fld)].IsControl;
}

bool Utf8MarcRecordClass::FldDeleted() const {
    const int16_t fld = CurrentField();
    return fld >= 0 && m.Fields[static_cast<size_t>(fld)].Deleted;
}

bool Utf8MarcRecordClass::FldChanged() const {
    const int16_t fld = CurrentField();
    return fld >= 0 && m.Fields[static_cast<size_t>(fld)].Changed;
}

void Utf8MarcRecordClass::FldChanged(bool vNewValue) {
    const int16_t fld = CurrentField();
    if (fld >= 0) m.Fields[static_cast<size_t>(fld)].Changed = vNewValue;
}

bool Utf8MarcRecordClass::FldBoolean1() const {
    const int16_t fld = CurrentField();
    return fld >= 0 && m.Fields[static_cast<size_t>(fld)].Boolean1;
}

void Utf8MarcRecordClass::FldBoolean1(bool vNewValue) {
    const int16_t fld = CurrentField();
    if (fld >= 0) m.Fields[static_cast<size_t>(fld)].Boolean1 = vNewValue;
}

bool Utf8MarcRecordClass::FldBoolean2() const {
    const int16_t fld = CurrentField();
    return fld >= 0 && m.Fields[static_cast<size_t>(fld)].Boolean2;
}

void Utf8MarcRecordClass::FldBoolean2(bool vNewValue) {
    const int16_t fld = CurrentField();
    if (fld >= 0) m.Fields[static_cast<size_t>(fld)].Boolean2 = vNewValue;
}

void Utf8MarcRecordClass::FldLoadInfo(std::string& sTag, std::string& sIndicators, std::string& sField) {
    sTag = FldTag();
    sIndicators = FldInd();
    sField = FldText();
}

void Utf8MarcRecordClass::FldGetInfo(std::string& sTag, std::string& sIndicators, std::string& sField) {
    FldLoadInfo(sTag, sIndicators, sField);
}

// ---- deletion, shifts, flags of all fields ----

void Utf8MarcRecordClass::FldDelete() {
    const int16_t fld = CurrentField();
    if (fld < 0) return;
    m.Fields[static_cast<size_t>(fld)].Deleted = true;
    // A later 008 is then added as a live field.
    if (fld == m.Fld008Pointer) m.Fld008Pointer = -1;
}

void Utf8MarcRecordClass::FldUndelete() {}

void Utf8MarcRecordClass::FldShiftUp() {
    const int16_t c = CurrentField();
    if (c < 0) return;
    const int16_t p = FldPrevPointer();
    if (p < 0) return;
    FieldEntry& current = m.Fields[static_cast<size_t>(c)];
    FieldEntry& previous = m.Fields[static_cast<size_t>(p)];
    if (previous.OrderKey != current.OrderKey) return;
    const bool bKeysSorted = FldKeysSorted();
    const int16_t before = previous.PrevField;
    const int16_t after = current.NextField;
    current.PrevField = before;
    current.NextField = p;
    previous.PrevField = c;
    previous.NextField = after;
    if (before >= 0) m.Fields[static_cast<size_t>(before)].NextField = c;
    else m.FldFirst = c;
    if (after >= 0) m.Fields[static_cast<size_t>(after)].PrevField = p;
    else m.FldLast = p;
    FldKeysSortedAround(c, bKeysSorted);
}

void Utf8MarcRecordClass::FldShiftDown() {
    if (CurrentField() < 0 || FldNextPointer() < 0) return;
    const int16_t iPointer = m.FldPointer;
    FldMoveNext(true);
    FldShiftUp();
    FldPointer(iPointer);
}

void Utf8MarcRecordClass::FldChangedClearAll() {
    const int16_t iPointer = m.FldPointer;
    // The walk over the list that FldMoveTop and FldMoveNext would make, with
    // a yield per field; only the last field it reaches is made current, as
    // the walk leaves the cursor, then no field, then the one of the call.
    int16_t iLast = -1;
    for (int16_t i = m.FldFirst; i >= 0 && i < m.FldCount; i = m.Fields[static_cast<size_t>(i)].NextField) {
        FieldEntry& field = m.Fields[static_cast<size_t>(i)];
        iLast = i;
        if (!field.Deleted) field.Changed = false;
        platform::DoEvents();
    }
    // When the field of the call is one of the table's, making it current
    // again sets all that making the last field current would set.
    const bool bRestored = iPointer >= 0 && iPointer < m.FldCount;
    if (iLast >= 0 && !bRestored) FldPointer(iLast);
    FldPointer(-1);
    m.FldAtTop = false;
    m.FldAtBottom = false;
    m.SfdAtTop = false;
    m.SfdAtBottom = false;
    FldPointer(iPointer);
}

void Utf8MarcRecordClass::DisplayWithStack() {}

int32_t Utf8MarcRecordClass::CountWithStack() { return 0; }

// ---- 008 values ----

void Utf8MarcRecordClass::Change008Value(int16_t iStartingPosition, const std::string& sNew008Value) {
    const int32_t n = static_cast<int32_t>(sNew008Value.size());
    const int16_t p = rt::ToInt16(int32_t{iStartingPosition} + 1);
    const int16_t fld = m.Fld008Pointer;
    // A negative position would put the value in front of the text.
    if (fld < 0 || fld >= m.FldCount || n == 0 || p > 40 || p + n > 41 || iStartingPosition < 0) return;
    FieldEntry& field = m.Fields[static_cast<size_t>(fld)];
    const int16_t first = field.FirstSubfield;
    const bool bLive = first >= 0 && first <= field.SubfieldTop && !field.Subfields[static_cast<size_t>(first)].Deleted;
    // The value starts inside the text or right after its end.
    const size_t length = bLive ? field.Subfields[static_cast<size_t>(first)].Text.size() : 0;
    if (static_cast<size_t>(iStartingPosition) > length) return;
    // An 008 without a live subfield gets one.
    GiveLiveControlSubfield(fld);
    SubfieldEntry& sfd = field.Subfields[static_cast<size_t>(field.FirstSubfield)];
    SfdFormsReady(sfd);
    sfd.Text = SafeStuff(sfd.Text, p, static_cast<int16_t>(n), sNew008Value);
    field.Changed = true;
}
