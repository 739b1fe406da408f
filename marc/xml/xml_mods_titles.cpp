// MODS sections: titleInfo, name, typeOfResource and originInfo.
#include <string>

#include "marc/record/marc_record.h"

void Utf8MarcRecordClass::XmlModsTitleInfo(std::string& sOut) { (void)sOut; }

void Utf8MarcRecordClass::XmlModsName(std::string& sOut) { (void)sOut; }

void Utf8MarcRecordClass::XmlModsTypeOfResource(std::string& sOut) { (void)sOut; }

void Utf8MarcRecordClass::XmlModsOriginInfo(std::string& sOut) { (void)sOut; }
