#pragma once
// Helpers of the subfield tests: a field added to a record and the current
// field's subfields written out in list order.

#include <string>

#include "marc/record/record_test_access.h"

namespace subfield_test {

using record_test::D;

// Adds a field at the end of the list, makes it current and splits its text,
// as the field table does for a new field.
inline void AddField(Utf8MarcRecordClass& record, const std::string& sTag, const std::string& sIndicators,
                     const std::string& sText) {
    Utf8MarcRecordState& st = RecordTestAccess::MutableState(record);
    const int16_t n = RecordTestAccess::NewFieldSlot(record);
    FieldEntry& field = st.Fields[static_cast<size_t>(n)];
    field.Tag = sTag;
    field.IsControl = sTag.substr(0, 2) == "00";
    field.Indicators = field.IsControl ? "" : sIndicators;
    field.Changed = true;
    field.PrevField = st.FldLast;
    if (st.FldLast >= 0) st.Fields[static_cast<size_t>(st.FldLast)].NextField = n;
    if (st.FldFirst < 0) st.FldFirst = n;
    st.FldLast = n;
    st.FldPointer = n;
    st.FldWasFound = true;
    st.SfdPointer = -1;
    st.SfdWasFound = false;
    if (!sText.empty()) RecordTestAccess::FldSplitText(record, n, D(sText));
}

// The current field's subfields in list order: "$" and the code for a live
// subfield, "~" and the code for a deleted one, then the text.
inline std::string Listing(const Utf8MarcRecordClass& record) {
    const Utf8MarcRecordState& st = RecordTestAccess::State(record);
    if (st.FldPointer < 0) return "<no field>";
    const FieldEntry& field = st.Fields[static_cast<size_t>(st.FldPointer)];
    std::string out;
    for (int16_t i = field.FirstSubfield; i >= 0; i = field.Subfields[static_cast<size_t>(i)].NextSubfield) {
        const SubfieldEntry& sub = field.Subfields[static_cast<size_t>(i)];
        out += (sub.Deleted ? "~" : "$") + sub.Code + sub.Text;
    }
    return out;
}

// The list read backwards, written forwards, so that both link directions
// can be compared with one listing.
inline std::string ListingBackwards(const Utf8MarcRecordClass& record) {
    const Utf8MarcRecordState& st = RecordTestAccess::State(record);
    if (st.FldPointer < 0) return "<no field>";
    const FieldEntry& field = st.Fields[static_cast<size_t>(st.FldPointer)];
    std::string out;
    for (int16_t i = field.LastSubfield; i >= 0; i = field.Subfields[static_cast<size_t>(i)].PrevSubfield) {
        const SubfieldEntry& sub = field.Subfields[static_cast<size_t>(i)];
        out = (sub.Deleted ? "~" : "$") + sub.Code + sub.Text + out;
    }
    return out;
}

}  // namespace subfield_test
