#pragma once
// The form with bars of a data field (form 3 of the field text) made straight from its subfields.

#include <string>

#include "marc/record/marc_record.h"

namespace field_text {

// Appends to sOut each live subfield as "|", its code, a blank and its text, with a blank before
// each but the first: what the spaced delimiters with bars give of the field's text, where every
// live subfield has a one-octet code other than the delimiter and no delimiter in its text. For
// any other field, a control field, and a field whose links are broken, false and sOut unchanged.
bool AppendBarsFromSubfields(const FieldEntry& field, std::string& sOut);

}  // namespace field_text
