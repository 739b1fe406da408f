#pragma once
// The tests' view of a record object's state and private members, and small
// helpers of the record tests.

#include <gtest/gtest.h>

#include <string>

#include "marc/record/marc_record.h"

struct RecordTestAccess {
    static const Utf8MarcRecordState& State(const Utf8MarcRecordClass& record) { return record.m; }
    static Utf8MarcRecordState& MutableState(Utf8MarcRecordClass& record) { return record.m; }
    static void NewRecordDateFields(Utf8MarcRecordClass& record, std::string& s005, std::string& sDate,
                                    std::string& s008) {
        record.NewRecordDateFields(s005, sDate, s008);
    }
    static void FldOrderInstall(Utf8MarcRecordClass& record, const std::string& sFormat) {
        record.FldOrderInstall(sFormat);
    }
    static int16_t NewFieldSlot(Utf8MarcRecordClass& record) { return record.NewFieldSlot(); }
    static void DecideCharacterSetInEffective(Utf8MarcRecordClass& record, const std::string& sMarcRecord) {
        record.DecideCharacterSetInEffective(sMarcRecord);
    }
    static std::string HoldLoadInInputSet(Utf8MarcRecordClass& record) { return record.HoldLoadInInputSet(); }
    static void ReturnLoadToOutputSet(Utf8MarcRecordClass& record, const std::string& sReturnTo) {
        record.ReturnLoadToOutputSet(sReturnTo);
    }

    // ---- subfield table ----
    static void FldSplitText(Utf8MarcRecordClass& record, int16_t iField, const std::string& sText) {
        record.FldSplitText(iField, sText);
    }
    static bool IsOclcNumber(Utf8MarcRecordClass& record, const std::string& sText, std::string& sNormalized) {
        return record.IsOclcNumber(sText, sNormalized);
    }
    static void SfdOrderPosition(Utf8MarcRecordClass& record, const std::string& sCode, bool bTitleSeen,
                                 int16_t& iPosition, int16_t& iStepType, std::string& sStepCodes,
                                 int16_t& iMatchCount) {
        record.SfdOrderPosition(sCode, bTitleSeen, iPosition, iStepType, sStepCodes, iMatchCount);
    }

    // ---- thesis notes and the 502 recast ----
    static bool IsDegreeAbbreviation(Utf8MarcRecordClass& record, const std::string& sWord) {
        return record.IsDegreeAbbreviation(sWord);
    }
    static bool ContainsNonThesisPhrase(Utf8MarcRecordClass& record, const std::string& sText) {
        return record.ContainsNonThesisPhrase(sText);
    }
};

namespace record_test {

// $ in a test text stands for the subfield delimiter.
inline std::string D(std::string s) {
    for (char& c : s)
        if (c == '$') c = '\x1F';
    return s;
}

// A UTF-8 record and an 8-bit (MARC-8) record.
class TwoRecords : public ::testing::Test {
protected:
    TwoRecords() { marc8.CharacterSetOut("M"); }
    Utf8MarcRecordClass utf8;
    Utf8MarcRecordClass marc8;
};

}  // namespace record_test
