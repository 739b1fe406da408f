// The reader's frame: construction, settings, login, connection, the version
// and character-set probes, the debug file and disconnection, against the real
// driver manager and the SQLite test database.

#include "db/library_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "db/library_reader_test_support.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/paths.h"

namespace {

using readertest::ExpectRaised;
using readertest::kBase;
using readertest::ReaderFixture;
using testsupport::ReadFile;
using testsupport::WriteFile;

// Without a database: the settings folder only.
class ReaderSettingsTest : public ::testing::Test {
protected:
    void WriteReaderSettings(const std::string& text) { WriteFile(settings.File("VGERREAD.INI"), text); }
    testsupport::TempSettingsFolder settings;
};

TEST_F(ReaderSettingsTest, TableNamePrefixAlwaysEndsInAFullStop) {
    const struct {
        const char* given;
        const char* stored;
    } cases[] = {{"", "."}, {"VOYAGER", "VOYAGER."}, {"VOYAGER.", "VOYAGER."}, {"a.b", "a.b."}};
    for (const auto& c : cases) {
        VgerReaderClass7 reader;
        reader.TableNamePrefix(c.given);
        EXPECT_EQ(reader.TableNamePrefix(), c.stored) << c.given;
    }
}

TEST_F(ReaderSettingsTest, LoginValidationAndTheOrderOfTheConnectionChecks) {
    VgerReaderClass7 reader;
    reader.DSN("LIBRARY");
    ExpectRaised([&] { reader.DSN(""); }, 380, "Invalid value for DSN property");
    EXPECT_EQ(reader.DSN(), "LIBRARY");

    // The prefix is missing, and is reported before anything else.
    reader.uID("");
    ExpectRaised([&] { reader.RetrieveItemRecordByBarcode("123"); }, kBase + 1061, "No TableNamePrefix supplied");
    reader.TableNamePrefix("main");
    ExpectRaised([&] { reader.RetrieveItemRecordByBarcode("123"); }, kBase + 1064, "No UID supplied");
    reader.uID("u");
    reader.PWD("");
    ExpectRaised([&] { reader.RetrieveItemRecordByBarcode("123"); }, kBase + 1065, "No PWD supplied");
}

TEST_F(ReaderSettingsTest, DebuggingOnIsReadAsABoolean) {
    const std::string debugFile = settings.File("debug.txt");
    const struct {
        const char* text;
        bool on;
    } cases[] = {{"TRUE", true}, {"true", true}, {"1", true}, {"-1", true}, {"FALSE", false}, {"0", false}};
    for (const auto& c : cases) {
        WriteReaderSettings(std::string("[General]\r\nDebuggingOn=") + c.text + "\r\nDebuggingFile=" + debugFile +
                            "\r\n");
        VgerReaderClass7 reader;
        EXPECT_EQ(reader.DebuggingOn(), c.on) << c.text;
    }
    WriteReaderSettings("[General]\r\nDebuggingOn=YES\r\n");
    ExpectRaised([] { VgerReaderClass7 reader; }, ErrorNumber::TypeMismatch, "Type mismatch", "");
}

TEST_F(ReaderSettingsTest, SettingsAreLoadedOnlyWithAVersionAndUnlessAutomaticIsFalse) {
    const std::string login = "[Login]\r\nDSN=FROMFILE\r\nUID=u\r\nPWD=p\r\n[Tables]\r\nTableNamePrefix=VGER\r\n";
    const struct {
        std::string general;
        bool loaded;
        bool automatic;
    } cases[] = {
        {"[General]\r\n", false, true},                                    // no Version: nothing loaded
        {"[General]\r\nVersion=1.0.0\r\n", true, false},                    // LoadSettings' own default is FALSE
        {"[General]\r\nVersion=1.0.0\r\nSettingsAreAutomatic=FALSE\r\n", false, false},
        {"[General]\r\nVersion=1.0.0\r\nSettingsAreAutomatic=FALSEHOOD\r\n", false, false},
        {"[General]\r\nVersion=1.0.0\r\nSettingsAreAutomatic=false\r\n", true, false},  // only upper case stops
        {"[General]\r\nVersion=1.0.0\r\nSettingsAreAutomatic=Yes\r\n", true, true},
    };
    for (const auto& c : cases) {
        WriteReaderSettings(c.general + login);
        VgerReaderClass7 reader;
        EXPECT_EQ(reader.DSN() == "FROMFILE", c.loaded) << c.general;
        EXPECT_EQ(reader.TableNamePrefix(), c.loaded ? "VGER." : "") << c.general;
        EXPECT_EQ(reader.SettingsAreAutomatic(), c.automatic) << c.general;
    }
}

TEST_F(ReaderSettingsTest, ItemFlagsComeFromTheSettingsFile) {
    WriteReaderSettings(
        "[General]\r\nVersion=1.0.0\r\nItemBarcodeIsNumeric=FALSE\r\nItemSequenceNewItemsAtTop=Yes\r\n"
        "[Login]\r\nDSN=D\r\n");
    VgerReaderClass7 reader;
    EXPECT_FALSE(reader.ItemBarcodeIsNumeric());
    EXPECT_TRUE(reader.ItemSequenceNewItemsAtTop());

    // An empty DSN in a loaded file fails construction.
    WriteReaderSettings("[General]\r\nVersion=1.0.0\r\n[Login]\r\nUID=u\r\n");
    ExpectRaised([] { VgerReaderClass7 r; }, 380, "Invalid value for DSN property");
}

TEST_F(ReaderSettingsTest, WriteSettingsThenReadSettingsGivesTheSameValues) {
    {
        VgerReaderClass7 reader;
        reader.DSN("LIB");
        reader.uID("user");
        reader.PWD("pass word");
        reader.TableNamePrefix("VGER");
        reader.ItemBarcodeIsNumeric(false);
        reader.ItemSequenceNewItemsAtTop(true);
        reader.WriteSettings();
    }
    const std::string written = ReadFile(settings.File("VGERREAD.INI"));
    for (const char* line : {"SettingsAreAutomatic=TRUE", "ItemBarcodeIsNumeric=FALSE", "ItemSequenceNewItemsAtTop=TRUE",
                             "DSN=LIB", "UID=user", "PWD=pass word", "TableNamePrefix=VGER."})
        EXPECT_NE(written.find(line), std::string::npos) << line;
    EXPECT_NE(written.find("Version=" + VgerReaderClass7().Version()), std::string::npos);

    VgerReaderClass7 reader;  // loads the file at construction
    EXPECT_EQ(reader.DSN(), "LIB");
    EXPECT_EQ(reader.uID(), "user");
    EXPECT_EQ(reader.PWD(), "pass word");
    EXPECT_EQ(reader.TableNamePrefix(), "VGER.");
    EXPECT_FALSE(reader.ItemBarcodeIsNumeric());
    reader.DSN("OTHER");
    reader.ReadSettings();
    EXPECT_EQ(reader.DSN(), "LIB");
}

TEST_F(ReaderSettingsTest, AfterDisconnectEveryUseOfTheSessionRaises91) {
    VgerReaderClass7 reader;
    reader.Disconnect();
    EXPECT_EQ(reader.Version(), VgerReaderClass7().Version());
    EXPECT_EQ(reader.VgerCharacterSet(), "U");
    const std::string notSet = "Object variable or With block variable not set";
    ExpectRaised([&] { reader.DSN("X"); }, ErrorNumber::ObjectNotSet, notSet);
    ExpectRaised([&] { reader.ResultSet(); }, ErrorNumber::ObjectNotSet, notSet);
    ExpectRaised([&] { reader.Disconnect(); }, ErrorNumber::ObjectNotSet, notSet);
    ExpectRaised([&] { reader.TraceOn(); }, ErrorNumber::ObjectNotSet, notSet);
}

// ---- against the database ----

class ReaderConnectionTest : public ReaderFixture {};

TEST_F(ReaderConnectionTest, FirstUseConnectsReadsTheVersionAndProbesTheRecords) {
    auto reader = LoggedInReader();
    EXPECT_FALSE(reader->Session().Connected());
    EXPECT_EQ(reader->VgerVersion(), "2001.1.3");
    EXPECT_EQ(reader->VgerMajorVersion(), 2001);
    EXPECT_TRUE(reader->Session().Connected());
    EXPECT_TRUE(reader->DatabaseTestedForUnicode());
    EXPECT_FALSE(reader->TestingForUnicode());
    ExpectFrameRestored(*reader, 0);
    EXPECT_EQ(reader->VgerCharacterSet(), "U");
}

TEST_F(ReaderConnectionTest, MajorVersionOfTheVersionText) {
    const struct {
        const char* text;
        int16_t major;
    } cases[] = {{"98.1.2", 1998}, {"96", 1996}, {"99.9", 1999}, {"1999.0.1", 1999}, {"2001.1.3", 2001},
                 {"7.2", 7},       {"", 0},      {"95.0", 95},  {"100.1", 100}};
    for (const auto& c : cases) {
        db.Execute(std::string("UPDATE VERSIONS SET VERSION = '") + c.text + "' WHERE MODULE = 'DATABASE'");
        auto reader = LoggedInReader();
        EXPECT_EQ(reader->VgerMajorVersion(), c.major) << c.text;
    }
}

TEST_F(ReaderConnectionTest, VersionFallsBackToCatAndThenKeepsItsDefault) {
    // A DATABASE version that does not fit in 16 bits cannot be read.
    db.Execute("UPDATE VERSIONS SET VERSION = '70000.1' WHERE MODULE = 'DATABASE'");
    auto fallback = LoggedInReader();
    EXPECT_EQ(fallback->VgerMajorVersion(), 1998);
    EXPECT_EQ(fallback->VgerVersion(), "98.2");

    db.Execute("DROP TABLE VERSIONS");
    auto reader = LoggedInReader();
    EXPECT_EQ(reader->VgerMajorVersion(), 2000);
    EXPECT_EQ(reader->VgerVersion(), "");
    ExpectFrameRestored(*reader, 0);
}

TEST_F(ReaderConnectionTest, ProbeWithoutAnyRecordCompletes) {
    db.Execute("DELETE FROM MFHD_MASTER; DELETE FROM MFHD_DATA");
    auto reader = LoggedInReader();
    reader->RetrieveItemRecordByBarcode("39001");
    EXPECT_TRUE(reader->DatabaseTestedForUnicode());
}

TEST_F(ReaderConnectionTest, AFailedProbeLeavesNoStateAndRunsAgain) {
    db.Execute("ALTER TABLE MFHD_MASTER RENAME TO MFHD_MASTER_AWAY");
    auto reader = LoggedInReader();
    int16_t set = 0;
    EXPECT_THROW(reader->ExecuteSQL("SELECT 1", set), RaisedError);
    EXPECT_FALSE(reader->TestingForUnicode());
    EXPECT_FALSE(reader->DatabaseTestedForUnicode());
    ExpectFrameRestored(*reader, 0);

    db.Execute("ALTER TABLE MFHD_MASTER_AWAY RENAME TO MFHD_MASTER");
    set = 0;
    reader->ExecuteSQL("SELECT 1", set);
    EXPECT_TRUE(reader->DatabaseTestedForUnicode());
    EXPECT_EQ(set, 1);
}

TEST_F(ReaderConnectionTest, AConnectionThatFailsReachesTheCaller) {
    auto reader = LoggedInReader();
    reader->DSN("NO_SUCH_SOURCE");
    try {
        reader->RetrieveItemRecordByBarcode("39001");
        ADD_FAILURE() << "no error";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number(), kBase + 1006);
    }
    ExpectFrameRestored(*reader, 0);
}

TEST_F(ReaderConnectionTest, DisconnectDuringAYieldRaises91InsteadOfCrashing) {
    auto reader = LoggedInReader();
    bool disconnected = false;
    platform::ScopedEventPump pump([&] {
        if (disconnected) return;
        disconnected = true;
        reader->Disconnect();
    });
    ExpectRaised([&] { reader->RetrieveItemRecordByBarcode("39001"); }, ErrorNumber::ObjectNotSet,
                 "Object variable or With block variable not set");
    EXPECT_TRUE(disconnected);
}

TEST_F(ReaderConnectionTest, TraceSettingsPassToTheSession) {
    auto reader = LoggedInReader();
    reader->TraceFileName("trace.log");
    reader->TraceOn(true);
    EXPECT_EQ(reader->Session().TraceFileName(), "trace.log");
    EXPECT_TRUE(reader->TraceOn());
}

// ---- the debug file ----

class ReaderDebugFileTest : public ReaderFixture {
protected:
    void WriteDebugSettings(const std::string& debugFile) {
        WriteFile(settings.File("VGERREAD.INI"),
                  "[General]\r\nDebuggingOn=True\r\nDebuggingFile=" + debugFile + "\r\n");
    }
};

TEST_F(ReaderDebugFileTest, TheDebugFileOfAFirstLookUp) {
    const std::string debugFile = settings.File("VrDebug.txt");
    WriteFile(debugFile, "left from before\r\n");
    WriteDebugSettings(debugFile);
    platform::ManualClock clock(rt::DateTime::FromParts(2024, 1, 2, 3, 4, 5));
    auto reader = LoggedInReader();
    reader->RetrieveItemRecordByBarcode("39001");
    EXPECT_EQ(reader->ItemRecordNumber(), "100");
    EXPECT_EQ(reader->Session().TraceFileName(), debugFile + "file2.txt");

    const std::string stars(36, '*');
    const std::string expected = stars + "\r\n" +
                                 "VgerReader initialized at 20240102 03:04:05 1000\r\n" + stars + "\r\n" +
                                 "\r\n"
                                 "TDFU entry at 20240102 03:04:05 1000\r\n"
                                 "Tested? False testing already? False\r\n"
                                 "About to TestConnectionData\r\n"
                                 "About to CheckConnection\r\n"
                                 "About to VgerReaderDll.PushResultSet\r\n"
                                 "About to MyCheckVoyagerConnection\r\n"
                                 "MCVC about to VgerReaderDll.ConnectToVoyager\r\n"
                                 "MCVC about to MyGetVgerVersion\r\n"
                                 "MyGetVgerVersion entry with False\r\n"
                                 "About to ConnectToVoyager (again?)\r\n"
                                 "About to PushResultSet\r\n"
                                 "About to Execute version SQL with HANDLE\r\n"
                                 "About to ReadNextRow\r\n"
                                 "About to query CurrentRow\r\n"
                                 "About to PopResultSet\r\n"
                                 "About to TestDatabaseForUnicode\r\n"
                                 "TDFU entry at 20240102 03:04:05 1000\r\n"
                                 "Tested? False testing already? True\r\n"
                                 "MyGetVgerVersion normal exit\r\n"
                                 "Submitting holdings SQL\r\n"
                                 "Setting holdings columns\r\n"
                                 "Getting next row\r\n"
                                 "Copying next row\r\n"
                                 "Row: >700<\r\n"
                                 "Retrieving first segment\r\n"
                                 "Setting columns\r\n"
                                 "RealNextRow\r\n"
                                 "Getting text\r\n"
                                 "String: >00140nx  a22000731  4500<\r\n"
                                 "Forcing MyMarcRecord1.CharacterSetIn\r\n"
                                 "Forcing MyMarcRecord1.CharacterSetOut\r\n"
                                 "Forcing MyMarcRecord1.NormalizationScheme\r\n"
                                 "About to VgerReaderDll.PopResultSet\r\n"
                                 "Leaving TDFU at 20240102 03:04:05\r\n"
                                 "MCVC about to VgerReaderDll.ConnectToVoyager\r\n"
                                 "MCVC about to MyGetVgerVersion\r\n"
                                 "MyGetVgerVersion entry with True\r\n"
                                 "MyGetVgerVersion normal exit\r\n"
                                 // the base currency, read to format the price
                                 "MCVC about to VgerReaderDll.ConnectToVoyager\r\n"
                                 "MCVC about to MyGetVgerVersion\r\n"
                                 "MyGetVgerVersion entry with True\r\n"
                                 "MyGetVgerVersion normal exit\r\n";
    const std::string actual =
        std::regex_replace(ReadFile(debugFile), std::regex("version SQL with [0-9]+"), "version SQL with HANDLE");
    EXPECT_EQ(actual, expected);
}

TEST_F(ReaderDebugFileTest, AFileThatCannotBeWrittenSwitchesTracingOff) {
    // The header cannot be written: tracing is off from the start.
    WriteDebugSettings(settings.File("no-such-folder/VrDebug.txt"));
    EXPECT_FALSE(LoggedInReader()->DebuggingOn());

    // A later line cannot be appended: tracing goes off, the look-up succeeds.
    const std::string folder = settings.File("traces");
    std::filesystem::create_directory(folder);
    WriteDebugSettings(folder + "/VrDebug.txt");
    auto reader = LoggedInReader();
    EXPECT_TRUE(reader->DebuggingOn());
    std::filesystem::remove_all(folder);
    reader->RetrieveItemRecordByBarcode("39001");
    EXPECT_EQ(reader->ItemRecordNumber(), "100");
    EXPECT_FALSE(reader->DebuggingOn());
}

TEST_F(ReaderDebugFileTest, TheWindowsDefaultLandsInTheTemporaryFolder) {
    WriteFile(settings.File("VGERREAD.INI"), "[General]\r\nDebuggingOn=1\r\n");
    VgerReaderClass7 reader;
    EXPECT_EQ(reader.DebugFileName(), platform::MapWindowsPath("c:\\temp\\VrDebug.txt"));
    EXPECT_EQ(std::filesystem::path(reader.DebugFileName()).filename(), "VrDebug.txt");
    std::filesystem::remove(reader.DebugFileName());
}

}  // namespace
