// The record's MARC-8 members around the field translations: the designation of a table code.

#include <string>

#include "marc/record/marc_record.h"

std::string Utf8MarcRecordClass::TranslateUtf82MarcShortCodeToLong(const std::string& sShortCharacterSetCode) const {
    if (sShortCharacterSetCode.size() != 1) return sShortCharacterSetCode;
    switch (sShortCharacterSetCode[0]) {
        case '1': return "(B";
        case '2': return "s";
        case '3': return "b";
        case '4': return "p";
        case '5': return "(2";
        case '6': return "(N";
        case '7': return "(3";
        case '8': return "(S";
        case '9': return "$1";
        case ':': return ")Q";
        case ';': return ")4";
        default: return sShortCharacterSetCode;
    }
}
