// Sorting forms of subfields and fields: the form of each subfield that
// counts for a heading, behind a short separator that decides how it files
// against the others. A separator with two blanks files before any with one,
// since a blank precedes "$".
#include <optional>
#include <string>

#include "common/runtime.h"
#include "marc/record/marc_record.h"

std::string Utf8MarcRecordClass::SfdSortingForm(bool bSubfieldComesFromPersonalNameHeading) {
    if (FldPointer() < 0 || SfdPointer() < 0) return "";
    const std::string sCode = SfdCode();
    if (sCode == "a") {
        const std::string sNaco = SfdNormNaco();
        const size_t k = sNaco.find(", ");
        // VAN BUREN, MARTIN files as VANBUREN, MARTIN.
        if (bSubfieldComesFromPersonalNameHeading && k != std::string::npos)
            return RemoveSpaces(sNaco.substr(0, k)) + sNaco.substr(k);
        // Paris (France) files as PARIS (FRANCE.
        const std::string sText = SfdText();
        if (const size_t b = sText.find('('); b != std::string::npos)
            return NormString(sText.substr(0, b), true, "V") + " (" + NormString(sText.substr(b + 1), true, "V");
        return sNaco;
    }
    if (sCode == "d") return SfdSortingFormD(SfdText());
    if (sCode == "y") return SfdSortingFormY(SfdText());
    return SfdNormNaco();
}

std::string Utf8MarcRecordClass::FldSortingForm(bool bIncludeRedundantSubfieldC) {
    if (FldPointer() < 0) return "";
    const int16_t iSaved = SfdPointer();
    const std::string sTag = FldTag();
    const std::string sCodes = ListSubfieldsForNormalization(MarcRecordFormat(), sTag);
    const bool bPersonal = sTag.size() >= 2 && sTag.compare(sTag.size() - 2, 2, "00") == 0;

    // Whether the field holds a live $d, learnt once by a find from its first
    // subfield; the cursor goes back to the subfield it was on.
    std::optional<bool> bFieldHasD;
    const auto fieldHasD = [&] {
        if (!bFieldHasD) {
            const int16_t iHere = SfdPointer();
            bFieldHasD = SfdFindFirst("d", "");
            SfdPointer(iHere);
        }
        return *bFieldHasD;
    };

    // A personal name's $q and $c wait for the next $d; a later one of the
    // same code replaces the one waiting.
    std::optional<std::string> sHeldQ;
    std::optional<std::string> sHeldC;
    std::string sForm;
    SfdMoveFirst();
    for (; SfdPointer() >= 0; SfdMoveNext()) {
        const std::string sCode = SfdCode();
        if (sCode.size() != 1 || sCodes.find(sCode[0]) == std::string::npos) continue;
        switch (sCode[0]) {
        case 'a':
            sForm += " $a" + SfdSortingForm(bPersonal);
            break;
        case 'd':
            sForm += " $d" + SfdSortingForm(bPersonal);
            if (sHeldQ) {
                sForm += " $q" + *sHeldQ;
                sHeldQ.reset();
            }
            if (bIncludeRedundantSubfieldC && sHeldC) {
                sForm += " $c" + *sHeldC;
                sHeldC.reset();
            }
            break;
        case 'q':
            if (bPersonal && fieldHasD())
                sHeldQ = SfdSortingForm(bPersonal);
            else
                sForm += (bPersonal ? "  $q" : " $q") + SfdSortingForm(bPersonal);
            break;
        case 'k':
            sForm += (sForm.find("$t") != std::string::npos || sForm.find("  ") != std::string::npos ? " $k" : "  $k") +
                     SfdSortingForm(bPersonal);
            break;
        case 'c':
            if (bPersonal && fieldHasD())
                sHeldC = SfdNorm();
            else
                sForm += "  $c" + SfdSortingForm(bPersonal);
            break;
        case 't':
            sForm += "  $t" + SfdSortingForm(bPersonal);
            break;
        default:
            sForm += " $" + sCode + SfdSortingForm(bPersonal);
            break;
        }
    }
    SfdPointer(iSaved);
    return rt::Trim(sForm);
}
