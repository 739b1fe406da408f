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

bool IsControlTag(const std::string& sTag) { return sTag.size() >= 2 && sTag[0] == '0' && sTag[1] == '0'; }

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

    std::string sDataFields;
    sDataFields.reserve(2 * m.MarcRecordIn.size());
    std::string sSubfields;

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
        if (IsControlTag(field.Tag)) {
            // The text of the field's one subfield; none when it was deleted.
            const SubfieldEntry* subfield = subfieldAt(field.FirstSubfield);
            sDocument += "\r\n\t\t<marc:controlfield tag=\"";
            AppendXmlConditionText(sDocument, field.Tag, true);
            sDocument += "\">";
            if (subfield && !subfield->Deleted) AppendXmlConditionText(sDocument, subfield->Text);
            sDocument += "</marc:controlfield>";
            continue;
        }

        sSubfields.clear();
        int16_t sfd = field.FirstSubfield;
        for (int32_t count = 0; count <= field.SubfieldTop; ++count) {
            const SubfieldEntry* subfield = subfieldAt(sfd);
            if (!subfield) break;
            sfd = subfield->NextSubfield;
            if (subfield->Deleted) continue;
            sSubfields += "\r\n\t\t\t<marc:subfield code=\"";
            AppendXmlConditionText(sSubfields, subfield->Code, true);
            sSubfields += "\">";
            AppendXmlConditionText(sSubfields, subfield->Text);
            sSubfields += "</marc:subfield>";
        }
        // A field without a written subfield is left out.
        if (sSubfields.empty()) continue;

        // FldInd is empty for a field flagged as a control field; a missing
        // indicator is written as a blank.
        const std::string_view sInd = field.IsControl ? std::string_view() : std::string_view(field.Indicators);
        const std::string_view sInd1 = sInd.size() >= 1 ? sInd.substr(0, 1) : std::string_view(" ");
        const std::string_view sInd2 = sInd.size() >= 2 ? sInd.substr(1, 1) : std::string_view(" ");
        sDataFields += "\r\n\t\t<marc:datafield tag=\"";
        AppendXmlConditionText(sDataFields, field.Tag, true);
        sDataFields += "\" ind1=\"";
        AppendXmlConditionText(sDataFields, sInd1, true);
        sDataFields += "\" ind2=\"";
        AppendXmlConditionText(sDataFields, sInd2, true);
        sDataFields += "\">";
        sDataFields += sSubfields;
        sDataFields += "</marc:datafield>";
    }
    // Where the walk leaves the cursor: past the last field, no edge flag set.
    m.FldPointer = -1;
    m.SfdPointer = -1;
    m.FldWasFound = false;
    m.SfdWasFound = false;
    m.FldAtTop = m.FldAtBottom = m.SfdAtTop = m.SfdAtBottom = false;

    sDocument += sDataFields;
    sDocument += kDocumentEnd;
    return sDocument;
}
