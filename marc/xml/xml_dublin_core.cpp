// Forms 2 and 4 of XMLRecordOut: a bibliographic record in the Dublin Core
// elements, as one RDF description or as an OAI-PMH oai_dc document. Both
// share the element rules; OAI writes plain subjects, the control number,
// ISBNs and rights, and the 008 date only when the 260 gives none.
#include <string>
#include <string_view>

#include "marc/record/marc_record.h"

namespace {

// The ISBN at the start of an 020 $a: the leading run of digits and X (an x
// written as X), with hyphens and blanks between them left out; a hyphen or
// blank after the last of them ends the run.
std::string LeadingIsbn(std::string_view sText) {
    const auto isbnCharacter = [](char c) { return (c >= '0' && c <= '9') || c == 'X' || c == 'x'; };
    std::string sIsbn;
    size_t i = 0;
    while (i < sText.size() && isbnCharacter(sText[i])) {
        sIsbn += sText[i] == 'x' ? 'X' : sText[i];
        ++i;
        // Hyphens and blanks count only when another digit or X follows them.
        size_t next = i;
        while (next < sText.size() && (sText[next] == '-' || sText[next] == ' ')) ++next;
        if (next > i && next < sText.size() && isbnCharacter(sText[next])) i = next;
    }
    return sIsbn;
}

constexpr std::string_view kRdfHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" ?> "
    "\r\n<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\""
    "\r\n     xmlns:dc=\"http://purl.org/dc/elements/1.1/\""
    "\r\n     xmlns:dcq=\"http://purl.org/dc/qualifiers/1.0/\">"
    "\r\n<rdf:Description>";
constexpr std::string_view kOaiHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" ?> "
    "\r\n<oai_dc:dc xmlns:dc=\"http://purl.org/dc/elements/1.1/\""
    "\r\n     xmlns:oai_dc=\"http://www.openarchives.org/OAI/2.0/oai_dc/\""
    "\r\n     xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    "\r\n     xsi:schemaLocation=\"http://www.openarchives.org/OAI/2.0/oai_dc/ "
    "http://www.openarchives.org/OAI/2.0/oai_dc.xsd\">";

constexpr const char* kAllLetters = "abcdefghijklmnopqrstuvwxyz";
constexpr const char* kSubdivisions = "v -- x -- y -- z -- ";

// Whether the tag is one of the blank-separated tags of the list.
bool TagIn(const std::string& sTag, std::string_view list) {
    if (sTag.size() != 3) return false;
    for (size_t i = 0; i + 3 <= list.size(); i += 4)
        if (list.substr(i, 3) == sTag) return true;
    return false;
}

std::string SubjectQualifier(const std::string& sTag) {
    if (sTag == "050" || sTag == "082" || sTag == "080") return "class";
    if (sTag == "600") return "namePersonal";
    if (sTag == "610") return "nameCorporate";
    if (sTag == "611") return "nameConference";
    if (sTag == "630") return "titleUniform";
    if (sTag == "650") return "topical";
    if (sTag == "651") return "geographic";
    return "";
}

}  // namespace

std::string Utf8MarcRecordClass::XmlDublinCoreDocument(bool bOai) {
    std::string sDoc(bOai ? kOaiHeader : kRdfHeader);
    const std::string kCrlf = "\r\n";
    // An element built from the current subfield on; Dublin Core elements carry no labels.
    const auto build = [&](const std::string& sName, const std::string& sCodes, const std::string& sSeparator) {
        return XmlElementFromSubfields(sName, 0, sCodes, "", sSeparator, false, true);
    };
    const auto line = [&](const std::string& sElement) { sDoc += kCrlf + sElement; };

    // 1. The first 245.
    if (FldFindFirst("245", "")) line(build("dc:title", kAllLetters, " "));
    // 2 to 4. Other titles, creators, contributors, each in record order.
    const auto walk = [&](std::string_view tags, const std::string& sName) {
        FldMoveTop();
        while (FldMoveNext(true))
            if (TagIn(FldTag(), tags)) line(build(sName, kAllLetters, " "));
    };
    walk("130 210 240 242 246 730 740", "dc:title");
    walk("100 110 111", "dc:creator");
    walk("700 710 711 720", "dc:contributor");

    // 4a. The control number.
    if (bOai && FldFindFirst("001", "")) line(XmlTags("dc:identifier", XmlRecordTextEscaped(FldText())));

    // 5. Classification (and in OAI the ISBNs).
    FldMoveTop();
    while (FldFindNext("0", "")) {
        const std::string sTag = FldTag();
        if (bOai && sTag == "020") {
            if (!SfdFindFirst("a", "")) continue;
            const std::string sIsbn = LeadingIsbn(SfdText());
            if (sIsbn.size() != 10 && sIsbn.size() != 13) continue;
            line(XmlTags("dc:identifier", "URN:ISBN:" + sIsbn));
        } else if (sTag == "050" || sTag == "082" || sTag == "080") {
            if (bOai) line(build("dc:subject", kAllLetters, " "));
            else
                line(XmlTags("dc:subject", XmlTags("rdf:Description", XmlTags("dcq:subjectQualifier", "class") +
                                                                          build("rdf:value", kAllLetters, " "))));
        }
    }
    // 6. Subjects.
    FldMoveTop();
    while (FldFindNext("6", "")) {
        const std::string sQualifier = SubjectQualifier(FldTag());
        if (sQualifier.empty()) continue;
        if (bOai) line(build("dc:subject", kAllLetters, kSubdivisions));
        else
            line(XmlTags("dc:subject", XmlTags("rdf:Description", XmlTags("dcq:subjectQualifier", sQualifier) +
                                                                      build("rdf:value", kAllLetters, kSubdivisions))));
    }
    // 6a. Rights.
    if (bOai) {
        FldMoveTop();
        while (FldFindNext("540", "")) line(build("dc:rights", kAllLetters, " "));
    }
    // 7. Notes.
    FldMoveTop();
    while (FldFindNext("5", ""))
        if (!TagIn(FldTag(), bOai ? "506 530 546" : "506 530 540 546")) line(build("dc:description", kAllLetters, " "));

    // 8. Publisher and dates of the first 260.
    bool bDated = false;
    if (FldFindFirst("260", "")) {
        const std::string sPublisher = build("dc:publisher", "a", " ");
        if (!sPublisher.empty()) line(sPublisher);
        if (SfdFindFirst("b", "")) {
            const std::string sName = build("dc:publisher", "b", " ");
            if (!sName.empty()) line(sName);
        }
        if (SfdFindFirst("g", "")) line(build("dc:date", "g", " "));
        if (SfdFindFirst("c", "")) {
            line(build("dc:date", "c", " "));
            bDated = true;
        }
    }
    // 9. The reproduction's date and format.
    std::string sFormat;
    bool bFormat = false;
    if (FldFindFirst("533", "")) {
        if (SfdFindFirst("d", "")) line(build("dc:date", "d", " "));
        if (SfdFindFirst("e", "")) {
            sFormat = XmlRecordTextEscaped(SfdText());
            bFormat = true;
        }
    }
    // 10. The 008 date.
    if (!bOai || !bDated) line(XmlTags("dc:date", XmlRecordTextEscaped(Get008Value(7, 4))));
    // 11, 12. Types.
    const std::string sType = GetLeaderValue(6, 1);
    if (sType.size() == 1 && std::string_view("acdt").find(sType[0]) != std::string_view::npos)
        line(XmlTags("dc:type", "Text data"));
    else if (sType.size() == 1 && std::string_view("efgk").find(sType[0]) != std::string_view::npos)
        line("<dc:type>image</dc:type>");
    else if (sType.size() == 1 && std::string_view("ij").find(sType[0]) != std::string_view::npos)
        line("<dc:type>sound</dc:type>");
    const std::string sLevel = GetLeaderValue(7, 1);
    if (sLevel.size() <= 1 && std::string_view("csp").find(sLevel) != std::string_view::npos)
        line(XmlTags("dc:type", "collection"));
    // 13. Links.
    FldMoveTop();
    while (FldFindNext("856", "")) {
        if (SfdFindFirst("q", "")) line(XmlTags("dc:format", XmlRecordTextEscaped(SfdText())));
        if (SfdFindFirst("u", "")) line(XmlTags("dc:identifier", XmlRecordTextEscaped(SfdText())));
    }
    // 14, 15. Formats.
    if (bFormat) line(XmlTags("dc:format", sFormat));
    else if (FldFindFirst("300", "") && SfdFindFirst("a", ""))
        line(XmlTags("dc:format", XmlRecordTextEscaped(SfdText())));
    FldMoveTop();
    while (FldFindNext("340", ""))
        if (SfdFindFirst("a", "")) line(XmlTags("dc:format", XmlRecordTextEscaped(SfdText())));
    // 16. Sources.
    FldMoveTop();
    while (FldFindNext("786", "")) line(build("dc:source", "ot", " "));
    // 17. Language notes.
    FldMoveTop();
    while (FldFindNext("546", ""))
        if (SfdFindFirst("a", "") || SfdFindFirst("b", "")) line(build("dc:language", "ab", " "));
    // 18. Language codes: each subfield cut into codes of three characters.
    if (FldFindFirst("041", "")) {
        SfdMoveTop();
        while (SfdMoveNext())
            for (const std::string& sCode : XmlLanguageCodes(SfdText())) line(XmlTags("dc:language", sCode));
    }
    // 19. The 008 language.
    line(XmlTags("dc:language", XmlRecordTextEscaped(Get008Value(35, 3))));
    if (!bOai) sDoc += "\r\n</rdf:Description>";
    sDoc += bOai ? "\r\n</oai_dc:dc>" : "\r\n</rdf:RDF>";
    return sDoc;
}
