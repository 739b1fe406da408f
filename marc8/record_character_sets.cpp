// The record's input and output character sets, and the named characters that
// are the same octet in every set.
#include "common/raised_error.h"
#include "common/runtime.h"
#include "marc/record/marc_record.h"

namespace {

constexpr const char* kMarcClassSource = "MarcClass";

}  // namespace

std::string Utf8MarcRecordClass::CharacterSetIn() const {
    return m.CharacterSetInEffective.empty() ? m.CharacterSetIn : m.CharacterSetInEffective;
}

void Utf8MarcRecordClass::CharacterSetIn(const std::string& vNewValue) {
    const std::string sLetter = vNewValue.substr(0, 1);
    if (sLetter.empty() || rt::InStr("VOMUL", sLetter) == 0)
        throw RaisedError(ErrorNumber::InvalidPropertyValue, kMarcClassSource,
                          "Invalid value for CharacterSetIn property");
    m.CharacterSetIn = sLetter;
}

std::string Utf8MarcRecordClass::CharacterSetOut() const { return m.CharacterSetOut; }

// The letter and the flags only: a record already present is not translated
// into the new set here.
void Utf8MarcRecordClass::CharacterSetOut(const std::string& vNewValue) {
    const std::string sLetter = rt::UCase(rt::Left(rt::Trim(vNewValue), 1));
    if (sLetter == "V" || sLetter == "O" || sLetter == "M" || sLetter == "L" || sLetter == "Y") {
        m.CharacterSetOut = sLetter == "Y" ? "M" : sLetter;
        m.RecordIsUtf8 = false;
    } else if (sLetter == "U") {
        m.CharacterSetOut = sLetter;
        m.RecordIsUtf8 = true;
        m.OutputIsUlc = vNewValue == "ULC";
    } else {
        throw RaisedError(ErrorNumber::InvalidPropertyValue, kMarcClassSource,
                          "Invalid value for CharacterSetOut property: " + vNewValue);
    }
}

OctetString Utf8MarcRecordClass::MarcDelimiter() { return SharedChar().MarcDelimiter(); }
OctetString Utf8MarcRecordClass::MarcEscape() { return SharedChar().MarcEscape(); }
OctetString Utf8MarcRecordClass::MarcFill() { return SharedChar().MarcFill(); }
OctetString Utf8MarcRecordClass::MarcEndOfField() { return SharedChar().MarcEndOfField(); }
OctetString Utf8MarcRecordClass::MarcEndOfRecord() { return SharedChar().MarcEndOfRecord(); }
