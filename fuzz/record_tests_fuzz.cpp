// Feeds arbitrary record texts to MarcRecordIn, in a UTF-8 and an 8-bit
// record, and then runs the three record tests and the full-stop rule on
// the text and on each field, and the twelve series treatment policies:
// no crash, no hang, the cursor put back.
#include <algorithm>
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
        // Local codes from the input's first octets, or the former ones.
        record->Nuc(size % 2 == 0 ? std::string("DLC CtY") : input.substr(0, std::min<size_t>(size, 8)));
        using Policy = std::string (Utf8MarcRecordClass::*)(int32_t&);
        using C = Utf8MarcRecordClass;
        for (Policy policy : {&C::SeriesAnalysisPolicyDlc, &C::SeriesTracingPolicyDlc,
                              &C::SeriesClassificationPolicyDlc, &C::SeriesNumberingPatternDlc,
                              &C::SeriesAnalysisPolicyDpcc, &C::SeriesTracingPolicyDpcc,
                              &C::SeriesClassificationPolicyDpcc, &C::SeriesNumberingPatternDpcc,
                              &C::SeriesAnalysisPolicyLocal, &C::SeriesTracingPolicyLocal,
                              &C::SeriesClassificationPolicyLocal, &C::SeriesNumberingPatternLocal}) {
            record->FldMoveFirst(true);
            const int16_t iFld = record->FldPointer(), iSfd = record->SfdPointer();
            int32_t lPointer = -5;
            const std::string sAnswer = (record->*policy)(lPointer);
            if (record->FldPointer() != iFld || record->SfdPointer() != iSfd) __builtin_trap();
            // Nothing found leaves the pointer or sets 0; a find names a field.
            if (lPointer == -5 ? !sAnswer.empty() : lPointer < 0 || lPointer > INT16_MAX) __builtin_trap();
        }
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
