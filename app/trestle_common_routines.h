#pragma once
// The connection settings of the exit check and its one database reader.

#include <cstdint>
#include <memory>
#include <string>

#include "app/trestle_view.h"

class VgerReaderClass7;
class Utf8MarcRecordClass;

class TrestleCommonRoutines {
public:
    explicit TrestleCommonRoutines(TrestleView& view);
    ~TrestleCommonRoutines();
    TrestleCommonRoutines(const TrestleCommonRoutines&) = delete;
    TrestleCommonRoutines& operator=(const TrestleCommonRoutines&) = delete;

    // The application settings file.
    std::string IniFileName;
    std::string ConfiguredDsn;
    std::string ConfiguredTableNamePrefix;
    std::string ConfiguredUid;
    // The password after descrambling.
    std::string ConfiguredPwd;

    std::unique_ptr<VgerReaderClass7> Reader;
    bool ReaderExists = false;
    // The result set of the circulation query; 0 until the first check made one.
    int16_t CirculationResultSet = 0;
    // Used only for its text services; made on first use.
    std::unique_ptr<Utf8MarcRecordClass> MarcRecord;

    // Reads [Connection] DSN and TNP and [Read] UID and PWD (descrambled).
    void ReadConnectionSettings();
    // Ends the program with the configuration message when a configured value
    // is empty; otherwise makes a fresh reader and hands it the login.
    void SetUpReader();
    // Disconnects and releases the reader there is, and makes a new one.
    void NewReader();
    // Sets the reader's DSN, TableNamePrefix, uID and PWD, ignoring their errors.
    void SetReaderLogin(const std::string& sDsn, const std::string& sTableNamePrefix, const std::string& sUid,
                        const std::string& sPwd);
    // "This program is not properly configured.", then the end of the program.
    [[noreturn]] void EndNotConfigured();

    static constexpr const char* kDefaultIniFileName = "ClearedForExit.INI";
    static constexpr const char* kProgramTitle = "Cleared for exit?";
    static constexpr const char* kNotConfiguredMessage = "This program is not properly configured.";

private:
    TrestleView& view_;
};
