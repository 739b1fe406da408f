// The element builders of the MODS, MADS and Dublin Core documents: one
// element from the subfields of the current field, and the MODS name element
// from a personal, corporate or conference name field.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "marc/record/marc_record.h"
#include "marc/xml/xml_codes.h"

namespace {

bool HasCode(const std::string& sCodes, const std::string& sCode) {
    return !sCode.empty() && sCodes.find(sCode) != std::string::npos;
}

bool IsLowerLetter(char c) { return c >= 'a' && c <= 'z'; }

// The octets of the first n UTF-8 characters of the text (fewer when the text
// is shorter); a stray continuation octet counts as a character of its own.
size_t OctetsOfCharacters(std::string_view text, size_t n) {
    size_t i = 0;
    for (size_t k = 0; k < n && i < text.size(); ++k) i += xml_codes::CharacterOctets(text, i);
    return i;
}

// The separator put before a taken subfield with this code.
std::string SeparatorFor(const std::string& sSeparator, const std::string& sCode) {
    const size_t e = sSeparator.find(sCode);
    if (!sCode.empty() && e != std::string::npos) {
        size_t end = e + sCode.size();
        while (end < sSeparator.size() && !IsLowerLetter(sSeparator[end])) ++end;
        return sSeparator.substr(e + sCode.size(), end - e - sCode.size());
    }
    for (char c : sSeparator)
        if (IsLowerLetter(c)) return " ";
    return sSeparator;
}

std::string TrimBlanks(const std::string& s) {
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string Utf8MarcRecordClass::XmlRecordTextEscaped(const std::string& sText) {
    return XmlConditionText(XmlTextFromRecord(sText));
}

std::string Utf8MarcRecordClass::XmlElementFromSubfields(std::string sElement, int16_t iNonfiling,
                                                         std::string sCodes, std::string sStopCodes,
                                                         std::string sSeparator, bool bTrimTitle,
                                                         bool bNoLabel) {
    // Closing tags, innermost first, from the start-tag contents joined by "><".
    if (!sElement.empty() && sElement.front() == '<') sElement.erase(0, 1);
    if (!sElement.empty() && sElement.back() == '>') sElement.pop_back();
    std::vector<std::string> names;
    for (size_t start = 0;;) {
        const size_t join = sElement.find("><", start);
        const std::string piece = sElement.substr(start, join == std::string::npos ? std::string::npos : join - start);
        names.push_back(piece.substr(0, piece.find(' ')));
        if (join == std::string::npos) break;
        start = join + 2;
    }
    std::string sClosing;
    for (auto it = names.rbegin(); it != names.rend(); ++it) sClosing += "</" + *it + ">";

    // The walk: from the current subfield to a stop code or the field's end.
    std::string sJoined, sLabel, sNonSort;
    size_t nonfiling = iNonfiling > 0 ? static_cast<size_t>(iNonfiling) : 0;
    for (;;) {
        const std::string sCode = SfdCode();
        if (HasCode(sCodes, sCode)) {
            std::string sContent = SfdText();
            sLabel.clear();
            const size_t tab = sContent.find('\t');
            if (tab != std::string::npos) {
                if (!bNoLabel)
                    sLabel = " displayLabel=" + AddQuotes(XmlRecordTextEscaped(sContent.substr(tab + 1)));
                sContent.erase(tab);
            }
            sContent = XmlTextFromRecord(sContent);
            if (nonfiling > 0) {
                // Counted in characters: the content is UTF-8 here, whatever the record's set.
                // A count that would take the whole content takes nothing, so
                // that the text is never lost.
                const size_t octets = OctetsOfCharacters(sContent, nonfiling);
                if (octets < sContent.size()) {
                    sNonSort = sContent.substr(0, octets);
                    sContent.erase(0, octets);
                }
                nonfiling = 0;
            }
            if (sJoined.empty()) sJoined = sContent;
            else sJoined += SeparatorFor(sSeparator, sCode) + sContent;
        }
        if (!SfdMoveNext()) break;
        if (HasCode(sStopCodes, SfdCode())) {
            SfdMovePrev();
            break;
        }
    }
    if (sJoined.empty()) return "";

    if (bTrimTitle && (sElement == "title" || sElement == "subTitle") &&
        (sJoined.back() == ':' || sJoined.back() == '/')) {
        sJoined.pop_back();
        sJoined = TrimBlanks(sJoined);
    }
    std::string sText = XmlConditionText(sJoined);
    if (sElement.empty()) return sText;
    std::string sOut;
    if (!sNonSort.empty()) sOut = "<nonSort>" + XmlConditionText(sNonSort) + "</nonSort>";
    sOut += "<" + sElement + sLabel + ">" + sText + sClosing;
    return sOut;
}

// ---------------------------------------------------------------- MODS names

namespace {
const std::string kRoleCode = "role><roleTerm type=\"code\" authority=\"marcrelator\"";
}

void Utf8MarcRecordClass::XmlModsAssembleNamePersonal(std::string& sOut, std::string sRole, std::string sType,
                                                      std::string sCrlfTabTab, std::string& sAuthority) {
    if (!SfdFindFirst("a", "")) return;
    std::string sParts = XmlElementFromSubfields("namePart", 0, "aq", "", " ", false, true);
    if (SfdFindFirst("d", ""))
        sParts += XmlElementFromSubfields("namePart type=" + AddQuotes("date"), 0, "d", "", " ", false, true);
    if (SfdFindFirst("b", "") || SfdFindFirst("c", ""))
        sParts += XmlElementFromSubfields("namePart type=" + AddQuotes("termsOfAddress"), 0, "bc", "", " ", false,
                                          true);
    if (sRole.empty() && SfdFindFirst("e", "")) sRole = XmlTextFromRecord(SfdText());
    if (SfdFindFirst("4", "")) sParts += XmlElementFromSubfields(kRoleCode, 0, "4", "", " ", false, true);
    if (SfdFindFirst("u", "")) sParts += XmlElementFromSubfields("affiliation", 0, "u", "", " ", false, true);
    if (SfdFindFirst("9", "")) sParts += XmlElementFromSubfields("displayForm", 0, "9", "", " ", false, true);
    XmlModsAssembleNameGeneric(sOut, sParts, sType, sRole, sCrlfTabTab, sAuthority);
}

void Utf8MarcRecordClass::XmlModsAssembleNameCorporate(std::string& sOut, std::string sRole, std::string sType,
                                                       std::string sCrlfTabTab, std::string& sAuthority) {
    if (!SfdFindFirst("a", "")) return;
    std::string sParts = XmlElementFromSubfields("namePart", 0, "a", "", " ", false, true);
    for (bool bFound = SfdFindFirst("b", ""); bFound; bFound = SfdFindNext("b", ""))
        sParts += XmlElementFromSubfields("namePart", 0, "b", "b", " ", false, true);
    if (SfdFindFirst("c", "") || SfdFindFirst("d", "") || SfdFindFirst("n", ""))
        sParts += XmlElementFromSubfields("namePart", 0, "cdn", "", " ", false, true);
    if (SfdFindFirst("e", "")) sParts += XmlElementFromSubfields("namePart", 0, "e", "", " ", false, true);
    if (SfdFindFirst("4", "")) sParts += XmlElementFromSubfields(kRoleCode, 0, "4", "", " ", false, true);
    XmlModsAssembleNameGeneric(sOut, sParts, sType, sRole, sCrlfTabTab, sAuthority);
}

void Utf8MarcRecordClass::XmlModsAssembleNameConference(std::string& sOut, std::string sRole, std::string sType,
                                                        std::string sCrlfTabTab, std::string& sAuthority) {
    if (!SfdFindFirst("a", "")) return;
    std::string sParts = XmlElementFromSubfields("namePart", 0, "acdenq", "", " ", false, true);
    if (SfdFindFirst("4", "")) sParts += XmlElementFromSubfields(kRoleCode, 0, "4", "", " ", false, true);
    XmlModsAssembleNameGeneric(sOut, sParts, sType, sRole, sCrlfTabTab, sAuthority);
}

void Utf8MarcRecordClass::XmlModsAssembleNameGeneric(std::string& sOut, std::string sField, std::string sType,
                                                     std::string sRole, std::string& sCrlfTabTab,
                                                     std::string& sAuthority) {
    std::string sAttributes;
    if (!sType.empty()) sAttributes = "type=" + AddQuotes(sType);
    if (!sAuthority.empty()) {
        if (sAuthority.find('"') == std::string::npos) sAttributes += " authority=" + AddQuotes(sAuthority);
        else sAttributes += sAuthority;  // a ready-made attribute text
    }
    sAttributes = TrimBlanks(sAttributes);
    if (sField.empty()) return;
    if (!sRole.empty())
        sField += XmlTags("role", XmlTags("roleTerm type=" + AddQuotes("text"), XmlConditionText(sRole)));
    sOut += sCrlfTabTab;
    sOut += XmlTags("name " + sAttributes, sField);
}
