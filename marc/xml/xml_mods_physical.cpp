// MODS sections: language, physicalDescription, abstract, tableOfContents, targetAudience and note.
#include <string>

#include "marc/record/marc_record.h"

void Utf8MarcRecordClass::XmlModsLanguage(std::string& sOut) { (void)sOut; }

void Utf8MarcRecordClass::XmlModsPhysicalDescription(std::string& sOut) { (void)sOut; }

void Utf8MarcRecordClass::XmlModsAbstract(std::string& sOut) { (void)sOut; }

void Utf8MarcRecordClass::XmlModsTableOfContents(std::string& sOut) { (void)sOut; }

void Utf8MarcRecordClass::XmlModsTargetAudience(std::string& sOut) { (void)sOut; }

void Utf8MarcRecordClass::XmlModsNote(std::string& sOut) { (void)sOut; }
