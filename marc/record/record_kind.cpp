// What kind of record the record object holds, and the control subfield $w
// of an authority record's tracings and references.
#include "common/runtime.h"
#include "common/utli_misc_non_utf8.h"
#include "marc/record/marc_record.h"

namespace {

// The beginnings of the normal form of an authority record number.
constexpr const char* kAuthorityNumberPrefixes = "*SH *N *NO *NB *NR *NS*";

// Position 2 of $w (an earlier form of the heading) and 3 (reference
// display), counted from 1; "n" means not applicable.
constexpr int32_t kFormerHeadingPosition = 3;
constexpr int32_t kSuppressedReferencePosition = 4;

bool CodeAtIsSet(const std::string& sSubfieldW, int32_t iPosition) {
    return rt::Mid(sSubfieldW + "nnnn", iPosition, 1) != "n";
}

}  // namespace

bool Utf8MarcRecordClass::NationalAuthorityRecord(std::string& sReturnedAuthorityStandardNumber) {
    sReturnedAuthorityStandardNumber.clear();
    if (m.MarcRecordFormat != "A") return false;

    const int16_t iNoted = m.FldPointer;
    bool bNational = false;
    try {
        if (FldFindFirst("010", "")) {
            sReturnedAuthorityStandardNumber = "010: " + FldText();
            bNational = true;
        } else {
            FldMoveTop();
            while (!bNational && FldFindNext("035", "")) {
                if (!SfdFindFirst("a", "")) continue;
                const std::string sNorm = SfdNorm();
                std::string sCodes = m.NationalAuthorityInstitutions;
                while (!bNational && !sCodes.empty()) {
                    std::string sCode;
                    UtliMiscNonUtf8::SplitOffFirst(sCodes, sCode, " ");
                    // An empty code (two blanks in a row) would occur in every text.
                    bNational = !sCode.empty() && rt::InStr(sNorm, sCode) > 0;
                }
                // A normal form shorter than a prefix would occur in the list anywhere.
                if (!bNational && sNorm.size() >= 2)
                    bNational = rt::InStr(kAuthorityNumberPrefixes, sNorm.substr(0, 2)) > 0;
                if (bNational) sReturnedAuthorityStandardNumber = "035: " + SfdText();
            }
            if (!bNational && FldFindFirst("040", ""))
                bNational = rt::InStr(FldText(), MarcDelimiter() + "aDNLM") > 0;
        }
    } catch (...) {
        FldPointer(iNoted);
        throw;
    }
    FldPointer(iNoted);
    return bNational;
}

bool Utf8MarcRecordClass::FldReferenceCodeIsSet(int32_t iPosition) {
    if (m.MarcRecordFormat != "A") return false;
    const FieldEntry* field = CurrentFieldEntry();
    if (!field || field->Tag.empty() || (field->Tag[0] != '4' && field->Tag[0] != '5')) return false;
    const int16_t iNoted = m.SfdPointer;
    const bool bSet = SfdFindFirst("w", "") && CodeAtIsSet(SfdText(), iPosition);
    SfdPointer(iNoted);
    return bSet;
}

bool Utf8MarcRecordClass::FldIsFormerHeading() { return FldReferenceCodeIsSet(kFormerHeadingPosition); }

bool Utf8MarcRecordClass::FldIsSuppressedReference() {
    return FldReferenceCodeIsSet(kSuppressedReferencePosition);
}

bool Utf8MarcRecordClass::FldFormerHeading() {
    if (m.MarcRecordFormat != "A") return false;
    const FieldEntry* field = CurrentFieldEntry();
    if (!field) return false;
    int32_t iSteps = 0;
    for (int16_t i = field->FirstSubfield; i >= 0 && i <= field->SubfieldTop &&
                                           static_cast<size_t>(i) < field->Subfields.size() &&
                                           ++iSteps <= field->SubfieldTop + 1;
         i = field->Subfields[static_cast<size_t>(i)].NextSubfield) {
        const SubfieldEntry& subfield = field->Subfields[static_cast<size_t>(i)];
        if (!subfield.Deleted && subfield.Code == "w")
            return CodeAtIsSet(rt::Trim(subfield.Text), kFormerHeadingPosition);
    }
    return false;
}

void Utf8MarcRecordClass::DumpArray(const std::string& /*sTagList*/, bool /*bIncludeSubfieldDetails*/) {}
