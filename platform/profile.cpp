#include "platform/profile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>
#include <vector>

#include "common/runtime.h"
#include "platform/paths.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

// One line of a settings file: its octets without the line end, and where it
// sits in the file so that a write can keep everything else.
struct Line {
    size_t begin = 0;  // offset of the line's first octet
    size_t end = 0;    // offset just past the line end (LF, CR LF or end of file)
    std::string text;  // the line without its line end
};

bool IsBlankOctet(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string StripBlanks(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && IsBlankOctet(s[a])) ++a;
    while (b > a && IsBlankOctet(s[b - 1])) --b;
    return s.substr(a, b - a);
}

bool SameName(const std::string& a, const std::string& b) { return rt::UCase(a) == rt::UCase(b); }

// The whole file, or nothing when it is missing, a folder or unreadable.
std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return data;
}

std::vector<Line> SplitLines(const std::string& data) {
    std::vector<Line> lines;
    size_t pos = 0;
    // A UTF-8 byte-order mark at the start is not part of the first line.
    if (data.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
    while (pos < data.size()) {
        size_t nl = data.find('\n', pos);
        Line line;
        line.begin = pos;
        if (nl == std::string::npos) {
            line.end = data.size();
            line.text = data.substr(pos);
        } else {
            line.end = nl + 1;
            line.text = data.substr(pos, nl - pos);
        }
        if (!line.text.empty() && line.text.back() == '\r') line.text.pop_back();
        pos = line.end;
        lines.push_back(std::move(line));
    }
    return lines;
}

// The name of a section header line, or nothing when the line is none.
std::optional<std::string> SectionName(const std::string& text) {
    std::string t = StripBlanks(text);
    if (t.empty() || t.front() != '[') return std::nullopt;
    size_t close = t.find(']');
    std::string name = close == std::string::npos ? t.substr(1) : t.substr(1, close - 1);
    return StripBlanks(name);
}

// The key of a key line (the text before its first "="), or nothing.
std::optional<std::string> KeyName(const std::string& text) {
    size_t eq = text.find('=');
    if (eq == std::string::npos) return std::nullopt;
    return StripBlanks(text.substr(0, eq));
}

std::string ValueOf(const std::string& text) {
    std::string v = StripBlanks(text.substr(text.find('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    return v;
}

// The lines of the first section of that name: [first, last) indices after its header.
struct SectionRange {
    size_t header = 0;
    size_t first = 0;
    size_t last = 0;
};

std::optional<SectionRange> FindSection(const std::vector<Line>& lines, const std::string& section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        auto name = SectionName(lines[i].text);
        if (!name || !SameName(*name, section)) continue;
        SectionRange r;
        r.header = i;
        r.first = i + 1;
        size_t j = i + 1;
        while (j < lines.size() && !SectionName(lines[j].text)) ++j;
        r.last = j;
        return r;
    }
    return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<Line>& lines, const SectionRange& r, const std::string& key) {
    for (size_t i = r.first; i < r.last; ++i) {
        auto name = KeyName(lines[i].text);
        if (name && SameName(*name, key)) return i;
    }
    return std::nullopt;
}

uint32_t CopyOut(const std::string& value, std::string& buffer, uint32_t size) {
    if (size == 0) return 0;
    uint32_t n = static_cast<uint32_t>(std::min<size_t>(value.size(), size - 1));
    // Never write past the caller's buffer, whatever size it claims.
    if (buffer.size() < size) buffer.resize(size);
    std::copy_n(value.data(), n, buffer.begin());
    buffer[n] = '\0';
    return n;
}

bool WriteWholeFile(const std::string& path, const std::string& data) {
    std::error_code ec;
    fs::path p(path);
    if (p.has_parent_path() && !fs::exists(p.parent_path(), ec)) {
        // Only our own settings folder is made on demand.
        if (p.parent_path() == fs::path(SettingsFolder())) fs::create_directories(p.parent_path(), ec);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.close();
    return !out.fail();
}

}  // namespace

uint32_t GetPrivateProfileString(const std::string& section, const std::string& key, const std::string& defaultText,
                                 std::string& buffer, uint32_t size, const std::string& fileName) {
    std::string fallback = defaultText;
    while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
    auto data = ReadWholeFile(ResolveSettingsPath(fileName));
    if (!data) return CopyOut(fallback, buffer, size);
    auto lines = SplitLines(*data);
    auto range = FindSection(lines, section);
    if (!range) return CopyOut(fallback, buffer, size);
    auto at = FindKey(lines, *range, key);
    if (!at) return CopyOut(fallback, buffer, size);
    return CopyOut(ValueOf(lines[*at].text), buffer, size);
}

namespace {
// The section's lines into the buffer; bAsWritten keeps each line as the file has it.
uint32_t CopySection(const std::string& section, std::string& buffer, uint32_t size, const std::string& fileName,
                     bool bAsWritten);
}  // namespace

uint32_t GetPrivateProfileSection(const std::string& section, std::string& buffer, uint32_t size,
                                  const std::string& fileName) {
    return CopySection(section, buffer, size, fileName, false);
}

uint32_t GetPrivateProfileSectionLines(const std::string& section, std::string& buffer, uint32_t size,
                                       const std::string& fileName) {
    return CopySection(section, buffer, size, fileName, true);
}

namespace {

uint32_t CopySection(const std::string& section, std::string& buffer, uint32_t size, const std::string& fileName,
                     bool bAsWritten) {
    if (size == 0) return 0;
    if (buffer.size() < size) buffer.resize(size);
    auto emptyResult = [&]() -> uint32_t {
        buffer[0] = '\0';
        if (size > 1) buffer[1] = '\0';
        return 0;
    };
    if (size < 2) return emptyResult();
    auto data = ReadWholeFile(ResolveSettingsPath(fileName));
    if (!data) return emptyResult();
    auto lines = SplitLines(*data);
    auto range = FindSection(lines, section);
    if (!range) return emptyResult();
    std::string out;
    bool cut = false;
    for (size_t i = range->first; i < range->last; ++i) {
        std::string t = bAsWritten ? lines[i].text : StripBlanks(lines[i].text);
        if (t.empty()) continue;
        if (!bAsWritten)
            if (auto name = KeyName(t)) t = *name + "=" + ValueOf(t);
        if (out.size() + t.size() + 1 > size - 1) {
            cut = true;
            break;
        }
        out += t;
        out += '\0';
    }
    std::copy(out.begin(), out.end(), buffer.begin());
    buffer[out.size()] = '\0';
    if (out.empty() && size > 1) buffer[1] = '\0';
    if (cut) return size - 2;
    return static_cast<uint32_t>(out.size());
}

}  // namespace

bool WritePrivateProfileString(const std::string& section, const std::optional<std::string>& key,
                               const std::optional<std::string>& value, const std::string& fileName) {
    std::string path = ResolveSettingsPath(fileName);
    std::error_code ec;
    if (fs::exists(path, ec) && !fs::is_regular_file(path, ec)) return false;
    std::string data = ReadWholeFile(path).value_or("");
    // New lines follow the file's own line ends; a new file gets CR LF.
    std::string eol = (data.find('\n') != std::string::npos && data.find("\r\n") == std::string::npos) ? "\n" : "\r\n";
    auto lines = SplitLines(data);
    auto range = FindSection(lines, section);

    if (!key) {
        if (!range) return true;
        size_t from = lines[range->header].begin;
        size_t to = range->last < lines.size() ? lines[range->last].begin : data.size();
        data.erase(from, to - from);
        return WriteWholeFile(path, data);
    }
    if (!range) {
        if (!value) return true;
        if (!data.empty() && data.back() != '\n') data += eol;
        data += "[" + section + "]" + eol + *key + "=" + *value + eol;
        return WriteWholeFile(path, data);
    }
    auto at = FindKey(lines, *range, *key);
    if (at) {
        const Line& line = lines[*at];
        if (!value) {
            data.erase(line.begin, line.end - line.begin);
        } else {
            size_t textEnd = line.begin + line.text.size();
            data.replace(line.begin, textEnd - line.begin, *key + "=" + *value);
        }
        return WriteWholeFile(path, data);
    }
    if (!value) return true;
    // After the section's last line that is not blank.
    size_t after = range->header;
    for (size_t i = range->first; i < range->last; ++i)
        if (!StripBlanks(lines[i].text).empty()) after = i;
    const Line& anchor = lines[after];
    std::string insert = *key + "=" + *value + eol;
    size_t pos = anchor.end;
    if (anchor.end == data.size() && (data.empty() || data.back() != '\n')) {
        data += eol;
        pos = data.size();
    }
    data.insert(pos, insert);
    return WriteWholeFile(path, data);
}

std::string ReadProfileString(const std::string& section, const std::string& key, const std::string& defaultText,
                              const std::string& fileName) {
    auto data = ReadWholeFile(ResolveSettingsPath(fileName));
    std::string fallback = rt::RTrim(defaultText);
    if (!data) return fallback;
    auto lines = SplitLines(*data);
    auto range = FindSection(lines, section);
    if (!range) return fallback;
    auto at = FindKey(lines, *range, key);
    return at ? ValueOf(lines[*at].text) : fallback;
}

std::string ReadProfileSection(const std::string& section, const std::string& fileName) {
    std::string buffer(32000, '\0');
    uint32_t n = GetPrivateProfileSection(section, buffer, 32000, fileName);
    return buffer.substr(0, n);
}

namespace {
const char* const kRegistryFile = "registry.ini";
}

std::optional<std::string> ReadRegistryValue(const std::string& keyPath, const std::string& valueName) {
    const std::string missing("\x01missing\x01");
    std::string v = ReadProfileString(keyPath, valueName, missing, kRegistryFile);
    if (v == missing) return std::nullopt;
    return v;
}

bool WriteRegistryValue(const std::string& keyPath, const std::string& valueName, const std::string& value) {
    return WritePrivateProfileString(keyPath, valueName, value, kRegistryFile);
}

std::optional<RegistryData> QueryRegistryValue(uint32_t hRootKey, const std::string& keyPath,
                                               const std::string& valueName) {
    if (hRootKey != kHkeyCurrentUser) return std::nullopt;
    const std::optional<std::string> stored = ReadRegistryValue(keyPath, valueName);
    if (!stored) return std::nullopt;
    RegistryData data;
    const std::string& v = *stored;
    // The number of a "dword:" text, read digit by digit.
    uint32_t number = 0;
    bool bDword = v.size() == 14 && rt::UCase(v.substr(0, 6)) == "DWORD:";
    for (size_t i = 6; bDword && i < v.size(); ++i) {
        const char c = v[i];
        const int digit = rt::IsAsciiDigit(c)          ? c - '0'
                          : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                          : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                   : -1;
        bDword = digit >= 0;
        number = number * 16u + static_cast<uint32_t>(digit);
    }
    if (bDword) {
        data.Type = kRegDword;
        data.Number = number;
    } else {
        data.Type = kRegSz;
        data.Text = v;
    }
    return data;
}

}  // namespace platform
