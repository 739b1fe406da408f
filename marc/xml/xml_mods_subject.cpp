// MODS sections: subject and classification.
//
// The subject section reads the record in seven passes: the subject added
// entries (6XX), the first coded time period (045), the first geographic area
// code field (043), hierarchical place names (752), coordinates (034), scale,
// projection and coordinates (255), and occupations (656). Every subject
// element stands on a line of its own with its children on that same line.
// The classification section writes one element per known classification
// number field. Every value taken from the record is escaped, authorities and
// editions in attributes included.
#include <string>
#include <string_view>

#include "marc/record/marc_record.h"
#include "marc/xml/xml_codes.h"

namespace {

// The subdivision element of a $v, $x, $y or $z; "" for any other code.
std::string SubdivisionElement(const std::string& sCode) {
    if (sCode == "v") return "genre";
    if (sCode == "x") return "topic";
    if (sCode == "y") return "temporal";
    if (sCode == "z") return "geographic";
    return "";
}

// The hierarchicalGeographic child of a 752 subfield; "" for other codes.
std::string PlaceElement(const std::string& sCode) {
    if (sCode == "a") return "country";
    if (sCode == "b") return "state";
    if (sCode == "c") return "county";
    if (sCode == "d") return "city";
    return "";
}

// One indicator of the current field's two, "" when the field has none.
std::string Indicator(const std::string& sInd, size_t i) { return sInd.size() > i ? sInd.substr(i, 1) : ""; }

}  // namespace

void Utf8MarcRecordClass::XmlModsSubject(std::string& sOut) {
    const std::string& sLine = m.XmlCrlfTabTab;
    // Elements built from subfields: no nonfiling part, a blank between the
    // texts, no title trimming, and a TAB label becomes displayLabel.
    const auto build = [&](const std::string& sElement, const std::string& sCodes, const std::string& sStops) {
        return XmlElementFromSubfields(sElement, 0, sCodes, sStops, " ", false, false);
    };
    const auto subjectLine = [&](const std::string& sAuthority, const std::string& sContent) {
        std::string sTag = "subject";
        if (!sAuthority.empty()) sTag += " authority=" + AddQuotes(sAuthority);
        sOut += sLine;
        sOut += XmlTags(sTag, sContent);
    };
    const auto escapedText = [&] { return XmlRecordTextEscaped(SfdText()); };
    // A role of a name: the $e as a text role term, the $4 as a code.
    const std::string kRoleText = "role><roleTerm type=" + AddQuotes("text");
    const std::string kRoleCode = "role><roleTerm type=" + AddQuotes("code") + " authority=" + AddQuotes("marcrelator");
    const auto roleCode = [&](std::string& sText) {
        if (SfdFindFirst("4", "")) sText += build(kRoleCode, "4", "");
    };
    const auto roles = [&](std::string& sText) {
        if (SfdFindFirst("e", "")) sText += build(kRoleText, "e", "");
        roleCode(sText);
    };
    const auto name = [&](const std::string& sType, const std::string& sText) {
        return sText.empty() ? std::string() : "<name type=" + AddQuotes(sType) + ">" + sText + "</name>";
    };

    // 1. Subject added entries.
    FldMoveTop();
    while (FldFindNext("6", "")) {
        const std::string sTag = FldTag();
        const bool bHeading =
            sTag == "600" || sTag == "610" || sTag == "611" || sTag == "630" || sTag == "650" || sTag == "651";
        if (!bHeading && sTag != "653") continue;
        std::string sContent;
        std::string sAuthority;
        if (bHeading) {
            const std::string sSecond = Indicator(FldInd(), 1);
            if (sSecond == "7") {
                if (SfdFindFirst("2", "")) sAuthority = escapedText();
                SfdMoveTop();
            } else {
                if (sSecond.size() == 1) sAuthority = xml_codes::ThesaurusOfSecondIndicator(sSecond[0]);
            }
        }
        if (sTag == "600") {
            std::string sName = build("namePart", "aq", "");
            if (SfdFindFirst("b", "") || SfdFindFirst("c", ""))
                sName += build("namePart type=" + AddQuotes("termsOfAddress"), "bc", "");
            if (SfdFindFirst("d", "")) sName += build("namePart type=" + AddQuotes("date"), "d", "");
            roles(sName);
            if (SfdFindFirst("u", "")) sName += build("affiliation", "u", "");
            sContent = name("personal", sName);
        } else if (sTag == "610") {
            std::string sName = build("namePart", "a", "");
            SfdMoveTop();
            while (SfdFindNext("b", "")) sName += build("namePart", "b", "b");
            SfdMoveTop();
            sName += build("namePart", "cdnp", "");
            roles(sName);
            sContent = name("corporate", sName);
        } else if (sTag == "611") {
            std::string sName = build("namePart", "ancdeqp", "");
            roleCode(sName);
            sContent = name("conference", sName);
        } else if (sTag == "630") {
            // The uniform title and its parts in one titleInfo, written even
            // when the field holds no title subfield.
            std::string sTitle = build("title", "adfhklor", "np");
            SfdMoveTop();
            while (SfdMoveNext()) {
                const std::string sCode = SfdCode();
                if (sCode == "n") sTitle += build("partNumber", "ndfhklmor", "np");
                else if (sCode == "p") sTitle += build("partName", "pdfhklmor", "np");
            }
            sContent = XmlTags("titleInfo", sTitle);
            roleCode(sContent);
        } else if (sTag == "650") {
            sContent = build("topic", "abcd", "");
        } else if (sTag == "651") {
            if (SfdFindFirst("a", "")) sContent = XmlTags("geographic", escapedText());
        } else {  // 653: each term a topic, no subdivisions
            SfdMoveTop();
            while (SfdFindNext("a", "")) sContent += XmlTags("topic", escapedText());
        }
        if (bHeading) {
            // Subdivisions in field order, each holding its own subfield only.
            SfdMoveTop();
            while (SfdMoveNext()) {
                const std::string sCode = SfdCode();
                const std::string sElement = SubdivisionElement(sCode);
                if (!sElement.empty()) sContent += build(sElement, sCode, "vxyz");
            }
        }
        if (!sContent.empty()) subjectLine(sAuthority, sContent);
    }

    // 2. The time period of the first 045: its first $b ("0"), every $b
    // ("1"), or a start and an end ("2").
    if (FldFindFirst("045", "")) {
        const std::string sFirst = Indicator(FldInd(), 0);
        const std::string kIso = "temporal encoding=" + AddQuotes("iso8601");
        if (sFirst == "0" || sFirst == "1") {
            SfdMoveTop();
            while (SfdFindNext("b", "")) {
                subjectLine("", XmlTags(kIso, escapedText()));
                if (sFirst == "0") break;
            }
        } else if (sFirst == "2") {
            if (SfdFindFirst("b", "")) {
                subjectLine("", XmlTags(kIso + " point=" + AddQuotes("start"), escapedText()));
                if (SfdFindNext("b", "")) subjectLine("", XmlTags(kIso + " point=" + AddQuotes("end"), escapedText()));
            }
        }
    }

    // 3. The geographic area codes of the first 043, each in a subject of its own.
    if (FldFindFirst("043", "")) {
        SfdMoveTop();
        while (SfdMoveNext()) {
            const std::string sCode = SfdCode();
            if (sCode != "a" && sCode != "c") continue;
            const std::string sAuthority = sCode == "a" ? "marcgac" : "iso3166";
            subjectLine("", XmlTags("geographicCode authority=" + AddQuotes(sAuthority), escapedText()));
        }
    }

    // 4. Hierarchical place names.
    FldMoveTop();
    while (FldFindNext("752", "")) {
        std::string sPlaces;
        SfdMoveTop();
        while (SfdMoveNext()) {
            const std::string sElement = PlaceElement(SfdCode());
            if (!sElement.empty()) sPlaces += XmlTags(sElement, escapedText());
        }
        if (!sPlaces.empty()) subjectLine("", XmlTags("hierarchicalGeographic", sPlaces));
    }

    // 5. Coordinates: every $d, $e, $f and $g of a 034 in one element.
    FldMoveTop();
    while (FldFindNext("034", "")) {
        const std::string sCoordinates = build("coordinates", "defg", "");
        if (!sCoordinates.empty()) subjectLine("", XmlTags("cartographics", sCoordinates));
    }

    // 6. Scale, projection and coordinates, each subfield a subject of its own.
    FldMoveTop();
    while (FldFindNext("255", "")) {
        SfdMoveTop();
        while (SfdMoveNext()) {
            const std::string sCode = SfdCode();
            std::string sCartographics;
            if (sCode == "a") sCartographics = XmlTags("scale", escapedText()) + XmlTags("coordinates", "");
            else if (sCode == "b") sCartographics = XmlTags("projection", escapedText());
            else if (sCode == "c") sCartographics = XmlTags("coordinates", escapedText());
            else continue;
            subjectLine("", XmlTags("cartographics", sCartographics));
        }
    }

    // 7. Occupations: the first $a of each 656.
    FldMoveTop();
    while (FldFindNext("656", ""))
        if (SfdFindFirst("a", "")) subjectLine("", XmlTags("occupation", escapedText()));
}

void Utf8MarcRecordClass::XmlModsClassification(std::string& sOut) {
    FldMoveTop();
    while (FldFindNext("0", "")) {
        const std::string sTag = FldTag();
        std::string sAttributes;  // what follows "classification authority="
        std::string sCodes = "ab";
        // The field's first $2, escaped; the subfield cursor goes back to the
        // top so that the element's walk covers the whole field.
        const auto source = [&](std::string& sSource) {
            const bool bFound = SfdFindFirst("2", "");
            if (bFound) sSource = XmlRecordTextEscaped(SfdText());
            SfdMoveTop();
            return bFound;
        };
        if (sTag == "050") {
            sAttributes = AddQuotes("lcc");
        } else if (sTag == "082") {
            std::string sEdition;
            sAttributes = AddQuotes("ddc");
            if (source(sEdition)) sAttributes += " edition=" + AddQuotes(sEdition);
        } else if (sTag == "080") {
            sAttributes = AddQuotes("udc");
            sCodes = "abx";
        } else if (sTag == "060") {
            sAttributes = AddQuotes("nlm");
        } else if (sTag == "086") {
            const std::string sFirst = Indicator(FldInd(), 0);
            std::string sSource;
            if (sFirst == "0") sAttributes = AddQuotes("sudocs");
            else if (sFirst == "1") sAttributes = AddQuotes("candocs");
            else if (source(sSource)) {
                sAttributes = AddQuotes(sSource);
                sCodes = "a";
            } else continue;
        } else if (sTag == "084") {
            std::string sSource;
            if (!source(sSource)) continue;
            sAttributes = AddQuotes(sSource);
        } else {
            continue;
        }
        const std::string sElement =
            XmlElementFromSubfields("classification authority=" + sAttributes, 0, sCodes, "", " ", false, false);
        if (!sElement.empty()) sOut += m.XmlCrlfTabTab + sElement;
    }
}
