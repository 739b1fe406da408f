// The record's normalization scheme and the comparison form of a text.
#include "common/raised_error.h"
#include "common/runtime.h"
#include "marc/record/marc_record.h"

std::string Utf8MarcRecordClass::NormalizationScheme() const { return m.NormalizationScheme; }

void Utf8MarcRecordClass::NormalizationScheme(const std::string& vNewValue) {
    const std::string sLetter = rt::UCase(rt::Left(rt::Trim(vNewValue), 1));
    if (sLetter != "V" && sLetter != "P")
        throw RaisedError(ErrorNumber::InvalidPropertyValue, "MarcClass",
                          "Invalid value for NormalizationScheme property");
    m.NormalizationScheme = sLetter;
    SharedChar().NormalizationScheme(sLetter);
}

// UTF-8 text: the comparison form of every character, from the shared
// character object. 8-bit text: ASCII letters in capitals, every other octet
// as it stands. Then runs of blanks become one blank, trimmed on request.
std::string Utf8MarcRecordClass::NormString(const std::string& sCharacterString, bool bTrim,
                                            const std::string& /*sScheme*/) {
    std::string sForm;
    if (m.RecordIsUtf8) {
        Utf8CharClass& chars = SharedChar();
        for (size_t i = 0; i < sCharacterString.size();) {
            const size_t step = static_cast<size_t>(CharStepAt(sCharacterString, i));
            chars.Utf8Char(sCharacterString.substr(i, step));
            sForm += chars.Utf8CharNorm("V");
            i += step;
        }
    } else {
        sForm = rt::UCase(sCharacterString);
    }
    sForm = RemoveRepeatedCharacters(sForm, " ");
    return bTrim ? rt::Trim(sForm) : sForm;
}
