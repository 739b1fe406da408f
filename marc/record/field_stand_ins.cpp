// Stand-ins for the members that the field table calls before they are built
// in their own files: the order key and the loading of a tag's subfield-order
// rule (field and subfield order rules), and the field's comparison form
// (field normal forms). Each keeps its name and signature, so that its real
// body replaces the one here and the field code that calls it stays as it is.
#include "common/runtime.h"
#include "marc/record/marc_record.h"

// Stand-in: with the construction's keep-the-order rules every key is "*".
std::string Utf8MarcRecordClass::FldOrderKey(const std::string& sTag, const std::string& sIndicators,
                                             const std::string& sFieldText) {
    if (m.FldOrderKeyForTests) return m.FldOrderKeyForTests(sTag, sIndicators, sFieldText);
    return "*";
}

// Stand-in: the current subfield-order rule is not loaded yet.
void Utf8MarcRecordClass::SfdOrderLoad(const std::string& /*sTag*/) {}

// Stand-in: the comparison form of the field's text with every delimiter and
// its code taken as a blank.
std::string Utf8MarcRecordClass::FldNorm() {
    if (CurrentField() < 0) return "";
    return NormString(RemoveDelimiters(FldText(), " "), true, "V");
}
