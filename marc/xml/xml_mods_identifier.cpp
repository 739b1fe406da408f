// MODS sections: identifier, location, accessCondition and recordInfo.
// Every value taken from the record reaches the document escaped, links,
// labels and control-field values included.
#include <string>
#include <string_view>

#include "marc/record/marc_record.h"

namespace {

// The 856 $u prefixes that make a persistent identifier, compared exactly
// (case included); the character after the prefix stays in the content.
struct UrlPrefix {
    std::string_view prefix;
    const char* type;
};
constexpr UrlPrefix kUrlPrefixes[] = {{"doi", "doi"}, {"hdl", "hdl"}, {"urn:doi", "doi"}, {"urn:hdl", "hdl"}};

// The identifier type of a 024 by its first indicator; "" gives no line.
const char* StandardNumberType(const std::string& sInd1) {
    if (sInd1 == "0") return "isrc";
    if (sInd1 == "1") return "upc";
    if (sInd1 == "2") return "ismn";
    if (sInd1 == "4") return "sici";
    return "";
}

// The identifier type of a 028 by its first indicator; "" gives no line.
const char* PublisherNumberType(const std::string& sInd1) {
    if (sInd1 == "0") return "issue number";
    if (sInd1 == "1") return "matrix number";
    if (sInd1 == "2") return "music publisher";
    if (sInd1 == "3") return "music plate";
    if (sInd1 == "4") return "videorecording identifier";
    return "";
}

}  // namespace

std::string Utf8MarcRecordClass::LocalHandlePrefix() const { return m.LocalHandlePrefix; }

void Utf8MarcRecordClass::LocalHandlePrefix(const std::string& vNewValue) { m.LocalHandlePrefix = vNewValue; }

void Utf8MarcRecordClass::XmlModsIdentifier(std::string& sOut) {
    const std::string& sLine = m.XmlCrlfTabTab;
    const auto identifier = [&](const std::string& sAttributes, const std::string& sContent) {
        sOut += sLine + "<identifier" + sAttributes + ">" + sContent + "</identifier>";
    };
    const auto typed = [&](const char* type) { return " type=" + AddQuotes(type); };
    const std::string sInvalid = " invalid=" + AddQuotes("yes");

    // Every 856 first: a doi or handle link, else the local object id.
    FldMoveTop();
    while (FldFindNext("856", "")) {
        if (SfdFindFirst("u", "")) {
            const std::string sUrl = SfdText();
            for (const UrlPrefix& p : kUrlPrefixes) {
                if (sUrl.compare(0, p.prefix.size(), p.prefix) != 0) continue;
                identifier(typed(p.type), XmlRecordTextEscaped(sUrl.substr(p.prefix.size())));
                break;
            }
        } else if (SfdFindFirst("9", "")) {
            const std::string sId = XmlRecordTextEscaped(SfdText());
            identifier(" displayLabel=" + AddQuotes("Object ID") + typed("local"), sId);
            // Without a configured prefix a handle would be a bare number.
            if (!m.LocalHandlePrefix.empty())
                identifier(" displayLabel=" + AddQuotes("Handle") + typed("hdl"),
                           XmlConditionText(m.LocalHandlePrefix) + sId);
        }
    }

    // Then the standard numbers of the 0XX fields, in record order.
    FldMoveTop();
    while (FldFindNext("0", "")) {
        const std::string sTag = FldTag();
        const std::string sInd1 = FldInd().substr(0, 1);
        const char* type = "";
        if (sTag == "020") type = "isbn";
        else if (sTag == "022") type = "issn";
        else if (sTag == "010") type = "lccn";
        else if (sTag == "024") type = SfdFindFirst("a", "") ? StandardNumberType(sInd1) : "";
        if (*type != '\0') {
            // The valid number first, then the cancelled or invalid one.
            if (SfdFindFirst("a", "")) identifier(typed(type), XmlRecordTextEscaped(SfdText()));
            if (SfdFindFirst("z", "")) identifier(typed(type) + sInvalid, XmlRecordTextEscaped(SfdText()));
            continue;
        }
        if (sTag == "028") type = PublisherNumberType(sInd1);
        else if (sTag == "037") type = "stock number";
        if (*type == '\0') continue;
        // The builder takes $a and $b from the first $a on, or from the first $b.
        if (!SfdFindFirst("a", "") && !SfdFindFirst("b", "")) continue;
        identifier(typed(type), XmlElementFromSubfields("", 0, "ab", "", " ", false, false));
    }
}

void Utf8MarcRecordClass::XmlModsLocation(std::string& sOut) {
    const std::string& sLine = m.XmlCrlfTabTab;
    // The first 852: one physicalLocation line, written also when empty.
    if (FldFindFirst("852", "")) {
        std::string sLabel;
        const bool bMaterials = SfdFindFirst("3", "");
        if (bMaterials) sLabel = " displayLabel=" + AddQuotes(XmlRecordTextEscaped(SfdText()));
        SfdMoveTop();
        // A $3 label stands alone: a TAB label would repeat the attribute.
        sOut += sLine + XmlElementFromSubfields("location><physicalLocation" + sLabel, 0, "abje", "", " ", false,
                                                bMaterials);
    }

    // Every 856 with a $u: its url, the link text as the label; under the
    // local profile the first 856 of the record is the primary display,
    // whether or not it has a $u.
    bool bPrimary = m.LocalProfile;
    FldMoveTop();
    while (FldFindNext("856", "")) {
        SfdMoveTop();
        const std::string sLinkText = XmlElementFromSubfields("", 0, "y3", "", " ", false, false);
        std::string sAttributes;
        if (!sLinkText.empty()) sAttributes = " displayLabel=" + AddQuotes(sLinkText);
        if (bPrimary) {
            bPrimary = false;
            sAttributes += " usage=" + AddQuotes("primary display");
        }
        if (SfdFindFirst("u", ""))
            sOut += sLine + "<location><url" + sAttributes + ">" + XmlRecordTextEscaped(SfdText()) +
                    "</url></location>";
    }
}

void Utf8MarcRecordClass::XmlModsAccessCondition(std::string& sOut) {
    static const std::pair<const char*, const char*> kConditions[] = {{"506", "restrictionOnAccess"},
                                                                      {"540", "useAndReproduction"}};
    for (const auto& [tag, type] : kConditions) {
        FldMoveTop();
        while (FldFindNext(tag, "")) {
            SfdMoveTop();
            // One line per field, also when the builder takes nothing.
            sOut += m.XmlCrlfTabTab + XmlElementFromSubfields("accessCondition type=" + AddQuotes(type), 0,
                                                              "abcd35", "", " ", false, false);
        }
    }
}

void Utf8MarcRecordClass::XmlModsRecordInfo(std::string& sOut) {
    const std::string& sLine = m.XmlCrlfTabTabTab;
    std::string sChildren;
    if (FldFindFirst("040", "") && SfdFindFirst("a", ""))
        sChildren += sLine + "<recordContentSource authority=" + AddQuotes("marcorg") + ">" +
                     XmlRecordTextEscaped(SfdText()) + "</recordContentSource>";
    sChildren += sLine + "<recordCreationDate encoding=" + AddQuotes("marc") + ">" +
                 XmlRecordTextEscaped(Get008Value(0, 6)) + "</recordCreationDate>";
    if (FldFindFirst("005", ""))
        sChildren += sLine + "<recordChangeDate encoding=" + AddQuotes("iso8601") + ">" +
                     XmlRecordTextEscaped(FldText()) + "</recordChangeDate>";
    if (FldFindFirst("001", "")) {
        const std::string sId = XmlRecordTextEscaped(FldText());
        std::string sSource;
        if (FldFindFirst("003", "")) sSource = " source=" + AddQuotes(XmlRecordTextEscaped(FldText()));
        sChildren += sLine + "<recordIdentifier" + sSource + ">" + sId + "</recordIdentifier>";
    }
    const std::string sLanguageTerm = "<languageOfCataloging><languageTerm authority=" + AddQuotes("iso639-2b") + ">";
    if (FldFindFirst("040", "") && SfdFindFirst("b", ""))
        sChildren += sLine + sLanguageTerm + XmlRecordTextEscaped(SfdText()) + "</languageTerm></languageOfCataloging>";
    else if (m.LocalProfile)
        sChildren += sLine + sLanguageTerm + "eng</languageTerm></languageOfCataloging>";
    sOut += m.XmlCrlfTabTab + "<recordInfo>" + sChildren + m.XmlCrlfTabTab + "</recordInfo>";
}
