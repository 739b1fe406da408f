// VgerReaderClass7: a cataloguing operator's permissions, profile locations
// and cataloguing locations.

#include "common/raised_error.h"
#include "db/library_reader.h"
#include "db/library_reader_frame.h"
#include "db/sql_text.h"

void VgerReaderClass7::SettleOperatorId(const std::string& sOperatorID) {
    if (!sOperatorID.empty()) {
        OperatorId_ = sOperatorID;
    } else if (OperatorId_.empty()) {
        RaiseReaderError(ReaderErrorCode::NoOperatorID);
    }
    CheckConnection();
    if (!DatabaseTestedForUnicode_) TestDatabaseForUnicode();
}

void VgerReaderClass7::RetrieveOperatorPermissions(std::string& sOperatorID) {
    RetrievalFrame frame(*this);
    SettleOperatorId(sOperatorID);
    OperatorFlags.fill(false);
    const std::string& p = TableNamePrefix_;
    RunRetrievalQuery("SELECT T2.BIB_ADD, T2.BIB_UPDATE, T2.BIB_DELETE, T2.HOLD_ADD, T2.HOLD_UPDATE, T2.HOLD_DELETE, "
                      "T2.ITEM_ADD, T2.ITEM_UPDATE, T2.ITEM_DELETE, T2.AUTH_ADD, T2.AUTH_UPDATE, T2.AUTH_DELETE, "
                      "T2.CAT_PROFILE_NAME FROM " +
                          p + "CAT_OPERATOR T1, " + p + "CAT_PROFILE T2 WHERE T1.OPERATOR_ID = " +
                          SqlQuoted(OperatorId_) + " AND T2.CAT_PROFILE_ID = T1.CAT_PROFILE_ID",
                      13);
    auto session = SessionPtr();
    while (!CurrentRow(1, -1).empty()) {
        for (size_t c = 0; c < OperatorFlags.size(); ++c) {
            if (CurrentRow(static_cast<int16_t>(c + 1), -1) == "Y") OperatorFlags[c] = true;
        }
        session->RealNextRow(session->RetrieveStatement());
    }
    frame.Close();
}

// The first column of every row, joined with single blanks.
std::string VgerReaderClass7::ReadLocationList(const std::string& sSql) {
    RunRetrievalQuery(sSql, 1);
    auto session = SessionPtr();
    std::string list;
    for (std::string id = CurrentRow(1, -1); !id.empty(); id = CurrentRow(1, -1)) {
        if (!list.empty()) list += ' ';
        list += id;
        session->RealNextRow(session->RetrieveStatement());
    }
    return list;
}

std::string VgerReaderClass7::RetrieveOperatorCatLocations(const std::string& sOperatorID) {
    RetrievalFrame frame(*this);
    SettleOperatorId(sOperatorID);
    const std::string& p = TableNamePrefix_;
    std::string list = ReadLocationList("SELECT DISTINCT T2.LOCATION_ID FROM " + p + "CAT_SECURITY_LOCS T2, " + p +
                                        "CAT_OPERATOR T1 WHERE T1.OPERATOR_ID = " + SqlQuoted(OperatorId_) +
                                        " AND T2.CAT_PROFILE_ID = T1.CAT_PROFILE_ID");
    frame.Close();
    return list;
}

std::string VgerReaderClass7::RetrieveOperatorCatHappeningLocations(const std::string& sOperatorID) {
    RetrievalFrame frame(*this);
    SettleOperatorId(sOperatorID);
    const std::string& p = TableNamePrefix_;
    std::string list = ReadLocationList(
        "SELECT DISTINCT T2.LOCATION_ID FROM " + p + "CAT_OPERATOR T1, " + p + "CAT_SECURITY_LOCS T2, " + p +
        "CAT_POLICY_LOCS T3 WHERE T1.OPERATOR_ID = " + SqlQuoted(OperatorId_) +
        " AND T2.CAT_PROFILE_ID = T1.CAT_PROFILE_ID AND T3.LOCATION_ID = T2.LOCATION_ID AND "
        "T3.CATALOGING_LOCATION = 'Y'");
    frame.Close();
    return list;
}
