// The leader, the 008 and the fixed fields 006, 007 and 008 by zero-based
// character position.
#include <algorithm>

#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "platform/clock.h"

namespace {

constexpr const char* kFixedFieldTags = "006 007 008";

// The blank template of an empty 007, chosen by the category written to 007/00.
struct Template007 {
    const char* Category;
    int Blanks;
    int Fills;
};
constexpr Template007 kTemplates007[] = {
    {"a", 8, 0},  {"c", 14, 0}, {"d", 6, 0},  {"f", 10, 0}, {"g", 9, 0}, {"h", 13, 0},
    {"k", 6, 0},  {"m", 17, 6}, {"o", 2, 0},  {"q", 2, 0},  {"r", 9, 2}, {"s", 14, 0},
    {"t", 2, 0},  {"v", 9, 0},  {"z", 2, 0},
};
constexpr int kOther007Blanks = 14;

}  // namespace

// ---------------------------------------------------------------- leader

std::string Utf8MarcRecordClass::Leader() const { return m.Leader; }

void Utf8MarcRecordClass::Leader(const std::string& vNewValue) {
    if (vNewValue.size() < 24) return;
    // The positions that keep the record's kind, format and set in step run
    // through ChangeLeaderValue against the leader of that moment.
    for (int16_t i : {5, 6, 7, 8, 9, 17, 18, 19}) ChangeLeaderValue(i, vNewValue.substr(static_cast<size_t>(i), 1));
    m.Leader = vNewValue.substr(0, 24);
}

std::string Utf8MarcRecordClass::GetLeaderValue(int16_t MarcLeaderPosition, int16_t MarcLeaderLength) {
    if (MarcLeaderPosition < 0 || MarcLeaderLength < 0) return "";
    const int16_t iEnd = rt::ToInt16(int32_t{MarcLeaderPosition} + MarcLeaderLength);
    if (m.Leader.empty() || MarcLeaderPosition > 23 || iEnd > 24) return "";
    return rt::Mid(m.Leader, MarcLeaderPosition + 1, MarcLeaderLength);
}

std::string Utf8MarcRecordClass::Get008Value(int16_t Marc008Position, int16_t Marc008Length) {
    // A read that fails gives as many blanks as were asked for.
    if (int32_t{Marc008Position} + Marc008Length > 32767) return rt::Space(Marc008Length);
    if (Marc008Position + Marc008Length > 40 || m.Fld008Pointer < 0 || Marc008Position < 0 || Marc008Length < 1)
        return "";
    if (m.Fld008Pointer >= m.FldCount) return rt::Space(Marc008Length);
    const FieldEntry& field = m.Fields[static_cast<size_t>(m.Fld008Pointer)];
    if (field.FirstSubfield < 0 || field.FirstSubfield > field.SubfieldTop) return rt::Space(Marc008Length);
    return rt::Mid(field.Subfields[static_cast<size_t>(field.FirstSubfield)].Text, Marc008Position + 1,
                   Marc008Length);
}

// ---------------------------------------------------------------- fixed fields

std::string Utf8MarcRecordClass::ControlFieldText(int16_t iField) const {
    const FieldEntry& field = m.Fields[static_cast<size_t>(iField)];
    if (field.FirstSubfield < 0 || field.FirstSubfield > field.SubfieldTop) return "";
    const SubfieldEntry& subfield = field.Subfields[static_cast<size_t>(field.FirstSubfield)];
    return subfield.Deleted ? "" : subfield.Text;
}

int16_t Utf8MarcRecordClass::GiveLiveControlSubfield(int16_t iField) {
    FieldEntry& field = m.Fields[static_cast<size_t>(iField)];
    const int16_t first = field.FirstSubfield;
    if (first >= 0 && first <= field.SubfieldTop && !field.Subfields[static_cast<size_t>(first)].Deleted)
        return first;
    // Refilled from slot 0, as a new split of the field would be.
    field.FirstSubfield = -1;
    field.LastSubfield = -1;
    field.SubfieldTop = -1;
    const int16_t slot = field.NewSubfieldSlot();
    field.SubfieldTop = slot;
    SubfieldEntry& subfield = field.Subfields[static_cast<size_t>(slot)];
    subfield.Recycle();
    subfield.Written = true;
    subfield.Code = "9";
    field.FirstSubfield = slot;
    field.LastSubfield = slot;
    return slot;
}

std::string Utf8MarcRecordClass::GetFixedField(int16_t iMarcStartingPosition, int16_t iLength) {
    if (m.FldPointer < 0 || m.FldPointer >= m.FldCount) return "";
    if (rt::InStr(kFixedFieldTags, m.Fields[static_cast<size_t>(m.FldPointer)].Tag) < 1) return "";
    if (iMarcStartingPosition < 0 || iLength < 0) return "";
    return rt::Mid(ControlFieldText(m.FldPointer), int32_t{iMarcStartingPosition} + 1, iLength);
}

void Utf8MarcRecordClass::ChangeFixedField(int16_t iMarcStartingPosition, int16_t iLength,
                                           const std::string& sNewValue) {
    if (m.FldPointer < 0 || m.FldPointer >= m.FldCount || iMarcStartingPosition < 0 || iLength < 1) return;
    const std::string sTag = m.Fields[static_cast<size_t>(m.FldPointer)].Tag;
    if (rt::InStr(kFixedFieldTags, sTag) < 1) return;

    // The change goes into a live first subfield, so that the output shows it.
    const int16_t iSubfield = GiveLiveControlSubfield(m.FldPointer);
    std::string& sText = m.Fields[static_cast<size_t>(m.FldPointer)].Subfields[static_cast<size_t>(iSubfield)].Text;

    if (sText.empty()) {
        if (sTag == "006") {
            sText = rt::Space(18);
        } else if (sTag == "007") {
            const auto* found = std::find_if(std::begin(kTemplates007), std::end(kTemplates007),
                                             [&](const Template007& t) { return sNewValue == t.Category; });
            sText = found == std::end(kTemplates007)
                        ? rt::Space(kOther007Blanks)
                        : rt::Space(found->Blanks) + rt::String(found->Fills, MarcFill()[0]);
        } else if (sTag == "008") {
            const std::string& sFormat = m.MarcRecordFormat;
            const int32_t blanks = sFormat == "H" ? 26 : sFormat == "Q" ? 9 : sFormat == "W" ? 8 : 34;
            sText = rt::FormatDate(platform::Now(), "yymmdd") + rt::Space(blanks);
        }
    }
    if (static_cast<int32_t>(sText.size()) >= int32_t{iMarcStartingPosition} + iLength)
        sText = SafeStuff(sText, int32_t{iMarcStartingPosition} + 1, iLength, sNewValue);
}
