// VgerReaderClass7: the links between items, holdings and bibliographic
// records: an item's holdings record, and three list searches into a result
// set of the caller, who fetches the rows.

#include <algorithm>

#include "common/raised_error.h"
#include "db/library_reader.h"
#include "db/library_reader_frame.h"
#include "db/sql_text.h"
#include "platform/events.h"

// An item number that is not all digits after trimming cannot name an item:
// it gives an empty result without a query.
std::string VgerReaderClass7::RetrieveHoldNumberForItem(const std::string& sItemRecordNumber) {
    RetrievalFrame frame(*this);
    CheckConnection();
    TestConnectionData();
    MyCheckVoyagerConnection();
    if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
    std::string number = sItemRecordNumber;
    if (!IsDigitsOnly(number)) {
        frame.Close();
        return "";
    }
    platform::DoEvents();
    RunRetrievalQuery("SELECT MFHD_ID FROM " + Tables.MFHD_ITEM + " WHERE ITEM_ID = " + SqlQuoted(number), 1);
    std::string holdings = CurrentRow(1, -1);
    frame.Close();
    return holdings;
}

void VgerReaderClass7::RunListSearch(const std::string& sSql, int16_t iResultSetAsPassed, int16_t& iResultSet) {
    CheckConnection();
    MyCheckVoyagerConnection();
    if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
    auto session = SessionPtr();
    session->AssignStatementHandle();
    session->FreeStatement(session->ResultSetStatement());
    session->MyExecuteSQL(sSql, session->ResultSetStatement(), false);
    session->DisplayResultHeaders();
    if (iResultSetAsPassed == 0) iResultSet = session->ResultSet();
}

void VgerReaderClass7::SearchHoldNumbersForBib(const std::string& sBibliographicRecordNumber, int16_t& iResultSet) {
    IsRetrieval(false);
    const int16_t passed = iResultSet;
    if (passed >= 0) ResultSet(passed);
    TestConnectionData();
    if (!sBibliographicRecordNumber.empty()) {
        BibRecordNumber(sBibliographicRecordNumber);
    } else if (Bib.RecordNumber.empty()) {
        RaiseReaderError(ReaderErrorCode::NoBibliographicRecordNumber);
    }
    RunListSearch("SELECT MFHD_ID FROM " + Tables.BIB_MFHD + " WHERE BIB_ID = " + SqlQuoted(Bib.RecordNumber) +
                      " ORDER BY MFHD_ID",
                  passed, iResultSet);
}

// The number in force given again keeps the holdings record and its details.
void VgerReaderClass7::SearchItemNumbersForHold(const std::string& sHoldingsRecordNumber, int16_t& iResultSet) {
    IsRetrieval(false);
    const int16_t passed = iResultSet;
    if (passed >= 0) ResultSet(passed);
    TestConnectionData();
    if (!sHoldingsRecordNumber.empty()) {
        if (sHoldingsRecordNumber != Hold.RecordNumber) HoldRecordNumber(sHoldingsRecordNumber);
    } else if (Hold.RecordNumber.empty()) {
        RaiseReaderError(ReaderErrorCode::NoHoldingsRecordNumberForItems);
    }
    RunListSearch("SELECT ITEM_ID FROM " + Tables.MFHD_ITEM + " WHERE MFHD_ID = " + SqlQuoted(Hold.RecordNumber) +
                      " ORDER BY ITEM_ID",
                  passed, iResultSet);
}

void VgerReaderClass7::SearchBibNumbersForHold(const std::string& sHoldingRecordNumber, int16_t& iResultSet) {
    IsRetrieval(false);
    const int16_t passed = iResultSet;
    if (!sHoldingRecordNumber.empty()) {
        HoldRecordNumber(sHoldingRecordNumber);
    } else if (Hold.RecordNumber.empty()) {
        RaiseReaderError(ReaderErrorCode::NoHoldingRecordNumberForBibs);
    }
    TestConnectionData();
    if (passed >= 0) ResultSet(passed);
    RunListSearch("SELECT BIB_ID FROM " + Tables.BIB_MFHD + " WHERE MFHD_ID = " + SqlQuoted(Hold.RecordNumber) +
                      " ORDER BY BIB_ID",
                  passed, iResultSet);
}
