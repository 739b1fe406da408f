// MODS sections: identifier, location, accessCondition and recordInfo.
#include <string>

#include "marc/record/marc_record.h"

void Utf8MarcRecordClass::XmlModsIdentifier(std::string& sOut) { (void)sOut; }

void Utf8MarcRecordClass::XmlModsLocation(std::string& sOut) { (void)sOut; }

void Utf8MarcRecordClass::XmlModsAccessCondition(std::string& sOut) { (void)sOut; }

void Utf8MarcRecordClass::XmlModsRecordInfo(std::string& sOut) { (void)sOut; }
