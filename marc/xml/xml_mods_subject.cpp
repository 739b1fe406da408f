// MODS sections: subject and classification.
#include <string>

#include "marc/record/marc_record.h"

void Utf8MarcRecordClass::XmlModsSubject(std::string& sOut) { (void)sOut; }

void Utf8MarcRecordClass::XmlModsClassification(std::string& sOut) { (void)sOut; }
