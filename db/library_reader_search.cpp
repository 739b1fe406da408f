// VgerReaderClass7: what every database search shares: the result-set
// argument, the preparation of the set its statement runs on, and the run.

#include "db/library_reader.h"

void VgerReaderClass7::UseResultSetArgument(int16_t iResultSet) {
    if (iResultSet >= 0) ResultSet(iResultSet);
}

void VgerReaderClass7::PrepareSearchSet(const SearchPreparation& preparation) {
    for (SearchConnectionStep step : preparation.ConnectionSteps) {
        switch (step) {
            case SearchConnectionStep::TestConnectionData: TestConnectionData(); break;
            case SearchConnectionStep::CheckConnection: CheckConnection(); break;
            case SearchConnectionStep::MyCheckVoyagerConnection: MyCheckVoyagerConnection(); break;
            case SearchConnectionStep::TestDatabaseForUnicode:
                if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
                break;
        }
    }
    auto session = SessionPtr();
    session->AssignStatementHandle();
    if (preparation.SearchTypeAfterAssign) session->ResultSetSearchType(*preparation.SearchTypeAfterAssign);
    if (preparation.FreeCursor) session->FreeStatement(session->ResultSetStatement());
}

void VgerReaderClass7::RunSearchStatement(const std::string& sSql, int16_t iResultSetAsPassed, int16_t& iResultSet,
                                          std::optional<int16_t> searchTypeBeforeRun, bool bWriteBackBelowOne) {
    auto session = SessionPtr();
    if (searchTypeBeforeRun) session->ResultSetSearchType(*searchTypeBeforeRun);
    session->MyExecuteSQL(sSql, session->ResultSetStatement(), false);
    session->DisplayResultHeaders();
    if (iResultSetAsPassed == 0 || (bWriteBackBelowOne && iResultSetAsPassed < 1)) iResultSet = session->ResultSet();
}

void VgerReaderClass7::RunSearch(const std::string& sSql, const SearchPreparation& preparation,
                                 int16_t iResultSetAsPassed, int16_t& iResultSet) {
    PrepareSearchSet(preparation);
    RunSearchStatement(sSql, iResultSetAsPassed, iResultSet);
}
