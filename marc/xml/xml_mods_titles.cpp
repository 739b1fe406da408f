// MODS sections: titleInfo, name, typeOfResource and originInfo.
//
// Each section walks the record on its own through the field and subfield
// cursor and appends its lines to the document. Every text taken from the
// record reaches the document through XmlTextFromRecord and XmlConditionText
// (directly, through XmlRecordTextEscaped, or through the element builder).
#include <cstdint>
#include <string>
#include <string_view>

#include "marc/record/marc_record.h"
#include "marc/xml/xml_codes.h"

namespace {

// A title field of the titleInfo section: its type attribute ("" for the
// 245, which has none) and its nonfiling count.
struct TitleField {
    bool bTitle = false;
    std::string sType;
    int16_t iNonfiling = 0;
};

TitleField TitleFieldOf(const std::string& sTag, const std::string& sInd) {
    const char ind2 = sInd.size() >= 2 ? sInd[1] : ' ';
    if (sTag == "130" || sTag == "240") return {true, "uniform", 0};
    if (sTag == "210") return {true, "abbreviated", 0};
    if (sTag == "242") return {true, "translated", 0};
    if (sTag == "245") return {true, "", static_cast<int16_t>(ind2 >= '0' && ind2 <= '9' ? ind2 - '0' : 0)};
    if (sTag == "246") return {true, ind2 == '1' ? "translated" : "alternative", 0};
    if (sTag == "730" && ind2 != '2') return {true, "uniform", 0};
    if (sTag == "740" && ind2 != '2') return {true, "alternative", 0};
    return {};
}

// The typeOfResource value of leader/06, "" for none.
std::string_view ResourceTypeOf(const std::string& sType) {
    if (sType.size() != 1) return "";
    switch (sType[0]) {
        case 'a': case 't': return "text";
        case 'c': case 'd': return "notated music";
        case 'e': case 'f': return "cartographic";
        case 'g': return "moving image";
        case 'i': return "sound recording-nonmusical";
        case 'j': return "sound recording-musical";
        case 'k': return "still image";
        case 'm': return "software, multimedia";
        case 'p': return "mixed material";
        case 'r': return "three dimensional object";
        default: return "";
    }
}

}  // namespace

// ---------------------------------------------------------------- titleInfo

void Utf8MarcRecordClass::XmlModsTitleInfo(std::string& sOut) {
    const bool bTrim = m.LocalProfile;
    FldMoveTop();
    while (FldMoveNext(true)) {
        const std::string sTag = FldTag();
        const TitleField title = TitleFieldOf(sTag, FldInd());
        if (!title.bTitle) continue;

        std::string sLabel, sContent;
        if (SfdFindFirst("a", "")) {
            sContent = XmlElementFromSubfields("title", title.iNonfiling, "adhklmor", "np", " ", bTrim, true);
            // A label after a TAB in the first $a goes onto the titleInfo
            // element and is cut from the record, so it is written once.
            SfdFindFirst("a", "");
            const std::string sText = SfdText();
            const size_t tab = sText.find('\t');
            if (tab != std::string::npos) {
                sLabel = " displayLabel=" + AddQuotes(XmlRecordTextEscaped(sText.substr(tab + 1)));
                SfdText(sText.substr(0, tab));
            }
        }
        if (SfdFindFirst("b", ""))
            sContent += XmlElementFromSubfields("subTitle", 0, "bhk", "", " ", bTrim, false);
        if (SfdFindFirst("i", "")) sLabel = " displayLabel=" + AddQuotes(XmlRecordTextEscaped(SfdText()));

        // Each $n and each $p starts a part of its own, which takes the
        // following subfields of its codes up to the next $n or $p.
        SfdMoveTop();
        while (SfdMoveNext()) {
            const std::string sCode = SfdCode();
            if (sCode == "n")
                sContent += XmlElementFromSubfields("partNumber", 0, "ndhklmor", "np", " ", bTrim, false);
            else if (sCode == "p")
                sContent += XmlElementFromSubfields("partName", 0, "pdhklmor", "np", " ", bTrim, false);
        }

        if (sContent.empty()) continue;
        const std::string sElement =
            (sTag == "245" ? std::string("titleInfo") : "titleInfo type=" + AddQuotes(title.sType)) + sLabel;
        sOut += m.XmlCrlfTabTab;
        sOut += XmlTags(sElement, sContent);
    }
}

// ---------------------------------------------------------------- name

void Utf8MarcRecordClass::XmlModsName(std::string& sOut) {
    std::string sAuthority = m.LocalProfile ? "naf" : "";
    const std::string sAddedRole = m.LocalProfile ? "Contributor" : "";
    FldMoveTop();
    while (FldMoveNext(true)) {
        const std::string sTag = FldTag();
        enum class Kind { None, Personal, Corporate, Conference } kind = Kind::None;
        std::string sType, sDefaultRole;
        if (sTag == "100" || sTag == "110" || sTag == "111") {
            kind = sTag == "100" ? Kind::Personal : sTag == "110" ? Kind::Corporate : Kind::Conference;
            sType = sTag == "100" ? "personal" : sTag == "110" ? "corporate" : "conference";
            sDefaultRole = "Creator";
        } else if (sTag == "700" || sTag == "710" || sTag == "711") {
            // A name-title field is a related item, not a name.
            if (SfdFindFirst("t", "")) continue;
            kind = sTag == "700" ? Kind::Personal : Kind::Corporate;
            sType = sTag == "700" ? "personal" : "corporate";
            sDefaultRole = sAddedRole;
        } else if (sTag == "720") {
            kind = Kind::Personal;
            const std::string sInd = FldInd();
            if (!sInd.empty() && sInd[0] == '1') sType = "personal";
            sDefaultRole = sAddedRole;
        } else {
            continue;
        }
        // The builders escape the role; it only needs to be UTF-8 here.
        const std::string sRole = SfdFindFirst("8", "") ? XmlTextFromRecord(SfdText()) : sDefaultRole;
        switch (kind) {
            case Kind::Personal: XmlModsAssembleNamePersonal(sOut, sRole, sType, m.XmlCrlfTabTab, sAuthority); break;
            case Kind::Corporate: XmlModsAssembleNameCorporate(sOut, sRole, sType, m.XmlCrlfTabTab, sAuthority); break;
            case Kind::Conference:
                XmlModsAssembleNameConference(sOut, sRole, sType, m.XmlCrlfTabTab, sAuthority);
                break;
            case Kind::None: break;
        }
    }
}

// ---------------------------------------------------------------- typeOfResource

void Utf8MarcRecordClass::XmlModsTypeOfResource(std::string& sOut) {
    const std::string sType = GetLeaderValue(6, 1);
    const std::string_view sValue = ResourceTypeOf(sType);
    if (sValue.empty()) return;
    std::string sElement = "typeOfResource";
    if (GetLeaderValue(7, 1) == "c") sElement += " collection=" + AddQuotes("yes");
    if (xml_codes::OneOf(sType, "dfpt")) sElement += " manuscript=" + AddQuotes("yes");
    sOut += m.XmlCrlfTabTab;
    sOut += XmlTags(sElement, std::string(sValue));
}

// ---------------------------------------------------------------- originInfo

void Utf8MarcRecordClass::XmlModsOriginInfo(std::string& sOut) {
    std::string sLines;
    const auto line = [&](const std::string& sElement) {
        sLines += m.XmlCrlfTabTabTab;
        sLines += sElement;
    };
    const auto place = [&](const std::string& sType, const std::string& sText) {
        line(XmlTags("place", XmlTags("placeTerm type=" + AddQuotes(sType) + " authority=" + AddQuotes("marccountry"),
                                      sText)));
    };

    // 1, 2. Places: the 008 country code, then the first 044 $a. Only a code
    // of three blanks or one holding the fill character counts as absent.
    const std::string sCountry = Get008Value(15, 3);
    if (sCountry != "   " && sCountry.find(MarcFill()) == std::string::npos)
        place("code", XmlRecordTextEscaped(sCountry));
    if (FldFindFirst("044", "") && SfdFindFirst("a", "")) place("text", XmlRecordTextEscaped(SfdText()));

    // 3. The 245 $f, else its $g, without a label after a TAB.
    if (FldFindFirst("245", "") && (SfdFindFirst("f", "") || SfdFindFirst("g", ""))) {
        const std::string sText = SfdText();
        line(XmlTags("dateIssued", XmlRecordTextEscaped(sText.substr(0, sText.find('\t')))));
    }

    // 4. Every 260, wherever it stands: the search starts from the top, not
    // from the 245, so neither a missing 245 nor a 260 before it loses one.
    FldMoveTop();
    while (FldFindNext("260", "")) {
        if (SfdFindFirst("a", "")) place("text", XmlRecordTextEscaped(SfdText()));
        if (SfdFindFirst("b", "")) line(XmlTags("publisher", XmlRecordTextEscaped(SfdText())));
        if (SfdFindFirst("c", "")) line(XmlTags("dateIssued", XmlRecordTextEscaped(SfdText())));
        if (SfdFindFirst("g", "")) line(XmlTags("dateCreated", XmlRecordTextEscaped(SfdText())));
    }

    // 5. The dates of the 008 by its type of date. Under the local profile
    // the first date written carries keyDate. Only four blanks count as an
    // absent date.
    const std::string sDateType = Get008Value(6, 1);
    const std::string sDate1 = Get008Value(7, 4);
    const std::string sDate2 = Get008Value(11, 4);
    const bool bDate1 = sDate1 != "    ";
    const bool bDate2 = sDate2 != "    ";
    bool bKeyDateGiven = false;
    // The start tag with its attributes in the order keyDate, qualifier,
    // encoding, point; the key date is taken when the profile asks for it.
    const auto dated = [&](const std::string& sName, bool bQualifier, bool bEncoding, const std::string& sPoint) {
        std::string sTag = sName;
        if (m.LocalProfile && !bKeyDateGiven) {
            sTag += " keyDate=" + AddQuotes("yes");
            bKeyDateGiven = true;
        }
        if (bQualifier) sTag += " qualifier=" + AddQuotes("questionable");
        if (bEncoding) sTag += " encoding=" + AddQuotes("marc");
        if (!sPoint.empty()) sTag += " point=" + AddQuotes(sPoint);
        return sTag;
    };
    if (xml_codes::OneOf(sDateType, "eprs")) {
        if (bDate1) line(XmlTags(dated("dateIssued", false, true, ""), XmlRecordTextEscaped(sDate1)));
    } else if (xml_codes::OneOf(sDateType, "cdikmuq")) {
        const bool bQuestionable = sDateType == "q";
        if (bDate1) line(XmlTags(dated("dateIssued", bQuestionable, true, "start"), XmlRecordTextEscaped(sDate1)));
        if (bDate2) line(XmlTags(dated("dateIssued", bQuestionable, true, "end"), XmlRecordTextEscaped(sDate2)));
    } else if (sDateType == "t") {
        if (bDate1) line(XmlTags(dated("dateIssued", false, true, ""), XmlRecordTextEscaped(sDate1)));
        if (bDate2) line(XmlTags(dated("copyrightDate", false, false, ""), XmlRecordTextEscaped(sDate2)));
    }

    // 6. Captured dates of the 033: a single date or time (first indicator
    // 0 or 1) as a start, a range (2) as start and end.
    const std::string sCaptured = "dateCaptured encoding=" + AddQuotes("iso8601") + " point=";
    FldMoveTop();
    while (FldFindNext("033", "")) {
        if (!SfdFindFirst("a", "")) continue;
        const std::string sInd = FldInd();
        const char ind1 = sInd.empty() ? ' ' : sInd[0];
        if (ind1 != '0' && ind1 != '1' && ind1 != '2') continue;
        line(XmlTags(sCaptured + AddQuotes("start"), XmlRecordTextEscaped(SfdText())));
        if (ind1 == '2' && SfdFindNext("a", ""))
            line(XmlTags(sCaptured + AddQuotes("end"), XmlRecordTextEscaped(SfdText())));
    }

    // 7. Special coded dates of the 046, the first of each code.
    const std::pair<const char*, std::string> kCodedDates[] = {
        {"b", "dateIssued encoding=" + AddQuotes("marc") + " point=" + AddQuotes("start")},
        {"d", "dateIssued encoding=" + AddQuotes("marc") + " point=" + AddQuotes("end")},
        {"j", "dateModified"},
        {"k", "dateCreated point=" + AddQuotes("start")},
        {"l", "dateCreated point=" + AddQuotes("end")},
        {"m", "dateValid point=" + AddQuotes("start")},
        {"n", "dateValid point=" + AddQuotes("end")}};
    FldMoveTop();
    while (FldFindNext("046", ""))
        for (const auto& [sCode, sTag] : kCodedDates)
            if (SfdFindFirst(sCode, "")) line(XmlTags(sTag, XmlRecordTextEscaped(SfdText())));

    // 8, 9. Edition, and issuance, which is always written.
    if (FldFindFirst("250", "") && SfdFindFirst("a", "")) line(XmlTags("edition", XmlRecordTextEscaped(SfdText())));
    line(XmlTags("issuance", xml_codes::OneOf(GetLeaderValue(7, 1), "bis") ? "continuing" : "monographic"));

    // 10. Frequency: the first 310, then every 321; a line for each, even
    // when the builder takes nothing.
    const auto frequency = [&] {
        if (SfdFindFirst("a", "") || SfdFindFirst("b", ""))
            line(XmlElementFromSubfields("frequency", 0, "ab", "", " ", false, false));
    };
    if (FldFindFirst("310", "")) frequency();
    FldMoveTop();
    while (FldFindNext("321", "")) frequency();

    sOut += m.XmlCrlfTabTab;
    sOut += "<originInfo>";
    sOut += sLines;
    sOut += m.XmlCrlfTabTab;
    sOut += "</originInfo>";
}
