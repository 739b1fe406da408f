#pragma once
// The errors that VgerReaderClass7 raises: every one has the source "VgerRead"
// and either the number 380 (invalid property value) or ObjectErrorBase plus
// the reader's own code. The texts are the reader's own, exactly as callers
// and their users have always seen them (misspellings included).

#include <cstdint>
#include <string>
#include <string_view>

#include "common/raised_error.h"

struct ReaderError {
    int32_t Number;
    std::string_view Description;
};

namespace ReaderErrorCode {

inline constexpr const char* Source = "VgerRead";

constexpr ReaderError Invalid(std::string_view text) { return {ErrorNumber::InvalidPropertyValue, text}; }
constexpr ReaderError Object(int32_t code, std::string_view text) { return {ErrorNumber::ObjectErrorBase + code, text}; }

// 380: invalid values of properties and arguments.
inline constexpr ReaderError InvalidAuthRecordNumber = Invalid("Invalid value for AuthRecordNumber property");
inline constexpr ReaderError InvalidBibRecordNumber = Invalid("Invalid value for BibRecordNumber property");
inline constexpr ReaderError InvalidBibRecordNumberValue = Invalid("Invalid value for BibRecordNumber property: ");
inline constexpr ReaderError InvalidHoldRecordNumber = Invalid("Invalid value for HoldingsRecordNumber property");
inline constexpr ReaderError InvalidDSN = Invalid("Invalid value for DSN property");
inline constexpr ReaderError InvalidItemRecordNumber = Invalid("Invalid value for ItemRecordNumber property");
inline constexpr ReaderError InvalidItemBarcode = Invalid("Invalid value for ItemBarcode property");
inline constexpr ReaderError InvalidCallNumberType = Invalid("Invalid value for CallNumberType property");
inline constexpr ReaderError InvalidStandardNumberSubfieldCode =
    Invalid("Invalid value for StandardNumberSubfieldCode property");
inline constexpr ReaderError InvalidStandardNumberTag = Invalid("Invalid value for StandardNumberTag property");
inline constexpr ReaderError InvalidBibHeading = Invalid("Invalid value for BibHeading property");
inline constexpr ReaderError InvalidBibliographicTag = Invalid("Invalid value for BibliographicTag parameter");
inline constexpr ReaderError InvalidSubjectSystemCode = Invalid("Invalid value for subject system code parameter");
// Followed by the result-set number, blanks removed.
inline constexpr ReaderError InvalidColumnHeaderResultSet = Invalid("Invalid value for ResultSet property: ");
// Followed by the column count and ")".
inline constexpr ReaderError InvalidColumnHeaderColumn = Invalid("Invalid value for column property (maximum of ");

// ObjectErrorBase + code: missing arguments and other failures.
inline constexpr ReaderError NoItemRecordNumber = Object(1001, "No ItemRecordNumber supplied");
inline constexpr ReaderError NoItemRecordNumberForBarcodes = Object(1001, "No item record number supplied");
inline constexpr ReaderError NoItemBarcode = Object(1002, "No ItemBarcode supplied");
inline constexpr ReaderError NoAuthorityRecordNumber = Object(1010, "No AuthorityRecordNumber supplied");
inline constexpr ReaderError NoBibliographicRecordNumber = Object(1012, "No BibliographicRecordNumber supplied");
inline constexpr ReaderError NoHoldingsRecordNumber = Object(1014, "No HoldingsRecordNumber supplied");
inline constexpr ReaderError NoHoldingsRecordNumberForItems = Object(1014, "No holdings record number supplied");
inline constexpr ReaderError NoHoldingRecordNumberForBibs = Object(1014, "No holding record number supplied");
inline constexpr ReaderError NoStanadrdNumber = Object(1021, "No StanadrdNumber supplied");
inline constexpr ReaderError NoStandardNumber = Object(1021, "No StandardNumber supplied");
inline constexpr ReaderError InvalidTagAndSubfieldCode = Object(1022, "Invalid combination of tag and subfield code");
inline constexpr ReaderError InvalidStandardNumberCombination =
    Object(1022, "Invalid combination of StandardNumberSubfieldCode and StandardNumberTag properties");
inline constexpr ReaderError NoCallNumber = Object(1024, "No CallNumber supplied");
inline constexpr ReaderError NoNormalizedCallNumber = Object(1024, "No (normalized) CallNumber supplied");
inline constexpr ReaderError NoCallNumberType = Object(1025, "No CallNumberType supplied");
inline constexpr ReaderError NoLocationID = Object(1027, "No location ID supplied");
inline constexpr ReaderError NoLocationCode = Object(1027, "No location code supplied");
inline constexpr ReaderError InvalidTag = Object(1034, "Invalid value for tag");
inline constexpr ReaderError InvalidSubfieldCode = Object(1035, "Invalid value for subfield code");
inline constexpr ReaderError NoBibliographicHeading = Object(1045, "No BibliographicHeading supplied");
inline constexpr ReaderError NoSubjectSystemCode = Object(1045, "No subject system code supplied");
inline constexpr ReaderError NoSubdivision = Object(1045, "No Subdivision supplied");
inline constexpr ReaderError NoHeading = Object(1045, "No Heading supplied");
inline constexpr ReaderError NoTableName = Object(1051, "No table name supplied");
inline constexpr ReaderError NoOutputFileName = Object(1052, "No output file name supplied");
// Followed by the property's name.
inline constexpr ReaderError ItemObjectLacksProperty =
    Object(1056, "cItem object does not have the expected property: ");
inline constexpr ReaderError DateNotConvertible = Object(1057, "Date is empty and connot be converted");
inline constexpr ReaderError NoTableNamePrefix = Object(1061, "No TableNamePrefix supplied");
inline constexpr ReaderError NoOperatorID = Object(1062, "No OperatorID supplied");
inline constexpr ReaderError NoDSN = Object(1063, "No DSN supplied");
inline constexpr ReaderError NoUID = Object(1064, "No UID supplied");
inline constexpr ReaderError NoPWD = Object(1065, "No PWD supplied");
inline constexpr ReaderError UnrecognizedRecordType = Object(1066, "Unrecognized RecordType code (must be A or B)");
inline constexpr ReaderError NoBibliographicTag = Object(1067, "No BibliographicTag supplied");
inline constexpr ReaderError NoBibliographicIndicators = Object(1068, "No BibliographicIndicators supplied");
inline constexpr ReaderError NoHeadingID = Object(1069, "No Heading ID supplied");
inline constexpr ReaderError NoSubdivisionID = Object(1069, "No Subdivision ID supplied");
inline constexpr ReaderError HeadingIDNotNumeric = Object(1070, "Heading ID is not numeric");
inline constexpr ReaderError SubdivisionIDNotNumeric = Object(1070, "Subdivision ID is not numeric");
inline constexpr ReaderError NoURL = Object(1072, "No URL supplied");

}  // namespace ReaderErrorCode

// Raises the error with the source "VgerRead"; sAppended follows the text.
[[noreturn]] void RaiseReaderError(const ReaderError& error, const std::string& sAppended = "");
