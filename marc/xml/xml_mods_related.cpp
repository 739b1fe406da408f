// MODS section: relatedItem, with the linking entries.
#include <string>

#include "marc/record/marc_record.h"

void Utf8MarcRecordClass::XmlModsRelatedItem(std::string& sOut) { (void)sOut; }
