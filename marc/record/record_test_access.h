#pragma once
// The tests' view of a record object's state and private members.

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
};
