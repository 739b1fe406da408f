#pragma once
// Helpers of the field-table and field-cursor tests: a record's fields in list
// order as one line, a check of the table's links, and order keys that the
// tests give the fields.

#include <gtest/gtest.h>

#include <string>

#include "marc/record/record_test_access.h"

namespace field_test {

using record_test::D;

// "$" for the delimiter, back from the stored octet.
inline std::string Dollar(std::string s) {
    for (char& c : s)
        if (c == '\x1F') c = '$';
    return s;
}

// Each entry in list order, at most FldCount of them.
template <class Visit>
void ForEachInListOrder(const Utf8MarcRecordClass& record, Visit visit) {
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    int count = 0;
    for (int16_t i = s.FldFirst; i >= 0 && ++count <= s.FldCount; i = s.Fields[static_cast<size_t>(i)].NextField)
        visit(s.Fields[static_cast<size_t>(i)]);
}

// The fields in list order, blank-separated, each as tag, "/" and indicators
// (for a data field), "=" and its live subfields with "$" for the
// delimiter; a deleted field starts with "-" (or is left out with
// bLiveOnly). Built from the state alone, so that it leaves the cursor alone.
inline std::string ListOrder(const Utf8MarcRecordClass& record, bool bLiveOnly = false) {
    std::string out;
    ForEachInListOrder(record, [&out, bLiveOnly](const FieldEntry& f) {
        if (bLiveOnly && f.Deleted) return;
        if (!out.empty()) out += ' ';
        if (f.Deleted) out += '-';
        out += f.Tag;
        if (!f.IsControl) out += "/" + f.Indicators;
        out += '=';
        for (int16_t j = f.FirstSubfield; j >= 0; j = f.Subfields[static_cast<size_t>(j)].NextSubfield) {
            const SubfieldEntry& sfd = f.Subfields[static_cast<size_t>(j)];
            if (!sfd.Deleted) out += f.IsControl ? sfd.Text : "$" + sfd.Code + sfd.Text;
        }
    });
    return out;
}

// The tags in list order, a deleted field's with "-" in front.
inline std::string TagOrder(const Utf8MarcRecordClass& record) {
    std::string out;
    ForEachInListOrder(record, [&out](const FieldEntry& f) {
        if (!out.empty()) out += ' ';
        if (f.Deleted) out += '-';
        out += f.Tag;
    });
    return out;
}

// The list runs from FldFirst to FldLast through both links and holds every
// entry in use once; the table's bounds are 0 to FldCount.
inline void ExpectLinked(const Utf8MarcRecordClass& record) {
    const Utf8MarcRecordState& s = RecordTestAccess::State(record);
    ASSERT_EQ(s.Fields.size(), static_cast<size_t>(s.FldCount) + 1);
    int16_t prev = -1;
    int count = 0;
    for (int16_t i = s.FldFirst; i >= 0; i = s.Fields[static_cast<size_t>(i)].NextField) {
        ASSERT_LT(i, s.FldCount);
        ASSERT_EQ(s.Fields[static_cast<size_t>(i)].PrevField, prev);
        prev = i;
        ASSERT_LE(++count, s.FldCount);
    }
    EXPECT_EQ(s.FldLast, prev);
    EXPECT_EQ(count, s.FldCount);
}

// Order keys as the order rules would give them: a field with $6 has its tag
// (an 880 the linked tag) as key and a suffix of the marker and the
// occurrence, " G" added for the 880; otherwise the text between braces, or
// else the tag.
inline void UseTestKeys(Utf8MarcRecordClass& record) {
    RecordTestAccess::MutableState(record).FldOrderKeyForTests =
        [](const std::string& sTag, const std::string&, const std::string& sText) -> std::string {
        const std::string marker = D("$6");
        const size_t at = sText.find(marker);
        if (at != std::string::npos && sText.size() >= at + 8) {
            const std::string linked = sText.substr(at + 2, 3);
            const std::string occurrence = sText.substr(at + 6, 2);
            return sTag == "880" ? linked + marker + occurrence + " G" : sTag + marker + occurrence;
        }
        const size_t open = sText.find('{');
        const size_t close = sText.find('}');
        if (open != std::string::npos && close != std::string::npos && close > open)
            return sText.substr(open + 1, close - open - 1);
        return sTag;
    };
}

}  // namespace field_test
