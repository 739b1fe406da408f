// Geographic subdivisions: a place heading with a qualifier as the pair of
// $z subdivisions "larger place, local place"; abbreviated qualifiers
// expanded and full names abbreviated; the Australian practice.
#include <string>

#include "common/runtime.h"
#include "marc/record/marc_record.h"
#include "marc/rules/place_name_tables.h"

using place_names::PlaceEntry;
using place_names::PlaceKind;

bool Utf8MarcRecordClass::AustralianSubdivisionPractice() const { return m.AustralianSubdivisionPractice; }

void Utf8MarcRecordClass::AustralianSubdivisionPractice(bool vNewValue) { m.AustralianSubdivisionPractice = vNewValue; }

void Utf8MarcRecordClass::ExpandPlaceAbbreviation(std::string& sZ2, const std::string& sOldField,
                                                  std::string& sField) {
    if (sZ2.empty()) return;
    const int iGroup = place_names::PlaceGroupOf(sZ2[0]);
    if (iGroup < 0) return;
    const PlaceEntry* entry = place_names::FindPlace(place_names::ExpansionGroup(iGroup), NormString(sZ2, true, "V"));
    if (!entry) return;
    switch (entry->kind) {
        case PlaceKind::DistrictOfColumbia:
            sField = sOldField;
            sZ2.clear();
            break;
        case PlaceKind::Australian:
            if (m.AustralianSubdivisionPractice) {
                sZ2 = entry->name;
            } else {
                sZ2 = "Australia";
                sField = sOldField;
            }
            break;
        case PlaceKind::Quebec:
            // The combining acute follows its letter in UTF-8 and precedes it
            // in the 8-bit sets.
            sZ2 = m.RecordIsUtf8 ? "Que" + MarcAcute() + "bec (Province)" : "Qu" + MarcAcute() + "ebec (Province)";
            break;
        default:
            sZ2 = entry->name;
            break;
    }
}

bool Utf8MarcRecordClass::IndirectSubdivisionFormIsJurisdiction(const std::string& sIn) {
    for (std::string_view word : place_names::JurisdictionWordsContained())
        if (sIn.find(word) != std::string::npos) return true;
    for (std::string_view word : place_names::JurisdictionWordsWhole())
        if (sIn == word) return true;
    return false;
}

std::string Utf8MarcRecordClass::IndirectSubdivisionForm(const std::string& sHeading) {
    const std::string sDelimiter = MarcDelimiter();
    const size_t iA = sHeading.find(sDelimiter + "a");
    std::string sWhole = iA == std::string::npos ? sHeading : sHeading.substr(iA + 2);
    // The place and its qualifier come from the $a alone; the subfields after
    // it follow the result as they stand.
    std::string sLater;
    if (const size_t iNext = sWhole.find(sDelimiter); iNext != std::string::npos) {
        sLater = sWhole.substr(iNext);
        sWhole.resize(iNext);
    }
    sWhole = rt::Trim(sWhole);
    const std::string sZ = sDelimiter + "z";
    const size_t iOpen = sWhole.find('(');
    if (iOpen == std::string::npos) return sZ + sWhole + sLater;
    std::string sPlace = rt::Trim(sWhole.substr(0, iOpen));
    std::string sQualifier = sWhole.substr(iOpen + 1);
    if (!sQualifier.empty() && sQualifier.back() == ')') sQualifier.pop_back();
    const size_t iColon = sQualifier.find(" :");
    if (iColon != std::string::npos) {
        // A type of jurisdiction beside the larger place is left out.
        const std::string sFirst = rt::Trim(sQualifier.substr(0, iColon));
        const std::string sSecond = rt::Trim(sQualifier.substr(iColon + 2));
        if (IndirectSubdivisionFormIsJurisdiction(NormString(sFirst, true, "V")))
            sQualifier = sSecond;
        else if (IndirectSubdivisionFormIsJurisdiction(NormString(sSecond, true, "V")))
            sQualifier = sFirst;
    } else if (IndirectSubdivisionFormIsJurisdiction(NormString(sQualifier, true, "V"))) {
        return sWhole + sLater;
    }
    ExpandPlaceAbbreviation(sQualifier, sWhole, sPlace);
    if (sQualifier.empty()) return sZ + sPlace + sLater;
    return sZ + sQualifier + sZ + sPlace + sLater;
}

std::string Utf8MarcRecordClass::AbbreviatePlaceName(const std::string& sIn, bool bOnlyReturnAbbreviations) {
    const std::string sNorm = NormString(sIn, true, "V");
    if (sNorm.empty()) return sIn;
    const int iGroup = place_names::PlaceGroupOf(sNorm[0]);
    if (iGroup < 0) return sIn;
    const PlaceEntry* entry = place_names::FindPlace(place_names::AbbreviationGroup(iGroup), sNorm);
    if (!entry) return sIn;
    switch (entry->kind) {
        case PlaceKind::Congo:
            return bOnlyReturnAbbreviations ? sIn : std::string(entry->name);
        case PlaceKind::Quebec:
            return m.RecordIsUtf8 ? "Que" + MarcAcute() + "bec" : "Qu" + MarcAcute() + "ebec";
        default:
            return std::string(entry->name);
    }
}
