#pragma once
// Helpers for tests: a fresh temporary folder that also serves as the settings
// folder while it lives, and reading or writing a whole file.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace testsupport {

class TempSettingsFolder {
public:
    TempSettingsFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "exitdesk-test-XXXXXX").string();
        char* made = mkdtemp(pattern.data());
        path_ = made ? made : pattern;
        const char* old = std::getenv("EXITDESK_SETTINGS_DIR");
        hadOld_ = old != nullptr;
        if (old) old_ = old;
        setenv("EXITDESK_SETTINGS_DIR", path_.c_str(), 1);
    }
    ~TempSettingsFolder() {
        if (hadOld_) setenv("EXITDESK_SETTINGS_DIR", old_.c_str(), 1);
        else unsetenv("EXITDESK_SETTINGS_DIR");
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempSettingsFolder(const TempSettingsFolder&) = delete;
    TempSettingsFolder& operator=(const TempSettingsFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
    std::string old_;
    bool hadOld_ = false;
};

inline void WriteFile(const std::string& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace testsupport
