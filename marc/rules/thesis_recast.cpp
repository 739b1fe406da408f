// Dissertation notes (502) rewritten in subfields $b degree, $g other
// information, $c institution and $d date before every output; the record
// test for description under RDA; the stored option of the recast.
#include <string>

#include "common/ini.h"
#include "marc/record/marc_record.h"

namespace {

constexpr const char* kSettingsFile = "MarcRecordClass.INI";
constexpr const char* kBooleans = "Booleans";
constexpr const char* kRecastKey = "RdaReCast502fields";

}  // namespace

bool Utf8MarcRecordClass::RdaReCast502Fields() const { return m.RdaReCast502Fields; }

void Utf8MarcRecordClass::RdaReCast502Fields(bool vNewValue) {
    m.RdaReCast502Fields = vNewValue;
    INI::WriteIniValue(kSettingsFile, kBooleans, kRecastKey, vNewValue ? "True" : "False", 0);
}

void Utf8MarcRecordClass::ReCast502Field() {
    std::string sDegree, sInstitution, sDate, sMiscellaneous;
    if (ParseThesisNote(FldText(), Get008Value(7, 4), sDegree, sInstitution, sDate, sMiscellaneous, false) != 1)
        return;
    const std::string sDelimiter = MarcDelimiter();
    std::string sText;
    for (const auto& [code, value] : {std::pair<const char*, const std::string*>{"b", &sDegree},
                                      {"g", &sMiscellaneous},
                                      {"c", &sInstitution},
                                      {"d", &sDate}})
        if (!value->empty()) sText += sDelimiter + code + *value;
    FldText(sText);
}

void Utf8MarcRecordClass::ReCastAll502Fields() {
    if (m.FldCount < 1 || m.FldFirst < 0) return;

    // The cursor as it stands, put back on every way out once a field was
    // recast (until then nothing has moved it).
    struct CursorGuard {
        Utf8MarcRecordClass& record;
        int16_t FldPointer, SfdPointer;
        bool FldWasFound, SfdWasFound, FldAtTop, FldAtBottom, SfdAtTop, SfdAtBottom;
        bool moved = false;
        explicit CursorGuard(Utf8MarcRecordClass& r)
            : record(r), FldPointer(r.m.FldPointer), SfdPointer(r.m.SfdPointer), FldWasFound(r.m.FldWasFound),
              SfdWasFound(r.m.SfdWasFound), FldAtTop(r.m.FldAtTop), FldAtBottom(r.m.FldAtBottom),
              SfdAtTop(r.m.SfdAtTop), SfdAtBottom(r.m.SfdAtBottom) {}
        ~CursorGuard() {
            if (!moved) return;
            try {
                // The field's order rule comes back with the field; the flags
                // are then those the caller had.
                record.FldPointer(FldPointer);
                record.SfdPointer(SfdPointer);
            } catch (...) {
                record.m.FldPointer = -1;
                record.m.SfdPointer = -1;
            }
            Utf8MarcRecordState& st = record.m;
            st.FldWasFound = FldWasFound && st.FldPointer >= 0;
            st.SfdWasFound = SfdWasFound && st.SfdPointer >= 0;
            st.FldAtTop = FldAtTop;
            st.FldAtBottom = FldAtBottom;
            st.SfdAtTop = SfdAtTop;
            st.SfdAtBottom = SfdAtBottom;
        }
    };
    CursorGuard guard(*this);

    // One walk of the list; a rewrite leaves an entry it moves linked and
    // deleted, and the count bounds the walk over a broken list.
    int32_t visited = 0;
    for (int16_t i = m.FldFirst; i >= 0 && i < m.FldCount && visited <= m.FldCount; ++visited) {
        const FieldEntry& field = m.Fields[static_cast<size_t>(i)];
        if (!field.Deleted && field.Tag == "502") {
            guard.moved = true;
            FldPointer(i);
            ReCast502Field();
        }
        i = m.Fields[static_cast<size_t>(i)].NextField;
    }
}

bool Utf8MarcRecordClass::RdaRecord() {
    const int16_t iFld = FldPointer();
    const int16_t iSfd = SfdPointer();
    bool bRda = false;
    if (!IsAuthority() || Get008Value(10, 1) == "z") {
        FldMoveTop();
        if (FldFindFirst("040", "")) {
            // Every $e from the field's first subfield on.
            for (bool bFound = SfdFindFirst("e", ""); bFound && !bRda; bFound = SfdFindNext("e", ""))
                bRda = SfdNorm() == "RDA";
        }
    }
    FldPointer(iFld);
    SfdPointer(iSfd);
    return bRda;
}
