#pragma once
// A scripted table of ODBC calls for the tests that need what no real driver
// gives on demand: allocation failures, SQL_NEED_DATA, a given handle number
// and native error, output parameters. A call without a script goes to the
// driver manager; FakeDriver() scripts a whole driver that always succeeds
// with made-up handles, so that a test scripts only what it is about.
// One ScriptedOdbc is active at a time (the table's functions find it).

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "db/odbc_api.h"

struct FakeMessage {
    SQLHANDLE Handle = nullptr;  // the environment, connection or statement it belongs to
    std::string State;
    SQLINTEGER NativeError = 0;
    std::string Text;
};

class ScriptedOdbc {
public:
    ScriptedOdbc();
    ~ScriptedOdbc();
    ScriptedOdbc(const ScriptedOdbc&) = delete;
    ScriptedOdbc& operator=(const ScriptedOdbc&) = delete;

    const OdbcApi& Api() const;

    // Made-up handles of the fake driver.
    static SQLHANDLE Handle(intptr_t number) { return reinterpret_cast<SQLHANDLE>(number); }
    static constexpr intptr_t kEnvironment = 7001;
    static constexpr intptr_t kConnection = 7002;

    // Scripts every call: success, handles kEnvironment and kConnection, then
    // statement handles from firstStatement up; ExecDirect and Execute give no
    // columns; SQLError hands out Messages.
    void FakeDriver(intptr_t firstStatement = 41872);

    std::function<SQLRETURN(SQLHENV*)> AllocEnv;
    std::function<SQLRETURN(SQLHENV, SQLHDBC*)> AllocConnect;
    std::function<SQLRETURN(SQLHDBC, SQLUSMALLINT, SQLULEN)> SetConnectOption;
    std::function<SQLRETURN(SQLHDBC)> Connect;
    std::function<SQLRETURN(SQLHDBC, SQLHSTMT*)> AllocStmt;
    std::function<SQLRETURN(SQLHSTMT, SQLUSMALLINT)> FreeStmt;
    std::function<SQLRETURN(SQLHDBC)> Disconnect;
    std::function<SQLRETURN(SQLHDBC)> FreeConnect;
    std::function<SQLRETURN(SQLHENV)> FreeEnv;
    std::function<SQLRETURN(SQLHSTMT, SQLINTEGER, SQLPOINTER)> SetStmtAttr;
    std::function<SQLRETURN(SQLHSTMT, const std::string&)> Prepare;
    std::function<SQLRETURN(SQLHSTMT)> Execute;
    std::function<SQLRETURN(SQLHSTMT, const std::string&)> ExecDirect;
    std::function<SQLRETURN(SQLHSTMT, SQLSMALLINT*)> NumResultCols;
    std::function<SQLRETURN(SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*)> BindCol;
    std::function<SQLRETURN(SQLHSTMT, SQLUSMALLINT, SQLUSMALLINT, SQLPOINTER, SQLSMALLINT, SQLSMALLINT*, SQLLEN*)>
        ColAttributes;
    std::function<SQLRETURN(SQLHENV, SQLHDBC, SQLHSTMT, SQLCHAR*, SQLINTEGER*, SQLCHAR*, SQLSMALLINT, SQLSMALLINT*)>
        Error;
    std::function<SQLRETURN(SQLHSTMT)> Fetch;
    std::function<SQLRETURN(SQLHSTMT, SQLSMALLINT, SQLLEN)> FetchScroll;
    std::function<SQLRETURN(SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*)> GetData;
    std::function<SQLRETURN(SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLSMALLINT, SQLSMALLINT, SQLULEN, SQLSMALLINT,
                            SQLPOINTER, SQLLEN, SQLLEN*)>
        BindParameter;

    // The calls made, by name, in order.
    std::vector<std::string> Calls;
    // Messages that FakeDriver's SQLError hands out (and removes) for a handle.
    std::deque<FakeMessage> Messages;

    // Writes a character value into an application buffer by the rules of
    // ODBC: as much as fits with a closing zero, and the full length.
    static SQLRETURN PutText(const std::string& value, SQLPOINTER buffer, SQLLEN bufferLength, SQLLEN* length);
    // Hands out the first message queued for the handle; SQL_NO_DATA when none.
    SQLRETURN NextMessage(SQLHANDLE handle, SQLCHAR* state, SQLINTEGER* nativeError, SQLCHAR* text,
                          SQLSMALLINT textLength, SQLSMALLINT* returnedLength);
    size_t CountCalls(const std::string& name) const;

private:
    intptr_t nextStatement_ = 0;
};
