// Forms 1, 3 and 5 of XMLRecordOut for authority records: the MADS document.
// One mads element holds the record's heading (authority), its see-also
// references and linking entries (related), its see references (variant),
// its standard numbers (identifier) and facts about the record (recordInfo).
// Every heading, whatever its field, is written by XmlMadsHeading.
#include <string>
#include <string_view>

#include "marc/record/marc_record.h"
#include "marc/xml/xml_codes.h"

namespace {

constexpr std::string_view kMadsHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" ?> "
    "\r\n<madsCollection xmlns:xlink=\"http://www.w3.org/1999/xlink\""
    "\r\n     xmlns=\"http://www.loc.gov/mads/\""
    "\r\n     xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    "\r\n     xsi:schemaLocation=\"http://www.loc.gov/mads/ "
    "http://www.loc.gov/standards/mads/mads.xsd\">"
    "\r\n\t<mads>";

// What a heading field is, by the last two characters of its tag, so that
// 1XX, 4XX, 5XX and 7XX fields of one kind are written alike.
enum class HeadingKind {
    None,
    Personal,
    Corporate,
    Meeting,
    UniformTitle,
    Chronological,
    Topical,
    Geographic,
    GenreForm,
    // 180, 181, 182 and 185 (and their 4XX, 5XX and 7XX): a heading made of
    // subdivisions only.
    Subdivision,
};

HeadingKind KindOfTag(const std::string& sTag) {
    if (sTag.size() != 3) return HeadingKind::None;
    const std::string_view k = std::string_view(sTag).substr(1, 2);
    if (k == "00") return HeadingKind::Personal;
    if (k == "10") return HeadingKind::Corporate;
    if (k == "11") return HeadingKind::Meeting;
    if (k == "30") return HeadingKind::UniformTitle;
    if (k == "48") return HeadingKind::Chronological;
    if (k == "50") return HeadingKind::Topical;
    if (k == "51") return HeadingKind::Geographic;
    if (k == "55") return HeadingKind::GenreForm;
    if (k == "80" || k == "81" || k == "82" || k == "85") return HeadingKind::Subdivision;
    return HeadingKind::None;
}

// The thesaurus named by 008/11 of an authority record; "" for any other value.
std::string ThesaurusOf008(const std::string& s) {
    if (s == "a") return "lcsh";
    if (s == "b") return "lcshac";
    if (s == "c") return "mesh";
    if (s == "d") return "nal";
    if (s == "k") return "csh";
    if (s == "s") return "sears";
    if (s == "v") return "rvm";
    return "";
}

// The relation of a see-also reference, by the first character of its $w.
std::string RelationOf(const std::string& sW) {
    switch (sW.empty() ? 'n' : sW[0]) {
        case 'a': return "earlier";
        case 'b': return "later";
        case 'g': return "broader";
        case 'h': return "narrower";
        case 'n': return "equivalent";
        default: return "other";
    }
}

bool IsLinkingEntryWithThesaurus(const std::string& sTag) {
    return sTag == "700" || sTag == "710" || sTag == "711" || sTag == "730" || sTag == "750" || sTag == "751" ||
           sTag == "755";
}

}  // namespace

std::string Utf8MarcRecordClass::XmlMadsHeading(std::string sAuthority) {
    const HeadingKind kind = KindOfTag(FldTag());
    if (kind == HeadingKind::None) return "";
    const auto build = [&](const std::string& sElement, const std::string& sCodes, const std::string& sStop) {
        return XmlElementFromSubfields(sElement, 0, sCodes, sStop, " ", false, false);
    };
    const std::string sAuthorityAttribute = sAuthority.empty() ? "" : " authority=" + AddQuotes(sAuthority);
    std::string sHead, sTitle;

    if (kind == HeadingKind::Personal || kind == HeadingKind::Corporate || kind == HeadingKind::Meeting) {
        std::string sParts, sType;
        if (kind == HeadingKind::Personal) {
            sType = "personal";
            const std::string sInd = FldInd();
            const char ind1 = sInd.empty() ? ' ' : sInd[0];
            const std::string sElement = ind1 == '0'   ? "namePart type=" + AddQuotes("given")
                                         : ind1 == '3' ? "namePart type=" + AddQuotes("family")
                                                       : std::string("namePart");
            sParts = build(sElement, "aq", "");
            SfdMoveTop();
            sParts += build("namePart type=" + AddQuotes("termsOfAddress"), "bc", "");
            if (SfdFindFirst("d", "")) sParts += build("namePart type=" + AddQuotes("date"), "d", "");
        } else if (kind == HeadingKind::Corporate) {
            sType = "corporate";
            sParts = build("namePart", "a", "");
            SfdMoveTop();
            while (SfdFindNext("b", "")) sParts += build("namePart", "b", "b");
            SfdMoveTop();
            sParts += build("namePart", "cdnp", "");
        } else {
            sType = "conference";
            sParts = build("namePart", "ancdeqp", "");
        }
        sHead = "<name type=" + AddQuotes(sType) + sAuthorityAttribute + ">" + sParts + "</name>";
        if (SfdFindFirst("t", "")) sTitle = build("title", "tfgklmors", "np");
    } else if (kind == HeadingKind::UniformTitle) {
        sTitle = build("title", "adfhklor", "np");
    }

    if (kind == HeadingKind::Personal || kind == HeadingKind::Corporate || kind == HeadingKind::Meeting ||
        kind == HeadingKind::UniformTitle) {
        // Every $n and $p, whether or not there is a title, goes with the
        // title; one titleInfo holds them all.
        SfdMoveTop();
        while (SfdMoveNext()) {
            const std::string sCode = SfdCode();
            if (sCode == "n") sTitle += build("partNumber", "ndfhklmor", "np");
            else if (sCode == "p") sTitle += build("partName", "pdfhklmor", "np");
        }
        if (!sTitle.empty()) {
            // A uniform title's thesaurus belongs to its titleInfo.
            const std::string sAttribute = kind == HeadingKind::UniformTitle ? sAuthorityAttribute : "";
            sTitle = "<titleInfo" + sAttribute + ">" + sTitle + "</titleInfo>";
        }
    } else if (kind == HeadingKind::Chronological) {
        sHead = build("temporal" + sAuthorityAttribute, "a", "");
    } else if (kind == HeadingKind::Topical) {
        sHead = build("topic" + sAuthorityAttribute, "abcd", "");
    } else if (kind == HeadingKind::Geographic || kind == HeadingKind::GenreForm) {
        const std::string sName = kind == HeadingKind::Geographic ? "geographic" : "genre";
        if (SfdFindFirst("a", "")) {
            if (!sAuthority.empty()) sHead = build(sName + sAuthorityAttribute, "a", "");
            else sHead = XmlTags(sName, XmlRecordTextEscaped(SfdText()));
        }
    }

    // The subdivisions, grouped by kind, each group in field order.
    std::string sHeading = sHead + sTitle;
    const auto eachOwnElement = [&](const std::string& sCode, const std::string& sElement) {
        SfdMoveTop();
        while (SfdMoveNext())
            if (SfdCode() == sCode) sHeading += build(sElement, sCode, sCode);
    };
    eachOwnElement("v", "genre");
    eachOwnElement("x", "topic");
    for (const auto& [sCode, sElement] : {std::pair{"y", "temporal"}, std::pair{"z", "geographic"}}) {
        SfdMoveTop();
        while (SfdFindNext(sCode, "")) sHeading += XmlTags(sElement, XmlRecordTextEscaped(SfdText()));
    }
    return sHeading;
}

std::string Utf8MarcRecordClass::XmlMadsDocument() {
    std::string sOut(kMadsHeader);
    const std::string& sLine2 = m.XmlCrlfTabTab;
    const std::string& sLine3 = m.XmlCrlfTabTabTab;
    const auto wrap = [&](const std::string& sStart, const std::string& sHeading, const std::string& sEnd) {
        if (sHeading.empty()) return;
        sOut += sLine2 + sStart + "\r\n" + sHeading + sLine2 + sEnd;
    };
    // The text of the first subfield with this code in the current field.
    const auto first = [&](const char* sCode) { return SfdFindFirst(sCode, "") ? SfdText() : std::string(); };

    // The thesaurus of the record's heading: a name heading of the name
    // authority file (008/11 "a" or "n") is "naf"; any other heading follows
    // 008/11, and past its table the 040 $f.
    const std::string s008Thesaurus = Get008Value(11, 1);
    std::string sAuthority;
    bool bName = false;
    if (FldFindFirst("1", "")) {
        const std::string sTag = FldTag();
        bName = sTag == "100" || sTag == "110" || sTag == "111" || sTag == "130";
    }
    if (bName && (s008Thesaurus == "a" || s008Thesaurus == "n")) {
        sAuthority = "naf";
    } else {
        sAuthority = ThesaurusOf008(s008Thesaurus);
        if (sAuthority.empty() && FldFindFirst("040", "")) sAuthority = XmlRecordTextEscaped(first("f"));
    }

    // The heading.
    if (FldFindFirst("1", "")) wrap("<authority>", XmlMadsHeading(sAuthority), "</authority>");

    // See-also references.
    FldMoveTop();
    while (FldFindNext("5", "")) {
        const bool bW = SfdFindFirst("w", "");
        const std::string sType = bW ? RelationOf(SfdText()) : "other";
        SfdMoveTop();
        wrap("<related type=" + AddQuotes(sType) + ">", XmlMadsHeading(""), "</related>");
    }

    // Linking entries; a 7XX outside the thesaurus table keeps the code of
    // the entry before it.
    std::string sLinkAuthority;
    FldMoveTop();
    while (FldFindNext("7", "")) {
        if (IsLinkingEntryWithThesaurus(FldTag())) {
            const std::string sInd = FldInd();
            const char ind2 = sInd.size() >= 2 ? sInd[1] : ' ';
            if (ind2 == '7') {
                sLinkAuthority = XmlRecordTextEscaped(first("2"));
                SfdMoveTop();
            } else {
                sLinkAuthority = xml_codes::ThesaurusOfSecondIndicator(ind2);
            }
        }
        if (sLinkAuthority.empty()) continue;
        wrap("<related >", XmlMadsHeading(sLinkAuthority), "</related>");
    }

    // See references.
    FldMoveTop();
    while (FldFindNext("4", "")) {
        const bool bW = SfdFindFirst("w", "");
        const std::string sType = bW && SfdText().compare(0, 1, "d") == 0 ? "acronym" : "other";
        SfdMoveTop();
        wrap("<variant type=" + AddQuotes(sType) + ">", XmlMadsHeading(""), "</variant>");
    }

    // Identifiers: the LCCN, else the first NLM number; then ISBNs and ISSNs.
    const auto identifier = [&](const char* sType, const std::string& sText) {
        sOut += sLine3 + "<identifier type=" + AddQuotes(sType) + ">" + XmlRecordTextEscaped(sText) + "</identifier>";
    };
    if (FldFindFirst("010", "")) {
        if (SfdFindFirst("a", "")) identifier("lccn", SfdText());
    } else {
        for (bool bFound = FldFindFirst("035", ""); bFound; bFound = FldFindNext("035", "")) {
            const std::string sText = SfdText();
            if (sText.find("(DNLM)") != std::string::npos) {
                identifier("dnlm", sText);
                break;
            }
        }
    }
    FldMoveTop();
    while (FldFindNext("02", "")) {
        const std::string sTag = FldTag();
        if ((sTag == "020" || sTag == "022") && SfdFindFirst("a", ""))
            identifier(sTag == "020" ? "isbn" : "issn", SfdText());
    }

    // Record information; the creation date is always written.
    sOut += sLine2 + "<recordInfo>";
    if (FldFindFirst("040", "") && SfdFindFirst("a", ""))
        sOut += sLine3 + "<recordContentSource authority=" + AddQuotes("marcorg") + ">" +
                XmlRecordTextEscaped(SfdText()) + "</recordContentSource>";
    sOut += sLine3 + "<recordCreationDate encoding=" + AddQuotes("marc") + ">" +
            XmlRecordTextEscaped(Get008Value(0, 6)) + "</recordCreationDate>";
    if (FldFindFirst("005", ""))
        sOut += sLine3 + "<recordChangeDate encoding=" + AddQuotes("iso8601") + ">" + XmlRecordTextEscaped(FldText()) +
                "</recordChangeDate>";
    if (FldFindFirst("001", "")) {
        const std::string sIdentifier = XmlRecordTextEscaped(FldText());
        std::string sSource;
        if (FldFindFirst("003", "")) sSource = " source=" + AddQuotes(XmlRecordTextEscaped(FldText()));
        sOut += sLine3 + "<recordIdentifier" + sSource + ">" + sIdentifier + "</recordIdentifier>";
    }
    FldMoveTop();
    if (FldFindFirst("040", "") && SfdFindFirst("b", ""))
        sOut += sLine3 + "<languageOfCataloging><languageTerm authority=" + AddQuotes("iso639-2b") + ">" +
                XmlRecordTextEscaped(SfdText()) + "</languageTerm></languageOfCataloging>";
    sOut += sLine2 + "</recordInfo>";

    sOut += "\r\n\t</mads>\r\n</madsCollection>";
    return sOut;
}
