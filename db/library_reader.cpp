// VgerReaderClass7: construction, settings, login, connection, the version
// and character-set probes, disconnection, tracing and the look-up frame.

#include "db/library_reader.h"

#include <cstdint>
#include <optional>

#include "chars/utf8_char.h"
#include "common/ini.h"
#include "common/raised_error.h"
#include "db/library_reader_frame.h"
#include "db/sql_text.h"
#include "marc/record/marc_record.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "platform/version.h"

using readerdetail::TrueFalse;

namespace {

// The login the reader holds until its owner gives one; no data source accepts it.
const char* const kPlaceholderLogin = "NotConfigured";
const char* const kDefaultDebugFile = "c:\\temp\\VrDebug.txt";
const std::string kAsterisks(36, '*');

// Date and time as trace lines show them.
std::string TraceTime() { return rt::FormatDate(platform::Now(), "yyyymmdd hh:nn:ss"); }
std::string TraceTick() { return std::to_string(static_cast<int32_t>(platform::TickCount())); }

}  // namespace

[[noreturn]] void RaiseReaderError(const ReaderError& error, const std::string& sAppended) {
    throw RaisedError(error.Number, ReaderErrorCode::Source, std::string(error.Description) + sAppended);
}

// ---- the look-up frame ----

VgerReaderClass7::RetrievalFrame::RetrievalFrame(VgerReaderClass7& reader) : Reader(reader) {
    auto session = Reader.SessionPtr();
    SavedRetrieval = session->IsRetrieval();
    session->PushResultSet();
    Open = true;
    try {
        Reader.ResultSet(0);
        Reader.IsRetrieval(true);
    } catch (...) {
        try {
            Close();
        } catch (...) {
        }
        throw;
    }
}

VgerReaderClass7::RetrievalFrame::~RetrievalFrame() {
    if (!Open) return;
    try {
        Close();
    } catch (...) {
        // Already on an error's way out; the first error is the one that counts.
    }
}

void VgerReaderClass7::RetrievalFrame::Close() {
    if (!Open) return;
    Open = false;
    auto session = Reader.SessionPtr();
    session->PopResultSet();
    session->IsRetrieval(SavedRetrieval);
}

// ---- construction and end ----

VgerReaderClass7::VgerReaderClass7(const OdbcApi& api) : Api(api) {
    uID(kPlaceholderLogin);
    PWD(kPlaceholderLogin);
    DSN(kPlaceholderLogin);
    // The session that the set operations made is replaced by a fresh one;
    // the placeholder stays in the reader's own members only.
    VgerReaderDll = std::make_shared<VgerReaderDllClass6>(Api);
    BuildTableNames();
    VgerMajorVersion_ = 2000;
    SettingsAreAutomatic_ = true;
    BibHeadingIsTruncated_ = true;
    ItemBarcodeIsNumeric_ = true;

    const std::string automatic =
        INI::ReadIniValue(ReaderSettingsFile, "General", "SettingsAreAutomatic", "TRUE", 500);
    if (rt::Left(automatic, 5) == "FALSE") {
        SettingsAreAutomatic_ = false;
    } else {
        SettingsAreAutomatic_ = true;
        ExplicitSettingsCall = false;
        LoadSettings();
    }

    // A text that is no Boolean raises 13 (type mismatch) out of construction.
    DebuggingOn_ = rt::CBool(rt::UCase(INI::ReadIniValue(ReaderSettingsFile, "General", "DebuggingOn", "FALSE", 500)));
    if (DebuggingOn_) {
        DebugFileName_ = platform::MapWindowsPath(
            INI::ReadIniValue(ReaderSettingsFile, "General", "DebuggingFile", kDefaultDebugFile, 500));
        StartDebugFile();
    }
    DatabaseTestedForUnicode_ = false;
    MarcRecord().NormalizationScheme("V");
}

VgerReaderClass7::~VgerReaderClass7() {
    try {
        if (VgerReaderDll) VgerReaderDll->Disconnect();
    } catch (...) {
        // Ending the reader must not fail.
    }
}

Utf8MarcRecordClass& VgerReaderClass7::MarcRecord() {
    if (!MyMarcRecord1) MyMarcRecord1 = std::make_unique<Utf8MarcRecordClass>();
    return *MyMarcRecord1;
}

std::shared_ptr<VgerReaderDllClass6> VgerReaderClass7::SessionPtr() const {
    if (!VgerReaderDll) RaiseRuntimeError(ErrorNumber::ObjectNotSet, ReaderErrorCode::Source);
    return VgerReaderDll;
}

VgerReaderDllClass6& VgerReaderClass7::Session() const { return *SessionPtr(); }

// ---- tracing ----

void VgerReaderClass7::StartDebugFile() {
    const std::string header = kAsterisks + "\r\n" + "VgerReader initialized at " + TraceTime() + " " + TraceTick() +
                               "\r\n" + kAsterisks + "\r\n" + "\r\n";
    if (!platform::WriteTextFile(DebugFileName_, header)) DebuggingOn_ = false;
}

void VgerReaderClass7::Trace(const std::string& sLine) {
    if (!DebuggingOn_) return;
    // A line that cannot be appended (a full disk, a removed folder) switches
    // tracing off rather than failing the operation it traces.
    if (!platform::AppendLine(DebugFileName_, sLine)) DebuggingOn_ = false;
}

// ---- login, prefix and settings ----

void VgerReaderClass7::DSN(const std::string& vNewValue) {
    if (vNewValue.empty()) RaiseReaderError(ReaderErrorCode::InvalidDSN);
    ConnectionDataChecked = false;
    DSN_ = vNewValue;
    CheckConnection();
    SessionPtr()->DSN(vNewValue);
}

void VgerReaderClass7::uID(const std::string& vNewValue) {
    uID_ = vNewValue;
    ConnectionDataChecked = false;
    CheckConnection();
    SessionPtr()->uID(vNewValue);
}

void VgerReaderClass7::PWD(const std::string& vNewValue) {
    PWD_ = vNewValue;
    ConnectionDataChecked = false;
    CheckConnection();
    SessionPtr()->PWD(vNewValue);
}

void VgerReaderClass7::TableNamePrefix(const std::string& vNewValue) {
    std::string prefix = vNewValue;
    if (rt::Right(prefix, 1) != ".") prefix += ".";
    TableNamePrefix_ = prefix;
    ConnectionDataChecked = false;
    BuildTableNames();
}

void VgerReaderClass7::BuildTableNames() {
    const std::string& p = TableNamePrefix_;
    Tables.AUTH_HISTORY = p + "AUTH_HISTORY";
    Tables.AUTH_INDEX = p + "AUTH_INDEX";
    Tables.AUTH_MASTER = p + "AUTH_MASTER";
    Tables.AUTH_DATA = p + "AUTH_DATA";
    Tables.BIB_HISTORY = p + "BIB_HISTORY";
    Tables.BIB_INDEX = p + "BIB_INDEX";
    Tables.BIB_ITEM = p + "BIB_ITEM";
    Tables.BIB_DATA = p + "BIB_DATA";
    Tables.BIB_MASTER = p + "BIB_MASTER";
    Tables.BIB_MFHD = p + "BIB_MFHD";
    Tables.MFHD_DATA = p + "MFHD_DATA";
    Tables.ITEM_BARCODE = p + "ITEM_BARCODE";
    Tables.ITEM_STATUS = p + "ITEM_STATUS";
    Tables.ITEM_STATUS_TYPE = p + "ITEM_STATUS_TYPE";
    Tables.ITEM = p + "ITEM";
    Tables.LIBRARY = p + "LIBRARY";
    Tables.LOCATION = p + "LOCATION";
    Tables.MFHD_ITEM = p + "MFHD_ITEM";
    Tables.MFHD_HISTORY = p + "MFHD_HISTORY";
    Tables.MFHD_MASTER = p + "MFHD_MASTER";
}

void VgerReaderClass7::ReadSettings() {
    ExplicitSettingsCall = true;
    LoadSettings();
    ExplicitSettingsCall = false;
}

void VgerReaderClass7::WriteSettings() {
    ExplicitSettingsCall = true;
    SaveSettings();
    ExplicitSettingsCall = false;
}

void VgerReaderClass7::LoadSettings() {
    const std::string file = ReaderSettingsFile;
    if (INI::ReadIniValueOrEmpty(file, "General", "Version", 30).empty()) return;

    if (MarcRecord().IsTrue(INI::ReadIniValue(file, "General", "SettingsAreAutomatic", "FALSE", 500))) {
        SettingsAreAutomatic_ = true;
    } else {
        SettingsAreAutomatic_ = false;
        if (ExplicitSettingsCall) return;
    }
    const std::string numeric = INI::ReadIniValue(file, "General", "ItemBarcodeIsNumeric", "TRUE", 10);
    if (!MarcRecord().IsTrue(rt::Left(numeric, 4))) ItemBarcodeIsNumeric_ = false;
    const std::string atTop = INI::ReadIniValue(file, "General", "ItemSequenceNewItemsAtTop", "TRUE", 10);
    ItemSequenceNewItemsAtTop_ = MarcRecord().IsTrue(rt::Left(atTop, 4));

    DSN(INI::ReadIniValueOrEmpty(file, "Login", "DSN", 500));
    uID(INI::ReadIniValueOrEmpty(file, "Login", "UID", 500));
    PWD(INI::ReadIniValueOrEmpty(file, "Login", "PWD", 500));
    const std::string prefix = INI::ReadIniValueOrEmpty(file, "Tables", "TableNamePrefix", 500);
    if (!prefix.empty()) TableNamePrefix(prefix);
}

void VgerReaderClass7::SaveSettings() {
    const std::string file = ReaderSettingsFile;
    auto word = [](bool b) { return std::string(b ? "TRUE" : "FALSE"); };
    INI::WriteIniValue(file, "General", "SettingsAreAutomatic", word(SettingsAreAutomatic_));
    INI::WriteIniValue(file, "General", "Version", Version());
    INI::WriteIniValue(file, "Login", "DSN", DSN_);
    INI::WriteIniValue(file, "Login", "UID", uID_);
    INI::WriteIniValue(file, "Login", "PWD", PWD_);
    INI::WriteIniValue(file, "General", "ItemSequenceNewItemsAtTop", word(ItemSequenceNewItemsAtTop_));
    INI::WriteIniValue(file, "General", "ItemBarcodeIsNumeric", word(ItemBarcodeIsNumeric_));
    INI::WriteIniValue(file, "Tables", "TableNamePrefix", TableNamePrefix_);
}

std::string VgerReaderClass7::Version() const {
    const platform::ProgramVersion v;
    return std::to_string(v.Major) + "." + std::to_string(v.Minor) + "." + std::to_string(v.Revision);
}

// ---- connection ----

void VgerReaderClass7::CheckConnection() {
    if (SessionMade) return;
    SessionMade = true;
    VgerReaderDll = std::make_shared<VgerReaderDllClass6>(Api);
}

void VgerReaderClass7::TestConnectionData() {
    if (ConnectionDataChecked) return;
    if (TableNamePrefix_.empty()) RaiseReaderError(ReaderErrorCode::NoTableNamePrefix);
    if (DSN_.empty()) RaiseReaderError(ReaderErrorCode::NoDSN);
    if (uID_.empty()) RaiseReaderError(ReaderErrorCode::NoUID);
    if (PWD_.empty()) RaiseReaderError(ReaderErrorCode::NoPWD);
    ConnectionDataChecked = true;
}

void VgerReaderClass7::MyCheckVoyagerConnection() {
    if (DebuggingOn_) {
        Trace("MCVC about to VgerReaderDll.ConnectToVoyager");
        auto session = SessionPtr();
        session->TraceOn(true);
        session->TraceFileName(DebugFileName_ + "file2.txt");
    }
    SessionPtr()->ConnectToVoyager();
    Trace("MCVC about to MyGetVgerVersion");
    MyGetVgerVersion();
}

void VgerReaderClass7::RunRetrievalQuery(const std::string& sSql, int16_t iColumns,
                                         const std::array<const char*, 3>* traces, int16_t iWholeColumn) {
    auto session = SessionPtr();
    // Set 0 again, in retrieval mode: a caller's query or search run during a
    // yield of the look-up leaves its own set in force (whose row and column
    // count must stay as they are) and retrieval mode off.
    session->IsRetrieval(true);
    session->ResultSet(0);
    if (traces) Trace((*traces)[0]);
    session->MyExecuteSQL(sSql, session->RetrieveStatement(), false);
    if (traces) Trace((*traces)[1]);
    session->ResultSetColumns(iColumns);
    session->ResultSetWholeColumn(iWholeColumn);
    if (traces) Trace((*traces)[2]);
    session->RealNextRow(session->RetrieveStatement());
}

void VgerReaderClass7::MyGetVgerVersion() {
    Trace("MyGetVgerVersion entry with " + TrueFalse(VersionRead));
    if (VersionRead) {
        Trace("MyGetVgerVersion normal exit");
        return;
    }
    std::optional<RetrievalFrame> frame;
    try {
        Trace("About to ConnectToVoyager (again?)");
        SessionPtr()->ConnectToVoyager();
        VersionRead = true;
        Trace("About to PushResultSet");
        frame.emplace(*this);
    } catch (...) {
        Trace("MyGetVgerVersion error exit #1");
        return;
    }
    std::string module = "DATABASE";
    for (;;) {
        try {
            const std::string sql =
                "SELECT VERSION FROM " + TableNamePrefix_ + "VERSIONS WHERE MODULE = " + SqlQuoted(module);
            auto session = SessionPtr();
            if (DebuggingOn_)
                Trace("About to Execute version SQL with " +
                      std::to_string(reinterpret_cast<uintptr_t>(session->RetrieveStatement())));
            session->MyExecuteSQL(sql, session->RetrieveStatement(), false);
            Trace("About to ReadNextRow");
            session->RealNextRow(session->RetrieveStatement());
            Trace("About to query CurrentRow");
            VgerVersion_ = rt::Trim(CurrentRow(1, -1));
            const auto dot = VgerVersion_.find('.');
            int16_t major = rt::CInt(rt::Val(VgerVersion_.substr(0, dot)));
            // Two-digit years of the old numbering: 96 is 1996. Four-digit
            // versions (1999, 2001) stand as they are.
            if (major >= 96 && major <= 99) major = static_cast<int16_t>(major + 1900);
            VgerMajorVersion_ = major;
            Trace("About to PopResultSet");
            frame->Close();
            break;
        } catch (...) {
            Trace("MyGetVgerVersion error exit #2");
            if (module != "DATABASE") return;
            module = "CAT";
        }
    }
    if (!DatabaseTestedForUnicode_) {
        try {
            Trace("About to TestDatabaseForUnicode");
            TestDatabaseForUnicode();
        } catch (...) {
            // The version was read; the probe runs again, and raises, at the
            // caller's next database step.
            Trace("MyGetVgerVersion error exit #2");
            return;
        }
    }
    Trace("MyGetVgerVersion normal exit");
}

std::string VgerReaderClass7::VgerVersion() {
    MyGetVgerVersion();
    return VgerVersion_;
}

int16_t VgerReaderClass7::VgerMajorVersion() {
    MyGetVgerVersion();
    return VgerMajorVersion_;
}

// The one-time probe of the stored records. Whatever the records hold, the
// record object is set to UTF-8 in and out afterwards.
void VgerReaderClass7::TestDatabaseForUnicode() {
    if (DebuggingOn_) {
        Trace("TDFU entry at " + TraceTime() + " " + TraceTick());
        Trace("Tested? " + TrueFalse(DatabaseTestedForUnicode_) + " testing already? " + TrueFalse(TestingForUnicode_));
    }
    if (DatabaseTestedForUnicode_ || TestingForUnicode_) return;
    TestingForUnicode_ = true;
    try {
        TestDatabaseForUnicodeSteps();
    } catch (...) {
        // A failed probe runs again at the next database step.
        TestingForUnicode_ = false;
        throw;
    }
    TestingForUnicode_ = false;
    Trace("Leaving TDFU at " + TraceTime());
}

void VgerReaderClass7::TestDatabaseForUnicodeSteps() {
    Trace("About to TestConnectionData");
    TestConnectionData();
    Trace("About to CheckConnection");
    CheckConnection();
    Trace("About to VgerReaderDll.PushResultSet");
    RetrievalFrame frame(*this);
    Trace("About to MyCheckVoyagerConnection");
    MyCheckVoyagerConnection();
    IsRetrieval(true);

    static const std::array<const char*, 3> holdingsId = {"Submitting holdings SQL", "Setting holdings columns",
                                                          "Getting next row"};
    static const std::array<const char*, 3> authorityId = {"Submitting authority SQL", "Setting columns",
                                                           "Getting next row"};
    static const std::array<const char*, 3> bibId = {"Submitting bib SQL", "Setting columns", "Real next row"};
    static const std::array<const char*, 3> firstSegment = {"Retrieving first segment", "Setting columns",
                                                            "RealNextRow"};
    static const std::array<const char*, 3> bibSegment = {"Retrieving holdings segment", "Setting columns",
                                                          "Real next row"};

    auto readId = [&](const std::string& table, const std::array<const char*, 3>& traces, const char* copying) {
        RunRetrievalQuery("SELECT " + table + "_ID FROM " + TableNamePrefix_ + table + "_MASTER", 1, &traces);
        Trace(copying);
        std::string id = CurrentRow(1, -1);
        Trace("Row: >" + id + "<");
        return id;
    };
    auto readSegment = [&](const std::string& table, const std::string& id, const std::array<const char*, 3>& traces,
                           const char* getting) {
        RunRetrievalQuery("SELECT RECORD_SEGMENT, SEQNUM FROM " + TableNamePrefix_ + table + "_DATA WHERE " + table +
                              "_ID = " + SqlNumberText(id) + " ORDER BY SEQNUM",
                          2, &traces);
        Trace(getting);
        return CurrentRow(1, -1);
    };

    std::string segment(24, ' ');
    if (std::string id = readId("MFHD", holdingsId, "Copying next row"); !id.empty()) {
        segment = readSegment("MFHD", id, firstSegment, "Getting text");
        Trace("String: >" + rt::Left(segment, 24) + "<");
    } else if (id = readId("AUTH", authorityId, "Copying next row"); !id.empty()) {
        segment = readSegment("AUTH", id, firstSegment, "Getting text");
        Trace("String: >" + rt::Left(segment, 24) + "<");
    } else if (id = readId("BIB", bibId, "Copying current row"); !id.empty()) {
        segment = readSegment("BIB", id, bibSegment, "Getting string");
        Trace("String: >" + rt::Left(segment, 24));
    }

    Trace("Forcing MyMarcRecord1.CharacterSetIn");
    MarcRecord().CharacterSetIn(VgerCharacterSet());
    Trace("Forcing MyMarcRecord1.CharacterSetOut");
    MarcRecord().CharacterSetOut("U");
    Trace("Forcing MyMarcRecord1.NormalizationScheme");
    MarcRecord().NormalizationScheme("V");
    DatabaseTestedForUnicode_ = true;
    Trace("About to VgerReaderDll.PopResultSet");
    frame.Close();
    // Retrieval mode goes back to what it was before the probe.
}

// ---- disconnection and pass-through to the session ----

void VgerReaderClass7::Disconnect() {
    DatabaseTestedForUnicode_ = false;
    SessionPtr()->Disconnect();
    platform::DoEvents();
    platform::DoEvents();
    VgerReaderDll.reset();
}

SQLHENV VgerReaderClass7::EnvironmentHandle() const { return SessionPtr()->EnvironmentHandle(); }
void VgerReaderClass7::EnvironmentHandle(SQLHENV vNewValue) { SessionPtr()->EnvironmentHandle(vNewValue); }
SQLHDBC VgerReaderClass7::DatabaseHandle() const { return SessionPtr()->DatabaseHandle(); }
void VgerReaderClass7::DatabaseHandle(SQLHDBC vNewValue) { SessionPtr()->DatabaseHandle(vNewValue); }

bool VgerReaderClass7::TraceOn() {
    CheckConnection();
    return SessionPtr()->TraceOn();
}

void VgerReaderClass7::TraceOn(bool vNewValue) {
    CheckConnection();
    SessionPtr()->TraceOn(vNewValue);
}

std::string VgerReaderClass7::TraceFileName() {
    CheckConnection();
    return SessionPtr()->TraceFileName();
}

void VgerReaderClass7::TraceFileName(const std::string& vNewValue) {
    CheckConnection();
    SessionPtr()->TraceFileName(vNewValue);
}
