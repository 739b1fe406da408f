// Recognising an OCLC control number and giving it the form the record's
// options ask for; the three stored options.
#include <string>

#include "common/ini.h"
#include "common/runtime.h"
#include "common/utli_misc_non_utf8.h"
#include "marc/record/marc_record.h"

bool Utf8MarcRecordClass::IsOclcNumber(std::string sText, std::string& sNormalized) {
    // "(OCoLC)" in any case; the letter prefixes only in lower case.
    const std::string sPrefix3 = rt::Left(sText, 3);
    const bool bOclc = rt::UCase(rt::Left(sText, 7)) == "(OCOLC)" || sPrefix3 == "ocm" || sPrefix3 == "ocl" ||
                       sPrefix3 == "ocn" ||
                       (rt::Left(sText, 2) == "oc" && sText.size() > 2 && sText[2] >= '1' && sText[2] <= '9');
    if (!bOclc) return false;
    sNormalized = UtliMiscNonUtf8::NormalizeOclcNumber(sText, m.OclcNumbersHaveLeadingZeroes,
                                                       !m.RemoveOclcAlphabeticPrefix, true);
    return true;
}

namespace {

// Each option is written to the record settings file on every set, so a new
// object starts with the last choice; a failed write leaves the member set.
void WriteOclcOption(const char* sKey, bool bValue) {
    INI::WriteIniValue("MarcRecordClass.INI", "Booleans", sKey, bValue ? "True" : "False", 0);
}

}  // namespace

bool Utf8MarcRecordClass::RemoveDuplicateOclcNumbers() const { return m.RemoveDuplicateOclcNumbers; }

void Utf8MarcRecordClass::RemoveDuplicateOclcNumbers(bool vNewValue) {
    m.RemoveDuplicateOclcNumbers = vNewValue;
    WriteOclcOption("RemoveDuplicateOclcNumbers", vNewValue);
}

bool Utf8MarcRecordClass::RemoveOclcAlphabeticPrefix() const { return m.RemoveOclcAlphabeticPrefix; }

void Utf8MarcRecordClass::RemoveOclcAlphabeticPrefix(bool vNewValue) {
    m.RemoveOclcAlphabeticPrefix = vNewValue;
    WriteOclcOption("RemoveOclcAlphabeticPrefix", vNewValue);
}

bool Utf8MarcRecordClass::OclcNumbersHaveLeadingZeroes() const { return m.OclcNumbersHaveLeadingZeroes; }

void Utf8MarcRecordClass::OclcNumbersHaveLeadingZeroes(bool vNewValue) {
    m.OclcNumbersHaveLeadingZeroes = vNewValue;
    WriteOclcOption("OclcNumbersHaveLeadingZeroes", vNewValue);
}
