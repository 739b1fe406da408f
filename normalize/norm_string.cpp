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
// character object. 8-bit text of the sets V, M and O: ASCII by the fixed
// rules (small letters in capitals, most punctuation blank, a few marks
// dropped, the delimiter with its code a blank, escape sequences skipped);
// octets from 0x80 on stand as they are. Any other set gives "". Then runs of
// blanks become one blank, trimmed on request.
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
    } else if (m.CharacterSetOut == "V" || m.CharacterSetOut == "M" || m.CharacterSetOut == "O") {
        const bool bSetV = m.CharacterSetOut == "V";
        for (size_t i = 0; i < sCharacterString.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(sCharacterString[i]);
            if (c == 0x1F || c == 0x1B) {
                if (c == 0x1F) sForm += ' ';
                ++i;  // the subfield code, or the octet after the escape
            } else if (c < 0x20) {
                if (bSetV) sForm += ' ';
            } else if (c == ' ' || c == '#' || c == '&' || c == '+' || rt::IsAsciiDigit(static_cast<char>(c)) ||
                       (c >= 'A' && c <= 'Z') || c >= 0x80) {
                sForm += static_cast<char>(c);
            } else if (c >= 'a' && c <= 'z') {
                sForm += rt::UCaseChar(static_cast<char>(c));
            } else if (c == 0x27 || c == 0x5B || (c >= 0x5D && c <= 0x60) || c == 0x7C || c >= 0x7E) {
                // dropped
            } else {
                sForm += ' ';
            }
        }
    }
    sForm = RemoveRepeatedCharacters(sForm, " ");
    return bTrim ? rt::Trim(sForm) : sForm;
}
