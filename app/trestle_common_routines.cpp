#include "app/trestle_common_routines.h"

#include <exception>

#include "app/password.h"
#include "common/ini.h"
#include "common/raised_error.h"
#include "db/library_reader.h"
#include "marc/record/marc_record.h"

TrestleCommonRoutines::TrestleCommonRoutines(TrestleView& view) : view_(view) {}

TrestleCommonRoutines::~TrestleCommonRoutines() = default;

void TrestleCommonRoutines::ReadConnectionSettings() {
    ConfiguredDsn = INI::ReadIniValueOrEmpty(IniFileName, "Connection", "DSN", 30);
    ConfiguredTableNamePrefix = INI::ReadIniValueOrEmpty(IniFileName, "Connection", "TNP", 30);
    ConfiguredUid = INI::ReadIniValueOrEmpty(IniFileName, "Read", "UID", 30);
    std::string sStored = INI::ReadIniValueOrEmpty(IniFileName, "Read", "PWD", 80);
    // A stored password that does not descramble (a negative length, a character
    // code out of range) counts as no password: the configuration message follows.
    try {
        ConfiguredPwd = Password::DescramblePassword(sStored);
    } catch (const RaisedError&) {
        ConfiguredPwd.clear();
    }
}

void TrestleCommonRoutines::SetUpReader() {
    if (ConfiguredDsn.empty() || ConfiguredTableNamePrefix.empty() || ConfiguredUid.empty() ||
        ConfiguredPwd.empty())
        EndNotConfigured();
    NewReader();
    SetReaderLogin(ConfiguredDsn, ConfiguredTableNamePrefix, ConfiguredUid, ConfiguredPwd);
}

void TrestleCommonRoutines::NewReader() {
    if (ReaderExists && Reader) {
        Reader->Disconnect();
        Reader.reset();
    }
    Reader = std::make_unique<VgerReaderClass7>();
    CirculationResultSet = 0;
    ReaderExists = true;
}

void TrestleCommonRoutines::SetReaderLogin(const std::string& sDsn, const std::string& sTableNamePrefix,
                                           const std::string& sUid, const std::string& sPwd) {
    // A bad value shows only when the reader is first used.
    try { Reader->DSN(sDsn); } catch (const std::exception&) {}
    try { Reader->TableNamePrefix(sTableNamePrefix); } catch (const std::exception&) {}
    try { Reader->uID(sUid); } catch (const std::exception&) {}
    try { Reader->PWD(sPwd); } catch (const std::exception&) {}
}

void TrestleCommonRoutines::EndNotConfigured() {
    view_.MessageBox(kNotConfiguredMessage, kProgramTitle);
    EndTheProgram(view_);
}
