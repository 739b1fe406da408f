// Form 0 of XMLRecordOut: the record as a MARCXML document in the MARC 21
// slim schema, built in UTF-8 (the frame has switched the output set to "U").
// The schema wants the leader, then the control fields, then the data
// fields: control fields are written first, each group in record order.
#include <string>
#include <string_view>

#include "marc/record/marc_record.h"
#include "platform/events.h"

namespace {

constexpr std::string_view kDocumentStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" ?> "
    "\r\n<marc:collection xmlns:marc=\"http://www.loc.gov/MARC21/slim\""
    "\r\n     xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    "\r\n     xsi:schemaLocation=\"http://www.loc.gov/MARC21/slim "
    "http://www.loc.gov/standards/marcxml/schema/MARC21slim.xsd\">"
    "\r\n\t<marc:record>";
constexpr std::string_view kDocumentEnd = "\r\n\t</marc:record>\r\n</marc:collection>";

}  // namespace

std::string Utf8MarcRecordClass::XmlMarcxmlDocument() {
    std::string sDocument;
    sDocument.reserve(kDocumentStart.size() + 128 + 2 * m.MarcRecordIn.size());
    sDocument += kDocumentStart;

    // Leader positions 00 to 19 (blank-padded when the leader is shorter), then "4500".
    std::string sLeader = m.Leader.substr(0, 20);
    if (sLeader.size() < 20) sLeader.append(20 - sLeader.size(), ' ');
    sDocument += "\r\n\t\t<marc:leader>";
    AppendXmlConditionText(sDocument, sLeader);
    sDocument += "4500</marc:leader>";

    // The document is written in one buffer: the data fields from where the first stands, and a
    // control field met after that into a buffer of its own, put in before them at the end.
    size_t iDataFieldsAt = std::string::npos;
    std::string sLateControlFields;

    // The fields in list order, as FldMoveTop and FldMoveNext with deleted
    // fields skipped reach them (a yield for each deleted field passed over);
    // the walk is bounded by the table, whatever its links hold.
    int16_t fld = m.FldFirst;
    for (int32_t steps = 0; fld >= 0 && fld < m.FldCount && steps <= m.FldCount; ++steps) {
        const FieldEntry& field = m.Fields[static_cast<size_t>(fld)];
        const int16_t next = field.NextField;
        fld = next;
        if (field.Deleted) {
            platform::DoEvents();
            continue;
        }
        const auto subfieldAt = [&field](int16_t sfd) -> const SubfieldEntry* {
            return sfd >= 0 && sfd <= field.SubfieldTop ? &field.Subfields[static_cast<size_t>(sfd)] : nullptr;
        };
        if (field.IsControl) {
            // The text of the field's one subfield; none when it was deleted.
            const SubfieldEntry* subfield = subfieldAt(field.FirstSubfield);
            std::string& sOut = iDataFieldsAt == std::string::npos ? sDocument : sLateControlFields;
            sOut += "\r\n\t\t<marc:controlfield tag=\"";
            AppendXmlConditionText(sOut, field.Tag, true);
            sOut += "\">";
            if (subfield && !subfield->Deleted) AppendXmlConditionText(sOut, subfield->Text);
            sOut += "</marc:controlfield>";
            continue;
        }

        if (iDataFieldsAt == std::string::npos) iDataFieldsAt = sDocument.size();
        const size_t iFieldAt = sDocument.size();
        // A missing indicator is written as a blank.
        const std::string_view sInd = field.Indicators;
        const std::string_view sInd1 = sInd.size() >= 1 ? sInd.substr(0, 1) : std::string_view(" ");
        const std::string_view sInd2 = sInd.size() >= 2 ? sInd.substr(1, 1) : std::string_view(" ");
        sDocument += "\r\n\t\t<marc:datafield tag=\"";
        AppendXmlConditionText(sDocument, field.Tag, true);
        sDocument += "\" ind1=\"";
        AppendXmlConditionText(sDocument, sInd1, true);
        sDocument += "\" ind2=\"";
        AppendXmlConditionText(sDocument, sInd2, true);
        sDocument += "\">";
        const size_t iSubfieldsAt = sDocument.size();
        int16_t sfd = field.FirstSubfield;
        for (int32_t count = 0; count <= field.SubfieldTop; ++count) {
            const SubfieldEntry* subfield = subfieldAt(sfd);
            if (!subfield) break;
            sfd = subfield->NextSubfield;
            if (subfield->Deleted) continue;
            sDocument += "\r\n\t\t\t<marc:subfield code=\"";
            AppendXmlConditionText(sDocument, subfield->Code, true);
            sDocument += "\">";
            AppendXmlConditionText(sDocument, subfield->Text);
            sDocument += "</marc:subfield>";
        }
        // A field without a written subfield is left out.
        if (sDocument.size() == iSubfieldsAt) {
            sDocument.resize(iFieldAt);
            continue;
        }
        sDocument += "</marc:datafield>";
    }
    // Where the walk leaves the cursor: past the last field, no edge flag set.
    m.FldPointer = -1;
    m.SfdPointer = -1;
    m.FldWasFound = false;
    m.SfdWasFound = false;
    m.FldAtTop = m.FldAtBottom = m.SfdAtTop = m.SfdAtBottom = false;

    if (!sLateControlFields.empty()) sDocument.insert(iDataFieldsAt, sLateControlFields);
    sDocument += kDocumentEnd;
    return sDocument;
}
