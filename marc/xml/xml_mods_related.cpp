// MODS section: relatedItem. One walk over the fields in record order; each
// field's tag says whether it names a related resource (series, constituent
// works, the original of a reproduction, a related electronic resource, the
// linking entries 760 to 787) and of which type. Every item stands on a line
// of its own; every title stands in a titleInfo, every value from the record
// is escaped.
#include <string>
#include <string_view>

#include "marc/record/marc_record.h"

namespace {

// With every letter as stop codes the builder takes exactly the subfield it
// starts on.
constexpr const char* kAllLetters = "abcdefghijklmnopqrstuvwxyz";

// The tags that may give an item, with the item's type ("" for none) and
// whether their names go to the builders under the authority "naf". Whether
// a field of such a tag qualifies (indicators, a $t or $q) the walk decides.
struct RelatedKind {
    std::string_view tag;
    std::string_view type;
    bool bNaf;
};

constexpr RelatedKind kKinds[] = {
    {"440", "series", false},       {"490", "series", false},      {"534", "original", false},
    {"700", "constituent", true},   {"710", "constituent", true},  {"711", "constituent", true},
    {"730", "constituent", true},   {"740", "constituent", false}, {"760", "series", false},
    {"762", "series", false},       {"765", "", false},            {"767", "", false},
    {"770", "constituent", false},  {"772", "host", false},        {"773", "host", false},
    {"774", "constituent", false},  {"775", "otherVersion", false}, {"776", "otherFormat", false},
    {"777", "", false},             {"780", "preceding", false},   {"785", "succeeding", false},
    {"786", "original", false},     {"787", "", false},            {"800", "series", true},
    {"810", "series", true},        {"811", "series", true},       {"830", "series", true},
    {"856", "", false},
};

const RelatedKind* KindOf(const std::string& sTag) {
    for (const RelatedKind& kind : kKinds)
        if (kind.tag == sTag) return &kind;
    return nullptr;
}

bool IsLinkingEntry(const std::string& sTag) { return sTag >= "760" && sTag <= "787"; }

bool IsNameTitle(const std::string& sTag) {
    return sTag == "700" || sTag == "710" || sTag == "711" || sTag == "800" || sTag == "810" || sTag == "811";
}

}  // namespace

void Utf8MarcRecordClass::XmlModsRelatedItem(std::string& sOut) {
    const std::string& sLineStart = m.XmlCrlfTabTab;
    // Elements from subfields: a blank between texts, labels as displayLabel.
    const auto build = [&](const std::string& sElement, const std::string& sCodes, const std::string& sStops) {
        return XmlElementFromSubfields(sElement, 0, sCodes, sStops, " ", false, false);
    };
    // Every subfield with the code from the field's first one on, joined.
    const auto buildFirst = [&](const std::string& sElement, const std::string& sCode) {
        return SfdFindFirst(sCode, "") ? build(sElement, sCode, "") : std::string();
    };
    // A part number of the current subfield alone.
    const auto partNumber = [&] { return build("partNumber", SfdCode(), kAllLetters); };
    // Part numbers of every $n and $p after the field's first subfield with the code.
    const auto partsAfterFirst = [&](const std::string& sCode) {
        std::string sParts;
        if (!SfdFindFirst(sCode, "")) return sParts;
        while (SfdMoveNext()) {
            const std::string sThis = SfdCode();
            if (sThis == "n" || sThis == "p") sParts += partNumber();
        }
        return sParts;
    };
    const auto form = [&] {
        if (!SfdFindFirst("h", "")) return std::string();
        return "<physicalDescription><form>" + XmlRecordTextEscaped(SfdText()) + "</form></physicalDescription>";
    };
    const auto issn = [&] { return buildFirst("identifier type=" + AddQuotes("issn"), "x"); };
    const auto isbn = [&] { return buildFirst("identifier type=" + AddQuotes("isbn"), "z"); };
    const auto titleInfo = [](const std::string& sTitle) {
        return sTitle.empty() ? sTitle : "<titleInfo>" + sTitle + "</titleInfo>";
    };
    // A linking entry: its display label and its content.
    const auto linkingEntry = [&](std::string& sLabel) {
        const std::string sTag = FldTag();
        const auto buildAll = [&](const std::string& sElement, const std::string& sCode) {
            if (!SfdFindFirst(sCode, "")) return std::string();
            return XmlElementFromSubfields(sElement, 0, sCode, "", " ", false, false);
        };
        const auto has = [&](const std::string& sCode) { return SfdFindFirst(sCode, ""); };
        // The text of the first subfield with the code, escaped ("" without one).
        const auto first = [&](const std::string& sCode) {
            return SfdFindFirst(sCode, "") ? XmlRecordTextEscaped(SfdText()) : std::string();
        };
        const bool bHost = sTag == "773";

        // The display label: a 773's $3, then its $i; the others' $i.
        bool bLabelled = false;
        if (bHost && has("3")) bLabelled = true;
        else if (has("i")) bLabelled = true;
        if (bLabelled) sLabel = " displayLabel=" + AddQuotes(XmlRecordTextEscaped(SfdText()));

        std::string sContent;
        if (has("a"))
            sContent += "<name>" + buildAll("namePart", "a") + "<role><roleTerm type=" + AddQuotes("text") +
                        ">creator</roleTerm></role></name>";

        // The title with its part number, then the abbreviated titles beside it.
        // A host entry without a label of its own loses the label after a TAB in
        // its first $t, in the record itself.
        if (bHost && !bLabelled && has("t")) {
            const std::string sTitle = SfdText();
            const size_t tab = sTitle.find('\t');
            if (tab != std::string::npos) SfdText(sTitle.substr(0, tab));
        }
        sContent += "<titleInfo>" + buildAll("title", "t") + buildAll("partNumber", "g") + "</titleInfo>";
        const std::string sAbbreviated = "<titleInfo type=" + AddQuotes("abbreviated") + ">";
        if (has("p")) sContent += sAbbreviated + buildAll("title", "p") + "</titleInfo>";
        if (has("s")) sContent += sAbbreviated + buildAll("title", "s") + "</titleInfo>";

        const bool bPlace = sTag == "775" && has("f");
        if (bPlace || has("d") || has("b")) {
            std::string sOrigin;
            if (bPlace) sOrigin += buildAll("place><placeTerm type=" + AddQuotes("code"), "f");
            sOrigin += buildAll("publisher", "d");
            sOrigin += buildAll("edition", "b");
            sContent += "<originInfo>" + sOrigin + "</originInfo>";
        }
        if (sTag == "775" && has("e"))
            sContent += "<language><languageTerm type=" + AddQuotes("code") + " authority=" + AddQuotes("iso639-2b") +
                        ">" + first("e") + "</languageTerm></language>";
        if (has("h")) sContent += "<physicalDescription><extent>" + first("h") + "</extent></physicalDescription>";
        if (sTag == "786" && has("j"))
            sContent += "<subject><temporal encoding=" + AddQuotes("iso8601") + ">" + first("j") +
                        "</temporal></subject>";
        if (has("n")) sContent += "<note>" + first("n") + "</note>";
        if (sTag == "760") sContent += buildAll("identifier", "o");
        sContent += buildAll("identifier type=" + AddQuotes("issn"), "x");
        sContent += buildAll("identifier type=" + AddQuotes("isbn"), "z");
        if (!m.Nuc.empty() && has("w") && SfdText().find(m.Nuc) != std::string::npos)
            sContent += buildAll("identifier type=" + AddQuotes("local"), "w");

        if (bHost && has("9")) {
            // The host's persistent identifier, by its prefix (case counts).
            const std::string sId = SfdText();
            static constexpr std::pair<std::string_view, std::string_view> kPrefixes[] = {
                {"doi", "doi"}, {"hdl", "hdl"}, {"urn:doi", "doi"}, {"urn:hdl", "hdl"}};
            std::string sType = "unknown";
            std::string sValue = sId;
            for (const auto& [prefix, type] : kPrefixes) {
                if (std::string_view(sId).substr(0, prefix.size()) == prefix) {
                    sType = type;
                    sValue = sId.substr(prefix.size());
                    break;
                }
            }
            sContent += "<identifier type=" + AddQuotes(sType) + ">" + XmlRecordTextEscaped(sValue) + "</identifier>";
        }
        if (bHost) sContent += buildAll("part><text", "g");
        if (bHost && has("q")) {
            // Three levels cut at colons, then whatever remains as an extent.
            std::string sRest = XmlRecordTextEscaped(SfdText());
            std::string sDetails;
            int iLevel = 1;
            do {
                if (iLevel < 4) {
                    const size_t colon = sRest.find(':');
                    sDetails += "<detail level=" + AddQuotes(std::to_string(iLevel)) + "><number>" +
                                sRest.substr(0, colon) + "</number></detail>";
                    sRest = colon == std::string::npos ? "" : sRest.substr(colon + 1);
                    ++iLevel;
                } else {
                    sDetails += "<extent><start>" + sRest + "</start></extent>";
                    sRest.clear();
                }
            } while (!sRest.empty());
            sContent += "<part>" + sDetails + "</part>";
        }
        return sContent;
    };

    FldMoveTop();
    while (FldMoveNext(true)) {
        const int16_t iField = FldPointer();
        const std::string sTag = FldTag();
        const std::string sInd = FldInd();
        const char cInd1 = sInd.size() > 0 ? sInd[0] : ' ';
        const char cInd2 = sInd.size() > 1 ? sInd[1] : ' ';
        const RelatedKind* kind = KindOf(sTag);
        bool bQualifies = kind != nullptr;
        if (sTag == "490") bQualifies = cInd1 == '0';
        else if (sTag == "700" || sTag == "710" || sTag == "711") bQualifies = SfdFindFirst("t", "");
        else if (sTag == "730" || sTag == "740") bQualifies = cInd2 == '2';
        else if (sTag == "856") bQualifies = cInd2 == '2' && SfdFindFirst("q", "");
        if (!bQualifies) continue;

        const std::string sType = kind->type.empty() ? "" : " type=" + AddQuotes(std::string(kind->type));
        std::string sAuthority = kind->bNaf ? "naf" : "";
        std::string sLabel;
        std::string sContent;
        // Form A: the item with its attributes around the content, when there is one.
        const auto itemA = [&] {
            if (!sContent.empty())
                sOut += sLineStart + "<relatedItem" + sType + sLabel + ">" + sContent + "</relatedItem>";
        };

        if (sTag == "440") {
            const std::string sVolume = SfdFindFirst("v", "") ? build("partNumber", "v", "avx") : "";
            SfdMoveFirst();
            const std::string sTitle = build("title", "a", "avx");
            sOut += sLineStart + "<relatedItem" + sType + "><titleInfo>" + sTitle + sVolume +
                    "</titleInfo></relatedItem>";
        } else if (sTag == "490") {
            // Each title goes with the volume that follows it; a title followed
            // directly by another title, and the last one, stand alone.
            std::string sPending;
            SfdMoveTop();
            while (SfdMoveNext()) {
                const std::string sCode = SfdCode();
                if (sCode == "a") {
                    if (!sPending.empty())
                        sOut += sLineStart + "<relatedItem><titleInfo>" + sPending + "</titleInfo></relatedItem>";
                    sPending = build("title", "a", "av");
                } else if (sCode == "v") {
                    const std::string sVolume = build("partNumber", "v", "a");
                    if (!sPending.empty()) {
                        sOut += sLineStart + "<relatedItem><titleInfo>" + sPending + sVolume +
                                "</titleInfo></relatedItem>";
                        sPending.clear();
                    }
                }
            }
            if (!sPending.empty())
                sOut += sLineStart + "<relatedItem" + sType + "><titleInfo>" + sPending + "</titleInfo></relatedItem>";
        } else if (sTag == "534") {
            sContent = titleInfo(buildFirst("title", "t"));
            const std::string sName = buildFirst("namePart", "a");
            if (!sName.empty()) sContent += "<name>" + sName + "</name>";
            std::string sOrigin = buildFirst("publisher", "c");
            sOrigin += buildFirst("edition", "b");
            if (!sOrigin.empty()) sContent += "<originInfo>" + sOrigin + "</originInfo>";
            sContent += issn();
            sContent += isbn();
            itemA();
        } else if (IsNameTitle(sTag)) {
            const bool bSeries = sTag[0] == '8';
            // X00 personal, X10 corporate, X11 conference.
            const bool bConference = sTag[2] == '1';
            const bool bCorporate = sTag[1] == '1' && !bConference;
            std::string sVolume;
            if (bSeries && SfdFindFirst("v", "")) sVolume = partNumber();
            std::string sTitle;
            if (SfdFindFirst("t", "")) sTitle = build("title", bConference ? "tgfklsv" : "tgfklmors", "");
            sTitle += sVolume;
            sTitle += partsAfterFirst("t");
            sContent = titleInfo(sTitle);
            std::string sRole;
            if (bConference) {
                if (SfdFindFirst("4", "")) sRole = XmlTextFromRecord(SfdText());
            } else if (bCorporate) {
                if (SfdFindFirst("4", "") || SfdFindFirst("e", "")) sRole = XmlTextFromRecord(SfdText());
            } else {
                sRole = SfdFindFirst("e", "") ? XmlTextFromRecord(SfdText()) : "Contributor";
            }
            SfdMoveTop();
            std::string sName;
            if (bConference) XmlModsAssembleNameConference(sName, sRole, "conference", sLineStart, sAuthority);
            else if (bCorporate) XmlModsAssembleNameCorporate(sName, sRole, "corporate", sLineStart, sAuthority);
            else XmlModsAssembleNamePersonal(sName, sRole, "personal", sLineStart, sAuthority);
            sContent += sName;
            itemA();
        } else if (sTag == "730" || sTag == "740") {
            // The title and its parts in titleInfo, the form and the ISSN after it.
            SfdMoveFirst();
            std::string sTitle = build("title", sTag == "730" ? "adfgklmors" : "a", "");
            sTitle += partsAfterFirst("a");
            sContent = titleInfo(sTitle) + form();
            if (sTag == "730") sContent += issn();
            itemA();
        } else if (sTag == "830") {
            const std::string sVolume = SfdFindFirst("v", "") ? partNumber() : "";
            SfdMoveTop();
            std::string sTitle = build("title", "adfgklmors", "") + sVolume;
            sTitle += partsAfterFirst("a");
            const std::string sAfter = form() + issn();
            if (!sTitle.empty() || !sAfter.empty())
                sOut += sLineStart + "<relatedItem" + sType + "><titleInfo>" + sTitle + "</titleInfo>" + sAfter +
                        "</relatedItem>";
        } else if (sTag == "856") {
            SfdFindFirst("q", "");
            sContent = "<physicalDescription><internetMediaType>" + XmlRecordTextEscaped(SfdText()) +
                       "</internetMediaType></physicalDescription>";
            itemA();
        } else if (IsLinkingEntry(sTag)) {
            sContent = linkingEntry(sLabel);
            itemA();
        }
        FldPointer(iField);
    }
}
