// The subfield cursor of the current field: the assignment, the moves, the
// finds by code list and normalized prefix, and the tests that undo a find.
#include <string>

#include "common/runtime.h"
#include "marc/record/marc_record.h"

// ---------------------------------------------------------------- assignment

int16_t Utf8MarcRecordClass::SfdPointer() const { return m.SfdPointer; }

void Utf8MarcRecordClass::SfdPointer(int16_t vNewValue) {
    const FieldEntry* field = CurrentFieldEntry();
    if (!field || vNewValue < 0 || vNewValue > field->SubfieldTop) {
        m.SfdPointer = -1;
        m.SfdWasFound = false;
        return;
    }
    m.SfdPointer = vNewValue;
    m.SfdWasFound = true;
}

bool Utf8MarcRecordClass::SfdWasFound() const { return m.SfdWasFound; }

int16_t Utf8MarcRecordClass::SfdNextPointer() const {
    const SubfieldEntry* subfield = CurrentSubfieldEntry();
    return subfield ? subfield->NextSubfield : int16_t{-1};
}

int16_t Utf8MarcRecordClass::SfdPrevPointer() const {
    const SubfieldEntry* subfield = CurrentSubfieldEntry();
    return subfield ? subfield->PrevSubfield : int16_t{-1};
}

// ---------------------------------------------------------------- moves

bool Utf8MarcRecordClass::SfdMoveFirst() {
    const FieldEntry* field = CurrentFieldEntry();
    SfdPointer(field ? field->FirstSubfield : int16_t{-1});
    m.SfdAtTop = false;
    m.SfdAtBottom = false;
    // True on a current field even when it has no subfield.
    return field != nullptr;
}

bool Utf8MarcRecordClass::SfdMoveLast() {
    const FieldEntry* field = CurrentFieldEntry();
    SfdPointer(field ? field->LastSubfield : int16_t{-1});
    m.SfdAtTop = false;
    m.SfdAtBottom = false;
    return m.SfdWasFound;
}

bool Utf8MarcRecordClass::SfdMoveNext() {
    const FieldEntry* field = CurrentFieldEntry();
    if (!field || !CurrentSubfieldEntry()) {
        SfdPointer(-1);  // a cursor that ran off the end stays off
    } else if (m.SfdAtTop) {
        SfdPointer(field->FirstSubfield);
    } else {
        SfdPointer(SfdNextPointer());
    }
    m.SfdAtTop = false;
    m.SfdAtBottom = false;
    return m.SfdWasFound;
}

bool Utf8MarcRecordClass::SfdMovePrev() {
    const FieldEntry* field = CurrentFieldEntry();
    if (!field || !CurrentSubfieldEntry()) {
        SfdPointer(-1);
    } else if (m.SfdAtBottom) {
        SfdPointer(field->LastSubfield);
    } else {
        SfdPointer(SfdPrevPointer());
    }
    m.SfdAtTop = false;
    m.SfdAtBottom = false;
    return m.SfdWasFound;
}

bool Utf8MarcRecordClass::SfdMoveTop() {
    const bool bFound = SfdMoveFirst();
    m.SfdAtTop = bFound;
    m.SfdAtBottom = false;
    return bFound;
}

bool Utf8MarcRecordClass::SfdMoveBottom() {
    const bool bFound = SfdMoveLast();
    m.SfdAtTop = false;
    m.SfdAtBottom = bFound;
    return bFound;
}

// ---------------------------------------------------------------- finds

// Walks from the cursor, which stands on the first candidate (or nowhere),
// to the first live subfield with a listed code and, with the filter, a
// normal form that begins with the saved search text.
bool Utf8MarcRecordClass::SfdFindFrom(bool bForward, bool bFilter) {
    while (m.SfdWasFound) {
        const SubfieldEntry* subfield = CurrentSubfieldEntry();
        if (subfield && !subfield->Deleted && rt::InStr(m.SfdSearchCodes, subfield->Code) > 0 &&
            (!bFilter || (SfdFormsReady(*subfield), subfield->Norm.compare(0, m.SfdSearchText.size(), m.SfdSearchText) == 0)))
            return true;
        if (bForward) {
            SfdMoveNext();
        } else {
            SfdMovePrev();
        }
    }
    SfdPointer(-1);
    return false;
}

namespace {

// Settles the code list of a find: a given list is saved; without one the
// saved list serves, when the last field move found a field and there is one.
bool SettleSearchCodes(std::string& sSaved, const std::string& sGiven, bool bFieldFound) {
    if (!sGiven.empty()) {
        sSaved = sGiven;
        return true;
    }
    return bFieldFound && !sSaved.empty();
}

}  // namespace

bool Utf8MarcRecordClass::SfdFindFirst(const std::string& sSubfieldCode, const std::string& sNormalizedSubfieldText) {
    m.SfdAtTop = false;
    m.SfdAtBottom = false;
    m.SfdSearchText = NormString(sNormalizedSubfieldText, true, "V");
    const bool bFilter = !m.SfdSearchText.empty();
    if (!SettleSearchCodes(m.SfdSearchCodes, sSubfieldCode, m.FldWasFound)) return false;
    SfdMoveFirst();
    return SfdFindFrom(true, bFilter);
}

bool Utf8MarcRecordClass::SfdFindLast(const std::string& sSubfieldCode, const std::string& sNormalizedSubfieldText) {
    m.SfdAtTop = false;
    m.SfdAtBottom = false;
    // The code list first, so that the early return keeps the saved text.
    if (!SettleSearchCodes(m.SfdSearchCodes, sSubfieldCode, m.FldWasFound)) return false;
    m.SfdSearchText = NormString(sNormalizedSubfieldText, true, "V");
    const bool bFilter = !m.SfdSearchText.empty();
    SfdMoveLast();
    return SfdFindFrom(false, bFilter);
}

bool Utf8MarcRecordClass::SfdFindNext(const std::string& sSubfieldCode, const std::string& sNormalizedSubfieldText) {
    return SfdFindBeyondCursor(true, sSubfieldCode, sNormalizedSubfieldText);
}

bool Utf8MarcRecordClass::Sfdfindprev(const std::string& sSubfieldCode, const std::string& sNormalizedSubfieldText) {
    return SfdFindBeyondCursor(false, sSubfieldCode, sNormalizedSubfieldText);
}

bool Utf8MarcRecordClass::SfdFindBeyondCursor(bool bForward, const std::string& sSubfieldCode,
                                              const std::string& sNormalizedSubfieldText) {
    // From the top (forwards) or the bottom (backwards) the edge subfield is
    // the first candidate itself.
    const bool bWasAtEdge = bForward ? m.SfdAtTop : m.SfdAtBottom;
    m.SfdAtTop = false;
    m.SfdAtBottom = false;
    // An empty text applies no filter; the saved text is not reused.
    bool bFilter = false;
    if (!sNormalizedSubfieldText.empty()) {
        m.SfdSearchText = NormString(sNormalizedSubfieldText, true, "V");
        bFilter = !m.SfdSearchText.empty();
    }
    if (!SettleSearchCodes(m.SfdSearchCodes, sSubfieldCode, m.FldWasFound)) return false;
    if (bWasAtEdge) {
        if (bForward) {
            SfdMoveFirst();
        } else {
            SfdMoveLast();
        }
    } else if (bForward) {
        SfdMoveNext();
    } else {
        SfdMovePrev();
    }
    return SfdFindFrom(bForward, bFilter);
}

// ---------------------------------------------------------------- tests

namespace {

// Runs a find and puts back the cursor, its found state and the saved code
// list; the edge flags and the saved text stay as the find left them.
template <typename Find>
bool TestFind(Utf8MarcRecordClass& record, int16_t& iPointer, bool& bWasFound, std::string& sCodes, Find find) {
    const int16_t iRememberedPointer = iPointer;
    const bool bRememberedFound = bWasFound;
    const std::string sRememberedCodes = sCodes;
    find();
    const bool bResult = bWasFound;
    record.SfdPointer(iRememberedPointer);
    bWasFound = bRememberedFound;
    sCodes = sRememberedCodes;
    return bResult;
}

}  // namespace

bool Utf8MarcRecordClass::SfdTestFirst(const std::string& sSubfieldCode) {
    return TestFind(*this, m.SfdPointer, m.SfdWasFound, m.SfdSearchCodes, [&] { SfdFindFirst(sSubfieldCode, ""); });
}

bool Utf8MarcRecordClass::SfdTestNext(const std::string& sSubfieldCode) {
    return TestFind(*this, m.SfdPointer, m.SfdWasFound, m.SfdSearchCodes, [&] { SfdFindNext(sSubfieldCode, ""); });
}

bool Utf8MarcRecordClass::SfdTestPrev(const std::string& sSubfieldCode) {
    return TestFind(*this, m.SfdPointer, m.SfdWasFound, m.SfdSearchCodes, [&] { Sfdfindprev(sSubfieldCode, ""); });
}
