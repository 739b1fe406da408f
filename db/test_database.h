#pragma once
// A real library-system database for tests and the demo: SQLite, made from
// testdata/library_schema.sql, reached through unixODBC and the SQLite ODBC
// driver, which loads the project's compatibility extension (RAWTOHEX,
// HEXTORAW, CHR, case-sensitive LIKE). The driver's odbcinst.ini is written
// into the build tree at configure time; each database gets a fresh folder
// in the build tree with the database file and an odbc.ini naming it.

#include <string>
#include <vector>

namespace testsupport {

// The schema file, the built extension, and the build-tree folder of odbcinst.ini.
std::string LibrarySchemaFile();
std::string CompatExtensionFile();
std::string OdbcSetupFolder();

// Makes a database file from SQL files (run in order, with the extension
// loaded so that they may use HEXTORAW); an existing file is replaced.
// Raises std::runtime_error with SQLite's message when a statement fails.
void CreateLibraryDatabase(const std::string& databasePath, const std::vector<std::string>& sqlFiles);
// Writes an odbc.ini with one data source for the database, loading the
// extension; the driver does not make the file when it is missing.
void WriteDataSource(const std::string& odbcIniPath, const std::string& dsn, const std::string& databasePath);

// A fresh database from the schema (and further SQL files), with ODBCSYSINI
// and ODBCINI pointing at its data source while the object lives; the
// folder is removed and the variables restored at the end. The data source
// is named dsn followed by "_" and a number that is new in the process (the
// driver manager caches data sources by name): ask Dsn() for it.
class LibraryTestDatabase {
public:
    explicit LibraryTestDatabase(const std::vector<std::string>& extraSqlFiles = {},
                                 const std::string& dsn = "LIBRARY_TEST");
    ~LibraryTestDatabase();
    LibraryTestDatabase(const LibraryTestDatabase&) = delete;
    LibraryTestDatabase& operator=(const LibraryTestDatabase&) = delete;

    const std::string& Dsn() const { return dsn_; }
    const std::string& Folder() const { return folder_; }
    const std::string& DatabasePath() const { return databasePath_; }
    // Runs SQL on the database file directly (not through ODBC), extension loaded.
    void Execute(const std::string& sql) const;

private:
    std::string dsn_;
    std::string folder_;
    std::string databasePath_;
    std::vector<std::pair<std::string, std::string>> savedEnvironment_;
    std::vector<std::string> unsetEnvironment_;
};

}  // namespace testsupport
