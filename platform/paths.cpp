#include "platform/paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "common/runtime.h"

namespace fs = std::filesystem;

namespace platform {

std::string SettingsFolder() {
    if (const char* dir = std::getenv("EXITDESK_SETTINGS_DIR"); dir && *dir) return dir;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return std::string(xdg) + "/exitdesk";
    if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.config/exitdesk";
    return TempFolder() + "/exitdesk";
}

std::string TempFolder() {
    std::string t = "/tmp";
    if (const char* dir = std::getenv("TMPDIR"); dir && *dir) t = dir;
    while (t.size() > 1 && t.back() == '/') t.pop_back();
    return t;
}

std::string MapWindowsPath(const std::string& path) {
    std::string p = path;
    for (char& c : p)
        if (c == '\\') c = '/';
    if (p.size() >= 2 && rt::IsAsciiLetter(p[0]) && p[1] == ':') {
        std::string rest = p.substr(2);
        while (!rest.empty() && rest.front() == '/') rest.erase(rest.begin());
        // The drive's temp folders stand for our temporary folder itself.
        for (const char* temp : {"temp/", "tmp/"}) {
            std::string lower = rt::LCase(rest.substr(0, std::char_traits<char>::length(temp)));
            if (lower == temp) {
                rest = rest.substr(lower.size());
                break;
            }
        }
        return TempFolder() + "/" + rest;
    }
    return p;
}

std::string ResolveSettingsPath(const std::string& name) {
    if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos ||
        (name.size() >= 2 && name[1] == ':')) {
        return MapWindowsPath(name);
    }
    std::string folder = SettingsFolder();
    std::string exact = folder + "/" + name;
    std::error_code ec;
    if (fs::exists(exact, ec)) return exact;
    std::string wanted = rt::UCase(name);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (rt::UCase(it->path().filename().string()) == wanted) return it->path().string();
    }
    return exact;
}

}  // namespace platform
