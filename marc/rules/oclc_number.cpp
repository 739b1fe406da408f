// Recognising an OCLC control number and giving it the form the record's
// options ask for.
#include <string>

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
