// The field cursor: assignment, the moves in list order (optionally passing
// deleted fields), the top and bottom positions, the finds by tag list and
// comparison-form prefix with their saved search, the tests, and TagCompare.
#include "common/runtime.h"
#include "common/utli_misc_non_utf8.h"
#include "marc/record/marc_record.h"
#include "platform/events.h"

int16_t Utf8MarcRecordClass::CurrentField() const {
    return m.FldPointer >= 0 && m.FldPointer < m.FldCount ? m.FldPointer : int16_t{-1};
}

int16_t Utf8MarcRecordClass::FldPointer() const { return m.FldPointer; }

void Utf8MarcRecordClass::FldPointer(int16_t vNewValue) {
    m.FldPointer = vNewValue;
    if (vNewValue < 0 || vNewValue >= m.FldCount) {
        m.FldPointer = -1;
        m.FldWasFound = false;
        return;
    }
    m.FldWasFound = true;
    const FieldEntry& field = m.Fields[static_cast<size_t>(vNewValue)];
    SfdPointer(field.FirstSubfield);
    SfdOrderLoad(field.Tag);
}

bool Utf8MarcRecordClass::FldWasFound() const { return m.FldWasFound; }

int16_t Utf8MarcRecordClass::FldNextPointer() const {
    const int16_t fld = CurrentField();
    if (fld < 0) return -1;
    const int16_t next = m.Fields[static_cast<size_t>(fld)].NextField;
    return next >= 0 && next < m.FldCount ? next : int16_t{-1};
}

int16_t Utf8MarcRecordClass::FldPrevPointer() const {
    const int16_t fld = CurrentField();
    if (fld < 0) return -1;
    const int16_t prev = m.Fields[static_cast<size_t>(fld)].PrevField;
    return prev >= 0 && prev < m.FldCount ? prev : int16_t{-1};
}

bool Utf8MarcRecordClass::FldMoveFrom(int16_t iFirst, bool bForward, const bool& bSkipDeletedFields) {
    FldPointer(iFirst);
    // With skipping, one step further in the same direction for every deleted
    // field landed on, yielding before each.
    while (bSkipDeletedFields && CurrentField() >= 0 && m.Fields[static_cast<size_t>(m.FldPointer)].Deleted) {
        platform::DoEvents();
        FldPointer(bForward ? FldNextPointer() : FldPrevPointer());
    }
    m.FldAtTop = false;
    m.FldAtBottom = false;
    m.SfdAtTop = false;
    m.SfdAtBottom = false;
    return m.FldWasFound;
}

bool Utf8MarcRecordClass::FldMoveFirst(const bool& bSkipDeletedFields) {
    return FldMoveFrom(m.FldFirst, true, bSkipDeletedFields);
}

bool Utf8MarcRecordClass::FldMoveNext(const bool& bSkipDeletedFields) {
    return FldMoveFrom(m.FldAtTop ? m.FldFirst : FldNextPointer(), true, bSkipDeletedFields);
}

bool Utf8MarcRecordClass::FldMovePrev(const bool& bSkipDeletedFields) {
    return FldMoveFrom(m.FldAtBottom ? m.FldLast : FldPrevPointer(), false, bSkipDeletedFields);
}

bool Utf8MarcRecordClass::FldMoveLast(const bool& bSkipDeletedFields) {
    return FldMoveFrom(m.FldLast, false, bSkipDeletedFields);
}

bool Utf8MarcRecordClass::FldMoveTop() {
    const bool bFound = FldMoveFirst(true);
    m.FldAtTop = bFound;
    m.FldAtBottom = false;
    m.SfdAtTop = false;
    m.SfdAtBottom = false;
    return bFound;
}

bool Utf8MarcRecordClass::FldMoveBottom() {
    const bool bFound = FldMoveLast(true);
    m.FldAtBottom = bFound;
    m.FldAtTop = false;
    m.SfdAtTop = false;
    m.SfdAtBottom = false;
    return bFound;
}

void Utf8MarcRecordClass::FldTakeSearchTags(const std::string& sTagToFind) {
    const std::string sTags = rt::UCase(RemoveRepeatedCharacters(sTagToFind, " "));
    if (!sTags.empty()) m.FldSearchTags = sTags;
}

bool Utf8MarcRecordClass::FldMatchesSearch(bool bTextTest) {
    const int16_t fld = CurrentField();
    if (fld < 0) return false;
    const FieldEntry& field = m.Fields[static_cast<size_t>(fld)];
    if (field.Deleted || !TagCompare(m.FldSearchTags, field.Tag)) return false;
    if (!bTextTest) return true;
    const std::string sNorm = FldNorm();
    return sNorm.size() >= m.FldSearchText.size() && sNorm.compare(0, m.FldSearchText.size(), m.FldSearchText) == 0;
}

bool Utf8MarcRecordClass::FldFindWalk(bool bFromEnd, bool bForward, bool bTextTest) {
    const bool skip = true;
    bool bOn = bFromEnd ? (bForward ? FldMoveFirst(skip) : FldMoveLast(skip))
                        : (bForward ? FldMoveNext(skip) : FldMovePrev(skip));
    for (; bOn; bOn = bForward ? FldMoveNext(skip) : FldMovePrev(skip))
        if (FldMatchesSearch(bTextTest)) return true;
    FldPointer(-1);
    return false;
}

bool Utf8MarcRecordClass::FldFindFirst(const std::string& sTagToFind, const std::string& sNormalizedFieldText) {
    platform::DoEvents();
    m.FldAtTop = m.FldAtBottom = m.SfdAtTop = m.SfdAtBottom = false;
    m.FldSearchText = NormString(sNormalizedFieldText, true, "V");
    const bool bTextTest = !m.FldSearchText.empty();
    FldTakeSearchTags(sTagToFind);
    if (m.FldSearchTags.empty()) {
        FldPointer(-1);
        return false;
    }
    return FldFindWalk(true, true, bTextTest);
}

bool Utf8MarcRecordClass::FldFindLast(const std::string& sTagToFind, const std::string& sNormalizedFieldText) {
    m.FldAtTop = m.FldAtBottom = m.SfdAtTop = m.SfdAtBottom = false;
    bool bTextTest = false;
    if (!sNormalizedFieldText.empty()) {
        m.FldSearchText = NormString(sNormalizedFieldText, true, "V");
        bTextTest = !m.FldSearchText.empty();
    }
    FldTakeSearchTags(sTagToFind);
    if (m.FldSearchTags.empty()) {
        FldPointer(-1);
        return false;
    }
    return FldFindWalk(true, false, bTextTest);
}

bool Utf8MarcRecordClass::FldFindNext(const std::string& sTagToFind, const std::string& sNormalizedFieldText) {
    const bool bWasAtTop = m.FldAtTop;
    m.FldAtTop = m.FldAtBottom = m.SfdAtTop = m.SfdAtBottom = false;
    if (!sNormalizedFieldText.empty()) m.FldSearchText = NormString(sNormalizedFieldText, true, "V");
    const bool bTextTest = !m.FldSearchText.empty();
    FldTakeSearchTags(sTagToFind);
    if (m.FldSearchTags.empty() || !m.FldWasFound) return false;
    return FldFindWalk(bWasAtTop, true, bTextTest);
}

bool Utf8MarcRecordClass::FldFindPrev(const std::string& sTagToFind, const std::string& sNormalizedFieldText) {
    const bool bWasAtBottom = m.FldAtBottom;
    m.FldAtTop = m.FldAtBottom = m.SfdAtTop = m.SfdAtBottom = false;
    if (!sNormalizedFieldText.empty()) m.FldSearchText = NormString(sNormalizedFieldText, true, "V");
    const bool bTextTest = !m.FldSearchText.empty();
    FldTakeSearchTags(sTagToFind);
    if (m.FldSearchTags.empty() || !(m.FldWasFound || bWasAtBottom)) return false;
    return FldFindWalk(bWasAtBottom, false, bTextTest);
}

// The tests run the find with an empty text and put back the cursor (through
// its assignment), the saved tags and FldWasFound; the edge flags and the
// saved text stay as the find left them.
bool Utf8MarcRecordClass::FldTest(FldFindMember find, const std::string& sTag) {
    const int16_t iPointer = m.FldPointer;
    const std::string sSearchTags = m.FldSearchTags;
    const bool bWasFound = m.FldWasFound;
    (this->*find)(sTag, "");
    const bool bResult = m.FldWasFound;
    FldPointer(iPointer);
    m.FldSearchTags = sSearchTags;
    m.FldWasFound = bWasFound;
    return bResult;
}

bool Utf8MarcRecordClass::FldTestFirst(const std::string& sTag) {
    return FldTest(&Utf8MarcRecordClass::FldFindFirst, sTag);
}
bool Utf8MarcRecordClass::FldTestNext(const std::string& sTag) {
    return FldTest(&Utf8MarcRecordClass::FldFindNext, sTag);
}
bool Utf8MarcRecordClass::FldTestPrev(const std::string& sTag) {
    return FldTest(&Utf8MarcRecordClass::FldFindPrev, sTag);
}
bool Utf8MarcRecordClass::FldTestLast(const std::string& sTag) {
    return FldTest(&Utf8MarcRecordClass::FldFindLast, sTag);
}

std::string Utf8MarcRecordClass::FldNextTag() const {
    const int16_t next = FldNextPointer();
    return next < 0 ? std::string() : m.Fields[static_cast<size_t>(next)].Tag;
}

std::string Utf8MarcRecordClass::FldPrevTag() const {
    const int16_t prev = FldPrevPointer();
    return prev < 0 ? std::string() : m.Fields[static_cast<size_t>(prev)].Tag;
}

bool Utf8MarcRecordClass::TagCompare(const std::string& sTagWantedOrListOfTags, const std::string& sComparisonTag,
                                     int16_t /*iTagWantedLength*/) const {
    std::string sList = sTagWantedOrListOfTags;
    do {
        std::string sWord;
        UtliMiscNonUtf8::SplitOffFirst(sList, sWord, " ");
        sList = rt::Trim(sList);
        // Position by position over the word; "X" on either side matches any
        // character, and a position past the tag's end only an "X".
        bool bMatch = !sWord.empty();
        for (size_t i = 0; bMatch && i < sWord.size(); ++i) {
            const char w = sWord[i];
            bMatch = w == 'X' || (i < sComparisonTag.size() && (sComparisonTag[i] == w || sComparisonTag[i] == 'X'));
        }
        if (bMatch) return true;
    } while (!sList.empty());
    return false;
}
