// Forms 1, 3 and 5 of XMLRecordOut for bibliographic records: the MODS 3.2
// document. The frame writes the root and the mods element; each section
// walks the record on its own and appends its lines, in the order below.
#include <string>
#include <string_view>

#include "marc/record/marc_record.h"

namespace {

constexpr std::string_view kModsHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" ?> "
    "\r\n<modsCollection xmlns:xlink=\"http://www.w3.org/1999/xlink\""
    "\r\n     xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    "\r\n     xmlns=\"http://www.loc.gov/mods/v3\""
    "\r\n     xsi:schemaLocation=\"http://www.loc.gov/mods/v3 "
    "http://www.loc.gov/standards/mods/v3/mods-3-2.xsd\">"
    "\r\n\t<mods>";

}  // namespace

std::string Utf8MarcRecordClass::XmlModsDocument() {
    std::string sOut(kModsHeader);
    XmlModsTitleInfo(sOut);
    XmlModsName(sOut);
    XmlModsTypeOfResource(sOut);
    XmlRecordOutGenreSection(sOut, m.XmlCrlfTabTab);
    XmlModsGenreHeadings(sOut);
    XmlModsOriginInfo(sOut);
    XmlModsLanguage(sOut);
    XmlModsPhysicalDescription(sOut);
    XmlModsAbstract(sOut);
    XmlModsTableOfContents(sOut);
    XmlModsTargetAudience(sOut);
    XmlModsNote(sOut);
    XmlModsSubject(sOut);
    XmlModsClassification(sOut);
    XmlModsRelatedItem(sOut);
    XmlModsIdentifier(sOut);
    XmlModsLocation(sOut);
    XmlModsAccessCondition(sOut);
    XmlModsRecordInfo(sOut);
    sOut += "\r\n\t</mods>\r\n</modsCollection>";
    return sOut;
}
