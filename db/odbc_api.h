#pragma once
// The ODBC calls the session makes, as a table of function pointers: the
// driver manager's own functions in production, a scripted stand-in in the
// tests that need a failure no real driver gives on demand. Narrow (one octet
// per character) forms only.

#include <sql.h>
#include <sqlext.h>

struct OdbcApi {
    SQLRETURN (*AllocEnv)(SQLHENV* environment);
    SQLRETURN (*AllocConnect)(SQLHENV environment, SQLHDBC* connection);
    SQLRETURN (*SetConnectOption)(SQLHDBC connection, SQLUSMALLINT option, SQLULEN value);
    SQLRETURN (*Connect)(SQLHDBC connection, SQLCHAR* dsn, SQLSMALLINT dsnLength, SQLCHAR* user,
                         SQLSMALLINT userLength, SQLCHAR* password, SQLSMALLINT passwordLength);
    SQLRETURN (*AllocStmt)(SQLHDBC connection, SQLHSTMT* statement);
    SQLRETURN (*FreeStmt)(SQLHSTMT statement, SQLUSMALLINT option);
    SQLRETURN (*Disconnect)(SQLHDBC connection);
    SQLRETURN (*FreeConnect)(SQLHDBC connection);
    SQLRETURN (*FreeEnv)(SQLHENV environment);
    SQLRETURN (*SetStmtAttr)(SQLHSTMT statement, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER length);
    SQLRETURN (*Prepare)(SQLHSTMT statement, SQLCHAR* text, SQLINTEGER length);
    SQLRETURN (*Execute)(SQLHSTMT statement);
    SQLRETURN (*ExecDirect)(SQLHSTMT statement, SQLCHAR* text, SQLINTEGER length);
    SQLRETURN (*NumResultCols)(SQLHSTMT statement, SQLSMALLINT* count);
    SQLRETURN (*BindCol)(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT cType, SQLPOINTER buffer,
                         SQLLEN bufferLength, SQLLEN* indicator);
    SQLRETURN (*ColAttributes)(SQLHSTMT statement, SQLUSMALLINT column, SQLUSMALLINT field, SQLPOINTER text,
                               SQLSMALLINT textLength, SQLSMALLINT* returnedLength, SQLLEN* number);
    SQLRETURN (*Error)(SQLHENV environment, SQLHDBC connection, SQLHSTMT statement, SQLCHAR* state,
                       SQLINTEGER* nativeError, SQLCHAR* message, SQLSMALLINT messageLength,
                       SQLSMALLINT* returnedLength);
    SQLRETURN (*Fetch)(SQLHSTMT statement);
    SQLRETURN (*FetchScroll)(SQLHSTMT statement, SQLSMALLINT orientation, SQLLEN offset);
    SQLRETURN (*GetData)(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT cType, SQLPOINTER buffer,
                         SQLLEN bufferLength, SQLLEN* returnedLength);
    SQLRETURN (*BindParameter)(SQLHSTMT statement, SQLUSMALLINT number, SQLSMALLINT direction, SQLSMALLINT cType,
                               SQLSMALLINT sqlType, SQLULEN columnSize, SQLSMALLINT decimalDigits, SQLPOINTER buffer,
                               SQLLEN bufferLength, SQLLEN* indicator);
};

// The driver manager (unixODBC).
const OdbcApi& DriverManagerApi();
