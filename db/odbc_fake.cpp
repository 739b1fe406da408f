#include "db/odbc_fake.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

ScriptedOdbc* active = nullptr;

ScriptedOdbc& Active() {
    if (!active) throw std::logic_error("no ScriptedOdbc is active");
    return *active;
}

// Each entry records its name, then runs the script or the driver manager.
#define SCRIPTED(name, script, ...)                          \
    ScriptedOdbc& s = Active();                              \
    s.Calls.push_back(name);                                 \
    if (s.script) return s.script(__VA_ARGS__);

const OdbcApi kScriptedApi{
    [](SQLHENV* e) -> SQLRETURN {
        SCRIPTED("AllocEnv", AllocEnv, e);
        return DriverManagerApi().AllocEnv(e);
    },
    [](SQLHENV e, SQLHDBC* c) -> SQLRETURN {
        SCRIPTED("AllocConnect", AllocConnect, e, c);
        return DriverManagerApi().AllocConnect(e, c);
    },
    [](SQLHDBC c, SQLUSMALLINT o, SQLULEN v) -> SQLRETURN {
        SCRIPTED("SetConnectOption", SetConnectOption, c, o, v);
        return DriverManagerApi().SetConnectOption(c, o, v);
    },
    [](SQLHDBC c, SQLCHAR* d, SQLSMALLINT dl, SQLCHAR* u, SQLSMALLINT ul, SQLCHAR* p, SQLSMALLINT pl) -> SQLRETURN {
        SCRIPTED("Connect", Connect, c);
        return DriverManagerApi().Connect(c, d, dl, u, ul, p, pl);
    },
    [](SQLHDBC c, SQLHSTMT* st) -> SQLRETURN {
        SCRIPTED("AllocStmt", AllocStmt, c, st);
        return DriverManagerApi().AllocStmt(c, st);
    },
    [](SQLHSTMT st, SQLUSMALLINT o) -> SQLRETURN {
        SCRIPTED("FreeStmt", FreeStmt, st, o);
        return DriverManagerApi().FreeStmt(st, o);
    },
    [](SQLHDBC c) -> SQLRETURN {
        SCRIPTED("Disconnect", Disconnect, c);
        return DriverManagerApi().Disconnect(c);
    },
    [](SQLHDBC c) -> SQLRETURN {
        SCRIPTED("FreeConnect", FreeConnect, c);
        return DriverManagerApi().FreeConnect(c);
    },
    [](SQLHENV e) -> SQLRETURN {
        SCRIPTED("FreeEnv", FreeEnv, e);
        return DriverManagerApi().FreeEnv(e);
    },
    [](SQLHSTMT st, SQLINTEGER a, SQLPOINTER v, SQLINTEGER l) -> SQLRETURN {
        SCRIPTED("SetStmtAttr", SetStmtAttr, st, a, v);
        return DriverManagerApi().SetStmtAttr(st, a, v, l);
    },
    [](SQLHSTMT st, SQLCHAR* t, SQLINTEGER l) -> SQLRETURN {
        SCRIPTED("Prepare", Prepare, st, std::string(reinterpret_cast<char*>(t)));
        return DriverManagerApi().Prepare(st, t, l);
    },
    [](SQLHSTMT st) -> SQLRETURN {
        SCRIPTED("Execute", Execute, st);
        return DriverManagerApi().Execute(st);
    },
    [](SQLHSTMT st, SQLCHAR* t, SQLINTEGER l) -> SQLRETURN {
        SCRIPTED("ExecDirect", ExecDirect, st, std::string(reinterpret_cast<char*>(t), static_cast<size_t>(l)));
        return DriverManagerApi().ExecDirect(st, t, l);
    },
    [](SQLHSTMT st, SQLSMALLINT* n) -> SQLRETURN {
        SCRIPTED("NumResultCols", NumResultCols, st, n);
        return DriverManagerApi().NumResultCols(st, n);
    },
    [](SQLHSTMT st, SQLUSMALLINT c, SQLSMALLINT t, SQLPOINTER b, SQLLEN bl, SQLLEN* i) -> SQLRETURN {
        SCRIPTED("BindCol", BindCol, st, c, t, b, bl, i);
        return DriverManagerApi().BindCol(st, c, t, b, bl, i);
    },
    [](SQLHSTMT st, SQLUSMALLINT c, SQLUSMALLINT f, SQLPOINTER t, SQLSMALLINT tl, SQLSMALLINT* rl,
       SQLLEN* n) -> SQLRETURN {
        SCRIPTED("ColAttributes", ColAttributes, st, c, f, t, tl, rl, n);
        return DriverManagerApi().ColAttributes(st, c, f, t, tl, rl, n);
    },
    [](SQLHENV e, SQLHDBC c, SQLHSTMT st, SQLCHAR* state, SQLINTEGER* n, SQLCHAR* m, SQLSMALLINT ml,
       SQLSMALLINT* rl) -> SQLRETURN {
        SCRIPTED("Error", Error, e, c, st, state, n, m, ml, rl);
        return DriverManagerApi().Error(e, c, st, state, n, m, ml, rl);
    },
    [](SQLHSTMT st) -> SQLRETURN {
        SCRIPTED("Fetch", Fetch, st);
        return DriverManagerApi().Fetch(st);
    },
    [](SQLHSTMT st, SQLSMALLINT o, SQLLEN off) -> SQLRETURN {
        SCRIPTED("FetchScroll", FetchScroll, st, o, off);
        return DriverManagerApi().FetchScroll(st, o, off);
    },
    [](SQLHSTMT st, SQLUSMALLINT c, SQLSMALLINT t, SQLPOINTER b, SQLLEN bl, SQLLEN* l) -> SQLRETURN {
        SCRIPTED("GetData", GetData, st, c, t, b, bl, l);
        return DriverManagerApi().GetData(st, c, t, b, bl, l);
    },
    [](SQLHSTMT st, SQLUSMALLINT n, SQLSMALLINT d, SQLSMALLINT ct, SQLSMALLINT sq, SQLULEN cs, SQLSMALLINT dd,
       SQLPOINTER b, SQLLEN bl, SQLLEN* i) -> SQLRETURN {
        SCRIPTED("BindParameter", BindParameter, st, n, d, ct, sq, cs, dd, b, bl, i);
        return DriverManagerApi().BindParameter(st, n, d, ct, sq, cs, dd, b, bl, i);
    },
};

#undef SCRIPTED

}  // namespace

ScriptedOdbc::ScriptedOdbc() {
    if (active) throw std::logic_error("a ScriptedOdbc is already active");
    active = this;
}

ScriptedOdbc::~ScriptedOdbc() { active = nullptr; }

const OdbcApi& ScriptedOdbc::Api() const { return kScriptedApi; }

size_t ScriptedOdbc::CountCalls(const std::string& name) const {
    return static_cast<size_t>(std::count(Calls.begin(), Calls.end(), name));
}

SQLRETURN ScriptedOdbc::PutText(const std::string& value, SQLPOINTER buffer, SQLLEN bufferLength, SQLLEN* length) {
    if (length) *length = static_cast<SQLLEN>(value.size());
    if (bufferLength <= 0) return SQL_SUCCESS_WITH_INFO;
    const size_t room = static_cast<size_t>(bufferLength) - 1;
    const size_t n = std::min(room, value.size());
    std::memcpy(buffer, value.data(), n);
    static_cast<char*>(buffer)[n] = '\0';
    return n < value.size() ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

SQLRETURN ScriptedOdbc::NextMessage(SQLHANDLE handle, SQLCHAR* state, SQLINTEGER* nativeError, SQLCHAR* text,
                                    SQLSMALLINT textLength, SQLSMALLINT* returnedLength) {
    auto it = std::find_if(Messages.begin(), Messages.end(),
                           [&](const FakeMessage& m) { return handle != nullptr && m.Handle == handle; });
    if (it == Messages.end()) return SQL_NO_DATA;
    FakeMessage message = *it;
    Messages.erase(it);
    std::memcpy(state, message.State.c_str(), std::min<size_t>(message.State.size() + 1, 6));
    *nativeError = message.NativeError;
    SQLLEN length = 0;
    const SQLRETURN rc = PutText(message.Text, text, textLength, &length);
    *returnedLength = static_cast<SQLSMALLINT>(length);
    return rc;
}

void ScriptedOdbc::FakeDriver(intptr_t firstStatement) {
    nextStatement_ = firstStatement;
    AllocEnv = [](SQLHENV* e) {
        *e = Handle(kEnvironment);
        return SQLRETURN{SQL_SUCCESS};
    };
    AllocConnect = [](SQLHENV, SQLHDBC* c) {
        *c = Handle(kConnection);
        return SQLRETURN{SQL_SUCCESS};
    };
    SetConnectOption = [](SQLHDBC, SQLUSMALLINT, SQLULEN) { return SQLRETURN{SQL_SUCCESS}; };
    Connect = [](SQLHDBC) { return SQLRETURN{SQL_SUCCESS}; };
    AllocStmt = [this](SQLHDBC, SQLHSTMT* st) {
        *st = Handle(nextStatement_++);
        return SQLRETURN{SQL_SUCCESS};
    };
    FreeStmt = [](SQLHSTMT, SQLUSMALLINT) { return SQLRETURN{SQL_SUCCESS}; };
    Disconnect = [](SQLHDBC) { return SQLRETURN{SQL_SUCCESS}; };
    FreeConnect = [](SQLHDBC) { return SQLRETURN{SQL_SUCCESS}; };
    FreeEnv = [](SQLHENV) { return SQLRETURN{SQL_SUCCESS}; };
    SetStmtAttr = [](SQLHSTMT, SQLINTEGER, SQLPOINTER) { return SQLRETURN{SQL_SUCCESS}; };
    Prepare = [](SQLHSTMT, const std::string&) { return SQLRETURN{SQL_SUCCESS}; };
    Execute = [](SQLHSTMT) { return SQLRETURN{SQL_SUCCESS}; };
    ExecDirect = [](SQLHSTMT, const std::string&) { return SQLRETURN{SQL_SUCCESS}; };
    NumResultCols = [](SQLHSTMT, SQLSMALLINT* n) {
        *n = 0;
        return SQLRETURN{SQL_SUCCESS};
    };
    BindCol = [](SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*) { return SQLRETURN{SQL_SUCCESS}; };
    ColAttributes = [](SQLHSTMT, SQLUSMALLINT, SQLUSMALLINT, SQLPOINTER, SQLSMALLINT, SQLSMALLINT* rl, SQLLEN*) {
        *rl = 0;
        return SQLRETURN{SQL_SUCCESS};
    };
    Error = [this](SQLHENV e, SQLHDBC c, SQLHSTMT st, SQLCHAR* state, SQLINTEGER* n, SQLCHAR* m, SQLSMALLINT ml,
                   SQLSMALLINT* rl) {
        SQLHANDLE handle = st ? st : (c ? c : e);
        return NextMessage(handle, state, n, m, ml, rl);
    };
    Fetch = [](SQLHSTMT) { return SQLRETURN{SQL_NO_DATA}; };
    FetchScroll = [](SQLHSTMT, SQLSMALLINT, SQLLEN) { return SQLRETURN{SQL_NO_DATA}; };
    GetData = [](SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*) { return SQLRETURN{SQL_ERROR}; };
    BindParameter = [](SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLSMALLINT, SQLSMALLINT, SQLULEN, SQLSMALLINT,
                       SQLPOINTER, SQLLEN, SQLLEN*) { return SQLRETURN{SQL_SUCCESS}; };
}
