// VgerReaderClass7: the caller's queries, rows and values, column labels,
// output parameters, the SQL-text rewriting and the two dumps.

#include <optional>

#include "chars/utf8_char.h"
#include "common/raised_error.h"
#include "common/utli_misc_non_utf8.h"
#include "db/library_reader.h"
#include "db/library_reader_frame.h"
#include "db/sql_text.h"
#include "platform/events.h"
#include "platform/text_file.h"

namespace {

// The column that CurrentRow hex-decodes for each search type (0: none); the
// searches select these columns as RAWTOHEX(...).
int16_t HexColumnOfSearchType(int16_t searchType) {
    switch (searchType) {
        case SearchTypeBibHeading: return 4;
        case SearchTypeStandardNumber: return 3;
        case SearchTypeHeadingId: return 2;
        case SearchTypeSubdivisionId: return 2;
        case SearchTypeCallNumber: return 3;
        default: return 0;
    }
}

// An output file opened under a file number, closed again however the dump ends.
class DumpFile {
public:
    explicit DumpFile(const std::string& path) : Number(platform::FreeFile()) {
        platform::OpenFile(Number, path, platform::FileMode::Output);
    }
    ~DumpFile() { platform::CloseFile(Number); }
    DumpFile(const DumpFile&) = delete;
    DumpFile& operator=(const DumpFile&) = delete;
    void Line(const std::string& text) { platform::PrintLine(Number, text); }

private:
    int16_t Number;
};

// The mouse pointer as it was, put back however the dump ends.
class SavedMousePointer {
public:
    SavedMousePointer() : Saved(platform::GetMousePointer()) {}
    ~SavedMousePointer() { platform::SetMousePointer(Saved); }
    SavedMousePointer(const SavedMousePointer&) = delete;
    SavedMousePointer& operator=(const SavedMousePointer&) = delete;

private:
    platform::MousePointer Saved;
};

}  // namespace

int16_t VgerReaderClass7::ColumnCount(int16_t iResultSet) {
    CheckConnection();
    if (iResultSet > 0) ResultSet(iResultSet);
    return SessionPtr()->ColumnCount(-1);
}

std::string VgerReaderClass7::ColumnHeaders(int16_t iResultSet) {
    CheckConnection();
    if (iResultSet > 0) ResultSet(iResultSet);
    return SessionPtr()->ColumnHeaders(-1);
}

int16_t VgerReaderClass7::ResultSet() {
    CheckConnection();
    RememberedResultSet = SessionPtr()->ResultSet();
    return RememberedResultSet;
}

void VgerReaderClass7::ResultSet(int16_t vNewValue) {
    CheckConnection();
    SessionPtr()->ResultSet(vNewValue);
    RememberedResultSet = vNewValue;
}

std::string VgerReaderClass7::SQLString() const {
    if (RememberedResultSet == 0) return "";
    return LastSqlText;
}

void VgerReaderClass7::SQLString(const std::string& vNewValue) {
    platform::DoEvents();
    LastSqlText = EncodeSqlText(vNewValue);
    CheckConnection();
    SessionPtr()->SQLString(LastSqlText);
}

void VgerReaderClass7::ExecuteSQL(const std::string& sSqlString, int16_t& iResultSet) {
    platform::DoEvents();
    if (!sSqlString.empty()) SQLString(sSqlString);
    int16_t set = iResultSet;
    if (iResultSet <= -1) {
        set = ResultSet();
    } else {
        ResultSet(iResultSet);
    }
    CheckConnection();
    MyCheckVoyagerConnection();
    if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
    auto session = SessionPtr();
    session->ResultSetSearchType(SearchTypeSql);
    session->ExecuteSQL(set);
    if (iResultSet == 0) iResultSet = session->ResultSet();
}

bool VgerReaderClass7::GetNextRow(int16_t iResultSet) {
    CheckConnection();
    if (iResultSet > 0) ResultSet(iResultSet);
    SessionPtr()->GetNextRow(-1);
    return !CurrentRow(1, -1).empty();
}

bool VgerReaderClass7::GetNextRowScroll(int16_t iResultSet, int32_t lFetchDirection, int16_t iRowsToScroll) {
    CheckConnection();
    if (iResultSet > 0) ResultSet(iResultSet);
    SessionPtr()->GetNextRowScroll(lFetchDirection, iRowsToScroll);
    return !CurrentRow(1, -1).empty();
}

std::string VgerReaderClass7::CurrentRow(int16_t iResultSetOrColumn, int16_t iColumnNumber) {
    int16_t column = iResultSetOrColumn;
    if (iColumnNumber >= 1) {
        ResultSet(iResultSetOrColumn);
        column = iColumnNumber;
    }
    CheckConnection();
    auto session = SessionPtr();
    std::string value = session->CurrentRow(column, -1);
    if (HexColumnOfSearchType(session->ResultSetSearchType()) == column) value = UtliMiscNonUtf8::HexToText(value);
    RememberedResultSet = session->ResultSet();
    return value;
}

std::string VgerReaderClass7::ColumnHeader(int16_t iResultSet, int16_t iColumn) {
    if (iResultSet < 1) RaiseReaderError(ReaderErrorCode::InvalidColumnHeaderResultSet, std::to_string(iResultSet));
    ResultSet(iResultSet);
    auto session = SessionPtr();
    const int16_t count = session->ColumnCount(-1);
    if (iColumn < 1 || iColumn > count)
        RaiseReaderError(ReaderErrorCode::InvalidColumnHeaderColumn, std::to_string(count) + ")");
    std::string labels = session->ColumnHeaders(-1);
    std::string label;
    for (int16_t i = 1; i <= iColumn; ++i) UtliMiscNonUtf8::SplitOffFirst(labels, label, LineFeed);
    return label;
}

void VgerReaderClass7::IsRetrieval(bool vNewValue) {
    CheckConnection();
    SessionPtr()->IsRetrieval(vNewValue);
}

void VgerReaderClass7::BindParameter(int16_t iSequence, int16_t /*iInOut*/, int16_t iValueType,
                                     const SessionValue& vValue) {
    // Every binding is made as an output parameter, whatever the caller asks.
    SessionPtr()->BindParameter(iSequence, SQL_PARAM_OUTPUT, iValueType, vValue);
}

SessionValue VgerReaderClass7::FetchParameter(int16_t iSequence, int16_t ixSet) {
    return SessionPtr()->FetchParameter(iSequence, ixSet);
}

int32_t VgerReaderClass7::RowsPerFetch() {
    if (ResultSet() < 1) return 0;
    return SessionPtr()->RowsPerFetch();
}

void VgerReaderClass7::RowsPerFetch(int32_t vNewValue) {
    CheckConnection();
    SessionPtr()->RowsPerFetch(vNewValue);
}

// Takes every run of multi-octet characters out of the SQL text and writes it
// as a HEXTORAW call of its octets, joined to the literal around it by "||".
// The text is walked from its end, building the result from the front. The
// walk decides only by the result's first characters, which are always its own
// apostrophe or "HEXTORAW", so the caller's apostrophes (and any "&apos;" the
// caller wrote) pass through untouched. Octets that do not form a well-formed
// character are written in hex as well, so no octet above 0x7F stays in a literal.
std::string VgerReaderClass7::EncodeSqlText(const std::string& sText) {
    if (sText.empty()) return "";
    if (!SqlCharacter) SqlCharacter = std::make_unique<Utf8CharClass>();
    std::string r;
    auto p = static_cast<int32_t>(sText.size());
    while (p >= 1) {
        const int32_t q = SqlCharacter->Utf8CharFindFirstOctet(sText, p);
        const std::string c = sText.substr(static_cast<size_t>(q - 1), static_cast<size_t>(p - q + 1));
        if (c.size() == 1 && static_cast<unsigned char>(c[0]) < 0x80) {
            if (r.empty()) {
                r = "'" + c + "'";
            } else if (r.rfind("HEXTORAW", 0) == 0) {
                r = "'" + c + "' || " + r;
            } else {
                r = "'" + c + r.substr(1);
            }
        } else {
            const std::string h = UtliMiscNonUtf8::TextToHex(c);
            if (r.empty()) {
                r = "HEXTORAW('" + h + "')";
            } else if (r.rfind("HEXTORAW", 0) == 0) {
                r = "HEXTORAW('" + h + r.substr(10);
            } else {
                r = "HEXTORAW('" + h + "') || " + r;
            }
        }
        p = q - 1;
    }
    if (r.size() >= 2 && r.front() == '\'' && r.back() == '\'') r = r.substr(1, r.size() - 2);
    return r;
}

void VgerReaderClass7::DumpTable(const std::string& sTableName, const std::string& sOutputFileName,
                                 int32_t lDumpTableLimit) {
    CheckConnection();
    if (sTableName.empty()) RaiseReaderError(ReaderErrorCode::NoTableName);
    if (sOutputFileName.empty()) RaiseReaderError(ReaderErrorCode::NoOutputFileName);
    const int32_t limit = lDumpTableLimit < 1 ? 999999999 : lDumpTableLimit;

    // The set in force, read from the session: the remembered number can be
    // stale (a new set of ExecuteSQL, a look-up's set 0).
    const int16_t savedSet = ResultSet();
    try {
        ResultSet(0);
        MyCheckVoyagerConnection();
        auto session = SessionPtr();
        session->AssignStatementHandle();
        // The table name is the caller's identifier, used as given.
        session->MyExecuteSQL("SELECT * FROM " + sTableName, session->ResultSetStatement(), false);

        DumpFile out(sOutputFileName);
        SavedMousePointer pointer;
        session->DisplayResultHeaders();
        std::string header = ColumnHeaders(-1);
        for (char& c : header)
            if (c == '\n') c = '\t';
        out.Line(header);
        for (int32_t rows = 0; rows < limit; ++rows) {
            platform::DoEvents();
            session->RealNextRow(session->ResultSetStatement());
            if (CurrentRow(1, -1).empty()) break;
            const int16_t columns = ColumnCount(-1);
            std::string line;
            for (int16_t j = 1; j <= columns; ++j) {
                if (j > 1) line += Tab;
                line += CurrentRow(j, -1);
            }
            out.Line(line);
        }
    } catch (...) {
        // The caller's set is in force again also when the dump fails.
        try {
            ResultSet(savedSet);
        } catch (...) {
        }
        throw;
    }
    ResultSet(savedSet);
}

void VgerReaderClass7::DumpDatabaseStructure(const std::string& sOutputFile, bool bIncludeViews) {
    CheckConnection();
    if (sOutputFile.empty()) RaiseReaderError(ReaderErrorCode::NoOutputFileName);
    if (TableNamePrefix_.empty()) RaiseReaderError(ReaderErrorCode::NoTableNamePrefix);

    DumpFile out(sOutputFile);
    SavedMousePointer pointer;
    platform::SetMousePointer(platform::MousePointer::Hourglass);
    RetrievalFrame frame(*this);
    MyCheckVoyagerConnection();

    const std::string owner = rt::UCase(rt::Left(TableNamePrefix_, static_cast<int32_t>(TableNamePrefix_.size()) - 1));
    auto session = SessionPtr();
    session->AssignStatementHandle();
    session->MyExecuteSQL(
        "SELECT TABLE_NAME, COLUMN_NAME, DATA_TYPE, DATA_TYPE_MOD, DATA_TYPE_OWNER, DATA_LENGTH, DATA_PRECISION, "
        "DATA_SCALE FROM ALL_TAB_COLUMNS WHERE OWNER=" +
            SqlQuoted(owner) + " ORDER BY TABLE_NAME, COLUMN_NAME",
        session->ResultSetStatement(), false);
    session->ResultSetColumns(8);

    std::string previousTable = "$%$%";
    bool listing = false;
    bool firstTable = true;
    for (;;) {
        platform::DoEvents();
        session->RealNextRow(session->ResultSetStatement());
        const std::string table = CurrentRow(1, -1);
        if (table.empty()) break;
        if (table != previousTable) {
            previousTable = table;
            listing = rt::Right(table, 3) != "_VW" || bIncludeViews;
            if (listing) {
                if (!firstTable) out.Line("");
                firstTable = false;
                out.Line(table);
            }
        }
        if (!listing) continue;
        const std::string type = CurrentRow(3, -1);
        std::string line = Tab + CurrentRow(2, -1) + " " + rt::LCase(type);
        if (type == "VARCHAR2" || type == "NUMBER" || type == "CHAR") {
            line += "(" + CurrentRow(6, -1) + ")";
        } else if (type != "DATE" && type != "LONG RAW") {
            line += " ***";
        }
        out.Line(line);
    }
    frame.Close();
}
