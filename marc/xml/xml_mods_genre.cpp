// MODS section: genre, from the coded fixed fields and the 655 headings.
#include <string>

#include "marc/record/marc_record.h"

void Utf8MarcRecordClass::XmlRecordOutGenreSection(std::string& sOut, const std::string& sCrlfTabTab) {
    (void)sOut;
    (void)sCrlfTabTab;
}
