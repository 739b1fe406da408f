// VgerReaderClass7: searches by call number (holdings or the bibliographic
// index) with the table of call-number types, by standard number (LCCN, ISBN,
// ISSN and the like, bibliographic or authority index), by item barcode and
// by electronic link. Every value placed between apostrophes goes through
// SqlQuoted, so a value that holds an apostrophe cannot end its literal.

#include <algorithm>
#include <array>

#include "common/raised_error.h"
#include "common/runtime.h"
#include "db/library_reader.h"
#include "db/library_reader_frame.h"
#include "db/sql_text.h"
#include "marc/record/marc_record.h"

namespace {

// The rows used when the database's CALL_NO_TYPE table cannot be read.
constexpr std::array<std::pair<const char*, const char*>, 6> kBuiltInCallNumberTypes{{
    {"0", "lcc"}, {"1", "ddc"}, {"2", "nlm"}, {"3", "sudocs"}, {"8", "z"}, {"c", "cacodoc"}}};

constexpr int16_t kCallNumberTypeGrowth = 5;

bool Contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

// The type code that a word gives by its first character; "" when none does
// ("7" is looked up by the caller).
std::string CallNumberTypeFromWord(const std::string& u) {
    switch (u[0]) {
        case '0': case 'L': return "0";
        case '1': case 'D': return "1";
        case '2': return "2";
        case 'N': return (Contains(u, "AGR") || u == "NAL") ? "n" : "2";
        case '3': case 'S': return "3";
        case 'C':
            if (u.rfind("CAM", 0) != 0) return "c";
            if (Contains(u, " MA")) return "m";
            if (Contains(u, " ME")) return "b";
            if (Contains(u, " DE")) return "g";
            return "m";
        case 'M': return "m";
        case 'U': return "u";
        case 'Y': return "y";
        case '8': case 'O': return "8";
        case '*': case 'A': return "*";
        default: return "";
    }
}

// The bibliographic index code of a call-number type; "" for the types
// searched under every index code that begins with 0.
std::string CallNumberIndexCode(const std::string& type) {
    if (type == "0") return "0500";
    if (type == "1") return "0820";
    if (type == "2") return "0600";
    if (type == "3") return "0700";
    return "";
}

bool IsThreeDigitStart(const std::string& s) {
    return std::all_of(s.begin(), s.begin() + 3, rt::IsAsciiDigit);
}

// An index-code list "('010A', '010Z')" with each code quoted.
std::string CodeList(std::initializer_list<const char*> codes) {
    std::string list = "(";
    for (const char* code : codes) {
        if (list.size() > 1) list += ", ";
        list += SqlQuoted(code);
    }
    return list + ")";
}

bool IsCodeList(const std::string& codes) { return codes.find("', '") != std::string::npos; }

}  // namespace

// ---- call-number types ----

const VgerReaderClass7::CallNumberTypeEntry& VgerReaderClass7::CallNumberTypeAt(int16_t iRow) const {
    if (iRow < 1 || iRow > CallNumberTypeCount_) RaiseRuntimeError(ErrorNumber::SubscriptOutOfRange);
    return CallNumberTypes[static_cast<size_t>(iRow - 1)];
}

// The table grows by five rows when full; a growth past 32,767 rows overflows.
void VgerReaderClass7::AppendCallNumberType(const CallNumberTypeEntry& entry) {
    if (CallNumberTypeCount_ >= static_cast<int16_t>(CallNumberTypes.size())) {
        const int16_t capacity = rt::ToInt16(static_cast<int64_t>(CallNumberTypes.size()) + kCallNumberTypeGrowth);
        CallNumberTypes.resize(static_cast<size_t>(capacity));
    }
    CallNumberTypes[static_cast<size_t>(CallNumberTypeCount_)] = entry;
    ++CallNumberTypeCount_;
}

void VgerReaderClass7::LoadCallNumberTypes() {
    CheckConnection();
    if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
    RetrievalFrame frame(*this);
    auto session = SessionPtr();
    bool readable = true;
    try {
        session->MyExecuteSQL("SELECT CALL_NO_TYPE, CALL_NO_CODE FROM " + TableNamePrefix_ + "CALL_NO_TYPE",
                              session->RetrieveStatement(), false);
    } catch (const std::exception&) {
        readable = false;
    }
    if (readable) {
        session->ResultSetColumns(2);
        for (;;) {
            session->RealNextRow(session->RetrieveStatement());
            const std::string code = CurrentRow(1, -1);
            if (code.empty()) break;
            AppendCallNumberType({code.substr(0, 1), CurrentRow(2, -1)});
        }
    } else {
        CallNumberTypes.clear();
        CallNumberTypeCount_ = 0;
        for (const auto& [code, source] : kBuiltInCallNumberTypes) AppendCallNumberType({code, source});
    }
    frame.Close();
    CallNumberTypesLoaded_ = true;
}

std::string VgerReaderClass7::CallNumberType() const {
    if (!PendingSourceCode_.empty()) return "7" + PendingSourceCode_;
    return CallNumberTypeCode_;
}

void VgerReaderClass7::CallNumberType(const std::string& vNewValue) {
    if (vNewValue.empty()) RaiseReaderError(ReaderErrorCode::InvalidCallNumberType);
    PendingSourceCode_.clear();
    if (!CallNumberTypesLoaded_) LoadCallNumberTypes();
    const bool byCode = vNewValue.size() == 1;
    for (int16_t row = 0; row < CallNumberTypeCount_; ++row) {
        const CallNumberTypeEntry& entry = CallNumberTypes[static_cast<size_t>(row)];
        if ((byCode ? entry.Code : entry.SourceCode) == vNewValue) {
            CallNumberTypeCode_ = entry.Code;
            return;
        }
    }
    const std::string u = rt::UCase(vNewValue);
    if (u[0] == '7') {
        const std::string source = rt::LCase(vNewValue.substr(1));
        for (int16_t row = 0; row < CallNumberTypeCount_; ++row) {
            const CallNumberTypeEntry& entry = CallNumberTypes[static_cast<size_t>(row)];
            if (entry.SourceCode == source) {
                CallNumberTypeCode_ = entry.Code;
                return;
            }
        }
        PendingSourceCode_ = source;
        RaiseReaderError(ReaderErrorCode::InvalidCallNumberType);
    }
    const std::string code = CallNumberTypeFromWord(u);
    if (code.empty()) RaiseReaderError(ReaderErrorCode::InvalidCallNumberType);
    CallNumberTypeCode_ = code;
}

// ---- call-number search ----

void VgerReaderClass7::SearchCallNumber(const std::string& sCallNumbertype, const std::string& sCallNumber,
                                        int16_t& iResultSet, bool bCallNumberIsTruncated,
                                        bool bSearchCallNumberNative, bool bTrimSpacesFromNormalizedCallNumber,
                                        bool bSearchBibIndexInsteadOfMfhdMaster) {
    IsRetrieval(false);
    const int16_t passed = iResultSet;
    if (!sCallNumbertype.empty()) CallNumberType(sCallNumbertype);
    if (!sCallNumber.empty()) CallNumber_ = sCallNumber;
    if (!sCallNumbertype.empty() || !sCallNumber.empty()) {
        CallNumberIsTruncated_ = bCallNumberIsTruncated;
        SearchCallNumberNative_ = bSearchCallNumberNative;
        TrimSpacesFromNormalizedCallNumber_ = bTrimSpacesFromNormalizedCallNumber;
    }
    const bool keepBlank = !CallNumber_.empty() && CallNumber_.back() == ' ' && !TrimSpacesFromNormalizedCallNumber_;
    UseResultSetArgument(passed);
    if (CallNumber_.empty()) RaiseReaderError(ReaderErrorCode::NoCallNumber);
    if (CallNumberType().empty()) RaiseReaderError(ReaderErrorCode::NoCallNumberType);
    PrepareSearchSet({{SearchConnectionStep::TestConnectionData, SearchConnectionStep::CheckConnection,
                       SearchConnectionStep::MyCheckVoyagerConnection, SearchConnectionStep::TestDatabaseForUnicode},
                      true,
                      std::nullopt});
    const std::string type = CallNumberType();
    std::string compared;
    if (SearchCallNumberNative_) {
        compared = CallNumber_;
    } else {
        compared = rt::RTrim(MarcRecord().NormalizeCallNumber(CallNumber_, type));
        if (keepBlank) compared += ' ';
    }
    CallNumberNormalized_ = compared;
    if (!SearchCallNumberNative_ && compared.empty()) RaiseReaderError(ReaderErrorCode::NoNormalizedCallNumber);

    const std::string value = SqlQuoted(CallNumberIsTruncated_ ? compared + "%" : compared);
    const char* op = CallNumberIsTruncated_ ? " LIKE " : " = ";
    std::string sql;
    if (bSearchBibIndexInsteadOfMfhdMaster) {
        const std::string indexCode = CallNumberIndexCode(type);
        sql = "SELECT BIB_ID, INDEX_CODE, RAWTOHEX(DISPLAY_HEADING), NORMAL_HEADING FROM " + TableNamePrefix_ +
              "BIB_INDEX WHERE " + (SearchCallNumberNative_ ? "DISPLAY_HEADING" : "NORMAL_HEADING") + op + value +
              (indexCode.empty() ? " AND INDEX_CODE LIKE '0%'" : " AND INDEX_CODE = " + SqlQuoted(indexCode));
    } else {
        sql = "SELECT MFHD_ID, CALL_NO_TYPE, RAWTOHEX(DISPLAY_CALL_NO), NORMALIZED_CALL_NO FROM " + TableNamePrefix_ +
              "MFHD_MASTER WHERE " + (SearchCallNumberNative_ ? "DISPLAY_CALL_NO" : "NORMALIZED_CALL_NO") + op +
              value + (type == "*" ? "" : " AND CALL_NO_TYPE = " + SqlQuoted(type));
    }
    RunSearchStatement(sql, passed, iResultSet, SearchTypeCallNumber);
}

// ---- standard numbers ----

void VgerReaderClass7::StandardNumberTag(const std::string& vNewValue) {
    if ((vNewValue.size() != 3 && vNewValue.size() != 4) || !IsThreeDigitStart(vNewValue))
        RaiseReaderError(ReaderErrorCode::InvalidStandardNumberTag);
    StandardNumberTag_ = vNewValue;
}

void VgerReaderClass7::StandardNumberSubfieldCode(const std::string& vNewValue) {
    static const std::string allowed = "abcdefghijklmnopqrstuvwxyz0123456789*";
    const std::string code = rt::LCase(vNewValue);
    if (code.size() != 1 || allowed.find(code[0]) == std::string::npos)
        RaiseReaderError(ReaderErrorCode::InvalidStandardNumberSubfieldCode);
    StandardNumberSubfieldCode_ = code;
}

// A four-character tag is an index code given directly; a list comes back in
// parentheses with each code quoted, one code bare (its caller quotes it).
std::string VgerReaderClass7::IndexCodesForStandardNumber(const std::string& sRecordType, const std::string& sTag,
                                                          const std::string& sSubfieldCode) {
    if (sTag.size() == 4) return sTag;
    if (sSubfieldCode.size() != 1) RaiseReaderError(ReaderErrorCode::InvalidSubfieldCode);
    if (sTag.size() != 3) RaiseReaderError(ReaderErrorCode::InvalidTag);
    const bool all = sSubfieldCode == "*";
    if (sRecordType == "A") {
        if (!all) {
            const std::string code = "A" + sTag.substr(1, 2) + rt::UCase(sSubfieldCode);
            if (code == "A10A" || code == "A10Z" || code == "A35A") return code;
        } else if (sTag == "010") {
            return CodeList({"A10A", "A10Z"});
        } else if (sTag == "035") {
            return "A35A";
        }
        RaiseReaderError(ReaderErrorCode::InvalidTagAndSubfieldCode);
    }
    if (!all) return sTag + rt::UCase(sSubfieldCode);
    if (sTag == "010") return CodeList({"010A", "010Z"});
    if (sTag == "019") return "019A";
    if (sTag == "020") return CodeList({"020A", "020Z"});
    if (sTag == "022") return CodeList({"022A", "022Y", "022Z"});
    if (sTag == "024") return CodeList({"024A", "024Z"});
    if (sTag == "028") return "028A";
    if (sTag == "035") return CodeList({"035A", "035Z", "0359"});
    RaiseReaderError(ReaderErrorCode::InvalidStandardNumberCombination);
}

void VgerReaderClass7::SearchStandardNumber(const std::string& sRecordType, const std::string& sStandardNumberTag,
                                            const std::string& sStandardNumberSubfieldCode,
                                            const std::string& sStandardNumberText, int16_t& iResultSet,
                                            bool bStandardNumberIsTruncated, bool bDoNotNormalizeStandardNumber) {
    IsRetrieval(false);
    const int16_t passed = iResultSet;
    const std::string r = rt::UCase(rt::Trim(sRecordType).substr(0, 1));
    StandardNumberKind kind;
    if (r == "A") {
        kind = StandardNumberKind::Authority;
    } else if (r.size() == 1 && std::string("BDFMPSU").find(r[0]) != std::string::npos) {
        kind = StandardNumberKind::Bibliographic;
    } else {
        RaiseReaderError(ReaderErrorCode::UnrecognizedRecordType);
    }
    bool stored = false;
    if (!sStandardNumberTag.empty()) {
        StandardNumberTag(sStandardNumberTag);
        stored = true;
    }
    if (!sStandardNumberSubfieldCode.empty()) {
        StandardNumberSubfieldCode(sStandardNumberSubfieldCode);
        stored = true;
    }
    if (!sStandardNumberText.empty()) {
        StandardNumber_ = sStandardNumberText;
        stored = true;
    }
    if (stored) {
        StandardNumberIsTruncated_ = bStandardNumberIsTruncated;
        DoNotNormalizeStandardNumber_ = bDoNotNormalizeStandardNumber;
    }
    StandardNumberIndexCodes_ = IndexCodesForStandardNumber(kind == StandardNumberKind::Authority ? "A" : "B",
                                                            StandardNumberTag_, StandardNumberSubfieldCode_);
    UseResultSetArgument(passed);
    if (StandardNumber_.empty()) RaiseReaderError(ReaderErrorCode::NoStandardNumber);
    TestConnectionData();
    CheckConnection();
    RunStandardNumberSearch(StandardNumber_, StandardNumberIndexCodes_, kind, passed, iResultSet);
}

void VgerReaderClass7::RunStandardNumberSearch(const std::string& sNumber, const std::string& sIndexCodes,
                                               StandardNumberKind kind, int16_t iResultSetAsPassed,
                                               int16_t& iResultSet) {
    IsRetrieval(false);
    const std::string compared =
        DoNotNormalizeStandardNumber_ ? sNumber : MarcRecord().NormalizeStandardNumber(StandardNumberTag_, sNumber);
    StandardNumberNormalized_ = compared;
    if (compared.empty()) RaiseReaderError(ReaderErrorCode::NoStanadrdNumber);
    PrepareSearchSet({{SearchConnectionStep::CheckConnection, SearchConnectionStep::MyCheckVoyagerConnection,
                       SearchConnectionStep::TestDatabaseForUnicode},
                      false,
                      SearchTypeStandardNumber});
    const bool authority = kind == StandardNumberKind::Authority;
    std::string sql = std::string("SELECT ") + (authority ? "AUTH_ID" : "BIB_ID") +
                      ", INDEX_CODE, RAWTOHEX(DISPLAY_HEADING), NORMAL_HEADING FROM " + TableNamePrefix_ +
                      (authority ? "AUTH_INDEX" : "BIB_INDEX") + " WHERE NORMAL_HEADING" +
                      (StandardNumberIsTruncated_ ? " LIKE " + SqlQuoted(compared + "%") : " = " + SqlQuoted(compared)) +
                      " AND INDEX_CODE" + (IsCodeList(sIndexCodes) ? " IN " + sIndexCodes : " = " + SqlQuoted(sIndexCodes));
    RunSearchStatement(sql, iResultSetAsPassed, iResultSet);
}

void VgerReaderClass7::SearchAuthStandardNumber(const std::string& sStandardNumberTag,
                                                const std::string& sStandardNumberSubfieldCode,
                                                const std::string& sStandardNumber, int16_t& iResultSet,
                                                const VariantFlag& bStandardNumberIsTruncated,
                                                const VariantFlag& bDoNotNormalizeStandardNumber) {
    auto toFlag = [](const VariantFlag& v) {
        if (const bool* b = std::get_if<bool>(&v)) return *b;
        if (const int32_t* n = std::get_if<int32_t>(&v)) return *n != 0;
        return rt::CBool(std::get<std::string>(v));
    };
    const bool truncated = toFlag(bStandardNumberIsTruncated);
    const bool notNormalized = toFlag(bDoNotNormalizeStandardNumber);
    SearchStandardNumber("A", sStandardNumberTag, sStandardNumberSubfieldCode, sStandardNumber, iResultSet, truncated,
                         notNormalized);
}

void VgerReaderClass7::SearchBibStandardNumber(const std::string& sStandardNumberTag,
                                               const std::string& sStandardNumberSubfieldCode,
                                               const std::string& sStandardNumber, int16_t& iResultSet,
                                               bool bStandardNumberIsTruncated, bool bDoNotNormalizeStandardNumber) {
    SearchStandardNumber("B", sStandardNumberTag, sStandardNumberSubfieldCode, sStandardNumber, iResultSet,
                         bStandardNumberIsTruncated, bDoNotNormalizeStandardNumber);
}

// ---- barcodes and links ----

// The set gets the plain search type, so that a reused set's column changes
// (a status cut short, a date read as hexadecimal) do not apply to these rows.
void VgerReaderClass7::SearchItemBarcode(const std::string& sItemBarcode, int16_t& iResultSet) {
    IsRetrieval(false);
    const int16_t passed = iResultSet;
    TestConnectionData();
    if (!sItemBarcode.empty()) ItemBarcode(sItemBarcode);
    UseResultSetArgument(passed);
    if (Item.Barcode.empty()) RaiseReaderError(ReaderErrorCode::NoItemBarcode);
    PrepareSearchSet({{SearchConnectionStep::CheckConnection, SearchConnectionStep::MyCheckVoyagerConnection,
                       SearchConnectionStep::TestDatabaseForUnicode},
                      true,
                      SearchTypeSql});
    RunSearchStatement("SELECT ITEM_ID, BARCODE_STATUS FROM " + Tables.ITEM_BARCODE +
                           " WHERE ITEM_BARCODE = " + SqlQuoted(Item.Barcode),
                       passed, iResultSet);
}

void VgerReaderClass7::SearchBarcodesForItem(const std::string& sItemID, int16_t& iResultSet) {
    IsRetrieval(false);
    const int16_t passed = iResultSet;
    if (sItemID.empty()) {
        if (Item.RecordNumber.empty()) RaiseReaderError(ReaderErrorCode::NoItemRecordNumberForBarcodes);
    } else {
        ItemRecordNumber(sItemID);
    }
    TestConnectionData();
    UseResultSetArgument(passed);
    PrepareSearchSet({{SearchConnectionStep::CheckConnection, SearchConnectionStep::TestDatabaseForUnicode,
                       SearchConnectionStep::MyCheckVoyagerConnection},
                      true,
                      SearchTypeSql});
    RunSearchStatement("SELECT ITEM_BARCODE, BARCODE_STATUS, BARCODE_STATUS_DATE FROM " + Tables.ITEM_BARCODE +
                           " WHERE ITEM_ID = " + SqlNumberText(Item.RecordNumber),
                       passed, iResultSet);
}

// DISTINCT: the database engines agree on it for unduplicated rows.
void VgerReaderClass7::SearchUrl(const std::string& sURL, int16_t& iResultSet, const bool& bIsTruncated) {
    if (sURL.empty()) RaiseReaderError(ReaderErrorCode::NoURL);
    const int16_t passed = iResultSet;
    UseResultSetArgument(passed);
    const std::string sql = "SELECT DISTINCT RECORD_ID, RECORD_TYPE, LINK FROM " + TableNamePrefix_ +
                            "ELINK_INDEX WHERE LINK" +
                            (bIsTruncated ? " LIKE " + SqlQuoted(sURL + "%") : " = " + SqlQuoted(sURL));
    PrepareSearchSet({{SearchConnectionStep::CheckConnection, SearchConnectionStep::MyCheckVoyagerConnection},
                      true,
                      SearchTypeSql});
    RunSearchStatement(sql, passed, iResultSet, std::nullopt, true);
}
