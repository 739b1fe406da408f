// Stand-in for a member that the field table calls before it is built in its
// own file: the field's comparison form (field normal forms). It keeps its
// name and signature, so that its real body replaces the one here and the
// field code that calls it stays as it is.
#include "common/runtime.h"
#include "marc/record/marc_record.h"

// Stand-in: the comparison form of the field's text with every delimiter and
// its code taken as a blank.
std::string Utf8MarcRecordClass::FldNorm() {
    if (CurrentField() < 0) return "";
    return NormString(RemoveDelimiters(FldText(), " "), true, "V");
}
