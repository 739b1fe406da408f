// Drives the text-only cataloguing rules with arbitrary texts: dissertation
// notes, the 533 $7 and 539 conversions and the date finder, in a UTF-8 and
// an 8-bit record. Two texts split at octet 0x00: the note (or field) and
// the 008 date.
#include <cstddef>
#include <cstdint>
#include <string>

#include "marc/record/marc_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Utf8MarcRecordClass utf8;
    static Utf8MarcRecordClass marc8;
    static const bool bMarc8Set = (marc8.CharacterSetOut("M"), true);
    (void)bMarc8Set;

    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t cut = input.find('\0');
    const std::string sText = input.substr(0, cut);
    const std::string sDate = cut == std::string::npos ? "" : input.substr(cut + 1);

    for (Utf8MarcRecordClass* record : {&utf8, &marc8}) {
        std::string sDegree, sInstitution, sReturnedDate, sMisc;
        const int32_t status =
            record->ParseThesisNote(sText, sDate, sDegree, sInstitution, sReturnedDate, sMisc, size % 2 == 0);
        if (status != 1 && !(sDegree.empty() && sInstitution.empty() && sReturnedDate.empty())) __builtin_trap();
        const std::string s539 = record->Convert533Sfd7To539(sText);
        if (record->Convert539To533Sfd7(sText).size() != 15) __builtin_trap();
        if (record->Convert539To533Sfd7(s539).size() != 15) __builtin_trap();
        const std::string sFound = record->FindDateInString(sText);
        if (sFound.size() > sText.size()) __builtin_trap();
    }
    return 0;
}
