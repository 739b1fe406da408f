#include "db/test_database.h"

#include <dlfcn.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testsupport {

namespace {

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("Cannot read " + path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// An open database with the extension loaded; closed when it leaves scope.
class Database {
public:
    explicit Database(const std::string& path) {
        if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) Fail("Cannot open " + path);
        sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 1, nullptr);
        char* message = nullptr;
        if (sqlite3_load_extension(db_, CompatExtensionFile().c_str(), nullptr, &message) != SQLITE_OK) {
            std::string text = message ? message : "";
            sqlite3_free(message);
            Fail("Cannot load " + CompatExtensionFile() + ": " + text);
        }
    }
    ~Database() { sqlite3_close(db_); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void Execute(const std::string& sql) {
        char* message = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            std::string text = message ? message : sqlite3_errmsg(db_);
            sqlite3_free(message);
            throw std::runtime_error("SQL failed: " + text);
        }
    }

private:
    [[noreturn]] void Fail(const std::string& what) {
        std::string text = what + (db_ ? std::string(": ") + sqlite3_errmsg(db_) : std::string());
        sqlite3_close(db_);
        db_ = nullptr;
        throw std::runtime_error(text);
    }
    sqlite3* db_ = nullptr;
};

// The driver manager loads its installer library at run time and unloads it
// again; what that library never frees would then show in leak reports
// without a name to recognise it by. Kept loaded, it keeps its name.
void KeepInstallerLibraryLoaded() {
    static void* const handle = dlopen("libodbcinst.so.2", RTLD_NOW | RTLD_NODELETE);
    (void)handle;
}

}  // namespace

std::string LibrarySchemaFile() { return DB_TESTSUPPORT_SCHEMA; }
std::string CompatExtensionFile() { return DB_TESTSUPPORT_EXTENSION; }
std::string OdbcSetupFolder() { return DB_TESTSUPPORT_ODBC_DIR; }

void CreateLibraryDatabase(const std::string& databasePath, const std::vector<std::string>& sqlFiles) {
    std::error_code ec;
    std::filesystem::remove(databasePath, ec);
    Database db(databasePath);
    for (const std::string& file : sqlFiles) db.Execute(ReadWholeFile(file));
}

void WriteDataSource(const std::string& odbcIniPath, const std::string& dsn, const std::string& databasePath) {
    std::ofstream out(odbcIniPath, std::ios::trunc);
    out << "[" << dsn << "]\n"
        << "Description=Library system (SQLite)\n"
        << "Driver=" << DB_TESTSUPPORT_DRIVER_NAME << "\n"
        << "Database=" << databasePath << "\n"
        << "LoadExt=" << CompatExtensionFile() << "\n"
        // Readers only: a missing database file stays missing and the connection fails.
        << "NoCreat=1\n"
        << "Timeout=5000\n";
    if (!out) throw std::runtime_error("Cannot write " + odbcIniPath);
}

LibraryTestDatabase::LibraryTestDatabase(const std::vector<std::string>& extraSqlFiles, const std::string& dsn) {
    KeepInstallerLibraryLoaded();
    // The driver manager caches what it read of a data source by its name for
    // the life of the process: each database gets a name of its own.
    static int made = 0;
    dsn_ = dsn + "_" + std::to_string(++made);
    const std::filesystem::path base = DB_TESTSUPPORT_WORK_DIR;
    std::filesystem::create_directories(base);
    std::string pattern = (base / "db-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("Cannot make a folder in " + base.string());
    folder_ = pattern;
    databasePath_ = folder_ + "/library.db";

    std::vector<std::string> files{LibrarySchemaFile()};
    files.insert(files.end(), extraSqlFiles.begin(), extraSqlFiles.end());
    CreateLibraryDatabase(databasePath_, files);
    const std::string odbcIni = folder_ + "/odbc.ini";
    WriteDataSource(odbcIni, dsn_, databasePath_);

    for (const auto& [name, value] : {std::pair<std::string, std::string>{"ODBCSYSINI", OdbcSetupFolder()},
                                      std::pair<std::string, std::string>{"ODBCINI", odbcIni}}) {
        if (const char* old = std::getenv(name.c_str())) savedEnvironment_.emplace_back(name, old);
        else unsetEnvironment_.push_back(name);
        setenv(name.c_str(), value.c_str(), 1);
    }
}

LibraryTestDatabase::~LibraryTestDatabase() {
    for (const auto& [name, value] : savedEnvironment_) setenv(name.c_str(), value.c_str(), 1);
    for (const std::string& name : unsetEnvironment_) unsetenv(name.c_str());
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

void LibraryTestDatabase::Execute(const std::string& sql) const {
    Database db(databasePath_);
    db.Execute(sql);
}

}  // namespace testsupport
