#pragma once
// The tests' view of a record object's state and private members, and small
// helpers of the record tests.

#include <gtest/gtest.h>

#include <string>

#include "marc/record/marc_record.h"

struct RecordTestAccess {
    static const Utf8MarcRecordState& State(const Utf8MarcRecordClass& record) { return record.m; }
    static Utf8MarcRecordState& MutableState(Utf8MarcRecordClass& record) { return record.m; }
    static void NewRecordDateFields(Utf8MarcRecordClass& record, std::string& s005, std::string& sDate,
                                    std::string& s008) {
        record.NewRecordDateFields(s005, sDate, s008);
    }
    static void FldOrderInstall(Utf8MarcRecordClass& record, const std::string& sFormat) {
        record.FldOrderInstall(sFormat);
    }
    static int16_t NewFieldSlot(Utf8MarcRecordClass& record) { return record.NewFieldSlot(); }
    // ---- marc/record/: order keys and subfield-order rules ----
    static void SfdOrderLoad(Utf8MarcRecordClass& record, const std::string& sTag) { record.SfdOrderLoad(sTag); }
    // Puts a rule in force as SfdOrderLoad would.
    static void SfdOrderUse(Utf8MarcRecordClass& record, const SubfieldOrderRule& rule) {
        record.m.SfdOrderCurrent = CompiledSubfieldOrderRule::Compile(rule);
        record.m.SfdOrderLastTable = nullptr;
        ++record.m.SfdOrderCurrentGeneration;
    }
    static std::string FldOrderKey(Utf8MarcRecordClass& record, const std::string& sTag,
                                   const std::string& sIndicators, const std::string& sText) {
        return record.FldOrderKey(sTag, sIndicators, sText);
    }
    static int16_t SfdOrderTest(Utf8MarcRecordClass& record, int16_t iSubfield) {
        FieldEntry& field = record.m.Fields[static_cast<size_t>(record.m.FldPointer)];
        return record.SfdOrderTest(field.Subfields, iSubfield);
    }
    static void SfdOrderInstall(Utf8MarcRecordClass& record, const std::string& sFormat) {
        record.SfdOrderInstall(sFormat);
    }
    static int16_t FldOrderMethodFromKeyword(Utf8MarcRecordClass& record, const std::string& sKeyword) {
        return record.FldOrderMethodFromKeyword(sKeyword);
    }
    static void DecideCharacterSetInEffective(Utf8MarcRecordClass& record, const std::string& sMarcRecord) {
        record.DecideCharacterSetInEffective(sMarcRecord);
    }
    static std::string HoldLoadInInputSet(Utf8MarcRecordClass& record) { return record.HoldLoadInInputSet(); }
    static void ReturnLoadToOutputSet(Utf8MarcRecordClass& record, const std::string& sReturnTo) {
        record.ReturnLoadToOutputSet(sReturnTo);
    }
    // marc8/: single-byte translation and 8-bit text to UTF-8
    static void ApplyTranslation(Utf8MarcRecordClass& record, std::string& sText, bool& bChanged) {
        record.ApplyTranslation(sText, bChanged);
    }
    static void TranslateHexCharacterReferences(Utf8MarcRecordClass& record, std::string& sText) {
        record.TranslateHexCharacterReferences(sText);
    }
    static void Translate880FieldText(Utf8MarcRecordClass& record, std::string& sText, bool& bChanged) {
        record.Translate880FieldText(sText, bChanged);
    }
    static void ReplaceAllOccurrences(Utf8MarcRecordClass& record, std::string& sText, const std::string& sFind,
                                      const std::string& sReplacement, bool& bChanged) {
        record.ReplaceAllOccurrences(sText, sFind, sReplacement, bChanged);
    }
    // marc8/: UTF-8 to MARC-8 of fields and records
    static void TranslateUtf82MarcPiece(Utf8MarcRecordClass& record, const std::string& sTag, const std::string& sPiece,
                                        std::string& sResult, bool& bChanged, bool& bError, std::string& sSetList,
                                        std::string& sCodeList) {
        record.TranslateUtf82MarcPiece(sTag, sPiece, sResult, bChanged, bError, sSetList, sCodeList);
    }
    static void TidyVernacularEscapes(Utf8MarcRecordClass& record, std::string& sPiece) {
        std::string sScratch;
        record.TidyVernacularEscapes(sPiece, sScratch);
    }
    static std::string ScriptCodesFromTableCodes(Utf8MarcRecordClass& record, const std::string& sCodes,
                                                 const std::string& sSeparator) {
        return record.ScriptCodesFromTableCodes(sCodes, sSeparator);
    }
    static void TranslateEscapedFields(Utf8MarcRecordClass& record) { record.TranslateEscapedFields(); }
    static void TranslateFieldsByLinks(Utf8MarcRecordClass& record) { record.TranslateFieldsByLinks(); }
    static void MoveMarc8DiacriticsBehindBase(Utf8MarcRecordClass& record, std::string& sText, bool& bChanged) {
        record.MoveMarc8DiacriticsBehindBase(sText, bChanged);
    }
    static void LatinMarc8Text2Utf8Backward(Utf8MarcRecordClass& record, std::string& sText, bool& bChanged) {
        record.LatinMarc8Text2Utf8Backward(sText, bChanged);
    }
    static void LatinMarc8Text2Utf8WithEscapes(Utf8MarcRecordClass& record, std::string& sText, bool& bChanged) {
        record.LatinMarc8Text2Utf8WithEscapes(sText, bChanged);
    }

    // ---- subfield table ----
    static void FldSplitText(Utf8MarcRecordClass& record, int16_t iField, const std::string& sText) {
        record.FldSplitText(iField, sText);
    }
    static bool IsOclcNumber(Utf8MarcRecordClass& record, const std::string& sText, std::string& sNormalized) {
        return record.IsOclcNumber(sText, sNormalized);
    }
    static void SfdOrderPosition(Utf8MarcRecordClass& record, const std::string& sCode, bool bTitleSeen,
                                 int16_t& iPosition, int16_t& iStepType, std::string& sStepCodes,
                                 int16_t& iMatchCount) {
        record.SfdOrderPosition(sCode, bTitleSeen, iPosition, iStepType, sStepCodes, iMatchCount);
    }

    // ---- thesis notes and the 502 recast ----
    static bool IsDegreeAbbreviation(Utf8MarcRecordClass& record, const std::string& sWord) {
        return record.IsDegreeAbbreviation(sWord);
    }
    static bool ContainsNonThesisPhrase(Utf8MarcRecordClass& record, const std::string& sText) {
        return record.ContainsNonThesisPhrase(sText);
    }
    static void ReCastAll502Fields(Utf8MarcRecordClass& record) { record.ReCastAll502Fields(); }

    // ---- marc/rules/: series numbering ----
    static std::string RewriteSeriesNumberCharacters(Utf8MarcRecordClass& r, const std::string& s) {
        return r.RewriteSeriesNumberCharacters(s);
    }
    static std::string RemoveChapterCaption(Utf8MarcRecordClass& r, const std::string& s) {
        return r.RemoveChapterCaption(s);
    }
    static std::string AppendPiece(Utf8MarcRecordClass& r, std::string sKey, const std::string& sPiece,
                                   const std::string& sAfter, const std::string& sBefore, bool bLastPiece) {
        r.EnsureSeriesNumberingTables();
        r.AppendPieceToSortKey(sKey, sPiece, sAfter, sBefore, bLastPiece, false, false);
        return sKey;
    }
    static std::string AppendWordToken(Utf8MarcRecordClass& r, std::string sKey, std::string sToken,
                                       bool bNumberSeen, bool bWholeToken, bool& bSeriesWordFound) {
        r.EnsureSeriesNumberingTables();
        bool bEastAsianOrdinal = false;
        r.AppendWordTokenToSortKey(sKey, sToken, false, bNumberSeen, bWholeToken, bSeriesWordFound,
                                   bEastAsianOrdinal);
        return sKey;
    }
    static std::string RemoveOrdinalSuffixes(Utf8MarcRecordClass& r, const std::string& s, bool bLastPiece) {
        return r.RemoveOrdinalSuffixes(s, bLastPiece);
    }
    static std::string SeparateVolumeLetter(Utf8MarcRecordClass& r, const std::string& s) {
        return r.SeparateVolumeLetter(s, true);
    }
    static std::string SeparateSingleLetterCaptions(Utf8MarcRecordClass& r, const std::string& s) {
        return r.SeparateSingleLetterCaptions("dfhjnprst", s, true);
    }
    static bool FirstWordIsRomanNumeral(Utf8MarcRecordClass& r, const std::string& s) {
        return r.FirstWordIsRomanNumeral(s);
    }
    static std::string NormalizeCaptionWords(Utf8MarcRecordClass& r, const std::string& s, bool bNormalOnly) {
        return r.NormalizeCaptionWords(s, bNormalOnly);
    }
    static std::string SeparateNumeroSign(Utf8MarcRecordClass& r, const std::string& s, const std::string& sMark) {
        return r.SeparateNumeroSign(s, sMark);
    }
    static std::string SeparateNumeroSignEarlier(Utf8MarcRecordClass& r, const std::string& s,
                                                 const std::string& sMark) {
        return r.SeparateNumeroSignEarlier(s, sMark);
    }
    static std::string RemoveTitleDerivedCaptions(Utf8MarcRecordClass& r, const std::string& sOriginalHeading,
                                                  const std::string& sHeading, std::string sKey) {
        r.RemoveTitleDerivedCaptions(sOriginalHeading, sHeading, sKey);
        return sKey;
    }
    // normalize/: the private members of the date keys.
    static void DetectEraMarkers(Utf8MarcRecordClass& record, std::string& sText, bool& bBC, bool& bAD) {
        record.DetectEraMarkers(sText, bBC, bAD);
    }
    static std::string CleanDateText(Utf8MarcRecordClass& record, const std::string& sText) {
        return record.CleanDateText(sText);
    }
    static bool MonthNameCode(Utf8MarcRecordClass& record, const std::string& sWord, std::string& sCode) {
        return record.MonthNameCode(sWord, sCode);
    }
    static int16_t PeriodPhraseForm(Utf8MarcRecordClass& record, std::string& sText, int32_t lLastBlank, bool& bBC,
                                    bool& bAD) {
        return record.PeriodPhraseForm(sText, lLastBlank, bBC, bAD);
    }
    static bool DigitFollowsTo(Utf8MarcRecordClass& record, const std::string& sText, int32_t lPosition) {
        return record.DigitFollowsTo(sText, lPosition);
    }
    // normalize/: the older pieces of the call-number rules.
    static bool CallNumberTakeLetters(Utf8MarcRecordClass& record, std::string& sCallNumber, std::string& sLetters) {
        return record.CallNumberTakeLetters(sCallNumber, sLetters);
    }
    static void CallNumberTakeNumber(Utf8MarcRecordClass& record, std::string& sCallNumber, std::string& sOutput,
                                     bool bWide, bool& bAppendBlank, std::string& sDigits) {
        record.CallNumberTakeNumber(sCallNumber, sOutput, bWide, bAppendBlank, sDigits);
    }
    // marc8/: decomposition of UTF-8 records on load
    static std::string ReadRegistryValue(Utf8MarcRecordClass& record, int32_t hRootKey, const std::string& sKeyPath,
                                         const std::string& sValueName) {
        return record.ReadRegistryValue(hRootKey, sKeyPath, sValueName);
    }
};

namespace record_test {

// $ in a test text stands for the subfield delimiter.
inline std::string D(std::string s) {
    for (char& c : s)
        if (c == '$') c = '\x1F';
    return s;
}

// A UTF-8 record and an 8-bit (MARC-8) record.
class TwoRecords : public ::testing::Test {
protected:
    TwoRecords() { marc8.CharacterSetOut("M"); }
    Utf8MarcRecordClass utf8;
    Utf8MarcRecordClass marc8;
};

}  // namespace record_test
