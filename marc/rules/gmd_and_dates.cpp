// The general material designation ($h) put into a title field, and the
// first year of a free text.
#include <string>
#include <string_view>

#include "common/runtime.h"
#include "marc/record/marc_record.h"

namespace {

// Punctuation that closes the subfield before a $h and moves after it.
constexpr std::string_view kMovingPunctuation = "., /:;=";

}  // namespace

void Utf8MarcRecordClass::FldInsertSubfieldH(std::string sSubfieldHText) {
    if (SfdFindFirst("h", "")) return;

    // Only live subfields place the $h and lend it their punctuation: the
    // live subfield before a given one, or the last live one for -1.
    const FieldEntry* field = CurrentFieldEntry();
    auto liveBefore = [&](int16_t i) -> int16_t {
        if (!field) return -1;
        i = i < 0 ? field->LastSubfield : field->Subfields[static_cast<size_t>(i)].PrevSubfield;
        while (i >= 0 && field->Subfields[static_cast<size_t>(i)].Deleted)
            i = field->Subfields[static_cast<size_t>(i)].PrevSubfield;
        return i;
    };
    bool bClosesField = false;
    bool bBeforeFirst = false;
    int16_t iFirst = -1;
    if (FldTag() == "245" && (SfdFindFirst("b", "") || SfdFindFirst("c", ""))) {
        // After the subfield before the $b or $c; when there is none, the $h
        // goes in front of it and nothing moves.
        iFirst = SfdPointer();
        const int16_t iBefore = liveBefore(iFirst);
        bBeforeFirst = iBefore < 0;
        if (!bBeforeFirst) SfdPointer(iBefore);
    } else {
        bClosesField = FldTag() == "245";
        const int16_t iLast = liveBefore(-1);
        if (iLast >= 0) SfdPointer(iLast);
        else SfdMoveLast();
    }

    std::string sPunctuation;
    if (!bBeforeFirst) {
        const std::string sText = SfdText();
        size_t keep = sText.size();
        while (keep > 0 && kMovingPunctuation.find(sText[keep - 1]) != std::string_view::npos) --keep;
        sPunctuation = sText.substr(keep);
        if (sPunctuation.empty() && bClosesField) sPunctuation.push_back('.');
        if (keep < sText.size()) SfdText(sText.substr(0, keep));
    }

    std::string sDesignation = sSubfieldHText;
    if (rt::Left(sDesignation, 1) != "[") sDesignation = "[" + sDesignation;
    if (sDesignation.find(']') == std::string::npos) sDesignation += "]";
    if (!sPunctuation.empty()) sDesignation = sDesignation.substr(0, sDesignation.rfind(']') + 1) + sPunctuation;

    if (bBeforeFirst) {
        SfdPointer(iFirst);
        SfdInsertBefore("h", sDesignation);
    } else {
        SfdInsertAfter("h", sDesignation);
    }
}

std::string Utf8MarcRecordClass::FindDateInString(std::string sText) {
    // Positions are counted in 64 bits: any length is walked.
    const size_t n = sText.size();
    for (size_t i = 0; i + 3 < n; ++i) {
        if (sText[i] < '1' || sText[i] > '9') continue;
        if (rt::IsAsciiDigit(sText[i + 1]) && rt::IsAsciiDigit(sText[i + 2]) && rt::IsAsciiDigit(sText[i + 3]))
            return sText.substr(i);
    }
    // No four-digit number: the text as it was given.
    return sText;
}
