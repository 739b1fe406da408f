// ISO 2709 input: the structural tests of a record text, the load that turns
// its directory into the field table, and the getters of the loaded record.
#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "common/runtime.h"
#include "marc/record/marc_record.h"

namespace {

constexpr char kEndOfField = '\x1E';
constexpr char kEndOfRecord = '\x1D';

// The number of a leader's or a directory's digits: blanks skipped anywhere,
// reading stops at any other non-digit.
int32_t NumberAt(const std::string& s, size_t start, size_t length) {
    if (start >= s.size()) return 0;
    const std::string_view sDigits = std::string_view(s).substr(start, length);
    // Digits alone (the usual leader and directory number) are read here;
    // blanks and other characters as rt::Digits reads them.
    int32_t value = 0;
    for (const char c : sDigits) {
        if (!rt::IsAsciiDigit(c))
            return static_cast<int32_t>(rt::Digits(sDigits, rt::DigitSkip::Blanks));
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

bool Utf8MarcRecordClass::IsMarc(const std::string& sSuspect) {
    m.IsMarcErrorText.clear();
    const auto fail = [this](const char* sMessage) {
        m.IsMarcErrorText = sMessage;
        return false;
    };
    const size_t length = sSuspect.size();
    if (length < 50) return fail("Too short to be a MARC record");
    for (size_t i = 0; i < 5; ++i)
        if (!rt::IsAsciiDigit(sSuspect[i])) return fail("First 5 characters not all numeric");
    const int32_t recordLength = NumberAt(sSuspect, 0, 5);
    if (static_cast<int32_t>(length) < recordLength)
        return fail("Record length in leader does not match actual record length");
    const int32_t base = NumberAt(sSuspect, 12, 5);
    if (base > recordLength) return fail("Base address of data longer than record length");
    if (base < 1) return fail("Base address of data unacceptable");
    if (sSuspect[static_cast<size_t>(base - 1)] != kEndOfField)
        return fail("Directory does not end with end-of-field character");
    if (sSuspect[length - 1] != kEndOfRecord) return fail("Record does not end with end-of-record character");
    if (sSuspect[length - 2] != kEndOfField) return fail("Last field does not end with end-of-field character");
    return true;
}

void Utf8MarcRecordClass::MarcRecordIn(const std::string& sMarcRecord) {
    // What a load that fails on its way into the output set gives back.
    const std::string sSetOutBefore = m.CharacterSetOut;
    const bool bRecordIsUtf8Before = m.RecordIsUtf8;
    const bool bOutputIsUlcBefore = m.OutputIsUlc;
    const std::string sInEffectiveBefore = m.CharacterSetInEffective;

    // 1. Reset the record.
    m.MarcRecordIn.clear();
    m.Leader.clear();
    m.Directory.clear();
    m.RecordDataIn.clear();
    m.FldsWithSfdsOutOfOrder.clear();
    EmptyFieldTable();
    m.IsAuthority = false;
    m.CharacterEncodingScheme = " ";
    m.FldsOutOfOrder = false;
    m.SubfieldsOutOfOrder = false;
    m.LoadWarningText.clear();
    m.MarcRecordModified = false;
    m.NewRecordCreated = false;
    m.FldOrderChanged = false;
    m.SfdOrderChanged = false;

    // 2. An empty text is no record: it gets the message of a short text, so
    // that it does not pass for the record loaded before it.
    if (sMarcRecord.empty()) {
        IsMarc(sMarcRecord);
        return;
    }

    // 3-4. A leader that lost characters before its entry map "45" gets
    // blanks in front of it, so that the map stands at 20; the repair is used
    // only when the text as given fails the tests and the repaired one passes.
    m.Leader.assign(sMarcRecord, 0, 24);
    const int32_t p = Rat(m.Leader, "45");
    std::string sRepaired;
    bool bValid = IsMarc(sMarcRecord);
    if (!bValid && p >= 1 && p <= 20) {
        sRepaired = sMarcRecord;
        sRepaired.insert(static_cast<size_t>(p - 1), static_cast<size_t>(21 - p), ' ');
        bValid = IsMarc(sRepaired);
        if (bValid) m.Leader.assign(sRepaired, 0, 24);
        else IsMarc(sMarcRecord);
    }
    if (!bValid) {
        FldChangedClearAll();
        return;
    }
    const std::string& sText = sRepaired.empty() ? sMarcRecord : sRepaired;

    // 5-8.
    const std::string sFormatBefore = m.MarcRecordFormat;
    m.FldSearchTags.clear();
    m.CharacterSetInEffective = m.CharacterSetIn;
    m.IsAuthority = GetLeaderValue(6, 1) == "z";
    m.MarcRecordFormat = SetFormatCode(m.Leader);
    if (m.OrderSetupPending) {
        m.OrderSetupPending = false;
        FldOrderInstall(m.MarcRecordFormat);
        SfdOrderInstall(m.MarcRecordFormat);
    }

    // The leader as loaded (24 octets), kept without an allocation.
    char sLoadedLeader[24];
    const size_t loadedLeaderLength = m.Leader.copy(sLoadedLeader, sizeof sLoadedLeader);
    // No half-loaded record: empty as after a failed test, the sets as they
    // were before the call; the leader stays.
    const auto unload = [&] {
        m.MarcRecordIn.clear();
        m.Directory.clear();
        m.RecordDataIn.clear();
        EmptyFieldTable();
        m.Leader.assign(sLoadedLeader, loadedLeaderLength);
        m.CharacterSetOut = sSetOutBefore;
        m.RecordIsUtf8 = bRecordIsUtf8Before;
        m.OutputIsUlc = bOutputIsUlcBefore;
        m.CharacterSetInEffective = sInEffectiveBefore;
        m.LoadWarningText.clear();
    };
    try {
        // 9-11. The record's set; the fields are built in it.
        DecideCharacterSetInEffective(sText);
        const int32_t base = NumberAt(sText, 12, 5);
        const std::string sReturnTo = HoldLoadInInputSet();

        // 12. A base address below 25 gives an empty directory.
        m.MarcRecordIn = sText;
        if (base - 1 > 24) m.Directory.assign(sText, 24, static_cast<size_t>(base - 1 - 24));
        if (static_cast<size_t>(base) + 1 < sText.size())
            m.RecordDataIn.assign(sText, static_cast<size_t>(base), sText.size() - 1 - static_cast<size_t>(base));
        const bool bUtf8 = CharacterSetIn() == "U";
        if (bUtf8 && m.RecordDataIn.find(m.Utf8AlifVariant) != std::string::npos)
            m.RecordDataIn = ReplaceCharacters(m.RecordDataIn, m.Utf8AlifVariant, m.Utf8Alif);

        // 13-15. A record from which no field can be read is refused.
        LoadFieldsFromDirectory();
        if (m.FldCount == 0) {
            // As a record that fails the tests: the format of the last load stays.
            unload();
            m.MarcRecordFormat = sFormatBefore;
            m.IsAuthority = false;
            m.CharacterEncodingScheme = " ";
            m.IsMarcErrorText = "No readable field in the record";
            return;
        }
        if (bUtf8) AutoDecomposeFields();
        ReturnLoadToOutputSet(sReturnTo);
    } catch (...) {
        // The kind and format stay.
        unload();
        throw;
    }
    MarkModifiedIfReordered();
    FldMoveFirst(true);

    // 16.
    FldChangedClearAll();
}

void Utf8MarcRecordClass::EmptyFieldTable() {
    m.Fields.clear();
    m.Fields.resize(1);
    m.FldCount = 0;
    m.FldFirst = -1;
    m.FldLast = -1;
    m.Fld008Pointer = -1;
    m.FldPointer = -1;
    m.SfdPointer = -1;
}

void Utf8MarcRecordClass::LoadFieldsFromDirectory() {
    m.FldFirst = -1;
    m.FldLast = -1;
    m.Fields.clear();
    m.Fields.resize(1);
    m.FldCount = 0;

    const SfdOrderMemo memo(m);
    const std::string& sData = m.RecordDataIn;
    const std::string& sDirectory = m.Directory;
    const char fill = MarcFill()[0];
    const auto isEndOfField = [&sData](size_t at) { return at < sData.size() && sData[at] == kEndOfField; };

    // Each entry's span of the data. A shorter last entry is read too; what
    // is not digits counts as 0.
    struct EntrySpan {
        size_t Start = 0;
        size_t End = 0;
        int8_t Shift = 0;  // octets read later (> 0) or earlier (< 0) than the entry says
        bool Outside = false;
        int32_t Overlapped = -1;  // an entry whose span shares octets with this one
    };
    std::vector<EntrySpan> spans((sDirectory.size() + 11) / 12);
    std::vector<int32_t> byStart;
    byStart.reserve(spans.size());
    for (size_t i = 0; i < spans.size(); ++i) {
        const size_t length = static_cast<size_t>(NumberAt(sDirectory, i * 12 + 3, 4));
        EntrySpan& span = spans[i];
        span.Start = static_cast<size_t>(NumberAt(sDirectory, i * 12 + 7, 5));
        span.End = span.Start + length;
        if (length > 0) byStart.push_back(static_cast<int32_t>(i));
    }
    // The spans by start (a directory usually lists its fields in the order
    // of the data).
    const auto byStartOrder = [&spans](int32_t a, int32_t b) {
        return spans[static_cast<size_t>(a)].Start != spans[static_cast<size_t>(b)].Start
                   ? spans[static_cast<size_t>(a)].Start < spans[static_cast<size_t>(b)].Start
                   : a < b;
    };
    const auto sortByStart = [&] {
        if (!std::is_sorted(byStart.begin(), byStart.end(), byStartOrder))
            std::sort(byStart.begin(), byStart.end(), byStartOrder);
    };
    sortByStart();

    // Entries a little off, in data order. A span that does not end on a
    // field terminator but one octet before its end, right after a span
    // without a terminator at its end, stands one octet after its field (the
    // terminator before it was lost): it is read one octet earlier, the span
    // before it ends where it now begins, and so is each span after it that
    // ends one octet past a terminator. Any other span without a terminator
    // at its end is read where, moved by one octet and else by two (later
    // first), it holds one whole field: it begins at the data's start or
    // after a terminator, ends on the first terminator in it and is no other
    // entry's field (an entry that starts early or late, or a stray octet
    // before the data). A span
    // that begins on a terminator and holds more than that terminator is
    // read from the octet after it.
    const auto wholeFieldAt = [&sData, &isEndOfField](size_t start, size_t end) {
        return end <= sData.size() && (start == 0 || sData[start - 1] == kEndOfField) && isEndOfField(end - 1) &&
               std::memchr(sData.data() + start, kEndOfField, end - 1 - start) == nullptr;
    };
    const auto moved = [](size_t at, int shift) { return static_cast<size_t>(static_cast<ptrdiff_t>(at) + shift); };
    // Where the entries say their fields begin, sorted on first use: a span
    // is not moved onto another entry's field.
    std::vector<size_t> entryStarts;
    const auto isEntryStart = [&](size_t at) {
        if (entryStarts.empty()) {
            entryStarts.reserve(byStart.size());
            for (const int32_t i : byStart)
                entryStarts.push_back(static_cast<size_t>(NumberAt(sDirectory, static_cast<size_t>(i) * 12 + 7, 5)));
            std::sort(entryStarts.begin(), entryStarts.end());
        }
        return std::binary_search(entryStarts.begin(), entryStarts.end(), at);
    };
    bool bShifted = false;
    bool bOpenBefore = false;  // the span before has no terminator at its end, or was read earlier
    size_t endBefore = 0;      // where the entry before says its span ends
    EntrySpan* pBefore = nullptr;
    for (const int32_t i : byStart) {
        EntrySpan& span = spans[static_cast<size_t>(i)];
        const size_t start = span.Start;
        const size_t end = span.End;
        bool bTerminated = isEndOfField(end - 1);
        if (!bTerminated && bOpenBefore && endBefore == start && isEndOfField(end - 2)) {
            span.Shift = -1;
            pBefore->End = std::min(pBefore->End, start - 1);
        } else if (!bTerminated) {
            for (const int8_t shift : {1, -1, 2, -2}) {
                if (static_cast<ptrdiff_t>(start) + shift >= 0 && wholeFieldAt(moved(start, shift), moved(end, shift)) &&
                    !isEntryStart(moved(start, shift))) {
                    span.Shift = shift;
                    bTerminated = true;
                    break;
                }
            }
        }
        if (span.Shift != 0) {
            span.Start = moved(start, span.Shift);
            span.End = moved(end, span.Shift);
            bShifted = true;
        } else if (isEndOfField(start) && end - start > 1) {
            span.Start = start + 1;
            span.Shift = 1;
            bShifted = true;
        }
        bOpenBefore = !bTerminated;
        endBefore = end;
        pBefore = &span;
    }
    if (bShifted) sortByStart();
    for (EntrySpan& span : spans) {
        span.Outside = span.End > sData.size();
        span.Start = std::min(span.Start, sData.size());
        span.End = std::min(span.End, sData.size());
    }

    // Overlaps, in one sweep over the spans by start: a span that begins
    // before the furthest end so far shares octets with the span of that end.
    size_t furthestEnd = 0;
    int32_t furthest = -1;
    for (const int32_t i : byStart) {
        EntrySpan& span = spans[static_cast<size_t>(i)];
        if (furthest >= 0 && span.Start < furthestEnd) {
            if (span.Overlapped < 0) span.Overlapped = furthest;
            if (spans[static_cast<size_t>(furthest)].Overlapped < 0) spans[static_cast<size_t>(furthest)].Overlapped = i;
        }
        if (span.End > furthestEnd) {
            furthestEnd = span.End;
            furthest = i;
        }
    }

    // What the load did with a damaged entry, named by its tag, or by the
    // entry's number where the entry names no field.
    const auto warningOf = [&](size_t i, std::string_view sSpan, std::string_view sContent) -> std::string {
        const std::string_view sEntry = std::string_view(sDirectory).substr(i * 12, 12);
        const std::string sTag(sEntry.substr(0, 3));
        const std::string sEntryName = "Directory entry " + std::to_string(i + 1);
        const std::string sField = "Field " + sTag;
        const EntrySpan& span = spans[i];
        if (sContent.empty()) {
            // An empty field, its terminator alone, loses nothing.
            if (sSpan.size() == 1) return "";
            // Stray octets after the last entry, or an entry of no tag or length.
            if (sEntry.size() < 12)
                return sEntryName + " has only " + std::to_string(sEntry.size()) +
                       (sEntry.size() == 1 ? " octet" : " octets");
            if (!IsLoadableTag(sTag)) return sEntryName + " has no tag of three printable characters";
            if (std::none_of(sEntry.begin() + 3, sEntry.begin() + 7, rt::IsAsciiDigit))
                return sEntryName + " has no field length";
            if (NumberAt(sDirectory, i * 12 + 3, 4) == 0) return sField + " has length 0 and is dropped";
            if (span.Start == sData.size()) return sField + " lies outside the data and is dropped";
            // An empty field that lost its terminator to the field after it.
            if (sSpan.empty()) return sField + " has no field terminator";
            return sField + " starts on a field terminator and is dropped";
        }
        if (!IsLoadableTag(sTag)) return sEntryName + " has no tag of three printable characters; its field is dropped";
        if (span.Shift != 0)
            return sField + (span.Shift == 1 || span.Shift == -1 ? " is read one octet " : " is read two octets ") +
                   (span.Shift > 0 ? "later" : "earlier") + " than its directory entry says";
        if (span.Outside) return sField + " reaches past the end of the data";
        if (span.Overlapped >= 0) {
            const size_t other = static_cast<size_t>(span.Overlapped);
            const std::string sOther = sDirectory.substr(other * 12, 3);
            return sField + " overlaps " +
                   (IsLoadableTag(sOther) ? "field " + sOther : "directory entry " + std::to_string(other + 1));
        }
        return sField + " has no field terminator";
    };

    // The texts of all fields pass through one buffer.
    std::string sText;
    bool bWarningDrops = false;  // the warning names a field that is dropped
    for (size_t i = 0; i < spans.size(); ++i) {
        const std::string_view sEntry = std::string_view(sDirectory).substr(i * 12, 12);
        std::string sTag(sEntry.substr(0, 3));
        const EntrySpan& span = spans[i];
        // The content: the span up to its first field terminator, or all of it.
        const std::string_view sSpan = std::string_view(sData).substr(span.Start, span.End - span.Start);
        const std::string_view sContent = sSpan.substr(0, sSpan.find(kEndOfField));

        // The first damage in directory order is reported, unless a later
        // field is dropped: the first field dropped is always named.
        if (!bWarningDrops &&
            (!IsLoadableTag(sTag) || span.Shift != 0 || span.Outside || span.Overlapped >= 0 || sSpan.empty() ||
             sSpan.back() != kEndOfField || (sContent.empty() && sSpan.size() > 1))) {
            std::string sWarning = warningOf(i, sSpan, sContent);
            bWarningDrops = sWarning.ends_with(" dropped");
            if (m.LoadWarningText.empty() || bWarningDrops) m.LoadWarningText = std::move(sWarning);
        }
        if (sContent.empty()) continue;

        // A digit tag says what the field is; any other tag is a data field
        // when a delimiter follows two indicator characters (a delimiter is
        // none: a text that begins with one has no indicators).
        const bool bControl = IsDigitTag(sTag) ? sTag.compare(0, 2, "00") == 0
                                               : !(sContent.size() > 2 && sContent[2] == '\x1F' &&
                                                   sContent[0] != '\x1F' && sContent[1] != '\x1F');
        const int16_t iBefore = m.FldPointer;
        if (!bControl) {
            sText.assign(sContent.size() > 2 ? sContent.substr(2) : std::string_view());
            FldAddOfKind(std::move(sTag), std::string(sContent.substr(0, 2)), sText, false, FieldKind::Data);
        } else {
            sText.assign(sContent);
            // A control tag's delimiters become fill characters; a local tag's
            // text is held as read, so that the output writes it back unchanged.
            if (IsDigitTag(sTag) && sText.find('\x1F') != std::string::npos)
                std::replace(sText.begin(), sText.end(), '\x1F', fill);
            // The first 008 is the record's; a second one is a field of its own.
            if (sTag == "008" && m.Fld008Pointer < 0) m.Fld008Length = static_cast<int16_t>(sText.size());
            FldAddOfKind(std::move(sTag), std::string(), sText, false, FieldKind::Control);
        }
        if (m.FldPointer != iBefore && m.FldPointer >= 0 && m.FldPointer < m.FldCount)
            m.Fields[static_cast<size_t>(m.FldPointer)].DirectoryEntry.assign(sEntry);
    }
}

std::string Utf8MarcRecordClass::MarcRecordIn() const { return m.MarcRecordIn; }

std::string Utf8MarcRecordClass::IsMarcErrorText() const { return m.IsMarcErrorText; }

std::string Utf8MarcRecordClass::LoadWarningText() const { return m.LoadWarningText; }

std::string Utf8MarcRecordClass::MarcRecordFormat() const { return m.MarcRecordFormat; }

bool Utf8MarcRecordClass::IsAuthority() const { return m.IsAuthority; }

void Utf8MarcRecordClass::MarkModifiedIfReordered() {
    // Walked in list order, fields and subfields come in the order of their
    // slots unless the order rules moved one.
    int16_t expected = 0;
    for (int16_t i = m.FldFirst; i >= 0 && i < m.FldCount; i = m.Fields[static_cast<size_t>(i)].NextField, ++expected) {
        const FieldEntry& field = m.Fields[static_cast<size_t>(i)];
        bool bReordered = i != expected;
        // The subfield list in slot order is 0, 1, 2 ... up to its end or a
        // link out of the table: each slot links to the next, so the slots
        // are read in turn rather than by following the links.
        const int16_t top = field.SubfieldTop;
        if (!bReordered && field.FirstSubfield >= 0 && field.FirstSubfield <= top) {
            bReordered = field.FirstSubfield != 0;
            for (int16_t j = 0; !bReordered; ++j) {
                const int16_t next = field.Subfields[static_cast<size_t>(j)].NextSubfield;
                if (next < 0 || next > top) break;
                bReordered = next != j + 1;
            }
        }
        if (bReordered) {
            m.MarcRecordModified = true;
            return;
        }
        if (expected >= m.FldCount) return;
    }
}
