// MODS sections: language, physicalDescription, abstract, tableOfContents,
// targetAudience and note. Every text taken from the record goes through
// XmlRecordTextEscaped (or the element builder, which does the same), in
// element content and in attributes alike.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/utli_misc_non_utf8.h"
#include "marc/record/marc_record.h"
#include "marc/xml/xml_codes.h"

namespace {

// The 008 form-of-item code as its marcform term; "" for none.
std::string FormTerm(const std::string& sCode) {
    if (sCode == " " || sCode == "r") return "print";
    if (sCode == "a") return "microfilm";
    if (sCode == "b") return "microfiche";
    if (sCode == "f") return "braille";
    if (sCode == "s") return "electronic";
    return "";
}

// 007/13 of an electronic resource as its reformatting quality; "" for none.
std::string ReformattingQualityTerm(char c) {
    switch (c) {
        case 'a': return "access";
        case 'p': return "preservation";
        case 'r': return "replacement";
        default: return "";
    }
}

// 008/22 as its marctarget term; "" for none.
std::string TargetAudienceTerm(const std::string& sCode) {
    if (sCode == "a") return "preschool";
    if (sCode == "b" || sCode == "c" || sCode == "j") return "juvenile";
    if (sCode == "d") return "adolescent";
    if (sCode == "e") return "adult";
    if (sCode == "f") return "specialized";
    if (sCode == "g") return "general";
    return "";
}

// Note tags that other sections write, or that are not written at all.
bool ExcludedNoteTag(const std::string& sTag) {
    static constexpr std::string_view kExcluded[] = {"505", "506", "510", "520", "521", "539", "540"};
    for (std::string_view tag : kExcluded)
        if (sTag == tag) return true;
    return false;
}

// Every lower-case letter but "u" (the link) and every digit but 6 and 8
// (linkage and field link, which never belong in a note's text).
constexpr const char* kNoteCodes = "abcdefghijklmnopqrstvwxyz01234579";

}  // namespace

// ---------------------------------------------------------------- helpers

std::vector<std::string> Utf8MarcRecordClass::XmlLanguageCodes(const std::string& sText) {
    // Cut the record's text itself, never its escaped form, so that a
    // reference such as "&amp;" is not split; each piece is escaped alone.
    const std::string sCodes = XmlTextFromRecord(sText);
    std::vector<std::string> codes;
    size_t i = 0;
    for (;;) {
        size_t end = i;
        int characters = 0;
        while (end < sCodes.size() && characters < 3) {
            end += xml_codes::CharacterOctets(sCodes, end);
            ++characters;
        }
        if (!codes.empty() && characters < 3) break;
        codes.push_back(XmlConditionText(sCodes.substr(i, end - i)));
        i = end;
        if (i >= sCodes.size()) break;
    }
    return codes;
}

std::string Utf8MarcRecordClass::XmlModsLinkAttribute() {
    if (!SfdFindFirst("u", "")) return "";
    return " xlink:href=" + AddQuotes(XmlRecordTextEscaped(SfdText()));
}

std::string Utf8MarcRecordClass::XmlModsLabelAttribute(const std::string& sText) {
    const size_t tab = sText.find('\t');
    if (tab == std::string::npos) return "";
    return " displayLabel=" + AddQuotes(XmlRecordTextEscaped(sText.substr(tab + 1)));
}

// ---------------------------------------------------------------- language

void Utf8MarcRecordClass::XmlModsLanguage(std::string& sOut) {
    const auto line = [&](const std::string& sAuthority, const std::string& sCode) {
        sOut += m.XmlCrlfTabTab;
        sOut += XmlTags("language",
                        XmlTags("languageTerm type=" + AddQuotes("code") + " authority=" + AddQuotes(sAuthority), sCode));
    };
    if (FldFindFirst("041", "")) {
        // The 041 fields alone give the codes; a field whose source is
        // neither absent nor "rfc3066" is passed over.
        FldMoveTop();
        while (FldFindNext("041", "")) {
            std::string sAuthority = "iso639-2b";
            if (SfdFindFirst("2", "")) {
                if (SfdText() != "rfc3066") continue;
                sAuthority = "rfc3066";
            }
            SfdMoveTop();
            while (SfdMoveNext())
                if (xml_codes::OneOf(SfdCode(), "ade"))
                    for (const std::string& sCode : XmlLanguageCodes(SfdText())) line(sAuthority, sCode);
        }
        return;
    }
    // Without 041 the 008 code; a record without 008 gives an empty code.
    const std::string sLanguage = Get008Value(35, 3);
    if (sLanguage == "   " || sLanguage.find(MarcFill()) != std::string::npos) return;
    line("iso639-2b", XmlRecordTextEscaped(sLanguage));
}

// ---------------------------------------------------------------- physicalDescription

void Utf8MarcRecordClass::XmlModsPhysicalDescription(std::string& sOut) {
    std::string sChildren;
    const auto child = [&](const std::string& sElement) {
        sChildren += m.XmlCrlfTabTabTab;
        sChildren += sElement;
    };
    const auto form = [&](const std::string& sTerm) {
        child(XmlTags("form authority=" + AddQuotes("marcform"), sTerm));
    };

    // 1. The form of item from the 008, by record kind. Computer files are
    // "electronic" whatever their 008 holds.
    const std::string sKind = MarcRecordFormat();
    if (sKind == "B" || sKind == "M" || sKind == "F" || sKind == "P") {
        const std::string sTerm = FormTerm(Get008Value(sKind == "B" || sKind == "M" ? 23 : 29, 1));
        const bool bPrintMusic = [&] {
            const std::string sType = GetLeaderValue(6, 1);
            return sType == "c" || sType == "d";
        }();
        if (!sTerm.empty() && (sKind != "M" || sTerm != "print" || bPrintMusic)) form(sTerm);
    } else if (sKind == "D") {
        form("electronic");
    }

    // 2. General material designations of the title fields.
    FldMoveTop();
    while (FldFindNext("24", "")) {
        const std::string sTag = FldTag();
        if (sTag != "242" && sTag != "245" && sTag != "246") continue;
        if (SfdFindFirst("h", "")) child(XmlTags("form authority=" + AddQuotes("gmd"), XmlRecordTextEscaped(SfdText())));
    }

    // 3. The local profile describes digitized copies.
    if (m.LocalProfile) {
        child(XmlTags("internetMediaType", "image"));
        child(XmlTags("digitalOrigin", "reformatted digital"));
    }

    // 4. Computer file characteristics.
    if (FldFindFirst("256", "") && SfdFindFirst("a", "")) child(XmlTags("form", XmlRecordTextEscaped(SfdText())));

    // 5. Extents: from the first of $a, $b, $c, $e on.
    FldMoveTop();
    while (FldFindNext("300", "")) {
        if (SfdFindFirst("a", "") || SfdFindFirst("b", "") || SfdFindFirst("c", "") || SfdFindFirst("e", "")) {
            const std::string sExtent = XmlElementFromSubfields("extent", 0, "abce", "", " ", false, true);
            if (!sExtent.empty()) child(sExtent);
        }
    }

    // 6. Media types of the electronic locations.
    FldMoveTop();
    while (FldFindNext("856", ""))
        if (SfdFindFirst("q", "")) child(XmlTags("internetMediaType", XmlRecordTextEscaped(SfdText())));

    // 7. Reformatting quality of electronic resources.
    FldMoveTop();
    while (FldFindNext("007", "")) {
        const std::string sText = FldText();
        if (sText.empty() || sText[0] != 'c' || sText.size() < 14) continue;
        const std::string sTerm = ReformattingQualityTerm(sText[13]);
        if (!sTerm.empty()) child(XmlTags("reformattingQuality", sTerm));
    }

    // 8. The first 300's typed note ("type//text" in $n) and physical facets ($d).
    FldMoveTop();
    if (FldFindFirst("300", "")) {
        if (SfdFindFirst("n", "")) {
            std::string sText = SfdText();
            std::string sType;
            if (sText.find("//") != std::string::npos) {
                UtliMiscNonUtf8::SplitOffFirst(sText, sType, "//");
                if (!sType.empty() && !sText.empty())
                    child(XmlTags("note type=" + AddQuotes(XmlRecordTextEscaped(sType)), XmlRecordTextEscaped(sText)));
            }
        }
        if (SfdFindFirst("d", ""))
            child(XmlTags("note displayLabel=" + AddQuotes("Physical facets"), XmlRecordTextEscaped(SfdText())));
    }

    if (sChildren.empty()) return;
    sOut += m.XmlCrlfTabTab;
    sOut += XmlTags("physicalDescription", sChildren + m.XmlCrlfTabTab);
}

// ---------------------------------------------------------------- abstract, tableOfContents

void Utf8MarcRecordClass::XmlModsAbstract(std::string& sOut) {
    FldMoveTop();
    while (FldFindNext("520", "")) {
        const std::string sLink = XmlModsLinkAttribute();
        SfdMoveTop();
        // A 520 without text still gives its line start.
        sOut += m.XmlCrlfTabTab;
        sOut += XmlElementFromSubfields("abstract" + sLink, 0, "ab", "", " ", false, false);
    }
}

void Utf8MarcRecordClass::XmlModsTableOfContents(std::string& sOut) {
    FldMoveTop();
    while (FldFindNext("505", "")) {
        const std::string sLink = XmlModsLinkAttribute();
        SfdMoveTop();
        sOut += m.XmlCrlfTabTab;
        sOut += XmlElementFromSubfields("tableOfContents" + sLink, 0, "agrt", "", " ", false, false);
    }
}

// ---------------------------------------------------------------- targetAudience

void Utf8MarcRecordClass::XmlModsTargetAudience(std::string& sOut) {
    FldMoveTop();
    while (FldFindNext("521", "")) {
        SfdMoveTop();
        sOut += m.XmlCrlfTabTab;
        sOut += XmlElementFromSubfields("targetAudience", 0, "ab", "", " ", false, false);
    }
    // Only these kinds code a target audience in 008/22.
    const std::string sKind = MarcRecordFormat();
    if (sKind != "B" && sKind != "D" && sKind != "F" && sKind != "M") return;
    const std::string sTerm = TargetAudienceTerm(Get008Value(22, 1));
    if (sTerm.empty()) return;
    sOut += m.XmlCrlfTabTab;
    sOut += XmlTags("targetAudience authority=" + AddQuotes("marctarget"), sTerm);
}

// ---------------------------------------------------------------- note

void Utf8MarcRecordClass::XmlModsNote(std::string& sOut) {
    FldMoveTop();
    while (FldFindNext("5", "")) {
        const std::string sTag = FldTag();
        if (ExcludedNoteTag(sTag)) continue;
        // The local profile leaves out notes of other available formats.
        if (m.LocalProfile && FldNorm().rfind("ALSO AVAILABLE AS", 0) == 0) continue;
        std::string sElement;
        if (sTag == "500") {
            // The label of a general note comes from its first subfield; each
            // $a is cut at its TAB by the builder, which adds no label itself.
            SfdMoveTop();
            const std::string sLabel = SfdMoveNext() ? XmlModsLabelAttribute(SfdText()) : "";
            SfdMoveTop();
            sElement = XmlElementFromSubfields("note" + sLabel, 0, "a", "", " ", false, true);
        } else {
            std::string sStart = "note" + XmlModsLinkAttribute();
            if (sTag == "511") sStart += " type=" + AddQuotes("performers");
            else if (sTag == "518") sStart += " type=" + AddQuotes("venue");
            SfdMoveTop();
            sElement = XmlElementFromSubfields(sStart, 0, kNoteCodes, "", " ", false, false);
        }
        sOut += m.XmlCrlfTabTab;
        sOut += sElement;
    }

    // The statement of responsibility, 245 $c; its label is cut from the
    // record, so it is written once.
    if (!FldFindFirst("245", "") || !SfdFindFirst("c", "")) return;
    const std::string sText = SfdText();
    const std::string sLabel = XmlModsLabelAttribute(sText);
    const size_t tab = sText.find('\t');
    if (tab != std::string::npos) SfdText(sText.substr(0, tab));
    sOut += m.XmlCrlfTabTab;
    sOut += "<note type=" + AddQuotes("statement of responsibility") + sLabel + ">" + XmlRecordTextEscaped(SfdText()) +
            "</note>";
}
