#include "db/odbc_api.h"

const OdbcApi& DriverManagerApi() {
    static const OdbcApi api{
        SQLAllocEnv,   SQLAllocConnect, SQLSetConnectOption, SQLConnect,    SQLAllocStmt,     SQLFreeStmt,
        SQLDisconnect, SQLFreeConnect,  SQLFreeEnv,          SQLSetStmtAttr, SQLPrepare,      SQLExecute,
        SQLExecDirect, SQLNumResultCols, SQLBindCol,         SQLColAttributes, SQLError,      SQLFetch,
        SQLFetchScroll, SQLGetData,     SQLBindParameter,
    };
    return api;
}
