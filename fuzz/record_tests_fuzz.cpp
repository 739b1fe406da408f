// Feeds arbitrary record texts to MarcRecordIn, in a UTF-8 and an 8-bit
// record, and then runs the three record tests and the full-stop rule on
// the text and on each field: no crash, no hang, the cursor put back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "marc/record/marc_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Utf8MarcRecordClass utf8;
    static Utf8MarcRecordClass marc8;
    static const bool bMarc8Set = (marc8.CharacterSetIn("M"), marc8.CharacterSetOut("M"), true);
    (void)bMarc8Set;

    const std::string input(reinterpret_cast<const char*>(data), size);
    for (Utf8MarcRecordClass* record : {&utf8, &marc8}) {
        record->FieldsToTestForEmptySubfieldsBib(size % 3 == 0 ? "*" : "245 650");
        try {
            record->MarcRecordIn(input);
        } catch (...) {
            continue;  // a refused text is the load's business
        }
        std::string sMessages;
        if (record->TestRecordForEmptySubfields(sMessages) == sMessages.empty()) __builtin_trap();
        if (record->TestRecordForLeadingSubfield(sMessages) == sMessages.empty()) __builtin_trap();
        if (record->TestRecordForBlankSubfieldCodes(sMessages) == sMessages.empty()) __builtin_trap();
        const int16_t iVerdict = record->IsTheFullStopAtTheEndProbablyIntegral(input);
        if (iVerdict < 1 || iVerdict > 3) __builtin_trap();
        int iFields = 0;
        for (bool b = record->FldMoveFirst(true); b && iFields < 64; b = record->FldMoveNext(true), ++iFields) {
            const int16_t iFld = record->FldPointer(), iSfd = record->SfdPointer();
            const int16_t iField = record->IsTheFullStopAtTheEndProbablyIntegral(record->FldText());
            if (iField < 1 || iField > 3) __builtin_trap();
            if (record->FldPointer() != iFld || record->SfdPointer() != iSfd) __builtin_trap();
        }
    }
    return 0;
}
